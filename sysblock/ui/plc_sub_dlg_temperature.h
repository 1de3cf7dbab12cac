// Sub-dialogs of the temperature input modules: Oskavel (type 5, six thermocouple channels and
// a cold-junction compensation setting) and Nuvask (type 6, four resistance thermometer
// channels). Per channel a label, a sensor list, the lower and upper temperature limits, and a
// force box with a force value edit that is shown only while the box is set. The values are
// kept as the texts typed; the value edits take digits, '.', '-' and backspace only.
#pragma once

#include <array>

#include "sysblock/ui/plc_sub_dlg_analog_output.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace corvell {

class CValueEditKeyFilter;

// Sensor list entries (English, Chinese) and the cold-junction list, in list order.
extern const wchar_t* const kThermocoupleTypes[5][2];
extern const wchar_t* const kResistanceTypes[6][2];
extern const wchar_t* const kColdJunctionTypes[3][2];

class CTemperatureInputSubDlg : public CAnalogOutputModuleSubDlg {
 public:
  static constexpr size_t kMax = TemperatureInputParams::kMaxChannels;
  using Ids = std::array<int, kMax>;

  // Control ids and captions of one type.
  struct Layout {
    const wchar_t* model;
    int outerGroup, defaultButton, channelGroup, sensorCaption, lowerCaption, upperCaption, forceGroup;
    Ids sensorLists, lowerEdits, upperEdits, labels, forceValues, forceBoxes;
    const wchar_t* sensorCaptionEnglish;
    const wchar_t* sensorCaptionChinese;
    const wchar_t* labelFormat;  // the label shown until a record is loaded ("TC%1：")
  };

  bool UpdateData(bool saveAndValidate) override;
  // The Default button: every sensor "Show ...", limits 0.00 and 1000.00, force values 500.00,
  // no force, cold junction "Cu50"; the labels stay.
  void OnDefault() override;
  // Channel `channel`'s force box was clicked: its force value edit follows the box.
  void OnForceBox(size_t channel);

  size_t ChannelCount() const { return params_.channelCount(); }
  QLabel* Label(size_t channel) const { return labels_[channel]; }
  QComboBox* SensorList(size_t channel) const { return sensorLists_[channel]; }
  QLineEdit* LowerEdit(size_t channel) const { return lowerEdits_[channel]; }
  QLineEdit* UpperEdit(size_t channel) const { return upperEdits_[channel]; }
  QLineEdit* ForceValueEdit(size_t channel) const { return forceValues_[channel]; }
  QCheckBox* ForceBox(size_t channel) const { return forceBoxes_[channel]; }
  QComboBox* ColdJunctionList() const { return coldJunction_; }  // Oskavel only, else null

 protected:
  CTemperatureInputSubDlg(TemperatureInputParams& params, const Layout& layout, int language, QWidget* parent);

 private:
  TemperatureInputParams& params_;
  QString labelFormat_;
  CValueEditKeyFilter* keyFilter_;
  std::array<QLabel*, kMax> labels_{};
  std::array<QComboBox*, kMax> sensorLists_{};
  std::array<QLineEdit*, kMax> lowerEdits_{};
  std::array<QLineEdit*, kMax> upperEdits_{};
  std::array<QLineEdit*, kMax> forceValues_{};
  std::array<QCheckBox*, kMax> forceBoxes_{};
  QComboBox* coldJunction_ = nullptr;
};

class CPlcSubDlgTCCls : public CTemperatureInputSubDlg {
 public:
  CPlcSubDlgTCCls(TemperatureInputParams& params, int language, QWidget* parent = nullptr);
};

class CPlcSubDlgRTDCls : public CTemperatureInputSubDlg {
 public:
  CPlcSubDlgRTDCls(TemperatureInputParams& params, int language, QWidget* parent = nullptr);
};

}  // namespace corvell
