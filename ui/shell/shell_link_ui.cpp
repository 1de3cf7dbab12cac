#include "ui/shell/shell_link_ui.h"

#include "ui/shell/message_facade.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/shell/ui_dispatcher.h"

namespace Brenno {

void ShellLinkUi::UpdProgress(const ProgressInfo& info) {
  RunOnUiThread([&info] {
    if (MainFrameSink* sink = InstalledMainFrameSink()) sink->RouteUpdate(Brenno::UpdProgress, reinterpret_cast<intptr_t>(&info));
  });
}

void ShellLinkUi::AppendOutputLine(const std::wstring& line) { NotifyMainFrame(EvOutputAppend, line.c_str()); }

void ShellLinkUi::ShowOutput() {
  RunOnUiThread([] {
    if (MainFrameSink* sink = InstalledMainFrameSink()) sink->RouteUpdate(UpdShowOutputPane, 0);
  });
}

bool ShellLinkUi::AskPlcPassword(std::vector<uint8_t>& block) { return Brenno::AskPlcPassword(block); }

}  // namespace Brenno
