// Sub-dialogs of the digital input modules: Parlune (type 1, 16 inputs) and Fennick (type 13,
// 32 inputs). One filter time per group of eight inputs and a three-state force box per input.
#pragma once

#include "sysblock/ui/plc_sub_dlg_digital.h"

namespace corvell {

class CPlcSubDlgDICls : public CDigitalModuleSubDlg {
 public:
  CPlcSubDlgDICls(DigitalInputParams<16>& params, int language, QWidget* parent = nullptr);
  void OnDefault() override;

 private:
  DigitalInputParams<16>& params_;
};

class PlcSubDlgFennick : public CDigitalModuleSubDlg {
 public:
  PlcSubDlgFennick(DigitalInputParams<32>& params, int language, QWidget* parent = nullptr);
  void OnDefault() override;

 private:
  DigitalInputParams<32>& params_;
};

}  // namespace corvell
