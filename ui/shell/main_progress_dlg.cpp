#include "ui/shell/main_progress_dlg.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "core/env/language.h"

namespace Brenno {

CMainProgressDlg::CMainProgressDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("MainProgressDlg"));
  setWindowTitle(QString::fromWCharArray(PickText(L"Progress", L"进度")));
  setModal(false);
  text_ = new QLabel(this);
  first_ = new QProgressBar(this);
  first_->setRange(0, 100);
  first_->setValue(0);
  second_ = new QProgressBar(this);
  second_->setRange(0, 100);
  second_->setValue(0);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(first_);
  layout->addWidget(second_);
  resize(360, 110);
}

}  // namespace Brenno
