// The values of the data block dialog of the Modbus master configuration and the checks its
// OK button runs.
#pragma once

#include <optional>
#include <string>

namespace corvell {

struct DataBlockFields {
  std::wstring Name = L"BlockName";
  int FunctionIndex = 0;            // 0-7: functions 01, 02, 03, 04, 05, 06, 15, 16
  unsigned long long FirstAddress = 1;
  unsigned long long ReferenceStart = 0;
  unsigned long long Length = 1;

  // Write single coil (05) and write single register (06) move one item.
  static bool IsSingleItemFunction(int functionIndex) { return functionIndex == 4 || functionIndex == 5; }

  // The first refused value's message, in the order length, reference start, first address.
  std::optional<std::wstring> Check() const;
};

}  // namespace corvell
