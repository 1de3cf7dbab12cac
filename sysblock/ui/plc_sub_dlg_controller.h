// The controller's parameter sub-dialog on the "System module" page: the force states of its
// digital inputs (and, in the page's data, of 64 points in all).
#pragma once

#include <QWidget>
#include <array>

#include "sysblock/model/force_table_page.h"

class QCheckBox;

namespace corvell {

constexpr int kForceCheckBoxFirstControl = 30401;  // 64 boxes: I0.0-I3.7, then Q0.0-Q3.7
constexpr int kControllerGroupControl = 30740;

class CPlcSubDlgControllerCls : public QWidget {
 public:
  CPlcSubDlgControllerCls(ForceStateArray& forceStates, int language, QWidget* parent = nullptr);

  // Boxes from the states.
  void ControlsFromStates();
  // States from the boxes.
  void StatesFromControls();
  // Button "Default": nothing forced.
  void OnDefault();

  QCheckBox* Box(int point) const { return boxes_[point]; }

 private:
  ForceStateArray& states_;
  std::array<QCheckBox*, kForcePointCount> boxes_{};
};

}  // namespace corvell
