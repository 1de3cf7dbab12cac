// One tag of the host: an address inside a data block and the id the host chose for it.
#pragma once

#include <cstdint>
#include <string>

namespace modbusdrv {

// Tag ids are unsigned 32-bit; this one marks a free slot and means "all tags".
constexpr uint32_t kFreeSlot = 0xFFFFFFFFu;
// Longest text the model keeps for names, descriptions, port names and addresses.
constexpr size_t kMaxTextLength = 259;

class DriverTag {
 public:
  DriverTag(std::wstring address, uint32_t tagId) : Address(std::move(address)), TagId(tagId) {}
  virtual ~DriverTag() = default;

  std::wstring Address;
  uint32_t TagId;
};

}  // namespace modbusdrv
