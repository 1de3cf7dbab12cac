#include "ui/views/instruction/editor_input_model.h"

#include "core/project/project.h"

namespace Brenno {

std::optional<std::wstring> EditorInputModel::Parse(const InstructionLibrary& library, const std::wstring& text) {
  std::vector<std::wstring> tokens = SplitInstructionText(text);
  kind_ = tokens.empty() ? kElementBox : ElementKindOfToken(library, tokens.front());
  mnemonic_ = ElementKindMnemonic(library, kind_);
  if (kind_ == kElementBox) {
    instructionText_ = JoinInstructionText(tokens);
  } else {
    tokens.erase(tokens.begin());
    instructionText_ = JoinOperandTokens(tokens);
  }
  if (instructionText_.empty()) return std::nullopt;
  return instructionText_;
}

bool EditorInputModel::Validate(const Project* project, const std::wstring& editText, int blockKey) {
  std::vector<std::wstring> tokens = SplitInstructionText(editText);
  if (kind_ != kElementBox) {
    if (project != nullptr) mnemonic_ = ElementKindMnemonic(project->Instructions, kind_);
    tokens.insert(tokens.begin(), mnemonic_);
  }
  instructionText_ = JoinInstructionText(tokens);
  return project != nullptr && CheckInstructionTokens(*project, tokens, blockKey);
}

InputReference EditorInputModel::Reference(const InstructionLibrary& library) const {
  InputReference reference;
  switch (kind_) {
    case kElementContactNo:
    case kElementContactNc:
    case kElementContactRising:
    case kElementContactFalling: {
      const FunLadRecord* def = FindSingleLadElementDef(library, ElementKindQuery(library, kind_));
      if (def == nullptr) return reference;
      if (def->OperandIn.empty()) return reference;
      reference.Which = InputReference::DeviceDetail;
      reference.Slot = SlotOf(def->OperandIn.front());
      return reference;
    }
    case kElementCoil:
      reference.Which = InputReference::Device;
      return reference;
    default:
      reference.Which = InputReference::Instruction;
      return reference;
  }
}

}  // namespace Brenno
