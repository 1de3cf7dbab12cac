// One polled range of a device: a run of coils, discrete inputs, input registers or holding
// registers, the values and qualities as last read and the slot rows that bind tags to it.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace modbusdrv {

class ModbusDevice;

enum DataTypeCode : uint32_t {
  kWord = 0,
  kLong = 1,
  kLongSwapped = 2,
  kFloat = 3,
  kFloatSwapped = 4,
  kDouble = 5,
  kDoubleSwapped = 6,
};

// Highest 1-based item number a Modbus request can address (protocol address 0xFFFF).
constexpr uint32_t kHighestWireItem = 65536;

class ModbusDataBlock {
 public:
  static constexpr uint32_t kSlotRowCount = 20;

  explicit ModbusDataBlock(ModbusDevice* owner);
  virtual ~ModbusDataBlock();
  ModbusDataBlock(const ModbusDataBlock&) = delete;
  ModbusDataBlock& operator=(const ModbusDataBlock&) = delete;

  // The only way to change Start and Length: makes new slot rows, values and qualities.
  // Ids bound at entries 0 .. oldCount-1 of the old rows are reported bad to the value sink.
  void SetRange(uint32_t start, uint32_t length, uint32_t oldCount);

  // Item number of the first item within its area (Start mod 100000).
  uint32_t FirstItem() const { return Start % 100000; }
  // True when the block can go on the wire: a real area, at least one item, and every item
  // within what a request can address.
  bool IsPollable() const;
  // Registers (or bits) that one value of this block occupies.
  uint32_t RegistersPerValue() const;

  // Slot entry of row `row` at 1-based offset `offset` (0 .. Length).
  std::atomic<uint32_t>& Slot(uint32_t row, uint32_t offset) { return slots_[row * (Length + 1) + offset]; }
  const std::atomic<uint32_t>& Slot(uint32_t row, uint32_t offset) const { return slots_[row * (Length + 1) + offset]; }

  // Every quality byte to bad.
  void MarkAllBad();

  std::wstring Name;
  std::wstring Description;
  uint32_t Area = 4;
  uint32_t Start = 400001;
  uint32_t Length = 100;
  ModbusDevice* Device;
  uint32_t DataType = kFloat;
  uint32_t SlotRowCount = kSlotRowCount;
  // 2 * Length + 1 bytes each; guarded by DataLock while poll threads store replies.
  std::vector<uint8_t> Values;
  std::vector<uint8_t> Quality;
  mutable std::mutex DataLock;
  uint64_t LastPollTick = 0;
  uint32_t RefreshMs = 50;
  int StaleMark = 0;

 private:
  std::unique_ptr<std::atomic<uint32_t>[]> slots_;
};

}  // namespace modbusdrv
