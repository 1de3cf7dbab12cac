// The project manager pane: the docking pane of the main frame that holds the project tree. It
// hands the tree's update codes (group 0x83) on to the tree, passes the focus to it and offers
// the tree the commands while the keyboard focus is in it.
#pragma once

#include <QDockWidget>

#include "ui/shell/update_router.h"

namespace Brenno {

class AppEnvironment;
class CProjectManagerView;
class SharedImageLists;

class CProjectManagerPane : public QDockWidget, public PaneRequestReceiver {
  Q_OBJECT
 public:
  // The image lists are the main frame's (borrowed; null: the tree draws its own).
  CProjectManagerPane(AppEnvironment& env, const QString& title, QWidget* parent,
                      const SharedImageLists* images = nullptr);

  CProjectManagerView* View() const { return view_; }

  // The update codes of the tree, passed on unchanged.
  void OnPaneRequest(uint16_t code, intptr_t value) override;

  // Whether the keyboard focus is on the tree (or in its label editor).
  bool IsTreeFocused() const;
  // Command routing while the tree has the focus: whether the tree has the command (id relative
  // to the command base) and whether it is enabled now; running it. OnCommand is false for a
  // command the tree does not have, which then goes on to the frame's other receivers.
  bool HasCommand(int command) const;
  bool IsCommandEnabled(int command) const;
  bool OnCommand(int command);

 private:
  CProjectManagerView* view_ = nullptr;
};

}  // namespace Brenno
