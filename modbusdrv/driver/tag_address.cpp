#include "modbusdrv/driver/tag_address.h"

#include <cstring>

#include "modbusdrv/driver/driver_state.h"
#include "modbusdrv/driver/driver_utils.h"
#include "modbusdrv/driver/modbus_channel.h"

namespace modbusdrv {

bool ResolveTagAddress(const ChannelList& channels, const std::wstring& address, ModbusDataBlock*& block,
                       uint32_t& offset) {
  std::wstring deviceName, numberText;
  if (!SplitAtSeparator(address, L':', deviceName, numberText)) return false;
  const int32_t number = ParseIntField(numberText);
  if (number < 0) return false;
  const uint32_t n = static_cast<uint32_t>(number);
  const uint32_t area = n / 100000;
  for (const auto& channel : channels) {
    for (const auto& device : channel->Devices) {
      if (device->Name != deviceName) continue;
      for (const auto& candidate : device->Blocks) {
        if (candidate->Area == area && candidate->Start <= n && n < candidate->Start + candidate->Length) {
          const int64_t k = static_cast<int64_t>(n % 100000) - static_cast<int64_t>(candidate->Start % 100000) + 1;
          if (k < 1 || k > candidate->Length) continue;
          block = candidate.get();
          offset = static_cast<uint32_t>(k);
          return true;
        }
      }
    }
  }
  return false;
}

namespace {

uint32_t Register(const ModbusDataBlock& block, uint32_t j) {
  return (static_cast<uint32_t>(block.Values[2 * j - 2]) << 8) | block.Values[2 * j - 1];
}

void Put(uint8_t* value8, uint64_t bits, uint32_t bytes) {
  for (uint32_t i = 0; i < bytes; ++i) value8[i] = static_cast<uint8_t>(bits >> (8 * i));
}

}  // namespace

void DecodeTagValue(const ModbusDataBlock& block, uint32_t offset, uint8_t* value8, uint32_t& quality, uint32_t& type,
                    uint32_t& size) {
  const uint32_t k = offset;
  if (k < 1 || k > block.Length) {
    quality = 1;
    return;
  }
  std::lock_guard<std::mutex> lock(block.DataLock);
  if (block.Area == 0 || block.Area == 1) {
    type = kTypeBit;
    size = 1;
    value8[0] = (block.Values[(k - 1) / 8] >> ((k - 1) % 8)) & 1;
    quality = block.Quality[(k - 1) / 8];
    return;
  }
  if (block.Area != 3 && block.Area != 4) return;
  quality = block.Quality[2 * k - 1];
  uint32_t registers = 0;
  switch (block.DataType) {
    case kWord: type = kTypeUInt16; size = 2; registers = 1; break;
    case kLong: case kLongSwapped: type = kTypeInt32; size = 4; registers = 2; break;
    case kFloat: case kFloatSwapped: type = kTypeFloat; size = 4; registers = 2; break;
    case kDouble: case kDoubleSwapped: type = kTypeDouble; size = 8; registers = 4; break;
    default: return;
  }
  if (k + registers - 1 > block.Length) {
    // The value's last registers lie outside the block: nothing was read for them.
    std::memset(value8, 0, size);
    quality = 1;
    return;
  }
  uint64_t bits = 0;
  const bool swapped = block.DataType == kLongSwapped || block.DataType == kFloatSwapped || block.DataType == kDoubleSwapped;
  for (uint32_t i = 0; i < registers; ++i) {
    const uint64_t r = Register(block, k + i);
    const uint32_t shift = swapped ? 16 * (registers - 1 - i) : 16 * i;
    bits |= r << shift;
  }
  Put(value8, bits, size);
  // A value spread over several registers is good only when all of them are.
  for (uint32_t i = 1; i < registers; ++i)
    if (block.Quality[2 * (k + i) - 1] != 0) quality = 1;
}

}  // namespace modbusdrv
