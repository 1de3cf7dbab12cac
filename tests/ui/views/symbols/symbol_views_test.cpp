// The symbol windows on screen (offscreen platform): the variable symbol tabs following the
// pages, typing into a cell and seeing a duplicate name drawn red, and the function symbol grid
// following page commands and the hub's rebuild code.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTabBar>

#include <algorithm>

#include "core/env/page_names.h"
#include "core/program/program_block.h"
#include "core/project/symbol_table.h"
#include "tests/ui/views/view_test_env.h"
#include "tests/ui/widgets/widget_test_events.h"
#include "ui/views/symbols/symbol_fun_view.h"
#include "ui/views/symbols/symbol_var_view.h"

namespace Brenno {
namespace {

using namespace testing_widgets;
using viewtest::CellCentre;
using viewtest::RedPixels;

using SymbolViewsTest = viewtest::ViewEnvTest;

TEST_F(SymbolViewsTest, VariableSymbolTabsFollowThePagesAndKeepSurvivingViews) {
  CSymbolVarFrm frame;
  frame_.Forward = [&](uint16_t code, intptr_t value) {
    if ((code >> 8) == 0x8D || (code >> 8) == 0x8E) frame.OnPaneRequest(code, value);
  };
  const SymbolTable& symbols = Current().Symbols;
  ASSERT_EQ(frame.Tabs()->count(), 1);
  CSymbolVarView* first = frame.ActiveView();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(frame.Tabs()->tabText(0).toStdWString(), DescribeTablePageKey(symbols, first->PageKey()));
  EXPECT_EQ(first->GetItemCount(), first->GetRecordCount());

  ShowActive(frame);
  first->setFocus();
  CommandStatus status;
  ASSERT_TRUE(frame.UpdateEditorCommand(kTableCmdInsertSymbolTable, status));
  ASSERT_TRUE(status.Enabled);
  ASSERT_TRUE(frame.OnEditorCommand(kTableCmdInsertSymbolTable));
  ASSERT_EQ(frame.Tabs()->count(), 2);
  CSymbolVarView* second = frame.ActiveView();
  ASSERT_NE(second, first);
  EXPECT_EQ(second->PageKey(), symbols.ListKeys().back());

  // Deleting the first page keeps the second page's view and activates it.
  frame.Tabs()->setCurrentIndex(0);
  first->setFocus();
  ASSERT_TRUE(frame.OnEditorCommand(kTableCmdDeleteSymbolTable));
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_EQ(frame.Tabs()->count(), 1);
  EXPECT_EQ(frame.ActiveView(), second);
  EXPECT_EQ(frame.ViewOf(second->PageKey()), second);

  // Renamed elsewhere: retitled on 0x8E01.
  Current().Symbols.GetWorkingPage(second->PageKey()).Name = L"Motors";
  frame.OnPaneRequest(UpdVarTablesRetitle, 0);
  EXPECT_EQ(frame.Tabs()->tabText(0).toStdWString().substr(0, 7), L"Motors ");
}

TEST_F(SymbolViewsTest, TypedNamesAreStoredAndADuplicateIsDrawnRed) {
  CSymbolVarFrm frame;
  frame.resize(600, 300);
  ShowActive(frame);
  CSymbolVarView* view = frame.ActiveView();
  ASSERT_NE(view, nullptr);
  view->setFocus();
  for (int record : {0, 1}) {
    Click(view->viewport(), CellCentre(*view, record, 1));
    Type(view, QStringLiteral("P"));  // opens the edit with just that character
    Type(&view->InplaceEdit(), QStringLiteral("ump"));
    Key(&view->InplaceEdit(), Qt::Key_Return, QStringLiteral("\r"));
  }
  EXPECT_EQ(GetSymbolEntryName(Current().Symbols, view->PageKey(), 0), L"Pump");
  EXPECT_EQ(GetSymbolEntryName(Current().Symbols, view->PageKey(), 1), L"Pump");
  EXPECT_TRUE(frame_.Routed(UpdLadRedraw, 0));
  view->RedrawNow();
  EXPECT_GT(RedPixels(view->viewport(), view->GetSubItemRect(0, 2)), 0);
  EXPECT_GT(RedPixels(view->viewport(), view->GetSubItemRect(1, 2)), 0);

  // Online the tables stay drawn but no editor opens.
  SetCommState(CommOnline);
  Click(view->viewport(), CellCentre(*view, 2, 1));
  Type(view, QStringLiteral("X"));
  EXPECT_TRUE(view->InplaceEdit().isHidden());
  EXPECT_GT(RedPixels(view->viewport(), view->GetSubItemRect(0, 2)), 0);
  SetCommState(CommOffline);
}

TEST_F(SymbolViewsTest, RowsAreFilledWithTabFromSymbolToComment) {
  CSymbolVarFrm frame;
  frame.resize(700, 300);
  ShowActive(frame);
  CSymbolVarView* view = frame.ActiveView();
  ASSERT_NE(view, nullptr);
  view->setFocus();
  Click(view->viewport(), CellCentre(*view, 0, 1));
  // Each cell: its first character goes to the grid (opening the editor or, for the type, the
  // list at the first type that begins with it), the rest to the editor, then Tab.
  const struct {
    const char* typed;
    bool choice;
  } cells[] = {{"Level", false}, {"VW0", false}, {"I", true}, {"tank level", false}, {"Pump", false}};
  for (const auto& cell : cells) {
    const QString typed = QString::fromLatin1(cell.typed);
    Type(view, typed.left(1));
    QWidget* editor = cell.choice ? static_cast<QWidget*>(&view->InplaceList()) : &view->InplaceEdit();
    ASSERT_TRUE(editor->isVisible()) << cell.typed;
    Type(editor, typed.mid(1));
    Key(editor, Qt::Key_Tab);
  }
  const SymbolTable& symbols = Current().Symbols;
  const int key = view->PageKey();
  EXPECT_EQ(GetSymbolEntryName(symbols, key, 0), L"Level");
  EXPECT_EQ(GetSymbolEntryAddress(symbols, key, 0), L"VW0");
  EXPECT_EQ(GridSymbolTypeNames()[static_cast<size_t>(GetSymbolEntryType(symbols, key, 0))], L"INT");
  EXPECT_EQ(GetSymbolEntryComment(symbols, key, 0), L"tank level");
  EXPECT_EQ(GetSymbolEntryName(symbols, key, 1), L"Pump");
  EXPECT_EQ(view->FocusCell(), (GridCell{1, 0, 0, 2}));
  EXPECT_EQ(GetSymbolEntry(symbols, key, 0).CheckFlags, 31);

  // Shift+Tab back to the comment and a new text there.
  Key(view, Qt::Key_Backtab, QString(), Qt::ShiftModifier);
  Key(view, Qt::Key_Backtab, QString(), Qt::ShiftModifier);
  EXPECT_EQ(view->FocusCell(), (GridCell{0, 0, 0, 4}));
  Type(view, QStringLiteral("x"));
  Key(&view->InplaceEdit(), Qt::Key_Return);
  EXPECT_EQ(GetSymbolEntryComment(symbols, key, 0), L"x");
  EXPECT_EQ(GetSymbolEntryName(symbols, key, 1), L"Pump");
}

TEST_F(SymbolViewsTest, AProgramUnitNameThatIsRefusedStaysTypedAndIsExplained) {
  CSymbolFunFrm frame;
  frame.resize(500, 300);
  ShowActive(frame);
  CSymbolFunView* view = frame.View();
  ProgramBlock& program = Current().Program;
  const int other = program.AddSubroutine();
  const int sbr = program.AddSubroutine();
  view->RebuildListRows();
  const int record = FunSymbolTable::BlockListIndexOfKey(program, sbr);
  const std::wstring name = program.GetBlockName(sbr);
  view->setFocus();
  for (const std::wstring& typed : {std::wstring(L"9 lives"), program.GetBlockName(other)}) {
    boxes_.Shown.clear();
    Click(view->viewport(), CellCentre(*view, record, 1));
    Click(view->viewport(), CellCentre(*view, record, 1));
    ASSERT_TRUE(view->InplaceEdit().isVisible());
    view->InplaceEdit().selectAll();
    Type(&view->InplaceEdit(), QString::fromStdWString(typed));
    Key(&view->InplaceEdit(), Qt::Key_Return);
    ASSERT_TRUE(view->InplaceEdit().isVisible());
    EXPECT_EQ(view->InplaceEdit().text().toStdWString(), typed);
    EXPECT_EQ(program.GetBlockName(sbr), name);
    QApplication::processEvents();
    ASSERT_EQ(boxes_.Shown.size(), 1u);
    EXPECT_EQ(boxes_.Shown[0], BlockNameRefusedMessage(typed, program.GetBlockAddress(sbr)));
    Key(&view->InplaceEdit(), Qt::Key_Escape);
  }

  // An address another unit holds is refused with its reason; the list closes.
  boxes_.Shown.clear();
  const std::vector<std::wstring> addresses = program.ListBlockAddressChoicesAt(record);
  const auto taken = std::find(addresses.begin(), addresses.end(), program.GetBlockAddress(other));
  ASSERT_NE(taken, addresses.end());
  Click(view->viewport(), CellCentre(*view, record, 2));
  ASSERT_TRUE(view->InplaceList().isVisible());
  view->InplaceList().setCurrentRow(static_cast<int>(taken - addresses.begin()),
                                    QItemSelectionModel::ClearAndSelect);
  Key(&view->InplaceList(), Qt::Key_Return);
  EXPECT_TRUE(view->InplaceList().isHidden());
  QApplication::processEvents();
  ASSERT_EQ(boxes_.Shown.size(), 1u);
  EXPECT_EQ(boxes_.Shown[0], BlockAddressTakenMessage(*taken));
  EXPECT_EQ(FunSymbolTable::BlockListIndexOfKey(program, sbr), record);
}

TEST_F(SymbolViewsTest, FunctionSymbolGridFollowsCommandsAndTheHub) {
  CSymbolFunFrm frame;
  frame.resize(500, 300);
  ShowActive(frame);
  CSymbolFunView* view = frame.View();
  const int count = view->GetItemCount();
  ASSERT_EQ(count, Current().Program.CountProgramBlocks());

  // Commands reach the view only while it has the focus.
  frame.setFocus();
  view->clearFocus();
  QApplication::processEvents();
  EXPECT_FALSE(frame.OnEditorCommand(kTableCmdInsertSubroutine));
  view->setFocus();
  ASSERT_TRUE(frame.OnEditorCommand(kTableCmdInsertSubroutine));
  EXPECT_EQ(view->GetItemCount(), count + 1);
  EXPECT_EQ(view->FocusCell().record, count);
  EXPECT_EQ(view->Selection(), (GridSelection{count, count + 1, 0, 1}));

  // A page added elsewhere shows after the hub's rebuild code.
  Current().Program.AddInterrupt();
  frame.OnPaneRequest(UpdFunSymbolsRebuild, 0);
  EXPECT_EQ(view->GetItemCount(), count + 2);

  // Copy puts the selected row's titles on the clipboard.
  CommandStatus status;
  ASSERT_TRUE(frame.UpdateEditorCommand(kTableCmdCopy, status));
  EXPECT_TRUE(status.Enabled);
  ASSERT_TRUE(frame.OnEditorCommand(kTableCmdCopy));
  ASSERT_TRUE(clipboard_.text.has_value());
  const ProgramBlock& program = Current().Program;
  const int added = view->Rows().KeyOfRecord(view->Selection().firstRecord);
  EXPECT_EQ(*clipboard_.text, program.GetBlockName(added) + L"\t" + program.GetBlockAddress(added) + L"\t" +
                                  program.GetBlockComment(added) + L"\r\n");
  status = {};
  ASSERT_TRUE(frame.UpdateEditorCommand(kTableCmdPaste, status));
  EXPECT_FALSE(status.Enabled);
}

TEST_F(SymbolViewsTest, EditCommandsActOnTheOpenEditInAnyState) {
  CSymbolFunFrm frame;
  frame.resize(500, 300);
  ShowActive(frame);
  CSymbolFunView* view = frame.View();
  view->setFocus();
  Click(view->viewport(), CellCentre(*view, 0, 3));
  Type(view, QStringLiteral("a"));
  Type(&view->InplaceEdit(), QStringLiteral("bc"));
  ASSERT_FALSE(view->InplaceEdit().isHidden());
  ASSERT_TRUE(IsGridViewFocused(view));
  SetCommState(CommOnline);  // the edit's own commands do not depend on the state
  CommandStatus status;
  ASSERT_TRUE(frame.UpdateEditorCommand(kTableCmdCut, status));
  EXPECT_TRUE(status.Enabled);
  ASSERT_TRUE(frame.OnEditorCommand(kTableCmdSelectAll));
  EXPECT_EQ(view->InplaceEdit().selectedText(), QStringLiteral("abc"));
  ASSERT_TRUE(frame.OnEditorCommand(kTableCmdCut));
  EXPECT_TRUE(view->InplaceEdit().text().isEmpty());
  SetCommState(CommOffline);
}

}  // namespace
}  // namespace Brenno
