#include "core/convert/lad_analysis.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "tests/core/convert/convert_test_support.h"

using namespace Brenno;
using namespace convert_test;

namespace {

CellGrid Cells(const std::vector<LadElement>& elements) {
  CellGrid grid;
  BuildCellGrid(TypeA(), Ladder(elements), grid);
  return grid;
}

LogicGraph Analyze(const std::vector<LadElement>& elements) {
  LogicGraph graph;
  AnalyzeLadGrid(TypeA(), Cells(elements), graph);
  return graph;
}

std::vector<std::vector<int>> Pins(const std::vector<LogicNode>& nodes) {
  std::vector<std::vector<int>> pins;
  for (const LogicNode& n : nodes) pins.push_back(n.pins);
  return pins;
}

// The ladder of the worked example: contacts A and C in parallel, then B, then coil Y.
std::vector<LadElement> ParallelThenSeries() {
  return {Contact(0, 0, L"A"), Contact(1, 0, L"C"), VLink(0, 0), Contact(0, 1, L"B"), Coil(0, 2, L"Y")};
}

// ---- Link map

TEST(LinkMap, RailContactsLinesAndLabelOrder) {
  // Row 0: contact, empty cell, contact. Row 1: line, contact. Row 2: nothing.
  CellGrid grid;
  ResizeCellGrid(grid, 3, 3);
  const int ld = FunLadIndex(TypeA(), L"LD");
  auto contact = [&](int r, int c) {
    LadCell& cell = grid.At(r, c);
    cell.definition = ld;
    cell.powerIn = {0};
    cell.powerOut = {0};
    cell.width = 1;
  };
  contact(0, 0);
  contact(0, 2);
  grid.At(1, 0).horizontalLink = 1;
  contact(1, 1);
  const LinkMap map(grid);
  EXPECT_EQ(map.mapRows, 6u);
  EXPECT_EQ(map.mapColumns, 10u);
  for (int r = 0; r < 3; ++r) EXPECT_EQ(map.Label(2 * r + 1, 0), 0);
  EXPECT_EQ(map.InputNet(0, 0, 0), 0);  // a contact in column 0 stands on the rail
  // A line and the element right of it share a net: (1, 0) line, (1, 1) contact on the rail.
  EXPECT_EQ(map.InputNet(1, 1, 0), 0);
  // With an empty cell between them a contact's output and the next input are separate nets.
  EXPECT_NE(map.OutputNet(0, 0, 1, 0), map.InputNet(0, 2, 0));
  // Column-major numbering: column 0's output net first, then row 1's contact output.
  EXPECT_EQ(map.OutputNet(0, 0, 1, 0), 1);
  EXPECT_EQ(map.OutputNet(1, 1, 1, 0), 2);
  EXPECT_EQ(map.InputNet(0, 2, 0), 3);
  EXPECT_EQ(map.OutputNet(0, 2, 1, 0), 4);
  EXPECT_EQ(map.Label(0, 1), -1);  // an element's middle stays unmarked
  EXPECT_THROW(map.Label(6, 0), ExceptionLogicError);
  EXPECT_THROW(grid.At(3, 0), ExceptionLogicError);
}

// ---- Cell grid

TEST(BuildCellGrid, CellsCarryDefinitionsPinsOperandsAndLinks) {
  std::vector<LadElement> elements = ParallelThenSeries();
  elements[0].Comments = {L"first"};
  elements[0].Variant = 1;
  elements.push_back(HLine(1, 1));
  const CellGrid grid = Cells(elements);
  EXPECT_EQ(grid.rows, 2);
  EXPECT_EQ(grid.columns, 3);
  const LadCell& a = grid.At(0, 0);
  EXPECT_EQ(a.definition, FunLadIndex(TypeA(), L"LD"));
  EXPECT_EQ(a.variant, 1);
  EXPECT_EQ(a.operands, std::vector<std::wstring>{L"A"});
  EXPECT_EQ(a.comments, std::vector<std::wstring>{L"first"});
  EXPECT_EQ(a.powerIn, std::vector<int>{0});
  EXPECT_EQ(a.powerOut, std::vector<int>{0});
  EXPECT_EQ(a.width, 1);
  EXPECT_EQ(a.verticalLink, 1);  // the link on the contact's own cell
  EXPECT_EQ(a.horizontalLink, 0);
  EXPECT_EQ(grid.At(1, 1).horizontalLink, 1);
  EXPECT_EQ(grid.At(1, 1).definition, -1);
  EXPECT_EQ(grid.At(0, 2).powerOut, std::vector<int>{});
}

TEST(BuildCellGrid, OperandsInIdInOutOrderAndBoxWidthOne) {
  LadElement mov = MovBox(0, 1, L"VB0", L"VB1");
  mov.OperandId.clear();
  const CellGrid grid = Cells({Contact(0, 0, L"A"), mov, SrBox(2, 1, L"M0.0")});
  EXPECT_EQ(grid.At(0, 1).operands, (std::vector<std::wstring>{L"VB0", L"VB1"}));
  EXPECT_EQ(grid.At(0, 1).width, 1);
  EXPECT_EQ(grid.At(2, 1).powerIn, (std::vector<int>{0, 1}));
}

TEST(BuildCellGrid, ExtentComesFromTheElementsNotFromTheStoredValue) {
  // A stale extent of 0 x 0 would turn the rung into an empty network; a too small one would
  // put elements outside the grid.
  for (auto [rows, columns] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{9, 9}}) {
    LadderGrid ladder = Ladder({Contact(0, 0, L"A"), Contact(0, 1, L"B"), Coil(0, 2, L"Y")});
    ladder.Rows = rows;
    ladder.Columns = columns;
    CellGrid grid;
    BuildCellGrid(TypeA(), ladder, grid);
    EXPECT_EQ(grid.rows, 1);
    EXPECT_EQ(grid.columns, 3);
    EXPECT_EQ(grid.At(0, 2).operands, std::vector<std::wstring>{L"Y"});
  }
}

TEST(BuildCellGrid, EmptyLadderIsIgnoredEvenWithAStoredExtent) {
  LadderGrid ladder;
  ladder.Rows = 4;
  ladder.Columns = 4;
  CellGrid grid;
  EXPECT_THROW(BuildCellGrid(TypeA(), ladder, grid), ExceptionAnalyzeIgnore_Lad_LadEmpty);
}

TEST(BuildCellGrid, ElementFailures) {
  LadElement unknown = Contact(0, 0, L"A", L"??");
  LadElement twoInputs = Contact(0, 0, L"A");
  twoInputs.PowerIn.push_back({1, L"X"});
  LadElement noOutput = Contact(0, 0, L"A");
  noOutput.PowerOut.clear();
  LadElement tooManyOperands = Contact(0, 0, L"A");
  tooManyOperands.OperandIn.push_back({1, L"x", L"B"});
  for (const LadElement& bad : {unknown, twoInputs, noOutput, tooManyOperands}) {
    CellGrid grid;
    EXPECT_THROW(BuildCellGrid(TypeA(), Ladder({bad, Coil(0, 1, L"Y")}), grid), ExceptionAnalyzeError_Lad_LadElementError);
  }
  // Two elements on one cell would lose one of them.
  LadderGrid doubled = Ladder({Contact(0, 0, L"A"), Contact(0, 0, L"B"), Coil(0, 1, L"Y")});
  CellGrid grid;
  EXPECT_THROW(BuildCellGrid(TypeA(), doubled, grid), ExceptionAnalyzeError_Lad_LadElementError);
  // A vertical link of an element kind and a position before the grid are corrupt.
  LadElement verticalContact = Contact(0, 0, L"A");
  verticalContact.InCell = false;
  EXPECT_THROW(BuildCellGrid(TypeA(), Ladder({verticalContact}), grid), ExceptionLogicError);
  // A position far outside any ladder is refused before anything is reserved for it.
  for (auto [row, column] : {std::pair{0, 2000000000}, std::pair{2000000000, 0}, std::pair{5000, 5000}}) {
    LadderGrid far;
    far.Elements = {Contact(0, 0, L"A"), Coil(row, column, L"Y")};
    EXPECT_THROW(BuildCellGrid(TypeA(), far, grid), ExceptionLogicError);
  }
  LadderGrid negative = Ladder({Coil(0, 1, L"Y")});
  negative.Elements.push_back(Contact(-1, 0, L"A"));
  EXPECT_THROW(BuildCellGrid(TypeA(), negative, grid), ExceptionLogicError);
  // The first bad element in stored order decides.
  LadElement corrupt = Contact(0, 2, L"C");
  corrupt.InCell = false;
  LadderGrid both;
  both.Elements = {unknown, corrupt};
  EXPECT_THROW(BuildCellGrid(TypeA(), both, grid), ExceptionAnalyzeError_Lad_LadElementError);
  both.Elements = {corrupt, unknown};
  EXPECT_THROW(BuildCellGrid(TypeA(), both, grid), ExceptionLogicError);
}

// ---- Analysis

TEST(AnalyzeLadGrid, WorkedExampleParallelThenSeries) {
  const LogicGraph graph = Analyze(ParallelThenSeries());
  EXPECT_EQ(Pins(graph.inputs), (std::vector<std::vector<int>>{{0, 1}, {0, 1}, {1, 2}}));
  EXPECT_EQ(graph.inputs[0].operands, std::vector<std::wstring>{L"A"});
  EXPECT_EQ(graph.inputs[1].operands, std::vector<std::wstring>{L"C"});
  EXPECT_EQ(graph.inputs[2].operands, std::vector<std::wstring>{L"B"});
  EXPECT_EQ(graph.inputs[0].definition, FunOrgIndex(TypeA(), L"CONT"));
  EXPECT_EQ(Pins(graph.outputs), (std::vector<std::vector<int>>{{2}}));
  EXPECT_EQ(graph.outputs[0].definition, FunOrgIndex(TypeA(), L"COIL"));
  ASSERT_EQ(graph.fragments.size(), 1u);
  EXPECT_EQ(TreeText(graph.fragments[0].tree), L"S(P(i0,i1),i2)");
  EXPECT_EQ(graph.fragments[0].ends, (std::vector<int>{0, 2}));
}

TEST(AnalyzeLadGrid, SingleContactAndCoil) {
  const LogicGraph graph = Analyze({Contact(0, 0, L"A"), Coil(0, 1, L"Y")});
  ASSERT_EQ(graph.fragments.size(), 1u);
  EXPECT_EQ(TreeText(graph.fragments[0].tree), L"i0");
  EXPECT_EQ(graph.fragments[0].ends, (std::vector<int>{0, 1}));
  EXPECT_EQ(Pins(graph.outputs), (std::vector<std::vector<int>>{{1}}));
}

TEST(AnalyzeLadGrid, TwoCoilsInParallelShareOneFragment) {
  const LogicGraph graph = Analyze({Contact(0, 0, L"A"), Coil(0, 1, L"Y1"), VLink(0, 0), Coil(1, 1, L"Y2")});
  EXPECT_EQ(Pins(graph.outputs), (std::vector<std::vector<int>>{{1}, {1}}));
  ASSERT_EQ(graph.fragments.size(), 1u);
  EXPECT_EQ(TreeText(graph.fragments[0].tree), L"i0");
}

TEST(AnalyzeLadGrid, BranchFromAnEarlierOutputNetBecomesAReference) {
  const LogicGraph graph =
      Analyze({Contact(0, 0, L"A"), Coil(0, 1, L"Y1"), VLink(0, 0), Contact(1, 1, L"B"), Coil(1, 2, L"Y2")});
  ASSERT_EQ(graph.fragments.size(), 2u);
  EXPECT_EQ(TreeText(graph.fragments[0].tree), L"i0");
  EXPECT_EQ(TreeText(graph.fragments[1].tree), L"S(r1,i1)");
  EXPECT_EQ(graph.fragments[1].ends, (std::vector<int>{0, graph.outputs[1].pins[0]}));
}

TEST(AnalyzeLadGrid, ChainWithCoilOnItsMiddleIsOneLeftDeepFragment) {
  const LogicGraph graph = Analyze({Contact(0, 0, L"A"), Contact(0, 1, L"B"), Contact(0, 2, L"C"),
                                    Coil(0, 3, L"Y2"), VLink(0, 1), Coil(1, 2, L"Y1")});
  ASSERT_EQ(graph.outputs.size(), 2u);
  EXPECT_EQ(graph.outputs[0].operands, std::vector<std::wstring>{L"Y2"});  // row-major
  ASSERT_EQ(graph.fragments.size(), 1u);
  EXPECT_EQ(TreeText(graph.fragments[0].tree), L"S(S(i0,i1),i2)");
}

TEST(AnalyzeLadGrid, MultiInputBoxTakesItsFeedersAsChildren) {
  // A -> S1, B -> R of an SR box whose output drives Y.
  const LogicGraph graph =
      Analyze({Contact(0, 0, L"A"), Contact(1, 0, L"B"), SrBox(0, 1, L"M0.0"), Coil(0, 2, L"Y")});
  ASSERT_EQ(graph.inputs.size(), 3u);
  EXPECT_EQ(graph.inputs[2].pins.size(), 3u);
  ASSERT_EQ(graph.fragments.size(), 1u);
  EXPECT_EQ(TreeText(graph.fragments[0].tree), L"i2(i0,i1)");
  EXPECT_EQ(graph.fragments[0].ends, (std::vector<int>{0, graph.outputs[0].pins[0]}));
}

TEST(SimplifyLadGraph, ParallelJoinsTheUpperBranchFirstAndSeriesIsLeftDeep) {
  auto leaf = [](int i, std::vector<int> ends) {
    LogicFragment f;
    MakeLogicLeaf(f.tree, LogicItem{kLogicItemInput, i});
    f.ends = std::move(ends);
    return f;
  };
  std::vector<LogicFragment> group{leaf(0, {0, 1}), leaf(1, {1, 2}), leaf(2, {0, 1}), leaf(3, {2, 3})};
  ASSERT_TRUE(SimplifyLadGraph(group));
  ASSERT_EQ(group.size(), 1u);
  EXPECT_EQ(TreeText(group[0].tree), L"S(S(P(i0,i2),i1),i3)");
  EXPECT_EQ(group[0].ends, (std::vector<int>{0, 3}));
  // A fragment whose ends are equal is not joined to itself.
  std::vector<LogicFragment> shorted{leaf(0, {0, 1}), leaf(1, {1, 1})};
  EXPECT_FALSE(SimplifyLadGraph(shorted));
  EXPECT_EQ(shorted.size(), 2u);
}

TEST(SimplifyLadGraph, ParallelBranchesEndInTheOrderTheyStand) {
  auto leaf = [](int i, std::vector<int> ends) {
    LogicFragment f;
    MakeLogicLeaf(f.tree, LogicItem{kLogicItemInput, i});
    f.ends = std::move(ends);
    return f;
  };
  // Contact a in row 0, the chain b1, b2 in row 1, contact c in row 2, all from the rail to net
  // 3: the merges join a with c before the chain is complete.
  const std::vector<LogicFragment> group{leaf(0, {0, 3}), leaf(1, {0, 1}), leaf(2, {0, 3}), leaf(3, {1, 3})};
  std::vector<LogicFragment> byRows = group;
  ASSERT_TRUE(SimplifyLadGraph(byRows, {0, 1, 2, 1}));
  EXPECT_EQ(TreeText(byRows[0].tree), L"P(P(i0,S(i1,i3)),i2)");
  // Without rows the merge order stands.
  std::vector<LogicFragment> unordered = group;
  ASSERT_TRUE(SimplifyLadGraph(unordered));
  EXPECT_EQ(TreeText(unordered[0].tree), L"P(P(i0,i2),S(i1,i3))");
}

// Each row of the failure table, with a ladder that has exactly that defect.
TEST(AnalyzeLadGrid, FailureTable) {
  struct Case {
    const char* what;
    std::vector<LadElement> elements;
    std::function<void(const std::vector<LadElement>&)> expect;
  };
  auto throws = [](auto exception) {
    return [](const std::vector<LadElement>& elements) {
      EXPECT_THROW(Analyze(elements), decltype(exception));
    };
  };
  const std::vector<Case> cases = {
      {"no coil", {Contact(0, 0, L"A"), Contact(0, 1, L"B")}, throws(ExceptionAnalyzeError_Lad_NoOutputElement{})},
      {"coil on the rail", {Coil(0, 0, L"Y")}, throws(ExceptionAnalyzeError_Lad_NoInputElement{})},
      {"label behind a contact", {Contact(0, 0, L"A"), LblBox(0, 1, L"3")},
       throws(ExceptionAnalyzeError_Lad_GeneratrixOutputPlaceError{})},
      {"open contact", {Contact(0, 0, L"A"), Coil(0, 1, L"Y"), Contact(1, 0, L"B")},
       throws(ExceptionAnalyzeError_Lad_UselessElement{})},
      {"bridge",
       {Contact(0, 0, L"A"), HLine(0, 1), Contact(0, 2, L"C"), Coil(0, 3, L"Y"), VLink(0, 0), Contact(1, 1, L"E"),
        VLink(1, 1), Contact(2, 0, L"B"), HLine(2, 1), Contact(2, 2, L"D"), VLink(0, 2), VLink(1, 2)},
       throws(ExceptionAnalyzeError_Lad_SimplifyError{})},
      {"first rung not from the rail", {Contact(0, 1, L"A"), Coil(0, 2, L"Y")},
       throws(ExceptionAnalyzeError_Lad_PowerNotFromGeneratrix{})},
      {"counter inputs on one net", {Contact(0, 0, L"A"), VLink(0, 0), CtuBox(0, 1, L"C0", L"10")},
       throws(ExceptionAnalyzeError_Lad_PowerFlowError{})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.expect(c.elements);
  }
}

TEST(AnalyzeLadGrid, FailuresOfHandMadeCells) {
  const InstructionLibrary& lib = TypeA();
  auto cellOf = [&](const std::wstring& name, std::vector<int> in, std::vector<int> out,
                    std::vector<std::wstring> operands) {
    LadCell cell;
    cell.definition = FunLadIndex(lib, name);
    cell.powerIn = std::move(in);
    cell.powerOut = std::move(out);
    cell.operands = std::move(operands);
    cell.width = 1;
    return cell;
  };
  auto analyze = [&](std::vector<LadCell> row) {
    CellGrid grid;
    ResizeCellGrid(grid, 1, static_cast<int>(row.size()));
    for (std::size_t c = 0; c < row.size(); ++c) grid.At(0, static_cast<int>(c)) = row[c];
    LogicGraph graph;
    AnalyzeLadGrid(lib, grid, graph);
  };
  const LadCell contact = cellOf(L"LD", {0}, {0}, {L"A"});
  const LadCell coil = cellOf(L"=", {0}, {}, {L"Y"});
  // Element without power input; with two power outputs.
  ASSERT_NO_THROW(analyze({contact, coil}));
  EXPECT_THROW(analyze({cellOf(L"LD", {}, {0}, {L"A"}), coil}), ExceptionAnalyzeError_Lad_PowerFlowError);
  EXPECT_THROW(analyze({contact, cellOf(L"LD", {0}, {0, 0}, {L"A"})}), ExceptionAnalyzeError_Lad_PowerFlowError);
  // A coil with a power output is an input element whose unit is an output.
  EXPECT_THROW(analyze({contact, cellOf(L"=", {0}, {0}, {L"Y"}), coil}), ExceptionAnalyzeError_Lad_PowerFlowError);
  // A contact without power output is an output element whose unit is an input.
  EXPECT_THROW(analyze({contact, cellOf(L"LD", {0}, {}, {L"B"})}), ExceptionAnalyzeError_Lad_PowerFlowError);
  // No rule for the cell (operand count differs from every key).
  EXPECT_THROW(analyze({cellOf(L"LD", {0}, {0}, {}), coil}), ExceptionAnalyzeError_Lad_ConvertElementError);
  // The column-major scan meets an unconvertible contact in column 0 before a two-output
  // element in the last column; an unconvertible coil loses to a classification error.
  EXPECT_THROW(analyze({cellOf(L"LD", {0}, {0}, {}), cellOf(L"LD", {0}, {0, 0}, {L"A"})}),
               ExceptionAnalyzeError_Lad_ConvertElementError);
  EXPECT_THROW(analyze({cellOf(L"=", {0}, {}, {}), cellOf(L"LD", {}, {0}, {L"A"})}),
               ExceptionAnalyzeError_Lad_PowerFlowError);
}

TEST(AnalyzeLadGrid, ElementShortedToTheRailFeedsNobody) {
  // A's output is tied back to the rail through a link and a line on row 1; B and the coil hang
  // on the rail behind it. A does nothing, and must not slip into B's logic.
  EXPECT_THROW(Analyze({Contact(0, 0, L"A"), VLink(0, 0), HLine(1, 0), Contact(0, 1, L"B"), Coil(0, 2, L"Y")}),
               ExceptionAnalyzeError_Lad_UselessElement);
}

TEST(AnalyzeLadGrid, ErrorMessages) {
  const int language = CurrentLanguage();
  SetCurrentLanguage(kLanguageEnglish);
  try {
    Analyze({Coil(0, 0, L"Y")});
    FAIL();
  } catch (const ExceptionAnalyzeError& e) {
    EXPECT_EQ(e.Message(), L"LAD, No Input Element");
  }
  try {
    Analyze({Contact(0, 0, L"A"), Coil(0, 1, L"Y"), Contact(1, 0, L"B")});
    FAIL();
  } catch (const ExceptionAnalyzeError& e) {
    EXPECT_EQ(e.Message(), L"LAD, Useless Element");
  }
  SetCurrentLanguage(kLanguageChinese);
  try {
    Analyze({Contact(0, 1, L"A"), Coil(0, 2, L"Y")});
    FAIL();
  } catch (const ExceptionAnalyzeError& e) {
    EXPECT_EQ(e.Message(), L"LAD, 能流未从母线开始");
  }
  SetCurrentLanguage(language);
}

}  // namespace
