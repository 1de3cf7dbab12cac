// What a new user meets while editing: nothing to undo on a page nobody touched, the views
// showing what a replace changed, Enter making a new statement-list line, choice lists ending
// when the focus goes elsewhere, and the keyboard going on in the instruction input box after a
// reference dialog.
#include <QDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>

#include "tests/ui/e2e/e2e_workbench.h"
#include "ui/shell/find_and_replace_dlg.h"
#include "ui/views/data_blocks/data_block_frm.h"
#include "ui/views/data_blocks/data_block_rows.h"
#include "ui/views/data_blocks/data_block_view.h"
#include "ui/views/status_chart/status_chart_pane.h"
#include "ui/views/status_chart/status_chart_view.h"
#include "ui/views/instruction/editor_input_dlg.h"
#include "ui/views/instruction/editor_instruction_dlg.h"

namespace Brenno::e2e {
namespace {

class E2eEditing : public E2eWorkbench {
 protected:
  // How many lines of the main page's first two networks are "= <operand>".
  int CoilsOf(const std::wstring& operand) {
    int count = 0;
    for (int network : {0, 1}) {
      for (const std::wstring& line : Lines(MainPage(), network)) count += line == L"= " + operand ? 1 : 0;
    }
    return count;
  }
  // True when the screen shows what the widget paints now: its window's pixels, after the
  // pending paints, equal a fresh rendering of the widget.
  static bool ShowsCurrentState(QWidget* widget) {
    QApplication::processEvents();
    QWidget* window = widget->window();
    const QPoint at = widget->mapTo(window, QPoint(0, 0));
    const QImage screen = QGuiApplication::primaryScreen()
                              ->grabWindow(window->winId(), at.x(), at.y(), widget->width(), widget->height())
                              .toImage()
                              .convertToFormat(QImage::Format_RGB32);
    const QImage fresh = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    return !screen.isNull() && screen == fresh;
  }
};

TEST_F(E2eEditing, PagesAsCreatedOrOpenedHaveNothingToUndo) {
  Start();
  CProgramEditorMainView* view = OpenProgramEditor();
  ASSERT_NE(view, nullptr);
  const std::vector<Network> created = MainPage().Networks();
  ASSERT_FALSE(created.empty());

  // A click in the main program of a new project, then Edit > Undo: nothing to undo.
  ClickCell(view, 0, 0, 0);
  EXPECT_FALSE(Pick(PvUndo));
  ASSERT_EQ(MainPage().NetworkCount(), static_cast<int>(created.size()));

  // Two rungs typed, then undone one step after the other: the page is back as it was created,
  // and Undo is off again.
  TypeRung(view, 0, QStringLiteral("I0.3"), QStringLiteral("Q0.3"));
  TypeRung(view, 1, QStringLiteral("M0.0"), QStringLiteral("Q1.7"));
  ASSERT_NE(MainPage().Networks(), created);
  int undone = 0;
  while (Pick(PvUndo)) ++undone;
  EXPECT_EQ(undone, 4);
  EXPECT_EQ(MainPage().Networks(), created);
  EXPECT_TRUE(Pick(PvRedo));

  // A subroutine inserted from the editor's context menu: its page has nothing to undo either.
  ASSERT_TRUE(PickInContextMenu(view, PvInsertSubroutine));
  CProgramEditorMainView* sub = frame_->ProgramEditor()->MainPane()->ActiveView();
  ASSERT_NE(sub, nullptr);
  ASSERT_NE(sub->BlockKey(), 0);
  sub->setFocus();
  const ProgramPage& subPage = Current().Program.GetProgramPage(sub->BlockKey());
  EXPECT_FALSE(subPage.Networks().empty());
  EXPECT_TRUE(subPage.UndoLog.Steps.empty());
  EXPECT_FALSE(Pick(PvUndo));

  // Saved and opened again: the opened pages start without history.
  facade_.chosenPath = File("undo.lqw");
  ASSERT_TRUE(Pick(CmdFileSaveAs));
  ASSERT_TRUE(Pick(CmdFileOpen));
  view = frame_->ProgramEditor()->MainPane()->ActiveView();
  ASSERT_NE(view, nullptr);
  view->setFocus();
  EXPECT_FALSE(Pick(PvUndo));
  EXPECT_FALSE(MainPage().Networks()[0].Grid.Elements.empty());
}

TEST_F(E2eEditing, ReplaceShowsTheChangedPageAtOnce) {
  Start();
  CProgramEditorMainView* view = OpenProgramEditor();
  ASSERT_NE(view, nullptr);
  TypeRung(view, 0, QStringLiteral("I0.3"), QStringLiteral("Q0.3"));
  TypeRung(view, 1, QStringLiteral("I0.4"), QStringLiteral("Q0.3"));
  ASSERT_TRUE(Pick(CmdViewStl));
  view = frame_->ProgramEditor()->MainPane()->ActiveView();
  view->setFocus();
  ASSERT_TRUE(ShowsCurrentState(view->viewport()));

  // Edit > Find And Replace: Q0.3 by Q1.7, one hit replaced; the editor shows it at once.
  ASSERT_TRUE(Pick(PvFindReplace));
  CFindAndReplaceDlg* find = frame_->FindReplaceDialog();
  ASSERT_TRUE(find->isVisible());
  Type(find->SearchEdit(), QStringLiteral("Q0.3"));
  ASSERT_EQ(find->ResultList()->topLevelItemCount(), 2);
  Type(find->ReplaceEdit(), QStringLiteral("Q1.7"));
  find->UpdateButtons();
  ASSERT_TRUE(find->ReplaceButton()->isEnabled());
  find->ReplaceButton()->click();
  ASSERT_EQ(CoilsOf(L"Q1.7"), 1);
  EXPECT_TRUE(ShowsCurrentState(view->viewport()));

  // Next moves to the other hit: the cursor shows there; Replace All likewise.
  find->NextButton()->click();
  EXPECT_TRUE(ShowsCurrentState(view->viewport()));
  find->ReplaceAllButton()->click();
  EXPECT_EQ(CoilsOf(L"Q1.7"), 2);
  EXPECT_TRUE(ShowsCurrentState(view->viewport()));
}

TEST_F(E2eEditing, EnterStartsANewStatementListLine) {
  Start();
  CProgramEditorMainView* view = OpenProgramEditor();
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(Pick(CmdViewStl));
  view = frame_->ProgramEditor()->MainPane()->ActiveView();
  view->setFocus();

  // Return, Enter on the keypad, Shift+Return, and the line feed key (what a typed "\n" sends).
  struct NewLineKey {
    int key;
    QString text;
    Qt::KeyboardModifiers modifiers;
  };
  const std::vector<NewLineKey> keys{{Qt::Key_Return, QStringLiteral("\r"), Qt::NoModifier},
                                     {Qt::Key_Enter, QStringLiteral("\r"), Qt::KeypadModifier},
                                     {Qt::Key_Return, QStringLiteral("\r"), Qt::ShiftModifier},
                                     {0x0a, QStringLiteral("\n"), Qt::NoModifier}};
  for (size_t i = 0; i < keys.size(); ++i) {
    const int network = static_cast<int>(i);
    ClickIntoStlNetwork(view, network);
    ASSERT_TRUE(view->StlEditor().isVisible()) << i;
    Type(&view->StlEditor(), QStringLiteral("LD I0.3"));
    Key(&view->StlEditor(), keys[i].key, keys[i].text, keys[i].modifiers);
    EXPECT_TRUE(view->StlEditor().isVisible()) << i;
    EXPECT_EQ(view->StlEditor().LineCount(), 2) << i;
    Type(&view->StlEditor(), QStringLiteral("= Q0.3"));
    // Leaving the editor (a click on the page header) applies the text.
    Click(view->viewport(), QPoint(100, 3));
    QApplication::processEvents();
    EXPECT_FALSE(view->StlEditor().isVisible()) << i;
    EXPECT_EQ(Lines(MainPage(), network), (std::vector<std::wstring>{L"LD I0.3", L"= Q0.3"})) << i;
  }
}

TEST_F(E2eEditing, InputBoxKeepsTheKeyboardAfterTheInstructionDialog) {
  Start();
  CProgramEditorMainView* view = OpenProgramEditor();
  ASSERT_NE(view, nullptr);
  ClickCell(view, 0, 0, 0);
  Key(view, Qt::Key_L, QStringLiteral("L"));
  Type(&view->InstructionEditor(), QStringLiteral("D I0.3"));
  Key(&view->InstructionEditor(), Qt::Key_Return, QStringLiteral("\r"));
  const size_t contactOnly = MainPage().Networks()[0].Grid.Elements.size();
  ASSERT_GT(contactOnly, 0u);

  // Beside the contact, F8 opens the input box empty; the user types a box instruction's name
  // and asks for the instruction dialog with Reference, fills in the operands there and confirms.
  ClickCell(view, 0, 1, 0);
  Key(view, Qt::Key_F8);
  CEditorInputDlg* box = frame_->InstructionInputBox();
  ASSERT_TRUE(box->isVisible());
  Type(box->Edit(), QStringLiteral("TON"));
  WhenModal([](QDialog& dialog) {
    auto* instruction = qobject_cast<CEditorInstructionDlg*>(&dialog);
    ASSERT_NE(instruction, nullptr);
    instruction->OperandEdit(0)->setText(QStringLiteral("T37"));
    instruction->OperandEdit(1)->setText(QStringLiteral("100"));
    dialog.accept();
  });
  box->ReferenceButton()->click();
  QApplication::processEvents();
  EXPECT_TRUE(box->IsValid()) << box->Edit()->text().toStdString();

  // Enter, typed where the keyboard is now, sends the instruction to the editor.
  QWidget* keyboard = QApplication::focusWidget();
  ASSERT_EQ(keyboard, box->Edit());
  Key(keyboard, Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_FALSE(box->isVisible());
  EXPECT_GT(MainPage().Networks()[0].Grid.Elements.size(), contactOnly);
}

// The data type lists of the status chart and of a data block end, taking the choice, when the
// user clicks elsewhere; also when they were opened while the main window was not the active one
// (a closed dialog leaves no window active on a desktop without window manager).
TEST_F(E2eEditing, ChoiceListsEndWhenTheFocusGoesElsewhere) {
  Start();
  CProgramEditorMainView* program = OpenProgramEditor();
  ASSERT_NE(program, nullptr);
  ASSERT_TRUE(Pick(CmdViewDataBlock));
  auto* blocks = dynamic_cast<CDataBlockFrm*>(frame_->ChildFrame(ChildFrameKind::DataBlocks));
  ASSERT_NE(blocks, nullptr);
  struct Table {
    CExtendListCtrl* grid;
    int address;
    int type;
  };
  const Table tables[] = {{frame_->StatusChartPane()->ActiveView(), 0, 1},
                          {blocks->ActiveView(), DataBlockRows::kColumnAddress, DataBlockRows::kColumnType}};
  for (const Table& t : tables) {
    ASSERT_NE(t.grid, nullptr);
    TypeCell(*t.grid, 0, t.address, QStringLiteral("VW0"));
    for (const bool active : {true, false}) {
      SCOPED_TRACE(t.grid->metaObject()->className() + std::string(active ? " active" : " inactive"));
      ClickGridCell(*t.grid, 1, t.address);
      if (!active) {
        // A dialog of the workbench, closed with OK.
        QDialog dialog(frame_);
        WhenModal([](QDialog& shown) { shown.accept(); });
        dialog.exec();
        QApplication::processEvents();
        ASSERT_FALSE(frame_->isActiveWindow());
      }
      // One click on the type cell opens its list.
      ClickGridCell(*t.grid, 0, t.type);
      QApplication::processEvents();
      CExtendInplaceList& list = t.grid->InplaceList();
      ASSERT_TRUE(list.isVisible());
      const int chosen = (list.SelectedIndex() + 1) % list.count();
      list.setCurrentRow(chosen);
      // A click into the program editor.
      Click(program->viewport(), QPoint(300, 200));
      QApplication::processEvents();
      EXPECT_FALSE(list.isVisible());
      EXPECT_EQ(t.grid->GetCellChoice(0, 0, 0, t.type), chosen);
    }
  }
}

}  // namespace
}  // namespace Brenno::e2e
