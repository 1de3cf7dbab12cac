#include "core/project/status_chart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/link/online_access.h"
#include "core/project/table_test_support.h"

using namespace Brenno;

namespace {

using Names = std::vector<std::wstring>;

const Names kWordTypes = {L"INT", L"UINT", L"WORD"};
const Names kDoubleWordTypes = {L"DINT", L"UDINT", L"DWORD", L"REAL"};
const Names kByteTypes = {L"SINT", L"USINT", L"BYTE"};
const Names kPointerTypes = {L"SINT", L"USINT", L"BYTE", L"INT", L"UINT", L"WORD", L"DINT", L"UDINT", L"DWORD", L"REAL"};

class StatusCharts : public tabletest::TableFixture {
 protected:
  void SetUp() override {
    TableFixture::SetUp();
    ResetStatusChart(Chart());
    FillDefaultStatusCharts(Chart());
    // The chart reads and writes the PLC's values through the link.
    InstallLinkOnlineServices();
  }
  void TearDown() override {
    InstallOnlineServices(nullptr);
    TableFixture::TearDown();
  }

  StatusChart& Chart() { return Project().StatusChart; }
  const StatusRow& Cell(int line, int group, int key = 0) { return Chart().GetPage(key)[line + group * 64]; }
  Names FormatNames(int line, int group) { return GetChartFormatNames(Chart(), 0, line, group); }
};

TEST_F(StatusCharts, ANewProjectHasTheFirstPageOfBlankCells) {
  EXPECT_EQ(Chart().ListKeys(), std::vector<int>{0});
  const TablePage<StatusRow>& page = Chart().Working.at(0);
  EXPECT_EQ(page.Name, L"CHT_0");
  EXPECT_EQ(page.Address, L"CHT0");
  EXPECT_EQ(page.Rows, std::vector<StatusRow>(256));
  EXPECT_EQ(Chart().TypeNames.size(), 11u);
  EXPECT_EQ(Chart().ForceLabels, (Names{L"Forced", L"Unforced", L"Unknown"}));
  EXPECT_EQ(Chart().ReservedNames, Project().Instructions.ReservedNames);

  // Insert adds the next page until the type's four are there.
  EXPECT_EQ(AddFirstFreeStatusChart(Chart()), 1);
  EXPECT_EQ(Chart().Working.at(1).Name, L"CHT_1");
  EXPECT_EQ(AddFirstFreeStatusChart(Chart()), 2);
  EXPECT_TRUE(CanAddTablePage(Chart()));
  EXPECT_EQ(AddFirstFreeStatusChart(Chart()), 3);
  EXPECT_FALSE(CanAddTablePage(Chart()));
  EXPECT_EQ(AddFirstFreeStatusChart(Chart()), -1);

  // The force labels follow the language of the reset.
  SetCurrentLanguage(kLanguageChinese);
  ResetStatusChart(Chart());
  EXPECT_EQ(Chart().ForceLabels, (Names{L"强制", L"未强制", L"未知"}));
  EXPECT_TRUE(Chart().Working.empty());
}

TEST_F(StatusCharts, DeletingTheOnlyPageLeavesAFreshOne) {
  SetChartAddress(Chart(), 0, 0, 0, L"I0.0");
  EXPECT_EQ(RemoveStatusChart(Chart(), 0), 0);
  EXPECT_EQ(Chart().GetPage(0), std::vector<StatusRow>(256));
  EXPECT_EQ(RemoveStatusChart(Chart(), 3), -1);
}

TEST_F(StatusCharts, AnAddressOffersTheTypesOfItsWidth) {
  struct Case {
    const wchar_t* text;
    const wchar_t* stored;
    Names types;
    int selected;
  } cases[] = {
      {L"MD0", L"MD0", kDoubleWordTypes, 3},  // a double word of M memory first shows as REAL
      {L"VD0", L"VD0", kDoubleWordTypes, 0},
      {L"md4", L"MD4", kDoubleWordTypes, 3},
      {L"I0.0", L"I0.0", {L"BOOL"}, 0},
      {L"vb0", L"VB0", kByteTypes, 0},
      {L"VW10", L"VW10", kWordTypes, 0},
      {L"&VB0", L"&VB0", {L"DWORD"}, 0},
      {L"*VD0", L"*VD0", kPointerTypes, 0},
      {L"T5", L"T5", {L"BOOL", L"INT", L"UINT", L"WORD"}, 0},  // timer bit and timer value
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(SetChartAddress(Chart(), 0, 1, 2, c.text)) << c.text;
    EXPECT_EQ(GetChartAddress(Chart(), 0, 1, 2), c.stored);
    EXPECT_EQ(FormatNames(1, 2), c.types) << c.text;
    EXPECT_EQ(GetChartFormatIndex(Chart(), 0, 1, 2), c.selected) << c.text;
    EXPECT_EQ(Cell(1, 2).Formats.size(), c.types.size());
  }
}

TEST_F(StatusCharts, TextsTheChartCannotShowLeaveTheCell) {
  SetChartAddress(Chart(), 0, 0, 0, L"VB0");
  const wchar_t* refused[] = {
      L"VB0",      // the same text again
      L"MW0",      // M memory (slot 2) only as aligned double words
      L"MD2", L"M0.0", L"SMB0",
      L"XYZ", L"VB9000", L"Motor",
      L"VB0-VW2",  // the ends of a range differ in width
      L"VB0-VB1-VB2", L"VB0-",
  };
  for (const wchar_t* text : refused) {
    EXPECT_FALSE(SetChartAddress(Chart(), 0, 0, 0, text)) << text;
    EXPECT_EQ(GetChartAddress(Chart(), 0, 0, 0), L"VB0");
  }
  EXPECT_TRUE(SetChartAddress(Chart(), 0, 0, 0, L""));
  EXPECT_EQ(Cell(0, 0), StatusRow());
  EXPECT_FALSE(SetChartAddress(Chart(), 0, 0, 0, L""));
}

TEST_F(StatusCharts, ARangeFillsConsecutiveCells) {
  ASSERT_TRUE(SetChartAddress(Chart(), 0, 10, 1, L"I0.0-I0.7"));
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(Cell(10 + i, 1).Address, L"I0." + std::to_wstring(i));
    EXPECT_EQ(Cell(10 + i, 1).FormatIndex, 0);
    EXPECT_EQ(FormatNames(10 + i, 1), Names{L"BOOL"});
  }
  EXPECT_EQ(Cell(18, 1), StatusRow());

  // Reversed ends give the same; bytes step by eight bits; a digit-less end mark too.
  ASSERT_TRUE(SetChartAddress(Chart(), 0, 0, 0, L"I0.7-I0.0"));
  EXPECT_EQ(Cell(0, 0).Address, L"I0.0");
  EXPECT_EQ(Cell(7, 0).Address, L"I0.7");
  ASSERT_TRUE(SetChartAddress(Chart(), 0, 20, 0, L"VW0-VW4"));
  EXPECT_EQ(Cell(20, 0).Address, L"VW0");
  EXPECT_EQ(Cell(21, 0).Address, L"VW2");
  EXPECT_EQ(Cell(22, 0).Address, L"VW4");
  EXPECT_EQ(Cell(23, 0), StatusRow());

  // Down the group and on into the next one; a range longer than the page stops at its end.
  ASSERT_TRUE(SetChartAddress(Chart(), 0, 63, 0, L"Q0.0-Q0.1"));
  EXPECT_EQ(Cell(63, 0).Address, L"Q0.0");
  EXPECT_EQ(Cell(0, 1).Address, L"Q0.1");
  ASSERT_TRUE(SetChartAddress(Chart(), 0, 62, 3, L"VB0-VB100"));
  EXPECT_EQ(Cell(62, 3).Address, L"VB0");
  EXPECT_EQ(Cell(63, 3).Address, L"VB1");
}

TEST_F(StatusCharts, SymbolicAddressingShowsTheSymbol) {
  AddSymbol(L"Motor", L"Q0.0");
  SetSymbolic(true);
  ASSERT_TRUE(SetChartAddress(Chart(), 0, 0, 0, L"q0.0"));
  EXPECT_EQ(GetChartAddress(Chart(), 0, 0, 0), L"Motor");
  EXPECT_EQ(FormatNames(0, 0), Names{L"BOOL"});
  ASSERT_TRUE(SetChartAddress(Chart(), 0, 1, 0, L"Q0.0-Q0.1"));
  EXPECT_EQ(GetChartAddress(Chart(), 0, 1, 0), L"Motor");
  EXPECT_EQ(GetChartAddress(Chart(), 0, 2, 0), L"Q0.1");

  SetSymbolic(false);
  ShowChartAddresses(Chart());
  EXPECT_EQ(GetChartAddress(Chart(), 0, 0, 0), L"Q0.0");
  ASSERT_TRUE(SetChartAddress(Chart(), 0, 3, 0, L"Motor"));  // a symbol typed in
  EXPECT_EQ(GetChartAddress(Chart(), 0, 3, 0), L"Q0.0");
  ShowChartSymbols(Chart());
  EXPECT_EQ(GetChartAddress(Chart(), 0, 3, 0), L"Motor");
  EXPECT_EQ(GetChartAddress(Chart(), 0, 2, 0), L"Q0.1");
}

TEST_F(StatusCharts, TheFormatIndexStaysInsideTheCellsFormats) {
  EXPECT_FALSE(SetChartFormatIndex(Chart(), 0, 0, 0, 0));  // empty cell
  SetChartAddress(Chart(), 0, 0, 0, L"VB0");
  const struct {
    int index;
    bool changed;
  } cases[] = {{0, false}, {2, true}, {3, false}, {-1, false}, {1, true}};
  for (const auto& c : cases) EXPECT_EQ(SetChartFormatIndex(Chart(), 0, 0, 0, c.index), c.changed) << c.index;
  EXPECT_EQ(GetChartFormatIndex(Chart(), 0, 0, 0), 1);
}

TEST_F(StatusCharts, CellsOutsideThePageAreLogicErrors) {
  EXPECT_THROW(GetChartAddress(Chart(), 1, 0, 0), ExceptionLogicError);
  EXPECT_THROW(GetChartAddress(Chart(), 0, 0, 4), ExceptionLogicError);
  EXPECT_THROW(GetChartAddress(Chart(), 0, -1, 1), ExceptionLogicError);
  EXPECT_THROW(SetChartAddress(Chart(), 0, 64, 3, L"VB0"), ExceptionLogicError);
  EXPECT_NO_THROW(GetChartAddress(Chart(), 0, 63, 3));
}

TEST_F(StatusCharts, BlocksOfCellsTravelAsText) {
  SetChartAddress(Chart(), 0, 4, 1, L"VB0");
  SetChartFormatIndex(Chart(), 0, 4, 1, 1);
  SetChartAddress(Chart(), 0, 4, 2, L"MD0");
  SetChartAddress(Chart(), 0, 5, 2, L"I0.1");
  std::wstring text;
  EXPECT_EQ(CopyChartRowsAsText(Chart(), 0, 4, 4, 1, 3, text), -1);
  EXPECT_EQ(CopyChartRowsAsText(Chart(), 0, 4, 6, 1, 5, text), -1);
  ASSERT_EQ(CopyChartRowsAsText(Chart(), 0, 4, 6, 1, 3, text), 0);
  // Offline: no values; the forceable cells (MD0, I0.1) have an unknown force state.
  EXPECT_EQ(text, L"VB0\tUSINT\t\t\tMD0\tREAL\t\tUnknown\r\n\t\t\t\tI0.1\tBOOL\t\tUnknown\r\n");
  EXPECT_EQ(std::count(text.begin(), text.end(), L'\t'), 14);

  // Pasted elsewhere, the addresses and chosen formats come back.
  ASSERT_EQ(PasteChartRowsFromText(Chart(), 0, 30, 0, text), 0);
  EXPECT_EQ(Cell(30, 0).Address, L"VB0");
  EXPECT_EQ(Cell(30, 0).FormatIndex, 1);
  EXPECT_EQ(Cell(30, 1).Address, L"MD0");
  EXPECT_EQ(Cell(30, 1).FormatIndex, 3);
  EXPECT_EQ(Cell(31, 0), StatusRow());
  EXPECT_EQ(Cell(31, 1).Address, L"I0.1");

  // Quadruples beyond the last group and lines beyond the last line are dropped.
  ASSERT_EQ(PasteChartRowsFromText(Chart(), 0, 63, 3, text), 0);
  EXPECT_EQ(Cell(63, 3).Address, L"VB0");
  EXPECT_EQ(Cell(0, 0), StatusRow());

  // Cut gives the same text and empties the block.
  std::wstring cut;
  ASSERT_EQ(CutChartRowsAsText(Chart(), 0, 4, 6, 1, 3, cut), 0);
  EXPECT_EQ(cut, text);
  EXPECT_EQ(Cell(4, 1), StatusRow());
  EXPECT_EQ(Cell(5, 2), StatusRow());

  // A line whose field count is no multiple of four ends the paste; earlier lines stay.
  EXPECT_EQ(PasteChartRowsFromText(Chart(), 0, 40, 0, L"VB1\tBYTE\t\t\r\nVB2\tBYTE\t\t\t\r\nVB3\tBYTE\t\t\t\r\n"), -1);
  EXPECT_EQ(Cell(40, 0).Address, L"VB1");
  EXPECT_EQ(Cell(40, 0).FormatIndex, 2);
  EXPECT_EQ(Cell(41, 0), StatusRow());
  EXPECT_EQ(PasteChartRowsFromText(Chart(), 0, 64, 0, L"VB1\tBYTE\t\t\r\n"), -1);
  EXPECT_EQ(PasteChartRowsFromText(Chart(), 0, 0, -1, L"VB1\tBYTE\t\t\r\n"), -1);
}

TEST_F(StatusCharts, OfflineCellsShowNoValueAndAnUnknownForceState) {
  RebuildOnlineCache(Project().Online, Project().MemoryAreas);
  SetChartAddress(Chart(), 0, 0, 0, L"I0.0");
  SetChartAddress(Chart(), 0, 1, 0, L"VB0");
  SetChartAddress(Chart(), 0, 2, 0, L"MD4");
  SetChartAddress(Chart(), 0, 3, 0, L"VD4");
  EXPECT_EQ(GetChartValueText(Chart(), 0, 0, 0), L"");
  EXPECT_EQ(GetChartForceState(Chart(), 0, 0, 0), 2);
  EXPECT_EQ(GetChartForceChoices(Chart(), 0, 0, 0), Chart().ForceLabels);
  EXPECT_EQ(GetChartForceState(Chart(), 0, 2, 0), 2);  // an aligned double word of slot 2
  for (const int line : {1, 3, 4}) {
    EXPECT_EQ(GetChartForceState(Chart(), 0, line, 0), -1) << line;
    EXPECT_TRUE(GetChartForceChoices(Chart(), 0, line, 0).empty()) << line;
    EXPECT_FALSE(SetChartForceState(Chart(), 0, line, 0, 0)) << line;
  }
  EXPECT_TRUE(SetChartForceState(Chart(), 0, 0, 0, 1));
  EXPECT_FALSE(SetChartForceState(Chart(), 0, 0, 0, 2));
  EXPECT_TRUE(WriteChartValue(Chart(), 0, 1, 0, L"5"));
  EXPECT_FALSE(WriteChartValue(Chart(), 0, 4, 0, L"5"));

  std::wstring text;
  ASSERT_EQ(CopyChartRowsAsText(Chart(), 0, 0, 1, 0, 1, text), 0);
  EXPECT_EQ(text, L"I0.0\tBOOL\t\tUnknown\r\n");
}

TEST_F(StatusCharts, OnlineCellsReadValuesAndForceFlagsFromTheCache) {
  RebuildOnlineCache(Project().Online, Project().MemoryAreas);
  Environment().CommState = kCommOnline;
  const uint32_t now = OnlineTickCount();
  Project().Online.Update([now](OnlineCacheData& data) {
    data.ValueImages[4][0] = {200, 0, now};   // VB0
    data.ValueImages[0][0] = {0x02, 0, now};  // I0.1 on
    data.ForceImages[0][0] = {0x01, 0, now};  // I0.0 forced, I0.1 not
    data.ForceImages[2][0] = {0x02, 0, now};  // slot 2 keeps a flag per double word: MD4 forced
    data.ForceImages[1][0] = {0x01, 0, now - 100000};  // Q0.0: too old to count
  });
  const struct {
    const wchar_t* address;
    int forceState;
  } cases[] = {{L"I0.0", 0}, {L"I0.1", 1}, {L"MD4", 0}, {L"MD0", 1}, {L"Q0.0", 2}, {L"VB0", -1}};
  for (int line = 0; line < 6; ++line) {
    ASSERT_TRUE(SetChartAddress(Chart(), 0, line, 0, cases[line].address));
    EXPECT_EQ(GetChartForceState(Chart(), 0, line, 0), cases[line].forceState) << cases[line].address;
    EXPECT_EQ(Cell(line, 0).ForceState, cases[line].forceState);
  }
  EXPECT_EQ(GetChartValueText(Chart(), 0, 5, 0), L"-56");  // shown as SINT first
  SetChartFormatIndex(Chart(), 0, 5, 0, 1);
  EXPECT_EQ(GetChartValueText(Chart(), 0, 5, 0), L"200");
  EXPECT_EQ(Cell(5, 0).Value, L"200");
  EXPECT_EQ(GetChartValueText(Chart(), 0, 0, 0), L"0");
  EXPECT_EQ(GetChartValueText(Chart(), 0, 1, 0), L"1");
  EXPECT_EQ(GetChartValueText(Chart(), 0, 6, 0), L"");  // an empty cell

  // Going offline the cached texts are not shown any more.
  Environment().CommState = kCommOffline;
  EXPECT_EQ(GetChartValueText(Chart(), 0, 5, 0), L"");
  EXPECT_EQ(Cell(5, 0).Value, L"");
  EXPECT_EQ(GetChartForceState(Chart(), 0, 0, 0), 2);
}

TEST_F(StatusCharts, NormalisingFitsThePagesAndRefreshesTheCells) {
  StatusChart& chart = Chart();
  std::vector<StatusRow> rows(3);
  rows[0].Address = L"vb0";
  rows[0].FormatIndex = 2;
  rows[1].Address = L"Z9";  // no operand of the type
  rows[1].FormatIndex = 0;
  rows[2].Address = L"VW0";
  rows[2].FormatIndex = 5;  // beyond its three formats
  chart.Working.at(0).Rows = rows;
  chart.Working.emplace(1, TablePage<StatusRow>{L"Watch", L"CHT01", L"", std::vector<StatusRow>(300)});
  chart.Working.emplace(7, TablePage<StatusRow>{L"CHT_7", L"CHT7", L"", {}});
  NormalizeStatusChart(chart);

  EXPECT_EQ(chart.ListKeys(), (std::vector<int>{0, 1}));
  EXPECT_EQ(chart.GetPage(0).size(), 256u);
  EXPECT_EQ(chart.GetPage(1).size(), 256u);
  EXPECT_EQ(chart.Working.at(1).Address, L"CHT1");
  EXPECT_EQ(chart.Working.at(1).Name, L"Watch");
  EXPECT_EQ(Cell(0, 0).Address, L"VB0");
  EXPECT_EQ(Cell(0, 0).FormatIndex, 2);
  EXPECT_EQ(Cell(0, 0).Formats.size(), 3u);
  EXPECT_EQ(Cell(0, 0).Operand.prefix, L"VB");
  EXPECT_EQ(Cell(1, 0), StatusRow());
  EXPECT_EQ(Cell(2, 0), StatusRow());
  EXPECT_EQ(Cell(3, 0), StatusRow());

  // With symbolic addressing the refresh shows the symbol.
  AddSymbol(L"Speed", L"VB0", 1);
  SetSymbolic(true);
  RefreshStatusRows(chart);
  EXPECT_EQ(Cell(0, 0).Address, L"Speed");
  SetSymbolic(false);
  RefreshStatusRows(chart);
  EXPECT_EQ(Cell(0, 0).Address, L"VB0");
}

}  // namespace
