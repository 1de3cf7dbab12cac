#include "core/env/app_environment.h"

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/program_paths.h"
#include "core/project/project.h"
#include "platform/file_util.h"

namespace Brenno {

AppEnvironment::AppEnvironment() : LinkBuffer(kLinkBufferSize, 0) {}

// Members go in reverse order of declaration: the projects before the catalog they point at,
// the catalog (which releases each type's libraries) before the configuration.
AppEnvironment::~AppEnvironment() = default;

int AppEnvironment::Language() const { return CurrentLanguage(); }

int AppEnvironment::ResourceIdBase() const { return CurrentLanguage() == kLanguageChinese ? 200 : 100; }

int AppEnvironment::CommandIdBase() const { return CurrentLanguage() == kLanguageChinese ? 2000 : 1000; }

void AppEnvironment::ApplyConfiguredLanguage() {
  if (Config.Lang != kLanguageEnglish && Config.Lang != kLanguageChinese) throw ExceptionParseXmlError();
  SetCurrentLanguage(Config.Lang);
}

std::wstring AppEnvironment::ConfigFilePath() {
  return platform::JoinPath(GetProgramDirectory(), kPlcConfigFileName);
}

}  // namespace Brenno
