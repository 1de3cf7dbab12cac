// The project's global symbol table and the local variable rows of the program pages, in the
// minimal form the program model needs until the symbol tables are built in full: the eight
// symbol sizes of the PLC type, a flat list of global symbols, the local variable rows, and the
// lookups between symbol names and addresses.
#pragma once

#include <string>
#include <vector>

#include "core/env/plc_type.h"

namespace Brenno {

class ProgramBlock;

// Areas of a local variable.
enum VarArea : int {
  kVarAreaIn = 0,
  kVarAreaInOut = 1,
  kVarAreaOut = 2,
  kVarAreaTemp = 3,
};

// One local variable row of a program page.
struct VarEntry {
  std::wstring Name;
  std::wstring Address;
  std::wstring Comment;
  // 0 when the row passed its checks; otherwise bits telling what is wrong with it.
  int CheckFlags = 0;
  int Area = kVarAreaTemp;
  int DataType = 0;

  bool operator==(const VarEntry&) const = default;
};

// Bit of CheckFlags: the row has no name or no address and stands for no variable.
inline constexpr int kVarCheckIncomplete = 0x01;

using LocalVarTable = std::vector<VarEntry>;

// Empty texts, all numbers 0, the given area.
VarEntry MakeAreaVarEntry(int area);
void DestroyVarEntry(VarEntry& entry);
// A row that stands for a variable the lookups may use.
bool IsValidVarEntry(const VarEntry& entry);

// One global symbol.
struct SymbolEntry {
  std::wstring Name;
  std::wstring Address;
  std::wstring Comment;
  bool Valid = true;

  bool operator==(const SymbolEntry&) const = default;
};

class SymbolTable {
 public:
  // The eight symbol sizes of the project's PLC type.
  SymbolVarSizes Sizes;
  std::vector<SymbolEntry> Symbols;

};

// Empties the table and takes the sizes of the project's type.
void ResetSymbolTable(SymbolTable& table, const SymbolVarSizes& sizes);
// A member-wise snapshot, and its destruction.
void CopySymbolTable(const SymbolTable& table, SymbolTable& copy);
void DestroySymbolTable(SymbolTable& copy);

// Where the lookups find local variables: the local variable rows of the program page with
// that id, or null when there is no such page.
const LocalVarTable* FindLocalVarTable(const ProgramBlock& program, int pageId);

// A name (after an optional "&" or "*", which stays in front) of a valid global symbol or,
// with or without a leading "#", of a valid local variable becomes its address; a text
// starting with "#" is looked up among the locals only. False, text unchanged, when nothing
// matches. `locals` may be null (no local variables).
bool LookupSymbolNamePrefixed(std::wstring& text, const SymbolTable& table, const LocalVarTable* locals);
// The reverse: an address of a valid global symbol becomes its name, else one of a valid local
// variable becomes "#" + its name.
bool LookupOperandSymbolPrefixed(std::wstring& text, const SymbolTable& table, const LocalVarTable* locals);

// Program-unit keys of every unit the type defines: the interrupt table's reference keys, then
// the subroutine table's.
std::vector<int> CollectProgramUnitKeys(const ProgramBlock& program);
// Makes the unit's local variables consistent: ordered by area (stable), the areas the unit
// needs present (a subroutine IN, IN_OUT, OUT and TEMP; other units TEMP), check flags set.
void NormalizeLocalVarTable(ProgramBlock& program, int key, const SymbolTable& table);
// Publishes a subroutine's interface to the project's instruction library. The symbol tables
// do not publish interfaces yet: the call definitions keep the operand slots they were read
// with.
void UpdateSubroutineInterface(const SymbolTable& table, int key);
void NormalizeAllLocalVarTables(ProgramBlock& program, const SymbolTable& table);
void UpdateAllSubroutineInterfaces(const ProgramBlock& program, const SymbolTable& table);

}  // namespace Brenno
