// Runs a call on the GUI thread and waits for it: directly when the caller already is the GUI
// thread, else queued to it with a blocking connection. Worker threads reach every window through
// here, so each window runs only on the GUI thread and the caller's arguments stay valid for the
// whole call. The GUI thread never waits for a worker, so the blocking call cannot deadlock as
// long as a worker does not hold the port lock or a core mutex while it calls.
#pragma once

#include <QObject>

#include <functional>

namespace Brenno {

class UiDispatcher : public QObject {
  Q_OBJECT
 public:
  // Lives on the thread that builds it: the GUI thread.
  UiDispatcher();
  void Run(const std::function<void()>& call);
};

// Installs the dispatcher (null removes it). Without one, calls run directly on the caller's
// thread (plain-class tests).
void InstallUiDispatcher(UiDispatcher* dispatcher);
void RunOnUiThread(const std::function<void()>& call);

}  // namespace Brenno
