#include <gtest/gtest.h>

#include "sysblock/model/modbus_master_config.h"
#include "sysblock/model/modbus_master_image.h"

namespace corvell {
namespace {

PageBytes Header(std::initializer_list<uint8_t> bytes) {
  PageBytes header(bytes);
  header.resize(kMasterHeaderSize, 0);
  return header;
}

PageBytes Entry(uint8_t address, uint8_t code, uint16_t start, uint16_t reference, uint16_t length) {
  return {address, code, uint8_t(start), uint8_t(start >> 8), uint8_t(reference), uint8_t(reference >> 8),
          uint8_t(length), uint8_t(length >> 8)};
}

CDataBlockDataCls* AddBlock(CControllerDataCls& controller, int port, int addressMinusOne, int function,
                            int reference, int length) {
  CPortDataCls& p = *controller.Ports[port];
  CSlaveDataCls* slave = nullptr;
  for (auto& s : p.Slaves)
    if (s->AddressMinusOne == addressMinusOne) slave = s.get();
  if (slave == nullptr) slave = p.AddSlave(addressMinusOne);
  CDataBlockDataCls* block = slave->AddBlock();
  block->FunctionIndex = function;
  block->ReferenceStart = reference;
  block->Length = length;
  return block;
}

TEST(ModbusMaster, FunctionCodesAndIndices) {
  const uint8_t codes[] = {1, 2, 3, 4, 5, 6, 15, 16};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(FunctionCodeOfIndex(i), codes[i]);
    EXPECT_EQ(FunctionIndexOfCode(codes[i]), i);
  }
  EXPECT_EQ(FunctionCodeOfIndex(kFunctionNotSet), 0);
  for (uint8_t other : {0, 7, 14, 17, 255}) EXPECT_EQ(FunctionIndexOfCode(other), 0);
}

TEST(ModbusMaster, ReferenceEndByte) {
  struct Case {
    int function;
    uint32_t reference, length, end;
  } cases[] = {
      {0, 10, 16, 11}, {0, 10, 17, 12}, {0, 10, 8, 10}, {2, 10, 3, 15}, {4, 10, 1, 10},
      {7, 0, 125, 249}, {6, 5, 7, 5},   {kFunctionNotSet, 10, 3, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReferenceEndByte(c.function, c.reference, c.length), c.end) << c.function << " " << c.length;
}

TEST(ModbusMaster, OverlapRuleAgainstEveryBlockOfEveryPort) {
  struct Existing {
    int function, reference, length;
  };
  struct Case {
    Existing existing;
    int function, reference, length;
    bool overlaps;
  } cases[] = {
      {{0, 10, 17}, 0, 12, 1, true},    // 17 coils reach byte 12
      {{2, 10, 3}, 0, 12, 1, true},     // registers occupy 10 to 15
      {{0, 10, 16}, 0, 12, 1, false},   // 16 coils end at 11
      {{0, 10, 8}, 0, 12, 1, false},    // 8 coils are byte 10 alone
      {{2, 10, 1}, 0, 10, 1, true},     // the same start always overlaps
      {{0, 20, 8}, 2, 15, 3, true},     // new registers 15 to 20 reach the block
      {{0, 21, 8}, 2, 15, 3, false},
      {{kFunctionNotSet, 30, 5}, 0, 12, 1, false},  // a block without function spans 30 to 0
      {{kFunctionNotSet, 30, 5}, 0, 31, 1, false},
      {{kFunctionNotSet, 30, 5}, 0, 30, 1, true},
  };
  for (const auto& c : cases) {
    CControllerDataCls controller;
    AddBlock(controller, 4, 0, 0, 500, 8);  // a far block on another port
    AddBlock(controller, 1, 4, c.existing.function, c.existing.reference, c.existing.length);
    EXPECT_EQ(controller.IsReferenceOverlapping(c.function, c.reference, c.length), c.overlaps)
        << c.existing.function << "@" << c.existing.reference << "x" << c.existing.length << " vs " << c.function
        << "@" << c.reference << "x" << c.length;
  }
}

TEST(ModbusMaster, TagRowsOfEachKind) {
  struct Case {
    int function, start, reference, length;
    std::vector<std::array<std::wstring, 3>> rows;  // physical, Modbus, quote address of each row
  } cases[] = {
      {0, 0, 12, 10, {}},
      {2, 0, 40, 2, {{L"00000", L"40001", L"MB40"}, {L"00001", L"40002", L"MB42"}}},
      {1, 99998, 0, 1, {{L"99998", L"109999", L"M0.0"}}},
      {3, 5, 7, 1, {{L"00005", L"30006", L"MB7"}}},
      {4, 0, 7, 2, {{L"00000", L"00001", L"MB7"}, {L"00001", L"00002", L"MB8"}}},
  };
  for (const auto& c : cases) {
    CDataBlockDataCls block;
    block.FunctionIndex = c.function;
    block.StartAddressMinusOne = c.start;
    block.ReferenceStart = c.reference;
    block.Length = c.length;
    block.BuildTagRows(4, 1);
    ASSERT_EQ(block.Rows.size(), static_cast<size_t>(c.length));
    for (size_t i = 0; i < c.rows.size(); ++i) {
      const CTag& tag = *block.Rows[i];
      EXPECT_EQ(tag.Texts[0], std::to_wstring(i + 1));
      EXPECT_EQ(tag.Texts[1], L"5");
      EXPECT_EQ(tag.Texts[2], FunctionRowTypeName(c.function));
      EXPECT_EQ(tag.Texts[3], c.rows[i][0]);
      EXPECT_EQ(tag.Texts[4], c.rows[i][1]);
      EXPECT_EQ(tag.Texts[5], c.rows[i][2]);
      EXPECT_EQ(tag.Texts[6], L"100ms");
      EXPECT_EQ(tag.Texts[7], L"");
      EXPECT_EQ(tag.Owner, &block);
    }
  }
  // Read coils: bit addresses run through the bytes.
  CDataBlockDataCls coils;
  coils.FunctionIndex = 0;
  coils.ReferenceStart = 12;
  coils.Length = 10;
  coils.BuildTagRows(-1, 9);
  EXPECT_EQ(coils.Rows[0]->Texts[1], L"0");
  EXPECT_EQ(coils.Rows[0]->Texts[2], L"读线圈(IN)");
  EXPECT_EQ(coils.Rows[7]->Texts[5], L"M12.7");
  EXPECT_EQ(coils.Rows[9]->Texts[5], L"M13.1");
  EXPECT_EQ(coils.Rows[9]->Texts[6], L"");  // a level without text

  CDataBlockDataCls unset;
  unset.Length = 3;
  unset.BuildTagRows(0, 0);
  EXPECT_TRUE(unset.Rows.empty());

  // An outsized block from a loaded image shows its first items only.
  CDataBlockDataCls huge;
  huge.FunctionIndex = 2;
  huge.Length = 65535;
  huge.BuildTagRows(0, 0);
  EXPECT_EQ(huge.Rows.size(), static_cast<size_t>(kMaxBlockLength));
}

TEST(ModbusMaster, SplitAndJoinTheImage) {
  struct Case {
    PageBytes image;
    size_t records;
    PageBytes joined;
  };
  PageBytes full = Header({3, 2, 1, 2, 2, 2});
  for (const auto& e : {Entry(1, 3, 0, 0, 2), Entry(2, 1, 4, 10, 8)}) full.insert(full.end(), e.begin(), e.end());
  PageBytes ragged = full;
  ragged.insert(ragged.end(), {9, 9, 9});
  const Case cases[] = {
      {PageBytes(14, 0), 1, PageBytes(14, 0)},
      {full, 3, full},
      {ragged, 3, full},
      {PageBytes{2, 5}, 1, Header({2, 5})},
      {PageBytes(), 1, PageBytes(14, 0)},
  };
  for (const auto& c : cases) {
    MasterRecordList records = SplitMasterImage(c.image);
    ASSERT_EQ(records.size(), c.records);
    EXPECT_EQ(records[0].size(), kMasterHeaderSize);
    EXPECT_EQ(JoinMasterImage(records), c.joined);
  }
  EXPECT_TRUE(JoinMasterImage({}).empty());
}

TEST(ModbusMaster, EmptyConfigurationRoundTrips) {
  CControllerDataCls controller;
  FillMasterTree(SplitMasterImage(PageBytes(14, 0)), controller);
  EXPECT_EQ(controller.RefreshLevel, 0);
  ASSERT_EQ(controller.Ports.size(), 5u);
  for (const auto& port : controller.Ports) EXPECT_TRUE(port->Slaves.empty());
  MasterRecordList records;
  ASSERT_TRUE(BuildMasterRecords(controller, records));
  EXPECT_EQ(JoinMasterImage(records), PageBytes(14, 0));
}

TEST(ModbusMaster, DecodeGroupsEntriesByPortAndSlaveAndEncodesBack) {
  // Port 1: slave 1; port 2: slave 5 twice and slave 6; port 3: nothing; port 4: slave 5;
  // port 5: slave 0. Header bytes 6 to 13 carry junk that is dropped.
  MasterRecordList records = {Header({2, 6, 1, 4, 4, 5, 0xAA, 0xBB, 0xCC}),
                              Entry(1, 3, 99, 0, 10),
                              Entry(5, 1, 0, 100, 17),
                              Entry(6, 16, 0, 200, 2),
                              Entry(5, 0, 7, 300, 1),
                              Entry(5, 99, 8, 400, 8),
                              Entry(0, 5, 9, 500, 1)};
  CControllerDataCls controller;
  FillMasterTree(records, controller);
  EXPECT_EQ(controller.RefreshLevel, 2);

  const auto& port2 = *controller.Ports[1];
  ASSERT_EQ(port2.Slaves.size(), 2u);
  EXPECT_EQ(port2.SlaveAddresses, (std::vector<int>{4, 5}));
  EXPECT_EQ(SlaveNodeText(port2.Slaves[0]->AddressMinusOne + 1), L"SLAVE(5)");
  ASSERT_EQ(port2.Slaves[0]->Blocks.size(), 2u);
  EXPECT_EQ(port2.Slaves[0]->Blocks[0]->Name, L"BlockName2");
  EXPECT_EQ(port2.Slaves[0]->Blocks[1]->Name, L"BlockName4");
  EXPECT_EQ(port2.Slaves[1]->Blocks[0]->Name, L"BlockName3");
  EXPECT_EQ(port2.Slaves[0]->Blocks[1]->FunctionIndex, 0);  // code 0 reads as coils
  EXPECT_EQ(port2.Slaves[1]->Blocks[0]->FunctionIndex, 7);
  EXPECT_EQ(port2.Slaves[0]->Blocks[0]->Rows.size(), 17u);
  EXPECT_EQ(port2.Slaves[0]->Blocks[0]->Rows[0]->Texts[6], L"200ms");
  EXPECT_TRUE(controller.Ports[2]->Slaves.empty());
  ASSERT_EQ(controller.Ports[3]->Slaves.size(), 1u);  // the same address on another port
  EXPECT_EQ(controller.Ports[3]->Slaves[0]->Blocks[0]->FunctionIndex, 0);  // code 99 reads as coils
  ASSERT_EQ(controller.Ports[4]->Slaves.size(), 1u);
  EXPECT_EQ(controller.Ports[4]->Slaves[0]->AddressMinusOne, -1);
  EXPECT_EQ(SlaveNodeText(0), L"SLAVE(0)");

  MasterRecordList encoded;
  ASSERT_TRUE(BuildMasterRecords(controller, encoded));
  const MasterRecordList expected = {Header({2, 6, 1, 4, 4, 5}),
                                     Entry(1, 3, 99, 0, 10),
                                     Entry(5, 1, 0, 100, 17),
                                     Entry(5, 1, 7, 300, 1),
                                     Entry(6, 16, 0, 200, 2),
                                     Entry(5, 1, 8, 400, 8),
                                     Entry(0, 5, 9, 500, 1)};
  EXPECT_EQ(encoded, expected);
}

TEST(ModbusMaster, BlockWithoutFunctionEncodesCodeZero) {
  CControllerDataCls controller;
  AddBlock(controller, 2, 246, kFunctionNotSet, 2000, 125)->StartAddressMinusOne = 65534;
  MasterRecordList records;
  ASSERT_TRUE(BuildMasterRecords(controller, records));
  EXPECT_EQ(records[0], Header({3, 1, 0, 0, 1, 1}));
  EXPECT_EQ(records[1], Entry(247, 0, 65534, 2000, 125));
}

TEST(ModbusMaster, AtMost255EntriesAreEncoded) {
  CControllerDataCls controller;
  for (int i = 0; i < 255; ++i) AddBlock(controller, i % 5, i % 3, 2, i * 2, 1);
  MasterRecordList records = {PageBytes{1}};
  ASSERT_TRUE(BuildMasterRecords(controller, records));
  EXPECT_EQ(records.size(), 256u);
  EXPECT_EQ(records[0], Header({3, 255, 51, 102, 153, 204}));

  AddBlock(controller, 0, 0, 2, 600, 1);
  const MasterRecordList before = records;
  EXPECT_FALSE(BuildMasterRecords(controller, records));
  EXPECT_EQ(records, before);
}

TEST(ModbusMaster, EntriesPastTheCountsNeverWrapBackToPortOne) {
  MasterRecordList records = {Header({0, 255, 1, 1, 1, 1})};
  for (int i = 0; i < 300; ++i) records.push_back(Entry(1, 3, 0, uint16_t(i), 1));
  records.push_back(PageBytes{1, 2, 3});  // not an entry
  CControllerDataCls controller;
  FillMasterTree(records, controller);
  EXPECT_EQ(controller.Ports[0]->Slaves[0]->Blocks.size(), 1u);
  EXPECT_EQ(controller.Ports[4]->Slaves[0]->Blocks.size(), 299u);
  MasterRecordList encoded;
  EXPECT_FALSE(BuildMasterRecords(controller, encoded));
}

TEST(ModbusMaster, SlavesAreRemovedWithTheirAddress) {
  CControllerDataCls controller;
  CPortDataCls& port = *controller.Ports[1];
  CSlaveDataCls* slave = port.AddSlave(4);
  slave->AddBlock();
  EXPECT_TRUE(port.HasSlaveAddress(4));
  EXPECT_FALSE(controller.Ports[2]->HasSlaveAddress(4));
  port.RemoveSlave(slave);
  EXPECT_FALSE(port.HasSlaveAddress(4));
  EXPECT_TRUE(port.Slaves.empty());
  port.AddSlave(4);
  EXPECT_TRUE(port.HasSlaveAddress(4));
}

}  // namespace
}  // namespace corvell
