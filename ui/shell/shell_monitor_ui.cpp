#include "ui/shell/shell_monitor_ui.h"

#include "core/project/message_box.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/shell/ui_dispatcher.h"

namespace Brenno {

void ShellMonitorUi::NotifyMainFrame(int event, intptr_t value) {
  Brenno::NotifyMainFrame(static_cast<uint32_t>(event), value);
}

void ShellMonitorUi::ShowStatusText(const std::wstring& text, int colour) {
  Brenno::ShowStatusText(text, colour == kStatusTextOnline);
}

void ShellMonitorUi::MessageBoxOk(const std::wstring& text, unsigned icon) {
  Brenno::MessageBoxOk(text, static_cast<int>(icon));
}

int ShellMonitorUi::MessageBoxYesNo(const std::wstring& text, unsigned icon) {
  return Brenno::MessageBoxYesNo(text, static_cast<int>(icon)) == kMessageResultYes ? kAnswerYes : kAnswerNo;
}

void ShellMonitorUi::ServeWaitingCalls() { ServePendingUiCalls(); }

}  // namespace Brenno
