#include "core/env/plc_config.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "platform/file_util.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

using namespace Brenno;

namespace {

std::wstring Wide(const std::string& utf8) { return platform::FromUtf8Lossy(utf8); }

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(platform::ReadFileBytes(path, bytes));
  return bytes;
}

// Writes a text as the workbench writes it: UTF-16LE with a byte-order mark.
void WriteUtf16File(const std::wstring& path, const std::wstring& text) {
  std::vector<uint8_t> bytes{0xFF, 0xFE};
  auto body = platform::WideToUtf16LeBytes(text);
  ASSERT_TRUE(body);
  bytes.insert(bytes.end(), body->begin(), body->end());
  ASSERT_TRUE(platform::WriteFileBytes(path, bytes));
}

// The message of the error that reading the text gives, or "" when it reads.
std::wstring ReadError(const std::wstring& path, const std::wstring& text) {
  WriteUtf16File(path, text);
  PlcConfig config;
  try {
    config.ReadPlcConfig(path);
  } catch (const ExceptionParseXmlError& e) {
    return e.Message();
  }
  return L"";
}

std::wstring PositionError(const std::wstring& what, const std::wstring& path, int row, int column) {
  return L"Parse XML Error\r\n  " + what + L"\r\n  In file \"" + path + L"\"\r\n  row = " + std::to_wstring(row) +
         L" column = " + std::to_wstring(column);
}

const wchar_t* kHead = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n";

}  // namespace

TEST(PlcConfig, ReadsEveryValueOfAWrittenFileAndWritesItBackByteForByte) {
  const std::wstring fixture = Wide(testsupport::FixturePath("config/orvisto_full.xml"));
  PlcConfig config;
  config.ReadPlcConfig(fixture);
  EXPECT_EQ(config.Lang, 2);
  EXPECT_EQ(config.PlcName, L"CPU <A&B> \"x\" 'y' 中文");
  EXPECT_EQ(config.ViewZoom, 150);
  EXPECT_EQ(config.SymbolicAddr, 0);
  EXPECT_EQ(config.LinkStation, 7);
  EXPECT_EQ(config.LinkPortPath, L"/dev/ttyUSB0?a&b\tc");
  EXPECT_EQ(config.LinkBaudrate, 115200);
  EXPECT_EQ(config.LinkParity, 0);
  EXPECT_EQ(config.LinkIpAddr, 3232235777u);
  EXPECT_EQ(config.LinkTimeWaitSend, 11);
  EXPECT_EQ(config.LinkTimeWaitReceive, 2001);
  EXPECT_EQ(config.LinkTimeUpdateUi, 201);
  EXPECT_EQ(config.LinkTimeUpdateSleep, 12);
  EXPECT_EQ(config.LinkTimeUpdateMark, 2002);
  EXPECT_EQ(config.LinkTimeUpdateError, -4000);
  EXPECT_EQ(config.LinkTimeReadIntervalTimeout, 81);
  EXPECT_EQ(config.LinkTimeReadTotalTimeoutMultiplier, 1);
  EXPECT_EQ(config.LinkTimeReadTotalTimeoutConstant, 2);
  EXPECT_EQ(config.LinkTimeWriteTotalTimeoutMultiplier, 3);
  EXPECT_EQ(config.LinkTimeWriteTotalTimeoutConstant, 2003);

  testsupport::TempDir dir;
  const std::wstring out = Wide(dir.File("Orvisto.xml"));
  config.WritePlcConfig(out);
  EXPECT_EQ(ReadBytes(out), ReadBytes(fixture));
  EXPECT_EQ(config.ParseArea.Parser, nullptr);
}

TEST(PlcConfig, AFileWithoutAttributesGivesEveryDefault) {
  PlcConfig config;
  config.Lang = 2;
  config.PlcName = L"old";
  config.LinkIpAddr = 5;
  config.LinkTcpPort = 502;  // not in the file: the reader leaves it alone
  config.ReadPlcConfig(Wide(testsupport::FixturePath("config/orvisto_no_attributes.xml")));
  PlcConfig expected;
  expected.LinkTcpPort = 502;
  EXPECT_TRUE(config == expected);
  EXPECT_EQ(config.Lang, 1);
  EXPECT_EQ(config.ViewZoom, 100);
  EXPECT_EQ(config.LinkBaudrate, 38400);
  EXPECT_EQ(config.LinkParity, 2);
  EXPECT_EQ(PlcConfig().LinkTcpPort, 10345);
}

TEST(PlcConfig, ReadsHandWrittenFilesInAnyOrderWithBasedNumbersAndBilingualTexts) {
  PlcConfig config;
  config.ReadPlcConfig(Wide(testsupport::FixturePath("config/orvisto_handwritten_utf8.xml")));
  EXPECT_EQ(config.Lang, 2);
  EXPECT_EQ(config.ViewZoom, 150);
  EXPECT_EQ(config.LinkBaudrate, 9600);
  EXPECT_EQ(config.PlcName, L"CPU-Feldrin");  // read while the language is still English
  EXPECT_EQ(config.LinkPortPath, L"/dev/ttyS0");
  EXPECT_EQ(config.SymbolicAddr, 1);

  SetCurrentLanguage(kLanguageChinese);
  config.ReadPlcConfig(Wide(testsupport::FixturePath("config/orvisto_handwritten_utf8.xml")));
  SetCurrentLanguage(kLanguageEnglish);
  EXPECT_EQ(config.PlcName, L"中文名");
}

TEST(PlcConfig, FaultsNameTheFileRowAndColumn) {
  testsupport::TempDir dir;
  const std::wstring path = Wide(dir.File("Orvisto.xml"));
  const std::wstring head = kHead;
  struct Case {
    std::wstring body;
    std::wstring what;
    int row;
    int column;
  };
  const Case cases[] = {
      {L"<PlcConfig\r\n  ViewZoom=\"abc\"\r\n  >\r\n</PlcConfig>\r\n", L"Value error", 2, 0},
      {L"<PlcConfig Lang=\"16#1g\"/>", L"Value error", 2, 0},
      {L"<PlcConfig LinkBaudrate=\"12zz\"/>", L"Value error", 2, 0},
      {L"<PlcConfig PlcName=\"${}\"/>", L"Value error", 2, 0},
      {L"<PlcConfig LinkPortPath=\"${}${COM1}\"/>", L"Value error", 2, 0},
      {L"<PlcConfig Lang=\"1\" Colour=\"1\"/>", L"Attribute error", 2, 0},
      {L"<PlcConfig lang=\"1\"/>", L"Attribute error", 2, 0},
      {L"<PlcConfig Lang=\"1\">\r\n  <Inner/>\r\n</PlcConfig>", L"Status error", 3, 2},
      {L"<Config Lang=\"1\"/>", L"Name error", 2, 0},
      {L"<PlcConfig Lang=\"1\">\r\n</PlcConfig", L"unclosed token", 3, 0},
      {L"<PlcConfig Lang=\"1\" Lang=\"2\"/>", L"duplicate attribute", 2, 20},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadError(path, head + c.body), PositionError(c.what, path, c.row, c.column)) << c.body;
  }
}

// The file carries the link address as one number, first part of the dotted form in the top
// byte. A dotted address written by hand reads as that address; no other text is refused: it
// reads as its leading decimal number.
TEST(PlcConfig, LinkIpAddrReadsNumbersDottedAddressesAndAnyOtherText) {
  testsupport::TempDir dir;
  const std::wstring path = Wide(dir.File("Orvisto.xml"));
  const struct {
    const wchar_t* text;
    uint32_t value;
  } cases[] = {
      // numbers
      {L"3232235777", 3232235777u}, {L"0", 0}, {L" +4294967295 ", 4294967295u},
      {L"4294967296", 4294967295u}, {L"99999999999999999999", 4294967295u}, {L"-1", 4294967295u},
      {L"-4294967295", 1},
      // dotted addresses
      {L"192.168.1.10", 0xC0A8010Au}, {L" 10.0.0.2 ", 0x0A000002u}, {L"127.0.0.1", 0x7F000001u},
      {L"255.255.255.255", 0xFFFFFFFFu}, {L"0.0.0.0", 0},
      // other text
      {L"192.168.1.300", 192}, {L"1.2.3.4.5", 1}, {L"12zz", 12}, {L"1 2", 1}, {L"abc", 0}, {L"", 0},
      {L"-", 0}, {L"...", 0},
  };
  for (const auto& c : cases) {
    WriteUtf16File(path, std::wstring(kHead) + L"<PlcConfig LinkIpAddr=\"" + c.text + L"\"/>");
    PlcConfig config;
    config.LinkIpAddr = 5;
    try {
      config.ReadPlcConfig(path);
    } catch (const ExceptionError& e) {
      ADD_FAILURE() << "\"" << c.text << "\": " << e.Message();
      continue;
    }
    EXPECT_EQ(config.LinkIpAddr, c.value) << "\"" << c.text << "\"";
  }

  // A hand-written address is written back as the number.
  WriteUtf16File(path, std::wstring(kHead) + L"<PlcConfig LinkIpAddr=\"192.168.1.10\"/>");
  PlcConfig config;
  config.ReadPlcConfig(path);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(config.FormatPlcConfig(bytes));
  const auto written = platform::WideToUtf16LeBytes(L"LinkIpAddr=\"3232235786\"");
  ASSERT_TRUE(written);
  EXPECT_NE(std::search(bytes.begin(), bytes.end(), written->begin(), written->end()), bytes.end());
}

TEST(PlcConfig, MissingOrEmptyFilesFailWithTheirPath) {
  testsupport::TempDir dir;
  const std::wstring missing = Wide(dir.File("Orvisto.xml"));
  PlcConfig config;
  try {
    config.ReadPlcConfig(missing);
    FAIL() << "a missing file must not read";
  } catch (const ExceptionParseXmlError& e) {
    EXPECT_EQ(e.Message(), L"Parse XML Error\r\n  Open file error : \"" + missing + L"\"");
  }
  EXPECT_FALSE(platform::FileExists(missing));  // no default file is made

  ASSERT_TRUE(platform::WriteFileBytes(missing, std::vector<uint8_t>{}));
  try {
    config.ReadPlcConfig(missing);
    FAIL() << "an empty file must not read";
  } catch (const ExceptionParseXmlError& e) {
    EXPECT_EQ(e.Message(), L"Parse XML Error\r\n  File is empty : \"" + missing + L"\"");
  }
}

TEST(PlcConfig, AFailedReadLeavesTheValuesAsTheyWere) {
  testsupport::TempDir dir;
  const std::wstring path = Wide(dir.File("Orvisto.xml"));
  PlcConfig config;
  config.ViewZoom = 77;
  config.PlcName = L"kept";
  WriteUtf16File(path, std::wstring(kHead) + L"<PlcConfig ViewZoom=\"120\" PlcName=\"new\" Lang=\"x\"/>");
  EXPECT_THROW(config.ReadPlcConfig(path), ExceptionParseXmlError);
  EXPECT_EQ(config.ViewZoom, 77);
  EXPECT_EQ(config.PlcName, L"kept");
  EXPECT_EQ(config.ParseArea.Parser, nullptr);
}

// The writer escapes fully, so every text that XML can carry reads back as it was written.
TEST(PlcConfig, TextsWithMarkupCharactersSurviveWriteReadWrite) {
  testsupport::TempDir dir;
  const std::wstring first = Wide(dir.File("first.xml"));
  const std::wstring second = Wide(dir.File("second.xml"));
  const std::wstring texts[] = {
      L"A&B",         L"a &amp; b",  L"<CPU>",          L"say \"hi\"",    L"it's",
      L"\"/>< x=\"1", L"tab\there",  L"two\r\nlines",   L"  spaced  ",    L"中文 PLC \U0001F600",
      L"${not}${bilingual}",  // plain after reading: stays plain when written
  };
  for (const std::wstring& text : texts) {
    PlcConfig config;
    config.PlcName = text;
    config.LinkPortPath = L"/dev/" + text;
    config.LinkIpAddr = 4294967295u;
    config.LinkTimeUpdateError = -1;
    config.WritePlcConfig(first);

    PlcConfig read;
    try {
      read.ReadPlcConfig(first);
    } catch (const ExceptionError& e) {
      ADD_FAILURE() << "text " << text << ": " << e.Message();
      continue;
    }
    if (text.rfind(L"${", 0) == 0) {
      EXPECT_EQ(read.PlcName, L"not");
      continue;
    }
    EXPECT_TRUE(read == config) << text;
    read.WritePlcConfig(second);
    EXPECT_EQ(ReadBytes(second), ReadBytes(first)) << text;
  }
}

TEST(PlcConfig, ATextXmlCannotCarryIsRefusedAndTheOldFileStays) {
  testsupport::TempDir dir;
  const std::wstring path = Wide(dir.File("Orvisto.xml"));
  PlcConfig good;
  good.WritePlcConfig(path);
  const std::vector<uint8_t> before = ReadBytes(path);

  PlcConfig bad;
  bad.LinkPortPath = std::wstring(L"COM") + L'\x01';
  try {
    bad.WritePlcConfig(path);
    FAIL() << "the writer must refuse a control character";
  } catch (const ExceptionParseXmlError& e) {
    EXPECT_EQ(e.Message(), L"Parse XML Error\r\n  Value error : \"LinkPortPath\"\r\n  In file \"" + path + L"\"");
  }
  EXPECT_EQ(ReadBytes(path), before);

  const std::wstring unwritable = Wide(dir.File("no/such/folder/Orvisto.xml"));
  try {
    good.WritePlcConfig(unwritable);
    FAIL() << "a file in a missing folder cannot be written";
  } catch (const ExceptionParseXmlError& e) {
    EXPECT_EQ(e.Message(), L"Parse XML Error\r\n  Open file error : \"" + unwritable + L"\"");
  }
}

TEST(PlcConfig, ACopyHasTheValuesButNotTheParser) {
  PlcConfig config;
  config.ReadPlcConfig(Wide(testsupport::FixturePath("config/orvisto_full.xml")));
  PlcConfig copy = config;
  EXPECT_TRUE(copy == config);
  EXPECT_EQ(copy.ParseArea.Parser, nullptr);
  copy.LinkTelephone = L"0123";
  EXPECT_FALSE(copy == config);
}
