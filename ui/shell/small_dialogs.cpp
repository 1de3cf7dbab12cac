#include "ui/shell/small_dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cwctype>

#include "core/env/language.h"
#include "core/env/plc_type.h"
#include "core/env/utilities.h"
#include "core/project/message_box.h"

namespace Brenno {

namespace {

QString Pick(const wchar_t* english, const wchar_t* chinese) { return QString::fromWCharArray(PickText(english, chinese)); }

// The narrowest the PLC type dialog's item column is.
constexpr int kItemColumnWidth = 90;

QDialogButtonBox* AddOkCancel(QDialog* dialog, QBoxLayout* layout) {
  auto* buttons = new QDialogButtonBox(dialog);
  QPushButton* ok = buttons->addButton(Pick(L"OK", L"确认"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("IDOK"));
  ok->setDefault(true);
  buttons->addButton(Pick(L"Cancel", L"取消"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("IDCANCEL"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  layout->addWidget(buttons, 0, Qt::AlignHCenter);
  return buttons;
}

// The layout of the three one-line dialogs: the label and the edit stay in the middle of the
// height, the edit takes the width, the buttons stay at the bottom.
QLineEdit* BuildLineDialog(QDialog* dialog, const QString& label) {
  dialog->setWindowTitle(QStringLiteral("Orvisto Editor"));
  auto* layout = new QVBoxLayout(dialog);
  layout->addStretch(1);
  auto* text = new QLabel(label, dialog);
  text->setObjectName(QStringLiteral("Label"));
  layout->addWidget(text);
  auto* edit = new QLineEdit(dialog);
  edit->setObjectName(QStringLiteral("Edit"));
  layout->addWidget(edit);
  layout->addStretch(1);
  AddOkCancel(dialog, layout);
  dialog->setMinimumSize(dialog->sizeHint());
  return edit;
}

}  // namespace

ScanCountCheck CheckScanCountText(const std::wstring& text, uint8_t* count) {
  std::wstring digits;
  for (wchar_t c : text) {
    if (c != L',') digits += c;
  }
  size_t at = 0;
  while (at < digits.size() && std::iswspace(static_cast<wint_t>(digits[at]))) ++at;
  bool negative = false;
  if (at < digits.size() && (digits[at] == L'+' || digits[at] == L'-')) negative = digits[at++] == L'-';
  if (at >= digits.size() || digits[at] < L'0' || digits[at] > L'9') return ScanCountCheck::NoNumber;
  // Saturates far above the range so that a long digit run cannot overflow.
  long value = 0;
  for (; at < digits.size() && digits[at] >= L'0' && digits[at] <= L'9'; ++at) {
    value = std::min(value * 10 + (digits[at] - L'0'), 100000L);
  }
  if (negative) value = -value;
  if (value < 1 || value > 255) return ScanCountCheck::OutOfRange;
  if (count != nullptr) *count = static_cast<uint8_t>(value);
  return ScanCountCheck::Ok;
}

std::wstring ScanCountMessage(ScanCountCheck check) {
  if (check == ScanCountCheck::Ok) return {};
  std::wstring message = PickText(L"Execute Scans", L"执行扫描");
  message += L"\r\n";
  message += check == ScanCountCheck::NoNumber ? PickText(L"Please input a number", L"请输入一个数字")
                                               : PickText(L"Input number out of range", L"输入数字超出范围");
  return message;
}

int FindPlcTypeIndex(const std::list<PlcType>& catalog, const std::wstring& name) {
  int index = 0;
  for (const PlcType& type : catalog) {
    if (type.Name() == name) return index;
    ++index;
  }
  return -1;
}

// ---------------------------------------------------------------- one-line dialogs

CMainInputStrDlg::CMainInputStrDlg(QWidget* parent, const std::wstring& prompt, const std::wstring& text) : QDialog(parent) {
  edit_ = BuildLineDialog(this, QString::fromStdWString(prompt));
  edit_->setText(QString::fromStdWString(text));
}

std::wstring CMainInputStrDlg::Text() const { return edit_->text().toStdWString(); }

CMainPasswordDlg::CMainPasswordDlg(QWidget* parent) : QDialog(parent) {
  edit_ = BuildLineDialog(this, Pick(L"Please Input Password", L"请输入密码"));
  edit_->setEchoMode(QLineEdit::Password);
  edit_->setMaxLength(8);
}

std::wstring CMainPasswordDlg::Password() const { return edit_->text().toStdWString(); }

CMainExecuteScansDlg::CMainExecuteScansDlg(QWidget* parent, uint8_t count) : QDialog(parent) {
  edit_ = BuildLineDialog(this, Pick(L"Execute Sacs", L"执行扫描"));
  edit_->setText(QString::number(count));
}

void CMainExecuteScansDlg::accept() {
  uint8_t count = 0;
  const ScanCountCheck check = CheckScanCountText(edit_->text().toStdWString(), &count);
  if (check != ScanCountCheck::Ok) {
    MessageBoxOk(ScanCountMessage(check), kMessageIconStop);
    edit_->setFocus();
    return;
  }
  count_ = count;
  QDialog::accept();
}

// ---------------------------------------------------------------- PLC type

CMainPlcTypeDlg::CMainPlcTypeDlg(QWidget* parent, const std::list<PlcType>& catalog, const PlcType* selected)
    : QDialog(parent), catalog_(catalog), selected_(selected) {
  setWindowTitle(Pick(L"PLC Type", L"PLC类型"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(Pick(L"Select The PLC Type:", L"选择PLC类型:"), this));
  typeList_ = new QComboBox(this);
  typeList_->setObjectName(QStringLiteral("TypeList"));
  int index = 0;
  int current = -1;
  for (const PlcType& type : catalog_) {
    typeList_->addItem(QString::fromStdWString(type.Description.Information));
    if (&type == selected_) current = index;
    ++index;
  }
  typeList_->setCurrentIndex(current);
  layout->addWidget(typeList_);
  picture_ = new QLabel(this);
  picture_->setAlignment(Qt::AlignCenter);
  picture_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  layout->addWidget(picture_, 1);
  items_ = new QTreeWidget(this);
  items_->setRootIsDecorated(false);
  items_->setSelectionBehavior(QAbstractItemView::SelectRows);
  items_->setHeaderLabels({Pick(L"Item", L"项"), Pick(L"Value", L"值")});
  items_->setColumnWidth(0, kItemColumnWidth);
  items_->setColumnWidth(1, 180);
  layout->addWidget(items_, 1);
  layout->addWidget(new QLabel(Pick(L"Memory:", L"内存:"), this));
  memory_ = new QPlainTextEdit(this);
  memory_->setReadOnly(true);
  memory_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  layout->addWidget(memory_, 1);
  layout->addWidget(new QLabel(Pick(L"Instruction Set:", L"指令集:"), this));
  instructions_ = new QPlainTextEdit(this);
  instructions_->setReadOnly(true);
  layout->addWidget(instructions_, 1);
  AddOkCancel(this, layout);
  // QComboBox::activated is the end of a selection made by the user.
  connect(typeList_, &QComboBox::activated, this, &CMainPlcTypeDlg::OnSelEndOk);
  ShowType();
  resize(540, 500);
  // Narrower than it opens is not useful; a quarter of the height may go.
  setMinimumSize(540, 375);
}

void CMainPlcTypeDlg::OnSelEndOk(int index) {
  if (index < 0 || index >= static_cast<int>(catalog_.size())) return;
  selected_ = &*std::next(catalog_.begin(), index);
  ShowType();
}

void CMainPlcTypeDlg::ShowType() {
  items_->clear();
  picture_->clear();
  memory_->clear();
  instructions_->clear();
  if (selected_ == nullptr) return;
  for (const KeyValueItem& item : selected_->Description.Items) {
    new QTreeWidgetItem(items_, {QString::fromStdWString(item.Key), QString::fromStdWString(item.Value)});
  }
  // The item names whole, however long they are in the type's language.
  items_->resizeColumnToContents(0);
  items_->setColumnWidth(0, std::max(items_->columnWidth(0), kItemColumnWidth));
  QPixmap image;
  if (!selected_->Image.empty() &&
      image.loadFromData(selected_->Image.data(), static_cast<uint>(selected_->Image.size()))) {
    picture_->setPixmap(image);
  }
  memory_->setPlainText(QString::fromStdWString(selected_->MemoryAreas.ModbusAddressList));
  instructions_->setPlainText(QString::fromStdWString(selected_->Instructions.StlInstructionText));
}

// ---------------------------------------------------------------- the Ask functions

bool AskInputString(QWidget* owner, const std::wstring& prompt, std::wstring& text) {
  CMainInputStrDlg dialog(owner, prompt, text);
  if (dialog.exec() != QDialog::Accepted) return false;
  text = dialog.Text();
  return true;
}

bool AskPlcPasswordDialog(QWidget* owner, std::vector<uint8_t>& block) {
  CMainPasswordDlg dialog(owner);
  if (dialog.exec() != QDialog::Accepted) return false;
  std::vector<uint8_t> packed;
  if (!PackPasswordBytes(packed, dialog.Password())) return false;
  block = std::move(packed);
  return true;
}

bool AskScanCount(QWidget* owner, uint8_t& count) {
  CMainExecuteScansDlg dialog(owner, count);
  if (dialog.exec() != QDialog::Accepted) return false;
  // The count that was checked, so that "1,0" runs the 10 scans that passed the range check.
  count = dialog.Count();
  return true;
}

bool AskPlcType(QWidget* owner, const std::list<PlcType>& catalog, std::wstring& typeName) {
  const int index = FindPlcTypeIndex(catalog, typeName);
  if (index < 0) return false;
  CMainPlcTypeDlg dialog(owner, catalog, &*std::next(catalog.begin(), index));
  if (dialog.exec() != QDialog::Accepted || dialog.Selected() == nullptr) return false;
  typeName = dialog.Selected()->Name();
  return true;
}

}  // namespace Brenno
