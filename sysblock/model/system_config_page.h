// System page 1: password, execution cycle, timed-interrupt periods and retentive M range, as
// the system configuration page of the property sheet holds them, with the page's byte codec
// and checks.
//
// Page layout (24 bytes): 0-15 password block (the password's code-page bytes, then FF; 16 x FF
// is no password), 16-17 execution cycle, 18 and 19 the timed interrupt periods in ms, 20-21
// retentive start, 22-23 retentive end (16-bit values little-endian).
#pragma once

#include <optional>
#include <string>

#include "sysblock/model/page_map.h"
#include "sysblock/model/text_value.h"

namespace corvell {

constexpr int kPasswordControl = 30201;
constexpr int kTimedInterrupt0Control = 30302;
constexpr int kTimedInterrupt1Control = 30303;

constexpr std::size_t kPasswordBlockSize = 16;

// Turns a password text into the 16-byte password block: its simplified-Chinese code-page
// bytes followed by FF. False, and the block untouched, when a character has no form in the
// code page or the bytes are more than 16.
bool TextToPasswordBytes(const std::wstring& text, PageBytes& block);

class SystemConfigPage {
 public:
  static constexpr std::size_t kPageSize = 24;

  // Defaults: timed interrupts 200 ms, execution cycle 0, retentive start 2000 and end 3071;
  // password and verification stay.
  void Defaults();

  // Password and verification equal and at most 8 characters, and the password expressible in
  // the controller's code page.
  std::optional<FieldError> CheckPasswordFields(int language) const;
  // Each timed interrupt text a number from 10 to 255.
  std::optional<FieldError> CheckInterruptTimes(int language) const;

  // Loads the fields from page 1 (password into both password and verification). A timed
  // interrupt byte below 10 keeps the field's value. A page shorter than 24 bytes is read from
  // the sample instead.
  void Decode(const PageBytes& page, const PageBytes& sample);

  // Page 1 (24 bytes) from the fields. A password left as it was loaded writes back the bytes
  // it was loaded from; a password that cannot be converted keeps the loaded block. A timed
  // interrupt text outside 10 to 255 writes the sample's byte.
  PageBytes Encode(const PageBytes& sample) const;

  std::wstring Password;
  std::wstring Verification;
  std::wstring TimedInterrupt0 = L"200";
  std::wstring TimedInterrupt1 = L"200";
  unsigned ExecutionCycle = 0;
  unsigned RetentiveStart = 2000;
  unsigned RetentiveEnd = 8063;

 private:
  void DecodeFrom(const PageBytes& page);

  // What Decode read: the block (empty before any decoding) and its text.
  PageBytes loadedPasswordBlock_;
  std::wstring loadedPassword_;
};

}  // namespace corvell
