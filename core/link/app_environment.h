// The one process-wide environment of the workbench: the project environment (configuration,
// language, PLC type catalog, project list, password tables) with the members of the PLC link:
// the port and its lock, the communication state, the receive buffer, the link settings, the
// monitor's event and working values, and the stamps of the compiled images. Start-up fills it
// once; exit writes the configuration back.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "core/link/comm_port.h"
#include "core/link/link_settings.h"
#include "core/project/project_environment.h"

namespace Brenno {

class AppEnvironment : public ProjectEnvironment {
 public:
  AppEnvironment();
  ~AppEnvironment() override;

  std::atomic<bool> MonitorWait{false};
  // Communication state word, changed by compare-exchange; 0 is offline.
  std::atomic<int> CommState{0};
  CommPort Port;
  // Receive buffer of the link.
  std::vector<uint8_t> LinkBuffer;
  LinkSettings Link;
  // Guards the port and the communication state.
  std::mutex PortLock;
  MonitorEvent Monitor;
  // Working values of the online monitor.
  std::vector<uint8_t> MonitorRequestArea;
  // CRC-16 of each of the three compiled images, low byte first.
  std::array<uint8_t, 6> ImageStamps{};
  std::array<std::vector<uint8_t>, 3> CompiledImages;

  static constexpr size_t kLinkBufferSize = 1024;
};

// The installed environment (InstallEnvironment) when it is an application environment, else
// null.
AppEnvironment* InstalledAppEnvironment();

}  // namespace Brenno
