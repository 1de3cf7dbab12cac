// The "System Config" page of the system-block property sheet: password, timed interrupts,
// execution cycle and the retentive M range.
#pragma once

#include <QComboBox>
#include <QLineEdit>

#include "sysblock/model/system_config_page.h"
#include "sysblock/ui/property_page.h"


namespace corvell {

constexpr int kVerificationControl = 30202;
constexpr int kExecutionCycleControl = 40081;
constexpr int kRetentiveStartControl = 40082;
constexpr int kRetentiveEndControl = 40083;

class CSystemBlockPasswordDlg : public CPropertyPage {
 public:
  CSystemBlockPasswordDlg(SystemConfigPage& fields, int language, QWidget* parent = nullptr);

  bool OnKillActive() override;
  // Button "Defaults": interrupts, cycle and retentive range; the password stays.
  void OnDefaults();

  QLineEdit* EditControl(int offset) const { return Control<QLineEdit>(offset); }

 protected:
  void OnInitDialog() override;

 private:
  void ControlsFromFields();

  SystemConfigPage& fields_;
  int language_;
};

}  // namespace corvell
