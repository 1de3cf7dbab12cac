// Numbers typed into the property pages' text fields.
#pragma once

#include <optional>
#include <string>

namespace corvell {

// Reads a signed decimal integer from the start of a text (leading blanks skipped) after every
// comma has been removed. A text without digits there has no value. Numbers too large for the
// result saturate, so they still read as out of range.
std::optional<long long> ReadTextNumber(const std::wstring& text);

// Plain decimal form of a number.
std::wstring NumberText(long long value);

// The text of the current language: 1 English, anything else Chinese.
inline const wchar_t* PickText(int language, const wchar_t* english, const wchar_t* chinese) {
  return language == 1 ? english : chinese;
}

// A field that refused its value: the control's id offset and the message for the box
// captioned "System Block" / "系统块".
struct FieldError {
  int ControlOffset = 0;
  std::wstring Message;
};

// "<field name>\r\n" and "Please input a number" or "Input number out of range", when the
// text is not a number from low to high.
std::optional<std::wstring> CheckNumberText(const std::wstring& text, long long low, long long high,
                                            const std::wstring& fieldName, int language);

// Caption of the message boxes of the property pages.
const wchar_t* SystemBlockCaption(int language);

}  // namespace corvell
