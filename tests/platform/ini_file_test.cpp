#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
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

namespace {

// A hand-edited profile with every kind of line a lookup must see past or stop at.
const char* const kOddProfile =
    "Orphan=before any section\n"
    "[Link] ; the header's trailing text is no part of its name\n"
    "  Port = 1 \n"
    "; Port=commented out\n"
    "   ;Speed=indented comment\n"
    "no equals sign here\n"
    "=nameless\n"
    "PORT=second of the key\n"
    "Path=\"C:\\a=b\"\n"
    "\n"
    "[Open\n"
    "Key=in a header without its bracket\n"
    "[link]\n"
    "Port=in a later section of the same name\n"
    "Late=only in the later one\n"
    "[ Other ]\n"
    "Port=3\n"
    "\n";

}  // namespace

TEST(IniFile, ALookupFindsTheFirstSectionOfANameAndTheFirstLineOfAKey) {
  IniFile ini;
  ini.Parse(kOddProfile);
  const struct {
    const char* section;
    const char* key;
    std::optional<std::string> value;
  } cases[] = {
      {"Link", "Port", "1"},
      {" LINK ", " port ", "1"},
      {"Link", "Speed", std::nullopt},
      {"Link", "; Port", std::nullopt},
      {"Link", "no equals sign here", std::nullopt},
      {"Link", "", "nameless"},
      {"Link", "Path", "C:\\a=b"},
      {"Link", "Late", std::nullopt},
      {"Link", "Key", std::nullopt},
      {"Open", "Key", "in a header without its bracket"},
      {"Other", "Port", "3"},
      {"", "Orphan", std::nullopt},
      {"Link] ; the header's trailing text is no part of its name", "Port", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ini.GetRaw(c.section, c.key), c.value) << c.section << " / " << c.key;
}

// Every write keeps the lookups what a profile read afresh from the written text gives, and
// puts its line where the writer always has.
TEST(IniFile, LookupsAfterWritesAreThoseOfTheWrittenText) {
  IniFile ini;
  ini.Parse(kOddProfile);
  const struct {
    const char* section;
    const char* key;
    const char* value;
  } writes[] = {
      {"other", "Added", "1"},           // last section, before its trailing blank line
      {"LINK", "port", "9"},             // replaces the first line of the key in the first section
      {"Link", "New", "2"},              // before the blank line that ends the first section
      {"Link", "Late", "3"},             // the later section of the name is never written
      {"Link", "a=b", "4"},              // the line's key is "a"
      {"Link", "a", "5"},                // which this then replaces
      {"Link", ";c", "6"},               // a comment: written again at each write
      {"Link", ";c", "7"},
      {"Open", "[Split", "8"},           // a header now, ending the section "Open"
      {"Open", "After", "9"},            // before the new header
      {"Split=8", "After", "10"},        // the new header's name
      {"Fresh", "One", "11"},            // a new section at the end
      {"fresh", "Two", "12"},
      {"Odd]name", "K", "13"},           // a header named "Odd"
      {"Odd]name", "K", "14"},           // no section has that name: another header
      {"Odd", "K", "15"},
  };
  const char* probes[][2] = {{"Link", "Port"}, {"Link", "New"},   {"Link", "Late"},  {"Link", "a"},     {"Link", ";c"},
                             {"Link", "c"},    {"Link", ""},      {"Link", "Path"},  {"Open", "Key"},   {"Open", "After"},
                             {"Split=8", "After"}, {"Other", "Added"}, {"Other", "Port"}, {"Fresh", "One"}, {"Fresh", "Two"},
                             {"Odd", "K"},     {"Odd]name", "K"}};
  for (const auto& w : writes) {
    ini.SetString(w.section, w.key, w.value);
    IniFile afresh;
    afresh.Parse(ini.Serialize());
    for (const auto& p : probes)
      EXPECT_EQ(ini.GetRaw(p[0], p[1]), afresh.GetRaw(p[0], p[1])) << "after " << w.key << ": " << p[0] << " / " << p[1];
  }
  EXPECT_EQ(ini.Serialize(),
            "Orphan=before any section\r\n"
            "[Link] ; the header's trailing text is no part of its name\r\n"
            "port=9\r\n"
            "; Port=commented out\r\n"
            "   ;Speed=indented comment\r\n"
            "no equals sign here\r\n"
            "=nameless\r\n"
            "PORT=second of the key\r\n"
            "Path=\"C:\\a=b\"\r\n"
            "New=2\r\n"
            "Late=3\r\n"
            "a=5\r\n"
            ";c=6\r\n"
            ";c=7\r\n"
            "\r\n"
            "[Open\r\n"
            "Key=in a header without its bracket\r\n"
            "After=9\r\n"
            "[Split=8\r\n"
            "After=10\r\n"
            "[link]\r\n"
            "Port=in a later section of the same name\r\n"
            "Late=only in the later one\r\n"
            "[ Other ]\r\n"
            "Port=3\r\n"
            "Added=1\r\n"
            "\r\n"
            "[Fresh]\r\n"
            "One=11\r\n"
            "Two=12\r\n"
            "\r\n"
            "[Odd]name]\r\n"
            "K=15\r\n"
            "\r\n"
            "[Odd]name]\r\n"
            "K=14\r\n");
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
