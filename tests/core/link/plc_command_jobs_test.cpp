// The one-shot PLC command jobs against the simulated PLC: each sends its commands in order under
// its progress title, shows its result or error, is refused while another job runs, and always
// leaves its communication state; the run/stop starters act only while online.
#include "core/link/plc_command_jobs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/manager_var_reader.h"
#include "core/link/comm_state.h"
#include "core/link/link_commands.h"
#include "core/link/link_test_support.h"
#include "core/link/monitor_ui.h"
#include "core/link/monitor_write_jobs.h"
#include "core/link/online_monitor.h"
#include "support/test_paths.h"

namespace Brenno {
namespace {

using linktest::LinkEnvironment;
using linktest::SimOptions;
using testsupport::SimulatedPlc;

struct ShownMessage {
  std::wstring Text;
  unsigned Icon = 0;
};

class RecordingJobUi : public MonitorUiServices {
 public:
  RecordingJobUi() { InstallMonitorUiServices(this); }
  ~RecordingJobUi() override { InstallMonitorUiServices(nullptr); }

  void NotifyMainFrame(int, intptr_t) override {}
  void ShowStatusText(const std::wstring&, int) override {}
  void MessageBoxOk(const std::wstring& text, unsigned icon) override {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back({text, icon});
  }
  int MessageBoxYesNo(const std::wstring&, unsigned) override { return kAnswerYes; }

  std::vector<ShownMessage> Messages() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<ShownMessage> messages_;
};

class PlcCommandJobsTest : public ::testing::Test {
 protected:
  PlcCommandJobsTest() : plc_(SimOptions(SimulatedPlc::Transport::kUnixSocket)) {}

  void SetUp() override {
    SetCurrentLanguage(kLanguageEnglish);
    link_.UseSimulator(plc_, SimulatedPlc::Transport::kUnixSocket);
  }
  void TearDown() override {
    JoinLinkJobThreads();
    SetCurrentLanguage(kLanguageEnglish);
  }

  AppEnvironment& env() { return link_.env(); }

  std::vector<uint16_t> Codes() const {
    std::vector<uint16_t> codes;
    for (const SimulatedPlc::Request& r : plc_.Requests()) codes.push_back(r.Code);
    return codes;
  }

  SimulatedPlc plc_;
  LinkEnvironment link_;
  RecordingJobUi ui_;
  linktest::RecordingLinkUi linkUi_;
};

struct JobCase {
  const char* name;
  std::function<int(AppEnvironment&)> run;
  std::vector<uint16_t> codes;
  const wchar_t* title;
  std::function<void(const SimulatedPlc::Memory&)> check;
};

std::vector<JobCase> JobCases() {
  using M = SimulatedPlc::Memory;
  return {
      {"scan", [](AppEnvironment& e) { return ForceScanThreadProc(e, 3); }, {kCodeForceScan}, L"Force Scan",
       [](const M& m) { EXPECT_EQ(m.Scans, std::vector<uint8_t>{3}); }},
      {"reset", ForceResetThreadProc, {kCodeForceReset}, L"Force Reset", [](const M& m) { EXPECT_EQ(m.Resets, 1); }},
      {"clear", ClearPlcThreadProc, {kCodeClearPlc, kCodeForceReset}, L"Clear PLC",
       [](const M& m) {
         EXPECT_EQ(m.Clears, 1);
         EXPECT_EQ(m.Resets, 1);
       }},
      {"debug scan", [](AppEnvironment& e) { return ForceDebugScanThreadProc(e, 2); }, {kCodeForceDebugScan},
       L"Force Debug Scan", [](const M& m) { EXPECT_EQ(m.DebugScans, std::vector<uint8_t>{2}); }},
      {"debug reset", ForceDebugResetThreadProc, {kCodeForceDebugReset}, L"Force Debug Reset",
       [](const M& m) { EXPECT_EQ(m.DebugResets, 1); }},
      {"run", [](AppEnvironment& e) { return WriteStatusThreadProc(e, 1); }, {kCodeWriteStatus}, L"Write Status",
       [](const M& m) { EXPECT_EQ(m.RunState, 1); }},
      {"debug run", [](AppEnvironment& e) { return WriteDebugStatusThreadProc(e, 1); }, {kCodeWriteDebugStatus},
       L"Write Debug Status", [](const M& m) { EXPECT_EQ(m.DebugState, 1); }},
      {"information", GetPlcInformationThreadProc, {kCodeGetPlcInformation}, L"Get PLC Information",
       [](const M&) {}},
      {"read clock", ReadPlcClockThreadProc, {kCodeReadClock}, L"Read PLC's Date and Time", [](const M&) {}},
  };
}

TEST_F(PlcCommandJobsTest, EachJobSendsItsCommandsUnderItsTitleAndLeavesTheState) {
  for (const JobCase& c : JobCases()) {
    SCOPED_TRACE(c.name);
    plc_.ClearRequests();
    plc_.WithMemory([](SimulatedPlc::Memory& m) { m = SimulatedPlc::Memory{}; });
    linkUi_.Progress.clear();
    const size_t shown = ui_.Messages().size();
    EXPECT_EQ(c.run(env()), 0);
    EXPECT_EQ(Codes(), c.codes);
    c.check(plc_.MemorySnapshot());
    EXPECT_EQ(env().CommState.load(), CommOffline);  // the port opened by the job is closed again
    ASSERT_FALSE(linkUi_.Progress.empty());
    EXPECT_EQ(linkUi_.Progress.front().Text.rfind(c.title, 0), 0u);
    EXPECT_EQ(linkUi_.Progress.back().Percent1, 100);  // the progress dialog is closed
    // Only the information and clock jobs show a result, and no job shows an error.
    const std::vector<ShownMessage> messages = ui_.Messages();
    for (size_t i = shown; i < messages.size(); ++i) EXPECT_EQ(messages[i].Icon, kIconInformation);
  }
}

TEST_F(PlcCommandJobsTest, ClearRunsItsTwoStepsOverTheTwoHalvesOfTheProgress) {
  ClearPlcThreadProc(env());
  std::vector<ProgressInfo> steps;
  for (const ProgressInfo& p : linkUi_.Progress) {
    if (!p.Text.empty()) steps.push_back(p);
  }
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].Text, L"Clear PLC (1/1)");
  EXPECT_EQ(steps[0].Percent1, 0);
  EXPECT_EQ(steps[1].Text, L"Force Reset (1/1)");
  EXPECT_EQ(steps[1].Percent1, 50);

  // A refused clear sends no reset, shows the error and still closes the port.
  plc_.ClearRequests();
  plc_.RefuseCode(kCodeClearPlc);
  ClearPlcThreadProc(env());
  EXPECT_EQ(Codes(), std::vector<uint16_t>{kCodeClearPlc});
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_EQ(ui_.Messages()[0].Icon, kIconStop);
  EXPECT_NE(ui_.Messages()[0].Text.find(L"Clear PLC"), std::wstring::npos);  // the failed step
  EXPECT_EQ(env().CommState.load(), CommOffline);
}

TEST_F(PlcCommandJobsTest, ClearOnADeadSerialPortShowsTheOpenErrorAndStaysOffline) {
  env().Config.LinkPortPath = L"/nonexistent/ttyORV0";
  ClearPlcThreadProc(env());
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_EQ(ui_.Messages()[0].Text, L"Open COM Port Error");
  EXPECT_EQ(ui_.Messages()[0].Icon, kIconStop);
  EXPECT_EQ(env().CommState.load(), CommOffline);
  EXPECT_TRUE(linkUi_.Progress.empty());
}

TEST_F(PlcCommandJobsTest, EveryJobIsRefusedAtOnceWhileAnotherJobRuns) {
  env().CommState = CommCommand;  // a download holds the port
  std::vector<std::function<int(AppEnvironment&)>> jobs;
  for (const JobCase& c : JobCases()) jobs.push_back(c.run);
  jobs.push_back([](AppEnvironment& e) { return WritePlcClockThreadProc(e); });
  for (const auto& job : jobs) job(env());
  const std::vector<ShownMessage> messages = ui_.Messages();
  ASSERT_EQ(messages.size(), jobs.size());
  for (const ShownMessage& m : messages) {
    EXPECT_EQ(m.Text, L"Enter Command State Error");
    EXPECT_EQ(m.Icon, kIconStop);
  }
  EXPECT_EQ(env().CommState.load(), CommCommand);
  EXPECT_TRUE(plc_.Requests().empty());
  EXPECT_TRUE(linkUi_.Progress.empty());
  env().CommState = CommOffline;
}

TEST(PlcClockText, NumbersWithoutLeadingZerosInBothLanguages) {
  struct Case {
    std::array<uint8_t, 7> bytes;
    int language;
    const wchar_t* text;
  } cases[] = {
      {{30, 5, 9, 4, 4, 3, 21}, kLanguageEnglish, L"Date : 21-3-4\r\nWeekday : 4\r\nTime : 9:5:30\r\n"},
      {{30, 5, 9, 4, 4, 3, 21}, kLanguageChinese, L"日期 : 21-3-4\r\n星期 : 4\r\n时间 : 9:5:30\r\n"},
      {{0, 0, 0, 1, 0, 1, 0}, kLanguageEnglish, L"Date : 0-1-1\r\nWeekday : 0\r\nTime : 0:0:0\r\n"},
      {{59, 59, 23, 31, 6, 12, 255}, kLanguageEnglish, L"Date : 255-12-31\r\nWeekday : 6\r\nTime : 23:59:59\r\n"},
  };
  for (const Case& c : cases) {
    SetCurrentLanguage(c.language);
    EXPECT_EQ(PlcClockText(PlcClock::FromBytes(c.bytes)), c.text);
  }
  SetCurrentLanguage(kLanguageEnglish);
}

TEST_F(PlcCommandJobsTest, InformationAndClockJobsShowWhatThePlcHolds) {
  plc_.WithMemory([](SimulatedPlc::Memory& m) {
    m.Information = "TYPE-A V2.1";
    m.Clock = {0, 0, 0, 1, 0, 1, 0};
  });
  GetPlcInformationThreadProc(env());
  ReadPlcClockThreadProc(env());
  const std::vector<ShownMessage> messages = ui_.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].Text, L"TYPE-A V2.1");
  EXPECT_EQ(messages[0].Icon, kIconInformation);
  EXPECT_EQ(messages[1].Text, L"Date : 0-1-1\r\nWeekday : 0\r\nTime : 0:0:0\r\n");
  EXPECT_EQ(messages[1].Icon, kIconInformation);
}

TEST_F(PlcCommandJobsTest, WritingTheClockSendsTheLocalTimeAndShowsIt) {
  std::tm local{};
  local.tm_year = 2021 - 1900;
  local.tm_mon = 2;
  local.tm_mday = 4;
  local.tm_wday = 4;
  local.tm_hour = 9;
  local.tm_min = 5;
  local.tm_sec = 30;
  WritePlcClockThreadProc(env(), local);
  EXPECT_EQ(plc_.MemorySnapshot().Clock, (std::array<uint8_t, 7>{30, 5, 9, 4, 4, 3, 21}));
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_EQ(ui_.Messages()[0].Text, L"Date : 21-3-4\r\nWeekday : 4\r\nTime : 9:5:30\r\n");

  // A year the clock cannot hold is refused before anything is sent, and the port is closed.
  plc_.ClearRequests();
  local.tm_year = 2256 - 1900;
  WritePlcClockThreadProc(env(), local);
  EXPECT_TRUE(plc_.Requests().empty());
  ASSERT_EQ(ui_.Messages().size(), 2u);
  EXPECT_EQ(ui_.Messages()[1].Text, L"Send Data Error");
  EXPECT_EQ(ui_.Messages()[1].Icon, kIconStop);
  EXPECT_EQ(env().CommState.load(), CommOffline);
  EXPECT_EQ(plc_.MemorySnapshot().Clock, (std::array<uint8_t, 7>{30, 5, 9, 4, 4, 3, 21}));

  // The job without a time argument takes the computer's clock.
  WritePlcClockThreadProc(env());
  EXPECT_EQ(plc_.MemorySnapshot().Clock[6], static_cast<uint8_t>(
      [] { std::time_t now = std::time(nullptr); std::tm t{}; localtime_r(&now, &t); return t.tm_year + 1900 - 2000; }()));
}

TEST_F(PlcCommandJobsTest, TheStartersActOnlyWhileOnline) {
  EXPECT_FALSE(StartPlcRun(env()));
  EXPECT_FALSE(StartPlcStop(env()));
  EXPECT_FALSE(StartDebugRun(env()));
  EXPECT_FALSE(StartDebugStop(env()));
  JoinLinkJobThreads();
  EXPECT_TRUE(plc_.Requests().empty());
  EXPECT_TRUE(ui_.Messages().empty());
}

// Online: the starters' jobs borrow the monitor's port and hand it back.
class PlcCommandJobsOnline : public PlcCommandJobsTest {
 protected:
  void SetUp() override {
    PlcCommandJobsTest::SetUp();
    Project& project = env().ProjectList.back();
    ReadManagerVar(project.MemoryAreas,
                   platform::FromUtf8Lossy(testsupport::FixturePath("catalog/Orvisto/TypeA/ManagerVar.xml")));
    RebuildOnlineCache(project.Online, project.MemoryAreas);
    InstallEnvironment(&env());
    // An empty project image: the stamps of empty images are all 0xFF.
    SetImageCompiler([](AppEnvironment&, CompiledImagePages&) {});
    options_.YieldPauseMs = 10;
  }
  void TearDown() override {
    if (monitor_.IsRunning()) RequestMonitorStop(env());
    while (monitor_.IsRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    monitor_.Join();
    PlcCommandJobsTest::TearDown();
    SetImageCompiler(nullptr);
    InstallEnvironment(nullptr);
  }

  MonitorOptions options_;
  OnlineMonitor monitor_;
};

TEST_F(PlcCommandJobsOnline, RunAndStopBorrowTheMonitorsPort) {
  ASSERT_TRUE(monitor_.Start(env(), options_));
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(4);
  while (env().CommState.load() != CommOnline && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(env().CommState.load(), CommOnline);
  ASSERT_TRUE(StartPlcRun(env()));
  JoinLinkJobThreads();
  EXPECT_EQ(plc_.MemorySnapshot().RunState, 1);
  ASSERT_TRUE(StartDebugRun(env()));
  JoinLinkJobThreads();
  EXPECT_EQ(plc_.MemorySnapshot().DebugState, 1);
  ASSERT_TRUE(StartPlcStop(env()));
  JoinLinkJobThreads();
  EXPECT_EQ(plc_.MemorySnapshot().RunState, 0);
  ASSERT_TRUE(StartDebugStop(env()));
  JoinLinkJobThreads();
  EXPECT_EQ(plc_.MemorySnapshot().DebugState, 0);
  EXPECT_EQ(env().CommState.load(), CommOnline);  // the port went back to the monitor
  for (const ShownMessage& m : ui_.Messages()) ADD_FAILURE() << platform::ToUtf8Lossy(m.Text);
}

}  // namespace
}  // namespace Brenno
