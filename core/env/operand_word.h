// The numeric form of an operand (OperandFields) and its packed 32-bit form (OperandWord), which
// the binary image stores and PLC commands carry. The bit layout depends on the memory map's
// FxMode (bit 0 is the least significant):
//
//   FxMode 0: kind code 0-3 (0 address, 1 value, 2 pointer), slot 4-7, width 8-11, bit 12-15,
//             byte 16-31. Group and index are not stored.
//   FxMode 1: kind code 0-1 (0 value, 1 indexed), width 2-3, group 4-6, slot 7-11,
//             index 12-15, bit 16-18, byte 19-31 (byte positions below 8192 only).
#pragma once

#include <cstdint>

#include "core/env/memory_area_manager.h"

namespace Brenno {

using OperandWord = uint32_t;

struct OperandFields {
  int32_t kind = 0;   // kKindAddress, kKindValue, kKindPointer or kKindIndexed
  int32_t slot = 0;   // the region's Slot
  int32_t width = 0;  // width code of the access
  int32_t byte = 0;   // byte position inside the region (0 = AreaBegin)
  int32_t bit = 0;    // 0..7 inside that byte
  int32_t group = 0;  // digit-group count minus 1 (0 when absent)
  int32_t index = 0;  // index register 0..15 (0 unless the kind is indexed)

  bool operator==(const OperandFields&) const = default;
};

// Packs the fields in the manager's layout. Throws ExceptionLogicError for a kind the layout has
// no code for, for an FxMode other than 0 and 1, and for a field that does not fit its bits
// (a byte position of 65536 in FxMode 0 or 8192 in FxMode 1, for instance): such a word would
// name another address than the one meant.
void PackOperandWord(OperandWord& word, const MemoryAreaManager& manager, const OperandFields& fields);

// Reads the fields back. Throws ExceptionLogicError for a kind code the layout does not define
// (3 in FxMode 0, 2 and 3 in FxMode 1) and for an FxMode other than 0 and 1. In FxMode 0 group
// and index come back as 0.
void UnpackOperandWord(OperandWord word, const MemoryAreaManager& manager, OperandFields& fields);

// The same layouts with the kind code copied unmapped into and out of fields.kind, for callers
// that interpret the code themselves. Packing refuses fields that do not fit as above.
void PackOperandWordRaw(OperandWord& word, const MemoryAreaManager& manager, const OperandFields& fields);
void UnpackOperandWordRaw(OperandWord word, const MemoryAreaManager& manager, OperandFields& fields);

}  // namespace Brenno
