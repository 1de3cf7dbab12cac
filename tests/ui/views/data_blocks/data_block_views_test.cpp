// The data block window on screen (offscreen platform): tabs following the blocks through the
// hub's codes, commands reaching the grid only while it has the focus, typing into cells, a
// located row, the PID commands with their head address and the head address dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTabBar>

#include "core/env/page_names.h"
#include "core/project/data_block_table.h"
#include "tests/ui/views/view_test_env.h"
#include "tests/ui/widgets/widget_test_events.h"
#include "ui/views/data_blocks/data_block_frm.h"
#include "ui/views/data_blocks/pid_addr_dlg.h"
#include "ui/views/program_location.h"

namespace Brenno {
namespace {

using namespace testing_widgets;
using viewtest::CellCentre;
using viewtest::RedPixels;

class DataBlockViewsTest : public viewtest::ViewEnvTest {
 protected:
  void SetUp() override {
    ViewEnvTest::SetUp();
    frame = std::make_unique<CDataBlockFrm>();
    frame->resize(600, 300);
    // The main frame routes the groups 0x86 and 0x87 to the data block window.
    frame_.Forward = [this](uint16_t code, intptr_t value) {
      if ((code >> 8) == 0x86 || (code >> 8) == 0x87) frame->OnPaneRequest(code, value);
    };
  }
  void TearDown() override {
    frame_.Forward = nullptr;
    frame.reset();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ViewEnvTest::TearDown();
  }
  DataBlockTable& Blocks() { return Current().DataBlocks; }
  std::wstring TabText(int index) { return frame->Tabs()->tabText(index).toStdWString(); }
  bool Run(int offset) { return frame->OnEditorCommand(offset); }

  std::unique_ptr<CDataBlockFrm> frame;
};

TEST_F(DataBlockViewsTest, TabsFollowTheBlocksAndKeepTheActiveOne) {
  ASSERT_EQ(frame->Tabs()->count(), 1);
  CDataBlockView* first = frame->ActiveView();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(TabText(0), L"DAT_0 (DAT0)");
  EXPECT_EQ(first->GetItemCount(), 16);
  EXPECT_EQ(first->ControlId(), 0);

  ShowActive(*frame);
  first->setFocus();
  // Insert Data Block: the hub rebuilds the tabs and selects the new block.
  ASSERT_TRUE(Run(kDataCmdInsertBlock));
  ASSERT_TRUE(Run(kDataCmdInsertBlock));
  ASSERT_EQ(frame->Tabs()->count(), 3);
  CDataBlockView* third = frame->ActiveView();
  EXPECT_EQ(third->Key(), 2);
  EXPECT_EQ(TabText(2), L"DAT_2 (DAT2)");

  // A rebuild keeps the active block active even when a block before it goes.
  RemoveDataBlock(Blocks(), 1);
  frame->OnPaneRequest(UpdDataPagesRebuild, 0);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_EQ(frame->Tabs()->count(), 2);
  EXPECT_EQ(frame->ActiveView(), third);
  EXPECT_EQ(frame->ViewOf(0), first);
  EXPECT_EQ(frame->ViewOf(1), nullptr);

  // Deleting the active block activates the block the deletion names.
  third->setFocus();
  ASSERT_TRUE(Run(kDataCmdDeleteBlock));
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_EQ(frame->Tabs()->count(), 1);
  EXPECT_EQ(frame->ActiveView(), first);

  // A selection of a block without a tab changes nothing; a renamed block is retitled.
  frame->OnPaneRequest(UpdDataPageSelect, 5);
  EXPECT_EQ(frame->ActiveView(), first);
  Blocks().GetWorkingPage(0).Name = L"Recipe";
  frame->OnPaneRequest(UpdDataPagesRetitle, 0);
  EXPECT_EQ(TabText(0), L"Recipe (DAT0)");

  // A replaced project: the surviving key's view stays and shows the new block's rows.
  PasteDataRows(Blocks(), 0, 0, std::vector<DataRow>(4));
  frame->OnPaneRequest(UpdDataPagesRebuild, 0);
  EXPECT_EQ(frame->ActiveView(), first);
  EXPECT_EQ(first->GetItemCount(), 20);
}

TEST_F(DataBlockViewsTest, CommandsReachTheGridOnlyWhileItHasTheFocus) {
  ShowActive(*frame);
  CDataBlockView* view = frame->ActiveView();
  view->SetFocusCell({2, 0, 0, 1});
  view->SetSelection({2, 4, 0, 1});

  // The focus elsewhere (another window): Cut does not touch the rows.
  QLineEdit elsewhere;
  ShowActive(elsewhere);
  elsewhere.setFocus();
  QApplication::processEvents();
  CommandStatus status;
  EXPECT_FALSE(frame->UpdateEditorCommand(kTableCmdCut, status));
  EXPECT_FALSE(Run(kTableCmdCut));
  EXPECT_EQ(view->GetItemCount(), 16);

  ShowActive(*frame);
  view->setFocus();
  ASSERT_TRUE(frame->UpdateEditorCommand(kTableCmdCut, status));
  EXPECT_TRUE(status.Enabled);
  ASSERT_TRUE(Run(kTableCmdCut));
  EXPECT_EQ(view->GetItemCount(), 14);
  EXPECT_EQ(view->FocusCell().record, 2);
  EXPECT_EQ(view->Selection(), (GridSelection{2, 3, 0, 1}));
  EXPECT_TRUE(frame_.Routed(UpdFrameCaption, 0));

  ASSERT_TRUE(Run(kDataCmdInsertRowBelow));
  EXPECT_EQ(view->GetItemCount(), 15);
  EXPECT_EQ(view->Selection(), (GridSelection{3, 4, 0, 1}));
  ASSERT_TRUE(Run(kTableCmdSelectAll));
  EXPECT_EQ(view->Selection(), (GridSelection{0, 15, 0, 1}));
  ASSERT_TRUE(Run(kDataCmdDeleteRow));
  EXPECT_EQ(view->GetItemCount(), 1);

  // While online the row and block commands are disabled and do nothing.
  SetCommState(CommOnline);
  for (int offset : std::initializer_list<int>{kDataCmdInsertRow, kDataCmdDeleteRow, kDataCmdInsertBlock, kDataCmdInsertPidBlock,
                     kDataCmdDeleteBlock, kTableCmdPaste}) {
    status = {};
    ASSERT_TRUE(frame->UpdateEditorCommand(offset, status)) << offset;
    EXPECT_FALSE(status.Enabled) << offset;
  }
  EXPECT_TRUE(Run(kDataCmdInsertRow));
  EXPECT_EQ(view->GetItemCount(), 1);
  SetCommState(CommOffline);
}

TEST_F(DataBlockViewsTest, TypedTextsAreStoredAndADuplicateAddressIsRed) {
  ShowActive(*frame);
  CDataBlockView* view = frame->ActiveView();
  view->setFocus();
  for (int record : {0, 1}) {
    Click(view->viewport(), CellCentre(*view, record, 1));
    Type(view, QStringLiteral("v"));  // opens the edit with just that character
    Type(&view->InplaceEdit(), QStringLiteral("b4"));
    Key(&view->InplaceEdit(), Qt::Key_Return, QStringLiteral("\r"));
  }
  // Typed "vb4" under BOOL is no address of that type; as BYTE it is, twice.
  EXPECT_EQ(GetDataRowAddress(Blocks(), 0, 0), L"vb4");
  ASSERT_TRUE(view->SetCellChoice(0, 0, 0, 2, 1));
  ASSERT_TRUE(view->SetCellChoice(1, 0, 0, 2, 1));
  EXPECT_EQ(GetDataRowAddress(Blocks(), 0, 1), L"VB4");
  view->RedrawNow();
  EXPECT_GT(RedPixels(view->viewport(), view->GetSubItemRect(0, 2)), 0);
  EXPECT_GT(RedPixels(view->viewport(), view->GetSubItemRect(1, 2)), 0);

  // While a job that opened the port from offline runs, no rows are drawn at all.
  SetCommState(CommCommand);
  view->RedrawNow();
  EXPECT_EQ(RedPixels(view->viewport(), view->GetSubItemRect(0, 2)), 0);
  SetCommState(CommOffline);
}

TEST_F(DataBlockViewsTest, ALocatedRowIsSelectedAndScrolledIntoView) {
  ShowActive(*frame);
  CDataBlockView* view = frame->ActiveView();
  PasteDataRows(Blocks(), 0, 0, std::vector<DataRow>(44));
  frame->OnPaneRequest(UpdDataRowsRebuild, 0);
  ASSERT_EQ(view->GetItemCount(), 60);

  ProgramLocation location{0, 0, 50, 0, 0};
  const ProgramLocation* record = &location;
  NotifyMainFrame(EvGoToLocation, reinterpret_cast<intptr_t>(&record));
  EXPECT_EQ(view->FocusCell().record, 50);
  EXPECT_EQ(view->FocusCell().group, 0);
  EXPECT_EQ(view->Selection(), (GridSelection{50, 51, 0, 1}));
  EXPECT_GT(view->TopIndex(), 0);

  // Another block's row leaves the view as it is.
  location = {0, 3, 5, 0, 0};
  frame->OnPaneRequest(UpdDataRowsLocate, reinterpret_cast<intptr_t>(&record));
  EXPECT_EQ(view->FocusCell().record, 50);
}

TEST_F(DataBlockViewsTest, PidCommandsAskForTheHeadAddressFirst) {
  ShowActive(*frame);
  CDataBlockView* view = frame->ActiveView();
  view->setFocus();
  std::vector<unsigned> offered;
  bool accept = false;
  view->SetHeadAddressAsker([&](unsigned& address) {
    offered.push_back(address);
    address = 3000;
    return accept;
  });
  ASSERT_TRUE(Run(kDataCmdInsertPidfBlock));
  EXPECT_EQ(Blocks().ListKeys().size(), 1u);  // Cancel
  accept = true;
  view->setFocus();
  ASSERT_TRUE(Run(kDataCmdInsertPidfBlock));
  EXPECT_EQ(offered, (std::vector<unsigned>{2000, 2000}));
  ASSERT_EQ(Blocks().ListKeys(), (std::vector<int>{0, 1}));
  EXPECT_EQ(GetDataRowAddress(Blocks(), 1, 0), L"MB3000");
  EXPECT_EQ(frame->ActiveView()->Key(), 1);
}

TEST_F(DataBlockViewsTest, HeadAddressDialogRefusesAnAddressOutOfRange) {
  SetCurrentLanguage(kLanguageChinese);
  CPidAddrDlg dialog(nullptr, kPidDefaultHeadAddress);
  EXPECT_EQ(dialog.windowTitle().toStdWString(), L"数据块首地址设置");
  EXPECT_EQ(dialog.Edit()->text(), QStringLiteral("2000"));
  dialog.show();
  dialog.Edit()->setText(QStringLiteral("7501"));
  dialog.accept();
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_EQ(boxes_.Shown.size(), 1u);
  EXPECT_NE(boxes_.Shown[0].find(L"7500"), std::wstring::npos);
  dialog.Edit()->setText(QStringLiteral("7500"));
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Address(), 7500u);
}

}  // namespace
}  // namespace Brenno
