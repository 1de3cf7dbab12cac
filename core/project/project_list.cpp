#include "core/project/project_list.h"

#include <string>

#include "core/project/project_environment.h"
#include "core/project/environment_loader.h"
#include "core/env/exception_error.h"
#include "core/env/plc_type.h"
#include "core/project/project.h"

namespace Brenno {

namespace {

ProjectEnvironment& Environment() {
  ProjectEnvironment* environment = InstalledEnvironment();
  if (environment == nullptr) throw ExceptionLogicError();
  return *environment;
}

}  // namespace

void PushDefaultProject() { Environment().ProjectList.emplace_back(); }

void PushProjectOfSameType() {
  ProjectEnvironment& environment = Environment();
  const PlcType* type = environment.ProjectList.empty() ? nullptr : environment.ProjectList.back().Type;
  const std::wstring name = type != nullptr ? type->Name() : std::wstring();
  environment.ProjectList.emplace_back();
  if (type == nullptr || !SelectPlcType(environment, name)) throw ExceptionInitPlcTypeError();
}

void DropNewestProject() {
  ProjectEnvironment& environment = Environment();
  if (!environment.ProjectList.empty()) environment.ProjectList.pop_back();
}

void DropOldestProject() {
  ProjectEnvironment& environment = Environment();
  if (!environment.ProjectList.empty()) environment.Dropped.Take(environment.ProjectList, environment.ProjectList.begin());
}

void WaitForDroppedProjects() { Environment().Dropped.Wait(); }

}  // namespace Brenno
