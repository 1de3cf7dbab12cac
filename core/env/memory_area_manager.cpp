#include "core/env/memory_area_manager.h"

#include "core/env/exception_error.h"
#include "core/env/operand_address.h"

namespace Brenno {

int WidthBits(int width) {
  switch (width) {
    case kWidthBit: return 1;
    case kWidthByte: return 8;
    case kWidthWord: return 16;
    case kWidthDword: return 32;
    default: throw ExceptionLogicError();
  }
}

int WidthBytes(int width) {
  switch (width) {
    case kWidthBit: return 0;
    case kWidthByte: return 1;
    case kWidthWord: return 2;
    case kWidthDword: return 4;
    default: throw ExceptionLogicError();
  }
}

namespace {

// The slot of the one region of the area; none or several is a fault of the file.
int32_t SingleSlotOf(const MemoryAreaManager& manager, int area) {
  int count = 0;
  int32_t slot = -1;
  for (const MemoryRegion& region : manager.Regions) {
    if (region.Area == area) {
      ++count;
      slot = region.Slot;
    }
  }
  if (count != 1) throw ExceptionParseXmlError();
  return slot;
}

const wchar_t* ModbusTableText(int area) {
  switch (area) {
    case kAreaDi: return L"  MODBUS 1x";
    case kAreaDo: return L"  MODBUS 0x";
    case kAreaRi: return L"  MODBUS 3x";
    case kAreaRo: return L"  MODBUS 4x";
    default: return L"";
  }
}

const wchar_t* WidthText(int width) {
  switch (width) {
    case kWidthBit: return L" BOOL\t\t";
    case kWidthByte: return L" BYTE\t\t";
    case kWidthWord: return L" WORD\t\t";
    case kWidthDword: return L" DWORD\t\t";
    default: return L"";
  }
}

}  // namespace

void ResolveSpecialRegions(MemoryAreaManager& manager) {
  manager.LocalSlot = SingleSlotOf(manager, kAreaLocal);
  manager.ConstSlot = SingleSlotOf(manager, kAreaConst);
}

void BuildModbusAddressMap(MemoryAreaManager& manager) {
  std::wstring list;
  for (const MemoryRegion& region : manager.Regions) {
    if (region.AreaBegin >= region.AreaEnd) continue;
    list += L"\"" + region.Name + L"\"";
    list += ModbusTableText(region.Area);
    list += L" (" + std::to_wstring(region.AreaBegin) + L" ~ " + std::to_wstring(region.AreaEnd - 1) + L")\r\n";
    list += L"----------------------------------------\r\n";
    for (const MemoryAccess& access : region.Accesses) {
      std::wstring first;
      std::wstring last;
      DescribeAccessRange(region, access, first, last);
      list += WidthText(access.Width) + first + L" ~ " + last + L"\r\n";
    }
    list += L"\r\n";
  }
  manager.ModbusAddressList = list;
}

}  // namespace Brenno
