// What the online monitor and the write jobs need of the windows, served by the shell: the
// notification hub, the status bar text and the core's message boxes. Callable from worker
// threads; each call returns once the GUI thread has handled it.
#pragma once

#include "core/link/monitor_ui.h"

namespace Brenno {

class ShellMonitorUi : public MonitorUiServices {
 public:
  void NotifyMainFrame(int event, intptr_t value) override;
  // Colour code 1 (online) shows blue, anything else red.
  void ShowStatusText(const std::wstring& text, int colour) override;
  void MessageBoxOk(const std::wstring& text, unsigned icon) override;
  int MessageBoxYesNo(const std::wstring& text, unsigned icon) override;
  // Runs the calls workers wait on (the UI dispatcher's), on the GUI thread only.
  void ServeWaitingCalls() override;
};

}  // namespace Brenno
