// The device dialog: the operands of an output coil, the device and, for coils that take one, a
// set value, each in its own edit with a check mark when valid and a Reference button that opens
// the device detail dialog on that operand's format. OK gives back the two parts joined. Modal;
// run through RunDeviceDialog.
#pragma once

#include <string>

#include "ui/views/instruction/instruction_checks.h"
#include "ui/views/instruction/instruction_dialog_support.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace Brenno {

class CEditorDeviceDlg : public CInstructionDialogBase {
  Q_OBJECT
 public:
  explicit CEditorDeviceDlg(QWidget* parent = nullptr);

  void SetArguments(const std::wstring& operandText, int blockKey);
  const std::wstring& OperandText() const { return operandText_; }

  void OnInitDialog();
  int exec() override;
  void accept() override;

  // The device row is row 0, the set-value row row 1.
  QLineEdit* Edit(int row) const { return edits_[row]; }
  QLabel* ValidIcon(int row) const { return icons_[row]; }
  QPushButton* ReferenceButton(int row) const { return references_[row]; }
  const OperandSlot& Slot(int row) const { return row == 0 ? slots_.Device : slots_.SetValue; }

 private:
  void ValidateDeviceOperands();
  void OnReference(int row);

  std::wstring operandText_;
  int blockKey_ = -1;
  bool initialised_ = false;
  CoilDefinitions coils_;
  DeviceSlots slots_;
  QLabel* icons_[2] = {};
  QLineEdit* edits_[2] = {};
  QPushButton* references_[2] = {};
};

}  // namespace Brenno
