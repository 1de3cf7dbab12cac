#include "core/compiler/block_report.h"
#include "core/program/compile_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/link/link_ui.h"
#include "core/project/data_block_table.h"
#include "core/project/system_block_table.h"

using namespace Brenno;

namespace {

class LanguageGuard {
 public:
  explicit LanguageGuard(int language) { SetCurrentLanguage(language); }
  ~LanguageGuard() { SetCurrentLanguage(kLanguageEnglish); }
};

struct OutputRecorder : LinkUiServices {
  std::vector<std::wstring> lines;
  void UpdProgress(const ProgressInfo&) override {}
  void AppendOutputLine(const std::wstring& line) override { lines.push_back(line); }
  bool AskPlcPassword(std::vector<uint8_t>&) override { return false; }
};

TEST(CompileReportTest, SectionsFoldTheirErrorsIntoTheEnclosingCount) {
  CompileReport report(false);
  report.BeginSection();
  ReportDataPageError(DataBlockTable(), 0, ExceptionParseBinaryDataError(), report);
  report.BeginSection();
  ReportDataPageError(DataBlockTable(), 0, ExceptionParseBinaryDataError(), report);
  ReportDataPageError(DataBlockTable(), 0, ExceptionParseBinaryDataError(), report);
  EXPECT_THROW(report.TotalErrors(), ExceptionLogicError);
  EXPECT_EQ(report.EndSection(), 2);
  EXPECT_EQ(report.ErrorCount, 3);
  report.BeginSection();
  EXPECT_EQ(report.EndSection(), 0);
  EXPECT_EQ(report.EndSection(), 3);
  EXPECT_EQ(report.TotalErrors(), 3);
  EXPECT_THROW(report.EndSection(), ExceptionLogicError);
  report.PrintTotal();
  EXPECT_TRUE(report.Lines.empty());  // silent: counts, writes nothing, not even the total
}

TEST(CompileReportTest, TotalLineInBothLanguagesGoesToTheOutputPane) {
  OutputRecorder output;
  InstallLinkUiServices(&output);
  {
    CompileReport report;
    report.PrintTotal();
    report.PrintTotal();  // ended once
    EXPECT_EQ(report.Lines, (std::vector<std::wstring>{L"Total 0 Error(s)"}));
  }
  {
    LanguageGuard chinese(kLanguageChinese);
    CompileReport report;
    ++report.ErrorCount;
    report.PrintTotal();
    EXPECT_EQ(report.Lines, (std::vector<std::wstring>{L"总计 1 错误"}));
  }
  InstallLinkUiServices(nullptr);
  EXPECT_EQ(output.lines, (std::vector<std::wstring>{L"Total 0 Error(s)", L"总计 1 错误"}));
}

TEST(CompileReportTest, EndingWithAnOpenSectionCountsItAndDoesNotThrow) {
  CompileReport report;
  report.BeginSection();
  ReportSystemPageError(SystemBlockTable(), 3, ExceptionParseBinaryError(), report);
  report.BeginSection();
  ReportSystemPageError(SystemBlockTable(), 3, ExceptionParseBinaryError(), report);
  EXPECT_NO_THROW(report.PrintTotal());
  EXPECT_TRUE(report.Ended());
  EXPECT_EQ(report.Lines.back(), L"Total 2 Error(s)");
}

TEST(CompileReportTest, SizeLines) {
  struct Case {
    int language;
    int capacity;
    long long used;
    std::wstring line;
  };
  const std::vector<Case> cases = {
      {kLanguageEnglish, 8000, 200, L"Size of Data Block : 200 Byte(s) (2.5%)"},
      {kLanguageEnglish, 8000, 0, L"Size of Data Block : 0 Byte(s) (0.0%)"},
      {kLanguageEnglish, 8000, 8000, L"Size of Data Block : 8000 Byte(s) (100.0%)"},
      {kLanguageChinese, 8000, 200, L"数据块大小 : 200 字节 (2.5%)"},
      // No capacity: no share of it can be stated.
      {kLanguageEnglish, 0, 12, L"Size of Data Block : 12 Byte(s)"},
  };
  for (const Case& c : cases) {
    LanguageGuard language(c.language);
    CompileReport report;
    ReportDataBlockSize(c.capacity, report, c.used);
    ASSERT_EQ(report.Lines.size(), 1u);
    EXPECT_EQ(report.Lines[0], c.line);
  }
  CompileReport report;
  ReportSystemBlockSize(2048, report, 91);
  ReportProgramBlockSize(4096, 48, report, 8, 32768);
  EXPECT_EQ(report.Lines, (std::vector<std::wstring>{L"Size of System Block : 91 Byte(s) (4.4%)",
                                                      L"Size of Program Block : 8 + 48 Byte(s) (0.2% + 0.1%)"}));
  CompileReport silent(false);
  ReportSystemBlockSize(2048, silent, 91);
  EXPECT_TRUE(silent.Lines.empty());
}

TEST(CompileReportTest, ErrorLinesNameThePageAndCountWhenSilent) {
  DataBlockTable table;
  table.Reference[1] = {L"DAT_1", L"DAT1", L"", {}};
  table.Working[1] = {L"Recipe", L"DAT1", L"", {}};
  table.Reference[2] = {L"DAT_2", L"DAT2", L"", {}};
  CompileReport report;
  ReportDataPageName(report, table, 1);
  ReportDataPageName(report, table, 2);  // not yet a working page: the reference titles
  ReportDataPageName(report, table, 9);
  ReportDataPageError(table, 1, ExceptionParseBinaryDataError(), report);
  EXPECT_EQ(report.Lines, (std::vector<std::wstring>{L"    Recipe (DAT1)", L"    DAT_2 (DAT2)", L"    ",
                                                      L"    Recipe (DAT1)    Error : Parse Data Block Error"}));
  EXPECT_EQ(report.ErrorCount, 1);
  CompileReport silent(false);
  ReportDataPageError(table, 1, ExceptionParseBinaryDataError(), silent);
  EXPECT_EQ(silent.ErrorCount, 1);
  EXPECT_TRUE(silent.Lines.empty());
}

}  // namespace
