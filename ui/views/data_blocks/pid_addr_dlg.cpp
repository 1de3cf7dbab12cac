#include "ui/views/data_blocks/pid_addr_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include <algorithm>
#include <cwctype>

#include "core/env/language.h"
#include "core/project/message_box.h"

namespace Brenno {

namespace {

QString Pick(const wchar_t* english, const wchar_t* chinese) { return QString::fromWCharArray(PickText(english, chinese)); }

// The exclamation icon of the message boxes.
constexpr int kMessageIconExclamation = 0x30;

}  // namespace

PidHeadAddressCheck CheckPidHeadAddressText(const std::wstring& text, unsigned* address) {
  size_t at = 0;
  while (at < text.size() && std::iswspace(static_cast<wint_t>(text[at]))) ++at;
  size_t end = text.size();
  while (end > at && std::iswspace(static_cast<wint_t>(text[end - 1]))) --end;
  if (at == end) return PidHeadAddressCheck::NoNumber;
  // Saturates above the range so that a long digit run cannot overflow.
  unsigned long value = 0;
  for (size_t i = at; i < end; ++i) {
    if (text[i] < L'0' || text[i] > L'9') return PidHeadAddressCheck::NoNumber;
    value = std::min(value * 10 + static_cast<unsigned long>(text[i] - L'0'), 1000000UL);
  }
  if (value > kPidHeadAddressMax) return PidHeadAddressCheck::OutOfRange;
  if (address != nullptr) *address = static_cast<unsigned>(value);
  return PidHeadAddressCheck::Ok;
}

std::wstring PidHeadAddressMessage(PidHeadAddressCheck check) {
  switch (check) {
    case PidHeadAddressCheck::NoNumber:
      return PickText(L"Please enter an integer.", L"请输入一个整数。");
    case PidHeadAddressCheck::OutOfRange:
      return PickText(L"Please enter an integer between 0 and 7500.", L"请输入一个 0 到 7500 之间的整数。");
    default:
      return {};
  }
}

CPidAddrDlg::CPidAddrDlg(QWidget* parent, unsigned address) : QDialog(parent), address_(address) {
  setWindowTitle(Pick(L"Parameter Address", L"数据块首地址设置"));
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(Pick(L"Parameter head address:", L"数据块参数首地址:"), this), 0, 0, 1, 3);
  layout->addWidget(new QLabel(QStringLiteral("MB"), this), 1, 0);
  edit_ = new QLineEdit(QString::number(address), this);
  edit_->setObjectName(QStringLiteral("HeadAddress"));
  // Digits only, as many as an unsigned 32-bit number has.
  edit_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,10}")), edit_));
  layout->addWidget(edit_, 1, 1);
  layout->addWidget(new QLabel(QStringLiteral("(0-7500)"), this), 1, 2);
  layout->addWidget(new QLabel(Pick(L"note：parameter is adviced on MB2000 back", L"注：数据块参数存放区推荐MB2000以后"), this),
                    2, 0, 1, 3);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(Pick(L"OK", L"确定"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("IDOK"));
  ok->setDefault(true);
  buttons->addButton(Pick(L"CANCEL", L"取消"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("IDCANCEL"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons, 3, 0, 1, 3);
  setFixedSize(sizeHint());
}

void CPidAddrDlg::accept() {
  unsigned address = 0;
  const PidHeadAddressCheck check = CheckPidHeadAddressText(edit_->text().toStdWString(), &address);
  if (check != PidHeadAddressCheck::Ok) {
    MessageBoxOk(PidHeadAddressMessage(check), kMessageIconExclamation);
    edit_->setFocus();
    edit_->selectAll();
    return;
  }
  address_ = address;
  QDialog::accept();
}

bool AskPidHeadAddress(QWidget* owner, unsigned& address) {
  CPidAddrDlg dialog(owner, address);
  if (dialog.exec() != QDialog::Accepted) return false;
  address = dialog.Address();
  return true;
}

}  // namespace Brenno
