#include "core/project/program_upgrade.h"

#include <string>

#include "core/program/ladder_edit.h"
#include "core/project/project.h"

namespace Brenno {

namespace {

// A decimal integer with an optional sign and nothing else ("100", "-5").
bool IsBareDecimal(const std::wstring& text) {
  std::size_t i = (!text.empty() && (text[0] == L'-' || text[0] == L'+')) ? 1 : 0;
  if (i >= text.size()) return false;
  for (; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
  }
  return true;
}

// A type without a default radix reads only prefixed constants: a bare decimal number was
// written when the default was decimal, so it takes the decimal prefix. No address or symbol is
// a bare number, so nothing else changes.
void PrefixBareDecimal(std::wstring& text, const MemoryAreaManager& memory) {
  if (memory.PrefixAutoBase == 0 && !memory.Prefix10.empty() && IsBareDecimal(text)) text = memory.Prefix10 + text;
}

void UpgradeNetwork(Network& network, const Project& project) {
  for (StlLine& line : network.Lines) {
    for (std::wstring& operand : line.Operands) PrefixBareDecimal(operand, project.MemoryAreas);
  }
  for (LadElement& element : network.Grid.Elements) {
    UpgradeLadElementToLibrary(element, project.Instructions);
    for (auto* list : {&element.OperandId, &element.OperandIn, &element.OperandOut}) {
      for (ElementOperand& operand : *list) PrefixBareDecimal(operand.Text, project.MemoryAreas);
    }
  }
}

void UpgradeTable(BlockTable& table, const Project& project) {
  for (auto* pages : {&table.Working, &table.Reference}) {
    for (auto& [key, record] : *pages) {
      for (Network& network : record.Page.UndoLog.Networks) UpgradeNetwork(network, project);
    }
  }
}

}  // namespace

void UpgradeProgramToType(Project& project) {
  UpgradeTable(project.Program.InterruptTable, project);
  UpgradeTable(project.Program.SubroutineTable, project);
}

}  // namespace Brenno
