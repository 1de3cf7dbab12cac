#include "trend/ui/trend_app.h"

#include "platform/file_util.h"
#include "trend/ui/main_frame.h"

namespace vandrel {

CTrendApp::CTrendApp(std::wstring programFolder)
    : confFile_(platform::JoinPath(programFolder, L"TrendConf.CFG")),
      traceBase_(platform::JoinPath(programFolder, L"VandrelData")) {}

CTrendApp::~CTrendApp() { ExitInstance(); }

bool CTrendApp::InitInstance(TrendPoller::LinkFactory linkFactory) {
  frame_ = std::make_unique<CMainFrame>(confFile_, traceBase_, nullptr, std::move(linkFactory));
  frame_->show();
  return true;
}

void CTrendApp::ExitInstance() { frame_.reset(); }

}  // namespace vandrel
