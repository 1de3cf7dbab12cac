#include "core/env/operand_slot.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include "core/env/data_type.h"
#include "core/env/exception_error.h"
#include "core/env/operand_format.h"
#include "core/env/operand_word.h"
#include "core/env/utilities.h"

namespace Brenno {

namespace {

bool IsIntegerType(int type) { return type >= kDataTypeBit && type < kDataTypeReal; }

// Whether the slot's format takes constants of a constant type (Bit to Real).
bool SlotTakesConstants(const OperandDef& slot) {
  return (ParseOperandFormatFlags(slot.Capacity) & kFormatConstant) != 0 && slot.Const >= kDataTypeBit &&
         slot.Const <= kDataTypeReal;
}

// The bits an operand covers in its region, as bit positions from the region's first byte.
struct BitSpan {
  int64_t first = 0;
  int64_t last = 0;
};

BitSpan SpanOf(const MemoryRegion& region, const MemoryAccess& access, const OperandFields& fields) {
  const int64_t first = 8 * static_cast<int64_t>(fields.byte) + fields.bit;
  int64_t bits = WidthBits(access.Width);
  switch (ShapeOfAccess(access)) {
    case AccessShape::A:
    case AccessShape::B:
      bits = 1;
      break;
    case AccessShape::C:
    case AccessShape::D:
      if (region.GroupEnable != 0) bits = 4 * (static_cast<int64_t>(fields.group) + 1);
      break;
    default:
      break;
  }
  return {first, first + std::max<int64_t>(bits, 1) - 1};
}

// The span of an address text of the region (the bits of the first access it is written for),
// false when the text is no value address of the region.
bool AddressTextSpan(const MemoryRegion& region, const std::wstring& text, BitSpan& span) {
  OperandAddress address;
  if (!ScanOperandText(text, address) || address.kind != kKindValue) return false;
  for (const MemoryAccess& access : region.Accesses) {
    OperandFields fields;
    if (address.prefix == region.Name + access.Name && ComputeOperandOffset(region, access, address, fields) &&
        IsOperandInRange(region, access, fields)) {
      span = SpanOf(region, access, fields);
      return true;
    }
  }
  return false;
}

// One address range of a slot that lies in a region.
struct RegionLimit {
  const AddressRange* range = nullptr;
  BitSpan span;
};

// The slot's address ranges whose two ends are addresses of the region, in slot order.
std::vector<RegionLimit> LimitsIn(const OperandDef& slot, const MemoryRegion& region) {
  std::vector<RegionLimit> limits;
  for (const AddressRange& range : slot.Addresses) {
    BitSpan first;
    BitSpan last;
    if (AddressTextSpan(region, range.First, first) && AddressTextSpan(region, range.Last, last)) {
      limits.push_back({&range, {first.first, last.last}});
    }
  }
  return limits;
}

// The last bit the operand may reach from its start in the region: the end of the address range
// it starts in, else the end of the region; nothing when the start itself is not admitted.
std::optional<int64_t> LastAdmittedBit(const OperandDef& slot, const MemoryRegion& region, int64_t start) {
  const std::vector<RegionLimit> limits = LimitsIn(slot, region);
  if (limits.empty()) return 8 * region.Size() - 1;
  for (const RegionLimit& limit : limits) {
    if (start >= limit.span.first && start <= limit.span.last) return limit.span.last;
  }
  return std::nullopt;
}

std::wstring RangeText(const AddressRange& range) {
  return range.First == range.Last ? range.First : range.First + L" ~ " + range.Last;
}

// The value range texts of a candidate of the slot: its address ranges in the candidate's region,
// else the whole access.
std::vector<std::wstring> SlotValueTexts(const OperandDef& slot, const OperandCandidate& candidate) {
  std::vector<std::wstring> texts;
  for (const RegionLimit& limit : LimitsIn(slot, *candidate.region)) texts.push_back(RangeText(*limit.range));
  if (texts.empty()) texts.push_back(DescribeCandidateRange(candidate));
  return texts;
}

// The number of bits an address text of the slot leaves from its start to the end of its region
// or address range; nothing when the text is no plain address the slot takes.
std::optional<int64_t> BitsFrom(const MemoryAreaManager& manager, const OperandDef& slot, const std::wstring& text) {
  OperandAddress address;
  OperandFields fields;
  const MemoryRegion* region = nullptr;
  const MemoryAccess* access = nullptr;
  if (!ScanOperandText(text, address) || address.kind != kKindValue ||
      !MatchSlotAddress(slot, manager, address, fields, &region, &access)) {
    return std::nullopt;
  }
  const int64_t start = SpanOf(*region, *access, fields).first;
  const std::optional<int64_t> last = LastAdmittedBit(slot, *region, start);
  if (!last) return std::nullopt;
  return *last - start + 1;
}

std::optional<int64_t> ConstantOf(const MemoryAreaManager& manager, const OperandDef& slot, const std::wstring& text) {
  ConstantOperand constant;
  if (!ParseSlotConstant(constant, manager, slot, text) || constant.index != -1) return std::nullopt;
  return SlotTypedValue(slot, constant.value);
}

}  // namespace

int64_t SlotTypedValue(const OperandDef& slot, uint32_t value) {
  switch (slot.Const) {
    case kDataTypeSint: return static_cast<int8_t>(value & 0xFFu);
    case kDataTypeInt: return static_cast<int16_t>(value & 0xFFFFu);
    case kDataTypeDint: return static_cast<int32_t>(value);
    case kDataTypeBit:
    case kDataTypeByte:
    case kDataTypeUsint: return value & 0xFFu;
    case kDataTypeWord:
    case kDataTypeUint: return value & 0xFFFFu;
    default: return value;
  }
}

namespace {

// How many operands the slots take, in turn.
size_t OperandsTaken(std::initializer_list<const std::vector<OperandDef>*> lists,
                     const std::vector<std::wstring>& operands, const MemoryAreaManager& manager) {
  size_t taken = 0;
  size_t k = 0;
  for (const std::vector<OperandDef>* list : lists) {
    for (const OperandDef& slot : *list) {
      if (k < operands.size() && SlotTakesOperand(manager, slot, operands[k])) ++taken;
      ++k;
    }
  }
  return taken;
}

// The definition whose `taken` is largest, the first of equals.
template <typename Record, typename Taken>
const Record* ChooseDefinition(const std::vector<const Record*>& defs, Taken taken_of) {
  if (defs.size() <= 1) return defs.empty() ? nullptr : defs.front();
  const Record* best = nullptr;
  size_t bestTaken = 0;
  for (const Record* def : defs) {
    const size_t taken = taken_of(*def);
    if (best == nullptr || taken > bestTaken) {
      best = def;
      bestTaken = taken;
    }
  }
  return best;
}

}  // namespace

bool SlotTakesOperand(const MemoryAreaManager& manager, const OperandDef& slot, const std::wstring& text) {
  try {
    OperandWord word = 0;
    if (ParseOperandText(text, manager, slot.Capacity, word)) return true;
    if (!SlotTakesConstants(slot)) return false;
    ConstantOperand constant;
    return ParseConstantOperand(constant, manager, slot.Const, text);
  } catch (const ExceptionError&) {
    return false;  // a malformed format takes nothing
  }
}

size_t CountOperandsTaken(const FunStlRecord& def, const std::vector<std::wstring>& operands,
                          const MemoryAreaManager& manager) {
  return OperandsTaken({&def.Operands}, operands, manager);
}

size_t CountOperandsTaken(const FunLadRecord& def, const std::vector<std::wstring>& operands,
                          const MemoryAreaManager& manager) {
  return OperandsTaken({&def.OperandId, &def.OperandIn, &def.OperandOut}, operands, manager);
}

const FunStlRecord* ChooseStlDefinition(const std::vector<const FunStlRecord*>& defs,
                                        const std::vector<std::wstring>& operands, const MemoryAreaManager& manager) {
  return ChooseDefinition(defs, [&](const FunStlRecord& def) { return CountOperandsTaken(def, operands, manager); });
}

const FunLadRecord* ChooseLadDefinition(const std::vector<const FunLadRecord*>& defs,
                                        const std::vector<std::wstring>& operands, const MemoryAreaManager& manager) {
  return ChooseDefinition(defs, [&](const FunLadRecord& def) { return CountOperandsTaken(def, operands, manager); });
}

const FunLadRecord* ChooseTypedLadDefinition(const InstructionLibrary& library,
                                             const std::vector<const FunLadRecord*>& defs,
                                             const std::vector<std::wstring>& typed, const MemoryAreaManager& manager) {
  return ChooseDefinition(defs, [&](const FunLadRecord& def) {
    const std::vector<int> order = LadOperandOrder(library, def);
    std::vector<std::wstring> sequence(order.size());
    for (size_t k = 0; k < order.size(); ++k) {
      if (order[k] >= 0 && static_cast<size_t>(order[k]) < typed.size()) sequence[k] = typed[static_cast<size_t>(order[k])];
    }
    return CountOperandsTaken(def, sequence, manager);
  });
}

bool SignedFormOfUnsigned(const MemoryAreaManager& manager, const OperandDef& slot, std::wstring& text) {
  if (manager.FxMode == 0 || manager.Prefix10.empty()) return false;
  int bits = 0;
  if (slot.Const == kDataTypeSint) bits = 8;
  if (slot.Const == kDataTypeInt) bits = 16;
  if (slot.Const == kDataTypeDint) bits = 32;
  if (bits == 0 || text.compare(0, manager.Prefix10.size(), manager.Prefix10) != 0) return false;
  const std::size_t digits = manager.Prefix10.size();
  std::size_t end = digits;
  while (end < text.size() && text[end] >= L'0' && text[end] <= L'9') ++end;
  // The digits, then nothing or an index suffix.
  if (end == digits || end - digits > 10 || (end < text.size() && text[end] != L'Z' && text[end] != L'V')) {
    return false;
  }
  const uint64_t value = std::stoull(text.substr(digits, end - digits));
  const uint64_t span = uint64_t{1} << bits;
  if (value <= static_cast<uint64_t>(IntegerTypeRangeTable[slot.Const].Maximum) || value >= span) return false;
  const int64_t signedValue = static_cast<int64_t>(value) - static_cast<int64_t>(span);
  if (!ConstantFitsSlot(slot, static_cast<uint32_t>(value))) return false;
  text = manager.Prefix10 + std::to_wstring(signedValue) + text.substr(end);
  return true;
}

bool ConstantFitsSlot(const OperandDef& slot, uint32_t value) {
  if (!slot.HasRange() || !IsIntegerType(slot.Const)) return true;
  const int64_t typed = SlotTypedValue(slot, value);
  return std::any_of(slot.Ranges.begin(), slot.Ranges.end(),
                     [typed](const ValueRange& range) { return typed >= range.Min && typed <= range.Max; });
}

bool ParseSlotConstant(ConstantOperand& operand, const MemoryAreaManager& manager, const OperandDef& slot,
                       const std::wstring& text) {
  ConstantOperand read;
  if (!ParseConstantOperand(read, manager, slot.Const, text) || !ConstantFitsSlot(slot, read.value)) return false;
  operand = read;
  return true;
}

bool CheckSlotConstant(const MemoryAreaManager& manager, const OperandDef& slot, std::wstring& text) {
  ConstantOperand read;
  if (!ParseSlotConstant(read, manager, slot, text)) return false;
  return CheckConstantOperand(manager, slot.Const, text);
}

bool AddressFitsSlot(const OperandDef& slot, const MemoryRegion& region, const MemoryAccess& access,
                     const OperandFields& fields) {
  if (slot.Addresses.empty() || (fields.kind != kKindValue && fields.kind != kKindIndexed)) return true;
  const std::vector<RegionLimit> limits = LimitsIn(slot, region);
  if (limits.empty()) return true;
  const BitSpan span = SpanOf(region, access, fields);
  return std::any_of(limits.begin(), limits.end(), [&span](const RegionLimit& limit) {
    return span.first >= limit.span.first && span.last <= limit.span.last;
  });
}

bool MatchSlotAddress(const OperandDef& slot, const MemoryAreaManager& manager, const OperandAddress& address,
                      OperandFields& fields, const MemoryRegion** region, const MemoryAccess** access) {
  OperandFields found;
  const MemoryRegion* foundRegion = nullptr;
  const MemoryAccess* foundAccess = nullptr;
  if (!MatchOperandTextWithFormat(slot.Capacity, manager, address, found, &foundRegion, &foundAccess) ||
      !AddressFitsSlot(slot, *foundRegion, *foundAccess, found)) {
    return false;
  }
  fields = found;
  if (region != nullptr) *region = foundRegion;
  if (access != nullptr) *access = foundAccess;
  return true;
}

bool ParseSlotAddress(const std::wstring& text, const MemoryAreaManager& manager, const OperandDef& slot,
                      OperandWord& word) {
  OperandAddress address;
  OperandFields fields;
  if (!ScanOperandText(text, address) || !MatchSlotAddress(slot, manager, address, fields)) return false;
  PackOperandWord(word, manager, fields);
  return true;
}

OperandDef SlotInInstruction(const MemoryAreaManager& manager, const std::vector<const OperandDef*>& slots,
                             const std::vector<std::wstring>& texts, std::size_t index) {
  OperandDef slot = *slots[index];
  if (!slot.HasRelations() || !slot.HasRange() || texts.size() != slots.size()) return slot;
  auto other = [&](const std::wstring& name) -> std::optional<std::size_t> {
    for (std::size_t k = 0; k < slots.size(); ++k) {
      if (k != index && slots[k]->Name == name) return k;
    }
    return std::nullopt;
  };
  int64_t bound = std::numeric_limits<int64_t>::max();
  try {
    if (const auto k = other(slot.Counts)) {
      if (const auto bits = BitsFrom(manager, *slots[*k], texts[*k])) bound = std::min(bound, *bits);
    }
    if (const auto k = other(slot.AtMost)) {
      if (const auto value = ConstantOf(manager, *slots[*k], texts[*k])) bound = std::min(bound, *value);
    }
  } catch (const ExceptionError&) {
    return slot;  // a malformed format of the other operand limits nothing
  }
  if (bound == std::numeric_limits<int64_t>::max()) return slot;
  // A count of bits counts them in either direction (SHRB's negative length).
  const int64_t low = slot.Counts.empty() ? std::numeric_limits<int64_t>::min() : -bound;
  std::vector<ValueRange> narrowed;
  for (const ValueRange& range : slot.Ranges) {
    const ValueRange part{std::max(range.Min, low), std::min(range.Max, bound)};
    if (part.Min <= part.Max) narrowed.push_back(part);
  }
  if (!narrowed.empty()) slot.Ranges = std::move(narrowed);
  return slot;
}

std::wstring SlotRangeText(const MemoryAreaManager& manager, const OperandDef& slot) {
  std::wstring text;
  if (!slot.HasRange() || !IsIntegerType(slot.Const)) return FormatTypeRangeText(manager, text, slot.Const);
  for (const ValueRange& range : slot.Ranges) {
    std::wstring low;
    std::wstring high;
    FormatConstantValue(slot.Const, manager, static_cast<uint32_t>(range.Min), low);
    FormatConstantValue(slot.Const, manager, static_cast<uint32_t>(range.Max), high);
    text += (text.empty() ? L"" : L", ") + (range.Min == range.Max ? low : low + L" ~ " + high);
  }
  return text;
}

std::wstring SlotAddressText(const MemoryAreaManager& manager, const OperandDef& slot, const std::wstring& text) {
  std::vector<OperandCandidate> candidates;
  CollectOperandCandidates(slot.Capacity, manager, candidates);
  OperandAddress address;
  const bool scanned = ScanOperandText(text, address);
  const int kind = scanned && address.kind != kKindIndexed ? address.kind : kKindValue;
  auto hasKind = [kind](const OperandCandidate& c) { return (c.flags & kind) != 0; };
  // The candidates of the text's kind named as the text is, else those of its region name, else all
  // of its kind.
  std::vector<const OperandCandidate*> chosen;
  for (int pass = 0; pass < 3 && chosen.empty(); ++pass) {
    for (const OperandCandidate& candidate : candidates) {
      const std::wstring name = candidate.region->Name + candidate.access->Name;
      const bool named = pass == 0   ? scanned && name == address.prefix
                         : pass == 1 ? scanned && address.prefix.rfind(candidate.region->Name, 0) == 0
                                     : true;
      if (hasKind(candidate) && named) chosen.push_back(&candidate);
    }
  }
  std::vector<std::wstring> texts;
  auto add = [&texts](const std::wstring& piece) {
    if (std::find(texts.begin(), texts.end(), piece) == texts.end()) texts.push_back(piece);
  };
  for (const OperandCandidate* candidate : chosen) {
    if (kind == kKindValue) {
      for (const std::wstring& piece : SlotValueTexts(slot, *candidate)) add(piece);
      continue;
    }
    add(DescribeCandidateRange(*candidate, kind == kKindAddress ? L"&" : L"*"));
  }
  std::wstring joined;
  JoinText(joined, texts, L", ");
  return joined;
}

std::wstring SlotTakesText(const MemoryAreaManager& manager, const OperandDef& slot, const std::wstring& text) {
  const bool constants = SlotTakesConstants(slot);
  OperandAddress address;
  bool written = false;
  if (ScanOperandText(text, address)) {
    for (const MemoryRegion& region : manager.Regions) {
      if (region.Area != kAreaConst && address.prefix.rfind(region.Name, 0) == 0) written = true;
    }
  }
  if (written || !constants) {
    const std::wstring addresses = SlotAddressText(manager, slot, text);
    if (!addresses.empty() || !constants) return addresses;
  }
  return SlotRangeText(manager, slot);
}

bool DescribeOperandSlot(std::wstring& text, const OperandDef& slot, const MemoryAreaManager& manager,
                         const std::wstring& separator) {
  std::vector<std::wstring> texts;
  ListOperandFormatRanges(slot.Const, slot.Capacity, manager, texts,
                          [&slot](const OperandCandidate& candidate) { return SlotValueTexts(slot, candidate); });
  if (slot.HasRange() && IsIntegerType(slot.Const) && !texts.empty() && SlotTakesConstants(slot)) {
    texts.back() = SlotRangeText(manager, slot);
  }
  JoinText(text, texts, separator);
  return true;
}

}  // namespace Brenno
