#include "trend/ui/xgraph.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vandrel {

namespace {

constexpr int kLeft = 64, kRight = 16, kTop = 14, kBottom = 32;

// Steps of 1, 2 or 5 times a power of ten giving about `wanted` intervals.
double NiceStep(double span, int wanted) {
  if (!(span > 0) || !std::isfinite(span)) return 1;
  const double raw = span / wanted;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  const double f = raw / power;
  return (f < 1.5 ? 1 : f < 3.5 ? 2 : f < 7.5 ? 5 : 10) * power;
}

QString TickText(double v, double step) {
  if (std::fabs(v) < step * 1e-9) v = 0;
  const int decimals = step >= 1 ? 0 : std::min(6, static_cast<int>(std::ceil(-std::log10(step))));
  return QString::number(v, 'f', decimals);
}

}  // namespace

CXGraph::CXGraph(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("XGraph"));
  setMouseTracking(false);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
  setMinimumSize(160, 120);
}

QColor CXGraph::SeriesColor(int index) {
  static const QColor colors[] = {QColor(0, 90, 200),  QColor(210, 40, 40), QColor(20, 150, 60), QColor(230, 130, 0),
                                  QColor(140, 60, 180), QColor(0, 160, 170), QColor(120, 90, 40), QColor(200, 60, 150)};
  return colors[index % 8];
}

void CXGraph::SetData(const tagDataPoint* points, long count, int series, int, int, bool) {
  if (series < 0) return;
  if (static_cast<size_t>(series) >= series_.size()) series_.resize(static_cast<size_t>(series) + 1);
  auto& s = series_[static_cast<size_t>(series)];
  s.assign(points, points + (points && count > 0 ? count : 0));
  update();
}

void CXGraph::SetCursorFlags(unsigned flags) {
  cursorFlags_ = flags;
  update();
}

void CXGraph::ResetAll() {
  series_.clear();
  zoom_.reset();
  cursorShown_ = false;
  update();
}

void CXGraph::SetOperation(int op) {
  dragging_ = false;
  if (operation_ != op) {
    operation_ = op;
    emit operationChanged(op);
  }
  setCursor(op == kOpPan ? Qt::OpenHandCursor : op == kOpZoom || op == kOpCursor ? Qt::CrossCursor : Qt::ArrowCursor);
  update();
}

void CXGraph::Zoom() { SetOperation(kOpZoom); }
void CXGraph::Cursor() { SetOperation(kOpCursor); }
void CXGraph::NoOp() { SetOperation(kOpNone); }
void CXGraph::Pan() { SetOperation(kOpPan); }

void CXGraph::ResetZoom() {
  zoom_.reset();
  SetOperation(kOpResetZoom);
}

std::vector<std::pair<int, QString>> CXGraph::MenuCommands() {
  return {{kCmdSelect, QStringLiteral("Select")},
          {kCmdZoom, QStringLiteral("Zoom")},
          {kCmdReset, QStringLiteral("Reset")},
          {kCmdPan, QStringLiteral("Pan")},
          {kCmdCursor, QStringLiteral("Cursor")}};
}

bool CXGraph::ExecuteCommand(int id) {
  switch (id) {
    case kCmdSelect: NoOp(); return true;
    case kCmdZoom: Zoom(); return true;
    case kCmdReset: ResetZoom(); return true;
    case kCmdPan: Pan(); return true;
    case kCmdCursor: Cursor(); return true;
    default: return false;
  }
}

QRectF CXGraph::DataRange() const {
  double x0 = std::numeric_limits<double>::max(), x1 = std::numeric_limits<double>::lowest();
  double y0 = x0, y1 = x1;
  for (const auto& s : series_)
    for (const auto& p : s) {
      if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
      x0 = std::min(x0, p.x);
      x1 = std::max(x1, p.x);
      y0 = std::min(y0, p.y);
      y1 = std::max(y1, p.y);
    }
  if (x0 > x1) return QRectF(0, 0, 100, 100);
  if (x1 - x0 < 1e-12) {
    x0 -= 1;
    x1 += 1;
  }
  if (y1 - y0 < 1e-12) {
    y0 -= 1;
    y1 += 1;
  }
  const double margin = (y1 - y0) * 0.05;
  return QRectF(x0, y0 - margin, x1 - x0, (y1 - y0) + 2 * margin);
}

QRectF CXGraph::ViewRange() const { return zoom_ ? *zoom_ : DataRange(); }

QRect CXGraph::PlotArea() const {
  return QRect(kLeft, kTop, std::max(10, width() - kLeft - kRight), std::max(10, height() - kTop - kBottom));
}

QPointF CXGraph::ToPixel(QPointF v) const {
  const QRectF r = ViewRange();
  const QRect a = PlotArea();
  return QPointF(a.left() + (v.x() - r.left()) / r.width() * a.width(),
                 a.bottom() - (v.y() - r.top()) / r.height() * a.height());
}

QPointF CXGraph::ToValue(QPointF px) const {
  const QRectF r = ViewRange();
  const QRect a = PlotArea();
  return QPointF(r.left() + (px.x() - a.left()) / a.width() * r.width(),
                 r.top() + (a.bottom() - px.y()) / a.height() * r.height());
}

tagDataPoint CXGraph::GetCursorAbsolute(int) const { return cursor_; }

tagDataPoint CXGraph::Snapped(tagDataPoint point) const {
  const tagDataPoint* best = nullptr;
  double bestDistance = std::numeric_limits<double>::max();
  const QPointF target = ToPixel(QPointF(point.x, point.y));
  for (const auto& s : series_)
    for (const auto& p : s) {
      const QPointF px = ToPixel(QPointF(p.x, p.y));
      const double d = std::hypot(px.x() - target.x(), px.y() - target.y());
      if (d < bestDistance) {
        bestDistance = d;
        best = &p;
      }
    }
  return best ? *best : point;
}

void CXGraph::SetCursorAbsolute(int, tagDataPoint point, bool force) {
  cursor_ = (snap_ && !force) ? Snapped(point) : point;
  cursorShown_ = true;
  update();
}

void CXGraph::MoveCursorToPixel(QPointF pixel) {
  const QPointF v = ToValue(pixel);
  SetCursorAbsolute(0, tagDataPoint{v.x(), v.y()}, false);
  emit cursorReported(this);
}

void CXGraph::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  dragStart_ = dragNow_ = event->position();
  dragRange_ = ViewRange();
  switch (operation_) {
    case kOpZoom:
    case kOpPan:
      dragging_ = true;
      if (operation_ == kOpPan) setCursor(Qt::ClosedHandCursor);
      break;
    case kOpCursor:
      dragging_ = true;
      MoveCursorToPixel(event->position());
      break;
    default:
      break;
  }
}

void CXGraph::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  dragNow_ = event->position();
  if (operation_ == kOpPan) {
    const QRect a = PlotArea();
    const double dx = (dragNow_.x() - dragStart_.x()) / a.width() * dragRange_.width();
    const double dy = (dragNow_.y() - dragStart_.y()) / a.height() * dragRange_.height();
    zoom_ = dragRange_.translated(-dx, dy);
  } else if (operation_ == kOpCursor) {
    MoveCursorToPixel(dragNow_);
  }
  update();
}

void CXGraph::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
  dragging_ = false;
  dragNow_ = event->position();
  if (operation_ == kOpZoom) {
    const QPointF a = ToValue(dragStart_), b = ToValue(dragNow_);
    // A click without a drag zooms in by two around the point.
    if (std::fabs(dragNow_.x() - dragStart_.x()) < 4 || std::fabs(dragNow_.y() - dragStart_.y()) < 4) {
      const QRectF r = ViewRange();
      zoom_ = QRectF(a.x() - r.width() / 4, a.y() - r.height() / 4, r.width() / 2, r.height() / 2);
    } else {
      zoom_ = QRectF(QPointF(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                     QPointF(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
    }
  } else if (operation_ == kOpPan) {
    setCursor(Qt::OpenHandCursor);
  }
  update();
}

void CXGraph::wheelEvent(QWheelEvent* event) {
  if (operation_ != kOpZoom && operation_ != kOpPan) return QWidget::wheelEvent(event);
  const double factor = event->angleDelta().y() > 0 ? 0.8 : 1.25;
  const QPointF c = ToValue(event->position());
  const QRectF r = ViewRange();
  zoom_ = QRectF(c.x() - (c.x() - r.left()) * factor, c.y() - (c.y() - r.top()) * factor, r.width() * factor,
                 r.height() * factor);
  update();
}

void CXGraph::contextMenuEvent(QContextMenuEvent* event) { emit contextMenuRequested(this, event->globalPos()); }

void CXGraph::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, false);
  const QRect area = PlotArea();
  const QRectF range = ViewRange();

  // Grid and axis labels.
  const double xStep = NiceStep(range.width(), std::max(2, area.width() / 80));
  const double yStep = NiceStep(range.height(), std::max(2, area.height() / 40));
  p.setFont(font());
  const QFontMetrics fm(font());
  QPen gridPen(QColor(225, 225, 225));
  gridPen.setStyle(Qt::DotLine);
  for (double x = std::ceil(range.left() / xStep) * xStep; x <= range.right() + xStep * 1e-9; x += xStep) {
    const double px = ToPixel(QPointF(x, 0)).x();
    p.setPen(gridPen);
    p.drawLine(QPointF(px, area.top()), QPointF(px, area.bottom()));
    p.setPen(Qt::black);
    const QString t = TickText(x, xStep);
    p.drawText(QPointF(px - fm.horizontalAdvance(t) / 2.0, area.bottom() + fm.ascent() + 4), t);
  }
  for (double y = std::ceil(range.top() / yStep) * yStep; y <= range.bottom() + yStep * 1e-9; y += yStep) {
    const double py = ToPixel(QPointF(0, y)).y();
    p.setPen(gridPen);
    p.drawLine(QPointF(area.left(), py), QPointF(area.right(), py));
    p.setPen(Qt::black);
    const QString t = TickText(y, yStep);
    p.drawText(QPointF(area.left() - fm.horizontalAdvance(t) - 5, py + fm.ascent() / 2.0 - 1), t);
  }
  p.setPen(QPen(Qt::black, 1));
  p.drawRect(area);

  // Curves.
  p.save();
  p.setClipRect(area.adjusted(1, 1, 0, 0));
  p.setRenderHint(QPainter::Antialiasing, true);
  for (size_t s = 0; s < series_.size(); ++s) {
    const auto& points = series_[s];
    if (points.empty()) continue;
    QPainterPath path;
    bool started = false;
    for (const auto& pt : points) {
      if (!std::isfinite(pt.x) || !std::isfinite(pt.y)) {
        started = false;
        continue;
      }
      // Keep far-off values within painter coordinates.
      QPointF px = ToPixel(QPointF(pt.x, pt.y));
      px.setY(std::clamp(px.y(), -1e6, 1e6));
      px.setX(std::clamp(px.x(), -1e6, 1e6));
      if (!started) path.moveTo(px);
      else path.lineTo(px);
      started = true;
    }
    p.setPen(QPen(SeriesColor(static_cast<int>(s)), 1.5));
    p.drawPath(path);
  }
  p.restore();

  // Zoom rectangle while dragging.
  if (dragging_ && operation_ == kOpZoom) {
    p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    p.drawRect(QRectF(dragStart_, dragNow_).normalized());
  }

  // Cursor and readout.
  if (cursorShown_) {
    const QPointF c = ToPixel(QPointF(cursor_.x, cursor_.y));
    p.setPen(QPen(QColor(90, 90, 90), 1));
    if ((cursorFlags_ & kCursorVertical) && c.x() >= area.left() && c.x() <= area.right())
      p.drawLine(QPointF(c.x(), area.top()), QPointF(c.x(), area.bottom()));
    if ((cursorFlags_ & kCursorHorizontal) && c.y() >= area.top() && c.y() <= area.bottom())
      p.drawLine(QPointF(area.left(), c.y()), QPointF(area.right(), c.y()));
    if (cursorFlags_ & kCursorReadout) {
      const QString text = QStringLiteral("x = %1   y = %2").arg(cursor_.x, 0, 'g', 8).arg(cursor_.y, 0, 'f', 4);
      const QRect box(area.left() + 6, area.top() + 6, fm.horizontalAdvance(text) + 12, fm.height() + 6);
      p.fillRect(box, QColor(255, 255, 225));
      p.drawRect(box);
      p.drawText(box, Qt::AlignCenter, text);
    }
  }
}

}  // namespace vandrel
