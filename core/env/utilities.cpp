#include "core/env/utilities.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "core/env/clipboard.h"
#include "platform/crc16.h"
#include "platform/text_codec.h"

namespace Brenno {

namespace {

template <size_t Unit>
bool SwapUnits(std::span<uint8_t> bytes) {
  if (bytes.size() % Unit != 0) return false;
  for (size_t at = 0; at < bytes.size(); at += Unit) std::reverse(bytes.begin() + at, bytes.begin() + at + Unit);
  return true;
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r'; }

// Value of c as a digit of the base, or -1.
int DigitValue(wchar_t c, int base) {
  int d = -1;
  if (c >= L'0' && c <= L'9') d = c - L'0';
  else if (c >= L'a' && c <= L'f') d = c - L'a' + 10;
  else if (c >= L'A' && c <= L'F') d = c - L'A' + 10;
  return d < base ? d : -1;
}

// Text up to its first zero character: the converted strings are zero-ended on the other side.
template <class View>
View UpToZero(View text) {
  // A plain loop: the texts are short, and a library search call costs more than the search.
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == typename View::value_type{0}) return text.substr(0, i);
  }
  return text;
}

}  // namespace

void NormalizeRect(Rect& rect) {
  if (rect.right < rect.left) std::swap(rect.left, rect.right);
  if (rect.bottom < rect.top) std::swap(rect.top, rect.bottom);
}

bool SwapBytes16(std::span<uint8_t> bytes) { return SwapUnits<2>(bytes); }
bool SwapBytes32(std::span<uint8_t> bytes) { return SwapUnits<4>(bytes); }
bool SwapBytes64(std::span<uint8_t> bytes) { return SwapUnits<8>(bytes); }

uint16_t ComputeCrc16(std::span<const uint8_t> bytes) { return platform::Crc16Modbus(bytes.data(), bytes.size()); }

void JoinText(std::wstring& out, const std::vector<std::wstring>& texts, std::wstring_view separator) {
  std::wstring joined;
  for (size_t i = 0; i < texts.size(); ++i) {
    if (i != 0) joined += separator;
    joined += texts[i];
  }
  out = std::move(joined);
}

void SplitText(std::vector<std::wstring>& out, std::wstring_view text, std::wstring_view separator) {
  out.clear();
  if (text.empty()) return;
  if (separator.empty()) {
    out.emplace_back(text);
    return;
  }
  size_t start = 0;
  for (;;) {
    const size_t hit = text.find(separator, start);
    if (hit == std::wstring_view::npos) break;
    out.emplace_back(text.substr(start, hit - start));
    start = hit + separator.size();
  }
  out.emplace_back(text.substr(start));
}

void ComposeIndexedName(std::wstring& out, std::wstring_view name, int index) {
  std::wstring text(name);
  if (index != 0) text += L"#" + std::to_wstring(index);
  out = std::move(text);
}

void AppendIndexedNameRuns(int index, std::wstring& text, std::wstring_view name, std::vector<ColorRun>& runs) {
  const std::wstring suffix = index != 0 ? L"#" + std::to_wstring(index) : std::wstring();
  text.append(name);
  text += suffix;
  runs.push_back({static_cast<int>(name.size()), 0});
  runs.push_back({static_cast<int>(suffix.size()), 0});
}

void SplitIndexedName(std::wstring& name, std::wstring_view text, int& index) {
  const size_t mark = text.rfind(L'#');
  if (mark == std::wstring_view::npos) {
    name.assign(text);
    index = 0;
    return;
  }
  index = IndexedNameIndex(text.substr(mark + 1));
  name.assign(text.substr(0, mark));
}

int IndexedNameIndex(std::wstring_view afterMark) {
  // The part after "#" is read only as far as it is a number: "LD#2abc" has index 2.
  int number = 0;
  if (!ParseLeadingInt(10, afterMark, number)) number = 0;
  return number;
}

bool WStringToMultiByte(std::wstring_view text, std::string& out) {
  return platform::WideToCp936(UpToZero(text), out);
}

bool MultiByteToWString(std::string_view bytes, std::wstring& out) {
  return platform::Cp936ToWide(UpToZero(bytes), out);
}

bool PackPasswordBytes(std::vector<uint8_t>& block, std::wstring_view password) {
  std::string bytes;
  if (!WStringToMultiByte(password, bytes) || bytes.size() > kPasswordBlockSize) return false;
  std::vector<uint8_t> packed(kPasswordBlockSize, 0xFF);
  std::copy(bytes.begin(), bytes.end(), packed.begin());
  block = std::move(packed);
  return true;
}

void FillWCharVector(std::vector<wchar_t>& out, int count, wchar_t value) {
  if (count < 0) throw std::length_error("FillWCharVector: negative count");
  out.assign(static_cast<size_t>(count), value);
}

bool ParseLeadingInt(int base, std::wstring_view text, int& value, size_t* consumed) {
  if (base != 8 && base != 10 && base != 16) return false;
  size_t at = 0;
  while (at < text.size() && IsBlank(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) {
    negative = text[at] == L'-';
    ++at;
  }
  if (base == 16 && at + 2 < text.size() && text[at] == L'0' && (text[at + 1] == L'x' || text[at + 1] == L'X') &&
      DigitValue(text[at + 2], 16) >= 0) {
    at += 2;
  }
  // The magnitude is kept below 2^31 + 1 so that it never wraps, however long the digit run.
  constexpr uint64_t kLimit = uint64_t{1} << 31;
  uint64_t magnitude = 0;
  bool overflow = false;
  const size_t first_digit = at;
  for (int d; at < text.size() && (d = DigitValue(text[at], base)) >= 0; ++at) {
    magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    if (magnitude > kLimit) {
      overflow = true;
      magnitude = kLimit + 1;
    }
  }
  if (at == first_digit || overflow) return false;
  if (!negative && magnitude == kLimit) return false;
  value = negative ? static_cast<int>(-static_cast<int64_t>(magnitude)) : static_cast<int>(magnitude);
  if (consumed != nullptr) *consumed = at;
  return true;
}

bool ParseIntWithBase(int base, std::wstring_view text, int& value) {
  int number = 0;
  size_t used = 0;
  if (!ParseLeadingInt(base, text, number, &used)) return false;
  for (size_t at = used; at < text.size(); ++at) {
    if (!IsBlank(text[at])) return false;
  }
  value = number;
  return true;
}

bool WStringToInt(std::wstring_view text, int& value) { return ParseIntWithBase(10, text, value); }

bool PutClipboardText(const std::wstring& text) {
  ClipboardService* clipboard = InstalledClipboardService();
  return clipboard != nullptr && clipboard->PutText(text);
}

bool GetClipboardText(std::wstring& text) {
  ClipboardService* clipboard = InstalledClipboardService();
  if (clipboard == nullptr) return false;
  auto offered = clipboard->GetText();
  if (!offered) return false;
  text.assign(UpToZero(std::wstring_view(*offered)));
  return true;
}

bool PutClipboardBlock(const std::vector<uint8_t>& bytes) {
  ClipboardService* clipboard = InstalledClipboardService();
  if (clipboard == nullptr || !clipboard->HasPrivateFormat()) return false;
  if (bytes.size() > std::numeric_limits<uint32_t>::max()) return false;
  const auto n = static_cast<uint32_t>(bytes.size());
  std::vector<uint8_t> block;
  block.reserve(bytes.size() + 4);
  for (int shift = 0; shift < 32; shift += 8) block.push_back(static_cast<uint8_t>(n >> shift));
  block.insert(block.end(), bytes.begin(), bytes.end());
  return clipboard->PutPrivateBlock(block);
}

bool GetClipboardBlock(std::vector<uint8_t>& bytes) {
  ClipboardService* clipboard = InstalledClipboardService();
  if (clipboard == nullptr || !clipboard->HasPrivateFormat()) return false;
  auto block = clipboard->GetPrivateBlock();
  // Another program may have put anything under the format name: a block too short to hold
  // its length, or claiming more bytes than it has, is not ours.
  if (!block || block->size() < 4) return false;
  const uint32_t n = static_cast<uint32_t>((*block)[0]) | static_cast<uint32_t>((*block)[1]) << 8 |
                     static_cast<uint32_t>((*block)[2]) << 16 | static_cast<uint32_t>((*block)[3]) << 24;
  if (n > block->size() - 4) return false;
  bytes.assign(block->begin() + 4, block->begin() + 4 + n);
  return true;
}

}  // namespace Brenno
