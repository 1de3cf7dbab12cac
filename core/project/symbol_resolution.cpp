#include "core/project/symbol_resolution.h"

#include "core/project/project_environment.h"
#include "core/env/exception_error.h"
#include "core/env/operand_address.h"
#include "core/program/program_block.h"
#include "core/project/project.h"

namespace Brenno {

namespace {

const VarEntry* FindGlobalBy(const SymbolTable& table, const std::wstring& text, std::wstring VarEntry::*field) {
  return field == &VarEntry::Name ? FindCompleteSymbolByName(table, text) : FindCompleteSymbolByAddress(table, text);
}

const VarEntry* FindLocalBy(const LocalVarTable* locals, const std::wstring& text, std::wstring VarEntry::*field) {
  if (locals == nullptr) return nullptr;
  for (const VarEntry& entry : *locals) {
    if (entry.CheckFlags == kVarEntryComplete && entry.*field == text) return &entry;
  }
  return nullptr;
}

// The canonical form of an address of the memory map; false, text unchanged, for anything else.
bool NormalizeAddress(const MemoryAreaManager* manager, std::wstring& text) {
  if (manager == nullptr) return false;
  try {
    return NormalizeOperandText(*manager, text);
  } catch (const ExceptionError&) {
    return false;
  }
}

bool HasOperandPrefix(const std::wstring& text) {
  return !text.empty() && (text.front() == L'&' || text.front() == L'*');
}

// Runs the plain lookup on the text without its "&" or "*" and puts the character back.
template <class Lookup>
bool WithPrefix(std::wstring& text, Lookup lookup) {
  if (text.empty()) return false;
  if (!HasOperandPrefix(text)) return lookup(text);
  const wchar_t prefix = text.front();
  std::wstring rest = text.substr(1);
  const bool replaced = lookup(rest);
  text = prefix + rest;
  return replaced;
}

}  // namespace

const LocalVarTable* FindLocalVarTable(const ProgramBlock& program, int unitKey) {
  const ProgramPage* page = program.FindProgramPage(unitKey);
  return page == nullptr ? nullptr : &page->LocalVars;
}

SymbolScope CurrentSymbolScope(int unitKey) {
  const ProjectEnvironment* environment = InstalledEnvironment();
  if (environment == nullptr || environment->ProjectList.empty()) return SymbolScope();
  const Project& project = environment->ProjectList.back();
  return SymbolScope{FindLocalVarTable(project.Program, unitKey), &project.MemoryAreas};
}

bool FindGlobalSymbolByAddress(const SymbolTable& table, std::wstring& text) {
  const VarEntry* entry = FindGlobalBy(table, text, &VarEntry::Address);
  if (entry == nullptr) return false;
  text = entry->Name;
  return true;
}

bool FindGlobalAddressBySymbol(const SymbolTable& table, std::wstring& text) {
  const VarEntry* entry = FindGlobalBy(table, text, &VarEntry::Name);
  if (entry == nullptr) return false;
  text = entry->Address;
  return true;
}

bool FindLocalSymbolByAddress(const LocalVarTable* locals, std::wstring& text) {
  const VarEntry* entry = FindLocalBy(locals, text, &VarEntry::Address);
  if (entry == nullptr) return false;
  text = entry->Name;
  return true;
}

bool FindLocalAddressBySymbol(const LocalVarTable* locals, std::wstring& text) {
  const VarEntry* entry = FindLocalBy(locals, text, &VarEntry::Name);
  if (entry == nullptr) return false;
  text = entry->Address;
  return true;
}

bool FindLocalSymbolByAddress(int unitKey, std::wstring& text) {
  return FindLocalSymbolByAddress(CurrentSymbolScope(unitKey).Locals, text);
}

bool FindLocalAddressBySymbol(int unitKey, std::wstring& text) {
  return FindLocalAddressBySymbol(CurrentSymbolScope(unitKey).Locals, text);
}

bool LookupOperandSymbol(const SymbolTable& table, std::wstring& text, const SymbolScope& scope) {
  if (text.empty()) return false;
  if (NormalizeAddress(scope.MemoryAreas, text)) {
    if (const VarEntry* entry = FindGlobalBy(table, text, &VarEntry::Address)) {
      text = entry->Name;
      return true;
    }
    if (FindLocalSymbolByAddress(scope.Locals, text)) {
      text.insert(0, 1, L'#');
      return true;
    }
    return false;
  }
  // A global symbol's name stays as it is; a local variable's name gets its mark.
  if (FindGlobalBy(table, text, &VarEntry::Name) != nullptr) return false;
  if (FindLocalBy(scope.Locals, text, &VarEntry::Name) != nullptr) text.insert(0, 1, L'#');
  return false;
}

bool LookupOperandSymbol(const SymbolTable& table, std::wstring& text, int unitKey) {
  return LookupOperandSymbol(table, text, CurrentSymbolScope(unitKey));
}

bool LookupSymbolName(std::wstring& text, const SymbolScope& scope, const SymbolTable& table) {
  if (text.empty()) return false;
  if (text.front() == L'#') {
    text.erase(0, 1);
    return FindLocalAddressBySymbol(scope.Locals, text);
  }
  if (const VarEntry* entry = FindGlobalBy(table, text, &VarEntry::Name)) {
    text = entry->Address;
    return true;
  }
  return FindLocalAddressBySymbol(scope.Locals, text);
}

bool LookupSymbolName(std::wstring& text, int unitKey, const SymbolTable& table) {
  return LookupSymbolName(text, CurrentSymbolScope(unitKey), table);
}

bool LookupOperandSymbolPrefixed(std::wstring& text, const SymbolTable& table, const SymbolScope& scope) {
  return WithPrefix(text, [&](std::wstring& plain) { return LookupOperandSymbol(table, plain, scope); });
}

bool LookupOperandSymbolPrefixed(std::wstring& text, const SymbolTable& table, int unitKey) {
  return LookupOperandSymbolPrefixed(text, table, CurrentSymbolScope(unitKey));
}

bool LookupSymbolNamePrefixed(std::wstring& text, const SymbolTable& table, const SymbolScope& scope) {
  return WithPrefix(text, [&](std::wstring& plain) { return LookupSymbolName(plain, scope, table); });
}

bool LookupSymbolNamePrefixed(std::wstring& text, const SymbolTable& table, int unitKey) {
  return LookupSymbolNamePrefixed(text, table, CurrentSymbolScope(unitKey));
}

}  // namespace Brenno
