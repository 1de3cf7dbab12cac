// The cross-reference window on screen (offscreen platform): Refresh from the active tab makes
// all three lists follow through the hub, a double click on a use asks for its location, and the
// BIT and BYTE lists offer no Location.
#include <gtest/gtest.h>

#include <QApplication>

#include "core/project/data_block_table.h"
#include "tests/ui/views/view_test_env.h"
#include "tests/ui/widgets/widget_test_events.h"
#include "ui/views/table_frames.h"
#include "ui/views/xref/cross_refer_view.h"

namespace Brenno {
namespace {

using namespace testing_widgets;

class CrossReferViewTest : public viewtest::ViewEnvTest {};

TEST_F(CrossReferViewTest, RefreshRebuildsEveryListAndDoubleClickLocates) {
  DataBlockTable& blocks = Current().DataBlocks;
  ASSERT_TRUE(SetDataRowType(blocks, 0, 0, 2));
  ASSERT_TRUE(SetDataRowAddress(blocks, 0, 0, L"VW0"));
  ASSERT_TRUE(SetDataRowValue(blocks, 0, 0, L"7"));

  CCrossReferFrm frame;
  frame_.Forward = [&](uint16_t code, intptr_t value) {
    if ((code >> 8) == 0x8F || (code >> 8) == 0x90) frame.OnPaneRequest(code, value);
  };
  frame.resize(700, 300);
  ShowActive(frame);
  ASSERT_EQ(frame.Tabs()->count(), 3);
  EXPECT_EQ(frame.Tabs()->tabText(1), QStringLiteral("BIT"));
  EXPECT_EQ(frame.ValueView()->GetItemCount(), 0);  // nothing built before the first Refresh

  CommandStatus status;
  ASSERT_TRUE(frame.UpdateEditorCommand(kTableCmdLocation, status));
  EXPECT_FALSE(status.Enabled);
  ASSERT_TRUE(frame.OnEditorCommand(kTableCmdRefresh));
  EXPECT_EQ(frame.ValueView()->GetItemCount(), 1);
  EXPECT_EQ(frame.BitView()->GetItemCount(), frame.BitView()->GetRecordCount());
  EXPECT_GT(frame.ByteView()->GetItemCount(), 0);

  // The BIT tab maps only Refresh.
  frame.Tabs()->setCurrentIndex(1);
  status = {};
  EXPECT_FALSE(frame.UpdateEditorCommand(kTableCmdLocation, status));
  EXPECT_TRUE(frame.UpdateEditorCommand(kTableCmdRefresh, status) && status.Enabled);
  frame.Tabs()->setCurrentIndex(0);

  CCrossReferView* view = frame.ValueView();
  const Rect cell = view->GetSubItemRect(0, 3);
  const QPoint at((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
  frame_.Calls.clear();
  Click(view->viewport(), at);
  Mouse(view->viewport(), QEvent::MouseButtonDblClick, at, Qt::LeftButton);
  ASSERT_FALSE(frame_.Calls.empty());
  EXPECT_EQ(frame_.Calls.front(), (PaneUpdateCall{UpdOpenDataBlocks, 0}));
  EXPECT_TRUE(frame_.Routed(UpdDataPageSelect, 0));

  // During a job started offline nothing acts.
  SetCommState(CommCommand);
  frame_.Calls.clear();
  status = {};
  ASSERT_TRUE(frame.UpdateEditorCommand(kTableCmdRefresh, status));
  EXPECT_FALSE(status.Enabled);
  frame.OnEditorCommand(kTableCmdRefresh);
  frame.OnEditorCommand(kTableCmdLocation);
  EXPECT_TRUE(frame_.Calls.empty());
  view->RedrawNow();  // draws no rows, and does not fail
  SetCommState(CommOffline);
}

TEST_F(CrossReferViewTest, TheMainFramesRoutingReachesTheActiveFrame) {
  CCrossReferFrm frame;
  QWidget other;
  CommandStatus status;
  EXPECT_FALSE(UpdateTableFrameCommand(&other, kTableCmdRefresh, status));
  EXPECT_FALSE(RunTableFrameCommand(nullptr, kTableCmdRefresh));
  ASSERT_TRUE(UpdateTableFrameCommand(&frame, kTableCmdRefresh, status));
  EXPECT_TRUE(status.Enabled);
  EXPECT_TRUE(RunTableFrameCommand(&frame, kTableCmdRefresh));
  EXPECT_TRUE(frame_.Routed(UpdXrefRebuild, 0));
  EXPECT_FALSE(RunTableFrameCommand(&frame, kTableCmdInsertRow));
}

}  // namespace
}  // namespace Brenno
