// Sub-dialog of the analog input and output module Uvendar (type 15): four input channels
// (signal type, engineering and alarm limits, force) and two output channels (signal type,
// engineering limits, stop output, force). The values are numbers: an edit that does not hold
// one is refused when the controls are read. No limit check covers this type.
#pragma once

#include <array>

#include "sysblock/ui/plc_sub_dlg_analog_output.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace corvell {

class CPlcSubDlgUvendar : public CAnalogOutputModuleSubDlg {
 public:
  CPlcSubDlgUvendar(UvendarParams& params, int language, QWidget* parent = nullptr);

  // Exchange order: input engineering lower and upper, alarm lower and upper and force values;
  // the input and output signal types; output engineering lower and upper, stop outputs and
  // force values; the input and output force boxes. A refused value stops the exchange there.
  bool UpdateData(bool saveAndValidate) override;
  void OnDefault() override;
  // Force box `box` was clicked (0-3 the inputs, 4-5 the outputs): its force value edit
  // follows the box.
  void OnForceBox(size_t box);

  QComboBox* InputSignalList(size_t channel) const { return aiLists_[channel]; }
  QLineEdit* InputEngineeringLowerEdit(size_t channel) const { return aiEngLower_[channel]; }
  QLineEdit* InputEngineeringUpperEdit(size_t channel) const { return aiEngUpper_[channel]; }
  QLineEdit* InputAlarmLowerEdit(size_t channel) const { return aiAlarmLower_[channel]; }
  QLineEdit* InputAlarmUpperEdit(size_t channel) const { return aiAlarmUpper_[channel]; }
  QComboBox* OutputSignalList(size_t channel) const { return aoLists_[channel]; }
  QLineEdit* OutputEngineeringLowerEdit(size_t channel) const { return aoEngLower_[channel]; }
  QLineEdit* OutputEngineeringUpperEdit(size_t channel) const { return aoEngUpper_[channel]; }
  QLineEdit* OutputStopEdit(size_t channel) const { return aoStop_[channel]; }
  // 0-3 the inputs, 4-5 the outputs.
  QLineEdit* ForceValueEdit(size_t box) const { return forceValues_[box]; }
  QCheckBox* ForceBox(size_t box) const { return forceBoxes_[box]; }

 private:
  int& FlagOf(size_t box);
  void ShowForceEdits();

  UvendarParams& params_;
  std::array<QComboBox*, 4> aiLists_{};
  std::array<QLineEdit*, 4> aiEngLower_{};
  std::array<QLineEdit*, 4> aiEngUpper_{};
  std::array<QLineEdit*, 4> aiAlarmLower_{};
  std::array<QLineEdit*, 4> aiAlarmUpper_{};
  std::array<QComboBox*, 2> aoLists_{};
  std::array<QLineEdit*, 2> aoEngLower_{};
  std::array<QLineEdit*, 2> aoEngUpper_{};
  std::array<QLineEdit*, 2> aoStop_{};
  std::array<QLineEdit*, 6> forceValues_{};
  std::array<QCheckBox*, 6> forceBoxes_{};
};

}  // namespace corvell
