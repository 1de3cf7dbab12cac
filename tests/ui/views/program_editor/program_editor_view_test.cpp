// The program editor offscreen: the frame with its page tabs, typing and clicking into a ladder
// page, the commands and the clipboard, locked pages and the update codes, checked on the model
// and on what the hub was told.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTextCursor>

#include "core/link/comm_state.h"
#include "core/program/compile_report.h"
#include "core/program/ladder_grid.h"
#include "core/program/page_painter.h"
#include "core/program/program_block.h"
#include "core/program/program_page.h"
#include "core/convert/program_view_switch.h"
#include "tests/ui/views/program_editor/program_editor_test_env.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/shell/update_router.h"
#include "ui/views/program_editor/program_editor_frm.h"
#include "ui/views/program_editor/program_editor_main_view.h"
#include "ui/views/program_editor/program_page_lock.h"
#include "ui/views/program_editor/program_password_dialogs.h"
#include "ui/views/program_location.h"

namespace Brenno {
namespace {

constexpr int kMain = 0;
constexpr int kSbr0 = 0x10000;

// The main frame as far as the program editor needs it: records every code and routes the
// program editor's groups back to the frame.
class RoutingSink : public MainFrameSink {
 public:
  void RouteUpdate(uint16_t code, intptr_t value) override {
    codes.push_back(code);
    if (code == UpdOpenInstructionInput) inputTexts.emplace_back(reinterpret_cast<const wchar_t*>(value));
    if (frame != nullptr && ReceiverOfUpdate(code) == PaneReceiver::ProgramEditorFrame)
      frame->OnPaneRequest(code, value);
  }
  void SetStatusText(const std::wstring&, bool) override {}
  bool Saw(uint16_t code) const { return std::find(codes.begin(), codes.end(), code) != codes.end(); }

  CProgramEditorFrm* frame = nullptr;
  std::vector<uint16_t> codes;
  std::vector<std::wstring> inputTexts;
};

class ProgramEditorViewTest : public progviewtest::ProgramEditorEnv {
 protected:
  void SetUp() override {
    ProgramEditorEnv::SetUp();
    InstallMainFrameSink(&sink_);
    frame_ = new CProgramEditorFrm(env_);
    sink_.frame = frame_;
    frame_->resize(900, 700);
    frame_->show();
    QApplication::processEvents();
    sink_.codes.clear();
  }
  void TearDown() override {
    // Hidden first, as its window is when the user closes it: an editor still open commits (and
    // announces the edit) while the frame is whole.
    frame_->hide();
    delete frame_;
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    InstallMainFrameSink(nullptr);
    InstallProgramPasswordDialogs({});
    ProgramEditorEnv::TearDown();
  }

  CProgramEditorMainView* View(int key) { return frame_->MainPane()->ViewOf(key); }

  // Puts the cell cursor of a ladder page and gives the client point in the middle of that cell.
  QPoint CellPoint(CProgramEditorMainView* view, int network, int column, int row) {
    ProgramPage& page = Page(view->BlockKey());
    EXPECT_TRUE(page.SetSelection(network, network, column, row));
    const Rect r = GetCursorRect(page);
    const Rect visible = view->PageRectInView();
    return QPoint((r.left + r.right) / 2 - visible.left, (r.top + r.bottom) / 2 - visible.top);
  }

  static void Click(QWidget* target, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, modifiers);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        modifiers);
    QApplication::sendEvent(target, &release);
  }
  static void Drag(QWidget* target, QPoint from, QPoint to) {
    QMouseEvent press(QEvent::MouseButtonPress, from, target->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    for (QPoint p : {from + QPoint(1, 1), to}) {
      QMouseEvent move(QEvent::MouseMove, p, target->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(target, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, to, target->mapToGlobal(to), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &release);
  }
  static void Type(QWidget* target, int key, const QString& text = QString(),
                   Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
  }
  static int ElementCount(const ProgramPage& page, int network) {
    return static_cast<int>(page.Networks()[static_cast<size_t>(network)].Grid.Elements.size());
  }

  RoutingSink sink_;
  CProgramEditorFrm* frame_ = nullptr;
};

TEST_F(ProgramEditorViewTest, TabsFollowThePagesOfTheProject) {
  QTabWidget* tabs = frame_->MainPane()->Tabs();
  ASSERT_EQ(tabs->count(), 2);
  EXPECT_EQ(tabs->tabText(1), QStringLiteral("SBR_0 (SBR0)"));
  EXPECT_EQ(frame_->GetActiveBlockId(), kMain);
  QPointer<CProgramEditorMainView> main = View(kMain);
  QPointer<CProgramEditorMainView> sbr0 = View(kSbr0);
  sbr0->OnCommand(PvToolCoil);

  // Insert Subroutine from the main page: the new page gets a tab and becomes active, the
  // surviving views stay the same windows with their own state.
  main->setFocus();
  ASSERT_TRUE(frame_->OnCommand(PvInsertSubroutine));
  ASSERT_EQ(tabs->count(), 3);
  EXPECT_EQ(frame_->GetActiveBlockId(), 0x10001);
  EXPECT_EQ(View(kMain), main.data());
  EXPECT_EQ(View(kSbr0), sbr0.data());
  EXPECT_EQ(sbr0->ElementTool(), kToolCoil);
  EXPECT_TRUE(sink_.Saw(UpdVarTableSetPage));

  // Delete Subroutine on the new page: its view goes, the next page is shown.
  QPointer<CProgramEditorMainView> added = View(0x10001);
  added->setFocus();
  ASSERT_TRUE(frame_->OnCommand(PvDeleteSubroutine));
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(added.isNull());
  EXPECT_EQ(tabs->count(), 2);
  EXPECT_FALSE(Program().SubroutineTable.HasWorkingPage(0x10001));

  // While a job from the offline state owns the port a tab change does not move the variable
  // table.
  sink_.codes.clear();
  env_.CommState = CommCommand;
  frame_->MainPane()->Tabs()->setCurrentIndex(1);
  EXPECT_FALSE(sink_.Saw(UpdVarTableSetPage));
  env_.CommState = CommOffline;
  frame_->MainPane()->Tabs()->setCurrentIndex(0);
  EXPECT_TRUE(sink_.Saw(UpdVarTableSetPage));

  // Delete Subroutine is not offered on the main page (not in the subroutine table).
  frame_->MainPane()->SelectTab(kMain);
  main->setFocus();
  CommandStatus status;
  ASSERT_TRUE(frame_->UpdateCommand(PvDeleteSubroutine, status));
  EXPECT_FALSE(status.Enabled);
}

TEST_F(ProgramEditorViewTest, TypingAnInstructionPlacesItAtTheCursorCell) {
  CProgramEditorMainView* view = View(kMain);
  view->setFocus();
  ProgramPage& page = Page(kMain);
  CellPoint(view, 0, 0, 0);
  const int before = ElementCount(page, 0);

  // 'L' opens the instruction editor below the cell with that letter and the caret after it.
  Type(view, Qt::Key_L, QStringLiteral("L"));
  CInplaceEdit& editor = view->InstructionEditor();
  ASSERT_TRUE(editor.isVisible());
  EXPECT_EQ(editor.text(), QStringLiteral("L"));
  EXPECT_EQ(editor.cursorPosition(), 1);
  const Rect cell = GetCursorRect(page);
  EXPECT_EQ(editor.geometry().top(), cell.bottom - view->PageRectInView().top);

  // Esc closes it without inserting.
  Type(&editor, Qt::Key_Escape);
  EXPECT_FALSE(editor.isVisible());
  EXPECT_EQ(ElementCount(page, 0), before);

  Type(view, Qt::Key_L, QStringLiteral("L"));
  editor.setText(QStringLiteral("LD I0.0"));
  Type(&editor, Qt::Key_Return);
  EXPECT_FALSE(editor.isVisible());
  EXPECT_EQ(ElementCount(page, 0), before + 1);
  EXPECT_TRUE(env_.Modified.load());
  EXPECT_TRUE(sink_.Saw(UpdFrameCaption));

  // Enter opens the operand editor over the new contact's operand, all selected; it stays over
  // its pin while the page scrolls.
  Click(view->viewport(), CellPoint(view, 0, 0, 0));
  Type(view, Qt::Key_Return);
  CInplaceEdit& operand = view->OperandEditor();
  ASSERT_TRUE(operand.isVisible());
  EXPECT_EQ(operand.text(), QStringLiteral("I0.0"));
  EXPECT_EQ(operand.selectedText(), QStringLiteral("I0.0"));
  const int top = operand.geometry().top();
  ASSERT_GT(view->GetScrollSetting(CScrollWnd::SB_VERT).rangeMax, 30);
  view->SetScrollPosition(CScrollWnd::SB_VERT, view->GetScrollPosition(CScrollWnd::SB_VERT) + 30);
  EXPECT_EQ(operand.geometry().top(), top - 30);
  Type(&operand, Qt::Key_Escape);
  EXPECT_FALSE(operand.isVisible());

  // 'h' places a horizontal line (the key), not an instruction editor (the character).
  CellPoint(view, 0, 1, 0);
  Type(view, Qt::Key_H, QStringLiteral("h"));
  EXPECT_FALSE(editor.isVisible());
  EXPECT_EQ(ElementCount(page, 0), before + 2);

  // Undo walks both back; at the start of the history Undo is no longer offered.
  view->OnCommand(PvUndo);
  view->OnCommand(PvUndo);
  EXPECT_EQ(ElementCount(page, 0), before);
  while (page.UndoLog.Position > 0) view->OnCommand(PvUndo);
  CommandStatus status;
  view->UpdateCommand(PvUndo, status);
  EXPECT_FALSE(status.Enabled);
  view->UpdateCommand(PvRedo, status);
  EXPECT_TRUE(status.Enabled);
}

TEST_F(ProgramEditorViewTest, ClicksOpenEditorsOfflineAndOnlySelectOnline) {
  CProgramEditorMainView* view = View(kMain);
  ProgramPage& page = Page(kMain);
  // Network 0's comment box lies below its 17-pixel header.
  page.ViewState.CurrentNetwork = 0;
  const QPoint comment(100, 17 + 17 + 5 - view->PageRectInView().top);

  env_.CommState = CommOnline;
  Click(view->viewport(), comment);
  EXPECT_FALSE(page.IsCommentEditorOpen());
  EXPECT_FALSE(view->CommentEditor().isVisible());

  env_.CommState = CommOffline;
  Click(view->viewport(), comment);
  ASSERT_TRUE(page.IsCommentEditorOpen());
  ASSERT_TRUE(view->CommentEditor().isVisible());
  EXPECT_TRUE(page.IsAtCommentLevel());

  // Typed text is applied when the editor loses the focus (exit key 13).
  view->CommentEditor().setPlainText(QStringLiteral("first\nsecond"));
  view->setFocus();
  QApplication::processEvents();
  EXPECT_FALSE(page.IsCommentEditorOpen());
  EXPECT_EQ(page.Networks()[0].Comments, (std::vector<std::wstring>{L"first", L"second"}));

  // Up on the first line applies the comment of network 1 and moves to network 0's last row;
  // Esc leaves the old comment.
  const QPoint comment1(100, 17 + page.NetworksHeight(0, 1) + 17 + 5 - view->PageRectInView().top);
  Click(view->viewport(), comment1);
  ASSERT_TRUE(view->CommentEditor().isVisible());
  view->CommentEditor().setPlainText(QStringLiteral("kept"));
  view->CommentEditor().moveCursor(QTextCursor::Start);
  Type(&view->CommentEditor(), Qt::Key_Up);
  EXPECT_FALSE(view->CommentEditor().isVisible());
  EXPECT_EQ(page.Networks()[1].Comments, std::vector<std::wstring>{L"kept"});
  EXPECT_EQ(page.ViewState.SelectionFirst, 0);
  EXPECT_TRUE(page.HasCursor());
  Click(view->viewport(), comment1);
  ASSERT_TRUE(view->CommentEditor().isVisible());
  view->CommentEditor().setPlainText(QStringLiteral("dropped"));
  Type(&view->CommentEditor(), Qt::Key_Escape);
  EXPECT_FALSE(page.IsCommentEditorOpen());
  EXPECT_EQ(page.Networks()[1].Comments, std::vector<std::wstring>{L"kept"});

  // With the Contact tool a click on a cell opens the contact choice list there (as F9).
  view->OnCommand(PvToolContact);
  Click(view->viewport(), CellPoint(view, 1, 0, 0));
  ASSERT_TRUE(view->ElementList().isVisible());
  ASSERT_GT(view->ElementList().count(), 1);
  EXPECT_EQ(view->ElementList().item(0)->text().left(2), QStringLiteral("-|"));
  const int before = ElementCount(page, 1);
  view->ElementList().setCurrentRow(1);
  Type(&view->ElementList(), Qt::Key_Return);
  EXPECT_FALSE(view->ElementList().isVisible());
  EXPECT_EQ(ElementCount(page, 1), before + 1);
}

TEST_F(ProgramEditorViewTest, StatementListEditorAppliesItsLinesWhenLeft) {
  CompileReport report;
  SwitchProgramView(Program(), report, kViewModeStl);
  CProgramEditorMainView* view = View(kMain);
  view->UpdateScrollBars();
  ProgramPage& page = Page(kMain);
  ASSERT_EQ(page.ViewState.ViewMode, kViewModeStl);
  EXPECT_EQ(view->GetLineUpStep(), 13);

  // A click into network 1's body opens its statement-list editor.
  page.ViewState.CurrentNetwork = 1;
  const int body = 17 + page.NetworksHeight(0, 1) + 17 + Network::CommentHeight(page.ViewState, page.Networks()[1]);
  const int top = view->PageRectInView().top;
  Click(view->viewport(), QPoint(80, body + 6 - top));
  ASSERT_TRUE(page.IsStlEditorOpen());
  CInplaceEditContent& editor = view->StlEditor();
  ASSERT_TRUE(editor.isVisible());

  // Element keys do nothing on a statement-list page.
  const std::vector<Network> before = page.Networks();
  view->OnKeyDown(kKeyH, false);
  EXPECT_EQ(page.Networks().size(), before.size());

  // A second line grows the editor; leaving it applies both lines as one step.
  const int height = editor.height();
  editor.setPlainText(QStringLiteral("LD I0.0\n= Q0.0"));
  QApplication::processEvents();
  EXPECT_GT(editor.height(), height);
  const size_t steps = page.UndoLog.Steps.size();
  view->setFocus();
  QApplication::processEvents();
  EXPECT_FALSE(page.IsStlEditorOpen());
  EXPECT_FALSE(editor.isVisible());
  ASSERT_EQ(page.Networks()[1].Lines.size(), 2u);
  EXPECT_EQ(page.Networks()[1].Lines[0].Mnemonic, L"LD");
  EXPECT_EQ(page.UndoLog.Steps.size(), steps + 1);
  EXPECT_TRUE(env_.Modified.load());
}

TEST_F(ProgramEditorViewTest, DragAcrossNetworksSelectsThemWhole) {
  CProgramEditorMainView* view = View(kMain);
  ProgramPage& page = Page(kMain);
  const int top = view->PageRectInView().top;
  const int y2 = 17 + page.NetworksHeight(0, 2) + 10;
  Drag(view->viewport(), QPoint(600, 25 - top), QPoint(40, y2 - top));
  EXPECT_EQ(page.ViewState.SelectionFirst, 0);
  EXPECT_EQ(page.ViewState.SelectionLast, 3);
  EXPECT_EQ(page.ViewState.MouseState, kMouseIdle);
}

TEST_F(ProgramEditorViewTest, DoubleClickAsksForTheInputBoxAndDragMovesTheElement) {
  CProgramEditorMainView* view = View(kMain);
  ProgramPage& page = Page(kMain);
  CellPoint(view, 1, 0, 0);
  view->InsertInstructionText(L"LD I0.0");
  const QPoint cell = CellPoint(view, 1, 0, 0);
  Click(view->viewport(), cell);
  QMouseEvent dbl(QEvent::MouseButtonDblClick, cell, view->viewport()->mapToGlobal(cell), Qt::LeftButton,
                  Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view->viewport(), &dbl);
  ASSERT_EQ(sink_.inputTexts.size(), 1u);
  EXPECT_NE(sink_.inputTexts[0].find(L"I0.0"), std::wstring::npos);

  // Pressed on the selected contact and dragged two cells right: moved as one step.
  const int steps = static_cast<int>(page.UndoLog.Steps.size());
  Drag(view->viewport(), cell, cell + QPoint(2 * GetLadderMetrics().CellWidth, 0));
  const std::vector<LadElement>& elements = page.Networks()[1].Grid.Elements;
  ASSERT_FALSE(elements.empty());
  EXPECT_TRUE(std::any_of(elements.begin(), elements.end(), [](const LadElement& e) { return e.Column == 2; }));
  EXPECT_EQ(static_cast<int>(page.UndoLog.Steps.size()), steps + 1);
}

TEST_F(ProgramEditorViewTest, CopiedNetworksPasteBeforeTheCursorOfAnotherPage) {
  CProgramEditorMainView* main = View(kMain);
  ProgramPage& mainPage = Page(kMain);
  CellPoint(main, 0, 0, 0);
  main->setFocus();
  main->OnKeyDown(kKeyH, false);
  ASSERT_TRUE(mainPage.SetSelection(0, 1, 0, 0));
  main->OnCommand(PvCopy);
  ASSERT_TRUE(clipboard_.block.has_value());

  CProgramEditorMainView* sbr = View(kSbr0);
  ProgramPage& sbrPage = Page(kSbr0);
  const int count = sbrPage.NetworkCount();
  CellPoint(sbr, 2, 1, 0);
  sbr->OnCommand(PvPaste);
  ASSERT_EQ(sbrPage.NetworkCount(), count + 1);
  EXPECT_TRUE(Network::Equals(sbrPage.Networks()[2], mainPage.Networks()[0]));

  // Elements: copied from a cell cursor, pasted only at a cell cursor, never over a range.
  Click(main->viewport(), CellPoint(main, 0, 0, 0));
  main->OnCommand(PvCopy);
  ASSERT_TRUE(clipboard_.block.has_value());
  ASSERT_EQ(std::string(clipboard_.block->begin() + 4, clipboard_.block->begin() + 21), "clipboard_ladunit");
  ASSERT_TRUE(sbrPage.SetSelection(0, 2, 0, 0));
  const std::vector<Network> kept = sbrPage.Networks();
  sbr->OnCommand(PvPaste);
  EXPECT_EQ(sbrPage.NetworkCount(), static_cast<int>(kept.size()));
  CellPoint(sbr, 4, 0, 0);
  const int before = ElementCount(sbrPage, 4);
  sbr->OnCommand(PvPaste);
  EXPECT_EQ(ElementCount(sbrPage, 4), before + 1);

  // A broken block pastes nothing and says nothing.
  clipboard_.block = std::vector<uint8_t>{5, 0, 0, 0, 'c', 'l', 'i', 'p', 0};
  sink_.codes.clear();
  sbr->OnCommand(PvPaste);
  EXPECT_TRUE(sink_.codes.empty());

  // Cut of a range moves it to the clipboard as text in text mode.
  ASSERT_TRUE(sbrPage.SetSelection(0, 1, 0, 0));
  const int networks = sbrPage.NetworkCount();
  sbr->OnCommand(PvTextCut);
  EXPECT_EQ(sbrPage.NetworkCount(), networks - 1);
  ASSERT_TRUE(clipboard_.text.has_value());
  EXPECT_FALSE(clipboard_.text->empty());
  ASSERT_TRUE(sbrPage.SetSelection(0, 1, 0, 0));
  sbr->OnCommand(PvTextPaste);
  EXPECT_EQ(sbrPage.NetworkCount(), networks);
}

TEST_F(ProgramEditorViewTest, ClipboardThatRefusesLeavesTheCutNetworksInPlace) {
  CProgramEditorMainView* view = View(kMain);
  ProgramPage& page = Page(kMain);
  ASSERT_TRUE(page.SetSelection(0, 2, 0, 0));
  const int count = page.NetworkCount();
  clipboard_.open_fails = true;
  view->OnCommand(PvCut);
  EXPECT_EQ(page.NetworkCount(), count);
  view->OnCommand(PvTextCut);
  EXPECT_EQ(page.NetworkCount(), count);
  clipboard_.open_fails = false;
  view->OnCommand(PvCut);
  EXPECT_EQ(page.NetworkCount(), count - 2);
}

TEST_F(ProgramEditorViewTest, LockedSubroutineShowsGreyUntilThePasswordIsEntered) {
  const uint32_t word = 42u | kProgramUnitPasswordSetFlag | 2u << 28;
  SetProgramUnitPasswordWord(env_.PasswordTable1, 0, word);
  frame_->MainPane()->SelectTab(kSbr0);
  CProgramEditorMainView* view = View(kSbr0);
  view->UpdateScrollBars();
  Rect content;
  view->GetContentRect(content);
  EXPECT_EQ(content, (Rect{0, 0, 200, 200}));
  QImage shot = view->viewport()->grab().toImage();
  EXPECT_EQ(shot.pixelColor(50, 50), view->palette().color(QPalette::Button));

  // Nothing of the page is offered or changed while locked.
  view->setFocus();
  CommandStatus status;
  view->UpdateCommand(PvInsertNetwork, status);
  EXPECT_FALSE(status.Enabled);
  view->UpdateCommand(PvShowContext, status);
  EXPECT_TRUE(status.Enabled);
  const int count = Page(kSbr0).NetworkCount();
  view->OnCommand(PvInsertNetwork);
  EXPECT_EQ(Page(kSbr0).NetworkCount(), count);

  // A wrong password keeps it locked; the right one shows the page.
  uint32_t typed = 41u | kProgramUnitPasswordSetFlag | 2u << 28;
  ProgramPasswordDialogs dialogs;
  dialogs.RunInput = [&](QWidget*, AppEnvironment& env, int key) {
    EXPECT_EQ(key, kSbr0);
    SetProgramUnitPasswordWord(env.PasswordTable2, key & 0xFFFF, typed);
    return true;
  };
  InstallProgramPasswordDialogs(dialogs);
  view->OnCommand(PvShowContext);
  EXPECT_TRUE(view->IsLocked());
  typed = word;
  view->OnCommand(PvShowContext);
  EXPECT_FALSE(view->IsLocked());
  view->GetContentRect(content);
  EXPECT_GT(content.bottom, 200);
  shot = view->viewport()->grab().toImage();
  EXPECT_EQ(shot.pixelColor(100, 100), QColor(Qt::white));

  // Closing the editor locks it again.
  frame_->close();
  EXPECT_TRUE(IsProgramUnitLocked(env_, kSbr0));
}

TEST_F(ProgramEditorViewTest, PasswordProtectedOnSubroutinesOnlyAndAlsoOnline) {
  std::vector<int> asked;
  ProgramPasswordDialogs dialogs;
  dialogs.RunProtect = [&](QWidget*, AppEnvironment&, int key) {
    asked.push_back(key);
    return true;
  };
  InstallProgramPasswordDialogs(dialogs);
  CommandStatus status;
  View(kMain)->UpdateCommand(PvShowContext, status);
  EXPECT_FALSE(status.Enabled);  // not locked
  View(kMain)->OnCommand(PvPasswordProtected);
  EXPECT_TRUE(asked.empty());

  env_.CommState = CommOnline;
  View(kSbr0)->OnCommand(PvPasswordProtected);
  EXPECT_EQ(asked, std::vector<int>{kSbr0});
}

TEST_F(ProgramEditorViewTest, UpdateCodesReachTheActiveView) {
  CProgramEditorMainView* view = View(kMain);
  ProgramPage& page = Page(kMain);
  CellPoint(view, 1, 0, 0);
  const int before = ElementCount(page, 1);

  // Online: the instruction text changes nothing but the focus moves to the view.
  env_.CommState = CommOnline;
  frame_->InsertInstructionText(L"LD I0.0");
  EXPECT_EQ(ElementCount(page, 1), before);
  EXPECT_TRUE(view->HasFocusWithin());
  env_.CommState = CommOffline;
  frame_->InsertInstructionText(L"LD I0.0");
  EXPECT_EQ(ElementCount(page, 1), before + 1);

  // A location of this page selects; kind 1 is the whole network.
  ProgramLocation location{1, kMain, 2, 0, 0};
  const ProgramLocation* pointer = &location;
  frame_->OnPaneRequest(UpdLadLocate, reinterpret_cast<intptr_t>(&pointer));
  EXPECT_EQ(page.ViewState.SelectionFirst, 2);
  EXPECT_EQ(page.ViewState.SelectionLast, 3);
  location.PageKey = kSbr0;
  location.Network = 0;
  frame_->OnPaneRequest(UpdLadLocate, reinterpret_cast<intptr_t>(&pointer));
  EXPECT_EQ(page.ViewState.SelectionFirst, 2);

  // F7 asks for the instruction input box with the library's coil text.
  CellPoint(view, 0, 0, 0);
  view->setFocus();
  Type(view, Qt::Key_F7);
  ASSERT_EQ(sink_.inputTexts.size(), 1u);
  EXPECT_EQ(sink_.inputTexts[0], Current().Instructions.LadFxNameCoil);

  // The online repaint tells the monitor what the view reads; an ordinary repaint does not.
  env_.CommState = CommOnline;
  auto debugRequest = [this] {
    uint32_t tick = 0;
    Current().Online.Update([&](OnlineCacheData& data) { tick = data.Debug.RequestTick(); });
    return tick;
  };
  frame_->OnPaneRequest(UpdLadRedraw, 0);
  EXPECT_EQ(debugRequest(), 0u);
  frame_->OnPaneRequest(UpdLadOnline, 0);
  EXPECT_NE(debugRequest(), 0u);
  bool flag = true;
  Current().Online.Update([&](OnlineCacheData& data) { flag = data.RequestFlag; });
  EXPECT_FALSE(flag);
  env_.CommState = CommOffline;

  // Zoom: the configuration and the ladder metrics of every view.
  view->OnCommand(PvZoom75);
  EXPECT_EQ(env_.Config.ViewZoom, 75);
  EXPECT_EQ(GetLadderMetrics().CellWidth, 102 * 75 / 100);
  CommandStatus status;
  View(kSbr0)->UpdateCommand(PvZoom75, status);
  EXPECT_TRUE(status.Checked);
}

TEST_F(ProgramEditorViewTest, FunctionKeysMenuEntriesAndLeavingTheInstructionEditor) {
  CProgramEditorMainView* view = View(kMain);
  ProgramPage& page = Page(kMain);
  view->setFocus();
  CellPoint(view, 0, 0, 0);

  // F10 opens the coil choice list at the cursor; Esc closes it without inserting.
  const int before = ElementCount(page, 0);
  Type(view, Qt::Key_F10);
  ASSERT_TRUE(view->ElementList().isVisible());
  EXPECT_EQ(view->ElementList().item(0)->text().left(2), QStringLiteral("-("));
  Type(&view->ElementList(), Qt::Key_Escape);
  EXPECT_FALSE(view->ElementList().isVisible());
  EXPECT_EQ(ElementCount(page, 0), before);

  // Leaving the instruction editor (a click elsewhere) inserts what was typed, like Enter.
  view->setFocus();
  Type(view, Qt::Key_L, QStringLiteral("L"));
  CInplaceEdit& editor = view->InstructionEditor();
  ASSERT_TRUE(editor.isVisible());
  editor.setText(QStringLiteral("LD I0.1"));
  view->setFocus();
  QApplication::processEvents();
  EXPECT_FALSE(editor.isVisible());
  EXPECT_EQ(ElementCount(page, 0), before + 1);

  // The MITSUBISHI style entries do what their keys do: "&Vert Line\tV" as V, "&Horz Line\tH" as H.
  for (const auto& [key, command] : {std::pair{Qt::Key_V, PvVertLineKey}, std::pair{Qt::Key_H, PvHorzLineKey}}) {
    CellPoint(view, 0, 1, 0);
    const std::vector<Network> start = page.Networks();
    view->setFocus();
    Type(view, key, QString(QChar(key)).toLower());
    const std::vector<LadElement> byKey = page.Networks()[0].Grid.Elements;
    ASSERT_NE(byKey.size(), start[0].Grid.Elements.size()) << command;
    view->OnCommand(PvUndo);
    ASSERT_EQ(page.Networks()[0].Grid.Elements.size(), start[0].Grid.Elements.size());
    CellPoint(view, 0, 1, 0);
    view->OnCommand(command);
    EXPECT_EQ(page.Networks()[0].Grid.Elements.size(), byKey.size()) << command;
  }
}

TEST_F(ProgramEditorViewTest, RefusedDragShowsTheRefusedCursorAndChangesNothing) {
  CProgramEditorMainView* view = View(kMain);
  ProgramPage& page = Page(kMain);
  CellPoint(view, 1, 0, 0);
  view->InsertInstructionText(L"LD I0.0");
  CellPoint(view, 1, 1, 0);
  view->InsertInstructionText(L"LD I0.1");
  const std::vector<LadElement> elements = page.Networks()[1].Grid.Elements;
  const size_t steps = page.UndoLog.Steps.size();

  // Pressed on the selected first contact and dragged onto the second: refused.
  const QPoint first = CellPoint(view, 1, 0, 0);
  Click(view->viewport(), first);
  const QPoint second = first + QPoint(GetLadderMetrics().CellWidth, 0);
  QMouseEvent press(QEvent::MouseButtonPress, first, view->viewport()->mapToGlobal(first), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view->viewport(), &press);
  ASSERT_EQ(page.ViewState.MouseState, kMouseDownOnSelection);
  for (QPoint p : {first + QPoint(1, 0), second}) {
    QMouseEvent move(QEvent::MouseMove, p, view->viewport()->mapToGlobal(p), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
  }
  ASSERT_EQ(page.ViewState.MouseState, kMouseDragging);
  EXPECT_FALSE(page.CanMoveSelectedElements());
  const QImage refused = view->viewport()->cursor().pixmap().toImage();
  ASSERT_FALSE(refused.isNull());
  EXPECT_EQ(refused.pixelColor(25, 25).red(), 255);  // the red cross of the refused move
  QMouseEvent release(QEvent::MouseButtonRelease, second, view->viewport()->mapToGlobal(second), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(view->viewport(), &release);
  EXPECT_EQ(page.ViewState.MouseState, kMouseIdle);
  EXPECT_EQ(page.UndoLog.Steps.size(), steps);
  ASSERT_EQ(page.Networks()[1].Grid.Elements.size(), elements.size());
  for (size_t i = 0; i < elements.size(); ++i) EXPECT_EQ(page.Networks()[1].Grid.Elements[i].Column, elements[i].Column);
}

TEST_F(ProgramEditorViewTest, CutWithTheCommentEditorShownCutsItsText) {
  CProgramEditorMainView* view = View(kMain);
  ProgramPage& page = Page(kMain);
  page.ViewState.CurrentNetwork = 0;
  const QPoint comment(100, 17 + 17 + 5 - view->PageRectInView().top);
  Click(view->viewport(), comment);
  ASSERT_TRUE(view->CommentEditor().isVisible());
  ASSERT_TRUE(page.IsAtCommentLevel());
  const int count = page.NetworkCount();
  view->CommentEditor().setPlainText(QStringLiteral("cut me"));
  view->CommentEditor().selectAll();
  ASSERT_TRUE(view->OnCommand(PvCut));
  EXPECT_EQ(view->CommentEditor().toPlainText(), QString());
  EXPECT_EQ(page.NetworkCount(), count);
  EXPECT_FALSE(clipboard_.block.has_value());
}

TEST_F(ProgramEditorViewTest, RebuildKeepsTheActivePageOrFallsBackToTheFirstTab) {
  frame_->MainPane()->SelectTab(kSbr0);
  ASSERT_EQ(frame_->GetActiveBlockId(), kSbr0);
  // A page added before the active one: its tab stays active.
  ASSERT_NE(Program().InterruptTable.AddFirstFreeBlockPage(), -1);
  frame_->OnPaneRequest(UpdPageTabsRebuild, 0);
  EXPECT_EQ(frame_->MainPane()->Tabs()->count(), 3);
  EXPECT_EQ(frame_->MainPane()->Tabs()->currentIndex(), 2);
  EXPECT_EQ(frame_->GetActiveBlockId(), kSbr0);
  // The active page deleted: the first tab becomes active.
  const int sbr1 = Program().AddSubroutine();
  ASSERT_NE(sbr1, -1);
  frame_->OnPaneRequest(UpdPageTabsRebuild, 0);
  frame_->MainPane()->SelectTab(sbr1);
  ASSERT_EQ(frame_->GetActiveBlockId(), sbr1);
  ASSERT_NE(Program().RemoveSubroutine(sbr1), -1);
  frame_->OnPaneRequest(UpdPageTabsRebuild, 0);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(frame_->MainPane()->Tabs()->currentIndex(), 0);
  EXPECT_EQ(frame_->GetActiveBlockId(), kMain);
  EXPECT_EQ(View(sbr1), nullptr);
}

TEST_F(ProgramEditorViewTest, EmptyPagesStatementListInsertsAndProjectsWithoutPages) {
  // A page without networks spans only the header band.
  ProgramPage& sbr = Page(kSbr0);
  while (sbr.NetworkCount() > 0) {
    ASSERT_TRUE(sbr.SetSelection(0, sbr.NetworkCount(), 0, 0));
    ASSERT_TRUE(sbr.DeleteNetworks());
  }
  Rect content;
  View(kSbr0)->GetContentRect(content);
  EXPECT_EQ(content, (Rect{0, 0, 0, 17}));

  // An instruction sent to a statement-list page changes and reports nothing, but takes the focus.
  CompileReport report;
  SwitchProgramView(Program(), report, kViewModeStl);
  CProgramEditorMainView* view = View(kMain);
  ProgramPage& page = Page(kMain);
  ASSERT_EQ(page.ViewState.ViewMode, kViewModeStl);
  ASSERT_TRUE(page.SetSelection(0, 0, 0, 0));
  const size_t steps = page.UndoLog.Steps.size();
  sink_.codes.clear();
  frame_->InsertInstructionText(L"LD I0.0");
  EXPECT_EQ(page.UndoLog.Steps.size(), steps);
  EXPECT_FALSE(sink_.Saw(UpdFrameCaption));
  EXPECT_TRUE(view->HasFocusWithin());

  // Block tables without pages: no tabs, no active page, and updates and commands reach no view.
  Program().InterruptTable.Working.clear();
  Program().SubroutineTable.Working.clear();
  frame_->OnPaneRequest(UpdPageTabsRebuild, 0);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(frame_->MainPane()->Tabs()->count(), 0);
  EXPECT_EQ(frame_->GetActiveBlockId(), -1);
  frame_->OnPaneRequest(UpdLadRedraw, 0);
  frame_->InsertInstructionText(L"LD I0.0");
  EXPECT_FALSE(frame_->OnCommand(PvInsertNetwork));
}

TEST_F(ProgramEditorViewTest, PointerFollowsTheToolAsItMovesAndIsTheArrowOnline) {
  CProgramEditorMainView* view = View(kMain);
  QWidget* port = view->viewport();
  auto move = [port](QPoint p) {
    QMouseEvent e(QEvent::MouseMove, p, port->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(port, &e);
  };
  view->OnCommand(PvToolContact);
  const QPoint cell = CellPoint(view, 1, 0, 0);
  Click(port, cell);
  ASSERT_TRUE(view->ElementList().isVisible());
  move(cell + QPoint(0, 1));
  EXPECT_FALSE(port->testAttribute(Qt::WA_SetCursor));  // the arrow while the choice list is open
  Type(&view->ElementList(), Qt::Key_Escape);
  ASSERT_FALSE(view->ElementList().isVisible());
  // The next move shows the tool again, without a button held.
  move(cell);
  EXPECT_TRUE(port->testAttribute(Qt::WA_SetCursor));
  env_.CommState = CommOnline;
  move(cell + QPoint(1, 0));
  EXPECT_FALSE(port->testAttribute(Qt::WA_SetCursor));
  env_.CommState = CommOffline;
}

}  // namespace
}  // namespace Brenno
