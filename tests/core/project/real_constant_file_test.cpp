// Real constants typed into the statement list of the shipped type keep their 32-bit value through
// the editor's text, a saved and reopened project, the compiled image and its decoding.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/compiler/binary_image.h"
#include "core/compiler/instruction_words.h"
#include "core/convert/stl_analysis.h"
#include "core/convert/stl_generation.h"
#include "core/env/language.h"
#include "core/program/stl_line.h"
#include "core/project/project.h"
#include "core/project/project_file.h"
#include "core/project/project_reset.h"
#include "platform/text_codec.h"
#include "support/shipped_catalog.h"

namespace {

using namespace Brenno;

std::string U(const std::wstring& text) { return platform::ToUtf8Lossy(text); }

uint32_t CBits(const wchar_t* text) {
  const float value = std::wcstof(text, nullptr);
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

TEST(RealConstantFile, TypedRealsKeepTheirValueThroughSaveOpenAndCompile) {
  testsupport::ShippedEnvironment shipped(testsupport::kShippedFxMode0Type, kLanguageEnglish);
  struct Case {
    const wchar_t* typed;
    const wchar_t* stored;
  } const cases[] = {
      {L"1234567.9", L"1234567.9"},
      {L"3.14159265", L"3.1415927"},
      {L"0.1", L"0.1"},
      {L"-2.5e-7", L"-2.5e-07"},
      {L"1e-45", L"1e-45"},
  };
  Project& project = CurrentProject();
  FillDefaultProject(project);
  project.Program.ViewMode = kViewModeStl;
  Network network;
  network.Kind = kNetworkStl;
  PageViewState page;
  for (const Case& c : cases) {
    StlLine line;
    ASSERT_TRUE(ParseStlLine(std::wstring(L"MOVR  ") + c.typed + L", VD0", line, page));
    ASSERT_EQ(line.Operands.size(), 2u);
    EXPECT_EQ(U(line.Operands[0]), U(c.stored));
    network.Lines.push_back(line);
  }
  project.Program.GetProgramPage(0).UndoLog.Networks[0] = network;

  const std::wstring path = platform::FromUtf8Lossy(shipped.Dir().File("reals.lqw"));
  SaveProjectFile(path);
  OpenProjectAsCurrent(path);
  const std::vector<StlLine>& lines = CurrentProject().Program.GetProgramPage(0).UndoLog.Networks[0].Lines;
  ASSERT_EQ(lines.size(), std::size(cases));
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(U(lines[i].Operands[0]), U(cases[i].stored));

  std::vector<StlElement> elements;
  ParseStlLines(CurrentProject().Instructions, lines, elements);
  BinaryImage image;
  std::vector<uint32_t> words;
  EncodeInstructions(image, elements, words);
  for (const Case& c : cases) {
    const auto& constants = image.ProgramConsts;
    EXPECT_NE(std::find(constants.begin(), constants.end(), CBits(c.typed)), constants.end()) << U(c.typed);
  }
  std::vector<StlElement> decoded;
  DecodeInstructions(decoded, image.ProgramConsts, words);
  std::vector<StlLine> back;
  FormatStlLines(CurrentProject().Instructions, decoded, back);
  ASSERT_EQ(back.size(), std::size(cases));
  for (size_t i = 0; i < back.size(); ++i) EXPECT_EQ(U(back[i].Operands[0]), U(cases[i].stored));
}

}  // namespace
