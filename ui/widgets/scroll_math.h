// The arithmetic of the scrolling windows, free of any window: which scroll bars a content size
// needs in a given area, and where a scroll request or a wheel turn moves a bar's position.
// CScrollWnd (ui/widgets/scroll_wnd.h) applies it to its Qt scroll bars.
#pragma once

#include <optional>

namespace Brenno {

// One scroll bar in the terms of the scroll windows: the range runs from 0 to rangeMax, page is
// the visible part; the position then stays within 0 .. rangeMax - page + 1. A bar whose
// rangeMax is 0 has no range and is not shown.
struct ScrollBarSetting {
  int rangeMax = 0;
  int page = 0;
  bool operator==(const ScrollBarSetting&) const = default;
};

struct ScrollBarLayout {
  bool vertical = false;    // the vertical bar is needed
  bool horizontal = false;  // the horizontal bar is needed
  ScrollBarSetting vbar;
  ScrollBarSetting hbar;
  bool operator==(const ScrollBarLayout&) const = default;
};

// The bars a content of contentWidth x contentHeight needs in an area of areaWidth x areaHeight
// (the window as if no bar were shown); barWidth is the width of a vertical bar, barHeight the
// height of a horizontal one.
// - any size negative, or the content fits both ways: no bar;
// - both bars when the content does not fit beside either bar (height - barHeight < content
//   height and width - barWidth < content width); else the vertical one when the content is
//   taller than the area; else the horizontal one;
// - a needed bar takes its thickness from the other direction; its range is 0 .. content - 1 and
//   its page the remaining extent (no range when content - 1 is not positive).
ScrollBarLayout ComputeScrollBars(int areaWidth, int areaHeight, int contentWidth, int contentHeight, int barWidth,
                                  int barHeight);

// Scroll requests of a bar, with the values the scroll messages use.
enum ScrollRequest {
  SB_LINEUP = 0,  // line left for a horizontal bar
  SB_LINEDOWN = 1,
  SB_PAGEUP = 2,
  SB_PAGEDOWN = 3,
  SB_THUMBPOSITION = 4,
  SB_THUMBTRACK = 5,
  SB_TOP = 6,
  SB_BOTTOM = 7,
  SB_ENDSCROLL = 8,
};

// Where a request moves the bar. max is the range maximum (rangeMax), page the page size,
// lineBack and lineForward the line steps towards 0 and towards max, track the thumb's position
// for the thumb requests. Empty when nothing moves: a line or page request at the end it points
// to, top at 0, bottom at max, end scroll and unknown requests.
struct ScrollMove {
  int position = 0;
  bool alwaysRepaint = false;  // top, bottom and thumb requests repaint even when nothing moved
  bool operator==(const ScrollMove&) const = default;
};
std::optional<ScrollMove> ScrollRequestTarget(int request, int pos, int max, int page, int lineBack, int lineForward,
                                              int track);

// The vertical position after a wheel turn of delta (120 a notch, positive away from the user):
// pos + step x (-delta / 120), the division truncated toward zero, limited to 0 .. max, where
// step is lineUp for a positive delta and lineDown otherwise.
int WheelScrollTarget(int pos, int max, int delta, int lineUp, int lineDown);

}  // namespace Brenno
