// What the online monitor and the write jobs need of the user interface: the notification hub
// (the monitor's tick), the status bar text and the two modal message boxes. The shell installs
// one implementation at start-up; tests install recording ones. Without services nothing is
// shown, and a question counts as answered No.
//
// Every call comes from a worker thread and returns only after the user interface has handled
// it. The monitor and the jobs make these calls without holding the port lock or a cache lock,
// so the user-interface thread may use the cache while it handles them.
#pragma once

#include <cstdint>
#include <string>

namespace Brenno {

// Notification codes sent to the main frame's hub.
constexpr int kNotifyCommChanged = 0x002;  // EvCommChanged
constexpr int kNotifyMonitorTick = 0x00B;  // EvMonitorTick: repaint the online values

// Colour codes of the status bar text: blue while online, red once offline.
constexpr int kStatusTextOnline = 1;
constexpr int kStatusTextOffline = 2;

// Icon flags of the message boxes, and the answer Yes of the question box.
constexpr unsigned kIconStop = 0x10;
constexpr unsigned kIconQuestion = 0x20;
constexpr unsigned kIconInformation = 0x40;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

class MonitorUiServices {
 public:
  virtual ~MonitorUiServices() = default;
  // `NotifyMainFrame`: one notification code with its value.
  virtual void NotifyMainFrame(int event, intptr_t value) = 0;
  // The status bar text with its colour code.
  virtual void ShowStatusText(const std::wstring& text, int colour) = 0;
  // `MessageBoxOk` and `MessageBoxYesNo` over the main window; the latter returns kAnswerYes
  // or kAnswerNo.
  virtual void MessageBoxOk(const std::wstring& text, unsigned icon) = 0;
  virtual int MessageBoxYesNo(const std::wstring& text, unsigned icon) = 0;
  // Called by the user-interface thread while it waits for a worker to end: runs the calls of
  // this interface that workers are waiting on, so that a worker which still reports (its last
  // tick, the status text) can finish. Does nothing on any other thread.
  virtual void ServeWaitingCalls() {}
};

// Installs the services (null removes them); the caller keeps ownership.
void InstallMonitorUiServices(MonitorUiServices* services);
MonitorUiServices* InstalledMonitorUiServices();

// The calls through the installed services; without services they do nothing (the question
// gives kAnswerNo).
void MonitorNotify(int event, intptr_t value);
void MonitorStatusText(const std::wstring& text, int colour);
void MonitorMessageBoxOk(const std::wstring& text, unsigned icon);
int MonitorMessageBoxYesNo(const std::wstring& text, unsigned icon);
void MonitorServeWaitingCalls();
// An error message with the stop icon, only when the message is not empty.
void MonitorShowError(const std::wstring& message);

}  // namespace Brenno
