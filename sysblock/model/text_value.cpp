#include "sysblock/model/text_value.h"

#include <cwctype>

namespace corvell {

std::optional<long long> ReadTextNumber(const std::wstring& text) {
  std::wstring s;
  s.reserve(text.size());
  for (wchar_t c : text)
    if (c != L',') s.push_back(c);
  size_t i = 0;
  while (i < s.size() && (s[i] == L' ' || s[i] == L'\t' || s[i] == L'\r' || s[i] == L'\n' ||
                          s[i] == L'\v' || s[i] == L'\f'))
    ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) {
    negative = s[i] == L'-';
    ++i;
  }
  if (i >= s.size() || s[i] < L'0' || s[i] > L'9') return std::nullopt;
  constexpr long long kCap = 1000000000000000LL;
  long long value = 0;
  for (; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i) {
    if (value < kCap) value = value * 10 + (s[i] - L'0');
  }
  if (value > kCap) value = kCap;
  return negative ? -value : value;
}

std::wstring NumberText(long long value) { return std::to_wstring(value); }

std::optional<std::wstring> CheckNumberText(const std::wstring& text, long long low, long long high,
                                            const std::wstring& fieldName, int language) {
  auto value = ReadTextNumber(text);
  if (!value) return fieldName + L"\r\n" + PickText(language, L"Please input a number", L"请输入一个数字");
  if (*value < low || *value > high)
    return fieldName + L"\r\n" + PickText(language, L"Input number out of range", L"输入数字超出范围");
  return std::nullopt;
}

const wchar_t* SystemBlockCaption(int language) { return PickText(language, L"System Block", L"系统块"); }

}  // namespace corvell
