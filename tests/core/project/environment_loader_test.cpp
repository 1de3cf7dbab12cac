#include "core/project/environment_loader.h"

#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/plc_type.h"
#include "core/program/ladder_metrics.h"
#include "core/project/project.h"
#include "platform/text_codec.h"
#include "support/shipped_catalog.h"
#include "support/test_paths.h"

using namespace Brenno;
namespace fs = std::filesystem;

namespace {

std::wstring W(const std::string& s) { return platform::FromUtf8Lossy(s); }

// A program directory in a temporary folder holding a copy of the fixture catalog, the fake
// plug-ins in every type folder, and a configuration file.
class CatalogDir {
 public:
  CatalogDir() {
    fs::copy(testsupport::FixturePath("catalog/Orvisto"), Catalog(), fs::copy_options::recursive);
    for (const auto& type : fs::directory_iterator(Catalog())) AddPlugins(type.path());
  }
  ~CatalogDir() { SetCurrentLanguage(kLanguageEnglish); }

  std::string Catalog() const { return dir_.File("Orvisto"); }
  std::string Type(const std::string& name) const { return Catalog() + "/" + name; }
  std::wstring ProgramDir() const { return W(dir_.path()); }

  static void AddPlugins(const fs::path& folder) {
    for (const char* lib : {"libFakeSysBlock.so", "libFakeExchange.so"}) {
      fs::copy_file(std::string(ORVISTO_TEST_PLUGIN_DIR) + "/" + lib, folder / lib, fs::copy_options::overwrite_existing);
    }
  }

  void WriteConfig(int lang, const std::wstring& plcName) const {
    PlcConfig config;
    config.Lang = lang;
    config.PlcName = plcName;
    config.WritePlcConfig(ProgramDir() + L"/Orvisto.xml");
  }

  void Replace(const std::string& file, const std::string& from, const std::string& to) const {
    std::ifstream in(file);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    std::ofstream(file, std::ios::trunc) << text;
  }

 private:
  testsupport::TempDir dir_;
};

std::wstring LoadError(const CatalogDir& dir) {
  AppEnvironment env;
  try {
    LoadEnvironment(env, dir.ProgramDir());
  } catch (const ExceptionError& e) {
    SetCurrentLanguage(kLanguageEnglish);
    return e.Message();
  }
  return L"(no error)";
}

}  // namespace

TEST(EnvironmentLoader, ReadsEveryTypeInNameOrderAndSelectsTheConfiguredOne) {
  CatalogDir dir;
  dir.WriteConfig(1, L"CPU-FX32");
  AppEnvironment env;
  LoadEnvironment(env, dir.ProgramDir());

  ASSERT_EQ(env.PlcTypeCatalog.size(), 2u);
  const PlcType& a = env.PlcTypeCatalog.front();
  const PlcType& fx = env.PlcTypeCatalog.back();
  EXPECT_EQ(a.Name(), L"CPU-A16");
  EXPECT_EQ(a.Description.Information, L"CPU-A16 (16 DI / 16 DO)");
  EXPECT_EQ(a.Description.Items.size(), 2u);
  EXPECT_EQ(a.Description.Items[1].Value, L"16#4000");  // item texts are not numbers
  EXPECT_EQ(a.Description.SystemBlockSizeBinary, 0x800);
  EXPECT_EQ(a.Description.ExchPackSize, 200);
  EXPECT_EQ(a.TypeFolder, W(dir.Type("TypeA")));
  EXPECT_TRUE(a.SystemBlockLibrary.IsLoaded());
  EXPECT_TRUE(a.ExchangeLibrary.IsLoaded());
  EXPECT_FALSE(a.Image.empty());
  // FF00|0100 supports every code whose high byte is 01; FFFF|0021 exactly 0x0021.
  EXPECT_TRUE(a.IsPackCodeSupported(0x0133));
  EXPECT_TRUE(a.IsPackCodeSupported(0x0021));
  EXPECT_FALSE(a.IsPackCodeSupported(0x0022));
  EXPECT_TRUE(fx.SupportList.empty());

  ASSERT_EQ(env.ProjectList.size(), 1u);
  EXPECT_EQ(env.ProjectList.back().Type, &fx);
  EXPECT_EQ(env.Config.PlcName, L"CPU-FX32");
  EXPECT_EQ(GetLadderMetrics().CellWidth, 81);  // FX cells at zoom 100

  EXPECT_FALSE(SelectPlcType(env, L"cpu-a16"));  // case matters
  EXPECT_EQ(env.ProjectList.back().Type, &fx);
  EXPECT_TRUE(SelectPlcType(env, L"CPU-A16"));
  EXPECT_EQ(env.ProjectList.back().Type, &a);
  EXPECT_EQ(GetLadderMetrics().CellWidth, 102);
}

TEST(EnvironmentLoader, UnknownTypeNameFallsBackToTheFirstTypeAndIsWrittenAtExit) {
  CatalogDir dir;
  dir.WriteConfig(2, L"Gone");
  AppEnvironment env;
  LoadEnvironment(env, dir.ProgramDir());
  EXPECT_EQ(CurrentLanguage(), kLanguageChinese);
  EXPECT_EQ(env.PlcTypeCatalog.front().Description.Information, L"CPU-A16 (16 入 / 16 出)");
  EXPECT_EQ(env.Config.PlcName, L"CPU-A16");
  SaveEnvironment(env, dir.ProgramDir());
  EXPECT_TRUE(env.ProjectList.empty());
  PlcConfig written;
  written.ReadPlcConfig(dir.ProgramDir() + L"/Orvisto.xml");
  EXPECT_EQ(written.PlcName, L"CPU-A16");
}

TEST(EnvironmentLoader, StartUpFailuresEndWithTheirMessage) {
  const std::wstring open = L"Parse XML Error\r\n  Open file error : \"";
  {
    CatalogDir dir;  // no configuration file at all
    EXPECT_EQ(LoadError(dir), open + dir.ProgramDir() + L"/Orvisto.xml\"");
  }
  {
    CatalogDir dir;
    dir.WriteConfig(3, L"CPU-A16");
    EXPECT_EQ(LoadError(dir), L"Parse XML Error");
  }
  {
    CatalogDir dir;
    dir.WriteConfig(1, L"CPU-A16");
    fs::remove_all(dir.Catalog());
    fs::create_directories(dir.Catalog() + "/.hidden");
    EXPECT_EQ(LoadError(dir), L"Logic Error\r\n  Folder \"Orvisto\" is Empty!");
  }
  {
    CatalogDir dir;
    dir.WriteConfig(1, L"CPU-A16");
    fs::remove(dir.Type("TypeFx") + "/libFakeSysBlock.so");
    EXPECT_EQ(LoadError(dir),
              L"Parse Library Error\r\n  Load dll error : \"" + W(dir.Type("TypeFx")) + L"/FakeSysBlock.dll\"");
  }
  {
    CatalogDir dir;
    dir.WriteConfig(1, L"CPU-A16");
    fs::copy_file(std::string(ORVISTO_TEST_PLUGIN_DIR) + "/libFakeSysBlockMissing.so",
                  dir.Type("TypeA") + "/libFakeSysBlock.so", fs::copy_options::overwrite_existing);
    EXPECT_EQ(LoadError(dir), L"Parse Library Error");
  }
  {
    CatalogDir dir;
    dir.WriteConfig(1, L"CPU-A16");
    fs::remove(dir.Type("TypeA") + "/TypeA.bmp");
    EXPECT_EQ(LoadError(dir), L"Parse XML Error\r\n  Open image file error : \"" + W(dir.Type("TypeA")) + L"/TypeA.bmp\"");
  }
}

TEST(EnvironmentLoader, DescriptionFaultsNameTheirPlace) {
  struct Case {
    std::string from, to;
    std::wstring expected;  // start of the detail after "Parse XML Error"
  };
  const Case cases[] = {
      {"<SymbolVar", "<Item Key=\"k\" Value=\"v\"/><SymbolVar", L"\r\n  Name error"},
      {"<SymbolVar SizeItemInt=\"64\"", "<SymbolVar SizeItemInt=\"abc\"", L"\r\n  Value error"},
      {"<SymbolVar SizeItemInt=\"64\"", "<SymbolVar Bogus=\"1\" SizeItemInt=\"64\"", L"\r\n  Attribute error"},
      {"SizeItemInitUser=\"32\"/>", "SizeItemInitUser=\"32\"><Item/></SymbolVar>", L"\r\n  Status error"},
      {"ExchSupport=\"FF00|0100|FFFF|0021\"", "ExchSupport=\"FF00|0100|FFFF\"", L"\r\n  Create exch support mask error"},
      {"ExchSupport=\"FF00|0100|FFFF|0021\"", "ExchSupport=\"12zz|0100\"", L"\r\n  Create exch support mask error"},
      {"ExchPackSize=\"10#200\"", "ExchPackSize=\"0\"", L"\r\n  ExchPackSize must be positive"},
      {"ExchPackSize=\"10#200\"", "ExchPackSize=\"1\"", L"\r\n  ExchPackSize too small"},
      {"FxMode=\"0\"", "FxMode=\"2\"", L"\r\n  FxMode must be 0 or 1"},
  };
  for (const Case& c : cases) {
    CatalogDir dir;
    dir.WriteConfig(1, L"CPU-A16");
    dir.Replace(dir.Type("TypeA") + "/PlcType.xml", c.from, c.to);
    const std::wstring message = LoadError(dir);
    SCOPED_TRACE(c.to);
    EXPECT_EQ(message.rfind(L"Parse XML Error" + c.expected, 0), 0u) << platform::ToUtf8Lossy(message);
  }
  // Element faults carry the file, row and column.
  CatalogDir dir;
  dir.WriteConfig(1, L"CPU-A16");
  dir.Replace(dir.Type("TypeA") + "/PlcType.xml", "<SymbolVar", "<Item Key=\"k\" Value=\"v\"/><SymbolVar");
  const std::string message = platform::ToUtf8Lossy(LoadError(dir));
  EXPECT_NE(message.find("TypeA/PlcType.xml"), std::string::npos);
  EXPECT_TRUE(std::regex_search(message, std::regex("row = 7 column = [0-9]+"))) << message;
}

TEST(EnvironmentLoader, LaterFolderFailureEndsStartUpAfterTheFirstWasRead) {
  CatalogDir dir;
  dir.WriteConfig(1, L"CPU-A16");
  std::ofstream(dir.Type("TypeFx") + "/PlcType.xml", std::ios::trunc) << "";
  AppEnvironment env;
  try {
    LoadEnvironment(env, dir.ProgramDir());
    FAIL();
  } catch (const ExceptionParseXmlError& e) {
    EXPECT_EQ(e.Message(), L"Parse XML Error\r\n  File is empty : \"" + W(dir.Type("TypeFx")) + L"/PlcType.xml\"");
  }
  ASSERT_EQ(env.PlcTypeCatalog.size(), 2u);
  EXPECT_TRUE(env.PlcTypeCatalog.front().SystemBlockLibrary.IsLoaded());
}

// The shipped type binds its own system-block and exchange libraries. This test program does
// not link the toolkit the system-block library is built on, so loading that library brings the
// toolkit in; when the environment ends, the libraries must stay mapped (unloading the toolkit
// loses what its start-up allocated, and LeakSanitizer reports that when the program ends).
TEST(EnvironmentLoader, ShippedTypeBindsItsLibrariesAndKeepsThemMappedAfterRelease) {
  testsupport::TempDir dir;
  ASSERT_NO_FATAL_FAILURE(testsupport::MakeShippedProgramDir(dir.path()));
  const std::string corvell = dir.File("Orvisto/CPU-Feldrin-CM3/libCorvell.so");
  {
    AppEnvironment env;
    LoadEnvironment(env, W(dir.path()));
    ASSERT_EQ(env.PlcTypeCatalog.size(), 1u);
    const PlcType& type = env.PlcTypeCatalog.front();
    EXPECT_EQ(type.Name(), testsupport::kShippedTypeName);
    EXPECT_TRUE(type.SystemBlockLibrary.IsLoaded());
    EXPECT_TRUE(type.ExchangeLibrary.IsLoaded());
    EXPECT_EQ(env.ProjectList.back().Type, &type);
  }
  void* still = dlopen(corvell.c_str(), RTLD_NOW | RTLD_NOLOAD);
  EXPECT_NE(still, nullptr) << "the system-block library was unloaded";
  if (still != nullptr) dlclose(still);
}
