#include "ui/shell/close_rules.h"

#include "core/link/app_environment.h"
#include "core/env/language.h"
#include "core/link/comm_state.h"
#include "core/project/message_box.h"
#include "core/project/project.h"
#include "ui/shell/message_facade.h"
#include "ui/shell/update_router.h"

namespace Brenno {

CloseDecision MainFrameCloseRules::AskSaveAndClose() {
  if (env_.Modified) {
    const int answer = MessageBoxYesNoCancel(TextAskSaveChanges());
    if (answer == kIdCancel) return CloseDecision::StayOpen;
    if (answer == kIdYes) {
      host_.SaveProject();
      // A save that failed or whose file dialog was cancelled shows its own message; closing
      // now would drop the changes the user asked to keep.
      if (env_.Modified) return CloseDecision::StayOpen;
    }
  }
  return CloseDecision::Close;
}

CloseDecision MainFrameCloseRules::OnCloseRequest() {
  const int state = env_.CommState.load();
  if (state == CommOffline) return AskSaveAndClose();
  if (state == CommOnline) {
    host_.StartCloseTimer();
    if (!env_.ProjectList.empty()) {
      env_.ProjectList.back().Online.Update([](OnlineCacheData& data) { data.StopRequest = true; });
    }
  }
  return CloseDecision::StayOpen;
}

CloseDecision MainFrameCloseRules::OnCloseTimer() {
  if (env_.CommState.load() != CommOffline) return CloseDecision::StayOpen;
  host_.StopCloseTimer();
  return AskSaveAndClose();
}

const wchar_t* TextAskExitForLanguage() {
  return PickText(L"Orvisto Editor will now exit in order to change options", L"Orvisto Editor 将会退出,以便更该选项");
}

void SwitchLanguage(AppEnvironment& env, int target, const std::function<void()>& closeMainWindow) {
  if (!IsIdleState(env.CommState.load())) return;
  if (env.Config.Lang == target) return;
  // Information icon.
  if (MessageBoxYesNo(TextAskExitForLanguage(), 0x40) != kMessageResultYes) return;
  if (closeMainWindow) closeMainWindow();
  env.Config.Lang = target;
}

}  // namespace Brenno
