// Tag addresses ("Device0:400001") and the decoding of a tag's value from a block's buffers.
#pragma once

#include <cstdint>
#include <string>

#include "modbusdrv/driver/modbus_device.h"

namespace modbusdrv {

// Resolves an address against a channel list: the first block of the first device of that
// exact name whose area and range hold the number. False when nothing matches.
bool ResolveTagAddress(const ChannelList& channels, const std::wstring& address, ModbusDataBlock*& block,
                       uint32_t& offset);

// Fills value (8 bytes, host order), quality, type code and size for the 1-based offset.
// Outputs not concerned by the block's area and data type are left as the caller preset
// them. A value whose registers run past the end of the block is reported bad (zero value).
void DecodeTagValue(const ModbusDataBlock& block, uint32_t offset, uint8_t* value8, uint32_t& quality, uint32_t& type,
                    uint32_t& size);

}  // namespace modbusdrv
