// The whole workbench started offscreen on a copy of the program directory the build lays out
// (the shipped catalog and configuration), driven the way a user drives it: menu commands triggered, keys
// and characters sent to the focused view, cells clicked, file dialogs and message boxes
// answered from a script.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "core/link/app_environment.h"
#include "core/program/network.h"
#include "core/program/page_painter.h"
#include "core/program/program_block.h"
#include "core/program/program_page.h"
#include "core/program/stl_line.h"
#include "core/project/project.h"
#include "tests/support/test_paths.h"
#include "tests/support/when_modal.h"
#include "tests/ui/shell/scripted_message_facade.h"
#include "ui/shell/brenno_lad_app.h"
#include "ui/shell/main_frame.h"
#include "ui/views/program_editor/program_editor_frm.h"
#include "ui/views/program_editor/program_editor_main_view.h"
#include "ui/widgets/extend_list_ctrl.h"

namespace Brenno::e2e {

namespace fs = std::filesystem;
using testsupport::WhenModal;

class E2eWorkbench : public ::testing::Test {
 protected:
  // The type the shipped configuration selects.
  static constexpr const char* kShippedType = "CPU-Feldrin-CM3";

  E2eWorkbench() {
    // The program directory as the build lays it out: the shipped catalog with its libraries and
    // the shipped configuration.
    const fs::path dist = fs::path(testsupport::BinaryDir()) / "dist";
    EXPECT_TRUE(fs::exists(dist / "Orvisto" / kShippedType)) << dist << " holds no " << kShippedType;
    fs::copy(dist / "Orvisto", fs::path(dir_.path()) / "Orvisto", fs::copy_options::recursive);
    fs::copy_file(dist / "Orvisto.xml", fs::path(dir_.path()) / "Orvisto.xml");
    app_.UseMessageFacade(&facade_);
  }
  ~E2eWorkbench() override { app_.ExitInstance(); }

  // Starts the workbench, shown and active.
  void Start() {
    ASSERT_TRUE(app_.InitInstance({QStringLiteral("orvisto")}, fs::path(dir_.path()).wstring()));
    frame_ = app_.MainFrame();
    ASSERT_NE(frame_, nullptr);
    frame_->activateWindow();
    QApplication::setActiveWindow(frame_);
    QApplication::processEvents();
  }

  AppEnvironment& Env() { return app_.Environment(); }
  Project& Current() { return Env().ProjectList.back(); }
  std::wstring File(const char* name) const { return (fs::path(dir_.path()) / name).wstring(); }
  fs::path TypeFolder() const { return fs::path(dir_.path()) / "Orvisto" / kShippedType; }

  // A menu or toolbar command as the user picks it: only when it is enabled now.
  bool Pick(int offset) {
    frame_->UpdateCommandStates();
    QAction* action = frame_->Command(offset);
    if (action == nullptr || !action->isEnabled()) return false;
    action->trigger();
    QApplication::processEvents();
    return true;
  }

  static void Key(QWidget* target, int key, const QString& text = QString(),
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
  }
  // One key per character.
  static void Type(QWidget* target, const QString& text) {
    for (QChar c : text) Key(target, c.toUpper().unicode(), QString(c));
  }
  static void Click(QWidget* target, QPoint at, bool doubleClick = false) {
    const QPointF local(at);
    const QPointF global(target->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
    if (doubleClick) {
      QMouseEvent dbl(QEvent::MouseButtonDblClick, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(target, &dbl);
      QMouseEvent up(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(target, &up);
    }
  }
  // A click in the middle of a cell of a table view (column counted without the row header).
  static void ClickGridCell(CExtendListCtrl& grid, int record, int column) {
    const Rect r = grid.GetSubItemRect(record, column + 1);
    grid.setFocus();
    Click(grid.viewport(), QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  }
  // A click on the cell, the characters (the first opens its edit, unless the click on the
  // focus cell opened it with the old text selected), Enter.
  static void TypeCell(CExtendListCtrl& grid, int record, int column, const QString& text) {
    ClickGridCell(grid, record, column);
    QString rest = text;
    if (grid.InplaceEdit().isHidden()) {
      Type(&grid, text.left(1));
      rest = text.mid(1);
    }
    ASSERT_TRUE(grid.InplaceEdit().isVisible()) << text.toStdString();
    Type(&grid.InplaceEdit(), rest);
    Key(&grid.InplaceEdit(), Qt::Key_Return, QStringLiteral("\r"));
  }
  // Runs the event loop until the condition holds or the time is up.
  static bool WaitFor(const std::function<bool()>& done, int milliseconds = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
      if (timer.elapsed() > milliseconds) return false;
      QApplication::processEvents(QEventLoop::AllEvents, 10);
      QThread::msleep(2);
    }
    return true;
  }

  // A command of the view's context menu as the user picks it: only when it is enabled now.
  static bool PickInContextMenu(CProgramEditorMainView* view, int offset) {
    CommandStatus status;
    if (!view->UpdateCommand(offset, status) || !status.Enabled) return false;
    QAction* action = view->ContextMenuForPage()->findChild<QAction*>(QStringLiteral("cmd%1").arg(offset));
    if (action == nullptr) return false;
    action->trigger();
    QApplication::processEvents();
    return true;
  }
  // The statement-list lines of one network of a page, "mnemonic operands" each.
  static std::vector<std::wstring> Lines(const ProgramPage& page, int network) {
    std::vector<std::wstring> lines;
    for (const StlLine& line : page.Networks()[static_cast<size_t>(network)].Lines) {
      std::wstring text = line.Mnemonic;
      for (size_t i = 0; i < line.Operands.size(); ++i) text += (i == 0 ? L" " : L", ") + line.Operands[i];
      lines.push_back(text);
    }
    return lines;
  }

  // The main program page of the current project.
  ProgramPage& MainPage() { return Current().Program.GetProgramPage(0); }
  // The page the view shows.
  ProgramPage& PageOf(CProgramEditorMainView* view) { return Current().Program.GetProgramPage(view->BlockKey()); }
  const std::vector<LadElement>& Elements(int network) {
    return MainPage().Networks()[static_cast<size_t>(network)].Grid.Elements;
  }
  // The ladder element of the main page standing with its origin in the cell, or null.
  const LadElement* ElementAt(int network, int column, int row) {
    for (const LadElement& element : Elements(network)) {
      if (element.InCell && element.Column == column && element.Row == row) return &element;
    }
    return nullptr;
  }
  // True when a message box said something holding `part`.
  bool Asked(const std::wstring& part) const {
    return std::any_of(facade_.asked.begin(), facade_.asked.end(),
                       [&](const auto& asked) { return asked.Text.find(part) != std::wstring::npos; });
  }

  // Opens the program editor from View > Component and gives the focus to the main page's view.
  CProgramEditorMainView* OpenProgramEditor() {
    EXPECT_TRUE(Pick(CmdViewProgramEditor));
    CProgramEditorFrm* editor = frame_->ProgramEditor();
    if (editor == nullptr) return nullptr;
    CProgramEditorMainView* view = editor->MainPane()->ActiveView();
    if (view != nullptr) view->setFocus();
    return view;
  }

  // Clicks the middle of a ladder cell of the main page.
  void ClickCell(CProgramEditorMainView* view, int network, int column, int row) {
    ProgramPage probe = MainPage();  // the cell's place, found without moving the user's cursor
    ASSERT_TRUE(probe.SetSelection(network, network, column, row));
    const Rect cell = GetCursorRect(probe);
    const Rect visible = view->PageRectInView();
    Click(view->viewport(), QPoint((cell.left + cell.right) / 2 - visible.left, (cell.top + cell.bottom) / 2 - visible.top));
    QApplication::processEvents();
  }

  // Brings the program box of a network into view with Page Down and Page Up as a user does, and
  // clicks into it, which opens the statement-list editor there.
  void ClickIntoStlNetwork(CProgramEditorMainView* view, int network) {
    ProgramPage& page = PageOf(view);
    page.ViewState.CurrentNetwork = network;
    const int top = kPageHeaderHeight + page.NetworksHeight(0, network);
    const Rect body = Network::BodyRect(page.Networks()[static_cast<size_t>(network)], page.ViewState, 0, top);
    for (int i = 0; i < 100; ++i) {
      const Rect visible = view->PageRectInView();
      if (body.top + 6 >= visible.bottom) {
        Key(view, Qt::Key_PageDown);
      } else if (body.top + 6 < visible.top) {
        Key(view, Qt::Key_PageUp);
      } else {
        break;
      }
    }
    const Rect visible = view->PageRectInView();
    Click(view->viewport(), QPoint(body.left + 30 - visible.left, body.top + 6 - visible.top));
    QApplication::processEvents();
  }

  // Types "LD <contact>" into the first cell of the network through the in-place instruction
  // editor (the first letter opens it) and "= <coil>" into the next cell likewise.
  void TypeRung(CProgramEditorMainView* view, int network, const QString& contact, const QString& coil) {
    ClickCell(view, network, 0, 0);
    Key(view, Qt::Key_L, QStringLiteral("L"));
    ASSERT_TRUE(view->InstructionEditor().isVisible());
    Type(&view->InstructionEditor(), QStringLiteral("D ") + contact);
    Key(&view->InstructionEditor(), Qt::Key_Return, QStringLiteral("\r"));
    ClickCell(view, network, 1, 0);
    Key(view, Qt::Key_Equal, QStringLiteral("="));
    ASSERT_TRUE(view->InstructionEditor().isVisible());
    Type(&view->InstructionEditor(), QStringLiteral(" ") + coil);
    Key(&view->InstructionEditor(), Qt::Key_Return, QStringLiteral("\r"));
  }

  testsupport::TempDir dir_;
  shelltest::ScriptedMessageFacade facade_{false};
  CBrennoLadApp app_;
  CMainFrame* frame_ = nullptr;
};

}  // namespace Brenno::e2e
