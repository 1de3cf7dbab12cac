// The text rules and the field checks of the instruction input box and its dialogs, on the
// fixture types.
#include "ui/views/instruction/instruction_checks.h"

#include <gtest/gtest.h>

#include "ui/views/instruction/instruction_test_support.h"

using namespace Brenno;
using instructiontest::InstructionEnvFixture;

TEST(InstructionText, SplitsAtTabsBlanksAndCommasWithoutEmptyTokens) {
  const struct {
    const wchar_t* text;
    std::vector<std::wstring> tokens;
  } cases[] = {
      {L"LD X0", {L"LD", L"X0"}},
      {L"LD,,X0", {L"LD", L"X0"}},
      {L"LD  X0", {L"LD", L"X0"}},
      {L"LD\tX0", {L"LD", L"X0"}},
      {L" ,\tMOV K1 , D0,", {L"MOV", L"K1", L"D0"}},
      {L"", {}},
      {L" , \t", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitInstructionText(c.text), c.tokens) << c.text;
}

TEST(InstructionText, JoinsNameTwoBlanksThenCommaSeparatedOperands) {
  EXPECT_EQ(JoinInstructionText({}), L"");
  EXPECT_EQ(JoinInstructionText({L"NEXT"}), L"NEXT");
  EXPECT_EQ(JoinInstructionText({L"LD", L"X0"}), L"LD  X0");
  EXPECT_EQ(JoinInstructionText({L"ADD", L"D0", L"K1", L"D2"}), L"ADD  D0, K1, D2");
  EXPECT_EQ(JoinOperandTokens({L"T0", L"K10"}), L"T0, K10");
  // The instruction dialog keeps empty operands, so a missing last operand leaves ", ".
  EXPECT_EQ(ComposeInstructionText(L"MOV_B", {L"VB0", L""}, 2), L"MOV_B  VB0, ");
  EXPECT_EQ(ComposeInstructionText(L"", {L"VB0", L"VB1"}, 2), L"VB0  VB1");
  EXPECT_EQ(ComposeInstructionText(L"NOPE", {L"A", L"B", L"C"}, 1), L"NOPE  A");
  EXPECT_EQ(ComposeDeviceOperands(L"Y0", L""), L"Y0");
  EXPECT_EQ(ComposeDeviceOperands(L"T0", L"K10"), L"T0, K10");
}

TEST_F(InstructionEnvFixture, ElementKindsFollowTheLibraryMnemonicsExactly) {
  Load("TypeFx");
  const InstructionLibrary& library = Project().Instructions;
  const struct {
    const wchar_t* token;
    int kind;
  } cases[] = {{L"LD", 0},  {L"LDI", 1}, {L"LDP", 2}, {L"LDF", 3}, {L"OUT", 4},
               {L"INV", 5}, {L"ld", 5},  {L"MOV", 5}, {L"", 5}};
  for (const auto& c : cases) EXPECT_EQ(ElementKindOfToken(library, c.token), c.kind) << c.token;
}

TEST_F(InstructionEnvFixture, ATypeWithoutContactMnemonicsKnowsOnlyBoxes) {
  Load("TypeA");
  EXPECT_EQ(ElementKindOfToken(Project().Instructions, L"LD"), kElementBox);
  EXPECT_EQ(ElementKindOfToken(Project().Instructions, L""), kElementBox);
}

TEST_F(InstructionEnvFixture, InstructionCheckOfTypeA) {
  Load("TypeA");
  const struct {
    std::vector<std::wstring> tokens;
    int block;
    bool valid;
  } cases[] = {
      {{L"LD", L"I0.0"}, -1, true},
      {{L"LD", L"i0.0"}, -1, true},
      {{L"LD"}, -1, false},                    // no LD without operand
      {{L"LD", L"I0.0", L"I0.1"}, -1, false},  // nor with two
      {{L"LD", L"VW0"}, -1, false},            // a word where a bit belongs
      {{L"MOV_B", L"VB0", L"VB1"}, -1, true},
      {{L"MOV_B", L"16#1F", L"VB1"}, -1, true},  // the input admits constants
      {{L"MOV_B", L"VB0", L"5"}, -1, false},     // the output does not
      {{L"MOV_B", L"300", L"VB1"}, -1, false},   // no byte constant
      {{L"LD", L"start"}, -1, true},             // global symbol
      {{L"MOV_W", L"level", L"VW2"}, -1, true},
      {{L"MOV_W", L"#speed", L"VW2"}, 0, true},  // local variable of the block
      {{L"MOV_W", L"speed", L"VW2"}, 0, true},
      {{L"MOV_W", L"#speed", L"VW2"}, -1, false},  // no block: no locals
      {{L"SBR_0"}, -1, true},                      // subroutine page name
      {{L"SBR0"}, -1, true},
      {{L"SBR_5"}, -1, false},         // no such page
      {{L"OUT", L"Q0.0"}, -1, false},  // no such instruction
      {{}, -1, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CheckInstructionTokens(Project(), c.tokens, c.block), c.valid)
        << JoinInstructionText(c.tokens) << " block " << c.block;
  }
}

TEST_F(InstructionEnvFixture, OperandCheckWithIndexRegistersAndConstantsOfTypeFx) {
  Load("TypeFx");
  const OperandSlot source{L"Wvzc:", 5};
  const OperandSlot target{L"Wvz:", 5};
  EXPECT_TRUE(CheckOperandText(Project(), L"D0Z1", source, -1));
  EXPECT_TRUE(CheckOperandText(Project(), L"K4M10", source, -1));
  EXPECT_TRUE(CheckOperandText(Project(), L"K100", source, -1));
  EXPECT_TRUE(CheckOperandText(Project(), L"K100Z1", source, -1));
  EXPECT_FALSE(CheckOperandText(Project(), L"K100", target, -1));
  EXPECT_FALSE(CheckOperandText(Project(), L"", source, -1));
  EXPECT_FALSE(CheckOperandText(Project(), L"D0", OperandSlot{}, -1));
  // A malformed format in the library is only "not valid".
  EXPECT_FALSE(CheckOperandText(Project(), L"D0", OperandSlot{L"Q", 5}, -1));
  EXPECT_FALSE(CheckOperandText(Project(), L"K1", OperandSlot{L"Wc:", 42}, -1));
}

TEST_F(InstructionEnvFixture, InstructionNameRecognitionNeedsOneDefinitionOfAtMostSixOperands) {
  Load("TypeFx");
  const auto mov = RecognizeInstructionName(Project(), L"MOV");
  ASSERT_TRUE(mov.has_value());
  EXPECT_EQ((*mov)[0], (OperandSlot{L"Wvzc:", 5}));
  EXPECT_EQ((*mov)[1], (OperandSlot{L"Wvz:", 5}));
  EXPECT_FALSE((*mov)[2].HasFormat());
  EXPECT_EQ((*mov)[2].DataType, -1);
  EXPECT_FALSE(RecognizeInstructionName(Project(), L"OUT").has_value());  // defined twice
  EXPECT_FALSE(RecognizeInstructionName(Project(), L"NOPE").has_value());
  EXPECT_TRUE(RecognizeInstructionName(Project(), L"SBR_0").has_value());

  FunLadRecord wide;
  wide.Name = L"WIDE";
  wide.OperandIn.assign(7, OperandDef{L"IN", L"Wv:", 2, 0});
  Project().Instructions.FunLadList.push_back(wide);
  EXPECT_FALSE(RecognizeInstructionName(Project(), L"WIDE").has_value());
  Project().Instructions.FunLadList.back().OperandIn.resize(6);
  EXPECT_TRUE(RecognizeInstructionName(Project(), L"WIDE").has_value());
}

TEST_F(InstructionEnvFixture, OperandListQueryCountsEachListOnItsOwn) {
  Load("TypeFx");
  const InstructionLibrary& library = Project().Instructions;
  std::vector<const FunLadRecord*> found;
  FilterLadElementDefsByOperandLists(found, library, {L"OUT", 0, 0, 1});
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0]->OperandOut[0].Capacity, L"Tv:");
  FilterLadElementDefsByOperandLists(found, library, {L"OUT", 0, 1, 0});
  EXPECT_TRUE(found.empty());
  FilterLadElementDefsByOperandLists(found, library, {L"MOV", 0, 1, 1});
  EXPECT_EQ(found.size(), 1u);
  EXPECT_EQ(FindSingleLadElementDef(library, {L"LD", 0, 1, 0}), &library.FunLadList[0]);
}

TEST(DeviceSlots, FormatsFollowTheSetValueAndTheCoilsPresent) {
  FunLadRecord one;
  one.OperandOut = {OperandDef{L"bit", L"Tv:", 0, 0}};
  FunLadRecord two;
  // The timer or counter is written (an output), its set value read (an input).
  two.OperandIn = {OperandDef{L"K", L"Wvc:", 5, 0}};
  two.OperandOut = {OperandDef{L"TC", L"Wv:", 2, 0}};
  const OperandSlot bit{L"Tv:", 0};
  const OperandSlot tc{L"Wv:", 2};
  const OperandSlot k{L"Wvc:", 5};
  const OperandSlot none;
  const struct {
    bool setValueEmpty;
    const FunLadRecord* one;
    const FunLadRecord* two;
    OperandSlot device;
    OperandSlot setValue;
  } cases[] = {
      {false, &one, &two, tc, k},           {false, nullptr, &two, tc, k}, {false, &one, nullptr, none, none},
      {true, &one, nullptr, bit, none},     {true, &one, &two, bit, k},    {true, nullptr, &two, tc, k},
      {true, nullptr, nullptr, none, none},
  };
  for (const auto& c : cases) {
    const CoilDefinitions coils{c.one, c.two, c.two != nullptr ? &two.OperandOut[0] : nullptr,
                                c.two != nullptr ? &two.OperandIn[0] : nullptr};
    const DeviceSlots chosen = ChooseDeviceSlots(coils, c.setValueEmpty);
    EXPECT_EQ(chosen.Device, c.device);
    EXPECT_EQ(chosen.SetValue, c.setValue);
  }
}
