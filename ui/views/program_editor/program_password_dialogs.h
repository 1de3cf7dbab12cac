// How the program editor view runs the program-unit password dialogs: "Show Context" asks for
// the password of the page's unit (the input dialog writes the entered word), "Password
// Protected" sets, changes or clears it (unlocking a locked unit first). The shell's dialogs are
// the default; tests install scripted runners.
#pragma once

#include <functional>

class QWidget;

namespace Brenno {

class AppEnvironment;

struct ProgramPasswordDialogs {
  // True when the input dialog ended with OK (the unit may still be locked).
  std::function<bool(QWidget* owner, AppEnvironment& env, int pageKey)> RunInput;
  // True when a password was set or cleared and confirmed to the user.
  std::function<bool(QWidget* owner, AppEnvironment& env, int pageKey)> RunProtect;
};

// Installs the runners; an empty function falls back to the shell's dialog.
void InstallProgramPasswordDialogs(ProgramPasswordDialogs dialogs);
bool RunProgramPasswordInput(QWidget* owner, AppEnvironment& env, int pageKey);
bool RunProgramPasswordProtect(QWidget* owner, AppEnvironment& env, int pageKey);

}  // namespace Brenno
