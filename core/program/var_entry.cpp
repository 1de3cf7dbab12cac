#include "core/program/var_entry.h"

namespace Brenno {

VarEntry MakeEmptyVarEntry() { return VarEntry{}; }

VarEntry MakeAreaVarEntry(int area) {
  VarEntry entry;
  entry.Area = area;
  return entry;
}

void DestroyVarEntry(VarEntry& entry) { entry = VarEntry(); }

bool IsValidVarEntry(const VarEntry& entry) { return entry.CheckFlags == kVarEntryComplete; }

}  // namespace Brenno
