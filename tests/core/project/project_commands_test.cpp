#include "core/project/project_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "core/compiler/compile_commands.h"
#include "core/convert/program_view_switch.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/link/link_ui.h"
#include "core/program/ladder_metrics.h"
#include "core/project/data_block_table.h"
#include "core/project/program_search.h"
#include "core/project/project_file.h"
#include "core/project/project_list.h"
#include "core/project/status_chart.h"
#include "core/project/symbol_resolution.h"
#include "core/project/symbol_table.h"
#include "platform/file_util.h"
#include "project_env_test_support.h"

using namespace Brenno;
using namespace projecttest;

namespace {

class ProjectCommandsTest : public ProjectEnvFixture {
 protected:
  void SetUp() override {
    ProjectEnvFixture::SetUp();
    ASSERT_TRUE(TryNewProject());
    ASSERT_TRUE(boxes_.Shown.empty());
  }

  // Some user content of every kind in the current project (addresses valid for both types).
  void AddContent() {
    Project& project = Current();
    ASSERT_TRUE(SetSymbolEntryName(project.Symbols, 0, 0, L"Start"));
    ASSERT_TRUE(SetSymbolEntryAddress(project.Symbols, 0, 0, L"M0.0"));
    ASSERT_TRUE(SetDataRowType(project.DataBlocks, 0, 0, 2));
    ASSERT_TRUE(SetDataRowAddress(project.DataBlocks, 0, 0, L"VW0"));
    ASSERT_TRUE(SetDataRowValue(project.DataBlocks, 0, 0, L"100"));
    ASSERT_TRUE(SetChartAddress(project.StatusChart, 0, 1, 1, L"Q0.1"));
    project.SystemBlocks.Working.at(1).Rows[3] ^= 0xFF;
    project.Program.ViewMode = kViewModeStl;
    Network network;
    network.Kind = kNetworkStl;
    StlLine load;
    load.Mnemonic = L"LD";
    load.Operands = {L"M0.0"};
    network.Lines = {load};
    network.Comments = {L"first"};
    project.Program.GetProgramPage(0).UndoLog.Networks[0] = network;
    project.CrossReferences.SearchHits.push_back(CrossReferUse{MakeStlOperandLocation(0, 0, 0, 0), L"LD", {}});
  }

  StreamBytes Content(const Project& project) { return BuildProjectFileBytes(project, env_.PasswordTable1); }

  // The command failed with the message shown once with the stop icon, and the project list
  // holds the project it held before, untouched.
  void ExpectKept(const Project* before, const StreamBytes& content, const std::wstring& messageStart) {
    ASSERT_EQ(env_.ProjectList.size(), 1u);
    EXPECT_EQ(&Current(), before);
    EXPECT_EQ(Content(Current()), content);
    ASSERT_EQ(boxes_.Shown.size(), 1u);
    EXPECT_EQ(boxes_.Shown[0].Icon, kMessageIconStop);
    EXPECT_EQ(boxes_.Shown[0].Text.substr(0, messageStart.size()), messageStart) << boxes_.Shown[0].Text;
  }
};

TEST_F(ProjectCommandsTest, NewProjectReplacesTheProjectByADefaultProjectOfTheConfiguredType) {
  AddContent();
  const Project* before = &Current();
  ASSERT_TRUE(TryNewProject());
  ASSERT_EQ(env_.ProjectList.size(), 1u);
  EXPECT_NE(&Current(), before);
  const Project& project = Current();
  ASSERT_NE(project.Type, nullptr);
  EXPECT_EQ(project.Type->Name(), kTypeA);
  EXPECT_EQ(project.Program.ViewMode, kViewModeLad);
  EXPECT_EQ(project.Symbols.Working.size(), 1u);
  EXPECT_EQ(project.DataBlocks.Working.size(), 1u);
  EXPECT_EQ(project.SystemBlocks.Working.size(), project.SystemBlocks.Reference.size());
  EXPECT_TRUE(project.Program.InterruptTable.HasWorkingPage(0));
  EXPECT_TRUE(project.CrossReferences.SearchHits.empty());
  EXPECT_EQ(project.SystemBlocks.Working.at(1).Rows, project.SystemBlocks.Reference.at(1).Rows);
}

TEST_F(ProjectCommandsTest, NewProjectWithAnUnknownConfiguredTypeKeepsTheProject) {
  AddContent();
  const Project* before = &Current();
  const StreamBytes content = Content(*before);
  env_.Config.PlcName = L"CPU-NONE";
  EXPECT_FALSE(TryNewProject());
  ExpectKept(before, content, L"PLC Type Error");
  EXPECT_EQ(env_.Config.PlcName, L"CPU-NONE");
}

TEST_F(ProjectCommandsTest, FailedOpenKeepsTheProjectAndTheTypeSettings) {
  AddContent();
  const int cellWidth = GetLadderMetrics().CellWidth;

  // A file of the other type that breaks after its type was selected.
  ASSERT_TRUE(TryChangePlcType(kTypeFx));
  StreamBytes fxFile = Content(Current());
  ASSERT_TRUE(TryChangePlcType(kTypeA));
  const Project* typeA = &Current();
  const StreamBytes typeAContent = Content(*typeA);
  fxFile.resize(fxFile.size() - 200);
  ASSERT_TRUE(platform::WriteFileBytes(Path("broken.lqw"), fxFile));
  boxes_.Shown.clear();

  EXPECT_FALSE(TryOpenProject(Path("broken.lqw")));
  ExpectKept(typeA, typeAContent, L"Parse Stream Error");
  EXPECT_EQ(env_.Config.PlcName, kTypeA);
  EXPECT_EQ(GetLadderMetrics().CellWidth, cellWidth);

  boxes_.Shown.clear();
  EXPECT_FALSE(TryOpenProject(Path("missing.lqw")));
  ExpectKept(typeA, typeAContent, L"Parse Stream Error");
}

TEST_F(ProjectCommandsTest, OpenReplacesTheProjectByTheFileContent) {
  AddContent();
  ASSERT_TRUE(TrySaveProject(Path("saved.lqw")));
  const StreamBytes saved = Content(Current());
  ASSERT_TRUE(TryNewProject());
  std::vector<ProgramBlockCut> cuts{ProgramBlockCut{}};
  ASSERT_TRUE(TryOpenProject(Path("saved.lqw"), &cuts));
  EXPECT_TRUE(cuts.empty());
  ASSERT_EQ(env_.ProjectList.size(), 1u);
  EXPECT_EQ(Content(Current()), saved);
  EXPECT_TRUE(Current().CrossReferences.SearchHits.empty());
}

// One text of the file (written as "main cm") has its first two bytes replaced by FF 20, which is
// not code page 936: the project opens with that text empty, everything else as saved, and the
// user is told where the text was.
TEST_F(ProjectCommandsTest, ATextThatIsNotCodePage936OpensEmptyAndIsNamed) {
  struct Case {
    std::function<std::wstring&(Project&)> text;
    std::wstring place;
  };
  const std::vector<Case> cases = {
      {[](Project& p) -> std::wstring& { return p.Program.GetProgramPage(0).UndoLog.Networks[0].Comments[0]; },
       L"MAIN (INT0), NETWORK 0, comment line 1"},
      {[](Project& p) -> std::wstring& { return p.Program.GetProgramPage(0).UndoLog.Networks[0].Lines[0].Operands[0]; },
       L"MAIN (INT0), NETWORK 0, statement-list line 1, operand 1"},
      {[](Project& p) -> std::wstring& { return p.Program.InterruptTable.Working.at(0).Comment; },
       L"MAIN (INT0), page comment"},
      {[](Project& p) -> std::wstring& { return p.Symbols.Working.at(0).Rows[0].Comment; },
       L"Variable Symbol, USR_0 (USR0), row 1, comment"},
      {[](Project& p) -> std::wstring& { return p.DataBlocks.Working.at(0).Rows[0].Comment; },
       L"Data Block, DAT_0 (DAT0), row 1, comment"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(TryNewProject());
    AddContent();
    c.text(Current()) = L"main cm";
    ASSERT_TRUE(TrySaveProject(Path("bad.lqw")));
    c.text(Current()) = L"";
    const StreamBytes expected = Content(Current());

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(platform::ReadFileBytes(Path("bad.lqw"), bytes));
    const std::string marker = "main cm";
    const auto at = std::search(bytes.begin(), bytes.end(), marker.begin(), marker.end());
    ASSERT_NE(at, bytes.end());
    at[0] = 0xFF;
    at[1] = 0x20;
    ASSERT_TRUE(platform::WriteFileBytes(Path("bad.lqw"), bytes));

    boxes_.Shown.clear();
    ASSERT_TRUE(TryOpenProject(Path("bad.lqw"))) << boxes_.Shown.front().Text;
    EXPECT_EQ(Content(Current()), expected) << c.place;
    ASSERT_EQ(boxes_.Shown.size(), 1u);
    EXPECT_EQ(boxes_.Shown[0].Icon, kMessageIconWarning);
    EXPECT_EQ(boxes_.Shown[0].Text, L"These texts are not valid code page 936 text and were read as empty:\r\n  " + c.place);
  }

  SetCurrentLanguage(kLanguageChinese);
  boxes_.Shown.clear();
  ASSERT_TRUE(TryOpenProject(Path("bad.lqw")));
  ASSERT_EQ(boxes_.Shown.size(), 1u);
  EXPECT_EQ(boxes_.Shown[0].Text, L"以下文本不是有效的 936 代码页文本，已按空文本读入:\r\n  数据块，DAT_0 (DAT0)，第 1 行，注释");
  SetCurrentLanguage(kLanguageEnglish);
}

TEST_F(ProjectCommandsTest, ASaveStoppedByATextNamesWhereItIs) {
  AddContent();
  ASSERT_TRUE(TrySaveProject(Path("kept.lqw")));
  std::vector<uint8_t> before;
  ASSERT_TRUE(platform::ReadFileBytes(Path("kept.lqw"), before));
  Current().Program.GetProgramPage(0).UndoLog.Networks[0].Comments[0] = L"pump \U0001F600";
  Current().Symbols.Working.at(0).Rows[0].Name = L"\x2603";
  boxes_.Shown.clear();
  EXPECT_FALSE(TrySaveProject(Path("kept.lqw")));
  ASSERT_EQ(boxes_.Shown.size(), 1u);
  EXPECT_EQ(boxes_.Shown[0].Icon, kMessageIconStop);
  const std::wstring& text = boxes_.Shown[0].Text;
  EXPECT_NE(text.find(L"These texts cannot be stored in code page 936:\r\n"
                      L"  Variable Symbol, USR_0 (USR0), row 1, symbol: \"\x2603\"\r\n"
                      L"  MAIN (INT0), NETWORK 0, comment line 1: \"pump \U0001F600\""),
            std::wstring::npos)
      << text;
  std::vector<uint8_t> after;
  ASSERT_TRUE(platform::ReadFileBytes(Path("kept.lqw"), after));
  EXPECT_EQ(after, before);
}

TEST_F(ProjectCommandsTest, SaveToAnUnwritablePathShowsTheErrorAndKeepsTheProject) {
  const Project* before = &Current();
  EXPECT_FALSE(TrySaveProject(Path("no-such-folder/x.lqw")));
  ASSERT_EQ(boxes_.Shown.size(), 1u);
  EXPECT_EQ(boxes_.Shown[0].Icon, kMessageIconStop);
  EXPECT_EQ(env_.ProjectList.size(), 1u);
  EXPECT_EQ(&Current(), before);
}

TEST_F(ProjectCommandsTest, ChangeToAnUnknownTypeKeepsTheProject) {
  AddContent();
  const Project* before = &Current();
  const StreamBytes content = Content(*before);
  EXPECT_FALSE(TryChangePlcType(L"cpu-a16"));  // names compare case-sensitively
  ExpectKept(before, content, L"PLC Type Error");
  EXPECT_EQ(env_.Config.PlcName, kTypeA);
}

TEST_F(ProjectCommandsTest, ChangeOfTypeCarriesTheUserPagesAndResetsTheSystemBlock) {
  AddContent();
  const Project old = Current();
  ASSERT_TRUE(TryChangePlcType(kTypeA));
  ASSERT_EQ(env_.ProjectList.size(), 1u);
  const Project& project = Current();
  EXPECT_EQ(project.Symbols.Working, old.Symbols.Working);
  std::wstring text = L"Start";
  EXPECT_TRUE(LookupSymbolName(text, -1, project.Symbols));
  EXPECT_EQ(text, L"M0.0");
  EXPECT_EQ(project.DataBlocks.Working, old.DataBlocks.Working);
  EXPECT_EQ(project.StatusChart.Working, old.StatusChart.Working);
  EXPECT_EQ(project.Program.ViewMode, kViewModeStl);
  EXPECT_EQ(project.Program.GetProgramPage(0).Networks(), old.Program.GetProgramPage(0).Networks());
  // The system block takes the type's defaults; the search index is emptied.
  EXPECT_EQ(project.SystemBlocks.Working.at(1).Rows, project.SystemBlocks.Reference.at(1).Rows);
  EXPECT_NE(project.SystemBlocks.Working.at(1).Rows, old.SystemBlocks.Working.at(1).Rows);
  EXPECT_TRUE(project.CrossReferences.SearchHits.empty());
}

TEST_F(ProjectCommandsTest, ChangeToAnotherTypeSelectsItAndKeepsPagesItHas) {
  AddContent();
  std::vector<ProgramBlockCut> cuts;
  ASSERT_TRUE(TryChangePlcType(kTypeFx, &cuts));
  ASSERT_EQ(env_.ProjectList.size(), 1u);
  const Project& project = Current();
  ASSERT_NE(project.Type, nullptr);
  EXPECT_EQ(project.Type->Name(), kTypeFx);
  EXPECT_EQ(env_.Config.PlcName, kTypeFx);
  EXPECT_EQ(project.Program.ViewMode, kViewModeStl);
  // The symbol keeps its name; the FX type judges the address anew.
  ASSERT_EQ(project.Symbols.Working.size(), 1u);
  EXPECT_EQ(project.Symbols.Working.begin()->second.Rows.at(0).Name, L"Start");
  EXPECT_EQ(project.Program.GetProgramPage(0).Networks().at(0).Lines.at(0).Operands,
            std::vector<std::wstring>{L"M0.0"});
  for (const auto& [key, page] : project.SystemBlocks.Working) {
    EXPECT_EQ(page.Rows, project.SystemBlocks.Reference.at(key).Rows) << key;
  }
}

TEST_F(ProjectCommandsTest, ImportOfAnUnreadableFileShowsTheReadersMessageAndKeepsTheProject) {
  AddContent();
  const Project* before = &Current();
  const StreamBytes content = Content(*before);
  EXPECT_FALSE(TryImportPmw(Path("missing.pmw")));
  ExpectKept(before, content, L"Parse PMW Binary Error");
}

// A .pmw file: header filler, the length word at offset 78, the instruction words, trailing bytes.
std::vector<uint8_t> PmwFile(const std::vector<uint16_t>& words) {
  std::vector<uint8_t> file(348);
  for (size_t i = 0; i < file.size(); ++i) file[i] = static_cast<uint8_t>(i * 7 + 3);
  const size_t length = 96 + 2 * words.size();
  file[78] = static_cast<uint8_t>(length & 0xFF);
  file[79] = static_cast<uint8_t>(length >> 8);
  for (uint16_t word : words) {
    file.push_back(static_cast<uint8_t>(word & 0xFF));
    file.push_back(static_cast<uint8_t>(word >> 8));
  }
  file.insert(file.end(), 16, 0xEE);
  return file;
}

TEST_F(ProjectCommandsTest, ImportPutsTheProgramIntoTheMainPageOfANewProjectInStatementListView) {
  AddContent();
  ASSERT_TRUE(TryChangePlcType(kTypeFx));
  ASSERT_TRUE(platform::WriteFileBytes(
      Path("prog.pmw"), PmwFile({0x2400, 0xFFFA, 0x4401, 0xC500, 0xFFFC, 0x0605, 0x8064, 0x8000, 0x2401, 0x7402,
                                 0x0028, 0x800A, 0x8000, 0x8614, 0x8600, 0x000F})));
  ASSERT_TRUE(TryImportPmw(Path("prog.pmw")));
  ASSERT_EQ(env_.ProjectList.size(), 1u);
  const Project& project = Current();
  EXPECT_EQ(project.Type->Name(), kTypeFx);
  EXPECT_EQ(project.Program.ViewMode, kViewModeStl);
  const ProgramPage& main = project.Program.GetProgramPage(0);
  ASSERT_EQ(main.NetworkCount(), 3);
  EXPECT_EQ(main.Networks()[0].Lines.size(), 6u);
  // The last network holds END alone: no empty line after it.
  ASSERT_EQ(main.Networks()[2].Lines.size(), 1u);
  EXPECT_EQ(main.Networks()[2].Lines.at(0).Mnemonic, L"END");
  for (const Network& network : main.Networks()) {
    for (const StlLine& line : network.Lines) EXPECT_FALSE(line.Mnemonic.empty());
  }
  // Everything else is what a new project has: no trace of the previous project's content.
  ASSERT_EQ(project.Symbols.Working.size(), 1u);
  EXPECT_TRUE(project.Symbols.Working.begin()->second.Rows.at(0).Name.empty());
  const ProgramPage& subroutine = project.Program.GetProgramPage(0x10000);
  EXPECT_EQ(subroutine.NetworkCount(), project.Program.SubroutineTable.Reference.at(0x10000).Page.NetworkCount());
  for (const Network& network : subroutine.Networks()) EXPECT_TRUE(network.Lines.empty());
}

TEST_F(ProjectCommandsTest, ImportOfInstructionsTheTypeLacksKeepsTheProject) {
  AddContent();
  ASSERT_TRUE(TryChangePlcType(kTypeFx));
  const Project* before = &Current();
  const StreamBytes content = Content(*before);
  ASSERT_TRUE(platform::WriteFileBytes(Path("plf.pmw"), PmwFile({0x2400, 0x0009, 0x8800})));
  boxes_.Shown.clear();
  EXPECT_FALSE(TryImportPmw(Path("plf.pmw")));
  ExpectKept(before, content, L"Parse PMW Binary Dictate Error");
  EXPECT_EQ(env_.Config.PlcName, kTypeFx);
}

TEST_F(ProjectCommandsTest, AFailureAfterTheTypeWasSelectedPutsTheLadderMetricsBack) {
  const LadderMetrics typeA = GetLadderMetrics();
  ASSERT_TRUE(TryChangePlcType(kTypeFx));
  const LadderMetrics typeFx = GetLadderMetrics();
  ASSERT_NE(typeFx.CellWidth, typeA.CellWidth);
  ASSERT_TRUE(TryChangePlcType(kTypeA));
  // The configured type differs from the current project's; the import selects it, then fails.
  env_.Config.PlcName = kTypeFx;
  EXPECT_FALSE(TryImportPmw(Path("missing.pmw")));
  EXPECT_EQ(Current().Type->Name(), kTypeA);
  EXPECT_EQ(GetLadderMetrics().CellWidth, typeA.CellWidth);
  EXPECT_EQ(env_.Config.PlcName, kTypeFx);
}

// ---------------------------------------------------------------- compiling

class RecordingOutput : public LinkUiServices {
 public:
  void UpdProgress(const ProgressInfo&) override {}
  void AppendOutputLine(const std::wstring& line) override { Lines.push_back(line); }
  bool AskPlcPassword(std::vector<uint8_t>&) override { return false; }
  size_t Count(const std::wstring& start) const {
    size_t n = 0;
    for (const auto& line : Lines) n += line.rfind(start, 0) == 0 ? 1 : 0;
    return n;
  }
  std::vector<std::wstring> Lines;
};

class CompileCommandsTest : public ProjectCommandsTest {
 protected:
  void SetUp() override {
    ProjectCommandsTest::SetUp();
    InstallLinkUiServices(&output_);
  }
  void TearDown() override {
    InstallLinkUiServices(nullptr);
    ProjectCommandsTest::TearDown();
  }
  RecordingOutput output_;
};

TEST_F(CompileCommandsTest, TheProgramCompileReportsTheProgramBlockUnderOneTotal) {
  CompileProgramBlock();
  EXPECT_EQ(output_.Count(L"Compiling Program Block"), 1u);
  EXPECT_EQ(output_.Count(L"Compiling Data Block"), 0u);
  EXPECT_EQ(output_.Count(L"Total"), 1u);
  ASSERT_FALSE(output_.Lines.empty());
  EXPECT_EQ(output_.Lines.back(), L"Total 0 Error(s)");
  EXPECT_TRUE(boxes_.Shown.empty());
  EXPECT_EQ(Current().Program.ViewMode, kViewModeLad);
}

TEST_F(CompileCommandsTest, CompilingAllBlocksCoversThemUnderOneTotalAndLeavesStatementListPagesAlone) {
  AddContent();  // statement-list view
  const std::vector<Network> networks = Current().Program.GetProgramPage(0).Networks();
  CompileAllBlocks();
  EXPECT_EQ(output_.Count(L"Compiling Data Block"), 1u);
  EXPECT_EQ(output_.Count(L"Compiling System Block"), 1u);
  EXPECT_EQ(output_.Count(L"Compiling Program Block"), 1u);
  EXPECT_EQ(output_.Count(L"Total"), 1u);
  EXPECT_EQ(output_.Lines.back(), L"Total 0 Error(s)");
  EXPECT_EQ(Current().Program.ViewMode, kViewModeStl);
  EXPECT_EQ(Current().Program.GetProgramPage(0).Networks(), networks);
}

TEST_F(CompileCommandsTest, CompilingALadderProgramShowsItAgainAsTheLadderOfItsStatementLists) {
  AddContent();
  env_.Config.SymbolicAddr = 1;
  Project& project = Current();
  ProgramPage& main = project.Program.GetProgramPage(0);
  const auto line = [](const wchar_t* mnemonic, std::vector<std::wstring> operands) {
    StlLine stl;
    stl.Mnemonic = mnemonic;
    stl.Operands = std::move(operands);
    return stl;
  };
  main.UndoLog.Networks[1].Kind = kNetworkStl;
  main.UndoLog.Networks[1].Lines = {line(L"LD", {L"I0.1"}), line(L"O", {L"Start"}), line(L"AN", {L"M0.1"}),
                                    line(L"=", {L"Q0.1"})};
  main.UndoLog.Networks[2].Kind = kNetworkStl;
  main.UndoLog.Networks[2].Lines = {line(L"LD", {L"I0.2"}), line(L"MOVW", {L"VW0", L"VW2"})};
  main.ViewState.ViewMode = kViewModeStl;
  CompileReport toLad(false);
  SwitchProgramView(project.Program, toLad, kViewModeLad);
  ASSERT_EQ(toLad.TotalErrors(), 1);  // network 0 has no output: it stays a statement list
  ShowProgramSymbols(project.Program);
  // A ladder network that does not convert: a contact alone.
  LadElement contact;
  contact.InCell = true;
  contact.Kind = kLadKindCont;
  contact.Name = L" ";
  contact.OperandIn = {ElementOperand{0, L"bit", L"Start"}};
  Network lone;
  lone.Kind = kNetworkLad;
  lone.Grid.Columns = 1;
  lone.Grid.Rows = 1;
  lone.Grid.Elements = {contact};
  main.UndoLog.Networks[3] = lone;
  ASSERT_EQ(main.Networks()[1].Kind, kNetworkLad);
  ASSERT_EQ(main.Networks()[2].Kind, kNetworkLad);

  // What showing the program as statement lists and then as ladder makes of it.
  ProgramBlock expected = project.Program;
  CompileReport silent(false);
  SwitchProgramView(expected, silent, kViewModeStl);
  SwitchProgramView(expected, silent, kViewModeLad);

  CompileAllBlocks();
  EXPECT_EQ(output_.Count(L"Total"), 1u);
  for (const int key : expected.ListProgramBlockKeys()) {
    const ProgramPage& page = project.Program.GetProgramPage(key);
    EXPECT_EQ(page.Networks(), expected.GetProgramPage(key).Networks()) << key;
    EXPECT_EQ(page.ViewState.ViewMode, kViewModeLad);
    EXPECT_TRUE(page.ViewState.Symbolic);
  }
  // The ladder shows the symbol again.
  const std::vector<LadElement>& elements = main.Networks()[1].Grid.Elements;
  EXPECT_TRUE(std::any_of(elements.begin(), elements.end(), [](const LadElement& element) {
    return !element.OperandIn.empty() && element.OperandIn[0].Text == L"Start";
  }));
  EXPECT_EQ(main.Networks()[3].Kind, kNetworkLad);
}

// ---------------------------------------------------------------- the project list

TEST_F(ProjectCommandsTest, PushKeepsThePreviousProjectAndDropsUndoOrCommit) {
  AddContent();
  const Project* first = &Current();
  const StreamBytes content = Content(*first);

  PushDefaultProject();
  ASSERT_EQ(env_.ProjectList.size(), 2u);
  EXPECT_EQ(&env_.ProjectList.front(), first);
  EXPECT_EQ(Current().Type, nullptr);
  EXPECT_EQ(Content(*first), content);
  DropNewestProject();
  ASSERT_EQ(env_.ProjectList.size(), 1u);
  EXPECT_EQ(&Current(), first);

  PushProjectOfSameType();
  ASSERT_EQ(env_.ProjectList.size(), 2u);
  EXPECT_EQ(Current().Type, first->Type);
  EXPECT_EQ(Current().MemoryAreas.Regions.size(), first->MemoryAreas.Regions.size());
  DropOldestProject();
  ASSERT_EQ(env_.ProjectList.size(), 1u);
  EXPECT_NE(&Current(), first);

  env_.ProjectList.clear();
  DropNewestProject();
  DropOldestProject();
  EXPECT_TRUE(env_.ProjectList.empty());
}

TEST_F(ProjectCommandsTest, ReplacedProjectsLeaveTheListAtOnceAndAreFreedAside) {
  AddContent();
  for (int i = 0; i < 4; ++i) {
    const Project* before = &Current();
    ASSERT_TRUE(i % 2 == 0 ? TryNewProject() : TryChangePlcType(kTypeA));
    ASSERT_EQ(env_.ProjectList.size(), 1u);
    EXPECT_NE(&Current(), before);
    EXPECT_EQ(Current().Type->Name(), kTypeA);
  }
  WaitForDroppedProjects();
  WaitForDroppedProjects();  // nothing left: returns at once
  // Projects still queued when the environment ends are freed by it (the sanitizer reports any
  // that are not).
  for (int i = 0; i < 3; ++i) {
    PushProjectOfSameType();
    DropOldestProject();
  }
  EXPECT_EQ(env_.ProjectList.size(), 1u);
}

TEST_F(ProjectCommandsTest, PushOfSameTypeWhoseTypeLeftTheCatalogThrowsAndLeavesTwoProjects) {
  PlcType gone;
  gone.Description.Name = L"CPU-GONE";
  Current().Type = &gone;
  EXPECT_THROW(PushProjectOfSameType(), ExceptionInitPlcTypeError);
  EXPECT_EQ(env_.ProjectList.size(), 2u);
  EXPECT_EQ(env_.ProjectList.front().Type, &gone);
  env_.ProjectList.clear();
}

TEST_F(ProjectCommandsTest, ACopiedProjectIsIndependentOfItsSource) {
  AddContent();
  Project copy = Current();
  const StreamBytes content = Content(Current());
  ASSERT_TRUE(SetSymbolEntryName(copy.Symbols, 0, 0, L"Other"));
  copy.Program.GetProgramPage(0).UndoLog.Networks.clear();
  copy.SystemBlocks.Working.at(0).Rows.clear();
  copy.CrossReferences.SearchHits.clear();
  EXPECT_EQ(Content(Current()), content);
  std::wstring text = L"M0.0";
  EXPECT_TRUE(LookupOperandSymbol(copy.Symbols, text, -1));
  EXPECT_EQ(text, L"Other");
  EXPECT_TRUE(LookupOperandSymbol(Current().Symbols, text = L"M0.0", -1));
  EXPECT_EQ(text, L"Start");
  EXPECT_EQ(Current().CrossReferences.SearchHits.size(), 1u);
}

}  // namespace
