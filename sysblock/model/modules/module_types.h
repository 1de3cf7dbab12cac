// Module type codes 0 to 23 and what every record of system page 3 knows about its type:
// the model name, the kind of its I/O areas, its sizes, its fixed record length and the last
// parameter byte its CRC covers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvell {

// One record of the module list as it stands in page 3 (controller record or module record).
using ModuleRecord = std::vector<uint8_t>;
// The records of page 3 in list order; element 0 is the controller record.
using ModuleList = std::vector<ModuleRecord>;

inline constexpr uint8_t kControllerType = 0;
inline constexpr uint8_t kMaxModuleType = 23;
inline constexpr size_t kModuleRecordHeaderSize = 7;  // position, type, 4 address bytes, length
inline constexpr size_t kModuleRecordCrcSize = 2;
inline constexpr uint8_t kControllerRecordLength = 9;
inline constexpr uint8_t kControllerLengthByte = 11;  // what the controller record says of itself

enum class ModuleKind { Digital, Analog };

// The controller's own digital counts. The digital address rules count extension-module
// inputs and outputs after them.
struct AddressBases {
  int digitalInput = 14;
  int digitalOutput = 0;
};

struct ModuleTypeInfo {
  uint8_t type;
  const wchar_t* model;
  ModuleKind kind;
  uint8_t inputCount;    // bits for digital types, channels for analog ones (controller: see AddressBases)
  uint8_t outputCount;
  uint8_t recordLength;  // N, header and CRC included
  uint8_t crcLastByte;   // the last parameter byte the CRC covers (0 for the controller: no CRC)
};

// The entry of a type code, or null for a code outside 0 to 23.
const ModuleTypeInfo* FindModuleType(int type);

// Model name of a type code ("Drovenk" for 0 ... "Yolvask" for 23); empty outside 0 to 23.
const wchar_t* ModuleModelName(int type);

}  // namespace corvell
