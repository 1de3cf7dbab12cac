#include "core/env/operand_format.h"

#include <algorithm>

#include "core/env/constant.h"
#include "core/env/exception_error.h"
#include "core/env/utilities.h"

namespace Brenno {
namespace {

// The fields of a format text, each ended by ":"; what follows the last ":" is ignored. One
// field, or three and more, none of them empty.
std::vector<std::wstring> SplitFormatFields(const std::wstring& text) {
  std::vector<std::wstring> fields;
  size_t begin = 0;
  for (size_t colon = text.find(L':'); colon != std::wstring::npos; colon = text.find(L':', begin)) {
    fields.push_back(text.substr(begin, colon - begin));
    begin = colon + 1;
  }
  if (fields.empty() || fields.size() == 2) throw ExceptionFormatError();
  for (const std::wstring& field : fields) {
    if (field.empty()) throw ExceptionFormatError();
  }
  return fields;
}

int WidthOfLetter(wchar_t letter) {
  switch (letter) {
    case L'T': return kWidthBit;
    case L'B': return kWidthByte;
    case L'W': return kWidthWord;
    case L'D': return kWidthDword;
    default: throw ExceptionFormatError();
  }
}

int FlagsOfField(const std::wstring& field) {
  int flags = 0;
  for (size_t i = 1; i < field.size(); ++i) {
    switch (field[i]) {
      case L'a': flags |= kKindAddress; break;
      case L'v': flags |= kKindValue; break;
      case L'p': flags |= kKindPointer; break;
      case L'z': flags |= kKindIndexed; break;
      case L'c': flags |= kFormatConstant; break;
      default: throw ExceptionFormatError();
    }
  }
  return flags;
}

OperandFormat ParseFormat(const std::wstring& text) {
  OperandFormat format;
  ParseOperandFormat(format, text);
  return format;
}

bool KindInUse(int kind, int use) {
  return (kind == kKindAddress || kind == kKindValue || kind == kKindPointer || kind == kKindIndexed) &&
         (use & kind) == kind;
}

// The format rule: an operand of this kind on an access of width accessWidth may stand at a
// position of width formatWidth admitting these flags.
bool FormatRuleHolds(int kind, int use, int flags, int accessWidth, int formatWidth) {
  if (!KindInUse(kind, use) || (flags & kind) == 0) return false;
  switch (kind) {
    case kKindAddress: return accessWidth == kWidthByte && formatWidth == kWidthDword;
    case kKindValue: return accessWidth == formatWidth;
    case kKindPointer: return accessWidth == kWidthDword && formatWidth != kWidthBit;
    case kKindIndexed: return accessWidth == formatWidth;
    default: return false;
  }
}

bool ItemApplies(const OperandFormatItem& item, const MemoryRegion& region, const MemoryAccess& access) {
  return item.name == region.Name && item.width == access.Width;
}

bool TextAdmitted(const MemoryRegion& region, const MemoryAccess& access, const OperandAddress& address, int flags,
                  int width, OperandFields& fields) {
  OperandFields found;
  if (!MatchOperandPrefixWithFormat(access, address, region, flags, width) ||
      !ComputeOperandOffset(region, access, address, found) || !IsOperandInRange(region, access, found)) {
    return false;
  }
  fields = found;
  return true;
}

bool WordAdmitted(const MemoryRegion& region, const MemoryAccess& access, const OperandFields& fields, int flags,
                  int width, OperandAddress& address) {
  return fields.slot == region.Slot && fields.width == access.Width &&
         FormatRuleHolds(fields.kind, region.Use, flags, access.Width, width) &&
         IsOperandInRange(region, access, fields) && BuildOperandAddress(fields, access, region, address);
}

// Visits every region and access in map order with the format's item rules: `admits(flags,
// width)` tells whether the operand passes with those flags and width. Returns the region and
// access of the match, or nulls.
template <typename Admits>
bool FindWithFormat(const OperandFormat& format, const MemoryAreaManager& manager, Admits admits,
                    const MemoryRegion** foundRegion, const MemoryAccess** foundAccess) {
  for (const MemoryRegion& region : manager.Regions) {
    for (const MemoryAccess& access : region.Accesses) {
      bool matched = false;
      if (format.sign == 0) {
        matched = admits(region, access, format.flags, format.width);
      } else if (format.sign == L'+') {
        for (const OperandFormatItem& item : format.items) {
          if (ItemApplies(item, region, access) && admits(region, access, item.flags, item.width)) {
            matched = true;
            break;
          }
        }
      } else {
        for (const OperandFormatItem& item : format.items) {
          if (ItemApplies(item, region, access) && admits(region, access, item.flags, item.width)) return false;
        }
        matched = admits(region, access, format.flags, format.width);
      }
      if (matched) {
        if (foundRegion != nullptr) *foundRegion = &region;
        if (foundAccess != nullptr) *foundAccess = &access;
        return true;
      }
    }
  }
  return false;
}

// Kinds the format admits on one access without items (also the base of the "-" form).
int PlainCandidateFlags(int use, int formatFlags, int accessWidth, int formatWidth) {
  const int f = use & formatFlags;
  int flags = 0;
  if ((f & kKindAddress) != 0 && accessWidth == kWidthByte && formatWidth == kWidthDword) flags |= kKindAddress;
  if ((f & kKindValue) != 0 && accessWidth == formatWidth) flags |= kKindValue;
  if ((f & kKindPointer) != 0 && accessWidth == kWidthDword && formatWidth != kWidthBit) flags |= kKindPointer;
  if ((f & kKindIndexed) != 0 && accessWidth == formatWidth) flags |= kKindIndexed;
  return flags;
}

// Kinds an applying item lists on one access (admitted with "+", removed with "-").
int ItemCandidateFlags(int use, int itemFlags, int accessWidth) {
  const int f = use & itemFlags;
  int flags = 0;
  if ((f & kKindValue) != 0) flags |= kKindValue;
  if ((f & kKindPointer) != 0 && accessWidth == kWidthDword) flags |= kKindPointer;
  if ((f & kKindIndexed) != 0) flags |= kKindIndexed;
  return flags;
}

}  // namespace

bool ParseOperandFormat(OperandFormat& format, const std::wstring& text) {
  format = OperandFormat();
  const std::vector<std::wstring> fields = SplitFormatFields(text);
  OperandFormat parsed;
  parsed.width = WidthOfLetter(fields[0][0]);
  parsed.flags = FlagsOfField(fields[0]);
  if (fields.size() >= 3) {
    if (fields[1][0] != L'+' && fields[1][0] != L'-') throw ExceptionFormatError();
    parsed.sign = fields[1][0];
    for (size_t i = 2; i < fields.size(); ++i) {
      OperandFormatItem item;
      item.width = parsed.width;
      for (wchar_t c : fields[i]) {
        switch (c) {
          case L'a': item.flags |= kKindAddress; break;
          case L'v': item.flags |= kKindValue; break;
          case L'p': item.flags |= kKindPointer; break;
          case L'z': item.flags |= kKindIndexed; break;
          case L't': item.width = kWidthBit; break;
          case L'b': item.width = kWidthByte; break;
          case L'w': item.width = kWidthWord; break;
          case L'd': item.width = kWidthDword; break;
          default: item.name += c; break;
        }
      }
      parsed.items.push_back(std::move(item));
    }
  }
  format = std::move(parsed);
  return true;
}

int ParseOperandFormatFlags(const std::wstring& text) {
  return FlagsOfField(SplitFormatFields(text)[0]);
}

int ParseOperandFormatWidth(const std::wstring& text) {
  return WidthOfLetter(SplitFormatFields(text)[0][0]);
}

bool MatchOperandPrefixWithFormat(const MemoryAccess& access, const OperandAddress& address,
                                  const MemoryRegion& region, int flags, int width) {
  return address.prefix == region.Name + access.Name &&
         FormatRuleHolds(address.kind, region.Use, flags, access.Width, width);
}

bool MatchOperandWordWithFormat(const std::wstring& format, const MemoryAreaManager& manager,
                                const OperandFields& fields, OperandAddress& address) {
  const OperandFormat parsed = ParseFormat(format);
  OperandAddress built;
  auto admits = [&](const MemoryRegion& region, const MemoryAccess& access, int flags, int width) {
    return WordAdmitted(region, access, fields, flags, width, built);
  };
  if (!FindWithFormat(parsed, manager, admits, nullptr, nullptr)) return false;
  address = built;
  return true;
}

bool MatchOperandTextWithFormat(const std::wstring& format, const MemoryAreaManager& manager,
                                const OperandAddress& address, OperandFields& fields, const MemoryRegion** region,
                                const MemoryAccess** access) {
  const OperandFormat parsed = ParseFormat(format);
  OperandFields found;
  auto admits = [&](const MemoryRegion& r, const MemoryAccess& a, int flags, int width) {
    return TextAdmitted(r, a, address, flags, width, found);
  };
  const MemoryRegion* foundRegion = nullptr;
  const MemoryAccess* foundAccess = nullptr;
  if (!FindWithFormat(parsed, manager, admits, &foundRegion, &foundAccess)) return false;
  fields = found;
  if (region != nullptr) *region = foundRegion;
  if (access != nullptr) *access = foundAccess;
  return true;
}

bool MatchOperandMarker(const std::wstring& format, const MemoryAreaManager& manager, const OperandAddress& address,
                        OperandFields& fields, std::wstring& value) {
  const MemoryRegion* region = nullptr;
  const MemoryAccess* access = nullptr;
  if (!MatchOperandTextWithFormat(format, manager, address, fields, &region, &access)) return false;
  return FindMarkerValue(address, *region, *access, value);
}

bool ParseOperandText(const std::wstring& text, const MemoryAreaManager& manager, const std::wstring& format,
                      OperandWord& word) {
  OperandAddress address;
  OperandFields fields;
  if (!ScanOperandText(text, address) || !MatchOperandTextWithFormat(format, manager, address, fields)) {
    return false;
  }
  PackOperandWord(word, manager, fields);
  return true;
}

bool FormatOperandWord(const MemoryAreaManager& manager, const std::wstring& format, OperandWord word,
                       std::wstring& text) {
  OperandFields fields;
  UnpackOperandWord(word, manager, fields);
  OperandAddress address;
  return MatchOperandWordWithFormat(format, manager, fields, address) && PrintOperandAddress(address, text);
}

bool CollectOperandCandidates(const std::wstring& format, const MemoryAreaManager& manager,
                              std::vector<OperandCandidate>& candidates) {
  const OperandFormat parsed = ParseFormat(format);
  candidates.clear();
  for (const MemoryRegion& region : manager.Regions) {
    for (const MemoryAccess& access : region.Accesses) {
      if (parsed.sign == L'+') {
        for (const OperandFormatItem& item : parsed.items) {
          if (!ItemApplies(item, region, access)) continue;
          const int flags = ItemCandidateFlags(region.Use, item.flags, access.Width);
          if (flags != 0) candidates.push_back({flags, &region, &access});
        }
        continue;
      }
      int flags = PlainCandidateFlags(region.Use, parsed.flags, access.Width, parsed.width);
      if (parsed.sign == L'-') {
        for (const OperandFormatItem& item : parsed.items) {
          if (ItemApplies(item, region, access)) flags &= ~ItemCandidateFlags(region.Use, item.flags, access.Width);
        }
      }
      if (flags != 0) candidates.push_back({flags, &region, &access});
    }
  }
  // Regions of one name follow one another by their start, at the place of the first of them: a
  // map may list a later region of a name first so that its addresses are found there first.
  auto firstOfName = [&manager](const MemoryRegion* region) {
    for (std::size_t k = 0; k < manager.Regions.size(); ++k) {
      if (manager.Regions[k].Name == region->Name) return k;
    }
    return manager.Regions.size();
  };
  std::stable_sort(candidates.begin(), candidates.end(),
                   [&firstOfName](const OperandCandidate& a, const OperandCandidate& b) {
                     const std::size_t nameA = firstOfName(a.region);
                     const std::size_t nameB = firstOfName(b.region);
                     if (nameA != nameB) return nameA < nameB;
                     return a.region->AreaBegin < b.region->AreaBegin;
                   });
  return true;
}

bool GroupOperandCandidates(const MemoryAreaManager& manager, const std::wstring& format,
                            std::vector<OperandCandidate>& candidates) {
  std::vector<OperandCandidate> all;
  CollectOperandCandidates(format, manager, all);
  std::vector<OperandCandidate> grouped;
  for (const OperandCandidate& candidate : all) {
    if ((candidate.flags & kKindValue) != 0) {
      grouped.push_back({candidate.flags & (kKindValue | kKindIndexed), candidate.region, candidate.access});
    }
  }
  for (const OperandCandidate& candidate : all) {
    if ((candidate.flags & kKindAddress) != 0) grouped.push_back({kKindAddress, candidate.region, candidate.access});
  }
  for (const OperandCandidate& candidate : all) {
    if ((candidate.flags & kKindPointer) != 0) grouped.push_back({kKindPointer, candidate.region, candidate.access});
  }
  candidates = std::move(grouped);
  return true;
}

std::wstring DescribeCandidateRange(const OperandCandidate& candidate, const wchar_t* mark) {
  std::wstring first;
  std::wstring last;
  DescribeAccessRange(*candidate.region, *candidate.access, first, last);
  return mark + first + L" ~ " + mark + last;
}

bool ListOperandFormatRanges(int constantDataType, const std::wstring& format, const MemoryAreaManager& manager,
                             std::vector<std::wstring>& texts, const CandidateValueTexts& values) {
  const int formatFlags = ParseOperandFormatFlags(format);
  std::vector<OperandCandidate> candidates;
  CollectOperandCandidates(format, manager, candidates);
  std::vector<std::wstring> out;
  for (const OperandCandidate& candidate : candidates) {
    if ((candidate.flags & kKindValue) == 0) continue;
    const std::wstring mark = (candidate.flags & kKindIndexed) != 0 ? L" (Z)" : L"";
    if (!values) {
      out.push_back(DescribeCandidateRange(candidate) + mark);
      continue;
    }
    for (const std::wstring& text : values(candidate)) out.push_back(text + mark);
  }
  for (const OperandCandidate& candidate : candidates) {
    if ((candidate.flags & kKindAddress) == 0) continue;
    out.push_back(DescribeCandidateRange(candidate, L"&"));
  }
  for (const OperandCandidate& candidate : candidates) {
    if ((candidate.flags & kKindPointer) == 0) continue;
    out.push_back(DescribeCandidateRange(candidate, L"*"));
  }
  if ((formatFlags & kFormatConstant) != 0) {
    std::wstring range;
    out.push_back(FormatTypeRangeText(manager, range, constantDataType));
  }
  texts = std::move(out);
  return true;
}

bool DescribeOperandFormat(std::wstring& text, const std::wstring& format, const MemoryAreaManager& manager,
                           const std::wstring& separator, int constantDataType) {
  std::vector<std::wstring> texts;
  ListOperandFormatRanges(constantDataType, format, manager, texts);
  JoinText(text, texts, separator);
  return true;
}

}  // namespace Brenno
