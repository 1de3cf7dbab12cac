// The fixed parameters handed to every link command, and the event that wakes the online
// monitor; both are members of the application environment.
#pragma once

#include <condition_variable>
#include <mutex>

namespace Brenno {

// The fixed parameters handed to every link command.
struct LinkSettings {
  int AttemptsPerFrame = 3;
  int RetryPauseMs = 100;
  int ReplyCheckLevel = 4;
  int CancelRequest = 0;
};

// The online monitor's event: automatic reset, not signalled at first.
struct MonitorEvent {
  std::mutex Lock;
  std::condition_variable Changed;
  bool Signalled = false;
};

}  // namespace Brenno
