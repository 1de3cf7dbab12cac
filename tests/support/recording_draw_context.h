// A DrawContext that keeps every call instead of drawing, so painting rules (which colour,
// which font, where a text is cut, what is skipped) are checked without pixels.
//
// Its text metrics are fixed and simple: 7 pixels per character, 13 for a CJK character, tabs
// to the next multiple of 56 pixels, line height 13, the same for every font. A text drawn with
// kTextEndEllipsis that is wider than its rectangle is recorded as shown: the longest start of
// it that leaves room for "..." followed by "...".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/draw/draw_context.h"

namespace testsupport {

struct DrawCall {
  enum Kind { kLine, kFill, kRectangle, kFrame, kInvertedFrame, kText };
  Kind kind = kLine;
  Brenno::Rect rect;       // lines: {x1, y1, x2, y2}
  int pen = -1;            // -1 where the call takes no pen
  int brush = -1;
  int font = -1;
  int colour = -1;
  unsigned format = 0;
  std::wstring text;       // as passed
  std::wstring shown;      // as it would appear: cut with "..." when it does not fit
  friend bool operator==(const DrawCall&, const DrawCall&) = default;
};

class RecordingDrawContext : public Brenno::DrawContext {
 public:
  static constexpr int kCharWidth = 7;
  static constexpr int kWideCharWidth = 13;
  static constexpr int kTabWidth = 56;
  static constexpr int kLineHeight = 13;

  void DrawLine(int x1, int y1, int x2, int y2, int pen) override;
  void FillRect(const Brenno::Rect& rect, int brush) override;
  void DrawRectangle(const Brenno::Rect& rect, int pen, int brush) override;
  void FrameRectangle(const Brenno::Rect& rect, int pen) override;
  void DrawInvertedFrame(const Brenno::Rect& rect, int pen) override;
  void DrawText(std::wstring_view text, const Brenno::Rect& rect, int font, int colour, unsigned format) override;
  Brenno::TextExtent MeasureText(std::wstring_view text, int font) override;

  // Width of a text in the fixed metrics.
  static int TextWidth(std::wstring_view text);

  const std::vector<DrawCall>& calls() const { return calls_; }
  // The calls of one kind, in order.
  std::vector<DrawCall> CallsOf(DrawCall::Kind kind) const;
  // The shown texts of all text calls, in order.
  std::vector<std::wstring> ShownTexts() const;
  void Clear() { calls_.clear(); }

 private:
  std::vector<DrawCall> calls_;
};

}  // namespace testsupport
