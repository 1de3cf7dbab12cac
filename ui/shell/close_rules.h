// When the workbench may close. Offline it asks whether to save unsaved changes; online it asks
// the online monitor to stop and waits on a 200 ms timer for the offline state before it asks
// the same; while a job runs or the state is changing the close request is ignored.
#pragma once

#include <functional>

namespace Brenno {

class AppEnvironment;

// What the close rules need of the main frame.
class CloseHost {
 public:
  virtual ~CloseHost() = default;
  // The File > Save command (it reports its own errors).
  virtual void SaveProject() = 0;
  // Starts (or restarts) the 200 ms close timer; stops it.
  virtual void StartCloseTimer() = 0;
  virtual void StopCloseTimer() = 0;
};

enum class CloseDecision { Close, StayOpen };

class MainFrameCloseRules {
 public:
  MainFrameCloseRules(AppEnvironment& env, CloseHost& host) : env_(env), host_(host) {}

  // The user (or a command) asks to close the main window.
  CloseDecision OnCloseRequest();
  // A tick of the close timer.
  CloseDecision OnCloseTimer();

 private:
  // The save question, when there are unsaved changes: Cancel keeps the window; Yes saves first
  // and closes whatever the save did.
  CloseDecision AskSaveAndClose();

  AppEnvironment& env_;
  CloseHost& host_;
};

// The language switch of the Help menu (target 1 English, 2 Chinese), only while no job owns the
// port: nothing when the configured language already is the target; else asks whether the
// workbench may exit, and on Yes asks the main window to close (through `closeMainWindow`, which
// runs the close rules with their own save question) and then stores the target in the
// configuration, which takes effect at the next start (also when the close was cancelled).
void SwitchLanguage(AppEnvironment& env, int target, const std::function<void()>& closeMainWindow);

const wchar_t* TextAskExitForLanguage();

}  // namespace Brenno
