#include "core/env/manager_var_reader.h"

#include <gtest/gtest.h>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/memory_area_manager.h"
#include "memory_map_test_support.h"

using namespace Brenno;
using memorymaptest::ManagerVarText;
using memorymaptest::Wide;

namespace {

struct LanguageGuard {
  explicit LanguageGuard(int language) { SetCurrentLanguage(language); }
  ~LanguageGuard() { SetCurrentLanguage(kLanguageEnglish); }
};

// Reads the text as a ManagerVar.xml file; returns the error message, or "" on success.
std::wstring ReadError(const std::string& text, MemoryAreaManager* out = nullptr, std::wstring* path = nullptr) {
  testsupport::TempDir dir;
  const std::string file = dir.File("ManagerVar.xml");
  memorymaptest::WriteFile(file, text);
  if (path != nullptr) *path = Wide(file);
  MemoryAreaManager manager;
  try {
    ReadManagerVar(manager, Wide(file));
  } catch (const ExceptionParseXmlError& error) {
    return error.Message();
  }
  if (out != nullptr) *out = manager;
  return L"";
}

}  // namespace

TEST(ManagerVarReader, FixtureMapsLoadWithTheirSpecialSlots) {
  MemoryAreaManager a = memorymaptest::LoadFixtureManager("TypeA");
  EXPECT_EQ(a.FxMode, 0);
  EXPECT_EQ(a.Prefix10, L"10#");
  EXPECT_EQ(a.Prefix16, L"16#");
  EXPECT_EQ(a.PrefixAutoBase, 10);
  EXPECT_EQ(a.LocalSlot, 14);
  EXPECT_EQ(a.ConstSlot, 15);
  ASSERT_EQ(a.Regions.size(), 16u);
  EXPECT_EQ(a.Regions[4].Name, L"V");
  EXPECT_EQ(a.Regions[4].Use, kKindAddress | kKindValue | kKindPointer);
  EXPECT_EQ(a.Regions[4].Comment, L"Variable memory");
  ASSERT_EQ(a.Regions[3].Accesses[0].Markers.size(), 3u);
  EXPECT_EQ(a.Regions[3].Accesses[0].Markers[0].Value, L"Always on");

  MemoryAreaManager fx = memorymaptest::LoadFixtureManager("TypeFx");
  EXPECT_EQ(fx.FxMode, 1);
  EXPECT_EQ(fx.Prefix10, L"K");
  EXPECT_EQ(fx.Prefix16, L"H");
  EXPECT_EQ(fx.LocalSlot, 11);
  EXPECT_EQ(fx.ConstSlot, 12);
  EXPECT_EQ(fx.Regions[0].OffsetBase, 8);
  EXPECT_EQ(fx.Regions[2].Accesses[1].Width, kWidthWord);
}

TEST(ManagerVarReader, LocalizedTextsFollowTheLanguage) {
  LanguageGuard chinese(kLanguageChinese);
  MemoryAreaManager a = memorymaptest::LoadFixtureManager("TypeA");
  EXPECT_EQ(a.Regions[3].Accesses[0].Markers[1].Value, L"首次扫描");
  EXPECT_EQ(a.Regions[0].Comment, L"数字量输入");
}

TEST(ManagerVarReader, HandlerFaultsNameTheWordFileAndPosition) {
  struct Case {
    const char* what;
    std::string text;
    const wchar_t* word;
  };
  const std::string region = "  <Region Slot=\"0\" Name=\"V\" Area=\"Ro\" AreaEnd=\"8\" Use=\"V\">\n";
  const Case cases[] = {
      {"marker under the root", ManagerVarText("  <Marker/>\n"), L"Name error"},
      {"root of another name", "<Manager FxMode=\"0\"/>", L"Name error"},
      {"access under the root", ManagerVarText("  <Access/>\n"), L"Name error"},
      {"element inside a marker",
       ManagerVarText(region + "    <Access><Marker><Marker/></Marker></Access>\n  </Region>\n"), L"Status error"},
      {"lower-case width word", ManagerVarText(region + "    <Access Width=\"bit\"/>\n  </Region>\n"), L"Value error"},
      {"width on a region", ManagerVarText("  <Region Width=\"Bit\"/>\n"), L"Attribute error"},
      {"area word in lower case", ManagerVarText("  <Region Area=\"di\"/>\n"), L"Value error"},
      {"slot made of letters", ManagerVarText("  <Region Slot=\"x\"/>\n"), L"Value error"},
      {"empty localized text", ManagerVarText("  <Region Comment=\"${}\"/>\n"), L"Value error"},
      {"unknown marker attribute",
       ManagerVarText(region + "    <Access><Marker Bits=\"1\"/></Access>\n  </Region>\n"), L"Attribute error"},
      {"FxMode 2", ManagerVarText("", "FxMode=\"2\" PrefixAutoBase=\"10\""), L"Value error"},
      {"PrefixAutoBase 7", ManagerVarText("", "FxMode=\"0\" PrefixAutoBase=\"7\""), L"Value error"},
      {"PrefixAutoBase left out", ManagerVarText("", "FxMode=\"0\""), L"Value error"},
      // No default radix is right only where both prefixes make every constant readable.
      {"PrefixAutoBase 0 without K", ManagerVarText("", "FxMode=\"1\" PrefixAutoBase=\"0\" Prefix16=\"H\""),
       L"Value error"},
      {"not well-formed", "<ManagerVar FxMode=\"0\" PrefixAutoBase=\"10\"><Region></ManagerVar>",
       L"mismatched tag"},
  };
  for (const Case& c : cases) {
    std::wstring path;
    const std::wstring message = ReadError(c.text, nullptr, &path);
    EXPECT_EQ(message.rfind(L"Parse XML Error\r\n  " + std::wstring(c.word) + L"\r\n  In file \"" + path +
                                L"\"\r\n  row = ",
                            0),
              0u)
        << c.what << ": " << platform::ToUtf8Lossy(message);
  }
}

TEST(ManagerVarReader, FaultPositionIsTheElementBeingHandled) {
  const std::wstring message = ReadError(ManagerVarText("  <Region Slot=\"0\"/>\n  <Region Slot=\"x\"/>\n"));
  EXPECT_NE(message.find(L"row = 4 column = 2"), std::wstring::npos) << platform::ToUtf8Lossy(message);
}

TEST(ManagerVarReader, LocalAndConstRegionsMustBeSingle) {
  const std::string root = "<ManagerVar FxMode=\"0\" PrefixAutoBase=\"10\">";
  const std::string local = "<Region Area=\"Local\"/>";
  const std::string constant = "<Region Area=\"Const\"/>";
  for (const std::string& body : {local, constant, local + local + constant, local + constant + constant}) {
    EXPECT_EQ(ReadError(root + body + "</ManagerVar>"), L"Parse XML Error") << body;
  }
  EXPECT_EQ(ReadError(root + constant + local + "</ManagerVar>"), L"");
}

TEST(ManagerVarReader, MissingAndEmptyFilesNameThePath) {
  testsupport::TempDir dir;
  const std::wstring missing = Wide(dir.File("none.xml"));
  MemoryAreaManager manager;
  try {
    ReadManagerVar(manager, missing);
    FAIL();
  } catch (const ExceptionParseXmlError& error) {
    EXPECT_EQ(error.Message(), L"Parse XML Error\r\n  Open file error : \"" + missing + L"\"");
  }
  std::wstring path;
  const std::wstring message = ReadError("", nullptr, &path);
  EXPECT_EQ(message, L"Parse XML Error\r\n  File is empty : \"" + path + L"\"");
}

TEST(ManagerVarReader, ValuesUseLettersAndOmittedNumbers) {
  MemoryAreaManager manager;
  const std::string text = ManagerVarText(
      "  <Region Use=\"AV\" GroupEnable=\"1\" OffsetBase=\"8\" OffsetLength=\"3\" AreaEnd=\"16#10\">\n"
      "    <Access Width=\"Word\" Step=\"Word\" Offset=\"Word\"><Marker Begin=\"-1\" End=\"5\"/></Access>\n"
      "  </Region>\n"
      "  <Region Use=\"av\" Name=\"M\"><Access/><Access><Marker/></Access></Region>\n"
      "  <Region Use=\"V-Z.P\"/>\n",
      "FxMode=\"16#1\" PrefixAutoBase=\"16\" Prefix16=\"H\"");
  ASSERT_EQ(ReadError(text, &manager), L"");
  EXPECT_EQ(manager.FxMode, 1);
  EXPECT_EQ(manager.PrefixAutoBase, 16);
  EXPECT_EQ(manager.Prefix16, L"H");
  EXPECT_EQ(manager.Regions[0].Use, kKindAddress | kKindValue);
  EXPECT_EQ(manager.Regions[0].AreaEnd, 16);
  EXPECT_EQ(manager.Regions[0].Accesses[0].Markers[0].Begin, -1);
  EXPECT_EQ(manager.Regions[1].Use, 0);
  EXPECT_EQ(manager.Regions[2].Use, kKindValue | kKindIndexed | kKindPointer);
  // Numbers an element leaves out are 0, never what the previous element of its kind held.
  const MemoryRegion& second = manager.Regions[1];
  EXPECT_EQ(second.GroupEnable, 0);
  EXPECT_EQ(second.OffsetBase, 0);
  EXPECT_EQ(second.OffsetLength, 0);
  EXPECT_EQ(second.AreaEnd, 0);
  EXPECT_EQ(second.Accesses[1].Width, kWidthBit);
  EXPECT_EQ(second.Accesses[1].Markers[0].Begin, 0);
  EXPECT_EQ(second.Accesses[1].Markers[0].End, 0);
}

TEST(ManagerVarReader, Utf16FileReadsLikeUtf8) {
  const std::string utf8 = ManagerVarText("  <Region Name=\"V\" Comment=\"${Variables}${变量}\"/>\n");
  std::wstring wide = Wide(utf8);
  const size_t declaration = wide.find(L"utf-8");
  wide.replace(declaration, 5, L"utf-16");
  std::vector<uint8_t> bytes = {0xFF, 0xFE};
  const auto body = platform::WideToUtf16LeBytes(wide);
  ASSERT_TRUE(body.has_value());
  bytes.insert(bytes.end(), body->begin(), body->end());
  LanguageGuard chinese(kLanguageChinese);
  MemoryAreaManager manager;
  ASSERT_EQ(ReadError(std::string(bytes.begin(), bytes.end()), &manager), L"");
  EXPECT_EQ(manager.Regions[0].Comment, L"变量");
}

TEST(ManagerVarReader, FailedReadLeavesTheManagerAsItWas) {
  MemoryAreaManager manager = memorymaptest::LoadFixtureManager("TypeA");
  testsupport::TempDir dir;
  memorymaptest::WriteFile(dir.File("ManagerVar.xml"), ManagerVarText("  <Region Slot=\"x\"/>\n"));
  EXPECT_THROW(ReadManagerVar(manager, Wide(dir.File("ManagerVar.xml"))), ExceptionParseXmlError);
  EXPECT_EQ(manager.Regions.size(), 16u);
  EXPECT_EQ(manager.ConstSlot, 15);
}

TEST(MemoryAreaManager, ModbusAddressListDescribesEveryNonEmptyRegion) {
  MemoryAreaManager manager;
  ASSERT_EQ(ReadError(ManagerVarText("  <Region Slot=\"0\" Name=\"I\" Area=\"Di\" AreaBegin=\"0\" AreaEnd=\"16\" "
                                     "Use=\"V\" OffsetBase=\"10\" BitOffsetBase=\"10\">\n"
                                     "    <Access Width=\"Bit\" Step=\"Byte\" Offset=\"Byte\"/>\n"
                                     "    <Access Name=\"W\" Width=\"Word\" Step=\"Byte\" Offset=\"Byte\"/>\n"
                                     "  </Region>\n"
                                     "  <Region Slot=\"1\" Name=\"E\" Area=\"Ro\" AreaBegin=\"100\" AreaEnd=\"100\"/>\n"
                                     "  <Region Slot=\"2\" Name=\"V\" Area=\"Ro\" AreaBegin=\"100\" AreaEnd=\"200\" "
                                     "Use=\"V\" OffsetBase=\"10\">\n"
                                     "    <Access Name=\"D\" Width=\"Dword\" Step=\"Byte\" Offset=\"Byte\"/>\n"
                                     "    <Access Name=\"X\" Width=\"Bit\" Step=\"Bit\" Offset=\"Byte\"/>\n"
                                     "  </Region>\n"),
                      &manager),
            L"");
  EXPECT_EQ(manager.ModbusAddressList,
            L"\"I\"  MODBUS 1x (0 ~ 15)\r\n"
            L"----------------------------------------\r\n"
            L" BOOL\t\tI0.0 ~ I15.7\r\n"
            L" WORD\t\tIW0 ~ IW14\r\n"
            L"\r\n"
            L"\"V\"  MODBUS 4x (100 ~ 199)\r\n"
            L"----------------------------------------\r\n"
            L" DWORD\t\tVD0 ~ VD96\r\n"
            L" BOOL\t\t ~ \r\n"
            L"\r\n");
}

TEST(MemoryAreaManager, WidthTables) {
  const int bits[] = {1, 8, 16, 32};
  const int bytes[] = {0, 1, 2, 4};
  for (int width = 0; width < 4; ++width) {
    EXPECT_EQ(WidthBits(width), bits[width]);
    EXPECT_EQ(WidthBytes(width), bytes[width]);
  }
  EXPECT_THROW(WidthBits(4), ExceptionLogicError);
  EXPECT_THROW(WidthBytes(-1), ExceptionLogicError);
}
