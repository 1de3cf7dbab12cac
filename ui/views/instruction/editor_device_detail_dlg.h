// The device detail dialog: edits one operand of an instruction under the operand's format. It
// lists the ranges the format admits (as value, as address with "&", as pointer with "*", and the
// constant range), offers bit groups "K1".."K8" and the index registers where they are allowed
// and the project's symbols by name, marks a valid operand with a check mark, and returns the
// operand as text. Modal; run through RunDeviceDetailDialog.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/views/instruction/device_detail_model.h"
#include "ui/views/instruction/instruction_dialog_support.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace Brenno {

class CEditorDeviceDetailDlg : public CInstructionDialogBase {
  Q_OBJECT
 public:
  explicit CEditorDeviceDetailDlg(QWidget* parent = nullptr);
  ~CEditorDeviceDetailDlg() override;

  // What the facade sets before the dialog runs.
  void SetArguments(const std::wstring& format, const std::wstring& operandText, int blockKey, int dataType);
  // The operand text; the result after OK.
  const std::wstring& OperandText() const { return operandText_; }

  // Fills the lists and shows the incoming operand; exec runs it when it has not run yet.
  void OnInitDialog();
  int exec() override;
  void accept() override;

  // The current candidate row (-1 none).
  int CurrentRow() const { return currentRow_; }
  QLineEdit* DeviceEdit() const { return edit_; }
  QLabel* ValidIcon() const { return validIcon_; }
  QComboBox* BitGroupList() const { return bitGroupList_; }
  QRadioButton* AsValueButton() const { return asValue_; }
  QRadioButton* AsAddressButton() const { return asAddress_; }
  QRadioButton* AsPointerButton() const { return asPointer_; }
  QComboBox* IndexList() const { return indexList_; }
  QListWidget* KindList() const { return kindList_; }
  QListWidget* SymbolList() const { return symbolList_; }

 private:
  void ShowOperandFromText();
  void ApplyOperandOptions();
  void SelectOperandCandidate(int row);
  void SelectAddressSymbol(int line);
  // Copies a recognition or row choice into the controls.
  void ShowView(const DeviceDetailView& view);
  DeviceDetailOptions ReadOptions() const;

  std::wstring operandText_;
  std::wstring format_;
  int dataType_ = -1;
  int blockKey_ = -1;
  int currentRow_ = -1;
  bool initialised_ = false;
  std::unique_ptr<DeviceDetailModel> model_;
  std::vector<std::wstring> symbolAddresses_;

  QLabel* bitGroupLabel_ = nullptr;
  QLabel* indexLabel_ = nullptr;
  QLabel* validIcon_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QComboBox* bitGroupList_ = nullptr;
  QGroupBox* kindGroup_ = nullptr;
  QRadioButton* asValue_ = nullptr;
  QRadioButton* asAddress_ = nullptr;
  QRadioButton* asPointer_ = nullptr;
  QComboBox* indexList_ = nullptr;
  QListWidget* kindList_ = nullptr;
  QListWidget* symbolList_ = nullptr;
};

}  // namespace Brenno
