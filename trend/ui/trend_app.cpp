#include "trend/ui/trend_app.h"

#include <QApplication>

#include "platform/file_util.h"
#include "trend/ui/main_frame.h"

namespace vandrel {

CTrendApp::CTrendApp(std::wstring programFolder)
    : confFile_(platform::JoinPath(programFolder, L"TrendConf.CFG")),
      traceBase_(platform::JoinPath(programFolder, L"VandrelData")) {}

CTrendApp::~CTrendApp() { ExitInstance(); }

bool CTrendApp::InitInstance(TrendPoller::LinkFactory linkFactory) {
  // Every window of the viewer, its dialogs included, shows the program's icon.
  QApplication::setWindowIcon(TrendAppIcon());
  frame_ = std::make_unique<CMainFrame>(confFile_, traceBase_, nullptr, std::move(linkFactory));
  frame_->show();
  return true;
}

void CTrendApp::ExitInstance() { frame_.reset(); }

}  // namespace vandrel
