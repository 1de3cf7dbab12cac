// The chart control of the trend viewer: data series drawn as curves over axes and a grid,
// with its own mouse operations (zoom, pan, cursor) and a cursor readout.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

#include "trend/config/trend_config.h"

namespace vandrel {

class CXGraph : public QWidget {
  Q_OBJECT

 public:
  // Mouse operations, as GetOperation reports them.
  enum Operation { kOpZoom = 1, kOpResetZoom = 2, kOpPan = 3, kOpCursor = 4, kOpNone = 5 };
  // Cursor flags: which parts of the cursor are drawn.
  enum CursorFlag : unsigned { kCursorVertical = 0x02, kCursorHorizontal = 0x04, kCursorReadout = 0x08 };
  // Commands of the context menu (the ones this chart carries out).
  enum MenuCommand { kCmdSelect = 40000, kCmdZoom = 40002, kCmdReset = 40003, kCmdPan = 40004, kCmdCursor = 40011 };

  explicit CXGraph(QWidget* parent = nullptr);

  // Series `series` shows a copy of the points (earlier series that do not exist yet are
  // made empty). Only one pair of axes exists; the axis numbers are accepted for form.
  void SetData(const tagDataPoint* points, long count, int series, int xAxis = 0, int yAxis = 0,
               bool permanent = false);
  void SetCursorFlags(unsigned flags);
  unsigned CursorFlags() const { return cursorFlags_; }
  // Nonzero: the cursor snaps to the nearest data point.
  void ForceSnap(int snap) { snap_ = snap != 0; }
  bool Snaps() const { return snap_; }
  // Removes every series and the zoom.
  void ResetAll();

  void Zoom();
  void ResetZoom();
  void Cursor();
  void NoOp();
  void Pan();
  int GetOperation() const { return operation_; }

  tagDataPoint GetCursorAbsolute(int cursor = 0) const;
  // Moves the cursor to a point (snapped when snapping is on, unless forced) and shows it.
  void SetCursorAbsolute(int cursor, tagDataPoint point, bool force);
  bool HasCursor() const { return cursorShown_; }

  int SeriesCount() const { return static_cast<int>(series_.size()); }
  const std::vector<tagDataPoint>& Series(int index) const { return series_.at(static_cast<size_t>(index)); }

  // The part of the data plane shown: x from left() to right(), y from top() (lowest) to
  // bottom() (highest).
  QRectF ViewRange() const;
  // The plot area in widget pixels.
  QRect PlotArea() const;
  QPointF ToPixel(QPointF value) const;
  QPointF ToValue(QPointF pixel) const;

  // Commands of the context menu this chart offers, with their texts, in menu order.
  static std::vector<std::pair<int, QString>> MenuCommands();
  // Carries out one; false for a command it does not have.
  bool ExecuteCommand(int id);

  static QColor SeriesColor(int index);

 signals:
  // The chart asks its parent for its context menu at a screen position.
  void contextMenuRequested(vandrel::CXGraph* chart, QPoint globalPos);
  // The chart's cursor moved.
  void cursorReported(vandrel::CXGraph* chart);
  void operationChanged(int operation);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void SetOperation(int op);
  QRectF DataRange() const;
  void MoveCursorToPixel(QPointF pixel);
  tagDataPoint Snapped(tagDataPoint point) const;

  std::vector<std::vector<tagDataPoint>> series_;
  std::optional<QRectF> zoom_;
  int operation_ = kOpNone;
  unsigned cursorFlags_ = 0;
  bool snap_ = false;
  bool cursorShown_ = false;
  tagDataPoint cursor_{};
  // Mouse drag in progress.
  bool dragging_ = false;
  QPointF dragStart_;
  QPointF dragNow_;
  QRectF dragRange_;
};

}  // namespace vandrel
