// The workbench program: one application object, started once, then the event loop until the
// main window has closed.
#include <QApplication>

#include "ui/shell/brenno_lad_app.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  Brenno::CBrennoLadApp app;
  if (!app.InitInstance(QApplication::arguments())) {
    app.ExitInstance();
    return 1;
  }
  application.exec();
  return app.ExitInstance();
}
