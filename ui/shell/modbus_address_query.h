// The MODBUS address of an operand: for an operand text of a width (BOOL, BYTE, WORD, DWORD) the
// Modbus numbers of the four 16-bit rows starting at the group that holds the operand, and the
// bits of those 64 the operand covers. Regions of the memory map that lie in the discrete
// inputs (1x), coils (0x), input registers (3x) or holding registers (4x) have such numbers.
// Plain C++.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/env/memory_area_manager.h"

namespace Brenno {

inline constexpr int kModbusQueryRows = 4;
inline constexpr int kModbusQueryColumns = 16;

// The operand format of a width list position: "Tv:", "Bv:", "Wv:", "Dv:"; null outside 0..3.
const wchar_t* ModbusQueryFormat(int widthPosition);

struct ModbusAddressView {
  bool Valid = false;
  // Row labels; all empty when not valid.
  std::array<std::wstring, kModbusQueryRows> RowLabels;
  // Bit 16 * r + c stands for cell (r, c): set when the operand covers that bit.
  uint64_t Covered = 0;

  bool IsCovered(int row, int column) const { return (Covered >> (kModbusQueryColumns * row + column) & 1) != 0; }
};

// A Modbus number written with at least six digits, its first character replaced by the table
// digit ('0' coils, '1' discrete inputs, '3' input registers, '4' holding registers).
std::wstring FormatModbusNumber(int64_t number, wchar_t table);

// The display for the operand; not valid (empty labels, no bit) for an unknown width, an empty
// or malformed operand, one that fits no region and access of the format, or a region without a
// Modbus table.
ModbusAddressView ComputeModbusAddressView(const MemoryAreaManager& manager, int widthPosition,
                                           const std::wstring& operandText);

}  // namespace Brenno
