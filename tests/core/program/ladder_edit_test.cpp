#include "core/program/ladder_edit.h"

#include <gtest/gtest.h>

#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/program/ladder_metrics.h"
#include "ladder_test_elements.h"
#include "ladder_test_services.h"

using namespace Brenno;
using namespace ladder_test;

namespace {

LadderGrid GridOf(std::vector<LadElement> elements) {
  LadderGrid grid;
  grid.Elements = std::move(elements);
  UpdateLadderExtent(grid);
  return grid;
}

PageViewState CursorAt(int column, int row) {
  PageViewState state;
  state.PageId = 0;
  state.CursorColumn = column;
  state.CursorRow = row;
  return state;
}

int DefIndex(const InstructionLibrary& library, const std::wstring& name) {
  for (std::size_t i = 0; i < library.FunLadList.size(); ++i) {
    if (library.FunLadList[i].Name == name) return static_cast<int>(i);
  }
  return -1;
}

class LadderEdit : public ::testing::Test {
 protected:
  void SetUp() override { SetLadderMetrics(100, false); }
  FakeProgramServices services;
};

}  // namespace

TEST_F(LadderEdit, CutAndPasteAtRelativePositions) {
  LadderGrid grid = GridOf({Contact(2, 1, L"I0.1"), Contact(3, 1, L"I0.2"), Coil(4, 1)});
  PageViewState state = CursorAt(2, 1);
  state.SelectedCells = {{2, 1, true}, {3, 1, true}, {7, 7, true}};
  std::vector<LadElement> clip;
  ASSERT_TRUE(CutLadderElements(clip, grid, state));
  ASSERT_EQ(clip.size(), 2u);
  EXPECT_EQ(clip[0], Contact(0, 0, L"I0.1"));
  EXPECT_EQ(clip[1], Contact(1, 0, L"I0.2"));
  EXPECT_TRUE(state.SelectedCells.empty());
  EXPECT_EQ(grid, GridOf({Coil(4, 1)}));

  state = CursorAt(5, 3);
  ASSERT_TRUE(PasteLadderElements(grid, state, clip));
  EXPECT_EQ(grid, GridOf({Coil(4, 1), Contact(5, 3, L"I0.1"), Contact(6, 3, L"I0.2")}));
  EXPECT_EQ(grid.Columns, 7);
  EXPECT_EQ(grid.Rows, 4);

  // Nothing selected: nothing cut; an empty clipboard pastes nothing.
  EXPECT_FALSE(CutLadderElements(clip, grid, state));
  EXPECT_EQ(clip.size(), 2u);
  const LadderGrid before = grid;
  EXPECT_FALSE(PasteLadderElements(grid, state, {}));
  EXPECT_EQ(grid, before);
}

TEST_F(LadderEdit, CopyFillsTheClipboardButReportsNoChange) {
  LadderGrid grid = GridOf({Contact(1, 0), Coil(2, 0)});
  PageViewState state = CursorAt(1, 0);
  state.SelectedCells = {{2, 0, true}};
  std::vector<LadElement> clip;
  EXPECT_FALSE(CopyLadderElements(clip, grid, state));
  ASSERT_EQ(clip.size(), 1u);
  EXPECT_EQ(clip[0], Coil(1, 0));
  EXPECT_EQ(state.SelectedCells.size(), 1u);
  EXPECT_EQ(grid.Elements.size(), 2u);
}

TEST_F(LadderEdit, PasteReplacesWhatStandsInTheWay) {
  LadderGrid grid = GridOf({Contact(0, 0), Coil(3, 0)});
  ASSERT_TRUE(PasteLadderElements(grid, CursorAt(3, 0), {Contact(0, 0, L"M0.0")}));
  EXPECT_EQ(grid, GridOf({Contact(0, 0), Contact(3, 0, L"M0.0")}));
  // A box with an input operand cannot stand in column 0: refused, grid unchanged.
  const LadderGrid before = grid;
  EXPECT_FALSE(PasteLadderElements(grid, CursorAt(0, 2), {Box(0, 0, 1, 1, 1, 0)}));
  EXPECT_EQ(grid, before);
}

TEST_F(LadderEdit, DragRoundsToTheNearestCell) {
  struct Case {
    int dx, dy;
    bool moved;
    int column, row;
  };
  const Case cases[] = {
      {50, 0, false, 2, 1}, {51, 0, true, 3, 1}, {-51, 0, true, 1, 1}, {-50, 26, false, 2, 1},
      {0, 27, true, 2, 2},  {153, -27, true, 4, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy);
    LadderGrid grid = GridOf({Contact(2, 1)});
    PageViewState state = CursorAt(2, 1);
    state.SelectedCells = {{2, 1, true}};
    state.PressPoint = {300, 100};
    state.MousePoint = {300 + c.dx, 100 + c.dy};
    EXPECT_EQ(MoveLadderElements(grid, state), c.moved);
    EXPECT_EQ(grid.Elements[0].Column, c.column);
    EXPECT_EQ(grid.Elements[0].Row, c.row);
    EXPECT_EQ(state.SelectedCells[0], (SelectedCell{c.column, c.row, true}));
  }
  // A move onto another element is refused and the selection stays.
  LadderGrid grid = GridOf({Contact(2, 1), Coil(3, 1)});
  PageViewState state = CursorAt(2, 1);
  state.SelectedCells = {{2, 1, true}};
  state.MousePoint = {102, 0};
  EXPECT_FALSE(MoveLadderElements(grid, state));
  EXPECT_EQ(state.SelectedCells[0], (SelectedCell{2, 1, true}));
}

TEST_F(LadderEdit, EraseRemovesTheSelectedElements) {
  LadderGrid grid = GridOf({Contact(0, 0), VLink(0, 0), Coil(5, 0)});
  PageViewState state = CursorAt(0, 0);
  state.SelectedCells = {{0, 0, false}, {5, 0, true}, {9, 9, true}};
  ASSERT_TRUE(EraseLadderElements(grid, state));
  EXPECT_EQ(grid, GridOf({Contact(0, 0)}));
  EXPECT_TRUE(state.SelectedCells.empty());
  EXPECT_FALSE(EraseLadderElements(grid, state));
}

TEST_F(LadderEdit, PlacingLinksLinesAndElements) {
  LadderGrid grid;
  PageViewState state = CursorAt(2, 0);
  ASSERT_TRUE(PlaceVerticalLink(state, grid));
  ASSERT_TRUE(PlaceVerticalLink(state, grid));  // replaces the link already there
  EXPECT_EQ(grid, GridOf({VLink(2, 0)}));
  ASSERT_TRUE(PlaceHorizontalLine(state, grid));
  EXPECT_EQ(grid.Elements.size(), 2u);
  // A contact replaces the line in its cell; the link on the edge stays.
  ASSERT_TRUE(PlaceElementByDef(state, grid, DefIndex(services.library, L"LD")));
  ASSERT_EQ(grid.Elements.size(), 2u);
  EXPECT_EQ(grid.Elements[0], VLink(2, 0));
  EXPECT_EQ(grid.Elements[1], Contact(2, 0, L"???"));

  const LadderGrid before = grid;
  EXPECT_FALSE(PlaceElementByDef(state, grid, -1));
  EXPECT_FALSE(PlaceElementByDef(state, grid, static_cast<int>(services.library.FunLadList.size())));
  EXPECT_FALSE(PlaceElementByDef(CursorAt(0, 0), grid, DefIndex(services.library, L"MOV_B")));
  EXPECT_FALSE(PlaceHorizontalLine(CursorAt(-1, 0), grid));
  EXPECT_FALSE(PlaceElementByText(state, L"NOSUCH I0.0", grid));
  EXPECT_EQ(grid, before);

  ASSERT_TRUE(PlaceElementByText(CursorAt(1, 1), L"MOV_B VB0, VB1", grid));
  const LadElement& box = grid.Elements.back();
  EXPECT_EQ(box.Column, 1);
  EXPECT_EQ(box.Row, 1);
  EXPECT_EQ(box.Kind, kLadKindBlock);
  EXPECT_EQ(grid.Columns, 4);
  EXPECT_EQ(grid.Rows, 3);
}

TEST_F(LadderEdit, RowAndColumnEdits) {
  const LadElement twoRowBox = Box(1, 0, 2, 1, 0, 0);  // power pins on rows 0 and 1
  struct Case {
    const char* what;
    std::vector<LadElement> before;
    bool (*edit)(LadderGrid&, const PageViewState&);
    int column, row;
    bool result;
    std::vector<LadElement> after;
  };
  const Case cases[] = {
      {"delete row into a box", {twoRowBox, Contact(1, 2)}, DeleteGridRow, 0, 1, false, {}},
      {"delete row beside a box", {twoRowBox, Contact(2, 2)}, DeleteGridRow, 0, 1, true, {twoRowBox, Contact(2, 1)}},
      {"delete row removes its elements",
       {Contact(0, 0), Contact(0, 1), VLink(3, 1), Coil(4, 2)},
       DeleteGridRow, 0, 1, true, {Contact(0, 0), Coil(4, 1)}},
      {"insert row", {Contact(0, 0), Contact(0, 1), Coil(1, 2)}, InsertGridRow, 0, 1, true,
       {Contact(0, 0), Contact(0, 2), Coil(1, 3)}},
      {"delete column into an fx box", {FxBox(0, 0, 1, 1, 0), Contact(3, 0)}, DeleteGridColumn, 1, 0, false, {}},
      {"delete column", {Contact(0, 0), Contact(1, 0), Coil(2, 0)}, DeleteGridColumn, 1, 0, true,
       {Contact(0, 0), Coil(1, 0)}},
      {"insert column", {Contact(0, 0), Coil(1, 0), Coil(1, 1)}, InsertGridColumn, 1, 0, true,
       {Contact(0, 0), Coil(2, 0), Coil(2, 1)}},
      {"delete column pushes a box that reaches left into column 0", {Box(1, 0, 1, 1, 1, 0)}, DeleteGridColumn, 0, 0, false, {}},
      {"empty grid", {}, InsertGridRow, 0, 0, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LadderGrid grid = GridOf(c.before);
    EXPECT_EQ(c.edit(grid, CursorAt(c.column, c.row)), c.result);
    if (c.result) {
      EXPECT_EQ(grid, GridOf(c.after));
    }
  }
}

TEST_F(LadderEdit, ElementTextRoundTrip) {
  PageViewState state = CursorAt(0, 0);
  LadElement element;
  element.InCell = true;
  element.Kind = kLadKindCont;
  element.Name = L"==B";
  element.Variant = 2;
  element.PowerIn = {{0, L"IN"}};
  element.PowerOut = {{0, L"OUT"}};
  element.OperandIn = {{0, L"IN1", L"A"}, {1, L"IN2", L"B"}};
  element.Comments = {L"C", L"ignored"};
  std::wstring text;
  ASSERT_TRUE(LadElement::ToInstructionText(element, state, text));
  EXPECT_EQ(text, L"LDB=#2  A, B//C");

  LadElement parsed;
  ASSERT_TRUE(ParseLadElementText(L"LDB=#2  A, B//C", parsed, state));
  element.Comments = {L"C"};
  EXPECT_EQ(parsed, element);

  // No unique definition: no text.
  element.OperandIn.pop_back();
  EXPECT_FALSE(LadElement::ToInstructionText(element, state, text));
}

TEST_F(LadderEdit, ParseInstructionText) {
  struct Case {
    const wchar_t* text;
    bool symbolic;
    bool ok;
    int kind;
    const wchar_t* name;
    std::vector<std::wstring> operands;  // OperandId, OperandIn, OperandOut in order
    const wchar_t* comment;
  };
  const Case cases[] = {
      {L"LD", false, true, kLadKindCont, L" ", {L"???"}, nullptr},
      {L"LD I0.3", false, true, kLadKindCont, L" ", {L"I0.3"}, nullptr},
      {L"\t LD,,I0.3 ,", false, true, kLadKindCont, L" ", {L"I0.3"}, nullptr},
      {L"LD Start//on, off", false, true, kLadKindCont, L" ", {L"I0.0"}, L"on, off"},
      {L"LD I0.0", true, true, kLadKindCont, L" ", {L"Start"}, nullptr},
      {L"LD #speed", false, true, kLadKindCont, L" ", {L"LW0"}, nullptr},
      {L"TON T37, 100", false, true, kLadKindBlock, L"TON", {L"T37", L"100"}, nullptr},
      {L"S Q0.0", false, true, kLadKindCoil, L"S", {L"Q0.0", L"???"}, nullptr},
      {L"Pump", false, true, kLadKindBlock, L"SBR_0", {}, nullptr},
      {L"Pump", true, true, kLadKindBlock, L"Pump", {}, nullptr},
      {L"SBR1", true, true, kLadKindBlock, L"SBR_1", {}, nullptr},
      {L"LD I0.0 I0.1", false, false, 0, L"", {}, nullptr},  // an operand too many
      {L"NOT X", false, false, 0, L"", {}, nullptr},
      {L"ld I0.0", false, false, 0, L"", {}, nullptr},
      {L" , \t", false, false, 0, L"", {}, nullptr},
      {L"//only a comment", false, false, 0, L"", {}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.text, c.text + std::wcslen(c.text)));
    PageViewState state = CursorAt(0, 0);
    state.Symbolic = c.symbolic;
    LadElement element = Contact(4, 4, L"untouched");
    const LadElement before = element;
    ASSERT_EQ(ParseLadElementText(c.text, element, state), c.ok);
    if (!c.ok) {
      EXPECT_EQ(element, before);
      continue;
    }
    EXPECT_EQ(element.Column, 0);
    EXPECT_EQ(element.Row, 0);
    EXPECT_TRUE(element.InCell);
    EXPECT_EQ(element.Kind, c.kind);
    EXPECT_EQ(element.Name, c.name);
    std::vector<std::wstring> operands;
    for (const auto* list : {&element.OperandId, &element.OperandIn, &element.OperandOut}) {
      for (std::size_t i = 0; i < list->size(); ++i) {
        EXPECT_EQ((*list)[i].Slot, static_cast<int>(i));
        operands.push_back((*list)[i].Text);
      }
    }
    EXPECT_EQ(operands, c.operands);
    if (c.comment == nullptr) {
      EXPECT_TRUE(element.Comments.empty());
    } else {
      EXPECT_EQ(element.Comments, std::vector<std::wstring>{c.comment});
    }
  }
}

TEST_F(LadderEdit, SubroutineCallTextFollowsThePageName) {
  PageViewState state = CursorAt(0, 0);
  LadElement call;
  ASSERT_TRUE(ParseLadElementText(L"Pump", call, state));
  EXPECT_EQ(call.PowerIn, (std::vector<ElementPin>{{0, L"EN"}}));
  std::wstring text;
  ASSERT_TRUE(LadElement::ToInstructionText(call, state, text));
  EXPECT_EQ(text, L"SBR0  ");
  state.Symbolic = true;
  ASSERT_TRUE(LadElement::ToInstructionText(call, state, text));
  EXPECT_EQ(text, L"Pump  ");
  call.Name = L"Pump";  // as shown on a symbolic page: still finds its definition
  EXPECT_NE(LadElement::FindDefinition(call), nullptr);
}

TEST_F(LadderEdit, OperandEditing) {
  LadderGrid grid = GridOf({Contact(0, 0), Box(1, 1, 1, 1, 1, 1)});
  grid.Elements[1].Name = L"MOV_B";
  grid.Elements[1].OperandIn[0].Name = L"IN";
  PageViewState state = CursorAt(0, 0);
  state.OperandEditor.Column = 0;
  state.OperandEditor.Row = 0;
  state.OperandEditor.InIndex = 0;

  ASSERT_TRUE(ApplyLadderOperandEdit(grid, state, L"Motor"));
  EXPECT_EQ(grid.Elements[0].OperandIn[0].Text, L"Q0.1");
  state.Symbolic = true;
  ASSERT_TRUE(ApplyLadderOperandEdit(grid, state, L"I0.0"));
  EXPECT_EQ(grid.Elements[0].OperandIn[0].Text, L"Start");
  state.Symbolic = false;
  // Text that is neither address nor constant is kept as typed (the painter marks it).
  ASSERT_TRUE(ApplyLadderOperandEdit(grid, state, L"bogus"));
  EXPECT_EQ(grid.Elements[0].OperandIn[0].Text, L"bogus");

  // The box's output operand, through the OperandOut locator.
  state.OperandEditor = {};
  state.OperandEditor.Column = 1;
  state.OperandEditor.Row = 1;
  state.OperandEditor.OutIndex = 0;
  ASSERT_TRUE(ApplyLadderOperandEdit(grid, state, L"Count"));
  EXPECT_EQ(grid.Elements[1].OperandOut[0].Text, L"VW10");

  const LadderGrid before = grid;
  state.OperandEditor.OutIndex = 1;  // beyond the list
  EXPECT_FALSE(ApplyLadderOperandEdit(grid, state, L"VB0"));
  state.OperandEditor.Column = 5;  // no element there
  state.OperandEditor.OutIndex = 0;
  EXPECT_FALSE(ApplyLadderOperandEdit(grid, state, L"VB0"));
  EXPECT_EQ(grid, before);
  state.OperandEditor.Column = 1;
  state.OperandEditor.OutIndex = -1;
  EXPECT_THROW(ApplyLadderOperandEdit(grid, state, L"VB0"), ExceptionLogicError);
}

TEST_F(LadderEdit, ExioAddressOperandTakesOnlyIpv4Addresses) {
  LadElement exio = Box(1, 0, 1, 0, 1, 0);
  exio.Name = L"EXIO";
  exio.OperandIn[0].Text = L"192.168.0.1";
  LadderGrid grid = GridOf({exio});
  PageViewState state = CursorAt(0, 0);
  state.OperandEditor.Column = 1;
  state.OperandEditor.Row = 0;
  state.OperandEditor.InIndex = 0;
  struct Case {
    const wchar_t* typed;
    bool ok;
    const wchar_t* stored;
  };
  const Case cases[] = {
      {L"10.0.0.7", true, L"10.0.0.7"},
      {L" 192.168.1.20 ", true, L"192.168.1.20"},
      {L"255.255.255.255", true, L"255.255.255.255"},
      {L"abc", false, L"255.255.255.255"},
      {L"10.0.0.7 x", false, L"255.255.255.255"},
      {L"", false, L"255.255.255.255"},
      {L"300.1.1.1", false, L"255.255.255.255"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.typed, c.typed + std::wcslen(c.typed)));
    EXPECT_EQ(ApplyLadderOperandEdit(grid, state, c.typed), c.ok);
    EXPECT_EQ(grid.Elements[0].OperandIn[0].Text, c.stored);
  }
}

TEST_F(LadderEdit, ReplaceOperandTextOfASearchHit) {
  LadderGrid grid = GridOf({Contact(0, 0, L"I0.0"), Box(1, 0, 1, 1, 0, 1)});
  ProgramSearchHit hit;
  hit.Kind = kSearchHitLadOperand;
  hit.Column = 0;
  hit.Row = 0;
  hit.InIndex = 0;
  EXPECT_FALSE(ReplaceLadderOperandText(grid, hit, L"I0.", L"M0.0"));
  ASSERT_TRUE(ReplaceLadderOperandText(grid, hit, L"I0.0", L"M0.0"));
  EXPECT_EQ(grid.Elements[0].OperandIn[0].Text, L"M0.0");
  hit.Column = 1;
  hit.InIndex = -1;
  hit.OutIndex = 0;
  ASSERT_TRUE(ReplaceLadderOperandText(grid, hit, L"MW0", L"MW2"));
  EXPECT_EQ(grid.Elements[1].OperandOut[0].Text, L"MW2");
  hit.OutIndex = 3;
  EXPECT_FALSE(ReplaceLadderOperandText(grid, hit, L"MW2", L"MW4"));
}

TEST_F(LadderEdit, SymbolsAndAddressesBackAndForth) {
  LadElement call;
  ASSERT_TRUE(ParseLadElementText(L"SBR0", call, CursorAt(0, 0)));
  call.Column = 3;
  const LadderGrid stored = GridOf({Contact(0, 0, L"I0.0"), Contact(1, 0, L"LW0"), Coil(2, 0, L"&VW10"), call});
  LadderGrid grid = stored;
  ConvertLadderNetworkToSymbols(0, grid);
  EXPECT_EQ(grid.Elements[0].OperandIn[0].Text, L"Start");
  EXPECT_EQ(grid.Elements[1].OperandIn[0].Text, L"#speed");
  EXPECT_EQ(grid.Elements[2].OperandOut[0].Text, L"&Count");
  EXPECT_EQ(grid.Elements[3].Name, L"Pump");
  ConvertLadderNetworkToAddresses(0, grid);
  EXPECT_EQ(grid, stored);
}
