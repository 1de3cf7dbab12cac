#include "core/program/block_table.h"

#include <algorithm>

#include "core/env/exception_error.h"
#include "core/env/page_names.h"

namespace Brenno {

namespace {

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// A network with no statement-list line and no ladder element (a comment of its own is allowed).
bool HoldsNoProgram(const Network& net) { return net.Lines.empty() && net.Grid.Elements.empty(); }

std::vector<int> KeysOf(const std::map<int, BlockRecord>& pages) {
  std::vector<int> keys;
  keys.reserve(pages.size());
  for (const auto& entry : pages) keys.push_back(entry.first);
  return keys;
}

}  // namespace

BlockRecord MakeBlockRecord(const std::wstring& name, const std::wstring& address, const std::wstring& comment,
                            const ProgramPage& page) {
  return BlockRecord{name, address, comment, page};
}

const BlockRecord* FindBlockRecord(const BlockTable& table, int key) {
  const auto found = table.Working.find(key);
  return found == table.Working.end() ? nullptr : &found->second;
}

std::vector<int> BlockTable::ListBlockPageKeys() const { return KeysOf(Working); }
std::vector<int> BlockTable::ListReferenceBlockKeys() const { return KeysOf(Reference); }

std::vector<int> BlockTable::ListFreeBlockKeys() const {
  std::vector<int> keys;
  for (const auto& entry : Reference) {
    if (!HasWorkingPage(entry.first)) keys.push_back(entry.first);
  }
  return keys;
}

BlockRecord& BlockTable::GetBlockRecord(int key) {
  const auto found = Working.find(key);
  if (found == Working.end()) throw ExceptionLogicError();
  return found->second;
}

const BlockRecord& BlockTable::GetBlockRecord(int key) const {
  const auto found = Working.find(key);
  if (found == Working.end()) throw ExceptionLogicError();
  return found->second;
}

ProgramPage& BlockTable::GetBlockPage(int key) { return GetBlockRecord(key).Page; }
const ProgramPage& BlockTable::GetBlockPage(int key) const { return GetBlockRecord(key).Page; }

int BlockTable::AddFirstFreeBlockPage() {
  for (const auto& [key, record] : Reference) {
    if (!HasWorkingPage(key)) {
      Working.emplace(key, record);
      added_.insert(key);
      return key;
    }
  }
  return -1;
}

int BlockTable::RemoveBlockPage(int key) {
  const auto found = Working.find(key);
  if (found == Working.end()) return -1;
  added_.erase(key);
  const auto next = Working.erase(found);
  if (next != Working.end()) return next->first;
  if (!Working.empty()) return Working.rbegin()->first;
  return AddFirstFreeBlockPage();
}

void BlockTable::PruneBlockPages() {
  std::erase_if(Working, [this](const auto& entry) { return !HasReferencePage(entry.first); });
}

int BlockTable::StoreBlockPage(const ProgramPage& page, int key) {
  const auto reference = Reference.find(key);
  if (reference == Reference.end()) return -1;
  Working.insert_or_assign(key, MakeBlockRecord(reference->second.Name, reference->second.Address,
                                                reference->second.Comment, page));
  return key;
}

bool BlockTable::IsWellFormedName(const std::wstring& name) const {
  if (name.empty() || IsAsciiDigit(name.front())) return false;
  return std::all_of(name.begin(), name.end(),
                     [](wchar_t c) { return c == L'_' || IsAsciiLetter(c) || IsAsciiDigit(c); });
}

bool BlockTable::IsReservedName(const std::wstring& name) const {
  return std::find(ReservedNames.begin(), ReservedNames.end(), name) != ReservedNames.end();
}

bool BlockTable::IsReferenceAddress(const std::wstring& name) const {
  const std::wstring normalized = NormalizeNumberedName(name);
  return std::any_of(Reference.begin(), Reference.end(),
                     [&](const auto& entry) { return entry.second.Address == normalized; });
}

bool BlockTable::IsValidBlockName(const std::wstring& name) const {
  if (IsReferenceAddress(name)) return false;
  const auto named = [&](const auto& entry) { return entry.second.Name == name; };
  if (std::any_of(Reference.begin(), Reference.end(), named)) return false;
  if (std::any_of(Working.begin(), Working.end(), named)) return false;
  if (IsReservedName(name)) return false;
  return IsWellFormedName(name);
}

bool BlockTable::IsBlockNameUnique(const std::wstring& name, int key) const {
  if (IsReferenceAddress(name)) return false;
  const auto named = [&](const auto& entry) { return entry.second.Name == name; };
  if (std::count_if(Working.begin(), Working.end(), named) >= 2) return false;
  for (const auto& [referenceKey, record] : Reference) {
    if (referenceKey != key && record.Name == name) return false;
  }
  if (IsReservedName(name)) return false;
  return IsWellFormedName(name);
}

bool BlockTable::RenameBlockPage(const std::wstring& name, int key) {
  BlockRecord& record = GetBlockRecord(key);
  if (record.Name == name) return false;
  if (FindPageKeyByName(*this, name, kReferencePages) != key && !IsValidBlockName(name)) return false;
  record.Name = name;
  return true;
}

bool BlockTable::ChangeBlockPageAddress(std::wstring_view address, int key, int& newKey) {
  BlockRecord& record = GetBlockRecord(key);
  newKey = -1;
  const std::wstring normalized = NormalizeNumberedName(address);
  if (normalized == record.Address) return false;
  const int target = FindPageKeyByAddress(*this, normalized, kReferencePages);
  if (target == -1 || HasWorkingPage(target)) return false;
  const BlockRecord& targetReference = Reference.at(target);
  BlockRecord moved = std::move(record);
  moved.Address = targetReference.Address;
  const auto oldReference = Reference.find(key);
  if (oldReference != Reference.end() && moved.Name == oldReference->second.Name) moved.Name = targetReference.Name;
  // The page is known by its key: a moved page answers to its new one.
  moved.Page.ViewState.PageId = target;
  Working.erase(key);
  Working.emplace(target, std::move(moved));
  newKey = target;
  return true;
}

bool BlockTable::ChangeBlockPageAddressByIndex(int index, int key, int& newKey) {
  const std::vector<std::wstring> addresses = ListBlockAddresses();
  if (index < 0 || static_cast<size_t>(index) >= addresses.size()) {
    GetBlockRecord(key);  // an absent page is still a logic error
    newKey = -1;
    return false;
  }
  return ChangeBlockPageAddress(addresses[static_cast<size_t>(index)], key, newKey);
}

bool BlockTable::SetBlockPageComment(int key, const std::wstring& comment) {
  BlockRecord& record = GetBlockRecord(key);
  if (record.Comment == comment) return false;
  record.Comment = comment;
  return true;
}

int BlockTable::BlockPageAddressIndex(int key) const {
  const BlockRecord& record = GetBlockRecord(key);
  const std::vector<std::wstring> addresses = ListBlockAddresses();
  return static_cast<int>(std::find(addresses.begin(), addresses.end(), record.Address) - addresses.begin());
}

std::vector<std::wstring> BlockTable::ListBlockAddresses() const {
  std::vector<std::wstring> addresses;
  addresses.reserve(Reference.size());
  for (const auto& entry : Reference) addresses.push_back(entry.second.Address);
  return addresses;
}

bool BlockTable::SyncBlockTitles(int key) {
  BlockRecord& record = GetBlockRecord(key);
  const auto reference = Reference.find(key);
  if (reference == Reference.end()) return false;
  bool changed = false;
  if (record.Address != reference->second.Address) {
    record.Address = reference->second.Address;
    changed = true;
  }
  if (record.Name != reference->second.Name && !IsBlockNameUnique(record.Name, key)) {
    record.Name = reference->second.Name;
    changed = true;
  }
  return changed;
}

bool BlockTable::BlockTitlesMatchReference(int key) const {
  const BlockRecord& record = GetBlockRecord(key);
  const auto reference = Reference.find(key);
  if (reference == Reference.end()) return false;
  return record.Address == reference->second.Address &&
         (record.Name == reference->second.Name || IsBlockNameUnique(record.Name, key));
}

void BlockTable::StampBlockPage(bool symbolic, int key, int viewMode) {
  ProgramPage& page = GetBlockPage(key);
  PageViewState& state = page.ViewState;
  // A new page is made of empty ladder networks; shown as statement list they would be networks
  // of the other view, which take no typing. A network with a program keeps its form, which
  // only the page conversion changes.
  if (added_.erase(key) != 0 && (viewMode == kNetworkStl || viewMode == kNetworkLad)) {
    for (Network& net : page.UndoLog.Networks) {
      if (net.Kind != viewMode && HoldsNoProgram(net)) net.Kind = viewMode;
    }
  }
  state.PageId = key;
  state.ViewMode = viewMode;
  state.Symbolic = symbolic;
}

void BlockTable::StampBlockPages(bool symbolic, int viewMode) {
  for (auto& entry : Working) StampBlockPage(symbolic, entry.first, viewMode);
}

}  // namespace Brenno
