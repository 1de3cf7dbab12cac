// The information output pane: a docking pane holding a list of output lines that grows at the
// end, is cleared as a whole and can have its last line replaced (a running operation's status
// line). Its codes (group 0x84) arrive through the main frame.
#pragma once

#include <QDockWidget>
#include <QListWidget>

#include "ui/shell/update_router.h"

namespace Brenno {

class CInforOutputView : public QListWidget {
  Q_OBJECT
 public:
  explicit CInforOutputView(QWidget* parent = nullptr);
  // UpdOutputClear, UpdOutputAppend and UpdOutputReplaceLast (value: a zero-ended wide text);
  // other codes do nothing. The newest line is scrolled into view.
  void HandleUpdate(uint16_t code, intptr_t value);
};

class CInforOutputPane : public QDockWidget, public PaneRequestReceiver {
  Q_OBJECT
 public:
  CInforOutputPane(const QString& title, QWidget* parent);
  CInforOutputView* View() { return view_; }
  void OnPaneRequest(uint16_t code, intptr_t value) override { view_->HandleUpdate(code, value); }

 private:
  CInforOutputView* view_;
};

}  // namespace Brenno
