// What the project tree lists and what its commands do, on a real project of the fixture type
// "CPU-A16", through a recording host in place of the tree widget.
#include <gtest/gtest.h>

#include <deque>
#include <optional>

#include "core/env/language.h"
#include "core/program/program_block.h"
#include "core/project/data_block_table.h"
#include "core/project/local_var_table.h"
#include "core/project/status_chart.h"
#include "core/project/symbol_table.h"
#include "tests/ui/views/project_tree/project_tree_test_env.h"
#include "ui/shell/notify_codes.h"
#include "ui/views/project_tree/project_tree_commands.h"
#include "ui/views/project_tree/table_page_operations.h"

namespace Brenno {
namespace {

using treetest::SentEvent;

class RecordingHost : public ProjectTreeHost {
 public:
  void RebuildBranch(TreeItemKind folder, int selectKey) override { rebuilt.emplace_back(folder, selectKey); }
  void RebuildCatalogue() override { ++catalogues; }
  void SetItemLabel(TreeItemRef item, const std::wstring& text) override { labels.emplace_back(item, text); }
  bool AskText(const std::wstring& prompt, std::wstring& text) override {
    prompts.emplace_back(prompt, text);
    if (answers.empty() || !answers.front()) {
      if (!answers.empty()) answers.pop_front();
      return false;
    }
    text = *answers.front();
    answers.pop_front();
    return true;
  }
  bool AskPidHeadAddress(unsigned& address) override {
    askedAddress = address;
    if (duringDialog) duringDialog();
    if (!pidAnswer) return false;
    address = *pidAnswer;
    return true;
  }
  void Notify(uint32_t event, intptr_t value) override { events.push_back({event, value}); }
  void FocusTree() override { focused = true; }
  bool IsTreeShown() const override { return shown; }

  std::vector<std::pair<TreeItemKind, int>> rebuilt;
  int catalogues = 0;
  std::vector<std::pair<TreeItemRef, std::wstring>> labels;
  std::deque<std::optional<std::wstring>> answers;
  std::vector<std::pair<std::wstring, std::wstring>> prompts;
  std::optional<unsigned> pidAnswer;
  std::optional<unsigned> askedAddress;
  std::function<void()> duringDialog;
  std::vector<SentEvent> events;
  bool focused = false;
  bool shown = true;
};

constexpr int kMain = 0;
constexpr int kSbr0 = 0x10000;

class ProjectTreeCommandsTest : public treetest::ProjectTreeEnv {
 protected:
  RecordingHost host;
  ProjectTreeCommands commands{env_, host};
};

TEST_F(ProjectTreeCommandsTest, BranchesListThePagesWithTheirTitles) {
  Project& project = Current();
  EXPECT_EQ(BuildPageBranch(project, TreeItemKind::DataBlockFolder),
            (std::vector<TreeEntry>{{L"DAT_0 (DAT0)", TreeImageDataBlock, 0}}));
  EXPECT_EQ(BuildPageBranch(project, TreeItemKind::ProgramBlockFolder),
            (std::vector<TreeEntry>{{L"MAIN (INT0)", TreeImageProgramPage, kMain}, {L"SBR_0 (SBR0)", TreeImageProgramPage, kSbr0}}));
  // Interrupts come before subroutines whatever the order of adding.
  ASSERT_EQ(project.Program.AddSubroutine(), 0x10001);
  ASSERT_EQ(project.Program.AddInterrupt(), 1);
  std::vector<int> keys;
  for (const TreeEntry& entry : BuildPageBranch(project, TreeItemKind::ProgramBlockFolder)) keys.push_back(entry.Data);
  EXPECT_EQ(keys, (std::vector<int>{0, 1, 0x10000, 0x10001}));
  EXPECT_EQ(BuildPageBranch(project, TreeItemKind::VariableSymbolFolder),
            (std::vector<TreeEntry>{{L"USR_0 (USR0)", TreeImageVariableTable, 0}}));
  EXPECT_EQ(BuildPageBranch(project, TreeItemKind::StatusChartFolder),
            (std::vector<TreeEntry>{{L"CHT_0 (CHT0)", TreeImageStatusChart, 0}}));
  EXPECT_EQ(ProjectRootText(project), L"Project [CPU-A16 (16 DI / 16 DO)]");
  SetCurrentLanguage(kLanguageChinese);
  EXPECT_EQ(FixedItemText(TreeItemKind::CrossReference), L"交叉引用");
  EXPECT_EQ(FixedItemText(TreeItemKind::CatalogueRoot), L"指令");
}

// The catalogue of one view mode as "group: item text/image/data" lines.
std::vector<std::wstring> CatalogueLines(const Project& project) {
  std::vector<std::wstring> lines;
  for (const CatalogueGroup& group : BuildCatalogue(project)) {
    lines.push_back(group.Name + L" #" + std::to_wstring(group.Image));
    for (const TreeEntry& item : group.Items) {
      lines.push_back(L"  " + item.Text + L" #" + std::to_wstring(item.Image) + L" @" + std::to_wstring(item.Data));
    }
  }
  return lines;
}

bool Contains(const std::vector<std::wstring>& lines, const std::wstring& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST_F(ProjectTreeCommandsTest, CatalogueFollowsTheViewModeAndTheSubroutines) {
  Project& project = Current();
  const InstructionLibrary& library = project.Instructions;
  ASSERT_GT(library.SubroutineCount, 1);
  const int ladCall0 = static_cast<int>(library.FunLadList.size()) - library.SubroutineCount;
  const int stlCall0 = static_cast<int>(library.FunStlList.size()) - library.SubroutineCount;

  project.Program.ViewMode = kViewModeLad;
  std::vector<std::wstring> lines = CatalogueLines(project);
  ASSERT_EQ(BuildCatalogue(project).size(), library.FunLadGroups.size());
  EXPECT_TRUE(Contains(lines, L"  SBR_0 (SBR0) #18 @" + std::to_wstring(ladCall0)));
  EXPECT_FALSE(Contains(lines, L"  SBR_1 (SBR1) #18 @" + std::to_wstring(ladCall0 + 1)));  // no such page
  // Every ladder item by its element kind.
  for (const CatalogueGroup& group : BuildCatalogue(project)) {
    for (const TreeEntry& item : group.Items) {
      const FunLadRecord& def = library.FunLadList.at(item.Data);
      EXPECT_EQ(def.Parent, group.Name);
      if (item.Data >= ladCall0) continue;
      switch (def.Look) {
        case kLadLookCont: EXPECT_EQ(item.Text, L"-|" + def.Keyword + L"|-"); EXPECT_EQ(item.Image, 19); break;
        case kLadLookCoil: EXPECT_EQ(item.Text, L"-(" + def.Keyword + L")"); EXPECT_EQ(item.Image, 20); break;
        case kLadLookBlock: EXPECT_EQ(item.Text, def.Keyword); EXPECT_EQ(item.Image, 21); break;
        default: ADD_FAILURE() << "kind " << def.Look;
      }
    }
  }

  // A subroutine's new name shows at once; after its move only the new call is listed.
  ASSERT_TRUE(project.Program.RenameBlock(kSbr0, L"Pump"));
  int newKey = -1;
  ASSERT_TRUE(project.Program.ChangeBlockAddress(kSbr0, L"SBR2", newKey));
  lines = CatalogueLines(project);
  EXPECT_TRUE(Contains(lines, L"  Pump (SBR2) #18 @" + std::to_wstring(ladCall0 + 2)));
  EXPECT_FALSE(Contains(lines, L"  Pump (SBR2) #18 @" + std::to_wstring(ladCall0)));

  project.Program.ViewMode = kViewModeStl;
  lines = CatalogueLines(project);
  ASSERT_EQ(BuildCatalogue(project).size(), library.FunStlGroups.size());
  EXPECT_TRUE(Contains(lines, L"  Pump (SBR2) #16 @" + std::to_wstring(stlCall0 + 2)));
  for (const CatalogueGroup& group : BuildCatalogue(project)) {
    EXPECT_EQ(group.Image, 14);
    for (const TreeEntry& item : group.Items) {
      const FunStlRecord& def = library.FunStlList.at(item.Data);
      if (item.Data >= stlCall0) continue;
      std::wstring text = def.Name + L"    ";
      for (size_t i = 0; i < def.Operands.size(); ++i) text += (i ? L"," : L"") + def.Operands[i].Name;
      EXPECT_EQ(item.Text, text);
    }
  }

  project.Program.ViewMode = 0;
  EXPECT_TRUE(BuildCatalogue(project).empty());
}

TEST_F(ProjectTreeCommandsTest, OpeningSendsTheEventOfTheItem) {
  struct Case {
    TreeItemRef item;
    std::optional<TreeEvent> event;
  };
  const Case cases[] = {
      {{TreeItemKind::DataBlockFolder, 0}, TreeEvent{EvTreeOpenDataBlock, 0}},
      {{TreeItemKind::DataBlockPage, 3}, TreeEvent{EvTreeOpenDataBlock, 3}},
      {{TreeItemKind::SystemBlock, 0}, TreeEvent{EvTreeOpenSystemBlock, 0}},
      {{TreeItemKind::ProgramPage, kSbr0}, TreeEvent{EvTreeOpenProgramPage, kSbr0}},
      {{TreeItemKind::FunctionSymbol, 0}, TreeEvent{EvTreeOpenFunctionSymbols, 0}},
      {{TreeItemKind::VariableTablePage, 2}, TreeEvent{EvTreeOpenVariableTable, 2}},
      {{TreeItemKind::StatusChartFolder, 0}, TreeEvent{EvTreeOpenStatusChart, 0}},
      {{TreeItemKind::CrossReference, 0}, TreeEvent{EvTreeOpenCrossReference, 0}},
      {{TreeItemKind::Instruction, 17}, TreeEvent{EvTreeInsertInstruction, 17}},
      {{TreeItemKind::ProjectRoot, 0}, std::nullopt},
      {{TreeItemKind::CatalogueRoot, 0}, std::nullopt},
      {{TreeItemKind::InstructionGroup, 0}, std::nullopt},
  };
  SetCommState(CommOnline);  // opening works in every state
  for (const Case& c : cases) {
    EXPECT_EQ(OpenEventOf(c.item), c.event) << static_cast<int>(c.item.Kind);
    EXPECT_EQ(commands.IsEnabled(TreeCmdOpen, c.item), c.event.has_value());
    host.events.clear();
    commands.Run(TreeCmdOpen, c.item);
    EXPECT_EQ(host.events.size(), c.event ? 1u : 0u);
  }
}

TEST_F(ProjectTreeCommandsTest, EditingAndPageCommandsActOnlyOffline) {
  const TreeItemRef dataBlock{TreeItemKind::DataBlockPage, 0};
  const TreeItemRef main{TreeItemKind::ProgramPage, kMain};
  const TreeItemRef sbr{TreeItemKind::ProgramPage, kSbr0};
  const TreeItemRef chart{TreeItemKind::StatusChartPage, 0};
  const TreeItemRef table{TreeItemKind::VariableTablePage, 0};
  const TreeItemRef folder{TreeItemKind::DataBlockFolder, 0};
  struct Case {
    int command;
    TreeItemRef item;
    bool enabled;
  };
  const Case cases[] = {
      {TreeCmdEditSymbol, dataBlock, true},      {TreeCmdEditAddress, sbr, true},
      {TreeCmdEditComment, chart, true},         {TreeCmdEditSymbol, folder, false},
      {TreeCmdInsertDataBlock, folder, true},    {TreeCmdInsertPidDataBlock, {}, true},
      {TreeCmdDeleteDataBlock, dataBlock, true}, {TreeCmdDeleteDataBlock, {TreeItemKind::DataBlockPage, 5}, false},
      {TreeCmdDeleteDataBlock, chart, false},    {TreeCmdInsertInterrupt, sbr, true},
      {TreeCmdDeleteInterrupt, main, true},      {TreeCmdDeleteInterrupt, sbr, false},
      {TreeCmdDeleteSubroutine, sbr, true},      {TreeCmdDeleteSubroutine, main, false},
      {TreeCmdDeleteVariableTable, table, true}, {TreeCmdDeleteStatusChart, chart, true},
      {TreeCmdDeleteStatusChart, table, false},  {TreeCmdInsertStatusChart, {}, true},
  };
  for (const Case& c : cases) EXPECT_EQ(commands.IsEnabled(c.command, c.item), c.enabled) << c.command;
  for (const int state : {CommOnline, CommOpeningOnline, CommCommand}) {
    SetCommState(state);
    for (const Case& c : cases) EXPECT_FALSE(commands.IsEnabled(c.command, c.item)) << c.command;
    // Run on its own does nothing either.
    commands.Run(TreeCmdInsertDataBlock, folder);
    commands.Run(TreeCmdDeleteInterrupt, main);
    EXPECT_FALSE(commands.RenamePage(dataBlock, L"Other"));
  }
  EXPECT_TRUE(host.events.empty());
  EXPECT_EQ(Current().DataBlocks.ListKeys(), std::vector<int>{0});
  host.shown = false;
  SetCommState(CommOffline);
  EXPECT_FALSE(commands.IsEnabled(TreeCmdInsertDpidDataBlock, {}));
  host.shown = true;
  EXPECT_TRUE(commands.IsEnabled(TreeCmdInsertDpidDataBlock, {}));
}

TEST_F(ProjectTreeCommandsTest, InsertAndDeletePages) {
  Project& project = Current();
  commands.Run(TreeCmdInsertDataBlock, {});
  commands.Run(TreeCmdInsertDataBlock, {});
  commands.Run(TreeCmdDeleteDataBlock, {TreeItemKind::DataBlockPage, 1});  // the next page follows
  commands.Run(TreeCmdDeleteDataBlock, {TreeItemKind::DataBlockPage, 2});  // the last: the previous one
  EXPECT_EQ(project.DataBlocks.ListKeys(), std::vector<int>{0});
  commands.Run(TreeCmdDeleteStatusChart, {TreeItemKind::StatusChartPage, 0});  // the only one comes back
  commands.Run(TreeCmdInsertVariableTable, {});
  commands.Run(TreeCmdDeleteVariableTable, {TreeItemKind::VariableTablePage, 0});
  EXPECT_EQ(host.events, (std::vector<SentEvent>{{EvTreeDataBlockAdded, 1},
                                                 {EvTreeDataBlockAdded, 2},
                                                 {EvTreeDataBlockRemoved, 2},
                                                 {EvTreeDataBlockRemoved, 0},
                                                 {EvTreeStatusChartRemoved, 0},
                                                 {EvTreeVariableTableAdded, 1},
                                                 {EvTreeVariableTableRemoved, 1}}));
  EXPECT_EQ(host.rebuilt, (std::vector<std::pair<TreeItemKind, int>>{{TreeItemKind::DataBlockFolder, 1},
                                                                      {TreeItemKind::DataBlockFolder, 2},
                                                                      {TreeItemKind::DataBlockFolder, 2},
                                                                      {TreeItemKind::DataBlockFolder, 0},
                                                                      {TreeItemKind::StatusChartFolder, 0},
                                                                      {TreeItemKind::VariableSymbolFolder, 1},
                                                                      {TreeItemKind::VariableSymbolFolder, 1}}));
  EXPECT_EQ(host.catalogues, 0);
  EXPECT_EQ(project.StatusChart.ListKeys(), std::vector<int>{0});

  // Program pages: the catalogue follows the subroutines only.
  host.events.clear();
  commands.Run(TreeCmdInsertInterrupt, {});
  EXPECT_EQ(host.catalogues, 0);
  commands.Run(TreeCmdInsertSubroutine, {});
  EXPECT_EQ(host.catalogues, 1);
  EXPECT_EQ(project.Program.GetProgramPage(0x10001).ViewState.PageId, 0x10001);
  commands.Run(TreeCmdDeleteSubroutine, {TreeItemKind::ProgramPage, kSbr0});
  EXPECT_EQ(host.catalogues, 2);
  commands.Run(TreeCmdDeleteInterrupt, {TreeItemKind::ProgramPage, kMain});
  commands.Run(TreeCmdDeleteSubroutine, {TreeItemKind::ProgramPage, kMain});  // not a subroutine: nothing
  EXPECT_EQ(host.events, (std::vector<SentEvent>{{EvTreeProgramPageAdded, 1},
                                                 {EvTreeProgramPageAdded, 0x10001},
                                                 {EvTreeProgramPageRemoved, 0x10001},
                                                 {EvTreeProgramPageRemoved, 1}}));
  EXPECT_EQ(project.Program.ListProgramBlockKeys(), (std::vector<int>{1, 0x10001}));
}

TEST_F(ProjectTreeCommandsTest, PidBlocksAskTheHeadAddress) {
  Project& project = Current();
  host.pidAnswer = 2100;
  commands.Run(TreeCmdInsertPidDataBlock, {});
  EXPECT_EQ(host.askedAddress, kPidDefaultHeadAddress);
  ASSERT_TRUE(project.DataBlocks.HasWorkingPage(1));
  EXPECT_FALSE(project.DataBlocks.GetPage(1).empty());
  EXPECT_EQ(project.DataBlocks.GetPage(1).front().Address.substr(0, 2), L"MB");
  EXPECT_NE(project.DataBlocks.GetPage(1).front().Address.find(L"2100"), std::wstring::npos);

  // DPID: the tree takes the focus, and the hub rebuilds the branch.
  commands.Run(TreeCmdInsertDpidDataBlock, {});
  EXPECT_TRUE(host.focused);
  EXPECT_EQ(host.events, (std::vector<SentEvent>{{EvTreeDataBlockAdded, 1}, {EvDataBlockInserted, 2}}));
  EXPECT_EQ(host.rebuilt.size(), 1u);

  // Cancel, or leaving the offline state while the dialog is open, inserts nothing.
  host.pidAnswer.reset();
  commands.Run(TreeCmdInsertPidfDataBlock, {});
  host.pidAnswer = 0;
  host.duringDialog = [this] { SetCommState(CommOpeningOnline); };
  commands.Run(TreeCmdInsertPidfDataBlock, {});
  EXPECT_EQ(project.DataBlocks.ListKeys(), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(host.events.size(), 2u);
}

TEST_F(ProjectTreeCommandsTest, EditSymbolOfASubroutine) {
  const TreeItemRef sbr{TreeItemKind::ProgramPage, kSbr0};
  host.answers = {std::nullopt, L"1st", L"Pump"};
  commands.Run(TreeCmdEditSymbol, sbr);  // cancelled
  commands.Run(TreeCmdEditSymbol, sbr);  // refused
  EXPECT_TRUE(host.events.empty());
  commands.Run(TreeCmdEditSymbol, sbr);
  ASSERT_EQ(host.prompts.size(), 3u);
  EXPECT_EQ(host.prompts[0], (std::pair<std::wstring, std::wstring>{L"Please input the symbol:", L"SBR_0"}));
  EXPECT_EQ(host.labels, (std::vector<std::pair<TreeItemRef, std::wstring>>{{sbr, L"Pump (SBR0)"}}));
  EXPECT_EQ(host.catalogues, 1);
  EXPECT_EQ(host.events, (std::vector<SentEvent>{{EvTreeProgramPageRenamed, kSbr0}}));
}

TEST_F(ProjectTreeCommandsTest, RenameOfTablePages) {
  Project& project = Current();
  struct Case {
    TreeItemRef item;
    const wchar_t* name;
    bool accepted;
    NotifyEvent event;
  };
  const Case cases[] = {
      {{TreeItemKind::DataBlockPage, 0}, L"Recipe", true, EvTreeDataBlockRenamed},
      {{TreeItemKind::VariableTablePage, 0}, L"Recipe", true, EvTreeVariableTableRenamed},  // another table
      {{TreeItemKind::StatusChartPage, 0}, L"Watch", true, EvTreeStatusChartRenamed},
      {{TreeItemKind::DataBlockPage, 0}, L"DAT_1", false, EvTreeDataBlockRenamed},
      {{TreeItemKind::DataBlockPage, 0}, L"DAT_0 (DAT0)", false, EvTreeDataBlockRenamed},
      {{TreeItemKind::DataBlockPage, 0}, L"DAT_0", true, EvTreeDataBlockRenamed},
  };
  for (const Case& c : cases) {
    host.events.clear();
    EXPECT_EQ(commands.RenamePage(c.item, c.name), c.accepted) << std::wstring(c.name).size();
    const std::vector<SentEvent> expected = c.accepted ? std::vector<SentEvent>{{c.event, 0}} : std::vector<SentEvent>{};
    EXPECT_EQ(host.events, expected);
  }
  EXPECT_EQ(GetTablePageName(project.Symbols, 0), L"Recipe");
  EXPECT_EQ(host.labels.back().second, L"DAT_0 (DAT0)");
  EXPECT_EQ(host.catalogues, 0);
}

TEST_F(ProjectTreeCommandsTest, EditAddressMovesThePage) {
  Project& project = Current();
  host.answers = {L"DAT0", L"DAT9", L"DAT003"};
  commands.Run(TreeCmdEditAddress, {TreeItemKind::DataBlockPage, 0});  // own address
  commands.Run(TreeCmdEditAddress, {TreeItemKind::DataBlockPage, 0});  // not offered
  EXPECT_TRUE(host.events.empty());
  commands.Run(TreeCmdEditAddress, {TreeItemKind::DataBlockPage, 0});
  EXPECT_EQ(host.prompts[0], (std::pair<std::wstring, std::wstring>{L"Please input the address:", L"DAT0"}));
  EXPECT_EQ(project.DataBlocks.ListKeys(), std::vector<int>{3});
  EXPECT_EQ(GetTablePageName(project.DataBlocks, 3), L"DAT_3");
  EXPECT_EQ(host.rebuilt.back(), (std::pair<TreeItemKind, int>{TreeItemKind::DataBlockFolder, 3}));
  EXPECT_EQ(host.events, (std::vector<SentEvent>{{EvTreeDataBlockReaddressed, 3}}));

  // A subroutine moves with its own key stamped in, its call interface moves with it, and the
  // catalogue follows.
  ASSERT_TRUE(SetLocalVarName(project.Symbols, kSbr0, 0, L"speed"));
  ASSERT_EQ(GetSubroutineFunLad(kSbr0, project.Instructions).OperandIn.size(), 1u);
  host.events.clear();
  host.answers = {L"SBR4"};
  commands.Run(TreeCmdEditAddress, {TreeItemKind::ProgramPage, kSbr0});
  EXPECT_EQ(project.Program.ListProgramBlockKeys(), (std::vector<int>{0, 0x10004}));
  EXPECT_EQ(project.Program.GetProgramPage(0x10004).ViewState.PageId, 0x10004);
  EXPECT_EQ(project.Program.GetBlockName(0x10004), L"SBR_4");
  EXPECT_EQ(GetSubroutineFunLad(0x10004, project.Instructions).OperandIn.size(), 1u);
  EXPECT_TRUE(GetSubroutineFunLad(kSbr0, project.Instructions).OperandIn.empty());
  EXPECT_EQ(host.catalogues, 1);
  EXPECT_EQ(host.events, (std::vector<SentEvent>{{EvTreeProgramPageReaddressed, 0x10004}}));

  host.events.clear();
  host.answers = {L"CHT2", L"USR3"};
  commands.Run(TreeCmdEditAddress, {TreeItemKind::StatusChartPage, 0});
  commands.Run(TreeCmdEditAddress, {TreeItemKind::VariableTablePage, 0});
  EXPECT_EQ(host.events, (std::vector<SentEvent>{{EvTreeStatusChartReaddressed, 2}, {EvTreeVariableTableReaddressed, 3}}));
}

TEST_F(ProjectTreeCommandsTest, EditCommentSendsOnlyOnAChange) {
  Project& project = Current();
  host.answers = {L"", L"Recipe data", L"Main loop"};
  commands.Run(TreeCmdEditComment, {TreeItemKind::DataBlockPage, 0});  // the same (empty) comment
  EXPECT_TRUE(host.events.empty());
  commands.Run(TreeCmdEditComment, {TreeItemKind::DataBlockPage, 0});
  commands.Run(TreeCmdEditComment, {TreeItemKind::ProgramPage, kMain});
  EXPECT_EQ(host.prompts[0].first, L"Please input the comment:");
  EXPECT_EQ(GetTablePageComment(project.DataBlocks, 0), L"Recipe data");
  EXPECT_EQ(project.Program.GetBlockComment(kMain), L"Main loop");
  EXPECT_EQ(host.events, (std::vector<SentEvent>{{EvTreeDataBlockCommented, 0}, {EvTreeProgramPageCommented, kMain}}));
  EXPECT_EQ(host.labels.back(), (std::pair<TreeItemRef, std::wstring>{{TreeItemKind::ProgramPage, kMain}, L"MAIN (INT0)"}));

  // The comments are the info tips, also online; not while a job that started offline owns the
  // port.
  EXPECT_EQ(InfoTipText(project, {TreeItemKind::DataBlockPage, 0}, CommOffline), L"Recipe data");
  EXPECT_EQ(InfoTipText(project, {TreeItemKind::ProgramPage, kMain}, CommOnline), L"Main loop");
  EXPECT_EQ(InfoTipText(project, {TreeItemKind::ProgramPage, kMain}, CommCommand), L"");
  EXPECT_EQ(InfoTipText(project, {TreeItemKind::DataBlockFolder, 0}, CommOffline), L"");
  EXPECT_THROW(InfoTipText(project, {TreeItemKind::DataBlockPage, 6}, CommOffline), ExceptionLogicError);
  project.Program.ViewMode = kViewModeLad;
  EXPECT_EQ(InfoTipText(project, {TreeItemKind::Instruction, 0}, CommOffline), project.Instructions.FunLadList[0].Comment);
  EXPECT_EQ(InfoTipText(project, {TreeItemKind::Instruction, 100000}, CommOffline), L"");
  EXPECT_EQ(CutInfoTip(std::wstring(5000, L'x')).size(), kInfoTipBufferSize - 1);
}

}  // namespace
}  // namespace Brenno
