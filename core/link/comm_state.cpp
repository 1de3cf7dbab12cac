#include "core/link/comm_state.h"

#include "core/link/app_environment.h"
#include "core/env/exception_error.h"
#include "core/link/comm_port.h"

namespace Brenno {

namespace {

bool Move(AppEnvironment& env, int from, int to) { return env.CommState.compare_exchange_strong(from, to); }

// Takes the lock and opens the port; on any failure releases the lock, goes offline and throws.
void OpenLocked(AppEnvironment& env, int finalState) {
  env.PortLock.lock();
  bool opened = false;
  try {
    opened = OpenCommPort(env.Port, env.Config);
  } catch (...) {
    CloseCommPort(env.Port);
    env.PortLock.unlock();
    env.CommState.store(CommOffline);
    throw;
  }
  if (!opened) {
    CloseCommPort(env.Port);
    env.PortLock.unlock();
    env.CommState.store(CommOffline);
    throw ExceptionSwitchOpenPortError();
  }
  env.CommState.store(finalState);
}

// 3 -> 5, then waits for the monitor to yield the lock and takes over the port (5 -> 8).
template <class Refusal>
bool TryBorrowOnlinePort(AppEnvironment& env) {
  if (!Move(env, CommOnline, CommCommandRequested)) return false;
  env.PortLock.lock();
  if (!Move(env, CommCommandRequested, CommCommandInOnline)) {
    env.PortLock.unlock();
    throw Refusal();
  }
  return true;
}

void Enter(AppEnvironment& env, bool withPort) {
  for (;;) {
    const int state = env.CommState.load();
    if (state == CommOffline) {
      if (!Move(env, CommOffline, CommOpeningCommand)) continue;
      if (withPort) {
        OpenLocked(env, CommCommand);
      } else {
        env.PortLock.lock();
        env.CommState.store(CommCommand);
      }
      return;
    }
    if (state == CommOnline) {
      if (TryBorrowOnlinePort<ExceptionSwitchCommandEnterError>(env)) return;
      continue;
    }
    throw ExceptionSwitchCommandEnterError();
  }
}

void Leave(AppEnvironment& env, bool withPort) {
  if (Move(env, CommCommand, CommLeavingCommand)) {
    if (withPort) CloseCommPort(env.Port);
    env.CommState.store(CommOffline);
    env.PortLock.unlock();
    return;
  }
  if (Move(env, CommCommandInOnline, CommReturningOnline)) {
    // Back to online before the lock goes, so the monitor never holds the lock in state 9.
    env.CommState.store(CommOnline);
    env.PortLock.unlock();
    return;
  }
  throw ExceptionSwitchCommandLeaveError();
}

}  // namespace

bool IsOnline(const AppEnvironment& env) {
  switch (env.CommState.load()) {
    case CommOnline:
    case CommCommandRequested:
    case CommCommandInOnline:
    case CommReturningOnline: return true;
    default: return false;
  }
}

void EnterOnline(AppEnvironment& env) {
  if (!Move(env, CommOffline, CommOpeningOnline)) throw ExceptionSwitchOnlineEnterError();
  OpenLocked(env, CommOnline);
}

void LeaveOnline(AppEnvironment& env) {
  if (!Move(env, CommOnline, CommLeavingOnline) && !Move(env, CommCommandRequested, CommLeavingOnline)) {
    throw ExceptionSwitchOnlineLeaveError();
  }
  // A job waiting for the lock gets it here, finds the state changed and gives up.
  env.PortLock.unlock();
  env.PortLock.lock();
  CloseCommPort(env.Port);
  env.CommState.store(CommOffline);
  env.PortLock.unlock();
}

void EnterCommand(AppEnvironment& env) { Enter(env, true); }

void LeaveCommand(AppEnvironment& env) { Leave(env, true); }

void EnterCommandWithoutPort(AppEnvironment& env) { Enter(env, false); }

void LeaveCommandWithoutPort(AppEnvironment& env) { Leave(env, false); }

}  // namespace Brenno
