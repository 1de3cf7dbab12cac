#include "core/project/paged_table.h"

#include <locale>

namespace Brenno {

std::wstring DefaultTablePageName(std::wstring_view prefix, int key) {
  return std::wstring(prefix) + L"_" + std::to_wstring(key);
}

std::wstring DefaultTablePageAddress(std::wstring_view prefix, int key) {
  return std::wstring(prefix) + std::to_wstring(key);
}

bool IsWellFormedTableName(std::wstring_view name) {
  const auto& ctype = std::use_facet<std::ctype<wchar_t>>(std::locale::classic());
  if (name.empty() || ctype.is(std::ctype_base::digit, name.front())) return false;
  for (const wchar_t c : name) {
    if (c != L'_' && !ctype.is(std::ctype_base::alnum, c)) return false;
  }
  return true;
}

}  // namespace Brenno
