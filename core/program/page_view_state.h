// Everything a window needs to redraw a program page besides the drawing resources: view mode,
// selection, cursor, debug markers, mouse state and the three in-place editors. Each program
// page carries one, so the view itself keeps no per-page state.
#pragma once

#include <string>
#include <vector>

#include "core/env/utilities.h"

namespace Brenno {

struct PagePoint {
  int x = 0;
  int y = 0;
  bool operator==(const PagePoint&) const = default;
};

// Key of a selected ladder element: the first element with that column, row and InCell.
struct SelectedCell {
  int Column = 0;
  int Row = 0;
  bool InCell = false;
  bool operator==(const SelectedCell&) const = default;
};

// An in-place text editor (network comment, statement-list body).
struct TextEditorState {
  bool Open = false;
  Rect Area;
  PagePoint Point;
  std::vector<std::wstring> Lines;
  bool operator==(const TextEditorState&) const = default;
};

// A highlighted pin of the ladder element in cell (Column, Row).
struct PinMarkerState {
  bool Active = false;
  int Column = 0;
  int Row = 0;
  int IndexA = -1;
  int IndexB = -1;
  bool operator==(const PinMarkerState&) const = default;
};

// The in-place editor of one ladder operand: the element's cell and one of the three locators
// (index into OperandId, OperandIn or OperandOut; -1 in the two others).
struct OperandEditorState {
  bool Open = false;
  int Column = 0;
  int Row = 0;
  int IdIndex = -1;
  int InIndex = -1;
  int OutIndex = -1;
  Rect Area;
  PagePoint Point;
  std::wstring Text;
  std::wstring Hint;  // the operand's format description
  bool operator==(const OperandEditorState&) const = default;
};

enum PageMouseState : int {
  kMouseIdle = 0,
  kMouseDown = 1,
  kMouseRubberBand = 3,
  kMouseDownOnSelection = 5,
  kMouseDragging = 7,
};

struct PageViewState {
  int PageId = -1;
  int ViewMode = -1;  // 1 statement list, 2 ladder
  bool Symbolic = false;
  // The network a painting or geometry routine is measuring at the moment.
  int CurrentNetwork = -1;
  int SelectionFirst = -1;
  int SelectionLast = -1;
  int CursorColumn = 0;  // -1 at comment level
  int CursorRow = 0;     // -1 at comment level
  std::vector<SelectedCell> SelectedCells;
  int BreakpointNetwork = -1;
  int BreakpointLine = -1;
  int StepNetwork = -1;
  int StepLine = -1;
  int MouseState = kMouseIdle;
  PagePoint MousePoint;
  PagePoint PressPoint;
  Rect DragRect;
  TextEditorState CommentEditor;
  TextEditorState StlEditor;
  PinMarkerState PinMarker;
  OperandEditorState OperandEditor;

  bool operator==(const PageViewState&) const = default;
};

// Back to the initial values above.
inline void InitPageViewState(PageViewState& state) { state = PageViewState(); }
// Frees the editor texts and line lists and the selected cells.
inline void DestroyPageViewState(PageViewState& state) {
  std::wstring().swap(state.OperandEditor.Text);
  std::wstring().swap(state.OperandEditor.Hint);
  std::vector<std::wstring>().swap(state.CommentEditor.Lines);
  std::vector<std::wstring>().swap(state.StlEditor.Lines);
  std::vector<SelectedCell>().swap(state.SelectedCells);
}

}  // namespace Brenno
