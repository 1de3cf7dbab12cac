// Projects written by the previous release (tests/fixtures/previous_release: one of each shipped
// type, with what that release made of them) open with the same program and data and compile to
// the same image words. What changes is listed here with the reason: FX constants the previous
// release read with a decimal default radix get their K, constants it read unsigned get the signed
// form of the same bits, and the set value of a 32-bit counter is compiled as wide as the counter.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <algorithm>

#include "core/compiler/binary_image.h"
#include "core/compiler/block_compilers.h"
#include "core/compiler/instruction_words.h"
#include "core/convert/stl_analysis.h"
#include "core/env/language.h"
#include "core/env/operand_slot.h"
#include "core/program/compile_report.h"
#include "core/program/ladder_edit.h"
#include "core/program/ladder_grid.h"
#include "core/program/ladder_painter.h"
#include "core/program/online_cache.h"
#include "core/program/page_view_state.h"
#include "core/program/stl_line.h"
#include "core/project/data_block_table.h"
#include "core/project/project.h"
#include "core/project/project_file.h"
#include "core/project/project_reset.h"
#include "core/project/status_chart.h"
#include "platform/text_codec.h"
#include "support/shipped_catalog.h"
#include "support/test_paths.h"

namespace {

using namespace Brenno;

std::string U(const std::wstring& text) { return platform::ToUtf8Lossy(text); }

std::string Hex(uint32_t word) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", word);
  return text;
}

// The words in hex, separated by spaces.
std::string HexWords(const std::vector<uint32_t>& words) {
  std::string text;
  for (const uint32_t w : words) text += (text.empty() ? "" : " ") + Hex(w);
  return text;
}

// The program, data rows and chart cells as make_projects.cpp lists them.
std::vector<std::string> Describe(const Project& project) {
  std::vector<std::string> out;
  out.push_back("type " + U(project.Type->Name()));
  for (const int key : project.Program.ListProgramBlockKeys()) {
    const auto& networks = project.Program.GetProgramPage(key).Networks();
    for (size_t n = 0; n < networks.size(); ++n) {
      const Network& network = networks[n];
      out.push_back("network " + std::to_string(key) + " " + std::to_string(n) + " " +
                    (network.Kind == kNetworkLad ? "lad" : "stl"));
      for (const StlLine& line : network.Lines) {
        StlLine body = line;
        body.Comments.clear();
        std::wstring text;
        FormatStlLine(body, text);
        out.push_back("  stl " + U(text));
      }
      if (network.Kind != kNetworkLad) continue;
      PageViewState state;
      state.PageId = key;
      for (const LadElement& e : network.Grid.Elements) {
        std::wstring text;
        if (!e.InCell || !LadElement::ToInstructionText(e, state, text)) continue;
        out.push_back("  lad " + std::to_string(e.Row) + " " + std::to_string(e.Column) + " " + U(text));
      }
    }
  }
  for (const auto& [key, page] : project.DataBlocks.Working) {
    for (size_t r = 0; r < page.Rows.size(); ++r) {
      const DataRow& row = page.Rows[r];
      out.push_back("data " + std::to_string(key) + " " + std::to_string(r) + " " + std::to_string(row.CheckFlags) +
                    " " + std::to_string(row.Type) + " |" + U(row.Address) + "|" + U(row.Value) + "|");
    }
  }
  for (const auto& [key, page] : project.StatusChart.Working) {
    for (size_t r = 0; r < page.Rows.size(); ++r) {
      if (page.Rows[r].Address.empty()) continue;
      out.push_back("chart " + std::to_string(key) + " " + std::to_string(r) + " " +
                    std::to_string(page.Rows[r].FormatIndex) + " " + U(page.Rows[r].Address));
    }
  }
  return out;
}

// The image words of the current project, one line per part as make_projects.cpp writes them,
// and the lines of the compile report.
std::vector<std::string> Compile(std::vector<std::wstring>& report) {
  BinaryImage image;
  CompileReport compile(true);
  EncodeDataBlocks(compile, image);
  EncodeSystemBlock(compile, image);
  EncodeProgramBlocks(compile, image);
  compile.PrintTotal();
  report = compile.Lines;
  std::vector<std::string> out;
  auto words = [&](const std::string& title, const std::vector<uint32_t>& list) {
    out.push_back(list.empty() ? title : title + " " + HexWords(list));
  };
  for (const auto& [key, list] : image.DataPages) words("image data " + std::to_string(key) + " :", list);
  words("image consts :", image.ProgramConsts);
  for (const auto& [key, list] : image.ProgramArguments) words("image args " + std::to_string(key) + " :", list);
  for (const auto& [key, list] : image.ProgramInstructions) words("image code " + std::to_string(key) + " :", list);
  return out;
}

struct Expected {
  std::vector<std::string> project;
  std::vector<std::string> image;
};

Expected ReadExpected(const std::string& name) {
  std::ifstream in(testsupport::FixturePath("previous_release/" + name + ".expected"), std::ios::binary);
  Expected expected;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("report ", 0) == 0) continue;
    (line.rfind("image ", 0) == 0 ? expected.image : expected.project).push_back(line);
  }
  return expected;
}

// A line of the previous release and what it is now.
struct Change {
  std::string before;
  std::string now;
};

struct ReleaseCase {
  const char* name;
  const char* type;
  // Program and data lines that read otherwise now; every other line reads as it did.
  std::vector<Change> text;
  // Image words that are compiled otherwise now (each a run of words, the last of which changes).
  std::vector<Change> words;
};

const std::vector<ReleaseCase>& Cases() {
  static const std::vector<ReleaseCase> cases = {
      {"fx",
       "CPU-Feldrin-FX",
       {
           // Unsigned constants of signed slots: the signed form of the same bits.
           {"  stl MOV  K40000, D0", "  stl MOV  K-25536, D0"},
           {"  lad 1 1 MOV  K40000, D0", "  lad 1 1 MOV  K-25536, D0"},
           {"  stl CMP  K40000, D0, M10", "  stl CMP  K-25536, D0, M10"},
           {"  lad 2 1 CMP  K40000, D0, M10", "  lad 2 1 CMP  K-25536, D0, M10"},
           {"  stl DMOV  K4294967295, D30", "  stl DMOV  K-1, D30"},
           {"  lad 1 1 DMOV  K4294967295, D30", "  lad 1 1 DMOV  K-1, D30"},
           {"  stl MOV  K65535, D302", "  stl MOV  K-1, D302"},
           // Numbers written without K when the default radix was decimal: K, then signed.
           {"  stl MOV  65535, D2", "  stl MOV  K-1, D2"},
           {"  lad 2 1 MOV  65535, D2", "  lad 2 1 MOV  K-1, D2"},
           {"  stl DMOV  2147483648, D32", "  stl DMOV  K-2147483648, D32"},
           {"  lad 2 1 DMOV  2147483648, D32", "  lad 2 1 DMOV  K-2147483648, D32"},
           {"  stl SUB  D4, 32768, D6", "  stl SUB  D4, K-32768, D6"},
           {"  lad 1 1 SUB  D4, 32768, D6", "  lad 1 1 SUB  D4, K-32768, D6"},
           {"  stl MOV  100, D300", "  stl MOV  K100, D300"},
           // Data rows: their values get K (a real has no radix); the row without a value stays
           // incomplete.
           {"data 0 0 15 5 |Setpoint|100|", "data 0 0 15 5 |Setpoint|K100|"},
           {"data 0 1 15 6 |D10|100000|", "data 0 1 15 6 |D10|K100000|"},
           {"data 0 2 15 5 |D12|-5|", "data 0 2 15 5 |D12|K-5|"},
           {"data 0 4 15 8 |D16|40000|", "data 0 4 15 8 |D16|K40000|"},
           {"data 0 6 15 5 |D4050|7|", "data 0 6 15 5 |D4050|K7|"},
           {"data 0 7 15 6 |D4090|123456|", "data 0 7 15 6 |D4090|K123456|"},
       },
       {
           // OUT C200, K50000: the set value of a 32-bit counter is a double word (the previous
           // release gave every timer and counter a 16-bit set value).
           {"06FF0015 0000050C 00600988", "06FF0015 0000050C 0060098C"},
       }},
      {"cm3", "CPU-Feldrin-CM3", {}, {}},
  };
  return cases;
}

std::vector<std::string> Changed(std::vector<std::string> lines, const std::vector<Change>& changes, bool whole) {
  for (const Change& change : changes) {
    bool found = false;
    for (std::string& line : lines) {
      const size_t at = whole ? (line == change.before ? 0 : std::string::npos) : line.find(change.before);
      if (at == std::string::npos) continue;
      line.replace(at, change.before.size(), change.now);
      found = true;
    }
    EXPECT_TRUE(found) << "the previous release had no " << change.before;
  }
  return lines;
}

class PreviousRelease : public ::testing::TestWithParam<ReleaseCase> {};

TEST_P(PreviousRelease, OpensToTheSameProgramAndDataAndCompilesToTheSameWords) {
  const ReleaseCase& c = GetParam();
  testsupport::ShippedEnvironment shipped(c.type, kLanguageEnglish);
  const Expected expected = ReadExpected(c.name);
  ASSERT_FALSE(expected.image.empty());

  OpenProjectAsCurrent(platform::FromUtf8Lossy(testsupport::FixturePath(std::string("previous_release/") + c.name + ".lqw")));
  EXPECT_EQ(Describe(CurrentProject()), Changed(expected.project, c.text, true));

  std::vector<std::wstring> report;
  EXPECT_EQ(Compile(report), Changed(expected.image, c.words, false));
  ASSERT_FALSE(report.empty());
  EXPECT_EQ(U(report.back()), "Total 0 Error(s)");
  // The row without a value is left out of the image, and the report says so.
  const std::string warning = std::string("    DAT_0 (DAT0)    Warning : row ") + (c.name == std::string("fx") ? "9 (D30)" : "5 (VW40)") +
                              " left out: no initial value";
  EXPECT_NE(std::find_if(report.begin(), report.end(), [&](const std::wstring& l) { return U(l) == warning; }),
            report.end());

  // Saved by this version, the file opens to the same again.
  testsupport::TempDir dir;
  const std::wstring path = platform::FromUtf8Lossy(dir.File("again.lqw"));
  SaveProjectFile(path);
  const std::vector<std::string> before = Describe(CurrentProject());
  OpenProjectAsCurrent(path);
  EXPECT_EQ(Describe(CurrentProject()), before);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, PreviousRelease, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<ReleaseCase>& info) { return std::string(info.param.name); });

// Typed lines compile to the words the previous release gave them (and, where it refused them,
// to the words of their region): D4000 to D4095 in their own region, only a pair crossing from
// D3999 in the first one; 16-bit constants as their 16 bits; the set value of a timer or 16-bit
// counter as a word, that of a 32-bit counter as a double word.
TEST(PreviousReleaseWords, TypedLinesCompileToTheWordsOfTheirRegionAndWidth) {
  testsupport::ShippedEnvironment shipped("CPU-Feldrin-FX", kLanguageEnglish);
  const struct {
    const wchar_t* typed;
    const char* words;
    const char* constants;
  } cases[] = {
      {L"DMOV  D4050, D10", "00290015 0320060C 00A0058C", ""},
      {L"DMOV  D4000, D0", "00290015 0000060C 0000058C", ""},
      {L"MOV  D4095, D4001", "00280015 05F00608 00100608", ""},
      {L"DMOV  D3998, D0", "00290015 F9E0058C 0000058C", ""},
      {L"DMOV  D3999, D0", "00290015 F9F0058C 0000058C", ""},
      {L"MOV  K-1, D0", "00280015 00000988 00000588", "0000FFFF"},
      {L"MOV  K-32768, D0", "00280015 00000988 00000588", "00008000"},
      {L"MOV  H8000, D0", "00280015 00000988 00000588", "00008000"},
      {L"DMOV  K-1, D0", "00290015 0000098C 0000058C", "FFFFFFFF"},
      {L"OUT  T0, K100", "06FF0015 00000408 00000988", "00000064"},
      {L"OUT  C199, K100", "06FF0015 0C700488 00000988", "00000064"},
      {L"OUT  C200, K100000", "06FF0015 0000050C 0000098C", "000186A0"},
      {L"OUT  C201, D10", "06FF0015 0020050C 00A0058C", ""},
  };
  PageViewState page;
  for (const auto& c : cases) {
    SCOPED_TRACE(U(c.typed));
    StlLine line;
    ASSERT_TRUE(ParseStlLine(c.typed, line, page));
    std::vector<StlElement> elements;
    ParseStlLines(CurrentProject().Instructions, {line}, elements);
    BinaryImage image;
    std::vector<uint32_t> words;
    EncodeInstructions(image, elements, words);
    EXPECT_EQ(HexWords(words), c.words);
    EXPECT_EQ(HexWords(image.ProgramConsts), c.constants);
  }
}

// A decimal constant beyond the signed range of its slot is refused where it is typed, in the
// ladder cell as in the statement list: it stays as typed, shows as an error, and the slot's hint
// names the values it takes.
TEST(PreviousReleaseWords, NoDecimalConstantWrapsInTheEditors) {
  testsupport::ShippedEnvironment shipped("CPU-Feldrin-FX", kLanguageEnglish);
  const struct {
    const wchar_t* typed;
    const wchar_t* constant;
    const wchar_t* range;
  } cases[] = {
      {L"MOV  K40000, D0", L"K40000", L"K-32768 ~ K32767"},
      {L"MOV  K65535, D0", L"K65535", L"K-32768 ~ K32767"},
      {L"DMOV  K4294967295, D0", L"K4294967295", L"K-2147483648 ~ K2147483647"},
      {L"OUT  T0, K40000", L"K40000", L"K1 ~ K32767"},
  };
  PageViewState page;
  OnlineCacheSnapshot offline;
  for (const auto& c : cases) {
    SCOPED_TRACE(U(c.typed));
    StlLine line;
    ASSERT_TRUE(ParseStlLine(c.typed, line, page));
    EXPECT_NE(std::find(line.Operands.begin(), line.Operands.end(), c.constant), line.Operands.end())
        << "the statement list rewrote it";
    LadElement element;
    ASSERT_TRUE(ParseLadElementText(c.typed, element, page));
    const FunLadRecord* def = LadElement::FindDefinition(element);
    ASSERT_NE(def, nullptr);
    bool shown = false;
    for (size_t i = 0; i < element.OperandIn.size(); ++i) {
      if (element.OperandIn[i].Text != c.constant) continue;
      OperandDisplay display;
      BuildOperandDisplay(def->OperandIn[i], element.OperandIn[i], page, false, offline, display);
      EXPECT_TRUE(testsupport::MarksError(display.Runs));
      std::wstring hint;
      ASSERT_TRUE(DescribeOperandSlot(hint, def->OperandIn[i], CurrentProject().MemoryAreas, L"\r\n"));
      EXPECT_TRUE(hint.ends_with(c.range)) << U(hint);
      shown = true;
    }
    EXPECT_TRUE(shown) << "the ladder cell did not keep " << U(c.constant);
  }
}

// Compile All names every data row it leaves out and why, in the user's language; a clean
// compile still counts no error.
TEST(PreviousReleaseMark, EveryDataRowLeftOutIsNamed) {
  for (const int language : {kLanguageEnglish, kLanguageChinese}) {
    testsupport::ShippedEnvironment shipped("CPU-Feldrin-FX", language);
    Project& project = CurrentProject();
    FillDefaultDataBlocks(project.DataBlocks);
    auto& page = project.DataBlocks.Working.begin()->second;
    page.Rows = {{0, 5, L"D0", L"100", L""},  {0, 5, L"D2", L"K5", L""}, {0, 5, L"D2", L"K6", L""},
                 {0, 5, L"X000", L"K1", L""}, {0, 6, L"D10", L"", L""},  {0, 5, L"", L"", L""}};
    ValidateDataRows(project.DataBlocks);
    std::vector<std::wstring> report;
    Compile(report);
    std::vector<std::string> warnings;
    for (const std::wstring& line : report) {
      if (line.find(PickText(L"Warning", L"警告")) != std::wstring::npos) warnings.push_back(U(line));
    }
    const std::vector<std::string> expected =
        language == kLanguageEnglish
            ? std::vector<std::string>{
                  "    DAT_0 (DAT0)    Warning : row 1 (D0) left out: the value 100 is no INT constant (K-32768 ~ K32767)",
                  "    DAT_0 (DAT0)    Warning : row 2 (D2) left out: another row gives the same address",
                  "    DAT_0 (DAT0)    Warning : row 3 (D2) left out: another row gives the same address",
                  "    DAT_0 (DAT0)    Warning : row 4 (X000) left out: X000 is no INT address",
                  "    DAT_0 (DAT0)    Warning : row 5 (D10) left out: no initial value"}
            : std::vector<std::string>{
                  "    DAT_0 (DAT0)    警告 : 第 1 行（D0）未编译：值 100 不是 INT 类型的常数（K-32768 ~ K32767）",
                  "    DAT_0 (DAT0)    警告 : 第 2 行（D2）未编译：另一行使用同一地址",
                  "    DAT_0 (DAT0)    警告 : 第 3 行（D2）未编译：另一行使用同一地址",
                  "    DAT_0 (DAT0)    警告 : 第 4 行（X000）未编译：X000 不是 INT 类型的地址",
                  "    DAT_0 (DAT0)    警告 : 第 5 行（D10）未编译：没有初始值"};
    EXPECT_EQ(warnings, expected);
    EXPECT_EQ(U(report.back()), language == kLanguageEnglish ? "Total 0 Error(s)" : "总计 0 错误");
  }
}

// A file this version saved is not walked again when it is opened: what it holds is taken as
// written (here a constant without its K, which no editor of this version writes, stays so),
// while the same program from elsewhere is brought in line.
TEST(PreviousReleaseMark, AFileThisVersionSavedIsNotUpgradedAgain) {
  testsupport::ShippedEnvironment shipped("CPU-Feldrin-FX", kLanguageEnglish);
  Project& project = CurrentProject();
  project.Program.FillDefaultProgramBlocks();
  StlLine line;
  line.Mnemonic = L"MOV";
  line.Operands = {L"100", L"D0"};
  Network network;
  network.Kind = kNetworkStl;
  network.Lines = {line};
  project.Program.GetProgramPage(0).UndoLog.Networks = {network};
  testsupport::TempDir dir;
  const std::wstring path = platform::FromUtf8Lossy(dir.File("marked.lqw"));
  SaveProjectFile(path);

  OpenProjectAsCurrent(path);
  EXPECT_EQ(U(CurrentProject().Program.GetProgramPage(0).Networks()[0].Lines[0].Operands[0]), "100");
  NormalizeProjectForType(CurrentProject());
  EXPECT_EQ(U(CurrentProject().Program.GetProgramPage(0).Networks()[0].Lines[0].Operands[0]), "K100");
}

}  // namespace
