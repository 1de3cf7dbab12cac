// An operand written in a slot of an instruction. A constant is read by the data type of the slot
// and limited further by the slot's ranges (a loop number 0 to 7, a port 0 or 1); an address
// must be one of the slot's format and, in the regions the slot's address ranges name, lie in
// one of them (TON takes T32 to T63 and T96 to T255). A count may depend on another operand of
// the instruction: S Q15.0, N sets at most the 8 bits left in the Q area; SFTL's n2 may not
// exceed its n1. The editors, the painters, the compiler and the instruction dialogs read slot
// operands through these, so that what the instruction does not take is refused everywhere
// alike, and name what it takes in the same words.
#pragma once

#include <string>
#include <vector>

#include "core/env/constant.h"
#include "core/env/instruction_library.h"
#include "core/env/instruction_records.h"
#include "core/env/memory_area_manager.h"
#include "core/env/operand_address.h"
#include "core/env/operand_word.h"

namespace Brenno {

// True when the value (as the slot's data type holds it) lies in one of the slot's ranges;
// always true for a slot without ranges.
bool ConstantFitsSlot(const OperandDef& slot, uint32_t value);

// The value as the slot's data type reads it: sign-extended for the signed types, else unsigned
// in the type's width.
int64_t SlotTypedValue(const OperandDef& slot, uint32_t value);

// ParseConstantOperand with the slot's data type, then the slot's ranges.
bool ParseSlotConstant(ConstantOperand& operand, const MemoryAreaManager& manager, const OperandDef& slot,
                       const std::wstring& text);

// CheckConstantOperand with the slot's data type, then the slot's ranges: the text is made
// canonical only when the slot takes the value.
bool CheckSlotConstant(const MemoryAreaManager& manager, const OperandDef& slot, std::wstring& text);

// Whether an address that the slot's format admits at this region and access also lies in the
// slot's address ranges: its whole span (all bits of K4M8000, of a word) inside one range of the
// region. Addresses of regions no range names, pointers and address-of operands always do.
bool AddressFitsSlot(const OperandDef& slot, const MemoryRegion& region, const MemoryAccess& access,
                     const OperandFields& fields);

// MatchOperandTextWithFormat with the slot's format, then the slot's address ranges. A malformed
// format throws as MatchOperandTextWithFormat does.
bool MatchSlotAddress(const OperandDef& slot, const MemoryAreaManager& manager, const OperandAddress& address,
                      OperandFields& fields, const MemoryRegion** region = nullptr,
                      const MemoryAccess** access = nullptr);

// ParseOperandText with the slot's format, then the slot's address ranges.
bool ParseSlotAddress(const std::wstring& text, const MemoryAreaManager& manager, const OperandDef& slot,
                      OperandWord& word);

// The slot as it stands in one instruction whose operand texts (addresses, not symbols) are
// given in slot order: a count of bits (Counts) is limited to the bits from its start operand to
// the end of that operand's region or address range, a count limited by another (AtMost) to
// that operand's value. Where the other operand cannot be read the slot stays as it is.
OperandDef SlotInInstruction(const MemoryAreaManager& manager, const std::vector<const OperandDef*>& slots,
                             const std::vector<std::wstring>& texts, std::size_t index);

// The values a constant of the slot may take: "0 ~ 7" for a slot with a range, "-64 ~ -1, 1 ~ 64"
// for one with two (written as its data type writes values), else the range text of the data
// type.
std::wstring SlotRangeText(const MemoryAreaManager& manager, const OperandDef& slot);

// The addresses the slot admits that are of the kind of the text and, where there are such, of
// its region name: "D0 ~ D4094, D4000 ~ D7998, D8000 ~ D8254" for the refused D7999 of a 32-bit
// source, "T32 ~ T63, T96 ~ T255" for a timer of TON. Empty when the slot admits no address.
std::wstring SlotAddressText(const MemoryAreaManager& manager, const OperandDef& slot, const std::wstring& text);

// What a refused operand text should have been: the addresses the slot admits (SlotAddressText)
// when the text is written as an address of the PLC type or the slot takes no constant, else the
// values it takes (SlotRangeText).
std::wstring SlotTakesText(const MemoryAreaManager& manager, const OperandDef& slot, const std::wstring& text);

// FX program files (and the projects of earlier versions, whose FX constants were read unsigned)
// write a signed constant as the unsigned number of its bits: K65535 for K-1 in a 16-bit slot,
// K4294967295 for K-1 in a 32-bit one. Such a decimal constant of a signed slot of an FX type,
// beyond the type's maximum and below 2 to the power of its width, is rewritten as the signed
// number of the same bits (K-1), its index suffix kept, and true returned; a text that is not
// such a constant, or whose signed value the slot's range does not take (it then stays as it was
// written, to be refused as typed), is left alone.
bool SignedFormOfUnsigned(const MemoryAreaManager& manager, const OperandDef& slot, std::wstring& text);

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

// The operand hint of the slot (DescribeOperandFormat) with the slot's address ranges in place of
// the whole regions they limit and the slot's constant ranges in place of the data type's.
bool DescribeOperandSlot(std::wstring& text, const OperandDef& slot, const MemoryAreaManager& manager,
                         const std::wstring& separator);

}  // namespace Brenno
