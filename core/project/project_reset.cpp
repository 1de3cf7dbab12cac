#include "core/project/project_reset.h"

#include "core/env/exception_error.h"
#include "core/env/plc_type.h"
#include "core/program/online_cache.h"
#include "core/project/cross_reference.h"
#include "core/project/data_block_table.h"
#include "core/project/program_upgrade.h"
#include "core/project/project.h"
#include "core/project/status_chart.h"
#include "core/project/symbol_table.h"
#include "core/project/system_block_table.h"

namespace Brenno {

void ResetProjectForType(Project& project) {
  ResetCrossReferIndex(project.CrossReferences);
  RebuildOnlineCache(project.Online, project.MemoryAreas);
  ResetSymbolTable(project.Symbols);
  ResetDataBlockTable(project.DataBlocks);
  BuildSystemReferencePages(project.SystemBlocks);
  if (project.Type == nullptr) throw ExceptionLogicError();
  project.Program.CreateDefaultBlocks(project.Type->Description.ProgramBlock, project.Symbols.Sizes,
                                      project.Instructions.ReservedNames);
  ResetStatusChart(project.StatusChart);
}

void FillDefaultProject(Project& project) {
  FillDefaultSymbolTables(project.Symbols);
  FillDefaultDataBlocks(project.DataBlocks);
  CopyDefaultSystemPages(project.SystemBlocks);
  project.Program.FillDefaultProgramBlocks();
  FillDefaultStatusCharts(project.StatusChart);
}

std::vector<ProgramBlockCut> NormalizeProjectForType(Project& project, bool inLine) {
  NormalizeSymbolTable(project.Symbols);
  if (!inLine) UpgradeDataBlocksToType(project);
  NormalizeDataBlocks(project.DataBlocks);
  CheckSystemPagesCompatible(project.SystemBlocks);
  std::vector<ProgramBlockCut> cuts = project.Program.NormalizeProgramBlocks(project.Symbols.Sizes);
  if (!inLine) UpgradeProgramToType(project);
  NormalizeStatusChart(project.StatusChart);
  return cuts;
}

}  // namespace Brenno
