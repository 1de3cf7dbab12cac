#include <gtest/gtest.h>

#include "modbusdrv/driver/com_channel.h"
#include "modbusdrv/driver/field_rules.h"
#include "modbusdrv/driver/tcp_channel.h"

using namespace modbusdrv;

TEST(ModbusdrvFieldRules, DecimalFieldsAcceptOnlyDigitsWithinRange) {
  struct Case {
    const wchar_t* text;
    int min, max;
    std::optional<int> expected;
  } cases[] = {
      {L"50", 50, 10000, 50},         {L"10000", 50, 10000, 10000}, {L"49", 50, 10000, std::nullopt},
      {L"10001", 50, 10000, std::nullopt}, {L"-5", 50, 10000, std::nullopt}, {L"1e3", 50, 10000, std::nullopt},
      {L"65535", 1, 100000, 65535},   {L"100000", 1, 100000, 100000}, {L"0", 1, 100000, std::nullopt},
      {L"100001", 1, 100000, std::nullopt}, {L"", 1, 32, std::nullopt}, {L"4294967346", 1, 100000, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckDecimalField(c.text, c.min, c.max), c.expected) << c.text;
}

TEST(ModbusdrvFieldRules, NamesAreCheckedAgainstTheirScope) {
  ChannelList list;
  list.push_back(std::make_unique<CComChannel>(list));
  list.push_back(std::make_unique<CTcpChannel>(list));
  auto& com = *list[0];
  EXPECT_EQ(CheckChannelName(list, com, L"comchannel0"), NameCheck::Restore);
  EXPECT_EQ(CheckChannelName(list, com, L""), NameCheck::Restore);
  EXPECT_EQ(CheckChannelName(list, com, L"TCPCHANNEL0"), NameCheck::Duplicate);
  EXPECT_EQ(CheckChannelName(list, com, L"Line"), NameCheck::Store);

  com.Devices.push_back(std::make_unique<ModbusDevice>(&com, list));
  list[1]->Devices.push_back(std::make_unique<ModbusDevice>(list[1].get(), list));
  auto& d0 = *com.Devices[0];
  EXPECT_EQ(list[1]->Devices[0]->Name, L"Device1");
  EXPECT_EQ(CheckDeviceName(list, d0, L"device0"), NameCheck::Store);
  EXPECT_EQ(CheckDeviceName(list, d0, L"DEVICE1"), NameCheck::Restore);
  EXPECT_EQ(CheckDeviceName(list, d0, L"Device0"), NameCheck::Unchanged);

  d0.Blocks.push_back(std::make_unique<ModbusDataBlock>(&d0));
  d0.Blocks.push_back(std::make_unique<ModbusDataBlock>(&d0));
  EXPECT_EQ(d0.Blocks[1]->Name, L"DataBlock1");
  EXPECT_EQ(CheckBlockName(d0, *d0.Blocks[0], L"datablock1"), NameCheck::Restore);
  EXPECT_EQ(CheckBlockName(d0, *d0.Blocks[0], L"datablock0"), NameCheck::Store);
}

TEST(ModbusdrvFieldRules, BlockStartAndLength) {
  for (const wchar_t* ok : {L"000001", L"100001", L"300001", L"400001"})
    EXPECT_FALSE(ApplyStartRule(ok, L"100", 400001).restore) << ok;
  for (const wchar_t* bad : {L"200001", L"500001", L"400000", L"0", L"4x"})
    EXPECT_TRUE(ApplyStartRule(bad, L"100", 400001).restore) << bad;
  const auto cut = ApplyStartRule(L"499950", L"100", 400001);
  EXPECT_TRUE(cut.changed);
  EXPECT_EQ(cut.area, 4u);
  EXPECT_EQ(cut.cutLength, 49u);
  EXPECT_FALSE(ApplyStartRule(L"400001", L"100", 400001).changed);
  EXPECT_EQ(FormatBlockStart(1), L"000001");
  EXPECT_EQ(CheckBlockLength(L"0", 1), std::nullopt);
  EXPECT_EQ(CheckBlockLength(L"99998", 1), 99998u);
  EXPECT_EQ(CheckBlockLength(L"99999", 1), std::nullopt);
  EXPECT_EQ(JoinIpAddress({L"192", L"", L"1", L"20"}), L"192.0.1.20");
}
