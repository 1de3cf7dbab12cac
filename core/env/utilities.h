// Free helpers shared by the whole workbench: byte-order swaps, the CRC-16 of the PLC link and
// the image stamps, splitting and joining texts, indexed names ("name#index"), conversion
// between wide texts and the CP936 multibyte form, the 16-byte password block of the link,
// integer parsing, and the clipboard in plain Unicode text and in the private block format.
//
// None of them keeps state, and all but the clipboard functions may run on any thread. Failures
// are reported by the bool result; out arguments are then left unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Brenno {

// A rectangle in the order left, top, right, bottom.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// One piece of a drawn text: its length in characters and its colour index into the shared
// colour table of the shell.
struct ColorRun {
  int length = 0;
  int colour = 0;
  friend bool operator==(const ColorRun&, const ColorRun&) = default;
};

// Orders the rectangle so that left <= right and top <= bottom.
void NormalizeRect(Rect& rect);

// Reverse the byte order of every 2-, 4- or 8-byte unit in place. False, and nothing changed,
// when the length is not a multiple of the unit size.
bool SwapBytes16(std::span<uint8_t> bytes);
bool SwapBytes32(std::span<uint8_t> bytes);
bool SwapBytes64(std::span<uint8_t> bytes);
inline bool SwapBytes16(uint8_t* begin, uint8_t* end) { return SwapBytes16(std::span<uint8_t>(begin, end)); }
inline bool SwapBytes32(uint8_t* begin, uint8_t* end) { return SwapBytes32(std::span<uint8_t>(begin, end)); }
inline bool SwapBytes64(uint8_t* begin, uint8_t* end) { return SwapBytes64(std::span<uint8_t>(begin, end)); }

// CRC-16/MODBUS (reflected polynomial 0xA001, initial 0xFFFF, no final XOR) of all bytes.
// Every user stores the value low byte first.
uint16_t ComputeCrc16(std::span<const uint8_t> bytes);

// The texts in order with the separator between neighbours; an empty list gives "".
void JoinText(std::wstring& out, const std::vector<std::wstring>& texts, std::wstring_view separator);

// Replaces the list by the pieces of the text between occurrences of the separator, scanning
// left to right without overlap; empty pieces are kept. An empty text gives an empty list. An
// empty separator occurs nowhere, so the text comes back as one piece.
void SplitText(std::vector<std::wstring>& out, std::wstring_view text, std::wstring_view separator);

// Indexed names of statement-list instructions and ladder elements: index 0 is the bare name,
// any other index is written name + "#" + index (signed decimal).
void ComposeIndexedName(std::wstring& out, std::wstring_view name, int index);

// Appends the indexed name to the text and two runs of colour 0 to the list: one for the name
// and one for the "#index" suffix (length 0 when the index is 0).
void AppendIndexedNameRuns(int index, std::wstring& text, std::wstring_view name, std::vector<ColorRun>& runs);

// Splits at the last "#": the name before it and the leading decimal number after it (blanks
// and a sign allowed before the digits, reading stops at the first non-digit; 0 when there is
// no number). A text without "#" is the whole name with index 0.
void SplitIndexedName(std::wstring& name, std::wstring_view text, int& index);
// The index that the text after an indexed name's "#" gives, as SplitIndexedName reads it.
int IndexedNameIndex(std::wstring_view afterMark);

// Conversions between wide text and the workbench's multibyte code page (CP936). Each stops
// at the first zero character. False, out unchanged, when a character cannot be encoded or the
// bytes are not valid in the code page.
bool WStringToMultiByte(std::wstring_view text, std::string& out);
bool MultiByteToWString(std::string_view bytes, std::wstring& out);

// The 16-byte password block of the link: the password's CP936 bytes, then 0xFF up to 16.
// False, block unchanged, when the password cannot be encoded or needs more than 16 bytes.
constexpr size_t kPasswordBlockSize = 16;
bool PackPasswordBytes(std::vector<uint8_t>& block, std::wstring_view password);

// count copies of value; a negative count throws std::length_error.
void FillWCharVector(std::vector<wchar_t>& out, int count, wchar_t value);

// Reads a signed 32-bit int in base 8, 10 or 16. White space before and after the number is
// skipped, a leading "+" or "-" is accepted, and in base 16 an optional "0x"/"0X" after the
// sign. The whole text must be the number: "12zz" or "16#1g"-style leftovers fail, as do a text
// without digits, a number that does not fit in 32 bits and any other base. On failure value is
// left unchanged.
bool ParseIntWithBase(int base, std::wstring_view text, int& value);

// ParseIntWithBase in base 10.
bool WStringToInt(std::wstring_view text, int& value);

// For callers that deliberately read a number at the start of a text and ignore what follows
// it ("2abc" reads 2). Same rules as ParseIntWithBase otherwise; consumed (when given) receives
// the number of characters read, leading white space included.
bool ParseLeadingInt(int base, std::wstring_view text, int& value, size_t* consumed = nullptr);

// The clipboard, through the ClipboardService the shell installs (core/env/clipboard.h). All
// four return false when no service is installed. They belong to the UI thread.
bool PutClipboardText(const std::wstring& text);
bool GetClipboardText(std::wstring& text);
// The private block is a 4-byte little-endian length n followed by the n bytes.
bool PutClipboardBlock(const std::vector<uint8_t>& bytes);
// Refuses (false, vector unchanged) a block shorter than four bytes or one whose stated length
// exceeds the bytes that follow it.
bool GetClipboardBlock(std::vector<uint8_t>& bytes);

}  // namespace Brenno
