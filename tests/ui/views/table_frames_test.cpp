// The table windows in the started workbench (offscreen): registered with the main frame, they
// open as its child frames and follow the hub's codes that the main frame routes to them.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <filesystem>

#include "core/link/app_environment.h"
#include "core/program/program_block.h"
#include "core/project/project.h"
#include "tests/support/test_paths.h"
#include "tests/support/type_a_environment.h"
#include "tests/ui/shell/scripted_message_facade.h"
#include "ui/shell/brenno_lad_app.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/views/symbols/symbol_fun_view.h"
#include "ui/views/symbols/symbol_var_view.h"
#include "ui/views/program_editor/program_editor_frm.h"
#include "ui/views/table_frames.h"
#include "ui/views/var_table/program_editor_var_view.h"
#include "ui/views/xref/cross_refer_view.h"

namespace Brenno {
namespace {

namespace fs = std::filesystem;

class TableFramesTest : public ::testing::Test {
 protected:
  TableFramesTest() {
    testsupport::MakeTypeAProgramDir(dir_.path());
    app_.UseMessageFacade(&facade_);
  }
  ~TableFramesTest() override {
    app_.ExitInstance();
    SetProgramEditorVarViewFactory(nullptr);  // the factory is process-wide
  }

  testsupport::TempDir dir_;
  shelltest::ScriptedMessageFacade facade_{false};
  CBrennoLadApp app_;
};

TEST_F(TableFramesTest, ChildFramesOpenAndFollowTheHub) {
  ASSERT_TRUE(app_.InitInstance({QStringLiteral("orvisto")}, fs::path(dir_.path()).wstring()));
  CMainFrame* frame = app_.MainFrame();
  ASSERT_NE(frame, nullptr);
  RegisterTableViewFrames(*frame);
  Project& project = app_.Environment().ProjectList.back();

  frame->OpenChildFrame(ChildFrameKind::FunctionSymbols);
  auto* fun = dynamic_cast<CSymbolFunFrm*>(frame->ChildFrame(ChildFrameKind::FunctionSymbols));
  ASSERT_NE(fun, nullptr);
  const int pages = fun->View()->GetItemCount();
  ASSERT_EQ(pages, project.Program.CountProgramBlocks());
  const int key = project.Program.AddSubroutine();
  NotifyMainFrame(EvProgramPageAdded, intptr_t{key});
  EXPECT_EQ(fun->View()->GetItemCount(), pages + 1);

  const int table = project.Symbols.ListKeys().front();
  NotifyMainFrame(EvTreeOpenVariableTable, intptr_t{table});
  auto* var = dynamic_cast<CSymbolVarFrm*>(frame->ChildFrame(ChildFrameKind::VariableSymbols));
  ASSERT_NE(var, nullptr);
  ASSERT_NE(var->ActiveView(), nullptr);
  EXPECT_EQ(var->ActiveView()->PageKey(), table);

  frame->OpenChildFrame(ChildFrameKind::CrossReference);
  auto* xref = dynamic_cast<CCrossReferFrm*>(frame->ChildFrame(ChildFrameKind::CrossReference));
  ASSERT_NE(xref, nullptr);
  EXPECT_GT(xref->BitView()->GetItemCount(), 0);  // the index was built when the window opened

  // The program editor's upper row is the variable table, following the page the hub names.
  frame->OpenChildFrame(ChildFrameKind::ProgramEditor);
  auto* editor = dynamic_cast<CProgramEditorFrm*>(frame->ChildFrame(ChildFrameKind::ProgramEditor));
  ASSERT_NE(editor, nullptr);
  auto* variables = dynamic_cast<CProgramEditorVarView*>(editor->VarPane()->View());
  ASSERT_NE(variables, nullptr);
  NotifyMainFrame(EvProgramTabChanged, intptr_t{key});
  EXPECT_EQ(variables->ShownPageKey(), key);
  EXPECT_EQ(variables->GetItemCount(), static_cast<int>(project.Program.GetProgramPage(key).LocalVars.size()));

  // Closing a frame drops its codes.
  frame->ChildFrame(ChildFrameKind::FunctionSymbols)->parentWidget()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(frame->ChildFrame(ChildFrameKind::FunctionSymbols), nullptr);
  NotifyMainFrame(EvProgramPageAdded, intptr_t{key});
}

}  // namespace
}  // namespace Brenno
