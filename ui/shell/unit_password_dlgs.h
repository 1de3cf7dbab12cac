// The two dialogs behind the program editor's page password commands: CDlgPassInput asks for a
// unit's password and writes what was typed into the unit's entered word; CDlgPassSet sets,
// changes or clears the unit's password. Their texts exist only in Chinese.
#pragma once

#include <QDialog>

#include "ui/shell/unit_password.h"

class QCheckBox;
class QLineEdit;

namespace Brenno {

class AppEnvironment;

// "输入密码": digits only, at most eight. OK with an empty text is refused; otherwise the word
// of the text is written to the target, a wrong password is reported, and the dialog closes with
// OK either way (the unit then stays locked).
class CDlgPassInput : public QDialog {
  Q_OBJECT
 public:
  // The target is the entered word of the page's unit; the lock test uses both tables.
  CDlgPassInput(QWidget* parent, AppEnvironment& env, int pageKey);
  void accept() override;
  QLineEdit* Edit() const { return edit_; }

 private:
  AppEnvironment& env_;
  int pageKey_;
  QLineEdit* edit_ = nullptr;
};

// "密码保护": the check box turns the protection on or off; the password and its confirmation
// must agree. OK stores the new word in the unit word (and in the entered word, so the unit
// stays open for the user who set it), or clears both when the box is cleared.
class CDlgPassSet : public QDialog {
  Q_OBJECT
 public:
  CDlgPassSet(QWidget* parent, PasswordWordRef unitWord, PasswordWordRef enteredWord);
  void accept() override;
  QCheckBox* ProtectBox() const { return protect_; }
  QLineEdit* PasswordEdit() const { return password_; }
  QLineEdit* ConfirmationEdit() const { return confirmation_; }

 private:
  void OnProtectClicked();

  PasswordWordRef unitWord_;
  PasswordWordRef enteredWord_;
  QCheckBox* protect_ = nullptr;
  QLineEdit* password_ = nullptr;
  QLineEdit* confirmation_ = nullptr;
};

// The program editor's "Show Context" command: runs CDlgPassInput for the page; true on OK (the
// view then redraws; the unit may still be locked after a wrong password).
bool RunPasswordInput(QWidget* owner, AppEnvironment& env, int pageKey);
// The "Password Protected" command: a page without a slot is not protected (false, nothing
// shown). A locked unit is first unlocked with CDlgPassInput (Cancel, or a unit still locked
// afterwards, ends the command with false); then CDlgPassSet runs, and on OK "设置成功" is shown
// and the result is true (the view then redraws).
bool RunPasswordProtect(QWidget* owner, AppEnvironment& env, int pageKey);

}  // namespace Brenno
