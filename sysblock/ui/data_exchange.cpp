#include "sysblock/ui/data_exchange.h"

#include "sysblock/model/text_value.h"

namespace corvell {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f'; }

// One decimal integer with optional blanks around it and an optional sign; nothing else.
std::optional<long long> ParseWhole(const std::wstring& text, bool allowSign) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (allowSign && i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
    negative = text[i] == L'-';
    ++i;
  }
  const size_t digits = i;
  constexpr long long kCap = 1000000000000000LL;  // saturate: still out of every range
  long long value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
    if (value < kCap) value = value * 10 + (text[i] - L'0');
  if (i == digits) return std::nullopt;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i != text.size()) return std::nullopt;
  return negative ? -value : value;
}

std::wstring RangeMessage(long long low, long long high, int language) {
  if (language == 1)
    return L"Please enter an integer between " + std::to_wstring(low) + L" and " + std::to_wstring(high) + L".";
  return L"请输入一个介于 " + std::to_wstring(low) + L" 和 " + std::to_wstring(high) + L" 之间的整数。";
}

}  // namespace

ExchangeResult ExchangeInteger(const std::wstring& text, long long low, long long high, int language) {
  auto value = ParseWhole(text, true);
  if (!value) return {std::nullopt, PickText(language, L"Please enter an integer.", L"请输入一个整数。")};
  if (low <= high && (*value < low || *value > high)) return {std::nullopt, RangeMessage(low, high, language)};
  return {value, {}};
}

ExchangeResult ExchangeUnsigned(const std::wstring& text, unsigned long long low, unsigned long long high,
                                int language) {
  auto value = ParseWhole(text, false);
  if (!value) return {std::nullopt, PickText(language, L"Please enter a positive integer.", L"请输入一个正整数。")};
  if (*value < static_cast<long long>(low) || *value > static_cast<long long>(high))
    return {std::nullopt, RangeMessage(static_cast<long long>(low), static_cast<long long>(high), language)};
  return {value, {}};
}

}  // namespace corvell
