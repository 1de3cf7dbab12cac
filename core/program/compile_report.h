// The report of a compilation as the program model writes into it: the error count and, when
// the report prints, the output lines (the compile commands show them in the output pane).
#pragma once

#include <string>
#include <vector>

namespace Brenno {

class ExceptionError;
class ProgramBlock;

class CompileReport {
 public:
  // Lines are written only when set.
  bool Print = true;
  int ErrorCount = 0;
  std::vector<std::wstring> Lines;
};

// "Compiling Program Block ..." / "正在编译程序块 ...".
void ReportCompilingProgramBlock(CompileReport& report);
// Four blanks and "name (address)" of the unit; four blanks alone for an unknown key.
void ReportProgramPageName(CompileReport& report, const ProgramBlock& program, int key);
// Counts the error and, when the report prints, writes "    " + the unit's "name (address)" +
// ", NETWORK " + index (0-based) + "    " + "Error" (or "错误") + " : " + the error's message.
void ReportProgramNetworkError(const ProgramBlock& program, int pageKey, const ExceptionError& error,
                               CompileReport& report, int networkIndex);

}  // namespace Brenno
