// Sub-dialogs of the two modules with a single kind of setting: Weskarn (type 22), one filter
// type, and Yolvask (type 23), the encoding of each of its four pulse input channels. Neither
// has a Default button; the page sets their indexes to 0 when it adds such a module.
#pragma once

#include <array>

#include "sysblock/ui/plc_sub_dlg_analog_output.h"

class QComboBox;

namespace corvell {

class CPlcSubDlgWeskarn : public CAnalogOutputModuleSubDlg {
 public:
  CPlcSubDlgWeskarn(WeskarnParams& params, int language, QWidget* parent = nullptr);

  bool UpdateData(bool saveAndValidate) override;
  void OnDefault() override;  // filter type 0

  QComboBox* FilterList() const { return list_; }

 private:
  WeskarnParams& params_;
  QComboBox* list_;
};

class CPlcSubDlgYolvask : public CAnalogOutputModuleSubDlg {
 public:
  CPlcSubDlgYolvask(YolvaskParams& params, int language, QWidget* parent = nullptr);

  bool UpdateData(bool saveAndValidate) override;
  void OnDefault() override;  // every channel "AB方式"

  // Channels 1 to 4 as 0 to 3.
  QComboBox* EncodingList(size_t channel) const { return lists_[channel]; }

 private:
  YolvaskParams& params_;
  std::array<QComboBox*, 4> lists_{};
};

}  // namespace corvell
