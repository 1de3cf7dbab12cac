#include "core/project/project_reset.h"

#include <gtest/gtest.h>

#include "core/project/environment_loader.h"
#include "core/project/cross_reference.h"
#include "core/project/data_block_table.h"
#include "core/project/status_chart.h"
#include "core/project/symbol_table.h"
#include "core/project/system_block_table.h"
#include "project_env_test_support.h"

using namespace Brenno;
using namespace projecttest;

namespace {

class ProjectResetTest : public ProjectEnvFixture {
 protected:
  void SetUp() override {
    ProjectEnvFixture::SetUp();
    ASSERT_TRUE(SelectPlcType(env_, kTypeA));
  }

  static std::vector<int> KeysOf(const BlockTable& table) { return table.ListBlockPageKeys(); }

  template <class Table>
  static int FirstReferenceKey(const Table& table) {
    return table.Reference.empty() ? -1 : table.Reference.begin()->first;
  }
};

TEST_F(ProjectResetTest, ResetGivesAnEmptyProjectOfTheTypeAndIsIdempotent) {
  Project& project = Current();
  ResetProjectForType(project);
  FillDefaultProject(project);
  project.CrossReferences.SearchHits.push_back(CrossReferUse{MakeStlOperandLocation(0, 0, 0, 0), L"LD", {}});
  project.CrossReferences.Rows.push_back(CrossReferRow{});
  project.Program.ViewMode = kViewModeStl;

  ResetProjectForType(project);
  const Project once = project;
  EXPECT_EQ(project.CrossReferences, CrossReferIndex());
  EXPECT_TRUE(project.Symbols.Working.empty());
  EXPECT_FALSE(project.Symbols.Reference.empty());
  EXPECT_TRUE(project.DataBlocks.Working.empty());
  EXPECT_TRUE(project.SystemBlocks.Working.empty());
  EXPECT_FALSE(project.SystemBlocks.Reference.empty());
  EXPECT_TRUE(project.StatusChart.Working.empty());
  EXPECT_TRUE(project.Program.InterruptTable.Working.empty());
  EXPECT_TRUE(project.Program.SubroutineTable.Working.empty());
  EXPECT_EQ(project.Program.ViewMode, kViewModeLad);

  ResetProjectForType(project);
  EXPECT_EQ(project.CrossReferences, once.CrossReferences);
  EXPECT_EQ(project.Symbols, once.Symbols);
  EXPECT_EQ(project.DataBlocks, once.DataBlocks);
  EXPECT_EQ(project.SystemBlocks, once.SystemBlocks);
  EXPECT_EQ(project.StatusChart, once.StatusChart);
  EXPECT_EQ(project.Program.ViewMode, once.Program.ViewMode);
  EXPECT_EQ(project.Program.InterruptTable.ListReferenceBlockKeys(), once.Program.InterruptTable.ListReferenceBlockKeys());
  EXPECT_EQ(project.Program.SubroutineTable.ListReferenceBlockKeys(), once.Program.SubroutineTable.ListReferenceBlockKeys());
}

TEST_F(ProjectResetTest, DefaultFillGivesEveryTableItsInitialPages) {
  Project& project = Current();
  ResetProjectForType(project);
  FillDefaultProject(project);
  EXPECT_EQ(project.Symbols.Working.size(), 1u);     // SizePageInitUser 1
  EXPECT_EQ(project.DataBlocks.Working.size(), 1u);  // SizePageInit 1
  EXPECT_EQ(project.StatusChart.Working.size(), 1u);
  EXPECT_EQ(project.SystemBlocks.Working.size(), project.SystemBlocks.Reference.size());
  EXPECT_TRUE(project.Program.InterruptTable.HasWorkingPage(0));
  EXPECT_TRUE(project.Program.SubroutineTable.HasWorkingPage(0x10000));
}

TEST_F(ProjectResetTest, NormalisingWithoutReceivedPagesKeepsTheFirstReferencePageOfEveryTable) {
  Project& project = Current();
  ResetProjectForType(project);
  const std::vector<ProgramBlockCut> cuts = NormalizeProjectForType(project);
  EXPECT_TRUE(cuts.empty());
  ASSERT_EQ(project.Symbols.Working.size(), 1u);
  EXPECT_EQ(project.Symbols.Working.begin()->first, FirstReferenceKey(project.Symbols));
  ASSERT_EQ(project.DataBlocks.Working.size(), 1u);
  EXPECT_EQ(project.DataBlocks.Working.begin()->first, FirstReferenceKey(project.DataBlocks));
  ASSERT_EQ(project.StatusChart.Working.size(), 1u);
  EXPECT_EQ(project.StatusChart.Working.begin()->first, FirstReferenceKey(project.StatusChart));
  EXPECT_EQ(KeysOf(project.Program.InterruptTable), std::vector<int>{0});
  EXPECT_EQ(KeysOf(project.Program.SubroutineTable), std::vector<int>{0x10000});
  // Every system page of the type, filled from its reference page.
  ASSERT_EQ(project.SystemBlocks.Working.size(), project.SystemBlocks.Reference.size());
  for (const auto& [key, page] : project.SystemBlocks.Working) {
    EXPECT_EQ(page.Rows, project.SystemBlocks.Reference.at(key).Rows) << key;
  }
}

TEST_F(ProjectResetTest, NormalisingDropsReceivedPagesTheTypeDoesNotHave) {
  Project& project = Current();
  ResetProjectForType(project);
  FillDefaultProject(project);
  TablePage<DataRow> stray = project.DataBlocks.Working.begin()->second;
  project.DataBlocks.Working[1000] = stray;
  project.SystemBlocks.Working.at(0).Rows.push_back(0x55);  // the library accepts page 0 as it is
  const auto page0 = project.SystemBlocks.Working.at(0).Rows;
  NormalizeProjectForType(project);
  EXPECT_FALSE(project.DataBlocks.HasWorkingPage(1000));
  EXPECT_EQ(project.SystemBlocks.Working.at(0).Rows, page0);
}

}  // namespace
