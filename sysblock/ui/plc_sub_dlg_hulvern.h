// Sub-dialog of the mixed digital module Hulvern (type 20): one filter time and a force box
// per input, a communication failure box and a force box per output.
#pragma once

#include "sysblock/ui/plc_sub_dlg_digital.h"

namespace corvell {

class CPlcSubDlgHulvern : public CDigitalModuleSubDlg {
 public:
  CPlcSubDlgHulvern(HulvernParams& params, int language, QWidget* parent = nullptr);
  void OnDefault() override;

 private:
  HulvernParams& params_;
};

}  // namespace corvell
