// Text conversions between the in-memory form (std::wstring, one code point per wchar_t)
// and the byte forms used in files, on the wire and at plug-in boundaries.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// UTF-16 code units <-> wide text. Unpaired surrogates and code points that UTF-16 cannot
// carry make the conversion fail (nullopt), never a silently altered text.
std::optional<std::u16string> WideToUtf16(std::wstring_view text);
std::optional<std::wstring> Utf16ToWide(std::u16string_view text);

// Bytes of UTF-16LE (no BOM handling here) <-> wide text. An odd byte count fails.
std::optional<std::vector<uint8_t>> WideToUtf16LeBytes(std::wstring_view text);
std::optional<std::wstring> Utf16LeBytesToWide(const uint8_t* data, size_t size);

// UTF-8 <-> wide text (file names on Linux are UTF-8 bytes).
std::optional<std::string> WideToUtf8(std::wstring_view text);
std::optional<std::wstring> Utf8ToWide(std::string_view text);

// Simplified-Chinese code page (CP936 / GBK) through iconv. A character the code page
// cannot hold, or a byte sequence that is not valid CP936, fails.
std::optional<std::string> WideToCp936(std::wstring_view text);
std::optional<std::wstring> Cp936ToWide(std::string_view bytes);
// The same into an existing string (its storage is reused); false, and `out` unchanged, when the
// conversion fails. ASCII text, the same in both forms, is copied without a converter.
bool WideToCp936(std::wstring_view text, std::string& out);
bool Cp936ToWide(std::string_view bytes, std::wstring& out);

// Reads a zero-ended UTF-16 text handed over a C interface (null reads as empty).
std::wstring WideFromZeroEndedUtf16(const char16_t* text);

// Convenience for paths and messages: UTF-8 form of a wide text, with U+FFFD for anything
// that cannot be encoded. Only for display and file-system calls, never for stored data.
std::string ToUtf8Lossy(std::wstring_view text);
std::wstring FromUtf8Lossy(std::string_view text);

}  // namespace platform
