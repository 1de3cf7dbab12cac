#include "trend/ui/curve_param_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "trend/ui/message.h"

namespace vandrel {

CCurveParamDlg::CCurveParamDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("编辑参数"));
  auto edit = [](const char* id) {
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(id));
    return e;
  };
  devNo_ = edit("1005");
  start_ = edit("1002");
  count_ = edit("1003");
  block_ = edit("1004");
  dataType_ = new QComboBox;
  dataType_->setObjectName(QStringLiteral("1015"));
  for (const auto& t : DataTypeChoices()) dataType_->addItem(ToQString(t));

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("设备号："), devNo_);
  form->addRow(QStringLiteral("寄存器首地址："), start_);
  form->addRow(QStringLiteral("数据总长度："), count_);
  form->addRow(QStringLiteral("数据块长度："), block_);
  form->addRow(QStringLiteral("数据类型："), dataType_);
  auto* buttons = new QDialogButtonBox;
  buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &CCurveParamDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CCurveParamDlg::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

void CCurveParamDlg::SetFields(const CurveParamFields& f) {
  devNo_->setText(ToQString(f.DevNoText));
  start_->setText(ToQString(f.StartText));
  count_->setText(ToQString(f.CountText));
  block_->setText(ToQString(f.BlockText));
  dataType_->setCurrentIndex(f.DataType);
}

CurveParamFields CCurveParamDlg::Fields() const {
  return {FromQString(devNo_->text()), FromQString(start_->text()), FromQString(count_->text()),
          FromQString(block_->text()), dataType_->currentIndex()};
}

void CCurveParamDlg::accept() {
  if (auto message = CheckCurveParamFields(Fields())) {
    ShowInfoMessage(this, ToQString(*message));
    return;
  }
  QDialog::accept();
}

}  // namespace vandrel
