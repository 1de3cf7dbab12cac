#include "core/project/project_list.h"

#include <string>

#include "core/env/app_environment.h"
#include "core/env/environment_loader.h"
#include "core/env/exception_error.h"
#include "core/env/plc_type.h"
#include "core/project/project.h"

namespace Brenno {

namespace {

AppEnvironment& Environment() {
  AppEnvironment* environment = InstalledEnvironment();
  if (environment == nullptr) throw ExceptionLogicError();
  return *environment;
}

}  // namespace

void PushDefaultProject() { Environment().ProjectList.emplace_back(); }

void PushProjectOfSameType() {
  AppEnvironment& environment = Environment();
  const PlcType* type = environment.ProjectList.empty() ? nullptr : environment.ProjectList.back().Type;
  const std::wstring name = type != nullptr ? type->Name() : std::wstring();
  environment.ProjectList.emplace_back();
  if (type == nullptr || !SelectPlcType(environment, name)) throw ExceptionInitPlcTypeError();
}

void DropNewestProject() {
  AppEnvironment& environment = Environment();
  if (!environment.ProjectList.empty()) environment.ProjectList.pop_back();
}

void DropOldestProject() {
  AppEnvironment& environment = Environment();
  if (!environment.ProjectList.empty()) environment.ProjectList.pop_front();
}

}  // namespace Brenno
