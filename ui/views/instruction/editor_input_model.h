// The instruction input box without its window: the element kind its text stands for, the
// instruction text it sends (always with the mnemonic, although the edit of a contact or coil
// shows only the operands), its check, and which assisting dialog Reference opens.
#pragma once

#include <optional>
#include <string>

#include "ui/views/instruction/instruction_checks.h"

namespace Brenno {

class Project;

// What Reference opens for the box's element kind.
struct InputReference {
  enum Dialog { None, DeviceDetail, Device, Instruction };
  Dialog Which = None;
  // For the device detail dialog: the contact operand's format and data type.
  OperandSlot Slot;
};

class EditorInputModel {
 public:
  int Kind() const { return kind_; }
  const std::wstring& InstructionText() const { return instructionText_; }

  // Takes a new instruction text: its kind, and the text the edit is to show (operands only for
  // a contact or coil, the whole instruction otherwise); none when that text is empty, so the
  // edit keeps what it had.
  std::optional<std::wstring> Parse(const InstructionLibrary& library, const std::wstring& text);
  // Rebuilds the instruction text from the edit (the kind's mnemonic first for a contact or
  // coil) and checks it against the project; false also without a project.
  bool Validate(const Project* project, const std::wstring& editText, int blockKey);
  // The dialog Reference opens for the kind; None when the library has no single definition of
  // the contact.
  InputReference Reference(const InstructionLibrary& library) const;

 private:
  int kind_ = kElementBox;
  std::wstring instructionText_;
  // The kind's mnemonic as it was when the kind was taken.
  std::wstring mnemonic_;
};

}  // namespace Brenno
