#include "core/convert/lad_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/convert/stl_analysis.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "tests/core/convert/convert_test_support.h"

using namespace Brenno;
using namespace convert_test;

namespace {

std::vector<StlLine> Lines(const std::vector<std::wstring>& texts) {
  std::vector<StlLine> lines;
  for (const std::wstring& text : texts) {
    StlLine line;
    const std::size_t blank = text.find(L' ');
    line.Mnemonic = text.substr(0, blank);
    if (blank != std::wstring::npos) {
      const std::wstring rest = text.substr(blank + 1);
      for (std::size_t at = 0;;) {
        const std::size_t comma = rest.find(L',', at);
        line.Operands.push_back(rest.substr(at, comma - at));
        if (comma == std::wstring::npos) break;
        at = comma + 1;
      }
    }
    lines.push_back(line);
  }
  return lines;
}

LogicGraph Graph(const InstructionLibrary& library, const std::vector<std::wstring>& texts) {
  std::vector<StlElement> elements;
  ParseStlLines(library, Lines(texts), elements);
  LogicGraph graph;
  AnalyzeStl(library, elements, graph);
  return graph;
}

CellGrid Layout(const std::vector<std::wstring>& texts) {
  CellGrid grid;
  LayoutLadGrid(TypeA(), Graph(TypeA(), texts), grid);
  return grid;
}

LadderGrid LadderOf(const InstructionLibrary& library, const std::vector<std::wstring>& texts) {
  CellGrid cells;
  LayoutLadGrid(library, Graph(library, texts), cells);
  LadderGrid ladder;
  BuildLadNetwork(library, cells, ladder);
  return ladder;
}

LadderGrid LadderOf(const std::vector<std::wstring>& texts) { return LadderOf(TypeA(), texts); }

// The grid as rows of text: per cell "." (empty), the first operand of its element, "-" for a
// horizontal line; "|" after a cell with a vertical link.
std::vector<std::wstring> Picture(const CellGrid& grid) {
  std::vector<std::wstring> rows;
  for (int r = 0; r < grid.rows; ++r) {
    std::wstring row;
    for (int c = 0; c < grid.columns; ++c) {
      const LadCell& cell = grid.At(r, c);
      std::wstring text = cell.definition != -1 ? (cell.operands.empty() ? L"?" : cell.operands.front())
                                                : (cell.horizontalLink != 0 ? L"-" : L".");
      if (cell.definition != -1 && cell.horizontalLink != 0) text += L"-";
      if (cell.verticalLink != 0) text += L"|";
      row += (c == 0 ? L"" : L" ") + text;
    }
    rows.push_back(row);
  }
  return rows;
}

using Rows = std::vector<std::wstring>;

}  // namespace

// Contact a, LPS, contact b, AND, coil p, LPP, contact c, AND, coil q.
TEST(LayoutLadGrid, WorkedExample) {
  const CellGrid grid = Layout({L"LD a", L"LPS", L"A b", L"= p", L"LPP", L"A c", L"= q"});
  EXPECT_EQ(grid.rows, 2);
  EXPECT_EQ(grid.columns, 4);
  EXPECT_EQ(Picture(grid), (Rows{L"a| b p .", L". c q ."}));
  const LadCell& a = grid.At(0, 0);
  EXPECT_EQ(a.definition, FunLadIndex(TypeA(), L"LD"));
  EXPECT_EQ(a.powerIn, (std::vector<int>{0}));
  EXPECT_EQ(a.powerOut, (std::vector<int>{0}));
  EXPECT_EQ(a.width, 1);
  EXPECT_EQ(grid.At(1, 2).definition, FunLadIndex(TypeA(), L"="));
  EXPECT_TRUE(grid.At(1, 2).powerOut.empty());

  EXPECT_EQ(LadderOf({L"LD a", L"LPS", L"A b", L"= p", L"LPP", L"A c", L"= q"}),
            Ladder({VLink(0, 0), Contact(0, 0, L"a"), Contact(0, 1, L"b"), Coil(0, 2, L"p"), Contact(1, 1, L"c"),
                    Coil(1, 2, L"q")}));
}

TEST(LayoutLadGrid, SeriesParallelAndOutputs) {
  struct Case {
    std::vector<std::wstring> lines;
    Rows picture;
  };
  const std::vector<Case> cases = {
      // One contact, one coil.
      {{L"LD a", L"= p"}, {L"a p ."}},
      // Two parallel contacts feeding one coil; the rail-side link sets no flag.
      {{L"LD a", L"O b", L"= p"}, {L"a| p .", L"b . ."}},
      // Parallel branches of different widths: the shorter one is padded with a line.
      {{L"LD a", L"A b", L"O c", L"= p"}, {L"a b| p .", L"c - . ."}},
      {{L"LD c", L"LD a", L"A b", L"OLD", L"= p"}, {L"c -| p .", L"a b . ."}},
      // A parallel block in series.
      {{L"LD a", L"LD b", L"O c", L"ALD", L"= p"}, {L"a| b| p .", L". c . ."}},
      // Two coils after one contact.
      {{L"LD a", L"= p", L"= q"}, {L"a| p .", L". q ."}},
      // Two rungs: the second starts below the first.
      {{L"LD a", L"= p", L"LD b", L"= q"}, {L"a p .", L"b q ."}},
      // An element that feeds no output is left out.
      {{L"LD a", L"= p", L"LD b"}, {L"a p ."}},
      // A multi-input element: its branches one under the other in front of it.
      {{L"LD a", L"LD b", L"A c", L"SR m", L"= p"}, {L"a - m p .", L"b c . . ."}},
      // A multi-output element: both pins in one column.
      {{L"LD a", L"LD b", L"A c", L"CTU C1,5"}, {L"a - - C1 .", L"b c - . .", L". . . . ."}},
      // A box with operand inputs takes one more column in front of it.
      {{L"LD a", L"MOVB IB0,QB0"}, {L"a - IB0 .", L". . . ."}},
      // A generatrix output on the rail, then a rung.
      {{L"LBL 3", L"LD a", L"JMP 3"}, {L"3 . .", L"a 3 ."}},
      // A branch point read twice.
      {{L"LD a", L"LPS", L"A b", L"= p", L"LRD", L"A c", L"= q", L"LPP", L"AN d", L"= r"},
       {L"a| b p .", L".| c q .", L". d r ."}},
      // A parallel block joined to a wider branch is drawn as the chain of branches it is read
      // back as: every branch padded to the join, not b and c joined first.
      {{L"LD a", L"NOT", L"LD b", L"O c", L"OLD", L"= p"}, {L"a ?| p .", L"b -| . .", L"c - . ."}},
      {{L"LD a", L"NOT", L"O b", L"O c", L"= p"}, {L"a ?| p .", L"b -| . .", L"c - . ."}},
      // A series block behind other logic is drawn as one chain.
      {{L"LD a", L"LD b", L"A c", L"ALD", L"= p"}, {L"a b c p ."}},
      // A counter whose count input hangs where a coil hangs.
      {{L"LD a", L"= p", L"LD b", L"CTU C1,5"}, {L"a| p . .", L". - C1 .", L"b - . .", L". . . ."}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Picture(Layout(c.lines)), c.picture) << c.lines.front() << L" ... " << c.lines.back();
  }
}

TEST(LayoutLadGrid, BoxesKeepTheirPinsAndOperands) {
  const LadderGrid ladder = LadderOf({L"LD a", L"LD b", L"A c", L"CTU C1,5"});
  LadElement counter = CtuBox(0, 3, L"C1", L"5");
  counter.PowerIn = {{0, L"CU"}, {1, L"R"}};
  EXPECT_EQ(ladder, Ladder({Contact(0, 0, L"a"), HLine(0, 1), HLine(0, 2), counter, Contact(1, 0, L"b"),
                            Contact(1, 1, L"c"), HLine(1, 2)}));

  const LadderGrid moves = LadderOf({L"LD a", L"MOVB IB0,QB0"});
  EXPECT_EQ(moves, Ladder({Contact(0, 0, L"a"), HLine(0, 1), MovBox(0, 2, L"IB0", L"QB0")}));

  const LadderGrid sr = LadderOf({L"LD a", L"LD b", L"SR m", L"= p"});
  EXPECT_EQ(sr, Ladder({Contact(0, 0, L"a"), SrBox(0, 1, L"m"), Coil(0, 2, L"p"), Contact(1, 0, L"b")}));
}

TEST(LayoutLadGrid, FxLibraryElements) {
  static const InstructionLibrary fx = [] {
    InstructionLibrary library;
    ReadManagerFun(library, platform::FromUtf8Lossy(testsupport::FixturePath("catalog/Orvisto/TypeFx/ManagerFun.xml")),
                   1);
    return library;
  }();
  CellGrid grid;
  LayoutLadGrid(fx, Graph(fx, {L"LD X0", L"ANI X1", L"MPS", L"OUT Y0", L"MPP", L"MOV D0,D1"}), grid);
  EXPECT_EQ(Picture(grid), (Rows{L"X0 X1| Y0 .", L". . D0 ."}));
  EXPECT_EQ(grid.At(1, 2).width, 3);  // an FxBlock covers its operands
}

TEST(LayoutLadGrid, Failures) {
  const int language = CurrentLanguage();
  SetCurrentLanguage(kLanguageEnglish);
  InstructionLibrary noRule = TypeA();
  const int conti = FunOrgIndex(noRule, L"CONTI");
  std::erase_if(noRule.UnitToLadRules, [conti](const ConvertRule& rule) { return rule.Left.front().Slot == conti; });
  auto error = [](const InstructionLibrary& library, const std::vector<std::wstring>& texts) -> std::wstring {
    try {
      LadderOf(library, texts);
    } catch (const ExceptionAnalyzeError& e) {
      return e.Message();
    } catch (const ExceptionLogicError&) {
      return L"logic";
    }
    return L"";
  };
  EXPECT_EQ(error(noRule, {L"LDI a", L"= q"}), L"LAD, Convert Element Error");
  // A stored branch point directly under a parallel item.
  EXPECT_EQ(error(TypeA(), {L"LD a", L"LPS", L"= p", L"LPP", L"O c", L"= q"}), L"LAD, Unaccept LRD or LPP");
  // A stored branch point in series with an element, the pair one branch of a parallel item or
  // one input of a box: the logic behind the point would start at another node than the
  // branch beside it (c starts at the rail, not behind a).
  EXPECT_EQ(error(TypeA(), {L"LD a", L"LPS", L"= p", L"LPP", L"A b", L"O c", L"= q"}), L"LAD, Unaccept LRD or LPP");
  EXPECT_EQ(error(TypeA(), {L"LD a", L"LPS", L"= p", L"LPP", L"A b", L"LD c", L"SR m", L"= q"}),
            L"LAD, Unaccept LRD or LPP");
  // A NOT or an edge in a series block behind other logic acts on that block alone; drawn in
  // one chain it would act on all logic before it.
  EXPECT_EQ(error(TypeA(), {L"LD a", L"LD b", L"NOT", L"ALD", L"= q"}), L"LAD, Power Flow Error");
  EXPECT_EQ(error(TypeA(), {L"LD a", L"LD b", L"NOT", L"A c", L"ALD", L"= q"}), L"LAD, Power Flow Error");
  EXPECT_EQ(error(TypeA(), {L"LD a", L"LPS", L"= p", L"LPP", L"LD b", L"EU", L"ALD", L"= q"}),
            L"LAD, Power Flow Error");
  // Where it acts on all logic before it, or on a block of its own, it is drawn.
  EXPECT_EQ(error(TypeA(), {L"LD a", L"A b", L"NOT", L"= q"}), L"");
  EXPECT_EQ(error(TypeA(), {L"LD a", L"LD b", L"NOT", L"O c", L"ALD", L"= q"}), L"");
  EXPECT_EQ(error(TypeA(), {L"LD a", L"LPS", L"= p", L"LPP", L"NOT", L"= q"}), L"");
  SetCurrentLanguage(language);
}

TEST(LayoutLadGrid, UnreachablePinsAndLeftOverLogic) {
  const int cont = FunOrgIndex(TypeA(), L"CONT");
  const int coil = FunOrgIndex(TypeA(), L"COIL");
  auto node = [](int unit, std::wstring operand, std::vector<int> pins) {
    LogicNode n;
    n.definition = unit;
    n.variant = 0;
    n.operands = {std::move(operand)};
    n.pins = std::move(pins);
    return n;
  };
  auto leaf = [](int input, int left, int right) {
    LogicFragment fragment;
    MakeLogicLeaf(fragment.tree, LogicItem{kLogicItemInput, input});
    fragment.ends = {left, right};
    return fragment;
  };
  // The pin's node is exposed by nothing and the logic starts at a node nothing exposes.
  LogicGraph graph;
  graph.inputs.push_back(node(cont, L"a", {5, 6}));
  graph.outputs.push_back(node(coil, L"q", {6}));
  graph.fragments.push_back(leaf(0, 5, 6));
  CellGrid grid;
  EXPECT_THROW(LayoutLadGrid(TypeA(), graph, grid), ExceptionAnalyzeError_Lad_LinkMismatch);
  // No logic left for a pin.
  graph.fragments.clear();
  EXPECT_THROW(LayoutLadGrid(TypeA(), graph, grid), ExceptionAnalyzeError_Lad_LinkMismatch);
  // Logic that no output hangs would vanish from the ladder.
  graph.fragments = {};
  graph.fragments.push_back(leaf(0, 0, 6));
  graph.inputs.push_back(node(cont, L"b", {0, 7}));
  graph.fragments.push_back(leaf(1, 0, 7));
  graph.inputs[0].pins = {0, 6};
  EXPECT_THROW(LayoutLadGrid(TypeA(), graph, grid), ExceptionAnalyzeError_Lad_LinkMismatch);
  // An output without power pin cannot be placed.
  graph.fragments.pop_back();
  graph.inputs.pop_back();
  graph.outputs.push_back(node(coil, L"r", {}));
  EXPECT_THROW(LayoutLadGrid(TypeA(), graph, grid), ExceptionLogicError);
}

TEST(BuildLadNetwork, CellThatDoesNotFitItsDefinitionLeavesTheLadderAlone) {
  CellGrid cells = Layout({L"LD a", L"= p"});
  const LadderGrid before = Ladder({Contact(2, 2, L"x")});
  LadderGrid ladder = before;
  cells.At(0, 1).powerIn = {0, 1};
  EXPECT_THROW(BuildLadNetwork(TypeA(), cells, ladder), ExceptionLogicError);
  EXPECT_EQ(ladder, before);
  cells = Layout({L"LD a", L"= p"});
  cells.At(0, 0).operands.push_back(L"extra");
  EXPECT_THROW(BuildLadNetwork(TypeA(), cells, ladder), ExceptionLogicError);
  EXPECT_EQ(ladder, before);
  cells = Layout({L"LD a", L"= p"});
  cells.At(0, 0).definition = 9999;
  EXPECT_THROW(BuildLadNetwork(TypeA(), cells, ladder), ExceptionLogicError);
  EXPECT_EQ(ladder, before);
}
