#include "trend/ui/trend_view.h"

#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QResizeEvent>

#include "trend/config/dialog_checks.h"
#include "trend/ui/comm_set_dlg.h"
#include "trend/ui/curve_list_dlg.h"

namespace vandrel {

CTrendView::CTrendView(std::wstring confFile, std::wstring traceBase, QWidget* parent,
                       TrendPoller::LinkFactory linkFactory)
    : QWidget(parent), confFile_(std::move(confFile)), poller_(std::make_unique<TrendPoller>(std::move(linkFactory))) {
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  setCursor(Qt::ArrowCursor);
  poller_->Log().SetBase(traceBase);

  LoadTrendConfig();
  chart_ = new CXGraph(this);
  chart_->setGeometry(rect());
  chart_->show();
  chart_->SetData(nullptr, 0, 0, 0, 0, false);
  chart_->SetCursorFlags(14);
  chart_->ForceSnap(0);
  connect(chart_, &CXGraph::contextMenuRequested, this, &CTrendView::OnChartContextMenu);
  connect(chart_, &CXGraph::cursorReported, this, &CTrendView::OnChartCursor);
  OnTrendDataReady();

  // The poll thread reaches the window only through posted calls, so a stop request never
  // waits for the window.
  QPointer<CTrendView> self(this);
  poller_->SetBusyHandler([self](bool on) {
    QMetaObject::invokeMethod(
        qApp, [self, on] { if (self) self->OnTrendBusy(on); }, Qt::QueuedConnection);
  });
  poller_->SetDataReadyHandler([self] {
    QMetaObject::invokeMethod(
        qApp, [self] { if (self) self->OnTrendDataReady(); }, Qt::QueuedConnection);
  });
  StartPollThread();
}

CTrendView::~CTrendView() {
  StopPollThread();
  if (busy_) OnTrendBusy(false);
  chart_->ResetAll();
  curves_.clear();
}

void CTrendView::LoadTrendConfig() {
  vandrel::LoadTrendConfig(confFile_, settings_, curves_);
  PublishToPoller();
}

bool CTrendView::SaveTrendConfig() { return vandrel::SaveTrendConfig(confFile_, curves_); }

void CTrendView::PublishToPoller() {
  poller_->SetSettings(settings_);
  poller_->SetCurves(curves_);
}

void CTrendView::StartPollThread() { poller_->StartPollThread(); }

void CTrendView::StopPollThread() { poller_->StopPollThread(); }

void CTrendView::WriteTraceLine(const std::wstring& text) { poller_->Log().WriteTraceLine(text); }

void CTrendView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (chart_ && chart_->isVisibleTo(this)) chart_->setGeometry(rect());
}

void CTrendView::OnTrendDataReady() {
  const auto points = poller_->CurvePoints();
  for (size_t i = 0; i < curves_.size(); ++i) {
    TrendCurve& curve = *curves_[i];
    if (i < points.size()) {
      const size_t n = std::min(points[i].size(), curve.Points.size());
      std::copy(points[i].begin(), points[i].begin() + static_cast<long>(n), curve.Points.begin());
    }
    chart_->SetData(curve.Points.data(), std::clamp(curve.Count, 0, kCurvePointSlots), static_cast<int>(i), 0, 0,
                    false);
  }
  chart_->update();
  emit dataReady();
}

void CTrendView::OnTrendBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
  emit busyChanged(busy);
}

bool CTrendView::OnCommand(int id) {
  switch (id) {
    case ID_COMM_CONFIG: OnCommConfig(); return true;
    case ID_CURVE_CONFIG: OnCurveConfig(); return true;
    case ID_REFRESH: poller_->RequestPoll(); return true;
    case ID_CHART_ZOOM: chart_->Zoom(); return true;
    case ID_CHART_RESET_ZOOM: chart_->ResetZoom(); return true;
    case ID_CHART_CURSOR: chart_->Cursor(); return true;
    case ID_CHART_NOOP: chart_->NoOp(); return true;
    case ID_CHART_PAN: chart_->Pan(); return true;
    case ID_TRACE: poller_->SetTrace(!poller_->Trace()); return true;
    default: return false;
  }
}

bool CTrendView::IsCommandChecked(int id) const {
  const int op = chart_->GetOperation();
  switch (id) {
    case ID_CHART_ZOOM: return op == CXGraph::kOpZoom;
    case ID_CHART_RESET_ZOOM: return op == CXGraph::kOpResetZoom;
    case ID_CHART_CURSOR: return op == CXGraph::kOpCursor;
    case ID_CHART_NOOP: return op == CXGraph::kOpNone;
    case ID_CHART_PAN: return op == CXGraph::kOpPan;
    case ID_TRACE: return poller_->Trace();
    default: return false;
  }
}

void CTrendView::OnCommConfig() {
  CCommSetDlg dlg(this);
  dlg.SetFields(CommSetFieldsFrom(settings_));
  if (dlg.exec() != QDialog::Accepted) return;
  settings_ = CommSettingsFrom(dlg.Fields(), settings_);
  SaveCommSettings(confFile_, settings_);
  poller_->SetSettings(settings_);
  poller_->MarkLinkKindNone();
}

void CTrendView::OnCurveConfig() {
  CCurveListDlg dlg(curves_, this);
  const bool save = dlg.exec() == QDialog::Accepted;
  if (save) {
    StopPollThread();
    chart_->ResetAll();
    SaveTrendConfig();
    PublishToPoller();
    StartPollThread();
  } else {
    // The edits stay in the list; the next Refresh polls them.
    PublishToPoller();
  }
}

QString CTrendView::LinkStatusText() const {
  switch (poller_->LinkStatus()) {
    case 1: return QStringLiteral("已连接");
    case 0: return QStringLiteral("未连接");
    default: return QString();
  }
}

void CTrendView::OnChartContextMenu(CXGraph* chart, QPoint globalPos) {
  QMenu menu(chart);
  for (const auto& [id, text] : CXGraph::MenuCommands()) {
    QAction* action = menu.addAction(text);
    action->setData(id);
  }
  if (QAction* chosen = menu.exec(globalPos)) chart->ExecuteCommand(chosen->data().toInt());
}

void CTrendView::OnChartCursor(CXGraph* chart) {
  if (!chart || chart == chart_) return;
  chart_->Cursor();
  chart_->SetCursorAbsolute(0, chart->GetCursorAbsolute(0), true);
  chart_->update();
}

}  // namespace vandrel
