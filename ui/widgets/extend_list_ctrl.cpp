#include "ui/widgets/extend_list_ctrl.h"

#include <utility>

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTimer>
#include <QWheelEvent>
#include <qdrawutil.h>

#include <algorithm>
#include <cwctype>

#include "core/draw/draw_context.h"
#include "core/project/message_box.h"
#include "ui/widgets/qt_draw_context.h"

namespace Brenno {

namespace {

// One line of text in the rectangle with the format's alignment, ending in an ellipsis when it
// does not fit and the format asks for it; nothing is drawn outside the rectangle.
void DrawCellText(QPainter& painter, const Rect& r, const ListCellInfo& info, const QFont& font,
                  const QColor& colour) {
  QString text = QString::fromWCharArray(info.text, info.textLength);
  text.replace(QLatin1Char('\t'), QLatin1String("    "));
  text.replace(QLatin1Char('\r'), QLatin1Char(' '));
  text.replace(QLatin1Char('\n'), QLatin1Char(' '));
  const QRect rect = ToQRect(r);
  const QFontMetrics metrics(font);
  if (info.format & kTextEndEllipsis) text = metrics.elidedText(text, Qt::ElideRight, rect.width());
  painter.save();
  painter.setClipRect(rect, Qt::IntersectClip);
  painter.setFont(font);
  painter.setPen(colour.isValid() ? colour : QColor(Qt::black));
  painter.drawText(rect, QtAlignment(info.format) | Qt::TextSingleLine, text);
  painter.restore();
}

bool HasText(const ListCellInfo& info) { return info.text != nullptr && info.textLength > 0; }

}  // namespace

CExtendListCtrl::CExtendListCtrl(QWidget* parent) : QAbstractScrollArea(parent) {
  setFrameShape(QFrame::StyledPanel);
  setFocusPolicy(Qt::StrongFocus);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setAutoFillBackground(false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setMouseTracking(true);
  edit_.Create(viewport(), kInplaceEditId);
  edit_.SetNotifyOwner(this);
  list_.Create(viewport(), kInplaceListId);
  list_.SetNotifyOwner(this);
  // Scrolling with the bars first takes the focus, which makes an open editor commit.
  for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
    connect(bar, &QAbstractSlider::actionTriggered, this, [this](int) { setFocus(Qt::OtherFocusReason); });
  }
}

CExtendListCtrl::~CExtendListCtrl() = default;

bool CExtendListCtrl::Create(QWidget* parent, int controlId) {
  if (created_) return false;
  if (parent != nullptr) setParent(parent);
  controlId_ = controlId;
  background_ = GetCellColor(-1, -1, -1, -1, CellPartControl + CellModeNormal);
  RebuildColumns();
  itemCount_ = Shape().ItemCount();
  created_ = true;
  UpdateScrollRanges();
  viewport()->update();
  return true;
}

// ---- defaults of the virtual operations ----

QColor CExtendListCtrl::GetCellColor(int, int, int, int, int state) {
  const QPalette& p = palette();
  switch (state) {
    case 17:
    case 33: return p.color(QPalette::WindowText);
    case 18:
    case 24:
    case 40:
    case 66:
    case 72: return p.color(QPalette::Button);
    case 20:
    case 36: return p.color(QPalette::Base);
    case 34: return p.color(QPalette::Shadow);
    case 65: return p.color(QPalette::HighlightedText);
    case 68: return p.color(QPalette::Highlight);
    default: return QColor();
  }
}

QBrush CExtendListCtrl::GetCellBrush(int record, int group, int line, int column, int state) {
  switch (state) {
    case 18:
    case 24:
    case 40:
    case 66:
    case 72:
    case 20:
    case 36:
    case 34:
    case 68: return QBrush(GetCellColor(record, group, line, column, state));
    default: return QBrush();
  }
}

QPen CExtendListCtrl::GetCellPen(int, int, int, int, int state) {
  if (state == 18 || state == 34 || state == 66) return QPen(Qt::white, 0);
  return QPen(Qt::NoPen);
}

QFont CExtendListCtrl::GetCellFont(int, int, int, int) { return font(); }
int CExtendListCtrl::GetRecordCount() { return 0; }
int CExtendListCtrl::GetGroupCount() { return 0; }
int CExtendListCtrl::GetLinesPerRecord() { return 0; }
int CExtendListCtrl::GetColumnsPerGroup() { return 0; }
int CExtendListCtrl::GetRowHeaderFormat(ListCellInfo& info) {
  info.Clear();
  return 0;
}
void CExtendListCtrl::GetColumnFormat(int, int, ListCellInfo& info) { info.Clear(); }
void CExtendListCtrl::GetRowHeaderCell(int, int, ListCellInfo& info) { info.Clear(); }
void CExtendListCtrl::GetCellContent(int, int, int, int, ListCellInfo& info) { info.Clear(); }
int CExtendListCtrl::GetCellEditKind(int, int, int, int) { return CellEditReadOnly; }
bool CExtendListCtrl::AcceptCellChar(int, int, int, int, wchar_t ch) { return !std::iswcntrl(static_cast<wint_t>(ch)); }
void CExtendListCtrl::GetCellChoices(int, int, int, int, std::vector<std::wstring>& choices) { choices.clear(); }
std::wstring CExtendListCtrl::GetCellEditText(int, int, int, int) { return std::wstring(); }
bool CExtendListCtrl::SetCellText(int, int, int, int, const std::wstring&) { return false; }
int CExtendListCtrl::GetCellChoice(int, int, int, int) { return 0; }
bool CExtendListCtrl::SetCellChoice(int, int, int, int, int) { return false; }

// ---- shape, rows and columns ----

GridShape CExtendListCtrl::Shape() {
  return GridShape{GetRecordCount(), GetGroupCount(), GetLinesPerRecord(), GetColumnsPerGroup()};
}

void CExtendListCtrl::ClampFocusCell() { grid_.ClampFocusCell(Shape()); }
void CExtendListCtrl::ClampSelection() { grid_.ClampSelection(Shape()); }

void CExtendListCtrl::RebuildColumns() {
  columns_.clear();
  ListCellInfo info;
  GetRowHeaderFormat(info);
  auto add = [this](const ListCellInfo& i) {
    columns_.push_back(Column{std::max(0, i.width), HasText(i) ? QString::fromWCharArray(i.text, i.textLength) : QString(),
                              i.format});
  };
  add(info);
  const int groups = GetGroupCount();
  const int perGroup = GetColumnsPerGroup();
  for (int g = 0; g < groups && perGroup > 0; ++g) {
    for (int c = 0; c < perGroup; ++c) {
      info.Clear();
      GetColumnFormat(g, c, info);
      add(info);
    }
  }
  UpdateScrollRanges();
  viewport()->update();
}

void CExtendListCtrl::RebuildListRows() {
  const bool shown = isVisible();
  if (shown) setUpdatesEnabled(false);
  const GridShape shape = Shape();
  itemCount_ = shape.ItemCount();
  grid_.ClampFocusCell(shape);
  grid_.ClampSelection(shape);
  UpdateScrollRanges();
  if (shown) {
    setUpdatesEnabled(true);
    viewport()->repaint();
  }
}

int CExtendListCtrl::VisibleRowCount() const {
  return std::max(1, (viewport()->height() - kHeaderHeight) / kRowHeight);
}

int CExtendListCtrl::TopIndex() const { return verticalScrollBar()->value(); }

void CExtendListCtrl::UpdateScrollRanges() {
  const int visible = VisibleRowCount();
  verticalScrollBar()->setSingleStep(1);
  verticalScrollBar()->setPageStep(visible);
  verticalScrollBar()->setRange(0, std::max(0, itemCount_ - visible));
  int total = 0;
  for (const Column& c : columns_) total += c.width;
  const int width = viewport()->width();
  horizontalScrollBar()->setSingleStep(20);
  horizontalScrollBar()->setPageStep(std::max(1, width));
  horizontalScrollBar()->setRange(0, std::max(0, total - width));
}

int CExtendListCtrl::ColumnLeft(int listColumn) const {
  int x = -horizontalScrollBar()->value();
  for (int i = 0; i < listColumn && i < static_cast<int>(columns_.size()); ++i) x += columns_[i].width;
  return x;
}

Rect CExtendListCtrl::GetSubItemRect(int item, int listColumn) const {
  if (listColumn < 0 || listColumn >= static_cast<int>(columns_.size())) return Rect{};
  const int top = kHeaderHeight + (item - TopIndex()) * kRowHeight;
  const int left = ColumnLeft(listColumn);
  return Rect{left, top, left + columns_[listColumn].width, top + kRowHeight};
}

bool CExtendListCtrl::HitTest(const QPoint& point, int& item, int& listColumn) const {
  if (point.y() < kHeaderHeight || point.x() < 0) return false;
  const int row = TopIndex() + (point.y() - kHeaderHeight) / kRowHeight;
  if (row < 0 || row >= itemCount_) return false;
  int x = -horizontalScrollBar()->value();
  for (int i = 0; i < static_cast<int>(columns_.size()); ++i) {
    if (point.x() >= x && point.x() < x + columns_[i].width) {
      item = row;
      listColumn = i;
      return true;
    }
    x += columns_[i].width;
  }
  return false;
}

void CExtendListCtrl::ScrollToFocusCell() {
  if (!grid_.HasFocusCell() || itemCount_ == 0) return;
  const GridShape shape = Shape();
  if (shape.IsEmpty()) return;
  const int item = ListItemOf(shape, grid_.focus.record, grid_.focus.line);
  const int top = TopIndex();
  const int visible = VisibleRowCount();
  if (item < top) {
    verticalScrollBar()->setValue(item);
  } else if (item >= top + visible) {
    verticalScrollBar()->setValue(item - visible + 1);
  }
  // And sideways, so that the cell is seen whole (its left edge when it is wider than the view).
  const int listColumn = ListColumnOf(shape, grid_.focus.group, grid_.focus.column);
  if (listColumn >= static_cast<int>(columns_.size())) return;
  QScrollBar* bar = horizontalScrollBar();
  const int right = ColumnLeft(listColumn) + columns_[static_cast<size_t>(listColumn)].width;
  if (right > viewport()->width()) bar->setValue(bar->value() + right - viewport()->width());
  if (ColumnLeft(listColumn) < 0) bar->setValue(bar->value() + ColumnLeft(listColumn));
}

void CExtendListCtrl::InvalidateGrid() { viewport()->update(); }
void CExtendListCtrl::RedrawNow() {
  if (isVisible()) viewport()->repaint();
}

// ---- painting ----

void CExtendListCtrl::paintEvent(QPaintEvent*) {
  // The whole frame is painted here: background, rows, header; the viewport draws into an
  // off-screen buffer and shows it at once.
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), background_.isValid() ? background_ : palette().color(QPalette::Base));
  if (created_ && !columns_.empty()) {
    const int first = TopIndex();
    const int last = std::min(itemCount_, first + VisibleRowCount() + 1);
    for (int item = first; item < last; ++item) DrawItem(painter, item);
  }
  DrawHeader(painter);
}

void CExtendListCtrl::DrawHeader(QPainter& painter) {
  const int right = ColumnLeft(static_cast<int>(columns_.size()));
  QStyleOptionHeader option;
  option.initFrom(viewport());
  option.state |= QStyle::State_Raised;
  for (int i = 0; i < static_cast<int>(columns_.size()); ++i) {
    const Rect r = GetSubItemRect(0, i);
    option.rect = QRect(r.left, 0, r.right - r.left, kHeaderHeight);
    option.section = i;
    option.text = columns_[i].caption;
    option.textAlignment = Qt::AlignVCenter | (columns_[i].format == 1   ? Qt::AlignRight
                                               : columns_[i].format == 2 ? Qt::AlignHCenter
                                                                         : Qt::AlignLeft);
    style()->drawControl(QStyle::CE_Header, &option, &painter, viewport());
  }
  if (right < viewport()->width()) {
    option.rect = QRect(right, 0, viewport()->width() - right, kHeaderHeight);
    option.text.clear();
    option.section = static_cast<int>(columns_.size());
    style()->drawControl(QStyle::CE_Header, &option, &painter, viewport());
  }
}

void CExtendListCtrl::DrawItem(QPainter& painter, int item) {
  const GridShape shape = Shape();
  if (shape.IsEmpty()) return;
  painter.save();
  const int record = item / shape.linesPerRecord;
  const int line = item % shape.linesPerRecord;
  ListCellInfo info;
  for (int listColumn = static_cast<int>(columns_.size()) - 1; listColumn >= 0; --listColumn) {
    Rect r = GetSubItemRect(item, listColumn);
    if (r.right <= r.left || r.bottom <= r.top) continue;
    if (listColumn == 0) {
      r.left -= 2;
      qDrawWinButton(&painter, ToQRect(r), palette(), false, &palette().brush(QPalette::Button));
      info.Clear();
      GetRowHeaderCell(record, line, info);
      if (HasText(info)) {
        r.left += 5;
        r.right -= 5;
        if (r.right - r.left > 2)
          DrawCellText(painter, r, info, GetCellFont(-1, -1, -1, -1), palette().color(QPalette::WindowText));
      }
      continue;
    }
    const auto found = CellOfListPosition(shape, item, listColumn);
    if (!found) continue;
    const GridCell cell = *found;
    const int mode = grid_.ModeOf(cell);
    painter.fillRect(ToQRect(r), GetCellBrush(cell.record, cell.group, cell.line, cell.column,
                                              mode + CellPartBackground));
    const QPen gridPen = GetCellPen(cell.record, cell.group, cell.line, cell.column, CellPartGrid + CellModeNormal);
    if (gridPen.style() != Qt::NoPen) {
      painter.setPen(gridPen);
      painter.drawLine(r.left, r.bottom - 1, r.right - 1, r.bottom - 1);
      painter.drawLine(r.right - 1, r.bottom - 1, r.right - 1, r.top);
    }
    const int height = r.bottom - r.top;
    if (GetCellEditKind(cell.record, cell.group, cell.line, cell.column) == CellEditChoice &&
        (mode == CellModeFocus || mode == CellModeSelected) && r.right - r.left > 2 * height) {
      const QRect button(r.right - height, r.top, height - 1, height - 1);
      qDrawWinButton(&painter, button, palette(), false, &palette().brush(QPalette::Button));
      QStyleOption arrow;
      arrow.initFrom(this);
      arrow.rect = button.adjusted(3, 3, -3, -3);
      arrow.palette.setColor(QPalette::ButtonText, palette().color(QPalette::ButtonText));
      style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
      r.right = r.right - height + 1;
    }
    if (mode == CellModeFocus) {
      const QBrush frame = GetCellBrush(cell.record, cell.group, cell.line, cell.column, CellPartGrid + CellModeFocus);
      if (frame.style() != Qt::NoBrush) {
        const QRect f(r.left, r.top, r.right - 1 - r.left, r.bottom - 1 - r.top);
        painter.fillRect(QRect(f.left(), f.top(), f.width(), 1), frame);
        painter.fillRect(QRect(f.left(), f.bottom(), f.width(), 1), frame);
        painter.fillRect(QRect(f.left(), f.top(), 1, f.height()), frame);
        painter.fillRect(QRect(f.right(), f.top(), 1, f.height()), frame);
      }
    }
    info.Clear();
    GetCellContent(cell.record, cell.group, cell.line, cell.column, info);
    if (info.image != -1 && r.right - r.left > height && images_ != nullptr && info.image >= 0 &&
        info.image < static_cast<int>(images_->size())) {
      const QPixmap& image = (*images_)[static_cast<size_t>(info.image)];
      if (!image.isNull() && image.width() <= height && image.height() <= height) {
        painter.drawPixmap(r.left + (height - image.width()) / 2, r.top + (height - image.height()) / 2, image);
      }
      r.left += height;
    }
    if (HasText(info)) {
      r.left += 5;
      r.right -= 5;
      if (r.right - r.left > 2) {
        DrawCellText(painter, r, info, GetCellFont(cell.record, cell.group, cell.line, cell.column),
                     GetCellColor(cell.record, cell.group, cell.line, cell.column, mode + CellPartText));
      }
    }
  }
  painter.restore();
}

bool CExtendListCtrl::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Resize) UpdateScrollRanges();
  return QAbstractScrollArea::viewportEvent(event);
}

void CExtendListCtrl::scrollContentsBy(int, int) { viewport()->update(); }

// ---- mouse ----

void CExtendListCtrl::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  // Taking the focus ends an open editor's edit (an open list closes, as a combo box does).
  const bool listWasOpen = !list_.isHidden();
  setFocus(Qt::MouseFocusReason);
  leftPressed_ = true;
  editPending_ = 0;
  dragSelecting_ = 0;
  choicePending_ = false;
  // An editor whose value the view refused stays open for correction: this press only ended
  // its edit and changes nothing else.
  if (EditorKeptOpen()) return;
  const QPoint at = event->position().toPoint();
  if (at.y() < kHeaderHeight) {
    // The header: a press on a column's right border starts resizing that column.
    resizingColumn_ = HeaderBorderAt(at.x());
    if (resizingColumn_ >= 0) {
      resizeStartX_ = at.x();
      resizeStartWidth_ = columns_[static_cast<size_t>(resizingColumn_)].width;
    }
    return;
  }
  const GridShape shape = Shape();
  int item = 0;
  int listColumn = 0;
  if (!HitTest(at, item, listColumn) || shape.IsEmpty()) {
    grid_.Clear();
    InvalidateGrid();
    return;
  }
  if (listColumn == 0) {
    grid_.PressRowHeader(shape, item / shape.linesPerRecord);
    InvalidateGrid();
    return;
  }
  const auto cell = CellOfListPosition(shape, item, listColumn);
  if (!cell) {
    grid_.Clear();
    InvalidateGrid();
    return;
  }
  if (grid_.HasFocusCell() && *cell == grid_.focus) {
    if (!listWasOpen) editPending_ = 1;
    return;
  }
  if (event->modifiers() & Qt::ShiftModifier) {
    grid_.ShiftPressCell(*cell);
  } else {
    grid_.PressCell(*cell);
    dragSelecting_ = 1;
    // A choice list opens on the release of this one click.
    choicePending_ = GetCellEditKind(cell->record, cell->group, cell->line, cell->column) == CellEditChoice;
  }
  InvalidateGrid();
}

int CExtendListCtrl::HeaderBorderAt(int x) const {
  constexpr int kGrip = 3;
  int right = -horizontalScrollBar()->value();
  int found = -1;
  for (int i = 0; i < static_cast<int>(columns_.size()); ++i) {
    right += columns_[i].width;
    if (x >= right - kGrip && x <= right + kGrip) found = i;
  }
  return found;
}

void CExtendListCtrl::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (resizingColumn_ >= 0) {
    if (!(event->buttons() & Qt::LeftButton)) {
      resizingColumn_ = -1;
    } else {
      columns_[static_cast<size_t>(resizingColumn_)].width = std::max(0, resizeStartWidth_ + at.x() - resizeStartX_);
      UpdateScrollRanges();
      InvalidateGrid();
      return;
    }
  }
  const bool onBorder = at.y() < kHeaderHeight && HeaderBorderAt(at.x()) >= 0;
  viewport()->setCursor(onBorder ? Qt::SplitHCursor : Qt::ArrowCursor);
  if (!hasFocus()) dragSelecting_ = 0;
  if (dragSelecting_ == 0) return;
  int item = 0;
  int listColumn = 0;
  if (!HitTest(event->position().toPoint(), item, listColumn) || listColumn == 0) return;
  const auto cell = CellOfListPosition(Shape(), item, listColumn);
  if (!cell) return;
  if (*cell != grid_.focus) choicePending_ = false;
  grid_.DragTo(cell->record, cell->group);
  InvalidateGrid();
}

void CExtendListCtrl::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  resizingColumn_ = -1;
  // The release that ends a double click follows no press here: the double click may have sent
  // the user to another window (a use's location), which keeps the focus.
  if (std::exchange(leftPressed_, false)) setFocus(Qt::MouseFocusReason);
  dragSelecting_ = 0;
  if (editPending_ != 0 || std::exchange(choicePending_, false)) {
    editPending_ = 0;
    OpenFocusCellEditor();
  }
}

void CExtendListCtrl::mouseDoubleClickEvent(QMouseEvent*) {}

void CExtendListCtrl::focusOutEvent(QFocusEvent* event) {
  dragSelecting_ = 0;
  QAbstractScrollArea::focusOutEvent(event);
}

void CExtendListCtrl::wheelEvent(QWheelEvent* event) {
  setFocus(Qt::OtherFocusReason);
  // An editor kept open for correction stays over its cell.
  if (EditorKeptOpen()) return;
  QAbstractScrollArea::wheelEvent(event);
}

// ---- keyboard ----

bool CExtendListCtrl::MoveFocus(int key) {
  const GridShape shape = Shape();
  switch (key) {
    case Qt::Key_Left: return grid_.MoveLeft(shape);
    case Qt::Key_Right: return grid_.MoveRight(shape);
    case Qt::Key_Up: return grid_.MoveUp(shape);
    case Qt::Key_Down: return grid_.MoveDown(shape);
    default: return false;
  }
}

bool CExtendListCtrl::MoveTabFocus(bool forward) {
  const bool moved = grid_.MoveTab(Shape(), forward, [this](const GridCell& c) {
    return GetCellEditKind(c.record, c.group, c.line, c.column) != CellEditReadOnly;
  });
  if (moved) {
    ScrollToFocusCell();
    InvalidateGrid();
  }
  return moved;
}

bool CExtendListCtrl::event(QEvent* event) {
  // Tab and Shift+Tab move between the cells while there is a focus cell, instead of moving the
  // keyboard focus to the next window.
  if (event->type() == QEvent::KeyPress) {
    const int tab = TabExitKey(*static_cast<QKeyEvent*>(event));
    if (tab != 0 && grid_.HasFocusCell()) {
      MoveTabFocus(tab == kInplaceExitTab);
      event->accept();
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}

void CExtendListCtrl::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      OpenFocusCellEditor();
      event->accept();
      return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (grid_.HasFocusCell() && MoveFocus(event->key())) {
        ScrollToFocusCell();
        InvalidateGrid();
      }
      event->accept();
      return;
    case Qt::Key_Delete: {
      event->accept();
      if (!grid_.HasFocusCell()) return;
      const GridCell c = grid_.focus;
      const int kind = GetCellEditKind(c.record, c.group, c.line, c.column);
      bool keep = false;
      bool accepted = false;
      if (kind == CellEditText) accepted = StoreCellValue(c, false, std::wstring(), -1, keep);
      if (kind == CellEditChoice) accepted = StoreCellValue(c, true, std::wstring(), -1, keep);
      if (accepted) InvalidateGrid();
      return;
    }
    default: break;
  }
  const QString text = event->text();
  const bool typed = !text.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  if (typed && grid_.HasFocusCell()) {
    event->accept();
    const GridCell c = grid_.focus;
    const std::wstring chars = text.toStdWString();
    const int kind = GetCellEditKind(c.record, c.group, c.line, c.column);
    if (kind == CellEditChoice) {
      // Typing on a choice cell drops its list with the first choice that begins with what was
      // typed highlighted; the list goes on searching as the user types.
      for (wchar_t ch : chars) {
        if (!CExtendListCtrl::AcceptCellChar(c.record, c.group, c.line, c.column, ch)) return;
      }
      if (list_.isHidden()) {
        OpenEditor(c, nullptr);
        if (!list_.isHidden()) list_.SearchFromTop(text);
      }
      return;
    }
    for (wchar_t ch : chars) {
      if (!AcceptCellChar(c.record, c.group, c.line, c.column, ch)) return;
    }
    if (kind == CellEditText && edit_.isHidden()) OpenEditor(c, &chars);
    return;
  }
  QAbstractScrollArea::keyPressEvent(event);
}

// ---- editors ----

void CExtendListCtrl::ApplyEditorColour(QWidget* editor, const GridCell& cell) {
  const QColor colour = GetCellColor(cell.record, cell.group, cell.line, cell.column, CellPartText + CellModeFocus);
  QPalette p = palette();
  if (colour.isValid()) p.setColor(QPalette::Text, colour);
  editor->setPalette(p);
}

void CExtendListCtrl::OpenFocusCellEditor() {
  if (!grid_.HasFocusCell()) return;
  OpenEditor(grid_.focus, nullptr);
}

void CExtendListCtrl::OpenEditor(const GridCell& cell, const std::wstring* typed) {
  const GridShape shape = Shape();
  if (shape.IsEmpty() || cell.record >= shape.records || cell.group >= shape.groups) return;
  const int item = ListItemOf(shape, cell.record, cell.line);
  const int listColumn = ListColumnOf(shape, cell.group, cell.column);
  const int kind = GetCellEditKind(cell.record, cell.group, cell.line, cell.column);
  Rect r = GetSubItemRect(item, listColumn);
  r.right -= 1;
  r.bottom -= 1;
  if (kind == CellEditText && edit_.isHidden()) {
    edit_.setFont(GetCellFont(cell.record, cell.group, cell.line, cell.column));
    ApplyEditorColour(&edit_, cell);
    if (typed != nullptr) {
      edit_.Open(0, 0, *typed, item, listColumn, r);
      edit_.setCursorPosition(static_cast<int>(edit_.text().size()));
    } else {
      edit_.Open(0, 0, GetCellEditText(cell.record, cell.group, cell.line, cell.column), item, listColumn, r);
      edit_.selectAll();
    }
  } else if (kind == CellEditChoice && list_.isHidden()) {
    std::vector<std::wstring> choices;
    GetCellChoices(cell.record, cell.group, cell.line, cell.column, choices);
    list_.setFont(GetCellFont(cell.record, cell.group, cell.line, cell.column));
    ApplyEditorColour(&list_, cell);
    const QFontMetrics metrics(list_.font());
    const int height = ChoiceListHeight(metrics, static_cast<int>(choices.size()));
    const int width = CalcDropListWidth(metrics, choices, list_.verticalScrollBar()->sizeHint().width());
    const QRect client = viewport()->rect();
    const auto placed = PlaceDropList(width, height, r, Rect{client.left(), client.top(), client.right() + 1,
                                                                client.bottom() + 1});
    if (!placed) return;
    list_.Open(0, 0, item, listColumn, choices, GetCellChoice(cell.record, cell.group, cell.line, cell.column),
               *placed);
  }
}

int CExtendListCtrl::OnInplaceNotify(int controlId, const InplaceNotify& notify) {
  const int exit = notify.exitKey;
  editorKept_ = false;
  if (exit != kInplaceExitEnter && exit != kInplaceExitTab && exit != kInplaceExitBacktab) return 0;
  // While the message of a refused value is up, the editor that lost the focus to it stays open
  // and is not asked again.
  if (showingRefusal_) {
    editorKept_ = true;
    return 1;
  }
  const GridShape shape = Shape();
  const auto cell = CellOfListPosition(shape, notify.value1, notify.value2);
  // A cell that vanished while its editor was open (rows rebuilt meanwhile) takes nothing.
  if (!cell || cell->line >= shape.linesPerRecord || cell->column >= shape.columnsPerGroup) return 0;
  const GridCell c = *cell;
  const int kind = GetCellEditKind(c.record, c.group, c.line, c.column);
  bool keep = false;
  bool accepted = false;
  if (controlId == kInplaceEditId && kind == CellEditText && notify.text != nullptr) {
    accepted = StoreCellValue(c, false, std::wstring(notify.text), -1, keep);
  } else if (controlId == kInplaceListId && kind == CellEditChoice) {
    accepted = StoreCellValue(c, true, std::wstring(), notify.selected, keep);
  }
  if (keep) {
    editorKept_ = true;
    return 1;
  }
  if (accepted) InvalidateGrid();
  if (exit != kInplaceExitEnter) {
    // Tab goes on from the cell just edited: what is typed next goes to the new cell.
    grid_.focus = c;
    MoveTabFocus(exit == kInplaceExitTab);
  }
  return 0;
}

bool CExtendListCtrl::EditorKeptOpen() const { return editorKept_ && (!edit_.isHidden() || !list_.isHidden()); }

void CExtendListCtrl::ReportRefusedEdit(const std::wstring& message, bool keepEditing) {
  refusal_ = Refusal{message, keepEditing};
}

bool CExtendListCtrl::StoreCellValue(const GridCell& c, bool choice, const std::wstring& text, int selected,
                                     bool& keep) {
  refusal_.reset();
  const bool stored = choice ? SetCellChoice(c.record, c.group, c.line, c.column, selected)
                             : SetCellText(c.record, c.group, c.line, c.column, text);
  const std::optional<Refusal> refusal = std::exchange(refusal_, std::nullopt);
  keep = false;
  if (!refusal) return stored;
  keep = refusal->keepEditing;
  // The window lost the activation (the user went to another program): the text waits in the
  // editor, and the next Enter there asks again.
  if (keep && !isActiveWindow()) return stored;
  // The message comes once the event that ended the edit is over, not from inside it.
  QTimer::singleShot(0, this, [this, message = refusal->message, keep] { ShowRefusal(message, keep); });
  return stored;
}

void CExtendListCtrl::ShowRefusal(const std::wstring& message, bool refocus) {
  showingRefusal_ = true;
  MessageBoxOk(message, kMessageIconWarning);
  showingRefusal_ = false;
  if (!refocus) return;
  QWidget* editor = !edit_.isHidden() ? static_cast<QWidget*>(&edit_) : !list_.isHidden() ? &list_ : nullptr;
  if (editor == nullptr) return;
  QWidget* top = window();
  if (top->isVisible() && !top->isActiveWindow()) top->activateWindow();
  editor->setFocus(Qt::OtherFocusReason);
  if (editor == &edit_) edit_.selectAll();
}

bool IsGridViewFocused(const CExtendListCtrl* view) {
  if (view == nullptr) return false;
  const QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr) return false;
  return focus == view || focus == view->viewport() || focus == &view->InplaceEdit() || focus == &view->InplaceList();
}

}  // namespace Brenno
