#include "core/convert/stl_generation.h"

#include <gtest/gtest.h>

#include "core/convert/lad_analysis.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/memory_area_manager.h"
#include "core/program/program_services.h"
#include "tests/core/convert/convert_test_support.h"

using namespace Brenno;
using namespace convert_test;

namespace {

using Ops = std::vector<std::pair<int, int>>;
constexpr int S = StlEmitter::kSystem;
constexpr int I = StlEmitter::kInput;
constexpr int O = StlEmitter::kOutput;

LogicGraph Analyze(const std::vector<LadElement>& elements) {
  CellGrid grid;
  BuildCellGrid(TypeA(), Ladder(elements), grid);
  LogicGraph graph;
  AnalyzeLadGrid(TypeA(), grid, graph);
  return graph;
}

Ops Operations(const std::vector<LadElement>& elements) {
  StlEmitter emitter;
  EmitStlOperations(Analyze(elements), emitter);
  return emitter.operations;
}

std::vector<std::wstring> ConvertedText(const std::vector<LadElement>& elements) {
  Network network;
  network.Grid = Ladder(elements);
  ConvertToStl(TypeA(), network);
  EXPECT_EQ(network.Kind, kNetworkStl);
  return Text(network.Lines);
}

using Lines = std::vector<std::wstring>;

TEST(GenerateStl, WorkedExampleParallelThenSeries) {
  const std::vector<LadElement> ladder = {Contact(0, 0, L"A"), Contact(1, 0, L"C"), VLink(0, 0),
                                          Contact(0, 1, L"B"), Coil(0, 2, L"Y")};
  // A, C, OR, B, AND, Y
  EXPECT_EQ(Operations(ladder), (Ops{{I, 0}, {I, 1}, {S, kSysUnitOr}, {I, 2}, {S, kSysUnitAnd}, {O, 0}}));
  EXPECT_EQ(ConvertedText(ladder), (Lines{L"LD A", L"O C", L"A B", L"= Y"}));
}

TEST(GenerateStl, WorkedExampleWithABranchPoint) {
  const std::vector<LadElement> ladder = {Contact(0, 0, L"A"), Coil(0, 1, L"Y1"), VLink(0, 0),
                                          Contact(1, 1, L"B"), Coil(1, 2, L"Y2")};
  // A, LPS, Y1, LPP, B, AND, Y2
  EXPECT_EQ(Operations(ladder), (Ops{{I, 0}, {S, kSysUnitLps}, {O, 0}, {S, kSysUnitLpp}, {I, 1}, {S, kSysUnitAnd},
                                     {O, 1}}));
  EXPECT_EQ(ConvertedText(ladder), (Lines{L"LD A", L"LPS", L"= Y1", L"LPP", L"A B", L"= Y2"}));
}

TEST(GenerateStl, OperationsOfTheEdgeCases) {
  // One contact and one coil: no system unit.
  EXPECT_EQ(Operations({Contact(0, 0, L"A"), Coil(0, 1, L"Y")}), (Ops{{I, 0}, {O, 0}}));
  // Two coils on one net: both written after the one fragment, no LPS.
  EXPECT_EQ(Operations({Contact(0, 0, L"A"), Coil(0, 1, L"Y1"), VLink(0, 0), Coil(1, 1, L"Y2")}),
            (Ops{{I, 0}, {O, 0}, {O, 1}}));
  // A branch point needed by two later outputs: LPS once, LRD, then LPP.
  EXPECT_EQ(Operations({Contact(0, 0, L"A"), Coil(0, 1, L"Y1"), VLink(0, 0), Contact(1, 1, L"B"), Coil(1, 2, L"Y2"),
                        VLink(1, 0), Contact(2, 1, L"C"), Coil(2, 2, L"Y3")}),
            (Ops{{I, 0}, {S, kSysUnitLps}, {O, 0}, {S, kSysUnitLrd}, {I, 1}, {S, kSysUnitAnd}, {O, 1},
                 {S, kSysUnitLpp}, {I, 2}, {S, kSysUnitAnd}, {O, 2}}));
  // A rail output is written where it stands in the output order.
  EXPECT_EQ(Operations({Contact(0, 0, L"A"), Coil(0, 1, L"Y1"), LblBox(1, 0, L"3"), Contact(3, 0, L"B"),
                        Coil(3, 1, L"Y2")}),
            (Ops{{I, 0}, {O, 0}, {O, 1}, {I, 1}, {O, 2}}));
  // A multi-input output is written once both of its values are on top.
  EXPECT_EQ(Operations({Contact(0, 0, L"A"), Contact(1, 0, L"B"), CtuBox(0, 1, L"C0", L"10")}),
            (Ops{{I, 0}, {I, 1}, {O, 0}}));
}

TEST(ConvertToStl, LaddersToLines) {
  struct Case {
    const char* what;
    std::vector<LadElement> ladder;
    Lines lines;
  };
  LadElement commented = Contact(0, 0, L"I0.0");
  commented.Comments = {L"start"};
  const std::vector<Case> cases = {
      {"comment, negated contact, set coil",
       {commented, Contact(0, 1, L"I0.1", L"/"), Coil(0, 2, L"Q0.0", L"S", L"1")},
       {L"LD I0.0 //start", L"AN I0.1", L"S Q0.0,1"}},
      {"series of parallels",
       {Contact(0, 0, L"A"), Contact(1, 0, L"C"), VLink(0, 0), Contact(0, 1, L"B"), Contact(1, 1, L"D"), VLink(0, 1),
        Coil(0, 2, L"Y")},
       {L"LD A", L"O C", L"LD B", L"O D", L"ALD", L"= Y"}},
      {"chain with a coil on its middle",
       {Contact(0, 0, L"A"), Contact(0, 1, L"B"), Contact(0, 2, L"C"), Coil(0, 3, L"Y2"), VLink(0, 1),
        Coil(1, 2, L"Y1")},
       {L"LD A", L"A B", L"LPS", L"A C", L"= Y2", L"LPP", L"= Y1"}},
      {"branch used twice",
       {Contact(0, 0, L"A"), Coil(0, 1, L"Y1"), VLink(0, 0), Contact(1, 1, L"B"), Coil(1, 2, L"Y2"), VLink(1, 0),
        Contact(2, 1, L"C"), Coil(2, 2, L"Y3")},
       {L"LD A", L"LPS", L"= Y1", L"LRD", L"A B", L"= Y2", L"LPP", L"A C", L"= Y3"}},
      {"rail output in order",
       {Contact(0, 0, L"A"), Coil(0, 1, L"Y1"), LblBox(1, 0, L"3"), Contact(3, 0, L"B"), Coil(3, 1, L"Y2")},
       {L"LD A", L"= Y1", L"LBL 3", L"LD B", L"= Y2"}},
      {"rail coil alone", {Coil(0, 0, L"", L"NEXT")}, {L"NEXT"}},
      {"counter with two inputs",
       {Contact(0, 0, L"A"), Contact(1, 0, L"B"), CtuBox(0, 1, L"C0", L"10")},
       {L"LD A", L"LD B", L"CTU C0,10"}},
      {"bistable feeding a coil",
       {Contact(0, 0, L"A"), Contact(1, 0, L"B"), SrBox(0, 1, L"M0.0"), Coil(0, 2, L"Y")},
       {L"LD A", L"LD B", L"SR M0.0", L"= Y"}},
      {"invert and move box",
       {Contact(0, 0, L"A"), Contact(0, 1, L"", L"NOT"), MovBox(0, 2, L"VB0", L"VB1")},
       {L"LD A", L"NOT", L"MOVB VB0,VB1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ConvertedText(c.ladder), c.lines);
  }
}

TEST(ConvertToStl, KeepsTheLadderAndTheComments) {
  Network network;
  network.Grid = Ladder({Contact(0, 0, L"A"), Coil(0, 1, L"Y")});
  network.Comments = {L"rung"};
  network.Lines = {StlLine{L"old", 0, {}, {}}};
  const LadderGrid before = network.Grid;
  ConvertToStl(TypeA(), network);
  EXPECT_EQ(network.Kind, kNetworkStl);
  EXPECT_EQ(network.Grid, before);
  EXPECT_EQ(network.Comments, std::vector<std::wstring>{L"rung"});
  EXPECT_EQ(Text(network.Lines), (Lines{L"LD A", L"= Y"}));
}

TEST(ConvertToStl, EmptyLadderBecomesAnEmptyList) {
  Network network;
  network.Grid.Rows = 2;  // a stale extent does not make it non-empty
  network.Grid.Columns = 3;
  network.Comments = {L"kept"};
  network.Lines = {StlLine{L"LD", 0, {L"I0.0"}, {}}};
  ConvertToStl(TypeA(), network);
  EXPECT_EQ(network.Kind, kNetworkStl);
  EXPECT_TRUE(network.Lines.empty());
  EXPECT_EQ(network.Grid, LadderGrid{});
  EXPECT_EQ(network.Comments, std::vector<std::wstring>{L"kept"});
}

TEST(ConvertToStl, StaleStoredExtentStillConvertsEveryElement) {
  Network network;
  network.Grid = Ladder({Contact(0, 0, L"A"), Contact(0, 1, L"B"), Coil(0, 2, L"Y")});
  network.Grid.Rows = 0;
  network.Grid.Columns = 0;
  ConvertToStl(TypeA(), network);
  EXPECT_EQ(Text(network.Lines), (Lines{L"LD A", L"A B", L"= Y"}));
}

TEST(ConvertToStl, FailureLeavesTheNetworkAsItWas) {
  struct Case {
    const char* what;
    std::vector<LadElement> ladder;
    std::wstring message;
  };
  const std::vector<Case> cases = {
      {"unknown element", {Contact(0, 0, L"A", L"??"), Coil(0, 1, L"Y")}, L"LAD, Element Error"},
      {"no coil", {Contact(0, 0, L"A")}, L"LAD, No Output Element"},
      {"coil on the rail", {Coil(0, 0, L"Y")}, L"LAD, No Input Element"},
      // A later output fed by a contact whose input is connected to nothing.
      {"open input behind a later output",
       {Contact(0, 0, L"A"), Coil(0, 1, L"Y1"), Contact(1, 1, L"B"), Coil(1, 2, L"Y2")},
       L"STL, Link Mismatch"},
      // The library has no rule for a NOT that starts a rung.
      {"no rule for the units", {Contact(0, 0, L"", L"NOT"), Coil(0, 1, L"Y")}, L"STL, Convert Element Error"},
  };
  const int language = CurrentLanguage();
  SetCurrentLanguage(kLanguageEnglish);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Network network;
    network.Grid = Ladder(c.ladder);
    network.Lines = {StlLine{L"LD", 0, {L"I0.0"}, {L"old"}}};
    network.Comments = {L"note"};
    const Network before = network;
    try {
      ConvertToStl(TypeA(), network);
      ADD_FAILURE() << "no error";
    } catch (const ExceptionAnalyzeError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_EQ(network, before);
  }
  SetCurrentLanguage(language);
}

TEST(ConvertToStl, OnlyLadderNetworksAreConverted) {
  Network network;
  network.Kind = kNetworkStl;
  network.Lines = {StlLine{L"LD", 0, {L"I0.0"}, {}}};
  const Network before = network;
  EXPECT_THROW(ConvertToStl(TypeA(), network), ExceptionLogicError);
  EXPECT_EQ(network, before);
}

TEST(GenerateStl, MultiInputOutputWithoutItsValuesIsAnError) {
  // Hand-made graph: the counter's first input value is swallowed by the series item of the
  // second input's logic, so when its last pin is served only one value is in place.
  LogicGraph graph;
  LogicNode a;
  a.pins = {0, 1};
  LogicNode b;
  b.pins = {1, 2};
  graph.inputs = {a, b};
  LogicNode counter;
  counter.pins = {1, 2};
  graph.outputs = {counter};
  LogicFragment first;
  MakeLogicLeaf(first.tree, LogicItem{kLogicItemInput, 0});
  first.ends = {0, 1};
  LogicFragment second;
  MakeLogicLeaf(second.tree, LogicItem{kLogicItemConnection, kLogicSeries});
  second.tree.AppendChild(LogicItem{kLogicItemInput, 1}, LogicTree::SiblingPosition{nullptr, LogicRoot(second.tree)});
  second.ends = {0, 2};
  graph.fragments.push_back(first);
  graph.fragments.push_back(second);
  StlEmitter emitter;
  EXPECT_THROW(EmitStlOperations(graph, emitter), ExceptionAnalyzeError_Stl_LinkMismatch);
}

TEST(GenerateStl, StackConditionsAreInternalErrors) {
  LogicGraph graph;
  LogicNode coil;
  coil.pins = {1};
  graph.outputs = {coil};
  LogicFragment orphanAnd;  // AND with nothing to combine
  MakeLogicLeaf(orphanAnd.tree, LogicItem{kLogicItemConnection, kLogicSeries});
  orphanAnd.tree.AppendChild(LogicItem{kLogicItemInput, 0}, LogicTree::SiblingPosition{nullptr, LogicRoot(orphanAnd.tree)});
  orphanAnd.ends = {0, 1};
  LogicNode a;
  a.pins = {0, 1};
  graph.inputs = {a};
  graph.fragments.push_back(orphanAnd);
  StlEmitter emitter;
  EXPECT_THROW(EmitStlOperations(graph, emitter), ExceptionLogicError);
  // No fragment for an output's net.
  graph.fragments.clear();
  EXPECT_THROW(EmitStlOperations(graph, emitter), ExceptionAnalyzeError_Stl_LinkMismatch);
}

TEST(FormatStlLines, LinesFromElementsAndNothingChangedOnFailure) {
  const InstructionLibrary& lib = TypeA();
  std::vector<StlLine> lines{StlLine{L"old", 0, {}, {}}};
  FormatStlLines(lib, {}, lines);
  EXPECT_TRUE(lines.empty());

  StlElement s;
  s.definition = FunStlIndex(lib, L"S");
  s.variant = 2;
  s.operands = {L"Q0.0", L"1"};
  s.comments = {L"set"};
  FormatStlLines(lib, {s}, lines);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], (StlLine{L"S", 2, {L"Q0.0", L"1"}, {L"set"}}));

  StlElement wrong = s;
  wrong.operands.pop_back();
  EXPECT_THROW(FormatStlLines(lib, {s, wrong}, lines), ExceptionLogicError);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Mnemonic, L"S");
  StlElement outside = s;
  outside.definition = static_cast<int>(lib.FunStlList.size());
  EXPECT_THROW(FormatStlLines(lib, {outside}, lines), ExceptionLogicError);
}

// The entry without a library argument reads the current project's library.
class LibraryServices : public ProgramServices {
 public:
  const InstructionLibrary& Library() const override { return TypeA(); }
  const MemoryAreaManager& MemoryMap() const override { return m_map; }
  bool LookupSymbolNamePrefixed(std::wstring&, int) const override { return false; }
  bool LookupOperandSymbolPrefixed(std::wstring&, int) const override { return false; }
  bool ReplacePageNameByReferenceName(std::wstring&) const override { return false; }
  bool ReplaceReferenceNameByPageName(std::wstring&) const override { return false; }
  bool ReplacePageAddressByName(std::wstring&) const override { return false; }
  bool ReplacePageNameByAddress(std::wstring&) const override { return false; }

 private:
  MemoryAreaManager m_map;
};

TEST(ConvertToStl, UsesTheCurrentProjectsLibrary) {
  LibraryServices services;
  InstallProgramServices(&services);
  Network network;
  network.Grid = Ladder({Contact(0, 0, L"A"), Coil(0, 1, L"Y")});
  ConvertToStl(network);
  InstallProgramServices(nullptr);
  EXPECT_EQ(Text(network.Lines), (Lines{L"LD A", L"= Y"}));
}

}  // namespace
