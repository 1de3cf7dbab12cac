// Reading numbers from the edits of the property pages the way the pages' data exchange does:
// the whole text must be one integer, and a range, where there is one, is tested. A refused
// text gives the standard message of the exchange.
#pragma once

#include <optional>
#include <string>

namespace corvell {

struct ExchangeResult {
  std::optional<long long> Value;  // set when the text was accepted
  std::wstring Message;            // the message when it was not
};

// A signed integer, optionally within low..high (pass low > high for no range).
ExchangeResult ExchangeInteger(const std::wstring& text, long long low, long long high, int language);
// An unsigned integer within low..high.
ExchangeResult ExchangeUnsigned(const std::wstring& text, unsigned long long low, unsigned long long high,
                                int language);

}  // namespace corvell
