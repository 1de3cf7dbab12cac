#include "core/program/program_services.h"

#include "core/env/exception_error.h"

namespace Brenno {

namespace {
const ProgramServices* g_services = nullptr;
}  // namespace

void InstallProgramServices(const ProgramServices* services) { g_services = services; }

const ProgramServices* InstalledProgramServices() { return g_services; }

const ProgramServices& CurrentProgramServices() {
  if (g_services == nullptr) throw ExceptionLogicError();
  return *g_services;
}

}  // namespace Brenno
