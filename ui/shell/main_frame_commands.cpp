#include "ui/shell/main_frame_commands.h"

#include "ui/shell/update_router.h"

namespace Brenno {

bool MainFrameCommands::Knows(int offset) {
  switch (offset) {
    case CmdFileNew: case CmdFileOpen: case CmdFileOpenPmw: case CmdFileSave: case CmdFileSaveAs:
    case CmdFileUpload: case CmdFileDownloadDirect: case CmdFileDownload: case CmdFileExit:
    case CmdFileWriteFlash: case CmdFileReadFile:
    case CmdPlcRun: case CmdPlcStop: case CmdPlcSingleScan: case CmdPlcMultipleScans:
    case CmdPlcPowerUpReset: case CmdPlcCompile: case CmdPlcCompileAll: case CmdPlcClear:
    case CmdPlcInformation: case CmdPlcReadClock: case CmdPlcWriteClock: case CmdPlcType:
    case CmdPlcModbusQuery: case CmdPlcDiagnose: case CmdPlcTrend:
    case CmdDebugConnectMenu: case CmdDebugConnect: case CmdDebugDisconnect: case CmdDebugRun:
    case CmdDebugStop: case CmdDebugStepIn: case CmdDebugStepOver: case CmdDebugStepOut:
    case CmdDebugPowerUpReset: case CmdDebugCommunication:
    case CmdViewStl: case CmdViewLad: case CmdViewSymbolic: case CmdViewSystemBlock:
    case CmdViewDataBlock: case CmdViewProgramEditor: case CmdViewFunctionSymbol: case CmdViewVariableSymbol:
    case CmdViewCrossReference: case CmdViewCommunications:
      return true;
    default:
      return false;
  }
}

bool MainFrameCommands::NeedsCachedStates(int commState) { return IsOnlineState(commState); }

CommandStatus MainFrameCommands::Status(int offset) const {
  const bool offline = IsOfflineState(gates_.CommState);
  const bool idle = IsIdleState(gates_.CommState);
  const bool online = IsOnlineState(gates_.CommState);
  // Outside the online state the cached states are not looked at.
  const uint8_t run = online ? gates_.RunState : 255;
  const uint8_t debug = online ? gates_.DebugState : 255;
  CommandStatus status;
  switch (offset) {
    case CmdFileNew:
    case CmdFileOpen:
    case CmdFileOpenPmw:
    case CmdFileUpload:
    case CmdFileDownloadDirect:
    case CmdFileDownload:
    case CmdPlcCompile:
    case CmdPlcCompileAll:
    case CmdPlcClear:
    case CmdPlcType:
    case CmdDebugConnectMenu:
    case CmdDebugConnect:
    case CmdDebugCommunication:
    case CmdViewSystemBlock:
    case CmdViewCommunications:
      status.Enabled = offline;
      break;
    case CmdFileSave:
    case CmdFileSaveAs:
    case CmdFileExit:
    case CmdFileWriteFlash:
    case CmdPlcModbusQuery:
    case CmdViewDataBlock:
    case CmdViewProgramEditor:
    case CmdViewFunctionSymbol:
    case CmdViewVariableSymbol:
    case CmdViewCrossReference:
      status.Enabled = idle;
      break;
    case CmdFileReadFile:
      break;
    case CmdViewStl:
      status.Enabled = idle;
      status.Checked = gates_.ViewMode == 1;
      break;
    case CmdViewLad:
      status.Enabled = idle;
      status.Checked = gates_.ViewMode == 2;
      break;
    case CmdViewSymbolic:
      status.Enabled = idle;
      status.Checked = gates_.SymbolicAddr;
      break;
    case CmdPlcRun:
      status.Enabled = online && run == 2;
      status.Checked = online && run == 1;
      break;
    case CmdPlcStop:
      status.Enabled = online && run == 1;
      status.Checked = online && run == 2;
      break;
    case CmdPlcSingleScan:
    case CmdPlcMultipleScans:
      status.Enabled = online && run == 2;
      break;
    case CmdPlcPowerUpReset:
      status.Enabled = online && run != 2;
      break;
    case CmdPlcDiagnose:
    case CmdPlcInformation:
    case CmdPlcReadClock:
    case CmdPlcWriteClock:
    case CmdDebugDisconnect:
      status.Enabled = online;
      break;
    case CmdPlcTrend:
      status.Enabled = !online;
      break;
    case CmdDebugRun:
      status.Enabled = online && run == 2 && debug == 2;
      status.Checked = online && run == 2 && debug == 1;
      break;
    case CmdDebugStop:
      status.Enabled = online && run == 2 && debug == 1;
      status.Checked = online && run == 2 && debug == 2;
      break;
    case CmdDebugStepIn:
    case CmdDebugStepOver:
    case CmdDebugStepOut:
      status.Enabled = online && run == 2 && debug == 2;
      break;
    case CmdDebugPowerUpReset:
      status.Enabled = online && run == 2 && (debug == 1 || debug == 2);
      break;
    default:
      break;
  }
  return status;
}

bool MainFrameCommands::Acts(int offset) const {
  const bool online = IsOnlineState(gates_.CommState);
  switch (offset) {
    case CmdPlcPowerUpReset:
      return online && gates_.RunState == 1;
    case CmdDebugPowerUpReset:
      return online && gates_.RunState == 2 && gates_.DebugState == 2;
    default:
      return Status(offset).Enabled;
  }
}

}  // namespace Brenno
