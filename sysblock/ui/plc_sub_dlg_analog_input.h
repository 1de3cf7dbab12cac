// Sub-dialogs of the analog input modules: Istrel (type 4), Pruvel (type 9), Quenlow (type 10),
// Rastok (type 12) and Jorlith (type 18). Per channel a label, a signal type list, the
// engineering lower and upper limits, the alarm lower and upper limits, and a force box with a
// force value edit that is shown only while the box is set. The values are kept as the texts
// typed; the value edits take digits, '.', '-' and backspace only.
#pragma once

#include <array>

#include "sysblock/ui/plc_sub_dlg_analog_output.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace corvell {

class CValueEditKeyFilter;

// Control ids (channel 0 first), captions and signal types of one type.
struct AnalogInputLayout {
  using Ids = std::array<int, 8>;
  const wchar_t* model;
  bool englishCaptions;  // the English template has English captions (else Chinese in both)
  int outerGroup, defaultButton, channelGroup, forceGroup;
  Ids labels, signalLists, engineeringLower, engineeringUpper, alarmLower, alarmUpper, forceValues, forceBoxes;
  std::array<const wchar_t*, 4> lowSignalTypes;   // channels 0-3, null-terminated when fewer
  std::array<const wchar_t*, 4> highSignalTypes;  // channels 4-7
};

class CAnalogInputSubDlg : public CAnalogOutputModuleSubDlg {
 public:
  bool UpdateData(bool saveAndValidate) override;
  // The Default button: the type's default values (Quenlow and Rastok: their labels too).
  void OnDefault() override;
  // Channel `channel`'s force box was clicked: its force value edit follows the box.
  void OnForceBox(size_t channel);

  size_t ChannelCount() const { return params_.channelCount(); }
  QLabel* Label(size_t channel) const { return labels_[channel]; }
  QComboBox* SignalList(size_t channel) const { return signalLists_[channel]; }
  QLineEdit* EngineeringLowerEdit(size_t channel) const { return engineeringLower_[channel]; }
  QLineEdit* EngineeringUpperEdit(size_t channel) const { return engineeringUpper_[channel]; }
  QLineEdit* AlarmLowerEdit(size_t channel) const { return alarmLower_[channel]; }
  QLineEdit* AlarmUpperEdit(size_t channel) const { return alarmUpper_[channel]; }
  QLineEdit* ForceValueEdit(size_t channel) const { return forceValues_[channel]; }
  QCheckBox* ForceBox(size_t channel) const { return forceBoxes_[channel]; }

 protected:
  CAnalogInputSubDlg(AnalogInputParams& params, const AnalogInputLayout& layout, int language, QWidget* parent);

 private:
  static constexpr size_t kMax = AnalogInputParams::kMaxChannels;

  AnalogInputParams& params_;
  CValueEditKeyFilter* keyFilter_;
  std::array<QLabel*, kMax> labels_{};
  std::array<QComboBox*, kMax> signalLists_{};
  std::array<QLineEdit*, kMax> engineeringLower_{};
  std::array<QLineEdit*, kMax> engineeringUpper_{};
  std::array<QLineEdit*, kMax> alarmLower_{};
  std::array<QLineEdit*, kMax> alarmUpper_{};
  std::array<QLineEdit*, kMax> forceValues_{};
  std::array<QCheckBox*, kMax> forceBoxes_{};
};

class CPlcSubDlgAICls : public CAnalogInputSubDlg {
 public:
  CPlcSubDlgAICls(AnalogInputParams& params, int language, QWidget* parent = nullptr);
};

class CPlcSubDlgAI04CCls : public CAnalogInputSubDlg {
 public:
  CPlcSubDlgAI04CCls(AnalogInputParams& params, int language, QWidget* parent = nullptr);
};

class CPlcSubDlgAI08Cls : public CAnalogInputSubDlg {
 public:
  CPlcSubDlgAI08Cls(AnalogInputParams& params, int language, QWidget* parent = nullptr);
};

class CPlcSubDlgAI08VCls : public CAnalogInputSubDlg {
 public:
  CPlcSubDlgAI08VCls(AnalogInputParams& params, int language, QWidget* parent = nullptr);
};

class CPlcSubDlgJorlith : public CAnalogInputSubDlg {
 public:
  CPlcSubDlgJorlith(AnalogInputParams& params, int language, QWidget* parent = nullptr);
};

// The sub-dialog of input module type `type` (4, 5, 6, 9, 10, 12, 15, 18, 21, 22 or 23) bound
// to that type's values in `params`; null for any other type.
CAnalogOutputModuleSubDlg* CreateAnalogInputSubDialog(int type, ModuleParameterSet& params, int language,
                                                      QWidget* parent);

// Shared by the analog sub-dialogs: a signal or sensor list index into `list` (an index the
// list does not hold leaves it without a selection), and back (an editable list whose text
// matches no entry gives -1).
void PutListIndex(QComboBox* list, int index);
int ListIndex(const QComboBox* list);

}  // namespace corvell
