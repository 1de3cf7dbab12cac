// What the table views share below their grid control: the cell description records, the
// focus and selection of a grid as the commands read them, the colour scheme of the cells and
// the communication states in which the tables draw and edit.
//
// The row models of the views (function symbols, variable symbols, cross reference, program
// variables) are plain classes over the current project: they answer the grid's questions (counts,
// header columns, cell texts, colours, editors) and carry out the cell edits and commands, so
// that tests drive them without a window.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/draw/gdi_resource_set.h"

namespace Brenno {

// Cell states: a part plus a mode.
inline constexpr int kGridPartText = 1;
inline constexpr int kGridPartFrame = 2;
inline constexpr int kGridPartBackground = 4;
inline constexpr int kGridModeNormal = 16;
inline constexpr int kGridModeFocus = 32;
inline constexpr int kGridModeSelected = 64;

// Cell edit kinds.
inline constexpr int kGridReadOnly = 0;
inline constexpr int kGridEditText = 1;
inline constexpr int kGridEditChoice = 2;

// Text format of every cell: one line, centred vertically, no prefix, ellipsis at the end.
inline constexpr unsigned kGridCellFormat = 0x8824;

// Images of the shared check-mark strip.
inline constexpr int kGridImageCheck = 0;
inline constexpr int kGridImageBlank = 1;

// A header column: width in pixels and caption.
struct GridColumnFormat {
  int Width = 0;
  std::wstring Caption;
  bool operator==(const GridColumnFormat&) const = default;
};

// What one cell shows: its text, the drawing format and an image of the strip (-1 none).
struct GridCellContent {
  std::wstring Text;
  unsigned Format = kGridCellFormat;
  int Image = -1;
  bool operator==(const GridCellContent&) const = default;
};

// Why a row model did not take a typed value, for the grid to show (CExtendListCtrl::
// ReportRefusedEdit): the message in the current language, and whether the editor stays open
// with what was typed so that the user can correct it.
struct GridRefusal {
  std::wstring Message;
  bool KeepEditing = true;
};

// The grid's focus cell and selection (a rectangle of whole records x whole groups, end
// exclusive); -1 in any coordinate means none.
struct GridCursor {
  int FocusRecord = -1;
  int FocusGroup = -1;
  int FocusLine = -1;
  int FocusColumn = -1;
  int FirstRecord = -1;
  int EndRecord = -1;
  int FirstGroup = -1;
  int EndGroup = -1;

  bool HasFocusCell() const { return FocusRecord != -1 && FocusGroup != -1 && FocusLine != -1 && FocusColumn != -1; }
  bool HasSelection() const { return FirstRecord != -1 && EndRecord != -1 && FirstGroup != -1 && EndGroup != -1; }
};

// The shape most row models share: one group, one line per record and a 30-pixel row header
// without caption or cell texts. Row models derive from it and answer the rest.
struct GridSingleLineRows {
  int GetGroupCount() const { return 1; }
  int GetLinesPerRecord() const { return 1; }
  GridColumnFormat GetRowHeaderFormat() const { return {30, L""}; }
  GridCellContent GetRowHeaderCell(int, int) const { return {}; }
};

// The colours of a column: its text, its background and its background when focused or
// selected. The frame is grey, the focus frame black.
struct GridColumnStyle {
  Colour Text;
  Colour Background;
  Colour ActiveBackground;
};

// The colour of the state for a column of that style; nullopt for states the grid's defaults
// answer.
std::optional<Colour> GridStateColour(const GridColumnStyle& style, int state);

// Entries of the shared colour table the tables use.
Colour GridBlack();
Colour GridGreen();
Colour GridRed();
Colour GridButtonFace();

// The three column styles: a key column on the button face, a white data column and a light
// grey comment (or used) column.
GridColumnStyle GridKeyStyle(Colour text);
GridColumnStyle GridDataStyle(Colour text);
GridColumnStyle GridCommentStyle(Colour text);

// The data types a symbol's type column offers: the names of the current project's symbol
// table, in type order.
inline constexpr int kGridSymbolTypeCount = 11;
std::vector<std::wstring> GridSymbolTypeNames();

// The installed environment's communication state; offline when none is installed.
int GridCommState();
// Editing is allowed only offline.
bool GridIsOffline();
// The states in which the tables draw their rows: every state except those of a job that
// opened the port from the offline state (and may be replacing the project).
bool GridDrawsRows(int commState);
bool GridDrawsRows();

// A cursor on one record: focus (record, 0, line, column) keeping line and column of the
// old focus (0 when there was none), selection [record, record + 1) x [0, 1).
GridCursor SingleRecordCursor(const GridCursor& old, int record);

}  // namespace Brenno
