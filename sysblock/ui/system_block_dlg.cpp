#include "sysblock/ui/system_block_dlg.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "sysblock/model/text_value.h"
#include "sysblock/ui/system_block_extend_dlg.h"
#include "sysblock/ui/system_block_password_dlg.h"
#include "sysblock/ui/system_block_port_dlg.h"

namespace corvell {

CSystemBlockDlg::CSystemBlockDlg(int language, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromWCharArray(SystemBlockCaption(language)));
  portPage_ = new CSystemBlockPortDlg(Fields.PortPage, language);
  passwordPage_ = new CSystemBlockPasswordDlg(Fields.ConfigPage, language);
  extendPage_ = new CSystemBlockExtendDlg(Fields.ModuleList, Fields.ForceStates, language);
  pages_ = {extendPage_, portPage_, passwordPage_};

  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabWidget(this);
  for (CPropertyPage* page : pages_) tabs_->addTab(page, page->TabText());
  tabs_->setCurrentIndex(0);
  layout->addWidget(tabs_);
  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(QString::fromWCharArray(PickText(language, L"OK", L"确认")), QDialogButtonBox::AcceptRole);
  cancel_ =
      buttons->addButton(QString::fromWCharArray(PickText(language, L"Cancel", L"取消")), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) { OnTabChanged(index); });
}

CSystemBlockDlg::~CSystemBlockDlg() = default;

void CSystemBlockDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  pages_[activeIndex_]->OnSetActive();
}

void CSystemBlockDlg::OnTabChanged(int index) {
  if (index == activeIndex_ || index < 0) return;
  if (!pages_[activeIndex_]->OnKillActive()) {
    // The page refused to be left: it stays the active tab.
    QSignalBlocker block(tabs_);
    tabs_->setCurrentIndex(activeIndex_);
    return;
  }
  activeIndex_ = index;
  pages_[activeIndex_]->OnSetActive();
}

void CSystemBlockDlg::accept() {
  if (!pages_[activeIndex_]->OnKillActive()) return;
  QDialog::accept();
}

}  // namespace corvell
