#include "core/env/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/env/constant.h"
#include "core/env/data_type.h"
#include "memory_map_test_support.h"
#include "platform/text_codec.h"

using namespace Brenno;

namespace {

uint32_t Bits(float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// The float the C library reads from the text, rounded to nearest.
uint32_t CBits(const wchar_t* text) { return Bits(std::wcstof(text, nullptr)); }

std::string Narrow(const std::wstring& text) { return platform::ToUtf8Lossy(text); }

}  // namespace

// A real constant as typed, the text the editors keep and the project stores, and the value: the
// stored text has the fewest digits that read back to the typed 32-bit value, plain decimal
// where that is short, an exponent as before where it is not.
TEST(RealText, TypedRealsAreStoredWithAllTheDigitsTheirValueNeeds) {
  const MemoryAreaManager manager = memorymaptest::LoadFixtureManager("TypeA");
  struct Case {
    const wchar_t* typed;
    const wchar_t* stored;
  } const cases[] = {
      {L"1234567.9", L"1234567.9"},
      {L"3.14159265", L"3.1415927"},
      {L"0.1", L"0.1"},
      {L"1.5", L"1.5"},
      {L"-2e3", L"-2000"},
      {L"0.1234567", L"0.1234567"},
      {L"100000", L"100000"},
      {L"1e6", L"1e+06"},
      {L"16777217", L"16777216"},
      {L"123456789", L"1.2345679e+08"},
      {L"0.0001", L"0.0001"},
      {L"0.00001", L"1e-05"},
      {L"-0.000123456789", L"-0.00012345679"},
      {L"3.4028235e38", L"3.4028235e+38"},
      {L"-1.17549435e-38", L"-1.1754944e-38"},  // the smallest normal value
      {L"1.1754942e-38", L"1.1754942e-38"},     // the largest denormal
      {L"1.4e-45", L"1e-45"},                   // the smallest denormal
      {L"0", L"0"},
      {L"-0", L"-0"},
      {L" +2.50 ", L"2.5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.typed));
    std::wstring text = c.typed;
    ASSERT_TRUE(CheckConstantText(manager, text, kDataTypeReal));
    EXPECT_EQ(Narrow(text), Narrow(c.stored));
    uint32_t typed = 0;
    uint32_t stored = 0;
    ASSERT_TRUE(ParseConstantValue(manager, typed, kDataTypeReal, c.typed));
    ASSERT_TRUE(ParseConstantValue(manager, stored, kDataTypeReal, text));
    EXPECT_EQ(typed, CBits(c.typed));
    EXPECT_EQ(stored, typed);
    std::wstring again = text;
    ASSERT_TRUE(CheckConstantText(manager, again, kDataTypeReal));
    EXPECT_EQ(again, text);
  }
}

// Every finite value prints as a text that reads back to the same bits: a sweep over the bit
// patterns (both signs, every exponent, denormals) and the edges of the ranges.
TEST(RealText, EveryPrintedValueReadsBackToTheSameBits) {
  std::vector<uint32_t> patterns = {0x00000000u, 0x80000000u, 0x00000001u, 0x807FFFFFu, 0x00800000u,
                                    0x7F7FFFFFu, 0xFF7FFFFFu, 0x3DCCCCCDu, 0x4B7FFFFFu, 0x4B800001u};
  for (uint64_t bits = 12345; bits <= 0xFFFFFFFFu; bits += 65521) patterns.push_back(static_cast<uint32_t>(bits));
  size_t longest = 0;
  for (const uint32_t bits : patterns) {
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) continue;
    std::wstring text;
    FormatRealText(value, text);
    float read = 0;
    ASSERT_TRUE(ParseRealText(text, read, TrailingText::Refused)) << Narrow(text);
    ASSERT_EQ(Bits(read), bits) << Narrow(text);
    longest = std::max(longest, text.size());
  }
  EXPECT_LE(longest, 15u);  // "-1.1754942e-38": sign, nine digits, point and exponent
}
