#include "core/link/link_ui.h"

#include <atomic>

namespace Brenno {

namespace {
std::atomic<LinkUiServices*> g_services{nullptr};
}  // namespace

void InstallLinkUiServices(LinkUiServices* services) {
  g_services.store(services);
  InstallInformationOutput(services);
}

LinkUiServices* InstalledLinkUiServices() { return g_services.load(); }

}  // namespace Brenno
