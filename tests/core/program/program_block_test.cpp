#include "core/program/program_block.h"

#include <gtest/gtest.h>

#include "core/env/exception_error.h"
#include "program_test_support.h"

namespace {

using Brenno::ProgramBlock;

class ProgramBlockTest : public programtest::ProjectFixture {};

TEST_F(ProgramBlockTest, NewProjectHasMainAndFirstSubroutine) {
  ProgramBlock& program = Program();
  EXPECT_EQ(program.ListProgramBlockKeys(), (std::vector<int>{0, 0x10000}));
  EXPECT_EQ(program.GetBlockName(0), L"MAIN");
  EXPECT_EQ(program.GetBlockAddress(0), L"INT0");
  EXPECT_EQ(program.GetBlockNameAt(1), L"SBR_0");
  EXPECT_EQ(program.GetBlockAddressAt(1), L"SBR0");
  EXPECT_EQ(program.InterruptTable.ListFreeBlockKeys().size(), 7u);
  EXPECT_EQ(program.SubroutineTable.ListFreeBlockKeys().size(), 63u);
  EXPECT_EQ(program.BlockKeyAt(2), -1);
  EXPECT_EQ(program.BlockKeyAt(-1), -1);

  const Brenno::ProgramPage& main = program.GetProgramPage(0);
  EXPECT_EQ(main.NetworkCount(), 8);
  EXPECT_EQ(main.ViewState.PageId, 0);
  EXPECT_EQ(main.ViewState.ViewMode, 2);
  ASSERT_EQ(main.LocalVars.size(), 2u);
  EXPECT_EQ(main.LocalVars[0].Area, Brenno::kVarAreaTemp);
  // A subroutine gets m rows of each area.
  const Brenno::ProgramPage& sbr = program.GetProgramPage(0x10000);
  ASSERT_EQ(sbr.LocalVars.size(), 4u);
  EXPECT_EQ(sbr.LocalVars[3].Area, Brenno::kVarAreaTemp);
  EXPECT_THROW(program.GetProgramPage(1), Brenno::ExceptionLogicError);

  EXPECT_EQ(program.AddSubroutine(), 0x10001);
  EXPECT_EQ(program.GetBlockName(0x10001), L"SBR_1");
  std::wstring description;
  EXPECT_TRUE(program.DescribeProgramUnitKey(0x10001, description));
  EXPECT_EQ(description, L"SBR_1 (SBR1)");
  EXPECT_FALSE(program.DescribeProgramUnitKey(5, description));
  EXPECT_TRUE(description.empty());
}

// Pages added while the program is shown as statement list: their empty networks are statement
// list at once (not ladder networks that the view cannot edit). Pages that were there before,
// as a project file brings them, keep every network as it is.
TEST_F(ProgramBlockTest, PagesAddedInStatementListViewHaveStatementListNetworks) {
  ProgramBlock& program = Program();
  program.ViewMode = Brenno::kViewModeStl;
  const int sbr = program.AddSubroutine();
  const int interrupt = program.AddInterrupt();
  for (const int key : {sbr, interrupt}) {
    const Brenno::ProgramPage& page = program.GetProgramPage(key);
    EXPECT_EQ(page.ViewState.ViewMode, Brenno::kViewModeStl);
    ASSERT_EQ(page.NetworkCount(), 8);
    for (const Brenno::Network& net : page.Networks()) EXPECT_EQ(net.Kind, Brenno::kNetworkStl) << key;
  }
  for (const int key : {0, 0x10000}) {
    const Brenno::ProgramPage& page = program.GetProgramPage(key);
    EXPECT_EQ(page.ViewState.ViewMode, Brenno::kViewModeStl);
    for (const Brenno::Network& net : page.Networks()) EXPECT_EQ(net.Kind, Brenno::kNetworkLad) << key;
  }
  // Stamped again, even with another view, an added page keeps what it has.
  program.InterruptTable.StampBlockPages(false, Brenno::kViewModeLad);
  EXPECT_EQ(program.GetProgramPage(interrupt).Networks()[0].Kind, Brenno::kNetworkStl);
}

TEST_F(ProgramBlockTest, NewPagesTakeTheSmallerNetworkCount) {
  Brenno::ProgramBlockSizes limits = programtest::ExampleLimits();
  limits.SizeItemInt = 3;
  ProgramBlock program;
  program.CreateDefaultBlocks(limits, programtest::ExampleSymbolSizes(), {});
  program.FillDefaultProgramBlocks();
  EXPECT_EQ(program.GetProgramPage(0).NetworkCount(), 3);
  EXPECT_EQ(program.GetProgramPage(0x10000).NetworkCount(), 8);
}

TEST_F(ProgramBlockTest, ATypeWithoutInitialPagesStillStartsWithMain) {
  Brenno::ProgramBlockSizes limits = programtest::ExampleLimits();
  limits.SizePageInitInt = 0;
  ProgramBlock program;
  program.CreateDefaultBlocks(limits, programtest::ExampleSymbolSizes(), {});
  program.FillDefaultProgramBlocks();
  EXPECT_EQ(program.ListProgramBlockKeys(), (std::vector<int>{0, 0x10000}));
}

TEST_F(ProgramBlockTest, RenamingFollowsTheNamingRules) {
  ProgramBlock& program = Program();
  program.AddSubroutine();
  const int sbr2 = program.AddSubroutine();
  ASSERT_EQ(sbr2, 0x10002);
  struct Case {
    std::wstring name;
    bool ok;
  } cases[] = {
      {L"SBR_1", false},  // another unit's default name
      {L"SBR01", false},  // normalises to the address SBR1
      {L"2nd", false},
      {L"a b", false},
      {L"LD", false},  // a mnemonic of the type
      {L"", false},
      {L"Pump_2", true},
      {L"SBR_2", true},  // its own default name back
  };
  for (const Case& c : cases) EXPECT_EQ(program.RenameBlock(sbr2, c.name), c.ok) << std::string(c.name.begin(), c.name.end());
  EXPECT_EQ(program.GetBlockName(sbr2), L"SBR_2");
  EXPECT_FALSE(program.RenameBlock(sbr2, L"SBR_2"));  // unchanged
  EXPECT_FALSE(program.RenameBlock(0x10030 + 64, L"X"));  // no such unit
  EXPECT_THROW(program.RenameBlock(0x10005, L"X"), Brenno::ExceptionLogicError);  // reference key, no page
}

TEST_F(ProgramBlockTest, MovingAPageToAnotherAddress) {
  ProgramBlock& program = Program();
  for (int i = 0; i < 3; ++i) program.AddInterrupt();
  ASSERT_EQ(program.GetBlockName(3), L"INT_3");
  int newKey = 0;
  EXPECT_TRUE(program.ChangeBlockAddress(3, L"INT005", newKey));
  EXPECT_EQ(newKey, 5);
  EXPECT_EQ(program.GetBlockName(5), L"INT_5");
  EXPECT_EQ(program.GetBlockAddress(5), L"INT5");
  EXPECT_EQ(program.GetProgramPage(5).ViewState.PageId, 5);

  ASSERT_TRUE(program.RenameBlock(2, L"Alarm"));
  EXPECT_TRUE(program.ChangeBlockAddress(2, L"INT6", newKey));
  EXPECT_EQ(program.GetBlockName(6), L"Alarm");

  for (const wchar_t* target : {L"INT5", L"INT6", L"SBR1", L"INT99"}) {
    EXPECT_FALSE(program.ChangeBlockAddress(6, target, newKey));
    EXPECT_EQ(newKey, -1);
  }
  EXPECT_EQ(program.GetBlockAddressIndex(6), 6);
  EXPECT_EQ(program.ListBlockAddressChoices(6).size(), 8u);
}

TEST_F(ProgramBlockTest, AddressIndexOutsideTheListIsRefused) {
  ProgramBlock& program = Program();
  int newKey = 0;
  for (const int index : {-1, 8, 1000}) {
    EXPECT_FALSE(program.ChangeBlockAddressByIndex(0, index, newKey));
    EXPECT_EQ(newKey, -1);
    EXPECT_FALSE(program.InterruptTable.ChangeBlockPageAddressByIndex(index, 0, newKey));
  }
  EXPECT_TRUE(program.ChangeBlockAddressAt(0, 4, newKey));
  EXPECT_EQ(newKey, 4);
  EXPECT_EQ(program.GetBlockName(4), L"INT_4");
  EXPECT_FALSE(program.ChangeBlockAddressAt(9, 1, newKey));
  EXPECT_EQ(newKey, 0);
  EXPECT_FALSE(program.ChangeBlockAddressAt(0, 99, newKey));
  EXPECT_EQ(newKey, -1);
}

TEST_F(ProgramBlockTest, RemovingTheLastSubroutineBringsSbr0Back) {
  ProgramBlock& program = Program();
  int newKey = 0;
  ASSERT_TRUE(program.ChangeBlockAddress(0x10000, L"SBR5", newKey));
  ASSERT_TRUE(program.RenameBlock(0x10005, L"Pump"));
  EXPECT_EQ(program.RemoveSubroutine(0x10005), 0x10000);
  EXPECT_EQ(program.GetBlockName(0x10000), L"SBR_0");
  EXPECT_EQ(program.GetProgramPage(0x10000).NetworkCount(), 8);
  EXPECT_EQ(program.RemoveSubroutine(0x10007), -1);

  program.AddInterrupt();
  program.AddInterrupt();
  EXPECT_EQ(program.RemoveInterrupt(1), 2);
  EXPECT_EQ(program.RemoveInterrupt(2), 0);  // the new last page
}

TEST_F(ProgramBlockTest, NormalizingKeepsWhatFitsAndReportsCuts) {
  ProgramBlock& program = Program();
  Brenno::ProgramPage loaded;
  Brenno::ProgramPage::CreateSized(loaded, 300);
  loaded.UndoLog.Networks[0].Comments = {L"kept"};
  Brenno::ResizeLocalVarTable(70, loaded.LocalVars);
  for (auto& entry : loaded.LocalVars) entry.Area = Brenno::kVarAreaTemp;
  ASSERT_EQ(program.StoreProgramPage(0, loaded), 0);
  EXPECT_EQ(program.StoreProgramPage(99, loaded), -1);

  const std::vector<Brenno::ProgramBlockCut> cuts = program.NormalizeProgramBlocks();
  ASSERT_EQ(cuts.size(), 2u);
  EXPECT_EQ(cuts[0], (Brenno::ProgramBlockCut{0, Brenno::ProgramBlockCut::Networks, 256, 44}));
  EXPECT_EQ(cuts[1], (Brenno::ProgramBlockCut{0, Brenno::ProgramBlockCut::LocalVariables, 64, 6}));
  const Brenno::ProgramPage& main = program.GetProgramPage(0);
  EXPECT_EQ(main.NetworkCount(), 256);
  EXPECT_EQ(main.Networks()[0].Comments, std::vector<std::wstring>{L"kept"});
  EXPECT_EQ(main.LocalVars.size(), 64u);
  EXPECT_EQ(Brenno::DescribeProgramBlockCut(cuts[0], L"MAIN (INT0)"),
            L"MAIN (INT0): 44 networks beyond the limit of 256 removed");
}

TEST_F(ProgramBlockTest, NormalizingRepairsTitlesAndEmptyTables) {
  ProgramBlock& program = Program();
  program.AddInterrupt();
  program.AddInterrupt();
  program.InterruptTable.Working.at(1).Name = L"Twin";
  program.InterruptTable.Working.at(2).Name = L"Twin";
  program.InterruptTable.Working.at(2).Address = L"INT7";
  program.SubroutineTable.Working.clear();
  program.SubroutineTable.Working.emplace(0x10099, program.SubroutineTable.Reference.at(0x10001));
  EXPECT_TRUE(program.NormalizeProgramBlocks().empty());
  EXPECT_EQ(program.GetBlockName(1), L"INT_1");
  EXPECT_EQ(program.GetBlockName(2), L"Twin");
  EXPECT_EQ(program.GetBlockAddress(2), L"INT2");
  EXPECT_EQ(program.SubroutineTable.ListBlockPageKeys(), std::vector<int>{0x10000});
}

TEST_F(ProgramBlockTest, TitlesAsText) {
  ProgramBlock& program = Program();
  program.SetBlockComment(0, L"entry");
  std::wstring text;
  ASSERT_TRUE(program.CopyBlockTitlesAsText(0, 2, text));
  EXPECT_EQ(text, L"MAIN\tINT0\tentry\r\nSBR_0\tSBR0\t\r\n");
  EXPECT_FALSE(program.CopyBlockTitlesAsText(1, 1, text));
  EXPECT_FALSE(program.CopyBlockTitlesAsText(0, 3, text));
  EXPECT_FALSE(program.CopyBlockTitlesAsText(-1, 1, text));
  EXPECT_FALSE(program.SetBlockComment(0, L"entry"));
}

}  // namespace
