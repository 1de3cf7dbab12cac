// The record shared by the global symbols of the project's symbol table and the local
// variables of a program page: a name bound to an address of a data type, with a comment, and
// the check flags its table derives.
#pragma once

#include <string>
#include <vector>

namespace Brenno {

// Areas of a local variable; a global symbol has area 0.
enum VarArea : int {
  kVarAreaIn = 0,
  kVarAreaInOut = 1,
  kVarAreaOut = 2,
  kVarAreaTemp = 3,
};
inline constexpr int kVarAreaCount = 4;

// Bits of VarEntry::CheckFlags.
inline constexpr int kVarCheckArea = 1;     // the area index is valid
inline constexpr int kVarCheckType = 2;     // the data type index is valid
inline constexpr int kVarCheckName = 4;     // the name is a valid symbol name and unique
inline constexpr int kVarCheckAddress = 8;  // the address is valid for the type and unique
inline constexpr int kVarCheckDone = 16;    // the entry has been checked
inline constexpr int kVarEntryComplete = 31;

// A global symbol or a local variable.
struct VarEntry {
  int CheckFlags = 0;
  int Area = 0;
  int Type = 0;  // data type index 0 "BOOL" .. 10 "REAL"
  std::wstring Name;
  std::wstring Address;
  std::wstring Comment;

  bool operator==(const VarEntry&) const = default;
};

using LocalVarTable = std::vector<VarEntry>;

// All numbers 0, empty texts (area IN / global, type BOOL).
VarEntry MakeEmptyVarEntry();
// The same with the given area.
VarEntry MakeAreaVarEntry(int area);
void DestroyVarEntry(VarEntry& entry);
// A complete entry: flags 31.
bool IsValidVarEntry(const VarEntry& entry);

}  // namespace Brenno
