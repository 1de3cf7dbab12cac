#include "sysblock/model/port_settings_page.h"

#include <gtest/gtest.h>

#include "sysblock/model/corvell_app.h"

namespace corvell {
namespace {

PageBytes Sample0() { return BuildSamplePortSettingsPage(); }

TEST(TextNumber, ReadsALeadingSignedDecimalWithoutCommas) {
  struct Case {
    std::wstring text;
    std::optional<long long> value;
  } cases[] = {
      {L"12", 12},       {L"  1,234", 1234}, {L"-5", -5},         {L"+7", 7},
      {L"12abc", 12},    {L"", std::nullopt}, {L"abc", std::nullopt}, {L" - 3", std::nullopt},
      {L",,", std::nullopt}, {L"99999999999999999999999", 1000000000000000LL},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadTextNumber(c.text), c.value) << std::string(c.text.begin(), c.text.end());
}

TEST(PortSettingsPage, ConstructedFieldsAndNetworkBlock) {
  PortSettingsPage page;
  EXPECT_EQ(page.Ports[0].Baud, 4);
  EXPECT_EQ(page.Ports[1].PlcAddress, L"1");
  EXPECT_EQ(page.NetworkBlock,
            (PageBytes{192, 168, 1, 2, 255, 255, 255, 0, 192, 168, 1, 1, 0xD0, 0x07, 1, 0}));
  EXPECT_EQ(page.ModbusMasterImage, PageBytes(14, 0));
}

TEST(PortSettingsPage, SampleDecodesToItsFieldsAndEncodesBackUnchanged) {
  PortSettingsPage page;
  page.Decode(Sample0(), Sample0());
  for (const auto& port : page.Ports) {
    EXPECT_EQ(port.Protocol, 0);
    EXPECT_EQ(port.Baud, 5);
    EXPECT_EQ(port.PlcAddress, L"1");
    EXPECT_EQ(port.ResponseTimeout, L"10");
    EXPECT_EQ(port.FrameDelay, L"3");
  }
  EXPECT_EQ(page.TcpPort, 2000);
  EXPECT_EQ(page.TcpAddress, 1);
  EXPECT_EQ(page.NetworkFields[15], 4);
  EXPECT_EQ(page.Encode(Sample0()), Sample0());
}

// A byte out of its field's range keeps the constructed value, which is then written back.
TEST(PortSettingsPage, OutOfRangeBytesKeepTheConstructedFields) {
  struct Case {
    size_t offset;
    uint8_t value;
    uint8_t storedBack;
  } cases[] = {
      {0, 3, 0},    // protocol 3 -> 0
      {2, 9, 4},    // baud 9 -> initial 19200 bps index
      {3, 1, 1},    // data-bits index 1 is taken and kept
      {3, 2, 0},    // data-bits 2 -> 0
      {4, 3, 0},    // parity 3 -> none
      {5, 1, 1},    // stop-bits index 1 is taken and kept
      {5, 2, 0},    // stop-bits 2 -> 0
      {6, 0, 10},   // timeout 0 -> "10"
      {7, 0, 3},    // delay 0 -> "3"
      {9, 255, 255},  // port 1 address 255
      {10, 8, 4},   // port 1 baud 8 -> 4
      {14, 0, 10},  // port 1 timeout 0
  };
  for (const auto& c : cases) {
    PageBytes bytes = Sample0();
    bytes[c.offset] = c.value;
    PortSettingsPage page;
    page.Decode(bytes, Sample0());
    PageBytes expected = Sample0();
    expected[c.offset] = c.storedBack;
    EXPECT_EQ(page.Encode(Sample0()), expected) << "offset " << c.offset << " value " << int(c.value);
  }
}

TEST(PortSettingsPage, OutOfRangeFieldsStoreTheSamplesByte) {
  struct Case {
    std::wstring address, timeout, delay;
    uint8_t b1, b6, b7;
  } cases[] = {
      {L"300", L"0", L"256", 1, 10, 3},
      {L"", L"x", L"-1", 1, 10, 3},
      {L"0", L"255", L"1", 0, 255, 1},
      {L"2,00", L" 20", L"7abc", 200, 20, 7},
  };
  for (const auto& c : cases) {
    PortSettingsPage page;
    page.Decode(Sample0(), Sample0());
    page.Ports[0].Protocol = 1;  // Modbus master: not checked when the page is left
    page.Ports[0].PlcAddress = c.address;
    page.Ports[0].ResponseTimeout = c.timeout;
    page.Ports[0].FrameDelay = c.delay;
    PageBytes stored = page.Encode(Sample0());
    EXPECT_EQ(stored[0], 1);
    EXPECT_EQ(stored[1], c.b1);
    EXPECT_EQ(stored[6], c.b6);
    EXPECT_EQ(stored[7], c.b7);
  }
}

TEST(PortSettingsPage, NetworkBlockAndMasterImageTravelWithThePage) {
  PageBytes bytes = Sample0();
  bytes[16] = 10, bytes[17] = 0, bytes[18] = 0, bytes[19] = 7;
  bytes[28] = 0x02, bytes[29] = 0x01;  // TCP port 258
  bytes[30] = 9;
  bytes[31] = 0xAB;
  const PageBytes entry = {5, 3, 0, 0, 10, 0, 2, 0};
  bytes.insert(bytes.end(), entry.begin(), entry.end());
  bytes.push_back(0x77);  // a stray byte after the last whole entry
  PortSettingsPage page;
  page.Decode(bytes, Sample0());
  EXPECT_EQ(page.TcpPort, 258);
  EXPECT_EQ(page.TcpAddress, 9);
  EXPECT_EQ(page.ModbusMasterImage.size(), 14u + 8u + 1u);
  EXPECT_EQ(page.Encode(Sample0()), bytes);

  // Leaving the page rebuilds the block from the fields; the reserved byte is carried.
  page.TcpPort = 502;
  page.TcpAddress = 200;
  page.NetworkFields[3] = 99;
  page.BuildNetworkBlock();
  EXPECT_EQ(page.NetworkBlock, (PageBytes{10, 0, 0, 99, 255, 255, 255, 0, 192, 168, 1, 1, 0xF6, 0x01, 200, 0xAB}));
}

TEST(PortSettingsPage, TcpAddressOrPortOutOfRangeIsNotCutToItsLowBits) {
  PortSettingsPage page;
  page.Decode(Sample0(), Sample0());
  page.TcpAddress = 300;
  page.TcpPort = 65536;
  auto error = page.ValidatePortFields(1);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->ControlOffset, kTcpAddressControl);
  EXPECT_EQ(error->Message, L"TCP Address\r\nInput number out of range");
  page.BuildNetworkBlock();
  EXPECT_EQ(page.NetworkBlock[12], 0xD0);
  EXPECT_EQ(page.NetworkBlock[13], 0x07);
  EXPECT_EQ(page.NetworkBlock[14], 1);
}

TEST(PortSettingsPage, ShortPageIsReadFromTheSample) {
  for (size_t size : {0u, 8u, 31u}) {
    PageBytes bytes(size, 2);
    PortSettingsPage page;
    page.Decode(bytes, Sample0());
    EXPECT_EQ(page.Ports[0].Protocol, 0) << size;
    EXPECT_EQ(page.Encode(Sample0()), Sample0()) << size;
  }
  // Exactly the ports and the network block: an empty master image.
  PageBytes bytes = Sample0();
  bytes.resize(32);
  PortSettingsPage page;
  page.Decode(bytes, Sample0());
  EXPECT_TRUE(page.ModbusMasterImage.empty());
  EXPECT_EQ(page.Encode(Sample0()), bytes);
}

TEST(PortSettingsPage, ValidationOfModbusSlavePorts) {
  struct Case {
    int port, protocol;
    std::wstring address, timeout, delay;
    int language;
    int control;  // 0: accepted
    std::wstring message;
  } cases[] = {
      {0, 0, L"256", L"10", L"3", 1, kPort0PlcAddressControl, L"PLC Address\r\nInput number out of range"},
      {1, 0, L"1", L"", L"3", 1, kPort1ResponseTimeoutControl, L"Response Timeout\r\nPlease input a number"},
      {1, 0, L"1", L"", L"3", 2, kPort1ResponseTimeoutControl, L"响应超时\r\n请输入一个数字"},
      {0, 0, L"1", L"10", L"0", 2, kPort0FrameDelayControl, L"帧间隔时间\r\n输入数字超出范围"},
      {0, 1, L"300", L"", L"0", 1, 0, L""},  // Modbus master: not checked
      {1, 2, L"300", L"", L"0", 1, 0, L""},  // free port: not checked
      {0, 0, L"0", L"1", L"255", 1, 0, L""},
  };
  for (const auto& c : cases) {
    PortSettingsPage page;
    page.Ports[c.port].Protocol = c.protocol;
    page.Ports[c.port].PlcAddress = c.address;
    page.Ports[c.port].ResponseTimeout = c.timeout;
    page.Ports[c.port].FrameDelay = c.delay;
    auto error = page.ValidatePortFields(c.language);
    if (c.control == 0) {
      EXPECT_FALSE(error);
    } else {
      ASSERT_TRUE(error);
      EXPECT_EQ(error->ControlOffset, c.control);
      EXPECT_EQ(error->Message, c.message);
    }
  }
}

TEST(PortSettingsPage, DefaultsResetPortsAndNetworkButNotTheImageOrBlock) {
  PageBytes bytes = Sample0();
  bytes[0] = 2;
  bytes[16] = 10;
  bytes[31] = 9;
  bytes[32] = 4;
  PortSettingsPage page;
  page.Decode(bytes, Sample0());
  page.Ports[1].PlcAddress = L"77";
  page.TcpPort = 80;
  page.Defaults();
  EXPECT_EQ(page.Ports[0].Protocol, 0);
  EXPECT_EQ(page.Ports[0].Baud, 5);
  EXPECT_EQ(page.Ports[1].PlcAddress, L"1");
  EXPECT_EQ(page.TcpPort, 2000);
  EXPECT_EQ(page.NetworkFields[0], 192);
  EXPECT_EQ(page.NetworkFields[15], 0);
  EXPECT_EQ(page.NetworkBlock[0], 10);
  EXPECT_EQ(page.ModbusMasterImage[0], 4);
}

}  // namespace
}  // namespace corvell
