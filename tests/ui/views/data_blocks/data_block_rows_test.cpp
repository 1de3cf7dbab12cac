// The rows of a data block over a fresh TypeA project (one block DAT_0 of 16 rows, at most 8
// blocks of 256 rows): validity shown by colour and tick, cell edits and the offline rule, rows
// as clipboard text, the row to select after each row command, block insertion and deletion,
// the reading of a locate request and the PID head address check.
#include <gtest/gtest.h>

#include "core/project/data_block_table.h"
#include "core/project/pid_templates.h"
#include "tests/ui/views/view_test_env.h"
#include "ui/views/data_blocks/data_block_rows.h"
#include "ui/views/data_blocks/pid_addr_dlg.h"
#include "ui/views/program_location.h"

namespace Brenno {
namespace {

using viewtest::CursorOn;

constexpr int kText = kGridPartText + kGridModeNormal;

class DataBlockRowsTest : public viewtest::ViewEnvTest {
 protected:
  void SetUp() override {
    ViewEnvTest::SetUp();
    rows.SetKey(Blocks().ListKeys().front());
    rows.SetRowsChangedHandler([this](int row) {
      selected.push_back(row);
      callsAtSelect = frame_.Calls.size();
    });
  }
  DataBlockTable& Blocks() { return Current().DataBlocks; }
  std::wstring Cell(int record, int column) { return rows.GetCellContent(record, 0, 0, column).Text; }
  bool Ticked(int record) { return rows.GetCellContent(record, 0, 0, 0).Image == kGridImageCheck; }
  bool Red(int record, int column) { return rows.GetCellColor(record, 0, 0, column, kText) == GridRed(); }
  void Fill(int record, int type, const std::wstring& address, const std::wstring& value,
            const std::wstring& comment = L"") {
    rows.SetCellChoice(record, 0, 0, 2, type);
    rows.SetCellText(record, 0, 0, 1, address);
    rows.SetCellText(record, 0, 0, 3, value);
    rows.SetCellText(record, 0, 0, 4, comment);
  }
  std::vector<DataRow> Page() { return Blocks().GetPage(rows.Key()); }

  DataBlockRows rows;
  std::vector<int> selected;
  size_t callsAtSelect = 0;
};

TEST_F(DataBlockRowsTest, ValidityIsShownByColourAndTick) {
  Fill(0, 1, L"vb10", L"255", L"speed");
  // The texts shown are the table's formatted ones, not the typed ones.
  EXPECT_EQ(Cell(0, 1), L"VB10");
  EXPECT_EQ(Cell(0, 2), L"BYTE");
  EXPECT_EQ(Cell(0, 3), L"16#FF");
  EXPECT_EQ(Cell(0, 4), L"speed");
  EXPECT_TRUE(Ticked(0));
  EXPECT_FALSE(Red(0, 1) || Red(0, 2) || Red(0, 3));
  EXPECT_EQ(rows.GetCellColor(0, 0, 0, 4, kText), GridGreen());
  EXPECT_EQ(rows.GetCellColor(0, 0, 0, 0, kGridPartBackground + kGridModeSelected), GridButtonFace());
  EXPECT_EQ(rows.GetCellColor(0, 0, 0, 4, kGridPartBackground + kGridModeNormal), (Colour{240, 240, 240}));
  EXPECT_EQ(rows.GetCellColor(0, 0, 0, 1, kGridPartBackground + kGridModeFocus), (Colour{224, 224, 224}));
  EXPECT_EQ(rows.GetCellColor(0, 0, 0, 1, kGridPartFrame + kGridModeFocus), GridBlack());

  // A REAL value the check refuses stays stored, drawn red, and the tick goes.
  Fill(1, 10, L"MD4", L"1.5.2");
  EXPECT_EQ(Cell(1, 3), L"1.5.2");
  EXPECT_TRUE(Red(1, 3));
  EXPECT_FALSE(Red(1, 1));
  EXPECT_FALSE(Ticked(1));

  // The same address in another block: both addresses red, both ticks gone.
  const int other = InsertDataBlock(Blocks());
  ASSERT_NE(other, -1);
  DataBlockRows second(other);
  second.SetCellChoice(3, 0, 0, 2, 1);
  second.SetCellText(3, 0, 0, 1, L"VB10");
  second.SetCellText(3, 0, 0, 3, L"1");
  EXPECT_TRUE(Red(0, 1));
  EXPECT_FALSE(Ticked(0));
  EXPECT_EQ(second.GetCellColor(3, 0, 0, 1, kText), GridRed());

  // A type index from a damaged file has no name and is red.
  Blocks().GetPage(rows.Key())[2].Type = 14;
  ValidateDataRows(Blocks());
  EXPECT_EQ(Cell(2, 2), L"");
  EXPECT_TRUE(Red(2, 2));
  // Rows beyond the block show nothing and never throw.
  EXPECT_EQ(rows.GetCellContent(rows.GetRecordCount(), 0, 0, 1), GridCellContent{});
}

TEST_F(DataBlockRowsTest, CellsEditOnlyOfflineAndAnnounceOnlyChanges) {
  const int expected[5] = {kGridReadOnly, kGridEditText, kGridEditChoice, kGridEditText, kGridEditText};
  for (int column = 0; column < 5; ++column) EXPECT_EQ(rows.GetCellEditKind(0, 0, 0, column), expected[column]);
  EXPECT_TRUE(rows.AcceptCellChar(0, 0, 0, 3, L'x'));
  EXPECT_FALSE(rows.AcceptCellChar(0, 0, 0, 3, L'\t'));
  EXPECT_FALSE(rows.AcceptCellChar(0, 0, 0, 2, L'x'));
  ASSERT_EQ(rows.GetCellChoices(0, 0, 0, 2).size(), 11u);
  EXPECT_EQ(rows.GetCellChoices(0, 0, 0, 2)[6], L"DINT");

  EXPECT_TRUE(rows.SetCellText(0, 0, 0, 4, L"pump"));
  EXPECT_TRUE(frame_.Routed(UpdFrameCaption, 0));
  EXPECT_TRUE(env_.Modified);
  frame_.Calls.clear();
  // Equal texts, the Delete key on the type and a choice outside the list change nothing.
  EXPECT_FALSE(rows.SetCellText(0, 0, 0, 4, L"pump"));
  EXPECT_FALSE(rows.SetCellChoice(0, 0, 0, 2, rows.GetCellChoice(0, 0, 0, 2)));
  EXPECT_FALSE(rows.SetCellChoice(0, 0, 0, 2, -1));
  EXPECT_FALSE(rows.SetCellChoice(0, 0, 0, 2, 11));
  EXPECT_FALSE(rows.SetCellText(0, 0, 0, 0, L"x"));
  EXPECT_TRUE(frame_.Calls.empty());
  EXPECT_EQ(rows.GetCellEditText(0, 0, 0, 4), L"pump");
  // The Delete key empties a text cell.
  EXPECT_TRUE(rows.SetCellText(0, 0, 0, 4, L""));
  EXPECT_EQ(Cell(0, 4), L"");

  for (int state : {CommOnline, CommOpeningOnline, CommCommand}) {
    SetCommState(state);
    for (int column = 0; column < 5; ++column) EXPECT_EQ(rows.GetCellEditKind(0, 0, 0, column), kGridReadOnly);
    EXPECT_FALSE(rows.SetCellText(0, 0, 0, 4, L"late"));
    EXPECT_FALSE(rows.SetCellChoice(0, 0, 0, 2, 3));
    EXPECT_EQ(rows.GetCellEditText(0, 0, 0, 4), L"");
    EXPECT_FALSE(rows.CanCutOrCopy(CursorOn(0, 1)));
    EXPECT_FALSE(rows.CanPaste(CursorOn(0, 1)));
    EXPECT_FALSE(rows.CanInsertRow(CursorOn(0, 1), false));
    EXPECT_FALSE(rows.CanDeleteRows(CursorOn(0, 1)));
    EXPECT_FALSE(rows.CanInsertBlock());
    EXPECT_FALSE(rows.CanDeleteBlock());
    EXPECT_EQ(rows.InsertRow(CursorOn(0, 1), false), -1);
    EXPECT_EQ(rows.DeleteBlock(), -1);
  }
  SetCommState(CommOffline);
  EXPECT_EQ(Cell(0, 4), L"");
}

TEST_F(DataBlockRowsTest, RowsTravelAsTextAndCutThenPasteRestoresThem) {
  Fill(0, 1, L"VB10", L"1", L"first");
  Fill(1, 5, L"VW12", L"-3");
  const std::vector<DataRow> before = Page();
  ASSERT_TRUE(rows.Copy(CursorOn(0, 1, 0, 2)));
  // An empty comment still ends in a tab, so every line has four fields.
  EXPECT_EQ(clipboard_.text, L"VB10\tBYTE\t16#01\tfirst\r\nVW12\tINT\t-3\t\r\n");
  frame_.Calls.clear();

  ASSERT_EQ(rows.Cut(CursorOn(0, 1, 0, 2)), 0);
  EXPECT_EQ(selected, std::vector<int>{0});
  EXPECT_EQ(callsAtSelect, 0u);  // the selection comes before the announcement
  EXPECT_TRUE(frame_.Routed(UpdFrameCaption, 0));
  EXPECT_EQ(rows.GetRecordCount(), 14);
  ASSERT_EQ(rows.Paste(CursorOn(0, 1)), 0);
  EXPECT_EQ(Page(), before);

  // Malformed text pastes nothing: three or five fields, a type in lower case.
  frame_.Calls.clear();
  for (const wchar_t* text : {L"VB1\tBYTE\t1\r\n", L"VB1\tBYTE\t1\tc\tx\r\n", L"VB1\tbyte\t1\tc\r\n",
                              L"VB1\tBYTE\t1\tc\r\nVB2\tBYTE\t1\r\n"}) {
    clipboard_.text = text;
    EXPECT_EQ(rows.Paste(CursorOn(5, 1)), -1) << text;
  }
  EXPECT_EQ(Page(), before);
  EXPECT_TRUE(frame_.Calls.empty());

  // A last line without a line break is pasted too; the rows go before the focus row.
  clipboard_.text = L"VB20\tBYTE\t2\ta\r\nVB21\tBYTE\t3\tb";
  ASSERT_EQ(rows.Paste(CursorOn(3, 1)), 3);
  EXPECT_EQ(Cell(3, 1), L"VB20");
  EXPECT_EQ(Cell(4, 4), L"b");
  EXPECT_EQ(rows.GetRecordCount(), 18);

  // A clipboard that cannot be written keeps the rows where they are.
  const std::vector<DataRow> kept = Page();
  clipboard_.open_fails = true;
  EXPECT_EQ(rows.Cut(CursorOn(0, 1, 0, 3)), -1);
  EXPECT_FALSE(rows.Copy(CursorOn(0, 1, 0, 3)));
  EXPECT_EQ(rows.Paste(CursorOn(0, 1)), -1);
  EXPECT_EQ(Page(), kept);
}

TEST_F(DataBlockRowsTest, RowCommandsAnswerTheRowToSelect) {
  struct Case {
    int first, end, focus;
    const char* what;
    int expected;
    int count;
  } cases[] = {
      {4, 6, 4, "middle rows: the row that followed", 4, 14},
      {12, 14, 12, "last rows: the new last row", 11, 12},
      {0, 12, 0, "every row: one blank row", 0, 1},
  };
  for (const Case& c : cases) {
    selected.clear();
    ASSERT_TRUE(rows.CanDeleteRows(CursorOn(c.focus, 1, c.first, c.end))) << c.what;
    EXPECT_EQ(rows.DeleteRows(CursorOn(c.focus, 1, c.first, c.end)), c.expected) << c.what;
    EXPECT_EQ(selected, std::vector<int>{c.expected}) << c.what;
    EXPECT_EQ(rows.GetRecordCount(), c.count) << c.what;
  }
  EXPECT_EQ(Page()[0], (DataRow{kDataCheckType | kDataCheckDone, 0, L"", L"", L""}));
  EXPECT_FALSE(rows.CanDeleteRows(CursorOn(0, 1, 0, 2)));

  EXPECT_EQ(rows.InsertRow(CursorOn(0, 1), false), 0);
  EXPECT_EQ(rows.InsertRow(CursorOn(0, 1), true), 1);
  EXPECT_EQ(rows.GetRecordCount(), 3);
  // No focus cell or selection: nothing to act on.
  EXPECT_FALSE(rows.CanInsertRow(GridCursor{}, false));
  EXPECT_FALSE(rows.CanCutOrCopy(GridCursor{}));
  EXPECT_FALSE(rows.CanPaste(GridCursor{}));

  // At the row limit no row can be added, by insertion or by paste.
  ASSERT_EQ(PasteDataRows(Blocks(), rows.Key(), 0, std::vector<DataRow>(253)), 0);
  ASSERT_EQ(rows.GetRecordCount(), 256);
  EXPECT_FALSE(rows.CanInsertRow(CursorOn(5, 1), true));
  EXPECT_EQ(rows.InsertRow(CursorOn(5, 1), false), -1);
  clipboard_.text = L"VB1\tBYTE\t1\tc\r\n";
  EXPECT_EQ(rows.Paste(CursorOn(5, 1)), -1);
  EXPECT_EQ(rows.GetRecordCount(), 256);
  EXPECT_TRUE(rows.CanSelectAll());
}

TEST_F(DataBlockRowsTest, BlocksAreInsertedAndDeletedWithTheirAnnouncements) {
  ASSERT_TRUE(rows.CanInsertBlock());
  const int plain = rows.InsertBlock(DataBlockKind::Plain, 0);
  EXPECT_EQ(plain, 1);
  EXPECT_TRUE(frame_.Routed(UpdDataPagesRebuild, 0));
  EXPECT_TRUE(frame_.Routed(UpdDataPageSelect, plain));
  const int pid = rows.InsertBlock(DataBlockKind::Pid, 2100);
  ASSERT_EQ(pid, 2);
  EXPECT_EQ(GetDataRow(Blocks(), pid, 0).Address, L"MB2100");
  EXPECT_EQ(Blocks().GetPage(pid).size(), PidTemplateRows().size());
  EXPECT_EQ(rows.InsertBlock(DataBlockKind::Pidf, 2000), 3);
  EXPECT_EQ(rows.InsertBlock(DataBlockKind::Dpid, 2000), 4);
  EXPECT_EQ(Blocks().GetPage(4).size(), DpidTemplateRows().size());
  while (InsertDataBlock(Blocks()) != -1) {
  }
  // Every reference page in use: the commands are disabled and do nothing.
  EXPECT_FALSE(rows.CanInsertBlock());
  frame_.Calls.clear();
  EXPECT_EQ(rows.InsertBlock(DataBlockKind::Pid, 2000), -1);
  EXPECT_TRUE(frame_.Calls.empty());

  // Deleting a block names the next one.
  DataBlockRows middle(3);
  bool renewed = false;
  middle.SetBlockRenewedHandler([&] { renewed = true; });
  EXPECT_EQ(middle.DeleteBlock(), 4);
  EXPECT_FALSE(renewed);
  EXPECT_TRUE(frame_.Routed(UpdDataPageSelect, 4));
  EXPECT_FALSE(middle.CanDeleteBlock());
  EXPECT_EQ(middle.GetRecordCount(), 0);

  // The only block comes back fresh under its own key: the rows are renewed, then announced.
  for (int key : Blocks().ListKeys()) {
    if (key != 0) RemoveDataBlock(Blocks(), key);
  }
  Fill(0, 1, L"VB10", L"1");
  size_t callsAtRenew = 99;
  rows.SetBlockRenewedHandler([&] { callsAtRenew = frame_.Calls.size(); });
  frame_.Calls.clear();
  EXPECT_EQ(rows.DeleteBlock(), 0);
  EXPECT_EQ(callsAtRenew, 0u);
  EXPECT_TRUE(frame_.Routed(UpdDataPageSelect, 0));
  EXPECT_EQ(Cell(0, 1), L"");
  EXPECT_EQ(rows.GetRecordCount(), 16);
}

TEST(DataBlockLocate, OnlyADataRowOfTheBlockIsLocated) {
  struct Case {
    ProgramLocation location;
    int expected;
  } cases[] = {
      {{0, 3, 7, 0, 0}, 7},  {{0, 3, 0, 0, 0}, 0}, {{0, 3, 16, 0, 0}, -1},
      {{0, 2, 7, 0, 0}, -1}, {{1, 3, 7, 0, 0}, -1}, {{0, 3, -1, 0, 0}, -1},
  };
  for (const Case& c : cases) {
    const ProgramLocation* record = &c.location;
    EXPECT_EQ(LocatedDataRow(reinterpret_cast<intptr_t>(&record), 3, 16), c.expected)
        << c.location.Kind << " " << c.location.PageKey << " " << c.location.Network;
  }
  const ProgramLocation* none = nullptr;
  EXPECT_EQ(LocatedDataRow(reinterpret_cast<intptr_t>(&none), 3, 16), -1);
  EXPECT_EQ(LocatedDataRow(0, 3, 16), -1);
}

TEST(PidHeadAddress, TheTextMustBeANumberUpTo7500) {
  struct Case {
    const wchar_t* text;
    PidHeadAddressCheck check;
    unsigned address;
  } cases[] = {
      {L"2000", PidHeadAddressCheck::Ok, 2000},
      {L"0", PidHeadAddressCheck::Ok, 0},
      {L" 7500 ", PidHeadAddressCheck::Ok, 7500},
      {L"7501", PidHeadAddressCheck::OutOfRange, 0},
      {L"99999999999999999999", PidHeadAddressCheck::OutOfRange, 0},
      {L"", PidHeadAddressCheck::NoNumber, 0},
      {L"12a", PidHeadAddressCheck::NoNumber, 0},
      {L"-1", PidHeadAddressCheck::NoNumber, 0},
  };
  for (const Case& c : cases) {
    unsigned address = 0;
    EXPECT_EQ(CheckPidHeadAddressText(c.text, &address), c.check) << c.text;
    EXPECT_EQ(address, c.address) << c.text;
    EXPECT_EQ(PidHeadAddressMessage(c.check).empty(), c.check == PidHeadAddressCheck::Ok) << c.text;
  }
}

}  // namespace
}  // namespace Brenno
