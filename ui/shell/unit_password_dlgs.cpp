#include "ui/shell/unit_password_dlgs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "core/link/app_environment.h"
#include "core/project/message_box.h"

namespace Brenno {

namespace {

// The refusals are warnings; the confirmation that the password is set is an information.
constexpr int kWarningIcon = 0x30;
constexpr int kInformationIcon = 0x40;

void ShowStandardMessage(const std::wstring& text) { MessageBoxOk(text, kWarningIcon); }

QLineEdit* AddPasswordEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setEchoMode(QLineEdit::Password);
  edit->setMaxLength(static_cast<int>(kPasswordMaxLength));
  return edit;
}

QDialogButtonBox* AddOkCancel(QDialog* dialog, Qt::Orientation orientation) {
  auto* buttons = new QDialogButtonBox(orientation, dialog);
  QPushButton* ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("IDOK"));
  ok->setDefault(true);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("IDCANCEL"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace

// ---------------------------------------------------------------- input

CDlgPassInput::CDlgPassInput(QWidget* parent, AppEnvironment& env, int pageKey)
    : QDialog(parent), env_(env), pageKey_(pageKey) {
  setWindowTitle(QStringLiteral("输入密码"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("输入密码："), this));
  edit_ = AddPasswordEdit(this, "Password");
  static const QRegularExpression kDigits(QStringLiteral("^[0-9]*$"));
  edit_->setValidator(new QRegularExpressionValidator(kDigits, edit_));
  layout->addWidget(edit_);
  layout->addWidget(AddOkCancel(this, Qt::Horizontal));
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CDlgPassInput::accept() {
  const std::wstring text = edit_->text().toStdWString();
  switch (CheckPasswordInput(text)) {
    case PasswordInputCheck::TooLong: ShowStandardMessage(TextPasswordTooLong()); return;
    case PasswordInputCheck::Empty: ShowStandardMessage(TextPasswordEmpty()); return;
    case PasswordInputCheck::Ok: break;
  }
  EnteredPasswordTable(env_, pageKey_).Set(PasswordWordFromText(text));
  if (IsUnitLocked(env_, pageKey_)) ShowStandardMessage(TextPasswordWrong());
  QDialog::accept();
}

// ---------------------------------------------------------------- set

CDlgPassSet::CDlgPassSet(QWidget* parent, PasswordWordRef unitWord, PasswordWordRef enteredWord)
    : QDialog(parent), unitWord_(unitWord), enteredWord_(enteredWord) {
  setWindowTitle(QStringLiteral("密码保护"));
  auto* layout = new QHBoxLayout(this);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  protect_ = new QCheckBox(QStringLiteral("密码保护"), this);
  protect_->setObjectName(QStringLiteral("Protect"));
  grid->addWidget(protect_, 0, 0, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("输入密码："), this), 1, 0);
  password_ = AddPasswordEdit(this, "Password");
  grid->addWidget(password_, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("确认密码："), this), 2, 0);
  confirmation_ = AddPasswordEdit(this, "Confirmation");
  grid->addWidget(confirmation_, 2, 1);
  QDialogButtonBox* buttons = AddOkCancel(this, Qt::Vertical);
  layout->addWidget(buttons, 0, Qt::AlignTop);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  const uint32_t word = unitWord_.Get();
  const bool set = (word & kPasswordSetFlag) != 0;
  protect_->setChecked(set);
  const QString text = QString::fromStdWString(PasswordTextFromWord(word));
  password_->setText(text);
  confirmation_->setText(text);
  password_->setEnabled(set);
  confirmation_->setEnabled(set);
  connect(protect_, &QCheckBox::clicked, this, &CDlgPassSet::OnProtectClicked);
}

void CDlgPassSet::OnProtectClicked() {
  const bool checked = protect_->isChecked();
  password_->setEnabled(checked);
  confirmation_->setEnabled(checked);
}

void CDlgPassSet::accept() {
  const bool protect = protect_->isChecked();
  const std::wstring password = password_->text().toStdWString();
  switch (CheckPasswordSet(protect, password, confirmation_->text().toStdWString())) {
    case PasswordSetCheck::TooLong: ShowStandardMessage(TextPasswordTooLong()); return;
    case PasswordSetCheck::Mismatch: ShowStandardMessage(TextPasswordMismatch()); return;
    case PasswordSetCheck::Empty: ShowStandardMessage(TextPasswordEmpty()); return;
    case PasswordSetCheck::Ok: break;
  }
  if (protect) {
    const uint32_t word = PasswordWordFromText(password);
    unitWord_.Set(word);
    enteredWord_.Set(word);
  } else {
    unitWord_.Set(0);
    enteredWord_.Set(0);
  }
  QDialog::accept();
}

// ---------------------------------------------------------------- the commands

bool RunPasswordInput(QWidget* owner, AppEnvironment& env, int pageKey) {
  CDlgPassInput dialog(owner, env, pageKey);
  return dialog.exec() == QDialog::Accepted;
}

bool RunPasswordProtect(QWidget* owner, AppEnvironment& env, int pageKey) {
  if (!HasPasswordSlot(pageKey)) return false;
  if (IsUnitLocked(env, pageKey)) {
    if (!RunPasswordInput(owner, env, pageKey) || IsUnitLocked(env, pageKey)) return false;
  }
  CDlgPassSet dialog(owner, UnitPasswordTable(env, pageKey), EnteredPasswordTable(env, pageKey));
  if (dialog.exec() != QDialog::Accepted) return false;
  MessageBoxOk(TextPasswordSetDone(), kInformationIcon);
  return true;
}

}  // namespace Brenno
