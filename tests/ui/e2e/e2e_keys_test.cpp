// Ladder programs typed with the keyboard alone, every key sent where the keyboard sends it (to
// the widget that has the focus, none when no window is active): the keys after a message, the
// operands of a new element one after another, the question before a placement removes work,
// and elements typed one after another forming a rung.
#include <QPushButton>
#include <QTest>

#include "platform/text_codec.h"
#include "tests/ui/e2e/e2e_workbench.h"
#include "ui/shell/qt_message_facade.h"

namespace Brenno::e2e {
namespace {

class E2eKeys : public E2eWorkbench {
 protected:
  // The widget the keyboard types into now.
  static QWidget* KeyboardTarget() { return QApplication::focusWidget(); }
  static void Press(Qt::Key key) {
    QWidget* target = KeyboardTarget();
    ASSERT_NE(target, nullptr) << "no window has the keyboard";
    QTest::keyClick(target, key);
    QApplication::processEvents();
  }
  // One key per character, each to the widget that has the focus at that moment (the first
  // letter on a ladder cell opens its instruction editor, which takes the rest).
  static void Keys(const QString& text) {
    for (const QChar c : text) {
      QWidget* target = KeyboardTarget();
      ASSERT_NE(target, nullptr) << "no window has the keyboard for '" << c.toLatin1() << "'";
      QTest::keyClick(target, c.toLatin1());
      QApplication::processEvents();
    }
  }
  static void Enter() { Press(Qt::Key_Return); }
  // The characters, then Enter.
  static void Line(const QString& text) {
    Keys(text);
    if (!::testing::Test::HasFatalFailure()) Enter();
  }

  // A message box as a real one treats the windows: it takes the activation and the focus, and
  // closing it leaves no window active (there is no window manager to give it back).
  void MessagesTakeTheFocus() {
    facade_.whileShown = [this] {
      QDialog box(frame_);
      QTimer::singleShot(0, &box, [&box] { box.accept(); });
      box.exec();
      QApplication::processEvents();
      EXPECT_FALSE(frame_->isActiveWindow());
    };
  }
};

TEST_F(E2eKeys, AfterAMessageTheKeysGoOnWhereTheyWereGoingAndARefusedTextStaysForCorrection) {
  Start();
  CProgramEditorMainView* view = OpenProgramEditor();
  ASSERT_NE(view, nullptr);
  MessagesTakeTheFocus();
  ClickCell(view, 0, 0, 0);
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("LD SM0.0")));

  // A statement-list name in the cell after the contact: refused with a word, the text stays in
  // the cell's editor, which has the keyboard again once the message is closed.
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("MOVW VW200, VW202")));
  QApplication::processEvents();
  ASSERT_EQ(facade_.asked.size(), 1u);
  EXPECT_TRUE(Asked(L"\"MOVW\" is a statement-list instruction")) << platform::ToUtf8Lossy(facade_.asked[0].Text);
  CInplaceEdit& editor = view->InstructionEditor();
  EXPECT_TRUE(frame_->isActiveWindow());
  EXPECT_EQ(KeyboardTarget(), &editor);
  EXPECT_EQ(editor.text(), QStringLiteral("MOVW VW200, VW202"));
  EXPECT_EQ(ElementAt(0, 1, 0), nullptr);

  // Corrected with the keys that follow.
  Press(Qt::Key_Home);
  for (int i = 0; i < 3; ++i) Press(Qt::Key_Right);
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("_")));
  const LadElement* move = ElementAt(0, 1, 0);
  ASSERT_NE(move, nullptr);
  EXPECT_EQ(move->Name, L"MOV_W");
  ASSERT_EQ(move->OperandIn.size(), 1u);
  EXPECT_EQ(move->OperandIn[0].Text, L"VW200");
  EXPECT_EQ(move->OperandOut[0].Text, L"VW202");
  EXPECT_TRUE(editor.isHidden());
  EXPECT_EQ(KeyboardTarget(), view);

  // A box in the first column: refused; Escape gives the text up and the keys go on into the
  // ladder, where the next text goes into the same cell.
  ClickCell(view, 1, 0, 0);
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("MOV_W VW0, VW2")));
  QApplication::processEvents();
  ASSERT_EQ(facade_.asked.size(), 2u);
  EXPECT_TRUE(Asked(L"MOV_W cannot stand in the first column"));
  EXPECT_EQ(KeyboardTarget(), &editor);
  EXPECT_EQ(editor.text(), QStringLiteral("MOV_W VW0, VW2"));
  Press(Qt::Key_Escape);
  EXPECT_TRUE(editor.isHidden());
  EXPECT_EQ(KeyboardTarget(), view);
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("LD I0.0")));
  ASSERT_NE(ElementAt(1, 0, 0), nullptr);
  EXPECT_EQ(ElementAt(1, 0, 0)->OperandIn[0].Text, L"I0.0");
  EXPECT_EQ(facade_.asked.size(), 2u);
}

TEST_F(E2eKeys, EnterOpensTheNewBoxsFirstEmptyOperandAndEachEnterTheNext) {
  Start();
  CProgramEditorMainView* view = OpenProgramEditor();
  ASSERT_NE(view, nullptr);
  CInplaceEdit& operand = view->OperandEditor();

  // NETWORK 0: a contact and a box behind it; the box ends the rung, so the cursor stays on it.
  ClickCell(view, 0, 0, 0);
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("LD I0.0")));
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("MOV_R")));
  ASSERT_NE(ElementAt(0, 1, 0), nullptr);
  EXPECT_EQ(MainPage().ViewState.CursorColumn, 1);
  // Enter: IN; its value Enter: OUT; its value Enter: done, the keys back in the ladder (a "V"
  // typed into the element never asks for a vertical line over it).
  Enter();
  ASSERT_EQ(KeyboardTarget(), &operand);
  EXPECT_EQ(operand.text(), QStringLiteral("???"));
  EXPECT_EQ(MainPage().ViewState.OperandEditor.InIndex, 0);
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("VD0")));
  ASSERT_EQ(KeyboardTarget(), &operand);
  EXPECT_EQ(MainPage().ViewState.OperandEditor.OutIndex, 0);
  EXPECT_EQ(operand.selectedText(), QStringLiteral("???"));
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("VD4")));
  EXPECT_TRUE(operand.isHidden());
  EXPECT_EQ(KeyboardTarget(), view);
  EXPECT_TRUE(facade_.asked.empty());
  EXPECT_EQ(Elements(0).size(), 2u);
  EXPECT_EQ(ElementAt(0, 1, 0)->OperandIn[0].Text, L"VD0");
  EXPECT_EQ(ElementAt(0, 1, 0)->OperandOut[0].Text, L"VD4");

  // Its IN edited again (the box clicked, Enter goes round to IN): the place last edited is the IN
  // of a box in column 1.
  ClickCell(view, 0, 1, 0);
  Enter();
  ASSERT_EQ(KeyboardTarget(), &operand);
  EXPECT_EQ(operand.text(), QStringLiteral("VD0"));
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("VD8")));
  EXPECT_TRUE(operand.isHidden());
  EXPECT_EQ(ElementAt(0, 1, 0)->OperandIn[0].Text, L"VD8");

  // NETWORK 1, a box in the same cell: Enter opens its IN, not the OUT after the IN edited before.
  ClickCell(view, 1, 0, 0);
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("LD SM0.0")));
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("MOV_R")));
  Enter();
  ASSERT_EQ(KeyboardTarget(), &operand);
  EXPECT_EQ(MainPage().ViewState.OperandEditor.InIndex, 0);
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("VD12")));
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("VD16")));
  const LadElement* box = ElementAt(1, 1, 0);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->OperandIn[0].Text, L"VD12");
  EXPECT_EQ(box->OperandOut[0].Text, L"VD16");

  // A timer typed with its number: Enter opens PT, the one operand still empty.
  ClickCell(view, 2, 0, 0);
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("LD I0.1")));
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("TON T37")));
  Enter();
  ASSERT_EQ(KeyboardTarget(), &operand);
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("100")));
  EXPECT_TRUE(operand.isHidden());
  const LadElement* timer = ElementAt(2, 1, 0);
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->OperandId[0].Text, L"T37");
  EXPECT_EQ(timer->OperandIn[0].Text, L"100");
  EXPECT_TRUE(facade_.asked.empty());
}

TEST_F(E2eKeys, TheQuestionBeforeAPlacementRemovesWorkDefaultsToNo) {
  Start();
  CProgramEditorMainView* view = OpenProgramEditor();
  ASSERT_NE(view, nullptr);
  ClickCell(view, 0, 2, 0);
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("ADD_I VW0, VW2, VW4")));
  ASSERT_NE(ElementAt(0, 2, 0), nullptr);
  const std::vector<LadElement> withBox = Elements(0);
  // The cell left of ADD_I on its IN1 row, where its inputs are written.
  ClickCell(view, 0, 0, 1);
  Press(Qt::Key_Right);
  ASSERT_EQ(MainPage().ViewState.CursorColumn, 1);

  // The question says No is its default; after it the keys go on in the view.
  MessagesTakeTheFocus();
  facade_.answers = {kIdNo};
  ASSERT_NO_FATAL_FAILURE(Keys(QStringLiteral("h")));
  ASSERT_EQ(facade_.asked.size(), 1u);
  EXPECT_EQ(facade_.asked[0].Buttons, MessageButtons::YesNoDefaultNo);
  EXPECT_TRUE(Asked(L"Place it and remove what is listed?"));
  EXPECT_EQ(Elements(0), withBox);
  EXPECT_TRUE(frame_->isActiveWindow());
  EXPECT_EQ(KeyboardTarget(), view);
  facade_.whileShown = nullptr;

  // The workbench's own box: Enter answers No, and so does Escape; the box stays.
  QtMessageFacade boxes;
  boxes.SetOwner(frame_);
  InstallMessageFacade(&boxes);
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    bool noIsDefault = false;
    const QObject scope;  // the answer is not given after this round
    QTimer::singleShot(0, &scope, [&] {
      auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (box == nullptr) return ADD_FAILURE() << "no message box";
      auto* no = box->findChild<QPushButton*>(QStringLiteral("IDNO"));
      auto* yes = box->findChild<QPushButton*>(QStringLiteral("IDYES"));
      noIsDefault = no != nullptr && yes != nullptr && no->isDefault() && !yes->isDefault() && box->focusWidget() == no;
      if (box->focusWidget() != nullptr) QTest::keyClick(box->focusWidget(), key);
      if (box->isVisible()) box->done(kIdYes);  // the key did nothing: the test sees Yes
    });
    ASSERT_NO_FATAL_FAILURE(Keys(QStringLiteral("h")));
    EXPECT_TRUE(noIsDefault) << key;
    EXPECT_EQ(Elements(0), withBox) << key;
  }
  InstallMessageFacade(&facade_);

  // The same for a typed box whose place asks: its text editor closes behind the answer, and
  // the keys go on in the view (typing opens the next text editor).
  MessagesTakeTheFocus();
  ClickCell(view, 0, 3, 0);
  facade_.answers = {kIdNo};
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("MUL_I")));
  ASSERT_EQ(facade_.asked.size(), 2u);
  EXPECT_TRUE(frame_->isActiveWindow());
  EXPECT_EQ(Elements(0), withBox);
  EXPECT_EQ(KeyboardTarget(), view);
  ASSERT_NO_FATAL_FAILURE(Keys(QStringLiteral("M")));
  EXPECT_EQ(KeyboardTarget()->objectName(), QStringLiteral("InstructionEditor"));
  Press(Qt::Key_Escape);
}

TEST_F(E2eKeys, ElementsTypedOneAfterAnotherFormARung) {
  Start();
  CProgramEditorMainView* view = OpenProgramEditor();
  ASSERT_NE(view, nullptr);
  ClickCell(view, 0, 0, 0);
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("LD SM0.0")));
  // The cursor is on the cell after the contact; the contact stays selected.
  EXPECT_EQ(MainPage().ViewState.CursorColumn, 1);
  EXPECT_EQ(MainPage().ViewState.SelectedCells, (std::vector<SelectedCell>{{0, 0, true}}));
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("LDN I0.1")));
  ASSERT_NO_FATAL_FAILURE(Line(QStringLiteral("= Q0.3")));
  // A coil ends the rung: the cursor stays on it.
  EXPECT_EQ(MainPage().ViewState.CursorColumn, 2);
  ASSERT_EQ(Elements(0).size(), 3u);
  ASSERT_NE(ElementAt(0, 0, 0), nullptr);
  EXPECT_EQ(ElementAt(0, 0, 0)->OperandIn[0].Text, L"SM0.0");
  ASSERT_NE(ElementAt(0, 1, 0), nullptr);
  EXPECT_EQ(ElementAt(0, 1, 0)->Name, L"/");
  ASSERT_NE(ElementAt(0, 2, 0), nullptr);
  EXPECT_EQ(ElementAt(0, 2, 0)->Kind, kLadKindCoil);
  EXPECT_EQ(ElementAt(0, 2, 0)->OperandOut[0].Text, L"Q0.3");
  EXPECT_TRUE(facade_.asked.empty());
}

}  // namespace
}  // namespace Brenno::e2e
