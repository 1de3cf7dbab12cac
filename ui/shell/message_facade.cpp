#include "ui/shell/message_facade.h"

#include <atomic>
#include <cstdlib>
#include <iostream>

#include "core/env/language.h"
#include "core/project/message_box.h"
#include "platform/text_codec.h"

namespace Brenno {

namespace {
std::atomic<MessageFacade*> g_facade{nullptr};

int Show(MessageButtons buttons, MessageIcon icon, const std::wstring& text) {
  if (MessageFacade* facade = g_facade.load()) return facade->ShowMessage(buttons, icon, text);
  std::cerr << platform::ToUtf8Lossy(text) << std::endl;
  return buttons == MessageButtons::Ok ? kIdOk : kIdCancel;
}

// The core's message boxes over the installed facade. A box closed without an answer is an
// OK for the OK box and a No for the question.
class FacadeMessageBoxes : public MessageBoxServices {
 public:
  int MessageBoxOk(const std::wstring& text, int icon) override {
    Show(MessageButtons::Ok, IconForFlag(static_cast<unsigned>(icon)), text);
    return kMessageResultOk;
  }
  int MessageBoxYesNo(const std::wstring& text, int icon) override {
    const MessageButtons buttons = (icon & kMessageDefaultNo) != 0 ? MessageButtons::YesNoDefaultNo : MessageButtons::YesNo;
    const MessageIcon shown = IconForFlag(static_cast<unsigned>(icon & ~kMessageDefaultNo));
    return Show(buttons, shown, text) == kIdYes ? kMessageResultYes : kMessageResultNo;
  }
};

FacadeMessageBoxes g_messageBoxes;

bool AskPath(FileDialogKind kind, std::wstring& path) {
  MessageFacade* facade = g_facade.load();
  return facade != nullptr && facade->AskFilePath(kind, path);
}
}  // namespace

MessageIcon IconForFlag(unsigned flag) {
  switch (flag) {
    case 0x10: return MessageIcon::Hand;
    case 0x20: return MessageIcon::Question;
    case 0x30: return MessageIcon::Exclamation;
    default: return MessageIcon::Asterisk;
  }
}

void InstallMessageFacade(MessageFacade* facade) {
  g_facade.store(facade);
  InstallMessageBoxServices(facade != nullptr ? &g_messageBoxes : nullptr);
}
MessageFacade* InstalledMessageFacade() { return g_facade.load(); }

int MessageBoxYesNoCancel(const std::wstring& text) {
  return Show(MessageButtons::YesNoCancel, MessageIcon::Question, text);
}

bool AskOpenProjectPath(std::wstring& path) { return AskPath(FileDialogKind::OpenProject, path); }
bool AskSaveProjectPath(std::wstring& path) { return AskPath(FileDialogKind::SaveProject, path); }
bool AskPmwFilePath(std::wstring& path) { return AskPath(FileDialogKind::OpenPmw, path); }

bool AskPlcPassword(std::vector<uint8_t>& block) {
  MessageFacade* facade = g_facade.load();
  return facade != nullptr && facade->AskPlcPassword(block);
}

std::wstring DefaultProjectFolder() {
  const char* home = std::getenv("HOME");
  std::wstring folder;
  if (home != nullptr) folder = platform::Utf8ToWide(home).value_or(std::wstring());
  return folder + L"/DravomelFiles/";
}

std::wstring InitialDialogFolder(const std::wstring& path) {
  const size_t last = path.find_last_of(L"/\\");
  if (path.empty() || last == std::wstring::npos) return DefaultProjectFolder();
  return path.substr(0, last + 1);
}

const wchar_t* TextAskSaveChanges() {
  return PickText(L"Do you want to save the changes to your project?", L"您要将改动存入项目吗?");
}

}  // namespace Brenno
