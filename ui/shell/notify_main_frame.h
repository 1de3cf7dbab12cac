// The notification hub: every change the windows must show is announced here as one
// `NotifyEvent` with a value. The hub marks the project changed for editing events and sends the
// event's fixed sequence of `PaneUpdate` codes, in order, to the main frame, which routes each to
// its window. The sends are synchronous: a worker thread that announces waits until the GUI
// thread has handled every code, so the value (a text pointer, a key) need only live until the
// call returns.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/shell/notify_codes.h"

namespace Brenno {

class AppEnvironment;
class ProgramBlock;

// What the hub and the worker threads need of the main frame. The frame installs itself when it
// has been built and removes itself before it goes; calls reach it on the GUI thread.
class MainFrameSink {
 public:
  virtual ~MainFrameSink() = default;
  // One `PaneUpdate` code with its value, routed by the code's high byte.
  virtual void RouteUpdate(uint16_t code, intptr_t value) = 0;
  // The communication text of the status bar, blue or red.
  virtual void SetStatusText(const std::wstring& text, bool blue) = 0;
};

void InstallMainFrameSink(MainFrameSink* sink);
MainFrameSink* InstalledMainFrameSink();

struct PaneUpdateCall {
  uint16_t Code;
  intptr_t Value;
  bool operator==(const PaneUpdateCall&) const = default;
};

struct NotifyPlan {
  bool SetsChanged = false;
  std::vector<PaneUpdateCall> Calls;
};

// The keys of the current project that `EvProjectReplaced` selects: the smallest data block key,
// the first program page key and the smallest variable table key, each -1 when there is none.
struct ReplacedProjectKeys {
  int DataBlock = -1;
  int ProgramPage = -1;
  int VariableTable = -1;
};
ReplacedProjectKeys KeysOfCurrentProject(const AppEnvironment* env);

// The plan of one event: whether it marks the project changed, and the codes in sending order.
// An unknown event gives an empty plan. The location events read the record the value points at
// (through a pointer to it); a null value sends nothing.
NotifyPlan PlanNotifyEvent(uint32_t event, intptr_t value, const ReplacedProjectKeys& keys);

// The key of the first page of the main and interrupt table, else of the subroutine table, else -1.
int FirstProgramPageKey(const ProgramBlock& program);

// Announces the event: marks the installed environment's project changed when the event says so,
// then sends the codes to the installed main frame (dropped while there is none).
void NotifyMainFrame(uint32_t event, intptr_t value);
inline void NotifyMainFrame(uint32_t event, const wchar_t* text) {
  NotifyMainFrame(event, reinterpret_cast<intptr_t>(text));
}

// Sets the status bar's communication text (blue for `blue`, else red) from any thread.
void ShowStatusText(const std::wstring& text, bool blue);

// The status bar texts, Chinese in both languages.
inline constexpr const wchar_t* kStatusOnlineText = L"在线";
inline constexpr const wchar_t* kStatusOfflineText = L"脱机";
inline constexpr const wchar_t* kStatusDownloadText = L"下载";

}  // namespace Brenno
