#include "core/env/operand_slot.h"

#include "core/env/data_type.h"
#include "core/env/operand_format.h"

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

}  // namespace

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
