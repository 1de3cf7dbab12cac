// The HTML help: the pages the build lays out in the program directory, and the instruction
// reference that instruction_help writes from a catalog folder, whatever type folders it holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/env/constant.h"
#include "core/env/data_type.h"
#include "core/env/instruction_library.h"
#include "core/env/language.h"
#include "core/env/operand_format.h"
#include "core/env/operand_slot.h"
#include "core/env/plc_type.h"
#include "core/program/ladder_edit.h"
#include "core/program/stl_line.h"
#include "core/project/project.h"
#include "core/project/project_reset.h"
#include "platform/text_codec.h"
#include "tests/support/shipped_catalog.h"
#include "tests/support/test_paths.h"

namespace {

namespace fs = std::filesystem;
using namespace Brenno;

std::string ReadText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

int RunInstructionHelp(const fs::path& catalog, const fs::path& output) {
  const std::string command = std::string("'") + ORVISTO_INSTRUCTION_HELP + "' '" + catalog.string() + "' '" +
                              output.string() + "' 2>/dev/null";
  return std::system(command.c_str());
}

std::string StripTags(const std::string& html) {
  std::string out;
  bool inTag = false;
  for (char c : html) {
    if (c == '<') inTag = true;
    if (!inTag) out += c;
    if (c == '>') inTag = false;
  }
  return out;
}

std::string Unescape(std::string text) {
  for (const auto& [entity, c] : {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}}) {
    for (std::size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1)) {
      text.replace(at, std::string(entity).size(), c);
    }
  }
  return text;
}

// The texts of the elements that open with `open` (up to the next `close`), in page order.
std::vector<std::string> Elements(const std::string& html, const std::string& open, const std::string& close) {
  std::vector<std::string> out;
  for (std::size_t at = html.find(open); at != std::string::npos; at = html.find(open, at + 1)) {
    const std::size_t end = html.find(close, at + open.size());
    if (end == std::string::npos) break;
    out.push_back(html.substr(at + open.size(), end - at - open.size()));
  }
  return out;
}

// The text of every table cell of the part, tags removed.
std::vector<std::string> Cells(const std::string& html) {
  std::vector<std::string> cells;
  for (const std::string& cell : Elements(html, "<td", "</td>")) {
    cells.push_back(Unescape(StripTags(cell.substr(cell.find('>') + 1))));
  }
  return cells;
}

// The part of the page from the element with that id up to `close`; empty when the id is not
// there exactly once.
std::string Anchored(const std::string& page, const std::string& id, const std::string& close) {
  const std::string attribute = "id=\"" + id + "\"";
  const std::size_t at = page.find(attribute);
  if (at == std::string::npos || page.find(attribute, at + 1) != std::string::npos) return "";
  return page.substr(at, page.find(close, at) - at);
}

// The index list of a page ("index-stl" or "index-lad"): per name as shown, the ids its links
// lead to.
std::vector<std::pair<std::string, std::vector<std::string>>> IndexEntries(const std::string& page,
                                                                           const std::string& id) {
  std::vector<std::pair<std::string, std::vector<std::string>>> entries;
  const std::string list = Anchored(page + "</ul>", id, "</ul>");
  for (const std::string& item : Elements(list, "<li>", "</li>")) {
    const std::vector<std::string> names = Elements(item, "<code>", "</code>");
    std::vector<std::string> ids = Elements(item, "href=\"#", "\"");
    entries.push_back({names.empty() ? "" : Unescape(names.front()), ids});
  }
  return entries;
}

const char* const kChineseTypeTexts[kDataTypeCount] = {
    "位 (Bit)",    "字节 (Byte)",   "字 (Word)",           "双字 (Dword)",       "短整数 (Sint)", "整数 (Int)",
    "双整数 (Dint)", "无符号短整数 (Usint)", "无符号整数 (Uint)", "无符号双整数 (Udint)", "实数 (Real)"};

std::string TypeText(int type, int language) {
  if (type < 0 || type >= kDataTypeCount) return "—";
  return language == kLanguageChinese ? kChineseTypeTexts[type] : platform::ToUtf8Lossy(DataTypeWord(type));
}

bool HasOperandRow(const std::vector<std::string>& cells, const std::string& name, const std::string& type,
                   const std::set<std::string>& roles) {
  for (std::size_t i = 0; i + 2 < cells.size(); ++i) {
    if (cells[i] == name && roles.count(cells[i + 1]) != 0 && cells[i + 2] == type) return true;
  }
  return false;
}

TEST(HelpPages, TheGuideAndTheReferenceAreLaidOutInBothLanguagesAndTheGuideLinksReachTheReference) {
  const fs::path help = ORVISTO_HELP_DIR;
  for (const char* page : {"style.css", "en/index.html", "zh/index.html", "en/instructions.html", "zh/instructions.html"}) {
    EXPECT_TRUE(fs::is_regular_file(help / page)) << (help / page);
  }
  EXPECT_NE(ReadText(help / "zh/index.html").find("用户指南"), std::string::npos);
  // Every link of the guide into the reference reaches a page and, where it names one, an anchor.
  for (const char* language : {"en", "zh"}) {
    int links = 0;
    for (const std::string& href : Elements(ReadText(help / language / "index.html"), "href=\"", "\"")) {
      if (href.rfind("instructions", 0) != 0) continue;
      ++links;
      const std::size_t hash = href.find('#');
      const fs::path page = help / language / href.substr(0, hash);
      ASSERT_TRUE(fs::is_regular_file(page)) << page;
      if (hash != std::string::npos) {
        EXPECT_NE(ReadText(page).find("id=\"" + href.substr(hash + 1) + "\""), std::string::npos) << href;
      }
    }
    EXPECT_GE(links, 4) << language;
  }
  // Where the simulator's pipe and the PLC's network port are, which a user cannot guess.
  for (const char* page : {"en/index.html", "zh/index.html"}) {
    const std::string text = ReadText(help / page);
    for (const char* named : {"$XDG_RUNTIME_DIR/Quillamet", "/tmp/Quillamet", "2000", "/dev/serial/by-id"}) {
      EXPECT_NE(text.find(named), std::string::npos) << page << ": " << named;
    }
  }
}

TEST(HelpPages, TheReferenceListsEveryTypeWithItsInstructionsInBothLanguages) {
  testsupport::TempDir output;
  ASSERT_EQ(RunInstructionHelp(testsupport::FixturePath("catalog/Orvisto"), output.path()), 0);
  const fs::path en = fs::path(output.path()) / "en";
  const fs::path zh = fs::path(output.path()) / "zh";
  const std::string index = ReadText(en / "instructions.html");
  for (const char* type : {"instructions_CPU-A16.html", "instructions_CPU-FX32.html"}) {
    EXPECT_NE(index.find(type), std::string::npos) << type;
    EXPECT_TRUE(fs::is_regular_file(zh / type)) << type;
  }
  // Groups, instruction names, descriptions, operands and data types in the page's language.
  const std::string english = ReadText(en / "instructions_CPU-A16.html");
  for (const char* text : {"Bit logic", "Contact", "Normally open contact", "Byte equal", "IN1", "Int"}) {
    EXPECT_NE(english.find(text), std::string::npos) << text;
  }
  const std::string chinese = ReadText(zh / "instructions_CPU-A16.html");
  for (const char* text : {"位逻辑", "触点", "常开触点", "字节相等", "IN1", "整数 (Int)"}) {
    EXPECT_NE(chinese.find(text), std::string::npos) << text;
  }
  EXPECT_EQ(chinese.find("Normally open contact"), std::string::npos);
}

// A copy of the fixture catalog whose rules make the ladder order differ from the box order
// (the two inputs of ADD_I swapped against the unit) and leave LDW> without a ladder rule.
TEST(HelpPages, RolesAndOperandOrderFollowTheConversionRules) {
  testsupport::TempDir work;
  const fs::path catalog = fs::path(work.path()) / "Orvisto";
  fs::copy(testsupport::FixturePath("catalog/Orvisto"), catalog, fs::copy_options::recursive);
  const fs::path library = catalog / "TypeA" / "ManagerFun.xml";
  std::string text = ReadText(library);
  for (const auto& [from, to] :
       {std::pair<std::string, std::string>{"<Item Name=\"ADD_I\" Key=\"abc\"/>", "<Item Name=\"ADD_I\" Key=\"bac\"/>"},
        {"<Unit><Left><Item Name=\"LDW&gt;\" Key=\"ab\"/></Left><Right><Item Name=\"CMPI_GT\" Key=\"ab\"/></Right></Unit>\n"
         "    <Unit><Left><Item Name=\"MOV_B\"",
         "<Unit><Left><Item Name=\"MOV_B\""}}) {
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  }
  std::ofstream(library, std::ios::binary | std::ios::trunc) << text;
  ASSERT_EQ(RunInstructionHelp(catalog, fs::path(work.path()) / "help"), 0);

  struct Case {
    const char* language;
    const char* id;  // a statement-list form
    const char* operand;
    const char* role;
    const char* type;
  };
  const Case cases[] = {
      {"en", "stl-TON", "T", "name", "Word"},       {"en", "stl-TON", "PT", "input", "Int"},
      {"en", "stl-eq", "bit", "output", "Bit"},     {"en", "stl-A", "bit", "input", "Bit"},
      {"en", "stl-JMP", "N", "output", "Word"},     {"en", "stl-SR", "bit", "name", "Bit"},
      {"en", "stl-plus-I", "IN1", "input", "Int"},  {"en", "stl-LDW-gt", "IN1", "—", "Int"},
      {"zh", "stl-TON", "T", "名称", "字 (Word)"},  {"zh", "stl-MOVW", "OUT", "输出", "字 (Word)"},
      {"zh", "stl-AW-gt", "IN2", "—", "整数 (Int)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.language) + " " + c.id + " " + c.operand);
    const std::string page = ReadText(fs::path(work.path()) / "help" / c.language / "instructions_CPU-A16.html");
    const std::vector<std::string> cells = Cells(Anchored(page, c.id, "</tbody>"));
    EXPECT_TRUE(HasOperandRow(cells, c.operand, c.type, {c.role}));
  }
  // The box ADD_I lists its operands in the order of the unit: IN2 (key a) before IN1 (key b).
  const std::string page = ReadText(fs::path(work.path()) / "help" / "en" / "instructions_CPU-A16.html");
  const std::vector<std::string> rows = Elements(Anchored(page, "lad-ADD_I", "</table>"), "<tr><td>", "</td>");
  EXPECT_EQ(rows, (std::vector<std::string>{"<code>IN2</code>", "<code>IN1</code>", "<code>OUT</code>"}));
  // A constant operand shows the value range of its type.
  EXPECT_NE(Anchored(page, "lad-ADD_I", "</table>").find("constant (-32768 ~ 32767)"), std::string::npos);
}

// The shipped catalog of the source tree: each type page indexes every statement-list
// mnemonic once, with a link to an anchor that exists and holds every operand of each form
// with its role and data type; every ladder name is indexed the same way; the Chinese page
// shows no English data type word outside the parentheses.
TEST(HelpPages, TheShippedReferenceIndexesEveryMnemonicWithItsOperands) {
  const fs::path catalog = testsupport::FixturePath("../../catalog/Orvisto");
  testsupport::TempDir output;
  ASSERT_EQ(RunInstructionHelp(catalog, output.path()), 0);
  const std::set<std::string> roles = {"name", "input", "output", "—", "名称", "输入", "输出"};
  int types = 0;
  for (const fs::directory_entry& folder : fs::directory_iterator(catalog)) {
    if (!fs::exists(folder.path() / "PlcType.xml")) continue;
    ++types;
    for (const auto& [language, code] : {std::pair{"en", kLanguageEnglish}, {"zh", kLanguageChinese}}) {
      SCOPED_TRACE(folder.path().filename().string() + " " + language);
      SetCurrentLanguage(code);
      PlcType type;
      ReadPlcTypeDescription(type, (folder.path() / "PlcType.xml").wstring());
      InstructionLibrary library;
      ReadManagerFun(library, (folder.path() / "ManagerFun.xml").wstring(), type.Description.ProgramBlock.SizePageSbr);
      const std::string page = ReadText(fs::path(output.path()) / language /
                                        ("instructions_" + platform::ToUtf8Lossy(type.Name()) + ".html"));
      ASSERT_FALSE(page.empty());

      const auto stlIndex = IndexEntries(page, "index-stl");
      for (const FunStlRecord& def : library.FunStlList) {
        const std::string name = platform::ToUtf8Lossy(def.Name);
        std::vector<std::vector<std::string>> found;
        for (const auto& [shown, ids] : stlIndex) {
          if (shown == name) found.push_back(ids);
        }
        ASSERT_EQ(found.size(), 1u) << name;
        std::vector<std::string> cells;
        for (const std::string& id : found.front()) {
          const std::string part = Anchored(page, id, "</tbody>");
          EXPECT_FALSE(part.empty()) << name << " #" << id;
          for (const std::string& cell : Cells(part)) cells.push_back(cell);
        }
        // An operand the instruction reads and writes back is labelled so.
        const std::set<std::string> readWrite = {"input and output", "输入和输出"};
        for (const OperandDef& operand : def.Operands) {
          EXPECT_TRUE(HasOperandRow(cells, platform::ToUtf8Lossy(operand.Name), TypeText(operand.Const, code),
                                    operand.ReadWrite ? readWrite : roles))
              << name << " " << platform::ToUtf8Lossy(operand.Name);
        }
      }
      std::set<std::wstring> ladderNames;
      for (const FunLadRecord& def : library.FunLadList) ladderNames.insert(def.Name);
      const auto ladIndex = IndexEntries(page, "index-lad");
      EXPECT_EQ(ladIndex.size(), ladderNames.size());
      for (const std::wstring& ladderName : ladderNames) {
        int entries = 0;
        for (const auto& [shown, ids] : ladIndex) {
          if (shown != platform::ToUtf8Lossy(ladderName)) continue;
          ++entries;
          for (const std::string& id : ids) EXPECT_FALSE(Anchored(page, id, "</div>").empty()) << id;
        }
        EXPECT_EQ(entries, 1) << platform::ToUtf8Lossy(ladderName);
      }

      if (code == kLanguageChinese) {
        const std::string shown = Unescape(StripTags(page));
        for (int t = 0; t < kDataTypeCount; ++t) {
          const std::string word = platform::ToUtf8Lossy(DataTypeWord(t));
          for (std::size_t at = shown.find(word); at != std::string::npos; at = shown.find(word, at + 1)) {
            auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
            const bool whole = (at == 0 || !letter(shown[at - 1])) &&
                               (at + word.size() >= shown.size() || !letter(shown[at + word.size()]));
            if (!whole) continue;
            EXPECT_TRUE(at > 0 && shown[at - 1] == '(' && shown[at + word.size()] == ')')
                << word << " in \"" << shown.substr(at > 40 ? at - 40 : 0, 80) << "\"";
          }
        }
      }
    }
  }
  EXPECT_GE(types, 2);
  SetCurrentLanguage(kLanguageEnglish);
}

// Whether the operand slot takes the text: an address it admits or a constant it takes.
bool SlotTakes(const OperandDef& slot, const std::wstring& text, const MemoryAreaManager& memory) {
  OperandWord word = 0;
  if (ParseSlotAddress(text, memory, slot, word)) return true;
  ConstantOperand constant;
  return (ParseOperandFormatFlags(slot.Capacity) & kFormatConstant) != 0 &&
         ParseSlotConstant(constant, memory, slot, text);
}

// The operands of an instruction text without blanks, to compare them however they are spaced.
std::wstring OperandsOf(const std::wstring& text) {
  const std::size_t blank = text.find(L' ');
  std::wstring operands = blank == std::wstring::npos ? std::wstring() : text.substr(blank);
  operands.erase(std::remove(operands.begin(), operands.end(), L' '), operands.end());
  return operands;
}

// The examples of the guide, in both languages, on a new project of the shipped type they name:
// what it shows typed in a ladder cell is taken by the ladder editor with every operand filled
// and valid, in the order it was typed (the instruction's), and what it shows as statement-list
// lines is taken by the statement-list editor.
TEST(HelpPages, TheGuideExamplesWorkOnTheShippedType) {
  for (const auto& [type, suffix] : {std::pair{"CPU-Feldrin-CM3", ""}, std::pair{"CPU-Feldrin-FX", "-fx"}}) {
    testsupport::ShippedEnvironment shipped(type, kLanguageEnglish);
    FillDefaultProject(CurrentProject());
    const InstructionLibrary& library = CurrentProject().Instructions;
    const MemoryAreaManager& memory = CurrentProject().MemoryAreas;
    PageViewState state;
    state.PageId = 0;
    state.CursorColumn = 0;
    state.CursorRow = 0;
    for (const char* language : {"en", "zh"}) {
      const std::string guide = ReadText(fs::path(ORVISTO_HELP_DIR) / language / "index.html");
      const std::vector<std::string> cells =
          Elements(guide, "<code class=\"cell" + std::string(suffix) + "\">", "</code>");
      const std::vector<std::string> lines =
          Elements(guide, "<code class=\"line" + std::string(suffix) + "\">", "</code>");
      EXPECT_GE(cells.size(), 5u) << language << " " << type;
      EXPECT_GE(lines.size(), 5u) << language << " " << type;
      for (const std::string& example : cells) {
        SCOPED_TRACE(std::string(language) + " ladder cell: " + example);
        const std::wstring typed = platform::FromUtf8Lossy(Unescape(example));
        LadElement element;
        ASSERT_TRUE(ParseLadElementText(typed, element, state));
        std::vector<const FunLadRecord*> defs;
        FindLadElementDefs(library,
                           {element.Kind, element.Name, element.OperandId.size(), element.OperandIn.size(),
                            element.OperandOut.size()},
                           defs);
        std::vector<std::wstring> texts;
        for (const auto* list : {&element.OperandId, &element.OperandIn, &element.OperandOut}) {
          for (const ElementOperand& operand : *list) texts.push_back(operand.Text);
        }
        // The FX timer and counter coil has one definition per device width: the operands choose.
        const FunLadRecord* def = ChooseLadDefinition(defs, texts, memory);
        ASSERT_NE(def, nullptr);
        const std::vector<std::pair<const std::vector<OperandDef>*, const std::vector<ElementOperand>*>> lists = {
            {&def->OperandId, &element.OperandId},
            {&def->OperandIn, &element.OperandIn},
            {&def->OperandOut, &element.OperandOut}};
        for (const auto& [formats, operands] : lists) {
          for (std::size_t i = 0; i < operands->size(); ++i) {
            EXPECT_TRUE(SlotTakes((*formats)[i], (*operands)[i].Text, memory))
                << platform::ToUtf8Lossy((*operands)[i].Text);
          }
        }
        std::wstring text;
        ASSERT_TRUE(LadElement::ToInstructionText(element, state, text));
        EXPECT_EQ(platform::ToUtf8Lossy(OperandsOf(text)), platform::ToUtf8Lossy(OperandsOf(typed)));
      }
      for (const std::string& example : lines) {
        SCOPED_TRACE(std::string(language) + " statement list: " + example);
        StlLine line;
        ASSERT_TRUE(ParseStlLine(platform::FromUtf8Lossy(Unescape(example)), line, state));
        std::vector<const FunStlRecord*> defs;
        FindStlInstructionDefs(library, line.Mnemonic, line.Operands.size(), defs);
        const FunStlRecord* def = ChooseStlDefinition(defs, line.Operands, memory);
        ASSERT_NE(def, nullptr);
        for (std::size_t i = 0; i < line.Operands.size(); ++i) {
          EXPECT_TRUE(SlotTakes(def->Operands[i], line.Operands[i], memory))
              << platform::ToUtf8Lossy(line.Operands[i]);
        }
      }
    }
  }
}

TEST(HelpPages, ABrokenCatalogIsRefusedAndLeavesThePagesAsTheyWere) {
  testsupport::TempDir work;
  const fs::path catalog = fs::path(work.path()) / "Orvisto";
  fs::copy(testsupport::FixturePath("catalog/Orvisto"), catalog, fs::copy_options::recursive);
  const fs::path output = fs::path(work.path()) / "help";
  ASSERT_EQ(RunInstructionHelp(catalog, output), 0);
  const std::string before = ReadText(output / "en" / "instructions.html");
  std::ofstream(catalog / "TypeFx" / "ManagerFun.xml", std::ios::trunc) << "<ManagerFun>";
  EXPECT_NE(RunInstructionHelp(catalog, output), 0);
  EXPECT_EQ(ReadText(output / "en" / "instructions.html"), before);
}

}  // namespace
