#include "core/env/xml_parse_area.h"

#include <algorithm>
#include <climits>
#include <exception>
#include <new>
#include <optional>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "platform/file_util.h"
#include "platform/text_codec.h"

namespace Brenno {

XmlParseArea::~XmlParseArea() {
  if (Parser != nullptr) XML_ParserFree(Parser);
}

void XmlParseArea::Reset() {
  ParseState = 0;
  if (Parser != nullptr) {
    XML_ParserFree(Parser);
    Parser = nullptr;
  }
  FilePath.clear();
}

std::vector<uint8_t> ReadXmlFileBytes(const std::wstring& path) {
  std::vector<uint8_t> bytes;
  if (!platform::ReadFileBytes(path, bytes)) {
    throw MakeParseXmlError(L"\r\n  Open file error : \"" + path + L"\"");
  }
  return bytes;
}

namespace {

// What the expat callbacks reach through the user data. An error thrown by a handler must not
// unwind through expat's own frames: it is kept here, the parser is stopped, and the error is
// thrown again once XML_Parse has returned.
struct ParseContext {
  XmlParseArea* area;
  void* record;
  XmlStartHandler start;
  XmlEndHandler end;
  std::exception_ptr failure;
};

std::wstring WideFromExpat(const XML_Char* text) {
  // expat hands over UTF-8 that it has already checked, so the conversion cannot fail for a
  // well-formed document; the lossy form only guards against the impossible.
  return platform::FromUtf8Lossy(text == nullptr ? "" : text);
}

void OnStartElement(void* userData, const XML_Char* name, const XML_Char** attributes) {
  auto* context = static_cast<ParseContext*>(userData);
  if (context->failure) return;
  try {
    XmlAttributeList list;
    for (const XML_Char** attribute = attributes; attribute != nullptr && *attribute != nullptr; ++attribute) {
      list.push_back(WideFromExpat(*attribute));
    }
    if (context->start != nullptr) context->start(context->record, WideFromExpat(name), list);
  } catch (...) {
    context->failure = std::current_exception();
    XML_StopParser(context->area->Parser, XML_FALSE);
  }
}

void OnEndElement(void* userData, const XML_Char* name) {
  auto* context = static_cast<ParseContext*>(userData);
  if (context->failure) return;
  try {
    if (context->end != nullptr) context->end(context->record, WideFromExpat(name));
  } catch (...) {
    context->failure = std::current_exception();
    XML_StopParser(context->area->Parser, XML_FALSE);
  }
}

// Frees the parser and resets the area however the parse ends.
struct AreaResetGuard {
  XmlParseArea& area;
  ~AreaResetGuard() { area.Reset(); }
};

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r'; }

int DigitValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'z') return c - L'a' + 10;
  if (c >= L'A' && c <= L'Z') return c - L'A' + 10;
  return 99;
}

// Reads an unsigned magnitude of at least one digit from text[pos...]; stops at the first
// character that is not a digit of the base. Nullopt when there is no digit or the value
// exceeds `limit`.
std::optional<unsigned long long> ReadMagnitude(const std::wstring& text, size_t& pos, int base,
                                                unsigned long long limit) {
  unsigned long long value = 0;
  size_t start = pos;
  bool tooLarge = false;
  while (pos < text.size() && DigitValue(text[pos]) < base) {
    value = value * base + DigitValue(text[pos]);
    if (value > limit) {
      tooLarge = true;
      value = limit + 1;  // keeps the next step from overflowing
    }
    ++pos;
  }
  if (pos == start || tooLarge) return std::nullopt;
  return value;
}

bool OnlyBlanksFrom(const std::wstring& text, size_t pos) {
  for (; pos < text.size(); ++pos) {
    if (!IsBlank(text[pos])) return false;
  }
  return true;
}

}  // namespace

void ParseXmlBuffer(XmlParseArea& area, const std::wstring& path, const uint8_t* data, size_t size,
                    void* record, XmlStartHandler start, XmlEndHandler end) {
  if (size == 0) throw MakeParseXmlError(L"\r\n  File is empty : \"" + path + L"\"");

  area.Reset();
  AreaResetGuard guard{area};
  area.Parser = XML_ParserCreate(nullptr);
  if (area.Parser == nullptr) throw std::bad_alloc();
  area.FilePath = path;

  ParseContext context{&area, record, start, end, nullptr};
  XML_SetUserData(area.Parser, &context);
  XML_SetElementHandler(area.Parser, OnStartElement, OnEndElement);

  // One call marked final; a buffer beyond what one call takes goes in pieces.
  constexpr size_t kMaxPiece = static_cast<size_t>(INT_MAX / 2);
  XML_Status status = XML_STATUS_OK;
  size_t offset = 0;
  do {
    size_t piece = std::min(size - offset, kMaxPiece);
    bool last = offset + piece == size;
    status = XML_Parse(area.Parser, reinterpret_cast<const char*>(data + offset), static_cast<int>(piece),
                       last ? XML_TRUE : XML_FALSE);
    offset += piece;
  } while (status == XML_STATUS_OK && offset < size);

  if (context.failure) std::rethrow_exception(context.failure);
  if (status != XML_STATUS_OK) {
    ThrowXmlParseError(area, WideFromExpat(XML_ErrorString(XML_GetErrorCode(area.Parser))));
  }
}

void ThrowXmlParseError(const XmlParseArea& area, const std::wstring& text) {
  unsigned long line = 0;
  unsigned long column = 0;
  if (area.Parser != nullptr) {
    line = static_cast<unsigned long>(XML_GetCurrentLineNumber(area.Parser));
    column = static_cast<unsigned long>(XML_GetCurrentColumnNumber(area.Parser));
  }
  std::wstring detail = L"\r\n  " + text + L"\r\n  In file \"" + area.FilePath + L"\"\r\n  row = " +
                        std::to_wstring(line) + L" column = " + std::to_wstring(column);
  throw MakeParseXmlError(detail);
}

bool ParseBasedInteger(int& value, const std::wstring& text) {
  int base = 10;
  size_t pos = 0;
  if (text.compare(0, 3, L"10#") == 0) {
    pos = 3;
  } else if (text.compare(0, 3, L"16#") == 0) {
    pos = 3;
    base = 16;
  }
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) {
    negative = text[pos] == L'-';
    ++pos;
  }
  if (base == 16 && pos + 1 < text.size() && text[pos] == L'0' && (text[pos + 1] == L'x' || text[pos + 1] == L'X') &&
      pos + 2 < text.size() && DigitValue(text[pos + 2]) < 16) {
    pos += 2;
  }
  const unsigned long long limit = negative ? 2147483648ULL : 2147483647ULL;
  std::optional<unsigned long long> magnitude = ReadMagnitude(text, pos, base, limit);
  if (!magnitude || !OnlyBlanksFrom(text, pos)) return false;
  value = negative ? static_cast<int>(-static_cast<long long>(*magnitude)) : static_cast<int>(*magnitude);
  return true;
}

uint32_t ReadUnsignedDecimal(const std::wstring& text) {
  size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) {
    negative = text[pos] == L'-';
    ++pos;
  }
  const size_t start = pos;
  std::optional<unsigned long long> magnitude = ReadMagnitude(text, pos, 10, 0xFFFFFFFFULL);
  if (!magnitude) return pos == start ? 0 : 0xFFFFFFFFu;
  const auto value = static_cast<uint32_t>(*magnitude);
  return negative ? 0u - value : value;
}

bool SelectLocalizedText(const std::wstring& text, std::wstring& result) {
  if (text.compare(0, 2, L"${") != 0) {
    result = text;
    return true;
  }
  // Pieces between the "$" signs, empty ones kept: piece 0 is the empty text before the
  // leading "$", piece 1 the English form, piece 2 the Chinese form.
  const size_t wanted = static_cast<size_t>(CurrentLanguage());
  size_t index = 0;
  size_t begin = 0;
  while (true) {
    size_t dollar = text.find(L'$', begin);
    size_t stop = dollar == std::wstring::npos ? text.size() : dollar;
    if (index == wanted) {
      if (stop - begin <= 2) return false;
      result = text.substr(begin + 1, stop - begin - 2);
      return true;
    }
    if (dollar == std::wstring::npos) return false;
    begin = dollar + 1;
    ++index;
  }
}

bool IsXmlText(const std::wstring& text) {
  for (wchar_t c : text) {
    auto code = static_cast<uint32_t>(c);
    bool allowed = code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
                   (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
    if (!allowed) return false;
  }
  return true;
}

std::wstring EscapeXmlAttribute(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    switch (c) {
      case L'&': out += L"&amp;"; break;
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'"': out += L"&quot;"; break;
      case L'\'': out += L"&apos;"; break;
      case L'\t': out += L"&#9;"; break;
      case L'\n': out += L"&#10;"; break;
      case L'\r': out += L"&#13;"; break;
      default: out += c; break;
    }
  }
  return out;
}

}  // namespace Brenno
