#include "core/project/project.h"

#include "core/env/app_environment.h"
#include "core/env/exception_error.h"

namespace Brenno {

namespace {
AppEnvironment* g_environment = nullptr;
}  // namespace

void InstallEnvironment(AppEnvironment* environment) { g_environment = environment; }

AppEnvironment* InstalledEnvironment() { return g_environment; }

Project& CurrentProject() {
  if (g_environment == nullptr || g_environment->ProjectList.empty()) throw ExceptionLogicError();
  return g_environment->ProjectList.back();
}

}  // namespace Brenno
