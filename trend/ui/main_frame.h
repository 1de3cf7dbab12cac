// The viewer's main window: menu, toolbar, status bar and the chart window.
#pragma once

#include <QDialog>
#include <QMainWindow>

#include <map>

#include "trend/ui/trend_view.h"

class QLabel;
class QTimer;

namespace vandrel {

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  CMainFrame(std::wstring confFile, std::wstring traceBase, QWidget* parent = nullptr,
             TrendPoller::LinkFactory linkFactory = &TrendPoller::MakeLink);

  CTrendView* View() const { return view_; }
  QAction* Action(int id) const;
  QLabel* LinkPane() const { return linkPane_; }
  // Routes a command to the chart window first, then to the frame.
  void OnCommand(int id);
  // Brings the marks of the buttons and the link pane up to date.
  void UpdateCommandUi();
  void ShowAbout();

 private:
  QAction* AddCommand(QMenu* menu, int id, const QString& text, const QString& prompt = QString());

  CTrendView* view_;
  std::map<int, QAction*> actions_;
  QLabel* linkPane_;
  QTimer* uiTimer_;
};

// The about box "关于 Vandrel".
class CAboutDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

// The application icon and the pictures of the toolbar buttons, drawn here.
QIcon TrendAppIcon();
QIcon TrendToolIcon(int id);

}  // namespace vandrel
