#include "core/compiler/block_report.h"

#include <cstdio>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/page_names.h"
#include "core/project/data_block_table.h"
#include "core/project/system_block_table.h"

namespace Brenno {

namespace {

std::wstring SizeLine(const wchar_t* englishTitle, const wchar_t* chineseTitle, const std::wstring& amount,
                      const std::wstring& percent) {
  std::wstring line = std::wstring(PickText(englishTitle, chineseTitle)) + L" : " + amount +
                      PickText(L" Byte(s)", L" 字节");
  if (!percent.empty()) line += L" (" + percent + L")";
  return line;
}

}  // namespace

std::wstring FormatSizePercent(long long used, int capacity) {
  if (capacity <= 0) return {};
  const float percent = static_cast<float>(static_cast<double>(used) * 100.0 / static_cast<double>(capacity));
  wchar_t text[64];
  std::swprintf(text, sizeof text / sizeof text[0], L"%.1f", static_cast<double>(percent));
  return text;
}

void ReportCompilingDataBlock(CompileReport& report) {
  report.WriteLine(PickText(L"Compiling Data Block ...", L"正在编译数据块 ..."));
}

void ReportCompilingSystemBlock(CompileReport& report) {
  report.WriteLine(PickText(L"Compiling System Block ...", L"正在编译系统块 ..."));
}

void ReportDataPageName(CompileReport& report, const DataBlockTable& table, int key) {
  report.WriteLine(IndentText(DescribeWorkingOrReferencePage(table, key)));
}

void ReportSystemPageName(CompileReport& report, const SystemBlockTable& table, int key) {
  report.WriteLine(IndentText(DescribeWorkingOrReferencePage(table, key)));
}

void ReportDataPageError(const DataBlockTable& table, int key, const ExceptionError& error, CompileReport& report) {
  ++report.ErrorCount;
  if (report.Print) report.WriteLine(ReportErrorLine(DescribeWorkingOrReferencePage(table, key), error));
}

void ReportSystemPageError(const SystemBlockTable& table, int key, const ExceptionError& error,
                           CompileReport& report) {
  ++report.ErrorCount;
  if (report.Print) report.WriteLine(ReportErrorLine(DescribeWorkingOrReferencePage(table, key), error));
}

void ReportIncompleteDataRows(CompileReport& report, const DataBlockTable& table, int key) {
  if (!report.Print || !table.HasWorkingPage(key)) return;
  const std::vector<DataRow>& rows = table.GetPage(key);
  const std::wstring title = DescribeWorkingOrReferencePage(table, key);
  for (size_t i = 0; i < rows.size(); ++i) {
    const std::wstring why = ExplainIncompleteDataRow(table, rows[i]);
    if (why.empty()) continue;
    const std::wstring row = std::to_wstring(i + 1);
    const std::wstring address = rows[i].Address.empty() ? std::wstring(PickText(L"no address", L"无地址")) : rows[i].Address;
    report.WriteLine(ReportWarningLine(
        title, CurrentLanguage() == kLanguageChinese ? L"第 " + row + L" 行（" + address + L"）未编译：" + why
                                                     : L"row " + row + L" (" + address + L") left out: " + why));
  }
}

void ReportDataBlockSize(int capacity, CompileReport& report, long long used) {
  if (!report.Print) return;
  report.WriteLine(SizeLine(L"Size of Data Block", L"数据块大小", std::to_wstring(used), FormatSizePercent(used, capacity) +
                                                                                           (capacity > 0 ? L"%" : L"")));
}

void ReportSystemBlockSize(int capacity, CompileReport& report, long long used) {
  if (!report.Print) return;
  report.WriteLine(SizeLine(L"Size of System Block", L"系统块大小", std::to_wstring(used),
                            FormatSizePercent(used, capacity) + (capacity > 0 ? L"%" : L"")));
}

void ReportProgramBlockSize(int constantCapacity, long long instructionBytes, CompileReport& report,
                            long long constantBytes, int instructionCapacity) {
  if (!report.Print) return;
  const std::wstring constantPercent = FormatSizePercent(constantBytes, constantCapacity);
  const std::wstring instructionPercent = FormatSizePercent(instructionBytes, instructionCapacity);
  std::wstring percent;
  if (!constantPercent.empty() || !instructionPercent.empty()) {
    percent = (constantPercent.empty() ? L"-" : constantPercent + L"%") + L" + " +
              (instructionPercent.empty() ? L"-" : instructionPercent + L"%");
  }
  report.WriteLine(SizeLine(L"Size of Program Block", L"程序块大小",
                            std::to_wstring(constantBytes) + L" + " + std::to_wstring(instructionBytes), percent));
}

}  // namespace Brenno
