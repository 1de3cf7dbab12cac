// The three cross-reference lists over a TypeA project with one data block use: what the lists
// show after Refresh, the mark colours, the Location request the hub receives, and the states in
// which Refresh and Location act.
#include <gtest/gtest.h>

#include "core/project/data_block_table.h"
#include "tests/ui/views/view_test_env.h"
#include "ui/views/xref/cross_refer_tables.h"

namespace Brenno {
namespace {

class CrossReferTablesTest : public viewtest::ViewEnvTest {
 protected:
  void AddDataUse() {
    DataBlockTable& blocks = Current().DataBlocks;
    ASSERT_TRUE(SetDataRowType(blocks, 0, 3, 2));
    ASSERT_TRUE(SetDataRowAddress(blocks, 0, 3, L"VW0"));
    ASSERT_TRUE(SetDataRowValue(blocks, 0, 3, L"100"));
  }
  int RowOf(const CrossReferUsageTable& table, const std::wstring& address) {
    for (int r = 0; r < table.GetRecordCount(); ++r) {
      if (table.GetCellContent(r, 0, 0, 0).Text == address) return r;
    }
    return -1;
  }
  CrossReferUseTable uses;
  CrossReferUsageTable bits{CrossReferUsageTable::Map::Bits};
  CrossReferUsageTable bytes{CrossReferUsageTable::Map::Bytes};
};

TEST_F(CrossReferTablesTest, AnEmptyProjectHasNoUsesAndRefreshStillWorks) {
  EXPECT_EQ(uses.GetRecordCount(), 0);
  EXPECT_FALSE(uses.Locate(viewtest::CursorOn(0, 0)));
  EXPECT_TRUE(uses.CanRefresh());
  EXPECT_TRUE(uses.Refresh());
  EXPECT_EQ(frame_.Calls, (std::vector<PaneUpdateCall>{{UpdXrefRebuild, 0}}));
  EXPECT_EQ(uses.GetRecordCount(), 0);
  EXPECT_GT(bits.GetRecordCount(), 0);  // the maps cover the memory areas even without uses
  EXPECT_EQ(uses.GetCellContent(0, 0, 0, 0), GridCellContent{});
}

TEST_F(CrossReferTablesTest, RefreshShowsTheUseAndItsMarks) {
  AddDataUse();
  EXPECT_EQ(uses.GetRecordCount(), 0);  // the index follows edits only on Refresh
  ASSERT_TRUE(bits.Refresh());
  ASSERT_EQ(uses.GetRecordCount(), 1);
  EXPECT_EQ(uses.GetCellContent(0, 0, 0, 0).Text, L"VW0");
  EXPECT_EQ(uses.GetCellContent(0, 0, 0, 1).Text, L"");
  EXPECT_EQ(uses.GetCellContent(0, 0, 0, 2).Text, L"DAT_0 (DAT0)  Ln 3");
  EXPECT_EQ(uses.GetColumnsPerGroup(), 4);
  EXPECT_EQ(uses.GetColumnFormat(0, 3), (GridColumnFormat{150, L"Context"}));

  // A word marks 16 bits "W" in the bit rows and 2 bytes in the byte rows.
  const int v0 = RowOf(bits, L"V0.0");
  ASSERT_NE(v0, -1);
  EXPECT_EQ(bits.GetColumnsPerGroup(), 9);
  EXPECT_EQ(bits.GetColumnFormat(0, 8), (GridColumnFormat{30, L"7"}));
  for (int column = 1; column <= 8; ++column) {
    EXPECT_EQ(bits.GetCellContent(v0, 0, 0, column).Text, L"W");
    EXPECT_EQ(bits.GetCellContent(v0 + 1, 0, 0, column).Text, L"W");
    EXPECT_EQ(bits.GetCellContent(v0 + 2, 0, 0, column).Text, L" ");
  }
  const int vb0 = RowOf(bytes, L"VB0");
  ASSERT_NE(vb0, -1);
  EXPECT_EQ(bytes.GetColumnsPerGroup(), 11);
  EXPECT_EQ(bytes.GetCellContent(vb0, 0, 0, 2).Text, L"W");
  EXPECT_EQ(bytes.GetCellContent(vb0, 0, 0, 3).Text, L" ");
  EXPECT_EQ(bytes.GetColumnFormat(0, 10), (GridColumnFormat{30, L"9"}));
}

TEST_F(CrossReferTablesTest, MarkCellsOutsideTheirAreaKeepTheButtonFace) {
  ASSERT_TRUE(uses.Refresh());
  const CrossReferIndex& index = Current().CrossReferences;
  // Some area ends inside a row of ten bytes.
  int row = -1;
  int missing = -1;
  for (size_t r = 0; r < index.ByteCells.size() && row == -1; ++r) {
    for (size_t c = 0; c < index.ByteCells[r].size(); ++c) {
      if (!index.ByteCells[r][c]) {
        row = static_cast<int>(r);
        missing = static_cast<int>(c) + 1;
        break;
      }
    }
  }
  ASSERT_NE(row, -1) << "the fixture has no area whose size is not a multiple of ten";
  ASSERT_GT(missing, 1);
  EXPECT_EQ(bytes.GetCellColor(row, 0, 0, missing, 20), GridButtonFace());
  EXPECT_EQ(bytes.GetCellColor(row, 0, 0, missing, 17), GridBlack());
  EXPECT_EQ(bytes.GetCellColor(row, 0, 0, 1, 20), (Colour{240, 240, 240}));
  EXPECT_EQ(bytes.GetCellColor(row, 0, 0, 1, 33), GridGreen());
  EXPECT_EQ(bytes.GetCellColor(row, 0, 0, 0, 36), GridButtonFace());
  EXPECT_EQ(uses.GetCellColor(0, 0, 0, 0, 20), (Colour{240, 240, 240}));
}

TEST_F(CrossReferTablesTest, LocationAsksTheHubToOpenTheDataBlockRow) {
  AddDataUse();
  ASSERT_TRUE(uses.Refresh());
  frame_.Calls.clear();
  EXPECT_FALSE(uses.CanLocate(GridCursor{}));
  ASSERT_TRUE(uses.Locate(viewtest::CursorOn(0, 2)));
  ASSERT_EQ(frame_.Calls.size(), 3u);
  EXPECT_EQ(frame_.Calls[0], (PaneUpdateCall{UpdOpenDataBlocks, 0}));
  EXPECT_EQ(frame_.Calls[1], (PaneUpdateCall{UpdDataPageSelect, 0}));
  EXPECT_EQ(frame_.Calls[2].Code, UpdDataRowsLocate);
}

TEST_F(CrossReferTablesTest, LocationsBecomeTheHubsRecord) {
  struct Case {
    CrossReferLocation location;
    std::optional<ProgramLocation> expected;
  };
  const std::vector<Case> cases = {
      {MakeDataRowLocation(4, 7), ProgramLocation{0, 4, 7, 0, 0}},
      {MakeNetworkLocation(0x10002, 3), ProgramLocation{1, 0x10002, 3, 0, 0}},
      {MakeStlOperandLocation(1, 2, 5, 1), ProgramLocation{2, 1, 2, 5, 0}},
      {MakeLadOperandLocation(0, 6, 4, 2, 0, -1, -1), ProgramLocation{3, 0, 6, 4, 2}},
      {{}, std::nullopt},
      {{2, 1, 2}, std::nullopt},
      {{9, 1, 2}, std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<ProgramLocation> made = MakeProgramLocation(c.location);
    ASSERT_EQ(made.has_value(), c.expected.has_value());
    if (!made) continue;
    EXPECT_EQ(made->Kind, c.expected->Kind);
    EXPECT_EQ(made->PageKey, c.expected->PageKey);
    EXPECT_EQ(made->Network, c.expected->Network);
    EXPECT_EQ(made->LineOrColumn, c.expected->LineOrColumn);
    EXPECT_EQ(made->Row, c.expected->Row);
  }
}

TEST_F(CrossReferTablesTest, OnlineTheyActButNotDuringAJobStartedOffline) {
  AddDataUse();
  SetCommState(CommOnline);
  EXPECT_TRUE(uses.Refresh());
  EXPECT_TRUE(uses.Locate(viewtest::CursorOn(0, 0)));
  for (int state : {CommOpeningCommand, CommCommand, CommLeavingCommand}) {
    SetCommState(state);
    frame_.Calls.clear();
    EXPECT_FALSE(uses.CanRefresh() || uses.Refresh() || uses.CanLocate(viewtest::CursorOn(0, 0)));
    EXPECT_FALSE(uses.Locate(viewtest::CursorOn(0, 0)));
    EXPECT_TRUE(frame_.Calls.empty());
  }
  EXPECT_EQ(uses.GetCellEditKind(0, 0, 0, 0), kGridReadOnly);
  EXPECT_FALSE(uses.SetCellText(0, 0, 0, 0, L"x"));
}

}  // namespace
}  // namespace Brenno
