// The one-shot PLC commands of the PLC and Debug menus: run/stop, scans, resets, clear, the PLC
// information, the PLC clock, debug steps and the debug run state. Each runs on a worker thread
// of its own through RunLinkJob: it enters the command state (opening the port while offline or
// borrowing the monitor's port while online), runs its link commands under a progress title,
// shows an error in a message box and a result in an information box, and always leaves the
// command state again. A second job started while one runs is refused at once with
// "Enter Command State Error".
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "core/link/link_commands.h"

namespace Brenno {

class AppEnvironment;

// "Force Scan": the PLC runs `scans` scans.
int ForceScanThreadProc(AppEnvironment& env, uint8_t scans);
// "Force Reset": the power-up reset.
int ForceResetThreadProc(AppEnvironment& env);
// "Clear PLC" over the first half of the progress, then "Force Reset" over the second half. When
// the clear fails, no reset is sent.
int ClearPlcThreadProc(AppEnvironment& env);
// "Get PLC Information": shows the PLC's information text as it came.
int GetPlcInformationThreadProc(AppEnvironment& env);
// "Read PLC's Date and Time": shows the clock (PlcClockText).
int ReadPlcClockThreadProc(AppEnvironment& env);
// "Write PLC's Date and Time": sets the PLC clock to the computer's local time and shows the
// clock as written. A local time the clock cannot hold (a year outside 2000..2255) is refused
// with "Send Data Error" and nothing is sent.
int WritePlcClockThreadProc(AppEnvironment& env);
int WritePlcClockThreadProc(AppEnvironment& env, const std::tm& localTime);
// "Force Debug Scan": 1 step in, 2 step over, 3 step out.
int ForceDebugScanThreadProc(AppEnvironment& env, uint8_t step);
// "Force Debug Reset".
int ForceDebugResetThreadProc(AppEnvironment& env);
// "Write Status" and "Write Debug Status": 1 run, 0 stop.
int WriteStatusThreadProc(AppEnvironment& env, uint8_t status);
int WriteDebugStatusThreadProc(AppEnvironment& env, uint8_t status);

// The clock as three lines in the current language, numbers without leading zeros, each line
// ending with "\r\n": "Date : 21-3-4", "Weekday : 4", "Time : 9:5:30".
std::wstring PlcClockText(const PlcClock& clock);

// PLC > Run / Stop and Debug > Run / Stop: while online start the run-state job on a worker
// thread (StartLinkJobThread) and return true; in any other state start nothing and return false.
bool StartPlcRun(AppEnvironment& env);
bool StartPlcStop(AppEnvironment& env);
bool StartDebugRun(AppEnvironment& env);
bool StartDebugStop(AppEnvironment& env);

}  // namespace Brenno
