#include "core/program/compile_report.h"

#include <cstdio>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/page_names.h"
#include "core/env/information_output.h"
#include "core/program/program_block.h"

namespace Brenno {

void CompileReport::BeginSection() {
  Sections.push_back(ErrorCount);
  ErrorCount = 0;
}

int CompileReport::EndSection() {
  if (Sections.empty()) throw MakeLogicError(L"\r\n  CompileReport::EndSection: no section is open");
  const int inner = ErrorCount;
  ErrorCount = inner + Sections.back();
  Sections.pop_back();
  return inner;
}

int CompileReport::TotalErrors() const {
  if (!Sections.empty()) throw MakeLogicError(L"\r\n  CompileReport::TotalErrors: a section is still open");
  return ErrorCount;
}

void CompileReport::PrintTotal() {
  if (m_ended) return;
  while (!Sections.empty()) EndSection();
  m_ended = true;
  if (Print) {
    WriteLine(std::wstring(PickText(L"Total", L"总计")) + L" " + std::to_wstring(ErrorCount) + L" " +
              PickText(L"Error(s)", L"错误"));
  }
  Sections.clear();
  Sections.shrink_to_fit();
}

void CompileReport::WriteLine(const std::wstring& line) {
  if (!Print) return;
  Lines.push_back(line);
  AppendInformationLine(line);
}

namespace {

// "    " + title + "    " + kind + " : " + text.
std::wstring ReportTitledLine(const std::wstring& title, const wchar_t* kind, const std::wstring& text) {
  return L"    " + title + L"    " + kind + L" : " + text;
}

// "name (address)" of a program unit: of the working page, else of the reference page (a
// decoder names a page before it stores it); empty when the program knows neither.
std::wstring DescribeUnit(const ProgramBlock& program, int key) {
  std::wstring text = DescribeWorkingOrReferencePage(program.InterruptTable, key);
  return text.empty() ? DescribeWorkingOrReferencePage(program.SubroutineTable, key) : text;
}

}  // namespace

std::wstring ReportErrorLine(const std::wstring& title, const ExceptionError& error) {
  return ReportTitledLine(title, PickText(L"Error", L"错误"), error.Message());
}

std::wstring ReportWarningLine(const std::wstring& title, const std::wstring& text) {
  return ReportTitledLine(title, PickText(L"Warning", L"警告"), text);
}

void ReportCompilingProgramBlock(CompileReport& report) {
  report.WriteLine(PickText(L"Compiling Program Block ...", L"正在编译程序块 ..."));
}

void ReportProgramPageName(CompileReport& report, const ProgramBlock& program, int key) {
  report.WriteLine(IndentText(DescribeUnit(program, key)));
}

void ReportProgramPageError(const ProgramBlock& program, int key, const ExceptionError& error,
                            CompileReport& report) {
  ++report.ErrorCount;
  if (!report.Print) return;
  report.WriteLine(ReportErrorLine(DescribeUnit(program, key), error));
}

void ReportProgramNetworkError(const ProgramBlock& program, int pageKey, const ExceptionError& error,
                               CompileReport& report, int networkIndex) {
  ++report.ErrorCount;
  if (!report.Print) return;
  report.WriteLine(ReportErrorLine(DescribeUnit(program, pageKey) + L", NETWORK " + std::to_wstring(networkIndex), error));
}

}  // namespace Brenno
