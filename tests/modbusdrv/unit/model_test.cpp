#include <gtest/gtest.h>

#include <cstring>

#include "modbusdrv/driver/com_channel.h"
#include "modbusdrv/driver/driver_state.h"
#include "modbusdrv/driver/tag_address.h"
#include "modbusdrv/driver/tcp_channel.h"

using namespace modbusdrv;

namespace {

struct Report {
  uint32_t id, size, type, quality;
};
std::vector<Report> g_reports;
int RecordSink(uint32_t id, void*, uint32_t size, uint32_t* type, uint32_t* quality) {
  g_reports.push_back({id, size, *type, *quality});
  return 0;
}

class ModbusdrvModel : public ::testing::Test {
 protected:
  void SetUp() override {
    g_reports.clear();
    DriverState::Instance().ValueSink = &RecordSink;
  }
  void TearDown() override { DriverState::Instance().ValueSink = nullptr; }

  ModbusDataBlock& AddBlock(ChannelList& list, const std::wstring& deviceName) {
    if (list.empty()) list.push_back(std::make_unique<CTcpChannel>(list));
    auto& channel = *list.back();
    channel.Devices.push_back(std::make_unique<ModbusDevice>(&channel, list));
    channel.Devices.back()->Name = deviceName;
    auto& device = *channel.Devices.back();
    device.Blocks.push_back(std::make_unique<ModbusDataBlock>(&device));
    return *device.Blocks.back();
  }

  static void SetRegister(ModbusDataBlock& b, uint32_t k, uint16_t v, uint8_t quality = 0) {
    b.Values[2 * k - 2] = static_cast<uint8_t>(v >> 8);
    b.Values[2 * k - 1] = static_cast<uint8_t>(v & 0xFF);
    b.Quality[2 * k - 2] = b.Quality[2 * k - 1] = quality;
  }
};

}  // namespace

TEST_F(ModbusdrvModel, DefaultNamesAreUniqueWithoutRegardToCase) {
  ChannelList list;
  for (int i = 0; i < 3; ++i) list.push_back(std::make_unique<CComChannel>(list));
  EXPECT_EQ(list[0]->Name, L"ComChannel0");
  EXPECT_EQ(list[2]->Name, L"ComChannel2");
  ChannelList other;
  other.push_back(std::make_unique<CTcpChannel>(other));
  other[0]->Name = L"comchannel0";
  EXPECT_EQ(CComChannel(other).Name, L"ComChannel1");
  EXPECT_EQ(other[0]->RefreshMs.load(), 50u);
  EXPECT_EQ(static_cast<CTcpChannel&>(*other[0]).Port, 502);
  EXPECT_EQ(CComChannel(other).Parity, 1);
}

TEST_F(ModbusdrvModel, NewBlockDefaultsAndResizeReportsBoundTags) {
  ChannelList list;
  ModbusDataBlock& b = AddBlock(list, L"Device0");
  EXPECT_EQ(b.Name, L"DataBlock0");
  EXPECT_EQ(b.Area, 4u);
  EXPECT_EQ(b.Start, 400001u);
  EXPECT_EQ(b.Length, 100u);
  EXPECT_EQ(b.DataType, 3u);
  EXPECT_EQ(b.Values, std::vector<uint8_t>(201, 0));
  EXPECT_EQ(b.Quality, std::vector<uint8_t>(201, 1));
  EXPECT_EQ(list[0]->Devices[0]->DeviceNumber, 5);
  EXPECT_EQ(list[0]->Devices[0]->UnitId, 1);

  for (uint32_t id = 0; id < 21; ++id) BindSlot(b, 1, id);
  EXPECT_EQ(b.Slot(19, 1).load(), 19u);  // the 21st tag found no free row
  BindSlot(b, 2, 100);
  UnbindSlot(b, 1, 5);
  EXPECT_EQ(b.Slot(5, 1).load(), kFreeSlot);
  b.SetRange(400001, 50, b.Length);
  EXPECT_EQ(g_reports.size(), 20u);  // 19 ids left at offset 1, one at offset 2
  for (const Report& r : g_reports) {
    EXPECT_EQ(r.quality, 1u);
    EXPECT_EQ(r.type, 7u);
    EXPECT_EQ(r.size, 4u);
  }
  for (uint32_t row = 0; row < 20; ++row)
    for (uint32_t k = 0; k <= 50; ++k) ASSERT_EQ(b.Slot(row, k).load(), kFreeSlot);
  EXPECT_EQ(b.Values.size(), 101u);
}

TEST_F(ModbusdrvModel, AddressesResolveByExactDeviceNameAndRange) {
  ChannelList list;
  ModbusDataBlock& b = AddBlock(list, L"Device0");
  ModbusDataBlock* found = nullptr;
  uint32_t offset = 0;
  ASSERT_TRUE(ResolveTagAddress(list, L"Device0:400001", found, offset));
  EXPECT_EQ(found, &b);
  EXPECT_EQ(offset, 1u);
  ASSERT_TRUE(ResolveTagAddress(list, L"Device0:400100", found, offset));
  EXPECT_EQ(offset, 100u);
  EXPECT_FALSE(ResolveTagAddress(list, L"Device0:400101", found, offset));
  EXPECT_FALSE(ResolveTagAddress(list, L"device0:400001", found, offset));
  EXPECT_FALSE(ResolveTagAddress(list, L"Device0400001", found, offset));
  ModbusDataBlock& coils = AddBlock(list, L"Pump");
  coils.SetRange(17, 8, coils.Length);
  ASSERT_TRUE(ResolveTagAddress(list, L"Pump:18", found, offset));
  EXPECT_EQ(found, &coils);
  EXPECT_EQ(offset, 2u);
}

TEST_F(ModbusdrvModel, ValuesDecodeByDataTypeAndNeverReadPastTheBlock) {
  ChannelList list;
  ModbusDataBlock& b = AddBlock(list, L"Device0");
  SetRegister(b, 1, 0x4148);
  SetRegister(b, 2, 0x0000);
  struct Case {
    uint32_t dataType, type, size;
    uint64_t bits;
  } cases[] = {
      {kWord, 4, 2, 0x4148},         {kLong, 5, 4, 0x00004148},        {kLongSwapped, 5, 4, 0x41480000},
      {kFloat, 7, 4, 0x00004148},    {kFloatSwapped, 7, 4, 0x41480000},
  };
  for (const Case& c : cases) {
    b.DataType = c.dataType;
    uint8_t value[8] = {};
    uint32_t quality = 9, type = 0, size = 0;
    DecodeTagValue(b, 1, value, quality, type, size);
    uint64_t bits = 0;
    std::memcpy(&bits, value, 8);
    EXPECT_EQ(type, c.type) << c.dataType;
    EXPECT_EQ(size, c.size) << c.dataType;
    EXPECT_EQ(bits, c.bits) << c.dataType;
    EXPECT_EQ(quality, 0u) << c.dataType;
  }
  b.DataType = kFloatSwapped;
  float f = 0;
  uint8_t value[8] = {};
  uint32_t quality = 0, type = 0, size = 0;
  DecodeTagValue(b, 1, value, quality, type, size);
  std::memcpy(&f, value, 4);
  EXPECT_EQ(f, 12.5f);

  // A double at offset 98 of 100 needs registers 98..101: reported bad, nothing read.
  for (uint32_t k = 1; k <= 100; ++k) SetRegister(b, k, 0xFFFF);
  b.DataType = kDouble;
  std::memset(value, 0x55, 8);
  DecodeTagValue(b, 98, value, quality, type, size);
  EXPECT_EQ(quality, 1u);
  EXPECT_EQ(type, 8u);
  for (uint8_t v : value) EXPECT_EQ(v, 0);
  DecodeTagValue(b, 97, value, quality, type, size);
  EXPECT_EQ(quality, 0u);

  // Coils: bit (k-1) mod 8 of byte (k-1)/8.
  b.SetRange(1, 16, b.Length);
  b.Values[1] = 0x02;
  b.Quality[1] = 0;
  DecodeTagValue(b, 10, value, quality, type, size);
  EXPECT_EQ(value[0], 1);
  EXPECT_EQ(type, 2u);
  EXPECT_EQ(quality, 0u);
}
