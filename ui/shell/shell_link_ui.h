// What the PLC link needs of the windows, served by the shell: the progress dialog through the
// main frame, the information output through the notification hub, and the password prompt
// through the UI facade. Callable from the link's worker threads.
#pragma once

#include "core/link/link_ui.h"

namespace Brenno {

class ShellLinkUi : public LinkUiServices {
 public:
  void UpdProgress(const ProgressInfo& info) override;
  void AppendOutputLine(const std::wstring& line) override;
  void ShowOutput() override;
  bool AskPlcPassword(std::vector<uint8_t>& block) override;
};

}  // namespace Brenno
