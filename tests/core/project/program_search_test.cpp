#include "core/project/program_search.h"

#include <gtest/gtest.h>

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

LadElement Element(int kind, const std::wstring& name, int column, int row, std::vector<std::wstring> ids,
                   std::vector<std::wstring> ins, std::vector<std::wstring> outs) {
  LadElement element;
  element.Column = column;
  element.Row = row;
  element.InCell = true;
  element.Kind = kind;
  element.Name = name;
  for (auto& text : ids) element.OperandId.push_back(ElementOperand{0, L"", text});
  for (auto& text : ins) element.OperandIn.push_back(ElementOperand{0, L"", text});
  for (auto& text : outs) element.OperandOut.push_back(ElementOperand{0, L"", text});
  return element;
}

Network LadNetwork(const std::vector<LadElement>& elements) {
  Network network;
  network.Kind = kNetworkLad;
  network.Grid.Columns = 6;
  network.Grid.Rows = 2;
  network.Grid.Elements = elements;
  return network;
}

class ProgramSearchTest : public ProjectEnvFixture {
 protected:
  void SetUp() override {
    ProjectEnvFixture::SetUp();
    ASSERT_TRUE(TryNewProject());
  }

  std::vector<Network>& Networks(int key) { return Current().Program.GetProgramPage(key).UndoLog.Networks; }
  CrossReferIndex& Index() { return Current().CrossReferences; }

  void Search(const std::wstring& text) {
    ClearProgramSearch(Index());
    FindInPrograms(text, Index());
    SortSearchResults(Index());
  }

  std::vector<CrossReferLocation> ResultLocations() {
    std::vector<CrossReferLocation> locations;
    for (const CrossReferRow& row : Index().SearchResults) locations.push_back(row.Location);
    return locations;
  }
};

TEST_F(ProgramSearchTest, OnlyWholeExactOperandTextsOfTheShownFormMatch) {
  Project& project = Current();
  ASSERT_TRUE(SetSymbolEntryName(project.Symbols, 0, 0, L"Start"));
  ASSERT_TRUE(SetSymbolEntryAddress(project.Symbols, 0, 0, L"M0.0"));
  project.Program.ViewMode = kViewModeStl;
  Networks(0)[0] = StlNetwork({{L"LD", {L"M0.01"}}, {L"LD", {L"m0.0"}}, {L"LD", {L"Start"}}, {L"MOVB", {L"MB0", L"M0.0"}}});
  Networks(0)[1] = LadNetwork({Element(kLadKindCont, L" ", 0, 0, {}, {L"M0.0"}, {})});  // other form: not searched
  Search(L"M0.0");
  ASSERT_EQ(Index().SearchResults.size(), 1u);
  const CrossReferRow& row = Index().SearchResults[0];
  EXPECT_EQ(row.Location, MakeStlOperandLocation(0, 0, 3, 1));
  EXPECT_EQ(row.Context, L"MOVB");
  EXPECT_EQ(row.LocationText, L"MAIN (INT0)  NETWORK 0  Ln 3");
  EXPECT_EQ(row.Word, 0u);
  EXPECT_TRUE(row.Address.empty() && row.Symbol.empty());
  EXPECT_FALSE(Index().HasCurrentResult());

  project.Program.ViewMode = kViewModeLad;
  Search(L"M0.0");
  EXPECT_EQ(ResultLocations(), std::vector<CrossReferLocation>{MakeLadOperandLocation(0, 1, 0, 0, -1, 0, -1)});
  EXPECT_EQ(Index().SearchResults[0].Context, L"-| |-");
}

TEST_F(ProgramSearchTest, ResultsFollowUnitNetworkAndCellWithOneElementsOperandsInListOrder) {
  Project& project = Current();
  const int interrupt = project.Program.AddInterrupt();
  ASSERT_GT(interrupt, 0);
  Networks(0x10000)[0] = LadNetwork({Element(kLadKindCoil, L" ", 5, 0, {}, {}, {L"M0.0"})});
  Networks(interrupt)[0] = LadNetwork({Element(kLadKindCont, L" ", 0, 0, {}, {L"M0.0"}, {})});
  // Stored out of cell order: a box at (2, 1) using the text as identifier, input and output,
  // then a contact at (0, 0).
  Networks(0)[3] = LadNetwork({Element(kLadKindBlock, L"BOX", 2, 1, {L"M0.0", L"X"}, {L"Y", L"M0.0"}, {L"M0.0"}),
                               Element(kLadKindCont, L" ", 0, 0, {}, {L"M0.0"}, {})});
  Search(L"M0.0");
  EXPECT_EQ(ResultLocations(), (std::vector<CrossReferLocation>{
                                   MakeLadOperandLocation(0, 3, 0, 0, -1, 0, -1),
                                   MakeLadOperandLocation(0, 3, 2, 1, 0, -1, -1),
                                   MakeLadOperandLocation(0, 3, 2, 1, -1, 1, -1),
                                   MakeLadOperandLocation(0, 3, 2, 1, -1, -1, 0),
                                   MakeLadOperandLocation(interrupt, 0, 0, 0, -1, 0, -1),
                                   MakeLadOperandLocation(0x10000, 0, 5, 0, -1, -1, 0),
                               }));
  EXPECT_EQ(Index().SearchResults[1].Context, L"-[BOX]");
  EXPECT_EQ(Index().SearchResults[5].Context, L"-( )");
}

TEST_F(ProgramSearchTest, LocationOrder) {
  struct Case {
    CrossReferLocation a, b;
    bool before;
  };
  const Case cases[] = {
      {MakeStlOperandLocation(0, 1, 2, 0), MakeStlOperandLocation(0, 1, 2, 1), true},
      {MakeStlOperandLocation(0, 1, 2, 1), MakeStlOperandLocation(0, 1, 2, 1), false},
      {MakeStlOperandLocation(0x10000, 0, 0, 0), MakeStlOperandLocation(1, 9, 9, 9), false},
      {MakeLadOperandLocation(0, 0, 1, 5, 0, -1, -1), MakeLadOperandLocation(0, 0, 2, 0, 0, -1, -1), true},
      {MakeLadOperandLocation(0, 0, 1, 0, 0, -1, -1), MakeLadOperandLocation(0, 0, 1, 0, 1, -1, -1), true},
      // Different operand lists of one element are not ordered.
      {MakeLadOperandLocation(0, 0, 1, 0, 0, -1, -1), MakeLadOperandLocation(0, 0, 1, 0, -1, 0, -1), false},
      {MakeLadOperandLocation(0, 0, 1, 0, -1, 0, -1), MakeLadOperandLocation(0, 0, 1, 0, 0, -1, -1), false},
      // Different kinds, and kinds 0 and 1, are never ordered.
      {MakeStlOperandLocation(0, 0, 0, 0), MakeLadOperandLocation(0, 1, 0, 0, 0, -1, -1), false},
      {MakeNetworkLocation(0, 0), MakeNetworkLocation(0, 1), false},
      {MakeDataRowLocation(0, 0), MakeDataRowLocation(0, 1), false},
  };
  for (const Case& c : cases) EXPECT_EQ(CompareLocations(c.a, c.b), c.before) << c.a[0] << " " << c.a[1];
}

TEST_F(ProgramSearchTest, SeekingWrapsAroundAndStoppedOnAHitSelectsIt) {
  Current().Program.ViewMode = kViewModeStl;
  Networks(0)[1] = StlNetwork({{L"LD", {L"M0.0"}}});
  Networks(0)[3] = StlNetwork({{L"LD", {L"M0.0"}}});
  Networks(0)[5] = StlNetwork({{L"LD", {L"M0.0"}}});
  Search(L"M0.0");
  ASSERT_EQ(Index().SearchResults.size(), 3u);
  struct Case {
    CrossReferLocation cursor;
    bool up;
    size_t expected;
  };
  const Case cases[] = {
      {MakeStlOperandLocation(0, 7, 0, 0), false, 0},  // down from after the last: the first
      {MakeStlOperandLocation(0, 0, 0, 0), true, 2},   // up from before the first: the last
      {MakeStlOperandLocation(0, 3, 0, 0), true, 1},   // up from a hit: that hit
      {MakeStlOperandLocation(0, 3, 0, 0), false, 1},  // down from a hit: that hit
      {MakeStlOperandLocation(0, 2, 0, 0), false, 1},
      {MakeStlOperandLocation(0, 4, 0, 0), true, 1},
  };
  for (const Case& c : cases) {
    Index().CurrentResult = Index().SearchResults.size();
    if (c.up) {
      SeekSearchResultBefore(Index(), c.cursor);
    } else {
      SeekSearchResultAfter(Index(), c.cursor);
    }
    EXPECT_EQ(Index().CurrentResult, c.expected) << c.cursor[2] << (c.up ? " up" : " down");
  }

  ClearProgramSearch(Index());
  SeekSearchResultAfter(Index(), MakeStlOperandLocation(0, 0, 0, 0));
  StepSearchResultForward(kSearchStatusReplaced, Index());
  EXPECT_FALSE(Index().HasCurrentResult());
}

TEST_F(ProgramSearchTest, SteppingVisitsUnhandledResultsAroundTheList) {
  Current().Program.ViewMode = kViewModeStl;
  Networks(0)[0] = StlNetwork({{L"LD", {L"M0.0"}}, {L"LD", {L"M0.0"}}, {L"LD", {L"M0.0"}}});
  Search(L"M0.0");
  const auto statuses = [this] {
    std::vector<std::wstring> texts;
    for (const CrossReferRow& row : Index().SearchResults) texts.push_back(row.Address);
    return texts;
  };

  StepSearchResultForward(kSearchStatusReplaced, Index());  // no current result: nothing
  EXPECT_EQ(statuses(), (std::vector<std::wstring>{L"", L"", L""}));

  SeekSearchResultAfter(Index(), MakeStlOperandLocation(0, 0, 1, 0));
  ASSERT_EQ(Index().CurrentResult, 1u);
  StepSearchResultForward(L"", Index());  // moves on without marking
  EXPECT_EQ(Index().CurrentResult, 2u);
  StepSearchResultForward(kSearchStatusReplaced, Index());
  EXPECT_EQ(Index().CurrentResult, 0u);  // wrapped around
  StepSearchResultBack(kSearchStatusFailed, Index());
  EXPECT_EQ(Index().CurrentResult, 1u);  // skips the handled result 2
  EXPECT_EQ(statuses(), (std::vector<std::wstring>{L"Failed", L"", L"Replaced"}));
  // The only unhandled result: marked and stays current; then nothing moves any more.
  StepSearchResultForward(kSearchStatusReplaced, Index());
  EXPECT_EQ(Index().CurrentResult, 1u);
  StepSearchResultBack(L"", Index());
  EXPECT_EQ(Index().CurrentResult, 1u);
  EXPECT_EQ(statuses(), (std::vector<std::wstring>{L"Failed", L"Replaced", L"Replaced"}));
}

TEST_F(ProgramSearchTest, AResultLeadsToItsPlaceInThePage) {
  Current().Program.ViewMode = kViewModeStl;
  Current().Program.SubroutineTable.StampBlockPages(false, kViewModeStl);
  Networks(0x10000)[2] = StlNetwork({{L"MOVB", {L"MB0", L"MB1"}}});
  Search(L"MB1");
  ASSERT_EQ(Index().SearchResults.size(), 1u);
  int unit = -1;
  ProgramSearchHit hit;
  ASSERT_TRUE(SearchLocationToHit(Index().SearchResults[0].Location, unit, hit));
  EXPECT_EQ(unit, 0x10000);
  ProgramSearchHit expected;
  expected.Kind = kSearchHitStlOperand;
  expected.Network = 2;
  expected.Line = 0;
  expected.Operand = 1;
  EXPECT_EQ(hit, expected);
  ASSERT_TRUE(Current().Program.GetProgramPage(0x10000).ReplaceInNetwork(hit, L"MB1", L"MB2"));
  EXPECT_EQ(Networks(0x10000)[2].Lines[0].Operands[1], L"MB2");
  EXPECT_FALSE(SearchLocationToHit(MakeDataRowLocation(0, 0), unit, hit));
}

}  // namespace
