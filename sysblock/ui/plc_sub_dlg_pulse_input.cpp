#include "sysblock/ui/plc_sub_dlg_pulse_input.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "sysblock/ui/plc_sub_dlg_analog_input.h"
#include "sysblock/ui/property_page.h"

namespace corvell {

CPlcSubDlgWeskarn::CPlcSubDlgWeskarn(WeskarnParams& params, int language, QWidget* parent)
    : CAnalogOutputModuleSubDlg(language, parent), params_(params) {
  auto* layout = new QVBoxLayout(this);
  auto* outer = new QGroupBox(QStringLiteral("Weskarn"), this);
  layout->addWidget(outer);
  auto* row = new QHBoxLayout(outer);
  row->addWidget(new QLabel(T(L"Fliter Type:", L"滤波类型："), outer));
  list_ = new QComboBox(outer);
  list_->setObjectName(CPropertyPage::ControlName(60077));
  // An edit field in English, a plain drop-down list in Chinese.
  list_->setEditable(language_ == 1);
  if (list_->isEditable()) list_->setInsertPolicy(QComboBox::NoInsert);
  for (const char* entry : {"0", "1", "2"}) list_->addItem(QString::fromLatin1(entry));
  row->addWidget(list_);
  row->addStretch(1);
  UpdateData(false);
}

bool CPlcSubDlgWeskarn::UpdateData(bool save) {
  if (save)
    params_.filterType = ListIndex(list_);
  else
    PutListIndex(list_, params_.filterType);
  return true;
}

void CPlcSubDlgWeskarn::OnDefault() {
  params_.ResetToDefaults();
  UpdateData(false);
}

CPlcSubDlgYolvask::CPlcSubDlgYolvask(YolvaskParams& params, int language, QWidget* parent)
    : CAnalogOutputModuleSubDlg(language, parent), params_(params) {
  // The same Chinese captions in both languages.
  auto* layout = new QVBoxLayout(this);
  auto* outer = new QGroupBox(QStringLiteral("Yolvask"), this);
  layout->addWidget(outer);
  auto* grid = new QGridLayout(outer);
  grid->addWidget(new QLabel(QStringLiteral("编码类型"), outer), 0, 1);
  for (size_t i = 0; i < lists_.size(); ++i) {
    const int k = static_cast<int>(i);
    grid->addWidget(new QLabel(QStringLiteral("通道%1：").arg(k + 1), outer), k + 1, 0);
    lists_[i] = new QComboBox(outer);
    lists_[i]->setObjectName(CPropertyPage::ControlName(60079 + k));
    lists_[i]->addItem(QStringLiteral("AB方式"));
    lists_[i]->addItem(QStringLiteral("脉冲加方向"));
    grid->addWidget(lists_[i], k + 1, 1);
  }
  grid->setColumnStretch(2, 1);
  UpdateData(false);
}

bool CPlcSubDlgYolvask::UpdateData(bool save) {
  for (size_t i = 0; i < lists_.size(); ++i) {
    if (save)
      params_.encodings[i] = ListIndex(lists_[i]);
    else
      PutListIndex(lists_[i], params_.encodings[i]);
  }
  return true;
}

void CPlcSubDlgYolvask::OnDefault() {
  params_.ResetToDefaults();
  UpdateData(false);
}

}  // namespace corvell
