#include "core/link/online_monitor.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <string>
#include <utility>

#include "core/link/app_environment.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/memory_area_manager.h"
#include "core/env/operand_word.h"
#include "core/link/comm_state.h"
#include "core/link/link_commands.h"
#include "core/link/link_request.h"
#include "core/link/monitor_ui.h"
#include "core/program/online_cache.h"
#include "core/project/project.h"
#include "platform/crc16.h"

namespace Brenno {

namespace {

// Slot 7 holds the PLC's stamps and its diagnosis.
constexpr int kSystemSlot = 7;
constexpr int kStampByte = 20;
constexpr int kControllerByte = 8;
constexpr int kModuleByte = 0x80;
constexpr int kModuleCount = 7;
constexpr size_t kRequestedCount = OnlineCacheData::kRequestedVariableCount;

Project& MonitoredProject(AppEnvironment& env) {
  if (env.ProjectList.empty()) throw ExceptionLogicError();
  return env.ProjectList.back();
}

uint32_t NonNegative(int value) { return value < 0 ? 0u : static_cast<uint32_t>(value); }

// Whether a window asked for a value within LinkTimeUpdateMark; a request tick of 0 was never
// stamped.
bool Requested(uint32_t requestTick, uint32_t now, uint32_t mark) {
  return requestTick != 0 && static_cast<uint32_t>(now - requestTick) < mark;
}

// A hidden task for one read.
struct ReadTask : LinkTask {
  ReadTask(const wchar_t* english, const wchar_t* chinese) : LinkTask(false, PickText(english, chinese)) {
    StartPercent = 0;
    EndPercent = 1;
  }
};

// Runs a call of the user interface with the port lock released, and takes the lock again
// (after any job that took the port meanwhile has handed it back).
template <class Call>
void WithPortReleased(AppEnvironment& env, Call&& call) {
  env.PortLock.unlock();
  struct Relock {
    AppEnvironment& env;
    ~Relock() { env.PortLock.lock(); }
  } relock{env};
  call();
}

// The operand word of the double word at a byte of a slot.
OperandWord DoubleWordAt(const MemoryAreaManager& map, int slot, int byte) {
  OperandFields fields;
  fields.kind = kKindValue;
  fields.slot = slot;
  fields.width = kWidthDword;
  fields.byte = byte;
  OperandWord word = 0;
  PackOperandWord(word, map, fields);
  return word;
}

std::vector<uint8_t> ReadDoubleWordBytes(AppEnvironment& env, const std::vector<int>& bytes) {
  const MemoryAreaManager& map = MonitoredProject(env).MemoryAreas;
  std::vector<uint32_t> words;
  for (int byte : bytes) words.push_back(DoubleWordAt(map, kSystemSlot, byte));
  ReadTask task(L"Read Variable", L"读变量");
  CmdReadVariables(env, task, env.Link, words);
  return WordsToBytes(words);
}

size_t RequestCapacity(const AppEnvironment& env) {
  return static_cast<size_t>(std::max(1, CurrentFrameSize(env) / 4));
}

std::mutex g_compilerMutex;
ImageCompiler g_compiler;

std::mutex g_diagnosisMutex;
DiagnosisData g_diagnosis;

}  // namespace

// ---------------------------------------------------------------- image stamps

void SetImageCompiler(ImageCompiler compiler) {
  std::lock_guard<std::mutex> lock(g_compilerMutex);
  g_compiler = std::move(compiler);
}

void FillImageBytes(const CompiledImagePages& pages, std::array<std::vector<uint8_t>, 3>& images) {
  for (std::vector<uint8_t>& image : images) image.clear();
  const auto appendWords = [](std::vector<uint8_t>& out, const std::vector<uint32_t>& words) {
    const std::vector<uint8_t> bytes = WordsToBytes(words);
    out.insert(out.end(), bytes.begin(), bytes.end());
  };
  for (const auto& [key, words] : pages.DataPages) appendWords(images[0], words);
  for (const auto& [key, bytes] : pages.SystemPages) images[1].insert(images[1].end(), bytes.begin(), bytes.end());
  appendWords(images[2], pages.Constants);
  for (const auto& [key, words] : pages.ArgumentPages) appendWords(images[2], words);
  for (const auto& [key, words] : pages.InstructionPages) appendWords(images[2], words);
}

std::array<uint8_t, 6> ComputeStampBytes(const std::array<std::vector<uint8_t>, 3>& images) {
  std::array<uint8_t, 6> stamps{};
  for (size_t i = 0; i < images.size(); ++i) {
    const uint16_t crc = platform::Crc16Modbus(images[i].data(), images[i].size());
    stamps[2 * i] = static_cast<uint8_t>(crc & 0xFF);
    stamps[2 * i + 1] = static_cast<uint8_t>(crc >> 8);
  }
  return stamps;
}

bool ComputeImageStamps(AppEnvironment& env) {
  for (std::vector<uint8_t>& image : env.CompiledImages) image.clear();
  try {
    ImageCompiler compiler;
    {
      std::lock_guard<std::mutex> lock(g_compilerMutex);
      compiler = g_compiler;
    }
    if (!compiler) throw ExceptionLogicError();
    CompiledImagePages pages;
    compiler(env, pages);
    std::array<std::vector<uint8_t>, 3> images;
    FillImageBytes(pages, images);
    env.ImageStamps = ComputeStampBytes(images);
    env.CompiledImages = std::move(images);
    return true;
  } catch (const ExceptionError& error) {
    MonitorShowError(error.Message());
    return false;
  }
}

bool ConfirmImageStamps(AppEnvironment& env) {
  const std::vector<uint8_t> first = ReadDoubleWordBytes(env, {kStampByte});
  const std::vector<uint8_t> second = ReadDoubleWordBytes(env, {kStampByte + 4});
  const std::array<uint8_t, 6> plc = {first[0], first[1], first[2], first[3], second[0], second[1]};
  const std::array<uint8_t, 6>& own = env.ImageStamps;
  const bool data = plc[0] == own[0] && plc[1] == own[1];
  const bool system = plc[2] == own[2] && plc[3] == own[3];
  const bool program = plc[4] == own[4] && plc[5] == own[5];
  if (data && system && program) return true;

  const wchar_t* question = L"";
  if (!data && !system && !program) {
    question = L"数据块、系统块和程序块上下版本都不一致，是否继续连线？";
  } else if (!data && !system) {
    question = L"数据块、系统块上下版本不一致，是否继续连线？";
  } else if (!data && !program) {
    question = L"数据块和程序块上下版本不一致，是否继续连线？";
  } else if (!system && !program) {
    question = L"系统块和程序块上下版本不一致，是否继续连线？";
  } else if (!data) {
    question = L"数据块上下版本不一致，是否继续连线？";
  } else if (!system) {
    question = L"系统块上下版本不一致，是否继续连线？";
  } else {
    question = L"程序块上下版本不一致，是否继续连线？";
  }
  int answer = kAnswerNo;
  WithPortReleased(env, [&] { answer = MonitorMessageBoxYesNo(question, kIconQuestion); });
  return answer == kAnswerYes;
}

// ---------------------------------------------------------------- reads

void MonitorAttach(AppEnvironment& env) {
  LinkTask task(false, PickText(L"Attach PLC", L"连线PLC"));
  task.StartPercent = 0;
  task.EndPercent = 100;
  CmdAttachPlc(env, task, env.Link);
}

void MonitorDetach(AppEnvironment& env) {
  LinkTask task(false, PickText(L"Detach PLC", L"离线PLC"));
  task.StartPercent = 0;
  task.EndPercent = 100;
  CmdDetachPlc(env, task, env.Link);
}

namespace {

// Reads a state byte when a window asked for it, storing it with its update tick.
template <class Read, class Store>
void PollState(AppEnvironment& env, uint32_t OnlineCacheData::*requestTick, Read read, Store store) {
  OnlineCache& cache = MonitoredProject(env).Online;
  const uint32_t mark = NonNegative(env.Config.LinkTimeUpdateMark);
  bool wanted = false;
  cache.Update([&](OnlineCacheData& data) { wanted = Requested(data.*requestTick, OnlineTickCount(), mark); });
  if (!wanted) return;
  auto value = read();
  const uint32_t now = StoredTick(OnlineTickCount());
  cache.Update([&](OnlineCacheData& data) { store(data, value, now); });
}

// One call of a pass over the force or value images.
int PollImages(AppEnvironment& env, int position, bool force) {
  Project& project = MonitoredProject(env);
  OnlineCache& cache = project.Online;
  const uint32_t mark = NonNegative(env.Config.LinkTimeUpdateMark);
  const size_t capacity = RequestCapacity(env);
  struct Group {
    int Slot;
    int Byte;
  };
  std::vector<uint32_t> words;
  std::vector<Group> groups;
  int next = -1;
  cache.Update([&](OnlineCacheData& data) {
    const std::vector<std::vector<ImageCell>>& images = force ? data.ForceImages : data.ValueImages;
    const uint32_t now = OnlineTickCount();
    int64_t base = 0;
    int64_t total = 0;
    for (const std::vector<ImageCell>& image : images) total += static_cast<int64_t>(image.size());
    for (size_t slot = 0; slot < images.size() && next == -1; ++slot) {
      const std::vector<ImageCell>& image = images[slot];
      const int64_t size = static_cast<int64_t>(image.size());
      const int64_t start = std::max<int64_t>(0, position - base);
      for (int64_t cell = start; cell < size; cell += 4) {
        bool wanted = false;
        for (int64_t i = cell; i < std::min(cell + 4, size); ++i) {
          wanted = wanted || Requested(image[static_cast<size_t>(i)].RequestTick, now, mark);
        }
        if (!wanted) continue;
        OperandWord word = 0;
        try {
          word = DoubleWordAt(project.MemoryAreas, static_cast<int>(slot), static_cast<int>(cell));
        } catch (const ExceptionError&) {
          continue;  // a byte the operand word cannot name is never read
        }
        words.push_back(word);
        groups.push_back({static_cast<int>(slot), static_cast<int>(cell)});
        if (words.size() == capacity) {
          // The next call goes on after this group; nothing is read twice.
          if (base + cell + 4 < total) next = static_cast<int>(base + cell + 4);
          break;
        }
      }
      base += size;
    }
  });
  if (words.empty()) return -1;
  if (force) {
    ReadTask task(L"Read Forced Variable", L"读强制变量");
    CmdReadForcedVariables(env, task, env.Link, words);
  } else {
    ReadTask task(L"Read Variable", L"读变量");
    CmdReadVariables(env, task, env.Link, words);
  }
  const uint32_t now = StoredTick(OnlineTickCount());
  cache.Update([&](OnlineCacheData& data) {
    std::vector<std::vector<ImageCell>>& images = force ? data.ForceImages : data.ValueImages;
    for (size_t k = 0; k < groups.size() && k < words.size(); ++k) {
      if (static_cast<size_t>(groups[k].Slot) >= images.size()) continue;
      std::vector<ImageCell>& image = images[static_cast<size_t>(groups[k].Slot)];
      for (size_t i = 0; i < 4; ++i) {
        const size_t cell = static_cast<size_t>(groups[k].Byte) + i;
        if (cell >= image.size()) break;
        image[cell].Value = static_cast<uint8_t>(words[k] >> (8 * i));
        image[cell].UpdateTick = now;
      }
    }
  });
  return next;
}

}  // namespace

void PollRunState(AppEnvironment& env) {
  PollState(
      env, &OnlineCacheData::RunRequestTick,
      [&] {
        ReadTask task(L"Read Status", L"读状态");
        return CmdReadStatus(env, task, env.Link);
      },
      [](OnlineCacheData& data, uint8_t value, uint32_t now) {
        data.RunState = value;
        data.RunUpdateTick = now;
      });
}

void PollDebugState(AppEnvironment& env) {
  PollState(
      env, &OnlineCacheData::DebugRequestTick,
      [&] {
        ReadTask task(L"Read Debug Status", L"读调试状态");
        return CmdReadDebugStatus(env, task, env.Link);
      },
      [](OnlineCacheData& data, uint8_t value, uint32_t now) {
        data.DebugState = value;
        data.DebugUpdateTick = now;
      });
}

void PollBreakPoint(AppEnvironment& env) {
  OnlineCache& cache = MonitoredProject(env).Online;
  const uint32_t mark = NonNegative(env.Config.LinkTimeUpdateMark);
  bool wanted = false;
  cache.Update([&](OnlineCacheData& data) { wanted = Requested(data.Debug.RequestTick(), OnlineTickCount(), mark); });
  if (!wanted) return;
  ReadTask task(L"Read Debug Break Point", L"读取调试信息");
  const DebugRecord record = CmdReadBreakPoint(env, task, env.Link);
  const uint32_t now = StoredTick(OnlineTickCount());
  cache.Update([&](OnlineCacheData& data) {
    for (size_t i = 0; i < 10; ++i) data.Debug.Words[i] = record.Words[i];
    data.Debug.SetUpdateTick(now);
  });
}

int PollForceImages(AppEnvironment& env, int position) { return PollImages(env, position, true); }

int PollValueImages(AppEnvironment& env, int position) { return PollImages(env, position, false); }

int PollRequestedVariables(AppEnvironment& env, int position) {
  OnlineCache& cache = MonitoredProject(env).Online;
  const uint32_t mark = NonNegative(env.Config.LinkTimeUpdateMark);
  const size_t capacity = RequestCapacity(env);
  std::vector<uint32_t> words;
  std::vector<size_t> entries;
  int next = -1;
  cache.Update([&](OnlineCacheData& data) {
    const uint32_t now = OnlineTickCount();
    const size_t count = std::min(data.RequestedVariables.size(), kRequestedCount);
    for (size_t i = static_cast<size_t>(std::max(position, 0)); i < count; ++i) {
      const RequestedVariable& entry = data.RequestedVariables[i];
      if (entry.Word == RequestedVariable::kFree || !Requested(entry.RequestTick, now, mark)) continue;
      words.push_back(entry.Word);
      entries.push_back(i);
      if (words.size() == capacity) {
        if (i + 1 < count) next = static_cast<int>(i + 1);
        break;
      }
    }
  });
  if (words.empty()) return -1;
  const std::vector<uint32_t> sent = words;
  ReadTask task(L"Read Variable", L"读变量");
  CmdReadVariables(env, task, env.Link, words);
  const uint32_t now = StoredTick(OnlineTickCount());
  cache.Update([&](OnlineCacheData& data) {
    for (size_t k = 0; k < entries.size() && k < words.size(); ++k) {
      if (entries[k] >= data.RequestedVariables.size()) continue;
      RequestedVariable& entry = data.RequestedVariables[entries[k]];
      // A window may have given the entry to another operand while the read ran: the value
      // belongs to the operand that was read.
      if (entry.Word != sent[k]) continue;
      entry.Value = static_cast<int32_t>(words[k]);
      entry.UpdateTick = now;
    }
  });
  return next;
}

void ReadDiagnosisController(AppEnvironment& env) {
  const std::vector<uint8_t> b = ReadDoubleWordBytes(env, {kControllerByte, kControllerByte + 4, kControllerByte + 8});
  const auto u16 = [&](size_t i) { return static_cast<uint16_t>(b[i] | (b[i + 1] << 8)); };
  const auto u32 = [&](size_t i) { return static_cast<uint32_t>(u16(i)) | (static_cast<uint32_t>(u16(i + 2)) << 16); };
  std::lock_guard<std::mutex> lock(g_diagnosisMutex);
  g_diagnosis.ControllerByte0 = b[0];
  g_diagnosis.ControllerByte1 = b[1];
  g_diagnosis.ControllerWord = u16(2);
  g_diagnosis.ControllerDword0 = u32(4);
  g_diagnosis.ControllerDword1 = u32(8);
}

void ReadDiagnosisModule(AppEnvironment& env, int module) {
  if (module < 0 || module >= kModuleCount) throw ExceptionLogicError();
  const int first = kModuleByte + 12 * module;
  const std::vector<uint8_t> b = ReadDoubleWordBytes(env, {first, first + 4, first + 8});
  const size_t i = static_cast<size_t>(module);
  std::lock_guard<std::mutex> lock(g_diagnosisMutex);
  for (size_t k = 0; k < 6; ++k) g_diagnosis.ModuleBytes[k][i] = b[k];
  g_diagnosis.ModuleWords[0][i] = static_cast<uint16_t>(b[6] | (b[7] << 8));
  g_diagnosis.ModuleWords[1][i] = static_cast<uint16_t>(b[8] | (b[9] << 8));
}

DiagnosisData ReadDiagnosisData() {
  std::lock_guard<std::mutex> lock(g_diagnosisMutex);
  return g_diagnosis;
}

// ---------------------------------------------------------------- the loop

namespace {

// Lets go of the port for the pause (cut short by a stop request), takes it back and takes the
// stop request: true when the loop is to end.
bool YieldPort(AppEnvironment& env, const MonitorOptions& options) {
  env.PortLock.unlock();
  {
    std::unique_lock<std::mutex> lock(env.Monitor.Lock);
    env.Monitor.Changed.wait_for(lock, std::chrono::milliseconds(std::max(0, options.YieldPauseMs)),
                                 [&] { return env.Monitor.Signalled; });
    env.Monitor.Signalled = false;
  }
  env.PortLock.lock();
  return MonitoredProject(env).Online.TakeStopRequest();
}

}  // namespace

void PollOnlineData(AppEnvironment& env, const MonitorOptions& options) {
  const uint64_t stateEvery = static_cast<uint64_t>(std::max(1, options.StateEvery));
  const uint64_t diagnosisEvery = static_cast<uint64_t>(std::max(1, options.DiagnosisEvery));
  for (uint64_t r = 1;; ++r) {
    bool yielded = false;
    const auto yield = [&] {
      yielded = true;
      return YieldPort(env, options);
    };
    // Passes of one poll function from position 0, a yield after every call.
    const auto pass = [&](int (*poll)(AppEnvironment&, int)) {
      int position = 0;
      do {
        position = poll(env, position);
        if (yield()) return true;
      } while (position != -1);
      return false;
    };
    const bool variables = IsPackCodeSupported(env, kCodeReadVariables);
    if (r % stateEvery == 0) {
      if (IsPackCodeSupported(env, kCodeReadStatus)) {
        PollRunState(env);
        if (yield()) return;
      }
      if (IsPackCodeSupported(env, kCodeReadDebugStatus)) {
        PollDebugState(env);
        if (yield()) return;
      }
      if (IsPackCodeSupported(env, kCodeReadBreakPoint)) {
        PollBreakPoint(env);
        if (yield()) return;
      }
      if (IsPackCodeSupported(env, kCodeReadForcedVariables) && pass(PollForceImages)) return;
    }
    if (variables) {
      if (pass(PollValueImages)) return;
      if (pass(PollRequestedVariables)) return;
    }
    if (r % diagnosisEvery == 0 && variables) {
      ReadDiagnosisController(env);
      for (int module = 0; module < kModuleCount; ++module) ReadDiagnosisModule(env, module);
      if (yield()) return;
    }
    // A cycle that read nothing the PLC type supports still pauses, hands the port to a
    // waiting job and sees the stop request.
    if (!yielded && yield()) return;
  }
}

int MonitorTickThreadProc(AppEnvironment& env) {
  const auto pause = std::chrono::milliseconds(std::max(10, env.Config.LinkTimeUpdateUi));
  while (IsOnline(env)) {
    std::this_thread::sleep_for(pause);
    // No tick while a job holds the port: the windows keep what they show.
    if (env.CommState.load() == CommOnline) MonitorNotify(kNotifyMonitorTick, 0);
  }
  std::this_thread::sleep_for(pause);
  MonitorNotify(kNotifyMonitorTick, 0);
  return 0;
}

int MonitorThreadProc(AppEnvironment& env, const MonitorOptions& options) {
  {
    std::lock_guard<std::mutex> lock(env.Monitor.Lock);
    env.Monitor.Signalled = false;
  }
  try {
    EnterOnline(env);
  } catch (const ExceptionSwitchError& error) {
    MonitorMessageBoxOk(error.Message(), kIconStop);
    return 0;
  }
  std::thread tick([&env] { MonitorTickThreadProc(env); });
  WithPortReleased(env, [] { MonitorStatusText(L"在线", kStatusTextOnline); });

  try {
    MonitorAttach(env);
    bool compiled = false;
    // The compile report goes to the output pane: the port is not held meanwhile.
    WithPortReleased(env, [&] { compiled = ComputeImageStamps(env); });
    if (compiled && ConfirmImageStamps(env)) PollOnlineData(env, options);
    MonitorDetach(env);
  } catch (const ExceptionError& error) {
    // One failed read ends the connection; the PLC is not detached.
    const std::wstring message = error.Message();
    WithPortReleased(env, [&] { MonitorShowError(message); });
  } catch (const std::exception&) {
    // Nothing to show; the connection still ends below.
  }

  bool left = true;
  try {
    LeaveOnline(env);
  } catch (const ExceptionSwitchError& error) {
    left = false;
    env.PortLock.unlock();  // this thread ends: it must not keep the lock
    MonitorMessageBoxOk(error.Message(), kIconStop);
  }
  if (left) MonitorStatusText(L"脱机", kStatusTextOffline);
  tick.join();
  // A stop request that came too late for the loop must not end the next connection.
  if (!env.ProjectList.empty()) env.ProjectList.back().Online.SetStopRequest(false);
  return 0;
}

void RequestMonitorStop(AppEnvironment& env) {
  if (!env.ProjectList.empty()) env.ProjectList.back().Online.SetStopRequest(true);
  {
    std::lock_guard<std::mutex> lock(env.Monitor.Lock);
    env.Monitor.Signalled = true;
  }
  env.Monitor.Changed.notify_all();
}

// ---------------------------------------------------------------- the thread object

OnlineMonitor::~OnlineMonitor() { Join(); }

bool OnlineMonitor::Start(AppEnvironment& env, const MonitorOptions& options) {
  if (running_.load() || env.CommState.load() != CommOffline) return false;
  if (thread_.joinable()) thread_.join();
  running_.store(true);
  thread_ = std::thread([this, &env, options] {
    MonitorThreadProc(env, options);
    running_.store(false);
  });
  return true;
}

void OnlineMonitor::Join() {
  // The thread may still be waiting for the user-interface thread (the last tick, the status
  // text) when that thread comes here, from closing the main window: its calls are served
  // until it has ended.
  while (running_.load()) {
    MonitorServeWaitingCalls();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (thread_.joinable()) thread_.join();
}

}  // namespace Brenno
