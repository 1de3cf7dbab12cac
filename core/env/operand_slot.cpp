#include "core/env/operand_slot.h"

#include "core/env/data_type.h"
#include "core/env/exception_error.h"
#include "core/env/operand_format.h"
#include "core/env/operand_word.h"

namespace Brenno {

namespace {

bool IsIntegerType(int type) { return type >= kDataTypeBit && type < kDataTypeReal; }

// The value as the data type reads it: sign-extended for the signed types, else unsigned in the
// type's width.
int64_t TypedValue(int type, uint32_t value) {
  switch (type) {
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
    if ((ParseOperandFormatFlags(slot.Capacity) & kFormatConstant) == 0 || slot.Const < kDataTypeBit ||
        slot.Const > kDataTypeReal) {
      return false;
    }
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
  if (slot.HasRange && (signedValue < slot.RangeMin || signedValue > slot.RangeMax)) return false;
  text = manager.Prefix10 + std::to_wstring(signedValue) + text.substr(end);
  return true;
}

bool ConstantFitsSlot(const OperandDef& slot, uint32_t value) {
  if (!slot.HasRange || !IsIntegerType(slot.Const)) return true;
  const int64_t typed = TypedValue(slot.Const, value);
  return typed >= slot.RangeMin && typed <= slot.RangeMax;
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

std::wstring SlotRangeText(const MemoryAreaManager& manager, const OperandDef& slot) {
  std::wstring text;
  if (!slot.HasRange || !IsIntegerType(slot.Const)) return FormatTypeRangeText(manager, text, slot.Const);
  std::wstring low;
  std::wstring high;
  FormatConstantValue(slot.Const, manager, static_cast<uint32_t>(slot.RangeMin), low);
  FormatConstantValue(slot.Const, manager, static_cast<uint32_t>(slot.RangeMax), high);
  return low + L" ~ " + high;
}

bool DescribeOperandSlot(std::wstring& text, const OperandDef& slot, const MemoryAreaManager& manager,
                         const std::wstring& separator) {
  if (!DescribeOperandFormat(text, slot.Capacity, manager, separator, slot.Const)) return false;
  if (!slot.HasRange || !IsIntegerType(slot.Const)) return true;
  std::wstring typeRange;
  FormatTypeRangeText(manager, typeRange, slot.Const);
  if (text.size() >= typeRange.size() && text.compare(text.size() - typeRange.size(), typeRange.size(), typeRange) == 0) {
    text.replace(text.size() - typeRange.size(), typeRange.size(), SlotRangeText(manager, slot));
  }
  return true;
}

}  // namespace Brenno
