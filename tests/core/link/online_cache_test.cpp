// The online cache as the painters read it: values only while online, assembled from the value
// image, stale debug records refused, request ticks written back, power flow by instruction
// set, and reads that never see a value half-way through an update of the monitor.
#include "core/link/online_access.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/link/app_environment.h"
#include "core/env/instruction_library.h"
#include "core/env/language.h"
#include "core/env/manager_var_reader.h"
#include "core/env/operand_address.h"
#include "core/project/project.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

namespace Brenno {
namespace {

MemoryAreaManager LoadMap(const std::string& type) {
  MemoryAreaManager map;
  ReadManagerVar(map, platform::FromUtf8Lossy(testsupport::FixturePath("catalog/Orvisto/" + type + "/ManagerVar.xml")));
  return map;
}

const MemoryAreaManager& TypeA() {
  static const MemoryAreaManager map = LoadMap("TypeA");
  return map;
}

const MemoryAreaManager& TypeFx() {
  static const MemoryAreaManager map = LoadMap("TypeFx");
  return map;
}

OperandFields Fields(const std::wstring& text, const MemoryAreaManager& map = TypeA()) {
  OperandAddress address;
  OperandFields fields;
  EXPECT_TRUE(ScanOperandText(text, address)) << platform::ToUtf8Lossy(text);
  EXPECT_TRUE(MatchOperandText(fields, map, address)) << platform::ToUtf8Lossy(text);
  return fields;
}

int SlotOf(const std::wstring& region, const MemoryAreaManager& map = TypeA()) {
  for (const MemoryRegion& r : map.Regions) {
    if (r.Name == region) return r.Slot;
  }
  return -1;
}

void SetBytes(OnlineCache& cache, int slot, int byte, std::initializer_list<uint8_t> bytes) {
  cache.Update([&](OnlineCacheData& data) {
    int i = byte;
    for (uint8_t b : bytes) data.ValueImages[static_cast<size_t>(slot)][static_cast<size_t>(i++)].Value = b;
  });
}

class OnlineCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCurrentLanguage(kLanguageEnglish);
    RebuildOnlineCache(cache_, TypeA());
  }
  void TearDown() override { SetCurrentLanguage(kLanguageEnglish); }

  OnlineCacheSnapshot Snapshot(bool online = true, uint32_t now = 10000) const {
    return cache_.TakeSnapshot(online, now, 4000, 2000, &TypeA(), 0);
  }

  std::wstring Read(const std::wstring& operand, int type, bool* known = nullptr) {
    return Read(Fields(operand), type, known);
  }
  std::wstring Read(const OperandFields& fields, int type, bool* known = nullptr) {
    OnlineCacheSnapshot snapshot = Snapshot();
    std::wstring text = L"old";
    const bool ok = ReadCachedValueText(snapshot, fields, false, type, text);
    if (known != nullptr) *known = ok;
    return text;
  }

  OnlineCache cache_;
};

TEST_F(OnlineCacheTest, OfflineReadsGiveNothing) {
  SetBytes(cache_, SlotOf(L"V"), 0, {1, 2, 3, 4});
  OnlineCacheSnapshot snapshot = Snapshot(false);
  std::wstring text = L"old";
  EXPECT_FALSE(ReadCachedValueText(snapshot, Fields(L"VW0"), false, 2, text));
  EXPECT_EQ(text, L"");
  DebugRecord record;
  EXPECT_FALSE(ReadCachedDebugRecord(snapshot, record));
  FunStlRecord ld;
  ld.Name = L"LD";
  EXPECT_EQ(EvaluateStlPowerFlow(snapshot, {{1, 1}}, ld), -1);
}

TEST_F(OnlineCacheTest, ValuesAreAssembledLittleEndianFromTheValueImage) {
  SetBytes(cache_, SlotOf(L"V"), 10, {0x34, 0x12, 0x78, 0x56});
  SetBytes(cache_, SlotOf(L"I"), 1, {0x04});
  struct Case {
    const wchar_t* operand;
    int type;
    const wchar_t* text;
  } cases[] = {
      {L"I1.2", 0, L"1"},          {L"I1.3", 0, L"0"},          {L"VB10", 1, L"16#34"},
      {L"VW10", 2, L"16#1234"},    {L"VD10", 3, L"16#56781234"}, {L"VW10", 5, L"4660"},
      {L"VW11", 5, L"30738"},
  };
  for (const Case& c : cases) {
    bool known = false;
    EXPECT_EQ(Read(c.operand, c.type, &known), c.text) << platform::ToUtf8Lossy(c.operand);
    EXPECT_TRUE(known);
  }
}

TEST_F(OnlineCacheTest, MissingValuesReadUnknownInTheCurrentLanguage) {
  bool known = true;
  // A double word at the last two bytes of V reaches past the image; a data type of none
  // cannot be formatted.
  const OperandFields pastEnd{kKindValue, SlotOf(L"V"), kWidthDword, 8190, 0, 0, 0};
  EXPECT_EQ(Read(pastEnd, 3, &known), L"Unknown");
  EXPECT_FALSE(known);
  EXPECT_EQ(Read(L"VW0", -1, &known), L"Unknown");
  EXPECT_FALSE(known);
  SetCurrentLanguage(kLanguageChinese);
  EXPECT_EQ(Read(pastEnd, 3, &known), L"未知");
  // An image that was never built has no value for anything.
  OnlineCache empty;
  OnlineCacheSnapshot snapshot = empty.TakeSnapshot(true, 0, 4000, 2000, &TypeA(), 0);
  std::wstring text;
  EXPECT_FALSE(ReadCachedValueText(snapshot, Fields(L"VW0"), false, 2, text));
  EXPECT_EQ(text, L"未知");
}

TEST_F(OnlineCacheTest, DigitGroupOperandsTakeFourBitsPerGroup) {
  OnlineCache cache;
  RebuildOnlineCache(cache, TypeFx());
  // M10 is bit 2 of byte 1 of M; K2M10 reads the eight bits M10 ... M17.
  cache.Update([&](OnlineCacheData& data) {
    data.ValueImages[static_cast<size_t>(SlotOf(L"M", TypeFx()))][1].Value = 0b1111'0100;
    data.ValueImages[static_cast<size_t>(SlotOf(L"M", TypeFx()))][2].Value = 0b0000'0010;
  });
  OnlineCacheSnapshot snapshot = cache.TakeSnapshot(true, 0, 4000, 2000, &TypeFx(), 1);
  const OperandFields fields = Fields(L"K2M10", TypeFx());
  ASSERT_EQ(fields.group, 1);
  std::wstring text;
  ASSERT_TRUE(ReadCachedValueText(snapshot, fields, true, 5, text));
  EXPECT_EQ(text, std::to_wstring(0b1011'1101));
}

TEST_F(OnlineCacheTest, DebugRecordCountsOnlyWhileFresh) {
  cache_.Update([](OnlineCacheData& data) {
    data.Debug.Words[0] = 7;
    data.Debug.SetUpdateTick(10000);
  });
  DebugRecord record;
  OnlineCacheSnapshot fresh = Snapshot(true, 13999);
  ASSERT_TRUE(ReadCachedDebugRecord(fresh, record));
  EXPECT_EQ(record.BreakPage(), 7);
  DebugRecord untouched;
  untouched.Words[0] = 99;
  OnlineCacheSnapshot stale = Snapshot(true, 14000);
  EXPECT_FALSE(ReadCachedDebugRecord(stale, untouched));
  EXPECT_EQ(untouched.Words[0], 99);
  // Ticks wrap: an update just before the wrap is still fresh just after it.
  cache_.Update([](OnlineCacheData& data) { data.Debug.SetUpdateTick(0xFFFFFF00u); });
  OnlineCacheSnapshot wrapped = Snapshot(true, 0x100);
  EXPECT_TRUE(ReadCachedDebugRecord(wrapped, record));
}

TEST_F(OnlineCacheTest, ReadsWithTheRequestFlagStampTheirCellsAfterwards) {
  const int v = SlotOf(L"V");
  OnlineCacheSnapshot quiet = Snapshot(true, 500);
  std::wstring text;
  ReadCachedValueText(quiet, Fields(L"VW4"), false, 2, text);
  cache_.StampRequests(quiet);
  EXPECT_EQ(cache_.Data().ValueImages[static_cast<size_t>(v)][4].RequestTick, 0u);

  cache_.Update([](OnlineCacheData& data) { data.RequestFlag = true; });
  OnlineCacheSnapshot asking = Snapshot(true, 500);
  ReadCachedValueText(asking, Fields(L"VW4"), false, 2, text);
  ReadCachedValueText(asking, Fields(L"&VB8"), false, 3, text);  // not a plain variable
  cache_.StampRequests(asking);
  const OnlineCacheData data = cache_.Data();
  EXPECT_EQ(data.ValueImages[static_cast<size_t>(v)][4].RequestTick, 500u);
  EXPECT_EQ(data.ValueImages[static_cast<size_t>(v)][5].RequestTick, 500u);
  EXPECT_EQ(data.ValueImages[static_cast<size_t>(v)][6].RequestTick, 0u);
  // The address-of operand took over a requested-variable entry.
  int held = 0;
  for (const RequestedVariable& entry : data.RequestedVariables) held += entry.Word != RequestedVariable::kFree;
  EXPECT_EQ(held, 1);
}

TEST_F(OnlineCacheTest, RequestedVariablesAnswerWhileFresh) {
  OnlineCacheSnapshot probe = Snapshot();
  OperandWord word = 0;
  PackOperandWord(word, TypeA(), Fields(L"&VB8"));
  cache_.Update([&](OnlineCacheData& data) { data.RequestedVariables[3] = {word, 0x1234, 9000, 9000}; });
  std::wstring text;
  OnlineCacheSnapshot fresh = Snapshot(true, 12999);
  EXPECT_TRUE(ReadCachedValueText(fresh, Fields(L"&VB8"), false, 3, text));
  EXPECT_EQ(text, L"16#00001234");
  OnlineCacheSnapshot stale = Snapshot(true, 13000);
  EXPECT_FALSE(ReadCachedValueText(stale, Fields(L"&VB8"), false, 3, text));
  EXPECT_EQ(text, L"Unknown");
}

TEST_F(OnlineCacheTest, RebuildSizesTheImagesFromTheMemoryMap) {
  const OnlineCacheData data = cache_.Data();
  const auto slot = [](const wchar_t* name) { return static_cast<size_t>(SlotOf(name)); };
  EXPECT_EQ(data.ValueImages[slot(L"V")].size(), 8192u);
  EXPECT_EQ(data.ForceImages[slot(L"V")].size(), 0u);   // not a digital area
  EXPECT_EQ(data.ForceImages[slot(L"I")].size(), 16u);
  EXPECT_EQ(data.ForceImages[slot(L"AI")].size(), 4u);  // analog regions get four force cells
  EXPECT_EQ(data.RequestedVariables.size(), 512u);
  for (const MemoryRegion& region : TypeA().Regions) {
    if (region.Area == kAreaConst) {
      EXPECT_TRUE(data.ValueImages[static_cast<size_t>(region.Slot)].empty());
    }
  }
  OnlineCache copy = cache_;
  EXPECT_TRUE(copy == cache_);
}

TEST_F(OnlineCacheTest, StatesAndForceFlagsCountOnlyWhileFresh) {
  cache_.Update([](OnlineCacheData& data) {
    data.RunState = 0x05;
    data.RunUpdateTick = 9000;
    data.DebugState = 0x02;
    data.DebugUpdateTick = 9000;
    data.ForceImages[2][1] = {0x04, 0, 9000};  // slot 2: one flag per double word
    data.ForceImages[0][3] = {0x80, 0, 9000};
  });
  const OperandFields md40{kKindValue, 2, kWidthDword, 40, 0, 0, 0};  // element 10: cell 1, bit 2
  const OperandFields i37{kKindValue, 0, kWidthBit, 3, 7, 0, 0};
  const OperandFields i36{kKindValue, 0, kWidthBit, 3, 6, 0, 0};
  const OperandFields pastEnd{kKindValue, 0, kWidthBit, 16, 0, 0, 0};
  uint8_t out = 0;
  OnlineCacheSnapshot fresh = Snapshot(true, 12999);
  EXPECT_TRUE(ReadCachedRunState(fresh, out));
  EXPECT_EQ(out, 1);
  ReadCachedDebugState(fresh, out);
  EXPECT_EQ(out, 2);
  ReadCachedBit(fresh, md40, out);
  EXPECT_EQ(out, 1);
  ReadCachedBit(fresh, i37, out);
  EXPECT_EQ(out, 1);
  ReadCachedBit(fresh, i36, out);
  EXPECT_EQ(out, 2);
  ReadCachedBit(fresh, pastEnd, out);
  EXPECT_EQ(out, 255);
  for (OnlineCacheSnapshot other : {Snapshot(true, 13000), Snapshot(false, 12999)}) {
    EXPECT_FALSE(ReadCachedRunState(other, out));
    EXPECT_EQ(out, 255);
    ReadCachedDebugState(other, out);
    EXPECT_EQ(out, 255);
    ReadCachedBit(other, i37, out);
    EXPECT_EQ(out, 255);
  }
  // A rebuilt cache holds nothing fresh, even while the tick counter is still small.
  OnlineCache rebuilt;
  RebuildOnlineCache(rebuilt, TypeA());
  OnlineCacheSnapshot early = rebuilt.TakeSnapshot(true, 100, 4000, 2000, &TypeA(), 0);
  EXPECT_FALSE(ReadCachedRunState(early, out));
  ReadCachedBit(early, i37, out);
  EXPECT_EQ(out, 255);
}

TEST_F(OnlineCacheTest, ReadsOfStatesAndForceFlagsStampTheirRequests) {
  cache_.SetRequestFlag(true);
  OnlineCacheSnapshot asking = Snapshot(true, 0);  // a tick of 0 is stored as 1: 0 means never
  uint8_t out = 0;
  ReadCachedRunState(asking, out);
  ReadCachedDebugState(asking, out);
  ReadCachedBit(asking, OperandFields{kKindValue, 3, kWidthDword, 40, 0, 0, 0}, out);
  cache_.StampRequests(asking);
  const OnlineCacheData data = cache_.Data();
  EXPECT_EQ(data.RunRequestTick, 1u);
  EXPECT_EQ(data.DebugRequestTick, 1u);
  EXPECT_EQ(data.ForceImages[3][1].RequestTick, 1u);
  EXPECT_EQ(data.ForceImages[3][0].RequestTick, 0u);
}

TEST_F(OnlineCacheTest, ForceableOperands) {
  const struct {
    OperandFields fields;
    bool forceable;
  } cases[] = {
      {{kKindValue, 0, kWidthBit, 0, 1, 0, 0}, true},     // I0.1
      {{kKindValue, 0, kWidthByte, 0, 0, 0, 0}, false},   // IB0
      {{kKindValue, 2, kWidthDword, 4, 0, 0, 0}, true},   // MD4
      {{kKindValue, 2, kWidthDword, 6, 0, 0, 0}, false},  // MD6: not a whole element
      {{kKindValue, 1, kWidthDword, 4, 0, 0, 0}, false},  // QD4: slots 0 and 1 force bits only
      {{kKindValue, SlotOf(L"AI"), kWidthBit, 0, 0, 0, 0}, true},
      {{kKindValue, SlotOf(L"V"), kWidthBit, 0, 0, 0, 0}, false},  // no force image
      {{kKindAddress, 0, kWidthBit, 0, 1, 0, 0}, false},
      {{kKindValue, 99, kWidthBit, 0, 0, 0, 0}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsForceableOperand(cache_, c.fields), c.forceable) << c.fields.slot << " " << c.fields.byte;
  }
}

TEST_F(OnlineCacheTest, AFullRequestTableLeavesANewOperandUnknown) {
  cache_.SetRequestFlag(true);
  // 512 operands requested at tick 1000 fill the table.
  OnlineCacheSnapshot first = Snapshot(true, 1000);
  std::wstring text;
  for (int i = 0; i < 512; ++i) {
    ReadRequestedValueText(first, OperandFields{kKindAddress, SlotOf(L"V"), kWidthDword, i, 0, 0, 0}, 3, text);
  }
  cache_.StampRequests(first);
  // The 513th, within 4 x LinkTimeUpdateMark, finds no entry; later it takes an old one over.
  const OperandFields late{kKindAddress, SlotOf(L"V"), kWidthDword, 600, 0, 0, 0};
  OperandWord lateWord = 0;
  PackOperandWord(lateWord, TypeA(), late);
  const auto holds = [&] {
    for (const RequestedVariable& entry : cache_.Data().RequestedVariables) {
      if (entry.Word == lateWord) return true;
    }
    return false;
  };
  OnlineCacheSnapshot soon = Snapshot(true, 1000 + 7999);
  EXPECT_FALSE(ReadRequestedValueText(soon, late, 3, text));
  EXPECT_EQ(text, L"Unknown");
  cache_.StampRequests(soon);
  EXPECT_FALSE(holds());
  OnlineCacheSnapshot later = Snapshot(true, 1000 + 8000);
  ReadRequestedValueText(later, late, 3, text);
  cache_.StampRequests(later);
  EXPECT_TRUE(holds());
}

struct FlowCase {
  int fxMode;
  const wchar_t* name;
  std::vector<OperandValueFlag> operands;
  int expected;
};

TEST(OnlinePowerFlow, StatementListRules) {
  const FlowCase cases[] = {
      {0, L"LD", {{1, 1}}, 1},           {0, L"LD", {{1, 0}}, 2},          {0, L"LDN", {{1, 0}}, 1},
      {0, L"LDI", {{1, 1}}, 1},          {0, L"R", {{1, 1}}, 2},           {0, L"LD", {{0, 1}}, -1},
      {0, L"LD", {{1, 1}, {1, 1}}, -1},  {0, L"NOT", {}, -1},              {0, L"LDB=", {{1, 0x105}, {1, 5}}, 1},
      {0, L"AB<", {{1, 0x80}, {1, 0x7F}}, 2}, {0, L"OW>", {{1, 0xFFFF}, {1, 1}}, 2},  // -1 > 1 is false
      {0, L"LDD<=", {{1, -5}, {1, -5}}, 1},   {0, L"ld", {{1, 1}}, -1},
      {1, L"LDI", {{1, 1}}, 2},          {1, L"AND", {{1, 1}}, 1},         {1, L"OUT", {{1, 3}, {1, 3}}, 1},
      {1, L"A", {{1, 1}}, -1},           {2, L"LD", {{1, 1}}, -1},
  };
  for (const FlowCase& c : cases) {
    OnlineCacheSnapshot snapshot;
    snapshot.Online = true;
    snapshot.InstructionFxMode = c.fxMode;
    FunStlRecord definition;
    definition.Name = c.name;
    EXPECT_EQ(EvaluateStlPowerFlow(snapshot, c.operands, definition), c.expected) << platform::ToUtf8Lossy(c.name);
  }
}

TEST(OnlinePowerFlow, LadderRules) {
  struct LadCase {
    int fxMode;
    int look;
    const wchar_t* keyword;
    std::vector<OperandValueFlag> operands;
    int expected;
  } cases[] = {
      {0, kLadLookCont, L" ", {{1, 1}}, 1},      {0, kLadLookCont, L"/", {{1, 1}}, 2},
      {0, kLadLookCont, L"==B", {{1, 0x1FF}, {1, 0xFF}}, 1}, {0, kLadLookCont, L">I", {{1, 0x8000}, {1, 1}}, 2},
      {0, kLadLookCont, L"<D", {{1, -1}, {1, 0}}, 1}, {0, kLadLookCoil, L"S", {{1, 1}}, 1},
      {0, kLadLookCoil, L"RI", {{1, 1}}, 2},     {0, kLadLookCoil, L"S", {{1, 1}, {1, 2}}, -1},
      {0, kLadLookBlock, L"MOV_B", {{1, 1}}, -1}, {0, kLadLookFxCont, L"LD", {{1, 1}}, -1},
      {1, kLadLookFxCont, L"LDI", {{1, 0}}, 1},  {1, kLadLookCoil, L"OUT", {{1, 7}, {1, 8}}, 2},
      {1, kLadLookCont, L" ", {{1, 1}}, -1},
  };
  for (const LadCase& c : cases) {
    OnlineCacheSnapshot snapshot;
    snapshot.Online = true;
    snapshot.InstructionFxMode = c.fxMode;
    FunLadRecord definition;
    definition.Look = c.look;
    definition.Keyword = c.keyword;
    EXPECT_EQ(EvaluateLadPowerFlow(snapshot, definition, c.operands), c.expected) << platform::ToUtf8Lossy(c.keyword);
    snapshot.Online = false;
    EXPECT_EQ(EvaluateLadPowerFlow(snapshot, definition, c.operands), -1);
  }
}

// The monitor stores a double word in one update while the UI thread keeps reading it: every
// read sees the four bytes of one and the same update.
TEST_F(OnlineCacheTest, ReadersNeverSeeAHalfWrittenValue) {
  const size_t v = static_cast<size_t>(SlotOf(L"V"));
  std::atomic<bool> stop{false};
  std::thread monitor([&] {
    for (uint8_t k = 0; !stop.load(); ++k) {
      cache_.Update([&](OnlineCacheData& data) {
        for (size_t i = 0; i < 4; ++i) data.ValueImages[v][i].Value = k;
      });
    }
  });
  const OperandFields fields = Fields(L"VD0");
  int torn = 0;
  for (int i = 0; i < 1000; ++i) {
    OnlineCacheSnapshot snapshot = Snapshot();
    std::wstring text;
    ASSERT_TRUE(ReadCachedValueText(snapshot, fields, false, 9, text));
    const unsigned long value = std::stoul(text);
    torn += value % 0x01010101ul != 0;
  }
  stop = true;
  monitor.join();
  EXPECT_EQ(torn, 0);
}

TEST(OnlineBreakPoint, WritesGoToTheJobOnlyWhileOnline) {
  AppEnvironment environment;
  InstallEnvironment(&environment);
  InstallLinkOnlineServices();
  std::vector<DebugRecord> written;
  SetDebugBreakPointWriter([&](const DebugRecord& record) { written.push_back(record); });
  DebugRecord record;
  record.Words[0] = 4;
  WriteDebugBreakPoint(record);
  EXPECT_TRUE(written.empty());
  environment.CommState = kCommCommandInOnline;
  WriteDebugBreakPoint(record);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0].Words[0], 4);
  SetDebugBreakPointWriter(nullptr);
  InstallOnlineServices(nullptr);
  InstallEnvironment(nullptr);
}

}  // namespace
}  // namespace Brenno
