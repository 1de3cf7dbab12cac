#include "core/project/program_stream.h"

#include <gtest/gtest.h>

#include "core/env/exception_error.h"
#include "core/program/network_undo_log.h"
#include "core/project/table_stream.h"
#include "platform/file_util.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

using namespace Brenno;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Record(std::string_view key, const Bytes& value) {
  Bytes bytes(key.begin(), key.end());
  bytes.push_back(0);
  const uint32_t n = static_cast<uint32_t>(value.size());
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(n >> (8 * i)));
  bytes.insert(bytes.end(), value.begin(), value.end());
  return bytes;
}

Bytes TextRecord(std::string_view key, std::string_view text) {
  return Record(key, Record(":s", Bytes(text.begin(), text.end())));
}

uint32_t End(const Bytes& bytes) { return static_cast<uint32_t>(bytes.size()); }

template <class T, class Encode>
Bytes EncodeWith(const T& value, Encode encode) {
  Bytes bytes;
  encode(value, bytes);
  return bytes;
}

template <class T, class Decode>
T DecodeWith(const Bytes& bytes, Decode decode, T target = T()) {
  decode(bytes, 0, End(bytes), target);
  return target;
}

std::vector<std::string> TopKeys(const Bytes& bytes) {
  StreamRecords records;
  SplitStreamRecords(bytes, records);
  std::vector<std::string> keys;
  for (const auto& record : records) keys.emplace_back(RecordKey(bytes, record));
  return keys;
}

StlLine Line(const std::wstring& mnemonic, int variant, std::vector<std::wstring> operands,
             std::vector<std::wstring> comments = {}) {
  StlLine line;
  line.Mnemonic = mnemonic;
  line.Variant = variant;
  line.Operands = std::move(operands);
  line.Comments = std::move(comments);
  return line;
}

LadElement Box() {
  LadElement element;
  element.Column = 2;
  element.Row = 1;
  element.InCell = true;
  element.Kind = kLadKindBlock;
  element.Name = L"TON";
  element.Variant = 3;
  element.PowerIn = {{0, L"IN"}};
  element.PowerOut = {{0, L""}};
  element.OperandId = {{0, L"", L"T37"}};
  element.OperandIn = {{1, L"PT", L"+100"}, {2, L"X", L"VW0"}};
  element.OperandOut = {{3, L"Q", L"M0.0"}};
  element.Comments = {L"\x5B9A\x65F6", L"second"};
  return element;
}

Network LadNetwork() {
  Network network;
  network.Kind = kNetworkLad;
  LadElement line;
  line.Kind = kLadKindLine;
  line.InCell = false;
  network.Grid.Elements = {line, Box()};
  network.Grid.Columns = 4;
  network.Grid.Rows = 4;
  network.Comments = {L"rung one", L""};
  return network;
}

Network StlNetwork() {
  Network network;
  network.Kind = kNetworkStl;
  network.Lines = {Line(L"LD", 0, {L"I0.0"}, {L"start"}), Line(L"CALL", 2, {L"SBR0", L"VW2"})};
  return network;
}

ProgramPage PageWith(std::vector<Network> networks) {
  ProgramPage page;
  ProgramPage::Create(page);
  ApplyNetworkEdit(page.UndoLog, MakeNetworkEditRecord(0, page.UndoLog.Networks, networks));
  page.LocalVars = {VarEntry{31, kVarAreaTemp, 5, L"tmp", L"LW0", L"scratch"}};
  return page;
}

ProgramBlock ExampleProgram() {
  ProgramBlock program;
  program.ViewMode = kViewModeStl;
  program.InterruptTable.Working[3] = MakeBlockRecord(L"INT_3", L"INT3", L"", PageWith({StlNetwork()}));
  program.InterruptTable.Working[0] = MakeBlockRecord(L"MAIN", L"OB1", L"main \x7A0B\x5E8F", PageWith({LadNetwork(), StlNetwork()}));
  program.SubroutineTable.Working[0x10001] = MakeBlockRecord(L"SBR_1", L"SBR1", L"", PageWith({}));
  return program;
}

void ExpectSameUnits(const BlockTable& a, const BlockTable& b) {
  ASSERT_EQ(a.Working.size(), b.Working.size());
  for (const auto& [key, record] : a.Working) {
    ASSERT_TRUE(b.HasWorkingPage(key)) << key;
    const BlockRecord& other = b.Working.at(key);
    EXPECT_EQ(record.Name, other.Name);
    EXPECT_EQ(record.Address, other.Address);
    EXPECT_EQ(record.Comment, other.Comment);
    EXPECT_EQ(record.Page.Networks(), other.Page.Networks());
    EXPECT_EQ(record.Page.LocalVars, other.Page.LocalVars);
  }
}

}  // namespace

TEST(ProgramStream, StlLineStoresTheVariantInTheMnemonic) {
  const Bytes bare = EncodeWith(Line(L"LD", 0, {}), EncodeStlLine);
  EXPECT_EQ(bare, TextRecord("#1", "LD"));
  const Bytes indexed = EncodeWith(Line(L"LD", 2, {L"I0.0"}, {L"c"}), EncodeStlLine);
  Bytes expected = TextRecord("#1", "LD#2");
  for (const Bytes& part : {TextRecord("#2", "I0.0"), TextRecord("#3", "c")}) {
    expected.insert(expected.end(), part.begin(), part.end());
  }
  EXPECT_EQ(indexed, expected);
  EXPECT_EQ(DecodeWith<StlLine>(indexed, DecodeStlLine), Line(L"LD", 2, {L"I0.0"}, {L"c"}));

  // A name holding "#" reads back split at its last "#"; a part that is no number is dropped.
  EXPECT_EQ(DecodeWith<StlLine>(TextRecord("#1", "A#B#7"), DecodeStlLine), Line(L"A#B", 7, {}));
  EXPECT_EQ(DecodeWith<StlLine>(TextRecord("#1", "A#x"), DecodeStlLine), Line(L"A", 0, {}));
}

// Whatever a name field holds, the first save settles it: saving what was read, reading it and
// saving again gives the same bytes, and the second read gives the same value.
TEST(ProgramStream, IndexedNamesSettleAfterOneSave) {
  struct Case {
    std::string text;
    std::wstring name;
    int variant;
  };
  const Case cases[] = {
      {"##", L"", 0},        {"#", L"", 0},         {"A#B#x", L"A", 0},  {"A#5#", L"A", 5},
      {"A#B#7", L"A#B", 7},  {"#1#x", L"", 1},      {"LD#x", L"LD", 0}, {"X#0#0", L"X", 0},
      {"A#B#0", L"A", 0},    {"MOV#-1", L"MOV", -1},
  };
  for (const Case& c : cases) {
    const StlLine line = DecodeWith<StlLine>(TextRecord("#1", c.text), DecodeStlLine);
    EXPECT_EQ(line.Mnemonic, c.name) << c.text;
    EXPECT_EQ(line.Variant, c.variant) << c.text;
    const Bytes saved = EncodeWith(line, EncodeStlLine);
    const StlLine again = DecodeWith<StlLine>(saved, DecodeStlLine);
    EXPECT_EQ(again, line) << c.text;
    EXPECT_EQ(EncodeWith(again, EncodeStlLine), saved) << c.text;
  }
}

// A ladder element found by the stream fuzzer: its name "##" was read as "#", saved as "#",
// read as "" and saved as "", so every open and save changed the project.
TEST(ProgramStream, SavedElementWithAHashNameReadsBackAsSaved) {
  std::vector<uint8_t> input;
  ASSERT_TRUE(platform::ReadFileBytes(
      platform::FromUtf8Lossy(testsupport::FixturePath("fuzz/tagged_stream/lad_element_hash_name")), input));
  ASSERT_EQ(input.at(0) % 8, 2);  // the harness's selector of ladder elements
  const Bytes record(input.begin() + 1, input.end());
  const LadElement read = DecodeWith<LadElement>(record, DecodeLadElement);
  EXPECT_EQ(read.Name, L"");
  EXPECT_EQ(read.Variant, 0);
  const Bytes first = EncodeWith(read, EncodeLadElement);
  const LadElement again = DecodeWith<LadElement>(first, DecodeLadElement);
  EXPECT_EQ(again, read);
  EXPECT_EQ(EncodeWith(again, EncodeLadElement), first);
}

TEST(ProgramStream, ElementWithoutListsWritesOnlyItsFirstFiveFields) {
  LadElement element;
  element.Column = 1;
  element.Row = 2;
  element.InCell = true;
  element.Kind = kLadKindCont;
  element.Name = L"NO";
  const Bytes bytes = EncodeWith(element, EncodeLadElement);
  EXPECT_EQ(TopKeys(bytes), (std::vector<std::string>{"#1", "#2", "#3", "#4", "#5"}));
  EXPECT_EQ(bytes.size(), 3u * 18 + 15 + 14 + 2);  // three ints, the flag, the name "NO"
  EXPECT_EQ(DecodeWith<LadElement>(bytes, DecodeLadElement), element);

  // Pins and operands keep their field order: a pin is name then slot, an operand slot first.
  EXPECT_EQ(EncodeWith(ElementPin{4, L"EN"}, EncodeElementPin),
            [] {
              Bytes b = TextRecord("#1", "EN");
              Bytes slot = Record("#2", Record(":d", {4, 0, 0, 0}));
              b.insert(b.end(), slot.begin(), slot.end());
              return b;
            }());
  const Bytes full = EncodeWith(Box(), EncodeLadElement);
  EXPECT_EQ(DecodeWith<LadElement>(full, DecodeLadElement), Box());
}

TEST(ProgramStream, NetworksCarryBothFormsWhateverTheirKind) {
  const Network ladder = LadNetwork();
  const Bytes bytes = EncodeWith(ladder, EncodeNetwork);
  StreamRecords records;
  SplitStreamRecords(bytes, records);
  ASSERT_EQ(TopKeys(bytes), (std::vector<std::string>{"#1", "#2", "#3", "#4", "#4"}));
  // An empty statement-list part is a "#2" of length 0.
  EXPECT_EQ(records[1].EndOffset - records[1].ValueOffset, 0u);
  EXPECT_EQ(DecodeWith<Network>(bytes, DecodeNetwork), ladder);
  EXPECT_EQ(DecodeWith<Network>(EncodeWith(StlNetwork(), EncodeNetwork), DecodeNetwork), StlNetwork());
}

TEST(ProgramStream, MissingSingleFieldsThrow) {
  const Bytes network = EncodeWith(StlNetwork(), EncodeNetwork);
  StreamRecords records;
  SplitStreamRecords(network, records);
  // Drop each of the three required fields of a network in turn.
  for (size_t drop = 0; drop < 3; ++drop) {
    Bytes cut;
    for (size_t i = 0; i < records.size(); ++i) {
      if (i == drop) continue;
      cut.insert(cut.end(), network.begin() + records[i].KeyOffset, network.begin() + records[i].EndOffset);
    }
    EXPECT_THROW(DecodeWith<Network>(cut, DecodeNetwork), ExceptionParseStreamError) << drop;
  }
  EXPECT_THROW(DecodeWith<ElementPin>(TextRecord("#1", "EN"), DecodeElementPin), ExceptionParseStreamError);
  EXPECT_THROW(DecodeWith<StlLine>(TextRecord("#2", "I0.0"), DecodeStlLine), ExceptionParseStreamError);
  // A grid needs its extent; a program block its view mode.
  EXPECT_THROW(DecodeWith<LadderGrid>(Record("#1", Record(":d", {1, 0, 0, 0})), DecodeLadGrid),
               ExceptionParseStreamError);
  EXPECT_THROW(DecodeWith<ProgramBlock>(Bytes{}, DecodeProgramBlock), ExceptionParseStreamError);
}

TEST(ProgramStream, PageReadsBackWithoutHistoryAndKeepsItsNetworksOnFailure) {
  ProgramPage page = PageWith({LadNetwork(), StlNetwork()});
  ASSERT_GT(page.UndoLog.Steps.size(), 0u);
  const Bytes bytes = EncodeWith(page, EncodeProgramPage);

  ProgramPage loaded;
  ProgramPage::Create(loaded);
  loaded.ViewState.CurrentNetwork = 1;
  DecodeProgramPage(bytes, 0, End(bytes), loaded);
  EXPECT_EQ(loaded.Networks(), page.Networks());
  EXPECT_EQ(loaded.LocalVars, page.LocalVars);
  EXPECT_TRUE(loaded.UndoLog.Steps.empty());
  EXPECT_EQ(loaded.UndoLog.Position, 0);
  EXPECT_EQ(loaded.ViewState.CurrentNetwork, 1);  // view state untouched

  // The second network is cut short: the page keeps every network it had.
  Bytes broken = bytes;
  broken.resize(broken.size() - 20);
  ProgramPage kept = PageWith({StlNetwork()});
  EXPECT_THROW(DecodeProgramPage(broken, 0, End(broken), kept), ExceptionParseStreamError);
  EXPECT_EQ(kept.Networks(), std::vector<Network>{StlNetwork()});
}

TEST(ProgramStream, ProgramBlockRoundTripsInUnsignedKeyOrder) {
  const ProgramBlock program = ExampleProgram();
  const Bytes bytes = EncodeWith(program, EncodeProgramBlock);

  ProgramBlock loaded;
  loaded.InterruptTable.Working[7] = MakeDefaultBlockRecord();  // replaced as a whole
  loaded.Limits.SizePageInt = 5;                                // not stored, not touched
  DecodeProgramBlock(bytes, 0, End(bytes), loaded);
  EXPECT_EQ(loaded.ViewMode, kViewModeStl);
  EXPECT_EQ(loaded.Limits.SizePageInt, 5);
  ExpectSameUnits(program.InterruptTable, loaded.InterruptTable);
  ExpectSameUnits(program.SubroutineTable, loaded.SubroutineTable);
  EXPECT_EQ(EncodeWith(loaded, EncodeProgramBlock), bytes);

  // The units of "#2" are written as key 0 before key 3.
  StreamRecords records;
  SplitStreamRecords(bytes, records);
  std::vector<int> keys;
  for (const auto& record : records) {
    if (RecordKey(bytes, record) != "#2") continue;
    StreamRecords entry;
    SplitStreamRecords(bytes, record.ValueOffset, record.EndOffset, entry);
    int32_t key = -1;
    DecodeKeyField("key", bytes, entry, key);
    keys.push_back(key);
  }
  EXPECT_EQ(keys, (std::vector<int>{0, 3}));
}

TEST(ProgramStream, UnitMapKeepsTheFirstEntryAndToleratesAMissingSubroutineMap) {
  ProgramBlock first;
  first.InterruptTable.Working[0] = MakeBlockRecord(L"MAIN", L"OB1", L"first", PageWith({StlNetwork()}));
  ProgramBlock second;
  second.InterruptTable.Working[0] = MakeBlockRecord(L"MAIN", L"OB1", L"second", PageWith({}));
  Bytes bytes;
  EncodeIntField(bytes, "#1", kViewModeLad);
  EncodeBlockRecordMap(bytes, "#2", first.InterruptTable);
  EncodeBlockRecordMap(bytes, "#2", second.InterruptTable);

  ProgramBlock loaded;
  loaded.SubroutineTable.Working[0x10000] = MakeDefaultBlockRecord();
  DecodeProgramBlock(bytes, 0, End(bytes), loaded);
  ASSERT_EQ(loaded.InterruptTable.Working.size(), 1u);
  EXPECT_EQ(loaded.InterruptTable.Working.at(0).Comment, L"first");
  EXPECT_TRUE(loaded.SubroutineTable.Working.empty());
}

TEST(ProgramStream, LegacyProgramBlockReadsUnitsAsLadderByDefault) {
  Bytes unit;
  EncodeKeyField(unit, "#1", 5);
  EncodeIntField(unit, "#2", 99);
  EncodeFlagField(unit, "#3", static_cast<uint8_t>(1));
  EncodeNetworkList(unit, "#4", {StlNetwork(), LadNetwork()});
  Bytes bytes;
  EncodeKeyField(bytes, "#1", kViewModeStl);
  EncodeFlagField(bytes, "#2", static_cast<uint8_t>(0));
  EncodeStructField(bytes, "#3", [&](StreamBytes& out) {
    EncodeKeyField(out, "key", 0);
    EncodeStructField(out, "value", [&](StreamBytes& v) { v.insert(v.end(), unit.begin(), unit.end()); });
  });

  LegacyProgramBlock program;
  DecodeLegacyProgramBlock(bytes, 0, End(bytes), program);
  EXPECT_EQ(program.ViewMode, kViewModeStl);
  ASSERT_EQ(program.Interrupts.size(), 1u);
  EXPECT_EQ(program.Interrupts.at(0).Number, 99);
  EXPECT_EQ(program.Interrupts.at(0).Networks, (std::vector<Network>{StlNetwork(), LadNetwork()}));
  EXPECT_TRUE(program.Subroutines.empty());

  // A unit without its flag is refused.
  Bytes noFlag;
  EncodeKeyField(noFlag, "#1", 5);
  EncodeIntField(noFlag, "#2", 99);
  EXPECT_THROW(DecodeWith<LegacyProgramUnit>(noFlag, DecodeLegacyProgramUnit), ExceptionParseStreamError);
}
