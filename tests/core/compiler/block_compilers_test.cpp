#include "core/compiler/block_compilers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler_test_support.h"
#include "core/env/exception_error.h"
#include "core/project/local_var_table.h"
#include "core/convert/program_view_switch.h"
#include "core/project/symbol_table.h"

using namespace Brenno;
using compilertest::CompilerFixture;
using compilertest::FxCompilerFixture;
using compilertest::Line;
using compilertest::StlNetwork;

namespace {

constexpr int kSbr0 = 0x10000;

bool HasLineStartingWith(const CompileReport& report, const std::wstring& start) {
  for (const std::wstring& line : report.Lines) {
    if (line.rfind(start, 0) == 0) return true;
  }
  return false;
}

void SetRow(DataBlockTable& table, int key, int index, int type, const std::wstring& address,
            const std::wstring& value) {
  SetDataRowType(table, key, index, type);
  SetDataRowAddress(table, key, index, address);
  SetDataRowValue(table, key, index, value);
  ASSERT_EQ(GetDataRow(table, key, index).CheckFlags, kDataRowComplete) << address;
}

VarEntry Local(int area, int type, const std::wstring& name) {
  VarEntry entry = MakeAreaVarEntry(area);
  entry.Type = type;
  entry.Name = name;
  return entry;
}

// The program of the fixture pages: the main program and subroutine 0 with an interface.
void SetProgram(Project& project, std::vector<Network> main, std::vector<Network> sbr0,
                const LocalVarTable& sbr0Locals) {
  ProgramBlock& program = project.Program;
  program.ViewMode = kViewModeStl;
  program.GetProgramPage(0).UndoLog.Networks = std::move(main);
  program.GetProgramPage(0).ViewState.ViewMode = kViewModeStl;
  ProgramPage& sbr = program.GetProgramPage(kSbr0);
  sbr.UndoLog.Networks = std::move(sbr0);
  sbr.ViewState.ViewMode = kViewModeStl;
  sbr.LocalVars = sbr0Locals;
  NormalizeLocalVarTable(program, kSbr0, project.Symbols);
  UpdateAllSubroutineInterfaces(program, project.Symbols);
}

class BlockCompilersTest : public CompilerFixture {
 protected:
  void FillTypeA() {
    Project& project = Current();
    SetRow(project.DataBlocks, 0, 0, 2, L"VW0", L"100");
    SetRow(project.DataBlocks, 0, 1, 10, L"VD4", L"1.5");
    SetRow(project.DataBlocks, 0, 2, 1, L"QB1", L"16#1F");
    project.SystemBlocks.Working.at(1).Rows[3] = 0xEE;
    SetProgram(project,
               {StlNetwork({Line(L"LD", {L"I0.0"}), Line(L"=", {L"Q0.0"})}),
                StlNetwork({Line(L"LD", {L"I0.1"}), Line(L"S", {L"Q0.1", L"3"}), Line(L"MOVW", {L"16#1234", L"VW2"})}),
                StlNetwork({Line(L"LD", {L"SM0.0"}), Line(L"SBR0", {L"I0.3", L"VW20"})}), StlNetwork({})},
               {StlNetwork({Line(L"LD", {L"L0.0"}), Line(L"MOVW", {L"16#1234", L"LW1"})})},
               {Local(kVarAreaIn, 0, L"start"), Local(kVarAreaOut, 2, L"value"), Local(kVarAreaTemp, 1, L"t")});
  }
};

using FxBlockCompilersTest = FxCompilerFixture;

TEST_F(BlockCompilersTest, WholeProjectRoundTrip) {
  FillTypeA();
  Project& original = Current();
  BinaryImage image;
  CompileReport report;
  ASSERT_EQ(EncodeAll(image, report), 0) << (report.Lines.empty() ? "" : platform::ToUtf8Lossy(report.Lines.back()));
  EXPECT_EQ(image.DataPages.size(), 1u);
  EXPECT_EQ(image.DataPages.at(0).size(), 6u);
  EXPECT_EQ(image.SystemPages.size(), original.SystemBlocks.Working.size());
  ASSERT_EQ(image.ProgramInstructions.count(0), 1u);
  ASSERT_EQ(image.ProgramArguments.at(kSbr0).size(), 2u);  // IN and OUT, not TEMP
  EXPECT_EQ(image.ProgramConsts, (std::vector<uint32_t>{3, 0x1234}));
  EXPECT_EQ(report.Lines.front(), L"Compiling Data Block ...");
  EXPECT_TRUE(HasLineStartingWith(report, L"Size of Data Block : 24 Byte(s) ("));
  EXPECT_TRUE(HasLineStartingWith(report, L"Size of Program Block : 8 + "));
  // The project itself still shows what the user wrote.
  EXPECT_EQ(original.Program.GetProgramPage(0).Networks()[1].Lines[1].Operands[1], L"3");

  Project& fresh = AppendFreshProject();
  CompileReport decodeReport(false);
  ASSERT_EQ(DecodeAll(image, decodeReport), 0);
  const Project& source = *std::prev(std::prev(Environment().ProjectList.end()));
  EXPECT_EQ(fresh.DataBlocks.GetPage(0)[1].Address, L"VD4");
  EXPECT_EQ(fresh.DataBlocks.GetPage(0)[2].Value, L"16#1F");
  EXPECT_EQ(fresh.SystemBlocks.Working.at(1).Rows, source.SystemBlocks.Working.at(1).Rows);
  EXPECT_EQ(fresh.Program.ViewMode, kViewModeStl);
  const ProgramPage& main = fresh.Program.GetProgramPage(0);
  ASSERT_EQ(main.NetworkCount(), 4);
  EXPECT_EQ(main.Networks()[2].Lines[1].Mnemonic, L"SBR0");
  const LocalVarTable& locals = fresh.Program.GetProgramPage(kSbr0).LocalVars;
  std::vector<std::wstring> names;
  for (const VarEntry& entry : locals) names.push_back(entry.Name + L"/" + entry.Address);
  // Normalising puts the empty IN_OUT and TEMP areas back in place.
  EXPECT_EQ(names, (std::vector<std::wstring>{L"IN1/L0.0", L"/", L"OUT1/LW1", L"/"}));

  BinaryImage again;
  CompileReport againReport(false);
  ASSERT_EQ(EncodeAll(again, againReport), 0);
  EXPECT_EQ(again, image);
}

TEST_F(FxBlockCompilersTest, WholeProjectRoundTrip) {
  Project& project = Current();
  SetRow(project.DataBlocks, 0, 0, 5, L"D10", L"-2");
  SetRow(project.DataBlocks, 0, 1, 8, L"D11", L"K60000");
  SetProgram(project,
             {StlNetwork({Line(L"LD", {L"X0"}), Line(L"OUT", {L"Y0"})}),
              StlNetwork({Line(L"LD=", {L"D0", L"K5"}), Line(L"MOV", {L"K10Z1", L"D2"}),
                          Line(L"ADD", {L"D0", L"K5", L"D4Z2"})})},
             {StlNetwork({Line(L"LD", {L"M0"}), Line(L"OUT", {L"Y1"})})}, {Local(kVarAreaIn, 5, L"n")});
  BinaryImage image;
  CompileReport report(false);
  ASSERT_EQ(EncodeAll(image, report), 0);
  EXPECT_EQ(image.ProgramConsts, (std::vector<uint32_t>{5, 10}));
  const std::vector<uint32_t>& main = image.ProgramInstructions.at(0);
  EXPECT_EQ(main.front(), 4u);

  Project& fresh = AppendFreshProject();
  CompileReport decodeReport(false);
  ASSERT_EQ(DecodeAll(image, decodeReport), 0);
  const Network& second = fresh.Program.GetProgramPage(0).Networks()[1];
  ASSERT_EQ(second.Lines.size(), 3u);
  EXPECT_EQ(second.Lines[1].Operands[0], L"10Z1");
  EXPECT_EQ(second.Lines[2].Operands[2], L"D4Z2");
  BinaryImage again;
  CompileReport againReport(false);
  ASSERT_EQ(EncodeAll(again, againReport), 0);
  EXPECT_EQ(again, image);
}

TEST_F(BlockCompilersTest, ABadDataPageIsLeftOutAndTheOtherBlocksStillCompile) {
  Project& project = Current();
  ASSERT_EQ(AddDataBlockFromReference(project.DataBlocks, 1), 1);
  SetRow(project.DataBlocks, 0, 0, 2, L"VW0", L"100");
  SetRow(project.DataBlocks, 1, 0, 2, L"VW2", L"7");
  // A row whose value no longer fits (as a changed type leaves it): forced complete.
  project.DataBlocks.Working.at(1).Rows[1] = {kDataRowComplete, 1, L"VB9", L"999", L""};
  BinaryImage image;
  CompileReport report;
  EXPECT_EQ(EncodeAll(image, report), 1);
  EXPECT_EQ(image.DataPages.count(0), 1u);
  EXPECT_EQ(image.DataPages.count(1), 0u);
  EXPECT_TRUE(HasLineStartingWith(report, L"    DAT_1 (DAT1)    Error : Parse Data Block Error"));
  EXPECT_FALSE(HasLineStartingWith(report, L"Size of Data Block"));
  EXPECT_TRUE(HasLineStartingWith(report, L"Size of System Block"));
  EXPECT_TRUE(HasLineStartingWith(report, L"Size of Program Block"));
}

TEST_F(BlockCompilersTest, AnArgumentFailureStopsBeforeTheNetworks) {
  Project& project = Current();
  project.Program.GetProgramPage(kSbr0).LocalVars = {
      VarEntry{kVarEntryComplete, kVarAreaIn, 2, L"bad", L"VW0", L""}};
  BinaryImage image;
  CompileReport report;
  EXPECT_EQ(EncodeAll(image, report), 1);
  EXPECT_TRUE(image.ProgramInstructions.empty());
  EXPECT_TRUE(HasLineStartingWith(report, L"    SBR_0 (SBR0)    Error : Parse Program Block (Argument) Error"));
  EXPECT_FALSE(HasLineStartingWith(report, L"Size of Program Block"));
  EXPECT_FALSE(HasLineStartingWith(report, L"    MAIN (INT0)"));  // no page line: nothing was compiled
}

TEST_F(BlockCompilersTest, ALadderPageThatDoesNotConvertIsLeftOut) {
  Project& project = Current();
  // Main: a ladder network whose only element is a contact: no output element.
  project.Program.ViewMode = kViewModeLad;
  ProgramPage& main = project.Program.GetProgramPage(0);
  LadElement contact;
  contact.Column = 0;
  contact.Row = 0;
  contact.InCell = true;
  contact.Kind = 2;
  contact.Name = L"-| |-";
  Network ladder;
  ladder.Kind = kNetworkLad;
  ladder.Grid.Columns = 1;
  ladder.Grid.Rows = 1;
  ladder.Grid.Elements = {contact};
  main.UndoLog.Networks = {ladder};
  BinaryImage image;
  CompileReport report(false);
  EXPECT_GE(EncodeAll(image, report), 1);
  EXPECT_EQ(image.ProgramInstructions.count(0), 0u);
  EXPECT_EQ(image.ProgramInstructions.count(kSbr0), 1u);
  // The project page is still the ladder the user drew.
  EXPECT_EQ(project.Program.GetProgramPage(0).Networks()[0].Kind, kNetworkLad);
}

TEST_F(BlockCompilersTest, ANetworkTheOperandRewritingRefusesStopsTheCompilerBeforeAnyPage) {
  FillTypeA();
  LadElement corrupt;
  corrupt.InCell = true;
  corrupt.Kind = 9;
  Network ladder;
  ladder.Kind = kNetworkLad;
  ladder.Grid.Elements = {corrupt};
  // In the undo history of the subroutine: the current networks are all fine.
  ProgramPage& sbr = Current().Program.GetProgramPage(kSbr0);
  sbr.UndoLog.Steps.push_back({MakeNetworkEditRecord(0, {ladder}, {sbr.Networks()[0]})});
  BinaryImage image;
  CompileReport report(false);
  EXPECT_THROW(EncodeProgramBlocks(report, image), ExceptionLogicError);
  EXPECT_TRUE(image.ProgramArguments.empty());
  EXPECT_TRUE(image.ProgramInstructions.empty());
}

TEST_F(BlockCompilersTest, UnknownKeysOfAnUploadedImage) {
  FillTypeA();
  BinaryImage image;
  CompileReport report(false);
  ASSERT_EQ(EncodeAll(image, report), 0);
  image.DataPages[77] = {};
  image.SystemPages[77] = {1, 2};
  {
    AppendFreshProject();
    CompileReport decode(false);
    EXPECT_EQ(DecodeAll(image, decode), 0);  // data and system pages of no reference key are dropped
    EXPECT_FALSE(Current().DataBlocks.HasWorkingPage(77));
    DropNewestProject();
  }
  image.ProgramInstructions[0x7777] = {3};
  AppendFreshProject();
  CompileReport decode;
  EXPECT_NO_THROW(DecodeAll(image, decode));
  EXPECT_EQ(decode.TotalErrors(), 1);  // counted, never thrown out of the middle
  EXPECT_TRUE(HasLineStartingWith(decode, L"        Error : Parse Binary Error"));
}

TEST_F(BlockCompilersTest, ArgumentsAUnitCannotHoldFailTheirPage) {
  // An interface on the main program, and a subroutine interface out of area order (normalising
  // would reorder the call operands): each page counted once, nothing thrown.
  BinaryImage image;
  image.ProgramInstructions[0] = {3};
  image.ProgramArguments[0] = {0x00000000u};
  image.ProgramInstructions[kSbr0] = {3};
  image.ProgramArguments[kSbr0] = {0x00000002u, 0x00010000u};
  AppendFreshProject();
  CompileReport report;
  EXPECT_EQ(DecodeAll(image, report), 2);
  EXPECT_TRUE(HasLineStartingWith(report, L"    MAIN (INT0)    Error : Parse Program Block (Argument) Error"));
  EXPECT_TRUE(HasLineStartingWith(report, L"    SBR_0 (SBR0)    Error : Parse Program Block (Argument) Error"));
}

TEST_F(BlockCompilersTest, UploadsBeyondTheTypeLimitsFailInsteadOfBeingCut) {
  const size_t rowLimit = static_cast<size_t>(Current().DataBlocks.SizeItem);
  const size_t networkLimit = static_cast<size_t>(Current().Program.Limits.SizeItemInt);
  BinaryImage image;
  for (size_t i = 0; i <= rowLimit; ++i) {
    image.DataPages[0].push_back(0x00000242u | static_cast<uint32_t>(2 * i) << 16);  // WORD VW(2i)
    image.DataPages[0].push_back(static_cast<uint32_t>(i));
  }
  image.ProgramInstructions[0].assign(networkLimit + 1, 3);
  AppendFreshProject();
  CompileReport report;
  EXPECT_EQ(DecodeAll(image, report), 2);
  EXPECT_TRUE(HasLineStartingWith(report, L"    DAT_0 (DAT0)    Error : Parse Data Block Error"));
  EXPECT_TRUE(HasLineStartingWith(report, L"    MAIN (INT0)    Error : Parse Program Block (Instruction) Error"));

  // At the limits both decode.
  image.DataPages[0].resize(2 * rowLimit);
  image.ProgramInstructions[0].resize(networkLimit);
  DropNewestProject();
  AppendFreshProject();
  CompileReport fits(false);
  ASSERT_EQ(DecodeAll(image, fits), 0);
  EXPECT_EQ(Current().DataBlocks.GetPage(0).size(), rowLimit);
  EXPECT_EQ(static_cast<size_t>(Current().Program.GetProgramPage(0).NetworkCount()), networkLimit);
}

TEST_F(BlockCompilersTest, SymbolicAddressingEncodesAddressesAndDecodesToSymbols) {
  FillTypeA();
  Environment().Config.SymbolicAddr = 1;
  Project& project = Current();
  auto& symbols = project.Symbols;
  ASSERT_TRUE(SetSymbolEntryName(symbols, 0, 0, L"Start"));
  ASSERT_TRUE(SetSymbolEntryAddress(symbols, 0, 0, L"I0.0"));
  ShowProgramSymbols(project.Program);
  ASSERT_EQ(project.Program.GetProgramPage(0).Networks()[0].Lines[0].Operands[0], L"Start");
  BinaryImage image;
  CompileReport report(false);
  ASSERT_EQ(EncodeAll(image, report), 0);
  EXPECT_EQ(image.ProgramInstructions.at(0)[2], 0x00000001u);  // I0.0
  EXPECT_EQ(project.Program.GetProgramPage(0).Networks()[0].Lines[0].Operands[0], L"Start");

  // Decoded into a project that has the symbol, the network shows it again.
  Project& fresh = AppendFreshProject();
  FillDefaultSymbolTables(fresh.Symbols);
  ASSERT_TRUE(SetSymbolEntryName(fresh.Symbols, 0, 0, L"Start"));
  ASSERT_TRUE(SetSymbolEntryAddress(fresh.Symbols, 0, 0, L"I0.0"));
  CompileReport decode(false);
  ASSERT_EQ(DecodeAll(image, decode), 0);
  EXPECT_EQ(fresh.Program.GetProgramPage(0).Networks()[0].Lines[0].Operands[0], L"Start");
  EXPECT_EQ(fresh.DataBlocks.GetPage(0)[0].Address, L"VW0");  // no symbol for it
}

TEST_F(BlockCompilersTest, ALadderProgramShowingSymbolsEncodesAsItsStatementListsAndStaysAsItWas) {
  FillTypeA();
  Environment().Config.SymbolicAddr = 1;
  Project& project = Current();
  ASSERT_TRUE(SetSymbolEntryName(project.Symbols, 0, 0, L"Start"));
  ASSERT_TRUE(SetSymbolEntryAddress(project.Symbols, 0, 0, L"I0.0"));
  BinaryImage expected;
  CompileReport plain(false);
  ASSERT_EQ(EncodeAll(expected, plain), 0);

  // The program in ladder form showing symbols, with an undo step on the main page.
  CompileReport toLad(false);
  SwitchProgramView(project.Program, toLad, kViewModeLad);
  ASSERT_EQ(toLad.TotalErrors(), 0);
  ProgramPage& main = project.Program.GetProgramPage(0);
  ASSERT_EQ(main.Networks()[0].Kind, kNetworkLad);
  main.UndoLog.Steps.push_back({MakeNetworkEditRecord(0, {main.Networks()[1]}, {main.Networks()[0]})});
  main.UndoLog.Position = 1;
  const std::vector<Network> mainNetworks = main.Networks();
  const std::vector<Network> sbrNetworks = project.Program.GetProgramPage(kSbr0).Networks();
  const auto steps = main.UndoLog.Steps;

  BinaryImage image;
  CompileReport report(false);
  ASSERT_EQ(EncodeAll(image, report), 0);
  EXPECT_EQ(image, expected);
  EXPECT_EQ(main.Networks(), mainNetworks);
  EXPECT_EQ(project.Program.GetProgramPage(kSbr0).Networks(), sbrNetworks);
  ASSERT_EQ(main.UndoLog.Steps.size(), 1u);
  ASSERT_EQ(main.UndoLog.Steps[0].size(), 1u);
  EXPECT_EQ(main.UndoLog.Steps[0][0].Before, steps[0][0].Before);
  EXPECT_EQ(main.UndoLog.Steps[0][0].After, steps[0][0].After);
  EXPECT_EQ(main.UndoLog.Position, 1);
  EXPECT_TRUE(main.ViewState.Symbolic);
  EXPECT_EQ(main.ViewState.ViewMode, kViewModeLad);
}

}  // namespace
