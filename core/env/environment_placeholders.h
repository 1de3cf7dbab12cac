// Stand-ins for the types of the environment that belong to parts of the workbench not built
// yet: the PLC type of the catalog, and the port, link settings and monitor members of the link.
// The environment only constructs and destroys them. Each is replaced by the real type when its
// part is written (its header then takes the place of this one in app_environment.h).
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>

// The link port.
#include "core/link/comm_port.h"

namespace Brenno {

// The fixed parameters handed to every link command.
struct LinkSettings {
  int AttemptsPerFrame = 3;
  int RetryPauseMs = 100;
  int ReplyCheckLevel = 4;
  int CancelRequest = 0;
};

// Stand-in for the online monitor's event: automatic reset, not signalled at first.
struct MonitorEvent {
  std::mutex Lock;
  std::condition_variable Changed;
  bool Signalled = false;
};

}  // namespace Brenno
