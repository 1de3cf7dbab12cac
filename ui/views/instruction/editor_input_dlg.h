// The instruction input box: a small modeless dialog in which the user types one ladder
// instruction (a mnemonic and its operands) and sends it to the program editor, which inserts it
// at its cursor. While the user types, a check mark shows when the text is a complete, valid
// instruction of the current project. Reference opens the dialog that helps to fill it in.
//
// The main frame owns the box: it constructs it with itself as parent (hidden), gives it the
// lookup of the program editor frame (SetTargetLookup), and on `UpdOpenInstructionInput` and the
// instruction toolbar commands calls SetInstructionText and shows it.
#pragma once

#include <string>

#include "ui/views/instruction/editor_input_model.h"
#include "ui/views/instruction/instruction_dialog_support.h"
#include "ui/views/instruction/instruction_input_target.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Brenno {

class CEditorInputDlg : public CInstructionDialogBase {
  Q_OBJECT
 public:
  explicit CEditorInputDlg(QWidget* parent = nullptr);

  // Where OK sends the instruction and where Reference finds the active block.
  void SetTargetLookup(InstructionInputTargetLookup lookup) { targetLookup_ = std::move(lookup); }

  // Replaces the instruction text (a mnemonic alone switches the element kind and keeps the
  // operands typed so far), focuses the edit and selects its text.
  void SetInstructionText(const std::wstring& text);
  // Shows the box restored and centred over its parent when it is hidden.
  void ShowBox();

  void ParseInstructionText();
  void ValidateInstructionText();
  void OnReference();
  void accept() override;
  void reject() override;

  int ElementKind() const { return model_.Kind(); }
  const std::wstring& InstructionText() const { return model_.InstructionText(); }
  int ActiveBlockKey() const { return activeBlockKey_; }
  bool IsValid() const { return valid_; }
  QLineEdit* Edit() const { return edit_; }
  QLabel* KindIcon() const { return kindIcon_; }
  QLabel* ValidIcon() const { return validIcon_; }
  QCheckBox* KeepCheck() const { return keep_; }
  QPushButton* ReferenceButton() const { return reference_; }

 private:
  // Hides the box after emptying the edit (which checks the empty text).
  void ClearAndHide();
  InstructionInputTarget* Target() const;

  EditorInputModel model_;
  int activeBlockKey_ = -1;
  bool valid_ = false;
  InstructionInputTargetLookup targetLookup_;
  QLabel* kindIcon_ = nullptr;
  QCheckBox* keep_ = nullptr;
  QLabel* validIcon_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QPushButton* reference_ = nullptr;
};

}  // namespace Brenno
