// The memory map of one PLC type, read from the type's "ManagerVar.xml": the operand regions
// (with the region of constants and the region of local variables), how an operand of each
// region is spelled, the widths it can be read with, where it lies in PLC memory, which Modbus
// table it maps to and fixed value texts of some addresses. Every operand and constant
// conversion takes a manager; a loaded manager is never changed, only copied (copies are deep
// and independent).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Brenno {

// Width codes of an access ("Bit", "Byte", "Word", "Dword" in the file).
constexpr int kWidthBit = 0;
constexpr int kWidthByte = 1;
constexpr int kWidthWord = 2;
constexpr int kWidthDword = 3;

// Area codes of a region: the Modbus table it maps to, or the constant and local regions.
constexpr int kAreaDi = 0;     // discrete inputs, MODBUS 1x
constexpr int kAreaDo = 1;     // coils, MODBUS 0x
constexpr int kAreaRi = 2;     // input registers, MODBUS 3x
constexpr int kAreaRo = 3;     // holding registers, MODBUS 4x
constexpr int kAreaConst = 4;
constexpr int kAreaLocal = 5;

// Operand kinds; a region's `Use` is a set of them (letters "A", "V", "P", "Z" in the file).
constexpr int kKindAddress = 1;  // "&VB100"
constexpr int kKindValue = 2;    // "VB100"
constexpr int kKindPointer = 4;  // "*VD200"
constexpr int kKindIndexed = 8;  // "D100Z1"

// A fixed value text for the numbers Begin <= n < End and bits BitBegin <= m < BitEnd; -1 in
// either field of a pair drops that condition.
struct MemoryMarker {
  int32_t Begin = 0;
  int32_t End = 0;
  int32_t BitBegin = 0;
  int32_t BitEnd = 0;
  std::wstring Value;
};

// One way of reading a region: the letters after the region name, the operand width, the
// alignment / bit-counting unit and the unit in which the operand number counts.
struct MemoryAccess {
  std::wstring Name;
  int32_t Width = kWidthBit;
  int32_t Step = kWidthBit;
  int32_t Offset = kWidthBit;
  std::vector<MemoryMarker> Markers;
};

struct MemoryRegion {
  int32_t Slot = 0;           // region number in the operand word
  std::wstring Name;          // first letters of every operand prefix of the region
  int32_t Area = kAreaDi;
  int32_t AreaBegin = 0;      // place in PLC memory in bytes, end exclusive
  int32_t AreaEnd = 0;
  int32_t Use = 0;            // admitted operand kinds
  int32_t GroupEnable = 0;    // wider accesses of a bit-numbered region take "K<n>" digit groups
  int32_t OffsetBegin = 0;    // the operand number of byte 0 (or bit 0)
  int32_t OffsetBase = 0;     // radix of the operand number (8, 10, 16)
  int32_t OffsetLength = 0;   // printed digit count, 0: no leading zeros
  int32_t BitOffsetBegin = 0;
  int32_t BitOffsetBase = 0;
  int32_t BitOffsetLength = 0;
  std::wstring Comment;
  std::vector<MemoryAccess> Accesses;

  // Size of the region in bytes (AreaEnd - AreaBegin, computed without overflow).
  int64_t Size() const { return static_cast<int64_t>(AreaEnd) - static_cast<int64_t>(AreaBegin); }
};

struct MemoryAreaManager {
  int32_t ConstSlot = -1;   // Slot of the single Const region; -1 before a successful read
  int32_t LocalSlot = -1;   // Slot of the single Local region
  int32_t FxMode = 0;       // 0 or 1: layout of the operand word, index suffix of constants
  std::wstring Prefix8;     // radix prefixes of constants; empty: that radix has none
  std::wstring Prefix10;
  std::wstring Prefix16;
  int32_t PrefixAutoBase = 0;  // radix of a constant written without prefix (8, 10, 16; 0: none)
  std::vector<MemoryRegion> Regions;  // file order; every lookup takes the first that fits
  std::wstring ModbusAddressList;     // built by BuildModbusAddressMap
};

// Bits / bytes of a width code: Bit 1/0, Byte 8/1, Word 16/2, Dword 32/4. Any other code throws
// ExceptionLogicError.
int WidthBits(int width);
int WidthBytes(int width);

// Exactly one region must have Area Local and exactly one Area Const; their slots become
// LocalSlot and ConstSlot. Otherwise throws the bare ExceptionParseXmlError.
void ResolveSpecialRegions(MemoryAreaManager& manager);

// Rebuilds ModbusAddressList: per region with AreaBegin < AreaEnd its name, Modbus table and
// memory range, then the first and last address of every access.
void BuildModbusAddressMap(MemoryAreaManager& manager);

}  // namespace Brenno
