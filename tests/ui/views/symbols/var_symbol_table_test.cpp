// The global symbol rows of one page over a fresh TypeA project: validity shown by colour and
// check mark, cell edits, the clipboard rows, row and page commands, the offline rule, and the
// tab plan of the symbol window.
#include <gtest/gtest.h>

#include "core/project/symbol_table.h"
#include "tests/ui/views/view_test_env.h"
#include "ui/views/symbols/page_tab_plan.h"
#include "ui/views/symbols/var_symbol_table.h"

namespace Brenno {
namespace {

class VarSymbolTableTest : public viewtest::ViewEnvTest {
 protected:
  void SetUp() override {
    ViewEnvTest::SetUp();
    rows.SetPageKey(Current().Symbols.ListKeys().front());
  }
  std::wstring Cell(int record, int column) { return rows.GetCellContent(record, 0, 0, column).Text; }
  bool Checked(int record) { return rows.GetCellContent(record, 0, 0, 0).Image == kGridImageCheck; }
  bool Red(int record, int column) { return rows.GetCellColor(record, 0, 0, column, 17) == GridRed(); }
  void Fill(int record, const std::wstring& name, const std::wstring& address, int type) {
    ASSERT_TRUE(rows.SetCellText(record, 0, 0, 1, name) || Cell(record, 1) == name);
    ASSERT_TRUE(rows.SetCellText(record, 0, 0, 2, address) || Cell(record, 2) == address);
    rows.SetCellChoice(record, 0, 0, 3, type);
  }
  VarSymbolTable rows;
};

TEST_F(VarSymbolTableTest, ValidityIsShownByColourAndCheckMark) {
  ASSERT_GE(rows.GetRecordCount(), 3);
  Fill(0, L"Start", L"I0.0", 0);
  EXPECT_TRUE(Checked(0));
  EXPECT_FALSE(Red(0, 1) || Red(0, 2) || Red(0, 3));
  EXPECT_EQ(rows.GetCellColor(0, 0, 0, 4, 17), GridGreen());

  // The same name twice: both names red, both check marks gone; correcting one restores both.
  Fill(1, L"Start", L"I0.1", 0);
  EXPECT_TRUE(Red(0, 1) && Red(1, 1));
  EXPECT_FALSE(Checked(0) || Checked(1));
  EXPECT_FALSE(Red(1, 2));
  ASSERT_TRUE(rows.SetCellText(1, 0, 0, 1, L"Stop"));
  EXPECT_TRUE(Checked(0) && Checked(1));

  // A word address under BOOL is red until the type fits; the valid text is normalised.
  Fill(2, L"Level", L"mw02", 0);
  EXPECT_TRUE(Red(2, 2));
  EXPECT_FALSE(Checked(2));
  ASSERT_TRUE(rows.SetCellChoice(2, 0, 0, 3, 2));
  EXPECT_EQ(Cell(2, 3), L"WORD");
  EXPECT_EQ(Cell(2, 2), L"MW2");
  EXPECT_TRUE(Checked(2));
  EXPECT_EQ(rows.GetCellChoice(2, 0, 0, 3), 2);
  EXPECT_EQ(rows.GetCellChoices(2, 0, 0, 3).size(), 11u);
  EXPECT_EQ(rows.GetCellChoices(2, 0, 0, 3).back(), L"REAL");
  // Rows beyond the page show nothing and never throw.
  EXPECT_EQ(rows.GetCellContent(rows.GetRecordCount(), 0, 0, 1), GridCellContent{});
}

TEST_F(VarSymbolTableTest, EditsAreAnnouncedOnlyWhenSomethingChanged) {
  EXPECT_TRUE(rows.SetCellText(0, 0, 0, 4, L"motor on"));
  EXPECT_TRUE(frame_.Routed(UpdLadRedraw, 0));
  frame_.Calls.clear();
  EXPECT_FALSE(rows.SetCellText(0, 0, 0, 4, L"motor on"));
  EXPECT_FALSE(rows.SetCellChoice(0, 0, 0, 3, rows.GetCellChoice(0, 0, 0, 3)));
  EXPECT_FALSE(rows.SetCellChoice(0, 0, 0, 3, -1));
  EXPECT_FALSE(rows.SetCellText(0, 0, 0, 0, L"x"));
  EXPECT_TRUE(frame_.Calls.empty());
  EXPECT_EQ(rows.GetCellEditText(0, 0, 0, 4), L"motor on");
}

TEST_F(VarSymbolTableTest, CutCopyAndPasteMoveRowsAsText) {
  Fill(0, L"Start", L"I0.0", 0);
  Fill(1, L"Level", L"MW2", 2);
  ASSERT_TRUE(rows.SetCellText(1, 0, 0, 4, L"tank"));
  const int count = rows.GetRecordCount();
  ASSERT_TRUE(rows.Copy(viewtest::CursorOn(0, 1, 0, 2)));
  EXPECT_EQ(clipboard_.text, L"Start\tI0.0\tBOOL\t\r\nLevel\tMW2\tWORD\ttank\r\n");

  // Cut keeps nothing back when the clipboard cannot take the text.
  clipboard_.open_fails = true;
  EXPECT_EQ(rows.Cut(viewtest::CursorOn(0, 1, 0, 2)), -1);
  EXPECT_EQ(Cell(0, 1), L"Start");
  clipboard_.open_fails = false;

  EXPECT_EQ(rows.Cut(viewtest::CursorOn(0, 1, 0, 2)), 0);
  EXPECT_EQ(rows.GetRecordCount(), count - 2);
  EXPECT_EQ(Cell(0, 1), L"");
  EXPECT_EQ(clipboard_.text, L"Start\tI0.0\tBOOL\t\r\nLevel\tMW2\tWORD\ttank\r\n");

  EXPECT_EQ(rows.Paste(viewtest::CursorOn(3, 1)), 3);
  EXPECT_EQ(rows.GetRecordCount(), count);
  EXPECT_EQ(Cell(3, 1), L"Start");
  EXPECT_EQ(Cell(4, 3), L"WORD");
  EXPECT_TRUE(Checked(3) && Checked(4));

  // Text in another form pastes nothing.
  clipboard_.text = L"just one field\r\n";
  frame_.Calls.clear();
  EXPECT_EQ(rows.Paste(viewtest::CursorOn(0, 1)), -1);
  EXPECT_EQ(rows.GetRecordCount(), count);
  EXPECT_TRUE(frame_.Calls.empty());
}

TEST_F(VarSymbolTableTest, RowCommandsSelectTheRowTheModelReturns) {
  const int count = rows.GetRecordCount();
  ASSERT_TRUE(rows.CanInsertRow(viewtest::CursorOn(1, 1), true));
  EXPECT_EQ(rows.InsertRow(viewtest::CursorOn(1, 1), true), 2);
  EXPECT_EQ(rows.InsertRow(viewtest::CursorOn(1, 1), false), 1);
  EXPECT_EQ(rows.GetRecordCount(), count + 2);
  EXPECT_FALSE(rows.CanInsertRow(GridCursor{}, false));

  // Deleting every row leaves one fresh empty row, which is the one selected.
  ASSERT_TRUE(rows.CanDeleteRows(viewtest::CursorOn(0, 1, 0, rows.GetRecordCount())));
  EXPECT_EQ(rows.DeleteRows(viewtest::CursorOn(0, 1, 0, rows.GetRecordCount())), 0);
  EXPECT_EQ(rows.GetRecordCount(), 1);
  EXPECT_EQ(rows.DeleteRows(viewtest::CursorOn(0, 1)), 0);
  EXPECT_EQ(rows.GetRecordCount(), 1);
  EXPECT_FALSE(rows.CanDeleteRows(viewtest::CursorOn(0, 1, 0, 2)));
}

TEST_F(VarSymbolTableTest, PagesKeepTheirOwnRowsAndTheLastPageIsReplaced) {
  SymbolTable& table = Current().Symbols;
  const int first = rows.PageKey();
  ASSERT_TRUE(rows.CanInsertTable());
  const int second = rows.InsertTable();
  ASSERT_NE(second, -1);
  EXPECT_TRUE(frame_.Routed(UpdVarTableSelect, second));
  const int third = rows.InsertTable();
  ASSERT_NE(third, -1);

  VarSymbolTable middle(second);
  VarSymbolTable last(third);
  ASSERT_TRUE(middle.SetCellText(0, 0, 0, 1, L"InSecond"));
  ASSERT_TRUE(last.SetCellText(0, 0, 0, 1, L"InThird"));
  // Remove the middle page: the keys are no longer consecutive, each page still shows its rows.
  bool replaced = true;
  EXPECT_EQ(middle.DeleteTable(replaced), third);
  EXPECT_FALSE(replaced);
  EXPECT_EQ(middle.GetRecordCount(), 0);  // a view left on a vanished page draws nothing
  EXPECT_EQ(last.GetCellContent(0, 0, 0, 1).Text, L"InThird");
  EXPECT_TRUE(frame_.Routed(UpdVarTableSelect, third));

  ASSERT_NE(last.DeleteTable(replaced), -1);
  EXPECT_EQ(table.Working.size(), 1u);
  // The only page left: deleting it gives a fresh page, here under the same key.
  VarSymbolTable only(table.ListKeys().front());
  ASSERT_TRUE(only.SetCellText(0, 0, 0, 1, L"Gone"));
  const int next = only.DeleteTable(replaced);
  ASSERT_NE(next, -1);
  EXPECT_EQ(table.Working.size(), 1u);
  EXPECT_EQ(replaced, next == only.PageKey());
  EXPECT_EQ(VarSymbolTable(next).GetCellContent(0, 0, 0, 1).Text, L"");
  (void)first;
}

TEST_F(VarSymbolTableTest, WhileConnectedTheTableIsReadOnly) {
  for (int state : {CommOnline, CommCommandRequested, CommCommand}) {
    SetCommState(state);
    const GridCursor cursor = viewtest::CursorOn(0, 1);
    for (int column = 0; column < 5; ++column) EXPECT_EQ(rows.GetCellEditKind(0, 0, 0, column), kGridReadOnly);
    EXPECT_FALSE(rows.SetCellText(0, 0, 0, 1, L"Name"));
    EXPECT_FALSE(rows.CanCutOrCopy(cursor) || rows.CanPaste(cursor) || rows.CanSelectAll() ||
                 rows.CanInsertRow(cursor, false) || rows.CanDeleteRows(cursor) || rows.CanInsertTable() ||
                 rows.CanDeleteTable());
    EXPECT_EQ(rows.InsertTable(), -1);
  }
  EXPECT_TRUE(frame_.Calls.empty());
  SetCommState(CommOffline);
  EXPECT_EQ(rows.GetCellEditKind(0, 0, 0, 2), kGridEditText);
  EXPECT_EQ(rows.GetCellEditKind(0, 0, 0, 3), kGridEditChoice);
  EXPECT_TRUE(rows.AcceptCellChar(0, 0, 0, 1, L'a'));
  EXPECT_FALSE(rows.AcceptCellChar(0, 0, 0, 1, L'\t'));
  EXPECT_FALSE(rows.AcceptCellChar(0, 0, 0, 3, L'a'));
}

TEST(PageTabPlan, SurvivorsAreKeptVanishedViewsGoAndTheActivePageStays) {
  struct Case {
    std::vector<int> views;
    int active;
    bool hasActive;
    std::vector<int> pages;
    std::vector<int> destroyed;
    std::vector<PageTabPlan::Tab> tabs;
    int activeIndex;
  };
  const std::vector<Case> cases = {
      {{}, 0, false, {}, {}, {}, -1},
      {{}, 0, false, {0, 2}, {}, {{0, false}, {2, false}}, 0},
      {{0, 1, 2}, 2, true, {0, 2}, {1}, {{0, true}, {2, true}}, 1},
      {{0, 1, 2}, 1, true, {0, 2, 3}, {1}, {{0, true}, {2, true}, {3, false}}, 0},
  };
  for (const Case& c : cases) {
    const PageTabPlan plan = PlanPageTabs(c.views, c.active, c.hasActive, c.pages);
    EXPECT_EQ(plan.Destroyed, c.destroyed);
    EXPECT_EQ(plan.Tabs, c.tabs);
    EXPECT_EQ(plan.ActiveIndex, c.activeIndex);
  }
}

}  // namespace
}  // namespace Brenno
