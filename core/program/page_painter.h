// The page-level services of the program editor view besides the editing commands: painting
// the part of a page that needs updating, the page rectangles the view scrolls to and places
// its in-place editors on, and the two debug markers (the PLC's break point and current step)
// taken from the online cache.
//
// Page coordinates: x from the left edge of the left bars, y from the top of the page, whose
// first 17 pixels are the page header strip; network i starts at 17 + NetworksHeight(0, i).
#pragma once

#include "core/draw/draw_context.h"
#include "core/env/utilities.h"
#include "core/program/online_cache.h"
#include "core/program/program_page.h"

namespace Brenno {

// Paints the part of the page inside the update rectangle (page coordinates) onto a surface
// whose origin is the rectangle's top-left corner. Only the networks that reach into the
// rectangle are painted. The online values and debug markers come from one snapshot of the
// current project's online cache, taken at the start; what was read is stamped back as
// requested at the end.
void PaintProgramPage(ProgramPage& page, DrawContext& dc, const Rect& update);
// The same from a snapshot the caller took (tests, renderers).
void PaintProgramPage(ProgramPage& page, DrawContext& dc, const Rect& update, OnlineCacheSnapshot& online);

// The range rectangle, the comment rectangle or the cursor rectangle, by selection state;
// (0, 0, 0, 0) with nothing selected.
Rect GetSelectionRect(ProgramPage& page);
// (0, top of first, widest network + 48, bottom of last - 1) for a network range; else empty.
Rect GetRangeRect(ProgramPage& page);
// The comment box of the network at comment level; else empty.
Rect GetCommentRect(ProgramPage& page);
// The cell cursor's rectangle (Network::CursorRect); else empty.
Rect GetCursorRect(ProgramPage& page);

// Sets the break-point and step markers of the view state from the debug record of the
// online cache: both (-1, -1) unless the record is fresh and names this page.
void SyncDebugMarkers(ProgramPage& page);
void SyncDebugMarkers(ProgramPage& page, OnlineCacheSnapshot& online);

}  // namespace Brenno
