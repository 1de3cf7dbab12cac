#include "ui/shell/unit_password.h"

#include "core/link/app_environment.h"
#include "core/env/language.h"

namespace Brenno {

uint32_t PasswordWordFromText(const std::wstring& text) {
  uint32_t value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') break;
    // Eight digits always fit; the mask keeps a longer text from reaching the flag bits.
    value = (value * 10 + static_cast<uint32_t>(c - L'0')) & kPasswordValueMask;
  }
  const uint32_t length = static_cast<uint32_t>(text.size() > 15 ? 15 : text.size());
  return value | length << kPasswordLengthShift | kPasswordSetFlag;
}

std::wstring PasswordTextFromWord(uint32_t word) {
  if ((word & kPasswordSetFlag) == 0) return {};
  std::wstring text = std::to_wstring(word & kPasswordValueMask);
  const size_t length = word >> kPasswordLengthShift;
  if (text.size() < length) text.insert(0, length - text.size(), L'0');
  return text;
}

bool HasPasswordSlot(int pageKey) {
  return (static_cast<uint32_t>(pageKey) >> 16) != 0 && PasswordUnit(pageKey) < kPasswordSlots;
}

PasswordWordRef::PasswordWordRef(PasswordTableBytes* table, int unit) {
  if (table != nullptr && unit >= 0 && unit < kPasswordSlots) bytes_ = table->data() + 4 * unit;
}

uint32_t PasswordWordRef::Get() const {
  if (bytes_ == nullptr) return 0;
  return static_cast<uint32_t>(bytes_[0]) | static_cast<uint32_t>(bytes_[1]) << 8 |
         static_cast<uint32_t>(bytes_[2]) << 16 | static_cast<uint32_t>(bytes_[3]) << 24;
}

void PasswordWordRef::Set(uint32_t word) const {
  if (bytes_ == nullptr) return;
  for (int i = 0; i < 4; ++i) bytes_[i] = static_cast<uint8_t>(word >> (8 * i));
}

PasswordWordRef UnitPasswordTable(AppEnvironment& env, int pageKey) {
  if (!HasPasswordSlot(pageKey)) return {};
  return PasswordWordRef(&env.PasswordTable1, PasswordUnit(pageKey));
}

PasswordWordRef EnteredPasswordTable(AppEnvironment& env, int pageKey) {
  if (!HasPasswordSlot(pageKey)) return {};
  return PasswordWordRef(&env.PasswordTable2, PasswordUnit(pageKey));
}

uint32_t PasswordWordAt(const PasswordTableBytes& table, int unit) {
  return PasswordWordRef(const_cast<PasswordTableBytes*>(&table), unit).Get();
}

bool IsPasswordLocked(uint32_t unitWord, uint32_t enteredWord) {
  return (unitWord & kPasswordSetFlag) != 0 && unitWord != enteredWord;
}

bool IsUnitLocked(AppEnvironment& env, int pageKey) {
  if (!HasPasswordSlot(pageKey)) return false;
  return IsPasswordLocked(UnitPasswordTable(env, pageKey).Get(), EnteredPasswordTable(env, pageKey).Get());
}

PasswordInputCheck CheckPasswordInput(const std::wstring& text) {
  if (text.size() > kPasswordMaxLength) return PasswordInputCheck::TooLong;
  if (text.empty()) return PasswordInputCheck::Empty;
  return PasswordInputCheck::Ok;
}

PasswordSetCheck CheckPasswordSet(bool protect, const std::wstring& password, const std::wstring& confirmation) {
  if (password.size() > kPasswordMaxLength || confirmation.size() > kPasswordMaxLength) {
    return PasswordSetCheck::TooLong;
  }
  if (protect && password != confirmation) return PasswordSetCheck::Mismatch;
  if (protect && password.empty()) return PasswordSetCheck::Empty;
  return PasswordSetCheck::Ok;
}

const wchar_t* TextPasswordEmpty() { return L"密码不得为空!"; }
const wchar_t* TextPasswordWrong() { return L"密码校验错误"; }
const wchar_t* TextPasswordMismatch() { return L"密码不一致，请重新输入密码!"; }
const wchar_t* TextPasswordSetDone() { return L"设置成功"; }

std::wstring TextPasswordTooLong() {
  return PickText(L"Please enter no more than 8 characters.", L"请输入不超过 8 个字符。");
}

}  // namespace Brenno
