#include "core/env/operand_format.h"

#include <gtest/gtest.h>

#include "core/env/data_type.h"
#include "core/env/exception_error.h"
#include "memory_map_test_support.h"

using namespace Brenno;

namespace {

const MemoryAreaManager& TypeA() {
  static const MemoryAreaManager manager = memorymaptest::LoadFixtureManager("TypeA");
  return manager;
}
const MemoryAreaManager& TypeFx() {
  static const MemoryAreaManager manager = memorymaptest::LoadFixtureManager("TypeFx");
  return manager;
}

std::string Narrow(const std::wstring& text) { return platform::ToUtf8Lossy(text); }

// "VD:6" for a candidate: the prefix and the kinds.
std::vector<std::wstring> Describe(const std::vector<OperandCandidate>& candidates, const std::wstring& only = L"") {
  std::vector<std::wstring> out;
  for (const OperandCandidate& c : candidates) {
    if (!only.empty() && c.region->Name != only) continue;
    out.push_back(c.region->Name + c.access->Name + L":" + std::to_wstring(c.flags));
  }
  return out;
}

}  // namespace

TEST(OperandFormat, ParseFieldsAndItems) {
  OperandFormat format;
  ASSERT_TRUE(ParseOperandFormat(format, L"Dcavp:"));
  EXPECT_EQ(format.width, kWidthDword);
  EXPECT_EQ(format.flags, kFormatConstant | kKindAddress | kKindValue | kKindPointer);
  EXPECT_EQ(format.sign, 0);
  EXPECT_TRUE(format.items.empty());

  ASSERT_TRUE(ParseOperandFormat(format, L"Bv:+:Vvw:Lpd:trailing"));
  EXPECT_EQ(format.sign, L'+');
  ASSERT_EQ(format.items.size(), 2u);
  EXPECT_EQ(format.items[0], (OperandFormatItem{kKindValue, kWidthWord, L"V"}));
  EXPECT_EQ(format.items[1], (OperandFormatItem{kKindPointer, kWidthDword, L"L"}));
  ASSERT_TRUE(ParseOperandFormat(format, L"Tv:-junk:Lv:"));
  EXPECT_EQ(format.sign, L'-');
  EXPECT_EQ(format.items[0], (OperandFormatItem{kKindValue, kWidthBit, L"L"}));

  EXPECT_EQ(ParseOperandFormatFlags(L"bv:"), kKindValue);  // the width letter is not checked here
  EXPECT_EQ(ParseOperandFormatWidth(L"Wq:"), kWidthWord);  // nor the flags here
  for (const wchar_t* bad : {L"", L"Bv", L"Bv:-:", L"Bv::Lv:", L"bv:", L"Bx:", L"Bv:*:Lv:", L":"}) {
    EXPECT_THROW(ParseOperandFormat(format, bad), ExceptionFormatError) << Narrow(bad);
  }
  EXPECT_THROW(ParseOperandFormatFlags(L"Bv::Lv:"), ExceptionFormatError);
  EXPECT_THROW(ParseOperandFormatWidth(L"bv:"), ExceptionFormatError);
}

TEST(OperandFormat, TextsAdmittedByFormats) {
  struct Case {
    const MemoryAreaManager* manager;
    const wchar_t* format;
    const wchar_t* text;
    int slot;  // -1: rejected
  } const cases[] = {
      {&TypeA(), L"Bv:", L"VB10", 4},
      {&TypeA(), L"Bv:", L"VW10", -1},
      {&TypeA(), L"Da:", L"&VB10", 4},
      {&TypeA(), L"Da:", L"&VW10", -1},
      {&TypeA(), L"Dp:", L"*VD0", 4},
      {&TypeA(), L"Tp:", L"*VD0", -1},
      {&TypeA(), L"Bp:", L"*VD0", 4},
      {&TypeA(), L"Bv:-:Lv:", L"VB0", 4},
      {&TypeA(), L"Bv:-:Lv:", L"LB0", -1},
      {&TypeA(), L"Bv:+:Lv:", L"LB0", 14},
      {&TypeA(), L"Bv:+:Lv:", L"VB0", -1},
      {&TypeA(), L"Wv:", L"T37", 8},   // the timer value region
      {&TypeA(), L"Tv:", L"T37", 7},   // the timer bit region
      {&TypeA(), L"Wv:", L"VW8191", -1},
      {&TypeA(), L"Dv:", L"AC1", 11},
      {&TypeFx(), L"Wvz:", L"D0Z1", 8},
      {&TypeFx(), L"Wv:", L"D0Z1", -1},
      {&TypeFx(), L"Wv:", L"K4M10", 2},
      {&TypeFx(), L"Tv:", L"X18", -1},
  };
  for (const Case& c : cases) {
    OperandAddress address;
    ASSERT_TRUE(ScanOperandText(c.text, address)) << Narrow(c.text);
    OperandFields fields;
    const MemoryRegion* region = nullptr;
    const MemoryAccess* access = nullptr;
    const bool admitted = MatchOperandTextWithFormat(c.format, *c.manager, address, fields, &region, &access);
    EXPECT_EQ(admitted, c.slot != -1) << Narrow(c.format) << " " << Narrow(c.text);
    OperandWord word = 0;
    EXPECT_EQ(ParseOperandText(c.text, *c.manager, c.format, word), admitted);
    if (!admitted) continue;
    EXPECT_EQ(fields.slot, c.slot) << Narrow(c.text);
    EXPECT_EQ(region->Slot, c.slot);
    EXPECT_EQ(access->Width, fields.width);
    std::wstring text;
    ASSERT_TRUE(FormatOperandWord(*c.manager, c.format, word, text));
    EXPECT_EQ(text, c.text);
  }
}

TEST(OperandFormat, WordsShownOnlyWhereTheFormatAdmitsThem) {
  OperandWord word = 0;
  ASSERT_TRUE(ParseOperandText(L"LB3", TypeA(), L"Bv:", word));
  std::wstring text = L"keep";
  EXPECT_FALSE(FormatOperandWord(TypeA(), L"Bv:-:Lv:", word, text));
  EXPECT_FALSE(FormatOperandWord(TypeA(), L"Wv:", word, text));
  EXPECT_EQ(text, L"keep");
  ASSERT_TRUE(FormatOperandWord(TypeA(), L"Bv:+:Lv:", word, text));
  EXPECT_EQ(text, L"LB3");
  EXPECT_THROW(FormatOperandWord(TypeA(), L"Bv:", 0x3u, text), ExceptionLogicError);
  EXPECT_THROW(FormatOperandWord(TypeA(), L"Bv", word, text), ExceptionFormatError);
}

TEST(OperandFormat, MarkerOfTheAddressFound) {
  OperandAddress address;
  OperandFields fields;
  std::wstring value;
  ASSERT_TRUE(ScanOperandText(L"SM0.0", address));
  ASSERT_TRUE(MatchOperandMarker(L"Tv:", TypeA(), address, fields, value));
  EXPECT_EQ(value, L"Always on");
  EXPECT_FALSE(MatchOperandMarker(L"Bv:", TypeA(), address, fields, value));
}

TEST(OperandFormat, Candidates) {
  std::vector<OperandCandidate> candidates;
  ASSERT_TRUE(CollectOperandCandidates(L"Bv:", TypeA(), candidates));
  EXPECT_EQ(Describe(candidates), (std::vector<std::wstring>{L"IB:2", L"QB:2", L"MB:2", L"SMB:2", L"VB:2", L"SB:2",
                                                             L"LB:2"}));
  CollectOperandCandidates(L"Bv:-:Lv:", TypeA(), candidates);
  EXPECT_EQ(Describe(candidates, L"L"), std::vector<std::wstring>{});
  CollectOperandCandidates(L"Bv:+:Lv:", TypeA(), candidates);
  EXPECT_EQ(Describe(candidates), std::vector<std::wstring>{L"LB:2"});
  CollectOperandCandidates(L"Dcavp:", TypeA(), candidates);
  EXPECT_EQ(Describe(candidates, L"V"), (std::vector<std::wstring>{L"VB:1", L"VD:6"}));
  CollectOperandCandidates(L"Wvz:", TypeFx(), candidates);
  EXPECT_EQ(Describe(candidates, L"D"), std::vector<std::wstring>{L"D:10"});

  ASSERT_TRUE(GroupOperandCandidates(TypeA(), L"Dcavp:", candidates));
  EXPECT_EQ(Describe(candidates, L"V"), (std::vector<std::wstring>{L"VD:2", L"VB:1", L"VD:4"}));
}

TEST(OperandFormat, RangeTexts) {
  std::vector<std::wstring> texts;
  ASSERT_TRUE(ListOperandFormatRanges(kDataTypeDint, L"Dcavp:", TypeA(), texts));
  EXPECT_EQ(texts, (std::vector<std::wstring>{
                       L"ID0 ~ ID12", L"QD0 ~ QD12", L"MD0 ~ MD28", L"SMD0 ~ SMD28", L"VD0 ~ VD8188",
                       L"AC0 ~ AC3", L"HC0 ~ HC5", L"SD0 ~ SD28", L"LD0 ~ LD60",
                       L"&IB0 ~ &IB15", L"&QB0 ~ &QB15", L"&MB0 ~ &MB31", L"&SMB0 ~ &SMB31", L"&VB0 ~ &VB8191",
                       L"&SB0 ~ &SB31", L"&LB0 ~ &LB63",
                       L"*VD0 ~ *VD8188", L"*AC0 ~ *AC3", L"*LD0 ~ *LD60",
                       L"-2147483648 ~ 2147483647"}));
  ListOperandFormatRanges(kDataTypeInt, L"Wvzc:", TypeFx(), texts);
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"K4X0 ~ K4X160", L"K4Y0 ~ K4Y160", L"K4M0 ~ K4M8176",
                                              L"K4S0 ~ K4S984", L"T0 ~ T255", L"C0 ~ C255", L"D0 ~ D4095 (Z)",
                                              L"V0 ~ V7", L"Z0 ~ Z7", L"L0 ~ L31", L"-32768 ~ 32767"}));
  std::wstring text;
  ASSERT_TRUE(DescribeOperandFormat(text, L"Bv:+:Lv:", TypeA(), L"\r\n", kDataTypeByte));
  EXPECT_EQ(text, L"LB0 ~ LB63");
  ASSERT_TRUE(DescribeOperandFormat(text, L"Bvc:+:Lv:", TypeA(), L"\r\n", kDataTypeByte));
  EXPECT_EQ(text, L"LB0 ~ LB63\r\n16#00 ~ 16#FF");
  EXPECT_THROW(ListOperandFormatRanges(11, L"Bvc:", TypeA(), texts), ExceptionFormatError);
}
