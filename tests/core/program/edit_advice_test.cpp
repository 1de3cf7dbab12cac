// What the editor says about input it cannot take: instruction text a ladder cell refuses (a
// statement-list mnemonic with the ladder element its conversion rules give, a call written with
// CALL, a name in the wrong letter case, too many operands), boxes that cannot stand in the first
// column, statement list typed as a comment, and real values shortened to fit their place.
#include "core/program/edit_advice.h"

#include <gtest/gtest.h>

#include "core/env/language.h"
#include "core/program/ladder_edit.h"
#include "core/program/ladder_metrics.h"
#include "core/program/operand_display.h"
#include "core/program/program_block.h"
#include "ladder_test_elements.h"
#include "ladder_test_services.h"
#include "platform/text_codec.h"

namespace Brenno {
namespace {

class EditAdvice : public ::testing::Test {
 protected:
  EditAdvice() {
    SetCurrentLanguage(kLanguageEnglish);
    SetLadderMetrics(100, false);
    state_.PageId = 0;
    state_.ViewMode = kViewModeLad;
    state_.CursorColumn = 1;
    state_.CursorRow = 0;
  }
  ~EditAdvice() override { SetCurrentLanguage(kLanguageEnglish); }

  static bool Holds(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

  ladder_test::FakeProgramServices services_;
  PageViewState state_;
};

TEST_F(EditAdvice, RefusedTextSaysWhatTheCellExpects) {
  struct Case {
    std::wstring typed;
    std::vector<std::wstring> said;  // empty: the text makes an element, nothing to say
  } cases[] = {
      // Statement-list mnemonics: the ladder element of the conversion rules, with the operands.
      {L"MOVW VW200, VW202", {L"\"MOVW\" is a statement-list instruction", L"MOV_W  VW200, VW202"}},
      {L"+I VW0, VW2, VW4", {L"ADD_I  VW0, VW2, VW4"}},
      // ... and which typed operand that element does not take, or how many it takes.
      {L"MOVW VW200, IB3", {L"MOV_W  VW200, IB3", L"\"IB3\" does not fit OUT"}},
      {L"MOVW VW200", {L"MOV_W takes 2 operand(s) (IN, OUT); 1 typed."}},
      {L"ALD", {L"\"ALD\" is a statement-list instruction that has no ladder element of its own"}},
      // A call as other systems write it: the subroutine's own name (page name or address).
      {L"CALL SBR0", {L"A subroutine is called by its name alone", L"    Pump", L"its address SBR0"}},
      {L"call Pump", {L"    Pump"}},
      {L"CALL", {L"for example", L"    Pump"}},
      {L"mov_w VW0, VW2", {L"names are written as the library writes them: MOV_W."}},
      {L"MOV_W VW0, VW2, VW4", {L"MOV_W takes 2 operand(s) (IN, OUT); 3 were typed:", L"VW0, VW2, VW4",
                                L"Nothing was placed."}},
      {L"FROB I0.0", {L"\"FROB\" is no ladder element of this PLC type", L"\"Instructions\""}},
      {L"MOV_W VW0, VW2", {}},
      {L"Pump", {}},
      {L"LD I0.0//start", {}},
      {L"  ", {}},
  };
  for (const Case& c : cases) {
    const std::wstring said = ExplainRefusedElementText(c.typed, state_);
    const std::string typed = platform::ToUtf8Lossy(c.typed);
    if (c.said.empty()) {
      EXPECT_TRUE(said.empty()) << typed << ": " << platform::ToUtf8Lossy(said);
      continue;
    }
    LadElement element;
    EXPECT_FALSE(ParseLadElementText(c.typed, element, state_)) << typed << " is refused by the cell";
    for (const std::wstring& part : c.said) {
      EXPECT_TRUE(Holds(said, part)) << typed << " -> " << platform::ToUtf8Lossy(said);
    }
  }

  SetCurrentLanguage(kLanguageChinese);
  const std::wstring chinese = ExplainRefusedElementText(L"MOVW VW200, VW202", state_);
  EXPECT_TRUE(Holds(chinese, L"“MOVW”是指令表指令")) << platform::ToUtf8Lossy(chinese);
  EXPECT_TRUE(Holds(chinese, L"MOV_W  VW200, VW202"));
  EXPECT_TRUE(Holds(ExplainRefusedElementText(L"CALL SBR0", state_), L"调用子程序只需输入它的名称"));
}

TEST_F(EditAdvice, BoxesWithInputOperandsCannotStandInTheFirstColumn) {
  LadElement box;
  ASSERT_TRUE(ParseLadElementText(L"MOV_W VW0, VW2", box, state_));
  state_.CursorColumn = 0;
  EXPECT_EQ(ExplainRefusedPlacement(box, state_),
            L"MOV_W cannot stand in the first column: its input operands are written in the cell to its left. "
            L"Place it one column further right.");
  LadElement coil;
  ASSERT_TRUE(ParseLadElementText(L"NEXT", coil, state_));
  EXPECT_TRUE(ExplainRefusedPlacement(coil, state_).empty());
  state_.CursorColumn = 1;
  EXPECT_TRUE(ExplainRefusedPlacement(box, state_).empty());
}

TEST_F(EditAdvice, TheRemovalQuestionNamesWhatGoes) {
  LadElement box;
  ASSERT_TRUE(ParseLadElementText(L"ADD_I VW0, VW2, VW4", box, state_));
  const std::wstring asked = AskRemoveForPlacement(PlacedLineText(false), 1, {box, ladder_test::HLine(0, 1)}, state_);
  EXPECT_EQ(asked,
            L"Placing the horizontal line here removes from NETWORK 1:\n    ADD_I  VW0, VW2, VW4\n    horizontal line"
            L"\n\nPlace it and remove what is listed? (Edit > Undo brings it back.)");
  SetCurrentLanguage(kLanguageChinese);
  EXPECT_TRUE(Holds(AskRemoveForPlacement(PlacedPasteText(), 1, {box}, state_), L"在此放置粘贴的元件将从网络 1 中删除"));
}

TEST_F(EditAdvice, StatementListTypedAsAComment) {
  state_.ViewMode = kViewModeStl;
  struct Case {
    std::vector<std::wstring> lines;
    bool program;
  } cases[] = {
      {{L"LD I0.0", L"TON T37, 100"}, true},
      {{L"", L"LD I0.0", L""}, true},
      {{L"LD I0.0", L"start the pump"}, false},
      {{L"Motor on while the button is held"}, false},
      {{L"//LD I0.0"}, false},
      {{L""}, false},
      {{}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadsAsStatementList(c.lines, state_), c.program) << c.lines.size();
  EXPECT_EQ(AskMoveCommentToProgram(1, {L"LD I0.0", L"", L"TON T37, 100"}),
            L"The comment of NETWORK 1 reads as statement list:\n    LD I0.0\n    TON T37, 100\n\nThe program of a "
            L"network goes in the box below its comment. Move these lines into the program?");
}

TEST(CompactRealText, FewerDigitsAndAShortExponent) {
  struct Case {
    double value;
    int digits;
    std::wstring text;
  } cases[] = {
      {1339460.0, 6, L"1.33946e6"}, {1339460.0, 3, L"1.34e6"}, {-0.000025, 2, L"-2.5e-5"},
      {12.5, 5, L"12.5"},           {0.0, 4, L"0"},            {1e10, 2, L"1e10"},
  };
  for (const Case& c : cases) EXPECT_EQ(CompactRealText(c.value, c.digits), c.text) << c.value;
}

}  // namespace
}  // namespace Brenno
