#include "sysblock/model/system_config_page.h"

#include <algorithm>

#include "platform/text_codec.h"

namespace corvell {

namespace {

// The password's bytes: those before the first FF or 00 of the block.
PageBytes PasswordPrefix(const uint8_t* block) {
  PageBytes bytes;
  for (size_t i = 0; i < kPasswordBlockSize && block[i] != 0xFF && block[i] != 0x00; ++i) bytes.push_back(block[i]);
  return bytes;
}

std::wstring PasswordText(const PageBytes& bytes) {
  if (std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b < 0x80; }))
    return std::wstring(bytes.begin(), bytes.end());
  if (auto text = platform::Cp936ToWide(std::string(bytes.begin(), bytes.end()))) return *text;
  // Not a valid code-page text: one replacement character per byte. Left untouched, the
  // password is written back from the bytes it was loaded from.
  return std::wstring(bytes.size(), L'\uFFFD');
}

void PutU16(PageBytes& page, unsigned value) {
  page.push_back(static_cast<uint8_t>(value & 0xFF));
  page.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

uint8_t InterruptByte(const std::wstring& text, const PageBytes& sample, size_t offset) {
  auto v = ReadTextNumber(text);
  if (v && *v >= 10 && *v <= 255) return static_cast<uint8_t>(*v);
  return sample.size() > offset ? sample[offset] : 200;
}

}  // namespace

bool TextToPasswordBytes(const std::wstring& text, PageBytes& block) {
  auto bytes = platform::WideToCp936(text);
  if (!bytes) return false;
  if (bytes->size() > kPasswordBlockSize) return false;
  block.assign(kPasswordBlockSize, 0xFF);
  std::copy(bytes->begin(), bytes->end(), block.begin());
  return true;
}

void SystemConfigPage::Defaults() {
  TimedInterrupt0 = L"200";
  TimedInterrupt1 = L"200";
  ExecutionCycle = 0;
  RetentiveStart = 2000;
  RetentiveEnd = 3071;
}

std::optional<FieldError> SystemConfigPage::CheckPasswordFields(int language) const {
  PageBytes scratch;
  const bool ok = Password == Verification && Password.size() <= 8 &&
                  (Password == loadedPassword_ || TextToPasswordBytes(Password, scratch));
  if (ok) return std::nullopt;
  return FieldError{kPasswordControl, PickText(language, L"A password(eight word max) must be specified and verified",
                                               L"必须设定并验证一个密码(最多八个字符)")};
}

std::optional<FieldError> SystemConfigPage::CheckInterruptTimes(int language) const {
  if (auto m = CheckNumberText(TimedInterrupt0, 10, 255, PickText(language, L"Time Interrupt 0", L"时间中断0"), language))
    return FieldError{kTimedInterrupt0Control, *m};
  if (auto m = CheckNumberText(TimedInterrupt1, 10, 255, PickText(language, L"Time Interrupt 1", L"时间中断1"), language))
    return FieldError{kTimedInterrupt1Control, *m};
  return std::nullopt;
}

void SystemConfigPage::Decode(const PageBytes& page, const PageBytes& sample) {
  if (page.size() >= kPageSize) {
    DecodeFrom(page);
  } else if (sample.size() >= kPageSize) {
    DecodeFrom(sample);
  }
}

void SystemConfigPage::DecodeFrom(const PageBytes& page) {
  loadedPasswordBlock_.assign(page.begin(), page.begin() + kPasswordBlockSize);
  loadedPassword_ = PasswordText(PasswordPrefix(page.data()));
  Password = loadedPassword_;
  Verification = loadedPassword_;
  ExecutionCycle = page[16] + 256u * page[17];
  if (page[18] >= 10) TimedInterrupt0 = NumberText(page[18]);
  if (page[19] >= 10) TimedInterrupt1 = NumberText(page[19]);
  RetentiveStart = page[20] + 256u * page[21];
  RetentiveEnd = page[22] + 256u * page[23];
}

PageBytes SystemConfigPage::Encode(const PageBytes& sample) const {
  PageBytes page;
  if (!loadedPasswordBlock_.empty() && Password == loadedPassword_) {
    // Unchanged password: its own bytes again, whatever the code page makes of them.
    page = PasswordPrefix(loadedPasswordBlock_.data());
    page.resize(kPasswordBlockSize, 0xFF);
  } else if (!TextToPasswordBytes(Password, page)) {
    page = loadedPasswordBlock_.empty() ? PageBytes(kPasswordBlockSize, 0xFF) : loadedPasswordBlock_;
  }
  PutU16(page, ExecutionCycle);
  page.push_back(InterruptByte(TimedInterrupt0, sample, 18));
  page.push_back(InterruptByte(TimedInterrupt1, sample, 19));
  PutU16(page, RetentiveStart);
  PutU16(page, RetentiveEnd);
  return page;
}

}  // namespace corvell
