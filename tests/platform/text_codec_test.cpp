#include "platform/text_codec.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(TextCodec, Cp936RoundTripOfChineseAndAscii) {
  const std::wstring text = L"已连接 COM1";
  auto bytes = WideToCp936(text);
  ASSERT_TRUE(bytes);
  // 已 = D2 D1, 连 = C1 AC, 接 = BD D3 in GBK.
  EXPECT_EQ(*bytes, std::string("\xD2\xD1\xC1\xAC\xBD\xD3 COM1"));
  auto back = Cp936ToWide(*bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, text);
}

TEST(TextCodec, Cp936RefusesWhatItCannotCarry) {
  EXPECT_FALSE(WideToCp936(L"\U0001F600"));         // emoji has no CP936 form
  EXPECT_FALSE(Cp936ToWide(std::string("\xD2", 1)));  // truncated double-byte character
}

TEST(TextCodec, Utf16LeBytesRoundTripWithSurrogates) {
  const std::wstring text = L"A中\U0001F600";
  auto bytes = WideToUtf16LeBytes(text);
  ASSERT_TRUE(bytes);
  const std::vector<uint8_t> expected = {0x41, 0x00, 0x2D, 0x4E, 0x3D, 0xD8, 0x00, 0xDE};
  EXPECT_EQ(*bytes, expected);
  auto back = Utf16LeBytesToWide(bytes->data(), bytes->size());
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, text);
}

TEST(TextCodec, MalformedUtf16AndUtf8Fail) {
  const uint8_t odd[] = {0x41, 0x00, 0x42};
  EXPECT_FALSE(Utf16LeBytesToWide(odd, sizeof odd));
  const uint8_t lone[] = {0x00, 0xDC};
  EXPECT_FALSE(Utf16LeBytesToWide(lone, sizeof lone));
  EXPECT_FALSE(Utf8ToWide("\xC3"));
  EXPECT_FALSE(Utf8ToWide("\xC0\x80"));  // overlong
  EXPECT_FALSE(WideToUtf16(std::wstring(1, static_cast<wchar_t>(0xD800))));
}

TEST(TextCodec, ZeroEndedUtf16FromPlugins) {
  EXPECT_EQ(WideFromZeroEndedUtf16(nullptr), L"");
  EXPECT_EQ(WideFromZeroEndedUtf16(u"CPU 中"), L"CPU 中");
}
