#include "core/project/project_environment.h"

#include <system_error>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/program_paths.h"
#include "core/project/project.h"
#include "platform/file_util.h"

namespace Brenno {

namespace {
ProjectEnvironment* g_environment = nullptr;
}  // namespace

DroppedProjects::~DroppedProjects() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
  queue_.clear();
}

void DroppedProjects::Take(std::list<Project>& list, std::list<Project>::iterator project) {
  std::unique_lock<std::mutex> lock(mutex_);
  queue_.splice(queue_.end(), list, project);
  if (!thread_.joinable()) {
    try {
      thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
      // No thread to free it on: freed here, as the command would have done itself.
      std::list<Project> now;
      now.splice(now.end(), queue_);
      lock.unlock();
      return;
    }
  }
  lock.unlock();
  changed_.notify_all();
}

void DroppedProjects::Wait() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return queue_.empty() && !freeing_; });
}

void DroppedProjects::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (queue_.empty()) return;
    std::list<Project> batch;
    batch.splice(batch.end(), queue_);
    freeing_ = true;
    lock.unlock();
    batch.clear();
    lock.lock();
    freeing_ = false;
    changed_.notify_all();
  }
}

ProjectEnvironment::ProjectEnvironment() = default;

ProjectEnvironment::~ProjectEnvironment() = default;

int ProjectEnvironment::Language() const { return CurrentLanguage(); }

int ProjectEnvironment::ResourceIdBase() const { return CurrentLanguage() == kLanguageChinese ? 200 : 100; }

int ProjectEnvironment::CommandIdBase() const { return CurrentLanguage() == kLanguageChinese ? 2000 : 1000; }

void ProjectEnvironment::ApplyConfiguredLanguage() {
  if (Config.Lang != kLanguageEnglish && Config.Lang != kLanguageChinese) throw ExceptionParseXmlError();
  SetCurrentLanguage(Config.Lang);
}

std::wstring ProjectEnvironment::ConfigFilePath() {
  return platform::JoinPath(GetProgramDirectory(), kPlcConfigFileName);
}

void InstallEnvironment(ProjectEnvironment* environment) { g_environment = environment; }

ProjectEnvironment* InstalledEnvironment() { return g_environment; }

}  // namespace Brenno
