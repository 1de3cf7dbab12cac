#include "modbusdrv/driver/modbus_data_block.h"

#include "modbusdrv/driver/driver_state.h"
#include "modbusdrv/driver/driver_utils.h"
#include "modbusdrv/driver/modbus_channel.h"

namespace modbusdrv {

namespace {

bool NameTaken(const ModbusDevice& device, const std::wstring& name) {
  for (const auto& block : device.Blocks)
    if (EqualNoCase(block->Name, name)) return true;
  return false;
}

}  // namespace

ModbusDataBlock::ModbusDataBlock(ModbusDevice* owner) : Device(owner) {
  for (int n = 0;; ++n) {
    Name = L"DataBlock" + std::to_wstring(n);
    if (!NameTaken(*owner, Name)) break;
  }
  if (owner->Channel != nullptr) RefreshMs = owner->Channel->RefreshMs;
  SetRange(400001, 100, 0);
}

ModbusDataBlock::~ModbusDataBlock() = default;

void ModbusDataBlock::SetRange(uint32_t start, uint32_t length, uint32_t oldCount) {
  if (slots_) {
    const uint32_t oldLength = Length;
    const uint32_t limit = oldCount < oldLength + 1 ? oldCount : oldLength + 1;
    for (uint32_t row = 0; row < SlotRowCount; ++row) {
      for (uint32_t k = 0; k < limit; ++k) {
        const uint32_t id = slots_[row * (oldLength + 1) + k].load();
        if (id != kFreeSlot) ReportBad(id, 4, kTypeFloat);
      }
    }
    slots_.reset();
  }
  Start = start;
  Area = start / 100000;
  Length = length;
  LastPollTick = 0;
  const size_t entries = static_cast<size_t>(SlotRowCount) * (static_cast<size_t>(length) + 1);
  slots_.reset(new std::atomic<uint32_t>[entries]);
  for (size_t i = 0; i < entries; ++i) slots_[i].store(kFreeSlot, std::memory_order_relaxed);
  std::lock_guard<std::mutex> lock(DataLock);
  Values.assign(2 * static_cast<size_t>(length) + 1, 0);
  Quality.assign(2 * static_cast<size_t>(length) + 1, 1);
}

bool ModbusDataBlock::IsPollable() const {
  const uint32_t first = FirstItem();
  if (Area != 0 && Area != 1 && Area != 3 && Area != 4) return false;
  if (Start / 100000 != Area) return false;
  if (Length < 1 || first < 1) return false;
  return static_cast<uint64_t>(first) + Length - 1 <= kHighestWireItem;
}

uint32_t ModbusDataBlock::RegistersPerValue() const {
  if (Area != 3 && Area != 4) return 1;
  switch (DataType) {
    case kWord: return 1;
    case kLong: case kLongSwapped: case kFloat: case kFloatSwapped: return 2;
    case kDouble: case kDoubleSwapped: return 4;
    default: return 1;
  }
}

void ModbusDataBlock::MarkAllBad() {
  std::lock_guard<std::mutex> lock(DataLock);
  std::fill(Quality.begin(), Quality.end(), 1);
}

}  // namespace modbusdrv
