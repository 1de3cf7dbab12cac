#include "core/link/online_access.h"

#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "core/env/constant.h"
#include "core/env/exception_error.h"
#include "core/env/memory_area_manager.h"
#include "core/link/app_environment.h"
#include "core/link/monitor_write_jobs.h"
#include "core/project/project.h"

namespace Brenno {

namespace {

Project* CurrentProjectOrNull() {
  AppEnvironment* environment = InstalledAppEnvironment();
  if (environment == nullptr || environment->ProjectList.empty()) return nullptr;
  return &environment->ProjectList.back();
}

uint32_t NonNegative(int value) { return value < 0 ? 0u : static_cast<uint32_t>(value); }

}  // namespace

static OnlineCacheSnapshot TakeLinkSnapshot() {
  AppEnvironment* environment = InstalledAppEnvironment();
  Project* project = CurrentProjectOrNull();
  if (environment == nullptr || project == nullptr) return OnlineCacheSnapshot();
  return project->Online.TakeSnapshot(IsOnlineCommState(environment->CommState.load()), OnlineTickCount(),
                                      NonNegative(environment->Config.LinkTimeUpdateError),
                                      NonNegative(environment->Config.LinkTimeUpdateMark), &project->MemoryAreas,
                                      project->Instructions.FxMode);
}

static void StampLinkRequests(const OnlineCacheSnapshot& snapshot) {
  if (Project* project = CurrentProjectOrNull()) project->Online.StampRequests(snapshot);
}

bool ReadCachedDebugRecord(const OnlineCache& cache, DebugRecord& record) {
  AppEnvironment* environment = InstalledAppEnvironment();
  if (environment == nullptr || !IsOnlineCommState(environment->CommState.load())) return false;
  OnlineCacheSnapshot snapshot = cache.TakeSnapshot(true, OnlineTickCount(),
                                                    NonNegative(environment->Config.LinkTimeUpdateError),
                                                    NonNegative(environment->Config.LinkTimeUpdateMark), nullptr, 0);
  return ReadCachedDebugRecord(snapshot, record);
}

namespace {

std::mutex g_writerMutex;
std::function<void(const DebugRecord&)> g_breakPointWriter;

}  // namespace

void SetDebugBreakPointWriter(std::function<void(const DebugRecord&)> writer) {
  std::lock_guard<std::mutex> lock(g_writerMutex);
  g_breakPointWriter = std::move(writer);
}

static void WriteLinkDebugBreakPoint(const DebugRecord& record) {
  AppEnvironment* environment = InstalledAppEnvironment();
  if (environment == nullptr || !IsOnlineCommState(environment->CommState.load())) return;
  std::function<void(const DebugRecord&)> writer;
  {
    std::lock_guard<std::mutex> lock(g_writerMutex);
    writer = g_breakPointWriter;
  }
  if (writer) {
    writer(record);
    return;
  }
  StartLinkJobThread([environment, record] { WriteBreakPointThreadProc(*environment, record); });
}

namespace {

// A snapshot of a cache judged by the installed environment; offline without one.
OnlineCacheSnapshot TakeInstalledSnapshot(const OnlineCache& cache) {
  AppEnvironment* environment = InstalledAppEnvironment();
  if (environment == nullptr || !IsOnlineCommState(environment->CommState.load())) return OnlineCacheSnapshot();
  const Project* project = CurrentProjectOrNull();
  return cache.TakeSnapshot(true, OnlineTickCount(), NonNegative(environment->Config.LinkTimeUpdateError),
                            NonNegative(environment->Config.LinkTimeUpdateMark),
                            project != nullptr ? &project->MemoryAreas : nullptr,
                            project != nullptr ? project->Instructions.FxMode : 0);
}

}  // namespace

bool ReadCachedRunState(OnlineCache& cache, uint8_t& out) {
  OnlineCacheSnapshot snapshot = TakeInstalledSnapshot(cache);
  const bool fresh = ReadCachedRunState(snapshot, out);
  cache.StampRequests(snapshot);
  return fresh;
}

void ReadCachedDebugState(OnlineCache& cache, uint8_t& out) {
  OnlineCacheSnapshot snapshot = TakeInstalledSnapshot(cache);
  ReadCachedDebugState(snapshot, out);
  cache.StampRequests(snapshot);
}

namespace {

// The installed environment when it is online and has a project, else null.
AppEnvironment* OnlineEnvironment() {
  AppEnvironment* environment = InstalledAppEnvironment();
  if (environment == nullptr || CurrentProjectOrNull() == nullptr) return nullptr;
  return IsOnlineCommState(environment->CommState.load()) ? environment : nullptr;
}

bool PackWord(const OperandFields& operand, OperandWord& word) {
  const Project* project = CurrentProjectOrNull();
  if (project == nullptr) return false;
  try {
    PackOperandWord(word, project->MemoryAreas, operand);
    return true;
  } catch (const ExceptionError&) {
    return false;
  }
}

bool ParseValue(const std::wstring& text, int dataType, ConstantOperand& value) {
  const Project* project = CurrentProjectOrNull();
  if (project == nullptr || dataType < kDataTypeBit || dataType > kDataTypeReal) return false;
  try {
    return ParseConstantOperand(value, project->MemoryAreas, dataType, text);
  } catch (const ExceptionError&) {
    return false;
  }
}

void StartVariableWrite(AppEnvironment& environment, OperandWord word, uint32_t value) {
  std::vector<uint32_t> words{word, value};
  StartLinkJobThread([&environment, words = std::move(words)] { WriteVariableThreadProc(environment, words); });
}

}  // namespace

static bool WriteLinkForcedVariable(OnlineCache& cache, const OperandFields& operand, uint8_t state) {
  AppEnvironment* environment = OnlineEnvironment();
  if (environment == nullptr || operand.slot < 0 || operand.slot > 3) return false;
  // Only what the force images can show may be forced: a bit, or an aligned double word of
  // slots 2 and 3.
  if (!IsForceableOperand(cache, operand)) return false;
  OperandWord word = 0;
  if (!PackWord(operand, word)) return false;
  std::vector<uint32_t> words{word, state == 2 ? 0u : 1u};
  StartLinkJobThread(
      [environment, words = std::move(words)] { WriteForcedVariableThreadProc(*environment, words); });
  return true;
}

static bool WriteLinkVariable(OnlineCache& cache, const OperandFields& operand, const std::wstring& text, int dataType) {
  AppEnvironment* environment = OnlineEnvironment();
  if (environment == nullptr) return false;
  if (operand.kind != kKindValue) return WriteOperandValue(operand, text, dataType);
  if (operand.byte < 0 || operand.width < kWidthBit || operand.width > kWidthDword) return false;
  const size_t cells = cache.ValueImageSize(operand.slot);
  const size_t bytes = operand.width == kWidthBit ? 1 : static_cast<size_t>(WidthBytes(operand.width));
  // The whole value must lie in the image the monitor shows.
  if (cells == 0 || static_cast<size_t>(operand.byte) + bytes > cells) return false;
  ConstantOperand value;
  if (!ParseValue(text, dataType, value) || value.index != -1) return false;
  OperandWord word = 0;
  if (!PackWord(operand, word)) return false;
  StartVariableWrite(*environment, word, value.value);
  return true;
}

bool WriteOperandValue(const OperandFields& operand, const std::wstring& text, int dataType) {
  AppEnvironment* environment = InstalledAppEnvironment();
  if (environment == nullptr) return false;
  ConstantOperand value;
  if (!ParseValue(text, dataType, value)) return false;
  OperandWord word = 0;
  if (!PackWord(operand, word)) return false;
  StartVariableWrite(*environment, word, value.value);
  return true;
}

namespace {

// The services over the installed application environment and its current project.
class LinkOnlineServices final : public OnlineServices {
 public:
  OnlineCacheSnapshot TakeCurrentSnapshot() const override { return TakeLinkSnapshot(); }
  void StampCurrentRequests(const OnlineCacheSnapshot& snapshot) const override { StampLinkRequests(snapshot); }
  void WriteDebugBreakPoint(const DebugRecord& record) const override { WriteLinkDebugBreakPoint(record); }
  bool WriteForcedVariable(OnlineCache& cache, const OperandFields& operand, uint8_t state) const override {
    return WriteLinkForcedVariable(cache, operand, state);
  }
  bool WriteVariable(OnlineCache& cache, const OperandFields& operand, const std::wstring& text,
                     int dataType) const override {
    return WriteLinkVariable(cache, operand, text, dataType);
  }
};

}  // namespace

void InstallLinkOnlineServices() {
  static const LinkOnlineServices services;
  InstallOnlineServices(&services);
}

}  // namespace Brenno
