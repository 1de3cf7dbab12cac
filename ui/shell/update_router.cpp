#include "ui/shell/update_router.h"

#include "core/link/comm_state.h"

namespace Brenno {

PaneReceiver ReceiverOfUpdate(uint16_t code) {
  switch (code >> 8) {
    case 0x80: return PaneReceiver::Frame;
    case 0x81:
    case 0x82: return PaneReceiver::StatusChartPane;
    case 0x83: return PaneReceiver::ProjectPane;
    case 0x84: return PaneReceiver::OutputPane;
    case 0x85: return PaneReceiver::DebugPane;
    case 0x86:
    case 0x87: return PaneReceiver::DataBlockFrame;
    case 0x89:
    case 0x8A:
    case 0x8B: return PaneReceiver::ProgramEditorFrame;
    case 0x8C: return PaneReceiver::FunctionSymbolFrame;
    case 0x8D:
    case 0x8E: return PaneReceiver::VariableSymbolFrame;
    case 0x8F:
    case 0x90: return PaneReceiver::CrossReferenceFrame;
    case 0x92: return PaneReceiver::DiagnoseWindow;
    default: return PaneReceiver::None;
  }
}

bool RoutePaneUpdate(uint16_t code, intptr_t value, PaneReceiverLookup& lookup) {
  const PaneReceiver receiver = ReceiverOfUpdate(code);
  if (receiver == PaneReceiver::None) return false;
  PaneRequestReceiver* window = lookup.FindReceiver(receiver);
  if (window == nullptr) return false;
  window->OnPaneRequest(code, value);
  return true;
}

bool IsOfflineState(int commState) { return commState == CommOffline; }

bool IsIdleState(int commState) {
  return commState == CommOffline || commState == CommOpeningOnline || commState == CommOnline ||
         commState == CommLeavingOnline;
}

bool IsOnlineState(int commState) { return commState == CommOnline; }

std::wstring FrameCaptionText(const std::wstring& projectPath, bool changed) {
  std::wstring caption = L"Orvisto Editor - [" + projectPath;
  if (changed) caption += L"*";
  caption += L"]";
  return caption;
}

}  // namespace Brenno
