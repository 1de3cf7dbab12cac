#include "platform/text_codec.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace platform {

namespace {

bool IsSurrogate(uint32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

bool AppendUtf8(std::string& out, uint32_t c) {
  if (IsSurrogate(c) || c > 0x10FFFF) return false;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
  return true;
}

// Decodes one UTF-8 sequence at text[i]; returns false on a malformed or overlong sequence.
bool NextUtf8(std::string_view text, size_t& i, uint32_t& c) {
  const auto b0 = static_cast<uint8_t>(text[i]);
  int extra;
  uint32_t min;
  if (b0 < 0x80) {
    c = b0;
    ++i;
    return true;
  } else if ((b0 & 0xE0) == 0xC0) {
    extra = 1; c = b0 & 0x1F; min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2; c = b0 & 0x0F; min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3; c = b0 & 0x07; min = 0x10000;
  } else {
    return false;
  }
  if (i + extra >= text.size()) return false;
  for (int k = 1; k <= extra; ++k) {
    const auto b = static_cast<uint8_t>(text[i + k]);
    if ((b & 0xC0) != 0x80) return false;
    c = (c << 6) | (b & 0x3F);
  }
  if (c < min || c > 0x10FFFF || IsSurrogate(c)) return false;
  i += extra + 1;
  return true;
}

// One converter per thread and direction, opened once and reset before every use.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // Converts the whole input into `out`; any invalid or unconvertible character fails.
  bool Run(const char* data, size_t size, std::string& out) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out.resize(size * 2 + 16);
    char* in = const_cast<char*>(data);
    size_t inLeft = size;
    size_t used = 0;
    while (inLeft > 0) {
      char* outPtr = out.data() + used;
      size_t outLeft = out.size() - used;
      const size_t r = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
      used = out.size() - outLeft;
      if (r == static_cast<size_t>(-1)) {
        if (errno == E2BIG) {
          out.resize(out.size() * 2);
          continue;
        }
        return false;
      }
      // glibc counts irreversible conversions in r; a substituted character is a failure.
      if (r != 0) return false;
    }
    out.resize(used);
    return true;
  }

 private:
  iconv_t cd_;
};

bool IsAscii(std::wstring_view text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0 && c < 0x80; });
}

bool IsAscii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::optional<std::u16string> WideToUtf16(std::wstring_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (wchar_t wc : text) {
    const auto c = static_cast<uint32_t>(wc);
    if (IsSurrogate(c) || c > 0x10FFFF) return std::nullopt;
    if (c < 0x10000) {
      out.push_back(static_cast<char16_t>(c));
    } else {
      const uint32_t v = c - 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 | (v >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 | (v & 0x3FF)));
    }
  }
  return out;
}

std::optional<std::wstring> Utf16ToWide(std::u16string_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 >= text.size()) return std::nullopt;
      const uint32_t d = text[i + 1];
      if (d < 0xDC00 || d > 0xDFFF) return std::nullopt;
      out.push_back(static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00)));
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return std::nullopt;
    } else {
      out.push_back(static_cast<wchar_t>(c));
    }
  }
  return out;
}

std::optional<std::vector<uint8_t>> WideToUtf16LeBytes(std::wstring_view text) {
  auto units = WideToUtf16(text);
  if (!units) return std::nullopt;
  std::vector<uint8_t> out;
  out.reserve(units->size() * 2);
  for (char16_t u : *units) {
    out.push_back(static_cast<uint8_t>(u & 0xFF));
    out.push_back(static_cast<uint8_t>(u >> 8));
  }
  return out;
}

std::optional<std::wstring> Utf16LeBytesToWide(const uint8_t* data, size_t size) {
  if (size % 2 != 0) return std::nullopt;
  std::u16string units;
  units.reserve(size / 2);
  for (size_t i = 0; i < size; i += 2) {
    units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }
  return Utf16ToWide(units);
}

std::optional<std::string> WideToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t wc : text) {
    if (!AppendUtf8(out, static_cast<uint32_t>(wc))) return std::nullopt;
  }
  return out;
}

std::optional<std::wstring> Utf8ToWide(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    uint32_t c;
    if (!NextUtf8(text, i, c)) return std::nullopt;
    out.push_back(static_cast<wchar_t>(c));
  }
  return out;
}

bool WideToCp936(std::wstring_view text, std::string& out) {
  if (IsAscii(text)) {
    out.resize(text.size());
    std::transform(text.begin(), text.end(), out.begin(), [](wchar_t c) { return static_cast<char>(c); });
    return true;
  }
  // The intermediate forms live in per-thread buffers: a save converts hundreds of thousands
  // of texts, and only `out` should need memory of its own.
  thread_local std::string utf8;
  utf8.clear();
  for (wchar_t wc : text) {
    if (!AppendUtf8(utf8, static_cast<uint32_t>(wc))) return false;
  }
  thread_local Iconv cv("CP936", "UTF-8");
  thread_local std::string converted;
  if (!cv.Run(utf8.data(), utf8.size(), converted)) return false;
  out.assign(converted);
  return true;
}

bool Cp936ToWide(std::string_view bytes, std::wstring& out) {
  if (IsAscii(bytes)) {
    // Assigning from the char range would build a temporary wide string and copy it again: an
    // allocation more for every text longer than a string holds inline. A string with room
    // enough is overwritten in place; any other gets a new one built in a single pass.
    if (out.capacity() >= bytes.size()) {
      out.resize(bytes.size());
      std::copy(bytes.begin(), bytes.end(), out.begin());
    } else {
      out = std::wstring(bytes.begin(), bytes.end());
    }
    return true;
  }
  thread_local Iconv cv("UTF-8", "CP936");
  thread_local std::string utf8;
  if (!cv.Run(bytes.data(), bytes.size(), utf8)) return false;
  // Decoded into a per-thread buffer, so that a failure leaves `out` as it was and a success
  // costs `out` at most one allocation of the exact size.
  thread_local std::wstring wide;
  wide.clear();
  size_t i = 0;
  while (i < utf8.size()) {
    uint32_t c;
    if (!NextUtf8(utf8, i, c)) return false;
    wide.push_back(static_cast<wchar_t>(c));
  }
  out.assign(wide);
  return true;
}

std::optional<std::string> WideToCp936(std::wstring_view text) {
  std::string out;
  if (!WideToCp936(text, out)) return std::nullopt;
  return out;
}

std::optional<std::wstring> Cp936ToWide(std::string_view bytes) {
  std::wstring out;
  if (!Cp936ToWide(bytes, out)) return std::nullopt;
  return out;
}

std::wstring WideFromZeroEndedUtf16(const char16_t* text) {
  if (text == nullptr) return {};
  std::u16string_view view(text);
  if (auto wide = Utf16ToWide(view)) return *wide;
  // Unpaired surrogates: keep each unit as its own code point rather than dropping text.
  return std::wstring(view.begin(), view.end());
}

std::string ToUtf8Lossy(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t wc : text) {
    if (!AppendUtf8(out, static_cast<uint32_t>(wc))) AppendUtf8(out, 0xFFFD);
  }
  return out;
}

std::wstring FromUtf8Lossy(std::string_view text) {
  std::wstring out;
  size_t i = 0;
  while (i < text.size()) {
    uint32_t c;
    if (NextUtf8(text, i, c)) {
      out.push_back(static_cast<wchar_t>(c));
    } else {
      out.push_back(L'\uFFFD');
      ++i;
    }
  }
  return out;
}

}  // namespace platform
