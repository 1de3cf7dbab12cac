#include "core/program/program_page.h"

#include <gtest/gtest.h>

#include "core/env/exception_error.h"
#include "ladder_test_elements.h"
#include "program_test_support.h"

namespace {

using Brenno::Network;
using Brenno::PagePoint;
using Brenno::ProgramPage;

// A stamped page in the given view with `count` networks, network i carrying the comment "i".
ProgramPage MakePage(int count, int view, int kind) {
  ProgramPage page;
  ProgramPage::CreateSized(page, 0);
  std::vector<Network> networks(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    networks[static_cast<size_t>(i)].Kind = kind;
    networks[static_cast<size_t>(i)].Comments = {std::to_wstring(i)};
  }
  page.UndoLog.Networks = networks;
  page.UndoLog.ClearHistory();
  page.ViewState.PageId = 0;
  page.ViewState.ViewMode = view;
  return page;
}

TEST(ProgramPageCreate, NewPageHoldsEightEmptyLadderNetworksAndNothingToUndo) {
  ProgramPage page;
  ProgramPage::Create(page);
  ASSERT_EQ(page.NetworkCount(), 8);
  for (const Network& net : page.Networks()) EXPECT_TRUE(Network::Equals(net, Network()));
  EXPECT_EQ(page.ViewState.PageId, -1);
  EXPECT_EQ(page.ViewState.ViewMode, -1);
  // The page as created is where undoing ends.
  EXPECT_TRUE(page.UndoLog.Steps.empty());
  EXPECT_FALSE(page.Undo());
  EXPECT_FALSE(page.Redo());
  EXPECT_EQ(page.NetworkCount(), 8);
  page.ViewState.ViewMode = 2;
  ASSERT_TRUE(page.SetSelection(3, 4, 0, 0));
  ASSERT_TRUE(page.DeleteNetworks());
  EXPECT_TRUE(page.Undo());
  EXPECT_FALSE(page.Undo());
  EXPECT_EQ(page.NetworkCount(), 8);

  ProgramPage empty;
  ProgramPage::CreateSized(empty, 0);
  EXPECT_EQ(empty.NetworkCount(), 0);
  EXPECT_TRUE(empty.UndoLog.Steps.empty());
}

TEST(ProgramPageSelection, PredicatesFollowTheSelectionStates) {
  ProgramPage page = MakePage(4, 2, Brenno::kNetworkLad);
  // Initial state: first = -1, nothing selected.
  EXPECT_FALSE(page.HasNetworkRange() || page.IsAtCommentLevel() || page.HasCursor());
  EXPECT_TRUE(page.SetSelection(1, 3, 0, 0));
  EXPECT_TRUE(page.HasNetworkRange());
  EXPECT_TRUE(page.SetSelection(2, 2, -1, -1));
  EXPECT_TRUE(page.IsAtCommentLevel());
  EXPECT_TRUE(page.SetSelection(2, 2, 1, 0));
  EXPECT_TRUE(page.HasCursor());
  EXPECT_FALSE(page.SetSelection(3, 2, 0, 0));
  EXPECT_FALSE(page.SetSelection(0, 5, 0, 0));
  // A negative index other than the empty selection names no network.
  EXPECT_FALSE(page.SetSelection(-3, 2, 0, 0));
  EXPECT_TRUE(page.HasCursor());

  page.ClearSelection();
  EXPECT_FALSE(page.HasNetworkRange() || page.IsAtCommentLevel() || page.HasCursor());
  EXPECT_EQ(page.ViewState.CursorColumn, -1);
  EXPECT_EQ(page.ViewState.CursorRow, -1);

  // A selection left beyond the networks (after an undo) counts as none.
  page.SetSelection(3, 3, 0, 0);
  page.UndoLog.Networks.resize(2);
  EXPECT_FALSE(page.HasCursor());
  EXPECT_FALSE(page.IsStlEditorOpen());
}

TEST(ProgramPageNetworks, CutAndUndoRestoreTheSameNetworks) {
  ProgramPage page = MakePage(6, 2, Brenno::kNetworkLad);
  const std::vector<Network> original = page.Networks();
  ASSERT_TRUE(page.SetSelection(2, 5, 0, 0));
  std::vector<Network> cut;
  ASSERT_TRUE(page.CutNetworks(cut));
  EXPECT_EQ(page.NetworkCount(), 3);
  EXPECT_EQ(cut, std::vector<Network>(original.begin() + 2, original.begin() + 5));
  EXPECT_EQ(page.UndoLog.Steps.size(), 1u);
  EXPECT_FALSE(page.HasNetworkRange());
  EXPECT_TRUE(page.Undo());
  EXPECT_EQ(page.Networks(), original);
  EXPECT_TRUE(page.Redo());
  EXPECT_EQ(page.NetworkCount(), 3);
}

TEST(ProgramPageNetworks, PasteInsertAndDelete) {
  ProgramPage page = MakePage(3, 2, Brenno::kNetworkLad);
  const std::vector<Network> two = {Network(), Network()};
  EXPECT_FALSE(page.PasteNetworks(two));  // nothing selected
  page.SetSelection(1, 1, -1, -1);
  EXPECT_FALSE(page.PasteNetworks({}));
  EXPECT_TRUE(page.PasteNetworks(two));
  EXPECT_EQ(page.NetworkCount(), 5);
  EXPECT_EQ(page.ViewState.SelectionFirst, 1);
  EXPECT_EQ(page.ViewState.SelectionLast, 3);
  EXPECT_EQ(page.Networks()[3].Comments, std::vector<std::wstring>{L"1"});

  page.ClearSelection();
  EXPECT_TRUE(page.InsertNetwork());
  EXPECT_EQ(page.Networks()[0].Kind, 2);
  EXPECT_EQ(page.ViewState.SelectionFirst, 0);
  page.ClearSelection();
  EXPECT_TRUE(page.InsertNetworkBelow());
  EXPECT_EQ(page.ViewState.SelectionFirst, 0);
  EXPECT_EQ(page.NetworkCount(), 7);

  page.SelectAllNetworks();
  EXPECT_TRUE(page.DeleteNetworks());
  EXPECT_EQ(page.NetworkCount(), 0);
  EXPECT_FALSE(page.MoveCursorDown());
  EXPECT_FALSE(page.MoveCursorUp());
  EXPECT_FALSE(page.MoveCursorLeft());
  EXPECT_TRUE(page.InsertNetwork());
  EXPECT_EQ(page.NetworkCount(), 1);

  ProgramPage unstamped = MakePage(1, -1, 2);
  EXPECT_THROW(unstamped.InsertNetwork(), Brenno::ExceptionLogicError);
}

TEST(ProgramPageNetworks, OneNetworkEditsRecordOnlyChanges) {
  ProgramPage page = MakePage(2, 2, Brenno::kNetworkLad);
  // Click into the comment box of network 1: header strip 17 + network 0 (17 + 17 + body).
  const int network1 = 17 + page.NetworksHeight(0, 1);
  page.OpenCommentEditorAt(PagePoint{40, network1 + 20});
  ASSERT_TRUE(page.IsCommentEditorOpen());
  EXPECT_EQ(page.ViewState.SelectionFirst, 1);
  EXPECT_EQ(page.ViewState.CommentEditor.Lines, std::vector<std::wstring>{L"1"});
  EXPECT_FALSE(page.ApplyCommentEdit({L"1"}));
  EXPECT_TRUE(page.UndoLog.Steps.empty());
  EXPECT_TRUE(page.ApplyCommentEdit({L"new", L"two"}));
  EXPECT_EQ(page.Networks()[1].Comments, (std::vector<std::wstring>{L"new", L"two"}));
  EXPECT_EQ(page.UndoLog.Steps.size(), 1u);
  EXPECT_TRUE(page.Undo());
  EXPECT_EQ(page.Networks()[1].Comments, std::vector<std::wstring>{L"1"});
  page.CloseCommentEditor();
  EXPECT_FALSE(page.ApplyCommentEdit({L"x"}));
}

TEST(ProgramPageLadder, LadderCommandsNeedTheLadderViewACursorAndALadderNetwork) {
  ProgramPage stl = MakePage(2, 1, Brenno::kNetworkStl);
  stl.SetSelection(0, 0, 0, 0);
  EXPECT_FALSE(stl.InsertHorizontalLine());
  EXPECT_FALSE(stl.CanInsertElementByText(L""));

  ProgramPage mixed = MakePage(2, 2, Brenno::kNetworkStl);
  mixed.SetSelection(0, 0, 0, 0);
  EXPECT_FALSE(mixed.InsertHorizontalLine());

  ProgramPage lad = MakePage(2, 2, Brenno::kNetworkLad);
  EXPECT_FALSE(lad.InsertHorizontalLine());
  lad.SetSelection(0, 0, 1, 0);
  EXPECT_TRUE(lad.CanInsertElementByText(L""));
  std::vector<Brenno::LadElement> copied;
  EXPECT_FALSE(lad.CopyLadderCells(copied));
  EXPECT_TRUE(lad.UndoLog.Steps.empty());
}

class ProgramPageStl : public programtest::ProjectFixture {};

TEST_F(ProgramPageStl, StatementListEditorParsesOneUndoStep) {
  ProgramPage page = MakePage(2, 1, Brenno::kNetworkStl);
  const int network0Body = 17 + 17 + 17;  // page header, network header, comment box
  page.OpenStlEditorAt(PagePoint{40, network0Body + 3});
  ASSERT_TRUE(page.IsStlEditorOpen());
  EXPECT_EQ(page.ViewState.SelectionFirst, 0);
  EXPECT_TRUE(page.ApplyStlEdit({L"LD I0.0", L"= Q0.0", L"BOGUS 1"}));
  ASSERT_EQ(page.Networks()[0].Lines.size(), 3u);
  EXPECT_EQ(page.Networks()[0].Lines[1].Mnemonic, L"=");
  EXPECT_EQ(page.Networks()[0].Lines[2].Operands, std::vector<std::wstring>{L"1"});
  EXPECT_EQ(page.UndoLog.Steps.size(), 1u);
  EXPECT_FALSE(page.ApplyStlEdit({L"LD  I0.0", L"=  Q0.0", L"BOGUS  1"}));
  EXPECT_EQ(page.UndoLog.Steps.size(), 1u);
}

TEST_F(ProgramPageStl, TextClipboardInBothViews) {
  ProgramPage page = MakePage(3, 1, Brenno::kNetworkStl);
  page.UndoLog.Networks[1].Lines = {Brenno::StlLine{L"LD", 0, {L"I0.0"}, {}}};
  page.SetSelection(1, 2, 0, 0);
  std::wstring text;
  page.CopyNetworksAsText(text, L"\r\n");
  EXPECT_EQ(text, L"NETWORK\r\n//1\r\nLD  I0.0\r\n");

  ProgramPage lad = MakePage(2, 2, Brenno::kNetworkLad);
  lad.SetSelection(0, 2, 0, 0);
  lad.CopyNetworksAsText(text, L"\r\n");
  EXPECT_EQ(text, L"NETWORK\r\n//0\r\nNETWORK\r\n//1\r\n");
  // Pasted back, the networks are statement-list networks: "INVALID" in the ladder view.
  lad.SetSelection(0, 0, -1, -1);
  EXPECT_TRUE(lad.PasteNetworksFromText(text, L"\r\n"));
  EXPECT_EQ(lad.NetworkCount(), 4);
  EXPECT_EQ(lad.Networks()[0].Kind, Brenno::kNetworkStl);
  lad.ViewState.CurrentNetwork = 0;
  EXPECT_EQ(Network::BodyWidth(lad.Networks()[0], lad.ViewState), 748);

  std::wstring load = L"LD I0.0\r\nNETWORK\r\nNOT";
  page.LoadFromText(L"\r\n", load);
  EXPECT_EQ(page.NetworkCount(), 2);
  EXPECT_TRUE(page.UndoLog.Steps.empty());
  EXPECT_EQ(load, L"NETWORK\r\nLD  I0.0\r\nNETWORK\r\nNOT\r\n");
}

TEST_F(ProgramPageStl, StatementListTypedAsACommentGoesIntoTheProgram) {
  ProgramPage page = MakePage(2, 1, Brenno::kNetworkStl);
  page.OpenCommentEditorAt(PagePoint{40, 17 + 17 + 3});
  ASSERT_TRUE(page.IsCommentEditorOpen());
  EXPECT_TRUE(page.ApplyCommentAsProgram({L"LD I0.0", L"= Q0.0"}));
  ASSERT_EQ(page.Networks()[0].Lines.size(), 2u);
  EXPECT_EQ(page.Networks()[0].Lines[1].Mnemonic, L"=");
  EXPECT_EQ(page.Networks()[0].Comments, std::vector<std::wstring>{L"0"});  // the comment stays
  EXPECT_EQ(page.UndoLog.Steps.size(), 1u);
  // Only from an open comment editor.
  page.CloseCommentEditor();
  EXPECT_FALSE(page.ApplyCommentAsProgram({L"LD I0.1"}));
}

TEST(ProgramPageLadder, PlacementsSayWhatTheyRemoveBesideTheirOwnCells) {
  using ladder_test::Box;
  using ladder_test::Contact;
  ProgramPage page = MakePage(1, 2, Brenno::kNetworkLad);
  // A box at column 2 whose two input operands are written in column 1, row 1; a contact at (4, 0).
  Brenno::LadderGrid& grid = page.UndoLog.Networks[0].Grid;
  grid.Elements = {Box(2, 0, 1, 1, 2, 1), Contact(4, 0)};
  Brenno::UpdateLadderExtent(grid);
  const std::vector<Network> before = page.Networks();

  page.SetSelection(0, 0, 1, 1);
  const std::vector<Brenno::LadElement> removed = page.ElementsRemovedByLine(false);
  ASSERT_EQ(removed.size(), 1u);
  EXPECT_EQ(removed[0].Name, L"BOX");
  EXPECT_EQ(page.Networks(), before);  // asking changes nothing
  // A line over the contact only overwrites it in its own cell; a free cell removes nothing.
  page.SetSelection(0, 0, 4, 0);
  EXPECT_TRUE(page.ElementsRemovedByLine(false).empty());
  page.SetSelection(0, 0, 6, 3);
  EXPECT_TRUE(page.ElementsRemovedByLine(true).empty());
  // Pasted elements ask the same way.
  page.SetSelection(0, 0, 0, 1);
  EXPECT_EQ(page.ElementsRemovedByPaste({Contact(0, 0), Contact(1, 0)}).size(), 1u);

  // The element in the cursor cell becomes the selection.
  page.SetSelection(0, 0, 4, 0);
  page.SelectCursorElement();
  EXPECT_EQ(page.ViewState.SelectedCells, (std::vector<Brenno::SelectedCell>{{4, 0, true}}));
}

TEST(ProgramPageLadder, ThePlacedElementsCursorGoesOnAlongTheRung) {
  using namespace ladder_test;
  Brenno::LadElement enoBox = Box(4, 2, 2, 2, 1, 1);
  enoBox.PowerOut[0].Slot = 1;  // its power output on the box's second row
  Brenno::LadElement fxContact = Contact(0, 0);
  fxContact.Kind = Brenno::kLadKindFxCont;
  Brenno::LadElement fxBox = FxBox(6, 0, 0, 1, 1);
  fxBox.PowerOut = {{0, L"OUT"}};
  struct Case {
    Brenno::LadElement element;
    bool moves;
    int column;
    int row;
  } cases[] = {
      {Contact(2, 1), true, 3, 1},
      {fxContact, true, 1, 0},
      {HLine(5, 0), false, 5, 0},         // a line has no power pins of its own
      {Coil(3, 0), false, 3, 0},          // a coil ends the rung
      {Box(1, 0, 1, 0, 1, 1), false, 1, 0},  // so does a box without power output (MOV_B)
      {enoBox, true, 5, 3},
      {fxBox, true, 9, 0},                 // past the name and both operand cells
  };
  for (const Case& c : cases) {
    ProgramPage page = MakePage(1, 2, Brenno::kNetworkLad);
    Brenno::LadderGrid& grid = page.UndoLog.Networks[0].Grid;
    grid.Elements = {c.element};
    Brenno::UpdateLadderExtent(grid);
    ASSERT_TRUE(page.SetSelection(0, 0, c.element.Column, c.element.Row));
    // An operand edited before in the same cell (of another network, or of the element this one
    // replaced) is forgotten: Enter starts on the new element.
    page.ViewState.OperandEditor.Column = c.element.Column;
    page.ViewState.OperandEditor.Row = c.element.Row;
    page.ViewState.OperandEditor.InIndex = 0;
    page.SelectCursorElement();
    EXPECT_EQ(page.ViewState.OperandEditor.InIndex, -1);
    EXPECT_EQ(page.ViewState.OperandEditor.Column, -1);
    const std::vector<Brenno::SelectedCell> selected = page.ViewState.SelectedCells;
    EXPECT_EQ(page.MoveCursorAlongRung(), c.moves) << c.element.Kind << " " << c.element.Name;
    EXPECT_EQ(page.ViewState.CursorColumn, c.column) << c.element.Kind;
    EXPECT_EQ(page.ViewState.CursorRow, c.row) << c.element.Kind;
    EXPECT_EQ(page.ViewState.SelectedCells, selected);  // Enter still opens the placed element's operands
  }
  // An empty cell: nothing moves.
  ProgramPage page = MakePage(1, 2, Brenno::kNetworkLad);
  ASSERT_TRUE(page.SetSelection(0, 0, 2, 0));
  EXPECT_FALSE(page.MoveCursorAlongRung());
  EXPECT_EQ(page.ViewState.CursorColumn, 2);
}

TEST(ProgramPageMouse, ClicksSelectByArea) {
  ProgramPage page = MakePage(6, 1, Brenno::kNetworkStl);
  const int height = page.NetworksHeight(0, 1);  // 17 + 17 + 17 per empty network
  ASSERT_EQ(height, 51);
  const auto click = [&page](int x, int y) {
    page.OnMouseDown(PagePoint{x, y});
    page.SelectAt(PagePoint{x, y});
  };
  click(100, 17 + 5);  // header of network 0
  EXPECT_TRUE(page.HasNetworkRange());
  EXPECT_EQ(page.ViewState.SelectionLast, 1);
  click(100, 5);  // page header strip
  EXPECT_EQ(page.ViewState.SelectionFirst, -1);
  click(100, 17 + 20);  // comment box
  EXPECT_EQ(page.ViewState.SelectionFirst, -1);
  click(100, 17 + 2 * height + 40);  // body of network 2
  EXPECT_TRUE(page.HasCursor());
  EXPECT_EQ(page.ViewState.SelectionFirst, 2);
  click(20, 17 + 3 * height + 5);  // left margin of network 3, right half: a range
  EXPECT_EQ(page.ViewState.SelectionFirst, 3);
  EXPECT_EQ(page.ViewState.SelectionLast, 4);

  // Extending the range 1..3 by a click into the body of network 5, then onto header 0.
  page.SetSelection(1, 3, 0, 0);
  page.OnMouseDown(PagePoint{100, 17 + 5 * height + 40});
  page.ExtendSelectionTo(PagePoint{100, 17 + 5 * height + 40});
  EXPECT_EQ(page.ViewState.SelectionFirst, 1);
  EXPECT_EQ(page.ViewState.SelectionLast, 6);
  page.SetSelection(1, 3, 0, 0);
  page.OnMouseDown(PagePoint{100, 17 + 5});
  page.ExtendSelectionTo(PagePoint{100, 17 + 5});
  EXPECT_EQ(page.ViewState.SelectionFirst, 0);
  EXPECT_EQ(page.ViewState.SelectionLast, 3);
}

TEST(ProgramPageKeys, UpAndDownWalkCommentsAndLines) {
  ProgramPage page = MakePage(2, 1, Brenno::kNetworkStl);
  page.UndoLog.Networks[0].Lines.resize(3);
  // Nothing selected: the first key only collapses to comment level on network 0.
  EXPECT_TRUE(page.MoveCursorDown());
  EXPECT_TRUE(page.IsAtCommentLevel());
  EXPECT_FALSE(page.MoveCursorUp());  // comment level on network 0
  EXPECT_TRUE(page.MoveCursorDown());  // into the statement list of network 0
  EXPECT_TRUE(page.HasCursor());
  EXPECT_TRUE(page.IsStlEditorOpen());
  EXPECT_EQ(page.ViewState.CursorRow, 0);
  EXPECT_TRUE(page.MoveCursorDown());  // statement-list view: on to the next comment
  EXPECT_TRUE(page.IsCommentEditorOpen());
  EXPECT_EQ(page.ViewState.SelectionFirst, 1);
  EXPECT_TRUE(page.MoveCursorUp());  // back to the last line of network 0
  EXPECT_EQ(page.ViewState.SelectionFirst, 0);
  EXPECT_EQ(page.ViewState.CursorRow, 2);
  EXPECT_FALSE(page.MoveCursorLeft());
}

}  // namespace
