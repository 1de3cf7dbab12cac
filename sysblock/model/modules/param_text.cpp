#include "sysblock/model/modules/param_text.h"

#include <charconv>
#include <clocale>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <locale.h>

namespace corvell {

namespace {

bool IsSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

size_t SkipSpace(std::wstring_view text, size_t i) {
  while (i < text.size() && IsSpace(text[i])) ++i;
  return i;
}

size_t SkipDigits(std::wstring_view text, size_t i) {
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i;
}

locale_t ClassicLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return locale;
}

}  // namespace

float LeadingDecimalToFloat(std::wstring_view text) {
  const size_t start = SkipSpace(text, 0);
  size_t i = start;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ++i;
  const size_t intStart = i;
  i = SkipDigits(text, i);
  size_t digits = i - intStart;
  if (i < text.size() && text[i] == L'.') {
    const size_t fracStart = i + 1;
    const size_t fracEnd = SkipDigits(text, fracStart);
    digits += fracEnd - fracStart;
    i = fracEnd;
  }
  if (digits == 0) return 0.0f;
  if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == L'+' || text[j] == L'-')) ++j;
    const size_t expEnd = SkipDigits(text, j);
    if (expEnd > j) i = expEnd;
  }
  // Every character taken is ASCII, so the narrow copy is exact.
  std::string number;
  number.reserve(i - start);
  for (size_t k = start; k < i; ++k) number.push_back(static_cast<char>(text[k]));
  const double value = strtod_l(number.c_str(), nullptr, ClassicLocale());
  return static_cast<float>(value);
}

std::optional<uint8_t> StopOutputFromText(std::wstring_view text) {
  size_t i = SkipSpace(text, 0);
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
    negative = text[i] == L'-';
    ++i;
  }
  unsigned value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10 + static_cast<unsigned>(text[i] - L'0');
    if (value > 255) return std::nullopt;
  }
  if (negative && value != 0) return std::nullopt;
  return static_cast<uint8_t>(value);
}

std::wstring FormatFixed2(float value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                    std::chars_format::fixed, 2);
  return std::wstring(buffer, result.ptr);
}

std::wstring DigitalRangeText(wchar_t letter, int first, int last) {
  return FormatText(L"%lc%d.%d - %lc%d.%d", static_cast<wint_t>(letter), first / 8, first % 8,
                    static_cast<wint_t>(letter), last / 8, last % 8);
}

std::wstring FormatText(const wchar_t* format, ...) {
  wchar_t buffer[128];
  va_list args;
  va_start(args, format);
  const int written = std::vswprintf(buffer, sizeof buffer / sizeof buffer[0], format, args);
  va_end(args);
  return written < 0 ? std::wstring() : std::wstring(buffer, static_cast<size_t>(written));
}

void AppendFloatLe(std::vector<uint8_t>& out, float value) {
  uint32_t bits;
  static_assert(sizeof bits == sizeof value);
  std::memcpy(&bits, &value, sizeof bits);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(bits >> (8 * i)));
}

float ReadFloatLe(const uint8_t* bytes) {
  uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(bytes[i]) << (8 * i);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace corvell
