// Data type codes of operand values and the integer range of each code. The words are the
// values of the `Const` attribute of an operand slot in "ManagerFun.xml".
#pragma once

#include <cstdint>
#include <string>

namespace Brenno {

// The data type of an operand value; -1 (kDataTypeNone) stands for no type.
enum DataType : int {
  kDataTypeNone = -1,
  kDataTypeBit = 0,
  kDataTypeByte = 1,
  kDataTypeWord = 2,
  kDataTypeDword = 3,
  kDataTypeSint = 4,
  kDataTypeInt = 5,
  kDataTypeDint = 6,
  kDataTypeUsint = 7,
  kDataTypeUint = 8,
  kDataTypeUdint = 9,
  kDataTypeReal = 10,
};

constexpr int kDataTypeCount = 11;        // codes 0 .. 10
constexpr int kIntegerDataTypeCount = 10;  // codes 0 .. 9 have an integer range

struct IntegerTypeRange {
  std::int64_t Minimum;
  std::int64_t Maximum;
};

// {minimum, maximum} of the integer types 0 .. 9; "Real" (10) has no row.
inline constexpr IntegerTypeRange IntegerTypeRangeTable[kIntegerDataTypeCount] = {
    {0, 1},                          // Bit
    {0, 255},                        // Byte
    {0, 65535},                      // Word
    {0, 4294967295LL},               // Dword
    {-128, 127},                     // Sint
    {-32768, 32767},                 // Int
    {-2147483648LL, 2147483647LL},   // Dint
    {0, 255},                        // Usint
    {0, 65535},                      // Uint
    {0, 4294967295LL},               // Udint
};

// The maximum of an integer type 0 .. 9; any other type, "Real" included, throws
// ExceptionLogicError.
std::int64_t IntegerTypeMax(int type);

// The minimum of an integer type 0 .. 9; any other type throws ExceptionLogicError.
std::int64_t IntegerTypeMin(int type);

// The word of a type code ("Bit" .. "Real"); an empty text for any other code.
const wchar_t* DataTypeWord(int type);

// The code of a word, compared exactly (case-sensitive, whole); -1 when it is no type word.
int DataTypeFromWord(const std::wstring& word);

}  // namespace Brenno
