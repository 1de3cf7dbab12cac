// Puts global symbols into a project's symbol table for tests that need a few of them: the
// entry is appended to working page 0 (created with the titles USR_0/USR0 when the table has
// none, so it also works for a table reset with no symbol pages), and the table is validated
// against the current project's memory map.
#pragma once

#include <string>

#include "core/project/symbol_table.h"

namespace testsupport {

inline void AddGlobalSymbol(Brenno::SymbolTable& table, const std::wstring& name, const std::wstring& address,
                            int type = 0, const std::wstring& comment = L"") {
  if (table.Working.empty()) {
    Brenno::TablePage<Brenno::VarEntry> page;
    page.Name = L"USR_0";
    page.Address = L"USR0";
    if (!table.HasReferencePage(0)) table.Reference.emplace(0, page);
    table.Working.emplace(0, page);
  }
  Brenno::VarEntry entry = Brenno::MakeEmptyVarEntry();
  entry.Type = type;
  entry.Name = name;
  entry.Address = address;
  entry.Comment = comment;
  table.Working.begin()->second.Rows.push_back(entry);
  Brenno::ValidateSymbolEntries(table);
}

}  // namespace testsupport
