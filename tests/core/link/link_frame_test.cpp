#include "core/link/link_frame.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <typeinfo>

#include "core/env/exception_error.h"
#include "core/env/utilities.h"
#include "link_test_support.h"

using namespace Brenno;
using linktest::Bytes;

namespace {

std::vector<uint8_t> RequestFrame(int station, uint16_t code, uint16_t parameter, uint16_t index,
                                  const std::vector<uint8_t>& data) {
  std::vector<uint8_t> bytes = BuildLinkPacket(code, parameter, index, data);
  WrapEnvelope(bytes, station);
  AppendModbusCrc(bytes);
  return bytes;
}

// Which error class a call throws ("" for none).
std::string ThrownClass(const std::function<void()>& call) {
  try {
    call();
  } catch (const ExceptionExchCrcUnpackError&) {
    return "crc";
  } catch (const ExceptionExchModbusUnpackError&) {
    return "envelope";
  } catch (const ExceptionExchPackReceiveLengthError&) {
    return "length";
  } catch (const ExceptionExchPackReceiveCodeError&) {
    return "code";
  } catch (const ExceptionExchPackReceiveIndexError&) {
    return "index";
  } catch (const ExceptionLogicError&) {
    return "logic";
  }
  return "";
}

}  // namespace

TEST(LinkFrame, ReadStatusRequestHasTheDocumentedBytes) {
  EXPECT_EQ(RequestFrame(1, 0x0A00, 0, 0x8000, {}), Bytes({0x01, 0x0E, 0x00, 0x06, 0x0A, 0x00, 0x00, 0x00, 0x80, 0x00, 0x6A, 0xC8}));
  const std::string check = "123456789";
  EXPECT_EQ(ComputeCrc16(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(check.data()), check.size())), 0x4B37);
}

TEST(LinkFrame, EnvelopeCarriesStationLowByteAndPacketLength) {
  const std::vector<uint8_t> frame = RequestFrame(0x1234, 0x0240, 0x0102, 0x0003, Bytes({0xAA, 0xBB, 0xCC}));
  ASSERT_EQ(frame.size(), 4u + 9u + 2u);
  EXPECT_EQ(std::vector<uint8_t>(frame.begin(), frame.begin() + 13),
            Bytes({0x34, 0x0E, 0x00, 0x09, 0x02, 0x40, 0x01, 0x02, 0x00, 0x03, 0xAA, 0xBB, 0xCC}));
}

TEST(LinkFrame, ReplyEnvelopeChecks) {
  const std::vector<uint8_t> good = RequestFrame(1, 0x0A00, 0, 0x8000, Bytes({0x00, 0x01}));
  std::vector<uint8_t> badCrc = good;
  badCrc.back() ^= 1;
  std::vector<uint8_t> tcpGood(good.begin(), good.end() - 2);
  std::vector<uint8_t> badFunction = tcpGood;
  badFunction[1] = 0x0F;
  std::vector<uint8_t> badLength = tcpGood;
  badLength[3] += 1;
  const std::vector<uint8_t> station300 = RequestFrame(300, 0x0A00, 0, 0x8000, {});

  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    int station;
    bool withCrc;
    std::string expected;
  };
  const Case cases[] = {
      {"good serial reply", good, 1, true, ""},
      {"good tcp reply", tcpGood, 1, false, ""},
      {"one byte", Bytes({0x01}), 1, true, "crc"},
      {"empty tcp reply is a crc error", {}, 1, false, "crc"},
      {"crc mismatch", badCrc, 1, true, "crc"},
      {"envelope shorter than its header", Bytes({0x01, 0x0E, 0x00}), 1, false, "envelope"},
      {"other station", good, 2, true, "envelope"},
      {"station above 255 never matches its byte", station300, 300, true, "envelope"},
      {"function byte", badFunction, 1, false, "envelope"},
      {"length field", badLength, 1, false, "envelope"},
      {"tcp reply carrying a crc fails the length", good, 1, false, "envelope"},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = c.bytes;
    EXPECT_EQ(ThrownClass([&] { UnpackReplyEnvelope(bytes, c.station, c.withCrc); }), c.expected) << c.name;
    if (c.expected.empty()) {
      EXPECT_EQ(bytes, Bytes({0x0A, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x01})) << c.name;
    }
  }
}

TEST(LinkFrame, ReplyPacketChecksFollowTheLevel) {
  struct Case {
    const char* name;
    std::vector<uint8_t> packet;
    int level;
    std::string expected;
    std::vector<uint8_t> data;
  };
  const Case cases[] = {
      {"header only gives no data", Bytes({0x0A, 0x00, 0, 0, 0x80, 0x00}), 4, "", {}},
      {"parameter is not examined", Bytes({0x0A, 0x00, 0x12, 0x34, 0x80, 0x00, 7}), 4, "", Bytes({7})},
      {"short packet", Bytes({0x0A, 0x00, 0, 0, 0x80}), 4, "length", {}},
      {"refusal by another code", Bytes({0xFF, 0xFF, 0, 0, 0x80, 0x00}), 4, "code", {}},
      {"last frame without bit 15", Bytes({0x0A, 0x00, 0, 0, 0x00, 0x00}), 4, "index", {}},
      {"index not checked below level 4", Bytes({0x0A, 0x00, 0, 0, 0x00, 0x00, 9}), 3, "", Bytes({9})},
      {"code not checked below level 3", Bytes({0xFF, 0xFF, 0, 0, 0x00, 0x00}), 2, "", {}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> packet = c.packet;
    EXPECT_EQ(ThrownClass([&] { CheckReplyPacket(packet, c.level, 0x0A00, 0x8000); }), c.expected) << c.name;
    if (c.expected.empty()) {
      EXPECT_EQ(packet, c.data) << c.name;
    }
  }
}

TEST(LinkFrame, ExpectedLengthComesFromTheHeader) {
  EXPECT_EQ(ExpectedEnvelopeLength(Bytes({0x01, 0x0E}), 0, true), 4u);
  EXPECT_EQ(ExpectedEnvelopeLength(Bytes({0x01, 0x0E, 0x00, 0x08}), 0, true), 14u);
  EXPECT_EQ(ExpectedEnvelopeLength(Bytes({0, 0, 0, 0, 0, 0, 0x01, 0x0E, 0x00, 0x08}), 6, false), 18u);
  EXPECT_EQ(ExpectedEnvelopeLength(Bytes({0x01, 0x0F, 0x00, 0x08}), 0, true), 0u);
}

TEST(LinkFrame, ByteReversedCodesSwapTheirUnits) {
  std::vector<uint8_t> data = Bytes({1, 2, 3, 4, 5, 6, 7, 8});
  ReverseDataForCode(0x0A00, data);
  EXPECT_EQ(data, Bytes({1, 2, 3, 4, 5, 6, 7, 8}));
  ReverseDataForCode(0x2A00, data);
  EXPECT_EQ(data, Bytes({2, 1, 4, 3, 6, 5, 8, 7}));
  data = Bytes({1, 2, 3, 4, 5, 6, 7, 8});
  ReverseDataForCode(0x4A00, data);
  EXPECT_EQ(data, Bytes({4, 3, 2, 1, 8, 7, 6, 5}));
  data = Bytes({1, 2, 3, 4, 5, 6, 7, 8});
  ReverseDataForCode(0x6A00, data);
  EXPECT_EQ(data, Bytes({8, 7, 6, 5, 4, 3, 2, 1}));
  std::vector<uint8_t> odd = Bytes({1, 2, 3});
  EXPECT_EQ(ThrownClass([&] { ReverseDataForCode(0x2A00, odd); }), "logic");
  EXPECT_EQ(odd, Bytes({1, 2, 3}));
}

TEST(LinkFrame, ExchangeRewrapsTransferErrorsButKeepsPacketErrors) {
  using linktest::SimulatedPlc;
  linktest::OpenLink link(SimulatedPlc::Transport::kUnixSocket);
  ASSERT_TRUE(link.opened);
  LinkSettings settings;
  link.plc.InjectFaults({SimulatedPlc::MakeFault(SimulatedPlc::FaultKind::kBadCrc),
                         SimulatedPlc::MakeFault(SimulatedPlc::FaultKind::kWrongIndex)});

  std::vector<uint8_t> data = Bytes({1, 2});
  try {
    ExchangePacket(link.env(), settings, 0x0A01, 0, 0x8000, data);
    FAIL() << "no error";
  } catch (const ExceptionExchError& e) {
    EXPECT_EQ(typeid(e), typeid(ExceptionExchError));
    EXPECT_EQ(e.Message(), L"CRC Unpack Error");
  }
  EXPECT_EQ(data, Bytes({1, 2})) << "a failed exchange keeps the request data";
  EXPECT_THROW(ExchangePacket(link.env(), settings, 0x0A01, 0, 0x8000, data), ExceptionExchPackReceiveIndexError);

  data.clear();
  ExchangePacket(link.env(), settings, 0x0A00, 0, 0x8000, data);
  EXPECT_EQ(data, Bytes({0, 1})) << "the earlier write of run state 1 took effect";
}
