#include "core/program/ladder_geometry.h"

#include <gtest/gtest.h>

#include "core/env/exception_error.h"
#include "core/program/ladder_metrics.h"
#include "ladder_test_elements.h"
#include "ladder_test_services.h"

using namespace Brenno;
using namespace ladder_test;

namespace {

// A page whose cell cursor stands in network 0, the network being measured.
PageViewState CursorInNetwork(int column, int row) {
  PageViewState state;
  state.PageId = 0;
  state.CurrentNetwork = 0;
  state.SelectionFirst = 0;
  state.SelectionLast = 0;
  state.CursorColumn = column;
  state.CursorRow = row;
  return state;
}

LadderGrid GridOf(std::vector<LadElement> elements) {
  LadderGrid grid;
  grid.Elements = std::move(elements);
  UpdateLadderExtent(grid);
  return grid;
}

LadElement TwoOperandCoil(int column, int row) {
  LadElement coil = Coil(column, row, L"Q0.0");
  coil.Name = L"S";
  coil.OperandOut.push_back({1, L"N", L"3"});
  return coil;
}

}  // namespace

TEST(LadderGeometry, ContactAndLinkAtZoom100) {
  SetLadderMetrics(100, false);
  const LadElement contact = TwoOperandCoil(0, 0);
  EXPECT_EQ(ElementHitRects(Contact(0, 0)), std::vector<Rect>{(Rect{8, 3, 94, 52})});
  EXPECT_EQ(ElementSymbolRect(Contact(0, 0), 0, 0), (Rect{40, 20, 62, 35}));
  EXPECT_EQ(ElementNameRect(Contact(0, 0), 0, 0), (Rect{39, 21, 63, 33}));
  EXPECT_EQ(OperandOutTextRect(contact, 0, 0, 0), (Rect{1, 2, 101, 16}));
  EXPECT_EQ(OperandOutTextRect(contact, 0, 0, 1), (Rect{1, 38, 101, 52}));
  EXPECT_EQ(OperandOutTextRect(contact, 0, 0, 2), Rect{});
  EXPECT_EQ(OperandInTextRect(Contact(0, 0), 0, 0, 0), (Rect{1, 2, 101, 16}));
  EXPECT_EQ(OperandIdTextRect(contact, 0, 0, 0), Rect{});
  EXPECT_EQ(ElementBoxRect(contact, 0, 0), Rect{});
  EXPECT_EQ(ElementHitRects(VLink(0, 0)), std::vector<Rect>{(Rect{98, 29, 106, 79})});
  EXPECT_EQ(ElementSymbolRect(VLink(0, 0), 0, 0), Rect{});
  EXPECT_EQ(ElementNameRect(HLine(0, 0), 0, 0), Rect{});
}

TEST(LadderGeometry, BoxPartsAtZoom100) {
  SetLadderMetrics(100, false);
  // One power pin each side, one input and one output operand, at origin (102, 0).
  const LadElement box = Box(1, 0, 1, 1, 1, 1);
  const int x = 102;
  struct Case {
    const char* what;
    Rect actual, expected;
  };
  const Case cases[] = {
      {"box", ElementBoxRect(box, x, 0), {110, 3, 196, 70}},
      {"name", ElementNameRect(box, x, 0), {119, 3, 187, 17}},
      {"power in label", PowerInLabelRect(box, x, 0, 0), {112, 20, 135, 34}},
      {"power out label", PowerOutLabelRect(box, x, 0, 0), {171, 20, 194, 34}},
      {"input text", OperandInTextRect(box, x, 0, 0), {1, 56, 101, 70}},
      {"output text", OperandOutTextRect(box, x, 0, 0), {205, 56, 305, 70}},
      {"input label", OperandInLabelRect(box, x, 0, 0), {112, 56, 152, 70}},
      {"output label", OperandOutLabelRect(box, x, 0, 0), {154, 56, 194, 70}},
      {"pin beyond list", PowerInLabelRect(box, x, 0, 1), {}},
      {"hit", ElementHitRects(box)[0], {6, 1, 96, 72}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.actual, c.expected);
  }
  // An identifying operand stands above the box and pushes name and box down by a text row.
  const LadElement timer = Box(1, 0, 1, 0, 1, 0, 1);
  EXPECT_EQ(OperandIdTextRect(timer, x, 0, 0), (Rect{103, 0, 203, 14}));
  EXPECT_EQ(ElementNameRect(timer, x, 0), (Rect{119, 17, 187, 31}));
  EXPECT_EQ(ElementBoxRect(timer, x, 0).top, 17);
}

TEST(LadderGeometry, FxShapesAtOtherZooms) {
  SetLadderMetrics(50, true);  // W 40, H 22, fw 24, fh 9, text rows 7
  const LadElement fx = FxBox(0, 0, 1, 1, 0);
  EXPECT_EQ(ElementBoxRect(fx, 0, 0), (Rect{8, 7, 112, 16}));
  EXPECT_EQ(OperandIdTextRect(fx, 0, 0, 0), (Rect{48, 8, 72, 14}));
  EXPECT_EQ(OperandInTextRect(fx, 0, 0, 0), (Rect{88, 8, 112, 14}));
  EXPECT_EQ(ElementHitRects(fx), std::vector<Rect>{(Rect{6, 5, 114, 18})});

  SetLadderMetrics(100, true);  // W 81, H 45, cw 12, ch 14
  LadElement fxContact = Contact(0, 0);
  fxContact.Kind = kLadKindFxCont;
  EXPECT_EQ(ElementNameRect(fxContact, 0, 0), (Rect{29, 16, 51, 28}));
  EXPECT_EQ(ElementHitRects(fxContact), std::vector<Rect>{(Rect{8, 3, 73, 43})});
  SetLadderMetrics(100, false);
}

TEST(LadderGeometry, CorruptElementsThrow) {
  LadElement bad = Contact(0, 0);
  bad.Kind = 8;
  EXPECT_THROW(ElementHitRects(bad), ExceptionLogicError);
  EXPECT_THROW(OperandInTextRect(bad, 0, 0, 0), ExceptionLogicError);
  LadElement link = Contact(0, 0);
  link.InCell = false;
  EXPECT_THROW(ElementHitRects(link), ExceptionLogicError);
  EXPECT_THROW(VerticalLinkHitRect(link), ExceptionLogicError);
}

TEST(LadderGeometry, BodyAndCursor) {
  SetLadderMetrics(100, false);
  const LadderGrid empty;
  PageViewState away;  // no cursor in this network
  away.CurrentNetwork = 1;
  away.SelectionFirst = away.SelectionLast = 0;
  away.CursorColumn = 10;
  EXPECT_EQ(LadderBodyWidth(away, empty), 748);
  EXPECT_EQ(LadderBodyHeight(away, empty), 72);
  EXPECT_EQ(LadderBodyRowCount(away, empty), 2);
  Rect cursor{1, 2, 3, 4};
  LadderCursorRect(away, empty, 0, 0, cursor);
  EXPECT_EQ(cursor, (Rect{1, 2, 3, 4}));

  PageViewState here = CursorInNetwork(10, 0);
  EXPECT_EQ(LadderBodyWidth(here, empty), 1054);
  EXPECT_EQ(LadderBodyRect(here, empty, 5, 7), (Rect{5, 7, 1059, 79}));
  LadderCursorRect(here, empty, 5, 7, cursor);
  EXPECT_EQ(cursor, (Rect{1025, 7, 1059, 61}));

  here.CursorColumn = 3;
  here.CursorRow = 1;  // the cut last row
  LadderCursorRect(here, empty, 0, 0, cursor);
  EXPECT_EQ(cursor, (Rect{306, 54, 408, 72}));

  const LadderGrid tall = GridOf({Box(1, 0, 1, 1, 3, 0)});  // rows 2, columns 3
  EXPECT_EQ(LadderBodyRowCount(here, tall), 3);
  EXPECT_EQ(LadderBodyHeight(here, tall), 3 * 54 - 36);
}

TEST(LadderGeometry, ClickAndRubberBandSelection) {
  SetLadderMetrics(100, false);
  const LadderGrid grid = GridOf({Contact(0, 0), Contact(1, 0), VLink(1, 0), Coil(3, 1)});
  PageViewState state = CursorInNetwork(0, 0);
  state.SelectedCells = {{9, 9, true}};

  // A click between two contacts selects nothing but moves the cursor.
  SelectLadderElementsInRect(state, grid, {105, 20, 105, 20});
  EXPECT_TRUE(state.SelectedCells.empty());
  EXPECT_EQ(state.CursorColumn, 1);
  EXPECT_EQ(state.CursorRow, 0);

  // A click on the link.
  SelectLadderElementsInRect(state, grid, {204, 60, 204, 60});
  EXPECT_EQ(state.SelectedCells, (std::vector<SelectedCell>{{1, 0, false}}));
  EXPECT_EQ(state.CursorColumn, 2);
  EXPECT_EQ(state.CursorRow, 1);

  // A band dragged up and left from below the coil catches the second contact, the link and
  // the coil; the cursor follows the band's first corner.
  SelectLadderElementsInRect(state, grid, {400, 100, 150, 40});
  EXPECT_EQ(state.SelectedCells, (std::vector<SelectedCell>{{1, 0, true}, {1, 0, false}, {3, 1, true}}));
  EXPECT_EQ(state.CursorColumn, 3);
  EXPECT_EQ(state.CursorRow, 1);

  SelectLadderElementsInRect(state, grid, {-5, -5, 10, 10});
  EXPECT_EQ(state.CursorColumn, 0);
  EXPECT_EQ(state.SelectedCells, (std::vector<SelectedCell>{{0, 0, true}}));

  std::vector<Rect> frames{{1, 1, 1, 1}};
  state.CursorColumn = 0;
  state.SelectedCells = {{3, 1, true}, {5, 5, true}};
  CollectSelectionFrames(grid, frames, 10, 20, state);
  EXPECT_EQ(frames, std::vector<Rect>{(Rect{10 + 306 + 8, 20 + 54 + 3, 10 + 306 + 94, 20 + 54 + 52})});
  state.CurrentNetwork = 3;
  CollectSelectionFrames(grid, frames, 10, 20, state);
  EXPECT_TRUE(frames.empty());
}

TEST(LadderGeometry, OperandEditorOpensOnOperandTexts) {
  SetLadderMetrics(100, false);
  FakeProgramServices services;
  LadElement move = Box(1, 1, 1, 0, 1, 1);  // the fixture's MOV_B box
  move.Name = L"MOV_B";
  const LadderGrid grid = GridOf({TwoOperandCoil(0, 0), move});
  PageViewState state = CursorInNetwork(0, 0);

  BeginOperandEditAt(state, grid, {50, 45});  // the coil's second operand text
  ASSERT_TRUE(state.OperandEditor.Open);
  EXPECT_EQ(state.OperandEditor.Column, 0);
  EXPECT_EQ(state.OperandEditor.Row, 0);
  EXPECT_EQ(state.OperandEditor.IdIndex, -1);
  EXPECT_EQ(state.OperandEditor.InIndex, -1);
  EXPECT_EQ(state.OperandEditor.OutIndex, 1);
  EXPECT_EQ(state.OperandEditor.Area, (Rect{1, 38, 101, 52}));
  EXPECT_EQ(state.OperandEditor.Point, (PagePoint{50, 45}));
  EXPECT_EQ(state.OperandEditor.Text, L"3");
  EXPECT_FALSE(state.OperandEditor.Hint.empty());  // the "S" coil's N operand

  // The box's output text stands in the cell right of the box: (205 .. 305, 110 .. 124).
  BeginOperandEditAt(state, grid, {205, 110});
  ASSERT_TRUE(state.OperandEditor.Open);
  EXPECT_EQ(state.OperandEditor.OutIndex, 0);
  EXPECT_EQ(state.OperandEditor.Text, L"MW0");
  EXPECT_NE(state.OperandEditor.Hint.find(L"\r\n"), std::wstring::npos) << "one range per line";

  // Between the two operand texts of the coil: nothing opens.
  BeginOperandEditAt(state, grid, {50, 27});
  EXPECT_FALSE(state.OperandEditor.Open);

  // A box whose definition has gone from the library: text but no hint.
  LadElement orphan = move;
  orphan.Name = L"GONE";
  BeginOperandEditAt(state, GridOf({orphan}), {205, 110});
  ASSERT_TRUE(state.OperandEditor.Open);
  EXPECT_EQ(state.OperandEditor.Text, L"MW0");
  EXPECT_TRUE(state.OperandEditor.Hint.empty());
}

TEST(LadderGeometry, AdvanceOperandEditWalksTheSelection) {
  SetLadderMetrics(100, false);
  FakeProgramServices services;
  const LadderGrid grid = GridOf({TwoOperandCoil(0, 0), HLine(1, 0), Box(2, 0, 1, 0, 1, 1)});
  PageViewState state = CursorInNetwork(0, 0);

  // A single coil: from its second operand back to its first.
  state.SelectedCells = {{0, 0, true}};
  state.OperandEditor.Column = 0;
  state.OperandEditor.Row = 0;
  state.OperandEditor.OutIndex = 1;
  AdvanceOperandEdit(state, grid);
  ASSERT_TRUE(state.OperandEditor.Open);
  EXPECT_EQ(state.OperandEditor.OutIndex, 0);
  EXPECT_EQ(state.OperandEditor.Point, (PagePoint{1, 2}));

  // Coil, line and box selected: second coil operand, then the box's input, then its output,
  // then round to the coil.
  state.SelectedCells = {{0, 0, true}, {1, 0, true}, {2, 0, true}};
  AdvanceOperandEdit(state, grid);
  EXPECT_EQ(state.OperandEditor.OutIndex, 1);
  AdvanceOperandEdit(state, grid);
  EXPECT_EQ(state.OperandEditor.Column, 2);
  EXPECT_EQ(state.OperandEditor.InIndex, 0);
  EXPECT_EQ(state.OperandEditor.OutIndex, -1);
  EXPECT_EQ(state.OperandEditor.Text, L"VW0");
  AdvanceOperandEdit(state, grid);
  EXPECT_EQ(state.OperandEditor.OutIndex, 0);
  EXPECT_EQ(state.OperandEditor.InIndex, -1);
  AdvanceOperandEdit(state, grid);
  EXPECT_EQ(state.OperandEditor.Column, 0);
  EXPECT_EQ(state.OperandEditor.InIndex, -1);
  EXPECT_EQ(state.OperandEditor.OutIndex, 0);

  // Nothing with operands selected, or nothing selected: the editor closes.
  state.SelectedCells = {{1, 0, true}};
  AdvanceOperandEdit(state, grid);
  EXPECT_FALSE(state.OperandEditor.Open);
  state.OperandEditor.Open = true;
  state.SelectedCells.clear();
  AdvanceOperandEdit(state, grid);
  EXPECT_FALSE(state.OperandEditor.Open);
}

TEST(LadderGeometry, OperandsAreWalkedInTheOrderOfTheInstructionFromTheFirstNotWritten) {
  SetLadderMetrics(100, false);
  FakeProgramServices services;
  // A set coil as the library deals it: the bit an output at place 0, the count an input at place
  // 1; a box with its IN written and its OUT not yet.
  LadElement set = Coil(0, 0, L"???");
  set.Name = L"S";
  set.OperandIn = {{1, L"N", L"???"}};
  LadElement box = Box(2, 0, 1, 0, 1, 1);
  box.OperandOut[0].Text = L"???";
  const LadderGrid grid = GridOf({set, HLine(1, 0), box});
  PageViewState state = CursorInNetwork(0, 0);
  // No operand being edited (the place of an operand edited elsewhere is forgotten): the first one
  // not written yet.
  state.OperandEditor.Column = state.OperandEditor.Row = -1;
  state.SelectedCells = {{0, 0, true}};
  AdvanceOperandEdit(state, grid);
  ASSERT_TRUE(state.OperandEditor.Open);
  EXPECT_EQ(state.OperandEditor.OutIndex, 0) << "the bit comes before the count";
  state.OperandEditor.Column = state.OperandEditor.Row = -1;
  state.OperandEditor.OutIndex = -1;
  state.SelectedCells = {{2, 0, true}};
  AdvanceOperandEdit(state, grid);
  ASSERT_TRUE(state.OperandEditor.Open);
  EXPECT_EQ(state.OperandEditor.OutIndex, 0) << "IN is written already";
  EXPECT_EQ(state.OperandEditor.Column, 2);

  // From the operand just written to the next not written of the same element, round to those
  // before it; none left: closed, on the same place.
  struct Step {
    LadElement element;
    int idIndex, inIndex, outIndex;  // the operand just written
    bool opens;
    int nextIn, nextOut;
  } steps[] = {
      {set, -1, -1, 0, true, 0, -1},  // bit written: the count
      {set, -1, 0, -1, true, -1, 0},  // count written, bit not: round to the bit
      {box, -1, 0, -1, true, -1, 0},  // IN written: OUT
      {Box(2, 0, 1, 0, 1, 1), -1, 0, -1, false, 0, -1},  // all written
  };
  for (const Step& step : steps) {
    const LadderGrid one = GridOf({step.element});
    PageViewState s = CursorInNetwork(step.element.Column, 0);
    s.OperandEditor.Column = step.element.Column;
    s.OperandEditor.Row = 0;
    s.OperandEditor.IdIndex = step.idIndex;
    s.OperandEditor.InIndex = step.inIndex;
    s.OperandEditor.OutIndex = step.outIndex;
    s.OperandEditor.Open = true;
    OpenNextEmptyOperand(s, one);
    EXPECT_EQ(s.OperandEditor.Open, step.opens);
    EXPECT_EQ(s.OperandEditor.InIndex, step.nextIn);
    EXPECT_EQ(s.OperandEditor.OutIndex, step.nextOut);
    if (step.opens) {
      EXPECT_EQ(s.OperandEditor.Text, L"???");
    }
  }
}
