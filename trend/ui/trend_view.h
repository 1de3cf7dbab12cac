// The chart window: holds the settings and the curve list, the chart control and the poll
// thread, and carries out the viewer's commands.
#pragma once

#include <QWidget>

#include <memory>
#include <string>

#include "trend/config/trend_config.h"
#include "trend/poll/trend_poller.h"
#include "trend/ui/xgraph.h"

namespace vandrel {

// Command ids of the menu, toolbar and status bar.
enum TrendCommand {
  ID_COMM_CONFIG = 32771,
  ID_CURVE_CONFIG = 32772,
  ID_REFRESH = 32773,
  ID_CHART_ZOOM = 32775,
  ID_CHART_RESET_ZOOM = 32776,
  ID_CHART_CURSOR = 32777,
  ID_CHART_NOOP = 32778,
  ID_CHART_PAN = 32779,
  ID_TRACE = 32780,
  ID_LINK_PANE = 61204,
  ID_APP_ABOUT = 57664,
};

class CTrendView : public QWidget {
  Q_OBJECT

 public:
  // The link made for the settings; tests may replace it.
  CTrendView(std::wstring confFile, std::wstring traceBase, QWidget* parent = nullptr,
             TrendPoller::LinkFactory linkFactory = &TrendPoller::MakeLink);
  ~CTrendView() override;

  void LoadTrendConfig();
  bool SaveTrendConfig();
  void StartPollThread();
  void StopPollThread();
  void WriteTraceLine(const std::wstring& text);

  // Commands. Returns false for an id the view does not handle.
  bool OnCommand(int id);
  // Whether the command's button is marked (checked).
  bool IsCommandChecked(int id) const;
  void OnCommConfig();
  void OnCurveConfig();

  // "已连接" while the link exists and is open, "未连接" while it is closed, empty before.
  QString LinkStatusText() const;

  CXGraph* Chart() const { return chart_; }
  CurveList& Curves() { return curves_; }
  const TrendSettings& Settings() const { return settings_; }
  TrendPoller& Poller() { return *poller_; }
  bool Busy() const { return busy_; }

  // The chart asks for its context menu / a chart reports its cursor.
  void OnChartContextMenu(CXGraph* chart, QPoint globalPos);
  void OnChartCursor(CXGraph* chart);

 signals:
  void dataReady();
  void busyChanged(bool busy);

 public slots:
  // TrendDataReadyMessage: hand every curve's points to the chart.
  void OnTrendDataReady();
  // TrendBusyMessage.
  void OnTrendBusy(bool busy);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Hands the poll thread copies of the settings and of the curve definitions.
  void PublishToPoller();

  std::wstring confFile_;
  TrendSettings settings_;
  CurveList curves_;
  CXGraph* chart_;
  std::unique_ptr<TrendPoller> poller_;
  bool busy_ = false;
};

}  // namespace vandrel
