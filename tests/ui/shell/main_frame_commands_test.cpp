// The enabling rules of the main frame's file, PLC and debug commands per communication state
// and cached PLC state, and the file commands of the started workbench: New, Save As into a real
// file, Open of that file, and the save question in front of them.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "core/link/app_environment.h"
#include "core/link/comm_state.h"
#include "core/program/program_block.h"
#include "core/project/project.h"
#include "tests/support/test_paths.h"
#include "tests/ui/shell/scripted_message_facade.h"
#include "ui/shell/brenno_lad_app.h"
#include "ui/shell/infor_output_pane.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/main_frame_commands.h"

namespace Brenno {
namespace {

namespace fs = std::filesystem;

// --- Enabling rules ----------------------------------------------------------------------------

struct RuleCase {
  const char* name;
  CommandGates gates;
  std::set<int> enabled;  // every other known command is disabled
  std::set<int> checked;
};

const std::set<int> kOffline = {CmdFileNew, CmdFileOpen, CmdFileOpenPmw, CmdFileUpload, CmdFileDownloadDirect,
                                CmdFileDownload, CmdPlcCompile, CmdPlcCompileAll, CmdPlcClear, CmdPlcType,
                                CmdDebugConnectMenu, CmdDebugConnect, CmdDebugCommunication, CmdViewSystemBlock,
                                CmdViewCommunications};
const std::set<int> kIdle = {CmdFileSave, CmdFileSaveAs,   CmdFileExit, CmdFileWriteFlash,
                             CmdPlcModbusQuery, CmdViewStl, CmdViewLad, CmdViewSymbolic,
                             CmdViewDataBlock, CmdViewProgramEditor, CmdViewFunctionSymbol,
                             CmdViewVariableSymbol, CmdViewCrossReference};
const std::set<int> kOnline = {CmdPlcDiagnose, CmdPlcInformation, CmdPlcReadClock, CmdPlcWriteClock, CmdDebugDisconnect};

std::set<int> Join(std::initializer_list<std::set<int>> sets) {
  std::set<int> all;
  for (const auto& set : sets) all.insert(set.begin(), set.end());
  return all;
}

std::vector<RuleCase> RuleCases() {
  const std::set<int> runStopped = {CmdPlcRun, CmdPlcSingleScan, CmdPlcMultipleScans};
  return {
      // Offline: the cached states are ignored even when they look valid.
      {"Offline", {CommOffline, 2, 2}, Join({kOffline, kIdle, {CmdPlcTrend}}), {}},
      {"OfflineStlSymbolic", {CommOffline, 255, 255, 1, true}, Join({kOffline, kIdle, {CmdPlcTrend}}),
       {CmdViewStl, CmdViewSymbolic}},
      {"OfflineLad", {CommOffline, 255, 255, 2, false}, Join({kOffline, kIdle, {CmdPlcTrend}}), {CmdViewLad}},
      {"OpeningOnline", {CommOpeningOnline, 2, 2}, Join({kIdle, {CmdPlcTrend}}), {}},
      {"LeavingOnline", {CommLeavingOnline, 1, 1}, Join({kIdle, {CmdPlcTrend}}), {}},
      // A job started offline: only Trend stays offered.
      {"OfflineJob", {CommCommand, 2, 2}, {CmdPlcTrend}, {}},
      // A job started online: nothing, not even the online commands.
      {"OnlineJob", {CommCommandInOnline, 2, 2}, {CmdPlcTrend}, {}},
      {"OnlineRunning", {CommOnline, 1, 2}, Join({kIdle, kOnline, {CmdPlcStop, CmdPlcPowerUpReset}}), {CmdPlcRun}},
      {"OnlineStoppedDebugStopped", {CommOnline, 2, 2},
       Join({kIdle, kOnline, runStopped,
             {CmdDebugRun, CmdDebugStepIn, CmdDebugStepOver, CmdDebugStepOut, CmdDebugPowerUpReset}}),
       {CmdPlcStop, CmdDebugStop}},
      {"OnlineStoppedDebugRunning", {CommOnline, 2, 1},
       Join({kIdle, kOnline, runStopped, {CmdDebugStop, CmdDebugPowerUpReset}}), {CmdPlcStop, CmdDebugRun}},
      // A stale cache offers none of the run-state commands except Power-Up Reset.
      {"OnlineStale", {CommOnline, 255, 255}, Join({kIdle, kOnline, {CmdPlcPowerUpReset}}), {}},
  };
}

class CommandRulesTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(CommandRulesTest, EnablesAndChecksPerState) {
  const RuleCase& rule = GetParam();
  const MainFrameCommands rules(rule.gates);
  for (int offset = 20100; offset <= 30200; ++offset) {
    if (!MainFrameCommands::Knows(offset)) continue;
    const CommandStatus status = rules.Status(offset);
    EXPECT_EQ(status.Enabled, rule.enabled.count(offset) != 0) << offset;
    EXPECT_EQ(status.Checked, rule.checked.count(offset) != 0) << offset;
  }
  EXPECT_FALSE(rules.Status(CmdFileReadFile).Enabled);
}

INSTANTIATE_TEST_SUITE_P(States, CommandRulesTest, ::testing::ValuesIn(RuleCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CommandRules, ResetsActOnlyInTheirOwnState) {
  struct Case {
    CommandGates gates;
    bool plcReset, debugReset;
  };
  for (const Case& c : {Case{{CommOnline, 1, 255}, true, false}, Case{{CommOnline, 255, 255}, false, false},
                        Case{{CommOnline, 2, 1}, false, false}, Case{{CommOnline, 2, 2}, false, true},
                        Case{{CommOffline, 2, 2}, false, false}}) {
    const MainFrameCommands rules(c.gates);
    EXPECT_EQ(rules.Acts(CmdPlcPowerUpReset), c.plcReset) << int(c.gates.RunState) << int(c.gates.DebugState);
    EXPECT_EQ(rules.Acts(CmdDebugPowerUpReset), c.debugReset) << int(c.gates.RunState) << int(c.gates.DebugState);
    EXPECT_EQ(rules.Acts(CmdPlcRun), rules.Status(CmdPlcRun).Enabled);
  }
  EXPECT_FALSE(MainFrameCommands::NeedsCachedStates(CommCommandInOnline));
  EXPECT_TRUE(MainFrameCommands::NeedsCachedStates(CommOnline));
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// --- File commands of the started workbench ------------------------------------------------------

class ProgramDirectory {
 public:
  ProgramDirectory() {
    const fs::path type = fs::path(dir_.path()) / "Orvisto" / "TypeA";
    fs::create_directories(type);
    fs::copy(testsupport::FixturePath("catalog/Orvisto/TypeA"), type, fs::copy_options::recursive);
    const fs::path plugins = fs::path(testsupport::BinaryDir()) / "tests" / "core" / "plugins";
    for (const char* library : {"libFakeSysBlock.so", "libFakeExchange.so"}) {
      EXPECT_TRUE(fs::exists(plugins / library)) << (plugins / library) << " is not built";
      fs::copy_file(plugins / library, type / library);
    }
    fs::copy_file(testsupport::FixturePath("config/orvisto_no_attributes.xml"), fs::path(dir_.path()) / "Orvisto.xml");
  }
  std::wstring Path() const { return fs::path(dir_.path()).wstring(); }

 private:
  testsupport::TempDir dir_;
};

class FileCommandsTest : public ::testing::Test {
 protected:
  FileCommandsTest() { app.UseMessageFacade(&facade); }
  ~FileCommandsTest() override { app.ExitInstance(); }

  void Start() {
    ASSERT_TRUE(app.InitInstance({QStringLiteral("orvisto")}, program.Path()));
    frame = app.MainFrame();
    ASSERT_NE(frame, nullptr);
    env = InstalledAppEnvironment();
    ASSERT_NE(env, nullptr);
  }
  void Trigger(int offset) {
    frame->UpdateCommandStates();
    ASSERT_TRUE(frame->Command(offset)->isEnabled()) << offset;
    frame->Command(offset)->trigger();
  }

  ProgramDirectory program;
  testsupport::TempDir files;
  shelltest::ScriptedMessageFacade facade{false};
  CBrennoLadApp app;
  CMainFrame* frame = nullptr;
  AppEnvironment* env = nullptr;
};

TEST_F(FileCommandsTest, NewSaveAsThenOpenReadsTheFileBack) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const fs::path file = fs::path(files.path()) / "first.lqw";

  Trigger(CmdFileNew);
  EXPECT_TRUE(facade.asked.empty());  // nothing to save: no question
  EXPECT_TRUE(env->ProjectPath.empty());
  EXPECT_FALSE(env->Modified.load());
  const Project* created = &env->ProjectList.back();

  facade.chosenPath = file.wstring();
  Trigger(CmdFileSaveAs);
  ASSERT_TRUE(fs::exists(file));
  EXPECT_GT(fs::file_size(file), 0u);
  EXPECT_EQ(env->ProjectPath, file.wstring());
  EXPECT_FALSE(env->Modified.load());
  EXPECT_TRUE(frame->windowTitle().contains(QString::fromStdWString(file.wstring())));
  const auto written = fs::last_write_time(file);

  // Open with unsaved changes: the question, answered No, then the file is read back.
  env->Modified = true;
  facade.answers = {kIdNo};
  Trigger(CmdFileOpen);
  ASSERT_EQ(facade.asked.size(), 1u);
  EXPECT_EQ(facade.asked[0].Buttons, MessageButtons::YesNoCancel);
  EXPECT_EQ(facade.fileKinds.back(), FileDialogKind::OpenProject);
  EXPECT_EQ(env->ProjectPath, file.wstring());
  EXPECT_FALSE(env->Modified.load());
  EXPECT_NE(&env->ProjectList.back(), created);  // a project read from the file replaced it
  EXPECT_EQ(fs::last_write_time(file), written);  // the No answer saved nothing

  // The reopened project saves to the same bytes.
  const fs::path again = fs::path(files.path()) / "again.lqw";
  facade.chosenPath = again.wstring();
  Trigger(CmdFileSaveAs);
  ASSERT_TRUE(fs::exists(again));
  EXPECT_EQ(ReadAll(again), ReadAll(file));
}

TEST_F(FileCommandsTest, CancelledQuestionOrSaveKeepsTheProject) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const Project* before = &env->ProjectList.back();
  env->Modified = true;

  facade.answers = {kIdCancel};
  Trigger(CmdFileNew);
  EXPECT_EQ(&env->ProjectList.back(), before);
  EXPECT_TRUE(env->Modified.load());

  // Yes, but the save dialog is cancelled (no path chosen): the unsaved changes are kept.
  facade.answers = {kIdYes};
  facade.chosenPath.clear();
  Trigger(CmdFileNew);
  EXPECT_EQ(&env->ProjectList.back(), before);
  EXPECT_TRUE(env->Modified.load());
  EXPECT_EQ(facade.fileKinds.back(), FileDialogKind::SaveProject);

  // Yes with a path: saved first, then replaced by a new project.
  const fs::path file = fs::path(files.path()) / "kept.lqw";
  facade.answers = {kIdYes};
  facade.chosenPath = file.wstring();
  Trigger(CmdFileNew);
  EXPECT_TRUE(fs::exists(file));
  EXPECT_NE(&env->ProjectList.back(), before);
  EXPECT_TRUE(env->ProjectPath.empty());
  EXPECT_FALSE(env->Modified.load());
}

TEST_F(FileCommandsTest, NewAndOpenCloseTheTableFramesBeforeTheQuestion) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const Project* before = &env->ProjectList.back();
  constexpr ChildFrameKind kClosed[] = {ChildFrameKind::DataBlocks, ChildFrameKind::FunctionSymbols,
                                        ChildFrameKind::VariableSymbols};
  for (const int offset : {CmdFileNew, CmdFileOpen}) {
    for (const ChildFrameKind kind : kClosed) frame->OpenChildFrame(kind);
    frame->OpenChildFrame(ChildFrameKind::ProgramEditor);
    for (const ChildFrameKind kind : kClosed) ASSERT_NE(frame->ChildFrame(kind), nullptr);
    env->Modified = true;
    facade.answers = {kIdCancel};
    Trigger(offset);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The question was cancelled: the project stays, the three table frames are gone all the same.
    EXPECT_EQ(&env->ProjectList.back(), before) << offset;
    EXPECT_TRUE(env->Modified.load());
    for (const ChildFrameKind kind : kClosed) EXPECT_EQ(frame->ChildFrame(kind), nullptr) << offset;
    EXPECT_NE(frame->ChildFrame(ChildFrameKind::ProgramEditor), nullptr);
    // Their codes are dropped now.
    frame->RouteUpdate(0x8600, 0);
    frame->RouteUpdate(0x8C00, 0);
    frame->RouteUpdate(0x8D00, 0);
  }
  env->Modified = false;
}

TEST_F(FileCommandsTest, DownloadFromTheMenuGoesOnOnlyWhileStillOffline) {
  ASSERT_NO_FATAL_FAILURE(Start());
  // While the settings dialog is open a job takes the port; the dialog is then cancelled.
  QTimer::singleShot(0, [this] {
    env->CommState = CommCommand;
    if (QWidget* dialog = QApplication::activeModalWidget()) static_cast<QDialog*>(dialog)->reject();
  });
  Trigger(CmdFileDownload);
  // A download started now would report that it cannot take the port.
  QElapsedTimer waited;
  waited.start();
  while (facade.asked.empty() && waited.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_TRUE(facade.asked.empty());
  EXPECT_EQ(env->CommState.load(), CommCommand);
  env->CommState = CommOffline;
}

TEST_F(FileCommandsTest, ViewSwitchesAndCompile) {
  ASSERT_NO_FATAL_FAILURE(Start());
  auto outputLines = [this] {
    QStringList lines;
    CInforOutputView* view = frame->OutputPane()->View();
    for (int i = 0; i < view->count(); ++i) lines << view->item(i)->text();
    return lines;
  };
  ProgramBlock& block = env->ProjectList.back().Program;
  ASSERT_EQ(block.ViewMode, kViewModeLad);
  Trigger(CmdViewStl);
  EXPECT_EQ(block.ViewMode, kViewModeStl);
  EXPECT_TRUE(outputLines().contains(QStringLiteral("Total 0 Error(s)")));
  EXPECT_TRUE(env->Modified.load());  // showing the program in another view marks it changed
  frame->UpdateCommandStates();
  EXPECT_TRUE(frame->Command(CmdViewStl)->isChecked());
  EXPECT_FALSE(frame->Command(CmdViewLad)->isChecked());
  Trigger(CmdViewLad);
  EXPECT_EQ(block.ViewMode, kViewModeLad);

  // Symbolic addressing twice comes back to the setting it started from.
  const int symbolic = env->Config.SymbolicAddr;
  Trigger(CmdViewSymbolic);
  EXPECT_NE(env->Config.SymbolicAddr, symbolic);
  Trigger(CmdViewSymbolic);
  EXPECT_EQ(env->Config.SymbolicAddr, symbolic);

  frame->OutputPane()->View()->clear();
  Trigger(CmdPlcCompileAll);
  EXPECT_TRUE(frame->OutputPane()->isVisible());
  EXPECT_TRUE(outputLines().contains(QStringLiteral("Total 0 Error(s)"))) << outputLines().join('|').toStdString();
  env->Modified = false;
}

TEST_F(FileCommandsTest, WriteFileNamesTheFileItWrote) {
  ASSERT_NO_FATAL_FAILURE(Start());
  // The image goes to the current folder, wherever the workbench was started.
  const fs::path previous = fs::current_path();
  fs::current_path(files.path());
  frame->OutputPane()->hide();
  Trigger(CmdFileWriteFlash);
  const fs::path written = fs::current_path() / "Flash.DAT";
  fs::current_path(previous);
  EXPECT_TRUE(fs::exists(written));
  EXPECT_TRUE(facade.asked.empty());
  EXPECT_TRUE(frame->OutputPane()->isVisible());
  CInforOutputView* view = frame->OutputPane()->View();
  ASSERT_GT(view->count(), 0);
  EXPECT_EQ(view->item(view->count() - 1)->text(), QStringLiteral("Image file written: ") + QString::fromStdWString(written.wstring()));
}

TEST_F(FileCommandsTest, ClearAsksFirstAndNoStartsNothing) {
  ASSERT_NO_FATAL_FAILURE(Start());
  facade.answers = {kIdNo};
  Trigger(CmdPlcClear);
  ASSERT_EQ(facade.asked.size(), 1u);
  EXPECT_EQ(facade.asked[0].Buttons, MessageButtons::YesNo);
  EXPECT_EQ(facade.asked[0].Icon, MessageIcon::Exclamation);
  EXPECT_EQ(facade.asked[0].Text, L"Clear PLC will destroy all data in target PLC, Do you want to continue?");
  EXPECT_EQ(env->CommState.load(), CommOffline);
  // A command without a handler stays disabled.
  frame->UpdateCommandStates();
  EXPECT_TRUE(frame->Command(CmdPlcModbusQuery)->isEnabled());
  EXPECT_FALSE(frame->Command(CmdFileReadFile)->isEnabled());
  // The PLC type and trend commands have theirs and are offered offline.
  EXPECT_TRUE(frame->Command(CmdPlcType)->isEnabled());
  EXPECT_TRUE(frame->Command(CmdPlcTrend)->isEnabled());
}

TEST_F(FileCommandsTest, OfflineCommandsDoNothingOutsideTheirState) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const Project* before = &env->ProjectList.back();
  env->CommState = CommOnline;
  frame->UpdateCommandStates();
  EXPECT_FALSE(frame->Command(CmdFileNew)->isEnabled());
  EXPECT_TRUE(frame->Command(CmdFileSave)->isEnabled());
  EXPECT_TRUE(frame->Command(CmdDebugDisconnect)->isEnabled());
  // Through its accelerator the disabled command still arrives; it acts not.
  frame->Command(CmdFileNew)->setEnabled(true);
  frame->Command(CmdFileNew)->trigger();
  EXPECT_EQ(&env->ProjectList.back(), before);
  env->CommState = CommOffline;
}

}  // namespace
}  // namespace Brenno
