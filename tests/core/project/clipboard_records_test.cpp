#include "core/project/clipboard_records.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/utilities.h"
#include "support/memory_clipboard.h"

using namespace Brenno;

namespace {

using Bytes = std::vector<uint8_t>;

Network TwoLineNetwork(const std::wstring& operand) {
  Network network;
  network.Kind = kNetworkStl;
  StlLine line;
  line.Mnemonic = L"LD";
  line.Operands = {operand};
  network.Lines = {line, line};
  network.Comments = {L"copied"};
  return network;
}

Network LadderNetwork() {
  Network network;
  LadElement contact;
  contact.InCell = true;
  contact.Kind = kLadKindCont;
  contact.Name = L"NO";
  contact.OperandId = {{0, L"", L"I0.1"}};
  network.Grid.Elements = {contact};
  network.Grid.Columns = 1;
  network.Grid.Rows = 1;
  return network;
}

}  // namespace

TEST(ClipboardRecords, NetworksSurviveCopyAndPaste) {
  const std::vector<Network> copied = {TwoLineNetwork(L"I0.0"), LadderNetwork()};
  const Bytes block = MakeClipNetworksBlock(copied);
  // One record: the 17 key bytes, a zero byte, the length, then the value.
  ASSERT_GT(block.size(), 22u);
  EXPECT_EQ(std::string(block.begin(), block.begin() + 17), "clipboard_editmix");
  EXPECT_EQ(block[17], 0);
  const uint32_t length = block[18] | (block[19] << 8) | (block[20] << 16) | (block[21] << 24);
  EXPECT_EQ(length, block.size() - 22);

  const ClipBlockContent pasted = ReadClipBlock(block, false);
  EXPECT_EQ(pasted.Held, ClipBlockContent::Networks);
  EXPECT_EQ(pasted.NetworkList, copied);
}

TEST(ClipboardRecords, ElementsArePastedOnlyWhereTheyAreAccepted) {
  const std::vector<LadElement> elements = LadderNetwork().Grid.Elements;
  const Bytes block = MakeClipElementsBlock(elements);
  EXPECT_EQ(std::string(block.begin(), block.begin() + 17), "clipboard_ladunit");
  EXPECT_EQ(ReadClipBlock(block, false).Held, ClipBlockContent::None);
  const ClipBlockContent pasted = ReadClipBlock(block, true);
  EXPECT_EQ(pasted.Held, ClipBlockContent::Elements);
  EXPECT_EQ(pasted.ElementList, elements);
}

TEST(ClipboardRecords, OddBlocksPasteNothing) {
  const Bytes good = MakeClipNetworksBlock({TwoLineNetwork(L"I0.0")});
  Bytes twoRecords = good;
  twoRecords.insert(twoRecords.end(), good.begin(), good.end());
  Bytes otherKey;
  EncodeStructField(otherKey, "clipboard_other", [](StreamBytes&) {});
  Bytes truncated = good;
  truncated.pop_back();
  Bytes brokenNetwork;  // a "#1" element that is no network (its fields are missing)
  EncodeStructField(brokenNetwork, kClipNetworksKey,
                    [](StreamBytes& out) { EncodeIntField(out, "#1", 1); });

  for (const Bytes& block : {twoRecords, otherKey, truncated, brokenNetwork, Bytes{}, Bytes{1, 2, 3}}) {
    const ClipBlockContent pasted = ReadClipBlock(block, true);
    EXPECT_EQ(pasted.Held, ClipBlockContent::None);
    EXPECT_TRUE(pasted.NetworkList.empty());
    EXPECT_TRUE(pasted.ElementList.empty());
  }
}

TEST(ClipboardRecords, EmptyRecordIsAnEmptyList) {
  Bytes block;
  EncodeStructField(block, kClipNetworksKey, [](StreamBytes&) {});
  const ClipBlockContent pasted = ReadClipBlock(block, false);
  EXPECT_EQ(pasted.Held, ClipBlockContent::Networks);
  EXPECT_TRUE(pasted.NetworkList.empty());

  // The keyed reader needs its record.
  StreamRecords records;
  SplitStreamRecords(block, records);
  std::vector<LadElement> elements;
  EXPECT_THROW(ReadClipElementsRecord(block, records, elements), ExceptionParseStreamError);
}

TEST(ClipboardRecords, ThroughThePrivateClipboardBlock) {
  testsupport::MemoryClipboard clipboard;
  const std::vector<Network> copied = {TwoLineNetwork(L"\x8BA1\x6570")};
  ASSERT_TRUE(CopyNetworksToClipboard(copied));
  Bytes read;
  ASSERT_TRUE(GetClipboardBlock(read));
  EXPECT_EQ(read, MakeClipNetworksBlock(copied));
  EXPECT_EQ(ReadClipboardForPaste(false).NetworkList, copied);

  // An empty selection leaves the clipboard alone; so does a copy that cannot be encoded.
  EXPECT_FALSE(CopyElementsToClipboard({}));
  EXPECT_THROW(CopyNetworksToClipboard({TwoLineNetwork(L"\x2603")}), ExceptionParseStreamError);
  EXPECT_EQ(ReadClipboardForPaste(false).NetworkList, copied);

  ASSERT_TRUE(CopyElementsToClipboard(LadderNetwork().Grid.Elements));
  EXPECT_EQ(ReadClipboardForPaste(false).Held, ClipBlockContent::None);
  EXPECT_EQ(ReadClipboardForPaste(true).ElementList, LadderNetwork().Grid.Elements);

  // Plain text on the clipboard is no block.
  ASSERT_TRUE(PutClipboardText(L"LD I0.0"));
  EXPECT_EQ(ReadClipboardForPaste(true).Held, ClipBlockContent::None);
}

TEST(ClipboardRecords, CopyOfATextOutsideTheCodePageFails) {
  EXPECT_THROW(MakeClipNetworksBlock({TwoLineNetwork(L"\x2603")}), ExceptionParseStreamError);
}

namespace {

// The block with the first two bytes of `text` (it occurs once) replaced by FF 20, which is not
// code page 936.
Bytes Damaged(Bytes block, const std::string& text) {
  const auto at = std::search(block.begin(), block.end(), text.begin(), text.end());
  EXPECT_NE(at, block.end());
  if (at != block.end()) {
    at[0] = 0xFF;
    at[1] = 0x20;
  }
  return block;
}

}  // namespace

TEST(ClipboardRecords, ATextThatIsNotCodePage936PastesEmptyAndIsNamed) {
  SetCurrentLanguage(kLanguageEnglish);
  std::vector<Network> copied = {TwoLineNetwork(L"I0.0"), TwoLineNetwork(L"I0.1"), LadderNetwork()};
  copied[1].Comments = {L"main cm"};
  copied[2].Grid.Elements[0].OperandId[0].Text = L"V9.9";
  const Bytes block = MakeClipNetworksBlock(copied);

  ClipBlockContent pasted = ReadClipBlock(Damaged(block, "main cm"), false, 5);
  ASSERT_EQ(pasted.Held, ClipBlockContent::Networks);
  std::vector<Network> expected = copied;
  expected[1].Comments = {L""};
  EXPECT_EQ(pasted.NetworkList, expected);
  EXPECT_EQ(pasted.EmptiedTexts.Listed, std::vector<std::wstring>{L"NETWORK 6, comment line 1"});

  pasted = ReadClipBlock(Damaged(block, "V9.9"), true, 0);
  expected = copied;
  expected[2].Grid.Elements[0].OperandId[0].Text.clear();
  EXPECT_EQ(pasted.NetworkList, expected);
  EXPECT_EQ(pasted.EmptiedTexts.Listed, std::vector<std::wstring>{L"NETWORK 2, ladder element 1, operand"});

  const std::vector<LadElement> elements = {LadderNetwork().Grid.Elements[0], LadderNetwork().Grid.Elements[0]};
  std::vector<LadElement> named = elements;
  named[1].Name = L"XQ";
  pasted = ReadClipBlock(Damaged(MakeClipElementsBlock(named), "XQ"), true);
  ASSERT_EQ(pasted.Held, ClipBlockContent::Elements);
  EXPECT_EQ(pasted.ElementList[1].Name, L"");
  EXPECT_EQ(pasted.EmptiedTexts.Listed, std::vector<std::wstring>{L"ladder element 2, instruction"});
}

// A block of many texts that do not read lists the first places and counts the others, and the
// work of finding them (counted in records split, not timed) grows with the block, not with
// its square.
TEST(ClipboardRecords, APasteOfManyUnreadableTextsListsTheFirstAndCountsTheRest) {
  SetCurrentLanguage(kLanguageEnglish);
  uint64_t work[2] = {};
  for (const size_t count : {1000u, 2000u}) {
    Network network = TwoLineNetwork(L"I0.0");
    network.Comments.assign(count, L"~~~~");
    Bytes block = MakeClipNetworksBlock({network});
    const std::string text = "~~~~";
    size_t damaged = 0;
    for (auto at = block.begin(); (at = std::search(at, block.end(), text.begin(), text.end())) != block.end(); at += 4) {
      at[0] = 0xFF;
      at[1] = 0x20;
      ++damaged;
    }
    ASSERT_EQ(damaged, count);

    const uint64_t before = ThreadStreamWorkCount().RecordsSplit;
    const ClipBlockContent pasted = ReadClipBlock(block, false, 3);
    work[count == 2000u] = ThreadStreamWorkCount().RecordsSplit - before;
    ASSERT_EQ(pasted.Held, ClipBlockContent::Networks);
    ASSERT_EQ(pasted.EmptiedTexts.Listed.size(), kMostTextPlacesListed);
    EXPECT_EQ(pasted.EmptiedTexts.Listed.front(), L"NETWORK 3, comment line 1");
    EXPECT_EQ(pasted.EmptiedTexts.Listed.back(), L"NETWORK 3, comment line 20");
    EXPECT_EQ(pasted.EmptiedTexts.Further, count - kMostTextPlacesListed);
  }
  EXPECT_LE(work[1], 2 * work[0]);
}

TEST(ClipboardRecords, ACopyOfATextTheCodePageCannotHoldNamesTheNetwork) {
  SetCurrentLanguage(kLanguageChinese);
  std::vector<Network> copied = {TwoLineNetwork(L"I0.0"), TwoLineNetwork(L"I0.1")};
  copied[1].Lines[1].Comments = {L"pump \U0001F600"};
  try {
    MakeClipNetworksBlock(copied, 3);
    ADD_FAILURE() << "copied";
  } catch (const ExceptionParseStreamError& error) {
    EXPECT_NE(error.Message().find(L"NETWORK 4，语句表第 2 行，注释: \"pump \U0001F600\""), std::wstring::npos)
        << error.Message();
  }
  SetCurrentLanguage(kLanguageEnglish);
}
