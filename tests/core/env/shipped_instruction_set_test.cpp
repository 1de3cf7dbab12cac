// The shipped instruction sets as a programmer types them: a statement-list line compiles and
// decodes back exactly as it was typed (numbers in the form the operand gives them, FX constants
// with their K or H), or it is refused with the operand named; the instruction tree names every
// instruction once; operands that are read are inputs and only written operands are outputs.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/compiler/binary_image.h"
#include "core/compiler/block_compilers.h"
#include "core/compiler/instruction_words.h"
#include "core/convert/stl_analysis.h"
#include "core/convert/stl_generation.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/operand_format.h"
#include "core/env/operand_slot.h"
#include "core/program/ladder_edit.h"
#include "core/program/ladder_geometry.h"
#include "core/program/compile_report.h"
#include "core/program/ladder_painter.h"
#include "core/program/program_block.h"
#include "core/program/stl_line.h"
#include "core/program/stl_painter.h"
#include "core/project/program_upgrade.h"
#include "core/project/project.h"
#include "platform/text_codec.h"
#include "support/shipped_catalog.h"

namespace {

using namespace Brenno;

std::string U(const std::wstring& text) { return platform::ToUtf8Lossy(text); }

// A line typed into the statement list; `back` is what compile and decode give ("" for the
// typed text itself), `refused` the operand the compiler names when it refuses the line and
// `takes` what it names as the values or addresses that operand takes there.
struct TypedLine {
  const wchar_t* typed;
  const wchar_t* back;
  const wchar_t* refused;
  const wchar_t* takes = nullptr;
};

const std::map<std::string, std::vector<TypedLine>>& TypedLines() {
  static const std::map<std::string, std::vector<TypedLine>> lines = {
      {"CPU-Feldrin-CM3",
       {
           // Counts, labels, events and loop numbers are numbers: decimal stays decimal.
           {L"S  Q0.0, 8", L"", nullptr},
           {L"R  M1.0, 16", L"", nullptr},
           {L"JMP  300", L"", nullptr},
           {L"LBL  300", L"", nullptr},
           {L"ATCH  1, 10", L"", nullptr},
           {L"DTCH  10", L"", nullptr},
           {L"PID  VB100, 0", L"", nullptr},
           {L"HDEF  1, 11", L"", nullptr},
           {L"BMB  VB0, 10, VB100", L"", nullptr},
           {L"LDB=  VB0, 5", L"", nullptr},
           {L"LDW<  VW0, -5", L"", nullptr},
           {L"SHRB  I0.0, V10.0, -8", L"", nullptr},
           // Bit patterns stay hexadecimal; a negative number is their two's complement.
           {L"MOVW  16#00FF, VW0", L"", nullptr},
           {L"MOVW  -1, VW0", L"MOVW  16#FFFF, VW0", nullptr},
           {L"MOVD  -1, VD0", L"MOVD  16#FFFFFFFF, VD0", nullptr},
           {L"ANDW  16#0F0F, VW2, VW4", L"", nullptr},
           {L"+I  16#FFFF, VW0, VW2", L"+I  -1, VW0, VW2", nullptr},
           // The accumulators in every width.
           {L"MOVB  VB0, AC0", L"", nullptr},
           {L"BTI  VB0, AC0", L"", nullptr},
           {L"SWAP  AC1", L"", nullptr},
           {L"MOVD  *AC2, VD0", L"", nullptr},
           // The instructions of the sequence control relays and the others added.
           {L"LSCR  S0.1", L"", nullptr},
           {L"SCRT  S0.2", L"", nullptr},
           {L"SCRE", L"", nullptr},
           {L"CSCRE", L"", nullptr},
           {L"DECO  VB0, VW2", L"", nullptr},
           {L"ENCO  VW2, VB4", L"", nullptr},
           {L"ITA  VW0, 16#03, VB10", L"", nullptr},
           {L"RTA  VD0, 16#A2, VB20", L"", nullptr},
           {L"BIR  I0.0, M0.0", L"", nullptr},
           {L"BIW  M0.0, Q0.1", L"", nullptr},
           // Timers by the table of their time bases: TON and TOF on theirs, TONR on its own.
           {L"TON  T32, 100", L"", nullptr},
           {L"TOF  T63, 100", L"", nullptr},
           {L"TON  T96, 100", L"", nullptr},
           {L"TOF  T255, 100", L"", nullptr},
           {L"TONR  T0, 100", L"", nullptr},
           {L"TONR  T31, 100", L"", nullptr},
           {L"TONR  T64, 100", L"", nullptr},
           {L"TONR  T95, 100", L"", nullptr},
           // Counts of bits stay in the area of their first bit.
           {L"S  Q15.0, 8", L"", nullptr},
           {L"R  T1, 255", L"", nullptr},
           {L"SI  Q15.0, 8", L"", nullptr},
           {L"SHRB  I0.0, Q15.0, 8", L"", nullptr},
           {L"SHRB  I0.0, V10.0, 64", L"", nullptr},
           {L"SHRB  I0.0, V10.0, -64", L"", nullptr},
           // The control bytes of the special memory take bit writes; the status bytes do not.
           {L"=  SM37.3", L"", nullptr},
           {L"S  SM30.0, 8", L"", nullptr},
           {L"R  SM255.7, 1", L"", nullptr},
           {L"BIR  I0.0, SM37.3", L"", nullptr},
           // What the instruction does not take is refused, naming the operand.
           {L"PID  VB100, 8", nullptr, L"LOOP", L"0 ~ 7"},
           {L"PLS  2", nullptr, L"Q", L"0 ~ 1"},
           {L"XMT  VB0, 2", nullptr, L"PORT", L"0 ~ 1"},
           {L"TOF  T37, -1", nullptr, L"PT", L"0 ~ 32767"},
           {L"S  Q0.0, 0", nullptr, L"N", L"1 ~ 128"},
           {L"=  SM0.0", nullptr, L"bit", L"SM30.0 ~ SM255.7"},
           {L"=  SM29.7", nullptr, L"bit", L"SM30.0 ~ SM255.7"},
           {L"S  SM0.0, 1", nullptr, L"bit", L"SM30.0 ~ SM255.7"},
           {L"R  SM29.0, 1", nullptr, L"bit", L"SM30.0 ~ SM255.7"},
           {L"BIR  I0.0, SM29.0", nullptr, L"OUT", L"SM30.0 ~ SM255.7"},
           {L"MOVR  HC0, VD0", nullptr, L"IN"},
           {L"ATCH  1, 34", nullptr, L"EVNT", L"0 ~ 33"},
           {L"ATCH  0, 10", nullptr, L"INT", L"1 ~ 7"},
           {L"ATCH  8, 10", nullptr, L"INT", L"1 ~ 7"},
           {L"TON  T0, 100", nullptr, L"T", L"T32 ~ T63, T96 ~ T255"},
           {L"TOF  T64, 100", nullptr, L"T", L"T32 ~ T63, T96 ~ T255"},
           {L"TONR  T37, 100", nullptr, L"T", L"T0 ~ T31, T64 ~ T95"},
           {L"TONR  T96, 100", nullptr, L"T", L"T0 ~ T31, T64 ~ T95"},
           {L"S  Q15.0, 9", nullptr, L"N", L"1 ~ 8"},
           {L"S  Q15.0, 255", nullptr, L"N", L"1 ~ 8"},
           {L"R  T2, 255", nullptr, L"N", L"1 ~ 254"},
           {L"SI  Q15.1, 8", nullptr, L"N", L"1 ~ 7"},
           {L"SHRB  I0.0, V10.0, 0", nullptr, L"N", L"-64 ~ -1, 1 ~ 64"},
           {L"SHRB  I0.0, Q15.0, -9", nullptr, L"N", L"-8 ~ -1, 1 ~ 8"},
           {L"SHRB  I0.0, SM0.0, 8", nullptr, L"S_BIT", L"SM30.0 ~ SM255.7"},
       }},
      {"CPU-Feldrin-FX",
       {
           {L"MOV  K100, D10", L"", nullptr},
           {L"MOV  K-1, D0", L"", nullptr},
           {L"ADD  D0, K-5, D1", L"", nullptr},
           {L"DMOV  K-100000, D0", L"", nullptr},
           {L"LDD=  K-1, D0", L"", nullptr},
           {L"MOV  H8000, D0", L"MOV  K-32768, D0", nullptr},
           {L"MOV  HFFFF, D0", L"MOV  K-1, D0", nullptr},
           {L"WAND  H00FF, D0, D1", L"", nullptr},
           {L"DAND  H0000FFFF, D0, D2", L"", nullptr},
           {L"OUT  T0, K100", L"", nullptr},
           {L"OUT  T255, K32767", L"", nullptr},
           {L"OUT  C199, K1", L"", nullptr},
           {L"OUT  C200, K100000", L"", nullptr},
           {L"OUT  C201, K-5", L"", nullptr},
           {L"OUT  C255, K-2147483648", L"", nullptr},
           {L"OUT  T1, D10", L"", nullptr},
           {L"OUT  C200, D10", L"", nullptr},
           {L"DMOV  D3999, D0", L"", nullptr},
           {L"DMOV  D4050, D10", L"", nullptr},
           {L"DMOV  D4095, D4000", L"", nullptr},
           {L"DHSCS  K100, C235, I010", L"", nullptr},
           {L"BMOV  D0, D100, K5", L"", nullptr},
           {L"SMOV  D0, K4, K2, D1, K3", L"", nullptr},
           {L"LDP  X000", L"", nullptr},
           {L"MOV  K10Z1, D0", L"", nullptr},
           {L"ASC  H44434241, D0", L"", nullptr},
           // Counts, outputs, inputs and pointers as the help gives them.
           {L"BMOV  D0, D100, K1", L"", nullptr},
           {L"BMOV  D0, D100, K512", L"", nullptr},
           {L"FMOV  K0, D0, K512", L"", nullptr},
           {L"SFTL  X000, M0, K1024, K1024", L"", nullptr},
           {L"SFTR  X000, M0, K16, K1", L"", nullptr},
           {L"WSFL  D0, D100, K10, K10", L"", nullptr},
           {L"FOR  K1", L"", nullptr},
           {L"FOR  K32767", L"", nullptr},
           {L"FOR  D0", L"", nullptr},
           {L"PLSY  K1000, D0, Y000", L"", nullptr},
           {L"DPLSY  K1000, D0, Y001", L"", nullptr},
           {L"PWM  K10, K100, Y001", L"", nullptr},
           {L"PLSR  K1000, D0, K100, Y000", L"", nullptr},
           {L"SPD  X000, K100, D0", L"", nullptr},
           {L"SPD  X005, K100, D0", L"", nullptr},
           {L"DHSCS  K100, C235, I060", L"", nullptr},
           {L"DHSCS  K100, C235, M8034", L"", nullptr},
           // The special relays the program may write; the PLC's own are read only.
           {L"OUT  M8034", L"", nullptr},
           {L"SET  M8200", L"", nullptr},
           {L"OUT  M8010", L"", nullptr},
           {L"OUT  M8070", L"", nullptr},
           {L"MOV  K1, K4M8030", L"", nullptr},
           {L"LD  M8000", L"", nullptr},
           {L"VRRD  K8, D0", nullptr, L"S", L"K0 ~ K7"},
           {L"MOV  100, D0", nullptr, L"S", L"K-32768 ~ K32767"},
           {L"MOV  K70000, D0", nullptr, L"S"},
           {L"BMOV  D0, D100, K0", nullptr, L"n", L"K1 ~ K512"},
           {L"BMOV  D0, D100, K513", nullptr, L"n", L"K1 ~ K512"},
           {L"DFMOV  K0, D0, K513", nullptr, L"n", L"K1 ~ K512"},
           {L"SFTL  X000, M0, K1025, K1", nullptr, L"n1", L"K1 ~ K1024"},
           {L"SFTL  X000, M0, K16, K17", nullptr, L"n2", L"K1 ~ K16"},
           {L"WSFR  D0, D100, K10, K0", nullptr, L"n2", L"K1 ~ K10"},
           {L"FOR  K0", nullptr, L"S", L"K1 ~ K32767"},
           {L"PLSY  K1000, D0, Y002", nullptr, L"D", L"Y000 ~ Y001"},
           {L"PWM  K10, K100, Y002", nullptr, L"D", L"Y000 ~ Y001"},
           {L"DPLSR  K1000, D0, K100, Y002", nullptr, L"D", L"Y000 ~ Y001"},
           {L"SPD  X006, K100, D0", nullptr, L"S1", L"X000 ~ X005"},
           {L"DHSCS  K100, C235, I070", nullptr, L"D", L"I010, I020, I030, I040, I050, I060"},
           {L"DHSCS  K100, C235, I011", nullptr, L"D", L"I010, I020, I030, I040, I050, I060"},
           {L"OUT  M8000", nullptr, L"D", L"M0 ~ M3071, M8010, M8015 ~ M8019, M8023 ~ M8028, M8030 ~ M8059, M8070 ~ M8255"},
           {L"RST  M8029", nullptr, L"D"},
           {L"PLS  M8069", nullptr, L"D"},
           {L"MOV  K1, K4M8000", nullptr, L"D"},
           {L"DMOV  D7999, D0", nullptr, L"S", L"D0 ~ D4094, D4000 ~ D7998, D8000 ~ D8254"},
           // A decimal number is its value: no wrap into the signed range of the slot.
           {L"MOV  K40000, D0", nullptr, L"S", L"K-32768 ~ K32767"},
           {L"MOV  K65535, D0", nullptr, L"S", L"K-32768 ~ K32767"},
           {L"DMOV  K4294967295, D0", nullptr, L"S", L"K-2147483648 ~ K2147483647"},
           // A timer or 16-bit counter takes K1 to K32767, a 32-bit counter the 32-bit range.
           {L"OUT  T0, K40000", nullptr, L"K", L"K1 ~ K32767"},
           {L"OUT  T0, K0", nullptr, L"K", L"K1 ~ K32767"},
           {L"OUT  C0, K100000", nullptr, L"K", L"K1 ~ K32767"},
           {L"OUT  C200, K4294967295", nullptr, L"K", L"K-2147483648 ~ K2147483647"},
       }},
  };
  return lines;
}

class ShippedInstructionSet : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    shipped_ = std::make_unique<testsupport::ShippedEnvironment>(GetParam(), kLanguageEnglish);
    CurrentProject().Program.FillDefaultProgramBlocks();
    CurrentProject().Program.AddInterrupt();  // INT1, which the typed ATCH lines name
  }
  void TearDown() override { shipped_.reset(); }

  const InstructionLibrary& Library() { return CurrentProject().Instructions; }

  std::unique_ptr<testsupport::ShippedEnvironment> shipped_;
};

std::wstring LineText(const StlLine& line) {
  std::wstring text;
  FormatStlLine(line, text);
  return text;
}

TEST_P(ShippedInstructionSet, TypedLinesComeBackAsTypedOrAreRefusedNamingTheOperand) {
  const auto found = TypedLines().find(GetParam());
  ASSERT_NE(found, TypedLines().end()) << "no typed lines for the shipped type " << GetParam();
  PageViewState page;
  for (const TypedLine& c : found->second) {
    SCOPED_TRACE(U(c.typed));
    StlLine line;
    ASSERT_TRUE(ParseStlLine(c.typed, line, page));
    std::vector<StlElement> elements;
    ParseStlLines(Library(), {line}, elements);
    ASSERT_EQ(elements.size(), 1u);
    BinaryImage image;
    std::vector<uint32_t> words;
    if (c.refused != nullptr) {
      try {
        EncodeInstructions(image, elements, words);
        ADD_FAILURE() << "accepted";
      } catch (const ExceptionParseBinaryInstructionError& error) {
        EXPECT_NE(error.Message().find(line.Mnemonic + L" " + c.refused + L" "), std::wstring::npos)
            << U(error.Message());
        if (c.takes != nullptr) {
          EXPECT_NE(error.Message().find(L" (" + std::wstring(c.takes) + L")"), std::wstring::npos)
              << U(error.Message());
        }
      }
      // The editor shows the refused operand as an error as it is typed.
      StlLineView view;
      OnlineCacheSnapshot offline;
      BuildStlLineView(line, page, offline, view);
      EXPECT_TRUE(testsupport::MarksError(view.Runs)) << U(view.Text);
      // So does the ladder editor, where the line is also a ladder element.
      LadElement element;
      if (ParseLadElementText(c.typed, element, page) && LadElement::FindDefinition(element) != nullptr) {
        ElementDisplay display;
        BuildElementDisplay(element, page, offline, display);
        bool marked = false;
        for (const auto* list : {&display.OperandId, &display.OperandIn, &display.OperandOut}) {
          for (const OperandDisplay& shown : *list) {
            marked |= testsupport::MarksError(shown.Runs);
          }
        }
        EXPECT_TRUE(marked) << "ladder";
      }
      continue;
    }
    try {
      EncodeInstructions(image, elements, words);
      std::vector<StlElement> decoded;
      DecodeInstructions(decoded, image.ProgramConsts, words);
      std::vector<StlLine> lines;
      FormatStlLines(Library(), decoded, lines);
      ASSERT_EQ(lines.size(), 1u);
      EXPECT_EQ(U(LineText(lines[0])), U(*c.back != 0 ? c.back : c.typed));
    } catch (const ExceptionError& error) {
      ADD_FAILURE() << U(error.Message());
    }
  }
}

// An ATCH names an interrupt routine of the project: INT0 is the main program and refused by the
// range, a routine the project does not hold refuses its network in the compile report, and
// with the routine added the program compiles.
TEST_P(ShippedInstructionSet, AnAttachNamesAnInterruptRoutineTheProjectHolds) {
  if (Library().FxMode != 0) GTEST_SKIP() << "ATCH is an instruction of the CM3 set";
  ProgramBlock& program = CurrentProject().Program;
  program.ViewMode = kViewModeStl;
  ProgramPage& main = program.GetProgramPage(0);
  main.ViewState.ViewMode = kViewModeStl;
  std::wstring text = L"NETWORK\r\nLD SM0.1\r\nATCH 0, 10\r\nNETWORK\r\nLD SM0.1\r\nATCH 2, 10\r\n"
                     L"NETWORK\r\nLD SM0.1\r\nATCH 1, 10\r\nENI\r\n";
  main.LoadFromText(L"\r\n", text);
  auto compile = [] {
    CompileReport report(true);
    BinaryImage image;
    EncodeProgramBlocks(report, image);
    std::wstring lines;
    for (const std::wstring& line : report.Lines) lines += line + L"\n";
    return std::pair{report.TotalErrors(), lines};
  };
  const auto [errors, lines] = compile();
  EXPECT_EQ(errors, 2) << U(lines);
  EXPECT_NE(lines.find(L"NETWORK 0"), std::wstring::npos) << U(lines);
  EXPECT_NE(lines.find(L"ATCH INT 0 (1 ~ 7)"), std::wstring::npos) << U(lines);
  EXPECT_NE(lines.find(L"NETWORK 1"), std::wstring::npos) << U(lines);
  EXPECT_NE(lines.find(L"ATCH INT 2 (the project has no interrupt routine INT2)"), std::wstring::npos) << U(lines);
  EXPECT_EQ(lines.find(L"NETWORK 2"), std::wstring::npos) << U(lines);

  text = L"NETWORK\r\nLD SM0.1\r\nATCH 2, 10\r\n";
  main.LoadFromText(L"\r\n", text);
  ASSERT_EQ(program.AddInterrupt(), 2);
  const auto [errorsAfter, linesAfter] = compile();
  EXPECT_EQ(errorsAfter, 0) << U(linesAfter);
}

// The operand hint of a slot that limits its constants names the limits, not the data type's.
TEST_P(ShippedInstructionSet, OperandHintsNameTheValuesTheInstructionTakes) {
  const bool fx = Library().FxMode != 0;
  std::vector<const FunStlRecord*> found;
  FindStlInstructionDefs(Library(), fx ? L"VRRD" : L"PID", 2, found);
  ASSERT_EQ(found.size(), 1u);
  const OperandDef& slot = found[0]->Operands[fx ? 0 : 1];
  std::wstring hint;
  ASSERT_TRUE(DescribeOperandSlot(hint, slot, CurrentProject().MemoryAreas, L"\r\n"));
  const std::wstring limits = fx ? L"K0 ~ K7" : L"0 ~ 7";
  ASSERT_GE(hint.size(), limits.size());
  EXPECT_EQ(U(hint.substr(hint.size() - limits.size())), U(limits)) << U(hint);
}

// Every ladder instruction has a name of its own in the instruction tree, in both languages;
// the forms of one item differ in their width marks.
TEST_P(ShippedInstructionSet, InstructionTreeNamesEveryInstructionOnce) {
  for (int language : {kLanguageEnglish, kLanguageChinese}) {
    SCOPED_TRACE(language);
    shipped_.reset();
    shipped_ = std::make_unique<testsupport::ShippedEnvironment>(GetParam(), language);
    std::set<std::wstring> names;
    for (const LadInstructionGroup& group : Library().LadInstructionCatalog) {
      for (const LadInstructionItem& item : group.Items) {
        EXPECT_TRUE(names.insert(item.Name).second) << "twice: " << U(item.Name);
        EXPECT_NE(item.Name, L"-");
        EXPECT_FALSE(item.Name.empty()) << U(group.Name);
        EXPECT_FALSE(item.Description.empty()) << U(item.Name);
        EXPECT_EQ(item.Description.find(L"|"), std::wstring::npos) << U(item.Name);
        std::set<int> flags;
        for (const LadInstructionVariant& variant : item.Variants) {
          EXPECT_TRUE(flags.insert(variant.Flags).second) << U(item.Name) << " flags " << variant.Flags;
        }
      }
    }
  }
}

// What a ladder definition writes is an output and takes no constant; every operand that takes
// a constant is read (an input or the element's name operand); contacts write nothing; every
// statement-list operand with a ladder form has its place in the instruction there.
TEST_P(ShippedInstructionSet, InputsAreInputsAndOutputsAreOutputs) {
  const InstructionLibrary& library = Library();
  for (size_t d = 0; d < library.FunLadList.size(); ++d) {
    const FunLadRecord& def = library.FunLadList[d];
    SCOPED_TRACE(U(def.Name));
    for (const OperandDef& out : def.OperandOut) {
      EXPECT_EQ(ParseOperandFormatFlags(out.Capacity) & kFormatConstant, 0) << U(out.Name);
    }
    if (def.Look == kLadLookCont || def.Look == kLadLookFxCont) {
      EXPECT_TRUE(def.OperandOut.empty());
    }
    const std::vector<int> order = LadOperandOrder(library, def);
    std::set<int> places(order.begin(), order.end());
    EXPECT_EQ(places.size(), def.OperandCount());
    if (def.Look == kLadLookBlock) {
      for (size_t k = 0; k < order.size(); ++k) EXPECT_EQ(order[k], static_cast<int>(k));
    }
  }
}

// A ladder element as an older instruction set listed it (the operands in the order of the
// instruction, a set coil's count and a box's trailing count among the outputs, each list slotted
// from 0), in a program read from a file: the open brings it in line with the set, it keeps its
// instruction text, and an FX box still shows its operands in the order of the instruction.
TEST_P(ShippedInstructionSet, OlderProgramsKeepTheirMeaning) {
  struct Old {
    int kind;
    const wchar_t* name;
    std::vector<ElementOperand> in;
    std::vector<ElementOperand> out;
    const wchar_t* text;
  };
  const bool fx = Library().FxMode != 0;
  const std::vector<Old> olds =
      fx ? std::vector<Old>{
               {kLadKindFxBlock, L"BMOV", {{0, L"S", L"D0"}}, {{0, L"D", L"D100"}, {1, L"n", L"K5"}},
                L"BMOV  D0, D100, K5"},
               {kLadKindFxCont, L"LDP", {}, {{0, L"S", L"X000"}}, L"LDP  X000"},
               {kLadKindCoil, L"OUT", {}, {{0, L"D", L"T0"}, {1, L"K", L"100"}}, L"OUT  T0, K100"},
           }
         : std::vector<Old>{
               {kLadKindCoil, L"S", {}, {{0, L"bit", L"Q0.0"}, {1, L"N", L"8"}}, L"S  Q0.0, 8"},
               {kLadKindCoil, L"JMP", {}, {{0, L"N", L"3"}}, L"JMP  3"},
           };
  CurrentProject().Program.FillDefaultProgramBlocks();
  ProgramPage& page = CurrentProject().Program.GetProgramPage(0);
  Network network;
  network.Kind = kNetworkLad;
  for (size_t i = 0; i < olds.size(); ++i) {
    LadElement e;
    e.Column = 1;
    e.Row = static_cast<int>(i);
    e.InCell = true;
    e.Kind = olds[i].kind;
    e.Name = olds[i].name;
    e.PowerIn = {{0, L"IN"}};
    e.OperandIn = olds[i].in;
    e.OperandOut = olds[i].out;
    network.Grid.Elements.push_back(e);
  }
  Network list;
  list.Kind = kNetworkStl;
  StlLine bare;
  bare.Mnemonic = fx ? L"MOV" : L"MOVW";
  bare.Operands = {L"100", fx ? L"D0" : L"VW0"};
  list.Lines = {bare};
  page.UndoLog.Networks = {network, list};

  UpgradeProgramToType(CurrentProject());

  PageViewState state;
  const std::vector<LadElement>& upgraded = page.UndoLog.Networks[0].Grid.Elements;
  for (size_t i = 0; i < olds.size(); ++i) {
    SCOPED_TRACE(U(olds[i].text));
    const LadElement& e = upgraded[i];
    ASSERT_NE(LadElement::FindDefinition(e), nullptr);
    std::wstring text;
    ASSERT_TRUE(LadElement::ToInstructionText(e, state, text));
    EXPECT_EQ(U(text), U(olds[i].text));
    // The written operand stands first (above a coil, first in a box), the rest after it.
    std::vector<Rect> places(e.OperandId.size() + e.OperandIn.size() + e.OperandOut.size());
    for (const ElementOperand* operand : LadElement::OperandsInInstructionOrder(e)) {
      const int at = operand->Slot;
      ASSERT_LT(static_cast<size_t>(at), places.size());
      for (size_t j = 0; j < e.OperandIn.size(); ++j) {
        if (&e.OperandIn[j] == operand) places[at] = OperandInTextRect(e, 0, 0, static_cast<int>(j));
      }
      for (size_t j = 0; j < e.OperandOut.size(); ++j) {
        if (&e.OperandOut[j] == operand) places[at] = OperandOutTextRect(e, 0, 0, static_cast<int>(j));
      }
    }
    for (size_t p = 1; p < places.size(); ++p) {
      EXPECT_TRUE(places[p].left > places[p - 1].left || places[p].top > places[p - 1].top) << p;
    }
    // Typed back in the order of the instruction, the element is the same.
    LadElement typed;
    ASSERT_TRUE(ParseLadElementText(olds[i].text, typed, state));
    EXPECT_EQ(typed.OperandIn, e.OperandIn);
    EXPECT_EQ(typed.OperandOut, e.OperandOut);
  }
  // A constant written without a prefix where the type now wants one keeps its decimal value.
  EXPECT_EQ(U(page.UndoLog.Networks[1].Lines[0].Operands[0]), fx ? "K100" : "100");
}

INSTANTIATE_TEST_SUITE_P(Catalog, ShippedInstructionSet, ::testing::ValuesIn(testsupport::ShippedTypeNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name;
                           for (char c : info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

}  // namespace
