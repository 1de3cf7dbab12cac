// The project's data blocks: pages ("DAT_" pages) of initial values for PLC memory. Each row
// names a memory address (or a global symbol), a data type, a value and a comment; the compiler
// turns the complete rows of every data block into a data page of the binary image.
//
// `DataBlockTable` is a paged table of `DataRow` rows. Check flags are derived data: every
// change of a row revalidates the whole table, because an address must be unique across all
// data blocks. Validation writes valid addresses and values back in their canonical form and,
// while symbolic addressing is on, shows an address that has a global symbol as that symbol.
//
// Every operation works against the current project (its PLC type, memory-area manager and
// symbol table) and the installed environment's `SymbolicAddr` setting. Keys that have no
// working page, and row indexes outside a page in the getters and setters, throw
// ExceptionLogicError; refused edits (row limit, bad index or range) return -1 or false and
// change nothing.
#pragma once

#include <string>
#include <vector>

#include "core/env/plc_type.h"
#include "core/project/paged_table.h"

namespace Brenno {

// Bits of DataRow::CheckFlags.
inline constexpr int kDataCheckType = 1;     // the type index is valid
inline constexpr int kDataCheckAddress = 2;  // the address is valid for the type and unique in the table
inline constexpr int kDataCheckValue = 4;    // the value is a constant of the type without index register
inline constexpr int kDataCheckDone = 8;     // the row has been validated
inline constexpr int kDataRowComplete = 15;

// Number of data type indexes (0 "BOOL" .. 10 "REAL").
inline constexpr int kDataRowTypeCount = 11;

// One row of a data block.
struct DataRow {
  int CheckFlags = 0;
  int Type = 0;  // data type index 0..10
  std::wstring Address;
  std::wstring Value;
  std::wstring Comment;

  bool operator==(const DataRow&) const = default;
};

class DataBlockTable : public PagedTable<DataRow> {
 public:
  // The DataBlock sizes of the project's PLC type.
  int SizePage = 0;      // reference pages: the data blocks the type allows
  int SizePageInit = 0;  // data blocks of a new project
  int SizeItem = 0;      // row limit of one data block, compared as unsigned
  int SizeItemInit = 0;  // rows of a reference page (capped by SizeItem)
  // One entry per type index: the operand format an address of that type must match, and the
  // type's display name.
  std::vector<std::wstring> AddressTemplates;
  std::vector<std::wstring> TypeNames;

  bool operator==(const DataBlockTable&) const = default;
};

// Page prefix of the data block table: names "DAT_k", addresses "DATk".
inline constexpr wchar_t kDataBlockPagePrefix[] = L"DAT";

// The decimal form of the value; always true.
bool IntToWString(int value, std::wstring& text);

// Builders of a page from titles and rows, and of a map entry {key, page}.
TablePage<DataRow> MakeDataBlockPage(std::wstring name, std::wstring address, std::wstring comment,
                                     std::vector<DataRow> rows);
std::pair<int, TablePage<DataRow>> MakeDataBlockEntry(int key, std::wstring name, std::wstring address,
                                                      std::wstring comment, std::vector<DataRow> rows);

// ---- Lifecycle.

// Rebuilds the members and reference pages for the current project's PLC type; no working page
// remains. ExceptionLogicError when there is no current project with a type.
void ResetDataBlockTable(DataBlockTable& table);
// The same with the sizes and reserved names given.
void ResetDataBlockTable(DataBlockTable& table, const DataBlockSizes& sizes,
                         const std::vector<std::wstring>& reservedNames = {});
// Assigns the working map, reference map and reserved names of the source.
void CopyDataBlockTableContent(DataBlockTable& destination, const DataBlockTable& source);
// The first min(reference pages, SizePageInit) reference pages become working pages; then
// validation.
void FillDefaultDataBlocks(DataBlockTable& table);
// After loading, decoding or a type change: prune, replace pages that do not fit their
// reference, keep one page, validate.
void NormalizeDataBlocks(DataBlockTable& table);
// Titles repaired and matching; rows beyond SizeItem dropped. False when the page no longer
// fits its reference page (a missing page included).
bool DataBlockMatchesReference(DataBlockTable& table, int key);
// Recomputes the check flags of every row of every working page.
void ValidateDataRows(DataBlockTable& table);
// Why a validated row is not complete, in the user's language ("no initial value", "the value 100
// is no INT constant (K-32768 ~ K32767)", ...); empty for a complete row and for a blank one
// (neither address nor value), which holds nothing to compile.
std::wstring ExplainIncompleteDataRow(const DataBlockTable& table, const DataRow& row);

// ---- Pages.

// Adds the first free reference page and validates; the key or -1.
int InsertDataBlock(DataBlockTable& table);
int AddDataBlockFromReference(DataBlockTable& table, int key);
int AddFirstFreeDataBlock(DataBlockTable& table);
// The key of the data block to show next, or -1. The rows are revalidated (the uniqueness of
// addresses changes when a block goes).
int RemoveDataBlock(DataBlockTable& table, int key);
void PruneDataBlocks(DataBlockTable& table);

// ---- Rows (ranges are first .. end - 1).

int InsertDataRow(DataBlockTable& table, int key, int index);
bool CanInsertDataRow(const DataBlockTable& table, int key, int index);
int PasteDataRows(DataBlockTable& table, int key, int index, const std::vector<DataRow>& rows);
int DeleteDataRows(DataBlockTable& table, int key, int first, int end);
bool CanDeleteDataRows(const DataBlockTable& table, int key, int first, int end);

const DataRow& GetDataRow(const DataBlockTable& table, int key, int index);
int GetDataRowType(const DataBlockTable& table, int key, int index);
const std::wstring& GetDataRowAddress(const DataBlockTable& table, int key, int index);
const std::wstring& GetDataRowValue(const DataBlockTable& table, int key, int index);
const std::wstring& GetDataRowComment(const DataBlockTable& table, int key, int index);
// False, nothing done, when the value is already stored; otherwise stored and the table
// revalidated.
bool SetDataRowType(DataBlockTable& table, int key, int index, int type);
bool SetDataRowAddress(DataBlockTable& table, int key, int index, const std::wstring& address);
bool SetDataRowValue(DataBlockTable& table, int key, int index, const std::wstring& value);
bool SetDataRowComment(DataBlockTable& table, int key, int index, const std::wstring& comment);

// ---- Plain text of the clipboard: per row address TAB type name TAB value TAB comment CR LF.
// A row whose type index has no name writes an empty type field.

int CopyDataRowsAsText(const DataBlockTable& table, int key, int first, int end, std::wstring& text);
int CutDataRowsAsText(DataBlockTable& table, int key, int first, int end, std::wstring& text);
// Every line must hold exactly four fields and a type name of the list (case-sensitive);
// otherwise -1 and nothing inserted.
int PasteDataRowsFromText(DataBlockTable& table, int key, int index, const std::wstring& text);

// ---- Symbolic addressing: every row address becomes its global symbol, or a symbol its
// address. The flags stay as they are.

void ShowDataBlockSymbols(DataBlockTable& table);
void ShowDataBlockAddresses(DataBlockTable& table);

}  // namespace Brenno
