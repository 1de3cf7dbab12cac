// The program services over the current project (the last project of the installed
// environment): its instruction library and memory map, its symbol table with the local
// variables of its program pages, and its subroutine table; the configured addressing. Every
// call reads the project anew, so the services follow the project list as projects are
// replaced.
#pragma once

#include "core/program/program_services.h"

namespace Brenno {

class CurrentProjectServices final : public ProgramServices {
 public:
  const InstructionLibrary& Library() const override;
  const MemoryAreaManager& MemoryMap() const override;
  bool LookupSymbolNamePrefixed(std::wstring& text, int pageId) const override;
  bool LookupOperandSymbolPrefixed(std::wstring& text, int pageId) const override;
  bool ReplacePageNameByReferenceName(std::wstring& text) const override;
  bool ReplaceReferenceNameByPageName(std::wstring& text) const override;
  bool ReplacePageAddressByName(std::wstring& text) const override;
  bool ReplacePageNameByAddress(std::wstring& text) const override;
  bool SymbolicAddressing() const override;
  const SymbolVarSizes* SymbolSizes() const override;
  // With the current project's symbol table, or an empty one when there is no project.
  void NormalizeLocalVariables(ProgramBlock& program) const override;
  void UpdateSubroutineInterfaces(const ProgramBlock& program) const override;
};

// Installs one process-wide CurrentProjectServices (start-up and tests).
void InstallCurrentProjectServices();

}  // namespace Brenno
