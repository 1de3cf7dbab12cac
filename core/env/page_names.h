// Page names and addresses of the project's page tables, program-unit keys, and the small
// display texts of the painters and report lines.
//
// Every page of a page table (data blocks, system pages, symbol pages, status charts, and the
// program's block tables) has an int key, a fixed address (DAT3, SBR0) and an editable name
// (DAT_3 by default). A table holds two maps ordered by key: the working pages (those in use)
// and the reference pages (every page the PLC type allows, with its default name). The lookups
// below scan the chosen map in ascending key order and take the first match; names and
// addresses compare exactly (same length, same characters, case matters).
//
// The table templates accept any table type whose two maps are reachable through
// `WorkingPages()`/`ReferencePages()` or as members `Working`/`Reference` or
// `working`/`reference`, each an ordered map from int key to a record whose name and address
// are `Name()`/`Address()`, `Name`/`Address` or `name`/`address`.
#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace Brenno {

// Chooses the map a lookup scans.
inline constexpr bool kWorkingPages = true;
inline constexpr bool kReferencePages = false;

// Program-unit keys: the main program 0, interrupt routine i key i, subroutine i key
// 0x10000 | i. A subroutine's key is also the instruction code of its call.
inline constexpr int kMainProgramKey = 0;
inline constexpr int kSubroutineKeyFlag = 0x10000;

constexpr int InterruptUnitKey(int number) { return number; }
constexpr int SubroutineUnitKey(int number) { return kSubroutineKeyFlag | number; }
constexpr bool IsSubroutineUnitKey(int key) { return (key & kSubroutineKeyFlag) != 0; }
// The unit's number within its table (the low half of the key).
constexpr int ProgramUnitNumber(int key) { return key & 0xFFFF; }

// Default name and fixed address of a program unit: "MAIN"/"INT0", "INT_i"/"INTi",
// "SBR_i"/"SBRi".
std::wstring DefaultProgramUnitName(int key);
std::wstring ProgramUnitAddress(int key);

// The text with its trailing decimal digits written again without leading zeros: "SBR_003"
// gives "SBR_3", "A00" gives "A0". The first character always stays in the prefix, so "7"
// stays "7". A digit run too long for a 32-bit int is dropped and only the prefix remains.
std::wstring NormalizeNumberedName(std::wstring_view text);

// Four blanks followed by the text.
std::wstring IndentText(std::wstring_view text);

// The signed decimal form of the value; always true.
bool IntToText(int value, std::wstring& text);

// One piece of display text with its colour index into the shell's shared colour table.
struct TextRun {
  std::wstring text;
  int colour = 0;

  TextRun() = default;
  TextRun(std::wstring text_in, int colour_in) : text(std::move(text_in)), colour(colour_in) {}
  friend bool operator==(const TextRun&, const TextRun&) = default;
};

// Sets both fields of an existing run and returns it.
TextRun& MakeTextRun(std::wstring_view text, TextRun& run, int colour);

// Frees the texts of a range of runs; the runs themselves stay with their owner.
template <class Iterator>
void DestroyTextRuns(Iterator first, Iterator last) {
  for (; first != last; ++first) std::wstring().swap(first->text);
}

namespace page_names_detail {

template <class Table>
const auto& PageMap(const Table& table, bool working) {
  if constexpr (requires { table.WorkingPages(); }) {
    return working ? table.WorkingPages() : table.ReferencePages();
  } else if constexpr (requires { table.Working; }) {
    return working ? table.Working : table.Reference;
  } else {
    return working ? table.working : table.reference;
  }
}

template <class Record>
const std::wstring& NameOf(const Record& record) {
  if constexpr (requires { record.Name(); }) {
    return record.Name();
  } else if constexpr (requires { record.Name; }) {
    return record.Name;
  } else {
    return record.name;
  }
}

template <class Record>
const std::wstring& AddressOf(const Record& record) {
  if constexpr (requires { record.Address(); }) {
    return record.Address();
  } else if constexpr (requires { record.Address; }) {
    return record.Address;
  } else {
    return record.address;
  }
}

// Key of the first page (ascending key order) whose field equals the text, or -1.
template <class Map, class Field>
int FindKey(const Map& pages, std::wstring_view text, Field field) {
  for (const auto& [key, record] : pages) {
    if (field(record) == text) return key;
  }
  return -1;
}

}  // namespace page_names_detail

// The address of the page with that key; false and an empty text when there is none.
template <class Table>
bool GetPageAddressByKey(const Table& table, int key, bool working, std::wstring& text) {
  const auto& pages = page_names_detail::PageMap(table, working);
  const auto found = pages.find(key);
  if (found == pages.end()) {
    text.clear();
    return false;
  }
  text = page_names_detail::AddressOf(found->second);
  return true;
}

// The name of the page with that key; false and an empty text when there is none.
template <class Table>
bool GetPageNameByKey(const Table& table, int key, bool working, std::wstring& text) {
  const auto& pages = page_names_detail::PageMap(table, working);
  const auto found = pages.find(key);
  if (found == pages.end()) {
    text.clear();
    return false;
  }
  text = page_names_detail::NameOf(found->second);
  return true;
}

// Key of the first page whose address equals the normalised text (DAT003 finds DAT3); -1 and
// found false when none.
template <class Table>
int FindPageKeyByAddress(const Table& table, std::wstring_view text, bool working, bool* found = nullptr) {
  const std::wstring address = NormalizeNumberedName(text);
  const int key = page_names_detail::FindKey(page_names_detail::PageMap(table, working), address,
                                             [](const auto& record) -> const std::wstring& { return page_names_detail::AddressOf(record); });
  if (found != nullptr) *found = key != -1;
  return key;
}

// Key of the first page whose name equals the text exactly (no normalisation); -1 and found
// false when none.
template <class Table>
int FindPageKeyByName(const Table& table, std::wstring_view text, bool working, bool* found = nullptr) {
  const int key = page_names_detail::FindKey(page_names_detail::PageMap(table, working), text,
                                             [](const auto& record) -> const std::wstring& { return page_names_detail::NameOf(record); });
  if (found != nullptr) *found = key != -1;
  return key;
}

// The replacements below change the text only when they succeed; otherwise they return false
// and leave it as it was.

// An address (normalised) of a working page becomes that page's name: SBR0 -> SBR_0.
template <class Table>
bool ReplacePageAddressByName(const Table& table, std::wstring& text) {
  bool found = false;
  const int key = FindPageKeyByAddress(table, text, kWorkingPages, &found);
  std::wstring name;
  if (!found || !GetPageNameByKey(table, key, kWorkingPages, name)) return false;
  text = std::move(name);
  return true;
}

// A name of a working page becomes that page's address.
template <class Table>
bool ReplacePageNameByAddress(const Table& table, std::wstring& text) {
  bool found = false;
  const int key = FindPageKeyByName(table, text, kWorkingPages, &found);
  std::wstring address;
  if (!found || !GetPageAddressByKey(table, key, kWorkingPages, address)) return false;
  text = std::move(address);
  return true;
}

// A default name (normalised, SBR_02 -> SBR_2) of a reference page becomes the current name
// of the working page with the same key.
template <class Table>
bool ReplaceReferenceNameByPageName(const Table& table, std::wstring& text) {
  bool found = false;
  const int key = FindPageKeyByName(table, NormalizeNumberedName(text), kReferencePages, &found);
  std::wstring name;
  if (!found || !GetPageNameByKey(table, key, kWorkingPages, name)) return false;
  text = std::move(name);
  return true;
}

// A name of a working page becomes the default name of its key (from the reference pages).
template <class Table>
bool ReplacePageNameByReferenceName(const Table& table, std::wstring& text) {
  bool found = false;
  const int key = FindPageKeyByName(table, text, kWorkingPages, &found);
  std::wstring name;
  if (!found || !GetPageNameByKey(table, key, kReferencePages, name)) return false;
  text = std::move(name);
  return true;
}

// "name (address)" of the working page with that key, for example "DAT_1 (DAT1)"; false and
// an empty text when the key has no working page.
template <class Table>
bool DescribeProgramPageKey(const Table& table, int key, std::wstring& text) {
  const auto& pages = page_names_detail::PageMap(table, kWorkingPages);
  const auto found = pages.find(key);
  if (found == pages.end()) {
    text.clear();
    return false;
  }
  text = page_names_detail::NameOf(found->second) + L" (" + page_names_detail::AddressOf(found->second) + L")";
  return true;
}

// The same description for a page of any page table; empty when the key has no working page.
template <class Table>
std::wstring DescribeTablePageKey(const Table& table, int key) {
  std::wstring text;
  DescribeProgramPageKey(table, key, text);
  return text;
}

// The same of the working page, else of the reference page (a decoder names a page before it
// stores it); empty when the table knows neither.
template <class Table>
std::wstring DescribeWorkingOrReferencePage(const Table& table, int key) {
  std::wstring text = DescribeTablePageKey(table, key);
  if (text.empty()) {
    const auto found = table.Reference.find(key);
    if (found != table.Reference.end()) text = found->second.Name + L" (" + found->second.Address + L")";
  }
  return text;
}

}  // namespace Brenno
