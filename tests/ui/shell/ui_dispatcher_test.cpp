// The GUI thread waiting for a worker (the online monitor when the main window closes) without
// its event loop: the worker's last reports still run, on the GUI thread, so neither waits for
// the other forever.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <thread>

#include "core/link/monitor_ui.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/shell/shell_monitor_ui.h"
#include "ui/shell/ui_dispatcher.h"

namespace Brenno {
namespace {

class ThreadRecordingSink : public MainFrameSink {
 public:
  void RouteUpdate(uint16_t, intptr_t) override {}
  void SetStatusText(const std::wstring& text, bool) override {
    status = text;
    onGuiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
  }
  std::wstring status;
  bool onGuiThread = false;
};

TEST(UiDispatcher, GuiThreadWaitingForAWorkerServesTheWorkersReports) {
  UiDispatcher dispatcher;
  InstallUiDispatcher(&dispatcher);
  ShellMonitorUi services;
  InstallMonitorUiServices(&services);
  ThreadRecordingSink sink;
  InstallMainFrameSink(&sink);

  std::atomic<bool> done{false};
  std::thread worker([&] {
    MonitorStatusText(L"脱机", kStatusTextOffline);
    done = true;
  });
  // No event loop here, as in the main window's destructor joining the monitor.
  while (!done) {
    MonitorServeWaitingCalls();
    QThread::msleep(1);
  }
  worker.join();
  EXPECT_EQ(sink.status, L"脱机");
  EXPECT_TRUE(sink.onGuiThread);
  // The queued wake-up that follows finds nothing left to run.
  QCoreApplication::processEvents();

  InstallMainFrameSink(nullptr);
  InstallMonitorUiServices(nullptr);
  InstallUiDispatcher(nullptr);
}

}  // namespace
}  // namespace Brenno
