#include "core/convert/page_conversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/convert/stl_generation.h"
#include "core/env/exception_error.h"
#include "core/program/ladder_edit.h"
#include "core/program/program_block.h"
#include "core/convert/program_view_switch.h"
#include "tests/core/convert/convert_test_support.h"
#include "tests/core/program/program_test_support.h"

using namespace Brenno;
using namespace convert_test;

namespace {

StlLine Line(const std::wstring& mnemonic, std::vector<std::wstring> operands = {}) {
  StlLine line;
  line.Mnemonic = mnemonic;
  line.Operands = std::move(operands);
  return line;
}

Network StlNetwork(std::vector<StlLine> lines) {
  Network network;
  network.Kind = kNetworkStl;
  network.Lines = std::move(lines);
  return network;
}

Network LadNetwork(const std::vector<LadElement>& elements) {
  Network network;
  network.Kind = kNetworkLad;
  network.Grid = Ladder(elements);
  return network;
}

class PageConversion : public programtest::ProjectFixture {
 protected:
  // A page of the main program in the given view with the networks, then an empty ladder
  // network added by one undo step.
  ProgramPage Page(int viewMode, std::vector<Network> networks) {
    ProgramPage page;
    page.ViewState.PageId = 0;
    page.ViewState.ViewMode = viewMode;
    page.UndoLog.Networks = std::move(networks);
    ApplyNetworkEdit(page.UndoLog,
                     MakeNetworkEditRecord(static_cast<int>(page.UndoLog.Networks.size()), {}, {Network()}));
    return page;
  }

  std::wstring ErrorLine(int index, const std::wstring& message) {
    std::wstring title;
    Program().DescribeProgramUnitKey(0, title);
    return L"    " + title + L", NETWORK " + std::to_wstring(index) + L"    Error : " + message;
  }
};

}  // namespace

TEST_F(PageConversion, ListToLadderReportsTheNetworkThatFails) {
  const Network good = StlNetwork({Line(L"LD", {L"I0.0"}), Line(L"=", {L"Q0.0"})});
  const Network bad = StlNetwork({Line(L"LRD"), Line(L"=", {L"Q0.1"})});
  const Network empty = StlNetwork({});
  ProgramPage page = Page(kViewModeStl, {good, bad, empty});
  CompileReport report;
  ConvertPageView(page, kViewModeLad, report, Program());

  EXPECT_EQ(page.ViewState.ViewMode, kViewModeLad);
  ASSERT_EQ(page.NetworkCount(), 4);
  EXPECT_EQ(page.Networks()[0].Kind, kNetworkLad);
  EXPECT_EQ(page.Networks()[0].Grid, Ladder({Contact(0, 0, L"I0.0"), Coil(0, 1, L"Q0.0")}));
  EXPECT_EQ(page.Networks()[1], bad);  // kept as it was: shown as "INVALID"
  EXPECT_EQ(page.Networks()[2].Kind, kNetworkLad);
  EXPECT_TRUE(page.Networks()[2].Grid.Elements.empty());
  EXPECT_TRUE(page.UndoLog.Steps.empty());
  EXPECT_EQ(report.ErrorCount, 1);
  EXPECT_EQ(report.Lines, (std::vector<std::wstring>{ErrorLine(1, L"STL, Logic Stack Error")}));
}

TEST_F(PageConversion, LadderToListReportsTheNetworkThatFails) {
  const Network good = LadNetwork({Contact(0, 0, L"I0.0"), Coil(0, 1, L"Q0.0")});
  const Network bad = LadNetwork({Contact(0, 0, L"I0.1")});  // no output element
  const Network other = LadNetwork({Contact(0, 0, L"I0.2", L"/"), Coil(0, 1, L"Q0.2")});
  ProgramPage page = Page(kViewModeLad, {good, bad, other});
  CompileReport report;
  ConvertPageView(page, kViewModeStl, report, Program());

  EXPECT_EQ(page.ViewState.ViewMode, kViewModeStl);
  EXPECT_EQ(page.Networks()[0].Kind, kNetworkStl);
  EXPECT_EQ(Text(page.Networks()[0].Lines), (std::vector<std::wstring>{L"LD I0.0", L"= Q0.0"}));
  EXPECT_EQ(page.Networks()[1], bad);
  EXPECT_EQ(Text(page.Networks()[2].Lines), (std::vector<std::wstring>{L"LDN I0.2", L"= Q0.2"}));
  EXPECT_EQ(page.Networks()[3].Kind, kNetworkStl);  // the empty network of the undo step
  EXPECT_TRUE(page.UndoLog.Steps.empty());
  EXPECT_EQ(report.Lines, (std::vector<std::wstring>{ErrorLine(1, L"LAD, No Output Element")}));
}

TEST_F(PageConversion, PageAlreadyInTheViewIsLeftAlone) {
  ProgramPage page = Page(kViewModeLad, {StlNetwork({Line(L"LD", {L"I0.0"}), Line(L"=", {L"Q0.0"})})});
  const std::vector<Network> before = page.Networks();
  CompileReport report;
  ConvertPageView(page, kViewModeLad, report, Program());
  EXPECT_EQ(page.Networks(), before);
  EXPECT_EQ(page.UndoLog.Steps.size(), 1u);
  EXPECT_TRUE(report.Lines.empty());
  EXPECT_THROW(ConvertPageView(page, 3, report, Program()), ExceptionLogicError);
  EXPECT_EQ(page.ViewState.ViewMode, kViewModeLad);
}

// A network the ladder cannot show (logic behind a stored branch point, joined in parallel with
// a branch from the rail) is reported and keeps its form; the networks around it convert.
TEST_F(PageConversion, NetworkWithoutLadderDoesNotStopThePage) {
  const Network first = StlNetwork({Line(L"LD", {L"I0.0"}), Line(L"=", {L"Q0.0"})});
  const Network bad = StlNetwork({Line(L"LD", {L"I0.0"}), Line(L"LPS"), Line(L"=", {L"Q0.0"}), Line(L"LPP"),
                                  Line(L"A", {L"I0.1"}), Line(L"O", {L"I0.2"}), Line(L"=", {L"Q0.1"})});
  const Network last = StlNetwork({Line(L"LD", {L"I0.3"}), Line(L"=", {L"Q0.3"})});
  ProgramPage page = Page(kViewModeStl, {first, bad, last});
  CompileReport report;
  ConvertPageView(page, kViewModeLad, report, Program());

  EXPECT_EQ(page.ViewState.ViewMode, kViewModeLad);
  EXPECT_EQ(page.Networks()[0].Grid, Ladder({Contact(0, 0, L"I0.0"), Coil(0, 1, L"Q0.0")}));
  EXPECT_EQ(page.Networks()[1], bad);
  EXPECT_EQ(page.Networks()[2].Grid, Ladder({Contact(0, 0, L"I0.3"), Coil(0, 1, L"Q0.3")}));
  EXPECT_TRUE(page.UndoLog.Steps.empty());
  EXPECT_EQ(report.Lines, (std::vector<std::wstring>{ErrorLine(1, L"LAD, Unaccept LRD or LPP")}));
}

// Any failure of one network is that network's alone, an inconsistency the converter finds too
// (here a coil definition that no longer fits its unit): the network is reported and keeps its
// form, the others convert and the page changes its view.
TEST_F(PageConversion, InconsistencyInOneNetworkStopsOnlyThatNetwork) {
  Project().Instructions.FunLadList[static_cast<std::size_t>(FunLadIndex(Project().Instructions, L"="))].OperandOut.clear();
  const Network coil = StlNetwork({Line(L"LD", {L"I0.0"}), Line(L"=", {L"Q0.0"})});
  const Network set = StlNetwork({Line(L"LD", {L"I0.1"}), Line(L"S", {L"Q0.1", L"2"})});
  ProgramPage page = Page(kViewModeStl, {coil, set});
  CompileReport report;
  ConvertPageView(page, kViewModeLad, report, Program());

  EXPECT_EQ(page.ViewState.ViewMode, kViewModeLad);
  EXPECT_EQ(page.Networks()[0], coil);
  EXPECT_EQ(page.Networks()[1].Grid, Ladder({Contact(0, 0, L"I0.1"), Coil(0, 1, L"Q0.1", L"S", L"2")}));
  EXPECT_TRUE(page.UndoLog.Steps.empty());
  EXPECT_EQ(report.ErrorCount, 1);
}

// A subroutine call box shown with symbols carries the subroutine's page name, which is no
// ladder definition's keyword: the converter reads definitions by keyword, so a network is
// converted in its address form. The program's view switch rewrites every page to addresses
// before it converts and back to symbols afterwards, so a call box under a page name converts
// both ways; the converter on the shown form refuses it and leaves the network as it was.
TEST_F(PageConversion, CallBoxShowingThePageNameConvertsThroughTheAddressForm) {
  constexpr int kFirstSubroutine = 0x10000;
  ASSERT_TRUE(Program().RenameBlock(kFirstSubroutine, L"Pump"));
  CompileReport report;
  SwitchProgramView(Program(), report, kViewModeLad);
  Environment().Config.SymbolicAddr = 1;
  ShowProgramSymbols(Program());

  LadElement call = Element(kLadKindBlock, 0, 1, L"SBR_0");
  call.PowerIn = {{0, L"EN"}};
  Network shown = LadNetwork({Contact(0, 0, L"I0.0"), call});
  ConvertLadderNetworkToSymbols(0, shown.Grid);
  ASSERT_EQ(shown.Grid.Elements[1].Name, L"Pump");

  Network direct = shown;
  EXPECT_THROW(ConvertToStl(direct), ExceptionAnalyzeError_Lad_LadElementError);
  EXPECT_EQ(direct, shown);

  ProgramPage& main = Program().GetProgramPage(0);
  main.UndoLog.Networks = {shown};
  SwitchProgramView(Program(), report, kViewModeStl);
  EXPECT_EQ(report.ErrorCount, 0);
  ASSERT_EQ(main.Networks()[0].Kind, kNetworkStl);
  EXPECT_EQ(Text(main.Networks()[0].Lines), (std::vector<std::wstring>{L"LD I0.0", L"Pump"}));
  EXPECT_TRUE(main.ViewState.Symbolic);

  SwitchProgramView(Program(), report, kViewModeLad);
  EXPECT_EQ(report.ErrorCount, 0);
  ASSERT_EQ(main.Networks()[0].Kind, kNetworkLad);
  EXPECT_EQ(main.Networks()[0].Grid, shown.Grid);
}
