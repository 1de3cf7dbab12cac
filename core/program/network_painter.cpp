#include "core/program/network_painter.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/draw/gdi_resource_set.h"
#include "core/draw/text_drawing.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/program/ladder_painter.h"
#include "core/program/paint_state.h"
#include "core/program/stl_painter.h"

namespace Brenno {

namespace {

void Line(DrawContext& dc, int x1, int y1, int x2, int y2, int colour) { dc.DrawLine(x1, y1, x2, y2, SolidPen(colour)); }

// The marker point of line `line` of the current network: the header for line 0 and for every
// network that is not a statement list shown as such; else the middle of that statement-list line.
void MarkerPoint(const Network& net, const PageViewState& page, int x, int y, int line, int& px, int& py) {
  px = x;
  if (line <= 0 || net.Kind != kNetworkStl || page.ViewMode != 1) {
    py = y + 8;
  } else {
    py = y + Network::CommentHeight(page, net) + 13 + 13 * line;
  }
}

}  // namespace

void DrawBreakpointMark(DrawContext& dc, int px, int py, int penColour, int brushColour) {
  dc.DrawRectangle(Rect{px + 1, py - 5, px + 15, py + 5}, SolidPen(penColour), brushColour);
}

void DrawStepArrow(DrawContext& dc, int px, int py, int o, int f) {
  // Shaft: top row in the outline colour, the three below in the fill.
  Line(dc, px + 18, py - 2, px + 24, py - 2, o);
  for (int row = py - 1; row <= py + 1; ++row) Line(dc, px + 18, row, px + 24, row, f);
  Line(dc, px + 18, py + 2, px + 24, py + 2, o);
  Line(dc, px + 17, py - 2, px + 17, py + 3, o);
  // Head: the outline, then its inside filled.
  for (int i = 0; i <= 5; ++i) Line(dc, px + 24 + i, py + i - 5, px + 24 + i, py - i + 6, o);
  Line(dc, px + 24, py - 1, px + 24, py + 2, f);
  for (int i = 0; i <= 3; ++i) Line(dc, px + 25 + i, py + i - 3, px + 25 + i, py - i + 4, f);
}

void PaintNetworkLeftBar(DrawContext& dc, const Network& net, const PageViewState& page, int x, int y) {
  const bool selected = IsCurrentNetworkSelected(page);
  const int height = Network::Height(net, page);
  FillRectWithBrush(dc, Rect{x, y, x + 32, y + height}, selected ? 21 : 19);
  FillRectWithBrush(dc, Rect{x, y, x + 16, y + height}, selected ? 21 : 18);
  Line(dc, x + 31, y, x + 31, y + height, selected ? 13 : 7);
  int px = 0;
  int py = 0;
  if (page.BreakpointNetwork == page.CurrentNetwork) {
    MarkerPoint(net, page, x, y, page.BreakpointLine, px, py);
    DrawBreakpointMark(dc, px, py, selected ? 13 : 16, selected ? 21 : 15);
  }
  if (page.StepNetwork == page.CurrentNetwork) {
    MarkerPoint(net, page, x, y, page.StepLine, px, py);
    DrawStepArrow(dc, px, py, selected ? 13 : 7, selected ? 21 : 15);
  }
}

void PaintNetworkRightBar(DrawContext& dc, const Network& net, const PageViewState& page, int x, int y) {
  const int width = Network::BodyWidth(net, page);
  const int height = Network::Height(net, page);
  FillRectWithBrush(dc, Rect{x + 32 + width, y, x + 48 + width, y + height}, IsCurrentNetworkSelected(page) ? 21 : 19);
}

void PaintNetworkHeader(DrawContext& dc, const Network& net, const PageViewState& page, int x, int y) {
  const bool selected = IsCurrentNetworkSelected(page);
  const bool step = page.StepNetwork == page.CurrentNetwork;
  const int width = Network::BodyWidth(net, page);
  const Rect header{x + 32, y, x + 32 + width, y + kNetworkHeaderHeight};
  FillRectWithBrush(dc, header, selected ? 21 : (step ? 16 : 19));
  const int word = selected ? 13 : (step ? 15 : 0);
  const int number = selected ? 13 : (step ? 15 : 6);
  std::vector<TextRun> segments{{L"NETWORK", word}, {L" ", word}, {std::to_wstring(page.CurrentNetwork), number}};
  if (step) {
    segments.emplace_back(L" ", word);
    segments.emplace_back(L"STEP", word);
    segments.emplace_back(L" ", word);
    segments.emplace_back(std::to_wstring(page.StepLine), word);
  }
  DrawTextSegments(segments, Rect{header.left + 2, header.top + 2, header.right - 2, header.bottom - 2}, dc);
}

void PaintNetworkComment(DrawContext& dc, const Network& net, const PageViewState& page, int x, int y) {
  if (IsCommentEditorOnCurrentNetwork(page)) return;
  const bool selected = IsCurrentNetworkSelected(page);
  const Rect box = Network::CommentRect(net, page, x, y);
  FillRectWithBrush(dc, box, selected ? 21 : (IsCommentLevelOnCurrentNetwork(page) ? 14 : 20));
  const int width = Network::BodyWidth(net, page);
  int top = y + 19;
  for (const std::wstring& line : net.Comments) {
    DrawColoredText(dc, line, Rect{x + 38, top, x + 32 + width - 6, top + 13}, 0, selected ? 13 : 1, kTextVCenter);
    top += 13;
  }
  if (selected) return;
  // An empty comment names itself, and a dotted line parts it from the program below, so that
  // the comment and an empty program never look alike.
  if (IsBlankText(net.Comments)) DrawHintText(dc, NetworkCommentHint(), Rect{x + 38, y + 19, x + 32 + width - 6, y + 32});
  dc.DrawLine(box.left, box.bottom - 1, box.right, box.bottom - 1, PenIndex(kHintColour, PenStyle::kDot));
}

const wchar_t* NetworkCommentHint() { return PickText(L"Network comment", L"网络注释"); }

const wchar_t* StlBodyHint() {
  return PickText(L"Statement list: click here and type the program", L"指令表：在此单击并输入程序");
}

void DrawHintText(DrawContext& dc, const std::wstring& text, const Rect& rect) {
  DrawColoredText(dc, text, rect, kFontItalic, kHintColour, kTextVCenter);
}

bool IsBlankText(const std::vector<std::wstring>& lines) {
  return std::all_of(lines.begin(), lines.end(),
                     [](const std::wstring& line) { return line.find_first_not_of(L" \t") == std::wstring::npos; });
}

void PaintInvalidBody(DrawContext& dc, const Network& net, const PageViewState& page, int x, int y) {
  const bool selected = IsCurrentNetworkSelected(page);
  const Rect body = Network::BodyRect(net, page, x, y);
  FillRectWithBrush(dc, body, selected ? 21 : (IsCellCursorOnCurrentNetwork(page) ? 14 : 19));
  DrawColoredText(dc, L"INVALID", body, 0, selected ? 13 : 11, kTextCenter | kTextVCenter);
}

void PaintNetworkBody(DrawContext& dc, const Network& net, const PageViewState& page, int x, int y,
                      OnlineCacheSnapshot& online) {
  const int bodyX = x + 32;
  const int bodyY = y + kNetworkHeaderHeight + Network::CommentHeight(page, net);
  if (net.Kind == kNetworkStl && page.ViewMode == 1) {
    PaintStlBody(dc, net.Lines, bodyX, bodyY, page, online);
  } else if (net.Kind == kNetworkLad && page.ViewMode == 2) {
    PaintLadderGrid(dc, net.Grid, bodyX, bodyY, page, online);
  } else if ((net.Kind == kNetworkStl || net.Kind == kNetworkLad) && (page.ViewMode == 1 || page.ViewMode == 2)) {
    PaintInvalidBody(dc, net, page, x, y);
  } else {
    throw ExceptionLogicError();
  }
}

void PaintNetwork(DrawContext& dc, const Network& net, const PageViewState& page, int x, int y,
                  OnlineCacheSnapshot& online) {
  PaintNetworkLeftBar(dc, net, page, x, y);
  PaintNetworkRightBar(dc, net, page, x, y);
  PaintNetworkHeader(dc, net, page, x, y);
  PaintNetworkComment(dc, net, page, x, y);
  PaintNetworkBody(dc, net, page, x, y, online);
}

}  // namespace Brenno
