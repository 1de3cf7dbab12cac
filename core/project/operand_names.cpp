#include "core/project/operand_names.h"

#include "core/convert/program_view_switch.h"
#include "core/env/exception_error.h"
#include "core/project/data_block_table.h"
#include "core/project/project.h"
#include "core/project/status_chart.h"

namespace Brenno {

void ShowProjectSymbols(Project& project) {
  ShowDataBlockSymbols(project.DataBlocks);
  ShowProgramSymbols(project.Program);
  ShowChartSymbols(project.StatusChart);
}

void ShowProjectAddresses(Project& project) {
  ShowDataBlockAddresses(project.DataBlocks);
  ShowProgramAddresses(project.Program);
  ShowChartAddresses(project.StatusChart);
}

SymbolEditScope::SymbolEditScope(Project& project)
    : project_(ConfiguredSymbolicAddressing() ? &project : nullptr) {
  if (project_ != nullptr) ShowProjectAddresses(*project_);
}

SymbolEditScope::~SymbolEditScope() {
  if (project_ == nullptr) return;
  try {
    ShowProjectSymbols(*project_);
  } catch (const ExceptionError&) {
    // A corrupt network cannot be rewritten; its operands stay as addresses, which mean the same.
  }
}

}  // namespace Brenno
