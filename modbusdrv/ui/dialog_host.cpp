#include "modbusdrv/ui/dialog_host.h"

#include <QApplication>
#include <memory>

#include "modbusdrv/driver/driver_state.h"
#include "modbusdrv/ui/driver_config_dialog.h"

namespace modbusdrv {

namespace {

// The host's application object when it has one; otherwise one of the library's own that
// lives as long as the dialog.
class ApplicationScope {
 public:
  ApplicationScope() {
    if (QApplication::instance() == nullptr) own_ = std::make_unique<QApplication>(argc_, argv_);
  }

 private:
  int argc_ = 1;
  char name_[16] = "ModbusDriver";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> own_;
};

}  // namespace

int RunConfigDialog() {
  ApplicationScope app;
  CDriverConfigDlg dialog(DriverState::Instance().ConfigPath);
  dialog.exec();
  return dialog.Modified;
}

bool RunTagBrowseDialog(std::wstring& address) {
  ApplicationScope app;
  CTagBrowseDlg dialog(DriverState::Instance().Channels);
  if (dialog.exec() != QDialog::Accepted) return false;
  address = dialog.ChosenAddress;
  return true;
}

}  // namespace modbusdrv
