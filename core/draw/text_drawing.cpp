#include "core/draw/text_drawing.h"

#include <algorithm>
#include <string>
#include <vector>

namespace Brenno {

void DrawColoredText(DrawContext& dc, std::wstring_view text, int left, int top, int right, int bottom,
                     int font, int colour, unsigned format) {
  dc.DrawText(text, Rect{left, top, right, bottom}, font, colour, format | kTextOneLine);
}

void DrawColoredTextRuns(DrawContext& dc, std::wstring_view text, int left, int top, int right, int bottom,
                         int font, std::span<const ColorRun> runs, unsigned alignment) {
  if (runs.empty()) return;
  if (runs.size() == 1) {
    DrawColoredText(dc, text, left, top, right, bottom, font, runs.front().colour, alignment);
    return;
  }

  const TextExtent whole = dc.MeasureText(text, font);
  int x = left;
  if (whole.width < right - left) {
    if (alignment & kTextRight) {
      x = right - whole.width;
    } else if (alignment & kTextCenter) {
      x = left + (right - left - whole.width) / 2;
    }
  }
  int y = top;
  if (whole.height < bottom - top) {
    if (alignment & kTextBottom) {
      y = bottom - whole.height;
    } else if (alignment & kTextVCenter) {
      y = top + (bottom - top - whole.height) / 2;
    }
  }

  size_t offset = 0;
  for (const ColorRun& run : runs) {
    // A run list longer than the text is cut at the text's end instead of reading beyond it.
    const size_t length = std::min<size_t>(static_cast<size_t>(std::max(run.length, 0)), text.size() - offset);
    const std::wstring_view piece = text.substr(offset, length);
    const TextExtent part = dc.MeasureText(piece, font);
    const Rect box{x, y, std::min(x + part.width, right), std::min(y + part.height, bottom)};
    if (!piece.empty() && box.right > box.left && box.bottom > box.top) {
      dc.DrawText(piece, box, font, run.colour, kTextOneLine);
    }
    x = box.right;
    if (x >= right) break;
    offset += length;
  }
}

void DrawTextSegments(std::span<const TextRun> segments, const Rect& rect, DrawContext& dc) {
  std::wstring text;
  std::vector<ColorRun> runs;
  runs.reserve(segments.size());
  for (const TextRun& segment : segments) {
    text += segment.text;
    runs.push_back(ColorRun{static_cast<int>(segment.text.size()), segment.colour});
  }
  DrawColoredTextRuns(dc, text, rect, 0, runs, kTextVCenter);
}

void FillRectWithBrush(DrawContext& dc, const Rect& rect, int brush) { dc.FillRect(rect, brush); }

}  // namespace Brenno
