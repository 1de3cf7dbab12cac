// The table control driven by mouse and keys on a small derived grid: focus, selection, editing
// with the edit box and the choice list, and the drawing of cells by their states.
#include "ui/widgets/extend_list_ctrl.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QScrollBar>

#include <map>
#include <tuple>

#include "core/link/comm_state.h"
#include "tests/ui/shell/scripted_message_facade.h"
#include "tests/ui/widgets/widget_test_events.h"
#include "ui/widgets/table_view_ctrl.h"

namespace Brenno {
namespace {

using namespace testing_widgets;

using Key4 = std::tuple<int, int, int, int>;

// 2 groups x 3 columns (0: text edit, 1: choice list, 2: read-only), 2 lines per record.
class TestGrid : public CTableViewCtrl {
 public:
  int records = 6;
  int commState = CommOffline;
  std::map<Key4, std::wstring> texts;
  std::map<Key4, int> choices;
  std::vector<Key4> stored;
  bool refuse = false;
  // A text the grid refuses with a reason, keeping the editor open when refuseKeeps.
  std::wstring refusedText;
  bool refuseKeeps = true;
  std::wstring buffer;

  int CommStateNow() const override { return commState; }
  int GetRecordCount() override { return records; }
  int GetGroupCount() override { return 2; }
  int GetLinesPerRecord() override { return 2; }
  int GetColumnsPerGroup() override { return 3; }
  int GetRowHeaderFormat(ListCellInfo& info) override {
    info.Clear();
    info.width = 30;
    return 0;
  }
  void GetColumnFormat(int, int column, ListCellInfo& info) override {
    info.Clear();
    info.width = column == 1 ? 100 : 60;
  }
  void GetCellContent(int r, int g, int l, int c, ListCellInfo& info) override {
    info.Clear();
    info.format = 0x8824;
    buffer = c == 1 ? (choices.count({r, g, l, c}) ? L"choice" : L"") : texts[{r, g, l, c}];
    info.SetText(buffer);
  }
  int GetCellEditKind(int, int, int, int c) override {
    if (!IsEditingStateNow()) return CellEditReadOnly;
    return c == 0 ? CellEditText : c == 1 ? CellEditChoice : CellEditReadOnly;
  }
  void GetCellChoices(int, int, int, int, std::vector<std::wstring>& out) override {
    out = {L"BOOL", L"BYTE", L"WORD", L"INT", L"REAL"};
  }
  int GetCellChoice(int r, int g, int l, int c) override {
    auto it = choices.find({r, g, l, c});
    return it == choices.end() ? 0 : it->second;
  }
  std::wstring GetCellEditText(int r, int g, int l, int c) override { return texts[{r, g, l, c}]; }
  bool SetCellText(int r, int g, int l, int c, const std::wstring& text) override {
    if (refuse) return false;
    if (!refusedText.empty() && text == refusedText) {
      ReportRefusedEdit(L"cannot take " + text, refuseKeeps);
      return false;
    }
    texts[{r, g, l, c}] = text;
    stored.push_back({r, g, l, c});
    return true;
  }
  bool SetCellChoice(int r, int g, int l, int c, int choice) override {
    if (refuse) return false;
    choices[{r, g, l, c}] = choice;
    stored.push_back({r, g, l, c});
    return true;
  }
  QColor GetCellColor(int r, int g, int l, int c, int state) override {
    switch (state) {
      case 20: return QColor(255, 255, 255);
      case 36:
      case 68: return QColor(224, 224, 224);
      case 34: return QColor(0, 0, 0);
      case 18: return QColor(128, 128, 128);
      default: return CTableViewCtrl::GetCellColor(r, g, l, c, state);
    }
  }
  QBrush GetCellBrush(int r, int g, int l, int c, int state) override {
    const QColor colour = GetCellColor(r, g, l, c, state);
    return colour.isValid() ? QBrush(colour) : CTableViewCtrl::GetCellBrush(r, g, l, c, state);
  }
  QPen GetCellPen(int, int, int, int, int state) override {
    return state == 18 ? QPen(QColor(128, 128, 128), 0) : QPen(Qt::NoPen);
  }
};

class ExtendListCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    top.resize(520, 300);
    ASSERT_TRUE(grid.Create(&top, 7));
    grid.setGeometry(0, 0, 520, 300);
    ShowActive(top);
    grid.setFocus();
    QApplication::processEvents();
  }
  QWidget* vp() { return grid.viewport(); }
  // Centre of a cell in viewport coordinates.
  QPoint At(int record, int group, int line, int column) {
    const GridShape shape = grid.Shape();
    const Rect r = grid.GetSubItemRect(ListItemOf(shape, record, line), ListColumnOf(shape, group, column));
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  QPoint RowHeader(int item) {
    const Rect r = grid.GetSubItemRect(item, 0);
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  QWidget top;
  TestGrid grid;
};

TEST_F(ExtendListCtrlTest, SecondClickOnTheFocusCellEditsItAndEnterStores) {
  EXPECT_EQ(grid.GetItemCount(), 12);
  grid.texts[{1, 0, 1, 0}] = L"old";
  Click(vp(), At(1, 0, 1, 0));
  EXPECT_EQ(grid.FocusCell(), (GridCell{1, 0, 1, 0}));
  EXPECT_EQ(grid.Selection(), (GridSelection{1, 2, 0, 1}));
  EXPECT_TRUE(grid.InplaceEdit().isHidden());

  // The press on the focus cell only marks the edit; the release opens it.
  Mouse(vp(), QEvent::MouseButtonPress, At(1, 0, 1, 0), Qt::LeftButton);
  EXPECT_TRUE(grid.InplaceEdit().isHidden());
  Mouse(vp(), QEvent::MouseButtonRelease, At(1, 0, 1, 0), Qt::LeftButton);
  ASSERT_TRUE(grid.InplaceEdit().isVisible());
  EXPECT_EQ(grid.InplaceEdit().text(), "old");
  EXPECT_EQ(grid.InplaceEdit().selectedText(), "old");
  EXPECT_TRUE(IsGridViewFocused(&grid));
  const GridShape shape = grid.Shape();
  Rect cell = grid.GetSubItemRect(ListItemOf(shape, 1, 1), 1);
  EXPECT_EQ(grid.InplaceEdit().EditRect, (Rect{cell.left, cell.top, cell.right - 1, cell.bottom - 1}));
  EXPECT_EQ(grid.InplaceEdit().Value1, 3);
  EXPECT_EQ(grid.InplaceEdit().Value2, 1);

  Type(&grid.InplaceEdit(), "new");
  Key(&grid.InplaceEdit(), Qt::Key_Return);
  EXPECT_TRUE(grid.InplaceEdit().isHidden());
  EXPECT_EQ((grid.texts[{1, 0, 1, 0}]), L"new");
  EXPECT_TRUE(grid.hasFocus());

  // Enter opens the same editor; Escape keeps the value.
  Key(&grid, Qt::Key_Return);
  ASSERT_TRUE(grid.InplaceEdit().isVisible());
  Type(&grid.InplaceEdit(), "zzz");
  Key(&grid.InplaceEdit(), Qt::Key_Escape);
  EXPECT_EQ((grid.texts[{1, 0, 1, 0}]), L"new");
  EXPECT_EQ(grid.stored.size(), 1u);

  // Clicking elsewhere stores what was typed (the editor loses the focus).
  Key(&grid, Qt::Key_Return);
  Type(&grid.InplaceEdit(), "X");
  Click(vp(), At(4, 1, 0, 2));
  EXPECT_EQ((grid.texts[{1, 0, 1, 0}]), L"X");
  EXPECT_EQ(grid.FocusCell(), (GridCell{4, 1, 0, 2}));
}

TEST_F(ExtendListCtrlTest, TypingStartsTheEditWithJustThatCharacter) {
  grid.texts[{0, 1, 0, 0}] = L"old";
  Click(vp(), At(0, 1, 0, 0));
  Key(&grid, Qt::Key_Q, "q");
  ASSERT_TRUE(grid.InplaceEdit().isVisible());
  EXPECT_EQ(grid.InplaceEdit().text(), "q");
  Type(&grid.InplaceEdit(), "1");
  Key(&grid.InplaceEdit(), Qt::Key_Enter);
  EXPECT_EQ((grid.texts[{0, 1, 0, 0}]), L"q1");

  // Read-only cells take no typing; control characters open nothing.
  Click(vp(), At(0, 1, 0, 2));
  Key(&grid, Qt::Key_A, "a");
  EXPECT_TRUE(grid.InplaceEdit().isHidden());
  EXPECT_TRUE(grid.InplaceList().isHidden());
  // On a choice cell typing drops the list at the first choice that begins with it, from the top.
  Key(&grid, Qt::Key_Left);
  Key(&grid, Qt::Key_B, "b");
  ASSERT_TRUE(grid.InplaceList().isVisible());
  EXPECT_EQ(grid.InplaceList().SelectedIndex(), 0);  // BOOL, the choice it was on
  Key(&grid.InplaceList(), Qt::Key_Escape);
  Key(&grid, Qt::Key_W, "w");
  EXPECT_TRUE(grid.InplaceEdit().isHidden());
  ASSERT_TRUE(grid.InplaceList().isVisible());
  EXPECT_EQ(grid.InplaceList().SelectedIndex(), 2);  // WORD
  Key(&grid.InplaceList(), Qt::Key_Return);
  EXPECT_EQ((grid.choices[{0, 1, 0, 1}]), 2);
  Click(vp(), At(0, 1, 0, 0));
  Key(&grid, Qt::Key_Backspace, "\b");
  EXPECT_TRUE(grid.InplaceEdit().isHidden());

  // A refused value leaves the cell as it was.
  grid.refuse = true;
  Key(&grid, Qt::Key_B, "b");
  Key(&grid.InplaceEdit(), Qt::Key_Return);
  EXPECT_EQ((grid.texts[{0, 1, 0, 0}]), L"q1");
}

TEST_F(ExtendListCtrlTest, TabStoresTheEditAndTheNextTypingGoesToTheNextCell) {
  Click(vp(), At(0, 0, 0, 0));
  Key(&grid, Qt::Key_A, "a");
  Type(&grid.InplaceEdit(), "bc");
  Key(&grid.InplaceEdit(), Qt::Key_Tab);
  EXPECT_EQ((grid.texts[{0, 0, 0, 0}]), L"abc");
  EXPECT_TRUE(grid.InplaceEdit().isHidden());
  EXPECT_TRUE(grid.hasFocus());
  EXPECT_EQ(grid.FocusCell(), (GridCell{0, 0, 0, 1}));
  EXPECT_EQ(grid.Selection(), (GridSelection{0, 1, 0, 1}));

  // Tab on the grid moves on too, over the read-only column to the next group.
  Key(&grid, Qt::Key_Tab);
  EXPECT_EQ(grid.FocusCell(), (GridCell{0, 1, 0, 0}));
  Key(&grid, Qt::Key_X, "x");
  ASSERT_TRUE(grid.InplaceEdit().isVisible());
  EXPECT_EQ(grid.InplaceEdit().text(), "x");
  Key(&grid.InplaceEdit(), Qt::Key_Tab);
  EXPECT_EQ((grid.texts[{0, 1, 0, 0}]), L"x");
  EXPECT_EQ((grid.texts[{0, 0, 0, 0}]), L"abc");
  // From the last editable cell of a row on to the first of the next line.
  Key(&grid, Qt::Key_Tab);
  EXPECT_EQ(grid.FocusCell(), (GridCell{0, 0, 1, 0}));

  // Shift+Tab goes back, from the grid and from the editor, storing the edit.
  Key(&grid, Qt::Key_Backtab, QString(), Qt::ShiftModifier);
  EXPECT_EQ(grid.FocusCell(), (GridCell{0, 1, 0, 1}));
  Key(&grid, Qt::Key_Backtab, QString(), Qt::ShiftModifier);
  EXPECT_EQ(grid.FocusCell(), (GridCell{0, 1, 0, 0}));
  Key(&grid, Qt::Key_Y, "y");
  Key(&grid.InplaceEdit(), Qt::Key_Backtab, QString(), Qt::ShiftModifier);
  EXPECT_EQ((grid.texts[{0, 1, 0, 0}]), L"y");
  EXPECT_EQ(grid.FocusCell(), (GridCell{0, 0, 0, 1}));

  // Tab in an open choice list takes the highlighted choice.
  Key(&grid, Qt::Key_Return);
  ASSERT_TRUE(grid.InplaceList().isVisible());
  Key(&grid.InplaceList(), Qt::Key_Down);
  Key(&grid.InplaceList(), Qt::Key_Tab);
  EXPECT_TRUE(grid.InplaceList().isHidden());
  EXPECT_EQ((grid.choices[{0, 0, 0, 1}]), 1);
  EXPECT_EQ(grid.FocusCell(), (GridCell{0, 1, 0, 0}));

  // Escape then Tab: nothing stored, the focus still moves on.
  Key(&grid, Qt::Key_Z, "z");
  Key(&grid.InplaceEdit(), Qt::Key_Escape);
  Key(&grid, Qt::Key_Tab);
  EXPECT_EQ((grid.texts[{0, 1, 0, 0}]), L"y");
  EXPECT_EQ(grid.FocusCell(), (GridCell{0, 1, 0, 1}));

  // In a narrow grid the view follows sideways.
  grid.resize(200, 300);
  QApplication::processEvents();
  grid.SetFocusCell(GridCell{3, 0, 0, 1});
  Key(&grid, Qt::Key_Tab);
  ASSERT_EQ(grid.FocusCell(), (GridCell{3, 1, 0, 0}));
  Rect shown = grid.GetSubItemRect(6, 4);
  EXPECT_GE(shown.left, 0);
  EXPECT_LE(shown.right, grid.viewport()->width());
  Key(&grid, Qt::Key_Backtab, QString(), Qt::ShiftModifier);
  shown = grid.GetSubItemRect(6, 2);
  EXPECT_GE(shown.left, 0);
  EXPECT_LE(shown.right, grid.viewport()->width());

  // Past the last editable cell Tab reaches the read-only one after it, then stays.
  grid.SetFocusCell(GridCell{5, 1, 1, 1});
  Key(&grid, Qt::Key_Tab);
  EXPECT_EQ(grid.FocusCell(), (GridCell{5, 1, 1, 2}));
  Key(&grid, Qt::Key_Tab);
  EXPECT_EQ(grid.FocusCell(), (GridCell{5, 1, 1, 2}));
  EXPECT_TRUE(grid.hasFocus());
}

TEST_F(ExtendListCtrlTest, OneClickOpensAChoiceList) {
  grid.choices[{2, 0, 0, 1}] = 3;
  Click(vp(), At(2, 0, 0, 1));
  ASSERT_TRUE(grid.InplaceList().isVisible());
  EXPECT_EQ(grid.InplaceList().SelectedIndex(), 3);
  // A click on a choice takes it.
  const QRect item = grid.InplaceList().visualItemRect(grid.InplaceList().item(1));
  Click(grid.InplaceList().viewport(), item.center());
  EXPECT_TRUE(grid.InplaceList().isHidden());
  EXPECT_EQ((grid.choices[{2, 0, 0, 1}]), 1);
  // Clicked again it opens; a click on its cell while it is open closes it, as a combo box.
  Click(vp(), At(2, 0, 0, 1));
  ASSERT_TRUE(grid.InplaceList().isVisible());
  Click(vp(), At(2, 0, 0, 1));
  EXPECT_TRUE(grid.InplaceList().isHidden());

  // Shift+click and a drag that leaves the cell only select.
  Click(vp(), At(4, 0, 0, 0));
  Click(vp(), At(4, 1, 0, 1), Qt::ShiftModifier);
  EXPECT_TRUE(grid.InplaceList().isHidden());
  Mouse(vp(), QEvent::MouseButtonPress, At(1, 0, 0, 1), Qt::LeftButton);
  Mouse(vp(), QEvent::MouseMove, At(2, 0, 0, 1), Qt::LeftButton);
  Mouse(vp(), QEvent::MouseButtonRelease, At(2, 0, 0, 1), Qt::LeftButton);
  EXPECT_TRUE(grid.InplaceList().isHidden());
  EXPECT_EQ(grid.Selection(), (GridSelection{1, 3, 0, 1}));
  // Text cells still take a first click to select and a second to edit.
  Click(vp(), At(3, 0, 0, 0));
  EXPECT_TRUE(grid.InplaceEdit().isHidden());
}

TEST_F(ExtendListCtrlTest, ARefusedValueStaysInTheEditorAndItsReasonIsShown) {
  shelltest::ScriptedMessageFacade messages;
  grid.texts[{1, 0, 0, 0}] = L"kept";
  grid.refusedText = L"bad";
  Click(vp(), At(1, 0, 0, 0));
  Type(&grid, "b");
  Type(&grid.InplaceEdit(), "ad");
  Key(&grid.InplaceEdit(), Qt::Key_Return);
  ASSERT_TRUE(grid.InplaceEdit().isVisible());
  EXPECT_EQ(grid.InplaceEdit().text(), "bad");
  QApplication::processEvents();
  ASSERT_EQ(messages.asked.size(), 1u);
  EXPECT_EQ(messages.asked[0].Text, L"cannot take bad");
  EXPECT_EQ(messages.asked[0].Icon, MessageIcon::Exclamation);
  EXPECT_TRUE(grid.InplaceEdit().hasFocus());
  EXPECT_EQ((grid.texts[{1, 0, 0, 0}]), L"kept");

  // Tab and a click on another cell are refused the same way and move nothing.
  Key(&grid.InplaceEdit(), Qt::Key_Tab);
  Click(vp(), At(3, 1, 0, 0));
  QApplication::processEvents();
  EXPECT_EQ(messages.asked.size(), 3u);
  EXPECT_EQ(grid.FocusCell(), (GridCell{1, 0, 0, 0}));
  ASSERT_TRUE(grid.InplaceEdit().isVisible());
  EXPECT_TRUE(grid.InplaceEdit().hasFocus());

  // Corrected, it is stored; Escape would have given it up.
  Type(&grid.InplaceEdit(), "good");
  Key(&grid.InplaceEdit(), Qt::Key_Return);
  EXPECT_EQ((grid.texts[{1, 0, 0, 0}]), L"good");
  EXPECT_TRUE(grid.InplaceEdit().isHidden());

  // A refusal that does not keep the text closes the editor and still says why.
  grid.refuseKeeps = false;
  Key(&grid, Qt::Key_B, "b");
  Type(&grid.InplaceEdit(), "ad");
  Key(&grid.InplaceEdit(), Qt::Key_Tab);
  EXPECT_TRUE(grid.InplaceEdit().isHidden());
  EXPECT_EQ(grid.FocusCell(), (GridCell{1, 0, 0, 1}));
  QApplication::processEvents();
  EXPECT_EQ(messages.asked.size(), 4u);
  EXPECT_EQ((grid.texts[{1, 0, 0, 0}]), L"good");
}

TEST_F(ExtendListCtrlTest, ArrowKeysMoveAndSelectTheFocusCell) {
  Key(&grid, Qt::Key_Down);  // no focus cell: nothing
  EXPECT_FALSE(grid.HasFocusCell());
  Click(vp(), At(0, 0, 0, 2));
  Key(&grid, Qt::Key_Right);
  EXPECT_EQ(grid.FocusCell(), (GridCell{0, 1, 0, 0}));
  EXPECT_EQ(grid.Selection(), (GridSelection{0, 1, 1, 2}));
  Key(&grid, Qt::Key_Down);
  Key(&grid, Qt::Key_Down);
  EXPECT_EQ(grid.FocusCell(), (GridCell{1, 1, 0, 0}));
  Key(&grid, Qt::Key_Left);
  EXPECT_EQ(grid.FocusCell(), (GridCell{1, 0, 0, 2}));
  // Down at the last line of the last record stays; the view scrolled to keep it in view.
  for (int i = 0; i < 20; ++i) Key(&grid, Qt::Key_Down);
  EXPECT_EQ(grid.FocusCell(), (GridCell{5, 0, 1, 2}));
  const Rect last = grid.GetSubItemRect(11, 3);
  EXPECT_LE(last.bottom, grid.viewport()->height());
  EXPECT_GE(last.top, CExtendListCtrl::kHeaderHeight);
}

TEST_F(ExtendListCtrlTest, ShiftClickDragAndRowHeaderSelectRectangles) {
  Click(vp(), At(1, 0, 0, 1));
  Click(vp(), At(3, 1, 1, 0), Qt::ShiftModifier);
  EXPECT_EQ(grid.FocusCell(), (GridCell{1, 0, 0, 1}));
  EXPECT_EQ(grid.Selection(), (GridSelection{1, 4, 0, 2}));

  Mouse(vp(), QEvent::MouseButtonPress, At(2, 1, 0, 0), Qt::LeftButton);
  Mouse(vp(), QEvent::MouseMove, At(0, 0, 1, 2), Qt::LeftButton);
  EXPECT_EQ(grid.Selection(), (GridSelection{0, 3, 0, 2}));
  Mouse(vp(), QEvent::MouseButtonRelease, At(0, 0, 1, 2), Qt::LeftButton);
  Mouse(vp(), QEvent::MouseMove, At(5, 0, 0, 0), Qt::NoButton);
  EXPECT_EQ(grid.Selection(), (GridSelection{0, 3, 0, 2}));
  EXPECT_TRUE(grid.InplaceEdit().isHidden());

  Click(vp(), RowHeader(5));  // item 5: record 2, line 1
  EXPECT_EQ(grid.FocusCell(), (GridCell{2, 0, 0, 0}));
  EXPECT_EQ(grid.Selection(), (GridSelection{2, 3, 0, 2}));

  // Right button and double clicks change nothing.
  Click(vp(), At(4, 1, 0, 0), Qt::NoModifier, Qt::RightButton);
  Mouse(vp(), QEvent::MouseButtonDblClick, At(4, 1, 0, 0), Qt::LeftButton);
  EXPECT_EQ(grid.FocusCell(), (GridCell{2, 0, 0, 0}));

  // Below the rows: focus and selection are gone.
  grid.records = 2;
  grid.RebuildListRows();
  Click(vp(), QPoint(100, 250));
  EXPECT_FALSE(grid.HasFocusCell());
  EXPECT_FALSE(grid.HasSelection());
}

TEST_F(ExtendListCtrlTest, ChoiceListStoresTheChosenIndexAndDeleteClears) {
  grid.choices[{0, 0, 0, 1}] = 2;
  Click(vp(), At(0, 0, 0, 1));
  Key(&grid, Qt::Key_Return);
  ASSERT_TRUE(grid.InplaceList().isVisible());
  EXPECT_EQ(grid.InplaceList().SelectedIndex(), 2);
  EXPECT_EQ(grid.InplaceList().count(), 5);
  // Opens below the cell.
  const Rect cell = grid.GetSubItemRect(0, 2);
  EXPECT_EQ(grid.InplaceList().geometry().top(), cell.bottom - 1);
  Key(&grid.InplaceList(), Qt::Key_Down);
  Key(&grid.InplaceList(), Qt::Key_Return);
  EXPECT_TRUE(grid.InplaceList().isHidden());
  EXPECT_EQ((grid.choices[{0, 0, 0, 1}]), 3);

  Key(&grid, Qt::Key_Delete);
  EXPECT_EQ((grid.choices[{0, 0, 0, 1}]), -1);
  Key(&grid, Qt::Key_Left);
  grid.texts[{0, 0, 0, 0}] = L"abc";
  Key(&grid, Qt::Key_Delete);
  EXPECT_EQ((grid.texts[{0, 0, 0, 0}]), L"");

  // Near the bottom of the control the list opens upwards and stays above the bottom margin.
  grid.resize(520, 130);
  QApplication::processEvents();
  const int lastVisibleItem = grid.TopIndex() + (grid.viewport()->height() - 18) / 18 - 1;
  grid.SetFocusCell(GridCell{lastVisibleItem / 2, 0, lastVisibleItem % 2, 1});
  grid.OpenFocusCellEditor();
  ASSERT_TRUE(grid.InplaceList().isVisible());
  const Rect low = grid.GetSubItemRect(lastVisibleItem, 2);
  EXPECT_LT(grid.InplaceList().geometry().top(), low.top);
  EXPECT_LE(grid.InplaceList().geometry().bottom() + 1, grid.viewport()->height() - 3);
  EXPECT_GE(grid.InplaceList().geometry().top(), 21);
  Key(&grid.InplaceList(), Qt::Key_Escape);
  EXPECT_TRUE(grid.InplaceList().isHidden());
}

TEST_F(ExtendListCtrlTest, ScrollingCommitsAnOpenEditorFirst) {
  grid.records = 40;
  grid.RebuildListRows();
  Click(vp(), At(0, 0, 0, 0));
  Key(&grid, Qt::Key_7, "7");
  ASSERT_TRUE(IsGridViewFocused(&grid));
  grid.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ((grid.texts[{0, 0, 0, 0}]), L"7");
  EXPECT_EQ(grid.TopIndex(), 1);
  EXPECT_TRUE(grid.hasFocus());

  Key(&grid, Qt::Key_Return);
  ASSERT_TRUE(grid.InplaceEdit().isVisible());
  Type(&grid.InplaceEdit(), "8");
  Wheel(vp(), QPoint(100, 100), -120);
  EXPECT_EQ((grid.texts[{0, 0, 0, 0}]), L"8");
  EXPECT_EQ(grid.TopIndex(), 4);
  EXPECT_TRUE(grid.InplaceEdit().isHidden());
}

TEST_F(ExtendListCtrlTest, DraggingAHeaderBorderResizesItsColumn) {
  Click(vp(), At(0, 0, 0, 1));
  const Rect before = grid.GetSubItemRect(0, 2);
  const int border = grid.GetSubItemRect(0, 1).right;  // right edge of the first data column
  Mouse(vp(), QEvent::MouseButtonPress, QPoint(border - 1, 9), Qt::LeftButton);
  Mouse(vp(), QEvent::MouseMove, QPoint(border + 24, 9), Qt::LeftButton);
  Mouse(vp(), QEvent::MouseButtonRelease, QPoint(border + 24, 9), Qt::LeftButton);
  EXPECT_EQ(grid.GetSubItemRect(0, 1).right - grid.GetSubItemRect(0, 1).left, 60 + 25);
  EXPECT_EQ(grid.GetSubItemRect(0, 2).left, before.left + 25);
  // The header press changed neither focus nor selection.
  EXPECT_EQ(grid.FocusCell(), (GridCell{0, 0, 0, 1}));
  Mouse(vp(), QEvent::MouseMove, QPoint(border + 60, 9), Qt::NoButton);
  EXPECT_EQ(grid.GetSubItemRect(0, 2).left, before.left + 25);
}

TEST_F(ExtendListCtrlTest, EmptyGridAndJobStatesAllowNothing) {
  grid.records = 0;
  grid.RebuildListRows();
  EXPECT_EQ(grid.GetItemCount(), 0);
  Click(vp(), QPoint(60, 27));
  for (int key : {Qt::Key_Down, Qt::Key_Return, Qt::Key_Delete}) Key(&grid, key);
  Key(&grid, Qt::Key_A, "a");
  EXPECT_FALSE(grid.HasFocusCell());
  EXPECT_TRUE(grid.InplaceEdit().isHidden());
  EXPECT_TRUE(grid.stored.empty());

  // While a job owns the port (from offline) the cells are read-only.
  grid.records = 3;
  grid.RebuildListRows();
  grid.commState = CommCommand;
  Click(vp(), At(0, 0, 0, 0));
  Key(&grid, Qt::Key_Return);
  Key(&grid, Qt::Key_A, "a");
  EXPECT_TRUE(grid.InplaceEdit().isHidden());
}

TEST_F(ExtendListCtrlTest, RebuildKeepsFocusInsideAndCommitOfAVanishedCellIsDropped) {
  Click(vp(), At(5, 1, 1, 0));
  Key(&grid, Qt::Key_X, "x");
  ASSERT_TRUE(grid.InplaceEdit().isVisible());
  grid.records = 3;
  grid.RebuildListRows();
  EXPECT_EQ(grid.GetItemCount(), 6);
  EXPECT_EQ(grid.FocusCell(), (GridCell{2, 1, 1, 0}));
  EXPECT_EQ(grid.Selection(), (GridSelection{2, 3, 1, 2}));
  Key(&grid.InplaceEdit(), Qt::Key_Return);
  EXPECT_TRUE(grid.stored.empty());
}

TEST_F(ExtendListCtrlTest, CellsAreDrawnByTheirState) {
  grid.texts[{0, 0, 0, 0}] = L"A";
  Click(vp(), At(1, 0, 0, 0));
  Click(vp(), At(2, 0, 0, 0), Qt::ShiftModifier);
  QApplication::processEvents();
  auto pixel = [&](const QImage& image, int item, int listColumn, int dx, int dy) {
    const Rect r = grid.GetSubItemRect(item, listColumn);
    return QColor(image.pixel(r.left + dx, r.top + dy));
  };
  QImage image = grid.viewport()->grab().toImage();
  EXPECT_EQ(pixel(image, 0, 1, 2, 2), QColor(255, 255, 255));    // normal cell background
  EXPECT_EQ(pixel(image, 2, 1, 0, 0), QColor(0, 0, 0));          // focus frame, top-left
  EXPECT_EQ(pixel(image, 2, 1, 3, 3), QColor(224, 224, 224));    // focus background
  EXPECT_EQ(pixel(image, 4, 2, 20, 3), QColor(224, 224, 224));   // selected background
  const Rect r = grid.GetSubItemRect(0, 1);
  EXPECT_EQ(QColor(image.pixel(r.right - 1, r.top + 5)), QColor(128, 128, 128));   // grid line
  EXPECT_EQ(QColor(image.pixel(r.left + 5, r.bottom - 1)), QColor(128, 128, 128));
  // The selected choice cell (wider than twice its height) shows its drop button at its right end.
  const Rect choice = grid.GetSubItemRect(2, 2);
  EXPECT_NE(QColor(image.pixel(choice.right - 9, choice.top + 9)), QColor(224, 224, 224));
  EXPECT_EQ(QColor(image.pixel(grid.GetSubItemRect(0, 2).right - 9, choice.top + 9 - 36)), QColor(255, 255, 255));

  // While a job that started offline runs, no row is drawn.
  grid.commState = CommLeavingCommand;
  image = grid.viewport()->grab().toImage();
  EXPECT_NE(pixel(image, 0, 1, 2, 2), QColor(255, 255, 255));
  EXPECT_NE(pixel(image, 2, 1, 0, 0), QColor(0, 0, 0));
}

}  // namespace
}  // namespace Brenno
