// The instruction catalogue of the reference dialog: recognition, width lines and the mnemonic of
// a choice, on the fixture catalogue and on small catalogues built here.
#include "ui/views/instruction/instruction_refer_model.h"

#include <gtest/gtest.h>

#include "ui/views/instruction/instruction_test_support.h"

using namespace Brenno;
using instructiontest::InstructionEnvFixture;

namespace {

// A catalogue of one group "Move" with MOV in BYTE, WORD and DWORD and a pulse DWORD form, and a
// second group "Other" with another MOV that has only the BOOL form and an entry without forms.
InstructionLibrary PulseCatalogue() {
  InstructionLibrary library;
  for (const wchar_t* name : {L"MOVB", L"MOVW", L"MOVD", L"DMOVP", L"MOVT"}) {
    FunLadRecord record;
    record.Name = name;
    library.FunLadList.push_back(record);
  }
  LadInstructionItem mov{L"MOV", {{2, 0}, {4, 1}, {8, 2}, {8 | 16, 3}}, L"Move data", 2 | 4 | 8 | 16};
  LadInstructionItem other{L"MOV", {{1, 4}}, L"", 1};
  LadInstructionItem bare{L"BARE", {}, L"", 0};
  library.LadInstructionCatalog = {LadInstructionGroup{L"Move", {mov}}, LadInstructionGroup{L"Other", {other, bare}},
                                   LadInstructionGroup{L"Empty", {}}};
  return library;
}

}  // namespace

TEST(InstructionReferModel, WidthLinesAndTheLineOfAForm) {
  using M = InstructionReferModel;
  EXPECT_EQ(M::WidthLines(2 | 8 | 16), (std::vector<std::wstring>{L"BYTE", L"DWORD"}));
  EXPECT_TRUE(M::WidthLines(16).empty());
  EXPECT_EQ(M::WidthLineForFlags(2 | 8, 8), 1);
  EXPECT_EQ(M::WidthLineForFlags(2 | 8, 2 | 8), 1);  // the widest wins
  EXPECT_EQ(M::WidthLineForFlags(2 | 8, 16), 0);     // no width: the first line
  EXPECT_EQ(M::WidthLineForFlags(16, 16), -1);
  EXPECT_EQ(M::WidthFlagOfText(L"WORD"), 4);
  EXPECT_EQ(M::WidthFlagOfText(L""), 0);
}

TEST(InstructionReferModel, RecognisesBaseNamesThenMnemonics) {
  const InstructionLibrary library = PulseCatalogue();
  const InstructionReferModel model(library);
  EXPECT_EQ(model.Recognize(L"MOV"), (ReferChoice{0, 0, 2}));
  EXPECT_EQ(model.Recognize(L"DMOVP"), (ReferChoice{0, 0, 8 | 16}));
  EXPECT_EQ(model.Recognize(L"MOVT"), (ReferChoice{1, 0, 1}));
  EXPECT_EQ(model.Recognize(L"BARE"), (ReferChoice{1, 1, 0}));
  EXPECT_FALSE(model.Recognize(L"mov").has_value());
  EXPECT_EQ(model.EntryLines(0), (std::vector<std::wstring>{L"MOV    [Move data]"}));
  EXPECT_EQ(model.EntryLines(1), (std::vector<std::wstring>{L"MOV", L"BARE"}));
  EXPECT_TRUE(model.EntryLines(2).empty());
  EXPECT_FALSE(model.FirstEntryOf(2).has_value());
  EXPECT_EQ(model.Entry(2, 0), nullptr);
}

TEST(InstructionReferModel, OkTakesTheFirstEntryWithTheChosenForm) {
  const InstructionLibrary library = PulseCatalogue();
  const InstructionReferModel model(library);
  EXPECT_EQ(model.Resolve(L"MOV", L"DWORD", true), L"DMOVP");
  EXPECT_EQ(model.Resolve(L"MOV", L"WORD", false), L"MOVW");
  // Only the second MOV has a BOOL form.
  EXPECT_EQ(model.Resolve(L"MOV", L"BOOL", false), L"MOVT");
  // No such form: the base name as typed.
  EXPECT_EQ(model.Resolve(L"MOV", L"WORD", true), L"MOV");
  EXPECT_EQ(model.Resolve(L"BARE", L"", false), L"BARE");
  EXPECT_EQ(model.Resolve(L"MOVW", L"", false), L"MOVW");
}

TEST_F(InstructionEnvFixture, FixtureCatalogueGroupsAndForms) {
  Load("TypeA");
  const InstructionReferModel model(Project().Instructions);
  const std::optional<ReferChoice> word = model.Recognize(L"MOV_W");
  ASSERT_TRUE(word.has_value());
  const LadInstructionItem* mov = model.Entry(word->Group, word->Entry);
  ASSERT_NE(mov, nullptr);
  EXPECT_EQ(mov->Name, L"MOV");
  EXPECT_EQ(model.GroupLines()[word->Group], L"Move");
  EXPECT_EQ(InstructionReferModel::WidthLines(mov->Flags), (std::vector<std::wstring>{L"BYTE", L"WORD"}));
  EXPECT_EQ(InstructionReferModel::WidthLineForFlags(mov->Flags, word->VariantFlags), 1);
  EXPECT_EQ(model.Resolve(L"MOV", L"BYTE", false), L"MOV_B");
  EXPECT_EQ(model.Resolve(L"ADD_I", L"", false), L"ADD_I");
}
