// A constant written in an operand slot of an instruction: the data type of the slot reads it,
// and the slot's own range (a loop number 0 to 7, a port 0 or 1) limits it further. The editors,
// the painters, the compiler and the instruction dialogs read slot constants through these, so
// that a value the instruction does not take is refused everywhere alike.
#pragma once

#include <string>
#include <vector>

#include "core/env/constant.h"
#include "core/env/instruction_library.h"
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

// FX program files (and the projects of earlier versions, whose FX constants were read unsigned)
// write a signed constant as the unsigned number of its bits: K65535 for K-1 in a 16-bit slot,
// K4294967295 for K-1 in a 32-bit one. Such a decimal constant of a signed slot of an FX type,
// beyond the type's maximum and below 2 to the power of its width, is rewritten as the signed
// number of the same bits (K-1), its index suffix kept, and true returned; a text that is not
// such a constant, or whose signed value the slot's range does not take (it then stays as it was
// written, to be refused as typed), is left alone.
bool SignedFormOfUnsigned(const MemoryAreaManager& manager, const OperandDef& slot, std::wstring& text);

// The values a constant of the slot may take: "0 ~ 7" for a slot with a range (written as its
// data type writes values), else the range text of the data type.
std::wstring SlotRangeText(const MemoryAreaManager& manager, const OperandDef& slot);

// True when the slot takes the text as it stands: an operand of the slot's format, or a constant
// of its data type (whatever the slot's range).
bool SlotTakesOperand(const MemoryAreaManager& manager, const OperandDef& slot, const std::wstring& text);

// How many of the operands the definition's slots take (SlotTakesOperand), operands in the
// definition's order (a ladder definition's as OperandId, OperandIn, OperandOut).
size_t CountOperandsTaken(const FunStlRecord& def, const std::vector<std::wstring>& operands,
                          const MemoryAreaManager& manager);
size_t CountOperandsTaken(const FunLadRecord& def, const std::vector<std::wstring>& operands,
                          const MemoryAreaManager& manager);

// Of definitions that share a name and operand count (the FX timer and counter coil of the
// 16-bit devices and that of the 32-bit counters), the one the operands are written for: the one
// whose slots take the most of them (CountOperandsTaken), the first of equals. The only one
// when there is one, null when there is none. Symbols must have been replaced by their addresses.
const FunStlRecord* ChooseStlDefinition(const std::vector<const FunStlRecord*>& defs,
                                        const std::vector<std::wstring>& operands, const MemoryAreaManager& manager);
const FunLadRecord* ChooseLadDefinition(const std::vector<const FunLadRecord*>& defs,
                                        const std::vector<std::wstring>& operands, const MemoryAreaManager& manager);
// The same for ladder definitions with the operands in the order of the instruction, as a ladder
// cell takes them typed (each definition reads them in its own order, LadOperandOrder).
const FunLadRecord* ChooseTypedLadDefinition(const InstructionLibrary& library,
                                             const std::vector<const FunLadRecord*>& defs,
                                             const std::vector<std::wstring>& typed, const MemoryAreaManager& manager);

// The operand hint of the slot (DescribeOperandFormat), whose constant line is the slot's range.
bool DescribeOperandSlot(std::wstring& text, const OperandDef& slot, const MemoryAreaManager& manager,
                         const std::wstring& separator);

}  // namespace Brenno
