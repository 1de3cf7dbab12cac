// The QPainter drawing surface: pixels of a QImage drawn through it.
#include "ui/widgets/qt_draw_context.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <functional>

#include "core/draw/text_drawing.h"

namespace Brenno {
namespace {

const SystemColours kSystem{{255, 255, 255}, {240, 240, 240}, {0, 120, 215}};

class QtDrawContextTest : public ::testing::Test {
 protected:
  QtDrawContextTest() : set_(kSystem), resources_(set_), image_(200, 100, QImage::Format_RGB32) {
    image_.fill(Qt::white);
  }

  void Draw(const std::function<void(DrawContext&)>& paint) {
    QPainter painter(&image_);
    QtDrawContext dc(painter, resources_);
    paint(dc);
  }

  QRgb At(int x, int y) const { return image_.pixel(x, y) & 0xFFFFFF; }

  // Pixels that are not white inside and outside a rectangle.
  int InkInside(const QRect& r) const {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) n += At(x, y) != 0xFFFFFF;
    return n;
  }
  int InkOutside(const QRect& r) const { return InkInside(image_.rect()) - InkInside(r); }

  GdiResourceSet set_;
  QtDrawResources resources_;
  QImage image_;
};

constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kBlack = 0x000000;
constexpr QRgb kGreen = 0x008000;
constexpr QRgb kDarkRed = 0xC00000;
constexpr QRgb kLightYellow = 0xFFFF80;

TEST_F(QtDrawContextTest, FillLeavesRightAndBottomEdgesOut) {
  Draw([](DrawContext& dc) {
    FillRectWithBrush(dc, Rect{10, 10, 20, 15}, 1);
    FillRectWithBrush(dc, Rect{50, 10, 40, 15}, 1);  // inverted: nothing
  });
  EXPECT_EQ(At(10, 10), kGreen);
  EXPECT_EQ(At(19, 14), kGreen);
  EXPECT_EQ(At(20, 14), kWhite);
  EXPECT_EQ(At(19, 15), kWhite);
  EXPECT_EQ(At(45, 12), kWhite);
}

TEST_F(QtDrawContextTest, LinesLeaveTheirEndPointOut) {
  Draw([](DrawContext& dc) {
    dc.DrawLine(10, 50, 20, 50, SolidPen(10));  // right
    dc.DrawLine(30, 60, 30, 50, SolidPen(10));  // up
    dc.DrawLine(40, 50, 45, 55, SolidPen(10));  // diagonal
    dc.DrawLine(60, 50, 60, 50, SolidPen(10));  // a point: nothing
  });
  EXPECT_EQ(At(10, 50), kDarkRed);
  EXPECT_EQ(At(19, 50), kDarkRed);
  EXPECT_EQ(At(20, 50), kWhite);
  EXPECT_EQ(At(30, 60), kDarkRed);
  EXPECT_EQ(At(30, 51), kDarkRed);
  EXPECT_EQ(At(30, 50), kWhite);
  EXPECT_EQ(At(40, 50), kDarkRed);
  EXPECT_EQ(At(44, 54), kDarkRed);
  EXPECT_EQ(At(45, 55), kWhite);
  EXPECT_EQ(At(60, 50), kWhite);
}

TEST_F(QtDrawContextTest, PenStylesLeaveGapsExceptSolid) {
  Draw([](DrawContext& dc) {
    for (int style = 0; style < 4; ++style) {
      dc.DrawLine(10, 10 + 5 * style, 110, 10 + 5 * style, PenIndex(0, static_cast<PenStyle>(style)));
    }
  });
  for (int style = 0; style < 4; ++style) {
    const int ink = InkInside(QRect(10, 10 + 5 * style, 100, 1));
    if (style == 0) {
      EXPECT_EQ(ink, 100);
    } else {
      EXPECT_GT(ink, 20) << style;
      EXPECT_LT(ink, 90) << style;
    }
  }
}

TEST_F(QtDrawContextTest, RectangleOutlinesItsOuterPixelsAndFillsInside) {
  Draw([](DrawContext& dc) {
    dc.DrawRectangle(Rect{40, 40, 30, 30}, SolidPen(0), 15);  // given inverted
    dc.FrameRectangle(Rect{60, 30, 70, 40}, SolidPen(1));
  });
  EXPECT_EQ(At(30, 30), kBlack);
  EXPECT_EQ(At(39, 39), kBlack);
  EXPECT_EQ(At(39, 30), kBlack);
  EXPECT_EQ(At(40, 40), kWhite);
  EXPECT_EQ(At(40, 35), kWhite);
  EXPECT_EQ(At(35, 35), kLightYellow);
  EXPECT_EQ(At(60, 30), kGreen);
  EXPECT_EQ(At(69, 39), kGreen);
  EXPECT_EQ(At(65, 35), kWhite);
  EXPECT_EQ(At(70, 35), kWhite);
}

TEST_F(QtDrawContextTest, RubberBandInvertsEachOutlinePixelOnceAndUndoesItself) {
  Draw([](DrawContext& dc) { dc.FillRect(Rect{0, 0, 100, 100}, 1); });
  const QImage before = image_.copy();
  Draw([](DrawContext& dc) {
    dc.DrawInvertedFrame(Rect{10, 10, 50, 40}, SolidPen(7));
    dc.DrawInvertedFrame(Rect{150, 60, 110, 20}, 30);  // dotted, dragged up and left
  });
  const QRgb inverted = ~kGreen & 0xFFFFFF;
  EXPECT_EQ(At(10, 10), inverted);  // corners inverted once, not twice
  EXPECT_EQ(At(49, 39), inverted);
  EXPECT_EQ(At(49, 10), inverted);
  EXPECT_EQ(At(10, 39), inverted);
  EXPECT_EQ(At(30, 10), inverted);
  EXPECT_EQ(At(30, 25), kGreen);  // inside untouched
  EXPECT_EQ(At(50, 40), kGreen);
  const int dotted = InkInside(QRect(110, 20, 40, 1));
  EXPECT_GT(dotted, 5);
  EXPECT_LT(dotted, 40);
  Draw([](DrawContext& dc) {
    dc.DrawInvertedFrame(Rect{10, 10, 50, 40}, SolidPen(7));
    dc.DrawInvertedFrame(Rect{150, 60, 110, 20}, 30);
  });
  EXPECT_EQ(image_, before);
}

TEST_F(QtDrawContextTest, IndicesOutsideTheTablesDrawWithEntryZero) {
  Draw([](DrawContext& dc) {
    dc.FillRect(Rect{0, 0, 10, 10}, 22);
    dc.FillRect(Rect{10, 0, 20, 10}, -1);
    dc.DrawLine(0, 20, 10, 20, 88);
    dc.DrawRectangle(Rect{20, 20, 30, 30}, -7, 1000);
    dc.DrawText(L"Wrong", Rect{40, 0, 140, 20}, 8, 22, kTextOneLine);
    dc.DrawText(L"Wrong", Rect{40, 20, 140, 40}, -1, -1, kTextOneLine);
    dc.MeasureText(L"Wrong", 99);
  });
  EXPECT_EQ(At(5, 5), kBlack);
  EXPECT_EQ(At(15, 5), kBlack);
  EXPECT_EQ(At(5, 20), kBlack);
  EXPECT_EQ(At(25, 25), kBlack);
  EXPECT_GT(InkInside(QRect(40, 0, 100, 20)), 10);
  EXPECT_EQ(resources_.Font(8), resources_.Font(0));
  EXPECT_EQ(resources_.Pen(-1), resources_.Pen(0));
}

TEST_F(QtDrawContextTest, TextStaysInsideItsRectangle) {
  Draw([](DrawContext& dc) {
    DrawColoredText(dc, L"A text far wider than its little rectangle", Rect{20, 20, 80, 33}, 0, 0, kTextVCenter);
  });
  EXPECT_GT(InkInside(QRect(20, 20, 60, 13)), 20);
  EXPECT_EQ(InkOutside(QRect(20, 20, 60, 13)), 0);
  // The elided text reaches towards the right edge: its dots stand in the last quarter.
  EXPECT_GT(InkInside(QRect(65, 20, 15, 13)), 0);
}

TEST_F(QtDrawContextTest, RunsAreDrawnInTheirColours) {
  const std::vector<ColorRun> runs = {{4, 10}, {4, 1}};
  int firstWidth = 0;
  Draw([&](DrawContext& dc) {
    firstWidth = dc.MeasureText(L"MMMM", 1).width;
    DrawColoredTextRuns(dc, L"MMMMMMMM", 10, 10, 190, 30, 1, runs, kTextVCenter);
  });
  auto count = [&](QRgb colour, int x0, int x1) {
    int n = 0;
    for (int y = 10; y < 30; ++y)
      for (int x = x0; x < x1; ++x) n += At(x, y) == colour;
    return n;
  };
  ASSERT_GT(firstWidth, 10);
  EXPECT_GT(count(kDarkRed, 10, 10 + firstWidth), 5);
  EXPECT_EQ(count(kDarkRed, 10 + firstWidth, 190), 0);
  EXPECT_GT(count(kGreen, 10 + firstWidth, 190), 5);
  EXPECT_EQ(count(kGreen, 10, 10 + firstWidth), 0);
}

TEST_F(QtDrawContextTest, FontsFollowTheirDescriptorsAndFitTheCell) {
  for (int i = 0; i < GdiResourceSet::kFontCount; ++i) {
    const QFont& font = resources_.Font(i);
    EXPECT_EQ(font.bold(), (i & 1) != 0) << i;
    EXPECT_EQ(font.italic(), (i & 2) != 0) << i;
    EXPECT_EQ(font.underline(), (i & 4) != 0) << i;
    EXPECT_LE(resources_.Metrics(i).height(), 13) << i;
    EXPECT_GE(resources_.Metrics(i).height(), 9) << i;
  }
}

TEST_F(QtDrawContextTest, ChineseTextRendersWithAFontThatHasTheGlyphs) {
  // "未知", the value text of an operand not yet read.
  const std::wstring text = L"\u672A\u77E5";
  const QFontMetrics& metrics = resources_.Metrics(0);
  const QFontInfo info(resources_.Font(0));
  EXPECT_TRUE(metrics.inFont(QChar(0x672A)) || QtDrawResources::ResolveFamily("Tahoma") == "Tahoma")
      << info.family().toStdString();
  Draw([&](DrawContext& dc) { DrawColoredText(dc, text, Rect{10, 10, 110, 30}, 0, 0, 0); });
  EXPECT_GT(InkInside(QRect(10, 10, 100, 20)), 30);
  // Two glyphs wider than a missing-glyph box would leave: each CJK character is about square.
  EXPECT_GE(metrics.horizontalAdvance(QString::fromWCharArray(text.c_str())), 2 * 8);
}

TEST(QtSystemColoursTest, PaletteColoursBecomeTheSystemColours) {
  const SystemColours saved = GetSystemColours();
  QPalette palette;
  palette.setColor(QPalette::Active, QPalette::HighlightedText, QColor(1, 2, 3));
  palette.setColor(QPalette::Active, QPalette::Button, QColor(4, 5, 6));
  palette.setColor(QPalette::Active, QPalette::Highlight, QColor(7, 8, 9));
  SetSystemColoursFromPalette(palette);
  const GdiResourceSet set;
  SetSystemColours(saved);
  EXPECT_EQ(set.Colors(13), (Colour{1, 2, 3}));
  EXPECT_EQ(set.Colors(14), (Colour{4, 5, 6}));
  EXPECT_EQ(set.Colors(17), (Colour{4, 5, 6}));
  EXPECT_EQ(set.Colors(21), (Colour{7, 8, 9}));
}

}  // namespace
}  // namespace Brenno
