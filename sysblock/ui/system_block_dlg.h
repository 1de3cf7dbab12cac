// "System Block" / "系统块": the modal property sheet with the System module page, the port page
// and the system configuration page, over the fields the codec fills from pages 0 to 3.
#pragma once

#include <QDialog>
#include <vector>

#include "sysblock/model/system_block_codec.h"

class QTabWidget;
class QPushButton;

namespace corvell {

class CPropertyPage;
class CSystemBlockExtendDlg;
class CSystemBlockPortDlg;
class CSystemBlockPasswordDlg;

class CSystemBlockDlg : public QDialog {
 public:
  explicit CSystemBlockDlg(int language, QWidget* parent = nullptr);
  ~CSystemBlockDlg() override;

  // The page fields the codec reads and writes. Fill them before the sheet is shown.
  SystemBlockSheetFields Fields;

  // OK: the active page's leaving checks must pass before the sheet closes.
  void accept() override;

  QTabWidget* Tabs() const { return tabs_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  CSystemBlockExtendDlg* ExtendPage() const { return extendPage_; }
  CSystemBlockPortDlg* PortPage() const { return portPage_; }
  CSystemBlockPasswordDlg* PasswordPage() const { return passwordPage_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void OnTabChanged(int index);

  QTabWidget* tabs_;
  QPushButton* ok_;
  QPushButton* cancel_;
  CSystemBlockPortDlg* portPage_;
  CSystemBlockPasswordDlg* passwordPage_;
  CSystemBlockExtendDlg* extendPage_;
  std::vector<CPropertyPage*> pages_;
  int activeIndex_ = 0;
};

}  // namespace corvell
