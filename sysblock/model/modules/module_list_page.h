// System page 3: a two-byte length header followed by the records of the module list, the
// controller record first. The length L counts the whole page and is written in steps of 255:
// L, 0 when L is at most 255, else L mod 255, L div 255.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sysblock/model/modules/module_types.h"

namespace corvell {

inline constexpr size_t kModuleListPageHeaderSize = 2;
// The longest page the header can describe (255 * 255 + 254).
inline constexpr size_t kMaxModuleListPageLength = 65279;

enum class ModuleListPageFault {
  kNone,
  kTooShort,          // fewer than the two header bytes
  kTooLong,           // longer than the header can describe
  kRecordPastEnd,     // a record's fixed length runs past the end of the page
};

struct ModuleListDecodeResult {
  ModuleListPageFault fault = ModuleListPageFault::kNone;
  size_t faultOffset = 0;  // where the faulty record starts (kRecordPastEnd)
  int faultType = -1;      // its type code
  ModuleList modules;      // the records; empty whenever fault is not kNone

  bool ok() const { return fault == ModuleListPageFault::kNone; }
  // A short English description of the fault ("" when there is none).
  std::string Describe() const;
};

// Reads page 3 into its records. Reading starts after the header (which is not compared with
// the page's real length); while two bytes remain, the second is a type code: a code of 0 to
// 23 takes the record of that type's fixed length (9 for the controller), any other code
// skips one byte. Records are taken as they stand (length byte, addresses and CRC are not
// checked). A page that is too short, too long or ends inside a record gives a fault and no
// records at all.
ModuleListDecodeResult DecodeModuleListPage(std::span<const uint8_t> page);

// The two header bytes for a page of `length` bytes (length at most kMaxModuleListPageLength).
std::array<uint8_t, 2> ModuleListPageHeader(size_t length);

// Writes page 3 from the records, each with all its bytes, behind the length header. Nothing
// when the page would be longer than the header can describe.
std::optional<std::vector<uint8_t>> EncodeModuleListPage(const ModuleList& modules);

// The controller record (type 0) from the controller model: position 0, type 0, its start and
// size answers for position 0, the length byte 11 and two further zero bytes.
ModuleRecord BuildControllerRecord(const AddressBases& bases = {});

}  // namespace corvell
