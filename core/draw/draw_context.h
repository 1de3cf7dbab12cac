// The drawing surface every painter of the workbench draws on. Painters name colours, pens,
// brushes and fonts by their index into the shared GdiResourceSet; an implementation turns the
// indices into its own drawing objects. The window side implements it on QPainter
// (ui/widgets/qt_draw_context.h); tests record the calls.
//
// Coordinates are device pixels. A Rect covers left <= x < right and top <= y < bottom: the right
// and bottom edges are outside it. Only the UI thread draws.
#pragma once

#include <string_view>

#include "core/env/utilities.h"

namespace Brenno {

// Text format flags. They have the usual text-drawing flag values, so an alignment number such
// as 5 (centred both ways) can be passed on unchanged.
enum TextFormat : unsigned {
  kTextLeft = 0x0000,
  kTextCenter = 0x0001,       // centred horizontally
  kTextRight = 0x0002,        // right-aligned (wins over kTextCenter)
  kTextVCenter = 0x0004,      // centred vertically
  kTextBottom = 0x0008,       // bottom-aligned (wins over kTextVCenter)
  kTextSingleLine = 0x0020,
  kTextExpandTabs = 0x0040,
  kTextNoPrefix = 0x0800,     // "&" is an ordinary character
  kTextEndEllipsis = 0x8000,  // a text wider than its rectangle ends in an ellipsis
};

// The flags every text of the workbench is drawn with: one line, tabs expanded, no prefix
// processing, an ellipsis at the end when it does not fit.
constexpr unsigned kTextOneLine = kTextSingleLine | kTextExpandTabs | kTextNoPrefix | kTextEndEllipsis;

// Width and height in pixels of a text on one line.
struct TextExtent {
  int width = 0;
  int height = 0;
  friend bool operator==(const TextExtent&, const TextExtent&) = default;
};

class DrawContext {
 public:
  virtual ~DrawContext() = default;

  // A one-pixel line from (x1, y1) towards (x2, y2) with the given pen; the end point itself is
  // not set, so lines joined end to start set every pixel once. Equal points draw nothing.
  virtual void DrawLine(int x1, int y1, int x2, int y2, int pen) = 0;

  // The rectangle filled with the brush (right and bottom edges outside); an empty or inverted
  // rectangle fills nothing.
  virtual void FillRect(const Rect& rect, int brush) = 0;

  // The rectangle's outline drawn with the pen on its outermost pixels (left, top, right - 1,
  // bottom - 1) and its inside filled with the brush. A rectangle given with left > right or
  // top > bottom is drawn as its normalised form.
  virtual void DrawRectangle(const Rect& rect, int pen, int brush) = 0;

  // The same outline as DrawRectangle, the inside left as it is.
  virtual void FrameRectangle(const Rect& rect, int pen) = 0;

  // The rubber band: the outline of DrawRectangle in the pen's dash pattern, every pixel it
  // sets inverted instead of painted (the pen's colour does not matter). Drawing the same frame
  // twice restores what was there.
  virtual void DrawInvertedFrame(const Rect& rect, int pen) = 0;

  // The text in one line inside the rectangle, in the font and colour given, background left
  // as it is. format is a set of TextFormat flags: alignment and kTextEndEllipsis are honoured;
  // the text is always drawn on one line, with tabs expanded and "&" shown as itself. Nothing
  // outside the rectangle is touched.
  virtual void DrawText(std::wstring_view text, const Rect& rect, int font, int colour, unsigned format) = 0;

  // The size the text takes in the font on one line with tabs expanded; the height is the
  // font's line height (also for an empty text).
  virtual TextExtent MeasureText(std::wstring_view text, int font) = 0;

  // The size, in percent, at which DrawText and MeasureText take the fonts: 100 draws them as
  // the resource set describes them. The ladder drawing scales its texts with its zoom.
  void SetTextScale(int percent) { textScale_ = percent > 0 ? percent : 100; }
  int TextScale() const { return textScale_; }

 private:
  int textScale_ = 100;
};

// Draws texts at a scale for the time of a scope, then goes back to the scale before.
class TextScaleScope {
 public:
  TextScaleScope(DrawContext& dc, int percent) : dc_(dc), previous_(dc.TextScale()) { dc_.SetTextScale(percent); }
  ~TextScaleScope() { dc_.SetTextScale(previous_); }
  TextScaleScope(const TextScaleScope&) = delete;
  TextScaleScope& operator=(const TextScaleScope&) = delete;

 private:
  DrawContext& dc_;
  int previous_;
};

}  // namespace Brenno
