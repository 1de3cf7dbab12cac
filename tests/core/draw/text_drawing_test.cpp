#include "core/draw/text_drawing.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/recording_draw_context.h"

namespace Brenno {
namespace {

using testsupport::DrawCall;
using testsupport::RecordingDrawContext;

constexpr int kCw = RecordingDrawContext::kCharWidth;

TEST(DrawColoredTextTest, DrawsOneLineWithEllipsisAndNoPrefix) {
  RecordingDrawContext dc;
  DrawColoredText(dc, L"A&B", 10, 20, 110, 33, 1, 6, kTextCenter | kTextVCenter);
  DrawColoredText(dc, L"NETWORK 123456", Rect{0, 0, 50, 13}, 0, 0, 0);
  ASSERT_EQ(dc.calls().size(), 2u);
  const DrawCall& first = dc.calls()[0];
  EXPECT_EQ(first.rect, (Rect{10, 20, 110, 33}));
  EXPECT_EQ(first.font, 1);
  EXPECT_EQ(first.colour, 6);
  EXPECT_EQ(first.format, 0x8865u);
  EXPECT_EQ(first.shown, L"A&B");
  // 50 pixels hold four characters and the dots.
  EXPECT_EQ(dc.calls()[1].format, 0x8860u);
  EXPECT_EQ(dc.calls()[1].shown, L"NETW...");
}

TEST(DrawColoredTextRunsTest, NoRunsDrawNothing) {
  RecordingDrawContext dc;
  DrawColoredTextRuns(dc, L"LD I0.0", 0, 0, 100, 13, 0, {}, kTextVCenter);
  EXPECT_TRUE(dc.calls().empty());
}

TEST(DrawColoredTextRunsTest, OneRunDrawsTheWholeTextWithTheAlignmentAsFormat) {
  RecordingDrawContext dc;
  const std::vector<ColorRun> runs = {{2, 3}};
  DrawColoredTextRuns(dc, L"I0.0", 5, 6, 105, 36, 1, runs, 5);
  ASSERT_EQ(dc.calls().size(), 1u);
  EXPECT_EQ(dc.calls()[0].text, L"I0.0");
  EXPECT_EQ(dc.calls()[0].rect, (Rect{5, 6, 105, 36}));
  EXPECT_EQ(dc.calls()[0].colour, 3);
  EXPECT_EQ(dc.calls()[0].font, 1);
  EXPECT_EQ(dc.calls()[0].format, 0x8865u);
}

TEST(DrawColoredTextRunsTest, RunsSideBySideInTheirColours) {
  RecordingDrawContext dc;
  const std::vector<ColorRun> runs = {{3, 2}, {4, 6}};
  DrawColoredTextRuns(dc, L"ABCDEFG", 10, 0, 200, 13, 0, runs, 0);
  ASSERT_EQ(dc.calls().size(), 2u);
  EXPECT_EQ(dc.calls()[0].text, L"ABC");
  EXPECT_EQ(dc.calls()[0].colour, 2);
  EXPECT_EQ(dc.calls()[0].rect, (Rect{10, 0, 10 + 3 * kCw, 13}));
  EXPECT_EQ(dc.calls()[1].text, L"DEFG");
  EXPECT_EQ(dc.calls()[1].colour, 6);
  EXPECT_EQ(dc.calls()[1].rect, (Rect{10 + 3 * kCw, 0, 10 + 7 * kCw, 13}));
  EXPECT_EQ(dc.calls()[1].format, 0x8860u);
}

TEST(DrawColoredTextRunsTest, AlignmentPlacesTheWholeText) {
  // Ten characters (70 pixels, 13 high) in a 100 x 30 rectangle at (0, 0).
  struct Case {
    unsigned alignment;
    int x;
    int y;
  } cases[] = {{0, 0, 0}, {1, 15, 0}, {2, 30, 0}, {3, 30, 0}, {4, 0, 8}, {8, 0, 17}, {12, 0, 17}, {5, 15, 8}, {10, 30, 17}};
  const std::vector<ColorRun> runs = {{4, 0}, {6, 3}};
  for (const Case& c : cases) {
    RecordingDrawContext dc;
    DrawColoredTextRuns(dc, L"ABCDEFGHIJ", 0, 0, 100, 30, 0, runs, c.alignment);
    ASSERT_EQ(dc.calls().size(), 2u) << c.alignment;
    EXPECT_EQ(dc.calls()[0].rect, (Rect{c.x, c.y, c.x + 4 * kCw, c.y + 13})) << c.alignment;
    EXPECT_EQ(dc.calls()[1].rect.left, c.x + 4 * kCw) << c.alignment;
  }
  // A text as wide as the rectangle is not moved.
  RecordingDrawContext dc;
  DrawColoredTextRuns(dc, L"ABCDEFGHIJ", 0, 0, 70, 30, 0, runs, kTextRight | kTextBottom);
  EXPECT_EQ(dc.calls()[0].rect, (Rect{0, 17, 28, 30}));
}

TEST(DrawColoredTextRunsTest, RunCrossingTheRightEdgeEndsInEllipsisAndLaterRunsAreSkipped) {
  RecordingDrawContext dc;
  const std::vector<ColorRun> runs = {{5, 1}, {8, 2}, {3, 3}};
  DrawColoredTextRuns(dc, L"AAAAABBBBBBBBCCC", 0, 0, 70, 10, 0, runs, 0);
  ASSERT_EQ(dc.calls().size(), 2u);
  EXPECT_EQ(dc.calls()[0].shown, L"AAAAA");
  // The second run starts at 35 and is cut at 70 (and at the bottom, 10).
  EXPECT_EQ(dc.calls()[1].rect, (Rect{35, 0, 70, 10}));
  EXPECT_EQ(dc.calls()[1].shown, L"BB...");
}

TEST(DrawColoredTextRunsTest, RunsBeyondTheTextAreCutAtItsEnd) {
  RecordingDrawContext dc;
  const std::vector<ColorRun> runs = {{2, 1}, {-4, 9}, {5, 2}, {4, 3}};
  DrawColoredTextRuns(dc, L"ABC", 0, 0, 300, 13, 0, runs, 0);
  ASSERT_EQ(dc.calls().size(), 2u);
  EXPECT_EQ(dc.calls()[0].text, L"AB");
  EXPECT_EQ(dc.calls()[1].text, L"C");
  EXPECT_EQ(dc.calls()[1].colour, 2);
}

TEST(DrawTextSegmentsTest, SegmentsInOneLineLeftAlignedAndVerticallyCentred) {
  RecordingDrawContext dc;
  const std::vector<TextRun> segments = {TextRun(L"0:", 0), TextRun(L" ", 5), TextRun(L"[", 5),
                                         TextRun(L"Function", 1), TextRun(L"]", 5)};
  DrawTextSegments(segments, Rect{40, 100, 400, 121}, dc);
  const std::vector<DrawCall> texts = dc.CallsOf(DrawCall::kText);
  ASSERT_EQ(texts.size(), 5u);
  int x = 40;
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(texts[i].text, segments[i].text);
    EXPECT_EQ(texts[i].colour, segments[i].colour);
    EXPECT_EQ(texts[i].font, 0);
    EXPECT_EQ(texts[i].rect.left, x);
    EXPECT_EQ(texts[i].rect.top, 104);
    x = texts[i].rect.right;
  }
  EXPECT_EQ(x, 40 + 13 * kCw);
}

TEST(FillRectWithBrushTest, FillsWithTheBrushIndex) {
  RecordingDrawContext dc;
  FillRectWithBrush(dc, Rect{1, 2, 3, 4}, 19);
  ASSERT_EQ(dc.calls().size(), 1u);
  EXPECT_EQ(dc.calls()[0].kind, DrawCall::kFill);
  EXPECT_EQ(dc.calls()[0].brush, 19);
  EXPECT_EQ(dc.calls()[0].rect, (Rect{1, 2, 3, 4}));
}

}  // namespace
}  // namespace Brenno
