#include "core/env/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cwctype>
#include <iomanip>
#include <locale>
#include <sstream>
#include <string_view>
#include <type_traits>

namespace Brenno {
namespace {

std::ios_base& ApplyRadix(std::ios_base& stream, int radix) {
  if (radix == 8) return std::oct(stream);
  if (radix == 16) return std::hex(stream);
  return std::dec(stream);
}

bool RestIsBlank(std::wistringstream& in) {
  if (in.eof()) return true;
  in.clear();
  wchar_t c = 0;
  while (in.get(c)) {
    if (!std::iswspace(static_cast<wint_t>(c))) return false;
  }
  return true;
}

// The radix a stream reads and prints in.
int StreamRadix(int radix) { return radix == 8 || radix == 16 ? radix : 10; }

// The value of a text that is nothing but digits of the radix, few enough to fit the type
// whatever they are: the form nearly every address and constant has, read without building a
// stream (which costs far more than the number). False for every other text, which the stream
// then reads.
template <typename T>
bool ReadPlainDigits(int radix, const std::wstring& text, T& value) {
  const int base = StreamRadix(radix);
  const size_t fitting = sizeof(T) == 4 ? (base == 10 ? 9 : base == 8 ? 10 : 7) : (base == 10 ? 18 : base == 8 ? 20 : 15);
  if (text.empty() || text.size() > fitting) return false;
  T read = 0;
  for (const wchar_t c : text) {
    int digit = base;
    if (c >= L'0' && c <= L'9') {
      digit = c - L'0';
    } else if (c >= L'a' && c <= L'f') {
      digit = c - L'a' + 10;
    } else if (c >= L'A' && c <= L'F') {
      digit = c - L'A' + 10;
    }
    if (digit >= base) return false;
    read = static_cast<T>(read * base + digit);
  }
  value = read;
  return true;
}

template <typename T>
bool ReadNumber(int radix, const std::wstring& text, T& value, TrailingText trailing) {
  if constexpr (std::is_integral_v<T>) {
    if (ReadPlainDigits(radix, text, value)) return true;
  }
  std::wistringstream in(text);
  in.imbue(std::locale::classic());
  ApplyRadix(in, radix);
  T read{};
  in >> read;
  if (in.fail()) return false;
  if (trailing == TrailingText::Refused && !RestIsBlank(in)) return false;
  value = read;
  return true;
}

// A printed number never needs more than 64 characters; a wider fill from a catalog file would
// only build a huge text.
constexpr int kMaxDigitCount = 64;

int FieldWidth(int digitCount) {
  if (digitCount < 0) return 0;
  return digitCount > kMaxDigitCount ? kMaxDigitCount : digitCount;
}

// A value that is not negative, printed as the stream prints it (no sign, no base prefix, the
// fill on the left) without building one; false for a negative value.
bool FormatPlainNumber(int radix, bool upperCase, int digitCount, wchar_t fill, int64_t value, std::wstring& text) {
  if (value < 0) return false;
  const unsigned base = static_cast<unsigned>(StreamRadix(radix));
  wchar_t digits[32];
  int count = 0;
  uint64_t rest = static_cast<uint64_t>(value);
  do {
    const unsigned digit = static_cast<unsigned>(rest % base);
    digits[count++] = static_cast<wchar_t>(digit < 10 ? L'0' + digit : (upperCase ? L'A' : L'a') + digit - 10);
    rest /= base;
  } while (rest != 0);
  const int width = FieldWidth(digitCount);
  text.assign(width > count ? static_cast<size_t>(width - count) : 0, fill);
  while (count > 0) text.push_back(digits[--count]);
  return true;
}

}  // namespace

bool ParseInt64Text(int radix, const std::wstring& text, int64_t& value, TrailingText trailing) {
  long long read = 0;
  if (!ReadNumber(radix, text, read, trailing)) return false;
  value = static_cast<int64_t>(read);
  return true;
}

bool ParseIntText(int radix, const std::wstring& text, int32_t& value, TrailingText trailing) {
  int read = 0;
  if (!ReadNumber(radix, text, read, trailing)) return false;
  value = static_cast<int32_t>(read);
  return true;
}

bool ParseRealText(const std::wstring& text, float& value, TrailingText trailing) {
  return ReadNumber(10, text, value, trailing);
}

void FormatInt64Text(int radix, bool upperCase, int digitCount, wchar_t fill, int64_t value, std::wstring& text) {
  if (FormatPlainNumber(radix, upperCase, digitCount, fill, value, text)) return;
  std::wostringstream out;
  out.imbue(std::locale::classic());
  ApplyRadix(out, radix);
  if (upperCase) out << std::uppercase;
  out << std::right << std::setfill(fill) << std::setw(FieldWidth(digitCount))
      << static_cast<long long>(value);
  text = out.str();
}

void FormatIntText(int radix, int digitCount, wchar_t fill, int32_t value, std::wstring& text) {
  if (FormatPlainNumber(radix, false, digitCount, fill, value, text)) return;
  std::wostringstream out;
  out.imbue(std::locale::classic());
  ApplyRadix(out, radix);
  out << std::nouppercase << std::right << std::setfill(fill) << std::setw(FieldWidth(digitCount))
      << static_cast<int>(value);
  text = out.str();
}

void FormatRealText(float value, std::wstring& text) {
  char buffer[48];
  if (!std::isfinite(value)) {
    // Nothing reads these back; they are shown as the C library names them.
    const std::to_chars_result printed = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.assign(buffer, printed.ptr);
    return;
  }
  // The fewest significant digits that read back to the same float, as "d.ddde+XX".
  const std::to_chars_result printed =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  const std::string_view scientific(buffer, static_cast<size_t>(printed.ptr - buffer));
  const size_t mark = scientific.find('e');
  const bool negative = scientific.front() == '-';
  std::string digits;
  for (const char c : scientific.substr(negative ? 1 : 0, mark - (negative ? 1 : 0))) {
    if (c != '.') digits.push_back(c);
  }
  int exponent = 0;
  std::from_chars(scientific.data() + mark + 1 + (scientific[mark + 1] == '+' ? 1 : 0),
                  scientific.data() + scientific.size(), exponent);
  // Laid out as the general format lays out a number of max(digits, 6) significant digits:
  // plain decimal from 0.0001 up to below 10^that, an exponent outside.
  const int significant = std::max(static_cast<int>(digits.size()), 6);
  std::string plain;
  if (exponent < -4 || exponent >= significant) {
    plain.assign(scientific);
  } else {
    if (negative) plain.push_back('-');
    if (exponent < 0) {
      plain += "0.";
      plain.append(static_cast<size_t>(-exponent - 1), '0');
      plain += digits;
    } else {
      const size_t whole = static_cast<size_t>(exponent) + 1;
      if (digits.size() <= whole) {
        plain += digits;
        plain.append(whole - digits.size(), '0');
      } else {
        plain += digits.substr(0, whole);
        plain.push_back('.');
        plain += digits.substr(whole);
      }
    }
  }
  text.assign(plain.begin(), plain.end());
}

}  // namespace Brenno
