#include "core/project/symbol_table.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
#include <map>
#include <string_view>

#include "core/project/project_environment.h"
#include "core/env/exception_error.h"
#include "core/env/operand_address.h"
#include "core/env/operand_format.h"
#include "core/env/utilities.h"
#include "core/project/project.h"

namespace Brenno {

namespace {

const wchar_t* const kSymbolPagePrefix = L"USR";

const wchar_t* const kAreaNames[kVarAreaCount] = {L"IN", L"IN_OUT", L"OUT", L"TEMP"};

struct DataTypeRow {
  const wchar_t* name;
  int widthClass;
  const wchar_t* localFormat;
  const wchar_t* inputFormat;
  const wchar_t* inOutFormat;
  const wchar_t* addressTemplate;
};

const DataTypeRow kDataTypes[] = {
    {L"BOOL", 0, L"Tv:", L"Tcavp:", L"Tavp:", L"Tv:-:Lv:"},  {L"BYTE", 1, L"Bv:", L"Bcavp:", L"Bavp:", L"Bv:-:Lv:"},
    {L"WORD", 2, L"Wv:", L"Wcavp:", L"Wavp:", L"Wv:-:Lv:"},  {L"DWORD", 3, L"Dv:", L"Dcavp:", L"Davp:", L"Dv:-:Lv:"},
    {L"SINT", 1, L"Bv:", L"Bcavp:", L"Bavp:", L"Bv:-:Lv:"},  {L"INT", 2, L"Wv:", L"Wcavp:", L"Wavp:", L"Wv:-:Lv:"},
    {L"DINT", 3, L"Dv:", L"Dcavp:", L"Davp:", L"Dv:-:Lv:"},  {L"USINT", 1, L"Bv:", L"Bcavp:", L"Bavp:", L"Bv:-:Lv:"},
    {L"UINT", 2, L"Wv:", L"Wcavp:", L"Wavp:", L"Wv:-:Lv:"},  {L"UDINT", 3, L"Dv:", L"Dcavp:", L"Davp:", L"Dv:-:Lv:"},
    {L"REAL", 3, L"Dv:", L"Dcavp:", L"Davp:", L"Dv:-:Lv:"},
};
constexpr int kTypeCount = static_cast<int>(sizeof(kDataTypes) / sizeof(kDataTypes[0]));

const Project* CurrentProjectOrNull() {
  const ProjectEnvironment* environment = InstalledEnvironment();
  if (environment == nullptr || environment->ProjectList.empty()) return nullptr;
  return &environment->ProjectList.back();
}

const MemoryAreaManager& CurrentMemoryAreas() {
  static const MemoryAreaManager kNoAreas;
  const Project* project = CurrentProjectOrNull();
  return project != nullptr ? project->MemoryAreas : kNoAreas;
}

// The row limit of a page: SizeItemUser compared as an unsigned number.
uint64_t RowLimit(const SymbolTable& table) { return static_cast<uint32_t>(table.Sizes.SizeItemUser); }

size_t ReferenceRowCount(const SymbolVarSizes& sizes) {
  const uint64_t initial = sizes.SizeItemInitUser < 0 ? 0 : static_cast<uint64_t>(sizes.SizeItemInitUser);
  return static_cast<size_t>(std::min<uint64_t>(static_cast<uint32_t>(sizes.SizeItemUser), initial));
}

std::vector<VarEntry>& Rows(SymbolTable& table, int key) { return table.GetPage(key); }

const VarEntry& EntryAt(const SymbolTable& table, int key, int index) {
  const std::vector<VarEntry>& rows = table.GetPage(key);
  if (index < 0 || static_cast<size_t>(index) >= rows.size()) throw ExceptionLogicError();
  return rows[static_cast<size_t>(index)];
}

VarEntry& EntryAt(SymbolTable& table, int key, int index) {
  return const_cast<VarEntry&>(EntryAt(static_cast<const SymbolTable&>(table), key, index));
}

bool IsBadRange(int first, int end, size_t n) {
  return first < 0 || first >= end || static_cast<size_t>(end) > n;
}

// The address checked with the type's template; the canonical text on success.
bool CanonicalSymbolAddress(const MemoryAreaManager& manager, const std::wstring& format, const std::wstring& address,
                            std::wstring& canonical) {
  if (format.empty()) return false;
  try {
    OperandWord word = 0;
    if (!ParseOperandText(address, manager, format, word)) return false;
    std::wstring text;
    if (!FormatOperandWord(manager, format, word, text)) return false;
    canonical = std::move(text);
    return true;
  } catch (const ExceptionError&) {
    // A text the codec cannot take apart is no valid address of the type.
    return false;
  }
}

template <class Value>
bool SetIfChanged(SymbolTable& table, int key, int index, Value VarEntry::*field, const Value& value) {
  VarEntry& entry = EntryAt(table, key, index);
  if (entry.*field == value) return false;
  entry.*field = value;
  ValidateSymbolEntries(table);
  return true;
}

uint64_t TextHash(const std::wstring& text) { return std::hash<std::wstring_view>()(text); }

// The tag of a hash in a bucket: never 0, which marks an empty bucket.
uint32_t HashTag(uint64_t hash) { return static_cast<uint32_t>(hash >> 32) | 1u; }

// The first complete entry with the text, walking the pages in key order and the rows in order.
const VarEntry* WalkForComplete(const SymbolIndex::PageMap& pages, const std::wstring& text,
                                std::wstring VarEntry::*field) {
  for (const auto& [key, page] : pages) {
    for (const VarEntry& entry : page.Rows) {
      if (entry.CheckFlags == kVarEntryComplete && entry.*field == text) return &entry;
    }
  }
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------- index

void SymbolIndex::Rebuild(const PageMap& pages) {
  places_.clear();
  shape_.clear();
  uint32_t page = 0;
  for (const auto& [key, rows] : pages) {
    shape_.emplace_back(key, rows.Rows.size());
    for (size_t row = 0; row < rows.Rows.size(); ++row) {
      if (rows.Rows[row].CheckFlags == kVarEntryComplete) places_.push_back(Place{page, static_cast<uint32_t>(row)});
    }
    ++page;
  }
  // At most half full, so that a probe ends soon at an empty bucket.
  size_t size = 8;
  while (size < 2 * places_.size()) size *= 2;
  byName_.assign(size, Bucket());
  byAddress_.assign(size, Bucket());
  // In table order: of two places with one text the first one inserted is met first.
  auto pageAt = pages.begin();
  uint32_t pageNumber = 0;
  for (uint32_t i = 0; i < places_.size(); ++i) {
    for (; pageNumber < places_[i].Page; ++pageNumber) ++pageAt;
    const VarEntry& entry = pageAt->second.Rows[places_[i].Row];
    Insert(byName_, entry.Name, i);
    Insert(byAddress_, entry.Address, i);
  }
}

void SymbolIndex::Insert(std::vector<Bucket>& buckets, const std::wstring& text, uint32_t place) {
  const uint64_t hash = TextHash(text);
  const size_t mask = buckets.size() - 1;
  size_t at = static_cast<size_t>(hash) & mask;
  while (buckets[at].Tag != 0) at = (at + 1) & mask;
  buckets[at] = Bucket{HashTag(hash), place};
}

bool SymbolIndex::Fits(const PageMap& pages) const {
  if (pages.size() != shape_.size()) return false;
  auto expected = shape_.begin();
  for (const auto& [key, page] : pages) {
    if (expected->first != key || expected->second != page.Rows.size()) return false;
    ++expected;
  }
  return true;
}

const VarEntry* SymbolIndex::Find(const PageMap& pages, const std::vector<Bucket>& buckets, const std::wstring& text,
                                  std::wstring VarEntry::*field) const {
  if (!Fits(pages)) return WalkForComplete(pages, text, field);
  if (places_.empty()) return nullptr;
  const uint64_t hash = TextHash(text);
  const uint32_t tag = HashTag(hash);
  const size_t mask = buckets.size() - 1;
  for (size_t at = static_cast<size_t>(hash) & mask; buckets[at].Tag != 0; at = (at + 1) & mask) {
    if (buckets[at].Tag != tag) continue;
    // The pages have the keys and sizes of the last rebuild, so the place exists.
    const Place& place = places_[buckets[at].Place];
    const VarEntry& entry = std::next(pages.begin(), place.Page)->second.Rows[place.Row];
    if (entry.CheckFlags == kVarEntryComplete && entry.*field == text) return &entry;
  }
  return nullptr;
}

const VarEntry* SymbolIndex::FindByName(const PageMap& pages, const std::wstring& name) const {
  return Find(pages, byName_, name, &VarEntry::Name);
}

const VarEntry* SymbolIndex::FindByAddress(const PageMap& pages, const std::wstring& address) const {
  return Find(pages, byAddress_, address, &VarEntry::Address);
}

const VarEntry* FindCompleteSymbolByName(const SymbolTable& table, const std::wstring& name) {
  return table.Index.FindByName(table.Working, name);
}

const VarEntry* FindCompleteSymbolByAddress(const SymbolTable& table, const std::wstring& address) {
  return table.Index.FindByAddress(table.Working, address);
}

// ---------------------------------------------------------------- entries

int DataTypeWidthClass(int type) { return type >= 0 && type < kTypeCount ? kDataTypes[type].widthClass : -1; }

const std::wstring& SymbolListText(const std::vector<std::wstring>& list, int index) {
  static const std::wstring kEmpty;
  return index >= 0 && static_cast<size_t>(index) < list.size() ? list[static_cast<size_t>(index)] : kEmpty;
}

bool SymbolTable::operator==(const SymbolTable& other) const {
  const auto sizes = [](const SymbolVarSizes& s) {
    return std::vector<int>{s.SizeItemInt,  s.SizeItemInitInt,  s.SizeItemSbr,  s.SizeItemInitSbr,
                            s.SizePageUser, s.SizePageInitUser, s.SizeItemUser, s.SizeItemInitUser};
  };
  return static_cast<const PagedTable<VarEntry>&>(*this) == other && sizes(Sizes) == sizes(other.Sizes) &&
         AreaNames == other.AreaNames && LocalAddressFormats == other.LocalAddressFormats &&
         InputOperandFormats == other.InputOperandFormats && InOutOperandFormats == other.InOutOperandFormats &&
         AddressTemplates == other.AddressTemplates && TypeNames == other.TypeNames;
}

// ---------------------------------------------------------------- lifecycle

void ResetSymbolTable(SymbolTable& table) {
  const Project* project = CurrentProjectOrNull();
  if (project == nullptr || project->Type == nullptr) throw ExceptionLogicError();
  ResetSymbolTable(table, project->Type->Description.SymbolVar, project->Instructions.ReservedNames);
}

void ResetSymbolTable(SymbolTable& table, const SymbolVarSizes& sizes, const std::vector<std::wstring>& reservedNames) {
  table = SymbolTable();
  table.Sizes = sizes;
  table.ReservedNames = reservedNames;
  table.AreaNames.assign(std::begin(kAreaNames), std::end(kAreaNames));
  for (const DataTypeRow& row : kDataTypes) {
    table.LocalAddressFormats.emplace_back(row.localFormat);
    table.InputOperandFormats.emplace_back(row.inputFormat);
    table.InOutOperandFormats.emplace_back(row.inOutFormat);
    table.AddressTemplates.emplace_back(row.addressTemplate);
    table.TypeNames.emplace_back(row.name);
  }
  const size_t rows = ReferenceRowCount(sizes);
  for (int k = 0; k < sizes.SizePageUser; ++k) {
    TablePage<VarEntry> page;
    page.Name = DefaultTablePageName(kSymbolPagePrefix, k);
    page.Address = DefaultTablePageAddress(kSymbolPagePrefix, k);
    page.Rows.assign(rows, MakeEmptyVarEntry());
    table.Reference.emplace(k, std::move(page));
  }
}

void FillDefaultSymbolTables(SymbolTable& table) {
  FillDefaultTablePages(table, table.Sizes.SizePageInitUser);
  ValidateSymbolEntries(table);
}

bool SymbolPageMatchesReference(SymbolTable& table, int key) {
  if (!TablePageTitlesFit(table, key)) return false;
  std::vector<VarEntry>& rows = Rows(table, key);
  if (rows.size() > RowLimit(table)) rows.resize(static_cast<size_t>(RowLimit(table)));
  return true;
}

void NormalizeSymbolTable(SymbolTable& table) {
  NormalizeTablePages(table, [](SymbolTable& t, int key) { return SymbolPageMatchesReference(t, key); });
  ValidateSymbolEntries(table);
}

void ValidateSymbolEntries(SymbolTable& table) { ValidateSymbolEntries(table, CurrentMemoryAreas()); }

void ValidateSymbolEntries(SymbolTable& table, const MemoryAreaManager& manager) {
  std::map<std::wstring, int> names;
  std::map<std::wstring, int> addresses;
  for (auto& [key, page] : table.Working) {
    for (VarEntry& entry : page.Rows) {
      int flags = entry.Area == 0 ? kVarCheckArea : 0;
      if (entry.Type >= 0 && entry.Type < kTypeCount) flags |= kVarCheckType;
      if (IsValidSymbolName(entry.Name, manager)) {
        flags |= kVarCheckName;
        ++names[entry.Name];
      }
      if ((flags & kVarCheckType) != 0) {
        std::wstring canonical;
        if (CanonicalSymbolAddress(manager, SymbolListText(table.AddressTemplates, entry.Type), entry.Address,
                                   canonical)) {
          entry.Address = std::move(canonical);
          flags |= kVarCheckAddress;
          ++addresses[entry.Address];
        }
      }
      entry.CheckFlags = flags | kVarCheckDone;
    }
  }
  for (auto& [key, page] : table.Working) {
    for (VarEntry& entry : page.Rows) {
      if ((entry.CheckFlags & kVarCheckName) != 0 && names[entry.Name] > 1) entry.CheckFlags &= ~kVarCheckName;
      if ((entry.CheckFlags & kVarCheckAddress) != 0 && addresses[entry.Address] > 1) {
        entry.CheckFlags &= ~kVarCheckAddress;
      }
    }
  }
  table.Index.Rebuild(table.Working);
}

void CopySymbolTable(const SymbolTable& table, SymbolTable& copy) { copy = table; }

void AssignSymbolTable(SymbolTable& target, const SymbolTable& source) { target = source; }

void DestroySymbolTable(SymbolTable& table) { table = SymbolTable(); }

// ---------------------------------------------------------------- pages

int AddSymbolTableFromReference(SymbolTable& table, int key) { return AddTablePageFromReference(table, key); }

int AddFirstFreeSymbolTable(SymbolTable& table) { return AddFirstFreeTablePage(table); }

int InsertSymbolTable(SymbolTable& table) {
  const int key = AddFirstFreeSymbolTable(table);
  if (key != -1) ValidateSymbolEntries(table);
  return key;
}

int RemoveSymbolTable(SymbolTable& table, int key) { return RemoveTablePage(table, key); }

void PruneSymbolTables(SymbolTable& table) { PruneTablePages(table); }

// ---------------------------------------------------------------- rows

bool CanInsertSymbolEntry(const SymbolTable& table, int key, int index) {
  const size_t n = table.GetPage(key).size();
  return n < RowLimit(table) && index >= 0 && static_cast<size_t>(index) <= n;
}

int InsertSymbolEntry(SymbolTable& table, int key, int index) {
  if (!CanInsertSymbolEntry(table, key, index)) return -1;
  std::vector<VarEntry>& rows = Rows(table, key);
  rows.insert(rows.begin() + index, MakeEmptyVarEntry());
  ValidateSymbolEntries(table);
  return index;
}

int PasteSymbolEntries(SymbolTable& table, int key, int index, const std::vector<VarEntry>& entries) {
  std::vector<VarEntry>& rows = Rows(table, key);
  const size_t n = rows.size();
  if (n + entries.size() > RowLimit(table) || index < 0 || static_cast<size_t>(index) > n) return -1;
  rows.insert(rows.begin() + index, entries.begin(), entries.end());
  ValidateSymbolEntries(table);
  return index;
}

bool CanDeleteSymbolEntries(const SymbolTable& table, int key, int first, int end) {
  return !IsBadRange(first, end, table.GetPage(key).size());
}

int DeleteSymbolEntries(SymbolTable& table, int key, int first, int end) {
  if (!CanDeleteSymbolEntries(table, key, first, end)) return -1;
  std::vector<VarEntry>& rows = Rows(table, key);
  rows.erase(rows.begin() + first, rows.begin() + end);
  ValidateSymbolEntries(table);
  if (static_cast<size_t>(first) < rows.size()) return first;
  if (rows.empty()) return InsertSymbolEntry(table, key, 0);
  return static_cast<int>(rows.size()) - 1;
}

const VarEntry& GetSymbolEntry(const SymbolTable& table, int key, int index) { return EntryAt(table, key, index); }

int GetSymbolEntryType(const SymbolTable& table, int key, int index) { return EntryAt(table, key, index).Type; }

const std::wstring& GetSymbolEntryName(const SymbolTable& table, int key, int index) {
  return EntryAt(table, key, index).Name;
}

const std::wstring& GetSymbolEntryAddress(const SymbolTable& table, int key, int index) {
  return EntryAt(table, key, index).Address;
}

const std::wstring& GetSymbolEntryComment(const SymbolTable& table, int key, int index) {
  return EntryAt(table, key, index).Comment;
}

bool SetSymbolEntryType(SymbolTable& table, int key, int index, int type) {
  return SetIfChanged(table, key, index, &VarEntry::Type, type);
}

bool SetSymbolEntryName(SymbolTable& table, int key, int index, const std::wstring& name) {
  return SetIfChanged(table, key, index, &VarEntry::Name, name);
}

bool SetSymbolEntryAddress(SymbolTable& table, int key, int index, const std::wstring& address) {
  return SetIfChanged(table, key, index, &VarEntry::Address, address);
}

bool SetSymbolEntryComment(SymbolTable& table, int key, int index, const std::wstring& comment) {
  return SetIfChanged(table, key, index, &VarEntry::Comment, comment);
}

// ---------------------------------------------------------------- clipboard text

int CopySymbolEntriesAsText(const SymbolTable& table, int key, int first, int end, std::wstring& text) {
  const std::vector<VarEntry>& rows = table.GetPage(key);
  if (IsBadRange(first, end, rows.size())) return -1;
  std::wstring out;
  for (int i = first; i < end; ++i) {
    const VarEntry& entry = rows[static_cast<size_t>(i)];
    // An index outside the type list (only a damaged file holds one) has no name: the field
    // stays empty, and such a line is refused when pasted back.
    out += entry.Name + L"\t" + entry.Address + L"\t" + SymbolListText(table.TypeNames, entry.Type) + L"\t" +
           entry.Comment + L"\r\n";
  }
  text = std::move(out);
  return 0;
}

int CutSymbolEntriesAsText(SymbolTable& table, int key, int first, int end, std::wstring& text) {
  if (CopySymbolEntriesAsText(table, key, first, end, text) != 0) return -1;
  return DeleteSymbolEntries(table, key, first, end);
}

int PasteSymbolEntriesFromText(SymbolTable& table, int key, int index, const std::wstring& text) {
  const size_t n = table.GetPage(key).size();
  if (index < 0 || static_cast<size_t>(index) > n) return -1;
  std::vector<std::wstring> lines;
  SplitText(lines, text, L"\r\n");
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  if (lines.empty()) return -1;
  std::vector<VarEntry> entries;
  for (const std::wstring& line : lines) {
    std::vector<std::wstring> fields;
    SplitText(fields, line, L"\t");
    if (fields.size() != 4) return -1;
    int type = -1;
    for (int t = 0; t < kTypeCount; ++t) {
      if (fields[2] == kDataTypes[t].name) type = t;
    }
    if (type == -1) return -1;
    VarEntry entry = MakeEmptyVarEntry();
    entry.Name = fields[0];
    entry.Address = fields[1];
    entry.Type = type;
    entry.Comment = fields[3];
    entries.push_back(std::move(entry));
  }
  return PasteSymbolEntries(table, key, index, entries);
}

// ---------------------------------------------------------------- shared

bool IsValidSymbolName(const std::wstring& name) { return IsValidSymbolName(name, CurrentMemoryAreas()); }

bool IsValidSymbolName(const std::wstring& name, const MemoryAreaManager& manager) {
  try {
    OperandWord word = 0;
    std::wstring text;
    if (OperandTextToWord(name, manager, word) && OperandWordToText(manager, text, word)) return false;
  } catch (const ExceptionError&) {
    // Operand-shaped text that the word layout cannot hold: still no name.
    return false;
  }
  return IsWellFormedTableName(name);
}

void PushIntPair(const std::pair<int, int>& pair, std::vector<std::pair<int, int>>& pairs) { pairs.push_back(pair); }

}  // namespace Brenno
