#include "core/project/message_box.h"

#include <atomic>

namespace Brenno {

namespace {
std::atomic<MessageBoxServices*> g_services{nullptr};
}  // namespace

void InstallMessageBoxServices(MessageBoxServices* services) { g_services.store(services); }

MessageBoxServices* InstalledMessageBoxServices() { return g_services.load(); }

int MessageBoxOk(const std::wstring& text, int icon) {
  MessageBoxServices* services = g_services.load();
  return services != nullptr ? services->MessageBoxOk(text, icon) : kMessageResultOk;
}

int MessageBoxYesNo(const std::wstring& text, int icon) {
  MessageBoxServices* services = g_services.load();
  return services != nullptr ? services->MessageBoxYesNo(text, icon) : kMessageResultNo;
}

}  // namespace Brenno
