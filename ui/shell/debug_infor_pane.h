// The debug information pane: a docking pane whose view shows, while the workbench is online,
// where the PLC program stands and the state of its stacks (debug_infor_painter.h). The view
// keeps no values: every paint reads the current project's online cache again. Its codes (group
// 0x85) arrive through the main frame.
#pragma once

#include <QAbstractScrollArea>
#include <QDockWidget>

#include "ui/shell/update_router.h"

namespace Brenno {

class AppEnvironment;

// The table on a scrolling surface of 450 x 125 pixels, 10 pixels per line step; scroll bars
// appear when the pane is smaller than that.
class CDebugInforView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  CDebugInforView(AppEnvironment& env, QWidget* parent = nullptr);

  // UpdDebugRedraw: repainted at once. UpdDebugOnline: the current project's cache's request
  // flag set around one immediate repaint, so that the monitor keeps reading the debug record
  // while it is shown. Other codes do nothing.
  void HandleUpdate(uint16_t code, intptr_t value);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void UpdateScrollBars();

  AppEnvironment& env_;
};

class CDebugInforPane : public QDockWidget, public PaneRequestReceiver {
  Q_OBJECT
 public:
  CDebugInforPane(AppEnvironment& env, const QString& title, QWidget* parent);
  CDebugInforView* View() const { return view_; }
  void OnPaneRequest(uint16_t code, intptr_t value) override { view_->HandleUpdate(code, value); }

 private:
  CDebugInforView* view_;
};

}  // namespace Brenno
