// Painting of a ladder body: the background, the cell cursor, every element with its name, pin
// labels and operand texts, the selected elements on top (following the mouse while they are
// dragged) with their selection frames, and while the PLC is online the power flow through
// contacts and coils and the operand values. All positions come from ladder_geometry.h; colours,
// pens, brushes and fonts are indices of the shared drawing set (colour c, its solid pen, its
// brush; font 0 regular, font 1 bold). Painting never changes the model.
//
// The online values come from one snapshot of the online cache per paint. Definitions, symbols
// and the memory map are read through CurrentProgramServices(). A corrupt element throws
// ExceptionLogicError out of the paint; what was drawn before stays drawn.
#pragma once

#include <string>
#include <vector>

#include "core/draw/draw_context.h"
#include "core/env/instruction_records.h"
#include "core/env/utilities.h"
#include "core/program/online_cache.h"
#include "core/program/ladder_grid.h"
#include "core/program/page_view_state.h"

namespace Brenno {

struct PinDisplay {
  std::wstring Text;
  int Colour = 7;
};

struct OperandDisplay {
  std::wstring Name;
  int NameColour = 7;
  std::wstring Text;
  std::vector<ColorRun> Runs;
  bool HasValue = false;
  int Value = 0;
  // Where the online value stands in Runs (-1: none) and whether it is a real.
  int ValueRun = -1;
  bool RealValue = false;
};

// A real value of the display shortened to as many significant digits as let the whole text
// fit the width (down to two); nothing for a display without a real value or one that fits.
void FitOperandValue(DrawContext& dc, OperandDisplay& display, int width);

// What one element shows, built for one paint.
struct ElementDisplay {
  int LineColour = 7;
  int PowerFlowColour = 8;
  int NameColour = 2;
  int VariantColour = 6;
  std::vector<PinDisplay> PowerIn;
  std::vector<PinDisplay> PowerOut;
  std::vector<OperandDisplay> OperandId;
  std::vector<OperandDisplay> OperandIn;
  std::vector<OperandDisplay> OperandOut;
  int PowerFlow = -1;  // 1 passes power, 2 does not, other: no mark
};

// The display of an element of the page's current network.
void BuildElementDisplay(const LadElement& element, const PageViewState& page, OnlineCacheSnapshot& online,
                         ElementDisplay& display);
// A pin label: colour 7 when it is the definition's pin name, else 10 (13 selected).
PinDisplay BuildPinDisplay(const ElementPin& pin, const std::wstring* definitionName, bool selected);
// An operand against its definition: name, text with value or marker, and its value. An IPv4
// address operand (ipAddress) shows a dotted address as a constant.
void BuildOperandDisplay(const OperandDef& definition, const ElementOperand& operand, const PageViewState& page,
                         bool selected, OnlineCacheSnapshot& online, OperandDisplay& display, bool ipAddress = false);

// Shapes at the element origin (x, y) in a colour.
void DrawHorizontalLink(DrawContext& dc, int x, int y, int colour);
void DrawVerticalLink(DrawContext& dc, int x, int y, int colour);
void DrawContact(DrawContext& dc, int x, int y, int colour, int halfWidth = 0);
void DrawWideContact(DrawContext& dc, int x, int y, int colour, int halfWidth = 0);
void DrawNegatedContact(DrawContext& dc, int x, int y, int colour);
void DrawRisingEdgeContact(DrawContext& dc, int x, int y, int colour);
void DrawFallingEdgeContact(DrawContext& dc, int x, int y, int colour);
void DrawInvert(DrawContext& dc, int x, int y, int colour);
// halfWidth: from the middle of the cell to either bar of the symbol; 0 takes the metrics'.
void DrawCoil(DrawContext& dc, int x, int y, int colour, int halfWidth = 0);
void DrawBox(DrawContext& dc, const LadElement& element, int x, int y, int lineColour, int fillBrush);
void DrawFxBox(DrawContext& dc, const LadElement& element, int x, int y, int lineColour);
// State 1 fills the element's symbol rectangle with the colour's brush, state 2 outlines it;
// boxes have no symbol rectangle and never show the mark.
void PaintPowerFlowMark(DrawContext& dc, const LadElement& element, int x, int y, int colour, int state);

// One element in a cell at its origin.
void PaintLadElement(DrawContext& dc, int x, int y, const LadElement& element, const PageViewState& page,
                     OnlineCacheSnapshot& online);
// Every hit rectangle of the element at its origin, outlined in colour 21.
void PaintSelectionFrames(DrawContext& dc, const LadElement& element, int x, int y);

// The body of the page's current network at the body origin. While the cell cursor stands in
// it, the selected elements are left for PaintSelectedElements.
void PaintLadderGrid(DrawContext& dc, const LadderGrid& grid, int x, int y, const PageViewState& page,
                     OnlineCacheSnapshot& online);
// The selected elements with their frames, moved by the mouse while they are dragged; only
// while the cell cursor stands in the current network.
void PaintSelectedElements(DrawContext& dc, int x, int y, const LadderGrid& grid, const PageViewState& page,
                           OnlineCacheSnapshot& online);

}  // namespace Brenno
