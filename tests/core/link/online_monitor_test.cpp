// The online monitor against the simulated PLC: it fills the cache from the PLC's memory for
// what the windows ask for, checks the image stamps, lets a write job take the port between its
// polls, stops promptly, and ends the connection on a failed read; values nobody asks for stop
// being polled and turn unknown.
#include "core/link/online_monitor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <mutex>
#include <set>
#include <thread>

#include "core/env/exception_error.h"
#include "core/env/manager_var_reader.h"
#include "core/env/operand_address.h"
#include "core/link/comm_state.h"
#include "core/link/link_commands.h"
#include "core/link/monitor_ui.h"
#include "core/link/monitor_write_jobs.h"
#include "core/link/online_access.h"
#include "core/link/link_test_support.h"
#include "support/test_paths.h"

namespace Brenno {
namespace {

using linktest::LinkEnvironment;
using linktest::SimOptions;
using testsupport::SimulatedPlc;
using Clock = std::chrono::steady_clock;

class RecordingMonitorUi : public MonitorUiServices {
 public:
  RecordingMonitorUi() { InstallMonitorUiServices(this); }
  ~RecordingMonitorUi() override { InstallMonitorUiServices(nullptr); }

  void NotifyMainFrame(int event, intptr_t value) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (event == kNotifyMonitorTick) ++ticks_;
  }
  void ShowStatusText(const std::wstring& text, int colour) override {
    std::lock_guard<std::mutex> lock(mutex_);
    statuses_.push_back(text + L"/" + std::to_wstring(colour));
  }
  void MessageBoxOk(const std::wstring& text, unsigned icon) override {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back(text);
  }
  int MessageBoxYesNo(const std::wstring& text, unsigned icon) override {
    std::lock_guard<std::mutex> lock(mutex_);
    questions_.push_back(text);
    return answer_;
  }

  void Answer(int answer) { answer_ = answer; }
  int Ticks() const { std::lock_guard<std::mutex> lock(mutex_); return ticks_; }
  std::vector<std::wstring> Statuses() const { std::lock_guard<std::mutex> lock(mutex_); return statuses_; }
  std::vector<std::wstring> Messages() const { std::lock_guard<std::mutex> lock(mutex_); return messages_; }
  std::vector<std::wstring> Questions() const { std::lock_guard<std::mutex> lock(mutex_); return questions_; }

 private:
  mutable std::mutex mutex_;
  int ticks_ = 0;
  int answer_ = kAnswerYes;
  std::vector<std::wstring> statuses_, messages_, questions_;
};

// The images the stand-in compiler gives for the project.
CompiledImagePages SampleImages() {
  CompiledImagePages pages;
  pages.DataPages[0] = {0x11223344, 5};
  pages.SystemPages[1] = {1, 2, 3};
  pages.Constants = {7};
  pages.InstructionPages[0] = {0xAABBCCDD};
  return pages;
}

bool WaitFor(const std::function<bool()>& done, int ms = 4000) {
  const auto end = Clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (Clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

class OnlineMonitorTest : public ::testing::Test {
 protected:
  explicit OnlineMonitorTest(int frameSize = 64, std::vector<ExchSupportEntry> support = {{0, 0}})
      : plc_(SimOptions(SimulatedPlc::Transport::kUnixSocket, frameSize)), link_(frameSize, std::move(support)) {}

  void SetUp() override {
    link_.UseSimulator(plc_, SimulatedPlc::Transport::kUnixSocket);
    AppEnvironment& e = env();
    e.Config.LinkTimeUpdateUi = 20;
    ReadManagerVar(Project().MemoryAreas,
                   platform::FromUtf8Lossy(testsupport::FixturePath("catalog/Orvisto/TypeA/ManagerVar.xml")));
    RebuildOnlineCache(Project().Online, Project().MemoryAreas);
    InstallEnvironment(&e);
    InstallLinkOnlineServices();
    SetImageCompiler([](AppEnvironment&, CompiledImagePages& pages) { pages = SampleImages(); });
    SetPlcStamps(ExpectedStamps());
    options_.YieldPauseMs = 10;
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

  static std::array<uint8_t, 6> ExpectedStamps() {
    std::array<std::vector<uint8_t>, 3> images;
    FillImageBytes(SampleImages(), images);
    return ComputeStampBytes(images);
  }

  OperandFields Fields(const std::wstring& text) {
    OperandAddress address;
    OperandFields fields;
    EXPECT_TRUE(ScanOperandText(text, address));
    EXPECT_TRUE(MatchOperandText(fields, Project().MemoryAreas, address));
    return fields;
  }
  uint32_t Word(const OperandFields& fields) {
    OperandWord word = 0;
    PackOperandWord(word, Project().MemoryAreas, fields);
    return word;
  }
  uint32_t DoubleWord(int slot, int byte) { return Word(OperandFields{kKindValue, slot, kWidthDword, byte, 0, 0, 0}); }

  void SetPlcStamps(const std::array<uint8_t, 6>& s) {
    const uint32_t first = DoubleWord(7, 20), second = DoubleWord(7, 24);
    plc_.WithMemory([&](SimulatedPlc::Memory& m) {
      m.Variables[first] = s[0] | s[1] << 8 | s[2] << 16 | static_cast<uint32_t>(s[3]) << 24;
      m.Variables[second] = s[4] | s[5] << 8;
    });
  }

  // One paint of a window: reads with the request flag set and stamps what it read.
  template <class Reads>
  void Paint(Reads reads) {
    Project().Online.SetRequestFlag(true);
    OnlineCacheSnapshot snapshot = TakeCurrentOnlineSnapshot();
    reads(snapshot);
    StampCurrentOnlineRequests(snapshot);
    Project().Online.SetRequestFlag(false);
  }

  std::vector<SimulatedPlc::Request> RequestsWithCode(uint16_t code) {
    std::vector<SimulatedPlc::Request> out;
    for (const SimulatedPlc::Request& r : plc_.Requests()) {
      if (r.Code == code) out.push_back(r);
    }
    return out;
  }

  void StopAndWait() {
    RequestMonitorStop(env());
    ASSERT_TRUE(WaitFor([&] { return !monitor_.IsRunning(); }));
    monitor_.Join();
  }

  SimulatedPlc plc_;
  LinkEnvironment link_;
  RecordingMonitorUi ui_;
  linktest::RecordingLinkUi linkUi_;
  MonitorOptions options_;
  OnlineMonitor monitor_;
};

TEST_F(OnlineMonitorTest, FillsTheCacheFromThePlcMemoryForWhatTheWindowsRead) {
  const OperandFields vd0 = Fields(L"VD0");
  const OperandFields i01 = Fields(L"I0.1");
  const OperandFields addressOf = Fields(L"&VB8");
  plc_.WithMemory([&](SimulatedPlc::Memory& m) {
    m.Variables[Word(vd0)] = 0x04030201;
    m.Variables[Word(addressOf)] = 0x1234;
    m.Forced[DoubleWord(i01.slot, 0)] = 0x02;  // I0.1 forced
    m.RunState = 1;
    m.BreakPointReply = {0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  });
  options_.StateEvery = 2;
  ASSERT_TRUE(monitor_.Start(env(), options_));

  std::wstring value, pointer;
  uint8_t run = 255, force = 255;
  DebugRecord record;
  bool haveRecord = false;
  ASSERT_TRUE(WaitFor([&] {
    Paint([&](OnlineCacheSnapshot& s) {
      ReadCachedValueText(s, vd0, false, kDataTypeDword, value);
      ReadCachedValueText(s, addressOf, false, kDataTypeDword, pointer);
      ReadCachedRunState(s, run);
      ReadCachedBit(s, i01, force);
      haveRecord = ReadCachedDebugRecord(s, record);
    });
    return value == L"16#04030201" && pointer == L"16#00001234" && run == 1 && force == 1 && haveRecord;
  })) << platform::ToUtf8Lossy(value) << " " << platform::ToUtf8Lossy(pointer) << " " << int(run) << " " << int(force);
  EXPECT_TRUE(plc_.MemorySnapshot().Attached);
  EXPECT_EQ(ui_.Questions().size(), 0u);  // the stamps match

  // Only what was read is polled: the value reads name VD0, the stamps and the requested word.
  const std::set<uint32_t> allowed = {Word(vd0), Word(addressOf), DoubleWord(7, 20), DoubleWord(7, 24)};
  for (const SimulatedPlc::Request& r : RequestsWithCode(kCodeReadVariables)) {
    for (size_t i = 0; i + 4 <= r.Data.size(); i += 4) {
      const uint32_t word = r.Data[i] | r.Data[i + 1] << 8 | r.Data[i + 2] << 16 | static_cast<uint32_t>(r.Data[i + 3]) << 24;
      EXPECT_TRUE(allowed.count(word)) << std::hex << word;
    }
  }
  StopAndWait();
  EXPECT_EQ(env().CommState.load(), CommOffline);
  EXPECT_FALSE(plc_.MemorySnapshot().Attached);
  EXPECT_EQ(ui_.Statuses(), (std::vector<std::wstring>{L"在线/1", L"脱机/2"}));
  EXPECT_GT(ui_.Ticks(), 0);
  EXPECT_TRUE(ui_.Messages().empty());
  EXPECT_FALSE(Project().Online.StopRequested());
  EXPECT_EQ(env().ImageStamps, ExpectedStamps());
}

TEST_F(OnlineMonitorTest, AWriteJobTakesThePortBetweenPollsAndStopIsPrompt) {
  options_.YieldPauseMs = 1500;  // long pauses: only a prompt stop ends the run quickly
  const OperandFields vw100 = Fields(L"VW100");
  const OperandFields q00 = Fields(L"Q0.0");
  ASSERT_TRUE(monitor_.Start(env(), options_));
  ASSERT_TRUE(WaitFor([&] { return !RequestsWithCode(kCodeReadVariables).empty(); }));  // stamps read

  // One job at a time: each waits for the monitor's next pause.
  ASSERT_TRUE(WriteVariable(Project().Online, vw100, L"77", kDataTypeInt));
  JoinLinkJobThreads();
  ASSERT_TRUE(WriteForcedVariable(Project().Online, q00, 1));
  JoinLinkJobThreads();
  EXPECT_EQ(plc_.MemorySnapshot().Variables.at(Word(vw100)), 77u);
  EXPECT_EQ(plc_.MemorySnapshot().Forced.at(Word(q00)), 1u);
  EXPECT_TRUE(ui_.Messages().empty());
  EXPECT_EQ(env().CommState.load(), CommOnline);  // the port went back to the monitor

  const auto asked = Clock::now();
  StopAndWait();
  EXPECT_LT(Clock::now() - asked, std::chrono::milliseconds(1000));
  EXPECT_EQ(env().CommState.load(), CommOffline);
  EXPECT_FALSE(plc_.MemorySnapshot().Attached);
}

TEST_F(OnlineMonitorTest, ValuesNobodyAsksForStopBeingPolledAndTurnUnknown) {
  env().Config.LinkTimeUpdateMark = 60;
  env().Config.LinkTimeUpdateError = 250;
  options_.StateEvery = 1;
  const OperandFields vb0 = Fields(L"VB0");
  plc_.WithMemory([&](SimulatedPlc::Memory& m) {
    m.RunState = 1;
    m.Variables[DoubleWord(vb0.slot, 0)] = 0x2A;
  });
  ASSERT_TRUE(monitor_.Start(env(), options_));
  uint8_t run = 255;
  std::wstring value;
  ASSERT_TRUE(WaitFor([&] {
    Paint([&](OnlineCacheSnapshot& s) {
      ReadCachedRunState(s, run);
      ReadCachedValueText(s, vb0, false, kDataTypeByte, value);
    });
    return run == 1 && value == L"16#2A";
  }));
  // Nobody asks any more: after LinkTimeUpdateMark the reads stop, after LinkTimeUpdateError
  // the run state is unknown, while the memory value shows what was read last.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const size_t statusReads = RequestsWithCode(kCodeReadStatus).size();
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  EXPECT_EQ(RequestsWithCode(kCodeReadStatus).size(), statusReads);
  OnlineCacheSnapshot quiet = TakeCurrentOnlineSnapshot();
  EXPECT_FALSE(ReadCachedRunState(quiet, run));
  EXPECT_EQ(run, 255);
  ReadCachedValueText(quiet, vb0, false, kDataTypeByte, value);
  EXPECT_EQ(value, L"16#2A");
  StopAndWait();
}

TEST_F(OnlineMonitorTest, DifferingStampsAskAndNoEndsTheConnection) {
  struct Case {
    std::array<int, 3> differ;  // data, system, program
    const wchar_t* question;
  } cases[] = {
      {{1, 0, 0}, L"数据块上下版本不一致，是否继续连线？"},
      {{1, 1, 1}, L"数据块、系统块和程序块上下版本都不一致，是否继续连线？"},
      {{0, 1, 1}, L"系统块和程序块上下版本不一致，是否继续连线？"},
  };
  ui_.Answer(kAnswerNo);
  for (const Case& c : cases) {
    std::array<uint8_t, 6> stamps = ExpectedStamps();
    for (size_t i = 0; i < 3; ++i) stamps[2 * i + 1] ^= static_cast<uint8_t>(c.differ[i]);
    SetPlcStamps(stamps);
    plc_.ClearRequests();
    MonitorThreadProc(env(), options_);
    ASSERT_FALSE(ui_.Questions().empty());
    EXPECT_EQ(ui_.Questions().back(), c.question);
    EXPECT_EQ(RequestsWithCode(kCodeReadVariables).size(), 2u);  // the two stamp reads only
    EXPECT_EQ(RequestsWithCode(kCodeDetachPlc).size(), 1u);
    EXPECT_EQ(env().CommState.load(), CommOffline);
  }
  EXPECT_EQ(ui_.Statuses().back(), L"脱机/2");
}

TEST_F(OnlineMonitorTest, CompileErrorsAndFailedReadsEndTheConnection) {
  // The project does not compile: its error is shown, nothing is polled, the PLC is detached.
  SetImageCompiler([](AppEnvironment&, CompiledImagePages&) { throw ExceptionParseBinaryError(); });
  MonitorThreadProc(env(), options_);
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_EQ(ui_.Messages()[0], ExceptionParseBinaryError().Message());
  EXPECT_TRUE(RequestsWithCode(kCodeReadVariables).empty());
  EXPECT_EQ(RequestsWithCode(kCodeDetachPlc).size(), 1u);

  // A read that fails ends the connection without detaching.
  SetImageCompiler([](AppEnvironment&, CompiledImagePages& pages) { pages = SampleImages(); });
  plc_.ClearRequests();
  plc_.RefuseCode(kCodeReadVariables);
  MonitorThreadProc(env(), options_);
  EXPECT_EQ(ui_.Messages().size(), 2u);
  EXPECT_TRUE(RequestsWithCode(kCodeDetachPlc).empty());
  EXPECT_EQ(env().CommState.load(), CommOffline);
  EXPECT_EQ(ui_.Statuses().back(), L"脱机/2");

  // A port that does not open: the error, and no status text.
  const size_t statuses = ui_.Statuses().size();
  env().Port.PipeSocketPath = "/nonexistent/socket";
  MonitorThreadProc(env(), options_);
  EXPECT_EQ(ui_.Messages().size(), 3u);
  EXPECT_EQ(ui_.Statuses().size(), statuses);
}

// The reads of one pass, with the port opened by a command state.
TEST_F(OnlineMonitorTest, PassesPackAFrameOfDoubleWordsAndReadEachGroupOnce) {
  const int v = Fields(L"VB0").slot;
  const uint32_t now = StoredTick(OnlineTickCount());
  Project().Online.Update([&](OnlineCacheData& data) {
    for (size_t cell = 0; cell < 21 * 4; cell += 4) data.ValueImages[static_cast<size_t>(v)][cell].RequestTick = now;
  });
  plc_.WithMemory([&](SimulatedPlc::Memory& m) { m.Variables[DoubleWord(v, 80)] = 0xA1B2C3D4; });
  EnterCommand(env());
  const int next = PollValueImages(env(), 0);
  const int end = PollValueImages(env(), next);
  LeaveCommand(env());
  const std::vector<SimulatedPlc::Request> reads = RequestsWithCode(kCodeReadVariables);
  ASSERT_EQ(reads.size(), 2u);
  EXPECT_EQ(reads[0].Data.size(), 16u * 4);  // 64-byte frames carry 16 double words
  EXPECT_EQ(reads[1].Data.size(), 5u * 4);
  EXPECT_EQ(end, -1);
  const OnlineCacheData data = Project().Online.Data();
  EXPECT_EQ(data.ValueImages[static_cast<size_t>(v)][80].Value, 0xD4);
  EXPECT_EQ(data.ValueImages[static_cast<size_t>(v)][83].Value, 0xA1);
  EXPECT_NE(data.ValueImages[static_cast<size_t>(v)][83].UpdateTick, 0u);
}

TEST_F(OnlineMonitorTest, DiagnosisReadsTheControllerAndModuleBlocks) {
  plc_.WithMemory([&](SimulatedPlc::Memory& m) {
    m.Variables[DoubleWord(7, 8)] = 0x44330201;
    m.Variables[DoubleWord(7, 12)] = 0x88776655;
    m.Variables[DoubleWord(7, 16)] = 0xCCBBAA99;
    m.Variables[DoubleWord(7, 0x80 + 24)] = 0x04030201;   // module 2: bytes 0-3
    m.Variables[DoubleWord(7, 0x84 + 24)] = 0x08070605;   // bytes 4-7
    m.Variables[DoubleWord(7, 0x88 + 24)] = 0xFFFF0A09;   // bytes 8-11 (10-11 dropped)
  });
  EnterCommand(env());
  ReadDiagnosisController(env());
  ReadDiagnosisModule(env(), 2);
  LeaveCommand(env());
  const DiagnosisData d = ReadDiagnosisData();
  EXPECT_EQ(d.ControllerByte0, 0x01);
  EXPECT_EQ(d.ControllerByte1, 0x02);
  EXPECT_EQ(d.ControllerWord, 0x4433);
  EXPECT_EQ(d.ControllerDword0, 0x88776655u);
  EXPECT_EQ(d.ControllerDword1, 0xCCBBAA99u);
  for (size_t k = 0; k < 6; ++k) EXPECT_EQ(d.ModuleBytes[k][2], k + 1);
  EXPECT_EQ(d.ModuleWords[0][2], 0x0807);
  EXPECT_EQ(d.ModuleWords[1][2], 0x0A09);
}

TEST_F(OnlineMonitorTest, AWriteJobWhileAnotherJobRunsIsRefusedAtOnce) {
  env().CommState = CommCommand;  // a download holds the port
  WriteVariableThreadProc(env(), {DoubleWord(4, 0), 5});
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_EQ(ui_.Messages()[0], ExceptionSwitchCommandEnterError().Message());
  EXPECT_EQ(env().CommState.load(), CommCommand);
  EXPECT_TRUE(plc_.Requests().empty());
  env().CommState = CommOffline;
  // Offline, the cache starts no write at all.
  EXPECT_FALSE(WriteVariable(Project().Online, Fields(L"VW0"), L"5", kDataTypeInt));
  EXPECT_FALSE(WriteForcedVariable(Project().Online, Fields(L"Q0.0"), 1));
}

TEST(ImageStamps, CrcOfEachImageLowByteFirst) {
  std::array<std::vector<uint8_t>, 3> images;
  FillImageBytes(SampleImages(), images);
  EXPECT_EQ(images[0], (std::vector<uint8_t>{0x44, 0x33, 0x22, 0x11, 5, 0, 0, 0}));
  EXPECT_EQ(images[1], (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(images[2], (std::vector<uint8_t>{7, 0, 0, 0, 0xDD, 0xCC, 0xBB, 0xAA}));
  images[1].clear();
  const std::array<uint8_t, 6> stamps = ComputeStampBytes(images);
  EXPECT_EQ(stamps[2], 0xFF);  // an empty image
  EXPECT_EQ(stamps[3], 0xFF);
  const uint8_t check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};  // CRC-16/MODBUS 0x4B37
  images[0].assign(std::begin(check), std::end(check));
  EXPECT_EQ(ComputeStampBytes(images)[0], 0x37);
  EXPECT_EQ(ComputeStampBytes(images)[1], 0x4B);
}

// A PLC type without the variable read: no value, requested-variable or diagnosis reads, yet the
// loop paces itself, hands the port on and sees the stop request, even when the type supports
// none of the polling reads.
class MonitorWithoutVariables : public OnlineMonitorTest {
 protected:
  MonitorWithoutVariables() : OnlineMonitorTest(64, {{0xFFFF, kCodeReadStatus}}) {}

  void PollFor(int ms) {
    EnterOnline(env());
    std::thread stopper([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(ms));
      RequestMonitorStop(env());
    });
    PollOnlineData(env(), options_);
    stopper.join();
    LeaveOnline(env());
  }
};

TEST_F(MonitorWithoutVariables, PollsOnlyWhatTheTypeSupports) {
  options_.StateEvery = 1;
  Project().Online.Update([](OnlineCacheData& data) { data.RunRequestTick = StoredTick(OnlineTickCount()); });
  const int v = Fields(L"VB0").slot;
  Project().Online.Update([&](OnlineCacheData& data) {
    data.ValueImages[static_cast<size_t>(v)][0].RequestTick = StoredTick(OnlineTickCount());
  });
  PollFor(120);
  EXPECT_FALSE(RequestsWithCode(kCodeReadStatus).empty());
  EXPECT_EQ(RequestsWithCode(kCodeReadStatus).size(), plc_.Requests().size());
  EXPECT_EQ(env().CommState.load(), CommOffline);

  link_.type().SupportList.clear();
  plc_.ClearRequests();
  const auto started = Clock::now();
  PollFor(60);
  EXPECT_TRUE(plc_.Requests().empty());
  EXPECT_LT(Clock::now() - started, std::chrono::milliseconds(1000));
}

}  // namespace
}  // namespace Brenno
