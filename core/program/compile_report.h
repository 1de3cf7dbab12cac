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
class DataBlockTable;
class SystemBlockTable;

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

// ---- Heading and name lines; the caller checks the print flag (they write only when printing
// anyway).
// "Compiling Data Block ..." / "正在编译数据块 ...".
void ReportCompilingDataBlock(CompileReport& report);
// "Compiling System Block ..." / "正在编译系统块 ...".
void ReportCompilingSystemBlock(CompileReport& report);
// "Compiling Program Block ..." / "正在编译程序块 ...".
void ReportCompilingProgramBlock(CompileReport& report);
// Four blanks and "name (address)" of the page: of the working page, else of the reference page
// (a decoder names a page before storing it); four blanks alone for a key the table lacks.
void ReportDataPageName(CompileReport& report, const DataBlockTable& table, int key);
void ReportSystemPageName(CompileReport& report, const SystemBlockTable& table, int key);
void ReportProgramPageName(CompileReport& report, const ProgramBlock& program, int key);

// ---- Error lines (the page named as above): each counts one error, then writes when printing
// "    " + "name (address)" + "    " + "Error" (or "错误") + " : " + the error's message.
void ReportDataPageError(const DataBlockTable& table, int key, const ExceptionError& error, CompileReport& report);
void ReportSystemPageError(const SystemBlockTable& table, int key, const ExceptionError& error,
                           CompileReport& report);
void ReportProgramPageError(const ProgramBlock& program, int key, const ExceptionError& error,
                            CompileReport& report);
// The same with ", NETWORK " + index (0-based) after the unit's name.
void ReportProgramNetworkError(const ProgramBlock& program, int pageKey, const ExceptionError& error,
                               CompileReport& report, int networkIndex);

// ---- Size lines (written when printing; they count nothing). The percentage is
// used x 100 / capacity with one decimal; a capacity of 0 or less gives no percentage part,
// since no share of it can be stated.
// "Size of Data Block : <used> Byte(s) (<p>%)" / "数据块大小 : <used> 字节 (<p>%)".
void ReportDataBlockSize(int capacity, CompileReport& report, long long used);
// "Size of System Block : ..." / "系统块大小 : ...".
void ReportSystemBlockSize(int capacity, CompileReport& report, long long used);
// "Size of Program Block : <c> + <i> Byte(s) (<pc>% + <pi>%)" / "程序块大小 : ... 字节 ...".
void ReportProgramBlockSize(int constantCapacity, long long instructionBytes, CompileReport& report,
                            long long constantBytes, int instructionCapacity);

// The percentage text of a size line: "2.5"; empty for a capacity of 0 or less.
std::wstring FormatSizePercent(long long used, int capacity);

}  // namespace Brenno
