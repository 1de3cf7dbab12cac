#include "core/project/project.h"

#include "core/env/exception_error.h"

namespace Brenno {

Project& CurrentProject() {
  ProjectEnvironment* environment = InstalledEnvironment();
  if (environment == nullptr || environment->ProjectList.empty()) throw ExceptionLogicError();
  return environment->ProjectList.back();
}

}  // namespace Brenno
