#include "ui/widgets/grid_focus.h"

#include <algorithm>
#include <cstdint>

namespace Brenno {

int GridShape::ItemCount() const { return IsEmpty() ? 0 : records * linesPerRecord; }

int GridShape::ListColumnCount() const { return 1 + (groups > 0 && columnsPerGroup > 0 ? groups * columnsPerGroup : 0); }

int ListItemOf(const GridShape& shape, int record, int line) { return record * shape.linesPerRecord + line; }

int ListColumnOf(const GridShape& shape, int group, int column) { return group * shape.columnsPerGroup + column + 1; }

std::optional<GridCell> CellOfListPosition(const GridShape& shape, int item, int listColumn) {
  if (shape.IsEmpty() || item < 0 || listColumn < 1) return std::nullopt;
  GridCell cell{item / shape.linesPerRecord, (listColumn - 1) / shape.columnsPerGroup, item % shape.linesPerRecord,
                (listColumn - 1) % shape.columnsPerGroup};
  if (cell.record >= shape.records || cell.group >= shape.groups) return std::nullopt;
  return cell;
}

int GridFocusModel::ModeOf(const GridCell& cell) const {
  if (focus.IsSet() && cell == focus) return kGridCellFocus;
  if (selection.IsSet() && selection.Contains(cell.record, cell.group)) return kGridCellSelected;
  return kGridCellNormal;
}

void GridFocusModel::SelectFocusCell() {
  selection = {focus.record, focus.record + 1, focus.group, focus.group + 1};
}

void GridFocusModel::PressRowHeader(const GridShape& shape, int record) {
  focus = {record, 0, 0, 0};
  selection = {record, record + 1, 0, std::max(0, shape.groups)};
}

void GridFocusModel::PressCell(const GridCell& cell) {
  focus = cell;
  SelectFocusCell();
}

void GridFocusModel::ShiftPressCell(const GridCell& cell) {
  if (!focus.IsSet()) {
    PressCell(cell);
    return;
  }
  DragTo(cell.record, cell.group);
}

void GridFocusModel::DragTo(int record, int group) {
  if (!focus.IsSet()) return;
  selection = {std::min(focus.record, record), std::max(focus.record, record) + 1, std::min(focus.group, group),
               std::max(focus.group, group) + 1};
}

void GridFocusModel::SelectAll(const GridShape& shape) {
  if (shape.IsEmpty()) return;
  selection = {0, shape.records, 0, shape.groups};
}

bool GridFocusModel::MoveLeft(const GridShape& shape) {
  if (!focus.IsSet() || shape.IsEmpty()) return false;
  if (focus.column > 0) {
    --focus.column;
  } else if (focus.group > 0) {
    --focus.group;
    focus.column = shape.columnsPerGroup - 1;
  } else {
    return false;
  }
  SelectFocusCell();
  return true;
}

bool GridFocusModel::MoveRight(const GridShape& shape) {
  if (!focus.IsSet() || shape.IsEmpty()) return false;
  if (focus.column < shape.columnsPerGroup - 1) {
    ++focus.column;
  } else if (focus.group < shape.groups - 1) {
    ++focus.group;
    focus.column = 0;
  } else {
    return false;
  }
  SelectFocusCell();
  return true;
}

bool GridFocusModel::MoveUp(const GridShape& shape) {
  if (!focus.IsSet() || shape.IsEmpty()) return false;
  if (focus.line > 0) {
    --focus.line;
  } else if (focus.record > 0) {
    --focus.record;
    focus.line = shape.linesPerRecord - 1;
  } else {
    return false;
  }
  SelectFocusCell();
  return true;
}

bool GridFocusModel::MoveDown(const GridShape& shape) {
  if (!focus.IsSet() || shape.IsEmpty()) return false;
  if (focus.line < shape.linesPerRecord - 1) {
    ++focus.line;
  } else if (focus.record < shape.records - 1) {
    ++focus.record;
    focus.line = 0;
  } else {
    return false;
  }
  SelectFocusCell();
  return true;
}

std::optional<GridCell> AdjacentCell(const GridShape& shape, const GridCell& cell, bool forward) {
  if (shape.IsEmpty() || !cell.IsSet()) return std::nullopt;
  const int perRow = shape.groups * shape.columnsPerGroup;
  const int64_t index = (static_cast<int64_t>(cell.record) * shape.linesPerRecord + cell.line) * perRow +
                        static_cast<int64_t>(cell.group) * shape.columnsPerGroup + cell.column;
  const int64_t next = index + (forward ? 1 : -1);
  if (next < 0 || next >= static_cast<int64_t>(shape.ItemCount()) * perRow) return std::nullopt;
  const int item = static_cast<int>(next / perRow);
  const int inRow = static_cast<int>(next % perRow);
  return GridCell{item / shape.linesPerRecord, inRow / shape.columnsPerGroup, item % shape.linesPerRecord,
                  inRow % shape.columnsPerGroup};
}

bool GridFocusModel::MoveTab(const GridShape& shape, bool forward,
                             const std::function<bool(const GridCell&)>& editable) {
  if (!focus.IsSet() || shape.IsEmpty()) return false;
  std::optional<GridCell> adjacent;
  std::optional<GridCell> wanted;
  int rowChanges = 0;
  GridCell at = focus;
  for (;;) {
    const std::optional<GridCell> next = AdjacentCell(shape, at, forward);
    if (!next) break;
    // Read-only cells are skipped over the rest of this row and the whole of the next one.
    if ((next->record != at.record || next->line != at.line) && ++rowChanges > 1) break;
    if (!adjacent) adjacent = next;
    if (editable(*next)) {
      wanted = next;
      break;
    }
    at = *next;
  }
  if (!adjacent) return false;
  focus = wanted ? *wanted : *adjacent;
  SelectFocusCell();
  return true;
}

namespace {
void ClampBelow(int& value, int count) {
  if (value >= count) value = count - 1;
}
}  // namespace

void GridFocusModel::ClampFocusCell(const GridShape& shape) {
  if (!focus.IsSet()) return;
  ClampBelow(focus.record, shape.records);
  ClampBelow(focus.group, shape.groups);
  ClampBelow(focus.line, shape.linesPerRecord);
  ClampBelow(focus.column, shape.columnsPerGroup);
  if (focus.record < 0 || focus.group < 0 || focus.line < 0 || focus.column < 0) focus = {};
}

void GridFocusModel::ClampSelection(const GridShape& shape) {
  if (!selection.IsSet()) return;
  ClampBelow(selection.firstRecord, shape.records);
  ClampBelow(selection.firstGroup, shape.groups);
  selection.endRecord = std::min(selection.endRecord, shape.records);
  selection.endGroup = std::min(selection.endGroup, shape.groups);
  if (selection.firstRecord < 0 || selection.firstGroup < 0 || selection.endRecord <= 0 || selection.endGroup <= 0)
    selection = {};
}

std::optional<Rect> PlaceDropList(int width, int height, const Rect& cell, const Rect& client) {
  constexpr int kHeaderHeight = 18;
  constexpr int kMargin = 3;
  const Rect area{client.left + kMargin, client.top + kHeaderHeight + kMargin, client.right - kMargin,
                  client.bottom - kMargin};
  if (area.right - area.left <= 8 || area.bottom - area.top <= 8) return std::nullopt;
  const int w = std::max(width, cell.right - cell.left);
  Rect list{cell.left, cell.bottom, cell.left + w, cell.bottom + height};
  if (list.bottom > area.bottom) {
    list.top -= list.bottom - area.bottom;
    list.bottom = area.bottom;
  }
  if (list.top < area.top) list.top = area.top;
  if (list.right > area.right) {
    list.left -= list.right - area.right;
    list.right = area.right;
  }
  if (list.left < area.left) list.left = area.left;
  return list;
}

}  // namespace Brenno
