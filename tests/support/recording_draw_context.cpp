#include "support/recording_draw_context.h"

namespace testsupport {

using Brenno::Rect;

namespace {

bool IsWide(wchar_t c) { return c >= 0x2E80 && c <= 0xFFEF; }

}  // namespace

int RecordingDrawContext::TextWidth(std::wstring_view text) {
  int width = 0;
  for (wchar_t c : text) {
    if (c == L'\t') {
      width = (width / kTabWidth + 1) * kTabWidth;
    } else {
      width += IsWide(c) ? kWideCharWidth : kCharWidth;
    }
  }
  return width;
}

void RecordingDrawContext::DrawLine(int x1, int y1, int x2, int y2, int pen) {
  DrawCall call;
  call.kind = DrawCall::kLine;
  call.rect = Rect{x1, y1, x2, y2};
  call.pen = pen;
  calls_.push_back(call);
}

void RecordingDrawContext::FillRect(const Rect& rect, int brush) {
  DrawCall call;
  call.kind = DrawCall::kFill;
  call.rect = rect;
  call.brush = brush;
  calls_.push_back(call);
}

void RecordingDrawContext::DrawRectangle(const Rect& rect, int pen, int brush) {
  DrawCall call;
  call.kind = DrawCall::kRectangle;
  call.rect = rect;
  call.pen = pen;
  call.brush = brush;
  calls_.push_back(call);
}

void RecordingDrawContext::FrameRectangle(const Rect& rect, int pen) {
  DrawCall call;
  call.kind = DrawCall::kFrame;
  call.rect = rect;
  call.pen = pen;
  calls_.push_back(call);
}

void RecordingDrawContext::DrawInvertedFrame(const Rect& rect, int pen) {
  DrawCall call;
  call.kind = DrawCall::kInvertedFrame;
  call.rect = rect;
  call.pen = pen;
  calls_.push_back(call);
}

void RecordingDrawContext::DrawText(std::wstring_view text, const Rect& rect, int font, int colour,
                                    unsigned format) {
  DrawCall call;
  call.kind = DrawCall::kText;
  call.rect = rect;
  call.font = font;
  call.colour = colour;
  call.format = format;
  call.text = std::wstring(text);
  call.shown = call.text;
  const int room = rect.right - rect.left;
  if ((format & Brenno::kTextEndEllipsis) && TextWidth(text) > room) {
    const int dots = TextWidth(L"...");
    size_t keep = 0;
    while (keep < text.size() && TextWidth(text.substr(0, keep + 1)) + dots <= room) ++keep;
    call.shown = std::wstring(text.substr(0, keep)) + L"...";
  }
  calls_.push_back(call);
}

Brenno::TextExtent RecordingDrawContext::MeasureText(std::wstring_view text, int font) {
  return Brenno::TextExtent{TextWidth(text), kLineHeight};
}

std::vector<DrawCall> RecordingDrawContext::CallsOf(DrawCall::Kind kind) const {
  std::vector<DrawCall> out;
  for (const DrawCall& call : calls_) {
    if (call.kind == kind) out.push_back(call);
  }
  return out;
}

std::vector<std::wstring> RecordingDrawContext::ShownTexts() const {
  std::vector<std::wstring> out;
  for (const DrawCall& call : calls_) {
    if (call.kind == DrawCall::kText) out.push_back(call.shown);
  }
  return out;
}

}  // namespace testsupport
