#include "core/project/system_block_table.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "core/env/exception_error.h"
#include "core/env/plugin_library.h"
#include "core/project/table_test_support.h"

using namespace Brenno;

namespace {

using Bytes = std::vector<uint8_t>;

// The sample the test library reports for a page: byte i of page p is p * 16 + i.
Bytes Sample(int page, int size) {
  Bytes bytes;
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(page * 16 + i));
  return bytes;
}

class SystemBlocks : public tabletest::TableFixture {
 protected:
  void SetUp() override {
    TableFixture::SetUp();
    BindSystemBlockLibrary(Type().SystemBlockLibrary, tabletest::PluginPath("FakeSysBlockSamples.dll"));
    ClearLog();
  }

  SystemBlockTable& Table() { return Project().SystemBlocks; }

  // The call log of the bound test library.
  std::string Log() { return CallLogFunction<const char* (*)()>("FakeLog")(); }
  void ClearLog() { CallLogFunction<void (*)()>("FakeLogClear")(); }
  void SetConfigAnswer(int answer) { CallLogFunction<void (*)(int)>("FakeSetConfigAnswer")(answer); }

 private:
  template <class Fn>
  Fn CallLogFunction(const char* name) {
    Dl_info info{};
    dladdr(Type().SystemBlockLibrary.Entries().front(), &info);
    void* handle = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    Fn function = reinterpret_cast<Fn>(dlsym(handle, name));
    dlclose(handle);
    return function;
  }
};

TEST_F(SystemBlocks, ReferencePagesAreTheLibrarysSamples) {
  EXPECT_EQ(BuildSystemReferencePages(Table()), 6);
  EXPECT_EQ(Table().PageCount, 6);
  EXPECT_TRUE(Table().Working.empty());
  EXPECT_TRUE(Table().ReservedNames.empty());
  const int sizes[] = {46, 24, 16, 5, 0, 0};
  for (int key = 0; key < 6; ++key) {
    const TablePage<uint8_t>& page = Table().Reference.at(key);
    EXPECT_EQ(page.Name, L"SYS_" + std::to_wstring(key));
    EXPECT_EQ(page.Address, L"SYS" + std::to_wstring(key));
    EXPECT_EQ(page.Comment, L"");
    EXPECT_EQ(page.Rows, Sample(key, sizes[key])) << key;
  }
  // A new project holds every page with exactly the sample bytes.
  CopyDefaultSystemPages(Table());
  EXPECT_EQ(Table().Working, Table().Reference);
}

TEST_F(SystemBlocks, ATypeWithoutSystemPagesGivesAnEmptyTable) {
  Type().Description.SystemBlockSizePage = 0;
  Table().Working.emplace(1, MakeSystemPage(L"SYS_1", L"SYS1", L"", {1, 2}));
  EXPECT_EQ(BuildSystemReferencePages(Table()), 0);
  CheckSystemPagesCompatible(Table());
  EXPECT_TRUE(Table().Working.empty());
  EXPECT_TRUE(Table().Reference.empty());
  EXPECT_EQ(Log(), "");
}

TEST_F(SystemBlocks, TheCheckKeepsAcceptedPagesAndResetsTheOthers) {
  BuildSystemReferencePages(Table());
  auto& working = Table().Working;
  working.emplace(0, MakeSystemPage(L"SYS_0", L"SYS0", L"", {9, 9, 9}));         // any bytes: kept
  working.emplace(2, MakeSystemPage(L"SYS_2", L"SYS2", L"", Bytes(15, 7)));      // force table of 15 bytes
  working.emplace(3, MakeSystemPage(L"Ports", L"SYS3", L"c", {1}));               // user name kept
  working.emplace(4, MakeSystemPage(L"3bad", L"SYS04", L"", {}));                 // titles repaired
  working.emplace(5, MakeSystemPage(L"SYS_5", L"SYS5", L"", {5, 5}));            // no page 5 accepted
  working.emplace(9, MakeSystemPage(L"SYS_9", L"SYS9", L"", {1}));               // unknown key: dropped
  // Page 1 is missing.
  CheckSystemPagesCompatible(Table());

  EXPECT_EQ(Table().ListKeys(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(working.at(0).Rows, (Bytes{9, 9, 9}));
  EXPECT_EQ(working.at(1).Rows, Sample(1, 24));
  EXPECT_EQ(working.at(2).Rows, Sample(2, 16));
  EXPECT_EQ(working.at(3).Name, L"Ports");
  EXPECT_EQ(working.at(3).Comment, L"c");
  EXPECT_EQ(working.at(3).Rows, (Bytes{1}));
  EXPECT_EQ(working.at(4).Name, L"SYS_4");
  EXPECT_EQ(working.at(4).Address, L"SYS4");
  EXPECT_EQ(working.at(5).Rows, Bytes());
  // The library judged pages 0 and 2 to 5 (page 1 was missing); an empty page is passed as a
  // null pointer with length 0.
  EXPECT_EQ(Log(), "Check 0 3 data;Check 2 15 data;Check 3 1 data;Check 4 0 null;Check 5 2 data;");

  // A second check finds every page acceptable and changes nothing.
  const SystemBlockTable before = Table();
  CheckSystemPagesCompatible(Table());
  EXPECT_EQ(Table(), before);
}

TEST_F(SystemBlocks, ACompatibilityTestMissesNoPage) {
  BuildSystemReferencePages(Table());
  CopyDefaultSystemPages(Table());
  EXPECT_TRUE(IsSystemPageCompatible(Table(), 2));
  Table().Working.at(2).Rows.push_back(0);
  EXPECT_FALSE(IsSystemPageCompatible(Table(), 2));
  Table().Working.erase(1);
  EXPECT_FALSE(IsSystemPageCompatible(Table(), 1));
  EXPECT_FALSE(IsSystemPageCompatible(Table(), 8));
  EXPECT_EQ(ResetSystemPage(Table(), 1), 1);
  EXPECT_EQ(Table().Working.at(1).Rows, Sample(1, 24));
  EXPECT_EQ(ResetSystemPage(Table(), 8), -1);
}

TEST_F(SystemBlocks, ADamagedSampleReportGivesAnEmptyPage) {
  Type().Description.SystemBlockSizePage = 8;
  EXPECT_EQ(BuildSystemReferencePages(Table()), 8);
  EXPECT_EQ(Table().Reference.at(6).Rows, Bytes());
  EXPECT_EQ(Table().Reference.at(7).Rows, Bytes());
}

TEST_F(SystemBlocks, ATypeWithoutABoundLibraryKeepsItsPages) {
  Type().SystemBlockLibrary.Release();
  BuildSystemReferencePages(Table());
  EXPECT_EQ(Table().Reference.at(0).Rows, Bytes());
  Table().Working.emplace(2, MakeSystemPage(L"SYS_2", L"SYS2", L"", {1, 2, 3}));
  CheckSystemPagesCompatible(Table());
  EXPECT_EQ(Table().Working.at(2).Rows, (Bytes{1, 2, 3}));
  EXPECT_EQ(Table().ListKeys().size(), 6u);
}

TEST_F(SystemBlocks, AProjectWithoutATypeCannotBeBuilt) {
  Project().Type = nullptr;
  EXPECT_THROW(BuildSystemReferencePages(Table()), ExceptionLogicError);
}

}  // namespace

TEST_F(SystemBlocks, TheConfigurationHandsEveryPageOverAndTakesThemBackOnlyWhenConfirmed) {
  BuildSystemReferencePages(Table());
  CopyDefaultSystemPages(Table());
  Table().GetPage(5) = {7, 8};
  const auto before = Table().Working;
  struct Case {
    int answer;
    bool result;
    Bytes page0, page4, page5;
  };
  Bytes page0 = Sample(0, 46);
  Bytes edited0 = page0;
  edited0.push_back(0xEE);
  const Case cases[] = {
      {0, false, page0, {}, {7, 8}},
      {1, true, edited0, {0xEE}, {7, 8, 0xEE}},
      {2, true, {}, {}, {}},
  };
  for (const Case& c : cases) {
    Table().Working = before;
    ClearLog();
    SetConfigAnswer(c.answer);
    EXPECT_EQ(RunSystemBlockConfig(Table(), Type(), nullptr), c.result) << c.answer;
    const std::string handedOver = "Set 0 46 data;Set 1 24 data;Set 2 16 data;Set 3 5 data;Set 4 0 null;Set 5 2 data;Config;";
    EXPECT_EQ(Log(), c.result ? handedOver + "Get 0;Get 1;Get 2;Get 3;Get 4;Get 5;" : handedOver) << c.answer;
    EXPECT_EQ(Table().GetPage(0), c.page0) << c.answer;
    EXPECT_EQ(Table().GetPage(4), c.page4) << c.answer;
    EXPECT_EQ(Table().GetPage(5), c.page5) << c.answer;
  }
  SetConfigAnswer(0);
}

TEST_F(SystemBlocks, AMissingWorkingPageStopsTheConfigurationBeforeTheLibraryIsCalled) {
  BuildSystemReferencePages(Table());
  CopyDefaultSystemPages(Table());
  Table().Working.erase(3);
  ClearLog();
  EXPECT_THROW(RunSystemBlockConfig(Table(), Type(), nullptr), ExceptionLogicError);
  EXPECT_EQ(Log(), "");
}

