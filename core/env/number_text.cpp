#include "core/env/number_text.h"

#include <cwctype>
#include <iomanip>
#include <locale>
#include <sstream>

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

template <typename T>
bool ReadNumber(int radix, const std::wstring& text, T& value, TrailingText trailing) {
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
  std::wostringstream out;
  out.imbue(std::locale::classic());
  ApplyRadix(out, radix);
  if (upperCase) out << std::uppercase;
  out << std::right << std::setfill(fill) << std::setw(FieldWidth(digitCount))
      << static_cast<long long>(value);
  text = out.str();
}

void FormatIntText(int radix, int digitCount, wchar_t fill, int32_t value, std::wstring& text) {
  std::wostringstream out;
  out.imbue(std::locale::classic());
  ApplyRadix(out, radix);
  out << std::nouppercase << std::right << std::setfill(fill) << std::setw(FieldWidth(digitCount))
      << static_cast<int>(value);
  text = out.str();
}

void FormatRealText(float value, std::wstring& text) {
  std::wostringstream out;
  out.imbue(std::locale::classic());
  out << value;
  text = out.str();
}

}  // namespace Brenno
