#include "core/project/project_services.h"

#include "core/env/page_names.h"
#include "core/project/local_var_table.h"
#include "core/project/project.h"
#include "core/project/symbol_resolution.h"

namespace Brenno {

namespace {

// The current project's symbol table; null without an installed environment or project.
const SymbolTable* CurrentSymbolTable() {
  const ProjectEnvironment* environment = InstalledEnvironment();
  if (environment == nullptr || environment->ProjectList.empty()) return nullptr;
  return &environment->ProjectList.back().Symbols;
}

const SymbolTable& CurrentSymbolsOrNone() {
  static const SymbolTable kNoSymbols;
  const SymbolTable* symbols = CurrentSymbolTable();
  return symbols != nullptr ? *symbols : kNoSymbols;
}

}  // namespace

const InstructionLibrary& CurrentProjectServices::Library() const { return CurrentProject().Instructions; }

const MemoryAreaManager& CurrentProjectServices::MemoryMap() const { return CurrentProject().MemoryAreas; }

bool CurrentProjectServices::LookupSymbolNamePrefixed(std::wstring& text, int pageId) const {
  const Project& project = CurrentProject();
  return Brenno::LookupSymbolNamePrefixed(text, project.Symbols,
                                          SymbolScope{FindLocalVarTable(project.Program, pageId), &project.MemoryAreas});
}

bool CurrentProjectServices::LookupOperandSymbolPrefixed(std::wstring& text, int pageId) const {
  const Project& project = CurrentProject();
  return Brenno::LookupOperandSymbolPrefixed(text, project.Symbols,
                                             SymbolScope{FindLocalVarTable(project.Program, pageId), &project.MemoryAreas});
}

bool CurrentProjectServices::ReplacePageNameByReferenceName(std::wstring& text) const {
  return Brenno::ReplacePageNameByReferenceName(CurrentProject().Program.SubroutineTable, text);
}

bool CurrentProjectServices::ReplaceReferenceNameByPageName(std::wstring& text) const {
  return Brenno::ReplaceReferenceNameByPageName(CurrentProject().Program.SubroutineTable, text);
}

bool CurrentProjectServices::ReplacePageAddressByName(std::wstring& text) const {
  return Brenno::ReplacePageAddressByName(CurrentProject().Program.SubroutineTable, text);
}

bool CurrentProjectServices::ReplacePageNameByAddress(std::wstring& text) const {
  return Brenno::ReplacePageNameByAddress(CurrentProject().Program.SubroutineTable, text);
}

bool CurrentProjectServices::SymbolicAddressing() const {
  const ProjectEnvironment* environment = InstalledEnvironment();
  return environment != nullptr && environment->Config.SymbolicAddr != 0;
}

const SymbolVarSizes* CurrentProjectServices::SymbolSizes() const {
  const SymbolTable* symbols = CurrentSymbolTable();
  return symbols != nullptr ? &symbols->Sizes : nullptr;
}

void CurrentProjectServices::NormalizeLocalVariables(ProgramBlock& program) const {
  NormalizeAllLocalVarTables(program, CurrentSymbolsOrNone());
}

void CurrentProjectServices::UpdateSubroutineInterfaces(const ProgramBlock& program) const {
  UpdateAllSubroutineInterfaces(program, CurrentSymbolsOrNone());
}

void InstallCurrentProjectServices() {
  static const CurrentProjectServices services;
  InstallProgramServices(&services);
}

}  // namespace Brenno
