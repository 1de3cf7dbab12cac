#include "core/env/plugin_library.h"

#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

using namespace Brenno;

namespace {

std::wstring PluginPath(const char* file) {
  return platform::FromUtf8Lossy(std::string(ORVISTO_TEST_PLUGIN_DIR) + "/" + file);
}

std::string CallLog(const PluginLibrary& binding, void* anyEntry) {
  // The fake plug-ins keep a call log; reach it through the library the entry lives in.
  Dl_info info{};
  dladdr(anyEntry, &info);
  void* handle = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
  auto log = reinterpret_cast<const char* (*)()>(dlsym(handle, "FakeLog"));
  std::string text = log ? log() : "";
  dlclose(handle);
  return text;
}

}  // namespace

TEST(PluginLibrary, BindsAllNineEntriesThenSetsLanguageAndFolder) {
  SetCurrentLanguage(kLanguageChinese);
  PluginLibrary binding;
  // "FakeSysBlock.dll" resolves to libFakeSysBlock.so beside it.
  BindSystemBlockLibrary(binding, PluginPath("FakeSysBlock.dll"));
  SetCurrentLanguage(kLanguageEnglish);
  ASSERT_TRUE(binding.IsLoaded());
  ASSERT_EQ(binding.Entries().size(), 9u);
  for (void* entry : binding.Entries()) EXPECT_NE(entry, nullptr);
  EXPECT_EQ(CallLog(binding, binding.Entries()[0]), "SetLang 2;SetFolder " ORVISTO_TEST_PLUGIN_DIR ";");
  auto check = binding.Entry<SysBlockCheckPageCompatibleFn>(kSbCheckPageCompatible);
  EXPECT_TRUE(check(4, nullptr, 0));
  EXPECT_FALSE(check(5, nullptr, 0));
}

TEST(PluginLibrary, BindsTheExchangeStandInsTwentyThreeEntries) {
  PluginLibrary binding;
  BindExchangeLibrary(binding, platform::FromUtf8Lossy(ORVISTO_EXCHANGE_LIBRARY));
  ASSERT_EQ(binding.Entries().size(), 23u);

  // A download followed by an upload hands the same pages back.
  const uint32_t words[] = {0x11223344, 0x55667788};
  binding.Entry<ExchClearFn>(kExClearData)();
  binding.Entry<ExchSetPageFn>(kExSetPageData)(3, words, sizeof words);
  EXPECT_TRUE(binding.Entry<ExchExcuteFn>(kExExcuteUserDownload)());
  EXPECT_TRUE(binding.Entry<ExchExcuteFn>(kExExcuteUserUpload)());
  const void* data = reinterpret_cast<const void*>(1);
  int size = -1;
  binding.Entry<ExchGetPageFn>(kExGetPageData)(3, &data, &size);
  ASSERT_EQ(size, 8);
  EXPECT_EQ(std::memcmp(data, words, 8), 0);
  binding.Entry<ExchGetPageFn>(kExGetPageSystem)(0, &data, &size);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(size, 0);
}

TEST(PluginLibrary, MissingLibraryNamesThePath) {
  PluginLibrary binding;
  const std::wstring path = PluginPath("NoSuch.dll");
  try {
    BindSystemBlockLibrary(binding, path);
    FAIL() << "expected an error";
  } catch (const ExceptionParseLibraryError& e) {
    EXPECT_EQ(e.Message(), L"Parse Library Error\r\n  Load dll error : \"" + path + L"\"");
  }
  EXPECT_FALSE(binding.IsLoaded());
}

TEST(PluginLibrary, MissingEntryRefusesTheLibraryWithoutDetail) {
  PluginLibrary binding;
  try {
    BindSystemBlockLibrary(binding, PluginPath("FakeSysBlockMissing.dll"));
    FAIL() << "expected an error";
  } catch (const ExceptionParseLibraryError& e) {
    EXPECT_EQ(e.Message(), L"Parse Library Error");
  }
  // An exchange binding needs 23 names: a system-block library lacks most of them.
  PluginLibrary wrongKind;
  EXPECT_THROW(BindExchangeLibrary(wrongKind, PluginPath("FakeSysBlock.dll")), ExceptionParseLibraryError);
}
