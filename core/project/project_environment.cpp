#include "core/project/project_environment.h"

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/program_paths.h"
#include "core/project/project.h"
#include "platform/file_util.h"

namespace Brenno {

namespace {
ProjectEnvironment* g_environment = nullptr;
}  // namespace

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
