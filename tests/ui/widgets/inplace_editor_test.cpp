// The in-place editors on a real owner window: how each one ends the editing, what it reports,
// and that the owner's answer decides whether it closes.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTextBlock>
#include <QVBoxLayout>

#include <vector>

#include "tests/ui/widgets/widget_test_events.h"
#include "ui/widgets/inplace_edit.h"
#include "ui/widgets/inplace_edit_comment.h"
#include "ui/widgets/inplace_list.h"

namespace Brenno {
namespace {

using namespace testing_widgets;

struct Received {
  int id;
  std::wstring text;
  int selected;
  int value1;
  int value2;
  int exitKey;
  Rect rect;
};

class Owner : public QWidget, public InplaceNotifyOwner {
 public:
  Owner() {
    resize(400, 300);
    other = new QLineEdit(this);
    other->setGeometry(0, 250, 100, 20);
  }
  int OnInplaceNotify(int id, const InplaceNotify& n) override {
    Rect r;
    if (auto* state = dynamic_cast<InplaceEditorState*>(n.hdr.hwndFrom)) r = state->EditRect;
    EXPECT_EQ(n.hdr.code, kInplaceNotifyCode);
    EXPECT_EQ(n.hdr.idFrom, id);
    received.push_back({id, n.text ? std::wstring(n.text) : std::wstring(L"<null>"), n.selected, n.value1, n.value2,
                        n.exitKey, r});
    return answer;
  }
  std::vector<Received> received;
  int answer = 0;
  QLineEdit* other;
};

class InplaceEditorTest : public ::testing::Test {
 protected:
  void SetUp() override { ShowActive(owner); }
  Owner owner;
};

TEST_F(InplaceEditorTest, EditReportsTheKeyThatEndedIt) {
  CExtendInplaceEdit edit;
  ASSERT_TRUE(edit.Create(&owner, 101));
  EXPECT_TRUE(edit.isHidden());

  // Escape: the opening text comes back, whatever was typed.
  edit.Open(0, 0, L"M0.0", 7, 3, Rect{10, 20, 110, 37});
  EXPECT_TRUE(edit.isVisible());
  EXPECT_TRUE(edit.hasFocus());
  EXPECT_EQ(edit.geometry(), QRect(10, 20, 100, 17));
  Type(&edit, "xy");
  Key(&edit, Qt::Key_Escape);
  ASSERT_EQ(owner.received.size(), 1u);
  EXPECT_EQ(owner.received[0].text, L"M0.0");
  EXPECT_EQ(owner.received[0].exitKey, 27);
  EXPECT_EQ(owner.received[0].value1, 7);
  EXPECT_EQ(owner.received[0].value2, 3);
  EXPECT_EQ(owner.received[0].id, 101);
  // Answer 0 closed it: hidden, empty, reset; closing it did not notify a second time.
  EXPECT_TRUE(edit.isHidden());
  EXPECT_TRUE(edit.text().isEmpty());
  EXPECT_EQ(edit.Value1, 0);
  EXPECT_EQ(edit.ExitKey, 27);
  EXPECT_EQ(edit.EditRect, Rect{});

  // Enter reports the typed text; a non-zero answer keeps the editor open for correction.
  owner.received.clear();
  owner.answer = 1;
  edit.Open(0, 0, L"", 1, 2, Rect{0, 0, 80, 17});
  Type(&edit, "ab");
  Key(&edit, Qt::Key_Return);
  ASSERT_EQ(owner.received.size(), 1u);
  EXPECT_EQ(owner.received[0].text, L"ab");
  EXPECT_EQ(owner.received[0].exitKey, 13);
  EXPECT_TRUE(edit.isVisible());
  EXPECT_EQ(edit.text(), "ab");

  // Losing the focus commits with 13.
  owner.answer = 0;
  owner.received.clear();
  Type(&edit, "c");
  owner.other->setFocus();
  ASSERT_EQ(owner.received.size(), 1u);
  EXPECT_EQ(owner.received[0].text, L"abc");
  EXPECT_EQ(owner.received[0].exitKey, 13);
  EXPECT_TRUE(edit.isHidden());
  EXPECT_TRUE(owner.other->hasFocus());
}

TEST_F(InplaceEditorTest, ClosingGivesTheFocusBackAndAltKeysStayInTheEditor) {
  CInplaceEdit edit;
  ASSERT_TRUE(edit.Create(&owner, 103));
  owner.setFocusPolicy(Qt::StrongFocus);
  edit.Open(5, 6, L"T37", 9, Rect{0, 0, 60, 17});
  EXPECT_EQ(edit.OriginX, 5);
  EXPECT_EQ(edit.OriginY, 6);
  Key(&edit, Qt::Key_A, "a", Qt::AltModifier);
  EXPECT_EQ(edit.text(), "T37");
  Key(&edit, Qt::Key_Tab, "\t");
  EXPECT_TRUE(edit.hasFocus());
  Key(&edit, Qt::Key_Enter);
  ASSERT_EQ(owner.received.size(), 1u);
  EXPECT_EQ(owner.received[0].value2, 0);
  EXPECT_EQ(owner.received[0].value1, 9);
  EXPECT_TRUE(owner.hasFocus());
}

TEST_F(InplaceEditorTest, MultiLineEditorLeavesAtItsEdgesAndGrows) {
  CInplaceEditComment edit;
  ASSERT_TRUE(edit.Create(&owner, 105));
  edit.Open(0, 0, L"one\ntwo", Rect{10, 100, 210, 130});
  EXPECT_EQ(edit.LineCount(), 2);
  // Caret at the end, on the second line: Up moves it, Up again on the first line leaves.
  QTextCursor cursor = edit.textCursor();
  cursor.movePosition(QTextCursor::End);
  edit.setTextCursor(cursor);
  Key(&edit, Qt::Key_Up);
  EXPECT_TRUE(owner.received.empty());
  EXPECT_EQ(edit.textCursor().blockNumber(), 0);
  owner.answer = 1;
  Key(&edit, Qt::Key_Up);
  ASSERT_EQ(owner.received.size(), 1u);
  EXPECT_EQ(owner.received[0].exitKey, 38);
  EXPECT_EQ(owner.received[0].text, L"one\ntwo");

  // Down on the last line leaves with 40; on the first it moves.
  owner.received.clear();
  Key(&edit, Qt::Key_Down);
  EXPECT_TRUE(owner.received.empty());
  Key(&edit, Qt::Key_Down);
  ASSERT_EQ(owner.received.size(), 1u);
  EXPECT_EQ(owner.received[0].exitKey, 40);

  // Enter starts a new line: the rectangle grows to top + 3 x 13 + 4 and the editor stays open.
  owner.received.clear();
  owner.answer = 0;
  Key(&edit, Qt::Key_Return, "\r");
  ASSERT_EQ(owner.received.size(), 1u);
  EXPECT_EQ(owner.received[0].exitKey, 45);
  EXPECT_EQ(owner.received[0].rect.bottom, 100 + 3 * 13 + 4);
  EXPECT_TRUE(edit.isVisible());
  EXPECT_EQ(edit.LineCount(), 3);

  // Escape puts the opening text back and closes.
  owner.received.clear();
  Key(&edit, Qt::Key_Escape);
  ASSERT_EQ(owner.received.size(), 1u);
  EXPECT_EQ(owner.received[0].exitKey, 27);
  EXPECT_EQ(owner.received[0].text, L"one\ntwo");
  EXPECT_TRUE(edit.isHidden());
}

TEST_F(InplaceEditorTest, SingleLineOpensAtTheGivenTop) {
  CInplaceEditContent edit;
  ASSERT_TRUE(edit.Create(&owner, 106));
  owner.answer = 1;
  edit.Open(0, 0, L"LD I0.0", Rect{0, 100, 200, 117});
  Key(&edit, Qt::Key_End);
  Key(&edit, Qt::Key_Return, "\r");
  ASSERT_EQ(owner.received.size(), 1u);
  EXPECT_EQ(owner.received[0].rect.bottom, 130);  // 100 + 2 x 13 + 4
  EXPECT_EQ(owner.received[0].value1, 0);
}

// Return, keypad Enter, Shift+Return and the line feed key (a typed "\n" from X input tools):
// a new line in the multi-line editors, the end of the editing in the one-line editors and lists.
TEST_F(InplaceEditorTest, EveryEnterKeyIsEnter) {
  struct EnterKey {
    int key;
    QString text;
    Qt::KeyboardModifiers modifiers;
  };
  const EnterKey keys[] = {{Qt::Key_Return, "\r", Qt::NoModifier},
                           {Qt::Key_Enter, "\r", Qt::KeypadModifier},
                           {Qt::Key_Return, "\r", Qt::ShiftModifier},
                           {0x0a, "\n", Qt::NoModifier}};
  for (const EnterKey& k : keys) {
    owner.received.clear();
    owner.answer = 1;
    CInplaceEditContent multi;
    ASSERT_TRUE(multi.Create(&owner, 105));
    multi.Open(0, 0, L"LD I0.0", Rect{0, 100, 200, 117});
    Key(&multi, Qt::Key_End);
    Key(&multi, k.key, k.text, k.modifiers);
    Type(&multi, "= Q0.0");
    ASSERT_EQ(owner.received.size(), 1u) << k.key;
    EXPECT_EQ(owner.received[0].exitKey, 45);
    EXPECT_EQ(owner.received[0].rect.bottom, 130);
    EXPECT_EQ(multi.LineCount(), 2);
    EXPECT_EQ(multi.Text(), L"LD I0.0\n= Q0.0");
    multi.hide();

    owner.received.clear();
    owner.answer = 0;
    CInplaceEdit single;
    ASSERT_TRUE(single.Create(&owner, 102));
    single.Open(0, 0, L"I0.0", 2, Rect{0, 0, 60, 17});
    Key(&single, k.key, k.text, k.modifiers);
    ASSERT_EQ(owner.received.size(), 1u) << k.key;
    EXPECT_EQ(owner.received[0].exitKey, 13);

    owner.received.clear();
    CInplaceList list;
    ASSERT_TRUE(list.Create(&owner, 103));
    list.Open(0, 0, 1, 2, {L"a", L"b"}, Rect{0, 0, 50, 40});
    Key(&list, k.key, k.text, k.modifiers);
    ASSERT_EQ(owner.received.size(), 1u) << k.key;
    EXPECT_EQ(owner.received[0].exitKey, 13);
  }
}

// Opened while another window is active (as a dialog closed on a desktop without window manager
// leaves it), an editor still takes the keyboard and ends when the focus goes elsewhere.
TEST_F(InplaceEditorTest, EditorsOpenedInAnInactiveWindowEndWhenTheFocusLeaves) {
  QWidget elsewhere;
  CExtendInplaceList list;
  ASSERT_TRUE(list.Create(&owner, 102));
  CExtendInplaceEdit edit;
  ASSERT_TRUE(edit.Create(&owner, 101));
  for (QWidget* editor : std::initializer_list<QWidget*>{&list, &edit}) {
    ShowActive(elsewhere);
    ASSERT_FALSE(owner.isActiveWindow());
    owner.received.clear();
    if (editor == &list) {
      list.Open(0, 0, 1, 2, {L"BOOL", L"BYTE", L"WORD"}, 0, Rect{0, 0, 80, 50});
    } else {
      edit.Open(0, 0, L"VW0", 1, 2, Rect{0, 0, 80, 17});
    }
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), editor);
    owner.other->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    ASSERT_EQ(owner.received.size(), 1u);
    EXPECT_EQ(owner.received[0].exitKey, 13);
    EXPECT_TRUE(editor->isHidden());
  }
}

TEST_F(InplaceEditorTest, ListReportsTheChosenIndex) {
  CExtendInplaceList list;
  ASSERT_TRUE(list.Create(&owner, 102));
  const std::vector<std::wstring> choices{L"BOOL", L"BYTE", L"WORD", L"INT"};
  list.Open(0, 0, 4, 5, choices, 1, Rect{20, 20, 120, 100});
  EXPECT_EQ(list.count(), 4);
  EXPECT_EQ(list.SelectedIndex(), 1);
  Key(&list, Qt::Key_Down);
  EXPECT_EQ(list.SelectedIndex(), 2);
  Key(&list, Qt::Key_Escape);
  ASSERT_EQ(owner.received.size(), 1u);
  EXPECT_EQ(owner.received[0].selected, 1);
  EXPECT_EQ(owner.received[0].exitKey, 27);
  EXPECT_EQ(owner.received[0].value1, 4);
  EXPECT_EQ(owner.received[0].value2, 5);
  EXPECT_TRUE(list.isHidden());
  EXPECT_EQ(list.count(), 0);

  // A click on an item chooses it; the middle button does nothing.
  owner.received.clear();
  list.Open(0, 0, 4, 5, choices, -1, Rect{20, 20, 120, 100});
  EXPECT_EQ(list.SelectedIndex(), -1);
  const QPoint third = list.visualItemRect(list.item(3)).center();
  Click(list.viewport(), third, Qt::NoModifier, Qt::MiddleButton);
  EXPECT_TRUE(owner.received.empty());
  EXPECT_EQ(list.SelectedIndex(), -1);
  Click(list.viewport(), third);
  ASSERT_EQ(owner.received.size(), 1u);
  EXPECT_EQ(owner.received[0].selected, 3);
  EXPECT_EQ(owner.received[0].exitKey, 13);
}

TEST_F(InplaceEditorTest, PlainListStartsOnTheFirstChoice) {
  CInplaceList list;
  ASSERT_TRUE(list.Create(&owner, 107));
  list.Open(0, 0, 1, 2, {L"a", L"b"}, Rect{0, 0, 50, 40});
  Key(&list, Qt::Key_Return);
  ASSERT_EQ(owner.received.size(), 1u);
  EXPECT_EQ(owner.received[0].selected, 0);
}

TEST(InplaceListSize, FitsTheChoices) {
  QFont font;
  font.setPixelSize(13);
  const QFontMetrics metrics(font);
  EXPECT_EQ(ChoiceListHeight(metrics, 3), metrics.height() * 3 + 2);
  EXPECT_EQ(CalcDropListWidth(metrics, {L"a", L"Unforced", L"b"}, 16),
            metrics.horizontalAdvance("Unforced") + metrics.horizontalAdvance("0") + 16);
}

}  // namespace
}  // namespace Brenno
