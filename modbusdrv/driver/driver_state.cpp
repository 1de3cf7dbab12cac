#include "modbusdrv/driver/driver_state.h"

#include <chrono>
#include <cstring>

#include "modbusdrv/driver/modbus_channel.h"
#include "platform/text_codec.h"

namespace modbusdrv {

namespace {
// Not a static object: the library's exit tears the state down explicitly, after the poll
// threads have ended, instead of leaving it to the order of static destruction.
DriverState* g_state = nullptr;
}  // namespace

DriverState& DriverState::Instance() {
  if (g_state == nullptr) g_state = new DriverState();
  return *g_state;
}

void DriverState::Destroy() {
  delete g_state;
  g_state = nullptr;
}

void ReportValue(uint32_t tagId, const uint8_t* value8, uint32_t size, uint32_t type, uint32_t quality) {
  ValueSinkFn sink = DriverState::Instance().ValueSink.load();
  if (sink == nullptr) return;
  uint8_t value[8];
  std::memcpy(value, value8, 8);
  sink(tagId, value, size, &type, &quality);
}

void ReportBad(uint32_t tagId, uint32_t size, uint32_t type) {
  const uint8_t zero[8] = {};
  ReportValue(tagId, zero, size, type, 1);
}

void ReportMessage(std::wstring_view text) {
  MessageSinkFn sink = DriverState::Instance().MessageSink.load();
  if (sink == nullptr) return;
  auto bytes = platform::WideToCp936(text);
  if (!bytes) bytes = platform::ToUtf8Lossy(text);
  sink(bytes->c_str(), 1);
}

std::wstring SystemErrorText(int error) {
  char buffer[256];
  const char* text = strerror_r(error, buffer, sizeof buffer);
  return platform::FromUtf8Lossy(text);
}

void BindSlot(ModbusDataBlock& block, uint32_t offset, uint32_t tagId) {
  if (offset < 1 || offset > block.Length) return;
  for (uint32_t row = 0; row < block.SlotRowCount; ++row) {
    auto& entry = block.Slot(row, offset);
    if (entry.load() == kFreeSlot) {
      entry.store(tagId);
      return;
    }
  }
}

void UnbindSlot(ModbusDataBlock& block, uint32_t offset, uint32_t tagId) {
  if (offset < 1 || offset > block.Length) return;
  for (uint32_t row = 0; row < block.SlotRowCount; ++row) {
    auto& entry = block.Slot(row, offset);
    if (entry.load() == tagId) {
      entry.store(kFreeSlot);
      return;
    }
  }
}

void MarkBlockBad(ModbusDataBlock& block) {
  block.MarkAllBad();
  for (uint32_t row = 0; row < block.SlotRowCount; ++row) {
    for (uint32_t offset = 1; offset <= block.Length; ++offset) {
      const uint32_t id = block.Slot(row, offset).load();
      if (id != kFreeSlot) ReportBad(id, 1, kTypeBit);
    }
  }
}

void MarkChannelBad(ModbusChannel& channel) {
  for (auto& device : channel.Devices)
    for (auto& block : device->Blocks) MarkBlockBad(*block);
}

uint64_t TickMs() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

}  // namespace modbusdrv
