#include "ui/widgets/table_view_ctrl.h"

#include "core/link/app_environment.h"
#include "core/link/comm_state.h"
#include "core/project/project.h"

namespace Brenno {

CTableViewCtrl::CTableViewCtrl(QWidget* parent) : CExtendListCtrl(parent) {}

bool CTableViewCtrl::DrawsRows(int commState) { return ShowsProject(commState); }

bool CTableViewCtrl::IsEditingState(int commState) {
  return commState == CommOffline || commState == CommOpeningOnline || commState == CommOnline ||
         commState == CommLeavingOnline;
}

int CTableViewCtrl::CommStateNow() const {
  const AppEnvironment* env = InstalledAppEnvironment();
  return env != nullptr ? env->CommState.load() : CommOffline;
}

void CTableViewCtrl::DrawItem(QPainter& painter, int item) {
  if (DrawsRowsNow()) CExtendListCtrl::DrawItem(painter, item);
}

}  // namespace Brenno
