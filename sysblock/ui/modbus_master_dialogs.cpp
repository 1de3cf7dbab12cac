#include "sysblock/ui/modbus_master_dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "sysblock/model/modbus_master_config.h"
#include "sysblock/model/text_value.h"
#include "sysblock/ui/data_exchange.h"
#include "sysblock/ui/message_box.h"
#include "sysblock/ui/property_page.h"

namespace corvell {

namespace {

QString T(int language, const wchar_t* english, const wchar_t* chinese) {
  return QString::fromWCharArray(PickText(language, english, chinese));
}

// OK and Cancel with the texts of the dialog's template.
void AddButtons(QDialog* dialog, QVBoxLayout* layout, const QString& ok, const QString& cancel) {
  auto* box = new QDialogButtonBox(dialog);
  box->addButton(ok, QDialogButtonBox::AcceptRole);
  box->addButton(cancel, QDialogButtonBox::RejectRole);
  QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  layout->addWidget(box);
}

}  // namespace

CSlaveAddrDlg::CSlaveAddrDlg(int /*language*/, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("添加从站"));
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QStringLiteral("从站地址："), this));
  list_ = new QComboBox(this);
  list_->setObjectName(CPropertyPage::ControlName(kSlaveAddressListControl));
  for (int address = 0; address <= 247; ++address) list_->addItem(QString::number(address));
  list_->setCurrentIndex(0);
  row->addWidget(list_);
  layout->addLayout(row);
  AddButtons(this, layout, QStringLiteral("确定"), QStringLiteral("取消"));
}

void CSlaveAddrDlg::accept() {
  SlaveAddress = list_->currentIndex();
  QDialog::accept();
}

CRefreshLevelDlg::CRefreshLevelDlg(int language, int level, QWidget* parent) : QDialog(parent), RefreshLevel(level) {
  setWindowTitle(T(language, L"Refresh Level", L"刷新级别"));
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(T(language, L"Refresh Level：", L"刷新级别："), this));
  list_ = new QComboBox(this);
  list_->setObjectName(CPropertyPage::ControlName(kRefreshLevelListControl));
  for (int i = 0; i < kRefreshLevelCount; ++i) list_->addItem(QString::fromStdWString(RefreshLevelText(i)));
  list_->setCurrentIndex(level >= 0 && level < kRefreshLevelCount ? level : -1);
  row->addWidget(list_);
  layout->addLayout(row);
  AddButtons(this, layout, T(language, L"OK", L"确定"), T(language, L"CANCEL", L"取消"));
}

void CRefreshLevelDlg::accept() {
  RefreshLevel = list_->currentIndex();
  QDialog::accept();
}

CDataBlockDlg::CDataBlockDlg(int language, const DataBlockFields& values, QWidget* parent)
    : QDialog(parent), Values(values), language_(language) {
  setWindowTitle(T(language, L"Datablock", L"数据块"));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  auto addEdit = [this, grid](int row, int offset, bool digits) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(CPropertyPage::ControlName(offset));
    if (digits) edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    grid->addWidget(edit, row, 2);
    return edit;
  };
  grid->addWidget(new QLabel(T(language, L"Block Name:", L"Block名称:"), this), 0, 0);
  addEdit(0, kBlockNameControl, false)->setText(QString::fromStdWString(Values.Name));
  grid->addWidget(new QLabel(T(language, L"Fuction Code:", L"功能码:"), this), 1, 0);
  function_ = new QComboBox(this);
  function_->setObjectName(CPropertyPage::ControlName(kBlockFunctionControl));
  for (const wchar_t* text : {L"读线圈(01)", L"读离散输入(02)", L"读保持寄存器(03)", L"读输入寄存器(04)", L"写单线圈(05)",
                              L"写单寄存器(06)", L"写多线圈(15)", L"写多寄存器(16)"})
    function_->addItem(QString::fromWCharArray(text));
  function_->setCurrentIndex(Values.FunctionIndex >= 0 && Values.FunctionIndex < kFunctionIndexCount
                                 ? Values.FunctionIndex
                                 : -1);
  grid->addWidget(function_, 1, 2);
  grid->addWidget(new QLabel(T(language, L"First Address:", L"起始地址:"), this), 2, 0);
  addEdit(2, kBlockFirstAddressControl, true)->setText(QString::number(Values.FirstAddress));
  grid->addWidget(new QLabel(T(language, L"Quote Address:", L"引用地址:"), this), 3, 0);
  grid->addWidget(new QLabel(QStringLiteral("MB"), this), 3, 1);
  addEdit(3, kBlockReferenceControl, true)->setText(QString::number(Values.ReferenceStart));
  grid->addWidget(new QLabel(T(language, L"Data Length:", L"数据长度:"), this), 4, 0);
  addEdit(4, kBlockLengthControl, true)->setText(QString::number(Values.Length));
  layout->addLayout(grid);
  AddButtons(this, layout, T(language, L"OK", L"确定"), T(language, L"CANCEL", L"取消"));
  ApplyLengthRule();
  connect(function_, &QComboBox::currentIndexChanged, this, [this](int) { ApplyLengthRule(); });
}

QLineEdit* CDataBlockDlg::Edit(int offset) const { return findChild<QLineEdit*>(CPropertyPage::ControlName(offset)); }

void CDataBlockDlg::ApplyLengthRule() {
  QLineEdit* length = Edit(kBlockLengthControl);
  if (DataBlockFields::IsSingleItemFunction(function_->currentIndex())) {
    length->setText(QStringLiteral("1"));
    length->setEnabled(false);
  } else {
    length->setEnabled(true);
  }
}

void CDataBlockDlg::accept() {
  DataBlockFields values;
  values.Name = Edit(kBlockNameControl)->text().toStdWString();
  values.FunctionIndex = function_->currentIndex();
  struct Number {
    int offset;
    unsigned long long* field;
  };
  const Number numbers[] = {{kBlockFirstAddressControl, &values.FirstAddress},
                            {kBlockReferenceControl, &values.ReferenceStart},
                            {kBlockLengthControl, &values.Length}};
  for (const Number& number : numbers) {
    QLineEdit* edit = Edit(number.offset);
    const ExchangeResult result = ExchangeUnsigned(edit->text().toStdWString(), 0, 4294967295ULL, language_);
    if (!result.Value) {
      ShowMessageBox(this, language_, result.Message);
      edit->setFocus();
      return;
    }
    *number.field = static_cast<unsigned long long>(*result.Value);
  }
  if (auto message = values.Check()) {
    ShowMessageBox(this, language_, *message);
    return;
  }
  Values = values;
  QDialog::accept();
}

}  // namespace corvell
