// The error account and the voice of one compile, decode or view conversion.
//
// The block compilers, the network coders and the page conversions count their errors in the
// report and group them into strictly nested sections: BeginSection saves the enclosing count
// and starts the section at 0; EndSection returns the section's own errors and folds them into
// the enclosing count, so the total at the end is the sum over every level.
//
// The report's lines (English or Chinese by the current language) are kept in `Lines` and each
// is handed, as it is written, to the information output of the installed link user-interface
// services (when there are any). A silent report (Print false) counts exactly as a printing one
// and writes nothing, not even the total.
#pragma once

#include <deque>
#include <string>
#include <vector>

namespace Brenno {

class ExceptionError;
class ProgramBlock;

class CompileReport {
 public:
  CompileReport() = default;
  explicit CompileReport(bool print) : Print(print) {}

  // Lines are written only when set.
  bool Print = true;
  // Errors counted in the innermost open section; with no section open, the report's total.
  int ErrorCount = 0;
  // One entry per open section: the enclosing count saved when the section began.
  std::deque<int> Sections;
  // Every line written so far, in order.
  std::vector<std::wstring> Lines;

  void BeginSection();
  // The errors of the section just closed (0: nothing inside failed); they join the enclosing
  // count. ExceptionLogicError when no section is open.
  int EndSection();
  // The total; ExceptionLogicError while a section is open.
  int TotalErrors() const;
  // Ends the report: writes "Total <n> Error(s)" when printing. Sections still open (an error
  // left a compiler half way) are closed first and their errors counted in, so ending a report
  // never raises a second error. A second call writes nothing.
  void PrintTotal();
  bool Ended() const { return m_ended; }

  // Appends a line (when printing) and hands it to the output pane.
  void WriteLine(const std::wstring& line);

 private:
  bool m_ended = false;
};

// ---- The lines of the program block (the compilers of the other blocks add their own in
// core/compiler/block_report.h). Heading and name lines: the caller checks the print flag (they
// write only when printing anyway).
// "Compiling Program Block ..." / "正在编译程序块 ...".
void ReportCompilingProgramBlock(CompileReport& report);
// Four blanks and "name (address)" of the unit: of the working page, else of the reference page
// (a decoder names a page before storing it); four blanks alone for a key the program lacks.
void ReportProgramPageName(CompileReport& report, const ProgramBlock& program, int key);

// ---- Error lines (the page named as above): each counts one error, then writes when printing
// "    " + "name (address)" + "    " + "Error" (or "错误") + " : " + the error's message.
void ReportProgramPageError(const ProgramBlock& program, int key, const ExceptionError& error,
                            CompileReport& report);
// The same with ", NETWORK " + index (0-based) after the unit's name.
void ReportProgramNetworkError(const ProgramBlock& program, int pageKey, const ExceptionError& error,
                               CompileReport& report, int networkIndex);
// The text of such a line for a title.
std::wstring ReportErrorLine(const std::wstring& title, const ExceptionError& error);
// The same with "Warning" (or "警告") and a text in place of "Error" and the error's message.
std::wstring ReportWarningLine(const std::wstring& title, const std::wstring& text);

}  // namespace Brenno
