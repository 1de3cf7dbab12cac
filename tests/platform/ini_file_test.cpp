#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

#include "platform/file_util.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

using platform::IniFile;

TEST(IniFile, ReadsValuesWhateverTheCaseBlanksAndLineEnds) {
  IniFile ini;
  ini.Parse("; comment\n[ComSet]\r\n MBType = 1 \r\nhostip=\"10.0.0.2\"\n[trend]\nCount=3\nCount=9\n[Other]\nCount=7");
  EXPECT_EQ(ini.GetInt("comset", "mbtype", 0), 1);
  EXPECT_EQ(ini.GetString("ComSet", "HostIP", "", 31), "10.0.0.2");
  EXPECT_EQ(ini.GetInt("Trend", "Count", 0), 3);  // the first of a repeated key
  EXPECT_EQ(ini.GetInt("Other", "Count", 0), 7);  // the last line without its line end
  EXPECT_EQ(ini.GetInt("Trend", "Missing", 42), 42);
  EXPECT_EQ(ini.GetString("Nope", "x", "dflt", 31), "dflt");
}

TEST(IniFile, IntegersReadAsTheProfileFunctionsDo) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {{"12", 12},        {"-5", -5},         {"+7", 7},        {"0x1F", 31},       {"33abc", 33},
               {"abc", 0},        {"4294967295", -1}, {"65537", 65537}, {"  9  ", 9}};
  for (const auto& c : cases) {
    IniFile ini;
    ini.Parse(std::string("[S]\nK=") + c.text + "\nE=\n");
    EXPECT_EQ(ini.GetInt("S", "K", 99), c.value) << c.text;
    EXPECT_EQ(ini.GetInt("S", "E", 99), 99);  // an empty value gives the default
  }
}

TEST(IniFile, StructFormCarriesHexDigitsAndAChecksum) {
  const uint8_t bytes[4] = {0x80, 0x25, 0x00, 0xFF};
  EXPECT_EQ(IniFile::EncodeStruct(bytes, 4), "80250" "0FFA4");
  uint8_t back[4] = {};
  ASSERT_TRUE(IniFile::DecodeStruct("802500ffa4", back, 4));
  EXPECT_EQ(0, memcmp(back, bytes, 4));
  uint8_t untouched[4] = {1, 2, 3, 4};
  for (const char* bad : {"802500FFA5", "802500FFA", "802500FFA400", "8025G0FFA4", ""}) {
    EXPECT_FALSE(IniFile::DecodeStruct(bad, untouched, 4)) << bad;
    EXPECT_EQ(untouched[0], 1);
  }
}

TEST(IniFile, WritingKeepsOtherLinesAndAddsMissingKeysToTheirSection) {
  IniFile ini;
  ini.Parse("; keep me\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
  ini.SetString("a", "X", "5");
  ini.SetInt("A", "z", -3);
  ini.SetString("C", "w", "text");
  EXPECT_EQ(ini.Serialize(), "; keep me\r\n[A]\r\nX=5\r\nz=-3\r\n\r\n[B]\r\ny=2\r\n\r\n[C]\r\nw=text\r\n");
}

TEST(IniFile, FileRoundTripAndUnreadableFileIsNotReplaced) {
  testsupport::TempDir dir;
  const std::wstring path = platform::FromUtf8Lossy(dir.File("TrendConf.CFG"));
  IniFile ini;
  ASSERT_TRUE(ini.Load(path));  // a missing file is an empty profile
  ini.SetInt("Trend", "Count", 2);
  ASSERT_TRUE(ini.Save(path));
  IniFile again;
  ASSERT_TRUE(again.Load(path));
  EXPECT_EQ(again.GetInt("Trend", "Count", 0), 2);
  // A folder in the file's place cannot be read: Load says so.
  const std::wstring folder = platform::FromUtf8Lossy(dir.File("sub"));
  mkdir(dir.File("sub").c_str(), 0755);
  IniFile fromFolder;
  EXPECT_FALSE(fromFolder.Load(folder));
}
