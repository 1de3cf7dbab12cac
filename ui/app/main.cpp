// The workbench program: one application object, started once, then the event loop until the
// main window has closed.
#include <QApplication>

#include "platform/file_util.h"
#include "ui/shell/brenno_lad_app.h"

int main(int argc, char** argv) {
  // A save past the file-size limit is an error the workbench reports, not its end.
  platform::IgnoreFileSizeLimitSignal();
  QApplication application(argc, argv);
  Brenno::CBrennoLadApp app;
  if (!app.InitInstance(QApplication::arguments())) {
    app.ExitInstance();
    return 1;
  }
  application.exec();
  return app.ExitInstance();
}
