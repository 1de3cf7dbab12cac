#include "core/project/environment_loader.h"

#include "core/env/exception_error.h"
#include "core/env/plc_type.h"
#include "core/env/program_paths.h"
#include "core/program/ladder_metrics.h"
#include "core/project/project.h"

namespace Brenno {

void LoadEnvironment(ProjectEnvironment& env) { LoadEnvironment(env, GetProgramDirectory()); }

void LoadEnvironment(ProjectEnvironment& env, const std::wstring& programDirectory) {
  env.PasswordTable1.fill(0);
  env.PasswordTable2.fill(0);
  env.ProjectList.emplace_back();

  env.Config.ReadPlcConfig(programDirectory + L"/" + kPlcConfigFileName);
  env.ApplyConfiguredLanguage();

  std::vector<std::wstring> folders;
  ListSubdirectories(folders, programDirectory + L"/Orvisto");
  for (const std::wstring& folder : folders) {
    PlcType& type = env.PlcTypeCatalog.emplace_back();
    ReadPlcType(type, folder + L"/PlcType.xml");
  }
  if (env.PlcTypeCatalog.empty()) throw MakeLogicError(L"\r\n  Folder \"Orvisto\" is Empty!");

  if (!SelectPlcType(env, env.Config.PlcName)) env.Config.PlcName = env.PlcTypeCatalog.front().Name();
}

void SaveEnvironment(ProjectEnvironment& env) { SaveEnvironment(env, GetProgramDirectory()); }

void SaveEnvironment(ProjectEnvironment& env, const std::wstring& programDirectory) {
  if (!env.ProjectList.empty()) env.ProjectList.pop_back();
  env.Config.WritePlcConfig(programDirectory + L"/" + kPlcConfigFileName);
}

bool SelectPlcType(ProjectEnvironment& env, const std::wstring& name) {
  for (PlcType& type : env.PlcTypeCatalog) {
    if (type.Name() != name) continue;
    if (env.ProjectList.empty()) throw ExceptionLogicError();
    env.Config.PlcName = name;
    Project& project = env.ProjectList.back();
    project.Type = &type;
    AssignInstructionLibrary(project.Instructions, type.Instructions);
    AssignMemoryAreaManager(project.MemoryAreas, type.MemoryAreas);
    SetLadderMetrics(env.Config.ViewZoom, type.IsFxMode());
    return true;
  }
  return false;
}

void AssignInstructionLibrary(InstructionLibrary& target, const InstructionLibrary& source) { target = source; }

void AssignMemoryAreaManager(MemoryAreaManager& target, const MemoryAreaManager& source) { target = source; }

}  // namespace Brenno
