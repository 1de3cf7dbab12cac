// render_page [--type FOLDER] [--zoom PERCENT] OUTPUT_FOLDER
//
// Renders the sample ladder and statement-list pages of a PLC type folder (by default the test
// type of the source tree), offline and with online values, to
// ladder_offline.png, ladder_online.png, stl_offline.png and stl_online.png. With a zoom other
// than 100 the ladder pages are drawn at that zoom and the names end in "_<PERCENT>"
// (ladder_offline_50.png).
#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <string>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/program/ladder_metrics.h"
#include "ui/render/page_renderer.h"
#include "ui/render/sample_program.h"
#include "ui/widgets/qt_draw_context.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: render_page [--type FOLDER] [--zoom PERCENT] OUTPUT_FOLDER\n");
  return 2;
}

bool Save(const QImage& image, const QDir& folder, const char* name) {
  const QString path = folder.filePath(QString::fromLatin1(name));
  if (!image.save(path, "PNG")) {
    std::fprintf(stderr, "render_page: cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s (%dx%d)\n", qPrintable(path), image.width(), image.height());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  QString typeFolder = QString::fromUtf8(ORVISTO_SAMPLE_TYPE_DIR);
  QString output;
  int zoom = 100;
  const QStringList args = QGuiApplication::arguments();
  for (int i = 1; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--type") && i + 1 < args.size()) {
      typeFolder = args[++i];
    } else if (args[i] == QLatin1String("--zoom") && i + 1 < args.size()) {
      bool number = false;
      zoom = args[++i].toInt(&number);
      if (!number || zoom < 25 || zoom > 200) return Usage();
    } else if (output.isEmpty() && !args[i].startsWith(QLatin1Char('-'))) {
      output = args[i];
    } else {
      return Usage();
    }
  }
  if (output.isEmpty()) return Usage();
  QDir folder(output);
  if (!folder.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "render_page: cannot create %s\n", qPrintable(output));
    return 1;
  }

  Brenno::SetSystemColoursFromPalette(QGuiApplication::palette());
  try {
    Brenno::SetCurrentLanguage(Brenno::kLanguageEnglish);
    Brenno::SampleProgram sample(typeFolder.toStdWString());
    Brenno::SetLadderMetrics(zoom, sample.Library().FxMode != 0);
    const std::string suffix = zoom == 100 ? std::string() : "_" + std::to_string(zoom);
    bool ok = true;
    for (const bool ladder : {true, false}) {
      for (const bool online : {false, true}) {
        Brenno::ProgramPage page = ladder ? sample.LadderPage() : sample.StlPage();
        const QSize size = Brenno::PageExtent(page);
        Brenno::OnlineCacheSnapshot snapshot = online ? sample.Online() : sample.Offline();
        const QImage image = Brenno::RenderPageArea(page, Brenno::Rect{0, 0, size.width(), size.height()}, snapshot);
        const std::string name =
            std::string(ladder ? "ladder" : "stl") + (online ? "_online" : "_offline") + suffix + ".png";
        ok = Save(image, folder, name.c_str()) && ok;
      }
    }
    return ok ? 0 : 1;
  } catch (const Brenno::ExceptionError& error) {
    std::fprintf(stderr, "render_page: %s\n", qPrintable(QString::fromStdWString(error.Message())));
    return 1;
  }
}
