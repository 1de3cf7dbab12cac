#include "core/convert/pattern_matching.h"

#include "core/env/exception_error.h"

namespace Brenno {

bool PatternBindings::Bind(wchar_t key, const std::wstring& text) {
  const std::size_t at = m_keys.find(key);
  if (at == std::wstring::npos) {
    m_keys.push_back(key);
    m_texts.push_back(text);
    return true;
  }
  return m_texts[at] == text;
}

const std::wstring& PatternBindings::Text(wchar_t key) const {
  const std::size_t at = m_keys.find(key);
  if (at == std::wstring::npos) throw MakeLogicError(L"\r\n  Conversion rule uses an unbound key");
  return m_texts[at];
}

}  // namespace Brenno
