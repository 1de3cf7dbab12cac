#include "core/env/operand_address.h"

#include <algorithm>
#include <climits>

#include "core/env/number_text.h"
#include "core/env/utilities.h"

namespace Brenno {
namespace {

bool IsSingleKind(int kind) {
  return kind == kKindAddress || kind == kKindValue || kind == kKindPointer || kind == kKindIndexed;
}

bool KindInUse(int kind, int use) { return IsSingleKind(kind) && (use & kind) == kind; }

// An address must be a byte, a pointer a double word; values take any width.
bool KindAdmitsWidth(int kind, int width) {
  switch (kind) {
    case kKindAddress: return width == kWidthByte;
    case kKindPointer: return width == kWidthDword;
    case kKindValue:
    case kKindIndexed: return true;
    default: return false;
  }
}

bool FitsInt32(int64_t value) { return value >= INT32_MIN && value <= INT32_MAX; }

// Prints a non-negative operand number in its radix with its digit count; a number that could
// not be written back (negative, or beyond 32 bits) gives false.
bool PrintNumber(int64_t value, int radix, int length, std::wstring& text) {
  if (value < 0 || value > INT32_MAX) return false;
  FormatIntText(radix, length, L'0', static_cast<int32_t>(value), text);
  return true;
}

}  // namespace

AccessShape ShapeOfAccess(const MemoryAccess& access) {
  const bool w = access.Width != kWidthBit;
  const bool s = access.Step != kWidthBit;
  const bool o = access.Offset != kWidthBit;
  if (!w && !s && !o) return AccessShape::A;
  if (!w && s && o) return AccessShape::B;
  if (w && !s && !o) return AccessShape::C;
  if (w && s && !o) return AccessShape::D;
  if (w && s && o) return AccessShape::E;
  return AccessShape::None;
}

std::vector<std::wstring> TokenizeOperandText(const std::wstring& original) {
  std::wstring text = original;
  for (wchar_t& c : text) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  std::vector<std::wstring> tokens;
  size_t position = 0;
  if (!text.empty()) {
    if (text[0] == L'&' || text[0] == L'*') {
      tokens.emplace_back(1, text[0]);
      position = 1;
    } else {
      tokens.emplace_back();
    }
  }
  tokens.emplace_back();  // collects the prefix letters
  bool letterMode = true;
  for (; position < text.size(); ++position) {
    const wchar_t c = text[position];
    if (c >= L'A' && c <= L'Z') {
      if (letterMode) {
        tokens.back() += c;
      } else {
        tokens.emplace_back(1, c);
        letterMode = true;
      }
    } else if (c == L'.') {
      if (letterMode) {
        tokens.emplace_back(L"0");
        tokens.emplace_back(L".");
      } else {
        tokens.emplace_back(L".");
        letterMode = true;
      }
    } else if (c >= L'0' && c <= L'9') {
      if (!letterMode) {
        tokens.back() += c;
      } else if (tokens.back().empty() && position + 1 < text.size()) {
        tokens.back() += c;  // a prefix may begin with a digit
      } else {
        tokens.emplace_back(1, c);
        letterMode = false;
      }
    }
    // Any other character (blanks included) is skipped.
  }
  if (letterMode) tokens.emplace_back(L"0");
  return tokens;
}

bool ScanOperandText(const std::wstring& text, OperandAddress& address) {
  std::vector<std::wstring> t = TokenizeOperandText(text);
  OperandAddress scanned;
  if (t.empty()) return false;
  if (t[0] == L"&") {
    scanned.kind = kKindAddress;
  } else if (t[0].empty()) {
    scanned.kind = kKindValue;
  } else if (t[0] == L"*") {
    scanned.kind = kKindPointer;
  } else {
    return false;
  }

  size_t n = t.size();
  if (n >= 5 && t[n - 2] == L".") {
    scanned.bit = t[n - 1];
    t.resize(n -= 2);
  }
  if (n >= 5 && (t[n - 2] == L"Z" || t[n - 2] == L"V")) {
    int index = 0;
    if (!WStringToInt(t[n - 1], index) || index < 0 || index > 7) return false;
    scanned.index = t[n - 2] == L"V" ? index + 8 : index;
    t.resize(n -= 2);
  }
  if (n >= 5 && t[1] == L"K") {
    int groups = 0;
    if (!WStringToInt(t[2], groups) || groups < 1 || groups > 8) return false;
    scanned.groups = groups;
    t.erase(t.begin() + 1, t.begin() + 3);
    n -= 2;
  }
  if (n != 3) return false;
  scanned.prefix = t[1];
  scanned.number = t[2];
  if (scanned.index != -1) {
    if (scanned.kind != kKindValue) return false;
    scanned.kind = kKindIndexed;
  }
  address = scanned;
  return true;
}

bool PrintOperandAddress(const OperandAddress& address, std::wstring& text) {
  std::wstring out;
  switch (address.kind) {
    case kKindAddress: out = L"&"; break;
    case kKindValue:
    case kKindIndexed: break;
    case kKindPointer: out = L"*"; break;
    default: return false;
  }
  if (address.groups != -1) out += L"K" + std::to_wstring(address.groups);
  out += address.prefix;
  out += address.number;
  if (address.index >= 0 && address.index <= 7) {
    out += L"Z";
    if (address.index != 0) out += std::to_wstring(address.index);
  } else if (address.index >= 8 && address.index <= 15) {
    out += L"V";
    if (address.index != 8) out += std::to_wstring(address.index - 8);
  }
  if (!address.bit.empty()) out += L"." + address.bit;
  text = out;
  return true;
}

bool MatchOperandPrefix(const MemoryAccess& access, const OperandAddress& address, const MemoryRegion& region) {
  if (!KindInUse(address.kind, region.Use)) return false;
  if (address.prefix.size() != region.Name.size() + access.Name.size() ||
      address.prefix.compare(0, region.Name.size(), region.Name) != 0 ||
      address.prefix.compare(region.Name.size(), std::wstring::npos, access.Name) != 0) {
    return false;
  }
  return KindAdmitsWidth(address.kind, access.Width);
}

bool ComputeOperandOffset(const MemoryRegion& region, const MemoryAccess& access, const OperandAddress& address,
                          OperandFields& fields) {
  const AccessShape shape = ShapeOfAccess(access);
  if (shape == AccessShape::None) return false;
  int32_t number = 0;
  if (!ParseIntText(region.OffsetBase, address.number, number, TrailingText::Refused)) return false;
  const int64_t n = static_cast<int64_t>(number) - region.OffsetBegin;
  if (n < 0) return false;

  OperandFields out;
  out.kind = address.kind;
  out.slot = region.Slot;
  out.width = access.Width;
  int64_t byte = 0;
  switch (shape) {
    case AccessShape::A:
      if (!address.bit.empty() || address.groups != -1) return false;
      byte = n / 8;
      out.bit = static_cast<int32_t>(n % 8);
      break;
    case AccessShape::B: {
      if (address.bit.empty() || address.groups != -1) return false;
      int32_t m = 0;
      if (!ParseIntText(region.BitOffsetBase, address.bit, m, TrailingText::Refused)) return false;
      const int64_t mm = static_cast<int64_t>(m) - region.BitOffsetBegin;
      if (mm < 0 || mm >= WidthBits(access.Step)) return false;
      byte = WidthBytes(access.Offset) * n + mm / 8;
      out.bit = static_cast<int32_t>(mm % 8);
      break;
    }
    case AccessShape::C:
    case AccessShape::D:
      if (!address.bit.empty()) return false;
      byte = n / 8;
      out.bit = static_cast<int32_t>(n % 8);
      if (region.GroupEnable != 0) {
        if (address.groups < 1 || address.groups > 8 || 4 * address.groups > WidthBits(access.Width)) return false;
        out.group = address.groups - 1;
      } else if (address.groups != -1) {
        return false;
      }
      break;
    case AccessShape::E:
      if (!address.bit.empty() || address.groups != -1) return false;
      byte = WidthBytes(access.Offset) * n;
      break;
    case AccessShape::None:
      return false;
  }
  if (!FitsInt32(byte)) return false;
  out.byte = static_cast<int32_t>(byte);

  if (address.kind == kKindIndexed) {
    if (address.index < 0 || address.index > 15) return false;
    out.index = address.index;
  } else if (address.index != -1) {
    return false;
  }
  fields = out;
  return true;
}

bool IsOperandInRange(const MemoryRegion& region, const MemoryAccess& access, const OperandFields& fields) {
  const int64_t size = region.Size();
  const int64_t byte = fields.byte;
  if (fields.byte < 0 || fields.bit < 0) return false;
  switch (ShapeOfAccess(access)) {
    case AccessShape::A:
    case AccessShape::B:
      return byte <= size - 1 && fields.bit <= 7;
    case AccessShape::C: {
      const int64_t last = size - WidthBytes(access.Width);
      if (byte > last) return false;
      return fields.bit == 0 || (byte < last && fields.bit <= 7);
    }
    case AccessShape::D:
    case AccessShape::E: {
      const int64_t last = size - WidthBytes(std::max(access.Width, access.Step));
      return byte <= last && byte % WidthBytes(access.Step) == 0 && fields.bit == 0;
    }
    case AccessShape::None:
      break;
  }
  return false;
}

bool BuildOperandAddress(const OperandFields& fields, const MemoryAccess& access, const MemoryRegion& region,
                         OperandAddress& address) {
  const AccessShape shape = ShapeOfAccess(access);
  if (shape == AccessShape::None) return false;
  OperandAddress out;
  out.kind = fields.kind;
  out.prefix = region.Name + access.Name;
  out.index = fields.kind == kKindIndexed ? fields.index : -1;
  const int64_t byte = fields.byte;
  switch (shape) {
    case AccessShape::A:
    case AccessShape::C:
    case AccessShape::D:
      if (!PrintNumber(region.OffsetBegin + 8 * byte + fields.bit, region.OffsetBase, region.OffsetLength,
                       out.number)) {
        return false;
      }
      if (shape != AccessShape::A && region.GroupEnable != 0) {
        // The same rule as when reading: the digit groups must fit the access width.
        if (fields.group < 0 || fields.group > 7 || 4 * (fields.group + 1) > WidthBits(access.Width)) return false;
        out.groups = fields.group + 1;
      }
      break;
    case AccessShape::B: {
      const int64_t stepBytes = WidthBytes(access.Step);
      const int64_t inStep = byte % stepBytes;
      if (!PrintNumber((byte - inStep) / WidthBytes(access.Offset) + region.OffsetBegin, region.OffsetBase,
                       region.OffsetLength, out.number) ||
          !PrintNumber(region.BitOffsetBegin + 8 * inStep + fields.bit, region.BitOffsetBase,
                       region.BitOffsetLength, out.bit)) {
        return false;
      }
      break;
    }
    case AccessShape::E:
      if (!PrintNumber(byte / WidthBytes(access.Offset) + region.OffsetBegin, region.OffsetBase,
                       region.OffsetLength, out.number)) {
        return false;
      }
      break;
    case AccessShape::None:
      return false;
  }
  address = out;
  return true;
}

bool MatchOperandText(OperandFields& fields, const MemoryAreaManager& manager, const OperandAddress& address) {
  for (const MemoryRegion& region : manager.Regions) {
    for (const MemoryAccess& access : region.Accesses) {
      OperandFields found;
      if (MatchOperandPrefix(access, address, region) && ComputeOperandOffset(region, access, address, found) &&
          IsOperandInRange(region, access, found)) {
        fields = found;
        return true;
      }
    }
  }
  return false;
}

bool MatchOperandWord(const OperandFields& fields, const MemoryAreaManager& manager, OperandAddress& address) {
  for (const MemoryRegion& region : manager.Regions) {
    if (!KindInUse(fields.kind, region.Use) || fields.slot != region.Slot) continue;
    for (const MemoryAccess& access : region.Accesses) {
      if (fields.width != access.Width || !KindAdmitsWidth(fields.kind, access.Width)) continue;
      if (IsOperandInRange(region, access, fields) && BuildOperandAddress(fields, access, region, address)) {
        return true;
      }
    }
  }
  return false;
}

bool OperandTextToWord(const std::wstring& text, const MemoryAreaManager& manager, OperandWord& word) {
  OperandAddress address;
  OperandFields fields;
  if (!ScanOperandText(text, address) || !MatchOperandText(fields, manager, address)) return false;
  PackOperandWord(word, manager, fields);
  return true;
}

bool OperandWordToText(const MemoryAreaManager& manager, std::wstring& text, OperandWord word) {
  OperandFields fields;
  UnpackOperandWord(word, manager, fields);
  OperandAddress address;
  return MatchOperandWord(fields, manager, address) && PrintOperandAddress(address, text);
}

bool NormalizeOperandText(const MemoryAreaManager& manager, std::wstring& text) {
  OperandWord word = 0;
  std::wstring normal;
  if (!OperandTextToWord(text, manager, word) || !OperandWordToText(manager, normal, word)) return false;
  text = normal;
  return true;
}

void DescribeAccessRange(const MemoryRegion& region, const MemoryAccess& access, std::wstring& first,
                         std::wstring& last) {
  first.clear();
  last.clear();
  const AccessShape shape = ShapeOfAccess(access);
  if (shape == AccessShape::None) return;
  const int64_t size = region.Size();
  OperandFields low;
  low.kind = kKindValue;
  low.slot = region.Slot;
  low.width = access.Width;
  OperandFields high = low;
  int64_t lastByte = 0;
  switch (shape) {
    case AccessShape::A:
    case AccessShape::B:
      lastByte = size - 1;
      high.bit = 7;
      break;
    case AccessShape::C:
      lastByte = size - WidthBytes(access.Width);
      break;
    case AccessShape::D:
    case AccessShape::E:
      lastByte = size - WidthBytes(std::max(access.Width, access.Step));
      break;
    case AccessShape::None:
      return;
  }
  if ((shape == AccessShape::C || shape == AccessShape::D) && region.GroupEnable != 0) {
    low.group = high.group = WidthBits(access.Width) / 4 - 1;
  }
  OperandAddress address;
  if (BuildOperandAddress(low, access, region, address)) PrintOperandAddress(address, first);
  if (FitsInt32(lastByte)) {
    high.byte = static_cast<int32_t>(lastByte);
    if (BuildOperandAddress(high, access, region, address)) PrintOperandAddress(address, last);
  }
}

bool FindMarkerValue(const OperandAddress& address, const MemoryRegion& region, const MemoryAccess& access,
                     std::wstring& value) {
  int32_t n = -1;
  if (!ParseIntText(region.OffsetBase, address.number, n)) n = -1;
  int32_t m = -1;
  if (address.bit.empty() || !ParseIntText(region.BitOffsetBase, address.bit, m)) m = -1;
  value.clear();
  for (const MemoryMarker& marker : access.Markers) {
    const bool numberHolds = marker.Begin == -1 || marker.End == -1 || (marker.Begin <= n && n < marker.End);
    const bool bitHolds =
        marker.BitBegin == -1 || marker.BitEnd == -1 || (marker.BitBegin <= m && m < marker.BitEnd);
    if (numberHolds && bitHolds) value = marker.Value;
  }
  return true;
}

}  // namespace Brenno
