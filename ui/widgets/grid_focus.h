// The rules of the table control's grid, free of any window: addressing of cells by records and
// groups, the focus cell and the selection rectangle of whole records x whole groups, how clicks,
// drags and the arrow keys move them, how they are kept inside new counts, and where a drop list
// is placed. CExtendListCtrl (ui/widgets/extend_list_ctrl.h) drives it.
#pragma once

#include <functional>
#include <optional>

#include "core/env/utilities.h"

namespace Brenno {

// The grid's shape as the view describes it.
struct GridShape {
  int records = 0;
  int groups = 0;
  int linesPerRecord = 0;
  int columnsPerGroup = 0;
  bool IsEmpty() const { return records <= 0 || groups <= 0 || linesPerRecord <= 0 || columnsPerGroup <= 0; }
  // Number of list items (rows): records x lines per record (0 for an empty shape).
  int ItemCount() const;
  // Number of list columns: the row header plus groups x columns per group.
  int ListColumnCount() const;
};

// A cell named by record, group, line and column; -1 anywhere means none.
struct GridCell {
  int record = -1;
  int group = -1;
  int line = -1;
  int column = -1;
  bool IsSet() const { return record != -1 && group != -1 && line != -1 && column != -1; }
  friend bool operator==(const GridCell&, const GridCell&) = default;
};

// A rectangle of whole records x whole groups, ends exclusive; -1 anywhere means none.
struct GridSelection {
  int firstRecord = -1;
  int endRecord = -1;
  int firstGroup = -1;
  int endGroup = -1;
  bool IsSet() const { return firstRecord != -1 && endRecord != -1 && firstGroup != -1 && endGroup != -1; }
  bool Contains(int record, int group) const {
    return record >= firstRecord && record < endRecord && group >= firstGroup && group < endGroup;
  }
  friend bool operator==(const GridSelection&, const GridSelection&) = default;
};

// List item and column of a cell, and back. The row-header column is list column 0.
int ListItemOf(const GridShape& shape, int record, int line);
int ListColumnOf(const GridShape& shape, int group, int column);
// The cell of a list item and a list column other than 0; nullopt outside the shape.
std::optional<GridCell> CellOfListPosition(const GridShape& shape, int item, int listColumn);

// The cell after (before) `cell` in reading order: the next (previous) column of its group, then
// of the next (previous) group, then of the next (previous) line of the list; nullopt past the
// last (first) cell.
std::optional<GridCell> AdjacentCell(const GridShape& shape, const GridCell& cell, bool forward);

// Drawing modes of a cell.
enum GridCellMode { kGridCellNormal = 16, kGridCellFocus = 32, kGridCellSelected = 64 };

class GridFocusModel {
 public:
  GridCell focus;
  GridSelection selection;

  bool HasFocusCell() const { return focus.IsSet(); }
  bool HasSelection() const { return selection.IsSet(); }
  void Clear() { focus = {}, selection = {}; }

  // The mode a cell is drawn in: 32 the focus cell, 64 inside the selection, else 16.
  int ModeOf(const GridCell& cell) const;

  // A press on the row header of a record: focus (record, 0, 0, 0), that record x all groups.
  void PressRowHeader(const GridShape& shape, int record);
  // A press on a cell (not the focus cell), without Shift: focus and selection on it.
  void PressCell(const GridCell& cell);
  // With Shift: the focus stays; the selection spans the focus cell and the cell. Without a focus
  // cell it is a plain press.
  void ShiftPressCell(const GridCell& cell);
  // A drag over (record, group): the selection spans the focus cell and it.
  void DragTo(int record, int group);
  // Selects everything: all records x all groups (nothing for an empty shape).
  void SelectAll(const GridShape& shape);

  // The arrow keys. Each returns false (and changes nothing) without a focus cell or at the edge
  // it points to; after a move the selection is the focus cell's record x group.
  bool MoveLeft(const GridShape& shape);
  bool MoveRight(const GridShape& shape);
  bool MoveUp(const GridShape& shape);
  bool MoveDown(const GridShape& shape);
  // Tab and Shift+Tab: the focus goes to the next (previous) cell in reading order, row after
  // row and left to right along a row, skipping the cells `editable` refuses among those of its
  // own and the following (preceding) row; when none of those can be edited it goes to the
  // adjacent cell. False (nothing changed) without a focus cell or at the first / last cell.
  // After a move the selection is the focus cell's record x group.
  bool MoveTab(const GridShape& shape, bool forward, const std::function<bool(const GridCell&)>& editable);

  // Keeps the focus cell inside the counts: each coordinate at or beyond its count becomes
  // count - 1 (so a count of 0 leaves no focus cell).
  void ClampFocusCell(const GridShape& shape);
  // Keeps the selection inside: a first record or group at or beyond its count becomes count - 1,
  // an end beyond it becomes the count; no selection is left when a count is 0.
  void ClampSelection(const GridShape& shape);

 private:
  void SelectFocusCell();
};

// Where a drop list of width x height opens below a cell, inside the control's client area less
// the header (18 pixels) and a 3-pixel margin; nullopt when that area is 8 pixels or less wide
// or high. The list is at least as wide as the cell, starts at the cell's bottom-left corner, and
// is moved up (then cut at the area's top) and left (then cut at its left) to stay inside.
std::optional<Rect> PlaceDropList(int width, int height, const Rect& cell, const Rect& client);

}  // namespace Brenno
