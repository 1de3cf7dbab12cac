// Page operations on the paged tables of a project (data blocks, variable tables, status
// charts): reading a page's titles, renaming it, giving it another address and changing its
// comment under the naming rules of the tables, and the lists of instruction definitions by
// catalogue group. The project tree's commands and label editing work through these.
//
// A key without a working page throws ExceptionLogicError from every getter and setter; refused
// names, addresses and comments return false and change nothing.
#pragma once

#include <string>
#include <vector>

#include "core/env/instruction_library.h"
#include "core/env/page_names.h"
#include "core/project/data_block_table.h"
#include "core/project/paged_table.h"
#include "core/project/status_chart.h"
#include "core/project/symbol_table.h"

namespace Brenno {

template <class Row>
const std::wstring& GetTablePageName(const PagedTable<Row>& table, int key) {
  return table.GetWorkingPage(key).Name;
}

template <class Row>
const std::wstring& GetTablePageAddress(const PagedTable<Row>& table, int key) {
  return table.GetWorkingPage(key).Address;
}

template <class Row>
const std::wstring& GetTablePageComment(const PagedTable<Row>& table, int key) {
  return table.GetWorkingPage(key).Comment;
}

// False when the text is the page's comment already; otherwise stored, true.
template <class Row>
bool SetTablePageComment(PagedTable<Row>& table, int key, const std::wstring& text) {
  auto& page = table.GetWorkingPage(key);
  if (page.Comment == text) return false;
  page.Comment = text;
  return true;
}

// The name or address of the reference page with that key; empty when there is none.
template <class Row>
std::wstring DefaultPageName(const PagedTable<Row>& table, int key) {
  const auto found = table.Reference.find(key);
  return found == table.Reference.end() ? std::wstring() : found->second.Name;
}

template <class Row>
std::wstring DefaultPageAddress(const PagedTable<Row>& table, int key) {
  const auto found = table.Reference.find(key);
  return found == table.Reference.end() ? std::wstring() : found->second.Address;
}

// The key of the first page (ascending key order) of the working pages (kWorkingPages) or of the
// reference pages (kReferencePages) whose name equals the text exactly; -1 when none.
template <class Row>
int FindTablePageByName(const PagedTable<Row>& table, const std::wstring& name, bool working) {
  return FindPageKeyByName(table, name, working);
}

// Whether a page may take the name: not a reference page's address (in any numbered form), not
// the name of a reference page or of a working page, not reserved, not empty, no digit first and
// only '_', letters and digits.
template <class Row>
bool IsValidTablePageName(const PagedTable<Row>& table, const std::wstring& name) {
  if (FindReferencePageByAddress(name, table) != -1) return false;
  if (FindTablePageByName(table, name, kReferencePages) != -1) return false;
  if (FindTablePageByName(table, name, kWorkingPages) != -1) return false;
  for (const std::wstring& reserved : table.ReservedNames) {
    if (reserved == name) return false;
  }
  return IsWellFormedTableName(name);
}

// False when the name is the page's name already; true when it is the default name of the
// page's own key or a valid name (then stored).
template <class Row>
bool RenameTablePage(PagedTable<Row>& table, int key, const std::wstring& name) {
  auto& page = table.GetWorkingPage(key);
  if (page.Name == name) return false;
  const auto reference = table.Reference.find(key);
  const bool ownDefault = reference != table.Reference.end() && reference->second.Name == name;
  if (!ownDefault && !IsValidTablePageName(table, name)) return false;
  page.Name = name;
  return true;
}

// Moves the working page to the free reference page whose address the text names (leading zeros
// of the number allowed). A page that still carries the default name of its old key takes the
// default name of the new key; a name of the user's stays. True with the new key; false with -1
// when the address is the page's own, no reference page has it, or it is in use.
template <class Row>
bool ChangeTablePageAddress(PagedTable<Row>& table, const std::wstring& text, int key, int& newKey) {
  newKey = -1;
  const auto& page = table.GetWorkingPage(key);
  const std::wstring address = NormalizeNumberedName(text);
  if (address == page.Address) return false;
  const int target = FindReferencePageByAddress(address, table);
  if (target == -1 || table.HasWorkingPage(target)) return false;
  TablePage<Row> moved = page;
  moved.Address = table.Reference.at(target).Address;
  if (moved.Name == DefaultPageName(table, key)) moved.Name = DefaultPageName(table, target);
  table.Working.erase(key);
  table.Working.insert_or_assign(target, std::move(moved));
  newKey = target;
  return true;
}

bool ChangeSymbolTableAddress(SymbolTable& table, const std::wstring& text, int key, int& newKey);
bool ChangeDataBlockAddress(DataBlockTable& table, const std::wstring& text, int key, int& newKey);
bool ChangeStatusChartAddress(StatusChart& chart, const std::wstring& text, int key, int& newKey);

// Every definition whose parent text equals the group name exactly, in table order (the list is
// emptied first).
void ListStlDefsOfGroup(std::vector<const FunStlRecord*>& out, const InstructionLibrary& library,
                        const std::wstring& group);
void ListLadDefsOfGroup(std::vector<const FunLadRecord*>& out, const InstructionLibrary& library,
                        const std::wstring& group);

}  // namespace Brenno
