// What the program model reads of the current project: the project's copies of the instruction
// library and the memory map, the symbol lookups of its symbol table and the name lookups of
// its subroutine table, the configured addressing, and the project's work on a program's local
// variables. The project side installs one implementation over the current project; tests
// install their own. The program model never changes the project through it.
#pragma once

#include <string>

namespace Brenno {

class InstructionLibrary;
class ProgramBlock;
struct MemoryAreaManager;
struct SymbolVarSizes;

class ProgramServices {
 public:
  virtual ~ProgramServices() = default;

  virtual const InstructionLibrary& Library() const = 0;
  virtual const MemoryAreaManager& MemoryMap() const = 0;

  // A symbol name (after an optional leading "&" or "*", which stays in front) of a global
  // symbol, or, with or without a leading "#", of a local variable of the page, becomes that
  // symbol's address text. A text starting with "#" is looked up among the locals only. False,
  // text unchanged, when nothing matches.
  virtual bool LookupSymbolNamePrefixed(std::wstring& text, int pageId) const = 0;
  // The reverse: an address of a valid global symbol becomes its name, else one of a valid
  // local variable of the page becomes "#" + its name.
  virtual bool LookupOperandSymbolPrefixed(std::wstring& text, int pageId) const = 0;

  // The name replacements over the program's subroutine block table (page_names.h).
  virtual bool ReplacePageNameByReferenceName(std::wstring& text) const = 0;
  virtual bool ReplaceReferenceNameByPageName(std::wstring& text) const = 0;
  virtual bool ReplacePageAddressByName(std::wstring& text) const = 0;
  virtual bool ReplacePageNameByAddress(std::wstring& text) const = 0;

  // Whether operands show as symbol names (the workbench's configuration). False by default.
  virtual bool SymbolicAddressing() const { return false; }
  // The symbol sizes of the current project's symbol table (the local variable limits among
  // them); null, the default, when there is none.
  virtual const SymbolVarSizes* SymbolSizes() const { return nullptr; }
  // After units of the program were added, removed, renamed or loaded: the local variable tables
  // of its pages fitted to the symbol table and validated, and the subroutine call interfaces
  // rebuilt from the subroutines' local variables. Nothing by default.
  virtual void NormalizeLocalVariables(ProgramBlock&) const {}
  virtual void UpdateSubroutineInterfaces(const ProgramBlock&) const {}
};

// Installs the services of the current project (null removes them). Not owned.
void InstallProgramServices(const ProgramServices* services);
// The installed services; throws ExceptionLogicError when none are installed.
const ProgramServices& CurrentProgramServices();
// The installed services, or null.
const ProgramServices* InstalledProgramServices();

}  // namespace Brenno
