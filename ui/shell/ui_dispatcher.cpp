#include "ui/shell/ui_dispatcher.h"

#include <QThread>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace Brenno {

namespace {

std::atomic<UiDispatcher*> g_dispatcher{nullptr};

// A call a worker waits on, until the GUI thread has run it.
struct PendingCall {
  const std::function<void()>* Call = nullptr;
  bool Done = false;
};

std::mutex g_mutex;
std::condition_variable g_done;
std::deque<PendingCall*> g_pending;

}  // namespace

UiDispatcher::UiDispatcher() = default;

UiDispatcher::~UiDispatcher() {
  if (g_dispatcher.load() == this) g_dispatcher.store(nullptr);
}

void UiDispatcher::Run(const std::function<void()>& call) {
  if (QThread::currentThread() == thread()) {
    call();
    return;
  }
  PendingCall item;
  item.Call = &call;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_pending.push_back(&item);
  }
  QMetaObject::invokeMethod(this, [this] { ServePending(); }, Qt::QueuedConnection);
  std::unique_lock<std::mutex> lock(g_mutex);
  g_done.wait(lock, [&item] { return item.Done; });
}

void UiDispatcher::ServePending() {
  if (QThread::currentThread() != thread()) return;
  for (;;) {
    PendingCall* item = nullptr;
    {
      std::lock_guard<std::mutex> lock(g_mutex);
      if (g_pending.empty()) return;
      item = g_pending.front();
      g_pending.pop_front();
    }
    try {
      (*item->Call)();
    } catch (...) {
      // The worker must not wait forever; an error of a window has no one to go to here.
    }
    {
      std::lock_guard<std::mutex> lock(g_mutex);
      item->Done = true;
    }
    g_done.notify_all();
  }
}

void InstallUiDispatcher(UiDispatcher* dispatcher) { g_dispatcher.store(dispatcher); }

void RunOnUiThread(const std::function<void()>& call) {
  if (UiDispatcher* dispatcher = g_dispatcher.load()) {
    dispatcher->Run(call);
  } else {
    call();
  }
}

void ServePendingUiCalls() {
  if (UiDispatcher* dispatcher = g_dispatcher.load()) dispatcher->ServePending();
}

}  // namespace Brenno
