#include "core/env/constant.h"

#include <gtest/gtest.h>

#include "core/env/data_type.h"
#include "core/env/exception_error.h"
#include "core/env/number_text.h"
#include "memory_map_test_support.h"

using namespace Brenno;

namespace {

// Prefix8 "", Prefix10 "10#", Prefix16 "16#", PrefixAutoBase 10, FxMode 0.
const MemoryAreaManager& TypeA() {
  static const MemoryAreaManager manager = memorymaptest::LoadFixtureManager("TypeA");
  return manager;
}
// Prefix10 "K", Prefix16 "H", PrefixAutoBase 10, FxMode 1.
const MemoryAreaManager& TypeFx() {
  static const MemoryAreaManager manager = memorymaptest::LoadFixtureManager("TypeFx");
  return manager;
}
MemoryAreaManager WithRadix(int autoBase, const std::wstring& prefix8) {
  MemoryAreaManager manager = TypeA();
  manager.PrefixAutoBase = autoBase;
  manager.Prefix8 = prefix8;
  return manager;
}

std::string Narrow(const std::wstring& text) { return platform::ToUtf8Lossy(text); }

}  // namespace

TEST(Constant, CheckGivesTheCanonicalForm) {
  const MemoryAreaManager octal = WithRadix(10, L"8#");
  const MemoryAreaManager auto16 = WithRadix(16, L"");
  const MemoryAreaManager auto8 = WithRadix(8, L"");
  struct Case {
    const MemoryAreaManager* manager;
    int type;
    const wchar_t* text;
    const wchar_t* canonical;  // nullptr: invalid
  } const cases[] = {
      {&TypeA(), kDataTypeByte, L"255", L"255"},
      {&TypeA(), kDataTypeByte, L"256", nullptr},
      {&TypeA(), kDataTypeSint, L"-129", nullptr},
      {&TypeA(), kDataTypeSint, L"-128", L"-128"},
      {&TypeA(), kDataTypeUsint, L"-1", nullptr},
      {&TypeA(), kDataTypeBit, L"2", nullptr},
      {&TypeA(), kDataTypeBit, L"1", L"1"},
      {&TypeA(), kDataTypeByte, L"16#1", L"16#01"},
      {&TypeA(), kDataTypeWord, L"16#ff", L"16#00FF"},
      {&TypeA(), kDataTypeDint, L"0100", L"100"},
      {&TypeA(), kDataTypeInt, L"10#5", L"10#5"},
      {&TypeA(), kDataTypeInt, L" +7 ", L"7"},
      {&TypeA(), kDataTypeDword, L"16#FFFFFFFF", L"16#FFFFFFFF"},
      {&TypeA(), kDataTypeUdint, L"4294967296", nullptr},
      {&TypeA(), kDataTypeDint, L"99999999999999999999", nullptr},
      {&TypeA(), kDataTypeInt, L"10#", nullptr},
      {&TypeA(), kDataTypeInt, L"", nullptr},
      // Characters after the number are refused, not dropped.
      {&TypeA(), kDataTypeByte, L"16#1g", nullptr},
      {&TypeA(), kDataTypeDint, L"10Z1", nullptr},
      {&TypeA(), kDataTypeDint, L"12AB", nullptr},
      // A negative number in radix 8 or 16 is written as its bit pattern in the type's width, and
      // a signed type takes its width's bit patterns (16#FFFF is -1 in an Int).
      {&TypeA(), kDataTypeSint, L"16#-1", L"16#FF"},
      {&TypeA(), kDataTypeInt, L"16#-8000", L"16#8000"},
      {&TypeA(), kDataTypeInt, L"16#-8001", nullptr},
      {&TypeA(), kDataTypeInt, L"16#ffff", L"16#FFFF"},
      {&TypeA(), kDataTypeInt, L"16#10000", nullptr},
      {&TypeA(), kDataTypeDint, L"16#-7fffffff", L"16#80000001"},
      {&octal, kDataTypeSint, L"8#-1", L"8#0377"},
      // A byte, word or double word takes a negative decimal as its two's complement; the unsigned
      // number types and a signed type written in decimal keep their ranges.
      {&TypeA(), kDataTypeWord, L"-1", L"-1"},
      {&TypeA(), kDataTypeByte, L"-128", L"-128"},
      {&TypeA(), kDataTypeByte, L"-129", nullptr},
      {&TypeA(), kDataTypeDword, L"-2147483648", L"-2147483648"},
      {&TypeA(), kDataTypeUint, L"-1", nullptr},
      {&TypeA(), kDataTypeInt, L"40000", nullptr},
      {&octal, kDataTypeByte, L"8#17", L"8#0017"},
      {&octal, kDataTypeByte, L"8#18", nullptr},
      {&auto16, kDataTypeByte, L"ff", L"FF"},
      {&auto8, kDataTypeWord, L"17", L"00000017"},
      {&TypeA(), kDataTypeReal, L"1.5", L"1.5"},
      {&TypeA(), kDataTypeReal, L"0.1234567", L"0.1234567"},
      {&TypeA(), kDataTypeReal, L"-2e3", L"-2000"},
      {&TypeA(), kDataTypeReal, L"1.5x", nullptr},
      {&TypeA(), kDataTypeReal, L"16#1", nullptr},
      {&TypeA(), kDataTypeReal, L"1e39", nullptr},
  };
  for (const Case& c : cases) {
    std::wstring text = c.text;
    EXPECT_EQ(CheckConstantText(*c.manager, text, c.type), c.canonical != nullptr) << Narrow(c.text);
    EXPECT_EQ(text, c.canonical != nullptr ? c.canonical : c.text) << Narrow(c.text);
    if (c.canonical == nullptr) continue;
    // The canonical form reads back as the same value, and it is its own canonical form.
    uint32_t written = 0;
    uint32_t reread = 0;
    ASSERT_TRUE(ParseConstantValue(*c.manager, written, c.type, c.text));
    ASSERT_TRUE(ParseConstantValue(*c.manager, reread, c.type, text)) << Narrow(text);
    EXPECT_EQ(reread, written) << Narrow(c.text);
    std::wstring again = text;
    ASSERT_TRUE(CheckConstantText(*c.manager, again, c.type));
    EXPECT_EQ(again, text);
  }
  // A default radix other than 8, 10 or 16 makes every unprefixed constant invalid.
  const MemoryAreaManager noRadix = WithRadix(0, L"");
  std::wstring text = L"5";
  EXPECT_FALSE(CheckConstantText(noRadix, text, kDataTypeInt));
  text = L"10#5";
  EXPECT_TRUE(CheckConstantText(noRadix, text, kDataTypeInt));
}

TEST(Constant, ValuesAndDisplayTexts) {
  const MemoryAreaManager auto16 = WithRadix(16, L"");
  struct Case {
    const MemoryAreaManager* manager;
    int type;
    uint32_t value;
    const wchar_t* text;
  } const cases[] = {
      {&TypeA(), kDataTypeWord, 255, L"16#00FF"},
      {&TypeA(), kDataTypeInt, 0x0000FFFF, L"-1"},
      {&TypeA(), kDataTypeUint, 0x0000FFFF, L"65535"},
      {&TypeA(), kDataTypeByte, 0x1FF, L"16#FF"},
      {&TypeA(), kDataTypeSint, 0x80, L"-128"},
      {&TypeA(), kDataTypeUsint, 0x180, L"128"},
      {&TypeA(), kDataTypeBit, 1, L"1"},
      {&TypeA(), kDataTypeDint, 0xFFFFFFFF, L"-1"},
      {&TypeA(), kDataTypeUdint, 0xFFFFFFFF, L"4294967295"},
      {&TypeA(), kDataTypeDword, 0x12AB, L"16#000012AB"},
      {&TypeA(), kDataTypeReal, 0x3FC00000, L"1.5"},
      {&auto16, kDataTypeInt, 5, L"10#5"},
      {&auto16, kDataTypeWord, 5, L"16#0005"},
      {&TypeFx(), kDataTypeWord, 0x1F, L"H001F"},
      {&TypeFx(), kDataTypeInt, 10, L"10"},
  };
  for (const Case& c : cases) {
    std::wstring text;
    ASSERT_TRUE(FormatConstantValue(c.type, *c.manager, c.value, text));
    EXPECT_EQ(text, c.text);
  }
  uint32_t value = 0;
  ASSERT_TRUE(ParseConstantValue(TypeA(), value, kDataTypeSint, L"-1"));
  EXPECT_EQ(value, 0xFFFFFFFFu);
  ASSERT_TRUE(ParseConstantValue(TypeA(), value, kDataTypeReal, L"1.5"));
  EXPECT_EQ(value, 0x3FC00000u);
  value = 7;
  EXPECT_FALSE(ParseConstantValue(TypeA(), value, kDataTypeByte, L"256"));
  EXPECT_EQ(value, 7u);
}

TEST(Constant, IndexRegisterSuffix) {
  struct Case {
    const MemoryAreaManager* manager;
    const wchar_t* text;
    const wchar_t* canonical;  // nullptr: invalid
    ConstantOperand operand;
  } const cases[] = {
      {&TypeFx(), L"K10Z0", L"K10Z", {10, 0}},
      {&TypeFx(), L"k10z", L"K10Z", {10, 0}},
      {&TypeFx(), L"K10V1", L"K10V1", {10, 9}},
      {&TypeFx(), L"K10V", L"K10V", {10, 8}},
      {&TypeFx(), L"K10", L"K10", {10, -1}},
      {&TypeFx(), L"H1f", L"H001F", {0x1F, -1}},
      {&TypeFx(), L"10Z1", L"10Z1", {10, 1}},
      {&TypeFx(), L"K10Z8", nullptr, {}},
      {&TypeFx(), L"K10Z1X", nullptr, {}},
      {&TypeFx(), L"K10Z-1", nullptr, {}},
      {&TypeA(), L"10", L"10", {10, -1}},
      {&TypeA(), L"10Z1", nullptr, {}},  // no index registers in FxMode 0: refused, not read as 10
  };
  for (const Case& c : cases) {
    std::wstring text = c.text;
    EXPECT_EQ(CheckConstantOperand(*c.manager, kDataTypeInt, text), c.canonical != nullptr) << Narrow(c.text);
    EXPECT_EQ(text, c.canonical != nullptr ? c.canonical : c.text);
    ConstantOperand operand{99, 99};
    EXPECT_EQ(ParseConstantOperand(operand, *c.manager, kDataTypeInt, c.text), c.canonical != nullptr);
    if (c.canonical == nullptr) {
      EXPECT_EQ(operand, (ConstantOperand{99, 99}));
      continue;
    }
    EXPECT_EQ(operand, c.operand) << Narrow(c.text);
  }
  std::wstring text;
  ASSERT_TRUE(FormatConstantOperand(TypeFx(), {10, 9}, kDataTypeInt, text));
  EXPECT_EQ(text, L"10V1");
  ASSERT_TRUE(FormatConstantOperand(TypeFx(), {0xFFFF, 0}, kDataTypeWord, text));
  EXPECT_EQ(text, L"HFFFFZ");
  text = L"keep";
  EXPECT_FALSE(FormatConstantOperand(TypeA(), {10, 3}, kDataTypeInt, text));
  EXPECT_FALSE(FormatConstantOperand(TypeFx(), {10, 16}, kDataTypeInt, text));
  EXPECT_EQ(text, L"keep");
}

TEST(Constant, TypeRangeTexts) {
  const MemoryAreaManager auto16 = WithRadix(16, L"");
  struct Case {
    const MemoryAreaManager* manager;
    int type;
    const wchar_t* text;
  } const cases[] = {
      {&TypeA(), kDataTypeBit, L"0 ~ 1"},
      {&TypeA(), kDataTypeSint, L"-128 ~ 127"},
      {&auto16, kDataTypeSint, L"10#-128 ~ 10#127"},
      {&TypeA(), kDataTypeByte, L"16#00 ~ 16#FF"},
      {&auto16, kDataTypeByte, L"00 ~ FF"},
      {&TypeA(), kDataTypeDword, L"16#00000000 ~ 16#FFFFFFFF"},
      {&TypeA(), kDataTypeDint, L"-2147483648 ~ 2147483647"},
      {&TypeA(), kDataTypeUdint, L"0 ~ 4294967295"},
      {&TypeFx(), kDataTypeWord, L"H0000 ~ HFFFF"},
      {&TypeA(), kDataTypeReal, L"REAL"},
  };
  for (const Case& c : cases) {
    std::wstring text;
    EXPECT_EQ(FormatTypeRangeText(*c.manager, text, c.type), c.text);
    EXPECT_EQ(text, c.text);
  }
  std::wstring text;
  EXPECT_THROW(FormatTypeRangeText(TypeA(), text, 11), ExceptionFormatError);
  EXPECT_THROW(FormatTypeRangeText(TypeA(), text, -1), ExceptionFormatError);
}

TEST(Constant, DataTypeOutsideTheTableIsALogicError) {
  std::wstring text = L"1";
  uint32_t value = 0;
  ConstantOperand operand;
  EXPECT_THROW(CheckConstantText(TypeA(), text, 11), ExceptionLogicError);
  EXPECT_THROW(ParseConstantValue(TypeA(), value, -1, text), ExceptionLogicError);
  EXPECT_THROW(FormatConstantValue(11, TypeA(), 0, text), ExceptionLogicError);
  EXPECT_THROW(CheckConstantOperand(TypeA(), 11, text), ExceptionLogicError);
  EXPECT_THROW(ParseConstantOperand(operand, TypeA(), 11, text), ExceptionLogicError);
  EXPECT_THROW(FormatConstantOperand(TypeA(), operand, 11, text), ExceptionLogicError);
}

TEST(NumberText, ReadingAndPrinting) {
  int64_t value = 0;
  EXPECT_TRUE(ParseInt64Text(16, L" -1F", value));
  EXPECT_EQ(value, -31);
  EXPECT_TRUE(ParseInt64Text(10, L"12AB", value));
  EXPECT_EQ(value, 12);
  EXPECT_FALSE(ParseInt64Text(10, L"12AB", value, TrailingText::Refused));
  EXPECT_TRUE(ParseInt64Text(8, L"17 ", value, TrailingText::Refused));
  EXPECT_EQ(value, 15);
  EXPECT_FALSE(ParseInt64Text(10, L"   ", value));
  int32_t small = 0;
  EXPECT_FALSE(ParseIntText(10, L"2147483648", small));
  std::wstring text;
  FormatInt64Text(16, true, 4, L'0', 255, text);
  EXPECT_EQ(text, L"00FF");
  FormatIntText(16, 4, L'0', 255, text);
  EXPECT_EQ(text, L"00ff");
  FormatIntText(8, 0, L'0', 15, text);
  EXPECT_EQ(text, L"17");
  FormatIntText(10, 1000000, L'0', 1, text);  // a fill width from a bad file stays small
  EXPECT_EQ(text.size(), 64u);
}

TEST(NumberText, DigitTextsAtTheLimitsOfTheirType) {
  struct Case {
    int radix;
    const wchar_t* text;
    bool fits32;
    int32_t value32;
    bool fits64;
    int64_t value64;
  };
  const Case cases[] = {
      {10, L"0008", true, 8, true, 8},
      {10, L"2147483647", true, 2147483647, true, 2147483647},
      {10, L"2147483648", false, 0, true, 2147483648LL},
      {10, L"999999999999999999", false, 0, true, 999999999999999999LL},
      {10, L"9223372036854775808", false, 0, false, 0},
      {10, L"FF", false, 0, false, 0},
      {8, L"17777777777", true, 2147483647, true, 2147483647},
      {8, L"20000000000", false, 0, true, 2147483648LL},
      {8, L"0008", false, 0, false, 0},
      {16, L"FF", true, 255, true, 255},
      {16, L"0x1F", true, 31, true, 31},
      {16, L"7fffffff", true, 2147483647, true, 2147483647},
      {16, L"ffffffff", false, 0, true, 4294967295LL},
      {16, L"fffffffffffffff", false, 0, true, 1152921504606846975LL},
      {16, L"8000000000000000", false, 0, false, 0},
      {16, L"Fg", false, 0, false, 0},
  };
  for (const Case& c : cases) {
    int32_t value32 = -77;
    int64_t value64 = -77;
    EXPECT_EQ(ParseIntText(c.radix, c.text, value32, TrailingText::Refused), c.fits32) << c.text;
    EXPECT_EQ(value32, c.fits32 ? c.value32 : -77) << c.text;
    EXPECT_EQ(ParseInt64Text(c.radix, c.text, value64, TrailingText::Refused), c.fits64) << c.text;
    EXPECT_EQ(value64, c.fits64 ? c.value64 : -77) << c.text;
  }

  std::wstring text;
  FormatIntText(8, 8, L' ', 255, text);
  EXPECT_EQ(text, L"     377");
  FormatIntText(16, 0, L'0', 0, text);
  EXPECT_EQ(text, L"0");
  FormatInt64Text(16, false, 3, L'0', INT64_MAX, text);
  EXPECT_EQ(text, L"7fffffffffffffff");
  FormatIntText(8, 0, L'0', -1, text);  // negative: the two's complement of the type
  EXPECT_EQ(text, L"37777777777");
}
