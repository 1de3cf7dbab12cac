#include "core/convert/stl_analysis.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/convert/lad_layout.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/program/network.h"
#include "core/program/program_services.h"
#include "tests/core/convert/convert_test_support.h"

using namespace Brenno;
using namespace convert_test;

namespace {

StlLine Line(const std::wstring& mnemonic, std::vector<std::wstring> operands = {},
             std::vector<std::wstring> comments = {}, int variant = 0) {
  StlLine line;
  line.Mnemonic = mnemonic;
  line.Variant = variant;
  line.Operands = std::move(operands);
  line.Comments = std::move(comments);
  return line;
}

// "LD a" style lines, operands separated by commas.
std::vector<StlLine> Lines(const std::vector<std::wstring>& texts) {
  std::vector<StlLine> lines;
  for (const std::wstring& text : texts) {
    const std::size_t blank = text.find(L' ');
    StlLine line = Line(text.substr(0, blank));
    if (blank != std::wstring::npos) {
      std::wstring rest = text.substr(blank + 1);
      for (std::size_t at = 0;;) {
        const std::size_t comma = rest.find(L',', at);
        line.Operands.push_back(rest.substr(at, comma - at));
        if (comma == std::wstring::npos) break;
        at = comma + 1;
      }
    }
    lines.push_back(line);
  }
  return lines;
}

LogicGraph Analyze(const InstructionLibrary& library, const std::vector<std::wstring>& texts) {
  std::vector<StlElement> elements;
  ParseStlLines(library, Lines(texts), elements);
  LogicGraph graph;
  AnalyzeStl(library, elements, graph);
  return graph;
}

LogicGraph Analyze(const std::vector<std::wstring>& texts) { return Analyze(TypeA(), texts); }

std::vector<int> Pins(const LogicNode& node) { return node.pins; }

class StlAnalysisErrors : public ::testing::Test {
 protected:
  void SetUp() override {
    language_ = CurrentLanguage();
    SetCurrentLanguage(kLanguageEnglish);
  }
  void TearDown() override { SetCurrentLanguage(language_); }

 private:
  int language_ = kLanguageEnglish;
};

// The message of the error the analysis of the lines throws; empty when nothing is thrown.
std::wstring AnalysisError(const InstructionLibrary& library, const std::vector<std::wstring>& texts) {
  try {
    Analyze(library, texts);
  } catch (const ExceptionError& error) {
    return error.Message();
  }
  return L"";
}

}  // namespace

TEST(ParseStlLines, BindsEveryInstructionLineToItsDefinition) {
  const std::vector<StlLine> lines = {Line(L""), Line(L"LD", {L"I0.0"}, {L"start"}, 2), Line(L"", {}, {L"only a comment"}),
                                      Line(L"S", {L"Q0.0", L"1"})};
  std::vector<StlElement> elements = {StlElement{}};
  ParseStlLines(TypeA(), lines, elements);
  ASSERT_EQ(elements.size(), 2u);
  EXPECT_EQ(elements[0].definition, FunStlIndex(TypeA(), L"LD"));
  EXPECT_EQ(elements[0].variant, 2);
  EXPECT_EQ(elements[0].operands, (std::vector<std::wstring>{L"I0.0"}));
  EXPECT_EQ(elements[0].comments, (std::vector<std::wstring>{L"start"}));
  EXPECT_EQ(elements[1].definition, FunStlIndex(TypeA(), L"S"));
  EXPECT_EQ(elements[1].operands, (std::vector<std::wstring>{L"Q0.0", L"1"}));
}

TEST(ParseStlLines, UnknownMnemonicOrOperandCountAndEmptyLists) {
  std::vector<StlElement> elements;
  EXPECT_THROW(ParseStlLines(TypeA(), {Line(L"LDX", {L"I0.0"})}, elements), ExceptionAnalyzeError_Stl_StlElementError);
  EXPECT_THROW(ParseStlLines(TypeA(), {Line(L"LD", {L"I0.0", L"I0.1"})}, elements),
               ExceptionAnalyzeError_Stl_StlElementError);
  EXPECT_THROW(ParseStlLines(TypeA(), {Line(L"ld", {L"I0.0"})}, elements), ExceptionAnalyzeError_Stl_StlElementError);
  EXPECT_THROW(ParseStlLines(TypeA(), {Line(L"", {}, {L"x"}), Line(L"")}, elements), ExceptionAnalyzeIgnore_Stl_StlEmpty);
  EXPECT_THROW(ParseStlLines(TypeA(), {}, elements), ExceptionAnalyzeIgnore_Stl_StlEmpty);
}

// Contact a, LPS, contact b, AND, coil p, LPP, contact c, AND, coil q.
TEST(StlStackMachine, WorkedExampleLinks) {
  StlStackMachine machine;
  machine.AddInput(0, {0, 1});
  machine.ApplySystemUnit(kSysUnitLps);
  machine.AddInput(1, {2, 3});
  machine.ApplySystemUnit(kSysUnitAnd);
  machine.AddOutput({4});
  machine.ApplySystemUnit(kSysUnitLpp);
  machine.AddInput(2, {5, 6});
  machine.ApplySystemUnit(kSysUnitAnd);
  machine.AddOutput({7});
  EXPECT_EQ(machine.Links(), (std::vector<NodeLink>{{1, 2}, {3, 4}, {1, 5}, {6, 7}}));
  EXPECT_EQ(machine.LogicCount(), 0u);
  EXPECT_EQ(machine.BlockCount(), 2u);
  const std::vector<LogicFragment> fragments = machine.TakeOutputFragments();
  ASSERT_EQ(fragments.size(), 2u);
  EXPECT_EQ(TreeText(fragments[0].tree), L"S(i0,i1)");
  EXPECT_EQ(fragments[0].ends, (std::vector<int>{0, 3}));
  EXPECT_EQ(TreeText(fragments[1].tree), L"S(r1,i2)");  // reference to (0, 1): 0 x 65536 + 1
  EXPECT_EQ(fragments[1].ends, (std::vector<int>{0, 6}));

  std::vector<int> labels(8, -1);
  LabelConnectedNodes(machine.Links(), labels);
  EXPECT_EQ(labels, (std::vector<int>{0, 1, 1, 2, 2, 1, 3, 3}));
}

TEST(StlStackMachine, MultiInputElementTakesItsBlocksDeepestFirst) {
  StlStackMachine machine;
  machine.AddInput(0, {0, 1});
  machine.AddInput(1, {2, 3});
  machine.AddInput(2, {4, 5, 6});
  EXPECT_EQ(machine.Links(), (std::vector<NodeLink>{{1, 4}, {0, 2}, {3, 5}}));
  EXPECT_EQ(machine.BlockCount(), 1u);
  machine.AddOutput({7});
  const std::vector<LogicFragment> fragments = machine.TakeOutputFragments();
  ASSERT_EQ(fragments.size(), 1u);
  EXPECT_EQ(TreeText(fragments[0].tree), L"i2(i0,i1)");
  EXPECT_EQ(fragments[0].ends, (std::vector<int>{2, 6}));
  EXPECT_THROW(machine.AddInput(3, {8}), ExceptionLogicError);
  EXPECT_THROW(machine.ApplySystemUnit(6), ExceptionLogicError);
}

TEST(LabelConnectedNodes, ComponentsNumberedBySmallestMember) {
  std::vector<int> labels(6, -1);
  LabelConnectedNodes({{5, 3}, {4, 1}, {3, 5}}, labels);
  EXPECT_EQ(labels, (std::vector<int>{0, 1, 2, 3, 1, 3}));
  std::vector<int> few(2, -1);
  EXPECT_THROW(LabelConnectedNodes({{0, 2}}, few), ExceptionLogicError);
}

TEST(AnalyzeStl, WorkedExampleGraph) {
  const LogicGraph graph = Analyze({L"LD a", L"LPS", L"A b", L"= p", L"LPP", L"A c", L"= q"});
  ASSERT_EQ(graph.inputs.size(), 3u);
  ASSERT_EQ(graph.outputs.size(), 2u);
  EXPECT_EQ(graph.inputs[0].definition, FunOrgIndex(TypeA(), L"CONT"));
  EXPECT_EQ(graph.inputs[0].operands, (std::vector<std::wstring>{L"a"}));
  EXPECT_EQ(graph.outputs[1].definition, FunOrgIndex(TypeA(), L"COIL"));
  EXPECT_EQ(graph.outputs[1].operands, (std::vector<std::wstring>{L"q"}));
  // a from the rail to node 1; b from 1 to 2 feeding p; c from 1 to 3 feeding q.
  EXPECT_EQ(Pins(graph.inputs[0]), (std::vector<int>{0, 1}));
  EXPECT_EQ(Pins(graph.inputs[1]), (std::vector<int>{1, 2}));
  EXPECT_EQ(Pins(graph.inputs[2]), (std::vector<int>{1, 3}));
  EXPECT_EQ(Pins(graph.outputs[0]), (std::vector<int>{2}));
  EXPECT_EQ(Pins(graph.outputs[1]), (std::vector<int>{3}));
  ASSERT_EQ(graph.fragments.size(), 2u);
  EXPECT_EQ(TreeText(graph.fragments[0].tree), L"S(i0,i1)");
  EXPECT_EQ(graph.fragments[0].ends, (std::vector<int>{0, 2}));
  EXPECT_EQ(TreeText(graph.fragments[1].tree), L"S(r1,i2)");
  EXPECT_EQ(graph.fragments[1].ends, (std::vector<int>{0, 3}));
}

TEST(AnalyzeStl, RungsOutputsAndRailLinks) {
  // One element and one output: the input's left pin shares label 0 with the rail.
  LogicGraph graph = Analyze({L"LD a", L"= p"});
  EXPECT_EQ(Pins(graph.inputs[0]), (std::vector<int>{0, 1}));
  EXPECT_EQ(Pins(graph.outputs[0]), (std::vector<int>{1}));

  // Two outputs after one block: the second sees a reference and records no logic.
  graph = Analyze({L"LD a", L"= p", L"S q,1"});
  EXPECT_EQ(graph.fragments.size(), 1u);
  EXPECT_EQ(Pins(graph.outputs[0]), Pins(graph.outputs[1]));

  // A second rung starts at the rail.
  graph = Analyze({L"LD a", L"= p", L"LDN b", L"= q"});
  ASSERT_EQ(graph.fragments.size(), 2u);
  EXPECT_EQ(graph.fragments[1].ends.front(), 0);
  EXPECT_EQ(Pins(graph.inputs[1]).front(), 0);

  // A multi-input element and a multi-output element.
  graph = Analyze({L"LD a", L"LD b", L"SR m", L"= p", L"LD c", L"LDN d", L"CTU C1,10"});
  ASSERT_EQ(graph.inputs.size(), 5u);
  EXPECT_EQ(Pins(graph.inputs[2]).size(), 3u);
  EXPECT_EQ(Pins(graph.inputs[0]).front(), 0);
  EXPECT_EQ(Pins(graph.inputs[1]).front(), 0);
  EXPECT_EQ(Pins(graph.outputs[1]).size(), 2u);
  ASSERT_EQ(graph.fragments.size(), 3u);
  EXPECT_EQ(TreeText(graph.fragments[0].tree), L"i2(i0,i1)");
  EXPECT_EQ(graph.fragments[0].ends, (std::vector<int>{0, Pins(graph.outputs[0]).front()}));
  EXPECT_EQ(TreeText(graph.fragments[2].tree), L"i4");

  // A generatrix output stands on the rail.
  graph = Analyze({L"LBL 3", L"LD a", L"JMP 3"});
  EXPECT_EQ(Pins(graph.outputs[0]), (std::vector<int>{0}));
}

TEST_F(StlAnalysisErrors, FailureTableInEnglish) {
  // The mnemonic in front of the failure table: the first failing check wins.
  InstructionLibrary wrongType = TypeA();
  wrongType.FunOrgList[static_cast<std::size_t>(FunOrgIndex(wrongType, L"CONTN"))].Type = 9;
  InstructionLibrary noRule = TypeA();
  const int ldbLess = FunStlIndex(noRule, L"LDB<");
  std::erase_if(noRule.StlToUnitRules, [ldbLess](const ConvertRule& rule) { return rule.Left.front().Slot == ldbLess; });
  InstructionLibrary twoPinLabel = TypeA();
  twoPinLabel.FunOrgList[static_cast<std::size_t>(FunOrgIndex(twoPinLabel, L"LBL"))].Node = 2;

  struct Case {
    const InstructionLibrary* library;
    std::vector<std::wstring> lines;
    std::wstring message;
  };
  const std::vector<Case> cases = {
      // The report names the line and what its mnemonic takes.
      {&TypeA(), {L"LD a", L"LDX b", L"= q"},
       L"STL, Element Error\r\n  LDX b (no statement-list instruction of this PLC type)"},
      {&TypeA(), {L"LD a, b", L"= q"}, L"STL, Element Error\r\n  LD a, b (LD takes 1 operand(s): bit)"},
      {&noRule, {L"LDB< IB0,IB1", L"= q"}, L"STL, Convert Element Error"},
      {&TypeA(), {L"A a", L"= q"}, L"STL, Data Stack Error"},          // AND as the first unit
      {&TypeA(), {L"LD a", L"ALD", L"= q"}, L"STL, Data Stack Error"},  // AND with one block
      {&TypeA(), {L"LPS", L"LD a", L"= q"}, L"STL, Data Stack Error"},
      {&TypeA(), {L"= q"}, L"STL, Data Stack Error"},                   // output without a block
      {&TypeA(), {L"LD a", L"CTU C1,5"}, L"STL, Data Stack Error"},      // two power pins, one block
      {&TypeA(), {L"LD a", L"SR m", L"= q"}, L"STL, Data Stack Error"},  // two power inputs, one block
      {&TypeA(), {L"LRD", L"= q"}, L"STL, Logic Stack Error"},
      {&TypeA(), {L"LD a", L"LPS", L"LPP", L"LPP", L"= q"}, L"STL, Logic Stack Error"},
      {&twoPinLabel, {L"LBL 1"}, L"STL, Element Error"},
      {&TypeA(), {L"LD a", L"LBL 1"}, L"STL, Generatrix Output Instruction Placement Error"},
      {&TypeA(), {L"LD a", L"LD b"}, L"STL, No Output Element"},
      {&TypeA(), {L"LD a", L"LPS", L"LRD", L"ALD", L"= q"}, L"STL, Unaccept LRD or LPP"},
      {&TypeA(), {L"LD a", L"LPS", L"= p", L"LD b", L"LRD", L"OLD", L"= q"}, L"STL, Unaccept LRD or LPP"},
      // A stored branch point read after its block was joined in parallel, or put behind other
      // logic: its node no longer carries the stored value (q would take a OR b, a AND b).
      {&TypeA(), {L"LD a", L"LPS", L"O b", L"= p", L"LPP", L"A c", L"= q"}, L"STL, Unaccept LRD or LPP"},
      {&TypeA(), {L"LD a", L"LD b", L"LPS", L"ALD", L"= p", L"LPP", L"A c", L"= q"}, L"STL, Unaccept LRD or LPP"},
      {&TypeA(), {L"LD a", L"LD b", L"LPS", L"A c", L"ALD", L"= p", L"LPP", L"A d", L"= q"},
       L"STL, Unaccept LRD or LPP"},
      // An element whose pins end up on one node.
      {&TypeA(), {L"LD a", L"LPS", L"LPP", L"SR m", L"LD c", L"= q"}, L"STL, Link Mismatch"},
      {&TypeA(), {L"LD a", L"LPS", L"LPP", L"ALD", L"LD c", L"= q"}, L"STL, Link Mismatch"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AnalysisError(*c.library, c.lines), c.message) << c.lines.front() << L" ... " << c.lines.back();
  }
  EXPECT_THROW(Analyze(wrongType, {L"LDN a", L"= q"}), ExceptionLogicError);
}

// A stored branch point keeps its node as long as nothing is joined to it: series logic after
// it, a box input or an output leave it alone, and a point that is never read may change.
TEST(AnalyzeStl, StoredPointsThatKeepTheirValue) {
  for (const std::vector<std::wstring>& lines : std::vector<std::vector<std::wstring>>{
           {L"LD a", L"LPS", L"A b", L"= p", L"LPP", L"A c", L"= q"},
           {L"LD a", L"LD b", L"LPS", L"SR m", L"= p", L"LPP", L"= q"},
           {L"LD a", L"LPS", L"O b", L"= p"},
       }) {
    EXPECT_NO_THROW(Analyze(TypeA(), lines)) << lines.front() << L" ... " << lines.back();
  }
}

TEST(AnalyzeStl, SystemUnitsOtherThanTheFiveAreSkipped) {
  InstructionLibrary library = TypeA();
  FunOrgRecord unit;
  unit.Name = L"NOP";
  unit.Type = kFunOrgTypeSys;
  unit.Node = 0;
  library.FunOrgList.push_back(unit);
  FunStlRecord stl;
  stl.Name = L"NOP";
  library.FunStlList.push_back(stl);
  ConvertRule rule;
  rule.Left = {ElementOperand{static_cast<int>(library.FunStlList.size()) - 1, L"NOP", L""}};
  rule.Right = {ElementOperand{static_cast<int>(library.FunOrgList.size()) - 1, L"NOP", L""}};
  library.StlToUnitRules.push_back(rule);
  const LogicGraph graph = Analyze(library, {L"LD a", L"NOP", L"A b", L"NOP", L"= q"});
  ASSERT_EQ(graph.fragments.size(), 1u);
  EXPECT_EQ(TreeText(graph.fragments[0].tree), L"S(i0,i1)");
}

// ---- The conversion entry

TEST(ConvertToLad, SuccessKeepsTheLinesBesideTheNewLadder) {
  Network network;
  network.Kind = kNetworkStl;
  network.Lines = Lines({L"LD a", L"= p"});
  network.Comments = {L"rung"};
  network.Grid = Ladder({Contact(3, 3, L"old")});
  const std::vector<StlLine> lines = network.Lines;
  ConvertToLad(TypeA(), network);
  EXPECT_EQ(network.Kind, kNetworkLad);
  EXPECT_EQ(network.Lines, lines);
  EXPECT_EQ(network.Comments, (std::vector<std::wstring>{L"rung"}));
  EXPECT_EQ(network.Grid, Ladder({Contact(0, 0, L"a"), Coil(0, 1, L"p")}));
}

TEST(ConvertToLad, NetworkWithoutInstructionsBecomesAnEmptyLadder) {
  Network network;
  network.Kind = kNetworkStl;
  network.Lines = {Line(L"", {}, {L"just a note"}), Line(L"")};
  network.Comments = {L"kept"};
  network.Grid = Ladder({Contact(0, 0, L"stale")});
  ConvertToLad(TypeA(), network);
  EXPECT_EQ(network.Kind, kNetworkLad);
  EXPECT_TRUE(network.Lines.empty());
  EXPECT_EQ(network.Grid, LadderGrid());
  EXPECT_EQ(network.Comments, (std::vector<std::wstring>{L"kept"}));
}

TEST(ConvertToLad, FailureAtAnyStageLeavesTheNetworkAsItWas) {
  InstructionLibrary inconsistent = TypeA();
  // A coil definition whose operand list no longer fits the unit: the last stage fails.
  inconsistent.FunLadList[static_cast<std::size_t>(FunLadIndex(inconsistent, L"="))].OperandOut.clear();
  struct Case {
    const InstructionLibrary* library;
    std::vector<std::wstring> lines;
  };
  const std::vector<Case> cases = {
      {&TypeA(), {L"LD a", L"LDX b", L"= q"}},                         // parse
      {&TypeA(), {L"LRD", L"= q"}},                                    // analysis
      {&TypeA(), {L"LD a", L"LPS", L"= p", L"LPP", L"O c", L"= q"}},  // layout
      {&inconsistent, {L"LD a", L"= q"}},                              // ladder build
  };
  for (const Case& c : cases) {
    Network network;
    network.Kind = kNetworkStl;
    network.Lines = Lines(c.lines);
    network.Comments = {L"c"};
    network.Grid = Ladder({Contact(0, 0, L"old"), Coil(0, 1, L"old")});
    const Network before = network;
    EXPECT_ANY_THROW(ConvertToLad(*c.library, network));
    EXPECT_EQ(network, before) << c.lines.front();
  }
  Network ladder;
  EXPECT_THROW(ConvertToLad(TypeA(), ladder), ExceptionLogicError);
}

TEST(ConvertToLad, UsesTheCurrentProjectsLibrary) {
  struct Services : ProgramServices {
    const InstructionLibrary& Library() const override { return TypeA(); }
    const MemoryAreaManager& MemoryMap() const override { throw ExceptionLogicError(); }
    bool LookupSymbolNamePrefixed(std::wstring&, int) const override { return false; }
    bool LookupOperandSymbolPrefixed(std::wstring&, int) const override { return false; }
    bool ReplacePageNameByReferenceName(std::wstring&) const override { return false; }
    bool ReplaceReferenceNameByPageName(std::wstring&) const override { return false; }
    bool ReplacePageAddressByName(std::wstring&) const override { return false; }
    bool ReplacePageNameByAddress(std::wstring&) const override { return false; }
  } services;
  InstallProgramServices(&services);
  Network network;
  network.Kind = kNetworkStl;
  network.Lines = Lines({L"LDN a", L"= p"});
  ConvertToLad(network);
  InstallProgramServices(nullptr);
  EXPECT_EQ(network.Kind, kNetworkLad);
  EXPECT_EQ(network.Grid, Ladder({Contact(0, 0, L"a", L"/"), Coil(0, 1, L"p")}));
}
