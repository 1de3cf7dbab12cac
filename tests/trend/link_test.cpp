// The Modbus link against real peers: our fault-injecting slave over TCP and over a
// pseudo-terminal, pymodbus over TCP and over a pty cable, and a libmodbus slave on a pty.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "fake_rtu_slave.h"
#include "peer_process.h"
#include "trend/link/modbus_link.h"
#include "trend/link/serial_link.h"
#include "trend/link/tcp_link.h"

using namespace vandrel;
using trendtest::FakeRtuSlave;
using Fault = FakeRtuSlave::Fault;

namespace {

using Clock = std::chrono::steady_clock;

int ElapsedMs(Clock::time_point since) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

// Value of registers 2k, 2k+1 in the independent slaves.
float PeerValue(int k) { return static_cast<float>(k) / 2.0f + 0.25f; }

float BigEndianFloat(const uint8_t* b) {
  uint32_t bits = (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | b[3];
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}

void ExpectPeerValues(const uint8_t* data, int firstRegister, int registers) {
  for (int r = 0; r < registers; r += 2)
    EXPECT_EQ(BigEndianFloat(data + 2 * r), PeerValue((firstRegister + r) / 2)) << "register " << firstRegister + r;
}

// The link made for a fake slave of the given transport.
struct Transport {
  const char* name;
  bool serial;
};
[[maybe_unused]] void PrintTo(const Transport& t, std::ostream* os) { *os << t.name; }

std::unique_ptr<ModbusLink> LinkTo(const FakeRtuSlave& slave, bool serial) {
  if (serial) return std::make_unique<SerialLink>(DcbEx{}, slave.DevicePath());
  return std::make_unique<TcpLink>("127.0.0.1", slave.Port());
}

}  // namespace

TEST(TrendLinkFrame, ReadRequestIsEightBytesWithCrcLowByteFirst) {
  uint8_t frame[8];
  BuildReadRequest(1, 2000, 10, frame);
  const uint8_t expected[8] = {0x01, 0x03, 0x07, 0xD0, 0x00, 0x0A, 0xC5, 0x40};
  EXPECT_EQ(0, std::memcmp(frame, expected, 8));
  // Only the low 16 bits of start and quantity travel.
  BuildReadRequest(7, 0x12345, 0x10004, frame);
  EXPECT_EQ(frame[2], 0x23);
  EXPECT_EQ(frame[3], 0x45);
  EXPECT_EQ(frame[4], 0x00);
  EXPECT_EQ(frame[5], 0x04);
}

TEST(TrendLinkFrame, QuantityOutsideOneRequestIsRefusedBeforeSending) {
  auto slave = FakeRtuSlave::ListenTcp();
  TcpLink link("127.0.0.1", slave->Port());
  ASSERT_TRUE(link.Open());
  std::vector<uint8_t> data(1024);
  EXPECT_EQ(kReadRefused, ReadHoldingRegistersOutcome(link, 1, 0, 0, data.data(), 500, false));
  EXPECT_EQ(kReadRefused, ReadHoldingRegistersOutcome(link, 1, 0, 400, data.data(), 500, false));
  EXPECT_TRUE(link.IsOpen());
  EXPECT_TRUE(slave->Requests().empty());
}

class TrendLinkFaults : public ::testing::TestWithParam<Transport> {
 protected:
  void SetUp() override {
    slave_ = GetParam().serial ? FakeRtuSlave::OnPty() : FakeRtuSlave::ListenTcp();
    slave_->SetRegister(2000, 0x1234);
    slave_->SetRegister(2001, 0x5678);
    link_ = LinkTo(*slave_, GetParam().serial);
    ASSERT_TRUE(link_->Open());
  }
  std::unique_ptr<FakeRtuSlave> slave_;
  std::unique_ptr<ModbusLink> link_;
};

TEST_P(TrendLinkFaults, EachFaultGivesItsOutcomeAndLeavesTheLinkAsItShould) {
  struct Case {
    Fault fault;
    ReadOutcome outcome;
    bool openAfter;
  };
  const Case cases[] = {
      {Fault::None, kReadOk, true},
      {Fault::Split, kReadOk, true},
      {Fault::Exception, kReadException, true},
      {Fault::WrongFunction, kReadWrongFunction, true},
      {Fault::BadCrc, kReadBadCrc, false},
      {Fault::WrongUnit, kReadWrongSlave, false},
      {Fault::Partial, kReadNoBody, false},
      {Fault::Silence, kReadNoAnswer, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.fault));
    if (!link_->IsOpen()) {
      ASSERT_TRUE(link_->Open());
    }
    slave_->QueueFault(c.fault);
    uint8_t data[4] = {};
    const ReadOutcome outcome = ReadHoldingRegistersOutcome(*link_, 1, 2000, 2, data, 300, false);
    if (c.fault == Fault::Partial && GetParam().serial) {
      // The serial line reads what came within its limit: half an answer is a partial one.
      EXPECT_TRUE(outcome == kReadNoBody || outcome == kReadPartial) << outcome;
    } else {
      EXPECT_EQ(outcome, c.outcome);
    }
    EXPECT_EQ(link_->IsOpen(), c.openAfter);
    if (c.outcome == kReadOk) {
      const uint8_t expected[4] = {0x12, 0x34, 0x56, 0x78};
      EXPECT_EQ(0, std::memcmp(data, expected, 4));
    }
  }
}

TEST_P(TrendLinkFaults, ExceptionKeepsTheConnectionForTheNextRequest) {
  slave_->QueueFault(Fault::Exception);
  uint8_t data[4];
  EXPECT_FALSE(ReadHoldingRegisters(*link_, 1, 2000, 2, data, 500, false));
  EXPECT_TRUE(link_->IsOpen());
  EXPECT_TRUE(ReadHoldingRegisters(*link_, 1, 2000, 2, data, 500, true));
  // The swap flag exchanges the two bytes of every register.
  const uint8_t swapped[4] = {0x34, 0x12, 0x78, 0x56};
  EXPECT_EQ(0, std::memcmp(data, swapped, 4));
  EXPECT_EQ(slave_->Requests().size(), 2u);
  if (!GetParam().serial) {
    EXPECT_EQ(slave_->Connections(), 1);
  }
}

TEST_P(TrendLinkFaults, AnswerWithinTheTimeoutIsTakenAndSilenceEndsAfterIt) {
  slave_->SetLateMs(500);
  slave_->QueueFault(Fault::Late);
  uint8_t data[4];
  EXPECT_TRUE(ReadHoldingRegisters(*link_, 1, 2000, 2, data, 1000, false));

  slave_->QueueFault(Fault::Silence);
  const auto started = Clock::now();
  EXPECT_FALSE(ReadHoldingRegisters(*link_, 1, 2000, 2, data, 1000, false));
  const int ms = ElapsedMs(started);
  EXPECT_GE(ms, 950);
  EXPECT_LT(ms, 2500);
  EXPECT_FALSE(link_->IsOpen());
}

TEST_P(TrendLinkFaults, InterruptEndsAWaitAtOnce) {
  slave_->QueueFault(Fault::Silence);
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    link_->Interrupt();
  });
  const auto started = Clock::now();
  uint8_t data[4];
  EXPECT_FALSE(ReadHoldingRegisters(*link_, 1, 2000, 2, data, 10000, false));
  stopper.join();
  EXPECT_LT(ElapsedMs(started), 1500);
}

INSTANTIATE_TEST_SUITE_P(Transports, TrendLinkFaults,
                         ::testing::Values(Transport{"tcp", false}, Transport{"pty", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TrendLinkOpen, MissingSerialPortAndRefusedTcpPortStayClosed) {
  SerialLink serial(DcbEx{}, "/dev/orvisto-no-such-port");
  EXPECT_FALSE(serial.Open());
  EXPECT_FALSE(serial.IsOpen());
  uint8_t b[1] = {0};
  EXPECT_FALSE(serial.Send(b, 1));
  EXPECT_EQ(serial.Receive(b, 1, 10), 0u);

  TcpLink tcp("127.0.0.1", static_cast<uint16_t>(trendtest::FreeTcpPort()));
  EXPECT_FALSE(tcp.Open());
  EXPECT_FALSE(tcp.IsOpen());
  TcpLink badAddress("not-an-address", 502);
  EXPECT_FALSE(badAddress.Open());
}

TEST(TrendLinkOpen, ComPortNumbersMapToDevices) {
  EXPECT_EQ(SerialDevicePath(1), "/dev/ttyS0");
  EXPECT_EQ(SerialDevicePath(11), "/dev/ttyS10");
  setenv("VANDREL_COM3", "/dev/ttyUSB0", 1);
  EXPECT_EQ(SerialDevicePath(3), "/dev/ttyUSB0");
  unsetenv("VANDREL_COM3");
}

TEST(TrendLinkOpen, SerialSettingsAreAcceptedByThePort) {
  auto slave = FakeRtuSlave::OnPty();
  for (DcbEx dcb : {DcbEx{9600, 1, 0, 8, 0, 0}, DcbEx{19200, 1, 1, 7, 2, 0}, DcbEx{128000, 1, 2, 8, 1, 0}}) {
    SerialLink link(dcb, slave->DevicePath());
    EXPECT_TRUE(link.Open()) << dcb.BaudRate;
    // Not shared: nobody else opens the line while the link holds it.
    SerialLink second(dcb, slave->DevicePath());
    EXPECT_FALSE(second.Open());
    uint8_t data[4];
    EXPECT_TRUE(ReadHoldingRegisters(link, 1, 0, 2, data, 500, false));
  }
}

TEST(TrendLinkPeers, PymodbusOverTcpWithRtuFrames) {
  const int port = trendtest::FreeTcpPort();
  trendtest::PeerProcess peer({"/usr/bin/python3", TREND_PYMODBUS_SLAVE, "tcp", std::to_string(port)});
  ASSERT_TRUE(peer.Started());
  ASSERT_TRUE(trendtest::WaitForTcpPort(port, 15000));
  TcpLink link("127.0.0.1", static_cast<uint16_t>(port));
  ASSERT_TRUE(link.Open());
  uint8_t data[2 * 124];
  ASSERT_TRUE(ReadHoldingRegisters(link, 1, 2000, 10, data, 2000, false));
  ExpectPeerValues(data, 2000, 10);
  ASSERT_TRUE(ReadHoldingRegisters(link, 1, 100, 124, data, 2000, false));
  ExpectPeerValues(data, 100, 124);
  // Registers the slave does not have draw an exception; the connection stays.
  EXPECT_EQ(kReadException, ReadHoldingRegistersOutcome(link, 1, 60000, 10, data, 2000, false));
  EXPECT_TRUE(link.IsOpen());
  std::vector<uint8_t> big(2 * 125);
  EXPECT_TRUE(ReadHoldingRegisters(link, 1, 0, 125, big.data(), 2000, false));
  EXPECT_TRUE(link.IsOpen());
}

TEST(TrendLinkPeers, PymodbusOnASerialLine) {
  trendtest::PtyCable cable;
  trendtest::PeerProcess peer({"/usr/bin/python3", TREND_PYMODBUS_SLAVE, "serial", cable.EndA()});
  ASSERT_TRUE(peer.Started());
  SerialLink link(DcbEx{19200, 1, 0, 8, 0, 0}, cable.EndB());
  ASSERT_TRUE(link.Open());
  uint8_t data[2 * 40];
  bool ok = false;
  // The peer needs a moment to start; the first answers may be lost.
  for (int attempt = 0; attempt < 30 && !ok; ++attempt) {
    if (!link.IsOpen()) {
      ASSERT_TRUE(link.Open());
    }
    ok = ReadHoldingRegisters(link, 1, 2000, 40, data, 500, false);
  }
  ASSERT_TRUE(ok);
  ExpectPeerValues(data, 2000, 40);
  ASSERT_TRUE(ReadHoldingRegisters(link, 1, 10, 4, data, 1000, false));
  ExpectPeerValues(data, 10, 4);
}

TEST(TrendLinkPeers, LibmodbusSlaveOnAPseudoTerminal) {
  trendtest::PeerProcess peer({TREND_LIBMODBUS_SLAVE}, true);
  ASSERT_TRUE(peer.Started());
  ASSERT_FALSE(peer.FirstLine().empty());
  SerialLink link(DcbEx{19200, 1, 0, 8, 0, 0}, peer.FirstLine());
  ASSERT_TRUE(link.Open());
  uint8_t data[2 * 124];
  ASSERT_TRUE(ReadHoldingRegisters(link, 1, 2000, 124, data, 1000, false));
  ExpectPeerValues(data, 2000, 124);
  // Registers beyond the slave's table draw an exception; the line stays open.
  EXPECT_EQ(kReadException, ReadHoldingRegistersOutcome(link, 1, 9000, 2, data, 1000, false));
  EXPECT_TRUE(link.IsOpen());
  EXPECT_TRUE(ReadHoldingRegisters(link, 1, 0, 2, data, 1000, false));
  ExpectPeerValues(data, 0, 2);
  // Another unit stays silent: no answer, link closed for the next cycle to reopen.
  EXPECT_FALSE(ReadHoldingRegisters(link, 2, 2000, 2, data, 200, false));
  EXPECT_FALSE(link.IsOpen());
}
