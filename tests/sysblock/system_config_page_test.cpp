#include "sysblock/model/system_config_page.h"

#include <gtest/gtest.h>

#include "sysblock/model/corvell_app.h"

namespace corvell {
namespace {

PageBytes Sample1() { return BuildSampleSystemConfigPage(); }

PageBytes Block(std::initializer_list<uint8_t> bytes) {
  PageBytes block(bytes);
  block.resize(16, 0xFF);
  return block;
}

PageBytes WithBlock(const PageBytes& block) {
  PageBytes page = Sample1();
  std::copy(block.begin(), block.end(), page.begin());
  return page;
}

TEST(TextToPasswordBytes, ConvertsToTheCodePageAndFillsWithFF) {
  struct Case {
    std::wstring text;
    bool ok;
    PageBytes block;
  } cases[] = {
      {L"", true, PageBytes(16, 0xFF)},
      {L"abcdefgh", true, Block({'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'})},
      {L"0123456789ABCDEF", true, PageBytes{'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'}},
      {L"中文", true, Block({0xD6, 0xD0, 0xCE, 0xC4})},
      {L"0123456789ABCDEFG", false, PageBytes{1, 2}},
      {L"中文中文中文中文a", false, PageBytes{1, 2}},
      {L"pw\U0001F600", false, PageBytes{1, 2}},
  };
  for (const auto& c : cases) {
    PageBytes block = {1, 2};
    EXPECT_EQ(TextToPasswordBytes(c.text, block), c.ok);
    EXPECT_EQ(block, c.block);
  }
}

TEST(SystemConfigPage, SampleDecodesToItsFieldsAndEncodesBackUnchanged) {
  SystemConfigPage page;
  page.Decode(Sample1(), Sample1());
  EXPECT_EQ(page.Password, L"");
  EXPECT_EQ(page.TimedInterrupt0, L"200");
  EXPECT_EQ(page.ExecutionCycle, 0u);
  EXPECT_EQ(page.RetentiveStart, 2000u);
  EXPECT_EQ(page.RetentiveEnd, 3071u);
  EXPECT_EQ(page.Encode(Sample1()), Sample1());
}

TEST(SystemConfigPage, PasswordBlockLoadsIntoBothFieldsAndStoresBack) {
  struct Case {
    PageBytes block;
    std::wstring text;
    PageBytes storedBack;
  } cases[] = {
      {Block({'a', 'b', 'c'}), L"abc", Block({'a', 'b', 'c'})},
      {PageBytes(16, 'x'), std::wstring(16, L'x'), PageBytes(16, 'x')},
      {PageBytes(16, 0xFF), L"", PageBytes(16, 0xFF)},
      {Block({'a', 'b', 0x00, 'c', 'd'}), L"ab", Block({'a', 'b'})},
      {Block({0xD6, 0xD0, 0xCE, 0xC4}), L"中文", Block({0xD6, 0xD0, 0xCE, 0xC4})},
      // Not valid in the code page: written back from the bytes it came from.
      {Block({0x81, 0x20, 0x41}), std::wstring(3, L'\uFFFD'), Block({0x81, 0x20, 0x41})},
  };
  for (const auto& c : cases) {
    SystemConfigPage page;
    page.Decode(WithBlock(c.block), Sample1());
    EXPECT_EQ(page.Password, c.text);
    EXPECT_EQ(page.Verification, c.text);
    PageBytes stored = page.Encode(Sample1());
    EXPECT_EQ(PageBytes(stored.begin(), stored.begin() + 16), c.storedBack);
  }
}

TEST(SystemConfigPage, FieldsEncodeLittleEndianAfterThePassword) {
  SystemConfigPage page;
  page.Decode(Sample1(), Sample1());
  page.Password = page.Verification = L"pw";
  page.ExecutionCycle = 500;
  page.TimedInterrupt0 = L"10";
  page.TimedInterrupt1 = L"2,55";
  page.RetentiveStart = 8063;
  page.RetentiveEnd = 0;
  PageBytes expected = Block({'p', 'w'});
  expected.insert(expected.end(), {0xF4, 0x01, 10, 255, 0x7F, 0x1F, 0x00, 0x00});
  EXPECT_EQ(page.Encode(Sample1()), expected);
}

TEST(SystemConfigPage, TimedInterruptBelowTenIsNotLoaded) {
  PageBytes bytes = Sample1();
  bytes[18] = 9;
  bytes[19] = 10;
  SystemConfigPage page;
  page.Decode(bytes, Sample1());
  EXPECT_EQ(page.TimedInterrupt0, L"200");
  EXPECT_EQ(page.TimedInterrupt1, L"10");
  PageBytes stored = page.Encode(Sample1());
  EXPECT_EQ(stored[18], 200);
  EXPECT_EQ(stored[19], 10);
  // A period that never passed the checks writes the sample's byte.
  page.TimedInterrupt1 = L"300";
  EXPECT_EQ(page.Encode(Sample1())[19], 200);
}

TEST(SystemConfigPage, PasswordThatCannotBeConvertedKeepsTheLoadedBlock) {
  SystemConfigPage page;
  page.Decode(WithBlock(Block({'o', 'l', 'd'})), Sample1());
  page.Password = page.Verification = L"\U0001F600";
  EXPECT_TRUE(page.CheckPasswordFields(1));
  PageBytes stored = page.Encode(Sample1());
  EXPECT_EQ(PageBytes(stored.begin(), stored.begin() + 16), Block({'o', 'l', 'd'}));
}

TEST(SystemConfigPage, ShortPageIsReadFromTheSample) {
  PageBytes bytes(23, 'a');
  SystemConfigPage page;
  page.Decode(bytes, Sample1());
  EXPECT_EQ(page.Password, L"");
  EXPECT_EQ(page.Encode(Sample1()), Sample1());
}

TEST(SystemConfigPage, PasswordCheck) {
  struct Case {
    std::wstring password, verification;
    bool ok;
  } cases[] = {
      {L"", L"", true},
      {L"abcdefgh", L"abcdefgh", true},
      {L"密码密码密码密码", L"密码密码密码密码", true},
      {L"abcdefgh", L"abcdefgH", false},
      {L"abcdefghi", L"abcdefghi", false},
      {L"abc", L"", false},
  };
  for (const auto& c : cases) {
    SystemConfigPage page;
    page.Password = c.password;
    page.Verification = c.verification;
    auto error = page.CheckPasswordFields(2);
    EXPECT_EQ(!error, c.ok);
    if (error) {
      EXPECT_EQ(error->ControlOffset, kPasswordControl);
      EXPECT_EQ(error->Message, L"必须设定并验证一个密码(最多八个字符)");
    }
  }
  // A 16-character password loaded from a page is refused when the page is left.
  SystemConfigPage page;
  page.Decode(WithBlock(PageBytes(16, 'x')), Sample1());
  auto error = page.CheckPasswordFields(1);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Message, L"A password(eight word max) must be specified and verified");
}

TEST(SystemConfigPage, InterruptCheck) {
  struct Case {
    std::wstring t0, t1;
    int language;
    int control;
    std::wstring message;
  } cases[] = {
      {L"9", L"200", 1, kTimedInterrupt0Control, L"Time Interrupt 0\r\nInput number out of range"},
      {L"200", L"", 1, kTimedInterrupt1Control, L"Time Interrupt 1\r\nPlease input a number"},
      {L"256", L"", 2, kTimedInterrupt0Control, L"时间中断0\r\n输入数字超出范围"},
      {L"10", L"255", 1, 0, L""},
  };
  for (const auto& c : cases) {
    SystemConfigPage page;
    page.TimedInterrupt0 = c.t0;
    page.TimedInterrupt1 = c.t1;
    auto error = page.CheckInterruptTimes(c.language);
    if (c.control == 0) {
      EXPECT_FALSE(error);
    } else {
      ASSERT_TRUE(error);
      EXPECT_EQ(error->ControlOffset, c.control);
      EXPECT_EQ(error->Message, c.message);
    }
  }
}

TEST(SystemConfigPage, DefaultsKeepThePassword) {
  SystemConfigPage page;
  page.Password = page.Verification = L"typed";
  page.TimedInterrupt0 = L"50";
  page.RetentiveEnd = 8063;
  page.Defaults();
  EXPECT_EQ(page.Password, L"typed");
  EXPECT_EQ(page.Verification, L"typed");
  EXPECT_EQ(page.TimedInterrupt0, L"200");
  EXPECT_EQ(page.RetentiveStart, 2000u);
  EXPECT_EQ(page.RetentiveEnd, 3071u);
}

}  // namespace
}  // namespace corvell
