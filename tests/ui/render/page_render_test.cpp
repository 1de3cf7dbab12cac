// Rendering of the sample pages offscreen: the pixels stand where the geometry says (the rail
// of the left bar, a coil and its power-flow fill), a part of a page renders exactly as the
// same part of the whole page, and Chinese text is drawn with a font that has its glyphs.
#include "ui/render/page_renderer.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QRawFont>

#include "core/program/ladder_geometry.h"
#include "core/program/ladder_metrics.h"
#include "core/program/network.h"
#include "core/program/page_painter.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"
#include "ui/render/sample_program.h"

namespace Brenno {
namespace {

// Fixed system colours, so the expected pixels do not depend on the platform's palette.
const SystemColours kSystem{{255, 255, 255}, {240, 240, 240}, {0, 120, 215}};

constexpr QRgb kBlack = 0x000000;        // colour 7: lines and symbols
constexpr QRgb kWhite = 0xFFFFFF;        // colour 19: backgrounds
constexpr QRgb kButtonFace = 0xF0F0F0;   // colour 18: inner strip of the left bar
constexpr QRgb kPowerFlow = 0x8080E0;    // colour 8: power-flow mark

class PageRenderTest : public ::testing::Test {
 protected:
  PageRenderTest()
      : set_(kSystem),
        resources_(set_),
        sample_(platform::FromUtf8Lossy(testsupport::FixturePath("catalog/Orvisto/TypeA"))) {
    SetLadderMetrics(100, false);
  }

  QImage Render(ProgramPage& page, bool online, Rect area = {}) {
    if (area == Rect{}) {
      const QSize size = PageExtent(page);
      area = Rect{0, 0, size.width(), size.height()};
    }
    OnlineCacheSnapshot snapshot = online ? sample_.Online() : sample_.Offline();
    return RenderPageArea(page, area, snapshot, resources_);
  }

  static QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

  // Pixels of the rectangle that differ from the background colour.
  static int Ink(const QImage& image, const QRect& r, QRgb background) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) n += At(image, x, y) != background;
    return n;
  }

  GdiResourceSet set_;
  QtDrawResources resources_;
  SampleProgram sample_;
};

TEST_F(PageRenderTest, RailAndCoilStandWhereTheGeometrySays) {
  ProgramPage page = sample_.LadderPage();
  const QImage offline = Render(page, false);
  const QImage online = Render(page, true);

  // Network 0 spans y = 17 ... 17 + its height; its left bar's separator is the rail at x = 31.
  page.ViewState.CurrentNetwork = 0;
  const Network& net = page.Networks()[0];
  const int height = Network::Height(net, page.ViewState);
  for (int y : {17, 17 + height / 2, 17 + height - 1}) {
    EXPECT_EQ(At(offline, 31, y), kBlack) << y;
    EXPECT_EQ(At(offline, 8, y), kButtonFace) << y;
    EXPECT_EQ(At(offline, 24, y), kWhite) << y;
  }

  // The coil of network 0 (column 3): both arcs black on the middle row, its inside white
  // offline and filled with the power-flow colour online (Q0.0 is on).
  const LadElement& coil = net.Grid.Elements[3];
  ASSERT_EQ(coil.Kind, kLadKindCoil);
  const int bodyTop = 17 + kNetworkHeaderHeight + Network::CommentHeight(page.ViewState, net);
  const PagePoint origin = LadElementOrigin(coil, 32, bodyTop);
  const LadderMetrics& m = GetLadderMetrics();
  const int yc = origin.y + m.CellHeight / 2;
  const int xl = origin.x + m.CellWidth / 2 - m.CoilWidth / 2;
  const int xr = origin.x + m.CellWidth / 2 + m.CoilWidth / 2 - 1;
  EXPECT_EQ(At(offline, xl, yc), kBlack);
  EXPECT_EQ(At(offline, xr, yc), kBlack);
  EXPECT_EQ(At(offline, origin.x + 2, yc), kBlack);  // the lead into the coil
  const Rect symbol = ElementSymbolRect(coil, origin.x, origin.y);
  const int xm = (symbol.left + symbol.right) / 2;
  EXPECT_EQ(At(offline, xm, yc), kWhite);
  EXPECT_EQ(At(online, xm, yc), kPowerFlow);
  EXPECT_EQ(At(online, symbol.left, symbol.top), kPowerFlow);
  EXPECT_EQ(At(online, symbol.right - 1, symbol.bottom - 1), kPowerFlow);
  EXPECT_NE(At(online, symbol.right, symbol.bottom), kPowerFlow);
}

TEST_F(PageRenderTest, APartOfAPageRendersAsThatPartOfTheWholePage) {
  ProgramPage page = sample_.LargeLadderPage(30);
  const QImage whole = Render(page, true);
  const Rect part{0, 700, 796, 1100};
  const QImage piece = Render(page, true, part);
  EXPECT_EQ(piece, whole.copy(QRect(part.left, part.top, part.right - part.left, part.bottom - part.top)));
}

TEST_F(PageRenderTest, ChineseCommentsAreDrawnWithAFontThatHasTheGlyphs) {
  const QRawFont raw = QRawFont::fromFont(resources_.Font(0), QFontDatabase::SimplifiedChinese);
  ASSERT_TRUE(raw.isValid());
  EXPECT_TRUE(raw.supportsCharacter(QChar(0x542F)));  // 启

  // Two different characters give two different pictures; missing glyphs would give the same
  // empty box twice.
  auto draw = [&](const std::wstring& text) {
    QImage image(20, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QtDrawContext dc(painter, resources_);
    dc.DrawText(text, Rect{0, 0, 20, 16}, 0, 1, kTextCenter | kTextVCenter);
    return image;
  };
  const QImage first = draw(L"启");
  const QImage second = draw(L"动");
  EXPECT_GT(Ink(first, first.rect(), kWhite), 10);
  EXPECT_GT(Ink(second, second.rect(), kWhite), 10);
  EXPECT_NE(first, second);

  // The comment of the sample's first network begins with Chinese characters, drawn in the
  // comment box from x = 38 on its first line.
  ProgramPage page = sample_.LadderPage();
  const QImage image = Render(page, false);
  EXPECT_GT(Ink(image, QRect(38, 36, 4 * 13, 13), kWhite), 40);
}

// Records every text drawn, with the rectangle it was drawn in and its size as drawn.
class RecordingContext : public QtDrawContext {
 public:
  using QtDrawContext::QtDrawContext;
  struct Drawn {
    std::wstring text;
    Rect rect;
    TextExtent extent;
  };
  void DrawText(std::wstring_view text, const Rect& rect, int font, int colour, unsigned format) override {
    drawn.push_back({std::wstring(text), rect, MeasureText(text, font)});
    QtDrawContext::DrawText(text, rect, font, colour, format);
  }
  std::vector<Drawn> drawn;
};

// Zoomed, the ladder is the same drawing, smaller or larger: box titles, pin labels and operand
// texts are drawn at the zoom, so at 50 % they stay inside their rectangles (full-size texts ran
// over the pins and into each other).
TEST_F(PageRenderTest, LadderTextsFitTheirRectanglesAtHalfSize) {
  SetLadderMetrics(50, false);
  ProgramPage page = sample_.LadderPage();
  const QSize size = PageExtent(page);
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  RecordingContext dc(painter, resources_);
  OnlineCacheSnapshot online = sample_.Online();
  PaintProgramPage(page, dc, Rect{0, 0, size.width(), size.height()}, online);
  SetLadderMetrics(100, false);
  bool sawBoxTexts = false;
  for (const RecordingContext::Drawn& d : dc.drawn) {
    sawBoxTexts = sawBoxTexts || d.text == L"MOV_W" || d.text == L"EN" || d.text == L"OUT";
    EXPECT_LE(d.extent.width, d.rect.right - d.rect.left) << platform::ToUtf8Lossy(d.text);
    EXPECT_LE(d.extent.height, d.rect.bottom - d.rect.top) << platform::ToUtf8Lossy(d.text);
  }
  EXPECT_TRUE(sawBoxTexts);
}

}  // namespace
}  // namespace Brenno
