#include <gtest/gtest.h>

#include <fstream>

#include "modbusdrv/driver/com_channel.h"
#include "modbusdrv/driver/config_file.h"
#include "modbusdrv/driver/tcp_channel.h"
#include "platform/file_util.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"

using namespace modbusdrv;

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

std::vector<uint8_t> ReadFixture(const std::string& name) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(platform::ReadFileBytes(platform::FromUtf8Lossy(testsupport::FixturePath("modbusdrv/" + name)), bytes));
  return bytes;
}

std::vector<std::wstring> Split(const std::wstring& line) {
  std::vector<std::wstring> fields;
  SplitCsvLine(line, fields);
  return fields;
}

const std::string kExample =
    "$ComChannel,ComChannel0,,50,1000,1,1,COM1,115200,8,0,1,0\r\n"
    "$Device,Device0,,5,1\r\n"
    "$DataBlock,DataBlock0,,400001,100,4,50,3\r\n"
    "$TcpChannel,TcpChannel0,,50,1000,1,1,127.0.0.1,502\r\n";

}  // namespace

TEST(ModbusdrvConfig, FixtureFilesSurviveLoadAndSaveByteForByte) {
  for (const char* name : {"Modbus.cfg", "quoted_cp936.cfg"}) {
    const auto original = ReadFixture(name);
    ChannelList list;
    ASSERT_TRUE(LoadConfigBytes(original, list)) << name;
    std::vector<uint8_t> saved;
    ASSERT_TRUE(SaveConfigBytes(list, saved)) << name;
    EXPECT_EQ(saved, original) << name;
  }
}

TEST(ModbusdrvConfig, LoadGivesTheTreeWithItsFields) {
  ChannelList list;
  ASSERT_TRUE(LoadConfigBytes(ReadFixture("quoted_cp936.cfg"), list));
  ASSERT_EQ(list.size(), 1u);
  auto& tcp = static_cast<CTcpChannel&>(*list[0]);
  EXPECT_EQ(tcp.Name, L"Line \"A\", east");
  EXPECT_EQ(tcp.Description, L"描述");
  EXPECT_EQ(tcp.RequestsPerBatch, 10u);
  EXPECT_EQ(tcp.Port, 1502);
  ASSERT_EQ(tcp.Devices.size(), 1u);
  EXPECT_EQ(tcp.Devices[0]->Name, L"泵站");
  EXPECT_EQ(tcp.Devices[0]->Description, L"a,b");
  EXPECT_EQ(tcp.Devices[0]->UnitId, 3);
  EXPECT_EQ(tcp.Devices[0]->DeviceNumber, 7);
  ASSERT_EQ(tcp.Devices[0]->Blocks.size(), 2u);
  EXPECT_EQ(tcp.Devices[0]->Blocks[0]->Area, 0u);
  EXPECT_EQ(tcp.Devices[0]->Blocks[1]->Start, 300010u);
  EXPECT_EQ(tcp.Devices[0]->Blocks[1]->Values.size(), 9u);
}

TEST(ModbusdrvConfig, SplitFollowsTheQuotingRules) {
  struct Case {
    std::wstring line;
    std::vector<std::wstring> fields;
  } cases[] = {
      {L"a,b,c\r\n", {L"a", L"b", L"c"}},
      {L"a,b,", {L"a", L"b", L""}},
      {L"\"x,y\",z", {L"x,y", L"z"}},
      {L"\"say \"\"hi\"\"\",z", {L"say \"hi\"", L"z"}},
      {L"\"open", {L"\"open"}},
      {L"a,\"q\"tail,b", {L"a", L"\"q\"tail,b"}},
      {L"\"last\"", {L"last"}},
      {L"", {}},
      {L"\r\n", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Split(c.line), c.fields) << platform::ToUtf8Lossy(c.line);
  EXPECT_EQ(JoinCsvFields({L"a", L"b,c", L"say \"hi\"", L""}), L"a,\"b,c\",\"say \"\"hi\"\"\",");
}

TEST(ModbusdrvConfig, BadLinesAreSkippedWithTheirObjectsAndReportedFalse) {
  struct Case {
    const char* name;
    std::string text;
    bool result;
    size_t channels, devices, blocks;  // of the first channel
  } cases[] = {
      {"empty line stops", "$TcpChannel,T,,50,1000,1,1,127.0.0.1,502\r\n\r\n$TcpChannel,U,,50,1000,1,1,1.2.3.4,502\r\n", false, 1, 0, 0},
      {"block before device", "$DataBlock,B,,400001,10,4,50,0\r\n$TcpChannel,T,,50,1000,1,1,127.0.0.1,502\r\n", true, 1, 0, 0},
      {"lower-case keyword", "$TcpChannel,T,,50,1000,1,1,127.0.0.1,502\n$device,D,,5,1\n$datablock,B,,400001,10,4,50,0,\n", true, 1, 1, 1},
      {"short channel line drops its devices",
       "$TcpChannel,T,,50,1000,1,1,127.0.0.1,502\r\n$ComChannel,C,,50\r\n$Device,D,,5,1\r\n$DataBlock,B,,400001,10,4,50,0\r\n", false, 1, 0, 0},
      {"short block line", "$TcpChannel,T,,50,1000,1,1,127.0.0.1,502\r\n$Device,D,,5,1\r\n$DataBlock,B,,400001\r\n", false, 1, 1, 0},
      {"huge length", "$TcpChannel,T,,50,1000,1,1,127.0.0.1,502\r\n$Device,D,,5,1\r\n$DataBlock,B,,400001,2000000000,4,50,0\r\n", false, 1, 1, 0},
      {"unknown keyword", "$Other,1,2\r\n$TcpChannel,T,,50,1000,1,1,127.0.0.1,502\r\n", true, 1, 0, 0},
  };
  for (const Case& c : cases) {
    ChannelList list;
    EXPECT_EQ(LoadConfigBytes(Bytes(c.text), list), c.result) << c.name;
    ASSERT_EQ(list.size(), c.channels) << c.name;
    ASSERT_EQ(list[0]->Devices.size(), c.devices) << c.name;
    if (c.devices > 0) {
      EXPECT_EQ(list[0]->Devices[0]->Blocks.size(), c.blocks) << c.name;
    }
  }
}

TEST(ModbusdrvConfig, LongLinesAreReadWholeAndBatchesAreClamped) {
  const std::wstring longDescription(1500, L'x');
  ChannelList list;
  const std::string text = "$TcpChannel,T," + std::string(1500, 'x') + ",50,1000,1,100,127.0.0.1,502\r\n";
  ASSERT_TRUE(LoadConfigBytes(Bytes(text), list));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0]->Description.size(), 259u);
  EXPECT_EQ(list[0]->RequestsPerBatch, 64u);
}

TEST(ModbusdrvConfig, SaveAndLoadThroughFiles) {
  testsupport::TempDir dir;
  const std::wstring path = platform::FromUtf8Lossy(dir.File("Modbus.cfg"));
  ChannelList list;
  EXPECT_FALSE(LoadConfigFile(path, list));
  ASSERT_TRUE(LoadConfigBytes(Bytes(kExample), list));
  ASSERT_TRUE(SaveConfigFile(path, list));
  ChannelList again;
  ASSERT_TRUE(LoadConfigFile(path, again));
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(SaveConfigBytes(again, bytes));
  EXPECT_EQ(bytes, Bytes(kExample));
  std::wstring error;
  EXPECT_FALSE(SaveConfigFile(platform::FromUtf8Lossy(dir.File("missing/Modbus.cfg")), list, &error));
  EXPECT_FALSE(error.empty());
  // A name the code page cannot hold is an error, and the old file stays.
  list[0]->Name = L"\U0001F600";
  EXPECT_FALSE(SaveConfigFile(path, list, &error));
  ASSERT_TRUE(LoadConfigFile(path, again));
  EXPECT_EQ(again[0]->Name, L"ComChannel0");
}

TEST(ModbusdrvConfig, ReloadMergesByNameAndSaysWhatEachChannelNeeds) {
  ChannelList list;
  ASSERT_TRUE(LoadConfigBytes(Bytes(kExample), list));
  ModbusChannel* com = list[0].get();
  ModbusChannel* tcp = list[1].get();
  ModbusDataBlock* block = list[0]->Devices[0]->Blocks[0].get();
  std::vector<std::unique_ptr<ModbusChannel>> removed;

  ASSERT_TRUE(ReloadConfigBytes(Bytes(kExample), list, &removed));
  EXPECT_EQ(com->ReloadAction, -1);
  EXPECT_EQ(tcp->ReloadAction, -1);
  EXPECT_EQ(list[0]->Devices[0]->Blocks[0].get(), block);
  EXPECT_TRUE(removed.empty());

  struct Case {
    const char* name;
    std::string from, to;
    size_t channelIndex;
    int action;
  } cases[] = {
      {"disable", "TcpChannel0,,50,1000,1,", "TcpChannel0,,50,1000,0,", 1, 0},
      {"tcp port", "127.0.0.1,502", "127.0.0.1,503", 1, 2},
      {"serial baud restarts", "COM1,115200", "COM1,9600", 0, 2},
      {"description only", "ComChannel0,,", "ComChannel0,line,", 0, -1},
  };
  for (const Case& c : cases) {
    ChannelList l;
    ASSERT_TRUE(LoadConfigBytes(Bytes(kExample), l));
    std::string changed = kExample;
    changed.replace(changed.find(c.from), c.from.size(), c.to);
    ASSERT_TRUE(ReloadConfigBytes(Bytes(changed), l, nullptr)) << c.name;
    EXPECT_EQ(l[c.channelIndex]->ReloadAction, c.action) << c.name;
  }
  // Enabling a disabled channel starts it.
  {
    ChannelList l;
    std::string off = kExample;
    off.replace(off.find("TcpChannel0,,50,1000,1,"), 23, "TcpChannel0,,50,1000,0,");
    ASSERT_TRUE(LoadConfigBytes(Bytes(off), l));
    ASSERT_TRUE(ReloadConfigBytes(Bytes(kExample), l, nullptr));
    EXPECT_EQ(l[1]->ReloadAction, 1);
  }
  // A new length makes new buffers; a new description keeps them.
  std::string longer = kExample;
  longer.replace(longer.find("400001,100"), 10, "400001,120");
  ASSERT_TRUE(ReloadConfigBytes(Bytes(longer), list, &removed));
  EXPECT_EQ(block->Values.size(), 241u);

  // A renamed channel is a new one; the old one leaves the list.
  std::string renamed = longer;
  renamed.replace(renamed.find("TcpChannel0"), 11, "TcpChannelX");
  ASSERT_TRUE(ReloadConfigBytes(Bytes(renamed), list, &removed));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1]->Name, L"TcpChannelX");
  EXPECT_EQ(list[1]->ReloadAction, 1);
  ASSERT_EQ(removed.size(), 1u);
  EXPECT_EQ(removed[0].get(), tcp);

  // A line of the other kind under a running channel's name replaces that channel in place.
  removed.clear();
  const std::string swapped = "$TcpChannel,ComChannel0,,50,1000,1,1,127.0.0.1,502\r\n$TcpChannel,TcpChannelX,,50,1000,1,1,127.0.0.1,502\r\n";
  ASSERT_TRUE(ReloadConfigBytes(Bytes(swapped), list, &removed));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0]->GetKind(), ModbusChannel::Kind::Tcp);
  EXPECT_EQ(list[0]->Name, L"ComChannel0");
  EXPECT_EQ(list[0]->ReloadAction, 1);
  ASSERT_EQ(removed.size(), 1u);
  EXPECT_EQ(removed[0].get(), com);

  // A bad line: objects met are updated, nothing is removed.
  removed.clear();
  ASSERT_FALSE(ReloadConfigBytes(Bytes("$TcpChannel,TcpChannelX,,50,1000,1,1,127.0.0.1,502\r\n\r\n"), list, &removed));
  EXPECT_EQ(list.size(), 2u);
  EXPECT_TRUE(removed.empty());
}
