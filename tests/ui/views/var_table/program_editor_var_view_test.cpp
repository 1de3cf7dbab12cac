// The program variable table on screen (offscreen platform): it starts on the first program page,
// follows the page the hub names, and its row commands keep the focus on the row they return.
#include <gtest/gtest.h>

#include "core/program/program_block.h"
#include "tests/ui/views/view_test_env.h"
#include "tests/ui/widgets/widget_test_events.h"
#include "ui/views/var_table/program_editor_var_view.h"

namespace Brenno {
namespace {

using namespace testing_widgets;

class ProgramEditorVarViewTest : public viewtest::ViewEnvTest {};

TEST_F(ProgramEditorVarViewTest, FollowsTheShownPageAndItsRowCommands) {
  QWidget top;
  top.resize(600, 300);
  auto* view = new CProgramEditorVarView(&top);
  ASSERT_TRUE(view->Create(&top, 0));
  view->resize(600, 300);
  ShowActive(top);
  EXPECT_EQ(view->ShownPageKey(), 0);
  EXPECT_EQ(view->GetItemCount(), static_cast<int>(Current().Program.GetProgramPage(0).LocalVars.size()));

  const int sbr = Current().Program.SubroutineTable.Working.begin()->first;
  view->OnPaneUpdate(UpdVarTableSetPage, sbr);
  EXPECT_EQ(view->ShownPageKey(), sbr);
  const int count = view->GetItemCount();
  EXPECT_EQ(count, static_cast<int>(Current().Program.GetProgramPage(sbr).LocalVars.size()));

  view->setFocus();
  SelectSingleRecord(*view, 0);
  CommandStatus status;
  ASSERT_TRUE(view->UpdateEditorCommand(kTableCmdInsertRowBelowLocal, status));
  ASSERT_TRUE(status.Enabled);
  ASSERT_TRUE(view->OnEditorCommand(kTableCmdInsertRowBelowLocal));
  EXPECT_EQ(view->GetItemCount(), count + 1);
  EXPECT_EQ(view->FocusCell().record, 1);
  EXPECT_TRUE(frame_.Routed(UpdFrameCaption, 0));

  // Delete > Subroutine announces the page to show; the hub's set-page code moves the view.
  frame_.Forward = [&](uint16_t code, intptr_t value) {
    if ((code >> 8) == 0x89) view->OnPaneUpdate(code, value);
  };
  ASSERT_TRUE(view->OnEditorCommand(kTableCmdDeleteSubroutine));
  const int next = view->ShownPageKey();
  EXPECT_TRUE(Current().Program.SubroutineTable.HasWorkingPage(next));
  EXPECT_EQ(view->GetItemCount(), static_cast<int>(Current().Program.GetProgramPage(next).LocalVars.size()));

  // Online: the row commands are off.
  SetCommState(CommOnline);
  status = {};
  ASSERT_TRUE(view->UpdateEditorCommand(kTableCmdInsertRow, status));
  EXPECT_FALSE(status.Enabled);
  SetCommState(CommOffline);
}

}  // namespace
}  // namespace Brenno
