// Paints ladder pages of 100, 1,000 and 10,000 networks offscreen, one 1280 x 800 screen at a
// time with the PLC online, and prints the time per screen at the top, the middle and the end of
// each page. Only the networks on the screen are painted, so the time per screen should not grow
// with the page.
//
// page_paint_bench [SCREENS_PER_POSITION]
#include <QGuiApplication>
#include <QImage>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/program/ladder_metrics.h"
#include "platform/text_codec.h"
#include "ui/render/page_renderer.h"
#include "ui/render/sample_program.h"

namespace {

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 800;

// Average milliseconds to paint one screen whose top is near `top`, over `screens` screens
// stepping down by a quarter screen.
double TimePerScreen(Brenno::SampleProgram& sample, Brenno::ProgramPage& page, QImage& image, int top,
                     int pageHeight, int screens) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < screens; ++i) {
    int y = top + i * kScreenHeight / 4;
    if (y + kScreenHeight > pageHeight) y = std::max(0, pageHeight - kScreenHeight);
    Brenno::OnlineCacheSnapshot online = sample.Online();
    Brenno::RenderPageAreaInto(image, page, Brenno::Rect{0, y, kScreenWidth, y + kScreenHeight}, online);
  }
  const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / screens;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int screens = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

  Brenno::SetLadderMetrics(100, false);
  Brenno::SampleProgram sample(platform::FromUtf8Lossy(ORVISTO_FIXTURES_DIR "/catalog/Orvisto/TypeA"));
  QImage image(kScreenWidth, kScreenHeight, QImage::Format_RGB32);

  std::printf("screen %dx%d, online values, %d screens per position\n", kScreenWidth, kScreenHeight, screens);
  std::printf("%10s %12s %14s %14s %14s\n", "networks", "page height", "top ms/screen", "mid ms/screen",
              "end ms/screen");
  for (const size_t networks : {size_t{100}, size_t{1000}, size_t{10000}}) {
    Brenno::ProgramPage page = sample.LargeLadderPage(networks);
    const int height = Brenno::PageExtent(page).height();
    // One screen first, so fonts and caches are warm.
    TimePerScreen(sample, page, image, 0, height, 1);
    const double top = TimePerScreen(sample, page, image, 0, height, screens);
    const double middle = TimePerScreen(sample, page, image, height / 2, height, screens);
    const double end = TimePerScreen(sample, page, image, height - kScreenHeight, height, screens);
    std::printf("%10zu %12d %14.3f %14.3f %14.3f\n", networks, height, top, middle, end);
  }
  return 0;
}
