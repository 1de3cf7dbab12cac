// Loads the built Corvell library as the workbench does and checks it through its nine entry
// points only.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using GetTextFn = const char16_t* (*)();
using SetLangFn = void (*)(int);
using SetFolderFn = void (*)(const char16_t*);
using CheckPageFn = bool (*)(int, const uint8_t*, int);
using SetPageFn = void (*)(int, const uint8_t*, int);
using GetPageFn = void (*)(int, const uint8_t**, int*);

using Bytes = std::vector<uint8_t>;

class CorvellLibrary : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    handle_ = dlopen(CORVELL_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle_, nullptr) << dlerror();
  }
  // The library stays loaded until the program ends, as in the workbench. (Unloading it also
  // unloads the Qt libraries it links, which leave a small allocation behind.)
  void SetUp() override { ASSERT_NE(handle_, nullptr); }

  template <typename Fn>
  static Fn Bind(const char* name) {
    void* address = dlsym(handle_, name);
    EXPECT_NE(address, nullptr) << name;
    return reinterpret_cast<Fn>(address);
  }

  static Bytes Read(GetPageFn get, int page) {
    const uint8_t* data = reinterpret_cast<const uint8_t*>(1);
    int size = -1;
    get(page, &data, &size);
    if (data == nullptr || size == 0) {
      EXPECT_EQ(data, nullptr);
      EXPECT_EQ(size, 0);
      return {};
    }
    return Bytes(data, data + size);
  }

  static void* handle_;
};

void* CorvellLibrary::handle_ = nullptr;

std::u16string Text(const char16_t* text) { return text == nullptr ? u"<null>" : std::u16string(text); }

TEST_F(CorvellLibrary, ExportsTheNineEntryPointsAndNothingElseNeeded) {
  for (const char* name : {"GetPlcName", "GetPlcInfor", "SetLang", "SetFolder", "CheckPageCompatible", "SetPageData",
                           "GetPageData", "GetPageSample", "ExcuteUserConfig"})
    EXPECT_NE(dlsym(handle_, name), nullptr) << name;
  // The library's own code is not exported.
  EXPECT_EQ(dlsym(handle_, "_ZN7corvell11CCorvellApp11SetPageDataEiPKhi"), nullptr);
}

TEST_F(CorvellLibrary, NameAndProcessorTextAreStaticAndMatchTheVersionFile) {
  auto name = Bind<GetTextFn>("GetPlcName");
  auto infor = Bind<GetTextFn>("GetPlcInfor");
  EXPECT_EQ(Text(name()), u"CPU-Feldrin-CM3");
  EXPECT_EQ(Text(infor()), u"CPU-Feldrin (Cortext-M3)");
  EXPECT_EQ(name(), name());
  EXPECT_EQ(infor(), infor());

  std::string library = CORVELL_LIBRARY_PATH;
  std::ifstream file(library.substr(0, library.rfind('/')) + "/Corvell.version");
  ASSERT_TRUE(file) << "Corvell.version beside the library";
  std::map<std::string, std::string> keys;
  for (std::string line; std::getline(file, line);) {
    auto eq = line.find('=');
    if (eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 1);
  }
  EXPECT_EQ(keys["PLCType"], "CPU-Feldrin-CM3");
  EXPECT_EQ(keys["PLCInfor"], "CPU-Feldrin (Cortext-M3)");
}

TEST_F(CorvellLibrary, SamplePagesHaveTheirDefaultBytes) {
  auto sample = Bind<GetPageFn>("GetPageSample");
  Bytes page0 = {0x00, 0x01, 0x05, 0x00, 0x00, 0x00, 0x0A, 0x03, 0x00, 0x01, 0x05, 0x00, 0x00, 0x00, 0x0A, 0x03,
                 0xC0, 0xA8, 0x01, 0x02, 0xFF, 0xFF, 0xFF, 0x00, 0xC0, 0xA8, 0x01, 0x01, 0xD0, 0x07, 0x01, 0x04};
  page0.resize(46, 0x00);
  Bytes page1(16, 0xFF);
  page1.insert(page1.end(), {0x00, 0x00, 0xC8, 0xC8, 0xD0, 0x07, 0xFF, 0x0B});
  EXPECT_EQ(Read(sample, 0), page0);
  EXPECT_EQ(Read(sample, 1), page1);
  EXPECT_EQ(Read(sample, 2), Bytes(16, 0xFF));
  EXPECT_EQ(Read(sample, 3), (Bytes{0x0B, 0x00, 0x00, 0x00, 0x00, 0x0E, 0x00, 0x00, 0x0B, 0x00, 0x00}));
  for (int page : {4, 5, 6, 7, -1}) EXPECT_TRUE(Read(sample, page).empty()) << page;

  // Sample pointers stay put.
  const uint8_t* first = nullptr;
  const uint8_t* second = nullptr;
  int size = 0;
  sample(0, &first, &size);
  sample(0, &second, &size);
  EXPECT_EQ(first, second);
}

TEST_F(CorvellLibrary, CheckPageCompatibleByPageAndLength) {
  auto check = Bind<CheckPageFn>("CheckPageCompatible");
  const uint8_t bytes[20] = {};
  struct Case {
    int page;
    const uint8_t* data;
    int size;
    bool compatible;
  } cases[] = {
      {0, nullptr, 0, true},  {1, bytes, 3, true},     {3, nullptr, 0, true}, {4, bytes, 20, true},
      {2, nullptr, 16, true}, {2, bytes, 15, false},   {2, bytes, 17, false}, {5, bytes, 16, false},
      {5, nullptr, 0, false}, {6, bytes, 16, false},   {-1, bytes, 16, false},
  };
  for (const auto& c : cases) {
    const bool result = check(c.page, c.data, c.size);
    EXPECT_EQ(result, c.compatible) << "page " << c.page << " size " << c.size;
  }
}

TEST_F(CorvellLibrary, SetAndGetPageDataKeepTheLibrarysOwnCopy) {
  auto set = Bind<SetPageFn>("SetPageData");
  auto get = Bind<GetPageFn>("GetPageData");

  uint8_t five[5] = {1, 2, 3, 4, 5};
  set(4, five, 5);
  const uint8_t* data = nullptr;
  int size = 0;
  get(4, &data, &size);
  ASSERT_EQ(size, 5);
  EXPECT_NE(data, five);
  five[0] = 99;  // the caller's buffer is not the library's
  EXPECT_EQ(Bytes(data, data + size), (Bytes{1, 2, 3, 4, 5}));

  // Length 0 with a valid pointer, and a null pointer, make the page present and empty.
  set(1, five, 0);
  EXPECT_TRUE(Read(get, 1).empty());
  set(5, five, 3);
  set(5, nullptr, 3);
  EXPECT_TRUE(Read(get, 5).empty());

  // Out-of-range pages are ignored and read as nothing.
  set(7, five, 5);
  set(-1, five, 5);
  EXPECT_TRUE(Read(get, 7).empty());
  EXPECT_TRUE(Read(get, -1).empty());

  // A negative length leaves the page as it was.
  const uint8_t two[2] = {7, 8};
  set(0, two, 2);
  set(0, five, -3);
  EXPECT_EQ(Read(get, 0), (Bytes{7, 8}));

  // Null out-pointers are tolerated.
  get(0, nullptr, nullptr);
}

TEST_F(CorvellLibrary, LanguageAndFolderCallsLeavePagesAlone) {
  // ExcuteUserConfig shows the modal property sheet; it is tested with the sheet in
  // tests/sysblock/ui, where the sheet can be answered.
  auto setLang = Bind<SetLangFn>("SetLang");
  auto setFolder = Bind<SetFolderFn>("SetFolder");
  auto set = Bind<SetPageFn>("SetPageData");
  auto get = Bind<GetPageFn>("GetPageData");

  const uint8_t page1[3] = {0x31, 0x32, 0x33};
  set(1, page1, 3);
  setLang(2);
  setLang(3);
  setLang(1);
  setFolder(u"/opt/orvisto/Orvisto/CPU-Feldrin");
  setFolder(nullptr);
  EXPECT_EQ(Read(get, 1), (Bytes{0x31, 0x32, 0x33}));
}

}  // namespace
