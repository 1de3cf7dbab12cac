// Operand format texts: which operands an instruction operand position (or a table column)
// admits. A format is a sequence of fields, each ended by ":":
//
//   field 1   width letter T (Bit), B (Byte), W (Word), D (Dword), then flag letters
//             a (address), v (value), p (pointer), z (indexed), c (a constant is admitted)
//   field 2   "+" (only the listed regions) or "-" (all but the listed regions)
//   field 3.. one region item each: kind letters a v p z, width letters t b w d, the rest is the
//             region name
//
// There is one field or three and more ("Bv:", "Bv:-:Lv:"). The format-restricted conversions
// between operand texts and words, and the candidate lists and range texts for hints, are here.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/env/memory_area_manager.h"
#include "core/env/operand_address.h"
#include "core/env/operand_word.h"

namespace Brenno {

constexpr int kFormatConstant = 0x10;  // flag c

struct OperandFormatItem {
  int flags = 0;  // kind bits
  int width = kWidthBit;
  std::wstring name;  // a region Name

  bool operator==(const OperandFormatItem&) const = default;
};

struct OperandFormat {
  int flags = 0;  // kind bits and kFormatConstant
  int width = kWidthBit;
  int sign = 0;   // 0 without items, else L'+' or L'-'
  std::vector<OperandFormatItem> items;
};

// One region and access a format admits, with the kinds it admits there.
struct OperandCandidate {
  int flags = 0;
  const MemoryRegion* region = nullptr;
  const MemoryAccess* access = nullptr;
};

// The whole grammar; a malformed text throws ExceptionFormatError. Always true otherwise.
bool ParseOperandFormat(OperandFormat& format, const std::wstring& text);
// The flags of field 1 (its width letter is not checked) and the width of field 1 (its flags are
// not checked). Both throw ExceptionFormatError for a malformed field structure.
int ParseOperandFormatFlags(const std::wstring& text);
int ParseOperandFormatWidth(const std::wstring& text);

// The format rule on a text address: prefix of the region and access, kind in the region's Use
// and in the flags, and the kind fits the access width against the position width.
bool MatchOperandPrefixWithFormat(const MemoryAccess& access, const OperandAddress& address,
                                  const MemoryRegion& region, int flags, int width);

bool MatchOperandWordWithFormat(const std::wstring& format, const MemoryAreaManager& manager,
                                const OperandFields& fields, OperandAddress& address);
bool MatchOperandTextWithFormat(const std::wstring& format, const MemoryAreaManager& manager,
                                const OperandAddress& address, OperandFields& fields,
                                const MemoryRegion** region = nullptr, const MemoryAccess** access = nullptr);
// MatchOperandTextWithFormat, then the fixed value text of the address found.
bool MatchOperandMarker(const std::wstring& format, const MemoryAreaManager& manager, const OperandAddress& address,
                        OperandFields& fields, std::wstring& value);

// Text -> word and word -> text restricted by the format.
bool ParseOperandText(const std::wstring& text, const MemoryAreaManager& manager, const std::wstring& format,
                      OperandWord& word);
bool FormatOperandWord(const MemoryAreaManager& manager, const std::wstring& format, OperandWord word,
                       std::wstring& text);

// Every region and access the format admits, in map order (regions of one name by their start).
// The candidates point into the manager.
bool CollectOperandCandidates(const std::wstring& format, const MemoryAreaManager& manager,
                              std::vector<OperandCandidate>& candidates);
// The candidates regrouped: values (with indexed) first, then addresses, then pointers.
bool GroupOperandCandidates(const MemoryAreaManager& manager, const std::wstring& format,
                            std::vector<OperandCandidate>& candidates);

// The value range texts of one candidate; ListOperandFormatRanges takes the whole access
// ("VB0 ~ VB8191") unless it is given other texts for it.
using CandidateValueTexts = std::function<std::vector<std::wstring>(const OperandCandidate&)>;
// The whole access of a candidate, each end after `mark` ("&VB0 ~ &VB8191" for mark "&").
std::wstring DescribeCandidateRange(const OperandCandidate& candidate, const wchar_t* mark = L"");

// Range texts for hints: value ranges ("VB0 ~ VB8191", " (Z)" when indexed too), address ranges
// with "&", pointer ranges with "*", then the constant range of the data type when the format
// admits constants.
bool ListOperandFormatRanges(int constantDataType, const std::wstring& format, const MemoryAreaManager& manager,
                             std::vector<std::wstring>& texts, const CandidateValueTexts& values = {});
bool DescribeOperandFormat(std::wstring& text, const std::wstring& format, const MemoryAreaManager& manager,
                           const std::wstring& separator, int constantDataType);

}  // namespace Brenno
