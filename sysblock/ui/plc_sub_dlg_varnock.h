// Sub-dialog of the thermocouple input module Varnock (type 21): twelve channel rows in two
// banks of six, each with a thermocouple type, lower and upper temperature limits and a force
// box with its force value edit, and one cold-junction compensation list. Only bank 1 travels
// in the module's record; bank 2 is shown in the English form only and keeps what is typed
// into it. The values are numbers: an edit that does not hold one is refused when the
// controls are read.
#pragma once

#include <array>

#include "sysblock/ui/plc_sub_dlg_analog_output.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace corvell {

class CPlcSubDlgVarnock : public CAnalogOutputModuleSubDlg {
 public:
  static constexpr size_t kChannels = VarnockParams::kChannels;
  static constexpr size_t kBank = VarnockParams::kStoredChannels;

  CPlcSubDlgVarnock(VarnockParams& params, int language, QWidget* parent = nullptr);

  // Exchange order: the twelve type lists, the lower limits, the upper limits and the force
  // values (bank 1 then bank 2 each), the cold-junction list, the force boxes, and the bank 1
  // row labels (shown, never read back). A refused value stops the exchange there.
  bool UpdateData(bool saveAndValidate) override;
  // The Default button: all twelve channels and the cold junction back to their defaults; the
  // row labels stay.
  void OnDefault() override;
  // Channel `channel`'s force box was clicked: its force value edit follows the box.
  void OnForceBox(size_t channel);

  QLabel* RowLabel(size_t channel) const { return labels_[channel]; }
  QComboBox* TypeList(size_t channel) const { return typeLists_[channel]; }
  QLineEdit* LowerEdit(size_t channel) const { return lowerEdits_[channel]; }
  QLineEdit* UpperEdit(size_t channel) const { return upperEdits_[channel]; }
  QLineEdit* ForceValueEdit(size_t channel) const { return forceValues_[channel]; }
  QCheckBox* ForceBox(size_t channel) const { return forceBoxes_[channel]; }
  QComboBox* ColdJunctionList() const { return coldJunction_; }
  QWidget* SecondBank() const { return bank2_; }

 private:
  VarnockParams& params_;
  std::array<QLabel*, kChannels> labels_{};
  std::array<QComboBox*, kChannels> typeLists_{};
  std::array<QLineEdit*, kChannels> lowerEdits_{};
  std::array<QLineEdit*, kChannels> upperEdits_{};
  std::array<QLineEdit*, kChannels> forceValues_{};
  std::array<QCheckBox*, kChannels> forceBoxes_{};
  QComboBox* coldJunction_ = nullptr;
  QWidget* bank2_ = nullptr;
};

}  // namespace corvell
