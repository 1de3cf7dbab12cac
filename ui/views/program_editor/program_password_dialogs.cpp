#include "ui/views/program_editor/program_password_dialogs.h"

#include <utility>

#include "ui/shell/unit_password_dlgs.h"

namespace Brenno {

namespace {
ProgramPasswordDialogs& Installed() {
  static ProgramPasswordDialogs dialogs;
  return dialogs;
}
}  // namespace

void InstallProgramPasswordDialogs(ProgramPasswordDialogs dialogs) { Installed() = std::move(dialogs); }

bool RunProgramPasswordInput(QWidget* owner, AppEnvironment& env, int pageKey) {
  if (Installed().RunInput) return Installed().RunInput(owner, env, pageKey);
  return RunPasswordInput(owner, env, pageKey);
}

bool RunProgramPasswordProtect(QWidget* owner, AppEnvironment& env, int pageKey) {
  if (Installed().RunProtect) return Installed().RunProtect(owner, env, pageKey);
  return RunPasswordProtect(owner, env, pageKey);
}

}  // namespace Brenno
