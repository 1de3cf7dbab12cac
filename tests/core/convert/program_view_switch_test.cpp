#include "core/convert/program_view_switch.h"

#include <gtest/gtest.h>

#include "core/env/exception_error.h"
#include "core/program/program_test_support.h"

namespace {

class ProgramViewSwitch : public programtest::ProjectFixture {
 protected:
  void SetUp() override {
    ProjectFixture::SetUp();
    testsupport::AddGlobalSymbol(Project().Symbols, L"Start", L"I0.0");
    Program().AddInterrupt();
  }

  static Brenno::Network StlNetwork() {
    Brenno::Network net;
    net.Kind = Brenno::kNetworkStl;
    net.Lines = {Brenno::StlLine{L"LD", 0, {L"I0.0"}, {}}, Brenno::StlLine{L"SBR0", 0, {}, {}}};
    return net;
  }
};

TEST_F(ProgramViewSwitch, SymbolsAndAddressesTwiceGiveTheTextsBack) {
  Brenno::ProgramPage& main = Program().GetProgramPage(0);
  main.ViewState.SelectionFirst = 0;
  main.ViewState.SelectionLast = 0;
  main.ViewState.CursorColumn = -1;
  ASSERT_TRUE(main.PasteNetworks({StlNetwork()}));  // one undo step holds it too
  const std::vector<Brenno::Network> original = main.Networks();

  Brenno::ShowProgramSymbols(Program());
  EXPECT_TRUE(main.ViewState.Symbolic);
  EXPECT_EQ(main.Networks()[0].Lines[0].Operands[0], L"Start");
  EXPECT_EQ(main.Networks()[0].Lines[1].Mnemonic, L"SBR_0");
  EXPECT_EQ(main.UndoLog.Steps.back()[0].After[0].Lines[0].Operands[0], L"Start");

  Brenno::ShowProgramAddresses(Program());
  EXPECT_FALSE(main.ViewState.Symbolic);
  EXPECT_EQ(main.Networks(), original);
  // Undo brings back the networks in the current (absolute) form.
  ASSERT_TRUE(main.Undo());
  ASSERT_TRUE(main.Redo());
  EXPECT_EQ(main.Networks(), original);

  Brenno::Network odd;
  odd.Kind = 5;
  EXPECT_THROW(Brenno::RewriteNetworkOperands(true, 0, odd), Brenno::ExceptionLogicError);
}

TEST_F(ProgramViewSwitch, SwitchConvertsEveryPageAndReportsFailures) {
  Brenno::CompileReport report;
  Brenno::SwitchProgramView(Program(), report, Brenno::kViewModeLad);
  EXPECT_TRUE(report.Lines.empty());
  EXPECT_THROW(Brenno::SwitchProgramView(Program(), report, 3), Brenno::ExceptionLogicError);
  EXPECT_EQ(Program().ViewMode, Brenno::kViewModeLad);

  // A ladder network holding an element that cannot be converted here stays a ladder network.
  Brenno::ProgramPage& interrupt = Program().GetProgramPage(1);
  Brenno::LadElement line;
  line.Kind = Brenno::kLadKindLine;
  line.InCell = true;
  interrupt.UndoLog.Networks[1].Grid.Elements = {line};
  Brenno::UpdateLadderExtent(interrupt.UndoLog.Networks[1].Grid);
  Environment().Config.SymbolicAddr = 1;

  Brenno::SwitchProgramView(Program(), report, Brenno::kViewModeStl);
  EXPECT_EQ(Program().ViewMode, Brenno::kViewModeStl);
  ASSERT_EQ(report.Lines.size(), 5u);
  EXPECT_EQ(report.Lines[0], L"Compiling Program Block ...");
  EXPECT_EQ(report.Lines[1], L"    MAIN (INT0)");
  EXPECT_EQ(report.Lines[2], L"    INT_1 (INT1)");
  const std::wstring failure = L"    INT_1 (INT1), NETWORK 1    Error : ";
  EXPECT_EQ(report.Lines[3].substr(0, failure.size()), failure);
  EXPECT_GT(report.Lines[3].size(), failure.size());
  EXPECT_EQ(report.Lines[4], L"    SBR_0 (SBR0)");
  EXPECT_EQ(report.ErrorCount, 1);
  for (const int key : Program().ListProgramBlockKeys()) {
    const Brenno::ProgramPage& page = Program().GetProgramPage(key);
    EXPECT_EQ(page.ViewState.ViewMode, Brenno::kViewModeStl);
    EXPECT_TRUE(page.ViewState.Symbolic);
    EXPECT_TRUE(page.UndoLog.Steps.empty());
  }
  EXPECT_EQ(interrupt.Networks()[0].Kind, Brenno::kNetworkStl);
  EXPECT_EQ(interrupt.Networks()[1].Kind, Brenno::kNetworkLad);
}

}  // namespace
