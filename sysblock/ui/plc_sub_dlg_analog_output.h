// Common ground of the parameter sub-dialogs of the analog output modules on the "System
// module" page: UpdateData moves the type's parameter values between the values and the
// controls, checking each edit the way the page's data exchange does.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>

#include "sysblock/model/modules/module_params.h"

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QGridLayout;
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

  // A signal or sensor type list with control id `id`: an edit field in English, a plain
  // drop-down list in Chinese (the entries, added by the caller, keep their order).
  QComboBox* MakeTypeList(QWidget* parent, int id);
  // A force box of `parent` with control id `id` at (row, column) of `grid`; a click runs
  // `onClick`.
  QCheckBox* AddForceBox(QWidget* parent, QGridLayout* grid, int row, int column, int id,
                         std::function<void()> onClick);

  // Exchange of one edit: false after the message of a refused text.
  bool ExchangeByte(QLineEdit* edit, bool save, uint8_t& value);
  bool ExchangeFloat(QLineEdit* edit, bool save, float& value);
  // Exchange of a force box: its state into `flag` (1 or 0), or the flag (set when not 0) into it.
  static void ExchangeCheck(QCheckBox* box, bool save, int& flag);
  // A force box was clicked: the controls into the values, the channel's force value edit shown
  // exactly when its `flag` is 1 then, and the values back into the controls. When a value is
  // refused the controls stay as the user left them and the edit follows the box.
  void FollowForceBox(QCheckBox* box, QLineEdit* forceValue, const int& flag);
  // The cold-junction compensation caption and list (editable, the entries of
  // kColdJunctionTypes), added to `row`; the list is returned.
  QComboBox* AddColdJunctionList(QWidget* parent, QBoxLayout* row);

  int language_;

 private:
  QPushButton* defaultButton_ = nullptr;
};

// The sub-dialog of analog output module type `type` bound to that type's values in
// `params`; null for a type that has none here.
CAnalogOutputModuleSubDlg* CreateAnalogOutputSubDialog(int type, ModuleParameterSet& params, int language,
                                                       QWidget* parent);

}  // namespace corvell
