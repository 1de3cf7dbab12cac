// Runs a call on the GUI thread and waits for it: directly when the caller already is the GUI
// thread, else queued to it and waited for. Worker threads reach every window through here, so
// each window runs only on the GUI thread and the caller's arguments stay valid for the whole
// call. The GUI thread runs the waiting calls from its event loop, and also while it waits for a
// worker to end (ServePendingUiCalls), so a worker that still reports cannot deadlock it as long
// as it does not hold the port lock or a core mutex while it calls.
#pragma once

#include <QObject>

#include <functional>

namespace Brenno {

class UiDispatcher : public QObject {
  Q_OBJECT
 public:
  // Lives on the thread that builds it: the GUI thread.
  UiDispatcher();
  ~UiDispatcher() override;
  void Run(const std::function<void()>& call);
  // On the GUI thread: runs every call that a worker waits on now. Elsewhere nothing.
  void ServePending();
};

// Installs the dispatcher (null removes it). Without one, calls run directly on the caller's
// thread (plain-class tests).
void InstallUiDispatcher(UiDispatcher* dispatcher);
void RunOnUiThread(const std::function<void()>& call);
// The installed dispatcher's ServePending (nothing without one).
void ServePendingUiCalls();

}  // namespace Brenno
