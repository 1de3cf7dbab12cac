#include "sysblock/model/modules/param_text.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

#include "module_test_bytes.h"
#include "support/test_paths.h"

namespace corvell {
namespace {

TEST(ParamText, LeadingDecimalNumbers) {
  const std::pair<const wchar_t*, float> cases[] = {
      {L"", 0.0f},          {L"-", 0.0f},        {L"abc", 0.0f},      {L"1.2.3", 1.2f},
      {L"-.5", -0.5f},      {L"  12.5abc", 12.5f}, {L"\t+3", 3.0f},   {L"1e3", 1000.0f},
      {L"2E-1x", 0.2f},     {L"1e", 1.0f},       {L"1e+", 1.0f},      {L".e5", 0.0f},
      {L"5.", 5.0f},        {L"1,5", 1.0f},      {L"1.005", 1.005f},  {L"19.00", 19.0f},
      {L"\uFF11", 0.0f},    {L"- 1", 0.0f},      {L"1 2", 1.0f},      {L"0x10", 0.0f},
      {L"inf", 0.0f},       {L"nan", 0.0f},
  };
  for (auto [text, expected] : cases) EXPECT_EQ(LeadingDecimalToFloat(text), expected) << '"' << text << '"';
  EXPECT_TRUE(std::isinf(LeadingDecimalToFloat(L"1e999")));
  EXPECT_EQ(LeadingDecimalToFloat(L"1e-999"), 0.0f);
}

TEST(ParamText, NumbersDoNotFollowTheProcessLocale) {
  // A locale with a decimal comma, compiled into a scratch folder (Debian images carry none).
  testsupport::TempDir dir;
  const std::string command = "localedef -i de_DE -f UTF-8 '" + dir.path() + "/de_DE.UTF-8' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "localedef cannot build de_DE.UTF-8";
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  setenv("LOCPATH", dir.path().c_str(), 1);
  const bool switched = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
  unsetenv("LOCPATH");
  if (!switched) GTEST_SKIP() << "de_DE.UTF-8 could not be selected";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 0.5);
  EXPECT_STREQ(probe, "0,5");  // the process now formats with a comma
  EXPECT_EQ(LeadingDecimalToFloat(L"12.5"), 12.5f);
  EXPECT_EQ(FormatFixed2(12.5f), L"12.50");
  std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST(ParamText, StopOutputsAreWholeBytesOrRefused) {
  const std::pair<const wchar_t*, std::optional<uint8_t>> cases[] = {
      {L"0", 0},          {L"255", 255},      {L" 12x", 12},      {L"", 0},
      {L"abc", 0},        {L"-0", 0},         {L"+7", 7},         {L"300", std::nullopt},
      {L"256", std::nullopt}, {L"-1", std::nullopt}, {L"99999999999999999999999", std::nullopt},
  };
  for (auto [text, expected] : cases) EXPECT_EQ(StopOutputFromText(text), expected) << '"' << text << '"';
}

TEST(ParamText, TwoDecimalTexts) {
  const std::pair<float, const wchar_t*> cases[] = {
      {1.005f, L"1.00"}, {1.234f, L"1.23"}, {500.0f, L"500.00"}, {0.0f, L"0.00"}, {-0.5f, L"-0.50"}, {20.0f, L"20.00"}};
  for (auto [value, text] : cases) EXPECT_EQ(FormatFixed2(value), text) << value;
}

TEST(ParamText, FloatsAreLittleEndianSinglePrecision) {
  const std::pair<float, const char*> cases[] = {
      {20.0f, "00 00 A0 41"}, {500.0f, "00 00 FA 43"}, {12.5f, "00 00 48 41"}, {1000.0f, "00 00 7A 44"}};
  for (auto [value, hex] : cases) {
    std::vector<uint8_t> out;
    AppendFloatLe(out, value);
    EXPECT_EQ(out, moduletest::Hex(hex));
    EXPECT_EQ(ReadFloatLe(out.data()), value);
  }
}

TEST(ParamText, DigitalRanges) {
  EXPECT_EQ(DigitalRangeText(L'I', 14, 29), L"I1.6 - I3.5");
  EXPECT_EQ(DigitalRangeText(L'Q', 16, 23), L"Q2.0 - Q2.7");
}

}  // namespace
}  // namespace corvell
