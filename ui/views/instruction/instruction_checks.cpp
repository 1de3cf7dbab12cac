#include "ui/views/instruction/instruction_checks.h"

#include "core/env/constant.h"
#include "core/env/operand_slot.h"
#include "core/env/exception_error.h"
#include "core/env/operand_format.h"
#include "core/env/page_names.h"
#include "core/program/definition_choice.h"
#include "core/project/project.h"
#include "core/project/symbol_resolution.h"

namespace Brenno {

namespace {

bool IsSeparator(wchar_t c) { return c == L'\t' || c == L' ' || c == L','; }

// The operand definitions of a record in the order the instruction is written (and typed).
std::vector<const OperandDef*> OperandSequence(const InstructionLibrary& library, const FunLadRecord& record) {
  std::vector<const OperandDef*> listed;
  for (const auto* list : {&record.OperandId, &record.OperandIn, &record.OperandOut}) {
    for (const OperandDef& def : *list) listed.push_back(&def);
  }
  const std::vector<int> order = LadOperandOrder(library, record);
  std::vector<const OperandDef*> defs(listed.size());
  for (std::size_t k = 0; k < listed.size(); ++k) defs[static_cast<std::size_t>(order[k])] = listed[k];
  return defs;
}

}  // namespace

std::vector<std::wstring> SplitInstructionText(const std::wstring& text) {
  std::vector<std::wstring> tokens;
  std::wstring current;
  for (const wchar_t c : text) {
    if (IsSeparator(c)) {
      if (!current.empty()) tokens.push_back(std::move(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) tokens.push_back(std::move(current));
  return tokens;
}

std::wstring JoinInstructionText(const std::vector<std::wstring>& tokens) {
  std::wstring text;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (i == 1) text += L"  ";
    if (i > 1) text += L", ";
    text += tokens[i];
  }
  return text;
}

std::wstring JoinOperandTokens(const std::vector<std::wstring>& tokens) {
  std::wstring text;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (i > 0) text += L", ";
    text += tokens[i];
  }
  return text;
}

OperandSlot SlotOf(const OperandDef& def) {
  return OperandSlot{def.Capacity, def.Const, def.Ranges, def.Addresses};
}

void FilterLadElementDefsByOperandLists(std::vector<const FunLadRecord*>& out, const InstructionLibrary& library,
                                        const LadOperandListsQuery& query) {
  out.clear();
  for (const FunLadRecord& record : library.FunLadList) {
    if (record.Name == query.Name && record.OperandId.size() == query.IdCount &&
        record.OperandIn.size() == query.InCount && record.OperandOut.size() == query.OutCount) {
      out.push_back(&record);
    }
  }
}

const FunLadRecord* FindSingleLadElementDef(const InstructionLibrary& library, const LadOperandListsQuery& query) {
  std::vector<const FunLadRecord*> found;
  FilterLadElementDefsByOperandLists(found, library, query);
  return found.size() == 1 ? found.front() : nullptr;
}

std::wstring ElementKindMnemonic(const InstructionLibrary& library, int kind) {
  switch (kind) {
    case kElementContactNo:
      return library.LadFxNameLd;
    case kElementContactNc:
      return library.LadFxNameLdi;
    case kElementContactRising:
      return library.LadFxNameLdp;
    case kElementContactFalling:
      return library.LadFxNameLdf;
    case kElementCoil:
      return library.LadFxNameCoil;
    default:
      return std::wstring();
  }
}

int ElementKindOfToken(const InstructionLibrary& library, const std::wstring& token) {
  if (token.empty()) return kElementBox;
  for (int kind = kElementContactNo; kind <= kElementCoil; ++kind) {
    if (ElementKindMnemonic(library, kind) == token) return kind;
  }
  return kElementBox;
}

LadOperandListsQuery ElementKindQuery(const InstructionLibrary& library, int kind) {
  LadOperandListsQuery query;
  query.Name = ElementKindMnemonic(library, kind);
  if (kind == kElementCoil) {
    query.OutCount = 1;
  } else {
    query.InCount = 1;
  }
  return query;
}

bool CheckOperandText(const Project& project, const std::wstring& text, const OperandSlot& slot, int blockKey) {
  if (!slot.HasFormat() || text.empty()) return false;
  try {
    std::wstring operand = text;
    const SymbolScope scope{FindLocalVarTable(project.Program, blockKey), &project.MemoryAreas};
    LookupSymbolNamePrefixed(operand, project.Symbols, scope);
    OperandDef def;
    def.Capacity = slot.Format;
    def.Const = slot.DataType;
    def.Ranges = slot.Ranges;
    def.Addresses = slot.Addresses;
    OperandWord word = 0;
    if (ParseSlotAddress(operand, project.MemoryAreas, def, word)) return true;
    if ((ParseOperandFormatFlags(slot.Format) & kFormatConstant) == 0) return false;
    ConstantOperand constant;
    return ParseSlotConstant(constant, project.MemoryAreas, def, operand);
  } catch (const ExceptionError&) {
    // A malformed format or a data type the constant reader does not know.
    return false;
  }
}

bool CheckInstructionTokens(const Project& project, const std::vector<std::wstring>& tokens, int blockKey) {
  if (tokens.empty()) return false;
  std::wstring name = tokens.front();
  ReplacePageNameByAddress(project.Program.SubroutineTable, name);
  std::vector<const FunLadRecord*> defs;
  FilterLadElementDefsByOperandCount(defs, project.Instructions, name, tokens.size() - 1);
  const FunLadRecord* def =
      ChooseTypedDefinition(project.Instructions, defs, {tokens.begin() + 1, tokens.end()}, blockKey);
  if (def == nullptr) return false;
  const std::vector<const OperandDef*> operands = OperandSequence(project.Instructions, *def);
  for (std::size_t i = 0; i < operands.size(); ++i) {
    if (!CheckOperandText(project, tokens[i + 1], SlotOf(*operands[i]), blockKey)) return false;
  }
  return true;
}

std::optional<OperandSlotRow> RecognizeInstructionName(const Project& project, const std::wstring& name) {
  std::wstring lookup = name;
  ReplacePageNameByAddress(project.Program.SubroutineTable, lookup);
  std::vector<const FunLadRecord*> defs;
  FilterLadElementDefsByName(defs, project.Instructions, lookup);
  if (defs.size() != 1) return std::nullopt;
  const std::vector<const OperandDef*> operands = OperandSequence(project.Instructions, *defs.front());
  if (operands.size() > kInstructionOperandRows) return std::nullopt;
  OperandSlotRow found;
  for (std::size_t i = 0; i < operands.size(); ++i) found[i] = SlotOf(*operands[i]);
  return found;
}

CoilDefinitions FindCoilDefinitions(const Project& project, const std::wstring& device, const std::wstring& setValue,
                                    int blockKey) {
  const InstructionLibrary& library = project.Instructions;
  CoilDefinitions coils;
  coils.OneOperand = FindSingleLadElementDef(library, {library.LadFxNameCoil, 0, 0, 1});
  std::vector<const FunLadRecord*> two;
  FilterLadElementDefsByOperandCount(two, library, library.LadFxNameCoil, 2);
  coils.TwoOperands = ChooseTypedDefinition(library, two, {device, setValue}, blockKey);
  if (coils.TwoOperands != nullptr) {
    const std::vector<const OperandDef*> written = OperandSequence(library, *coils.TwoOperands);
    coils.TwoDevice = written[0];
    coils.TwoSetValue = written[1];
  }
  return coils;
}

DeviceSlots ChooseDeviceSlots(const CoilDefinitions& coils, bool setValueEmpty) {
  DeviceSlots found;
  if (!setValueEmpty || coils.OneOperand == nullptr) {
    if (coils.TwoOperands != nullptr) {
      found.Device = SlotOf(*coils.TwoDevice);
      found.SetValue = SlotOf(*coils.TwoSetValue);
    }
    return found;
  }
  found.Device = SlotOf(coils.OneOperand->OperandOut[0]);
  if (coils.TwoOperands != nullptr) found.SetValue = SlotOf(*coils.TwoSetValue);
  return found;
}

std::wstring ComposeDeviceOperands(const std::wstring& device, const std::wstring& setValue) {
  return setValue.empty() ? device : device + L", " + setValue;
}

std::wstring ComposeInstructionText(const std::wstring& name, const std::vector<std::wstring>& operands,
                                    std::size_t operandCount) {
  std::vector<std::wstring> tokens;
  if (!name.empty()) tokens.push_back(name);
  for (std::size_t k = 0; k < operandCount && k < kInstructionOperandRows; ++k) {
    tokens.push_back(k < operands.size() ? operands[k] : std::wstring());
  }
  return JoinInstructionText(tokens);
}

bool ReplaceProgramPageName(const Project& project, std::wstring& text, bool subroutinesOnly) {
  if (!subroutinesOnly && ReplacePageNameByAddress(project.Program.InterruptTable, text)) return true;
  return ReplacePageNameByAddress(project.Program.SubroutineTable, text);
}

bool ReplaceProgramPageAddress(const Project& project, std::wstring& text) {
  if (ReplacePageAddressByName(project.Program.InterruptTable, text)) return true;
  return ReplacePageAddressByName(project.Program.SubroutineTable, text);
}

}  // namespace Brenno
