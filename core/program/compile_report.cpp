#include "core/program/compile_report.h"

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/page_names.h"
#include "core/program/program_block.h"

namespace Brenno {

void ReportCompilingProgramBlock(CompileReport& report) {
  report.Lines.push_back(PickText(L"Compiling Program Block ...", L"正在编译程序块 ..."));
}

void ReportProgramPageName(CompileReport& report, const ProgramBlock& program, int key) {
  std::wstring description;
  program.DescribeProgramUnitKey(key, description);
  report.Lines.push_back(IndentText(description));
}

void ReportProgramNetworkError(const ProgramBlock& program, int pageKey, const ExceptionError& error,
                               CompileReport& report, int networkIndex) {
  ++report.ErrorCount;
  if (!report.Print) return;
  std::wstring title;
  program.DescribeProgramUnitKey(pageKey, title);
  report.Lines.push_back(L"    " + title + L", NETWORK " + std::to_wstring(networkIndex) + L"    " +
                         PickText(L"Error", L"错误") + L" : " + error.Message());
}

}  // namespace Brenno
