// Round trip between the two forms of a network, as a property over generated networks:
//
// - every generated statement list converts to ladder and back to a statement list with the
//   same elements (operands, comments) that gives every output the same value;
// - a statement list in the converter's own form converts to ladder and back to the same lines;
// - a ladder in the converter's own layout converts to a statement list and back to the same
//   grid.
//
// The cases come from a fixed seed, so a failure repeats; the failures found while the
// converter was written are kept below as fixed cases.
#include <gtest/gtest.h>

#include <algorithm>
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

struct RoundTripResult {
  bool ok = true;
  int rounds = 0;  // list -> ladder -> list rounds until the list came back unchanged
  std::string failure;
};

// Runs a statement list through list -> ladder -> list rounds until it comes back line for
// line. The list it settles on must keep the elements (operands, comments) and what every output
// receives. The list that comes back unchanged is in the converter's normal form: it converts
// to a ladder and back to the same lines, and that ladder converts to the same list and, the
// conversion being deterministic, back to the same ladder.
RoundTripResult CheckRoundTrip(const InstructionLibrary& library, const Vocabulary& vocabulary,
                               const std::vector<StlLine>& lines) {
  constexpr int kMaxRounds = 3;
  RoundTripResult result;
  auto fail = [&result, &lines](const std::string& what) {
    result.ok = false;
    result.failure = what + " in: " + Show(lines);
    return result;
  };
  const StlEvaluator evaluator(vocabulary);
  std::vector<std::vector<std::wstring>> expected(3);
  for (std::uint32_t seed = 0; seed < expected.size(); ++seed) {
    if (!evaluator.Run(lines, seed, expected[seed])) return fail("generated list misuses the stacks");
  }
  std::vector<StlLine> current = lines;
  try {
    for (result.rounds = 1; result.rounds <= kMaxRounds; ++result.rounds) {
      Network network;
      network.Kind = kNetworkStl;
      network.Lines = current;
      ConvertToLad(library, network);
      if (network.Kind != kNetworkLad) return fail("kind after conversion to ladder");
      ConvertToStl(library, network);
      if (network.Kind != kNetworkStl) return fail("kind after conversion to list");
      if (network.Lines == current) break;
      current = network.Lines;
    }
  } catch (const ExceptionError& error) {
    return fail("error " + platform::ToUtf8Lossy(error.Message()) + " on " + Show(current));
  }
  if (result.rounds > kMaxRounds) return fail("no normal form after " + std::to_string(kMaxRounds) + " rounds");
  // An element lost or a meaning changed in any round would show in the normal form.
  if (ElementUnits(library, current) != ElementUnits(library, lines)) {
    return fail("elements changed (" + Show(current) + ")");
  }
  for (std::uint32_t seed = 0; seed < expected.size(); ++seed) {
    std::vector<std::wstring> records;
    if (!evaluator.Run(current, seed, records) || records != expected[seed]) {
      return fail("outputs differ (" + Show(current) + ")");
    }
  }
  return result;
}

void RunProperty(const InstructionLibrary& library, const Vocabulary& vocabulary, std::uint32_t seed, int cases,
                 const GeneratorLimits& limits) {
  NetworkGenerator generator(vocabulary, seed);
  int normalCount = 0;
  int failures = 0;
  for (int i = 0; i < cases; ++i) {
    const std::vector<StlLine> lines = generator.Next(limits);
    const RoundTripResult result = CheckRoundTrip(library, vocabulary, lines);
    if (!result.ok && ++failures <= 5) ADD_FAILURE() << "case " << i << ": " << result.failure;
    if (result.ok && result.rounds == 1) ++normalCount;
  }
  EXPECT_EQ(failures, 0);
  // Most generated lists are already in normal form, so the identity is checked on them
  // directly and not only after normalising rounds.
  EXPECT_GT(normalCount, cases / 2);
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
  };
  for (const std::vector<std::wstring>& texts : cases) {
    const std::vector<StlLine> lines = Lines(texts);
    const RoundTripResult result = CheckRoundTrip(TypeA(), TypeAVocabulary(), lines);
    EXPECT_TRUE(result.ok) << result.failure;
    EXPECT_EQ(result.rounds, 1) << Show(lines);
  }
}

// Found by the property: the ladder analysis joins a parallel branch that is complete early
// (the single contact I1.0) with the box branch below it before the series branch above it is
// complete, so the first list written is a right-nested OLD; its own ladder then reads as the
// left-nested form, which is stable. Same elements and outputs each round.
TEST(RoundTrip, ListThatSettlesAfterTwoRounds) {
  const std::vector<StlLine> lines =
      Lines({L"LDN#1 I1.3", L"R Q0_0,Q0_1", L"LD I0.2 //note 2", L"EU //note 3", L"LD I0.1", L"SR M1_0",
             L"LDW> I2.4,I0.3", L"A I0.2", L"OLD", L"O I1.0", L"R Q2_0,Q2_1", L"MOVW Q3_0,Q3_1 //note 11"});
  const RoundTripResult result = CheckRoundTrip(TypeA(), TypeAVocabulary(), lines);
  EXPECT_TRUE(result.ok) << result.failure;
  EXPECT_EQ(result.rounds, 3);
}

