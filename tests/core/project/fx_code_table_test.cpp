#include "core/project/fx_code_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "core/env/exception_error.h"

namespace {

using Brenno::FindFxInstructionCode;
using Brenno::FxInstructionCodeCount;
using Brenno::FxInstructionCodeTable;

TEST(FxCodeTable, HoldsUniqueCodesWithTheKindsOfTheBlockCheck) {
  ASSERT_EQ(FxInstructionCodeCount, 389u);
  std::set<int32_t> codes;
  std::map<int32_t, int> perKind;
  for (size_t i = 0; i < FxInstructionCodeCount; ++i) {
    EXPECT_TRUE(codes.insert(FxInstructionCodeTable[i].code).second) << std::hex << FxInstructionCodeTable[i].code;
    ++perKind[FxInstructionCodeTable[i].kind];
  }
  EXPECT_EQ(perKind[Brenno::FxKindOutput], 322);
  EXPECT_EQ(perKind[Brenno::FxKindStandalone], 11);
  EXPECT_EQ(perKind[Brenno::FxKindLoad], 16);
  EXPECT_EQ(perKind[Brenno::FxKindSeries], 16);
  EXPECT_EQ(perKind[Brenno::FxKindParallel], 16);
  EXPECT_EQ(perKind[Brenno::FxKindStepLadder], 2);
}

// The 32-bit form of an application instruction is the next odd code with a "D" mnemonic, its
// pulse form the code OR 0x1000 with a "P" suffix; a typo in either column breaks the pairing.
TEST(FxCodeTable, ApplicationFormsPairWithTheirBaseInstruction) {
  std::map<int32_t, std::wstring> byCode;
  for (size_t i = 0; i < FxInstructionCodeCount; ++i) byCode[FxInstructionCodeTable[i].code] = FxInstructionCodeTable[i].mnemonic;
  const std::map<std::wstring, std::wstring> wordForms = {{L"WAND", L"DAND"}, {L"WOR", L"DOR"}, {L"WXOR", L"DXOR"}};
  int pairs = 0;
  for (const auto& [code, mnemonic] : byCode) {
    if (code < 0x0010 || code > 0x01C9 || (code & 1) != 0) continue;
    auto wide = byCode.find(code + 1);
    if (wide != byCode.end()) {
      const auto special = wordForms.find(mnemonic);
      EXPECT_EQ(wide->second, special != wordForms.end() ? special->second : L"D" + mnemonic);
      ++pairs;
      auto widePulse = byCode.find((code + 1) | 0x1000);
      if (widePulse != byCode.end()) {
        EXPECT_EQ(widePulse->second, wide->second + L"P");
      }
    }
    auto pulse = byCode.find(code | 0x1000);
    if (pulse != byCode.end()) {
      EXPECT_EQ(pulse->second, mnemonic + L"P");
    }
  }
  EXPECT_GT(pairs, 50);
  // Every pulse code belongs to a listed base code.
  for (const auto& [code, mnemonic] : byCode) {
    if ((code & 0xF000) == 0x1000) {
      EXPECT_TRUE(byCode.count(code & 0x0FFF)) << std::hex << code;
    }
  }
}

TEST(FxCodeTable, LookupFindsRecordsAndRefusesUnknownCodes) {
  EXPECT_EQ(FindFxInstructionCode(0x0002), 0);
  EXPECT_EQ(FindFxInstructionCode(0x0010), 39);
  EXPECT_STREQ(FxInstructionCodeTable[39].mnemonic, L"CJ");
  EXPECT_EQ(FindFxInstructionCode(0x01FD), 388);
  EXPECT_STREQ(FxInstructionCodeTable[FindFxInstructionCode(0xF0FF)].mnemonic, L"STL");
  EXPECT_EQ(FxInstructionCodeTable[FindFxInstructionCode(0xF0FF)].kind, Brenno::FxKindStepLadder);
  EXPECT_EQ(FxInstructionCodeTable[FindFxInstructionCode(0xF7FF)].kind, Brenno::FxKindStepLadder);
  for (int32_t code : {0x0000, 0x0001, 0x000E, 0xFFFF, 0x0011, 0x01D6}) {
    EXPECT_THROW(FindFxInstructionCode(code), Brenno::ExceptionParseBinaryPmwDictateError) << std::hex << code;
  }
}

}  // namespace
