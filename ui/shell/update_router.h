// Routing of `PaneUpdate` codes by their high byte to the one window that handles them, and the
// gates of the main frame's commands by the communication state.
#pragma once

#include <cstdint>
#include <string>

namespace Brenno {

enum class PaneReceiver {
  None,
  Frame,               // 0x80
  StatusChartPane,     // 0x81, 0x82
  ProjectPane,         // 0x83
  OutputPane,          // 0x84
  DebugPane,           // 0x85
  DataBlockFrame,      // 0x86, 0x87
  ProgramEditorFrame,  // 0x89, 0x8A, 0x8B
  FunctionSymbolFrame, // 0x8C
  VariableSymbolFrame, // 0x8D, 0x8E
  CrossReferenceFrame, // 0x8F, 0x90
  DiagnoseWindow,      // 0x92
};

PaneReceiver ReceiverOfUpdate(uint16_t code);

// A window that takes `PaneUpdate` codes of its group.
class PaneRequestReceiver {
 public:
  virtual ~PaneRequestReceiver() = default;
  virtual void OnPaneRequest(uint16_t code, intptr_t value) = 0;
};

// Who is open now: the receiver for a group, or null while that window does not exist.
class PaneReceiverLookup {
 public:
  virtual ~PaneReceiverLookup() = default;
  virtual PaneRequestReceiver* FindReceiver(PaneReceiver receiver) = 0;
};

// Hands the code to its receiver when that window exists; a code without one is dropped.
// True when a receiver took it.
bool RoutePaneUpdate(uint16_t code, intptr_t value, PaneReceiverLookup& lookup);

// Communication-state gates: offline is `CommOffline`; idle is any state in which no job owns
// the port (offline, opening online, online, leaving online); online is `CommOnline`.
bool IsOfflineState(int commState);
bool IsIdleState(int commState);
bool IsOnlineState(int commState);

// The frame's caption: "Orvisto Editor - [<project path>]", with "*" before the closing bracket
// while the project has unsaved changes.
std::wstring FrameCaptionText(const std::wstring& projectPath, bool changed);

}  // namespace Brenno
