// Single-line text in the colours of the shared resource set, including text whose parts have
// different colours, and filled rectangles. The network painters and the debug pane draw all
// their text through these.
#pragma once

#include <span>
#include <string_view>

#include "core/draw/draw_context.h"
#include "core/env/page_names.h"
#include "core/env/utilities.h"

namespace Brenno {

// The text on one line in the rectangle, in the font and colour of the given indices, with the
// format's alignment flags (TextFormat) and always single line, tabs expanded, no prefix
// processing and an ellipsis at the end when it does not fit.
void DrawColoredText(DrawContext& dc, std::wstring_view text, int left, int top, int right, int bottom,
                     int font, int colour, unsigned format);
inline void DrawColoredText(DrawContext& dc, std::wstring_view text, const Rect& rect, int font, int colour,
                            unsigned format) {
  DrawColoredText(dc, text, rect.left, rect.top, rect.right, rect.bottom, font, colour, format);
}

// The text on one line, each run {length, colour} in its own colour, inside the rectangle.
// alignment: kTextCenter (1) or kTextRight (2, wins) horizontally, kTextVCenter (4) or
// kTextBottom (8, wins) vertically.
// - no runs: nothing is drawn;
// - one run: DrawColoredText of the whole text in that run's colour, alignment as the format;
// - two or more: the whole text is measured and placed by the alignment when it is smaller than
//   the rectangle; the runs are then drawn one after another from there, each cut at the
//   rectangle's right and bottom edges (ending in an ellipsis when cut), and the runs after the
//   one that reaches the right edge are not drawn.
// Runs that reach beyond the end of the text are cut at its end; negative lengths count as 0.
void DrawColoredTextRuns(DrawContext& dc, std::wstring_view text, int left, int top, int right, int bottom,
                         int font, std::span<const ColorRun> runs, unsigned alignment);
inline void DrawColoredTextRuns(DrawContext& dc, std::wstring_view text, const Rect& rect, int font,
                                std::span<const ColorRun> runs, unsigned alignment) {
  DrawColoredTextRuns(dc, text, rect.left, rect.top, rect.right, rect.bottom, font, runs, alignment);
}

// The segments' texts joined into one line, each in its colour, in font 0, left-aligned and
// vertically centred in the rectangle.
void DrawTextSegments(std::span<const TextRun> segments, const Rect& rect, DrawContext& dc);

// The rectangle filled with the brush of the given index.
void FillRectWithBrush(DrawContext& dc, const Rect& rect, int brush);

}  // namespace Brenno
