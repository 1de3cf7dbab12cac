// Common ground of the parameter sub-dialogs of the digital extension modules on the "System
// module" page: each control is bound to one value of the module type's parameters, and
// UpdateData moves the values between the two.
#pragma once

#include <QString>
#include <QWidget>
#include <span>
#include <string>
#include <vector>

#include "sysblock/model/modules/module_params.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;

namespace corvell {

// Entries of the filter time list, in this order; the record stores the index.
inline constexpr int kFilterTimeCount = 4;

class CDigitalModuleSubDlg : public QWidget {
 public:
  // false: the values into the controls; true: the controls into the values.
  void UpdateData(bool saveAndValidate);
  // The Default button: the type's construction values (labels excepted) into the controls.
  virtual void OnDefault() = 0;

  QPushButton* DefaultButton() const { return defaultButton_; }

 protected:
  CDigitalModuleSubDlg(int language, QWidget* parent);

  QString T(const wchar_t* english, const wchar_t* chinese) const;
  // A group box; id 0 gives none.
  QGroupBox* Group(QWidget* parent, const QString& caption, int id);
  QLabel* Text(QWidget* parent, const QString& caption, int id);
  // A label showing a text value.
  QLabel* BoundLabel(QWidget* parent, std::wstring& value, int id);
  // A filter time list ("5", "10", "20", "40") showing an index value.
  QComboBox* FilterList(QWidget* parent, int& index, int id, bool editable);
  // A row of eight three-state boxes with ids firstId..firstId+7 at `row` of `grid`, after the
  // optional widget in column 0.
  void PointRow(QGridLayout* grid, int row, QWidget* lead, std::span<int> states, int firstId);
  // A two-state box showing a 0/1 value.
  QCheckBox* TwoStateBox(QWidget* parent, const QString& caption, int& value, int id);
  // The Default button, wired to OnDefault.
  QPushButton* MakeDefaultButton(QWidget* parent, int id);
  // A caption, a filter list and "ms" on one row of `grid`.
  QComboBox* FilterRow(QGridLayout* grid, int row, const QString& caption, int captionId, int& index, int listId,
                       bool editable);

  int language_;

 private:
  struct ListBinding {
    QComboBox* box;
    int* value;
  };
  struct BoxBinding {
    QCheckBox* box;
    int* value;
  };
  struct LabelBinding {
    QLabel* label;
    std::wstring* value;
  };
  std::vector<ListBinding> lists_;
  std::vector<BoxBinding> boxes_;
  std::vector<LabelBinding> labels_;
  QPushButton* defaultButton_ = nullptr;
};

// The sub-dialog of digital module type `type` (1, 2, 7, 8, 13, 14 or 20) bound to that
// type's values in `params`; null for any other type.
CDigitalModuleSubDlg* CreateDigitalModuleSubDialog(int type, ModuleParameterSet& params, int language,
                                                   QWidget* parent);

}  // namespace corvell
