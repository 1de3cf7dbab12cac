// Vandrel, the trend viewer: polls holding registers of PLCs over Modbus RTU and plots them.
#include <QApplication>

#include "platform/file_util.h"
#include "trend/ui/trend_app.h"

int main(int argc, char** argv) {
  // Saving the settings past the file-size limit is an error reported, not the viewer's end.
  platform::IgnoreFileSizeLimitSignal();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vandrel"));
  vandrel::CTrendApp trendApp(platform::GetProgramDirectory());
  if (!trendApp.InitInstance()) return 1;
  const int rc = app.exec();
  trendApp.ExitInstance();
  return rc;
}
