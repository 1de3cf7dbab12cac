// The variable rows of a program page over a fresh TypeA project: the subroutine's areas, the
// assigned address and validity colours, edits, the copied text, row and page commands, and the
// offline rule.
#include <gtest/gtest.h>

#include "core/program/program_block.h"
#include "core/project/local_var_table.h"
#include "tests/ui/views/view_test_env.h"
#include "ui/views/var_table/program_var_table.h"

namespace Brenno {
namespace {

class ProgramVarTableTest : public viewtest::ViewEnvTest {
 protected:
  void SetUp() override {
    ViewEnvTest::SetUp();
    ProgramBlock& program = Current().Program;
    ASSERT_FALSE(program.SubroutineTable.Working.empty());
    subroutine = program.SubroutineTable.Working.begin()->first;
    rows.SetShownPageKey(subroutine);
  }
  std::wstring Cell(int record, int column) { return rows.GetCellContent(record, 0, 0, column).Text; }
  int FirstOfArea(const std::wstring& area) {
    for (int r = 0; r < rows.GetRecordCount(); ++r) {
      if (Cell(r, 2) == area) return r;
    }
    return -1;
  }
  int subroutine = -1;
  ProgramVarTable rows;
};

TEST_F(ProgramVarTableTest, SubroutineRowsShowTheirAreasAddressesAndValidity) {
  EXPECT_EQ(ProgramVarTable::FirstPageKey(), 0);
  const int in = FirstOfArea(L"IN");
  const int inOut = FirstOfArea(L"IN_OUT");
  const int out = FirstOfArea(L"OUT");
  const int temp = FirstOfArea(L"TEMP");
  ASSERT_TRUE(in == 0 && in < inOut && inOut < out && out < temp);

  // An empty row: no check mark, no address, its name red.
  EXPECT_EQ(rows.GetCellContent(in, 0, 0, 0), (GridCellContent{L"", kGridCellFormat, kGridImageBlank}));
  EXPECT_EQ(rows.GetCellColor(in, 0, 0, 1, 17), GridRed());

  ASSERT_TRUE(rows.SetCellText(in, 0, 0, 1, L"Speed"));
  EXPECT_TRUE(frame_.Routed(UpdFrameCaption, 0));
  ASSERT_TRUE(rows.SetCellChoice(in, 0, 0, 3, 5));
  EXPECT_EQ(Cell(in, 3), L"INT");
  const GridCellContent address = rows.GetCellContent(in, 0, 0, 0);
  EXPECT_EQ(address.Image, kGridImageCheck);
  EXPECT_EQ(address.Text, GetLocalVarAddress(subroutine, in));
  EXPECT_FALSE(address.Text.empty());
  EXPECT_EQ(rows.GetCellColor(in, 0, 0, 1, 17), GridBlack());
  EXPECT_EQ(rows.GetCellColor(in, 0, 0, 4, 17), GridGreen());
  EXPECT_EQ(rows.GetCellColor(in, 0, 0, 2, 20), GridButtonFace());
  EXPECT_EQ(rows.GetCellColor(in, 0, 0, 3, 20), (Colour{255, 255, 255}));

  // The same name twice turns it red on both rows.
  ASSERT_TRUE(rows.SetCellText(temp, 0, 0, 1, L"Speed"));
  EXPECT_EQ(rows.GetCellColor(in, 0, 0, 1, 17), GridRed());
  EXPECT_EQ(rows.GetCellColor(temp, 0, 0, 1, 17), GridRed());
  frame_.Calls.clear();
  EXPECT_FALSE(rows.SetCellText(temp, 0, 0, 1, L"Speed"));
  EXPECT_FALSE(rows.SetCellChoice(in, 0, 0, 3, 5));
  EXPECT_TRUE(frame_.Calls.empty());
  EXPECT_EQ(rows.GetColumnFormat(0, 2), (GridColumnFormat{80, L"Var Type"}));
  EXPECT_EQ(rows.GetColumnFormat(0, 0), (GridColumnFormat{60, L""}));
}

TEST_F(ProgramVarTableTest, CopyWritesAddressNameAreaTypeAndComment) {
  ASSERT_TRUE(rows.SetCellText(0, 0, 0, 1, L"Speed"));
  ASSERT_TRUE(rows.SetCellChoice(0, 0, 0, 3, 2));
  ASSERT_TRUE(rows.SetCellText(0, 0, 0, 4, L"rpm"));
  ASSERT_TRUE(rows.Copy(viewtest::CursorOn(0, 1, 0, 2)));
  const std::wstring first = Cell(0, 0) + L"\tSpeed\tIN\tWORD\trpm\r\n";
  ASSERT_TRUE(clipboard_.text.has_value());
  EXPECT_EQ(clipboard_.text->substr(0, first.size()), first);
  EXPECT_EQ(std::count(clipboard_.text->begin(), clipboard_.text->end(), L'\n'), 2);
}

TEST_F(ProgramVarTableTest, RowCommandsKeepEveryAreaAndMoveTheSelection) {
  const int count = rows.GetRecordCount();
  const int out = FirstOfArea(L"OUT");
  ASSERT_TRUE(rows.CanInsertRow(viewtest::CursorOn(out, 1)));
  const int added = rows.InsertRow(viewtest::CursorOn(out, 1), true);
  EXPECT_EQ(added, out + 1);
  EXPECT_EQ(Cell(added, 2), L"OUT");
  EXPECT_EQ(rows.GetRecordCount(), count + 1);
  EXPECT_EQ(rows.InsertRow(viewtest::CursorOn(out, 1), false), out);

  // Deleting every row of the OUT area leaves one empty OUT row.
  int first = FirstOfArea(L"OUT");
  int end = first;
  while (end < rows.GetRecordCount() && Cell(end, 2) == L"OUT") ++end;
  ASSERT_TRUE(rows.CanDeleteRows(viewtest::CursorOn(first, 1, first, end)));
  EXPECT_NE(rows.DeleteRows(viewtest::CursorOn(first, 1, first, end)), -1);
  first = FirstOfArea(L"OUT");
  ASSERT_NE(first, -1);
  EXPECT_NE(Cell(first + 1, 2), L"OUT");
  EXPECT_FALSE(rows.CanDeleteRows(viewtest::CursorOn(0, 1, 0, rows.GetRecordCount() + 1)));
}

TEST_F(ProgramVarTableTest, PageCommandsAnnounceThePageToShow) {
  ASSERT_TRUE(rows.CanInsertSubroutine());
  const int added = rows.InsertSubroutine();
  ASSERT_NE(added, -1);
  EXPECT_TRUE(frame_.Routed(UpdVarTableSetPage, added));
  ASSERT_TRUE(rows.CanInsertInterrupt());
  const int irq = rows.InsertInterrupt();
  ASSERT_NE(irq, -1);
  EXPECT_TRUE(Current().Program.InterruptTable.HasWorkingPage(irq));
  EXPECT_FALSE(rows.CanDeleteInterrupt());  // the shown page is a subroutine

  frame_.Calls.clear();
  const int next = rows.DeleteSubroutine();
  ASSERT_EQ(next, added);
  EXPECT_TRUE(frame_.Routed(UpdVarTableSetPage, added));

  // The main program alone in the interrupt table comes back fresh when deleted.
  rows.SetShownPageKey(irq);
  ASSERT_NE(rows.DeleteInterrupt(), -1);
  rows.SetShownPageKey(0);
  ASSERT_TRUE(rows.SetCellText(0, 0, 0, 1, L"Counter"));
  EXPECT_EQ(rows.DeleteInterrupt(), 0);
  EXPECT_TRUE(Current().Program.InterruptTable.HasWorkingPage(0));
  EXPECT_EQ(Cell(0, 1), L"");
  EXPECT_EQ(Cell(0, 2), L"TEMP");

  // A key that names no page shows nothing.
  rows.SetShownPageKey(-1);
  EXPECT_EQ(rows.GetRecordCount(), 0);
  EXPECT_FALSE(rows.CanDeleteInterrupt() || rows.CanDeleteSubroutine());
}

TEST_F(ProgramVarTableTest, OnlyOfflineIsTheTableEditable) {
  EXPECT_EQ(rows.GetCellEditKind(0, 0, 0, 1), kGridEditText);
  EXPECT_EQ(rows.GetCellEditKind(0, 0, 0, 3), kGridEditChoice);
  EXPECT_EQ(rows.GetCellEditKind(0, 0, 0, 2), kGridReadOnly);
  EXPECT_TRUE(rows.AcceptCellChar(0, 0, 0, 4, L'x'));
  EXPECT_FALSE(rows.AcceptCellChar(0, 0, 0, 1, L'\r'));
  for (int state : {CommOnline, CommOpeningOnline, CommCommand}) {
    SetCommState(state);
    const GridCursor cursor = viewtest::CursorOn(0, 1);
    EXPECT_EQ(rows.GetCellEditKind(0, 0, 0, 1), kGridReadOnly);
    EXPECT_FALSE(rows.SetCellText(0, 0, 0, 1, L"Name"));
    EXPECT_FALSE(rows.CanCopy(cursor) || rows.Copy(cursor) || rows.CanSelectAll() || rows.CanInsertRow(cursor) ||
                 rows.CanDeleteRows(cursor) || rows.CanInsertInterrupt() || rows.CanInsertSubroutine() ||
                 rows.CanDeleteSubroutine());
  }
  EXPECT_TRUE(frame_.Calls.empty());
  EXPECT_FALSE(clipboard_.text.has_value());
}

}  // namespace
}  // namespace Brenno
