#include "sysblock/model/modules/module_types.h"

#include <array>

namespace corvell {

namespace {

constexpr ModuleKind D = ModuleKind::Digital;
constexpr ModuleKind A = ModuleKind::Analog;

// Record lengths and CRC coverage are part of the page format the PLC reads: several types
// leave their last parameter bytes outside the CRC, and records already written rely on it.
constexpr std::array<ModuleTypeInfo, 24> kTypes = {{
    {0, L"Drovenk", D, 14, 0, 9, 0},
    {1, L"Parlune", D, 16, 0, 15, 12},
    {2, L"Voskel", D, 0, 8, 17, 10},  // force masks 11-14 outside the CRC
    {3, L"Kavrin", A, 0, 4, 66, 63},
    {4, L"Istrel", A, 8, 0, 178, 175},
    {5, L"Oskavel", A, 6, 0, 89, 85},  // cold-junction byte 86 outside the CRC
    {6, L"Nuvask", A, 4, 0, 62, 59},
    {7, L"Belquin", D, 0, 16, 17, 14},
    {8, L"Dorvane", D, 0, 16, 17, 14},
    {9, L"Pruvel", A, 4, 0, 94, 91},
    {10, L"Quenlow", A, 8, 0, 178, 175},
    {11, L"Lumbrek", A, 0, 4, 66, 63},
    {12, L"Rastok", A, 8, 0, 178, 175},
    {13, L"Fennick", D, 32, 0, 21, 18},
    {14, L"Glostra", D, 0, 32, 25, 22},
    {15, L"Uvendar", A, 4, 2, 133, 130},
    {16, L"Solvind", A, 0, 8, 51, 48},
    {17, L"Trevasse", A, 0, 6, 41, 38},
    {18, L"Jorlith", A, 8, 0, 178, 175},
    {19, L"Mordale", A, 0, 4, 66, 63},
    {20, L"Hulvern", D, 8, 8, 16, 12},   // output force second mask (13) outside the CRC
    {21, L"Varnock", A, 12, 0, 89, 85},  // cold-junction byte 86 outside the CRC
    {22, L"Weskarn", A, 1, 0, 10, 7},
    {23, L"Yolvask", A, 4, 0, 13, 9},    // channel 4's encoding (10) outside the CRC
}};

}  // namespace

const ModuleTypeInfo* FindModuleType(int type) {
  if (type < 0 || type > kMaxModuleType) return nullptr;
  return &kTypes[static_cast<size_t>(type)];
}

const wchar_t* ModuleModelName(int type) {
  const ModuleTypeInfo* info = FindModuleType(type);
  return info ? info->model : L"";
}

}  // namespace corvell
