#include <gtest/gtest.h>

#include "modbusdrv/driver/driver_utils.h"
#include "modbusdrv/driver/modbus_channel.h"
#include "modbusdrv/driver/modbus_data_block.h"
#include "modbusdrv/driver/modbus_frame.h"
#include "modbusdrv/driver/tcp_channel.h"

using namespace modbusdrv;

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> list) {
  std::vector<uint8_t> v;
  for (int b : list) v.push_back(static_cast<uint8_t>(b));
  return v;
}

std::vector<uint8_t> Text(const std::string& s) { return {s.begin(), s.end()}; }

std::vector<uint8_t> Frame(Framing framing, const std::vector<uint8_t>& pdu) {
  std::vector<uint8_t> out;
  AppendFrame(framing, pdu, 0, out);
  return out;
}

// A channel list with one TCP channel, one device (unit 1) and one block.
struct Tree {
  ChannelList list;
  ModbusDataBlock* block;
  Tree(uint32_t start, uint32_t length, uint32_t dataType) {
    list.push_back(std::make_unique<CTcpChannel>(list));
    auto& channel = *list.back();
    channel.Devices.push_back(std::make_unique<ModbusDevice>(&channel, list));
    auto& device = *channel.Devices.back();
    device.Blocks.push_back(std::make_unique<ModbusDataBlock>(&device));
    block = device.Blocks.back().get();
    block->SetRange(start, length, block->Length);
    block->DataType = dataType;
  }
};

}  // namespace

TEST(ModbusdrvUtils, ChecksumsHexAndTexts) {
  const auto crc = ComputeCrc16(Bytes({1, 3, 0, 0, 0, 0x0A}).data(), 6);
  EXPECT_EQ(crc[0], 0xC5);
  EXPECT_EQ(crc[1], 0xCD);
  EXPECT_EQ(ComputeLrc(Bytes({1, 3, 0, 0, 0, 0x64}).data(), 6), 0x98);
  EXPECT_EQ(HexCharToNibble('a'), 0);
  EXPECT_EQ(HexCharToNibble(':'), 10);
  EXPECT_EQ(HexCharToNibble('F'), 15);
  EXPECT_EQ(NibbleToHexChar(11), 'B');
  EXPECT_EQ(NibbleToHexChar(16), 0);
  std::vector<uint8_t> decoded;
  DecodeHexText("0103FF\r\n", decoded);
  EXPECT_EQ(decoded, Bytes({1, 3, 0xFF}));
  EXPECT_TRUE(IsDecimalText(L""));
  EXPECT_TRUE(IsDecimalText(L"0123"));
  EXPECT_FALSE(IsDecimalText(L"12a"));
  std::wstring left, right;
  ASSERT_TRUE(SplitAtSeparator(L"Device0:400001", L':', left, right));
  EXPECT_EQ(left, L"Device0");
  EXPECT_EQ(right, L"400001");
  EXPECT_FALSE(SplitAtSeparator(L":400001", L':', left, right));
  EXPECT_FALSE(SplitAtSeparator(L"Device0:", L':', left, right));
  EXPECT_EQ(ParseIntField(L"  -12x"), -12);
  EXPECT_EQ(ParseIntField(L"abc"), 0);
  EXPECT_EQ(SerialDevicePath(L"COM1"), "/dev/ttyS0");
  EXPECT_EQ(SerialDevicePath(L"/dev/ttyUSB0"), "/dev/ttyUSB0");
}

TEST(ModbusdrvFrame, ReadRequestsInThreeFramings) {
  const auto pdu = BuildReadPdu(1, 3, 0, 100);
  auto rtu = Frame(Framing::Rtu, pdu);
  const auto crc = ComputeCrc16(pdu.data(), 6);
  EXPECT_EQ(rtu, Bytes({1, 3, 0, 0, 0, 0x64, crc[0], crc[1]}));
  EXPECT_EQ(Frame(Framing::Ascii, pdu), Text(":01030000006498\r\n"));
  EXPECT_EQ(Frame(Framing::Tcp, pdu), Bytes({0, 0, 0, 0, 0, 6, 1, 3, 0, 0, 0, 0x64}));
  // Coil 17, eight coils: function 1 at address 16.
  EXPECT_EQ(BuildReadPdu(1, ReadFunctionForArea(0), 16, 8), Bytes({1, 1, 0, 16, 0, 8}));
}

TEST(ModbusdrvFrame, WriteRequestsFollowTheBlockOrderAndRefuseReadOnlyTables) {
  Tree t(400001, 100, kFloatSwapped);
  const float value = 12.5f;
  std::vector<uint8_t> pdu;
  ASSERT_TRUE(BuildWritePdu(*t.block, 1, 1, reinterpret_cast<const uint8_t*>(&value), 4, pdu));
  EXPECT_EQ(Frame(Framing::Tcp, pdu), Bytes({0, 0, 0, 0, 0, 0x0B, 1, 0x10, 0, 0, 0, 2, 4, 0x41, 0x48, 0, 0}));
  t.block->DataType = kFloat;
  ASSERT_TRUE(BuildWritePdu(*t.block, 1, 1, reinterpret_cast<const uint8_t*>(&value), 4, pdu));
  EXPECT_EQ(std::vector<uint8_t>(pdu.begin() + 7, pdu.end()), Bytes({0, 0, 0x41, 0x48}));

  Tree coils(1, 16, kWord);
  const uint8_t on = 7, off = 0;
  ASSERT_TRUE(BuildWritePdu(*coils.block, 1, 1, &on, 1, pdu));
  EXPECT_EQ(Frame(Framing::Tcp, pdu), Bytes({0, 0, 0, 0, 0, 6, 1, 5, 0, 0, 0xFF, 0}));
  ASSERT_TRUE(BuildWritePdu(*coils.block, 1, 3, &off, 1, pdu));
  EXPECT_EQ(pdu, Bytes({1, 5, 0, 2, 0, 0}));

  // A block at 410001 is written at protocol address 10000.
  Tree high(410001, 10, kWord);
  const uint16_t w = 0x1234;
  ASSERT_TRUE(BuildWritePdu(*high.block, 1, 1, reinterpret_cast<const uint8_t*>(&w), 2, pdu));
  EXPECT_EQ(pdu, Bytes({1, 16, 0x27, 0x10, 0, 1, 2, 0x12, 0x34}));

  // Discrete inputs and input registers are read-only; values must fit the block.
  Tree inputs(100001, 8, kWord), registers(300001, 8, kWord);
  EXPECT_FALSE(BuildWritePdu(*inputs.block, 1, 1, &on, 1, pdu));
  EXPECT_FALSE(BuildWritePdu(*registers.block, 1, 1, reinterpret_cast<const uint8_t*>(&w), 2, pdu));
  EXPECT_FALSE(BuildWritePdu(*t.block, 1, 100, reinterpret_cast<const uint8_t*>(&value), 4, pdu));
  EXPECT_FALSE(BuildWritePdu(*t.block, 1, 1, reinterpret_cast<const uint8_t*>(&value), 3, pdu));
  // Items past 65536 cannot be addressed on the wire.
  Tree beyond(465500, 100, kWord);
  EXPECT_FALSE(beyond.block->IsPollable());
  EXPECT_FALSE(BuildWritePdu(*beyond.block, 1, 1, reinterpret_cast<const uint8_t*>(&w), 2, pdu));
}

TEST(ModbusdrvFrame, RepliesAreCheckedForChecksumUnitAndFunction) {
  const std::vector<uint8_t> reply = Bytes({1, 3, 4, 0x41, 0x48, 0, 0});
  struct Case {
    const char* name;
    Framing framing;
    std::vector<uint8_t> frame;
    ReplyStatus expected;
  };
  auto rtu = Frame(Framing::Rtu, reply);
  auto badCrc = rtu;
  badCrc.back() ^= 1;
  auto otherUnit = Frame(Framing::Rtu, Bytes({2, 3, 4, 0x41, 0x48, 0, 0}));
  auto otherFunction = Frame(Framing::Rtu, Bytes({1, 4, 4, 0x41, 0x48, 0, 0}));
  auto shortCount = Frame(Framing::Rtu, Bytes({1, 3, 6, 0x41, 0x48, 0, 0}));
  auto exception = Frame(Framing::Rtu, Bytes({1, 0x83, 2}));
  auto ascii = Frame(Framing::Ascii, reply);
  auto asciiBadLrc = ascii;
  asciiBadLrc[asciiBadLrc.size() - 3] = asciiBadLrc[asciiBadLrc.size() - 3] == '0' ? '1' : '0';
  auto asciiLower = Text(":010304414800006f\r\n");
  auto tcp = Frame(Framing::Tcp, reply);
  auto tcpOtherTid = tcp;
  tcpOtherTid[1] = 9;
  auto tcpException = Frame(Framing::Tcp, Bytes({1, 0x83, 2}));
  const Case cases[] = {
      {"rtu good", Framing::Rtu, rtu, ReplyStatus::Ok},
      {"rtu bad crc", Framing::Rtu, badCrc, ReplyStatus::Mismatch},
      {"rtu other unit", Framing::Rtu, otherUnit, ReplyStatus::Mismatch},
      {"rtu other function", Framing::Rtu, otherFunction, ReplyStatus::Mismatch},
      {"rtu byte count", Framing::Rtu, shortCount, ReplyStatus::Mismatch},
      {"rtu exception", Framing::Rtu, exception, ReplyStatus::Exception},
      {"ascii good", Framing::Ascii, ascii, ReplyStatus::Ok},
      {"ascii bad lrc", Framing::Ascii, asciiBadLrc, ReplyStatus::Mismatch},
      {"ascii lower case", Framing::Ascii, asciiLower, ReplyStatus::Mismatch},
      {"tcp good", Framing::Tcp, tcp, ReplyStatus::Ok},
      {"tcp other transaction", Framing::Tcp, tcpOtherTid, ReplyStatus::Mismatch},
      {"tcp exception", Framing::Tcp, tcpException, ReplyStatus::Exception},
  };
  for (const Case& c : cases) {
    const long length = ReplyFrameLength(c.framing, c.frame.data(), c.frame.size());
    ASSERT_GT(length, 0) << c.name;
    if (c.expected == ReplyStatus::Ok || c.expected == ReplyStatus::Exception) {
      EXPECT_EQ(static_cast<size_t>(length), c.frame.size()) << c.name;
    }
    const auto decoded = DecodeReply(c.framing, c.frame.data(), c.frame.size(), 1, 3, 0);
    EXPECT_EQ(decoded.status, c.expected) << c.name;
    if (c.expected == ReplyStatus::Ok) {
      EXPECT_EQ(decoded.data, Bytes({0x41, 0x48, 0, 0})) << c.name;
    }
  }
  // An MBAP length over 254 cannot be a Modbus reply.
  const auto huge = Bytes({0, 0, 0, 0, 0xFF, 0xFF});
  EXPECT_EQ(ReplyFrameLength(Framing::Tcp, huge.data(), huge.size()), -1);
  const auto maxLength = Bytes({0, 0, 0, 0, 0, 254});
  EXPECT_EQ(ReplyFrameLength(Framing::Tcp, maxLength.data(), maxLength.size()), 260);
}
