// The notification hub: the code sequence of each event, the changed mark, and delivery to the
// main frame on the GUI thread from any thread.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <thread>

#include "core/link/app_environment.h"
#include "core/project/project.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/shell/ui_dispatcher.h"

namespace Brenno {
namespace {

using Calls = std::vector<PaneUpdateCall>;

class RecordingSink : public MainFrameSink {
 public:
  RecordingSink() { InstallMainFrameSink(this); }
  ~RecordingSink() override { InstallMainFrameSink(nullptr); }
  void RouteUpdate(uint16_t code, intptr_t value) override {
    calls.push_back({code, value});
    onGuiThread = onGuiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    changedWhenFirst.push_back(InstalledEnvironment() != nullptr && InstalledEnvironment()->Modified.load());
  }
  void SetStatusText(const std::wstring& text, bool blue) override { status = {text, blue}; }
  Calls calls;
  std::vector<bool> changedWhenFirst;
  bool onGuiThread = true;
  std::pair<std::wstring, bool> status;
};

class HubTest : public ::testing::Test {
 protected:
  HubTest() {
    env.ProjectList.emplace_back();
    InstallEnvironment(&env);
  }
  ~HubTest() override { InstallEnvironment(nullptr); }
  AppEnvironment env;
  RecordingSink sink;
};

TEST(NotifyPlan, EventsSendTheirCodesInOrder) {
  const ReplacedProjectKeys keys{3, 0x10002, 7};
  struct Case {
    uint32_t event;
    intptr_t value;
    bool changed;
    Calls calls;
  };
  const Case cases[] = {
      {EvCaptionChanged, 0, false, {{UpdFrameCaption, 0}}},
      {EvProjectReplaced, 0, false,
       {{UpdFrameCaption, 0}, {UpdOpenProgramEditor, 0}, {UpdChartPagesRebuild, 0}, {UpdTreeRebuild, 0},
        {UpdOutputClear, 0}, {UpdDataPagesRebuild, 0}, {UpdDataPageSelect, 3}, {UpdVarTableSetPage, 0x10002},
        {UpdPageTabsRebuild, 0}, {UpdPageTabSelect, 0x10002}, {UpdLadRelayout, 0}, {UpdLadRedraw, 0},
        {UpdFunSymbolsRebuild, 0}, {UpdVarTablesRebuild, 0}, {UpdVarTableSelect, 7}}},
      {EvProgramShownAsLad, 0, true,
       {{UpdFrameCaption, 0}, {UpdTreeInstructions, 0}, {UpdOpenProgramEditor, 0}, {UpdLadRelayout, 0}, {UpdLadRedraw, 0}}},
      {EvOutputAppend, 1234, false, {{UpdOutputAppend, 1234}}},
      {EvOutputClear, 0, false, {{UpdOutputClear, 0}}},
      {EvMonitorTick, 0, false, {{UpdChartOnline, 0}, {UpdDebugOnline, 0}, {UpdLadOnline, 0}, {UpdDiagnoseRefresh, 0}}},
      {EvStatusChartAdded, 5, true,
       {{UpdFrameCaption, 0}, {UpdTreeStatusCharts, 5}, {UpdChartPagesRebuild, 0}, {UpdChartPageSelect, 5}}},
      {EvTreeDataBlockCommented, 4, true, {{UpdFrameCaption, 0}, {UpdDataPagesRetitle, 0}, {UpdDataPageSelect, 4}}},
      {EvTreeOpenDataBlock, 4, false, {{UpdOpenDataBlocks, 0}, {UpdDataPageSelect, 4}}},
      {EvTreeProgramPageAdded, 9, true,
       {{UpdFrameCaption, 0}, {UpdFunSymbolsRebuild, 0}, {UpdVarTableSetPage, 9}, {UpdPageTabsRebuild, 0}, {UpdPageTabSelect, 9}}},
      {EvTreeOpenCrossReference, 77, false, {{UpdOpenCrossReference, 77}}},
      {EvProgramPageRemoved, 2, true,
       {{UpdFrameCaption, 0}, {UpdTreeProgramPages, 2}, {UpdTreeInstructions, 0}, {UpdFunSymbolsRebuild, 0},
        {UpdVarTableSetPage, 2}, {UpdPageTabsRebuild, 0}, {UpdPageTabSelect, 2}}},
      {EvFunctionSymbolEdited, 2, true,
       {{UpdFrameCaption, 0}, {UpdTreeProgramPages, 2}, {UpdTreeInstructions, 0}, {UpdPageTabsRetitle, 0}, {UpdPageTabSelect, 2}}},
      {EvVariableTableDeleted, 1, true,
       {{UpdFrameCaption, 0}, {UpdTreeVariableTables, 1}, {UpdVarTablesRebuild, 0}, {UpdVarTableSelect, 1}, {UpdLadRedraw, 0}}},
      {EvCrossReferenceRefreshed, 0, false, {{UpdXrefRebuild, 0}}},
      // A changed page or local variable table is shown at once, whoever changed it.
      {EvProgramEdited, 0, true, {{UpdFrameCaption, 0}, {UpdLadRelayout, 0}, {UpdLadRedraw, 0}}},
      {EvVarTableEdited, 0, true, {{UpdFrameCaption, 0}, {UpdLadRedraw, 0}}},
      // Symbols edited: whatever names its operands by them follows (symbolic addressing).
      {EvVariableSymbolsEdited, 0, true,
       {{UpdFrameCaption, 0}, {UpdChartRefresh, 0}, {UpdDataRowsRefresh, 0}, {UpdLadRedraw, 0}}},
      {EvDataRowsEdited, 0, true, {{UpdFrameCaption, 0}}},
      {EvStatusChartValueWritten, 0, false, {}},
      {EvDataBlockTabChanged, 3, false, {}},
  };
  for (const Case& c : cases) {
    const NotifyPlan plan = PlanNotifyEvent(c.event, c.value, keys);
    EXPECT_EQ(plan.SetsChanged, c.changed) << std::hex << c.event;
    EXPECT_EQ(plan.Calls, c.calls) << std::hex << c.event;
  }
}

TEST(NotifyPlan, UnknownEventsSendNothing) {
  for (uint32_t event : {0x009u, 0x104u, 0x31Du, 0x603u, 0xB01u, 0xC05u, 0xFFFFFFFFu}) {
    const NotifyPlan plan = PlanNotifyEvent(event, 5, {});
    EXPECT_FALSE(plan.SetsChanged) << std::hex << event;
    EXPECT_TRUE(plan.Calls.empty()) << std::hex << event;
  }
}

TEST(NotifyPlan, LocationRequestsFollowTheRecordKind) {
  int32_t dataRow[] = {0, 12, 3};
  int32_t program[] = {2, 0x10001, 4};
  int32_t other[] = {4, 1, 1};
  const int32_t* dataPtr = dataRow;
  const int32_t* programPtr = program;
  const int32_t* otherPtr = other;
  const auto value = [](const int32_t*& p) { return reinterpret_cast<intptr_t>(&p); };
  for (uint32_t event : {uint32_t{EvGoToLocation}, uint32_t{EvCrossReferenceLocate}}) {
    EXPECT_EQ(PlanNotifyEvent(event, value(dataPtr), {}).Calls,
              (Calls{{UpdOpenDataBlocks, 0}, {UpdDataPageSelect, 12}, {UpdDataRowsLocate, value(dataPtr)}}));
    EXPECT_EQ(PlanNotifyEvent(event, value(programPtr), {}).Calls,
              (Calls{{UpdOpenProgramEditor, 0}, {UpdVarTableSetPage, 0x10001}, {UpdPageTabSelect, 0x10001},
                     {UpdLadLocate, value(programPtr)}}));
    EXPECT_TRUE(PlanNotifyEvent(event, value(otherPtr), {}).Calls.empty());
    EXPECT_TRUE(PlanNotifyEvent(event, 0, {}).Calls.empty());
  }
}

TEST(NotifyPlan, KeysOfAProjectWithoutPagesAreMinusOne) {
  AppEnvironment env;
  env.ProjectList.emplace_back();
  const ReplacedProjectKeys keys = KeysOfCurrentProject(&env);
  EXPECT_EQ(keys.DataBlock, -1);
  EXPECT_EQ(keys.ProgramPage, -1);
  EXPECT_EQ(keys.VariableTable, -1);
  EXPECT_EQ(KeysOfCurrentProject(nullptr).DataBlock, -1);
}

TEST_F(HubTest, EditingEventMarksTheProjectBeforeTheFirstCode) {
  NotifyMainFrame(EvStatusChartEdited, intptr_t{0});
  EXPECT_TRUE(env.Modified);
  EXPECT_EQ(sink.calls, (Calls{{UpdFrameCaption, 0}}));
  EXPECT_EQ(sink.changedWhenFirst, std::vector<bool>{true});
}

TEST_F(HubTest, ProjectReplacedLeavesTheMarkAsItWasAndUnknownEventsDoNothing) {
  NotifyMainFrame(EvProjectReplaced, intptr_t{0});
  EXPECT_FALSE(env.Modified);
  ASSERT_FALSE(sink.calls.empty());
  EXPECT_EQ(sink.calls.front(), (PaneUpdateCall{UpdFrameCaption, 0}));
  sink.calls.clear();
  NotifyMainFrame(0x104, intptr_t{0});
  EXPECT_TRUE(sink.calls.empty());
  EXPECT_FALSE(env.Modified);
}

TEST_F(HubTest, WorkerAnnouncementsRunOnTheGuiThreadAndWait) {
  UiDispatcher dispatcher;
  InstallUiDispatcher(&dispatcher);
  std::atomic<bool> done{false};
  std::wstring seen;
  std::thread worker([&] {
    const std::wstring line = L"Write Data Page 1";
    NotifyMainFrame(EvOutputAppend, line.c_str());
    // The text was read before the call returned.
    seen = sink.calls.empty() ? L"" : reinterpret_cast<const wchar_t*>(sink.calls.back().Value);
    ShowStatusText(L"在线", true);
    done = true;
  });
  while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  worker.join();
  InstallUiDispatcher(nullptr);
  EXPECT_TRUE(sink.onGuiThread);
  ASSERT_EQ(sink.calls.size(), 1u);
  EXPECT_EQ(sink.calls[0].Code, UpdOutputAppend);
  EXPECT_EQ(seen, L"Write Data Page 1");
  EXPECT_EQ(sink.status, (std::pair<std::wstring, bool>{L"在线", true}));
}

}  // namespace
}  // namespace Brenno
