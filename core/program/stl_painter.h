// Painting of a statement-list body: one line of coloured text per statement-list line, with
// the value of each operand behind it and a power-flow mark at the right end while the PLC is
// online. Colours are indices of the shared drawing set; every colour of a network inside the
// selected network range is 13.
//
// The operand values come from a snapshot of the online cache taken once per paint, so all
// lines of a paint show values of the same moment. Definitions, symbols and the memory map
// are read through CurrentProgramServices().
#pragma once

#include <string>
#include <vector>

#include "core/draw/draw_context.h"
#include "core/env/utilities.h"
#include "core/program/online_cache.h"
#include "core/program/page_view_state.h"
#include "core/program/stl_line.h"

namespace Brenno {

// What one line shows, built for one paint.
struct StlLineView {
  int MarkColour = 10;                        // colour of the power-flow mark
  std::wstring Text;                          // the whole line as displayed
  std::vector<ColorRun> Runs;                 // covering Text in order
  std::vector<OperandValueFlag> OperandFlags; // one per operand
  int PowerFlow = -1;                         // 1 on, 2 off, -1 none
};

// The display of one line of the current network of the page.
void BuildStlLineView(const StlLine& line, const PageViewState& page, OnlineCacheSnapshot& online,
                      StlLineView& view);
void DestroyStlLineView(StlLineView& view);

// State 1: (x+410, y)-(x+414, y+13) filled with the mark colour's brush; state 2: the same
// rectangle outlined with its solid pen; otherwise nothing.
void DrawPowerFlowMark(DrawContext& dc, int x, int y, int state, int colour);

// One line whose top-left corner is (x, y): its power-flow mark and its text in
// (x+6, y)-(x+410, y+13), vertically centred.
void PaintStlLine(DrawContext& dc, const StlLine& line, int x, int y, const PageViewState& page,
                  OnlineCacheSnapshot& online);

// The body of the current network at the body origin (x, y): nothing while the statement-list
// editor is open on it (the editor covers it); else the background, the cursor line when the
// cell cursor stands in it, and every line 13 pixels below the one before, from y+2.
void PaintStlBody(DrawContext& dc, const std::vector<StlLine>& lines, int x, int y, const PageViewState& page,
                  OnlineCacheSnapshot& online);

}  // namespace Brenno
