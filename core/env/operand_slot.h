// A constant written in an operand slot of an instruction: the data type of the slot reads it,
// and the slot's own range (a loop number 0 to 7, a port 0 or 1) limits it further. The editors,
// the painters, the compiler and the instruction dialogs read slot constants through these, so
// that a value the instruction does not take is refused everywhere alike.
#pragma once

#include <string>

#include "core/env/constant.h"
#include "core/env/instruction_records.h"
#include "core/env/memory_area_manager.h"

namespace Brenno {

// True when the value (as the slot's data type holds it) lies in the slot's range; always true
// for a slot without a range.
bool ConstantFitsSlot(const OperandDef& slot, uint32_t value);

// ParseConstantOperand with the slot's data type, then the slot's range.
bool ParseSlotConstant(ConstantOperand& operand, const MemoryAreaManager& manager, const OperandDef& slot,
                       const std::wstring& text);

// CheckConstantOperand with the slot's data type, then the slot's range: the text is made
// canonical only when the slot takes the value.
bool CheckSlotConstant(const MemoryAreaManager& manager, const OperandDef& slot, std::wstring& text);

// The values a constant of the slot may take: "0 ~ 7" for a slot with a range (written as its
// data type writes values), else the range text of the data type.
std::wstring SlotRangeText(const MemoryAreaManager& manager, const OperandDef& slot);

// The operand hint of the slot (DescribeOperandFormat), whose constant line is the slot's range.
bool DescribeOperandSlot(std::wstring& text, const OperandDef& slot, const MemoryAreaManager& manager,
                         const std::wstring& separator);

}  // namespace Brenno
