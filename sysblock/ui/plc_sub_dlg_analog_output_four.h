// Sub-dialogs of the four-channel analog output modules: Kavrin (type 3), Lumbrek (type 11)
// and Mordale (type 19). Per channel a label, a signal type list, the engineering lower and
// upper limits, the stop output, and a force box with a force value edit that is shown only
// while the box is set.
#pragma once

#include <array>

#include "sysblock/ui/plc_sub_dlg_analog_output.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace corvell {

// Control ids, captions and signal types of one type.
struct FourChannelOutputLayout {
  const wchar_t* model;
  bool chineseCaptions;  // the captions are the Chinese ones in both languages
  bool captionIds;       // false: group boxes and column captions carry no id
  int outerGroup, defaultButton, channelGroup, firstSignalList, signalCaption, stopCaption, firstStopOutput,
      firstLower, firstUpper, lowerCaption, upperCaption, firstLabel, forceGroup, firstForceValue, firstForceBox;
  int signalTypeCount;
  const wchar_t* const (*signalTypes)[2];  // English, Chinese
};

class CFourChannelOutputSubDlg : public CAnalogOutputModuleSubDlg {
 public:
  static constexpr size_t kChannels = AnalogOutputParams::kChannels;

  bool UpdateData(bool saveAndValidate) override;
  void OnDefault() override;
  // Channel `channel`'s force box was clicked: its force value edit follows the box.
  void OnForceBox(size_t channel);

  QComboBox* SignalList(size_t channel) const { return signalLists_[channel]; }
  QLineEdit* ForceValueEdit(size_t channel) const { return forceEdits_[channel]; }

 protected:
  CFourChannelOutputSubDlg(AnalogOutputParams& params, const FourChannelOutputLayout& layout, int language,
                           QWidget* parent);

 private:
  void ShowForceEdits();

  AnalogOutputParams& params_;
  std::array<QLabel*, kChannels> labels_{};
  std::array<QComboBox*, kChannels> signalLists_{};
  std::array<QLineEdit*, kChannels> stopEdits_{};
  std::array<QLineEdit*, kChannels> lowerEdits_{};
  std::array<QLineEdit*, kChannels> upperEdits_{};
  std::array<QLineEdit*, kChannels> forceEdits_{};
  std::array<QCheckBox*, kChannels> forceBoxes_{};
};

class CPlcSubDlgAOCls : public CFourChannelOutputSubDlg {
 public:
  CPlcSubDlgAOCls(AnalogOutputParams& params, int language, QWidget* parent = nullptr);
};

class CPlcSubDlgAO04VCls : public CFourChannelOutputSubDlg {
 public:
  CPlcSubDlgAO04VCls(AnalogOutputParams& params, int language, QWidget* parent = nullptr);
};

class CPlcSubDlgMordale : public CFourChannelOutputSubDlg {
 public:
  CPlcSubDlgMordale(AnalogOutputParams& params, int language, QWidget* parent = nullptr);
};

}  // namespace corvell
