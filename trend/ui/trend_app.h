// The viewer's application object: where its files are, and its main window.
#pragma once

#include <memory>
#include <string>

#include "trend/poll/trend_poller.h"

namespace vandrel {

class CMainFrame;

class CTrendApp {
 public:
  // `programFolder` is where the program lies; the settings file and the trace log go there.
  explicit CTrendApp(std::wstring programFolder);
  ~CTrendApp();

  // Creates and shows the main window.
  bool InitInstance(TrendPoller::LinkFactory linkFactory = &TrendPoller::MakeLink);
  // Deletes the main window (and with it the poll thread and the link).
  void ExitInstance();

  const std::wstring& TrendConfFile() const { return confFile_; }
  const std::wstring& TraceFileBase() const { return traceBase_; }
  CMainFrame* MainFrame() const { return frame_.get(); }

 private:
  std::wstring confFile_;
  std::wstring traceBase_ = L"D:\\VandrelData";
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace vandrel
