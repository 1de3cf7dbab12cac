// Common ground of the parameter sub-dialogs of the analog output modules on the "System
// module" page: UpdateData moves the type's parameter values between the values and the
// controls, checking each edit the way the page's data exchange does.
#pragma once

#include <QString>
#include <QWidget>

#include "sysblock/model/modules/module_params.h"

class QLineEdit;
class QPushButton;

namespace corvell {

class CAnalogOutputModuleSubDlg : public QWidget {
 public:
  // false: the values into the controls; true: the controls into the values. A refused edit
  // shows the exchange's message and stops the exchange there (false is returned): that value
  // and the values after it keep what they held.
  virtual bool UpdateData(bool saveAndValidate) = 0;
  // The Default button: the type's construction values into the controls.
  virtual void OnDefault() = 0;

  QPushButton* DefaultButton() const { return defaultButton_; }

 protected:
  CAnalogOutputModuleSubDlg(int language, QWidget* parent);

  QString T(const wchar_t* english, const wchar_t* chinese) const;
  // An edit with control id `id` (0: none).
  QLineEdit* Edit(QWidget* parent, int id);
  // The Default button with the given captions, wired to OnDefault.
  QPushButton* MakeDefaultButton(QWidget* parent, int id, const wchar_t* english, const wchar_t* chinese);

  // Exchange of one edit: false after the message of a refused text.
  bool ExchangeByte(QLineEdit* edit, bool save, uint8_t& value);
  bool ExchangeFloat(QLineEdit* edit, bool save, float& value);

  int language_;

 private:
  QPushButton* defaultButton_ = nullptr;
};

// The sub-dialog of analog output module type `type` bound to that type's values in
// `params`; null for a type that has none here.
CAnalogOutputModuleSubDlg* CreateAnalogOutputSubDialog(int type, ModuleParameterSet& params, int language,
                                                       QWidget* parent);

}  // namespace corvell
