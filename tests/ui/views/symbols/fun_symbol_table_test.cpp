// The function symbol rows over a fresh TypeA project: what each row shows, renaming,
// re-addressing, commenting, inserting and deleting pages, copying, and the offline rule.
#include <gtest/gtest.h>

#include "core/program/program_block.h"
#include "tests/ui/views/view_test_env.h"
#include "ui/views/symbols/fun_symbol_table.h"

namespace Brenno {
namespace {

class FunSymbolTableTest : public viewtest::ViewEnvTest {
 protected:
  std::wstring Cell(int record, int column) { return rows.GetCellContent(record, 0, 0, column).Text; }
  std::vector<int> Keys() { return Current().Program.ListProgramBlockKeys(); }
  FunSymbolTable rows;
};

TEST_F(FunSymbolTableTest, RowsListInterruptTableThenSubroutinesWithTitles) {
  ProgramBlock& program = Current().Program;
  const int sbr = program.AddSubroutine();
  const int irq = program.AddInterrupt();
  ASSERT_NE(sbr, -1);
  ASSERT_NE(irq, -1);
  const std::vector<int> keys = Keys();
  ASSERT_EQ(rows.GetRecordCount(), static_cast<int>(keys.size()));
  // Main and interrupts (keys below 0x10000) come before every subroutine.
  EXPECT_EQ(keys.front(), 0);
  EXPECT_LT(FunSymbolTable::BlockListIndexOfKey(program, irq), FunSymbolTable::BlockListIndexOfKey(program, sbr));
  EXPECT_EQ(FunSymbolTable::BlockListIndexOfKey(program, 0x7777), -1);
  for (int record = 0; record < rows.GetRecordCount(); ++record) {
    const int key = keys[record];
    EXPECT_EQ(rows.KeyOfRecord(record), key);
    EXPECT_EQ(FunSymbolTable::BlockListIndexOfKey(program, key), record);
    EXPECT_EQ(rows.GetCellContent(record, 0, 0, 0).Image, kGridImageCheck);
    EXPECT_EQ(Cell(record, 1), program.GetBlockName(key));
    EXPECT_EQ(Cell(record, 2), program.GetBlockAddress(key));
    EXPECT_EQ(Cell(record, 3), program.GetBlockComment(key));
  }
  EXPECT_EQ(Cell(FunSymbolTable::BlockListIndexOfKey(program, irq), 2).substr(0, 3), L"INT");
  EXPECT_EQ(Cell(FunSymbolTable::BlockListIndexOfKey(program, sbr), 2).substr(0, 3), L"SBR");
  EXPECT_EQ(rows.GetColumnFormat(0, 2), (GridColumnFormat{80, L"Adress"}));
  SetCurrentLanguage(kLanguageChinese);
  EXPECT_EQ(rows.GetColumnFormat(0, 3), (GridColumnFormat{200, L"注释"}));
}

TEST_F(FunSymbolTableTest, RenameAndCommentAreAnnouncedOnlyWhenTheModelTakesThem) {
  ProgramBlock& program = Current().Program;
  const int other = program.AddSubroutine();
  const int sbr = program.AddSubroutine();
  const int record = FunSymbolTable::BlockListIndexOfKey(program, sbr);
  ASSERT_EQ(rows.GetCellEditKind(record, 0, 0, 1), kGridEditText);
  ASSERT_EQ(rows.GetCellEditKind(record, 0, 0, 2), kGridEditChoice);
  ASSERT_EQ(rows.GetCellEditKind(record, 0, 0, 0), kGridReadOnly);

  EXPECT_TRUE(rows.SetCellText(record, 0, 0, 1, L"Pump_Control"));
  EXPECT_EQ(Cell(record, 1), L"Pump_Control");
  EXPECT_TRUE(frame_.Routed(UpdTreeProgramPages, sbr));
  EXPECT_TRUE(env_.Modified.load());

  frame_.Calls.clear();
  // Another subroutine's name, a malformed name and an unchanged comment are refused.
  EXPECT_FALSE(rows.SetCellText(record, 0, 0, 1, program.GetBlockName(other)));
  EXPECT_FALSE(rows.SetCellText(record, 0, 0, 1, L"9bad name"));
  EXPECT_TRUE(rows.SetCellText(record, 0, 0, 3, L"fills the tank"));
  EXPECT_FALSE(rows.SetCellText(record, 0, 0, 3, L"fills the tank"));
  EXPECT_EQ(frame_.Calls.size(), 5u);  // the one accepted comment
  EXPECT_EQ(rows.GetCellEditText(record, 0, 0, 3), L"fills the tank");
  EXPECT_EQ(Cell(record, 1), L"Pump_Control");
}

TEST_F(FunSymbolTableTest, ChangingTheAddressRekeysThePageAndFollowsItsRow) {
  ProgramBlock& program = Current().Program;
  program.AddSubroutine();
  program.AddSubroutine();
  const std::vector<int> before = Keys();
  const int first = static_cast<int>(before.size()) - 2;  // the first of the two subroutines
  const int key = before[first];
  ASSERT_TRUE(rows.SetCellText(first, 0, 0, 1, L"Mixer"));
  const std::vector<std::wstring> choices = rows.GetCellChoices(first, 0, 0, 2);
  ASSERT_GE(choices.size(), 4u);
  const int current = rows.GetCellChoice(first, 0, 0, 2);
  EXPECT_EQ(choices[current], program.GetBlockAddress(key));

  // Move it past every used subroutine number: the row ends up last.
  const int target = static_cast<int>(choices.size()) - 1;
  int select = -1;
  frame_.Calls.clear();
  ASSERT_TRUE(rows.SetCellChoice(first, 0, 0, 2, target, select));
  EXPECT_EQ(select, rows.GetRecordCount() - 1);
  EXPECT_EQ(Cell(select, 1), L"Mixer");
  EXPECT_EQ(Cell(select, 2), choices[target]);
  EXPECT_FALSE(program.SubroutineTable.HasWorkingPage(key));
  EXPECT_TRUE(frame_.Routed(UpdPageTabSelect, rows.KeyOfRecord(select)));

  // An address in use is refused and announces nothing.
  frame_.Calls.clear();
  const int used = rows.GetCellChoice(select - 1, 0, 0, 2);
  EXPECT_FALSE(rows.SetCellChoice(select, 0, 0, 2, used, select));
  EXPECT_FALSE(rows.SetCellChoice(select, 0, 0, 2, -1, select));
  EXPECT_TRUE(frame_.Calls.empty());
}

TEST_F(FunSymbolTableTest, InsertAndDeletePagesSelectTheRowsTheModelNames) {
  ProgramBlock& program = Current().Program;
  ASSERT_TRUE(rows.CanInsertInterrupt());
  const int added = rows.InsertInterrupt();
  ASSERT_NE(added, -1);
  const int irqKey = rows.KeyOfRecord(added);
  EXPECT_TRUE(program.InterruptTable.HasWorkingPage(irqKey));
  EXPECT_NE(irqKey, 0);
  EXPECT_TRUE(frame_.Routed(UpdPageTabSelect, irqKey));

  const int sbrRow = rows.InsertSubroutine();
  ASSERT_NE(sbrRow, -1);
  EXPECT_TRUE(program.SubroutineTable.HasWorkingPage(rows.KeyOfRecord(sbrRow)));

  // The interrupt commands act on interrupt-table rows only, the subroutine ones on subroutines.
  EXPECT_TRUE(rows.CanDeleteInterrupt(viewtest::CursorOn(added, 1)));
  EXPECT_FALSE(rows.CanDeleteSubroutine(viewtest::CursorOn(added, 1)));
  EXPECT_FALSE(rows.CanDeleteInterrupt(viewtest::CursorOn(sbrRow, 1)));
  EXPECT_FALSE(rows.CanDeleteInterrupt(GridCursor{}));

  const int count = rows.GetRecordCount();
  const int next = rows.DeleteInterrupt(viewtest::CursorOn(added, 1));
  EXPECT_EQ(rows.GetRecordCount(), count - 1);
  ASSERT_GE(next, 0);
  EXPECT_TRUE(program.InterruptTable.HasWorkingPage(rows.KeyOfRecord(next)));

  // Deleting every subroutine leaves one: the model adds the first free one again.
  while (program.SubroutineTable.Working.size() > 1) {
    ASSERT_NE(rows.DeleteSubroutine(viewtest::CursorOn(rows.GetRecordCount() - 1, 1)), -1);
  }
  const int last = rows.DeleteSubroutine(viewtest::CursorOn(rows.GetRecordCount() - 1, 1));
  ASSERT_NE(last, -1);
  EXPECT_EQ(program.SubroutineTable.Working.size(), 1u);
  EXPECT_EQ(last, rows.GetRecordCount() - 1);
}

TEST_F(FunSymbolTableTest, CopyPutsTheSelectedTitlesOnTheClipboard) {
  ProgramBlock& program = Current().Program;
  program.AddSubroutine();
  ASSERT_TRUE(rows.SetCellText(0, 0, 0, 3, L"main loop"));
  const int end = rows.GetRecordCount();
  ASSERT_TRUE(rows.Copy(viewtest::CursorOn(0, 1, 0, end)));
  std::wstring expected;
  for (int record = 0; record < end; ++record) {
    expected += Cell(record, 1) + L"\t" + Cell(record, 2) + L"\t" + Cell(record, 3) + L"\r\n";
  }
  EXPECT_EQ(clipboard_.text, expected);
  // A range outside the list copies nothing.
  clipboard_.text.reset();
  EXPECT_FALSE(rows.Copy(viewtest::CursorOn(0, 1, 0, end + 1)));
  EXPECT_FALSE(clipboard_.text.has_value());
}

TEST_F(FunSymbolTableTest, WhileConnectedNothingIsEditableAndCommandsAreOff) {
  for (int state : {CommOnline, CommOpeningOnline, CommCommand, CommCommandInOnline}) {
    SetCommState(state);
    const GridCursor cursor = viewtest::CursorOn(0, 1);
    EXPECT_EQ(rows.GetCellEditKind(0, 0, 0, 1), kGridReadOnly);
    EXPECT_EQ(rows.GetCellEditKind(0, 0, 0, 2), kGridReadOnly);
    EXPECT_FALSE(rows.SetCellText(0, 0, 0, 1, L"Other"));
    EXPECT_FALSE(rows.CanOpen(cursor) || rows.CanCopy(cursor) || rows.CanSelectAll() || rows.CanInsertInterrupt() ||
                 rows.CanInsertSubroutine() || rows.CanDeleteInterrupt(cursor));
    EXPECT_EQ(rows.InsertSubroutine(), -1);
  }
  EXPECT_TRUE(frame_.Calls.empty());
  SetCommState(CommOffline);
  EXPECT_TRUE(rows.Open(viewtest::CursorOn(0, 1)));
  EXPECT_TRUE(frame_.Routed(UpdPageTabSelect, 0));
}

TEST_F(FunSymbolTableTest, ColoursFollowTheColumns) {
  // Text: black names and addresses, green comments; backgrounds: button face, white, light grey.
  EXPECT_EQ(rows.GetCellColor(0, 0, 0, 1, 17), (Colour{0, 0, 0}));
  EXPECT_EQ(rows.GetCellColor(0, 0, 0, 3, 65), (Colour{0, 128, 0}));
  EXPECT_EQ(rows.GetCellColor(0, 0, 0, 0, 20), GridButtonFace());
  EXPECT_EQ(rows.GetCellColor(0, 0, 0, 2, 20), (Colour{255, 255, 255}));
  EXPECT_EQ(rows.GetCellColor(0, 0, 0, 3, 20), (Colour{240, 240, 240}));
  EXPECT_EQ(rows.GetCellColor(0, 0, 0, 3, 68), (Colour{224, 224, 224}));
  EXPECT_EQ(rows.GetCellColor(0, 0, 0, 1, 18), (Colour{128, 128, 128}));
  EXPECT_EQ(rows.GetCellColor(0, 0, 0, 1, 34), (Colour{0, 0, 0}));
  EXPECT_FALSE(rows.GetCellColor(0, 0, 0, 1, 24).has_value());
}

}  // namespace
}  // namespace Brenno
