#include "core/env/clipboard.h"

#include <atomic>

namespace Brenno {

namespace {
std::atomic<ClipboardService*> g_clipboard{nullptr};
}  // namespace

void InstallClipboardService(ClipboardService* service) { g_clipboard.store(service); }

ClipboardService* InstalledClipboardService() { return g_clipboard.load(); }

}  // namespace Brenno
