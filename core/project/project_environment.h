// The environment of the workbench as the project layer knows it: the configuration, the
// language and its id bases, the PLC type catalog, the project list (whose last element is the
// current project) and the unit password tables. The PLC link adds its port, communication
// state and monitor to it (AppEnvironment, core/link/app_environment.h), and that is the one
// the application builds and installs.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <list>
#include <string>

#include "core/env/plc_config.h"
#include "core/env/plc_type.h"

namespace Brenno {

class Project;  // core/project/project.h

class ProjectEnvironment {
 public:
  ProjectEnvironment();
  virtual ~ProjectEnvironment();
  ProjectEnvironment(const ProjectEnvironment&) = delete;
  ProjectEnvironment& operator=(const ProjectEnvironment&) = delete;

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
  std::array<uint8_t, 128> PasswordTable1{};
  std::array<uint8_t, 128> PasswordTable2{};
  // The current project is the last element. Declared last: the projects go before the catalog
  // they point at, the catalog (which releases each type's libraries) before the configuration.
  std::list<Project> ProjectList;
};

// The process-wide environment that the model code reaches the current project through. The
// application installs its environment at start-up; tests install their own.
void InstallEnvironment(ProjectEnvironment* environment);
ProjectEnvironment* InstalledEnvironment();

}  // namespace Brenno
