// Library-wide state of the driver: the running channel list, the tag map, the host's two
// callbacks, and the reporting helpers every part uses.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "modbusdrv/driver/driver_tag.h"
#include "modbusdrv/driver/modbus_device.h"

namespace modbusdrv {

// Host callbacks. The value buffer holds 8 bytes laid out by the type code; the pointed-to
// data is valid during the call only. Results are ignored.
using ValueSinkFn = int (*)(uint32_t tagId, void* value, uint32_t size, uint32_t* type, uint32_t* quality);
using MessageSinkFn = int (*)(const char* text, int level);

// Value type codes reported to the host.
enum ValueTypeCode : uint32_t {
  kTypeBit = 2,
  kTypeUInt16 = 4,
  kTypeInt32 = 5,
  kTypeFloat = 7,
  kTypeDouble = 8,
};

class DriverState {
 public:
  static DriverState& Instance();
  // Frees the state at library unload (after every channel has stopped).
  static void Destroy();

  ChannelList Channels;
  std::map<uint32_t, std::unique_ptr<DriverTag>> TagMap;
  // Guards TagMap and the binding of slots by the tag and value entry points.
  std::recursive_mutex TagLock;
  uint32_t TagCounter = 0;
  std::wstring ConfigPath;
  std::atomic<ValueSinkFn> ValueSink{nullptr};
  std::atomic<MessageSinkFn> MessageSink{nullptr};

 private:
  DriverState() = default;
};

// Calls the value sink (when one is registered) with a copy of the 8-byte value.
void ReportValue(uint32_t tagId, const uint8_t* value8, uint32_t size, uint32_t type, uint32_t quality);
// Reports a bad value (all-zero value) for a tag.
void ReportBad(uint32_t tagId, uint32_t size, uint32_t type);
// Sends a text, in code page 936, to the message sink with level 1.
void ReportMessage(std::wstring_view text);

// The system's text for an error number.
std::wstring SystemErrorText(int error);

// Writes the id into the first row whose entry at the offset is free; nothing when all rows
// are taken or the offset lies outside the block.
void BindSlot(ModbusDataBlock& block, uint32_t offset, uint32_t tagId);
// Frees the first entry at the offset that holds the id.
void UnbindSlot(ModbusDataBlock& block, uint32_t offset, uint32_t tagId);
// Every quality byte of every block of the channel to bad; every bound slot reported bad.
void MarkChannelBad(ModbusChannel& channel);
// Every quality byte of the block to bad; every bound slot reported bad.
void MarkBlockBad(ModbusDataBlock& block);

// Milliseconds of a monotonic clock.
uint64_t TickMs();

}  // namespace modbusdrv
