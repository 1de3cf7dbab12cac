#include "core/env/data_type.h"

#include "core/env/exception_error.h"

namespace Brenno {

namespace {

const wchar_t* const kDataTypeWords[kDataTypeCount] = {
    L"Bit", L"Byte", L"Word", L"Dword", L"Sint", L"Int", L"Dint", L"Usint", L"Uint", L"Udint", L"Real",
};

}  // namespace

std::int64_t IntegerTypeMax(int type) {
  if (type < 0 || type >= kIntegerDataTypeCount) throw ExceptionLogicError();
  return IntegerTypeRangeTable[type].Maximum;
}

std::int64_t IntegerTypeMin(int type) {
  if (type < 0 || type >= kIntegerDataTypeCount) throw ExceptionLogicError();
  return IntegerTypeRangeTable[type].Minimum;
}

const wchar_t* DataTypeWord(int type) {
  if (type < 0 || type >= kDataTypeCount) return L"";
  return kDataTypeWords[type];
}

int DataTypeFromWord(const std::wstring& word) {
  for (int i = 0; i < kDataTypeCount; ++i) {
    if (word == kDataTypeWords[i]) return i;
  }
  return kDataTypeNone;
}

}  // namespace Brenno
