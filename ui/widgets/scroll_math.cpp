#include "ui/widgets/scroll_math.h"

#include <algorithm>

namespace Brenno {

ScrollBarLayout ComputeScrollBars(int areaWidth, int areaHeight, int contentWidth, int contentHeight, int barWidth,
                                  int barHeight) {
  ScrollBarLayout layout;
  if (areaWidth < 0 || areaHeight < 0 || contentWidth < 0 || contentHeight < 0) return layout;
  if (areaHeight >= contentHeight && areaWidth >= contentWidth) return layout;

  if (areaHeight - barHeight < contentHeight && areaWidth - barWidth < contentWidth) {
    layout.vertical = layout.horizontal = true;
  } else if (areaHeight < contentHeight) {
    layout.vertical = true;
  } else {
    layout.horizontal = true;
  }
  int width = areaWidth;
  int height = areaHeight;
  if (layout.vertical) width -= barWidth;
  if (layout.horizontal) height -= barHeight;
  if (layout.vertical && contentHeight - 1 > 0) layout.vbar = {contentHeight - 1, height};
  if (layout.horizontal && contentWidth - 1 > 0) layout.hbar = {contentWidth - 1, width};
  return layout;
}

std::optional<ScrollMove> ScrollRequestTarget(int request, int pos, int max, int page, int lineBack, int lineForward,
                                              int track) {
  switch (request) {
    case SB_LINEUP:
      if (pos <= 0) return std::nullopt;
      return ScrollMove{std::max(0, pos - lineBack), false};
    case SB_LINEDOWN:
      if (pos >= max) return std::nullopt;
      return ScrollMove{std::min(max, pos + lineForward), false};
    case SB_PAGEUP:
      if (pos <= 0) return std::nullopt;
      return ScrollMove{std::max(0, pos - page), false};
    case SB_PAGEDOWN:
      if (pos >= max) return std::nullopt;
      return ScrollMove{std::min(max, pos + page), false};
    case SB_TOP:
      if (pos <= 0) return std::nullopt;
      return ScrollMove{0, true};
    case SB_BOTTOM:
      if (pos >= max) return std::nullopt;
      return ScrollMove{max, true};
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      return ScrollMove{track, true};
    default:
      return std::nullopt;
  }
}

int WheelScrollTarget(int pos, int max, int delta, int lineUp, int lineDown) {
  const int step = delta > 0 ? lineUp : lineDown;
  const long long target = static_cast<long long>(pos) + static_cast<long long>(step) * (-delta / 120);
  return static_cast<int>(std::clamp<long long>(target, 0, std::max(0, max)));
}

}  // namespace Brenno
