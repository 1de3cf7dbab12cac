#include "core/compiler/instruction_words.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "compiler_test_support.h"
#include "core/env/instruction_library.h"

using namespace Brenno;
using compilertest::CompilerFixture;
using compilertest::FxCompilerFixture;
using compilertest::Line;
using compilertest::StlNetwork;

namespace {

using Words = std::vector<uint32_t>;

class InstructionWordsTest : public CompilerFixture {
 protected:
  ProgramPage& Main() { return Current().Program.GetProgramPage(0); }

  Words Encode(BinaryImage& image, CompileReport& report, std::vector<Network> networks) {
    Main().UndoLog.Networks = std::move(networks);
    Words words;
    EncodeNetworks(image, report, Current().Program, 0, Main().Networks(), words);
    return words;
  }

  int DefinitionIndex(const std::wstring& mnemonic, size_t count) {
    std::vector<const FunStlRecord*> found;
    FindStlInstructionDefs(Current().Instructions, mnemonic, count, found);
    EXPECT_EQ(found.size(), 1u) << mnemonic;
    return static_cast<int>(found.front() - Current().Instructions.FunStlList.data());
  }
};

using FxInstructionWordsTest = FxCompilerFixture;

TEST_F(InstructionWordsTest, GoldenWordsAndSharedConstants) {
  BinaryImage image;
  CompileReport report(false);
  const Words words = Encode(image, report,
                             {StlNetwork({Line(L"LD", {L"I0.0"}), Line(L"S", {L"Q0.0", L"3"}),
                                          Line(L"R", {L"Q0.1", L"3"})}),
                              StlNetwork({})});
  EXPECT_EQ(report.ErrorCount, 0);
  EXPECT_EQ(words, (Words{3,
                          0x00010104u, 0x00000001u,                // LD I0.0
                          0x00130204u, 0x00000011u, 0x000001F1u,   // S Q0.0, constant 0 (byte)
                          0x00140204u, 0x00001011u, 0x000001F1u,   // R Q0.1, the same constant
                          3}));                                    // the empty network
  EXPECT_EQ(image.ProgramConsts, (Words{3}));

  // Decoded again: the same instructions as statement-list lines, comments and symbols gone.
  DecodeNetworks(image, report, Current().Program, 0, Main(), words);
  ASSERT_EQ(Main().NetworkCount(), 2);
  const Network& first = Main().Networks()[0];
  EXPECT_EQ(first.Kind, kNetworkStl);
  ASSERT_EQ(first.Lines.size(), 3u);
  EXPECT_EQ(first.Lines[1].Mnemonic, L"S");
  EXPECT_EQ(first.Lines[1].Operands, (std::vector<std::wstring>{L"Q0.0", L"16#03"}));
  EXPECT_TRUE(Main().Networks()[1].Lines.empty());
  EXPECT_TRUE(Main().UndoLog.Steps.empty());
  EXPECT_EQ(Main().UndoLog.Position, 0);
}

TEST_F(InstructionWordsTest, CodeBitSixteenTravelsInTheMarker) {
  const int index = DefinitionIndex(L"NOT", 0);
  Current().Instructions.FunStlList[static_cast<size_t>(index)].Slot = 0x1F008;  // above the subroutine calls (0x10000 + n)
  BinaryImage image;
  Words words;
  try {
    EncodeInstructions(image, {StlElement{index, 2, {}, {}}}, words);
  } catch (const ExceptionError& e) {
    FAIL() << platform::ToUtf8Lossy(e.Message());
  }
  EXPECT_EQ(words, (Words{0xF0080025u}));
  std::vector<StlElement> elements;
  DecodeInstructions(elements, {}, words);
  ASSERT_EQ(elements.size(), 1u);
  EXPECT_EQ(elements[0].definition, index);
  EXPECT_EQ(elements[0].variant, 2);
}

TEST_F(InstructionWordsTest, DecodingFailuresAreCountedPerNetwork) {
  // A bad head word in the middle network: reported once with its number, the rest decode.
  const Words words = {3, 0x00010104u, 0x00000001u, 3, 0x00990104u, 0x00000001u, 3, 0x00110104u, 0x00010001u};
  BinaryImage image;
  CompileReport report;
  DecodeNetworks(image, report, Current().Program, 0, Main(), words);
  EXPECT_EQ(report.ErrorCount, 1);
  EXPECT_EQ(report.Lines, (std::vector<std::wstring>{
                              L"    MAIN (INT0), NETWORK 1    Error : Parse Program Block (Instruction) Error"}));
  ASSERT_EQ(Main().NetworkCount(), 2);
  EXPECT_EQ(Main().Networks()[1].Lines[0].Mnemonic, L"=");

  CompileReport empty(false);
  DecodeNetworks(image, empty, Current().Program, 0, Main(), {3, 3, 3});
  EXPECT_EQ(Main().NetworkCount(), 3);
  EXPECT_EQ(empty.ErrorCount, 0);
}

TEST_F(InstructionWordsTest, DamagedInstructionWordsThrow) {
  struct Case {
    Words words;
    bool plainBinaryError;
  };
  const std::vector<Case> cases = {
      {{0x00010204u, 0x00000001u}, false},               // two operands announced, one left
      {{0x00010106u, 0x00000001u}, false},               // marker 6
      {{0x7FFF0004u}, false},                            // no definition with that code
      {{0x00010104u, 0x00000003u}, false},               // kind code 3
      {{0x00010104u, 0x000001F1u}, false},               // LD admits no constant
      {{0x00130204u, 0x00000011u, 0x000401F1u}, true},   // constant 1 of a table of 1
      {{0x00130204u, 0x00000011u, 0x000201F1u}, false},  // a reference inside an entry
  };
  for (const Case& c : cases) {
    std::vector<StlElement> elements;
    try {
      DecodeInstructions(elements, {7}, c.words);
      ADD_FAILURE() << "no error for " << c.words[0];
    } catch (const ExceptionParseBinaryError& error) {
      EXPECT_EQ(typeid(error) == typeid(ExceptionParseBinaryError), c.plainBinaryError) << c.words.back();
    }
  }
}

TEST_F(InstructionWordsTest, EncodingFailuresAreReportedWithTheNetworkPosition) {
  Network ladder;  // a ladder network that never became a statement list
  BinaryImage image;
  CompileReport report;
  Encode(image, report, {StlNetwork({Line(L"LD", {L"I0.0"})}), ladder, StlNetwork({Line(L"S", {L"Q0.0", L"300"})}),
                         StlNetwork({Line(L"LD", {L"I0.0"})})});
  EXPECT_EQ(report.ErrorCount, 2);
  EXPECT_EQ(report.Lines, (std::vector<std::wstring>{
                              L"    MAIN (INT0), NETWORK 1    Error : Parse Program Block (Instruction) Error",
                              L"    MAIN (INT0), NETWORK 2    Error : Parse Program Block (Instruction) Error"
                              L"\r\n  S N 300 (16#00 ~ 16#FF)"}));
}

TEST_F(InstructionWordsTest, TheIpAddressOperandIsStoredFirstNumberHigh) {
  auto& list = Current().Instructions.FunStlList;
  ASSERT_LT(list.size(), 177u);
  FunStlRecord filler;
  filler.Name = L"FILL";
  filler.Slot = 0x7E;
  while (list.size() < 177) list.push_back(filler);
  FunStlRecord ip;
  ip.Name = L"IPSET";
  ip.Slot = 0x7F;
  ip.Operands = {OperandDef{L"IP", L"Dvc:", kDataTypeDword, 0}, OperandDef{L"N", L"Dvc:", kDataTypeDword, 0}};
  list.push_back(ip);

  BinaryImage image;
  Words words;
  EncodeInstructions(image, {StlElement{177, 0, {L"192.168.1.2", L"7"}, {}}}, words);
  EXPECT_EQ(image.ProgramConsts, (Words{0xC0A80102u, 7}));
  EXPECT_EQ(words.size(), 3u);
  // Only the first operand is an address; a text that is no address is refused, not stored as
  // 255.255.255.255.
  for (const std::wstring& bad : {std::wstring(L"192.168.1.300"), std::wstring(L"router")}) {
    Words out;
    EXPECT_THROW(EncodeInstructions(image, {StlElement{177, 0, {bad, L"7"}, {}}}, out),
                 ExceptionParseBinaryInstructionError);
  }
}

TEST_F(FxInstructionWordsTest, FxLayoutAndItsLimits) {
  ProgramPage& main = Current().Program.GetProgramPage(0);
  main.UndoLog.Networks = {StlNetwork({Line(L"LD", {L"X0"})}), StlNetwork({})};
  BinaryImage image;
  CompileReport report(false);
  Words words;
  EncodeNetworks(image, report, Current().Program, 0, main.Networks(), words);
  EXPECT_EQ(report.ErrorCount, 0);
  ASSERT_EQ(words.size(), 4u);
  EXPECT_EQ(words[0], 4u);
  EXPECT_EQ(words[1], 0x0001000Du);  // marker 5, one operand, code 1
  EXPECT_EQ(words[3], 4u);

  DecodeNetworks(image, report, Current().Program, 0, main, {4, 4});
  EXPECT_EQ(main.NetworkCount(), 2);

  // The constant table is full at 2048 entries: a known value still compiles, a new one is refused.
  for (uint32_t v = 0; v < 2048; ++v) image.ProgramConsts.push_back(v + 100);
  std::vector<const FunStlRecord*> found;
  FindStlInstructionDefs(Current().Instructions, L"LD=", 2, found);
  ASSERT_EQ(found.size(), 1u);
  const int index = static_cast<int>(found.front() - Current().Instructions.FunStlList.data());
  Words ok;
  EncodeInstructions(image, {StlElement{index, 0, {L"K100", L"K2147"}, {}}}, ok);
  EXPECT_EQ(image.ProgramConsts.size(), 2048u);
  Words refused;
  EXPECT_THROW(EncodeInstructions(image, {StlElement{index, 0, {L"K100", L"K5000"}, {}}}, refused),
               ExceptionParseBinaryInstructionError);

  // Eight operands do not fit the three-bit count.
  FunStlRecord wide;
  wide.Name = L"WIDE";
  wide.Slot = 0x70;
  wide.Operands.assign(8, OperandDef{L"S", L"Wvc:", kDataTypeInt, 0});
  Current().Instructions.FunStlList.push_back(wide);
  const int wideIndex = static_cast<int>(Current().Instructions.FunStlList.size() - 1);
  Words tooMany;
  EXPECT_THROW(EncodeInstructions(image, {StlElement{wideIndex, 0, std::vector<std::wstring>(8, L"D0"), {}}}, tooMany),
               ExceptionParseBinaryInstructionError);
}

}  // namespace
