// What every table view of the editor views shares on top of CExtendListCtrl: rows are drawn only
// while no job that opened the port from the offline state runs (it may be replacing the project
// the rows come from), cells are edited only in the editing states, and one group and one line
// per record unless the view says otherwise.
#pragma once

#include "ui/widgets/extend_list_ctrl.h"

namespace Brenno {

class CTableViewCtrl : public CExtendListCtrl {
  Q_OBJECT
 public:
  explicit CTableViewCtrl(QWidget* parent = nullptr);

  // Rows are drawn in every communication state except CommOpeningCommand, CommCommand and
  // CommLeavingCommand.
  static bool DrawsRows(int commState);
  // The editing states: CommOffline, CommOpeningOnline, CommOnline, CommLeavingOnline.
  static bool IsEditingState(int commState);

  // The communication state now: the installed environment's, offline when none is installed.
  virtual int CommStateNow() const;
  bool DrawsRowsNow() const { return DrawsRows(CommStateNow()); }
  bool IsEditingStateNow() const { return IsEditingState(CommStateNow()); }

  int GetGroupCount() override { return 1; }
  int GetLinesPerRecord() override { return 1; }
  // Draws the row through CExtendListCtrl::DrawItem only when DrawsRowsNow().
  void DrawItem(QPainter& painter, int item) override;
};

}  // namespace Brenno
