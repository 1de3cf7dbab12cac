// The project's system block: the PLC's system configuration as numbered pages ("SYS_" pages)
// of raw bytes that the workbench never looks inside. The PLC type's system-block library
// supplies the default pages (its samples), judges whether stored pages are still acceptable,
// and edits them in its own dialog.
//
// `SystemBlockTable` is a paged table whose rows are bytes. Every reference page exists in every
// project: there is no insert and no remove. The library reached is the one bound to the current
// project's PLC type; its sample bytes are copied at once and never kept by pointer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/project/paged_table.h"

namespace Brenno {

class PlcType;

class SystemBlockTable : public PagedTable<uint8_t> {
 public:
  // SizePage of the PLC type's SystemBlock element, set by every rebuild.
  int PageCount = 0;

  bool operator==(const SystemBlockTable&) const = default;
};

// Page prefix of the system block table: names "SYS_k", addresses "SYSk".
inline constexpr wchar_t kSystemBlockPagePrefix[] = L"SYS";

// A page holding the three titles and taking over the bytes.
TablePage<uint8_t> MakeSystemPage(std::wstring name, std::wstring address, std::wstring comment,
                                  std::vector<uint8_t> bytes);

// The sample block of a page as the type's library reports it (empty when it reports none, when
// the library is not bound, or when it reports a length below 1).
std::vector<uint8_t> GetSystemPageSample(const PlcType& type, int page);
// The library's judgement of a page's bytes; an empty block is passed as a null pointer with
// length 0. A type whose library has no compatibility entry accepts every page, so that no
// stored page is lost to a missing entry.
bool CheckSystemPageWithLibrary(const PlcType& type, int page, const std::vector<uint8_t>& bytes);

// Rebuilds the table for the current project's PLC type: emptied, page count taken from the
// type, reference page k = the library's sample of page k. Returns the page count.
// ExceptionLogicError when there is no current project with a type.
int BuildSystemReferencePages(SystemBlockTable& table);
// The same for a given PLC type.
int BuildSystemReferencePages(SystemBlockTable& table, const PlcType& type);
// Every reference page is copied into the working pages.
void CopyDefaultSystemPages(SystemBlockTable& table);
// Prunes, then resets every page that is missing or that the library refuses.
void CheckSystemPagesCompatible(SystemBlockTable& table);
void CheckSystemPagesCompatible(SystemBlockTable& table, const PlcType& type);
// Titles repaired and matching, and the library accepts the bytes.
bool IsSystemPageCompatible(SystemBlockTable& table, int key);
bool IsSystemPageCompatible(SystemBlockTable& table, int key, const PlcType& type);
// The working page becomes a copy of the reference page; the key, or -1 when the key is no
// reference key.
int ResetSystemPage(SystemBlockTable& table, int key);

// The system-block configuration: every page named by a reference key is handed to the type's
// library (an empty page as a null pointer with length 0), the library's editor runs with the
// given parent window, and only when the user confirmed it are the pages read back, each
// replaced by a copy of the library's bytes (emptied when it gives none). A refusal or a
// library without the editor leaves the pages untouched. ExceptionLogicError when a reference
// page has no working page; nothing is changed then.
bool RunSystemBlockConfig(SystemBlockTable& table, const PlcType& type, void* parentWindow);
// Working pages whose key is no reference key are removed.
void PruneSystemPages(SystemBlockTable& table);

}  // namespace Brenno
