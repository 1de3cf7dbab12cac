// Conversions between the parameter texts of the module sub-dialogs and the values stored in
// module records, and the address texts the sub-dialogs show. All of them are independent of
// the process locale: a record must not change with the user's number format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvell {

// Reads a leading decimal floating-point number: optional white space, optional sign, digits
// with an optional decimal point, an optional exponent. Reading stops at the first character
// that does not fit; a text without a leading number gives 0. The result is rounded to single
// precision ("1.2.3" gives 1.2, "-.5" gives -0.5, "" and "-" give 0).
float LeadingDecimalToFloat(std::wstring_view text);

// Reads a stop output text as a whole number 0 to 255 (white space skipped, reading stops at
// the first character that is not part of the number, no number gives 0). A number outside 0
// to 255 gives nothing: it must be refused, not cut to its low byte.
std::optional<uint8_t> StopOutputFromText(std::wstring_view text);

// A value formatted with two decimals ("%.2f"): 1.005f gives "1.00", 500 gives "500.00".
std::wstring FormatFixed2(float value);

// "I%d.%d - I%d.%d" (or with another letter) for the bit addresses first and last.
std::wstring DigitalRangeText(wchar_t letter, int first, int last);

// printf-style wide formatting for the short labels the records produce.
std::wstring FormatText(const wchar_t* format, ...);

// Single-precision values in records: IEEE-754, lowest byte first.
void AppendFloatLe(std::vector<uint8_t>& out, float value);
float ReadFloatLe(const uint8_t* bytes);

}  // namespace corvell
