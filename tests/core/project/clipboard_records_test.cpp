#include "core/project/clipboard_records.h"

#include <gtest/gtest.h>

#include "core/env/exception_error.h"
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
