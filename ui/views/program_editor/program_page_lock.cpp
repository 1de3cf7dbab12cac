#include "ui/views/program_editor/program_page_lock.h"

#include "core/link/app_environment.h"
#include "core/link/comm_state.h"
#include "ui/shell/unit_password.h"

namespace Brenno {

// The word layout and the slots are those of the password dialogs (unit_password.h).
static_assert(kProgramUnitPasswordSlots == kPasswordSlots && kProgramUnitPasswordSetFlag == kPasswordSetFlag);

bool HasProgramUnitPasswordSlot(int key) { return HasPasswordSlot(key); }

uint32_t ProgramUnitPasswordWord(const ProgramUnitPasswordTable& table, int unit) {
  return PasswordWordAt(table, unit);
}

void SetProgramUnitPasswordWord(ProgramUnitPasswordTable& table, int unit, uint32_t word) {
  if (unit < 0 || unit >= kProgramUnitPasswordSlots) return;
  PasswordWordRef(&table, unit).Set(word);
}

bool IsProgramUnitLocked(const ProgramUnitPasswordTable& stored, const ProgramUnitPasswordTable& entered, int key) {
  if (!HasProgramUnitPasswordSlot(key)) return false;
  const int unit = key & 0xFFFF;
  return IsPasswordLocked(PasswordWordAt(stored, unit), PasswordWordAt(entered, unit));
}

bool IsProgramUnitLocked(const AppEnvironment& env, int key) {
  return IsProgramUnitLocked(env.PasswordTable1, env.PasswordTable2, key);
}

bool CanShowProgramBlock(int commState, bool locked) {
  if (locked) return false;
  return ShowsProject(commState);
}

bool CanEditProgramBlock(int commState, bool locked) { return !locked && commState == CommOffline; }

}  // namespace Brenno
