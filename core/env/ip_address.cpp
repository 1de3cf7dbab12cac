#include "core/env/ip_address.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cstring>

namespace Brenno {

bool ParseIpv4Text(const std::wstring& text, std::array<uint8_t, 4>& bytes) {
  const auto first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return false;
  const auto last = text.find_last_not_of(L" \t");
  std::string narrow;
  for (wchar_t c : text.substr(first, last - first + 1)) {
    // Printable ASCII without blanks: inet_aton would stop at a blank and ignore the rest.
    if (c <= 0x20 || c > 0x7e) return false;
    narrow.push_back(static_cast<char>(c));
  }
  in_addr address{};
  if (inet_aton(narrow.c_str(), &address) == 0) return false;
  std::memcpy(bytes.data(), &address.s_addr, bytes.size());
  return true;
}

bool CanonicalIpv4Text(const std::wstring& text, std::wstring& dotted) {
  std::array<uint8_t, 4> bytes{};
  if (!ParseIpv4Text(text, bytes)) return false;
  dotted.clear();
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i != 0) dotted += L'.';
    dotted += std::to_wstring(bytes[i]);
  }
  return true;
}

}  // namespace Brenno
