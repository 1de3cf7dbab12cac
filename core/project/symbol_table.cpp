#include "core/project/symbol_table.h"

#include <algorithm>

#include "core/program/program_block.h"

namespace Brenno {

namespace {

// Splits an optional leading "&" or "*" off the text.
std::wstring_view PrefixOf(const std::wstring& text) {
  return !text.empty() && (text.front() == L'&' || text.front() == L'*') ? std::wstring_view(text).substr(0, 1)
                                                                         : std::wstring_view();
}

const VarEntry* FindLocalByName(const LocalVarTable* locals, std::wstring_view name) {
  if (locals == nullptr || name.empty()) return nullptr;
  for (const VarEntry& entry : *locals) {
    if (IsValidVarEntry(entry) && entry.Name == name) return &entry;
  }
  return nullptr;
}

const VarEntry* FindLocalByAddress(const LocalVarTable* locals, std::wstring_view address) {
  if (locals == nullptr || address.empty()) return nullptr;
  for (const VarEntry& entry : *locals) {
    if (IsValidVarEntry(entry) && entry.Address == address) return &entry;
  }
  return nullptr;
}

bool IsSubroutineKey(int key) { return (key & 0x10000) != 0; }

}  // namespace

VarEntry MakeAreaVarEntry(int area) {
  VarEntry entry;
  entry.CheckFlags = 0;
  entry.DataType = 0;
  entry.Area = area;
  return entry;
}

void DestroyVarEntry(VarEntry& entry) { entry = VarEntry(); }

bool IsValidVarEntry(const VarEntry& entry) {
  return entry.CheckFlags == 0 && !entry.Name.empty() && !entry.Address.empty();
}

void ResetSymbolTable(SymbolTable& table, const SymbolVarSizes& sizes) {
  table = SymbolTable();
  table.Sizes = sizes;
}

void CopySymbolTable(const SymbolTable& table, SymbolTable& copy) { copy = table; }

void DestroySymbolTable(SymbolTable& copy) { copy = SymbolTable(); }

const LocalVarTable* FindLocalVarTable(const ProgramBlock& program, int pageId) {
  const ProgramPage* page = program.FindProgramPage(pageId);
  return page == nullptr ? nullptr : &page->LocalVars;
}

bool LookupSymbolNamePrefixed(std::wstring& text, const SymbolTable& table, const LocalVarTable* locals) {
  const std::wstring_view prefix = PrefixOf(text);
  const std::wstring_view name = std::wstring_view(text).substr(prefix.size());
  if (name.empty()) return false;
  if (name.front() == L'#') {
    const VarEntry* local = FindLocalByName(locals, name.substr(1));
    if (local == nullptr) return false;
    text = std::wstring(prefix) + local->Address;
    return true;
  }
  for (const SymbolEntry& symbol : table.Symbols) {
    if (symbol.Valid && !symbol.Address.empty() && symbol.Name == name) {
      text = std::wstring(prefix) + symbol.Address;
      return true;
    }
  }
  const VarEntry* local = FindLocalByName(locals, name);
  if (local == nullptr) return false;
  text = std::wstring(prefix) + local->Address;
  return true;
}

bool LookupOperandSymbolPrefixed(std::wstring& text, const SymbolTable& table, const LocalVarTable* locals) {
  const std::wstring_view prefix = PrefixOf(text);
  const std::wstring_view address = std::wstring_view(text).substr(prefix.size());
  if (address.empty()) return false;
  for (const SymbolEntry& symbol : table.Symbols) {
    if (symbol.Valid && !symbol.Name.empty() && symbol.Address == address) {
      text = std::wstring(prefix) + symbol.Name;
      return true;
    }
  }
  const VarEntry* local = FindLocalByAddress(locals, address);
  if (local == nullptr) return false;
  text = std::wstring(prefix) + L"#" + local->Name;
  return true;
}

std::vector<int> CollectProgramUnitKeys(const ProgramBlock& program) {
  std::vector<int> keys = program.InterruptTable.ListReferenceBlockKeys();
  const std::vector<int> subroutines = program.SubroutineTable.ListReferenceBlockKeys();
  keys.insert(keys.end(), subroutines.begin(), subroutines.end());
  return keys;
}

void NormalizeLocalVarTable(ProgramBlock& program, int key, const SymbolTable&) {
  if (program.FindProgramPage(key) == nullptr) return;
  LocalVarTable& variables = program.GetProgramPage(key).LocalVars;
  std::stable_sort(variables.begin(), variables.end(),
                   [](const VarEntry& a, const VarEntry& b) { return a.Area < b.Area; });
  const std::vector<int> required = IsSubroutineKey(key)
                                        ? std::vector<int>{kVarAreaIn, kVarAreaInOut, kVarAreaOut, kVarAreaTemp}
                                        : std::vector<int>{kVarAreaTemp};
  for (const int area : required) {
    const auto present = std::find_if(variables.begin(), variables.end(),
                                      [area](const VarEntry& entry) { return entry.Area == area; });
    if (present == variables.end()) {
      const auto after = std::find_if(variables.begin(), variables.end(),
                                      [area](const VarEntry& entry) { return entry.Area > area; });
      variables.insert(after, MakeAreaVarEntry(area));
    }
  }
  for (VarEntry& entry : variables) {
    entry.CheckFlags = entry.Name.empty() || entry.Address.empty() ? kVarCheckIncomplete : 0;
  }
}

void UpdateSubroutineInterface(const SymbolTable&, int) {}

void NormalizeAllLocalVarTables(ProgramBlock& program, const SymbolTable& table) {
  for (const int key : CollectProgramUnitKeys(program)) NormalizeLocalVarTable(program, key, table);
}

void UpdateAllSubroutineInterfaces(const ProgramBlock& program, const SymbolTable& table) {
  for (const int key : CollectProgramUnitKeys(program)) UpdateSubroutineInterface(table, key);
}

}  // namespace Brenno
