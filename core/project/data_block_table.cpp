#include "core/project/data_block_table.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <sstream>
#include <utility>

#include "core/project/project_environment.h"
#include "core/env/constant.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/operand_format.h"
#include "core/env/utilities.h"
#include "core/project/project.h"
#include "core/project/symbol_resolution.h"

namespace Brenno {

namespace {

// Data blocks and charts belong to no program unit: only global symbols count.
constexpr int kNoProgramUnit = -1;

constexpr std::array<const wchar_t*, kDataRowTypeCount> kTypeNames = {
    L"BOOL", L"BYTE", L"WORD", L"DWORD", L"SINT", L"INT", L"DINT", L"USINT", L"UINT", L"UDINT", L"REAL"};

constexpr std::array<const wchar_t*, kDataRowTypeCount> kAddressTemplates = {
    L"Tv:-:Lv:", L"Bv:-:Lv:", L"Wv:-:Lv:", L"Dv:-:Lv:", L"Bv:-:Lv:", L"Wv:-:Lv:",
    L"Dv:-:Lv:", L"Bv:-:Lv:", L"Wv:-:Lv:", L"Dv:-:Lv:", L"Dv:-:Lv:"};

bool IsDataRowType(int type) { return type >= 0 && type < kDataRowTypeCount; }

// The table's entry for a valid type index; the fixed lists stand in for a table that was never
// reset (a snapshot built by hand).
std::wstring ListEntry(const std::vector<std::wstring>& list, const std::array<const wchar_t*, kDataRowTypeCount>& fixed,
                       int type) {
  if (!IsDataRowType(type)) return std::wstring();
  if (static_cast<size_t>(type) < list.size()) return list[static_cast<size_t>(type)];
  return fixed[static_cast<size_t>(type)];
}

uint32_t RowLimit(const DataBlockTable& table) { return static_cast<uint32_t>(table.SizeItem); }

std::vector<DataRow>& RowsOf(DataBlockTable& table, int key) { return table.GetPage(key); }
const std::vector<DataRow>& RowsOf(const DataBlockTable& table, int key) { return table.GetPage(key); }

DataRow& RowAt(DataBlockTable& table, int key, int index) {
  std::vector<DataRow>& rows = RowsOf(table, key);
  if (index < 0 || static_cast<size_t>(index) >= rows.size()) throw ExceptionLogicError();
  return rows[static_cast<size_t>(index)];
}

const DataRow& RowAt(const DataBlockTable& table, int key, int index) {
  return RowAt(const_cast<DataBlockTable&>(table), key, index);
}

bool SymbolicAddressing() {
  const ProjectEnvironment* environment = InstalledEnvironment();
  return environment != nullptr && environment->Config.SymbolicAddr != 0;
}

// The address text checked against the type's template and written back in canonical form.
bool CanonicalAddress(const MemoryAreaManager& manager, const std::wstring& format, std::wstring& address) {
  try {
    OperandWord word = 0;
    std::wstring canonical;
    if (!ParseOperandText(address, manager, format, word)) return false;
    if (!FormatOperandWord(manager, format, word, canonical)) return false;
    address = std::move(canonical);
    return true;
  } catch (const ExceptionError&) {
    // An address the operand coders cannot carry is an invalid row, not an error.
    return false;
  }
}

// The value text parsed and written back in canonical form; true when it is a constant of the
// type without index register.
bool CanonicalValue(const MemoryAreaManager& manager, int type, std::wstring& value) {
  try {
    ConstantOperand constant;
    std::wstring canonical;
    if (!ParseConstantOperand(constant, manager, type, value)) return false;
    if (!FormatConstantOperand(manager, constant, type, canonical)) return false;
    value = std::move(canonical);
    return constant.index == -1;
  } catch (const ExceptionError&) {
    return false;
  }
}

std::wstring RowText(const DataBlockTable& table, const DataRow& row) {
  return row.Address + L"\t" + ListEntry(table.TypeNames, kTypeNames, row.Type) + L"\t" + row.Value + L"\t" +
         row.Comment + L"\r\n";
}

bool IsRowRange(size_t count, int first, int end) {
  return first >= 0 && first < end && static_cast<size_t>(end) <= count;
}

}  // namespace

bool IntToWString(int value, std::wstring& text) {
  std::wostringstream stream;
  stream << value;
  text = stream.str();
  return true;
}

TablePage<DataRow> MakeDataBlockPage(std::wstring name, std::wstring address, std::wstring comment,
                                     std::vector<DataRow> rows) {
  TablePage<DataRow> page;
  page.Name = std::move(name);
  page.Address = std::move(address);
  page.Comment = std::move(comment);
  page.Rows = std::move(rows);
  return page;
}

std::pair<int, TablePage<DataRow>> MakeDataBlockEntry(int key, std::wstring name, std::wstring address,
                                                      std::wstring comment, std::vector<DataRow> rows) {
  return {key, MakeDataBlockPage(std::move(name), std::move(address), std::move(comment), std::move(rows))};
}

// ---- Lifecycle.

void ResetDataBlockTable(DataBlockTable& table) {
  const Project& project = CurrentProject();
  if (project.Type == nullptr) throw ExceptionLogicError();
  ResetDataBlockTable(table, project.Type->Description.DataBlock, project.Instructions.ReservedNames);
}

void ResetDataBlockTable(DataBlockTable& table, const DataBlockSizes& sizes,
                         const std::vector<std::wstring>& reservedNames) {
  table = DataBlockTable();
  table.SizePage = sizes.SizePage;
  table.SizePageInit = sizes.SizePageInit;
  table.SizeItem = sizes.SizeItem;
  table.SizeItemInit = sizes.SizeItemInit;
  table.ReservedNames = reservedNames;
  table.AddressTemplates.assign(kAddressTemplates.begin(), kAddressTemplates.end());
  table.TypeNames.assign(kTypeNames.begin(), kTypeNames.end());

  // A negative initial row count stands for no rows, not for four thousand million of them.
  const uint32_t initialRows = table.SizeItemInit < 0 ? 0u : static_cast<uint32_t>(table.SizeItemInit);
  const size_t rowCount = std::min(RowLimit(table), initialRows);
  for (int key = 0; key < table.SizePage; ++key) {
    std::wstring number;
    IntToWString(key, number);
    table.Reference.insert(MakeDataBlockEntry(key, kDataBlockPagePrefix + (L"_" + number),
                                              kDataBlockPagePrefix + number, std::wstring(),
                                              std::vector<DataRow>(rowCount)));
  }
}

void CopyDataBlockTableContent(DataBlockTable& destination, const DataBlockTable& source) {
  destination.Working = source.Working;
  destination.Reference = source.Reference;
  destination.ReservedNames = source.ReservedNames;
}

void FillDefaultDataBlocks(DataBlockTable& table) {
  FillDefaultTablePages(table, table.SizePageInit);
  ValidateDataRows(table);
}

void NormalizeDataBlocks(DataBlockTable& table) {
  NormalizeTablePages(table, [](DataBlockTable& t, int key) { return DataBlockMatchesReference(t, key); });
  ValidateDataRows(table);
}

bool DataBlockMatchesReference(DataBlockTable& table, int key) {
  if (!TablePageTitlesFit(table, key)) return false;
  std::vector<DataRow>& rows = table.GetPage(key);
  if (rows.size() > RowLimit(table)) rows.resize(RowLimit(table));
  return true;
}

void ValidateDataRows(DataBlockTable& table) {
  const Project& project = CurrentProject();
  const MemoryAreaManager& manager = project.MemoryAreas;
  const SymbolTable& symbols = project.Symbols;
  const bool symbolic = SymbolicAddressing();
  const SymbolScope scope = CurrentSymbolScope(kNoProgramUnit);

  // First pass: each row on its own; the texts of the valid addresses are collected.
  std::map<std::wstring, int> validAddresses;
  for (auto& [key, page] : table.Working) {
    for (DataRow& row : page.Rows) {
      row.CheckFlags = 0;
      if (!IsDataRowType(row.Type)) {
        row.CheckFlags = kDataCheckDone;
        continue;
      }
      row.CheckFlags = kDataCheckType;
      LookupSymbolName(row.Address, scope, symbols);
      if (CanonicalAddress(manager, ListEntry(table.AddressTemplates, kAddressTemplates, row.Type), row.Address)) {
        row.CheckFlags |= kDataCheckAddress;
        if (symbolic) LookupOperandSymbol(symbols, row.Address, scope);
        ++validAddresses[row.Address];
      }
      if (CanonicalValue(manager, row.Type, row.Value)) row.CheckFlags |= kDataCheckValue;
      row.CheckFlags |= kDataCheckDone;
    }
  }
  // Second pass: an address that more than one row holds is valid for none of them.
  for (auto& [key, page] : table.Working) {
    for (DataRow& row : page.Rows) {
      if ((row.CheckFlags & kDataCheckAddress) != 0 && validAddresses[row.Address] > 1) {
        row.CheckFlags &= ~kDataCheckAddress;
      }
    }
  }
}

std::wstring ExplainIncompleteDataRow(const DataBlockTable& table, const DataRow& row) {
  if (row.CheckFlags == kDataRowComplete || (row.Address.empty() && row.Value.empty())) return {};
  const MemoryAreaManager& manager = CurrentProject().MemoryAreas;
  const bool chinese = CurrentLanguage() == kLanguageChinese;
  std::vector<std::wstring> reasons;
  if ((row.CheckFlags & kDataCheckType) == 0) {
    reasons.push_back(PickText(L"no data type", L"没有数据类型"));
  } else {
    const std::wstring type = ListEntry(table.TypeNames, kTypeNames, row.Type);
    if ((row.CheckFlags & kDataCheckAddress) == 0) {
      std::wstring address = row.Address;
      if (address.empty()) {
        reasons.push_back(PickText(L"no address", L"没有地址"));
      } else if (CanonicalAddress(manager, ListEntry(table.AddressTemplates, kAddressTemplates, row.Type), address)) {
        reasons.push_back(PickText(L"another row gives the same address", L"另一行使用同一地址"));
      } else {
        reasons.push_back(chinese ? row.Address + L" 不是 " + type + L" 类型的地址" : row.Address + L" is no " + type + L" address");
      }
    }
    if ((row.CheckFlags & kDataCheckValue) == 0) {
      if (row.Value.empty()) {
        reasons.push_back(PickText(L"no initial value", L"没有初始值"));
      } else {
        std::wstring range;
        FormatTypeRangeText(manager, range, row.Type);
        reasons.push_back(chinese ? L"值 " + row.Value + L" 不是 " + type + L" 类型的常数（" + range + L"）"
                                  : L"the value " + row.Value + L" is no " + type + L" constant (" + range + L")");
      }
    }
  }
  std::wstring text;
  JoinText(text, reasons, PickText(L"; ", L"；"));
  return text;
}

// ---- Pages.

int InsertDataBlock(DataBlockTable& table) {
  const int key = AddFirstFreeDataBlock(table);
  if (key != -1) ValidateDataRows(table);
  return key;
}

int AddDataBlockFromReference(DataBlockTable& table, int key) { return AddTablePageFromReference(table, key); }

int AddFirstFreeDataBlock(DataBlockTable& table) { return AddFirstFreeTablePage(table); }

int RemoveDataBlock(DataBlockTable& table, int key) {
  const bool removed = table.HasWorkingPage(key);
  const int next = RemoveTablePage(table, key);
  if (removed) ValidateDataRows(table);
  return next;
}

void PruneDataBlocks(DataBlockTable& table) { PruneTablePages(table); }

// ---- Rows.

bool CanInsertDataRow(const DataBlockTable& table, int key, int index) {
  const std::vector<DataRow>& rows = RowsOf(table, key);
  return rows.size() < RowLimit(table) && index >= 0 && static_cast<size_t>(index) <= rows.size();
}

int InsertDataRow(DataBlockTable& table, int key, int index) {
  if (!CanInsertDataRow(table, key, index)) return -1;
  std::vector<DataRow>& rows = RowsOf(table, key);
  rows.insert(rows.begin() + index, DataRow());
  ValidateDataRows(table);
  return index;
}

int PasteDataRows(DataBlockTable& table, int key, int index, const std::vector<DataRow>& rows) {
  std::vector<DataRow>& page = RowsOf(table, key);
  if (static_cast<uint64_t>(page.size()) + rows.size() > RowLimit(table)) return -1;
  if (index < 0 || static_cast<size_t>(index) > page.size()) return -1;
  page.insert(page.begin() + index, rows.begin(), rows.end());
  ValidateDataRows(table);
  return index;
}

bool CanDeleteDataRows(const DataBlockTable& table, int key, int first, int end) {
  return IsRowRange(RowsOf(table, key).size(), first, end);
}

int DeleteDataRows(DataBlockTable& table, int key, int first, int end) {
  if (!CanDeleteDataRows(table, key, first, end)) return -1;
  std::vector<DataRow>& rows = RowsOf(table, key);
  rows.erase(rows.begin() + first, rows.begin() + end);
  ValidateDataRows(table);
  if (static_cast<size_t>(first) < rows.size()) return first;
  if (!rows.empty()) return static_cast<int>(rows.size()) - 1;
  return InsertDataRow(table, key, 0);
}

const DataRow& GetDataRow(const DataBlockTable& table, int key, int index) { return RowAt(table, key, index); }
int GetDataRowType(const DataBlockTable& table, int key, int index) { return RowAt(table, key, index).Type; }
const std::wstring& GetDataRowAddress(const DataBlockTable& table, int key, int index) {
  return RowAt(table, key, index).Address;
}
const std::wstring& GetDataRowValue(const DataBlockTable& table, int key, int index) {
  return RowAt(table, key, index).Value;
}
const std::wstring& GetDataRowComment(const DataBlockTable& table, int key, int index) {
  return RowAt(table, key, index).Comment;
}

bool SetDataRowType(DataBlockTable& table, int key, int index, int type) {
  DataRow& row = RowAt(table, key, index);
  if (row.Type == type) return false;
  row.Type = type;
  ValidateDataRows(table);
  return true;
}

namespace {

bool SetRowText(DataBlockTable& table, int key, int index, std::wstring DataRow::*field, const std::wstring& text) {
  DataRow& row = RowAt(table, key, index);
  if (row.*field == text) return false;
  row.*field = text;
  ValidateDataRows(table);
  return true;
}

}  // namespace

bool SetDataRowAddress(DataBlockTable& table, int key, int index, const std::wstring& address) {
  return SetRowText(table, key, index, &DataRow::Address, address);
}
bool SetDataRowValue(DataBlockTable& table, int key, int index, const std::wstring& value) {
  return SetRowText(table, key, index, &DataRow::Value, value);
}
bool SetDataRowComment(DataBlockTable& table, int key, int index, const std::wstring& comment) {
  return SetRowText(table, key, index, &DataRow::Comment, comment);
}

// ---- Plain text.

int CopyDataRowsAsText(const DataBlockTable& table, int key, int first, int end, std::wstring& text) {
  const std::vector<DataRow>& rows = RowsOf(table, key);
  if (!IsRowRange(rows.size(), first, end)) return -1;
  std::wstring out;
  for (int index = first; index < end; ++index) out += RowText(table, rows[static_cast<size_t>(index)]);
  text = std::move(out);
  return 0;
}

int CutDataRowsAsText(DataBlockTable& table, int key, int first, int end, std::wstring& text) {
  if (CopyDataRowsAsText(table, key, first, end, text) != 0) return -1;
  return DeleteDataRows(table, key, first, end);
}

int PasteDataRowsFromText(DataBlockTable& table, int key, int index, const std::wstring& text) {
  const std::vector<DataRow>& page = RowsOf(table, key);
  if (index < 0 || static_cast<size_t>(index) > page.size()) return -1;
  std::vector<std::wstring> lines;
  SplitText(lines, text, L"\r\n");
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  if (lines.empty()) return -1;

  std::vector<DataRow> rows;
  rows.reserve(lines.size());
  for (const std::wstring& line : lines) {
    std::vector<std::wstring> fields;
    SplitText(fields, line, L"\t");
    if (fields.size() != 4) return -1;
    int type = -1;
    for (int candidate = 0; candidate < kDataRowTypeCount; ++candidate) {
      if (ListEntry(table.TypeNames, kTypeNames, candidate) == fields[1]) {
        type = candidate;
        break;
      }
    }
    if (type == -1) return -1;
    DataRow row;
    row.Type = type;
    row.Address = std::move(fields[0]);
    row.Value = std::move(fields[2]);
    row.Comment = std::move(fields[3]);
    rows.push_back(std::move(row));
  }
  return PasteDataRows(table, key, index, rows);
}

// ---- Symbolic addressing.

void ShowDataBlockSymbols(DataBlockTable& table) {
  const Project& project = CurrentProject();
  for (auto& [key, page] : table.Working) {
    for (DataRow& row : page.Rows) LookupOperandSymbol(project.Symbols, row.Address, kNoProgramUnit);
  }
}

void ShowDataBlockAddresses(DataBlockTable& table) {
  const Project& project = CurrentProject();
  for (auto& [key, page] : table.Working) {
    for (DataRow& row : page.Rows) LookupSymbolName(row.Address, kNoProgramUnit, project.Symbols);
  }
}

}  // namespace Brenno
