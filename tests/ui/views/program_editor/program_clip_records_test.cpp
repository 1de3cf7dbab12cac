// The program clipboard record and the element lookups over the fixture type's instruction
// library.
#include "ui/views/program_editor/program_clip_records.h"

#include <gtest/gtest.h>

#include "core/env/exception_error.h"
#include "core/program/program_block.h"
#include "tests/ui/views/program_editor/program_editor_test_env.h"

namespace Brenno {
namespace {

class ProgramClipRecordsTest : public progviewtest::ProgramEditorEnv {};

uint32_t LengthField(const StreamBytes& bytes, size_t keyLength) {
  const size_t at = keyLength + 1;
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

TEST_F(ProgramClipRecordsTest, WrittenRecordReadsBackAndItsLengthIsTheValue) {
  const std::vector<Network> networks(Page(0).Networks().begin(), Page(0).Networks().begin() + 2);
  StreamBytes bytes;
  const uint8_t* start = WriteClipNetworkRecord(bytes, "clipboard_editmix", networks);
  EXPECT_EQ(start, bytes.data());
  const std::string key = "clipboard_editmix";
  ASSERT_GT(bytes.size(), key.size() + 5);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + key.size()), key);
  EXPECT_EQ(bytes[key.size()], 0);
  EXPECT_EQ(LengthField(bytes, key.size()), bytes.size() - key.size() - 5);

  StreamRecords records;
  SplitStreamRecords(bytes, records);
  std::vector<Network> read{Network()};
  ReadClipNetworkRecord("clipboard_editmix", bytes, read, records);
  ASSERT_EQ(read.size(), 2u);
  EXPECT_TRUE(Network::Equals(read[0], networks[0]));

  // No elements still make a whole record with an empty value.
  StreamBytes empty;
  WriteClipElementRecord(empty, "clipboard_ladunit", {});
  EXPECT_EQ(empty.size(), std::string("clipboard_ladunit").size() + 5);
  EXPECT_EQ(LengthField(empty, 17), 0u);
}

TEST_F(ProgramClipRecordsTest, KeyMustMatchExactly) {
  StreamBytes bytes;
  WriteClipElementRecord(bytes, "clipboard_ladunit", {});
  StreamRecords records;
  SplitStreamRecords(bytes, records);
  std::vector<LadElement> elements(3);
  EXPECT_THROW(ReadClipElementRecord("clipboard_ladun", bytes, elements, records), ExceptionParseStreamError);
  EXPECT_THROW(ReadClipElementRecord("clipboard_ladunitx", bytes, elements, records), ExceptionParseStreamError);
  EXPECT_EQ(elements.size(), 3u);  // nothing decoded before the key is found
  ReadClipElementRecord("clipboard_ladunit", bytes, elements, records);
  EXPECT_TRUE(elements.empty());
}

TEST_F(ProgramClipRecordsTest, LookupsAndChoiceLists) {
  const InstructionLibrary& library = Current().Instructions;
  std::vector<const FunLadRecord*> defs{nullptr};
  ListLadDefsOfKind(defs, library, 99);
  EXPECT_TRUE(defs.empty());
  ListLadDefsOfKind(defs, library, kLadLookBlock);
  ASSERT_FALSE(defs.empty());

  // The subroutine-call definitions close the table, one per subroutine page the type allows.
  ASSERT_GT(library.SubroutineCount, 1);
  const FunLadRecord& sbr0 = library.FunLadList[library.FunLadList.size() - library.SubroutineCount];
  const FunLadRecord& sbr1 = library.FunLadList[library.FunLadList.size() - library.SubroutineCount + 1];
  EXPECT_TRUE(IsSubroutineCallDef(sbr0, library));
  EXPECT_FALSE(IsSubroutineCallDef(*defs.front(), library));
  EXPECT_EQ(FindCallTargetPage(Program(), sbr0), 0x10000);
  EXPECT_EQ(FindCallTargetPage(Program(), sbr1), -1);  // SBR1 is not a page of the project

  // Boxes: keywords, and a call only for the subroutine page that exists, by its title.
  std::vector<ElementChoice> boxes = BuildElementChoices(library, Program(), kLadLookBlock);
  int calls = 0;
  for (const ElementChoice& choice : boxes) {
    if (IsSubroutineCallDef(library.FunLadList[choice.DefinitionIndex], library)) {
      ++calls;
      EXPECT_EQ(choice.Text, L"SBR_0 (SBR0)");
    }
  }
  EXPECT_EQ(calls, 1);
  std::vector<ElementChoice> contacts = BuildElementChoices(library, Program(), kLadLookCont);
  ASSERT_FALSE(contacts.empty());
  const FunLadRecord& first = library.FunLadList[contacts.front().DefinitionIndex];
  EXPECT_EQ(first.Look, kLadLookCont);
  EXPECT_EQ(contacts.front().Text, L"-|" + first.Keyword + L"|-");
  std::vector<ElementChoice> coils = BuildElementChoices(library, Program(), kLadLookCoil);
  ASSERT_FALSE(coils.empty());
  EXPECT_EQ(coils.front().Text, L"-(" + library.FunLadList[coils.front().DefinitionIndex].Keyword + L")");
}

}  // namespace
}  // namespace Brenno
