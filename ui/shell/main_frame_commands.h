// The offsets of the main frame's commands and the rules that decide, from the communication
// state and the PLC's cached run and debug states, whether a command is offered (enabled), shows
// its check mark, and acts when it is invoked. Plain data in, plain data out: the frame reads the
// states and applies the result to its actions.
#pragma once

#include <cstdint>

namespace Brenno {

// Command offsets (added to the command-id base).
enum MainCommand {
  CmdFileNew = 20101,
  CmdFileOpen = 20102,
  CmdFileOpenPmw = 20103,
  CmdFileSave = 20104,
  CmdFileSaveAs = 20105,
  CmdFileUpload = 20106,
  CmdFileDownloadDirect = 20107,
  CmdFileExit = 20108,
  CmdFileWriteFlash = 20389,
  CmdFileReadFile = 20390,
  CmdFileDownload = 30115,
  CmdViewStl = 20161,
  CmdViewLad = 20162,
  CmdViewSymbolic = 20170,
  CmdViewDataBlock = 20163,
  CmdViewSystemBlock = 20164,
  CmdViewProgramEditor = 20165,
  CmdViewFunctionSymbol = 20166,
  CmdViewVariableSymbol = 20167,
  CmdViewCrossReference = 20168,
  CmdViewCommunications = 20169,
  CmdToolbarStandard = 20171,
  CmdToolbarDebug = 20172,
  CmdToolbarInstruction = 20173,
  CmdToolbarInstructionFx = 20174,
  CmdFrameStatusChart = 20175,
  CmdFrameProjectManager = 20176,
  CmdFrameOutput = 20177,
  CmdFrameDebug = 20178,
  CmdPlcRun = 20181,
  CmdPlcStop = 20182,
  CmdPlcSingleScan = 20183,
  CmdPlcMultipleScans = 20184,
  CmdPlcPowerUpReset = 20185,
  CmdPlcCompile = 20186,
  CmdPlcCompileAll = 20187,
  CmdPlcClear = 20188,
  CmdPlcInformation = 20189,
  CmdPlcReadClock = 20190,
  CmdPlcWriteClock = 20191,
  CmdPlcType = 20192,
  CmdPlcModbusQuery = 20193,
  CmdPlcDiagnose = 20388,
  CmdPlcTrend = 20396,
  CmdDebugConnectMenu = 30116,
  CmdDebugConnect = 20201,
  CmdDebugDisconnect = 20202,
  CmdDebugRun = 20203,
  CmdDebugStop = 20204,
  CmdDebugStepIn = 20205,
  CmdDebugStepOver = 20206,
  CmdDebugStepOut = 20207,
  CmdDebugPowerUpReset = 20208,
  CmdDebugCommunication = 30114,
  CmdHelpAbout = 20221,
  CmdHelpEnglish = 20222,
  CmdHelpChinese = 20223,
  CmdHelpFile = 20224,
};

// What the rules look at. The cached states are 1 (running / debug running), 2 (stopped / debug
// stopped) or 255 (no valid value); they are only meaningful while online.
struct CommandGates {
  int CommState = 0;
  uint8_t RunState = 255;
  uint8_t DebugState = 255;
  // The current program's view mode (1 statement list, 2 ladder) and the symbolic addressing
  // setting, for the check marks of the View menu.
  int ViewMode = 0;
  bool SymbolicAddr = false;
};

struct CommandStatus {
  bool Enabled = false;
  bool Checked = false;
  friend bool operator==(const CommandStatus&, const CommandStatus&) = default;
};

class MainFrameCommands {
 public:
  explicit MainFrameCommands(const CommandGates& gates) : gates_(gates) {}

  // True when the command's state depends only on these gates (file, PLC, debug commands and the
  // view switches).
  static bool Knows(int offset);
  // Enabled and check mark of a known command; both off for any other.
  CommandStatus Status(int offset) const;
  // Whether the command acts when invoked now. Mostly the same as Enabled; Power-Up Reset acts
  // only while the PLC runs and Power-Up Debug Reset only in the debug-stopped state, although
  // both are offered in more states.
  bool Acts(int offset) const;

  // True when the commands need the cached run and debug states at all (only while online).
  static bool NeedsCachedStates(int commState);

 private:
  CommandGates gates_;
};

}  // namespace Brenno
