// A UI facade for tests: answers message boxes and file dialogs from a script and records what
// it was asked. Installed for the lifetime of the object.
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "ui/shell/message_facade.h"

namespace shelltest {

class ScriptedMessageFacade : public Brenno::MessageFacade {
 public:
  struct Asked {
    Brenno::MessageButtons Buttons;
    Brenno::MessageIcon Icon;
    std::wstring Text;
  };

  explicit ScriptedMessageFacade(bool install = true) : installed_(install) {
    if (install) Brenno::InstallMessageFacade(this);
  }
  ~ScriptedMessageFacade() override {
    if (installed_) Brenno::InstallMessageFacade(nullptr);
  }

  int ShowMessage(Brenno::MessageButtons buttons, Brenno::MessageIcon icon, const std::wstring& text) override {
    // What a real box does to the windows while it is up (take the focus and the activation).
    if (whileShown) whileShown();
    std::lock_guard<std::mutex> lock(mutex_);
    asked.push_back({buttons, icon, text});
    if (answers.empty()) return Brenno::kIdCancel;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  bool AskFilePath(Brenno::FileDialogKind kind, std::wstring& path) override {
    std::lock_guard<std::mutex> lock(mutex_);
    fileKinds.push_back(kind);
    if (chosenPath.empty()) return false;
    path = chosenPath;
    return true;
  }
  bool AskPlcPassword(std::vector<uint8_t>&) override { return false; }

  std::function<void()> whileShown;
  std::deque<int> answers;
  std::vector<Asked> asked;
  std::vector<Brenno::FileDialogKind> fileKinds;
  std::wstring chosenPath;

 private:
  bool installed_;
  std::mutex mutex_;
};

}  // namespace shelltest
