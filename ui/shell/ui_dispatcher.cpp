#include "ui/shell/ui_dispatcher.h"

#include <QThread>

#include <atomic>

namespace Brenno {

namespace {
std::atomic<UiDispatcher*> g_dispatcher{nullptr};
}

UiDispatcher::UiDispatcher() = default;

void UiDispatcher::Run(const std::function<void()>& call) {
  if (QThread::currentThread() == thread()) {
    call();
    return;
  }
  QMetaObject::invokeMethod(this, [&call] { call(); }, Qt::BlockingQueuedConnection);
}

void InstallUiDispatcher(UiDispatcher* dispatcher) { g_dispatcher.store(dispatcher); }

void RunOnUiThread(const std::function<void()>& call) {
  if (UiDispatcher* dispatcher = g_dispatcher.load()) {
    dispatcher->Run(call);
  } else {
    call();
  }
}

}  // namespace Brenno
