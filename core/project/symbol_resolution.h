// Turning operands between address form and symbol form.
//
// Global symbols are the complete entries of the symbol table's working pages; local variables
// are the complete entries of one program unit's table, written with a leading "#" in symbol
// form. A caller without a program unit passes the unit key -1, which no unit has, so only
// global symbols count. For unmarked texts global symbols take precedence over local variables
// in both directions; the "#" mark selects a local variable explicitly. Texts compare exactly.
//
// The forms with a unit key read the current project (its memory map and its program for the
// unit's variables); the `SymbolScope` forms take both explicitly. Nothing here throws: a text
// that is neither an address nor a known symbol gives false.
#pragma once

#include <string>

#include "core/env/memory_area_manager.h"
#include "core/project/symbol_table.h"

namespace Brenno {

class ProgramBlock;

// Where the local lookups look and which memory map judges addresses; either may be null (no
// local variables; no text is an address).
struct SymbolScope {
  const LocalVarTable* Locals = nullptr;
  const MemoryAreaManager* MemoryAreas = nullptr;
};

// The scope of a unit of the current project: its local variables (none for a key without a
// working page) and the project's memory map. An empty scope without a current project.
SymbolScope CurrentSymbolScope(int unitKey);

// Where the lookups find local variables: the rows of the program page with that key, or null.
const LocalVarTable* FindLocalVarTable(const ProgramBlock& program, int unitKey);

// The building blocks; each changes the text only when it returns true.
bool FindGlobalSymbolByAddress(const SymbolTable& table, std::wstring& text);
bool FindGlobalAddressBySymbol(const SymbolTable& table, std::wstring& text);
bool FindLocalSymbolByAddress(int unitKey, std::wstring& text);
bool FindLocalAddressBySymbol(int unitKey, std::wstring& text);
bool FindLocalSymbolByAddress(const LocalVarTable* locals, std::wstring& text);
bool FindLocalAddressBySymbol(const LocalVarTable* locals, std::wstring& text);

// An address (any form the memory map accepts; rewritten canonically) becomes its global
// symbol's name, else "#" + the unit's local variable name: true. A text that is no address is
// left alone, except that a bare local variable name that is no global symbol gets its "#"
// mark; the result is then false.
bool LookupOperandSymbol(const SymbolTable& table, std::wstring& text, int unitKey);
bool LookupOperandSymbol(const SymbolTable& table, std::wstring& text, const SymbolScope& scope);
// A global symbol name, else a local variable name of the unit, becomes its address; "#name"
// is looked up among the local variables only (the "#" is dropped even when that fails).
bool LookupSymbolName(std::wstring& text, int unitKey, const SymbolTable& table);
bool LookupSymbolName(std::wstring& text, const SymbolScope& scope, const SymbolTable& table);

// The same for a text that may begin with "&" or "*"; that character stays in front.
bool LookupOperandSymbolPrefixed(std::wstring& text, const SymbolTable& table, int unitKey);
bool LookupOperandSymbolPrefixed(std::wstring& text, const SymbolTable& table, const SymbolScope& scope);
bool LookupSymbolNamePrefixed(std::wstring& text, const SymbolTable& table, int unitKey);
bool LookupSymbolNamePrefixed(std::wstring& text, const SymbolTable& table, const SymbolScope& scope);

}  // namespace Brenno
