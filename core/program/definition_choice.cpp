#include "core/program/definition_choice.h"

#include "core/env/operand_slot.h"
#include "core/program/program_services.h"

namespace Brenno {

namespace {

// The operands as addresses where they are symbols.
std::vector<std::wstring> AsAddresses(std::vector<std::wstring> texts, const ProgramServices& services, int pageId) {
  for (std::wstring& text : texts) services.LookupSymbolNamePrefixed(text, pageId);
  return texts;
}

}  // namespace

const FunStlRecord* FindStlLineDefinition(const InstructionLibrary& library, const std::wstring& mnemonic,
                                          std::span<const std::wstring> operands, int pageId) {
  // Most mnemonics have one definition of a count: found without a list.
  const FunStlRecord* first = nullptr;
  for (const FunStlRecord& def : library.FunStlList) {
    if (def.Name != mnemonic || def.Operands.size() != operands.size()) continue;
    if (first != nullptr) {
      first = nullptr;
      break;
    }
    first = &def;
  }
  if (first != nullptr) return first;
  std::vector<const FunStlRecord*> found;
  FindStlInstructionDefs(library, mnemonic, operands.size(), found);
  if (found.size() <= 1) return found.empty() ? nullptr : found.front();
  const ProgramServices* services = InstalledProgramServices();
  if (services == nullptr) return found.front();
  return ChooseStlDefinition(found, AsAddresses({operands.begin(), operands.end()}, *services, pageId),
                             services->MemoryMap());
}

const FunLadRecord* ChooseElementDefinition(const std::vector<const FunLadRecord*>& found, const LadElement& element,
                                            int pageId) {
  if (found.size() <= 1) return found.empty() ? nullptr : found.front();
  const ProgramServices* services = InstalledProgramServices();
  if (services == nullptr) return found.front();
  std::vector<std::wstring> texts;
  for (const auto* list : {&element.OperandId, &element.OperandIn, &element.OperandOut}) {
    for (const ElementOperand& operand : *list) texts.push_back(operand.Text);
  }
  return ChooseLadDefinition(found, AsAddresses(std::move(texts), *services, pageId), services->MemoryMap());
}

const FunLadRecord* ChooseTypedDefinition(const InstructionLibrary& library, const std::vector<const FunLadRecord*>& found,
                                          const std::vector<std::wstring>& typed, int pageId) {
  if (found.size() <= 1) return found.empty() ? nullptr : found.front();
  const ProgramServices* services = InstalledProgramServices();
  if (services == nullptr) return found.front();
  return ChooseTypedLadDefinition(library, found, AsAddresses(typed, *services, pageId), services->MemoryMap());
}

}  // namespace Brenno
