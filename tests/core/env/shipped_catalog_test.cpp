// The shipped catalog as the build lays it out in the program directory: every PLC type loads
// in both languages; every statement-list definition compiles into instruction words that
// decode back to the same instruction; every ladder element converts to statement list and
// back to the same ladder; every instruction appears in the instruction tree with its texts in
// both languages.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/compiler/binary_image.h"
#include "core/compiler/instruction_words.h"
#include "core/convert/stl_analysis.h"
#include "core/convert/stl_generation.h"
#include "core/env/constant.h"
#include "core/env/exception_error.h"
#include "core/env/ip_address.h"
#include "core/env/language.h"
#include "core/env/operand_address.h"
#include "core/env/operand_format.h"
#include "core/env/operand_slot.h"
#include "core/env/operand_word.h"
#include "core/program/ladder_painter.h"
#include "core/program/network.h"
#include "core/program/stl_painter.h"
#include "core/project/project.h"
#include "platform/text_codec.h"
#include "support/shipped_catalog.h"

namespace {

using namespace Brenno;

std::string U(const std::wstring& text) { return platform::ToUtf8Lossy(text); }

// A program directory with a copy of the shipped catalog, the environment loaded and installed
// with the type under test selected, and a new project of that type.
class ShippedType : public ::testing::TestWithParam<std::string> {
 protected:
  void Load(int language) {
    shipped_.reset();
    shipped_ = std::make_unique<testsupport::ShippedEnvironment>(GetParam(), language);
  }
  void TearDown() override { shipped_.reset(); }

  const InstructionLibrary& Library() { return CurrentProject().Instructions; }
  const MemoryAreaManager& Map() { return CurrentProject().MemoryAreas; }

  // An operand the slot accepts: the first value address of its format (the first of its
  // address ranges where they limit that region), else the first pointer or address, else a
  // constant.
  std::wstring SampleOperand(const OperandDef& slot, bool ipAddress) {
    if (ipAddress) return L"192.168.1.5";
    std::vector<OperandCandidate> candidates;
    CollectOperandCandidates(slot.Capacity, Map(), candidates);
    for (const auto& [flag, mark] : {std::pair{2, L""}, std::pair{8, L""}, std::pair{4, L"*"}, std::pair{1, L"&"}}) {
      for (const OperandCandidate& candidate : candidates) {
        if ((candidate.flags & flag) == 0) continue;
        std::wstring first, last;
        DescribeAccessRange(*candidate.region, *candidate.access, first, last);
        OperandWord word = 0;
        if (*mark != 0 || ParseSlotAddress(first, Map(), slot, word)) return mark + first;
        const std::wstring admitted = SlotAddressText(Map(), slot, first);
        return admitted.substr(0, admitted.find_first_of(L" ,"));
      }
    }
    if ((ParseOperandFormatFlags(slot.Capacity) & 0x10) != 0) {
      // A constant the slot takes, written as the type writes it (K1 where constants carry a
      // prefix).
      std::wstring text;
      FormatConstantValue(slot.Const, Map(), slot.HasRange() ? static_cast<uint32_t>(slot.Ranges.front().Min) : 1u, text);
      return text;
    }
    ADD_FAILURE() << "no operand fits the format " << U(slot.Capacity);
    return L"";
  }

  // Whether the workbench reads the operand as a dotted IPv4 address: the first operand of the
  // address definition, when it takes constants.
  static bool TakesIpAddress(int definition, size_t operand, const OperandDef& slot) {
    return definition == kIpAddressInstructionIndex && operand == 0 &&
           (ParseOperandFormatFlags(slot.Capacity) & kFormatConstant) != 0;
  }

  StlLine SampleLine(int definition) {
    const FunStlRecord& record = Library().FunStlList[static_cast<size_t>(definition)];
    StlLine line;
    line.Mnemonic = record.Name;
    for (size_t i = 0; i < record.Operands.size(); ++i) {
      line.Operands.push_back(SampleOperand(record.Operands[i], TakesIpAddress(definition, i, record.Operands[i])));
    }
    return line;
  }

  // The statement-list line of a logic unit alone (the rule whose unit side is that unit only),
  // with the given operands.
  bool UnitLine(int unit, const std::vector<std::wstring>& operands, StlLine& line) {
    for (const ConvertRule& rule : Library().UnitToStlRules) {
      if (rule.Left.size() != 1 || rule.Left[0].Slot != unit || rule.Right.size() != 1) continue;
      line.Mnemonic = Library().FunStlList[static_cast<size_t>(rule.Right[0].Slot)].Name;
      line.Operands = operands;
      return true;
    }
    return false;
  }

  std::unique_ptr<testsupport::ShippedEnvironment> shipped_;
};

std::vector<std::wstring> LineTexts(const std::vector<StlLine>& lines) {
  std::vector<std::wstring> out;
  for (const StlLine& line : lines) {
    std::wstring text = line.Mnemonic;
    for (const std::wstring& operand : line.Operands) text += L" " + operand;
    out.push_back(text);
  }
  return out;
}

TEST_P(ShippedType, LoadsInBothLanguagesWithItsTextsAndTree) {
  std::vector<std::wstring> english;
  for (int language : {kLanguageEnglish, kLanguageChinese}) {
    SCOPED_TRACE(language);
    Load(language);
    const PlcType& type = *CurrentProject().Type;
    EXPECT_FALSE(type.Image.empty());
    EXPECT_FALSE(type.Description.Information.empty());
    const InstructionLibrary& library = Library();
    ASSERT_GT(library.FunStlList.size(), 100u);
    std::vector<std::wstring> texts;
    for (const FunStlRecord& record : library.FunStlList) {
      EXPECT_FALSE(record.Comment.empty()) << U(record.Name);
      EXPECT_FALSE(record.Parent.empty()) << U(record.Name);
      texts.push_back(record.Comment + L"|" + record.Parent);
    }
    for (const FunLadRecord& record : library.FunLadList) {
      EXPECT_FALSE(record.Comment.empty()) << U(record.Name);
      EXPECT_FALSE(record.Parent.empty()) << U(record.Name);
      texts.push_back(record.Comment + L"|" + record.Parent);
    }
    // Every group of the tree holds instructions; every ladder instruction of the reference has
    // a help text.
    for (const std::wstring& group : library.FunStlGroups) EXPECT_FALSE(group.empty());
    size_t items = 0;
    for (const LadInstructionGroup& group : library.LadInstructionCatalog) {
      for (const LadInstructionItem& item : group.Items) {
        EXPECT_FALSE(item.Description.empty()) << U(group.Name) << " / " << U(item.Name);
        ++items;
      }
    }
    EXPECT_GT(items, 50u);
    if (language == kLanguageEnglish) {
      english = texts;
    } else {
      // The Chinese texts are texts of their own, not the English ones again.
      ASSERT_EQ(texts.size(), english.size());
      for (size_t i = 0; i < texts.size(); ++i) EXPECT_NE(texts[i], english[i]) << U(texts[i]);
    }
  }
}

TEST_P(ShippedType, SupportsEveryCommandCodeTheWorkbenchSends) {
  Load(kLanguageEnglish);
  const PlcType& type = *CurrentProject().Type;
  const uint16_t codes[] = {0x0100, 0x0110, 0x0111, 0x0121, 0x0210, 0x0220, 0x0230, 0x0240, 0x0260, 0x0270,
                            0x0280, 0x0290, 0x02A0, 0x02B0, 0x02C0, 0x0300, 0x0310, 0x0311, 0x0312, 0x0400,
                            0x0500, 0x0600, 0x0700, 0x0800, 0x0900, 0x0A00, 0x0A01, 0x0A02, 0x0A03, 0x0A10,
                            0x0A11, 0x0A20, 0x0A21, 0x0A30, 0x0A31, 0x0A32, 0x0A33, 0x0A34, 0x0A35, 0x0A40,
                            0x0A41};
  for (uint16_t code : codes) EXPECT_TRUE(type.IsPackCodeSupported(code)) << std::hex << code;
  EXPECT_NE(type.Description.ExchSelf, 0);
}

// The memory map keeps the slots the workbench reads by number: the PLC's stamps and diagnosis
// are double words of slot 7, and the online cache and the status chart take every operand of
// slots 2 and 3 as an aligned double word (one analog channel each).
TEST_P(ShippedType, MemoryMapKeepsTheSlotsTheWorkbenchReadsByNumber) {
  Load(kLanguageEnglish);
  std::vector<int> bytes = {8, 12, 16, 20, 24};
  for (int module = 0; module < 7; ++module) {
    for (int part = 0; part < 3; ++part) bytes.push_back(0x80 + 12 * module + 4 * part);
  }
  for (int byte : bytes) {
    OperandWord word = 0;
    PackOperandWord(word, Map(), OperandFields{kKindValue, 7, kWidthDword, byte, 0, 0, 0});
    std::wstring text;
    EXPECT_TRUE(OperandWordToText(Map(), text, word)) << byte;
  }
  for (const MemoryRegion& region : Map().Regions) {
    if (region.Slot != 2 && region.Slot != 3) continue;
    for (const MemoryAccess& access : region.Accesses) EXPECT_EQ(access.Width, kWidthDword) << U(region.Name);
  }
}

// Every statement-list definition: a line with operands its formats accept compiles into
// instruction words; the words decode to the same instruction, which compiles into the same
// words again.
TEST_P(ShippedType, EveryStatementListInstructionCompilesAndDecodesBack) {
  Load(kLanguageEnglish);
  CurrentProject().Program.FillDefaultProgramBlocks();
  CurrentProject().Program.AddInterrupt();  // the interrupt routine an ATCH names
  const InstructionLibrary& library = Library();
  for (size_t d = 0; d < library.FunStlList.size(); ++d) {
    const StlLine line = SampleLine(static_cast<int>(d));
    SCOPED_TRACE(U(LineTexts({line})[0]));
    try {
      std::vector<StlElement> elements;
      ParseStlLines(library, {line}, elements);
      ASSERT_EQ(elements.size(), 1u);
      ASSERT_EQ(elements[0].definition, static_cast<int>(d));
      BinaryImage image;
      std::vector<uint32_t> words;
      EncodeInstructions(image, elements, words);
      ASSERT_EQ(words.size(), 1 + line.Operands.size());

      std::vector<StlElement> decoded;
      DecodeInstructions(decoded, image.ProgramConsts, words);
      ASSERT_EQ(decoded.size(), 1u);
      EXPECT_EQ(decoded[0].definition, static_cast<int>(d));
      std::vector<StlLine> lines;
      FormatStlLines(library, decoded, lines);
      ASSERT_EQ(lines.size(), 1u);
      EXPECT_EQ(lines[0].Mnemonic, line.Mnemonic);

      std::vector<StlElement> again;
      ParseStlLines(library, lines, again);
      BinaryImage image2;
      image2.ProgramConsts = image.ProgramConsts;
      std::vector<uint32_t> words2;
      EncodeInstructions(image2, again, words2);
      EXPECT_EQ(words2, words) << U(LineTexts(lines)[0]);
    } catch (const ExceptionError& error) {
      ADD_FAILURE() << U(error.Message());
    }
  }
}

// Every ladder element: a network that uses it (fed by contacts where it has power inputs,
// followed by a coil where power passes through it) converts from statement list to ladder
// holding the element, back to the same statement list, and to the same ladder again.
TEST_P(ShippedType, EveryLadderElementConvertsBothWays) {
  Load(kLanguageEnglish);
  const InstructionLibrary& library = Library();
  StlLine contact;
  StlLine coil;
  {
    const FunStlRecord& load = library.FunStlList[static_cast<size_t>(
        std::find_if(library.FunStlList.begin(), library.FunStlList.end(),
                     [&](const FunStlRecord& r) { return r.Name == library.LadFxNameLd && r.Operands.size() == 1; }) -
        library.FunStlList.begin())];
    contact.Mnemonic = load.Name;
    contact.Operands = {SampleOperand(load.Operands[0], false)};
    coil.Mnemonic = library.LadFxNameCoil;
    coil.Operands = contact.Operands;
  }
  for (const ConvertRule& rule : library.LadToUnitRules) {
    ASSERT_EQ(rule.Left.size(), 1u);
    const FunLadRecord& element = library.FunLadList[static_cast<size_t>(rule.Left[0].Slot)];
    SCOPED_TRACE(U(element.Name + L" [" + element.Keyword + L"]"));
    ASSERT_EQ(rule.Right.size(), 1u);
    const int unit = rule.Right[0].Slot;
    const FunOrgRecord& org = library.FunOrgList[static_cast<size_t>(unit)];
    std::vector<std::wstring> operands;
    for (const OperandDef& slot : org.Operands) operands.push_back(SampleOperand(slot, false));

    Network network;
    network.Kind = kNetworkStl;
    StlLine line;
    const bool alone = UnitLine(unit, operands, line);
    switch (org.Type) {
      case kFunOrgTypeInput:
        if (alone) {
          network.Lines = {line, coil};
        } else {
          // A unit whose only list form joins it to the logic before it (NOT, edges): the
          // instruction of the same name.
          StlLine joined;
          joined.Mnemonic = org.Name;
          joined.Operands = operands;
          network.Lines = {contact, joined, coil};
        }
        break;
      case kFunOrgTypeMultiInput:
        ASSERT_TRUE(alone);
        network.Lines.assign(static_cast<size_t>(org.Node), contact);
        network.Lines.push_back(line);
        network.Lines.push_back(coil);
        break;
      case kFunOrgTypeOutput:
      case kFunOrgTypeMultiOutput:
        ASSERT_TRUE(alone);
        network.Lines.assign(static_cast<size_t>(org.Node), contact);
        network.Lines.push_back(line);
        break;
      case kFunOrgTypeGeneratrixOutput:
        ASSERT_TRUE(alone);
        network.Lines = {line};
        break;
      default:
        FAIL() << "unit type " << org.Type;
    }
    const std::vector<std::wstring> list = LineTexts(network.Lines);
    try {
      ConvertToLad(library, network);
      ASSERT_EQ(network.Kind, kNetworkLad);
      bool found = false;
      for (const LadElement& e : network.Grid.Elements) found |= e.Kind == element.Look && e.Name == element.Keyword;
      EXPECT_TRUE(found);
      const Network ladder = network;
      ConvertToStl(library, network);
      EXPECT_EQ(LineTexts(network.Lines), list);
      ConvertToLad(library, network);
      EXPECT_TRUE(Network::Equals(network, ladder));
    } catch (const ExceptionError& error) {
      ADD_FAILURE() << U(error.Message());
    }
  }
}

// The definition whose first operand is an IPv4 address: the dotted address typed into the
// statement list stays as typed and shows as a constant; the ladder box carries it dotted;
// either way it compiles with its first number in the most significant byte and decodes as the
// number, which compiles into the same words again.
TEST_P(ShippedType, IpAddressInstructionTakesADottedAddressInBothViews) {
  Load(kLanguageEnglish);
  const InstructionLibrary& library = Library();
  const FunStlRecord& record = library.FunStlList.at(kIpAddressInstructionIndex);
  ASSERT_FALSE(record.Operands.empty());
  const bool address = TakesIpAddress(kIpAddressInstructionIndex, 0, record.Operands[0]);
  EXPECT_EQ(address, library.FxMode == 0) << U(record.Name);
  if (!address) {
    // A set without an address instruction has a definition there whose first operand takes
    // no constant, so the address rule never applies: a dotted text is refused like any other
    // text that is no operand.
    StlLine line = SampleLine(kIpAddressInstructionIndex);
    line.Operands[0] = L"192.168.1.5";
    std::vector<StlElement> elements;
    ParseStlLines(library, {line}, elements);
    BinaryImage image;
    std::vector<uint32_t> words;
    EXPECT_THROW(EncodeInstructions(image, elements, words), ExceptionParseBinaryInstructionError);
    return;
  }
  PageViewState page;
  OnlineCacheSnapshot offline;
  StlLine typed;
  ASSERT_TRUE(ParseStlLine(L"EXIO  192.168.1.5, VB200", typed, page));
  EXPECT_EQ(library.FunStlList[kIpAddressInstructionIndex].Name, typed.Mnemonic);
  EXPECT_EQ(typed.Operands, (std::vector<std::wstring>{L"192.168.1.5", L"VB200"}));
  StlLineView view;
  BuildStlLineView(typed, page, offline, view);
  EXPECT_FALSE(testsupport::MarksError(view.Runs)) << U(view.Text);

  StlLine contact;
  contact.Mnemonic = L"LD";
  contact.Operands = {L"I0.0"};
  Network network;
  network.Kind = kNetworkStl;
  network.Lines = {contact, typed};
  ConvertToLad(library, network);
  const auto box = std::find_if(network.Grid.Elements.begin(), network.Grid.Elements.end(),
                                [](const LadElement& e) { return e.Name == kIpAddressElementName; });
  ASSERT_NE(box, network.Grid.Elements.end());
  ASSERT_FALSE(box->OperandIn.empty());
  EXPECT_EQ(box->OperandIn[0].Text, L"192.168.1.5");
  ElementDisplay display;
  BuildElementDisplay(*box, page, offline, display);
  ASSERT_FALSE(display.OperandIn.empty());
  EXPECT_FALSE(testsupport::MarksError(display.OperandIn[0].Runs));
  ConvertToStl(library, network);

  std::vector<StlElement> elements;
  ParseStlLines(library, network.Lines, elements);
  BinaryImage image;
  std::vector<uint32_t> words;
  EncodeInstructions(image, elements, words);
  ASSERT_EQ(image.ProgramConsts.size(), 1u);
  EXPECT_EQ(image.ProgramConsts[0], 0xC0A80105u);
  std::vector<StlElement> decoded;
  DecodeInstructions(decoded, image.ProgramConsts, words);
  std::vector<StlLine> lines;
  FormatStlLines(library, decoded, lines);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].Operands[0], L"3232235781");
  std::vector<StlElement> again;
  ParseStlLines(library, lines, again);
  std::vector<uint32_t> words2;
  EncodeInstructions(image, again, words2);
  EXPECT_EQ(words2, words);
}

INSTANTIATE_TEST_SUITE_P(Catalog, ShippedType, ::testing::ValuesIn(testsupport::ShippedTypeNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name;
                           for (char c : info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

}  // namespace
