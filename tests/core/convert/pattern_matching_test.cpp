#include "core/convert/pattern_matching.h"

#include <gtest/gtest.h>

#include "tests/core/convert/convert_test_support.h"

using namespace Brenno;

namespace {

// Definition numbers of a made-up vocabulary: unit U (one operand), the AND unit, and the
// statement-list instructions P and Q (one operand each).
constexpr int kU = 10;
constexpr int kAnd = 5;
constexpr int kP = 20;
constexpr int kQ = 21;

ElementOperand Item(int slot, const std::wstring& key) { return ElementOperand{slot, L"", key}; }

StlElement Unit(int definition, std::vector<std::wstring> operands, std::vector<std::wstring> comments = {},
                int variant = 0) {
  StlElement e;
  e.definition = definition;
  e.variant = variant;
  e.operands = std::move(operands);
  e.comments = std::move(comments);
  return e;
}

// R2 = [U a, U b, AND] -> [P a, Q b] in working order before R1 = [U a] -> [P a].
std::vector<ConvertRule> ExampleRules() {
  ConvertRule r1{{Item(kU, L"a")}, {Item(kP, L"a")}};
  ConvertRule r2{{Item(kU, L"a"), Item(kU, L"b"), Item(kAnd, L"")}, {Item(kP, L"a"), Item(kQ, L"b")}};
  return {r2, r1};
}

TEST(PatternMatching, LongerRuleWinsAndLoneUnitFallsBackToShorterRule) {
  const std::vector<StlElement> units{Unit(kU, {L"x1"}, {L"c1"}, 3), Unit(kU, {L"x2"}, {L"c2"}),
                                      Unit(kAnd, {}, {L"c3"}), Unit(kU, {L"x3"}, {L"c4"}, 7)};
  const std::vector<ConvertRule> rules = ExampleRules();
  std::vector<StlElement> out;
  std::size_t position = 0;
  ASSERT_TRUE(MatchInstructionPattern(rules, out, units, position));
  EXPECT_EQ(position, 3u);
  ASSERT_EQ(out.size(), 2u);
  // Not one-to-one: variant 0; P gets the first comment, Q (the last) everything after it.
  EXPECT_EQ(out[0], Unit(kP, {L"x1"}, {L"c1"}, 0));
  EXPECT_EQ(out[1], Unit(kQ, {L"x2"}, {L"c2", L"c3"}, 0));

  ASSERT_TRUE(MatchInstructionPattern(rules, out, units, position));
  EXPECT_EQ(position, 4u);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[2], Unit(kP, {L"x3"}, {L"c4"}, 7));  // one-to-one keeps the variant
}

TEST(PatternMatching, NoMatchLeavesOutputAndPositionAlone) {
  const std::vector<ConvertRule> onlyLong{ExampleRules()[0]};
  std::vector<StlElement> out{Unit(kP, {L"keep"})};
  // A two-item pattern never matches at the last element.
  const std::vector<StlElement> units{Unit(kU, {L"x1"}), Unit(kU, {L"x2"})};
  std::size_t position = 1;
  EXPECT_FALSE(MatchInstructionPattern(onlyLong, out, units, position));
  EXPECT_EQ(position, 1u);
  ASSERT_EQ(out.size(), 1u);
  // An operand count that differs from the key length does not match either.
  const std::vector<ConvertRule> single{ExampleRules()[1]};
  const std::vector<StlElement> twoOperands{Unit(kU, {L"x", L"y"})};
  position = 0;
  EXPECT_FALSE(MatchInstructionPattern(single, out, twoOperands, position));
  EXPECT_EQ(position, 0u);
  EXPECT_EQ(out.size(), 1u);
}

TEST(PatternMatching, SharedKeyDemandsEqualOperands) {
  const std::vector<ConvertRule> rules{ConvertRule{{Item(kU, L"a"), Item(kU, L"a")}, {Item(kP, L"a")}}};
  struct Case {
    std::wstring first, second;
    bool matches;
  } cases[] = {{L"M0.0", L"M0.0", true}, {L"M0.0", L"m0.0", false}, {L"M0.0", L"M0.00", false}};
  for (const Case& c : cases) {
    const std::vector<StlElement> units{Unit(kU, {c.first}), Unit(kU, {c.second})};
    std::vector<StlElement> out;
    std::size_t position = 0;
    EXPECT_EQ(MatchInstructionPattern(rules, out, units, position), c.matches) << c.second;
  }
}

TEST(PatternMatching, RuleWithoutRightSideConsumesOnly) {
  const std::vector<ConvertRule> rules{ConvertRule{{Item(kAnd, L"")}, {}}};
  const std::vector<StlElement> units{Unit(kAnd, {}, {L"lost"})};
  std::vector<StlElement> out;
  std::size_t position = 0;
  ASSERT_TRUE(MatchInstructionPattern(rules, out, units, position));
  EXPECT_EQ(position, 1u);
  EXPECT_TRUE(out.empty());
}

TEST(PatternMatching, LadderCellsInAndOut) {
  const InstructionLibrary& lib = convert_test::TypeA();
  const int ld = convert_test::FunLadIndex(lib, L"LD");
  LadCell cell;
  cell.definition = ld;
  cell.variant = 2;
  cell.operands = {L"I0.3"};
  cell.comments = {L"start"};
  cell.powerIn = {0};
  cell.powerOut = {0};
  cell.width = 1;
  std::vector<StlElement> units;
  std::size_t position = 0;
  ASSERT_TRUE(MatchInstructionPattern(lib.LadToUnitRules, units, std::vector<LadCell>{cell}, position));
  ASSERT_EQ(units.size(), 1u);
  EXPECT_EQ(units[0], Unit(convert_test::FunOrgIndex(lib, L"CONT"), {L"I0.3"}, {L"start"}, 2));

  // Back to a cell: the four element fields only; pins, width and links stay default.
  std::vector<LadCell> cells;
  position = 0;
  ASSERT_TRUE(MatchInstructionPattern(lib.UnitToLadRules, cells, units, position));
  ASSERT_EQ(cells.size(), 1u);
  LadCell expected;
  expected.definition = ld;
  expected.variant = 2;
  expected.operands = {L"I0.3"};
  expected.comments = {L"start"};
  EXPECT_EQ(cells[0], expected);
}

TEST(PatternMatching, FixtureUnitsToListPreferTheTwoUnitRule) {
  const InstructionLibrary& lib = convert_test::TypeA();
  const int cont = convert_test::FunOrgIndex(lib, L"CONT");
  const std::vector<StlElement> units{Unit(cont, {L"I0.0"}), Unit(cont, {L"I0.1"}), Unit(lib.SysAnd, {}),
                                      Unit(lib.SysAnd, {})};
  std::vector<StlElement> out;
  std::size_t position = 0;
  while (position < units.size()) ASSERT_TRUE(MatchInstructionPattern(lib.UnitToStlRules, out, units, position));
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(lib.FunStlList[out[0].definition].Name, L"LD");
  EXPECT_EQ(lib.FunStlList[out[1].definition].Name, L"A");
  EXPECT_EQ(out[1].operands, std::vector<std::wstring>{L"I0.1"});
  EXPECT_EQ(lib.FunStlList[out[2].definition].Name, L"ALD");
}

}  // namespace
