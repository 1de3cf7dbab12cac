#include "ui/views/project_tree/project_manager_pane.h"

#include <QApplication>

#include "ui/views/project_tree/project_manager_view.h"
#include "ui/views/project_tree/shared_image_lists.h"

namespace Brenno {

CProjectManagerPane::CProjectManagerPane(AppEnvironment& env, const QString& title, QWidget* parent,
                                         const SharedImageLists* images)
    : QDockWidget(title, parent) {
  setObjectName(QStringLiteral("ProjectManagerPane"));
  setWindowIcon(SharedImageLists::ProjectPaneIcon());
  view_ = new CProjectManagerView(env, images, this);
  setWidget(view_);
  setFocusProxy(view_);
}

void CProjectManagerPane::OnPaneRequest(uint16_t code, intptr_t value) { view_->HandleUpdate(code, value); }

bool CProjectManagerPane::IsTreeFocused() const {
  const QWidget* focus = QApplication::focusWidget();
  return focus != nullptr && (focus == view_ || view_->isAncestorOf(focus));
}

bool CProjectManagerPane::HasCommand(int command) const { return ProjectTreeCommands::Knows(command); }

bool CProjectManagerPane::IsCommandEnabled(int command) const { return view_->IsCommandEnabled(command); }

bool CProjectManagerPane::OnCommand(int command) { return view_->OnCommand(command); }

}  // namespace Brenno
