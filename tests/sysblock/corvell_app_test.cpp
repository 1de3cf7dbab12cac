#include "sysblock/model/corvell_app.h"

#include <gtest/gtest.h>

namespace corvell {
namespace {

TEST(CorvellApp, StartsInEnglishWithTheControllerBases) {
  CCorvellApp app;
  EXPECT_EQ(app.Language, 1);
  EXPECT_EQ(app.DialogIdBase, 100);
  EXPECT_EQ(app.CommandIdBase, 1000);
  EXPECT_EQ(app.DigitalInputBase, 14);
  EXPECT_EQ(app.DigitalOutputBase, 0);
  EXPECT_TRUE(app.CurrentPages.empty());
  EXPECT_EQ(app.SamplePages.size(), 4u);
}

TEST(CorvellApp, SetLangSwitchesOnlyForOneAndTwo) {
  struct Case {
    std::vector<int> calls;
    int language, dialogBase, commandBase;
  } cases[] = {
      {{2}, 2, 200, 2000},
      {{2, 3}, 2, 200, 2000},
      {{2, 1}, 1, 100, 1000},
      {{0}, 1, 100, 1000},
      {{-2}, 1, 100, 1000},
  };
  for (const auto& c : cases) {
    CCorvellApp app;
    for (int call : c.calls) app.SetLang(call);
    EXPECT_EQ(app.Language, c.language);
    EXPECT_EQ(app.DialogIdBase, c.dialogBase);
    EXPECT_EQ(app.CommandIdBase, c.commandBase);
  }
}

TEST(CorvellApp, ModuleListSampleCarriesTheControllerBases) {
  EXPECT_EQ(BuildSampleModuleListPage(14, 0), (PageBytes{0x0B, 0, 0, 0, 0, 0x0E, 0, 0, 0x0B, 0, 0}));
  EXPECT_EQ(BuildSampleModuleListPage(24, 16), (PageBytes{0x0B, 0, 0, 0, 0, 24, 0, 16, 0x0B, 0, 0}));
}

TEST(CorvellApp, ReplacingAPageInvalidatesOnlyThatPage) {
  CCorvellApp app;
  const uint8_t a[3] = {1, 2, 3};
  app.SetPageData(0, a, 3);
  app.SetPageData(4, a, 2);
  const uint8_t* before4 = nullptr;
  int size = 0;
  app.GetPageData(4, &before4, &size);
  app.SetPageData(0, a, 1);
  const uint8_t* after4 = nullptr;
  app.GetPageData(4, &after4, &size);
  EXPECT_EQ(before4, after4);
  EXPECT_EQ(size, 2);
}

}  // namespace
}  // namespace corvell
