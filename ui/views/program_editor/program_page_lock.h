// The password lock of program units and the two gates of the program editor view. A subroutine
// whose stored password word carries the set flag stays locked until the word the user entered
// for it equals the stored one; main program and interrupt pages are never locked. The tables
// hold 32 words of 32 bits each, low byte first, indexed by the unit number (the low 16 bits of
// the page key); units 32 and above have no slot and are never locked.
#pragma once

#include <array>
#include <cstdint>

namespace Brenno {

class AppEnvironment;

inline constexpr int kProgramUnitPasswordSlots = 32;
inline constexpr uint32_t kProgramUnitPasswordSetFlag = 1u << 27;
using ProgramUnitPasswordTable = std::array<uint8_t, 4 * kProgramUnitPasswordSlots>;

// True when the page key names a subroutine whose number has a slot in the tables.
bool HasProgramUnitPasswordSlot(int key);
// The word of the unit number; 0 for a number without a slot.
uint32_t ProgramUnitPasswordWord(const ProgramUnitPasswordTable& table, int unit);
// Stores the word of the unit number; a number without a slot is left alone.
void SetProgramUnitPasswordWord(ProgramUnitPasswordTable& table, int unit, uint32_t word);

// The lock test of a page key against the stored and the entered table.
bool IsProgramUnitLocked(const ProgramUnitPasswordTable& stored, const ProgramUnitPasswordTable& entered, int key);
// The same against the environment's unit password table and its entered password table.
bool IsProgramUnitLocked(const AppEnvironment& env, int key);

// The page may be shown: not locked, and no job that opened the port from the offline state
// owns it (every state but opening command, command and leaving command).
bool CanShowProgramBlock(int commState, bool locked);
// The page may be edited: not locked and offline.
bool CanEditProgramBlock(int commState, bool locked);

}  // namespace Brenno
