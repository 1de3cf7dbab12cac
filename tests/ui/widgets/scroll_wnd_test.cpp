// The scrolling window: which bars a content needs, how scroll requests and the wheel move the
// positions, and a real CScrollWnd keeping its bars in step with its content.
#include "ui/widgets/scroll_wnd.h"

#include <gtest/gtest.h>

#include <QScrollBar>

#include "tests/ui/widgets/widget_test_events.h"

namespace Brenno {
namespace {

using namespace testing_widgets;

struct BarCase {
  int w, h, cw, ch;
  ScrollBarLayout expected;
};

TEST(ScrollMath, BarsFollowTheContent) {
  // Bars are 16 wide and 16 high.
  const BarCase cases[] = {
      {200, 200, 200, 200, {}},                                    // fits exactly
      {200, 200, 100, 150, {}},                                    // smaller
      {200, 200, 150, 400, {true, false, {399, 200}, {}}},         // taller only
      {200, 200, 400, 150, {false, true, {}, {399, 200}}},         // wider only, room under the bar
      {200, 200, 400, 190, {true, true, {189, 184}, {399, 184}}},  // wider and taller by less than a bar
      {200, 200, 190, 400, {true, true, {399, 184}, {189, 184}}},  // narrower by less than a bar, taller
      {200, 200, 1, 400, {true, false, {399, 200}, {}}},
      {-1, 200, 400, 400, {}},                                     // no area
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComputeScrollBars(c.w, c.h, c.cw, c.ch, 16, 16), c.expected) << c.w << "x" << c.h << " " << c.cw << "x"
                                                                          << c.ch;
  }
}

TEST(ScrollMath, RequestsStayInsideTheRange) {
  struct Case {
    int request, pos;
    std::optional<ScrollMove> expected;
  };
  // max 100, page 30, line back 3, line forward 10, track 42.
  const Case cases[] = {
      {SB_LINEUP, 0, std::nullopt},        {SB_LINEUP, 2, ScrollMove{0, false}},
      {SB_LINEUP, 50, ScrollMove{47, false}}, {SB_LINEDOWN, 100, std::nullopt},
      {SB_LINEDOWN, 95, ScrollMove{100, false}}, {SB_LINEDOWN, 50, ScrollMove{60, false}},
      {SB_PAGEUP, 10, ScrollMove{0, false}}, {SB_PAGEDOWN, 50, ScrollMove{80, false}},
      {SB_PAGEDOWN, 100, std::nullopt},     {SB_TOP, 0, std::nullopt},
      {SB_TOP, 5, ScrollMove{0, true}},      {SB_BOTTOM, 5, ScrollMove{100, true}},
      {SB_BOTTOM, 100, std::nullopt},        {SB_THUMBTRACK, 5, ScrollMove{42, true}},
      {SB_THUMBPOSITION, 5, ScrollMove{42, true}}, {SB_ENDSCROLL, 5, std::nullopt},
      {99, 5, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ScrollRequestTarget(c.request, c.pos, 100, 30, 3, 10, 42), c.expected) << c.request << " " << c.pos;
}

TEST(ScrollMath, WheelTurnsByNotches) {
  EXPECT_EQ(WheelScrollTarget(0, 100, -120, 5, 10), 10);   // one notch towards the user
  EXPECT_EQ(WheelScrollTarget(50, 100, 240, 5, 10), 40);   // two notches away, up step 5
  EXPECT_EQ(WheelScrollTarget(50, 100, -119, 5, 10), 50);  // less than a notch
  EXPECT_EQ(WheelScrollTarget(95, 100, -120, 5, 10), 100);
  EXPECT_EQ(WheelScrollTarget(3, 100, 120, 5, 10), 0);
}

class ContentWnd : public CScrollWnd {
 public:
  int contentWidth = 150;
  int contentHeight = 1000;
  int GetLineUpStep() override { return 5; }
  int GetLineDownStep() override { return 10; }
  void GetContentRect(Rect& r) override { r = Rect{0, 0, contentWidth, contentHeight}; }
};

TEST(ScrollWnd, BarsAndWheelFollowTheContent) {
  ContentWnd wnd;
  wnd.resize(200, 200);
  ShowActive(wnd);
  wnd.UpdateScrollBars();
  QApplication::processEvents();
  EXPECT_TRUE(wnd.verticalScrollBar()->isVisible());
  EXPECT_FALSE(wnd.horizontalScrollBar()->isVisible());
  const ScrollBarSetting v = wnd.GetScrollSetting(CScrollWnd::SB_VERT);
  EXPECT_EQ(v.rangeMax, 999);
  EXPECT_EQ(v.page, 200);
  EXPECT_EQ(wnd.viewport()->height(), 200);

  Wheel(wnd.viewport(), {50, 50}, -120);
  EXPECT_EQ(wnd.GetScrollPosition(CScrollWnd::SB_VERT), 10);
  Wheel(wnd.viewport(), {50, 50}, 120);
  EXPECT_EQ(wnd.GetScrollPosition(CScrollWnd::SB_VERT), 5);

  // The last position shows a full page; line down there stays.
  wnd.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(wnd.GetScrollPosition(CScrollWnd::SB_VERT), 800);
  wnd.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(wnd.GetScrollPosition(CScrollWnd::SB_VERT), 800);
  Wheel(wnd.viewport(), {50, 50}, -120);
  EXPECT_EQ(wnd.GetScrollPosition(CScrollWnd::SB_VERT), 800);
  wnd.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(wnd.GetScrollPosition(CScrollWnd::SB_VERT), 795);
  wnd.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(wnd.GetScrollPosition(CScrollWnd::SB_VERT), 795 - wnd.verticalScrollBar()->pageStep());

  // Content that now fits drops the bar and its position.
  wnd.contentHeight = 100;
  wnd.UpdateScrollBars();
  QApplication::processEvents();
  EXPECT_FALSE(wnd.verticalScrollBar()->isVisible());
  EXPECT_EQ(wnd.GetScrollPosition(CScrollWnd::SB_VERT), 0);

  // Wider than the window: a horizontal bar with its own line steps.
  wnd.contentWidth = 500;
  wnd.UpdateScrollBars();
  wnd.OnHScroll(SB_LINEDOWN);
  EXPECT_EQ(wnd.GetScrollPosition(CScrollWnd::SB_HORZ), 1);
  wnd.OnHScroll(SB_THUMBTRACK, 250);
  EXPECT_EQ(wnd.GetScrollPosition(CScrollWnd::SB_HORZ), 250);
  EXPECT_EQ(wnd.GetScrollPosition(7), 0);
}

}  // namespace
}  // namespace Brenno
