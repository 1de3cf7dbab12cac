// Passwords of program units. A subroutine page can be protected by a numeric password of up to
// eight digits, kept as one 32-bit password word:
//
//   bits 0-26   the digits read as a decimal number
//   bit 27      set flag: the word holds a password
//   bits 28-31  the number of characters (1..8), so that leading zeros count
//
// A word of 0 means no password. The environment holds two tables of 32 such words, stored as
// 128 bytes, each word little-endian: the unit password table (saved in the project file and
// downloaded to the PLC) and the table of words the user entered since the program started. The
// unit number is the low half of a program page key; only keys with a non-zero high half and a
// unit number below 32 have a slot. A unit is locked while its stored word has the set flag and
// differs from its entered word. Plain C++.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace Brenno {

class AppEnvironment;

inline constexpr int kPasswordSlots = 32;
inline constexpr size_t kPasswordTableBytes = 4 * kPasswordSlots;
inline constexpr uint32_t kPasswordValueMask = (1u << 27) - 1;
inline constexpr uint32_t kPasswordSetFlag = 1u << 27;
inline constexpr int kPasswordLengthShift = 28;
inline constexpr size_t kPasswordMaxLength = 8;

using PasswordTableBytes = std::array<uint8_t, kPasswordTableBytes>;

// The word of a password text: the leading decimal digits as the value (reading stops at the
// first other character, so a text without leading digits has value 0), the length of the whole
// text, and the set flag. Texts longer than eight characters are refused by the dialogs first.
uint32_t PasswordWordFromText(const std::wstring& text);
// The text shown for a word: the value in decimal, prefixed with "0" up to the stored length.
// Empty for a word without the set flag.
std::wstring PasswordTextFromWord(uint32_t word);

// Whether the page key has a slot in the tables, and its unit number (the low 16 bits).
bool HasPasswordSlot(int pageKey);
inline int PasswordUnit(int pageKey) { return pageKey & 0xFFFF; }

// One word of a table; a reference without a table (a page without a slot) reads 0 and ignores
// writes.
class PasswordWordRef {
 public:
  PasswordWordRef() = default;
  PasswordWordRef(PasswordTableBytes* table, int unit);
  uint32_t Get() const;
  void Set(uint32_t word) const;
  bool Valid() const { return bytes_ != nullptr; }

 private:
  uint8_t* bytes_ = nullptr;
};

// The two tables of the environment.
PasswordWordRef UnitPasswordTable(AppEnvironment& env, int pageKey);
PasswordWordRef EnteredPasswordTable(AppEnvironment& env, int pageKey);
// The words of one table (0 for a unit outside 0..31).
uint32_t PasswordWordAt(const PasswordTableBytes& table, int unit);

// The lock test: the page has a slot, its unit word has the set flag and differs from its
// entered word.
bool IsPasswordLocked(uint32_t unitWord, uint32_t enteredWord);
bool IsUnitLocked(AppEnvironment& env, int pageKey);

// The checks of the two dialogs' OK.
enum class PasswordInputCheck { Ok, TooLong, Empty };
PasswordInputCheck CheckPasswordInput(const std::wstring& text);
// With the box checked an empty password is refused (Empty): its word could never be entered
// again, since the input dialog refuses an empty text, and the unit would stay locked for good.
enum class PasswordSetCheck { Ok, TooLong, Mismatch, Empty };
PasswordSetCheck CheckPasswordSet(bool protect, const std::wstring& password, const std::wstring& confirmation);

// The messages (only in Chinese, except the standard one for a text that is too long).
const wchar_t* TextPasswordEmpty();       // "密码不得为空!"
const wchar_t* TextPasswordWrong();       // "密码校验错误"
const wchar_t* TextPasswordMismatch();    // "密码不一致，请重新输入密码!"
const wchar_t* TextPasswordSetDone();     // "设置成功"
std::wstring TextPasswordTooLong();

}  // namespace Brenno
