// The docking pane of the status chart: one tab per working page of the current project's chart,
// each a CStatusChartView. Its PaneUpdate codes (groups 0x81 and 0x82) arrive through the main
// frame: 0x8200 rebuilds the tabs (surviving views are kept with their focus and selection),
// 0x8201 retitles them, 0x8202 selects the page whose key is the value; every code then goes on
// to the active view (0x8100 rebuild rows, 0x8101 redraw, 0x8102 online redraw).
//
// The main frame offers a command to the pane first when IsActivePageFocused() and then calls
// OnCmdMsg(offset) (and IsCommandEnabled(offset) for the enabled state).
#pragma once

#include <QDockWidget>

#include <cstdint>

#include "ui/shell/update_router.h"

class QTabWidget;

namespace Brenno {

class CStatusChartView;

class CStatusChartPane : public QDockWidget, public PaneRequestReceiver {
  Q_OBJECT
 public:
  // Builds the tabs from the current project and selects the page with the smallest key.
  CStatusChartPane(const QString& title, QWidget* parent);
  ~CStatusChartPane() override;

  void OnPaneRequest(uint16_t code, intptr_t value) override;

  // The view of the active tab; null when there is no tab.
  CStatusChartView* ActiveView() const;
  CStatusChartView* ViewOfKey(int key) const;
  int TabCount() const;
  QTabWidget* Tabs() const { return tabs_; }

  // True when there is an active view and the keyboard focus is on it or its in-place editors.
  bool IsActivePageFocused() const;
  // Offers the command to the active view while its grid has the focus; false when nobody took
  // it.
  bool OnCmdMsg(int offset);
  bool IsCommandEnabled(int offset);

  void RebuildTabs();
  void RetitleTabs();
  void SelectPageKey(int key);

 protected:
  void focusInEvent(QFocusEvent* event) override;

 private:
  void OnActiveTabChanged(int index);

  QTabWidget* tabs_;
  bool rebuilding_ = false;
};

}  // namespace Brenno
