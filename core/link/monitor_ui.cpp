#include "core/link/monitor_ui.h"

#include <atomic>

namespace Brenno {

namespace {
std::atomic<MonitorUiServices*> g_services{nullptr};
}  // namespace

void InstallMonitorUiServices(MonitorUiServices* services) { g_services.store(services); }

MonitorUiServices* InstalledMonitorUiServices() { return g_services.load(); }

void MonitorNotify(int event, intptr_t value) {
  if (MonitorUiServices* ui = g_services.load()) ui->NotifyMainFrame(event, value);
}

void MonitorStatusText(const std::wstring& text, int colour) {
  if (MonitorUiServices* ui = g_services.load()) ui->ShowStatusText(text, colour);
}

void MonitorMessageBoxOk(const std::wstring& text, unsigned icon) {
  if (MonitorUiServices* ui = g_services.load()) ui->MessageBoxOk(text, icon);
}

int MonitorMessageBoxYesNo(const std::wstring& text, unsigned icon) {
  MonitorUiServices* ui = g_services.load();
  return ui != nullptr ? ui->MessageBoxYesNo(text, icon) : kAnswerNo;
}

void MonitorServeWaitingCalls() {
  if (MonitorUiServices* ui = g_services.load()) ui->ServeWaitingCalls();
}

void MonitorShowError(const std::wstring& message) {
  if (!message.empty()) MonitorMessageBoxOk(message, kIconStop);
}

}  // namespace Brenno
