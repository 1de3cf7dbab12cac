#include "core/env/constant.h"

#include <cstring>

#include "core/env/data_type.h"
#include "core/env/exception_error.h"
#include "core/env/number_text.h"
#include "core/env/utilities.h"

namespace Brenno {
namespace {

void RequireDataType(int dataType) {
  if (dataType < 0 || dataType > kDataTypeReal) throw ExceptionLogicError();
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
  return !prefix.empty() && text.compare(0, prefix.size(), prefix) == 0;
}

struct IntegerReading {
  int radix = 10;
  std::wstring prefix;  // as written; empty when the default radix applied
  int64_t value = 0;
};

// Bits of the value of an integer type wider than a bit: 8, 16 or 32.
int ValueBits(int dataType) { return 4 * ConstantDigitTable[dataType]; }

bool IsBitPatternType(int dataType) {
  return dataType == kDataTypeByte || dataType == kDataTypeWord || dataType == kDataTypeDword;
}

bool IsSignedType(int dataType) {
  return dataType == kDataTypeSint || dataType == kDataTypeInt || dataType == kDataTypeDint;
}

// The type's range decides, with two widenings a programmer relies on: a byte, word or double
// word is a bit pattern, so a negative number stands for its two's complement (-1 is 16#FFFF in
// a word); a signed type written in radix 8 or 16 is a bit pattern too, so 16#FFFF is -1 in an
// integer (16#8000 its minimum). A decimal number is its value: one beyond the signed range is
// refused, never wrapped (K40000 is no integer; FX program files that write K65535 for K-1 are
// brought to the signed form when they are read, SignedFormOfUnsigned). The reading then holds the
// value the type carries.
bool FitToType(IntegerReading& read, int dataType) {
  const IntegerTypeRange& range = IntegerTypeRangeTable[dataType];
  if (read.value >= range.Minimum && read.value <= range.Maximum) return true;
  if (dataType == kDataTypeBit) return false;
  const int bits = ValueBits(dataType);
  const int64_t span = int64_t{1} << bits;
  if (IsBitPatternType(dataType)) return read.value < 0 && read.value >= -(span / 2);
  if (IsSignedType(dataType) && read.radix != 10 && read.value > range.Maximum && read.value < span) {
    read.value -= span;
    return true;
  }
  return false;
}

bool ReadInteger(const MemoryAreaManager& manager, const std::wstring& text, int dataType, IntegerReading& reading) {
  IntegerReading read;
  if (StartsWith(text, manager.Prefix8)) {
    read.radix = 8;
    read.prefix = manager.Prefix8;
  } else if (StartsWith(text, manager.Prefix10)) {
    read.radix = 10;
    read.prefix = manager.Prefix10;
  } else if (StartsWith(text, manager.Prefix16)) {
    read.radix = 16;
    read.prefix = manager.Prefix16;
  } else {
    read.radix = manager.PrefixAutoBase;
    if (read.radix != 8 && read.radix != 10 && read.radix != 16) return false;
  }
  if (!ParseInt64Text(read.radix, text.substr(read.prefix.size()), read.value, TrailingText::Refused)) {
    return false;
  }
  if (!FitToType(read, dataType)) return false;
  reading = read;
  return true;
}

bool ReadReal(const std::wstring& text, float& value) {
  return ParseRealText(text, value, TrailingText::Refused);
}

uint32_t FloatBits(float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

float BitsFloat(uint32_t bits) {
  float value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// The integer in its radix with the type's digit count. In radix 8 and 16 a negative value is
// written as its bit pattern in the type's width (16#FFFF for -1 in a word or an integer), which
// reads back as the same value.
std::wstring CanonicalInteger(const IntegerReading& reading, int dataType) {
  int digits = 0;
  if (reading.radix == 8) digits = 2 * ConstantDigitTable[dataType];
  if (reading.radix == 16) digits = ConstantDigitTable[dataType];
  int64_t value = reading.value;
  if (value < 0 && reading.radix != 10) value += int64_t{1} << ValueBits(dataType);
  std::wstring number;
  FormatInt64Text(reading.radix, true, digits, L'0', value, number);
  return reading.prefix + number;
}

std::wstring DecimalPrefix(const MemoryAreaManager& manager) {
  return manager.PrefixAutoBase == 10 ? std::wstring() : manager.Prefix10;
}

std::wstring Hexadecimal(const MemoryAreaManager& manager, uint32_t value, int digits) {
  std::wstring number;
  FormatInt64Text(16, true, digits, L'0', value, number);
  return manager.Prefix16 + number;
}

std::wstring Decimal(const MemoryAreaManager& manager, int64_t value) {
  return DecimalPrefix(manager) + std::to_wstring(value);
}

std::wstring IndexSuffix(int index) {
  if (index == 0) return L"Z";
  if (index >= 1 && index <= 7) return L"Z" + std::to_wstring(index);
  if (index == 8) return L"V";
  if (index >= 9 && index <= 15) return L"V" + std::to_wstring(index - 8);
  return std::wstring();
}

std::wstring UpperCase(const std::wstring& text) {
  std::wstring upper = text;
  for (wchar_t& c : upper) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  return upper;
}

// Splits "K10Z1" into the value text and the register (FxMode only; -1 without a suffix).
bool SplitIndexSuffix(const MemoryAreaManager& manager, const std::wstring& text, std::wstring& valueText,
                      int& index) {
  const std::wstring upper = UpperCase(text);
  valueText = upper;
  index = -1;
  if (manager.FxMode == 0) return true;
  size_t mark = upper.find(L'Z');
  if (mark == std::wstring::npos) mark = upper.find(L'V');
  if (mark == std::wstring::npos) return true;
  const std::wstring registerText = upper.substr(mark + 1);
  int number = 0;
  if (!registerText.empty() && (!WStringToInt(registerText, number) || number < 0 || number > 7)) return false;
  index = upper[mark] == L'V' ? number + 8 : number;
  valueText = upper.substr(0, mark);
  return true;
}

}  // namespace

bool CheckConstantText(const MemoryAreaManager& manager, std::wstring& text, int dataType) {
  RequireDataType(dataType);
  if (dataType == kDataTypeReal) {
    float value = 0;
    if (!ReadReal(text, value)) return false;
    FormatRealText(value, text);
    return true;
  }
  IntegerReading reading;
  if (!ReadInteger(manager, text, dataType, reading)) return false;
  text = CanonicalInteger(reading, dataType);
  return true;
}

bool ParseConstantValue(const MemoryAreaManager& manager, uint32_t& value, int dataType, const std::wstring& text) {
  RequireDataType(dataType);
  if (dataType == kDataTypeReal) {
    float real = 0;
    if (!ReadReal(text, real)) return false;
    value = FloatBits(real);
    return true;
  }
  IntegerReading reading;
  if (!ReadInteger(manager, text, dataType, reading)) return false;
  value = static_cast<uint32_t>(static_cast<uint64_t>(reading.value));
  return true;
}

bool FormatConstantValue(int dataType, const MemoryAreaManager& manager, uint32_t value, std::wstring& text) {
  RequireDataType(dataType);
  switch (dataType) {
    case kDataTypeBit:
    case kDataTypeUsint: text = Decimal(manager, value & 0xFFu); break;
    case kDataTypeByte: text = Hexadecimal(manager, value & 0xFFu, 2); break;
    case kDataTypeWord: text = Hexadecimal(manager, value & 0xFFFFu, 4); break;
    case kDataTypeDword: text = Hexadecimal(manager, value, 8); break;
    case kDataTypeSint: text = Decimal(manager, static_cast<int8_t>(value & 0xFFu)); break;
    case kDataTypeInt: text = Decimal(manager, static_cast<int16_t>(value & 0xFFFFu)); break;
    case kDataTypeDint: text = Decimal(manager, static_cast<int32_t>(value)); break;
    case kDataTypeUint: text = Decimal(manager, value & 0xFFFFu); break;
    case kDataTypeUdint: text = Decimal(manager, value); break;
    case kDataTypeReal: FormatRealText(BitsFloat(value), text); break;
  }
  return true;
}

bool CheckConstantOperand(const MemoryAreaManager& manager, int dataType, std::wstring& text) {
  RequireDataType(dataType);
  std::wstring valueText;
  int index = -1;
  if (!SplitIndexSuffix(manager, text, valueText, index)) return false;
  if (!CheckConstantText(manager, valueText, dataType)) return false;
  text = valueText + IndexSuffix(index);
  return true;
}

bool ParseConstantOperand(ConstantOperand& operand, const MemoryAreaManager& manager, int dataType,
                          const std::wstring& text) {
  RequireDataType(dataType);
  std::wstring valueText;
  ConstantOperand read;
  if (!SplitIndexSuffix(manager, text, valueText, read.index)) return false;
  if (!ParseConstantValue(manager, read.value, dataType, valueText)) return false;
  operand = read;
  return true;
}

bool FormatConstantOperand(const MemoryAreaManager& manager, const ConstantOperand& operand, int dataType,
                           std::wstring& text) {
  RequireDataType(dataType);
  if (operand.index < -1 || operand.index > 15) return false;
  if (operand.index != -1 && manager.FxMode == 0) return false;
  std::wstring valueText;
  if (!FormatConstantValue(dataType, manager, operand.value, valueText)) return false;
  text = valueText + IndexSuffix(operand.index);
  return true;
}

std::wstring FormatTypeRangeText(const MemoryAreaManager& manager, std::wstring& text, int dataType) {
  if (dataType < 0 || dataType > kDataTypeReal) throw ExceptionFormatError();
  if (dataType == kDataTypeReal) {
    text = L"REAL";
    return text;
  }
  const IntegerTypeRange& range = IntegerTypeRangeTable[dataType];
  const bool hexadecimal = dataType == kDataTypeByte || dataType == kDataTypeWord || dataType == kDataTypeDword;
  std::wstring low;
  std::wstring high;
  if (hexadecimal) {
    const std::wstring prefix = manager.PrefixAutoBase == 16 ? std::wstring() : manager.Prefix16;
    FormatInt64Text(16, true, ConstantDigitTable[dataType], L'0', range.Minimum, low);
    FormatInt64Text(16, true, ConstantDigitTable[dataType], L'0', range.Maximum, high);
    low = prefix + low;
    high = prefix + high;
  } else {
    const std::wstring prefix = DecimalPrefix(manager);
    low = prefix + std::to_wstring(range.Minimum);
    high = prefix + std::to_wstring(range.Maximum);
  }
  text = low + L" ~ " + high;
  return text;
}

}  // namespace Brenno
