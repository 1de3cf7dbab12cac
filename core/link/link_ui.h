// What the PLC link needs of the user interface: the progress dialog, the information output
// pane and the PLC password prompt. The shell installs one implementation at start-up; tests
// install scripted ones.
//
// The calls come from a job's worker thread while it holds the port lock, and each returns only
// after the user interface has handled it. That cannot deadlock: the user-interface thread
// waits for the port lock only in EnterCommandWithoutPort, which refuses at once while a job
// holds the lock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/env/information_output.h"

namespace Brenno {

// The progress message: a text (shown when not empty) and the percent of the two bars; above 99
// closes the dialog (first bar) or hides the bar (second bar).
struct ProgressInfo {
  std::wstring Text;
  int Percent1 = 0;
  int Percent2 = 0;
};

// The information output (AppendOutputLine) is one of them.
class LinkUiServices : public InformationOutput {
 public:
  // `UpdProgress` to the main window.
  virtual void UpdProgress(const ProgressInfo& info) = 0;
  // The PLC password dialog: true with the 16-byte block of the typed password
  // (PackPasswordBytes); false when the user cancels or the text needs more than 16 bytes.
  virtual bool AskPlcPassword(std::vector<uint8_t>& block) = 0;
};

// Installs the services (null removes them), and with them the information output. The caller
// keeps ownership and removes them before destroying them. Without services progress and output
// are dropped and the password prompt counts as cancelled.
void InstallLinkUiServices(LinkUiServices* services);
LinkUiServices* InstalledLinkUiServices();

}  // namespace Brenno
