#include "core/program/online_cache.h"

#include <algorithm>
#include <chrono>
#include <string_view>
#include <utility>

#include "core/env/constant.h"
#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/env/instruction_records.h"
#include "core/env/language.h"
#include "core/env/memory_area_manager.h"

namespace Brenno {

bool IsOnlineCommState(int state) {
  return state == kCommOnline || state == kCommCommandRequested || state == kCommCommandInOnline ||
         state == kCommReturningOnline;
}

// ---------------------------------------------------------------- the cache

OnlineCache::OnlineCache(const OnlineCache& other) : data_(other.Data()) {}

OnlineCache& OnlineCache::operator=(const OnlineCache& other) {
  if (this == &other) return *this;
  OnlineCacheData copy = other.Data();
  std::lock_guard<std::mutex> lock(mutex_);
  data_ = std::move(copy);
  return *this;
}

void OnlineCache::Update(const std::function<void(OnlineCacheData&)>& change) {
  std::lock_guard<std::mutex> lock(mutex_);
  change(data_);
}

OnlineCacheData OnlineCache::Data() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return data_;
}

OnlineCacheSnapshot OnlineCache::TakeSnapshot(bool online, uint32_t now, uint32_t maxAge, uint32_t requestLimit,
                                              const MemoryAreaManager* memoryMap, int instructionFxMode) const {
  OnlineCacheSnapshot snapshot;
  snapshot.Online = online;
  snapshot.Now = now;
  snapshot.MaxAge = maxAge;
  snapshot.RequestLimit = requestLimit;
  snapshot.MemoryMap = memoryMap;
  snapshot.InstructionFxMode = instructionFxMode;
  // Offline nothing is read, so nothing needs copying.
  if (online) snapshot.Data = Data();
  return snapshot;
}

void OnlineCache::StampRequests(const OnlineCacheSnapshot& snapshot) {
  if (!snapshot.Data.RequestFlag) return;
  if (snapshot.WantedCells.empty() && snapshot.WantedForceCells.empty() && snapshot.WantedWords.empty() &&
      !snapshot.DebugRecordWanted && !snapshot.RunStateWanted && !snapshot.DebugStateWanted) {
    return;
  }
  const uint32_t now = StoredTick(snapshot.Now);
  std::lock_guard<std::mutex> lock(mutex_);
  const auto stamp = [now](std::vector<std::vector<ImageCell>>& images, const OnlineCacheSnapshot::WantedCell& wanted) {
    if (wanted.Slot < 0 || static_cast<size_t>(wanted.Slot) >= images.size()) return;
    std::vector<ImageCell>& image = images[static_cast<size_t>(wanted.Slot)];
    if (wanted.Byte < 0 || static_cast<size_t>(wanted.Byte) >= image.size()) return;
    image[static_cast<size_t>(wanted.Byte)].RequestTick = now;
  };
  for (const OnlineCacheSnapshot::WantedCell& wanted : snapshot.WantedCells) stamp(data_.ValueImages, wanted);
  for (const OnlineCacheSnapshot::WantedCell& wanted : snapshot.WantedForceCells) stamp(data_.ForceImages, wanted);
  if (snapshot.RunStateWanted) data_.RunRequestTick = now;
  if (snapshot.DebugStateWanted) data_.DebugRequestTick = now;
  for (uint32_t word : snapshot.WantedWords) {
    std::vector<RequestedVariable>& table = data_.RequestedVariables;
    auto held = std::find_if(table.begin(), table.end(), [&](const RequestedVariable& v) { return v.Word == word; });
    if (held != table.end()) {
      held->RequestTick = now;
      continue;
    }
    // A free entry, or one nobody asked for in four request periods, may serve this operand.
    const uint64_t limit = 4ULL * snapshot.RequestLimit;
    auto stale = std::find_if(table.begin(), table.end(), [&](const RequestedVariable& v) {
      return v.Word == RequestedVariable::kFree || static_cast<uint32_t>(now - v.RequestTick) >= limit;
    });
    if (stale != table.end()) *stale = RequestedVariable{word, 0, now, 0};
  }
  if (snapshot.DebugRecordWanted) data_.Debug.SetRequestTick(now);
}

void OnlineCache::SetRequestFlag(bool set) {
  std::lock_guard<std::mutex> lock(mutex_);
  data_.RequestFlag = set;
}

void OnlineCache::SetStopRequest(bool set) {
  std::lock_guard<std::mutex> lock(mutex_);
  data_.StopRequest = set;
}

bool OnlineCache::StopRequested() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return data_.StopRequest;
}

bool OnlineCache::TakeStopRequest() {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(data_.StopRequest, false);
}

namespace {

size_t ImageSize(const std::vector<std::vector<ImageCell>>& images, int slot) {
  if (slot < 0 || static_cast<size_t>(slot) >= images.size()) return 0;
  return images[static_cast<size_t>(slot)].size();
}

}  // namespace

size_t OnlineCache::ForceImageSize(int slot) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return ImageSize(data_.ForceImages, slot);
}

size_t OnlineCache::ValueImageSize(int slot) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return ImageSize(data_.ValueImages, slot);
}

uint32_t OnlineTickCount() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

// ---------------------------------------------------------------- rebuild

namespace {

size_t RoundedCells(const MemoryRegion& region) {
  const int64_t size = std::max<int64_t>(region.Size(), 0);
  return static_cast<size_t>((size + 3) / 4 * 4);
}

}  // namespace

void RebuildOnlineCache(OnlineCache& cache, const MemoryAreaManager& memoryMap) {
  OnlineCacheData data;
  int32_t largest = -1;
  for (const MemoryRegion& region : memoryMap.Regions) largest = std::max(largest, region.Slot);
  const size_t slots = static_cast<size_t>(largest + 1);
  data.ForceImages.resize(slots);
  data.ValueImages.resize(slots);
  for (const MemoryRegion& region : memoryMap.Regions) {
    if (region.Slot < 0) continue;
    const size_t slot = static_cast<size_t>(region.Slot);
    if (region.Area == kAreaDi || region.Area == kAreaDo) {
      data.ForceImages[slot].resize(RoundedCells(region));
    } else if (region.Name == L"AI" || region.Name == L"AQ") {
      data.ForceImages[slot].resize(4);
    }
    if (region.Area == kAreaDi || region.Area == kAreaDo || region.Area == kAreaRi || region.Area == kAreaRo ||
        region.Area == kAreaLocal) {
      data.ValueImages[slot].resize(RoundedCells(region));
    }
  }
  data.RequestedVariables.assign(OnlineCacheData::kRequestedVariableCount, RequestedVariable());
  cache.Update([&](OnlineCacheData& target) { target = std::move(data); });
}

void DestroyOnlineCache(OnlineCache& cache) {
  cache.Update([](OnlineCacheData& data) {
    std::vector<std::vector<ImageCell>>().swap(data.ForceImages);
    std::vector<std::vector<ImageCell>>().swap(data.ValueImages);
    std::vector<RequestedVariable>().swap(data.RequestedVariables);
  });
}

// ---------------------------------------------------------------- debug record

bool ReadCachedDebugRecord(OnlineCacheSnapshot& snapshot, DebugRecord& record) {
  if (!snapshot.Online) return false;
  if (snapshot.Data.RequestFlag) snapshot.DebugRecordWanted = true;
  if (!snapshot.IsFresh(snapshot.Data.Debug.UpdateTick())) return false;
  record = snapshot.Data.Debug;
  return true;
}

// ---------------------------------------------------------------- states and force flags

namespace {

uint8_t StateOf(const OnlineCacheSnapshot& snapshot, uint8_t state, uint32_t updateTick) {
  if (!snapshot.IsFresh(updateTick)) return 255;
  return (state & 1) != 0 ? 1 : 2;
}

}  // namespace

bool ReadCachedRunState(OnlineCacheSnapshot& snapshot, uint8_t& out) {
  out = 255;
  if (!snapshot.Online) return false;
  if (snapshot.Data.RequestFlag) snapshot.RunStateWanted = true;
  out = StateOf(snapshot, snapshot.Data.RunState, snapshot.Data.RunUpdateTick);
  return out != 255;
}

void ReadCachedDebugState(OnlineCacheSnapshot& snapshot, uint8_t& out) {
  out = 255;
  if (!snapshot.Online) return;
  if (snapshot.Data.RequestFlag) snapshot.DebugStateWanted = true;
  out = StateOf(snapshot, snapshot.Data.DebugState, snapshot.Data.DebugUpdateTick);
}

void ReadCachedBit(OnlineCacheSnapshot& snapshot, const OperandFields& operand, uint8_t& out) {
  out = 255;
  if (!snapshot.Online || operand.slot < 0 || operand.slot > 3) return;
  const auto& images = snapshot.Data.ForceImages;
  if (static_cast<size_t>(operand.slot) >= images.size()) return;
  const std::vector<ImageCell>& cells = images[static_cast<size_t>(operand.slot)];
  if (cells.empty() || operand.byte < 0) return;
  int64_t cell = operand.byte;
  int bit = operand.bit;
  if (operand.slot >= 2) {
    const int64_t element = operand.byte / 4;
    cell = element / 8;
    bit = static_cast<int>(element % 8);
  }
  // A flag outside the image has no value (and is never polled).
  if (cell >= static_cast<int64_t>(cells.size()) || bit < 0 || bit > 7) return;
  if (snapshot.Data.RequestFlag) snapshot.WantedForceCells.push_back({operand.slot, static_cast<int>(cell)});
  const ImageCell& image = cells[static_cast<size_t>(cell)];
  if (!snapshot.IsFresh(image.UpdateTick)) return;
  out = ((image.Value >> bit) & 1) != 0 ? 1 : 2;
}

bool IsForceableOperand(const OnlineCache& cache, const OperandFields& operand) {
  if (operand.kind != kKindValue || operand.slot < 0) return false;
  if (cache.ForceImageSize(operand.slot) == 0) return false;
  if (operand.width == kWidthBit) return true;
  return operand.width == kWidthDword && (operand.slot == 2 || operand.slot == 3) && operand.byte % 4 == 0;
}

// ---------------------------------------------------------------- values

namespace {

const wchar_t* UnknownText() { return PickText(L"Unknown", L"未知"); }

bool FormatValue(const OnlineCacheSnapshot& snapshot, uint32_t value, int dataType, std::wstring& text) {
  if (snapshot.MemoryMap == nullptr || dataType < kDataTypeBit || dataType > kDataTypeReal) return false;
  std::wstring formatted;
  if (!FormatConstantOperand(*snapshot.MemoryMap, ConstantOperand{value, -1}, dataType, formatted)) return false;
  text = std::move(formatted);
  return true;
}

}  // namespace

bool ReadCachedValueText(OnlineCacheSnapshot& snapshot, const OperandFields& operand, bool digitGroups,
                         int dataType, std::wstring& text) {
  text.clear();
  if (!snapshot.Online) return false;
  if (operand.kind != kKindValue) return ReadRequestedValueText(snapshot, operand, dataType, text);
  text = UnknownText();

  const OnlineCacheData& data = snapshot.Data;
  if (operand.slot < 0 || static_cast<size_t>(operand.slot) >= data.ValueImages.size()) return false;
  const std::vector<ImageCell>& image = data.ValueImages[static_cast<size_t>(operand.slot)];
  if (image.empty() || operand.byte < 0 || static_cast<size_t>(operand.byte) >= image.size()) return false;
  if (operand.width < kWidthBit || operand.width > kWidthDword) return false;
  if (operand.bit < 0 || operand.bit > 7) return false;

  const size_t first = static_cast<size_t>(operand.byte);
  std::vector<size_t> cells;  // every cell the value is assembled from, in reading order
  uint32_t value = 0;
  if (operand.width == kWidthBit) {
    cells.push_back(first);
    value = (image[first].Value >> operand.bit) & 1u;
  } else if (!digitGroups) {
    const size_t n = static_cast<size_t>(WidthBytes(operand.width));
    // An operand whose bytes reach past the image has no value to show.
    if (first + n > image.size()) return false;
    for (size_t i = 0; i < n; ++i) {
      cells.push_back(first + i);
      value |= static_cast<uint32_t>(image[first + i].Value) << (8 * i);
    }
  } else {
    if (operand.group < 0 || operand.group > 7) return false;
    const int bits = 4 * (operand.group + 1);
    const size_t last = first + static_cast<size_t>(operand.bit + bits - 1) / 8;
    if (last >= image.size()) return false;
    for (int k = 0; k < bits; ++k) {
      const size_t cell = first + static_cast<size_t>(operand.bit + k) / 8;
      cells.push_back(cell);
      value |= static_cast<uint32_t>((image[cell].Value >> ((operand.bit + k) % 8)) & 1u) << k;
    }
  }
  if (data.RequestFlag) {
    for (size_t cell : cells) {
      snapshot.WantedCells.push_back({operand.slot, static_cast<int>(cell)});
    }
  }
  return FormatValue(snapshot, value, dataType, text);
}

bool ReadRequestedValueText(OnlineCacheSnapshot& snapshot, const OperandFields& operand, int dataType,
                            std::wstring& text) {
  text = UnknownText();
  if (snapshot.MemoryMap == nullptr) return false;
  OperandWord word = 0;
  try {
    PackOperandWord(word, *snapshot.MemoryMap, operand);
  } catch (const ExceptionError&) {
    // An operand the memory map cannot pack is never polled and has no value.
    return false;
  }
  if (snapshot.Data.RequestFlag) snapshot.WantedWords.push_back(word);
  for (const RequestedVariable& entry : snapshot.Data.RequestedVariables) {
    if (entry.Word != word || !snapshot.IsFresh(entry.UpdateTick)) continue;
    return FormatValue(snapshot, static_cast<uint32_t>(entry.Value), dataType, text);
  }
  return false;
}

// ---------------------------------------------------------------- power flow

namespace {

enum class Rule { Value, Inverted, Eq, Ne, Gt, Lt, Ge, Le };
enum class Width { None, B, W, D };

struct FlowRow {
  int operands;
  Rule rule;
  Width width;
};

int Narrow(int value, Width width) {
  switch (width) {
    case Width::B:
      return value & 0xFF;
    case Width::W:
      return static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFF));
    default:
      return value;
  }
}

int Apply(const FlowRow& row, const std::vector<OperandValueFlag>& operands) {
  const int a = operands[0].Value;
  bool on = false;
  switch (row.rule) {
    case Rule::Value:
      on = a != 0;
      break;
    case Rule::Inverted:
      on = a == 0;
      break;
    default: {
      const int l = Narrow(a, row.width);
      const int r = Narrow(operands[1].Value, row.width);
      switch (row.rule) {
        case Rule::Eq: on = l == r; break;
        case Rule::Ne: on = l != r; break;
        case Rule::Gt: on = l > r; break;
        case Rule::Lt: on = l < r; break;
        case Rule::Ge: on = l >= r; break;
        default: on = l <= r; break;
      }
    }
  }
  return on ? 1 : 2;
}

using FlowTable = std::vector<std::pair<std::wstring, FlowRow>>;

void AddNames(FlowTable& rows, std::initializer_list<std::wstring_view> names, int operands, Rule rule,
              Width width = Width::None) {
  for (std::wstring_view name : names) rows.push_back({std::wstring(name), FlowRow{operands, rule, width}});
}

constexpr std::pair<std::wstring_view, Rule> kSigns[] = {{L"=", Rule::Eq}, {L"<>", Rule::Ne}, {L">", Rule::Gt},
                                                         {L"<", Rule::Lt}, {L">=", Rule::Ge}, {L"<=", Rule::Le}};

// "LDB=", "AB=", "OB=", "LDB<>", ...: load, and, or of each comparison at one width.
void AddStlComparisons(FlowTable& rows, std::wstring_view letter, Width width) {
  for (const auto& [sign, rule] : kSigns) {
    for (std::wstring_view prefix : {L"LD", L"A", L"O"}) {
      rows.push_back({std::wstring(prefix) + std::wstring(letter) + std::wstring(sign), FlowRow{2, rule, width}});
    }
  }
}

// "==B", "<>B", ">B", ...: the compare contacts of one width.
void AddLadComparisons(FlowTable& rows, std::wstring_view letter, Width width) {
  for (const auto& [sign, rule] : kSigns) {
    const std::wstring_view shown = sign == L"=" ? std::wstring_view(L"==") : sign;
    rows.push_back({std::wstring(shown) + std::wstring(letter), FlowRow{2, rule, width}});
  }
}

const FlowTable& StlNormalTable() {
  static const FlowTable table = [] {
    FlowTable rows;
    AddNames(rows, {L"LD", L"A", L"O", L"LDI", L"AI", L"OI", L"=", L"S", L"=I", L"SI"}, 1, Rule::Value);
    AddNames(rows, {L"LDN", L"AN", L"ON", L"LDNI", L"ANI", L"ONI", L"R", L"RI"}, 1, Rule::Inverted);
    AddStlComparisons(rows, L"B", Width::B);
    AddStlComparisons(rows, L"W", Width::W);
    AddStlComparisons(rows, L"D", Width::D);
    return rows;
  }();
  return table;
}

const FlowTable& StlFxTable() {
  static const FlowTable table = [] {
    FlowTable rows;
    AddNames(rows, {L"LD", L"AND", L"OR", L"OUT"}, 1, Rule::Value);
    AddNames(rows, {L"LDI", L"ANI", L"ORI"}, 1, Rule::Inverted);
    AddNames(rows, {L"OUT"}, 2, Rule::Eq, Width::W);
    return rows;
  }();
  return table;
}

const FlowTable& LadContactTable() {
  static const FlowTable table = [] {
    FlowTable rows;
    AddNames(rows, {L" ", L"I"}, 1, Rule::Value);
    AddNames(rows, {L"/", L"/I"}, 1, Rule::Inverted);
    AddLadComparisons(rows, L"B", Width::B);
    AddLadComparisons(rows, L"I", Width::W);
    AddLadComparisons(rows, L"D", Width::D);
    return rows;
  }();
  return table;
}

const FlowTable& LadCoilTable() {
  static const FlowTable table = [] {
    FlowTable rows;
    AddNames(rows, {L" ", L"S", L"I", L"SI"}, 1, Rule::Value);
    AddNames(rows, {L"R", L"RI"}, 1, Rule::Inverted);
    return rows;
  }();
  return table;
}

const FlowTable& LadFxContactTable() {
  static const FlowTable table = [] {
    FlowTable rows;
    AddNames(rows, {L"LD"}, 1, Rule::Value);
    AddNames(rows, {L"LDI"}, 1, Rule::Inverted);
    return rows;
  }();
  return table;
}

const FlowTable& LadFxCoilTable() {
  static const FlowTable table = [] {
    FlowTable rows;
    AddNames(rows, {L"OUT"}, 1, Rule::Value);
    AddNames(rows, {L"OUT"}, 2, Rule::Eq, Width::W);
    return rows;
  }();
  return table;
}

int Evaluate(const OnlineCacheSnapshot& snapshot, const FlowTable* table, const std::wstring& name,
             const std::vector<OperandValueFlag>& operands) {
  if (!snapshot.Online || table == nullptr) return -1;
  for (const OperandValueFlag& operand : operands) {
    if (!operand.Known) return -1;
  }
  for (const auto& [rowName, row] : *table) {
    if (rowName == name && static_cast<size_t>(row.operands) == operands.size()) return Apply(row, operands);
  }
  return -1;
}

}  // namespace

int EvaluateStlPowerFlow(const OnlineCacheSnapshot& snapshot, const std::vector<OperandValueFlag>& operands,
                         const FunStlRecord& definition) {
  const FlowTable* table = snapshot.InstructionFxMode == 0   ? &StlNormalTable()
                           : snapshot.InstructionFxMode == 1 ? &StlFxTable()
                                                             : nullptr;
  return Evaluate(snapshot, table, definition.Name, operands);
}

int EvaluateLadPowerFlow(const OnlineCacheSnapshot& snapshot, const FunLadRecord& definition,
                         const std::vector<OperandValueFlag>& operands) {
  const FlowTable* table = nullptr;
  if (snapshot.InstructionFxMode == 0) {
    if (definition.Look == kLadLookCont) table = &LadContactTable();
    if (definition.Look == kLadLookCoil) table = &LadCoilTable();
  } else if (snapshot.InstructionFxMode == 1) {
    if (definition.Look == kLadLookFxCont) table = &LadFxContactTable();
    if (definition.Look == kLadLookCoil) table = &LadFxCoilTable();
  }
  return Evaluate(snapshot, table, definition.Keyword, operands);
}

}  // namespace Brenno
