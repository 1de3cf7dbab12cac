// The "System module" page of the system-block property sheet: the controller and its
// extension modules as a list of page 3 records, with the parameter sub-dialog of the module
// that was clicked.
#pragma once

#include <array>
#include <cstdint>

#include "sysblock/model/force_table_page.h"
#include "sysblock/model/modules/module_params.h"
#include "sysblock/model/modules/module_types.h"
#include "sysblock/ui/property_page.h"

class QTreeWidget;

namespace corvell {

class CPlcSubDlgControllerCls;

constexpr int kModuleListControl = 30501;
constexpr int kDeleteModuleCommand = 30503;
constexpr uint8_t kNoModule = 100;
constexpr size_t kMaxModuleListRecords = 8;

// One "Add" menu item: the model's type code and its command id offset.
struct AddModuleItem {
  uint8_t type;
  int command;
  bool analog;  // under "Analog Module", else under "Switch Module"
};
extern const std::array<AddModuleItem, 23> kAddModuleItems;

class CSystemBlockExtendDlg : public CPropertyPage {
 public:
  CSystemBlockExtendDlg(ModuleList& modules, ForceStateArray& forceStates, int language, QWidget* parent = nullptr);
  ~CSystemBlockExtendDlg() override;

  bool OnKillActive() override;

  // The list's rows from ModuleList.
  void RefreshModuleList();
  // A left click on the list: the highest selected row becomes the current module.
  void OnModuleListClick();
  // Menu "Add": appends a module of the type after committing the current one.
  void OnAddModule(uint8_t type);
  // Menu "Delete": removes the selected rows (never the controller's).
  void OnDeleteModule();
  // Rebuilds the current module's record from its sub-dialog and runs the analog limit
  // validation; false (with its message shown) when the validation refuses.
  bool CommitCurrentModule();
  // The current module's record into its sub-dialog.
  void LoadModuleRecord();

  QTreeWidget* List() const { return list_; }
  CPlcSubDlgControllerCls* ControllerSubDialog() const { return controller_; }
  // The sub-dialog of a type (0 the controller's).
  QWidget* SubDialog(int type) const { return subDialogs_[type]; }
  uint8_t CurrentModulePosition = 0;
  uint8_t CurrentModuleType = 0;
  ModuleParameterSet Parameters;

 protected:
  void OnInitDialog() override;

 private:
  void ShowSubDialog(int type);  // any other value hides them all
  void SelectRow(int row);
  void ShowContextMenu(const QPoint& globalPos);

  ModuleList& modules_;
  int language_;
  QTreeWidget* list_;
  CPlcSubDlgControllerCls* controller_;
  std::array<QWidget*, kMaxModuleType + 1> subDialogs_{};
};

}  // namespace corvell
