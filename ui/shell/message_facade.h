// The UI facade through which the core and the windows ask the user: message boxes, questions
// and the project file dialogs. One facade is installed (the shell's Qt one, or a scripted one in
// tests); installing it also serves the core's message boxes (MessageBoxOk and MessageBoxYesNo
// of core/project/message_box.h, which the windows use too). Every function may be called from a
// worker thread; the Qt facade then runs its dialog on the GUI thread and the caller waits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Brenno {

// The ids that end a message box.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

enum class MessageIcon { Hand, Question, Exclamation, Asterisk };
// 0x10 stop, 0x20 question, 0x30 exclamation, anything else information.
MessageIcon IconForFlag(unsigned flag);

// The button sets of the message box: the first button is the default one, except in
// YesNoDefaultNo (Yes and No, No the default: Enter answers No, as Escape does).
enum class MessageButtons { Ok, YesNo, YesNoCancel, YesNoDefaultNo };

enum class FileDialogKind { OpenProject, SaveProject, OpenPmw };

class MessageFacade {
 public:
  virtual ~MessageFacade() = default;
  // Runs one message box; the id of the button that ended it, kIdCancel when it was closed.
  virtual int ShowMessage(MessageButtons buttons, MessageIcon icon, const std::wstring& text) = 0;
  // Runs one file dialog starting in the folder of `path`; true with the chosen path stored,
  // false (path unchanged) on cancel.
  virtual bool AskFilePath(FileDialogKind kind, std::wstring& path) = 0;
  // The PLC password prompt: true with the 16-byte password block; false, block unchanged, on
  // cancel or when the typed text does not fit.
  virtual bool AskPlcPassword(std::vector<uint8_t>& block) = 0;
};

// Installs the facade (null removes it, and the core's message boxes with it); not owned.
// Without one, a message box prints its text to the standard error stream and answers as if
// closed, and every question counts as cancelled.
void InstallMessageFacade(MessageFacade* facade);
MessageFacade* InstalledMessageFacade();

// The box with Yes, No and Cancel, always with the question icon: kIdYes, kIdNo or kIdCancel.
int MessageBoxYesNoCancel(const std::wstring& text);
bool AskOpenProjectPath(std::wstring& path);
bool AskSaveProjectPath(std::wstring& path);
bool AskPmwFilePath(std::wstring& path);
bool AskPlcPassword(std::vector<uint8_t>& block);

// The folder a file dialog starts in: the folder of the path (up to and with its last separator,
// "/" or "\\") when it has one; the default project folder when the path is empty or holds no
// folder.
std::wstring InitialDialogFolder(const std::wstring& path);
// The default project folder: "DravomelFiles" in the user's home folder, with a trailing "/".
std::wstring DefaultProjectFolder();

// The question asked before the project is dropped.
const wchar_t* TextAskSaveChanges();

}  // namespace Brenno
