// The one process-wide environment of the workbench: the configuration, the language and its
// id bases, the PLC type catalog, the project list (whose last element is the current project)
// and the members of the PLC link. Start-up fills it once; exit writes the configuration back.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <list>
#include <mutex>
#include <string>
#include <vector>

#include "core/env/environment_placeholders.h"
#include "core/env/plc_config.h"
#include "core/env/plc_type.h"

namespace Brenno {

class Project;  // core/project/project.h

class AppEnvironment {
 public:
  AppEnvironment();
  ~AppEnvironment();
  AppEnvironment(const AppEnvironment&) = delete;
  AppEnvironment& operator=(const AppEnvironment&) = delete;

  // The language lives in one process-wide value (language.h) so that every bilingual text,
  // the error messages first of all, reads the same one. These forward to it.
  int Language() const;
  // 100 for English, 200 for Chinese: added to the ids of window resources.
  int ResourceIdBase() const;
  // 1000 for English, 2000 for Chinese: added to menu command and control ids.
  int CommandIdBase() const;
  // Takes `Lang` of the configuration as the language of this run: 1 or 2, anything else
  // throws ExceptionParseXmlError without detail.
  void ApplyConfiguredLanguage();

  // Path of the configuration file in the program directory.
  static std::wstring ConfigFilePath();

  PlcConfig Config;
  // One entry per catalog folder; entries stay in place, projects point at them.
  std::list<PlcType> PlcTypeCatalog;
  // Path of the current project's file; empty for a project never saved.
  std::wstring ProjectPath;
  std::atomic<bool> Modified{false};
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
  // The current project is the last element.
  std::list<Project> ProjectList;
  // Working values of the online monitor.
  std::vector<uint8_t> MonitorRequestArea;
  // CRC-16 of each of the three compiled images, low byte first.
  std::array<uint8_t, 6> ImageStamps{};
  std::array<std::vector<uint8_t>, 3> CompiledImages;
  std::array<uint8_t, 128> PasswordTable1{};
  std::array<uint8_t, 128> PasswordTable2{};

  static constexpr size_t kLinkBufferSize = 1024;
};

}  // namespace Brenno
