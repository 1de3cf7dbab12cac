// Round trip between the two forms of a network, as a property over generated networks: a
// generated statement list L0 converts to a ladder G and G to a list L; L keeps the elements
// (operands, comments) of L0 and gives every output the same value; L converts back to exactly
// G, and G to exactly L: a ladder made by the converter comes back cell for cell, and a list
// made by the converter line for line.
//
// The cases come from fixed seeds, so a failure repeats; the failures found while the
// converter was written are kept below as fixed cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <sstream>
#include <string>
#include <vector>

#include "core/convert/pattern_matching.h"
#include "core/convert/stl_analysis.h"
#include "core/convert/stl_generation.h"
#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/program/network.h"
#include "tests/core/convert/convert_test_support.h"
#include "tests/core/convert/stl_network_generator.h"

using namespace Brenno;
using namespace convert_test;
using namespace stl_generator;

namespace {

const InstructionLibrary& TypeFx() {
  static const InstructionLibrary library = [] {
    InstructionLibrary lib;
    ReadManagerFun(lib, platform::FromUtf8Lossy(testsupport::FixturePath("catalog/Orvisto/TypeFx/ManagerFun.xml")), 1);
    return lib;
  }();
  return library;
}

// The TypeA library with an up-down counter: a multi-output box with three power inputs.
const InstructionLibrary& TypeAWithUpDownCounter() {
  static const InstructionLibrary library = [] {
    std::ifstream in(testsupport::FixturePath("catalog/Orvisto/TypeA/ManagerFun.xml"), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto insertBefore = [&text](const std::string& tag, const std::string& what) {
      const std::size_t at = text.find(tag);
      if (at == std::string::npos) throw std::runtime_error("no " + tag + " in the fixture library");
      text.insert(at, what);
    };
    const std::string operands = R"(<FunOperand Name="C" Capacity="Wv:+:Cwv:" Const="Word"/>)"
                                 R"(<FunOperand Name="PV" Capacity="Wvc:" Const="Int"/>)";
    insertBefore("</FunOrg>", R"(<Unit Name="CTUD" Parent="Counter" Type="MultiOutput" Node="3"><Operand>)" +
                                  operands + "</Operand></Unit>\n");
    insertBefore("</FunStl>", R"(<Unit Name="CTUD" Parent="Counters" Slot="16#4A"><Operand>)" + operands +
                                  "</Operand></Unit>\n");
    insertBefore("</FunLad>", R"(<Unit Name="CTUD" Parent="Counters" Look="Block" Keyword="CTUD">)"
                              R"(<PowerIn><FunPower Name="CU"/><FunPower Name="CD"/><FunPower Name="R"/></PowerIn>)"
                              R"(<OperandId><FunOperand Name="C" Capacity="Wv:+:Cwv:" Const="Word"/></OperandId>)"
                              R"(<OperandIn><FunOperand Name="PV" Capacity="Wvc:" Const="Int"/></OperandIn></Unit>)"
                              "\n");
    const std::string rule =
        R"(<Unit><Left><Item Name="CTUD" Key="ab"/></Left><Right><Item Name="CTUD" Key="ab"/></Right></Unit>)";
    insertBefore("</ConvertStl>", rule + "\n");
    insertBefore("</ConvertLad>", rule + "\n");
    const testsupport::TempDir folder;
    const std::string path = folder.File("ManagerFun.xml");
    std::ofstream(path, std::ios::binary) << text;
    InstructionLibrary lib;
    ReadManagerFun(lib, platform::FromUtf8Lossy(path), 2);
    return lib;
  }();
  return library;
}

std::string Show(const std::vector<StlLine>& lines) {
  std::wstring text;
  for (const std::wstring& line : Text(lines)) text += line + L" | ";
  return platform::ToUtf8Lossy(text);
}

// The elements of a list as organisation units, without the system units, sorted: what must
// survive any conversion.
std::vector<std::wstring> ElementUnits(const InstructionLibrary& library, const std::vector<StlLine>& lines) {
  std::vector<StlElement> elements;
  ParseStlLines(library, lines, elements);
  std::vector<StlElement> units;
  for (auto at = elements.begin(); at != elements.end();) {
    if (!MatchInstructionPattern(library.StlToUnitRules, units, at, elements.end())) return {L"unconvertible"};
  }
  std::vector<std::wstring> out;
  for (const StlElement& unit : units) {
    if (UnitType(library, unit.definition) == kFunOrgTypeSys) continue;
    std::wstring text = library.FunOrgList[static_cast<std::size_t>(unit.definition)].Name;
    for (const std::wstring& operand : unit.operands) text += L" " + operand;
    for (const std::wstring& comment : unit.comments) text += L" //" + comment;
    out.push_back(text);
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::string Show(const LadderGrid& grid) {
  std::ostringstream text;
  for (const LadElement& e : grid.Elements) {
    text << "(" << e.Row << "," << e.Column << (e.InCell ? "" : "|") << ")";
    if (e.Kind != kLadKindLine) text << platform::ToUtf8Lossy(e.Name);
    text << " ";
  }
  return text.str();
}

struct RoundTripResult {
  bool ok = true;
  bool refused = false;   // L0 has no ladder: the first conversion gave an analysis error
  bool listKept = false;  // L is L0
  std::vector<StlLine> list;  // L
  std::string failure;
  std::string failureClass;  // the stage and the kind of the failure, without the network
};

// A generated statement list L0 becomes a ladder G, G a list L. Then:
// - L keeps the elements (operands, comments) of L0 and what every output receives;
// - L converts to exactly G (the ladder made by the converter comes back cell for cell);
// - G, converted again, gives exactly L (the list made by the converter comes back line for
//   line).
// A list that may have no ladder (`mayBeRefused`) may instead be refused by the first
// conversion with an analysis error, which leaves the network as it was; a logic error is a
// failure everywhere.
RoundTripResult CheckRoundTrip(const InstructionLibrary& library, const Vocabulary& vocabulary,
                               const std::vector<StlLine>& lines, bool mayBeRefused = false) {
  RoundTripResult result;
  auto fail = [&result, &lines](const std::string& what, const std::string& detail = "") {
    result.ok = false;
    result.failureClass = what;
    result.failure = what + (detail.empty() ? "" : " (" + detail + ")") + " in: " + Show(lines);
    return result;
  };
  const StlEvaluator evaluator(vocabulary);
  std::vector<std::vector<std::wstring>> expected(3);
  for (std::uint32_t seed = 0; seed < expected.size(); ++seed) {
    if (!evaluator.Run(lines, seed, expected[seed])) return fail("generated list misuses the stacks");
  }
  Network first;
  first.Kind = kNetworkStl;
  first.Lines = lines;
  const Network given = first;
  Network second;
  second.Kind = kNetworkStl;
  const char* stage = "conversion to ladder";
  try {
    try {
      ConvertToLad(library, first);
    } catch (const ExceptionAnalyzeError&) {
      if (!mayBeRefused) throw;
      if (first != given) return fail("refused list changed");
      result.refused = true;
      return result;
    }
    if (first.Kind != kNetworkLad) return fail("kind after conversion to ladder");
    stage = "conversion back to list";
    ConvertToStl(library, first);
    if (first.Kind != kNetworkStl) return fail("kind after conversion to list");
    result.list = first.Lines;
    result.listKept = first.Lines == lines;
    // A list that comes back as it was has just been converted to G and G back to it: both
    // identities are shown (the conversions are functions of their input).
    if (!result.listKept) {
      second.Lines = first.Lines;
      stage = "second conversion to ladder";
      ConvertToLad(library, second);
      if (second.Grid != first.Grid) {
        return fail("ladder changed", Show(first.Grid) + "-> " + Show(first.Lines) + "-> " + Show(second.Grid));
      }
      stage = "second conversion back to list";
      ConvertToStl(library, second);
      if (second.Lines != first.Lines) return fail("list changed", Show(first.Lines) + "-> " + Show(second.Lines));
    }
  } catch (const ExceptionError& error) {
    const std::string kind = dynamic_cast<const ExceptionAnalyzeError*>(&error) != nullptr ? "" : "logic ";
    return fail(kind + "error in " + stage + ": " + platform::ToUtf8Lossy(error.Message()));
  }
  if (ElementUnits(library, first.Lines) != ElementUnits(library, lines)) {
    return fail("elements changed", Show(first.Lines));
  }
  for (std::uint32_t seed = 0; seed < expected.size(); ++seed) {
    std::vector<std::wstring> records;
    if (!evaluator.Run(first.Lines, seed, records) || records != expected[seed]) {
      return fail("outputs differ", Show(first.Lines));
    }
  }
  return result;
}

// Runs the round trip over `cases` generated networks; reports the first few failures and the
// number of failures of each class.
void RunProperty(const InstructionLibrary& library, const Vocabulary& vocabulary, std::uint32_t seed, int cases,
                 const GeneratorLimits& limits) {
  NetworkGenerator generator(vocabulary, seed);
  int failures = 0;
  int refused = 0;
  std::map<std::string, int> classes;
  for (int i = 0; i < cases; ++i) {
    const std::vector<StlLine> lines = generator.Next(limits);
    const RoundTripResult result = CheckRoundTrip(library, vocabulary, lines, generator.MayBeRefused());
    refused += result.refused ? 1 : 0;
    if (result.ok) continue;
    ++classes[result.failureClass];
    if (++failures <= 5) ADD_FAILURE() << "case " << i << ": " << result.failure;
  }
  std::string summary;
  for (const auto& [what, count] : classes) summary += "\n  " + std::to_string(count) + " x " + what;
  EXPECT_EQ(failures, 0) << "of " << cases << " networks:" << summary;
  // The networks without a ladder stay a few.
  EXPECT_LT(refused, cases / 8);
}

std::vector<StlLine> Lines(const std::vector<std::wstring>& texts) {
  std::vector<StlLine> lines;
  for (const std::wstring& text : texts) {
    StlLine line;
    std::wstring body = text;
    if (const std::size_t slash = body.find(L" //"); slash != std::wstring::npos) {
      line.Comments.push_back(body.substr(slash + 3));
      body = body.substr(0, slash);
    }
    const std::size_t blank = body.find(L' ');
    line.Mnemonic = body.substr(0, blank);
    if (const std::size_t hash = line.Mnemonic.find(L'#'); hash != std::wstring::npos && hash > 0) {
      line.Variant = std::stoi(line.Mnemonic.substr(hash + 1));
      line.Mnemonic = line.Mnemonic.substr(0, hash);
    }
    if (blank != std::wstring::npos) {
      const std::wstring rest = body.substr(blank + 1);
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

}  // namespace

// Networks of up to about 16 elements in up to three rungs: large enough for nested blocks,
// boxes and branch points, small enough to run a few thousand under the sanitizers. Bigger
// networks go through the converter in the benchmark.
constexpr GeneratorLimits kPropertyLimits{3, 3, 16};

TEST(RoundTrip, GeneratedTypeANetworks) { RunProperty(TypeA(), TypeAVocabulary(), 20261210u, 1000, kPropertyLimits); }

TEST(RoundTrip, MoreGeneratedTypeANetworks) { RunProperty(TypeA(), TypeAVocabulary(), 4711u, 1000, kPropertyLimits); }

TEST(RoundTrip, GeneratedTypeFxNetworks) { RunProperty(TypeFx(), TypeFxVocabulary(), 977u, 600, kPropertyLimits); }

// Multi-output boxes with three power inputs (an up-down counter) beside those with two.
TEST(RoundTrip, GeneratedNetworksWithThreeInputCounters) {
  Vocabulary vocabulary = TypeAVocabulary();
  vocabulary.multiOutputs.push_back({L"CTUD", 2, 3});
  RunProperty(TypeAWithUpDownCounter(), vocabulary, 1414u, 400, kPropertyLimits);
}

// Lists already in the converter's form come back line for line, and their ladders cell for
// cell.
TEST(RoundTrip, FixedCases) {
  const std::vector<std::vector<std::wstring>> cases = {
      {L"LD a", L"LPS", L"A b", L"= p", L"LPP", L"A c", L"= q"},
      {L"LD a //first", L"O b", L"A c //third", L"= p //out"},
      {L"LD#2 a", L"AN b", L"S q,1", L"R r,2"},
      {L"LD a", L"LD b", L"O c", L"ALD", L"= p"},
      {L"LD a", L"A b", L"LD c", L"A d", L"OLD", L"= p"},
      {L"LD a", L"LD b", L"A c", L"SR m", L"A d", L"= p"},
      {L"LD a", L"LD b", L"A c", L"CTU C1,5"},
      {L"LBL 3", L"LD a", L"JMP 3", L"NEXT"},
      {L"LD a", L"LPS", L"A b", L"LPS", L"A c", L"= p", L"LPP", L"A d", L"= q", L"LRD", L"A e", L"= r", L"LPP",
       L"AN f", L"= s"},
      {L"LDI a", L"LDB< IB0,IB1", L"ALD", L"NOT", L"EU", L"MOVB IB2,QB0"},
      {L"LD a", L"= p", L"LDW> VW0,VW2", L"OW> VW4,VW6", L"+I VW0,VW2,VW8"},
      // Multi-output boxes beside other outputs on their nodes.
      {L"LD a", L"LD b", L"CTU C1,5", L"= p"},
      {L"LD a", L"LD b", L"CTU C1,5", L"LD c", L"CTU C2,6"},
      {L"LD a", L"LPS", L"A b", L"= p", L"LPP", L"A c", L"LD d", L"CTU C1,5"},
      {L"LD a", L"LPS", L"= p", L"LPP", L"NOT", L"= q"},
  };
  for (const std::vector<std::wstring>& texts : cases) {
    const std::vector<StlLine> lines = Lines(texts);
    const RoundTripResult result = CheckRoundTrip(TypeA(), TypeAVocabulary(), lines);
    EXPECT_TRUE(result.ok) << result.failure;
    EXPECT_TRUE(result.listKept) << Show(lines);
  }
}

// A counter whose count input hangs where a coil hangs: the ladder drawn from the list shares
// the node between the coil and the box, and comes back as the list it was drawn from.
TEST(RoundTrip, CounterSharingTheNodeOfACoilComesBack) {
  const std::vector<StlLine> lines = Lines({L"LD I0.0", L"= Q0.0", L"LD I0.1", L"CTU C0,10"});
  const RoundTripResult result = CheckRoundTrip(TypeA(), TypeAVocabulary(), lines);
  EXPECT_TRUE(result.ok) << result.failure;
  EXPECT_TRUE(result.listKept);
}

// A parallel block joined to a wider branch ("LD b / O c / OLD" after "LD a / NOT") is drawn as
// the chain of three branches it is read back as, so the ladder stays the same after a cycle.
TEST(RoundTrip, ParallelBlockJoinedToAWiderBranchRedrawsTheSame) {
  const RoundTripResult result = CheckRoundTrip(
      TypeA(), TypeAVocabulary(), Lines({L"LD a", L"NOT", L"LD b", L"O c", L"OLD", L"= q"}));
  EXPECT_TRUE(result.ok) << result.failure;
  EXPECT_EQ(Text(result.list), (std::vector<std::wstring>{L"LD a", L"NOT", L"O b", L"O c", L"= q"}));
}

// Found by the property: the box branch (I0.2, EU and I0.1 into SR) stands above the branch
// LDW>/A and the contact I1.0. The box's own cell lies further right than both, and joining
// complete branches in the order of their cells' columns put the box branch last, with the
// contact I1.0 joined to it first: the list came back as a right-nested OLD whose ladder had
// the branches in another order.
TEST(RoundTrip, BoxBranchAboveLaterBranchesKeepsItsPlace) {
  const std::vector<StlLine> lines =
      Lines({L"LDN#1 I1.3", L"R Q0_0,Q0_1", L"LD I0.2 //note 2", L"EU //note 3", L"LD I0.1", L"SR M1_0",
             L"LDW> I2.4,I0.3", L"A I0.2", L"OLD", L"O I1.0", L"R Q2_0,Q2_1", L"MOVW Q3_0,Q3_1 //note 11"});
  const RoundTripResult result = CheckRoundTrip(TypeA(), TypeAVocabulary(), lines);
  EXPECT_TRUE(result.ok) << result.failure;
  EXPECT_TRUE(result.listKept);
}

// Found by the property: a contact (d) below a branch that is still in pieces (b, c) was joined
// with the contact above (a) first, so the list came back with d before the branch b, c and
// its ladder had the branches in another order.
TEST(RoundTrip, ContactBelowAnUnfinishedBranchStaysBelowIt) {
  const std::vector<StlLine> lines = Lines({L"LD a", L"LD b", L"A c", L"OLD", L"O d", L"= p"});
  const RoundTripResult result = CheckRoundTrip(TypeA(), TypeAVocabulary(), lines);
  EXPECT_TRUE(result.ok) << result.failure;
  EXPECT_TRUE(result.listKept);
}

// A list written another way than the converter writes it comes back in the converter's form,
// which then round-trips: parallel blocks nested to the right are one chain, top branch first.
TEST(RoundTrip, ListInAnotherFormComesBackInTheConvertersForm) {
  const RoundTripResult result =
      CheckRoundTrip(TypeA(), TypeAVocabulary(), Lines({L"LD a", L"LD b", L"LD c", L"OLD", L"OLD", L"= p"}));
  EXPECT_TRUE(result.ok) << result.failure;
  EXPECT_EQ(Text(result.list), (std::vector<std::wstring>{L"LD a", L"O b", L"O c", L"= p"}));
}
