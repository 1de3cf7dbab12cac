#include "ui/shell/debug_infor_pane.h"

#include <QPainter>
#include <QScrollBar>

#include "core/link/app_environment.h"
#include "core/program/online_cache.h"
#include "core/project/project.h"
#include "ui/shell/debug_infor_painter.h"
#include "ui/shell/notify_codes.h"
#include "ui/widgets/qt_draw_context.h"

namespace Brenno {

namespace {

uint32_t NonNegative(int value) { return value < 0 ? 0u : static_cast<uint32_t>(value); }

}  // namespace

CDebugInforView::CDebugInforView(AppEnvironment& env, QWidget* parent) : QAbstractScrollArea(parent), env_(env) {
  setObjectName(QStringLiteral("DebugInforView"));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  // The paint covers the whole area: nothing to erase first.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAutoFillBackground(false);
  UpdateScrollBars();
}

void CDebugInforView::HandleUpdate(uint16_t code, intptr_t) {
  if (code == UpdDebugRedraw) {
    viewport()->repaint();
  } else if (code == UpdDebugOnline) {
    // While a job started offline may be replacing the project, the pane only shows grey.
    Project* project = IsOfflineCommandState(env_.CommState.load()) || env_.ProjectList.empty()
                           ? nullptr
                           : &env_.ProjectList.back();
    if (project != nullptr) project->Online.SetRequestFlag(true);
    viewport()->repaint();
    if (project != nullptr) project->Online.SetRequestFlag(false);
  }
}

void CDebugInforView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const QRect client = viewport()->rect();
  const int state = env_.CommState.load();
  if (IsOfflineCommandState(state) || env_.ProjectList.empty()) {
    painter.fillRect(client, palette().color(QPalette::Button));
    return;
  }
  Project& project = env_.ProjectList.back();
  OnlineCacheSnapshot snapshot =
      project.Online.TakeSnapshot(IsOnlineCommState(state), OnlineTickCount(), NonNegative(env_.Config.LinkTimeUpdateError),
                                  NonNegative(env_.Config.LinkTimeUpdateMark), nullptr, 0);
  const int x = horizontalScrollBar()->value();
  const int y = verticalScrollBar()->value();
  {
    QtDrawContext dc(painter);
    PaintDebugInformation(Rect{x, y, client.width() + x, client.height() + y}, state, snapshot, dc);
  }
  project.Online.StampRequests(snapshot);
}

void CDebugInforView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void CDebugInforView::scrollContentsBy(int, int) { viewport()->update(); }

void CDebugInforView::UpdateScrollBars() {
  const QSize area = viewport()->size();
  QScrollBar* h = horizontalScrollBar();
  h->setRange(0, std::max(0, kDebugContentWidth - area.width()));
  h->setSingleStep(kDebugLineStep);
  h->setPageStep(std::max(1, area.width()));
  QScrollBar* v = verticalScrollBar();
  v->setRange(0, std::max(0, kDebugContentHeight - area.height()));
  v->setSingleStep(kDebugLineStep);
  v->setPageStep(std::max(1, area.height()));
}

CDebugInforPane::CDebugInforPane(AppEnvironment& env, const QString& title, QWidget* parent) : QDockWidget(title, parent) {
  view_ = new CDebugInforView(env, this);
  setWidget(view_);
  setFocusProxy(view_);
}

}  // namespace Brenno
