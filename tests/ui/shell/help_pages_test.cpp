// The HTML help: the pages the build lays out in the program directory, and the instruction
// reference that instruction_help writes from a catalog folder, whatever type folders it holds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/test_paths.h"

namespace {

namespace fs = std::filesystem;

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

TEST(HelpPages, TheGuideAndTheReferenceAreLaidOutInBothLanguages) {
  const fs::path help = ORVISTO_HELP_DIR;
  for (const char* page : {"style.css", "en/index.html", "zh/index.html", "en/instructions.html", "zh/instructions.html"}) {
    EXPECT_TRUE(fs::is_regular_file(help / page)) << (help / page);
  }
  EXPECT_NE(ReadText(help / "zh/index.html").find("用户指南"), std::string::npos);
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
  // Groups, instruction names, descriptions and operands in the page's language.
  const std::string english = ReadText(en / "instructions_CPU-A16.html");
  for (const char* text : {"Bit logic", "Contact", "Normally open contact", "Byte equal", "IN1"}) {
    EXPECT_NE(english.find(text), std::string::npos) << text;
  }
  const std::string chinese = ReadText(zh / "instructions_CPU-A16.html");
  for (const char* text : {"位逻辑", "触点", "常开触点", "字节相等", "IN1"}) {
    EXPECT_NE(chinese.find(text), std::string::npos) << text;
  }
  EXPECT_EQ(chinese.find("Normally open contact"), std::string::npos);
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
