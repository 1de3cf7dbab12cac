#include "core/program/project_services.h"

#include "core/env/page_names.h"
#include "core/project/project.h"
#include "core/project/symbol_resolution.h"

namespace Brenno {

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

void InstallCurrentProjectServices() {
  static const CurrentProjectServices services;
  InstallProgramServices(&services);
}

}  // namespace Brenno
