#include "core/program/stl_line.h"

#include <gtest/gtest.h>

#include "program_test_support.h"

namespace {

using Brenno::StlLine;

StlLine Line(std::wstring mnemonic, int variant, std::vector<std::wstring> operands,
             std::vector<std::wstring> comments = {}) {
  return StlLine{std::move(mnemonic), variant, std::move(operands), std::move(comments)};
}

TEST(StlLineText, TokenisingTreatsEverySeparatorRunAsOne) {
  struct Case {
    std::wstring text;
    std::vector<std::wstring> tokens;
  } cases[] = {
      {L"LD I0.0,,  I0.1", {L"LD", L"I0.0", L"I0.1"}},
      {L"\tA ,I0.0 , ", {L"A", L"I0.0"}},
      {L"LD  I0.0  //x, y z", {L"LD", L"I0.0"}},
      {L"", {L""}},
      {L" ,\t", {L""}},
      {L"//only", {L""}},
  };
  for (const Case& c : cases) EXPECT_EQ(Brenno::TokenizeStlText(c.text), c.tokens) << c.text.size();
}

TEST(StlLineText, FormatsTokensOperandsAndComment) {
  struct Case {
    StlLine line;
    std::wstring text;
  } cases[] = {
      {Line(L"LD", 0, {L"I0.0"}), L"LD  I0.0"},
      {Line(L"S", 0, {L"Q0.0", L"2"}, {L"set"}), L"S  Q0.0, 2  //set"},
      {Line(L"LD", 2, {L"I0.0"}), L"LD#2  I0.0"},
      {Line(L"NOT", 0, {}), L"NOT"},
      {Line(L"", 0, {}, {L"note", L"hidden"}), L"//note"},
      {Line(L"", 0, {}), L""},
  };
  for (const Case& c : cases) {
    std::wstring text;
    EXPECT_TRUE(Brenno::FormatStlLine(c.line, text));
    EXPECT_EQ(text, c.text);
  }
}

TEST(StlLineRecords, EqualityCoversEveryCommentEntry) {
  EXPECT_TRUE(Brenno::StlLinesEqual(Line(L"LD", 0, {L"I0.0"}, {L"a"}), Line(L"LD", 0, {L"I0.0"}, {L"a"})));
  EXPECT_FALSE(Brenno::StlLinesEqual(Line(L"LD", 0, {L"I0.0"}, {L"a", L"b"}), Line(L"LD", 0, {L"I0.0"}, {L"a", L"c"})));
  EXPECT_FALSE(Brenno::StlLinesEqual(Line(L"LD", 1, {L"I0.0"}), Line(L"LD", 0, {L"I0.0"})));
}

class StlParse : public programtest::ProjectFixture {
 protected:
  Brenno::PageViewState Page(bool symbolic = false) {
    Brenno::PageViewState page;
    page.PageId = 0;
    page.ViewMode = 1;
    page.Symbolic = symbolic;
    return page;
  }
};

TEST_F(StlParse, KnownInstructionsAreParsedWithVariantAndComment) {
  StlLine line;
  ASSERT_TRUE(Brenno::ParseStlLine(L"LD#2 I0.0 //start", line, Page()));
  EXPECT_TRUE(Brenno::StlLinesEqual(line, Line(L"LD", 2, {L"I0.0"}, {L"start"})));
  std::wstring text;
  Brenno::FormatStlLine(line, text);
  EXPECT_EQ(text, L"LD#2  I0.0  //start");

  StlLine set;
  ASSERT_TRUE(Brenno::ParseStlLine(L"S Q0.1,,3", set, Page()));
  EXPECT_EQ(set.Operands, (std::vector<std::wstring>{L"Q0.1", L"3"}));
}

TEST_F(StlParse, UnknownTextIsKeptAsTyped) {
  // Wrong letter case, too many operands, too few, unknown mnemonic: no definition matches; the
  // text lines keep every token and the comment.
  const std::vector<std::wstring> texts = {L"ld I0.0", L"LD I0.0, I0.1", L"LD", L"FOO  X, Y  //why", L"", L"X#abc  1"};
  std::vector<StlLine> lines;
  ASSERT_TRUE(Brenno::ParseStlTextLines(lines, texts, Page()));
  ASSERT_EQ(lines.size(), texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    StlLine probe;
    EXPECT_FALSE(Brenno::ParseStlLine(texts[i], probe, Page())) << i;
  }
  EXPECT_TRUE(Brenno::StlLinesEqual(lines[0], Line(L"ld", 0, {L"I0.0"})));
  EXPECT_TRUE(Brenno::StlLinesEqual(lines[1], Line(L"LD", 0, {L"I0.0", L"I0.1"})));
  EXPECT_TRUE(Brenno::StlLinesEqual(lines[2], Line(L"LD", 0, {})));
  EXPECT_TRUE(Brenno::StlLinesEqual(lines[3], Line(L"FOO", 0, {L"X", L"Y"}, {L"why"})));
  EXPECT_TRUE(Brenno::StlLinesEqual(lines[4], Line(L"", 0, {})));
  EXPECT_TRUE(Brenno::StlLinesEqual(lines[5], Line(L"X#abc", 0, {L"1"})));
  std::vector<std::wstring> back;
  Brenno::StlLinesToText(back, lines);
  EXPECT_EQ(back[3], L"FOO  X, Y  //why");
  EXPECT_EQ(back[5], L"X#abc  1");
}

TEST_F(StlParse, CommentOnlyLineBecomesABlankLineWithTheComment) {
  std::vector<StlLine> lines;
  Brenno::ParseStlTextLines(lines, {L"  // note"}, Page());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(Brenno::StlLinesEqual(lines[0], Line(L"", 0, {}, {L" note"})));
}

TEST_F(StlParse, SymbolsAndSubroutineNamesFollowThePageForm) {
  testsupport::AddGlobalSymbol(Project().Symbols, L"Start", L"I0.0");
  StlLine absolute;
  ASSERT_TRUE(Brenno::ParseStlLine(L"LD Start", absolute, Page(false)));
  EXPECT_EQ(absolute.Operands, std::vector<std::wstring>{L"I0.0"});
  StlLine symbolic;
  ASSERT_TRUE(Brenno::ParseStlLine(L"LD I0.0", symbolic, Page(true)));
  EXPECT_EQ(symbolic.Operands, std::vector<std::wstring>{L"Start"});

  // A call typed with the subroutine's page name is stored by address, shown by name.
  StlLine call;
  ASSERT_TRUE(Brenno::ParseStlLine(L"SBR_0", call, Page(false)));
  EXPECT_EQ(call.Mnemonic, L"SBR0");
  StlLine shown;
  ASSERT_TRUE(Brenno::ParseStlLine(L"SBR_0", shown, Page(true)));
  EXPECT_EQ(shown.Mnemonic, L"SBR_0");
}

TEST_F(StlParse, SymbolRewritingTwiceGivesTheTextsBack) {
  testsupport::AddGlobalSymbol(Project().Symbols, L"Start", L"I0.0");
  testsupport::AddGlobalSymbol(Project().Symbols, L"Lamp", L"Q0.0");
  const std::vector<StlLine> original = {Line(L"LD", 0, {L"I0.0"}), Line(L"=", 0, {L"Q0.0"}, {L"c"}),
                                         Line(L"SBR0", 0, {}), Line(L"A", 0, {L"M0.0"})};
  std::vector<StlLine> lines = original;
  Brenno::StlLinesToSymbols(0, lines);
  EXPECT_EQ(lines[0].Operands[0], L"Start");
  EXPECT_EQ(lines[1].Operands[0], L"Lamp");
  EXPECT_EQ(lines[2].Mnemonic, L"SBR_0");
  EXPECT_EQ(lines[3].Operands[0], L"M0.0");
  Brenno::StlLinesToAddresses(0, lines);
  EXPECT_EQ(lines, original);
}

TEST_F(StlParse, ReplaceNeedsAnExactOperandAtTheHit) {
  std::vector<StlLine> lines = {Line(L"LD", 0, {L"I0.0"})};
  Brenno::ProgramSearchHit hit;
  hit.Kind = Brenno::kSearchHitStlOperand;
  hit.Line = 0;
  hit.Operand = 0;
  EXPECT_FALSE(Brenno::ReplaceStlOperand(lines, hit, L"i0.0", L"I0.1"));
  EXPECT_TRUE(Brenno::ReplaceStlOperand(lines, hit, L"I0.0", L"I0.1"));
  EXPECT_EQ(lines[0].Operands[0], L"I0.1");
  hit.Operand = 1;
  EXPECT_FALSE(Brenno::ReplaceStlOperand(lines, hit, L"I0.1", L"I0.2"));
  hit.Line = 5;
  EXPECT_FALSE(Brenno::ReplaceStlOperand(lines, hit, L"I0.1", L"I0.2"));
}

}  // namespace
