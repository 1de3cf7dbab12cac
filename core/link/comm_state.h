// The communication states: who may use the link port. The online monitor keeps the port open
// on its own thread while the workbench is online; a job (download, upload, PLC command, value
// write) either opens the port itself while offline or borrows the monitor's port while online.
// The state word of the environment is changed by compare-exchange, so of two jobs starting
// together exactly one gets in and the other is refused at once. The port lock is held by the
// monitor thread while online and by the job's thread while a job runs; each thread that takes it
// in an Enter transition releases it in the matching Leave transition.
#pragma once

namespace Brenno {

class AppEnvironment;

enum CommStateValue {
  CommOffline = 0,
  CommOpeningOnline = 1,
  CommOpeningCommand = 2,
  CommOnline = 3,
  CommLeavingOnline = 4,
  CommCommandRequested = 5,
  CommCommand = 6,
  CommLeavingCommand = 7,
  CommCommandInOnline = 8,
  CommReturningOnline = 9,
};

// True whenever the monitor's port is open, even while a job borrows it (3, 5, 8, 9).
bool IsOnline(const AppEnvironment& env);

// False while a job started offline owns the port (2, 6, 7): it may be replacing the project, so
// the windows show nothing of it.
inline bool ShowsProject(int commState) {
  return commState != CommOpeningCommand && commState != CommCommand && commState != CommLeavingCommand;
}

// Monitor thread: 0 -> 1 -> 3, opening the port and keeping the lock. Outside 0:
// ExceptionSwitchOnlineEnterError. A failed open ends in 0 with the lock released:
// ExceptionSwitchOpenPortError (pipe, serial) or ExceptionSwitchNetworkConnectError (TCP, relay).
void EnterOnline(AppEnvironment& env);
// Monitor thread, holding the lock: 3 or 5 -> 4 -> 0. The lock is released once (a job waiting
// for it wakes up and gives up), taken again to close the port, and released. Outside 3 and 5:
// ExceptionSwitchOnlineLeaveError.
void LeaveOnline(AppEnvironment& env);

// Job thread: from 0 opens the port (0 -> 2 -> 6, open failures as EnterOnline); from 3 waits for
// the monitor to yield the lock (3 -> 5 -> 8). Any other state, or the online state ending during
// the wait: ExceptionSwitchCommandEnterError.
void EnterCommand(AppEnvironment& env);
// Job thread: 6 -> 7 -> 0 closing the port, or 8 -> 9 -> 3 handing the port back; releases the
// lock. Any other state: ExceptionSwitchCommandLeaveError.
void LeaveCommand(AppEnvironment& env);

// The same without opening or closing the port, for a job that reaches the PLC by other means.
void EnterCommandWithoutPort(AppEnvironment& env);
void LeaveCommandWithoutPort(AppEnvironment& env);

}  // namespace Brenno
