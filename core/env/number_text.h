// Number texts of constants and operand numbers: reading and printing integers in radix 8, 10
// or 16 and 32-bit reals, as wide string streams in the classic locale read and print them (a
// text of plain digits and a value that is not negative are handled without a stream); a real is
// printed with as many digits as its value needs (FormatRealText).
//
// Reading skips white space before the number, accepts a sign, reads the digits that are valid
// in the radix and fails when there is no digit or the value does not fit the target type. By
// default what follows the number is ignored ("12AB" in radix 10 reads 12); with
// TrailingText::Refused only white space may follow it, so "X18" in an octal region or "16#1g"
// are not taken as something the user did not write.
//
// A radix other than 8 or 16 reads and prints in decimal.
#pragma once

#include <cstdint>
#include <string>

namespace Brenno {

enum class TrailingText { Ignored, Refused };

bool ParseInt64Text(int radix, const std::wstring& text, int64_t& value,
                    TrailingText trailing = TrailingText::Ignored);
bool ParseIntText(int radix, const std::wstring& text, int32_t& value,
                  TrailingText trailing = TrailingText::Ignored);
bool ParseRealText(const std::wstring& text, float& value, TrailingText trailing = TrailingText::Ignored);

// Prints right-aligned to at least digitCount characters (at most 64 are filled), filled with `fill` on the left.
// FormatInt64Text prints hexadecimal digits in upper case when upperCase is set; FormatIntText
// always in lower case. A negative value in radix 8 or 16 is printed as the two's complement of
// its type (sixteen or eight hexadecimal digits).
void FormatInt64Text(int radix, bool upperCase, int digitCount, wchar_t fill, int64_t value, std::wstring& text);
void FormatIntText(int radix, int digitCount, wchar_t fill, int32_t value, std::wstring& text);

// The fewest significant digits that read back (ParseRealText) to the same 32-bit value: 0.1 stays
// 0.1, 1234567.9 and 3.1415927 keep all their digits. Laid out as the general format lays out that
// many digits, six at least: plain decimal from 0.0001 up to 10^digits ("100000", "1234567.9"), an
// exponent of at least two digits outside ("1e+06", "1.5e-05", "-3.4028235e+38"); -0 is "-0".
void FormatRealText(float value, std::wstring& text);

}  // namespace Brenno
