// The project's global symbol table and the record shared by global symbols and local
// variables.
//
// `SymbolTable` is a paged table ("USR_" pages) of `VarEntry` rows: each row binds a name to an
// address of a data type, with a comment. The table also carries the eight symbol sizes of the
// PLC type, the local variable area names and the per-type operand formats that the local
// variable tables, the subroutine interfaces and the image coders use.
//
// Check flags are derived data: every change of a row revalidates the whole table, and only
// entries whose flags equal 31 (kVarEntryComplete) stand for a symbol. Validation writes valid
// addresses back in their canonical form.
//
// The operations without an explicit memory-area manager read the current project's one.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/env/memory_area_manager.h"
#include "core/env/plc_type.h"
#include "core/program/var_entry.h"
#include "core/project/paged_table.h"

namespace Brenno {


// The fixed width class of a data type index: 0 bit, 1 byte, 2 word, 3 double word; -1 for an
// index outside 0..10.
int DataTypeWidthClass(int type);

// The complete entries of a symbol table's working pages by name and by address, so that a
// lookup does not walk the whole table. Every validation of the table rebuilds it (and every
// edit of a row revalidates the table). It holds places in the table, not texts: each candidate
// is confirmed against the table's row, so a copy of the table answers through its copy of the
// index, and a row changed since the last validation is never found under a text it no longer
// holds. While the working pages do not have the keys and row counts it was built for (a page
// removed or added and not yet validated), the lookups walk the table instead.
class SymbolIndex {
 public:
  using PageMap = PagedTable<VarEntry>::PageMap;

  void Rebuild(const PageMap& pages);
  // The first complete entry, pages in key order and rows in order, whose name (address) equals
  // the text; null when there is none.
  const VarEntry* FindByName(const PageMap& pages, const std::wstring& name) const;
  const VarEntry* FindByAddress(const PageMap& pages, const std::wstring& address) const;

 private:
  // A complete entry: its page's position among the working pages (in key order) and its row.
  struct Place {
    uint32_t Page;
    uint32_t Row;
  };
  // Open addressing with linear probing: a bucket holds high bits of the text's hash (0 for an
  // empty bucket) and the number of a place. Places of one text are met in table order.
  struct Bucket {
    uint32_t Tag = 0;
    uint32_t Place = 0;
  };
  void Insert(std::vector<Bucket>& buckets, const std::wstring& text, uint32_t place);
  const VarEntry* Find(const PageMap& pages, const std::vector<Bucket>& buckets, const std::wstring& text,
                       std::wstring VarEntry::*field) const;
  bool Fits(const PageMap& pages) const;

  std::vector<Place> places_;
  std::vector<Bucket> byName_;
  std::vector<Bucket> byAddress_;
  // The key and row count of every working page at the last rebuild.
  std::vector<std::pair<int, size_t>> shape_;
};

class SymbolTable : public PagedTable<VarEntry> {
 public:
  // The eight SymbolVar sizes of the project's PLC type.
  SymbolVarSizes Sizes;
  // "IN", "IN_OUT", "OUT", "TEMP".
  std::vector<std::wstring> AreaNames;
  // One entry per data type index 0..10.
  std::vector<std::wstring> LocalAddressFormats;  // "Tv:" ...
  std::vector<std::wstring> InputOperandFormats;  // "Tcavp:" ...
  std::vector<std::wstring> InOutOperandFormats;  // "Tavp:" ...
  std::vector<std::wstring> AddressTemplates;     // "Tv:-:Lv:" ...
  std::vector<std::wstring> TypeNames;            // "BOOL" ... "REAL"
  // Derived from the working pages by ValidateSymbolEntries; not part of the table's value.
  SymbolIndex Index;

  bool operator==(const SymbolTable& other) const;
};

// The first complete entry of the working pages (in key order, rows in order) whose name, or
// address, equals the text exactly; null when none has it. Looked up through the table's index.
const VarEntry* FindCompleteSymbolByName(const SymbolTable& table, const std::wstring& name);
const VarEntry* FindCompleteSymbolByAddress(const SymbolTable& table, const std::wstring& address);

// The list entry at the index; an empty text outside the list.
const std::wstring& SymbolListText(const std::vector<std::wstring>& list, int index);

// ---- Lifecycle.

// Rebuilds every member for the current project's PLC type: sizes, reserved names (the names of
// the project's instruction library), lists and the reference pages; no working page remains.
// ExceptionLogicError when there is no current project with a type.
void ResetSymbolTable(SymbolTable& table);
// The same with the sizes and reserved names given.
void ResetSymbolTable(SymbolTable& table, const SymbolVarSizes& sizes,
                      const std::vector<std::wstring>& reservedNames = {});
// The first min(SizePageUser, SizePageInitUser) reference pages become working pages; then
// validation.
void FillDefaultSymbolTables(SymbolTable& table);
// After loading: prune, replace pages that do not fit their reference, keep one page, validate.
void NormalizeSymbolTable(SymbolTable& table);
// Titles repaired and matching; the rows cut to SizeItemUser. ExceptionLogicError when the key
// has no working page after the titles were found matching.
bool SymbolPageMatchesReference(SymbolTable& table, int key);
// Recomputes the flags of every entry of every working page and rebuilds the table's index.
void ValidateSymbolEntries(SymbolTable& table);
void ValidateSymbolEntries(SymbolTable& table, const MemoryAreaManager& manager);

// Member-wise snapshot, assignment and destruction.
void CopySymbolTable(const SymbolTable& table, SymbolTable& copy);
void AssignSymbolTable(SymbolTable& target, const SymbolTable& source);
void DestroySymbolTable(SymbolTable& table);

// ---- Pages.

int AddSymbolTableFromReference(SymbolTable& table, int key);
int AddFirstFreeSymbolTable(SymbolTable& table);
// Adds the first free page and validates; the key or -1.
int InsertSymbolTable(SymbolTable& table);
// The key of the page to show next, or -1. The caller validates afterwards.
int RemoveSymbolTable(SymbolTable& table, int key);
void PruneSymbolTables(SymbolTable& table);

// ---- Rows (key = a working page, else ExceptionLogicError; ranges are first .. end-1).

int InsertSymbolEntry(SymbolTable& table, int key, int index);
bool CanInsertSymbolEntry(const SymbolTable& table, int key, int index);
int PasteSymbolEntries(SymbolTable& table, int key, int index, const std::vector<VarEntry>& entries);
int DeleteSymbolEntries(SymbolTable& table, int key, int first, int end);
bool CanDeleteSymbolEntries(const SymbolTable& table, int key, int first, int end);

// Index outside the page: ExceptionLogicError.
const VarEntry& GetSymbolEntry(const SymbolTable& table, int key, int index);
int GetSymbolEntryType(const SymbolTable& table, int key, int index);
const std::wstring& GetSymbolEntryName(const SymbolTable& table, int key, int index);
const std::wstring& GetSymbolEntryAddress(const SymbolTable& table, int key, int index);
const std::wstring& GetSymbolEntryComment(const SymbolTable& table, int key, int index);
// False, nothing done, when the value is already stored; otherwise stored and the table
// revalidated.
bool SetSymbolEntryType(SymbolTable& table, int key, int index, int type);
bool SetSymbolEntryName(SymbolTable& table, int key, int index, const std::wstring& name);
bool SetSymbolEntryAddress(SymbolTable& table, int key, int index, const std::wstring& address);
bool SetSymbolEntryComment(SymbolTable& table, int key, int index, const std::wstring& comment);

// Clipboard text: per entry name TAB address TAB type name TAB comment CR LF.
int CopySymbolEntriesAsText(const SymbolTable& table, int key, int first, int end, std::wstring& text);
int CutSymbolEntriesAsText(SymbolTable& table, int key, int first, int end, std::wstring& text);
int PasteSymbolEntriesFromText(SymbolTable& table, int key, int index, const std::wstring& text);

// ---- Shared.

// The symbol-name rule: not an operand address of the PLC type, not empty, no digit first, only
// '_', letters and digits.
bool IsValidSymbolName(const std::wstring& name);
bool IsValidSymbolName(const std::wstring& name, const MemoryAreaManager& manager);

void PushIntPair(const std::pair<int, int>& pair, std::vector<std::pair<int, int>>& pairs);

}  // namespace Brenno
