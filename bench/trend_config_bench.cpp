// Reads and writes the trend viewer's settings file when it holds many curves: the file as
// the viewer leaves it after saving that many (seven keys per curve in one section), read the
// way the viewer starts (parse, then every setting looked up), and written the way the curve
// dialog saves (every key of every curve set in a profile that already holds them, and in an
// empty one).
//
//   trend_config_bench [curves [repetitions]]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "platform/ini_file.h"
#include "trend/config/trend_config.h"

namespace {

// Best time of `repetitions` runs, in milliseconds.
double BestMs(int repetitions, const std::function<void()>& run) {
  double best = 1e300;
  for (int i = 0; i < repetitions; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    run();
    best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 2000;
  const int repetitions = argc > 2 ? std::atoi(argv[2]) : 5;
  vandrel::CurveList curves;
  for (int i = 0; i < count; ++i) {
    auto curve = std::make_unique<vandrel::TrendCurve>();
    curve->Start = 1000 + 2 * i;
    curve->DevNo = static_cast<uint8_t>(1 + i % 100);
    curves.push_back(std::move(curve));
  }
  platform::IniFile written;
  vandrel::WriteCommSettings(written, vandrel::TrendSettings());
  vandrel::WriteTrendCurves(written, curves);
  const std::string text = written.Serialize();

  vandrel::TrendSettings settings;
  vandrel::CurveList read;
  const double readMs = BestMs(repetitions, [&] {
    platform::IniFile ini;
    ini.Parse(text);
    vandrel::ReadTrendConfig(ini, settings, read);
  });
  const double rewriteMs = BestMs(repetitions, [&] {
    platform::IniFile ini;
    ini.Parse(text);
    vandrel::WriteTrendCurves(ini, curves);
  });
  const double freshMs = BestMs(repetitions, [&] {
    platform::IniFile ini;
    vandrel::WriteTrendCurves(ini, curves);
  });
  std::printf("settings file of %d curves (%zu bytes; the viewer takes the first %zu curves)\n", count, text.size(),
              read.size());
  std::printf("  read (parse, look up every setting)  %9.2f ms\n", readMs);
  std::printf("  save over the same file              %9.2f ms\n", rewriteMs);
  std::printf("  save into an empty file              %9.2f ms\n", freshMs);
  return 0;
}
