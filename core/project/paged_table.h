// The paged tables of a project: the global symbol table, the data block table, the system block
// table and the status chart. Each keeps two sets of pages under the same int keys: the
// reference pages (every page the PLC type allows, with default titles and rows) and the
// working pages (the pages the project has). Working pages come only from copying a reference
// page in, so after normalising every working key is a reference key and every working page
// carries its reference address.
//
// Keys are ordered as unsigned 32-bit numbers; every traversal runs in that order. Operations
// that return a key give -1 for none. Refused page operations (no reference page, no free key,
// no working page to remove) return -1 and change nothing; `PagedTable::GetPage` throws
// ExceptionLogicError for a key without a working page.
//
// A table instance derives from `PagedTable<Row>` and adds its own size values and lists; the
// family operations (add from reference, add first free, remove, prune, fill, normalise) are
// templates here that the instances call under their own names.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/env/exception_error.h"
#include "core/env/page_names.h"

namespace Brenno {

// Orders page keys as unsigned 32-bit numbers (a negative key sorts after every positive one).
struct PageKeyLess {
  bool operator()(int a, int b) const { return static_cast<uint32_t>(a) < static_cast<uint32_t>(b); }
};

// One page of a paged table: its editable name, its fixed address, a comment and its rows.
template <class Row>
struct TablePage {
  std::wstring Name;
  std::wstring Address;
  std::wstring Comment;
  std::vector<Row> Rows;

  bool operator==(const TablePage&) const = default;
};

template <class Row>
class PagedTable {
 public:
  using RowType = Row;
  using Page = TablePage<Row>;
  using PageMap = std::map<int, Page, PageKeyLess>;

  PageMap Working;
  PageMap Reference;
  // Names no page may take (the instruction and ladder element names of the PLC type).
  std::vector<std::wstring> ReservedNames;

  bool HasWorkingPage(int key) const { return Working.count(key) != 0; }
  bool HasReferencePage(int key) const { return Reference.count(key) != 0; }

  // The rows of the working page; ExceptionLogicError when the key has none.
  std::vector<Row>& GetPage(int key) { return GetWorkingPage(key).Rows; }
  const std::vector<Row>& GetPage(int key) const { return GetWorkingPage(key).Rows; }

  // The whole working page (titles and rows); ExceptionLogicError when the key has none.
  Page& GetWorkingPage(int key) {
    const auto found = Working.find(key);
    if (found == Working.end()) throw ExceptionLogicError();
    return found->second;
  }
  const Page& GetWorkingPage(int key) const { return const_cast<PagedTable*>(this)->GetWorkingPage(key); }

  // The working keys, ascending.
  std::vector<int> ListKeys() const {
    std::vector<int> keys;
    keys.reserve(Working.size());
    for (const auto& entry : Working) keys.push_back(entry.first);
    return keys;
  }

  bool operator==(const PagedTable&) const = default;
};

// Default titles of reference page k: name prefix + "_" + k, address prefix + k ("USR_3",
// "USR3").
std::wstring DefaultTablePageName(std::wstring_view prefix, int key);
std::wstring DefaultTablePageAddress(std::wstring_view prefix, int key);

// The name form a page or symbol may take: not empty, no digit first, only '_', letters and
// digits (classification of the classic locale).
bool IsWellFormedTableName(std::wstring_view name);

template <class Row>
std::vector<int> ListReferencePageKeys(const PagedTable<Row>& table) {
  std::vector<int> keys;
  keys.reserve(table.Reference.size());
  for (const auto& entry : table.Reference) keys.push_back(entry.first);
  return keys;
}

// The reference keys without a working page, ascending.
template <class Row>
std::vector<int> ListFreeTablePageKeys(const PagedTable<Row>& table) {
  std::vector<int> keys;
  for (const auto& entry : table.Reference) {
    if (!table.HasWorkingPage(entry.first)) keys.push_back(entry.first);
  }
  return keys;
}

template <class Row>
bool CanAddTablePage(const PagedTable<Row>& table) {
  return !ListFreeTablePageKeys(table).empty();
}

// Key of the reference page whose address the text names (DAT010 names DAT10), or -1. The text
// is not changed.
template <class Row>
int FindReferencePageByAddress(std::wstring_view text, const PagedTable<Row>& table) {
  const std::wstring address = NormalizeNumberedName(text);
  for (const auto& [key, page] : table.Reference) {
    if (page.Address == address) return key;
  }
  return -1;
}

// Whether the name may be the name of working page `key`: not a reference address in any
// numbered form, carried by at most one working page, not another page's default name, not
// reserved, and well formed.
template <class Row>
bool IsValidPageName(const PagedTable<Row>& table, const std::wstring& name, int key) {
  if (FindReferencePageByAddress(name, table) != -1) return false;
  const auto carriers = std::count_if(table.Working.begin(), table.Working.end(),
                                      [&](const auto& entry) { return entry.second.Name == name; });
  if (carriers > 1) return false;
  for (const auto& [referenceKey, page] : table.Reference) {
    if (page.Name == name) {
      if (referenceKey != key) return false;
      break;
    }
  }
  if (std::find(table.ReservedNames.begin(), table.ReservedNames.end(), name) != table.ReservedNames.end()) {
    return false;
  }
  return IsWellFormedTableName(name);
}

// Repairs the titles of a working page: the reference address, and the reference name when the
// page's name is not valid for it. False when either map lacks the key.
template <class Row>
bool SyncPageTitlesFromReference(PagedTable<Row>& table, int key) {
  const auto working = table.Working.find(key);
  const auto reference = table.Reference.find(key);
  if (working == table.Working.end() || reference == table.Reference.end()) return false;
  if (working->second.Address != reference->second.Address) working->second.Address = reference->second.Address;
  if (working->second.Name != reference->second.Name && !IsValidPageName(table, working->second.Name, key)) {
    working->second.Name = reference->second.Name;
  }
  return true;
}

template <class Row>
bool PageTitlesMatchReference(const PagedTable<Row>& table, int key) {
  const auto working = table.Working.find(key);
  const auto reference = table.Reference.find(key);
  if (working == table.Working.end() || reference == table.Reference.end()) return false;
  if (working->second.Address != reference->second.Address) return false;
  return working->second.Name == reference->second.Name || IsValidPageName(table, working->second.Name, key);
}

// The working page of the key becomes a copy of its reference page (created or replaced);
// the key, or -1 when the key has no reference page. Rows are not validated here.
template <class Row>
int AddTablePageFromReference(PagedTable<Row>& table, int key) {
  const auto reference = table.Reference.find(key);
  if (reference == table.Reference.end()) return -1;
  table.Working.insert_or_assign(key, reference->second);
  return key;
}

// Adds the reference page of the smallest free key; -1 when none is free.
template <class Row>
int AddFirstFreeTablePage(PagedTable<Row>& table) {
  const std::vector<int> free = ListFreeTablePageKeys(table);
  return free.empty() ? -1 : AddTablePageFromReference(table, free.front());
}

// Erases the working page. The result is the page to show next: the next larger key, else the
// new last key; a table left without pages gets its first free reference page back. -1, nothing
// changed, when the key has no working page.
template <class Row>
int RemoveTablePage(PagedTable<Row>& table, int key) {
  const auto found = table.Working.find(key);
  if (found == table.Working.end()) return -1;
  const auto next = table.Working.erase(found);
  if (next != table.Working.end()) return next->first;
  if (table.Working.empty()) return AddFirstFreeTablePage(table);
  return std::prev(table.Working.end())->first;
}

// Erases every working page whose key is not a reference key.
template <class Row>
void PruneTablePages(PagedTable<Row>& table) {
  for (auto it = table.Working.begin(); it != table.Working.end();) {
    it = table.HasReferencePage(it->first) ? std::next(it) : table.Working.erase(it);
  }
}

// The first min(reference count, initialCount) reference pages become working pages.
template <class Row>
void FillDefaultTablePages(PagedTable<Row>& table, int initialCount) {
  int left = initialCount;
  for (const int key : ListReferencePageKeys(table)) {
    if (left <= 0) break;
    AddTablePageFromReference(table, key);
    --left;
  }
}

// The page test of the symbol, data block and status chart tables: titles repaired and then
// matching; the caller fits the rows afterwards.
template <class Row>
bool TablePageTitlesFit(PagedTable<Row>& table, int key) {
  if (!SyncPageTitlesFromReference(table, key)) return false;
  return PageTitlesMatchReference(table, key);
}

// Pages that share one name all take their reference names back, so that no page keeps a
// name that depended on which of them was looked at first.
template <class Row>
void ResetSharedPageNames(PagedTable<Row>& table) {
  std::map<std::wstring, int> carriers;
  for (const auto& entry : table.Working) ++carriers[entry.second.Name];
  for (auto& [key, page] : table.Working) {
    const auto reference = table.Reference.find(key);
    if (carriers[page.Name] > 1 && reference != table.Reference.end()) page.Name = reference->second.Name;
  }
}

// Prune; pages sharing a name get their reference names; every working page that fails
// `fits(table, key)` is replaced by its reference page; a table left without pages gets its
// first free reference page. The caller then validates.
template <class Table, class Fits>
void NormalizeTablePages(Table& table, Fits fits) {
  PruneTablePages(table);
  ResetSharedPageNames(table);
  for (const int key : table.ListKeys()) {
    if (!fits(table, key)) AddTablePageFromReference(table, key);
  }
  if (table.Working.empty()) AddFirstFreeTablePage(table);
}

}  // namespace Brenno
