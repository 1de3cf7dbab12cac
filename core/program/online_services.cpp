#include "core/program/online_services.h"

#include <atomic>

namespace Brenno {

namespace {
std::atomic<const OnlineServices*> g_services{nullptr};
}  // namespace

void InstallOnlineServices(const OnlineServices* services) { g_services.store(services); }

const OnlineServices* InstalledOnlineServices() { return g_services.load(); }

OnlineCacheSnapshot TakeCurrentOnlineSnapshot() {
  const OnlineServices* services = g_services.load();
  return services != nullptr ? services->TakeCurrentSnapshot() : OnlineCacheSnapshot();
}

void StampCurrentOnlineRequests(const OnlineCacheSnapshot& snapshot) {
  if (const OnlineServices* services = g_services.load()) services->StampCurrentRequests(snapshot);
}

void WriteDebugBreakPoint(const DebugRecord& record) {
  if (const OnlineServices* services = g_services.load()) services->WriteDebugBreakPoint(record);
}

bool WriteForcedVariable(OnlineCache& cache, const OperandFields& operand, uint8_t state) {
  const OnlineServices* services = g_services.load();
  return services != nullptr && services->WriteForcedVariable(cache, operand, state);
}

bool WriteVariable(OnlineCache& cache, const OperandFields& operand, const std::wstring& text, int dataType) {
  const OnlineServices* services = g_services.load();
  return services != nullptr && services->WriteVariable(cache, operand, text, dataType);
}

}  // namespace Brenno
