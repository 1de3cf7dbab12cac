#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler_test_support.h"
#include "core/compiler/argument_words.h"
#include "core/compiler/data_words.h"
#include "core/project/local_var_table.h"

using namespace Brenno;
using compilertest::CompilerFixture;
using compilertest::FxCompilerFixture;

namespace {

DataRow Row(int flags, int type, const std::wstring& address, const std::wstring& value) {
  DataRow row;
  row.CheckFlags = flags;
  row.Type = type;
  row.Address = address;
  row.Value = value;
  return row;
}

VarEntry Var(int area, int type, const std::wstring& name, const std::wstring& address) {
  VarEntry entry;
  entry.CheckFlags = kVarEntryComplete;
  entry.Area = area;
  entry.Type = type;
  entry.Name = name;
  entry.Address = address;
  return entry;
}

using DataWordsTest = CompilerFixture;
using FxDataWordsTest = FxCompilerFixture;
using ArgumentWordsTest = CompilerFixture;

TEST_F(DataWordsTest, OnlyCompleteRowsCompileAndRealKeepsItsTypeInTheKindField) {
  const std::vector<DataRow> rows = {Row(0, 2, L"VW0", L"1"), Row(15, 10, L"VD4", L"1.5"),
                                     Row(7, 2, L"VW8", L"2")};
  std::vector<uint32_t> words;
  EncodeDataRows(rows, words);
  // kind field 10 (REAL), slot 4 (V), width 3, bit 0, byte 4; the value as float bits.
  EXPECT_EQ(words, (std::vector<uint32_t>{0x0004034Au, 0x3FC00000u}));

  std::vector<DataRow> decoded;
  DecodeDataRows(decoded, words);
  ASSERT_EQ(decoded.size(), 1u);
  EXPECT_EQ(decoded[0].CheckFlags, kDataRowComplete);
  EXPECT_EQ(decoded[0].Type, 10);
  EXPECT_EQ(decoded[0].Address, L"VD4");
  std::vector<uint32_t> again;
  EncodeDataRows(decoded, again);
  EXPECT_EQ(again, words);
}

TEST_F(DataWordsTest, DecodingSkipsEmptyPairsAndRefusesBadWords) {
  std::vector<DataRow> rows;
  DecodeDataRows(rows, {0xFFFFFFFFu, 5});
  EXPECT_TRUE(rows.empty());
  const std::vector<std::vector<uint32_t>> bad = {
      {0x0004034Au, 0, 0},  // odd count: refused before any row
      {0x0004034Bu, 0},     // type 11
      {0x000403EAu, 0},     // slot 14 (L): local memory holds no initial values
      {0xFFF4034Au, 0},     // byte far outside the V region
  };
  for (const auto& words : bad) {
    std::vector<DataRow> out;
    EXPECT_THROW(DecodeDataRows(out, words), ExceptionParseBinaryDataError) << words[0];
    if (words.size() == 3) {
      EXPECT_TRUE(out.empty());
    }
  }
}

TEST_F(DataWordsTest, RowsThatDoNotCompileThrowTheDataError) {
  const std::vector<DataRow> bad = {Row(15, 1, L"LB0", L"1"), Row(15, 1, L"VB0", L"300"),
                                    Row(15, 1, L"nonsense", L"1"), Row(15, 12, L"VB0", L"1")};
  for (const DataRow& row : bad) {
    std::vector<uint32_t> words;
    EXPECT_THROW(EncodeDataRows({row}, words), ExceptionParseBinaryDataError) << row.Address;
  }
}

TEST_F(FxDataWordsTest, TypeTravelsInTheIndexFieldAndDamagedKindsAreDataErrors) {
  std::vector<uint32_t> words;
  EncodeDataRows({Row(15, 5, L"D10", L"-2")}, words);
  ASSERT_EQ(words.size(), 2u);
  EXPECT_EQ(words[0] & 3u, 0u);                // kind code direct
  EXPECT_EQ((words[0] >> 12) & 0xFu, 5u);      // INT
  EXPECT_EQ(words[1], 0xFFFFFFFEu);
  std::vector<DataRow> rows;
  DecodeDataRows(rows, words);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Address, L"D10");
  EXPECT_EQ(rows[0].Type, 5);

  // A kind code the layout does not define is a damaged page, not a program fault.
  std::vector<DataRow> out;
  EXPECT_THROW(DecodeDataRows(out, {(words[0] & ~3u) | 2u, 0}), ExceptionParseBinaryDataError);
  // An index register has no place in an initial value.
  std::vector<uint32_t> ignored;
  EXPECT_THROW(EncodeDataRows({Row(15, 5, L"D10", L"K5Z1")}, ignored), ExceptionParseBinaryDataError);
}

TEST_F(ArgumentWordsTest, InterfaceVariablesCompileTempDoesNot) {
  const LocalVarTable table = {Var(kVarAreaIn, 0, L"a", L"L0.0"), Var(kVarAreaInOut, 2, L"b", L"LW2"),
                               Var(kVarAreaOut, 10, L"c", L"LD4"), Var(kVarAreaTemp, 1, L"t", L"LB8")};
  std::vector<uint32_t> words;
  EncodeArguments(table, words);
  // kind field = area, slot field = data type, then width, bit and byte in the local region.
  EXPECT_EQ(words, (std::vector<uint32_t>{0x00000000u, 0x00020221u, 0x000403A2u}));

  LocalVarTable decoded;
  DecodeArguments(decoded, words);
  ASSERT_EQ(decoded.size(), 3u);
  EXPECT_EQ(decoded[0], Var(kVarAreaIn, 0, L"IN1", L"L0.0"));
  EXPECT_EQ(decoded[1], Var(kVarAreaInOut, 2, L"IN_OUT1", L"LW2"));
  EXPECT_EQ(decoded[2], Var(kVarAreaOut, 10, L"OUT1", L"LD4"));
}

TEST_F(ArgumentWordsTest, NamesFollowTheAreasInWordOrder) {
  const std::vector<uint32_t> words = {0x00000000u, 0x00010000u | 0x00000000u, 0xFFFFFFFFu, 0x00000002u,
                                       0x00000001u};
  LocalVarTable decoded;
  DecodeArguments(decoded, words);
  std::vector<std::wstring> names;
  for (const VarEntry& entry : decoded) names.push_back(entry.Name);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"IN1", L"IN2", L"OUT1", L"IN_OUT1"}));
  EXPECT_EQ(MakeArgumentName(kVarAreaInOut, 12), L"IN_OUT12");
  EXPECT_THROW(MakeArgumentName(kVarAreaTemp, 1), ExceptionLogicError);
}

TEST_F(ArgumentWordsTest, BadArgumentsThrowTheArgumentError) {
  for (const VarEntry& entry : {Var(kVarAreaIn, 1, L"a", L"VB0"), Var(kVarAreaIn, 1, L"a", L"LB64"),
                                Var(kVarAreaIn, 1, L"a", L"&LB0"), Var(kVarAreaIn, 2, L"a", L"LB0")}) {
    std::vector<uint32_t> words;
    EXPECT_THROW(EncodeArguments({entry}, words), ExceptionParseBinaryArgumentError) << entry.Address;
  }
  for (const uint32_t word : {0x00000003u, 0x000000B0u, 0x01000000u}) {
    LocalVarTable decoded;
    EXPECT_THROW(DecodeArguments(decoded, {word}), ExceptionParseBinaryArgumentError) << word;
  }
}

}  // namespace
