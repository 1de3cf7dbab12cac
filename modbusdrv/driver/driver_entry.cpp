#include "modbusdrv/driver/driver_entry.h"

#include <cmath>
#include <cstring>

#include "modbusdrv/driver/config_file.h"
#include "modbusdrv/driver/driver_state.h"
#include "modbusdrv/driver/modbus_channel.h"
#include "modbusdrv/driver/modbus_frame.h"
#include "modbusdrv/driver/tag_address.h"

namespace modbusdrv {

namespace {

DriverState& State() { return DriverState::Instance(); }

bool Resolve(const DriverTag& tag, ModbusDataBlock*& block, uint32_t& offset) {
  return ResolveTagAddress(State().Channels, tag.Address, block, offset);
}

void Unbind(const DriverTag& tag) {
  ModbusDataBlock* block = nullptr;
  uint32_t offset = 0;
  if (Resolve(tag, block, offset)) UnbindSlot(*block, offset, tag.TagId);
}

void Bind(const DriverTag& tag) {
  ModbusDataBlock* block = nullptr;
  uint32_t offset = 0;
  if (Resolve(tag, block, offset)) BindSlot(*block, offset, tag.TagId);
}

// Truncates toward zero into 64 bits; NaN gives 0, values beyond the range saturate.
int64_t Truncate(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 9.2e18) return INT64_MAX;
  if (v <= -9.2e18) return INT64_MIN;
  return static_cast<int64_t>(v);
}

}  // namespace

void DriverInit(const std::wstring& configPath) {
  DriverState& s = State();
  s.TagCounter = 0;
  s.ConfigPath = configPath;
  LoadConfigFile(configPath, s.Channels);
}

void DriverExit() {
  DriverState& s = State();
  {
    std::lock_guard<std::recursive_mutex> lock(s.TagLock);
    s.TagMap.clear();
  }
  for (auto& c : s.Channels) c->Stop();
  s.Channels.clear();
}

void DriverStartAll() {
  for (auto& c : State().Channels) {
    if (c->Enabled != 1) continue;
    const int started = c->Start();
    ReportMessage(c->Name + (started != 0 ? L"通道启动成功!" : L"通道启动错误!"));
  }
}

void DriverStopAll() {
  for (auto& c : State().Channels) c->Stop();
}

int DriverAddTag(const std::wstring& address, uint32_t tagId) {
  DriverState& s = State();
  std::lock_guard<std::recursive_mutex> lock(s.TagLock);
  auto tag = std::make_unique<DriverTag>(address.substr(0, kMaxTextLength), tagId);
  // An id added twice: the earlier tag lets go of its slot before it is replaced.
  auto it = s.TagMap.find(tagId);
  if (it != s.TagMap.end()) Unbind(*it->second);
  Bind(*tag);
  s.TagMap[tagId] = std::move(tag);
  return 0;
}

int DriverDeleteTag(uint32_t tagId) {
  DriverState& s = State();
  std::lock_guard<std::recursive_mutex> lock(s.TagLock);
  if (tagId == kFreeSlot) {
    for (auto& [id, tag] : s.TagMap) {
      ModbusDataBlock* block = nullptr;
      uint32_t offset = 0;
      if (!Resolve(*tag, block, offset)) continue;
      for (uint32_t row = 0; row < block->SlotRowCount; ++row) {
        auto& entry = block->Slot(row, offset);
        if (entry.load() == id) entry.store(kFreeSlot);
      }
    }
    s.TagMap.clear();
    return 0;
  }
  auto it = s.TagMap.find(tagId);
  if (it == s.TagMap.end()) return 1;
  Unbind(*it->second);
  s.TagMap.erase(it);
  return 0;
}

int DriverEditTag(const std::wstring& address, uint32_t tagId) {
  DriverState& s = State();
  std::lock_guard<std::recursive_mutex> lock(s.TagLock);
  auto it = s.TagMap.find(tagId);
  if (it == s.TagMap.end()) return 1;
  Unbind(*it->second);
  it->second->Address = address.substr(0, kMaxTextLength);
  Bind(*it->second);
  return 0;
}

int DriverGetValue(uint32_t tagId, uint8_t* value8, uint32_t* type, uint32_t* quality) {
  DriverState& s = State();
  std::lock_guard<std::recursive_mutex> lock(s.TagLock);
  auto it = s.TagMap.find(tagId);
  if (it == s.TagMap.end()) return 1;
  ModbusDataBlock* block = nullptr;
  uint32_t offset = 0;
  if (!Resolve(*it->second, block, offset)) {
    if (quality != nullptr) *quality = 1;
    return 1;
  }
  uint8_t value[8];
  std::memcpy(value, value8, 8);
  uint32_t q = quality ? *quality : 0, t = type ? *type : 0, size = 0;
  DecodeTagValue(*block, offset, value, q, t, size);
  std::memcpy(value8, value, 8);
  if (quality) *quality = q;
  if (type) *type = t;
  return 0;
}

int DriverSetValue(uint32_t tagId, const uint8_t* bytes, int length) {
  DriverState& s = State();
  ModbusDataBlock* block = nullptr;
  uint32_t offset = 0;
  {
    std::lock_guard<std::recursive_mutex> lock(s.TagLock);
    auto it = s.TagMap.find(tagId);
    if (it == s.TagMap.end() || !Resolve(*it->second, block, offset)) return 1;
  }
  std::vector<uint8_t> pdu;
  if (!BuildWritePdu(*block, static_cast<uint8_t>(block->Device->UnitId), offset, bytes, length, pdu)) return 1;
  block->Device->Channel->Write(*block, offset, bytes, length);
  return 0;
}

int DriverGetDouble(uint32_t tagId, double* out) {
  uint8_t value[8] = {};
  uint32_t type = 0, quality = 0;
  if (DriverGetValue(tagId, value, &type, &quality) != 0) return 1;
  double result = 0;
  uint64_t raw = 0;
  for (int i = 7; i >= 0; --i) raw = (raw << 8) | value[i];
  switch (type) {
    case 1: case 2: case 11: result = static_cast<double>(raw & 0xFF); break;
    case 3: case 4: result = static_cast<double>(raw & 0xFFFF); break;
    case 5: case 6: result = static_cast<double>(static_cast<int32_t>(raw & 0xFFFFFFFFu)); break;
    case 7: {
      float f;
      const uint32_t bits = static_cast<uint32_t>(raw);
      std::memcpy(&f, &bits, 4);
      result = f;
      break;
    }
    case 8: std::memcpy(&result, &raw, 8); break;
    default: return 1;
  }
  if (out != nullptr) *out = result;
  return quality == 1 ? 1 : 0;
}

int DriverSetDouble(uint32_t tagId, double value) {
  DriverState& s = State();
  ModbusDataBlock* block = nullptr;
  uint32_t offset = 0;
  {
    std::lock_guard<std::recursive_mutex> lock(s.TagLock);
    auto it = s.TagMap.find(tagId);
    if (it == s.TagMap.end() || !Resolve(*it->second, block, offset)) return 1;
  }
  uint8_t bytes[8] = {};
  int length = 0;
  const int64_t n = Truncate(value);
  if (block->Area == 0 || block->Area == 1) {
    bytes[0] = static_cast<uint8_t>(n & 0xFF);
    length = 1;
  } else if (block->Area == 3 || block->Area == 4) {
    switch (block->DataType) {
      case kWord: {
        const uint16_t w = static_cast<uint16_t>(n & 0xFFFF);
        std::memcpy(bytes, &w, 2);
        length = 2;
        break;
      }
      case kLong: case kLongSwapped: {
        const int32_t l = static_cast<int32_t>(static_cast<uint32_t>(n & 0xFFFFFFFF));
        std::memcpy(bytes, &l, 4);
        length = 4;
        break;
      }
      case kFloat: case kFloatSwapped: {
        const float f = static_cast<float>(value);
        std::memcpy(bytes, &f, 4);
        length = 4;
        break;
      }
      case kDouble: case kDoubleSwapped: std::memcpy(bytes, &value, 8); length = 8; break;
      default: break;
    }
  }
  return DriverSetValue(tagId, bytes, length);
}

int DriverSetConfig() {
  DriverState& s = State();
  // TagLock is never held while waiting for a poll thread: a poll thread may be inside the
  // value sink, calling back into the value entry points.
  {
    std::lock_guard<std::recursive_mutex> tagLock(s.TagLock);
    for (auto& [id, tag] : s.TagMap) Unbind(*tag);
  }
  std::vector<ModbusChannel*> locked;
  for (auto& c : s.Channels) {
    c->LockWanted = 1;
    c->PollLock.lock();
    c->LockWanted = 0;
    locked.push_back(c.get());
  }
  std::vector<std::unique_ptr<ModbusChannel>> removed;
  ReloadConfigFile(s.ConfigPath, s.Channels, &removed);
  for (ModbusChannel* c : locked) c->PollLock.unlock();
  // Channels the file no longer holds (or holds as the other kind) end here.
  removed.clear();
  for (auto& c : s.Channels) {
    switch (c->ReloadAction) {
      case 0: c->Stop(); break;
      case 1: c->Start(); break;
      case 2: c->Stop(); c->Start(); break;
      default: break;
    }
  }
  for (auto& c : s.Channels)
    for (auto& d : c->Devices)
      for (auto& b : d->Blocks) MarkBlockBad(*b);
  std::lock_guard<std::recursive_mutex> tagLock(s.TagLock);
  for (auto& [id, tag] : s.TagMap) {
    ModbusDataBlock* block = nullptr;
    uint32_t offset = 0;
    if (Resolve(*tag, block, offset) && block->Device->Channel->ReloadAction != 0)
      BindSlot(*block, offset, id);
    else
      ReportBad(id, 4, kTypeFloat);
  }
  return 0;
}

std::wstring FormatTagAddress(const std::wstring& deviceName, uint32_t start) {
  wchar_t number[16];
  swprintf(number, 16, L"%06u", start);
  return deviceName + L":" + number;
}

}  // namespace modbusdrv
