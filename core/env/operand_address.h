// Operand texts (I0.0, VB100, &VB100, *VD200, K4M10, D100Z1) and their conversions to and from
// the numeric OperandFields and the packed OperandWord, driven by the memory map of the PLC
// type. Every function is pure; a text or word that is no operand of the PLC type gives false.
#pragma once

#include <string>
#include <vector>

#include "core/env/memory_area_manager.h"
#include "core/env/operand_word.h"

namespace Brenno {

// The text form of an operand, split into its parts.
struct OperandAddress {
  int kind = kKindValue;  // kKindAddress "&", kKindValue, kKindPointer "*", kKindIndexed
  std::wstring prefix;    // upper case: region Name + access Name ("VB", "I", "M")
  std::wstring number;    // digits of the operand number as written
  std::wstring bit;       // digits after "."; empty without a bit part
  int groups = -1;        // digit-group count n of "K<n>" before the prefix (1..8); -1 absent
  int index = -1;         // -1 none, 0..7 Z0..Z7, 8..15 V0..V7

  bool operator==(const OperandAddress&) const = default;
};

// The five shapes an access can have, by its Width, Step and Offset codes (Bit or not Bit).
enum class AccessShape {
  None,  // any other combination: no operand matches the access
  A,     // Bit, Bit, Bit: bit-numbered (X17)
  B,     // Bit, not Bit, not Bit: byte.bit (I0.0)
  C,     // not Bit, Bit, Bit: bit-numbered start of a wider value (K4M10)
  D,     // not Bit, not Bit, Bit: like C with the start aligned to Step
  E,     // not Bit, not Bit, not Bit: byte-addressed values (VW100, D100)
};
AccessShape ShapeOfAccess(const MemoryAccess& access);

// Splits a text into tokens after turning a-z into A-Z: the kind mark ("&", "*" or empty), then
// runs of letters and of digits and the "." of a bit part; blanks and other characters are
// skipped; a missing number reads as "0". VB100 gives ["", "VB", "100"].
std::vector<std::wstring> TokenizeOperandText(const std::wstring& text);

// Reads the parts of an operand text. Order of the parts: digit groups, prefix and number,
// index register, bit part (D0Z1.3 scans, I0.0Z1 does not).
bool ScanOperandText(const std::wstring& text, OperandAddress& address);

// Writes the parts back as one text; false for a kind that is none of the four.
bool PrintOperandAddress(const OperandAddress& address, std::wstring& text);

// Whether the address's kind is in the region's Use, its prefix is the region and access name,
// and the kind admits the access width (address: Byte, pointer: Dword).
bool MatchOperandPrefix(const MemoryAccess& access, const OperandAddress& address, const MemoryRegion& region);

// The numeric position of an address on an access; false when the number, bit part, digit
// groups or index register do not fit the access's shape. The number (and bit part) must be a
// whole number of the region's radix: "X18" in an octal region is refused.
bool ComputeOperandOffset(const MemoryRegion& region, const MemoryAccess& access, const OperandAddress& address,
                          OperandFields& fields);

// Whether the position lies inside the region and is aligned for the access.
bool IsOperandInRange(const MemoryRegion& region, const MemoryAccess& access, const OperandFields& fields);

// The text parts of a numeric position on an access; false for an access of no shape.
bool BuildOperandAddress(const OperandFields& fields, const MemoryAccess& access, const MemoryRegion& region,
                         OperandAddress& address);

// The first region and, in it, the first access (file order) that the address fits.
bool MatchOperandText(OperandFields& fields, const MemoryAreaManager& manager, const OperandAddress& address);
// The first region and access that the numeric position fits, with its text parts.
bool MatchOperandWord(const OperandFields& fields, const MemoryAreaManager& manager, OperandAddress& address);

// Text -> word and word -> text through the steps above. A word with a kind code the layout does
// not define throws ExceptionLogicError; so does a position that does not fit the word.
bool OperandTextToWord(const std::wstring& text, const MemoryAreaManager& manager, OperandWord& word);
bool OperandWordToText(const MemoryAreaManager& manager, std::wstring& text, OperandWord word);

// Replaces the text by its one canonical form ("vb0100" -> "VB100"); false, text unchanged, when
// it is no operand of the PLC type.
bool NormalizeOperandText(const MemoryAreaManager& manager, std::wstring& text);

// The first and last address text of an access (I0.0 and I15.7 for 16 bytes of bits); both
// empty for an access of no shape.
void DescribeAccessRange(const MemoryRegion& region, const MemoryAccess& access, std::wstring& first,
                         std::wstring& last);

// The fixed value text of an address: the Value of the last marker of the access whose number
// and bit conditions hold, or an empty text. Always true.
bool FindMarkerValue(const OperandAddress& address, const MemoryRegion& region, const MemoryAccess& access,
                     std::wstring& value);

}  // namespace Brenno
