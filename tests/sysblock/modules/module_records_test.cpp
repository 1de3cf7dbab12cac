#include "sysblock/model/modules/module_records.h"

#include <functional>
#include <gtest/gtest.h>

#include "module_test_bytes.h"
#include "sysblock/model/modules/module_list_page.h"

namespace corvell {
namespace {

using moduletest::Bytes;
using moduletest::Cat;
using moduletest::F32;
using moduletest::Hex;
using moduletest::Rep;

const ModuleList kControllerOnly = {BuildControllerRecord()};

ModuleRecord NewModule(int type, const ModuleList& list = kControllerOnly) {
  ModuleParameterSet params;
  ResetModuleParameters(static_cast<uint8_t>(type), params);
  return BuildModuleRecord(static_cast<uint8_t>(type), params, static_cast<uint8_t>(list.size()), list);
}

Bytes ParameterBytes(const ModuleRecord& record) { return Bytes(record.begin() + 7, record.end() - 2); }

struct NewRecordCase {
  int type;
  int length;
  int lastCovered;  // last parameter byte under the CRC
  Bytes parameters;
};

// The parameter bytes of every type's new module and the CRC coverage each type has.
std::vector<NewRecordCase> NewRecordCases() {
  const Bytes analogOutput = Cat({Rep(1, 4), Hex("00"), Rep(0, 4), F32(0, 4), F32(20, 4), F32(500, 4)});
  const Bytes lumbrek = Cat({Rep(1, 4), Hex("00"), Rep(0, 4), F32(0, 4), F32(1000, 4), F32(500, 4)});
  const Bytes istrel = Cat({Hex("00 00 00 00 01 01 01 01 00"), F32(0, 8), F32(20, 4), F32(10, 4), F32(1, 8),
                            F32(19, 4), F32(9, 4), F32(500, 8)});
  const Bytes quenlow = Cat({Rep(0, 9), F32(0, 8), F32(20, 8), F32(1, 8), F32(19, 8), F32(500, 8)});
  const Bytes thermocouple = Cat({Rep(3, 6), Hex("00"), F32(0, 6), F32(1000, 6), F32(500, 6), Hex("00")});
  return {
      {1, 15, 12, Hex("02 02 FF FF FF FF")},
      {2, 17, 10, Hex("FF 00 FF 00 FF 00 FF 00")},
      {3, 66, 63, analogOutput},
      {4, 178, 175, istrel},
      {5, 89, 85, thermocouple},
      {6, 62, 59, Cat({Rep(3, 4), Hex("00"), F32(0, 4), F32(1000, 4), F32(500, 4)})},
      {7, 17, 14, Rep(0xFF, 8)},
      {8, 17, 14, Rep(0xFF, 8)},
      {9, 94, 91, Cat({Rep(1, 4), Hex("00"), F32(0, 4), F32(10, 4), F32(1, 4), F32(9, 4), F32(500, 4)})},
      {10, 178, 175, quenlow},
      {11, 66, 63, lumbrek},
      {12, 178, 175, quenlow},
      {13, 21, 18, Cat({Hex("02 02 02 02"), Rep(0xFF, 8)})},
      {14, 25, 22, Rep(0xFF, 16)},
      {15, 133, 130, Cat({Rep(1, 4), F32(20, 4), F32(0, 4), F32(19, 4), F32(1, 4), F32(500, 4), Rep(0, 4),
                          Hex("01 01"), F32(20, 2), F32(0, 2), F32(0, 2), F32(500, 2), Hex("00 00")})},
      {16, 51, 48, Cat({Rep(0, 10), F32(500, 8)})},
      {17, 41, 38, Cat({Rep(0, 8), F32(500, 6)})},
      {18, 178, 175, istrel},
      {19, 66, 63, analogOutput},
      {20, 16, 12, Hex("02 FF FF FF FF FF FF")},
      {21, 89, 85, thermocouple},
      {22, 10, 7, Hex("00")},
      {23, 13, 9, Hex("00 00 00 00")},
  };
}

TEST(ModuleRecords, NewModuleOfEveryType) {
  for (const NewRecordCase& c : NewRecordCases()) {
    SCOPED_TRACE(c.type);
    const ModuleTypeInfo* info = FindModuleType(c.type);
    const ModuleRecord record = NewModule(c.type);
    ASSERT_EQ(record.size(), static_cast<size_t>(c.length));
    EXPECT_EQ(info->recordLength, c.length);
    EXPECT_EQ(info->crcLastByte, c.lastCovered);
    // Frame: position 1 behind the controller, first addresses of each area, sizes, length.
    const int in = info->inputCount, out = info->outputCount;
    const int inStart = in == 0 ? 0 : (info->kind == ModuleKind::Digital ? 14 : 0);
    EXPECT_EQ(Bytes(record.begin(), record.begin() + 7),
              (Bytes{1, static_cast<uint8_t>(c.type), static_cast<uint8_t>(inStart), static_cast<uint8_t>(in), 0,
                     static_cast<uint8_t>(out), static_cast<uint8_t>(c.length)}));
    EXPECT_EQ(moduletest::ToHex(ParameterBytes(record)), moduletest::ToHex(c.parameters));
    const uint16_t crc = moduletest::BitwiseCrc16(record.data() + 7, static_cast<size_t>(c.lastCovered) - 6);
    EXPECT_EQ(record[record.size() - 2], crc & 0xFF);
    EXPECT_EQ(record[record.size() - 1], crc >> 8);
    EXPECT_TRUE(IsWholeModuleRecord(record));
  }
}

TEST(ModuleRecords, KnownCrcsOfNewAnalogInputModules) {
  const std::pair<int, const char*> cases[] = {{9, "69 56"}, {4, "95 DD"}, {18, "95 DD"}, {10, "00 C0"}, {12, "00 C0"}};
  const ModuleList elsewhere = {BuildControllerRecord(), NewModule(1), NewModule(4)};
  for (auto [type, crc] : cases) {
    for (const ModuleList* list : {&kControllerOnly, &elsewhere}) {
      const ModuleRecord record = NewModule(type, *list);
      EXPECT_EQ(Bytes(record.end() - 2, record.end()), Hex(crc)) << type;
    }
  }
}

// Edits of a module's values, the record bytes they must change, and whether the CRC changes.
struct EditCase {
  const char* what;
  int type;
  std::function<void(ModuleParameterSet&)> edit;
  std::vector<std::pair<size_t, uint8_t>> changed;  // offset and new value of every changed byte
  bool crcChanges;
};

TEST(ModuleRecords, EditsChangeTheirBytesAndOnlyTheCoveredOnesChangeTheCrc) {
  const EditCase cases[] = {
      {"Parlune input 0 ticked, input 1 cleared", 1,
       [](auto& p) { p.parlune.forceStates[0] = 1, p.parlune.forceStates[1] = 0; }, {{9, 0xFC}, {11, 0xFE}}, true},
      {"Parlune filter with no selection", 1, [](auto& p) { p.parlune.filterIndex[1] = -1; }, {{8, 0xFF}}, true},
      {"Fennick filters 5, 10, 20, 40 ms", 13,
       [](auto& p) { p.fennick.filterIndex = {0, 1, 2, 3}; }, {{7, 3}, {9, 1}, {10, 0}}, true},
      {"Voskel force state (outside the CRC)", 2, [](auto& p) { p.voskel.forceStates[0] = 1; },
       {{11, 0xFE}, {13, 0xFE}}, false},
      {"Voskel communication failure state", 2, [](auto& p) { p.voskel.commFailStates[7] = 0; }, {{7, 0x7F}}, true},
      {"Belquin all chosen", 7, [](auto& p) { p.belquin.ApplySelectAll(true); },
       {{7, 0}, {8, 0}, {9, 0}, {10, 0}}, true},
      {"Dorvane all cleared", 8, [](auto& p) { p.dorvane.ApplySelectAll(false); }, {{7, 0}, {8, 0}}, true},
      {"Glostra force point 31", 14, [](auto& p) { p.glostra.forceStates[31] = 1; }, {{18, 0x7F}, {22, 0x7F}}, true},
      {"Hulvern output 3 ticked on failure", 20, [](auto& p) { p.hulvern.commFailStates[3] = 1; },
       {{10, 0xF7}, {11, 0xF7}}, true},
      {"Hulvern output force cleared (second mask outside the CRC)", 20,
       [](auto& p) { p.hulvern.outputForceStates[2] = 0; }, {{12, 0xFB}}, true},
      {"Hulvern output force cleared to ticked", 20,
       [](auto& p) { p.hulvern.outputForceStates.fill(1); }, {{12, 0x00}, {13, 0x00}}, true},
      {"Solvind force flags on channels 1 and 5", 16,
       [](auto& p) { p.solvind.forceFlags[1] = p.solvind.forceFlags[5] = 1; }, {{7, 0x02}, {8, 0x02}}, true},
      {"Trevasse force flags on channels 0 and 5", 17,
       [](auto& p) { p.trevasse.forceFlags[0] = p.trevasse.forceFlags[5] = 1; }, {{7, 0x01}, {8, 0x02}}, true},
      {"Solvind force value 12.5 and stop output 255", 16,
       [](auto& p) { p.solvind.forceValues[0] = 12.5f, p.solvind.stopOutputs[7] = 255; },
       {{16, 0xFF}, {19, 0x48}, {20, 0x41}}, true},
      {"Varnock force flags on channels 0 and 5", 21,
       [](auto& p) { p.varnock.forceFlags[0] = p.varnock.forceFlags[5] = 1; }, {{13, 0x21}}, true},
      {"Varnock cold junction (outside the CRC)", 21, [](auto& p) { p.varnock.coldJunctionIndex = 2; }, {{86, 2}},
       false},
      {"Varnock bank 2 is not stored", 21,
       [](auto& p) { p.varnock.sensorIndex[6] = 0, p.varnock.forceFlags[11] = 1; }, {}, false},
      {"Istrel force flags on channels 0 and 5", 4,
       [](auto& p) { p.istrel.channels[0].forceFlag = p.istrel.channels[5].forceFlag = 1; }, {{15, 0x21}}, true},
      {"Istrel signal type with no selection", 4, [](auto& p) { p.istrel.channels[4].signalType = -1; },
       {{11, 0xFF}}, true},
      {"Istrel empty engineering upper limit", 4, [](auto& p) { p.istrel.channels[0].engineeringUpper = L""; },
       {{50, 0x00}, {51, 0x00}}, true},
      {"Istrel force value -.5", 4, [](auto& p) { p.istrel.channels[7].forceValue = L"-.5"; },
       {{174, 0x00}, {175, 0xBF}}, true},
      {"Pruvel all force flags", 9,
       [](auto& p) { for (auto& ch : p.pruvel.channels) ch.forceFlag = 1; }, {{11, 0x0F}}, true},
      {"Kavrin force flags on channels 1 and 3", 3,
       [](auto& p) { p.kavrin.channels[1].forceFlag = p.kavrin.channels[3].forceFlag = 1; }, {{11, 0x0A}}, true},
      {"Mordale stop output and letters as lower limit", 19,
       [](auto& p) { p.mordale.channels[2].stopOutput = 200, p.mordale.channels[3].engineeringLower = L"abc"; },
       {{14, 200}}, true},
      {"Lumbrek signal type", 11, [](auto& p) { p.lumbrek.channels[0].signalType = 0; }, {{7, 0}}, true},
      {"Oskavel force flags on channels 0 and 5", 5,
       [](auto& p) { p.oskavel.channels[0].forceFlag = p.oskavel.channels[5].forceFlag = 1; }, {{13, 0x21}}, true},
      {"Oskavel cold junction (outside the CRC)", 5, [](auto& p) { p.oskavel.coldJunctionIndex = 1; }, {{86, 1}},
       false},
      {"Nuvask sensor of channel 3", 6, [](auto& p) { p.nuvask.channels[3].sensorIndex = 5; }, {{10, 5}}, true},
      {"Uvendar AI force flag of channel 2", 15, [](auto& p) { p.uvendar.aiForceFlag[2] = 1; }, {{93, 1}}, true},
      {"Uvendar AO signal type 4", 15, [](auto& p) { p.uvendar.aoSignalType[1] = 4; }, {{96, 4}}, true},
      {"Weskarn filter type", 22, [](auto& p) { p.weskarn.filterType = 2; }, {{7, 2}}, true},
      {"Yolvask channel 4 encoding (outside the CRC)", 23, [](auto& p) { p.yolvask.encodings[3] = 1; }, {{10, 1}},
       false},
      {"Yolvask channel 1 encoding", 23, [](auto& p) { p.yolvask.encodings[0] = 1; }, {{7, 1}}, true},
  };
  for (const EditCase& c : cases) {
    SCOPED_TRACE(c.what);
    const auto type = static_cast<uint8_t>(c.type);
    ModuleParameterSet params;
    ResetModuleParameters(type, params);
    const ModuleRecord before = BuildModuleRecord(type, params, 1, kControllerOnly);
    c.edit(params);
    const ModuleRecord after = BuildModuleRecord(type, params, 1, kControllerOnly);
    ASSERT_EQ(after.size(), before.size());
    const size_t crcAt = after.size() - 2;
    std::vector<std::pair<size_t, uint8_t>> changed;
    for (size_t i = 0; i < crcAt; ++i)
      if (after[i] != before[i]) changed.emplace_back(i, after[i]);
    EXPECT_EQ(changed, c.changed);
    const bool crcChanged = after[crcAt] != before[crcAt] || after[crcAt + 1] != before[crcAt + 1];
    EXPECT_EQ(crcChanged, c.crcChanges);
  }
}

TEST(ModuleRecords, HulvernOutputForceBetweenClearedAndTickedLeavesTheCrc) {
  ModuleParameterSet params;
  params.hulvern.outputForceStates.fill(0);
  const ModuleRecord cleared = BuildModuleRecord(20, params, 1, kControllerOnly);
  params.hulvern.outputForceStates[4] = 1;
  const ModuleRecord ticked = BuildModuleRecord(20, params, 1, kControllerOnly);
  EXPECT_EQ(cleared[13], 0xFF);
  EXPECT_EQ(ticked[13], 0xEF);
  ModuleRecord expected = cleared;
  expected[13] = 0xEF;
  EXPECT_EQ(ticked, expected);
}

TEST(ModuleRecords, FrameFollowsThePositionAndTheModulesBefore) {
  const ModuleList list = {BuildControllerRecord(), NewModule(1), NewModule(15), NewModule(4)};
  const ModuleRecord uvendar = NewModule(15, list);
  EXPECT_EQ(Bytes(uvendar.begin(), uvendar.begin() + 7), Hex("04 0F 0C 04 02 02 85"));
  const ModuleRecord voskel = NewModule(2, list);
  EXPECT_EQ(Bytes(voskel.begin(), voskel.begin() + 7), Hex("04 02 00 00 00 08 11"));
  // The frame stays outside the CRC.
  const ModuleRecord uvendarFirst = NewModule(15);
  EXPECT_EQ(Bytes(uvendar.begin() + 7, uvendar.end()), Bytes(uvendarFirst.begin() + 7, uvendarFirst.end()));
}

TEST(ModuleRecords, LoadingANewModuleAndBuildingItAgainGivesTheSameRecord) {
  for (int type = 1; type <= 23; ++type) {
    SCOPED_TRACE(type);
    const ModuleList list = {BuildControllerRecord(), NewModule(4), NewModule(1)};
    const ModuleRecord record = NewModule(type, list);
    ModuleParameterSet loaded;
    ASSERT_TRUE(LoadModuleRecord(record, loaded));
    EXPECT_EQ(BuildModuleRecord(static_cast<uint8_t>(type), loaded, 3, list), record);
  }
}

TEST(ModuleRecords, LoadingReadsValuesBack) {
  ModuleParameterSet params;
  params.parlune.forceStates[0] = 1;
  params.parlune.forceStates[1] = 0;
  params.parlune.filterIndex = {3, 0};
  params.istrel.channels[2].engineeringUpper = L"1.005";
  params.istrel.channels[3].alarmLower = L"1.234";
  params.istrel.channels[1].signalType = -1;
  params.kavrin.channels[0].stopOutput = 44;
  params.kavrin.channels[1].forceValue = L"12.5";
  params.oskavel.coldJunctionIndex = 2;
  params.uvendar.aiForceFlag[2] = 1;
  params.solvind.forceValues[3] = 12.5f;
  params.varnock.forceFlags = {1, 0, 0, 0, 0, 1};
  params.yolvask.encodings = {1, 0, 1, 1};

  ModuleParameterSet loaded;
  for (uint8_t type : {1, 4, 3, 5, 15, 16, 21, 23})
    ASSERT_TRUE(LoadModuleRecord(BuildModuleRecord(type, params, 1, kControllerOnly), loaded)) << int(type);
  EXPECT_EQ(loaded.parlune.forceStates[0], 1);
  EXPECT_EQ(loaded.parlune.forceStates[1], 0);
  EXPECT_EQ(loaded.parlune.forceStates[2], 2);
  EXPECT_EQ(loaded.parlune.filterIndex, (std::array<int, 2>{3, 0}));
  EXPECT_EQ(loaded.istrel.channels[2].engineeringUpper, L"1.00");
  EXPECT_EQ(loaded.istrel.channels[3].alarmLower, L"1.23");
  EXPECT_EQ(loaded.istrel.channels[1].signalType, 255);
  EXPECT_EQ(loaded.istrel.channels[0].forceValue, L"500.00");
  EXPECT_EQ(loaded.kavrin.channels[0].stopOutput, 44);
  EXPECT_EQ(loaded.kavrin.channels[1].forceValue, L"12.50");
  EXPECT_EQ(loaded.oskavel.coldJunctionIndex, 2);
  EXPECT_EQ(loaded.uvendar.aiForceFlag, (std::array<int, 4>{0, 0, 1, 0}));
  EXPECT_EQ(loaded.solvind.forceValues[3], 12.5f);
  EXPECT_EQ(loaded.varnock.forceFlags[5], 1);
  EXPECT_EQ(loaded.yolvask.encodings, (std::array<int, 4>{1, 0, 1, 1}));
}

struct LabelCase {
  const char* what;
  std::vector<int> before;  // types in front of the module, behind the controller
  int type;
  std::function<std::vector<std::wstring>(const ModuleParameterSet&)> labels;
  std::vector<std::wstring> expected;
};

TEST(ModuleRecords, LoadingSetsTheAddressLabels) {
  const LabelCase cases[] = {
      {"Parlune first", {}, 1, [](auto& p) { return std::vector(p.parlune.rowLabels.begin(), p.parlune.rowLabels.end()); },
       {L"I1.6 - I2.5:", L"I2.6 - I3.5:"}},
      {"Fennick first", {}, 13,
       [](auto& p) { return std::vector(p.fennick.rowLabels.begin(), p.fennick.rowLabels.end()); },
       {L"I1.6 - I2.5:", L"I2.6 - I3.5:", L"I3.6 - I4.5:", L"I4.6 - I5.5:"}},
      {"Voskel behind Belquin", {7}, 2,
       [](auto& p) { return std::vector<std::wstring>{p.voskel.addressRangeLabel, p.voskel.forceRowLabels[0]}; },
       {L"Q2.0 - Q2.7", L"Q2.0 - Q2.7:"}},
      {"Belquin first", {}, 7,
       [](auto& p) {
         return std::vector<std::wstring>{p.belquin.addressRangeLabel, p.belquin.forceRowLabels[0],
                                          p.belquin.forceRowLabels[1]};
       },
       {L"Q0.0 - Q1.7", L"Q0.0 - Q0.7:", L"Q1.0 - Q1.7:"}},
      {"Glostra behind Voskel", {2}, 14,
       [](auto& p) {
         std::vector<std::wstring> all{p.glostra.addressRangeLabel};
         all.insert(all.end(), p.glostra.forceRowLabels.begin(), p.glostra.forceRowLabels.end());
         return all;
       },
       {L"Q1.0 - Q4.7", L"Q1.0 - Q1.7:", L"Q2.0 - Q2.7:", L"Q3.0 - Q3.7:", L"Q4.0 - Q4.7:"}},
      {"Hulvern first", {}, 20,
       [](auto& p) {
         return std::vector<std::wstring>{p.hulvern.inputRowLabel, p.hulvern.outputRangeLabel,
                                          p.hulvern.outputForceRowLabel};
       },
       {L"I1.6 - I2.5:", L"Q0.0 - Q0.7:", L"Q0.0 - Q0.7"}},
      {"Varnock first", {}, 21, [](auto& p) { return std::vector(p.varnock.rowLabels.begin(), p.varnock.rowLabels.end()); },
       {L"TC0-1:", L"TC2-3:", L"TC4-5:", L"TC6-7:", L"TC8-9:", L"TC10-11:"}},
      {"Varnock behind Istrel", {4}, 21,
       [](auto& p) { return std::vector(p.varnock.rowLabels.begin(), p.varnock.rowLabels.end()); },
       {L"TC8-9:", L"TC10-11:", L"TC12-13:", L"TC14-15:", L"TC16-17:", L"TC18-19:"}},
      {"Quenlow behind Istrel", {4}, 10,
       [](auto& p) {
         std::vector<std::wstring> all;
         for (auto& ch : p.quenlow.channels) all.push_back(ch.label);
         return all;
       },
       {L"AI8:", L"AI9:", L"AI10:", L"AI11:", L"AI12:", L"AI13:", L"AI14:", L"AI15:"}},
      {"Kavrin behind Lumbrek", {11}, 3,
       [](auto& p) {
         std::vector<std::wstring> all;
         for (auto& ch : p.kavrin.channels) all.push_back(ch.label);
         return all;
       },
       {L"AO4:", L"AO5:", L"AO6:", L"AO7:"}},
      {"Nuvask behind Oskavel", {5}, 6,
       [](auto& p) {
         std::vector<std::wstring> all;
         for (size_t k = 0; k < 4; ++k) all.push_back(p.nuvask.channels[k].label);
         return all;
       },
       {L"RTD6:", L"RTD7:", L"RTD8:", L"RTD9:"}},
      {"Oskavel first", {}, 5,
       [](auto& p) {
         std::vector<std::wstring> all;
         for (auto& ch : p.oskavel.channels) all.push_back(ch.label);
         return all;
       },
       {L"TC0:", L"TC1:", L"TC2:", L"TC3:", L"TC4:", L"TC5:"}},
  };
  for (const LabelCase& c : cases) {
    SCOPED_TRACE(c.what);
    ModuleList list = kControllerOnly;
    for (int type : c.before) list.push_back(NewModule(type, list));
    ModuleParameterSet params;
    ASSERT_TRUE(LoadModuleRecord(NewModule(c.type, list), params));
    EXPECT_EQ(c.labels(params), c.expected);
  }
}

TEST(ModuleRecords, LoadingKeepsWhatTheRecordDoesNotCarry) {
  ModuleParameterSet params;
  params.varnock.sensorIndex[8] = 1;
  params.varnock.upperLimits[11] = 7.0f;
  params.belquin.selectAll = 1;
  ASSERT_TRUE(LoadModuleRecord(NewModule(21), params));
  ASSERT_TRUE(LoadModuleRecord(NewModule(7), params));
  EXPECT_EQ(params.varnock.sensorIndex[8], 1);
  EXPECT_EQ(params.varnock.upperLimits[11], 7.0f);
  EXPECT_EQ(params.belquin.selectAll, 1);
}

TEST(ModuleRecords, LoadingRefusesWhatIsNotAWholeModuleRecord) {
  const ModuleRecord parlune = NewModule(1);
  ModuleRecord shortRecord(parlune.begin(), parlune.end() - 1);
  ModuleRecord longRecord = parlune;
  longRecord.push_back(0);
  ModuleRecord unknown = parlune;
  unknown[1] = 24;
  const ModuleRecord cases[] = {shortRecord, longRecord, unknown, BuildControllerRecord(), {}, {1}};
  for (const ModuleRecord& record : cases) {
    ModuleParameterSet params;
    params.parlune.filterIndex = {0, 0};
    EXPECT_FALSE(LoadModuleRecord(record, params));
    EXPECT_EQ(params.parlune.filterIndex, (std::array<int, 2>{0, 0}));
  }
  EXPECT_TRUE(BuildModuleRecord(0, ModuleParameterSet{}, 1, kControllerOnly).empty());
  EXPECT_TRUE(BuildModuleRecord(24, ModuleParameterSet{}, 1, kControllerOnly).empty());
}

TEST(ModuleRecords, DefaultActionsAndConstructionValues) {
  ModuleParameterSet params;
  // Rastok is constructed for 0-10 V but its Default action sets 0-20 mA.
  EXPECT_EQ(params.rastok.channels[0].signalType, 1);
  EXPECT_EQ(params.rastok.channels[0].engineeringUpper, L"10.00");
  EXPECT_EQ(params.quenlow.channels[7].label, L"AI087:");
  EXPECT_EQ(params.nuvask.channels[0].upperLimit, L"1000");
  params.istrel.channels[0].label = L"AI5:";
  params.quenlow.channels[0].label = L"AI5:";
  params.kavrin.channels[0].label = L"AO9:";
  params.parlune.rowLabels[0] = L"I9.0 - I9.7:";
  for (uint8_t type = 1; type <= 23; ++type) ResetModuleParameters(type, params);
  EXPECT_EQ(params.rastok.channels[0].signalType, 0);
  EXPECT_EQ(params.rastok.channels[0].engineeringUpper, L"20.00");
  EXPECT_EQ(params.rastok.channels[0].label, L"AI0:");
  EXPECT_EQ(params.quenlow.channels[0].label, L"AI080:");
  EXPECT_EQ(params.istrel.channels[0].label, L"AI5:");
  EXPECT_EQ(params.kavrin.channels[0].label, L"AO9:");
  EXPECT_EQ(params.parlune.rowLabels[0], L"I9.0 - I9.7:");
  EXPECT_EQ(params.nuvask.channels[0].upperLimit, L"1000.00");
  EXPECT_EQ(params.lumbrek.channels[2].engineeringUpper, L"1000.00");
  EXPECT_EQ(params.mordale.channels[2].engineeringUpper, L"20.00");
}

TEST(ModuleRecords, RemovingAModuleMovesTheOnesBehindIt) {
  ModuleList list = kControllerOnly;
  for (int type : {1, 13, 4, 18}) list.push_back(NewModule(type, list));
  const ModuleRecord fennick = list[2];
  const ModuleRecord jorlith = list[4];
  ASSERT_TRUE(RemoveModuleRecord(list, 1));
  ASSERT_TRUE(RemoveModuleRecord(list, 2));
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[1][0], 1);
  EXPECT_EQ(list[1][2], fennick[2] - 16);  // inputs move down by Parlune's 16 bits
  EXPECT_EQ(list[2][0], 2);
  EXPECT_EQ(list[2][2], 0);  // analog inputs move down by Istrel's 8 channels
  EXPECT_EQ(Bytes(list[1].begin() + 3, list[1].end()), Bytes(fennick.begin() + 3, fennick.end()));
  EXPECT_EQ(Bytes(list[2].begin() + 3, list[2].end()), Bytes(jorlith.begin() + 3, jorlith.end()));
  EXPECT_FALSE(RemoveModuleRecord(list, 0));
  EXPECT_FALSE(RemoveModuleRecord(list, 3));
  EXPECT_EQ(list.size(), 3u);
}

}  // namespace
}  // namespace corvell
