#include "core/project/cross_reference.h"

#include <gtest/gtest.h>

#include "core/env/operand_address.h"
#include "core/project/data_block_table.h"
#include "core/project/project_commands.h"
#include "core/project/symbol_table.h"
#include "project_env_test_support.h"

using namespace Brenno;
using namespace projecttest;

namespace {

Network StlNetwork(const std::vector<std::pair<std::wstring, std::vector<std::wstring>>>& lines) {
  Network network;
  network.Kind = kNetworkStl;
  for (const auto& [mnemonic, operands] : lines) {
    StlLine line;
    line.Mnemonic = mnemonic;
    line.Operands = operands;
    network.Lines.push_back(line);
  }
  return network;
}

// A contact (kind 2) or coil (kind 3) of the plain bit definitions: name " ", one operand (an
// input operand of the contact, an output operand of the coil).
LadElement BitElement(int kind, int column, int row, const std::wstring& operand) {
  LadElement element;
  element.Column = column;
  element.Row = row;
  element.InCell = true;
  element.Kind = kind;
  element.Name = L" ";
  std::vector<ElementOperand>& operands = kind == kLadKindCoil ? element.OperandOut : element.OperandIn;
  operands.push_back(ElementOperand{0, L"bit", operand});
  return element;
}

Network LadNetwork(const std::vector<LadElement>& elements) {
  Network network;
  network.Kind = kNetworkLad;
  network.Grid.Columns = 4;
  network.Grid.Rows = 1;
  network.Grid.Elements = elements;
  return network;
}

class CrossReferenceTest : public ProjectEnvFixture {
 protected:
  void SetUp() override {
    ProjectEnvFixture::SetUp();
    ASSERT_TRUE(TryNewProject());
  }

  std::vector<Network>& Networks(int key) { return Current().Program.GetProgramPage(key).UndoLog.Networks; }
  const CrossReferIndex& Index() { return Current().CrossReferences; }

  std::vector<std::wstring> Addresses() {
    std::vector<std::wstring> texts;
    for (const CrossReferRow& row : Index().Rows) texts.push_back(row.Address);
    return texts;
  }

  // The first bit-map row of a byte, found by its address text.
  size_t BitRow(const std::wstring& address) {
    for (size_t i = 0; i < Index().BitUsage.size(); ++i) {
      if (Index().BitUsage[i].Address == address) return i;
    }
    ADD_FAILURE() << "no bit row";
    return 0;
  }
  size_t ByteRow(const std::wstring& address) {
    for (size_t i = 0; i < Index().ByteUsage.size(); ++i) {
      if (Index().ByteUsage[i].Address == address) return i;
    }
    ADD_FAILURE() << "no byte row";
    return 0;
  }
};

TEST_F(CrossReferenceTest, AnEmptyProjectHasNoUsesAndBlankUsageRowsForEveryByteOfTheIoAreas) {
  RebuildCrossReferIndex();
  EXPECT_TRUE(Index().Rows.empty());
  EXPECT_TRUE(Index().Uses.empty());
  ASSERT_EQ(Index().BitUsage.size(), Index().BitCells.size());
  ASSERT_EQ(Index().ByteUsage.size(), Index().ByteCells.size());

  // M: 32 bytes -> 32 bit rows M0.0 .. M31.0 and 4 byte rows, the last one with 2 cells.
  const size_t m = BitRow(L"M0.0");
  EXPECT_EQ(Index().BitUsage[m + 31].Address, L"M31.0");
  EXPECT_EQ(Index().BitUsage[m + 32].Address.substr(0, 2), L"SM");
  EXPECT_EQ(Index().BitCells[m], UsageCellSet(8, true));
  const size_t mb = ByteRow(L"MB0");
  EXPECT_EQ(Index().ByteUsage[mb + 1].Address, L"MB10");
  EXPECT_EQ(Index().ByteUsage[mb + 3].Address, L"MB30");
  EXPECT_EQ(Index().ByteCells[mb + 3], (UsageCellSet{true, true, false, false, false, false, false, false, false, false}));
  EXPECT_EQ(Index().ByteCells[mb], UsageCellSet(10, true));
  for (const UsageRow& row : Index().BitUsage) ASSERT_EQ(row.Marks, std::wstring(8, L' '));
  for (const UsageRow& row : Index().ByteUsage) ASSERT_EQ(row.Marks, std::wstring(10, L' '));
  // The local area and the constants have no rows.
  for (const UsageRow& row : Index().BitUsage) ASSERT_NE(row.Address.substr(0, 1), L"L");
}

TEST_F(CrossReferenceTest, LadderUsesAreListedPerOperandInProgramOrderWithDecoratedContexts) {
  Networks(0)[0] = LadNetwork({BitElement(kLadKindCont, 0, 0, L"M0.0")});
  Networks(0)[2] = StlNetwork({{L"LD", {L"M1.0"}}});  // statement list in ladder view: not read
  Networks(0x10000)[1] = LadNetwork({BitElement(kLadKindCoil, 1, 0, L"M0.0")});
  RebuildCrossReferIndex();

  ASSERT_EQ(Index().Rows.size(), 2u);
  const CrossReferRow& main = Index().Rows[0];
  const CrossReferRow& sub = Index().Rows[1];
  EXPECT_EQ(main.Address, L"M0.0");
  EXPECT_EQ(main.Location, MakeLadOperandLocation(0, 0, 0, 0, -1, 0, -1));
  EXPECT_EQ(main.LocationText, L"MAIN (INT0)  NETWORK 0  Col 0  Row 0");
  EXPECT_EQ(main.Context, L"-| |-");
  EXPECT_EQ(sub.Address, L"M0.0");
  EXPECT_EQ(sub.LocationText, L"SBR_0 (SBR0)  NETWORK 1  Col 1  Row 0");
  EXPECT_EQ(sub.Context, L"-( )");
  EXPECT_EQ(main.Word, sub.Word);
}

TEST_F(CrossReferenceTest, StatementListUsesAreOrderedByAreaWidthByteAndBitAndMarkTheMaps) {
  Project& project = Current();
  ASSERT_TRUE(SetSymbolEntryName(project.Symbols, 0, 0, L"Start"));
  ASSERT_TRUE(SetSymbolEntryAddress(project.Symbols, 0, 0, L"M0.0"));
  project.Program.ViewMode = kViewModeStl;
  Networks(0)[0] = StlNetwork({{L"LD", {L"M7.7"}}, {L"MOVB", {L"MB0", L"MB1"}}, {L"MOVW", {L"MW2", L"VW0"}}});
  Networks(0)[1] = StlNetwork({{L"LD", {L"M0.0"}}, {L"LD", {L"Start"}}, {L"LD", {L"NOSUCH"}}, {L"XX", {L"M3.0"}}});
  Networks(0)[2] = LadNetwork({BitElement(kLadKindCont, 0, 0, L"M5.0")});  // ladder in statement-list view
  // A complete data row on VW0 and one that is not complete.
  ASSERT_TRUE(SetDataRowType(project.DataBlocks, 0, 0, 2));
  ASSERT_TRUE(SetDataRowAddress(project.DataBlocks, 0, 0, L"VW0"));
  ASSERT_TRUE(SetDataRowValue(project.DataBlocks, 0, 0, L"100"));
  SetDataRowType(project.DataBlocks, 0, 1, 1);
  SetDataRowAddress(project.DataBlocks, 0, 1, L"VB9");
  RebuildCrossReferIndex();

  EXPECT_EQ(Addresses(), (std::vector<std::wstring>{L"M0.0", L"M0.0", L"M7.7", L"MB0", L"MB1", L"MW2", L"VW0", L"VW0"}));
  const auto& rows = Index().Rows;
  EXPECT_EQ(rows[0].Symbol, L"Start");
  EXPECT_EQ(rows[1].Location, MakeStlOperandLocation(0, 1, 1, 0));
  EXPECT_EQ(rows[3].Symbol, L"");
  EXPECT_EQ(rows[3].Context, L"MOVB");
  EXPECT_EQ(rows[3].LocationText, L"MAIN (INT0)  NETWORK 0  Ln 1");
  // The data row comes before the program's use of the same operand.
  EXPECT_EQ(rows[6].Location, MakeDataRowLocation(0, 0));
  EXPECT_EQ(rows[6].Context, project.DataBlocks.Working.at(0).Rows[0].Value);
  EXPECT_EQ(rows[6].LocationText, L"DAT_0 (DAT0)  Ln 0");
  EXPECT_EQ(rows[7].Context, L"MOVW");

  // Wider uses are marked after narrower ones of the same area.
  const size_t m = BitRow(L"M0.0");
  EXPECT_EQ(Index().BitUsage[m].Marks, L"BBBBBBBB");
  EXPECT_EQ(Index().BitUsage[m + 2].Marks, L"WWWWWWWW");
  EXPECT_EQ(Index().BitUsage[m + 3].Marks, L"WWWWWWWW");
  EXPECT_EQ(Index().BitUsage[m + 4].Marks, L"        ");
  EXPECT_EQ(Index().BitUsage[m + 7].Marks, L"       b");
  EXPECT_EQ(Index().ByteUsage[ByteRow(L"MB0")].Marks, L"BBWW   b  ");
  EXPECT_EQ(Index().ByteUsage[ByteRow(L"VB0")].Marks, L"WW        ");
}

TEST_F(CrossReferenceTest, DigitGroupOperandsMarkFourBitsPerGroup) {
  ASSERT_TRUE(TryChangePlcType(kTypeFx));
  Current().Program.ViewMode = kViewModeStl;
  Networks(0)[0] = StlNetwork({{L"MOV", {L"K10", L"K2M4"}}, {L"LD", {L"M20"}}});
  RebuildCrossReferIndex();
  EXPECT_EQ(Addresses(), (std::vector<std::wstring>{L"M20", L"K2M4"}));
  // K2M4: 8 bits from M4, over bytes 0 and 1 of M.
  const size_t m = BitRow(L"M0");
  EXPECT_EQ(Index().BitUsage[m].Marks, L"    KKKK");
  EXPECT_EQ(Index().BitUsage[m + 1].Marks, L"KKKK    ");
  EXPECT_EQ(Index().BitUsage[m + 2].Marks, L"    b   ");
}

TEST_F(CrossReferenceTest, ClearingKeepsTheSearchAndResettingEmptiesEverything) {
  Networks(0)[0] = LadNetwork({BitElement(kLadKindCont, 0, 0, L"M0.0")});
  RebuildCrossReferIndex();
  CrossReferIndex& index = Current().CrossReferences;
  index.SearchHits.push_back(CrossReferUse{MakeStlOperandLocation(0, 0, 0, 0), L"LD", {}});
  index.SearchResults.push_back(CrossReferRow{});
  index.CurrentResult = 0;
  ClearCrossReferences(index);
  EXPECT_TRUE(index.Rows.empty() && index.Uses.empty() && index.BitUsage.empty() && index.ByteCells.empty());
  EXPECT_EQ(index.SearchHits.size(), 1u);
  EXPECT_TRUE(index.HasCurrentResult());
  ResetCrossReferIndex(index);
  EXPECT_EQ(index, CrossReferIndex());
  EXPECT_FALSE(index.HasCurrentResult());
}

TEST_F(CrossReferenceTest, LocationTexts) {
  struct Case {
    CrossReferLocation location;
    const wchar_t* text;  // null: refused
  };
  const Case cases[] = {
      {MakeDataRowLocation(0, 3), L"DAT_0 (DAT0)  Ln 3"},
      {MakeNetworkLocation(0, 2), L"MAIN (INT0)  NETWORK 2"},
      {MakeStlOperandLocation(0x10000, 1, 4, 0), L"SBR_0 (SBR0)  NETWORK 1  Ln 4"},
      {MakeLadOperandLocation(0, 0, 2, 1, -1, 0, -1), L"MAIN (INT0)  NETWORK 0  Col 2  Row 1"},
      {{2, 0, 1}, nullptr},
      {{4, 0, 0}, nullptr},
      {{}, nullptr},
  };
  for (const Case& c : cases) {
    std::wstring text = L"unchanged";
    EXPECT_EQ(FormatSearchLocation(c.location, text), c.text != nullptr);
    EXPECT_EQ(text, c.text != nullptr ? c.text : L"unchanged");
  }
}

TEST_F(CrossReferenceTest, OperandWordsCompareBySlotWidthByteAndBit) {
  const auto word = [this](const std::wstring& text) {
    OperandWord w = 0;
    EXPECT_TRUE(OperandTextToWord(text, Current().MemoryAreas, w)) << text;
    return w;
  };
  const std::vector<std::wstring> ordered = {L"I0.0", L"M0.0", L"M0.1", L"M7.7", L"MB0", L"MW0"};
  for (size_t i = 0; i + 1 < ordered.size(); ++i) {
    EXPECT_TRUE(CompareOperandWords(word(ordered[i]), word(ordered[i + 1]))) << ordered[i];
    EXPECT_FALSE(CompareOperandWords(word(ordered[i + 1]), word(ordered[i]))) << ordered[i];
  }
  EXPECT_FALSE(CompareOperandWords(word(L"M0.0"), word(L"M0.0")));
}

}  // namespace
