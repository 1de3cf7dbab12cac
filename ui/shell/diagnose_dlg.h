// The diagnosis window: a modeless dialog that shows the PLC's own diagnosis (controller versions,
// program area use, reset count and run time, and for each of the seven extension module
// positions its model, configuration status, calibration switch, link state, versions and
// counters) in a two-column property tree. It never talks to the PLC: on every monitor tick it
// formats the record that the online monitor keeps (ReadDiagnosisData) and puts the texts into
// its rows. Its codes (group 0x92) arrive through the main frame once the window exists.
#pragma once

#include <QDialog>

#include <array>

#include "core/link/online_monitor.h"
#include "ui/shell/diagnosis_texts.h"
#include "ui/shell/update_router.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace Brenno {

class CDiagnoseDlg : public QDialog, public PaneRequestReceiver {
  Q_OBJECT
 public:
  // Builds the window with every row empty; the caller shows it (ShowAtDefaultPlace).
  explicit CDiagnoseDlg(QWidget* parent = nullptr);

  // UpdDiagnoseRefresh: the monitor's current record into the rows (Refresh). UpdDiagnoseHide:
  // hides the window; object, window and rows stay. Other codes do nothing.
  void OnPaneRequest(uint16_t code, intptr_t value) override;
  // The record formatted into the rows: the controller's five always; a module position with a
  // type code of 0 has its group collapsed and its rows left as they are, any other has its
  // eight rows set. A group is never expanded here.
  void Refresh(const DiagnosisData& data);
  // The place the Diagnose Information command gives the window: (400, 150), 440 x 530 pixels,
  // shown and brought to the front.
  void ShowAtDefaultPlace();

  QTreeWidget* Grid() const { return grid_; }
  QTreeWidgetItem* ControllerGroup() const { return controllerGroup_; }
  QTreeWidgetItem* ModulesGroup() const { return modulesGroup_; }
  // Module position 1 to 7; null outside.
  QTreeWidgetItem* ModuleGroup(int module) const;
  QPushButton* OkButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }

 private:
  void ShowDescription(QTreeWidgetItem* item);
  void EditValue(QTreeWidgetItem* item, int column);

  QTreeWidget* grid_ = nullptr;
  QLabel* description_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QTreeWidgetItem* controllerGroup_ = nullptr;
  QTreeWidgetItem* modulesGroup_ = nullptr;
  std::array<QTreeWidgetItem*, kDiagnosisModuleCount> moduleGroups_{};
};

}  // namespace Brenno
