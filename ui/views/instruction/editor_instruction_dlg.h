// The instruction dialog: a box instruction's name and up to six operands. The name is checked
// against the instruction library (exactly one ladder element of that name); each operand the
// element takes gets an edit with a check mark and a Reference button to the device detail
// dialog; the name's Reference button opens the instruction reference dialog. OK gives back the
// instruction text. Modal; run through RunInstructionDialog.
#pragma once

#include <string>

#include "ui/views/instruction/instruction_checks.h"
#include "ui/views/instruction/instruction_dialog_support.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace Brenno {

class CEditorInstructionDlg : public CInstructionDialogBase {
  Q_OBJECT
 public:
  explicit CEditorInstructionDlg(QWidget* parent = nullptr);

  void SetArguments(const std::wstring& instructionText, int blockKey);
  const std::wstring& InstructionText() const { return instructionText_; }

  void OnInitDialog();
  int exec() override;
  void accept() override;

  QLineEdit* NameEdit() const { return nameEdit_; }
  QLabel* NameIcon() const { return nameIcon_; }
  QPushButton* NameReference() const { return nameReference_; }
  QLineEdit* OperandEdit(int k) const { return edits_[k]; }
  QLabel* OperandIcon(int k) const { return icons_[k]; }
  QPushButton* OperandReference(int k) const { return references_[k]; }
  const OperandSlot& Slot(int k) const { return slots_[k]; }

 private:
  void ValidateInstructionOperands();
  void ValidateInstructionOperand(int k);
  void OnNameReference();
  void OnOperandReference(int k);
  // Puts a text into an edit; an unchanged text runs the edit's check all the same.
  void PutText(QLineEdit* edit, const std::wstring& text, int row);

  std::wstring instructionText_;
  int blockKey_ = -1;
  bool initialised_ = false;
  OperandSlotRow slots_;
  QLabel* nameIcon_ = nullptr;
  QLineEdit* nameEdit_ = nullptr;
  QPushButton* nameReference_ = nullptr;
  QLabel* icons_[kInstructionOperandRows] = {};
  QLineEdit* edits_[kInstructionOperandRows] = {};
  QPushButton* references_[kInstructionOperandRows] = {};
};

}  // namespace Brenno
