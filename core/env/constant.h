// Constant operands: integers written in radix 8, 10 or 16 (the radix prefixes and the default
// radix come from the PLC type's memory map) or reals, typed by a DataType, and in FxMode PLC
// types an index-register suffix (K10Z1, K10V). Validation with the canonical form, conversion to
// the 32-bit value the binary image stores and back, and the range text of a data type.
#pragma once

#include <cstdint>
#include <string>

#include "core/env/memory_area_manager.h"

namespace Brenno {

// Hexadecimal digit count of each data type 0..10; octal texts take twice as many digits.
inline constexpr int ConstantDigitTable[11] = {1, 2, 4, 8, 2, 4, 8, 2, 4, 8, 8};

struct ConstantOperand {
  uint32_t value = 0;  // integer types in the low bits, Real as IEEE float bits
  int index = -1;      // -1 none, 0..7 Z0..Z7, 8..15 V0..V7

  bool operator==(const ConstantOperand&) const = default;
};

// True when the text is a constant of the type; the text is then replaced by its canonical form
// (16#ff as a Word gives 16#00FF; 0100 as a Dint with default radix 10 gives 100). The whole text
// must be the number: "16#1g" is refused. A byte, word or double word also takes a negative
// number as its two's complement (-1 in a Word is 16#FFFF), and a signed type written in radix 8 or
// 16 is read as a bit pattern of its width (16#FFFF as an Int is -1); a negative value in radix 8
// or 16 is written as that bit pattern (16#-1 as a Sint gives 16#FF). A type outside 0..10 throws
// ExceptionLogicError.
bool CheckConstantText(const MemoryAreaManager& manager, std::wstring& text, int dataType);

// The same reading; stores the low 32 bits of the value (Real: the float's bits).
bool ParseConstantValue(const MemoryAreaManager& manager, uint32_t& value, int dataType, const std::wstring& text);

// The display text of a value: Byte, Word, Dword in hexadecimal with Prefix16, the other integer
// types in decimal (with Prefix10 unless the default radix is 10), Real in general form.
bool FormatConstantValue(int dataType, const MemoryAreaManager& manager, uint32_t value, std::wstring& text);

// The same three with the index-register suffix, which exists only when FxMode is not 0.
bool CheckConstantOperand(const MemoryAreaManager& manager, int dataType, std::wstring& text);
bool ParseConstantOperand(ConstantOperand& operand, const MemoryAreaManager& manager, int dataType,
                          const std::wstring& text);
bool FormatConstantOperand(const MemoryAreaManager& manager, const ConstantOperand& operand, int dataType,
                           std::wstring& text);

// "minimum ~ maximum" of the type ("-128 ~ 127", "16#00 ~ 16#FF", "REAL"), also stored in text.
// A type outside 0..10 throws ExceptionFormatError.
std::wstring FormatTypeRangeText(const MemoryAreaManager& manager, std::wstring& text, int dataType);

}  // namespace Brenno
