#include "core/link/comm_state.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "core/env/exception_error.h"
#include "core/link/link_commands.h"
#include "core/link/link_request.h"
#include "link_test_support.h"
#include "platform/poll_io.h"

using namespace Brenno;
using testsupport::SimulatedPlc;
using Kind = SimulatedPlc::Transport;

namespace {

class CommStates : public testing::Test {
 protected:
  CommStates() : plc_(linktest::SimOptions(Kind::kUnixSocket)) { link_.UseSimulator(plc_, Kind::kUnixSocket); }

  AppEnvironment& env() { return link_.env(); }
  int state() { return env().CommState.load(); }
  bool LockIsFree() {
    if (!env().PortLock.try_lock()) return false;
    env().PortLock.unlock();
    return true;
  }

  SimulatedPlc plc_;
  linktest::LinkEnvironment link_;
};

// A stand-in for the online monitor: goes online, then holds the port lock and lets go of it
// for a moment after every "read", until told to stop, and goes offline.
class FakeMonitor {
 public:
  explicit FakeMonitor(AppEnvironment& env, int pauseMs = 20) : env_(env) {
    thread_ = std::thread([this, pauseMs] {
      EnterOnline(env_);
      online_ = true;
      while (!stop_) {
        env_.PortLock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
        env_.PortLock.lock();
        ++cycles_;
      }
      LeaveOnline(env_);
    });
    while (!online_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~FakeMonitor() { Stop(); }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  int cycles() const { return cycles_; }

 private:
  AppEnvironment& env_;
  std::atomic<bool> online_{false};
  std::atomic<bool> stop_{false};
  std::atomic<int> cycles_{0};
  std::thread thread_;
};

}  // namespace

TEST_F(CommStates, OfflineJobOpensAndClosesThePort) {
  EnterCommand(env());
  EXPECT_EQ(state(), CommCommand);
  EXPECT_FALSE(IsOnline(env()));
  EXPECT_GE(env().Port.PipeHandle, 0);
  LinkTask task;
  EXPECT_EQ(CmdReadStatus(env(), task, env().Link), 0);
  LeaveCommand(env());
  EXPECT_EQ(state(), CommOffline);
  EXPECT_EQ(env().Port.PipeHandle, -1);
  EXPECT_TRUE(LockIsFree());

  try {
    LeaveCommand(env());
    FAIL() << "no error";
  } catch (const ExceptionSwitchCommandLeaveError& e) {
    EXPECT_EQ(e.Message(), L"Leave Command State Error");
  }
  EXPECT_EQ(state(), CommOffline);
}

TEST_F(CommStates, ConnectAndDisconnectFromTheMonitorThread) {
  std::thread monitor([&] {
    EnterOnline(env());
    EXPECT_EQ(state(), CommOnline);
    EXPECT_TRUE(IsOnline(env()));
    EXPECT_GE(env().Port.PipeHandle, 0);
    LeaveOnline(env());
  });
  monitor.join();
  EXPECT_EQ(state(), CommOffline);
  EXPECT_EQ(env().Port.PipeHandle, -1);
  EXPECT_TRUE(LockIsFree());
}

TEST_F(CommStates, EveryTransitionRefusesTheStatesItDoesNotStartFrom) {
  using Op = std::function<void(AppEnvironment&)>;
  struct Row {
    const char* name;
    Op op;
    std::vector<int> accepted;
    std::wstring message;
  };
  const Row rows[] = {
      {"EnterOnline", EnterOnline, {0}, L"Enter Online State Error"},
      {"LeaveOnline", LeaveOnline, {3, 5}, L"Leave Online State Error"},
      {"EnterCommand", EnterCommand, {0, 3}, L"Enter Command State Error"},
      {"LeaveCommand", LeaveCommand, {6, 8}, L"Leave Command State Error"},
      {"EnterCommandWithoutPort", EnterCommandWithoutPort, {0, 3}, L"Enter Command State Error"},
      {"LeaveCommandWithoutPort", LeaveCommandWithoutPort, {6, 8}, L"Leave Command State Error"},
  };
  for (const Row& row : rows) {
    for (int s = 0; s <= 9; ++s) {
      if (std::find(row.accepted.begin(), row.accepted.end(), s) != row.accepted.end()) continue;
      env().CommState = s;
      try {
        row.op(env());
        ADD_FAILURE() << row.name << " accepted state " << s;
      } catch (const ExceptionSwitchError& e) {
        EXPECT_EQ(e.Message(), row.message) << row.name << " " << s;
      }
      EXPECT_EQ(state(), s) << row.name;
      EXPECT_TRUE(LockIsFree()) << row.name << " " << s;
    }
  }
  env().CommState = 0;
  EXPECT_EQ(plc_.Connections(), 0);
}

TEST_F(CommStates, ASecondJobIsRefusedAtOnceAndTheFirstGoesOn) {
  EnterCommand(env());
  std::thread second([&] {
    const int64_t start = platform::MonotonicMs();
    EXPECT_THROW(EnterCommand(env()), ExceptionSwitchCommandEnterError);
    EXPECT_THROW(EnterCommandWithoutPort(env()), ExceptionSwitchCommandEnterError);
    EXPECT_LT(platform::MonotonicMs() - start, 100);
  });
  second.join();
  EXPECT_EQ(state(), CommCommand);
  LinkTask task;
  CmdWriteStatus(env(), task, env().Link, 1);
  LeaveCommand(env());
  EXPECT_EQ(plc_.MemorySnapshot().RunState, 1);
}

TEST_F(CommStates, OfTwoJobsStartingTogetherExactlyOneGetsIn) {
  for (int round = 0; round < 20; ++round) {
    std::atomic<int> entered{0};
    std::atomic<int> refused{0};
    std::atomic<bool> go{false};
    auto job = [&] {
      while (!go) std::this_thread::yield();
      try {
        EnterCommandWithoutPort(env());
        ++entered;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        LeaveCommandWithoutPort(env());
      } catch (const ExceptionSwitchCommandEnterError&) {
        ++refused;
      }
    };
    std::thread a(job), b(job);
    go = true;
    a.join();
    b.join();
    EXPECT_GE(entered.load(), 1);
    EXPECT_EQ(entered + refused, 2);
    EXPECT_EQ(state(), CommOffline);
  }
  EXPECT_EQ(plc_.Connections(), 0) << "the variants without port open nothing";
}

TEST_F(CommStates, AnOnlineJobBorrowsTheMonitorsPort) {
  FakeMonitor monitor(env());
  EXPECT_EQ(state(), CommOnline);
  const int handle = env().Port.PipeHandle;
  std::thread job([&] {
    EnterCommand(env());
    EXPECT_EQ(state(), CommCommandInOnline);
    EXPECT_TRUE(IsOnline(env()));
    LinkTask task;
    CmdForceScan(env(), task, env().Link, 3);
    LeaveCommand(env());
    EXPECT_EQ(state(), CommOnline);
  });
  job.join();
  EXPECT_EQ(env().Port.PipeHandle, handle) << "the port stayed open";
  EXPECT_EQ(plc_.Connections(), 1);
  const int cycles = monitor.cycles();
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_GT(monitor.cycles(), cycles) << "the monitor has the lock back";
  monitor.Stop();
  EXPECT_EQ(state(), CommOffline);
  EXPECT_EQ(plc_.MemorySnapshot().Scans, std::vector<uint8_t>{3});
}

TEST_F(CommStates, AJobWaitingForTheMonitorFailsWhenTheMonitorGoesOffline) {
  std::atomic<bool> online{false};
  std::atomic<bool> leave{false};
  std::thread monitor([&] {
    EnterOnline(env());  // and keep the lock without pause
    online = true;
    while (!leave) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    LeaveOnline(env());
  });
  while (!online) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  std::thread job([&] { EXPECT_THROW(EnterCommand(env()), ExceptionSwitchCommandEnterError); });
  while (state() != CommCommandRequested) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_TRUE(IsOnline(env()));
  leave = true;
  monitor.join();
  job.join();
  EXPECT_EQ(state(), CommOffline);
  EXPECT_TRUE(LockIsFree());
  EXPECT_EQ(env().Port.PipeHandle, -1);
}

TEST_F(CommStates, AFailedOpenEndsOfflineWithTheLockFree) {
  struct Case {
    const char* name;
    std::wstring port;
    std::wstring message;
  };
  const Case cases[] = {
      {"unplugged serial port", L"/dev/orvisto-unplugged", L"Open COM Port Error"},
      {"no simulator", kSimulatorPipeName, L"Open COM Port Error"},
      {"no PLC on the network", kNetworkPortName, L"Network Connect Error"},
      {"no relay", kRelayPortName, L"Network Connect Error"},
  };
  env().Port.PipeSocketPath = "/nonexistent/Quillamet";
  env().Port.NetworkTcpPort = 1;
  env().Config.LinkTcpPort = 1;
  for (const Case& c : cases) {
    env().Config.LinkPortPath = c.port;
    for (auto enter : {EnterCommand, EnterOnline}) {
      try {
        enter(env());
        ADD_FAILURE() << c.name << " opened";
      } catch (const ExceptionSwitchError& e) {
        EXPECT_EQ(e.Message(), c.message) << c.name;
      }
      EXPECT_EQ(state(), CommOffline) << c.name;
      EXPECT_TRUE(LockIsFree()) << c.name;
    }
  }
}

TEST_F(CommStates, WithoutPortTheJobHoldsTheLockButOpensNothing) {
  EnterCommandWithoutPort(env());
  EXPECT_EQ(state(), CommCommand);
  EXPECT_EQ(env().Port.PipeHandle, -1);
  LeaveCommandWithoutPort(env());
  EXPECT_EQ(state(), CommOffline);

  FakeMonitor monitor(env());
  std::thread job([&] {
    EnterCommandWithoutPort(env());
    EXPECT_EQ(state(), CommCommandInOnline);
    LeaveCommandWithoutPort(env());
  });
  job.join();
  EXPECT_EQ(state(), CommOnline);
  EXPECT_GE(env().Port.PipeHandle, 0);
}
