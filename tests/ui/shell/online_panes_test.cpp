// The diagnosis window and the debug pane fed by the real online monitor from the simulated PLC:
// the monitor's diagnosis reads reach the window's rows, and the debug record is read from the
// PLC only once the pane asks for it, and then shows in the pane's table.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTreeWidget>
#include <QWindow>

#include <chrono>
#include <functional>
#include <thread>

#include "core/env/manager_var_reader.h"
#include "core/env/operand_address.h"
#include "core/link/comm_state.h"
#include "core/link/monitor_write_jobs.h"
#include "core/link/online_access.h"
#include "core/link/online_monitor.h"
#include "tests/core/link/link_test_support.h"
#include "tests/support/recording_draw_context.h"
#include "tests/support/test_paths.h"
#include "ui/shell/debug_infor_painter.h"
#include "ui/shell/debug_infor_pane.h"
#include "ui/shell/diagnose_dlg.h"
#include "ui/shell/notify_codes.h"

namespace Brenno {
namespace {

using linktest::LinkEnvironment;
using linktest::SimOptions;
using testsupport::SimulatedPlc;
using Clock = std::chrono::steady_clock;

bool WaitFor(const std::function<bool()>& done, int ms = 5000) {
  const auto end = Clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (Clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

CompiledImagePages SampleImages() {
  CompiledImagePages pages;
  pages.DataPages[0] = {0x11223344};
  pages.InstructionPages[0] = {0xAABBCCDD};
  return pages;
}

class OnlinePanesTest : public ::testing::Test {
 protected:
  OnlinePanesTest() : plc_(SimOptions(SimulatedPlc::Transport::kUnixSocket)), link_(64) {}

  void SetUp() override {
    link_.UseSimulator(plc_, SimulatedPlc::Transport::kUnixSocket);
    env().Config.LinkTimeUpdateUi = 20;
    ReadManagerVar(Project().MemoryAreas,
                   platform::FromUtf8Lossy(testsupport::FixturePath("catalog/Orvisto/TypeA/ManagerVar.xml")));
    RebuildOnlineCache(Project().Online, Project().MemoryAreas);
    InstallEnvironment(&env());
    InstallLinkOnlineServices();
    SetImageCompiler([](AppEnvironment&, CompiledImagePages& pages) { pages = SampleImages(); });
    std::array<std::vector<uint8_t>, 3> images;
    FillImageBytes(SampleImages(), images);
    const std::array<uint8_t, 6> s = ComputeStampBytes(images);
    SetPlcDoubleWord(20, s[0] | s[1] << 8 | s[2] << 16 | static_cast<uint32_t>(s[3]) << 24);
    SetPlcDoubleWord(24, s[4] | s[5] << 8);
    options_.YieldPauseMs = 5;
    options_.StateEvery = 1;
    options_.DiagnosisEvery = 1;
  }
  void TearDown() override {
    if (monitor_.IsRunning()) RequestMonitorStop(env());
    monitor_.Join();
    JoinLinkJobThreads();
    SetImageCompiler(nullptr);
    InstallOnlineServices(nullptr);
    InstallEnvironment(nullptr);
  }

  AppEnvironment& env() { return link_.env(); }
  Brenno::Project& Project() { return env().ProjectList.back(); }

  // A double word of slot 7 (the PLC's system area) in the simulated PLC's memory.
  void SetPlcDoubleWord(int byte, uint32_t value) {
    OperandWord word = 0;
    PackOperandWord(word, Project().MemoryAreas, OperandFields{kKindValue, 7, kWidthDword, byte, 0, 0, 0});
    plc_.WithMemory([&](SimulatedPlc::Memory& m) { m.Variables[word] = value; });
  }
  bool BreakPointRead() {
    for (const SimulatedPlc::Request& request : plc_.Requests()) {
      if (request.Code == 0x0A34) return true;
    }
    return false;
  }

  SimulatedPlc plc_;
  LinkEnvironment link_;
  OnlineMonitor monitor_;
  MonitorOptions options_;
};

TEST_F(OnlinePanesTest, TheMonitorsReadsReachTheDiagnosisWindowAndTheDebugPane) {
  SetPlcDoubleWord(8, 0xFFFF0521);   // hardware 2.1, software 0.5, program area 65535
  SetPlcDoubleWord(12, 0xFFFFFFFF);  // reset count -1
  SetPlcDoubleWord(16, 90);          // run time
  SetPlcDoubleWord(0x80, 0x01010117);      // module 1: type 23, status 1, switch on, online
  SetPlcDoubleWord(0x84, 0x00033412);      // versions 1.2 and 3.4, reset count 3
  SetPlcDoubleWord(0x88, 0x00000005);      // link errors 5
  plc_.WithMemory([](SimulatedPlc::Memory& m) {
    m.BreakPointReply = {0, 0, 0, 0, 0, 0x81, 0, 12, 0, 3, 0x12, 0x34, 0, 0x56, 9, 4};
  });
  CDiagnoseDlg dlg;
  CDebugInforPane pane(env(), QStringLiteral("Debug Information"), nullptr);
  pane.resize(500, 200);
  pane.show();
  QElapsedTimer exposing;
  exposing.start();
  while ((pane.windowHandle() == nullptr || !pane.windowHandle()->isExposed()) && exposing.elapsed() < 2000) {
    QCoreApplication::processEvents();
  }

  ASSERT_TRUE(monitor_.Start(env(), options_));
  // The controller and the modules are read by separate requests: each refresh shows what has
  // arrived so far, until both are there.
  const QStringList expectedController{QStringLiteral("2.1"), QStringLiteral("0.5"), QStringLiteral("65535"),
                                       QStringLiteral("-1"), QStringLiteral("90")};
  const QStringList expectedModule{QStringLiteral("Yolvask"), QStringLiteral("正确"), QStringLiteral("打开"),
                                   QStringLiteral("在线"),    QStringLiteral("1.2"),  QStringLiteral("3.4"),
                                   QStringLiteral("3"),       QStringLiteral("5")};
  QStringList controller;
  QStringList module;
  WaitFor([&] {
    dlg.OnPaneRequest(UpdDiagnoseRefresh, 0);
    controller.clear();
    module.clear();
    for (int i = 0; i < 5; ++i) controller << dlg.ControllerGroup()->child(i)->text(1);
    for (int i = 0; i < 8; ++i) module << dlg.ModuleGroup(1)->child(i)->text(1);
    return controller == expectedController && module == expectedModule;
  });
  EXPECT_EQ(controller, expectedController);
  EXPECT_EQ(module, expectedModule);
  EXPECT_FALSE(dlg.ModuleGroup(2)->isExpanded());

  // Nobody has shown the debug record yet: the monitor does not read it.
  EXPECT_FALSE(BreakPointRead());
  ASSERT_TRUE(WaitFor([&] {
    pane.OnPaneRequest(UpdDebugOnline, 0);
    return Project().Online.Data().Debug.UpdateTick() != 0;
  }));
  EXPECT_TRUE(BreakPointRead());
  testsupport::RecordingDrawContext dc;
  OnlineCacheSnapshot snapshot = TakeCurrentOnlineSnapshot();
  PaintDebugInformation(Rect{0, 0, 450, 125}, env().CommState.load(), snapshot, dc);
  std::vector<std::wstring> values;
  for (const testsupport::DrawCall& call : dc.calls()) {
    if (call.kind == testsupport::DrawCall::kText && call.rect.left == 160) values.push_back(call.text);
  }
  EXPECT_EQ(values, (std::vector<std::wstring>{L"00010001H", L"11", L"3", L"00001234H", L"00000056H", L"9", L"4"}));
}

}  // namespace
}  // namespace Brenno
