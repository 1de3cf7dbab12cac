#include "core/project/program_upgrade.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "core/env/data_type.h"
#include "core/env/operand_slot.h"
#include "core/env/page_names.h"
#include "core/program/definition_choice.h"
#include "core/program/ladder_edit.h"
#include "core/project/data_block_table.h"
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
bool TakesOnlyPrefixedConstants(const MemoryAreaManager& memory) {
  return memory.PrefixAutoBase == 0 && !memory.Prefix10.empty();
}

void PrefixBareDecimal(std::wstring& text, const MemoryAreaManager& memory) {
  if (IsBareDecimal(text)) text = memory.Prefix10 + text;
}

// The ladder definitions of the library by their keyword, found once for all elements; the last
// keyword asked for is kept, since neighbouring elements often share it.
class DefsByKeyword {
 public:
  explicit DefsByKeyword(const InstructionLibrary& library) {
    for (const FunLadRecord& def : library.FunLadList) defs_[def.Keyword].push_back(&def);
  }
  const std::vector<const FunLadRecord*>& Of(const std::wstring& keyword) {
    static const std::vector<const FunLadRecord*> kNone;
    if (last_ == nullptr || lastKeyword_ != keyword) {
      const auto found = defs_.find(keyword);
      last_ = found != defs_.end() ? &found->second : &kNone;
      lastKeyword_ = keyword;
    }
    return *last_;
  }

 private:
  std::unordered_map<std::wstring, std::vector<const FunLadRecord*>> defs_;
  const std::vector<const FunLadRecord*>* last_ = nullptr;
  std::wstring lastKeyword_;
};

// The constants of signed slots that the line or element writes as the unsigned number of their
// bits, in the signed form (K65535 as K-1).
void SignUnsignedConstants(StlLine& line, const Project& project) {
  std::wstring mnemonic = line.Mnemonic;
  ReplacePageNameByAddress(project.Program.SubroutineTable, mnemonic);
  const FunStlRecord* def = FindStlLineDefinition(project.Instructions, mnemonic, line.Operands);
  if (def == nullptr) return;
  for (std::size_t i = 0; i < line.Operands.size() && i < def->Operands.size(); ++i) {
    SignedFormOfUnsigned(project.MemoryAreas, def->Operands[i], line.Operands[i]);
  }
}

void SignUnsignedConstants(LadElement& element, const Project& project) {
  const FunLadRecord* def = LadElement::FindDefinition(element);
  if (def == nullptr) return;
  auto sign = [&](std::vector<ElementOperand>& operands, const std::vector<OperandDef>& slots) {
    for (std::size_t i = 0; i < operands.size() && i < slots.size(); ++i) {
      SignedFormOfUnsigned(project.MemoryAreas, slots[i], operands[i].Text);
    }
  };
  sign(element.OperandId, def->OperandId);
  sign(element.OperandIn, def->OperandIn);
  sign(element.OperandOut, def->OperandOut);
}

void UpgradeNetwork(Network& network, const Project& project, DefsByKeyword& defs) {
  for (LadElement& element : network.Grid.Elements) {
    if (LadElement::SlotIsInstructionPlace(element.Kind) && element.Kind != kLadKindLine) {
      UpgradeLadElementToLibrary(element, project.Instructions, defs.Of(element.Name));
    }
  }
  if (!TakesOnlyPrefixedConstants(project.MemoryAreas)) return;
  for (StlLine& line : network.Lines) {
    for (std::wstring& operand : line.Operands) PrefixBareDecimal(operand, project.MemoryAreas);
  }
  for (LadElement& element : network.Grid.Elements) {
    for (auto* list : {&element.OperandId, &element.OperandIn, &element.OperandOut}) {
      for (ElementOperand& operand : *list) PrefixBareDecimal(operand.Text, project.MemoryAreas);
    }
  }
  if (project.MemoryAreas.FxMode == 0) return;
  for (StlLine& line : network.Lines) SignUnsignedConstants(line, project);
  for (LadElement& element : network.Grid.Elements) {
    if (LadElement::SlotIsInstructionPlace(element.Kind) && element.Kind != kLadKindLine) {
      SignUnsignedConstants(element, project);
    }
  }
}

void UpgradeTable(BlockTable& table, const Project& project, DefsByKeyword& defs) {
  for (auto* pages : {&table.Working, &table.Reference}) {
    for (auto& [key, record] : *pages) {
      for (Network& network : record.Page.UndoLog.Networks) UpgradeNetwork(network, project, defs);
    }
  }
}

}  // namespace

void UpgradeProgramToType(Project& project) {
  DefsByKeyword defs(project.Instructions);
  UpgradeTable(project.Program.InterruptTable, project, defs);
  UpgradeTable(project.Program.SubroutineTable, project, defs);
}

void UpgradeDataBlocksToType(Project& project) {
  if (!TakesOnlyPrefixedConstants(project.MemoryAreas)) return;
  for (auto& [key, page] : project.DataBlocks.Working) {
    for (DataRow& row : page.Rows) {
      // A real is read without a radix: only integer rows wanted the prefix.
      if (row.Type != kDataTypeReal) PrefixBareDecimal(row.Value, project.MemoryAreas);
    }
  }
}

}  // namespace Brenno
