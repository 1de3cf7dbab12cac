#include "ui/shell/modbus_address_query.h"

#include <algorithm>

#include "core/env/exception_error.h"
#include "core/env/operand_address.h"
#include "core/env/operand_format.h"

namespace Brenno {

namespace {

// The largest area end among the regions of a Modbus table (0 when there is none): the bit
// tables' numbering of register bits continues after it.
int64_t LargestAreaEnd(const MemoryAreaManager& manager, int area) {
  int64_t end = 0;
  for (const MemoryRegion& region : manager.Regions) {
    if (region.Area == area) end = std::max<int64_t>(end, region.AreaEnd);
  }
  return end;
}

int64_t FloorTo16(int64_t value) { return value - (value % 16 + 16) % 16; }

}  // namespace

const wchar_t* ModbusQueryFormat(int widthPosition) {
  static const wchar_t* const kFormats[] = {L"Tv:", L"Bv:", L"Wv:", L"Dv:"};
  if (widthPosition < 0 || widthPosition > 3) return nullptr;
  return kFormats[widthPosition];
}

std::wstring FormatModbusNumber(int64_t number, wchar_t table) {
  std::wstring text = std::to_wstring(number);
  if (text.size() < 6) text.insert(0, 6 - text.size(), L'0');
  text[0] = table;
  return text;
}

ModbusAddressView ComputeModbusAddressView(const MemoryAreaManager& manager, int widthPosition,
                                           const std::wstring& operandText) {
  ModbusAddressView view;
  const wchar_t* format = ModbusQueryFormat(widthPosition);
  if (format == nullptr || operandText.empty()) return view;
  OperandAddress address;
  if (!ScanOperandText(operandText, address)) return view;
  OperandFields fields;
  const MemoryRegion* region = nullptr;
  const MemoryAccess* access = nullptr;
  try {
    if (!MatchOperandTextWithFormat(format, manager, address, fields, &region, &access)) return view;
  } catch (const ExceptionError&) {
    return view;
  }
  if (region == nullptr || access == nullptr) return view;
  const int area = region->Area;
  if (area != kAreaDi && area != kAreaDo && area != kAreaRi && area != kAreaRo) return view;
  if (access->Width < kWidthBit || access->Width > kWidthDword) return view;

  const int64_t b = (static_cast<int64_t>(region->AreaBegin) + fields.byte) * 8 + fields.bit;
  if (b < 0) return view;
  int64_t n = WidthBits(access->Width);
  if (region->GroupEnable != 0 && access->Width != kWidthBit && access->Offset == kWidthBit) {
    n = 4 * (static_cast<int64_t>(fields.group) + 1);
  }
  const int64_t g = FloorTo16(b);
  const bool bitAccess = access->Width == kWidthBit;
  for (int r = 0; r < kModbusQueryRows; ++r) {
    std::wstring& label = view.RowLabels[static_cast<size_t>(r)];
    switch (area) {
      case kAreaDi: label = FormatModbusNumber(g + 16 * r + 1, L'1'); break;
      case kAreaDo: label = FormatModbusNumber(g + 16 * r + 1, L'0'); break;
      case kAreaRi:
        label = FormatModbusNumber(g / 16 + r + 1, L'3');
        if (bitAccess) {
          label += L":" + FormatModbusNumber(FloorTo16(b + LargestAreaEnd(manager, kAreaDi) * 8) + 16 * r + 1, L'1');
        }
        break;
      case kAreaRo:
        label = FormatModbusNumber(g / 16 + r + 1, L'4');
        if (bitAccess) {
          label += L":" + FormatModbusNumber(FloorTo16(b + LargestAreaEnd(manager, kAreaDo) * 8) + 16 * r + 1, L'0');
        }
        break;
    }
  }
  const int64_t o = b % 16;
  for (int64_t k = o; k < o + n && k < kModbusQueryRows * kModbusQueryColumns; ++k) view.Covered |= uint64_t{1} << k;
  view.Valid = true;
  return view;
}

}  // namespace Brenno
