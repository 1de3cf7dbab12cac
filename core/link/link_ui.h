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

namespace Brenno {

// The progress message: a text (shown when not empty) and the percent of the two bars; above 99
// closes the dialog (first bar) or hides the bar (second bar).
struct ProgressInfo {
  std::wstring Text;
  int Percent1 = 0;
  int Percent2 = 0;
};

class LinkUiServices {
 public:
  virtual ~LinkUiServices() = default;
  // `UpdProgress` to the main window.
  virtual void UpdProgress(const ProgressInfo& info) = 0;
  // One line appended to the information output (`EvOutputAppend`).
  virtual void AppendOutputLine(const std::wstring& line) = 0;
  // The PLC password dialog: true with the 16-byte block of the typed password
  // (PackPasswordBytes); false when the user cancels or the text needs more than 16 bytes.
  virtual bool AskPlcPassword(std::vector<uint8_t>& block) = 0;
};

// Installs the services (null removes them). The caller keeps ownership and removes them
// before destroying them. Without services progress and output are dropped and the password
// prompt counts as cancelled.
void InstallLinkUiServices(LinkUiServices* services);
LinkUiServices* InstalledLinkUiServices();

}  // namespace Brenno
