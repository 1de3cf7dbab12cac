// The compile report's lines of the block compilers beside those of the program: the headings
// and page names of the data and system blocks, their error lines, and the size lines of every
// block (core/program/compile_report.h has the report and the program block's lines).
#pragma once

#include <string>

#include "core/program/compile_report.h"

namespace Brenno {

class DataBlockTable;
class SystemBlockTable;

// "Compiling Data Block ..." / "正在编译数据块 ...".
void ReportCompilingDataBlock(CompileReport& report);
// "Compiling System Block ..." / "正在编译系统块 ...".
void ReportCompilingSystemBlock(CompileReport& report);
// Four blanks and "name (address)" of the page: of the working page, else of the reference page
// (a decoder names a page before storing it); four blanks alone for a key the table lacks.
void ReportDataPageName(CompileReport& report, const DataBlockTable& table, int key);
void ReportSystemPageName(CompileReport& report, const SystemBlockTable& table, int key);

// Error lines (the page named as above): each counts one error, then writes when printing
// "    " + "name (address)" + "    " + "Error" (or "错误") + " : " + the error's message.
void ReportDataPageError(const DataBlockTable& table, int key, const ExceptionError& error, CompileReport& report);
void ReportSystemPageError(const SystemBlockTable& table, int key, const ExceptionError& error,
                           CompileReport& report);

// Warning lines (written when printing; they count nothing), one per row of the data block that
// holds something but is not complete and so is left out of the image:
// "    " + "name (address)" + "    " + "Warning" (or "警告") + " : " + "row <n> (<address>) left out: "
// + why (ExplainIncompleteDataRow), rows counted from 1.
void ReportIncompleteDataRows(CompileReport& report, const DataBlockTable& table, int key);

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
