// Sub-dialogs of the analog output modules whose engineering range is fixed at 0 to 100 and
// only shown: Solvind (type 16, 8 outputs) and Trevasse (type 17, 6 outputs). Per output a stop
// output edit, a force box and a force value edit that is shown only while the box is set.
#pragma once

#include <array>

#include "sysblock/ui/plc_sub_dlg_analog_output.h"

class QCheckBox;
class QLineEdit;

namespace corvell {

// Control ids and caption of one type.
struct FixedRangeOutputLayout {
  const wchar_t* model;
  int firstStopOutput;  // channel i: stop output edit +3i, force value edit +3i+1, force box +3i+2
  int defaultButton;
};

template <size_t Channels>
class CFixedRangeOutputSubDlg : public CAnalogOutputModuleSubDlg {
 public:
  bool UpdateData(bool saveAndValidate) override;
  void OnDefault() override;
  // Channel `channel`'s force box was clicked: its force value edit follows the box.
  void OnForceBox(size_t channel);

  QLineEdit* StopOutputEdit(size_t channel) const { return stopEdits_[channel]; }
  QLineEdit* ForceValueEdit(size_t channel) const { return forceEdits_[channel]; }
  QCheckBox* ForceBox(size_t channel) const { return forceBoxes_[channel]; }

 protected:
  CFixedRangeOutputSubDlg(FixedRangeOutputParams<Channels>& params, const FixedRangeOutputLayout& layout,
                          int language, QWidget* parent);

 private:
  // Each force value edit shown exactly when its channel's force flag is set.
  void ShowForceEdits();

  FixedRangeOutputParams<Channels>& params_;
  std::array<QLineEdit*, Channels> stopEdits_{};
  std::array<QLineEdit*, Channels> forceEdits_{};
  std::array<QCheckBox*, Channels> forceBoxes_{};
};

class CPlcSubDlgSolvind : public CFixedRangeOutputSubDlg<8> {
 public:
  CPlcSubDlgSolvind(FixedRangeOutputParams<8>& params, int language, QWidget* parent = nullptr);
};

class CPlcSubDlgTrevasse : public CFixedRangeOutputSubDlg<6> {
 public:
  CPlcSubDlgTrevasse(FixedRangeOutputParams<6>& params, int language, QWidget* parent = nullptr);
};

}  // namespace corvell
