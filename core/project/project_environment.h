// The environment of the workbench as the project layer knows it: the configuration, the
// language and its id bases, the PLC type catalog, the project list (whose last element is the
// current project) and the unit password tables. The PLC link adds its port, communication
// state and monitor to it (AppEnvironment, core/link/app_environment.h), and that is the one
// the application builds and installs.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <mutex>
#include <string>
#include <thread>

#include "core/env/plc_config.h"
#include "core/env/plc_type.h"

namespace Brenno {

class Project;  // core/project/project.h

// Projects that a command replaced, freed on a worker thread of their own: a large project takes
// a while to free, and the user need not wait for that before working with the new one. A
// dropped project is no longer reachable from the environment, so nothing else touches it.
class DroppedProjects {
 public:
  DroppedProjects() = default;
  // Frees what is still queued and ends the thread.
  ~DroppedProjects();
  DroppedProjects(const DroppedProjects&) = delete;
  DroppedProjects& operator=(const DroppedProjects&) = delete;

  // Takes the project out of the list (the other elements stay where they are) and queues it.
  // When no thread can be started, the project is freed here.
  void Take(std::list<Project>& list, std::list<Project>::iterator project);
  // Returns once every project taken so far is freed.
  void Wait();

 private:
  void Run();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::list<Project> queue_;
  bool freeing_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

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
  // The current project is the last element. Declared after the catalog: the projects go before
  // the catalog they point at, the catalog (which releases each type's libraries) before the
  // configuration.
  std::list<Project> ProjectList;
  // Declared last: projects still being freed go before everything else.
  DroppedProjects Dropped;
};

// The process-wide environment that the model code reaches the current project through. The
// application installs its environment at start-up; tests install their own.
void InstallEnvironment(ProjectEnvironment* environment);
ProjectEnvironment* InstalledEnvironment();

}  // namespace Brenno
