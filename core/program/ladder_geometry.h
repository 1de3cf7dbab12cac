// The ladder grid in pixels: where each part of an element stands, how large the ladder body of
// a network is, where the cell cursor is drawn, which elements a click or a rubber band selects
// and which operand text the in-place operand editor opens on. Everything is computed from the
// current LadderMetrics at the time of the call.
//
// Coordinates are page pixels. An element's origin is (ox + Column * CellWidth, oy + Row *
// CellHeight) for the body origin (ox, oy). Element rectangles are empty (all 0) for a part the
// element does not have, for an index beyond its list and (except the operand labels) for a
// vertical link; a corrupt element throws ExceptionLogicError.
#pragma once

#include <vector>

#include "core/env/utilities.h"
#include "core/program/ladder_grid.h"
#include "core/program/page_view_state.h"

namespace Brenno {

// The origin of an element for the body origin.
PagePoint LadElementOrigin(const LadElement& element, int bodyX, int bodyY);

// Element parts at the element origin (x, y).
Rect ElementNameRect(const LadElement& element, int x, int y);
Rect ElementBoxRect(const LadElement& element, int x, int y);
Rect ElementSymbolRect(const LadElement& element, int x, int y);

// Pins and operands (index i into the element's list).
Rect PowerInLabelRect(const LadElement& element, int x, int y, int i);
Rect PowerOutLabelRect(const LadElement& element, int x, int y, int i);
Rect OperandIdTextRect(const LadElement& element, int x, int y, int i);
Rect OperandInTextRect(const LadElement& element, int x, int y, int i);
Rect OperandOutTextRect(const LadElement& element, int x, int y, int i);
Rect OperandInLabelRect(const LadElement& element, int x, int y, int i);
Rect OperandOutLabelRect(const LadElement& element, int x, int y, int i);

// Where a click hits the element, relative to its origin.
std::vector<Rect> ElementHitRects(const LadElement& element);
Rect VerticalLinkHitRect(const LadElement& element);

// The ladder body of a network: at least 8 columns and 2 rows, and one column and one row
// beyond the last used (or the cursor), the last of them cut to its first third.
int LadderBodyWidth(const PageViewState& state, const LadderGrid& grid);
int LadderBodyHeight(const PageViewState& state, const LadderGrid& grid);
int LadderBodyRowCount(const PageViewState& state, const LadderGrid& grid);
Rect LadderBodyRect(const PageViewState& state, const LadderGrid& grid, int bodyX, int bodyY);
// True when the cell cursor stands in the network being measured (CurrentNetwork).
bool IsLadderCursorInCurrentNetwork(const PageViewState& state);
// Sets the cursor rectangle when the cell cursor stands in the current network; otherwise the
// rectangle is left as the caller gave it.
void LadderCursorRect(const PageViewState& state, const LadderGrid& grid, int bodyX, int bodyY, Rect& rect);
// The hit rectangles of the selected elements, at the body origin; empty unless the cell
// cursor stands in the current network.
void CollectSelectionFrames(const LadderGrid& grid, std::vector<Rect>& frames, int bodyX, int bodyY,
                            const PageViewState& state);

// Moves the cursor to the cell of the rectangle's top-left corner and selects every element
// whose hit rectangle overlaps it (rectangle relative to the body origin).
void SelectLadderElementsInRect(PageViewState& state, const LadderGrid& grid, const Rect& rect);
// Opens the operand editor on the operand text under the point (relative to the body origin);
// the editor stays closed when no operand text is there.
void BeginOperandEditAt(PageViewState& state, const LadderGrid& grid, PagePoint point);
// Moves the operand editor to the next operand of the selected elements, wrapping round to the
// first; closed when the selection has no operand. Operands are walked in the order of the
// instruction text. Without an operand being edited on the selection, it starts at the first
// operand not written yet ("???" or empty), else at the first operand.
void AdvanceOperandEdit(PageViewState& state, const LadderGrid& grid);
// Moves the operand editor from the operand just written to the next operand of the same element
// not written yet (after it, then round from the first); the editor ends closed, on the same
// place, when there is none.
void OpenNextEmptyOperand(PageViewState& state, const LadderGrid& grid);

}  // namespace Brenno
