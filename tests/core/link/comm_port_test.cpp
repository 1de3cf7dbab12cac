#include "core/link/comm_port.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <typeinfo>
#include <unistd.h>

#include "core/env/exception_error.h"
#include "core/link/link_frame.h"
#include "core/link/relay_transport.h"
#include "link_test_support.h"
#include "platform/poll_io.h"
#include "tests/support/fake_serial_devices.h"

using namespace Brenno;
using linktest::Bytes;
using linktest::OpenLink;
using testsupport::SimulatedPlc;
using Kind = SimulatedPlc::Transport;
using FaultKind = SimulatedPlc::FaultKind;

namespace {

std::string KindName(const testing::TestParamInfo<Kind>& info) {
  switch (info.param) {
    case Kind::kSerialPty: return "Serial";
    case Kind::kUnixSocket: return "Pipe";
    case Kind::kNetwork: return "Network";
    case Kind::kRelay: return "Relay";
  }
  return "";
}

// A bare TCP listener on loopback that keeps what it receives, for checking exact wire bytes.
class RawPeer {
 public:
  RawPeer() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(fd_, 1);
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
  }
  ~RawPeer() {
    platform::CloseDescriptor(client_);
    platform::CloseDescriptor(fd_);
  }
  uint16_t port() const { return port_; }
  void Accept() { client_ = ::accept(fd_, nullptr, nullptr); }
  std::vector<uint8_t> Receive(size_t count) {
    std::vector<uint8_t> out;
    uint8_t b[512];
    while (out.size() < count && platform::WaitReadable(client_, 2000) == platform::WaitResult::kReady) {
      const ssize_t n = ::recv(client_, b, std::min(sizeof b, count - out.size()), 0);
      if (n <= 0) break;
      out.insert(out.end(), b, b + n);
    }
    return out;
  }
  void Send(const std::vector<uint8_t>& bytes) { ::send(client_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
  void CloseClient() { platform::CloseDescriptor(client_); }

 private:
  int fd_ = -1;
  int client_ = -1;
  uint16_t port_ = 0;
};

std::vector<uint8_t> Frame(uint16_t code, const std::vector<uint8_t>& data, bool withCrc = true) {
  std::vector<uint8_t> bytes = BuildLinkPacket(code, 0, 0x8000, data);
  WrapEnvelope(bytes, 1);
  if (withCrc) AppendModbusCrc(bytes);
  return bytes;
}

}  // namespace

class TransportTest : public testing::TestWithParam<Kind> {};

TEST_P(TransportTest, ExchangesFramesWithTheSimulatedPlc) {
  OpenLink link(GetParam(), 16);
  ASSERT_TRUE(link.opened);
  LinkSettings settings;

  // Two frames of a data block write, then a read of status and of the block length.
  std::vector<uint8_t> data(16, 0x11);
  ExchangePacket(link.env(), settings, 0x0240, 7, 0x0000, data);
  EXPECT_TRUE(data.empty());
  data = Bytes({0x22, 0x33});
  ExchangePacket(link.env(), settings, 0x0240, 7, 0x8001, data);
  data.clear();
  ExchangePacket(link.env(), settings, 0x0220, 7, 0x8000, data);
  EXPECT_EQ(data, Bytes({0x00, 18}));

  const auto requests = link.plc.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].Code, 0x0240);
  EXPECT_EQ(requests[0].Parameter, 7);
  EXPECT_EQ(requests[1].FrameIndex, 0x8001);
  EXPECT_EQ(requests[1].Data, Bytes({0x22, 0x33}));
  EXPECT_EQ(requests[0].Station, 1);
  EXPECT_EQ(link.plc.BadFrames(), 0);

  // A damaged reply is reported, and the next exchange is answered properly again.
  link.plc.InjectFaults({SimulatedPlc::MakeFault(FaultKind::kWrongStation)});
  data.clear();
  EXPECT_THROW(ExchangePacket(link.env(), settings, 0x0A00, 0, 0x8000, data), ExceptionExchError);
  ExchangePacket(link.env(), settings, 0x0A00, 0, 0x8000, data);
  EXPECT_EQ(data, Bytes({0, 0}));
}

TEST_P(TransportTest, ReplySplitByAShortPauseIsReadWhole) {
  OpenLink link(GetParam());
  ASSERT_TRUE(link.opened);
  LinkSettings settings;
  link.plc.InjectFaults({SimulatedPlc::MakeFault(FaultKind::kSplit, 15, 5)});
  std::vector<uint8_t> data;
  ExchangePacket(link.env(), settings, 0x0A00, 0, 0x8000, data);
  EXPECT_EQ(data, Bytes({0, 0}));
}

TEST_P(TransportTest, TrailingBytesOfALateReplyDoNotAnswerTheNextRequest) {
  OpenLink link(GetParam());
  ASSERT_TRUE(link.opened);
  LinkSettings settings;
  link.plc.WithMemory([](SimulatedPlc::Memory& m) { m.RunState = 1; });
  // A reply followed by stray bytes that look like the start of another reply.
  link.plc.InjectFaults({SimulatedPlc::MakeFault(FaultKind::kAppendGarbage, 0, 0, Bytes({0x01, 0x0E, 0x00}))});
  std::vector<uint8_t> data;
  ExchangePacket(link.env(), settings, 0x0A00, 0, 0x8000, data);
  EXPECT_EQ(data, Bytes({0, 1}));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  data.clear();
  ExchangePacket(link.env(), settings, 0x0A30, 0, 0x8000, data);
  EXPECT_EQ(data, Bytes({0, 0}));
}

INSTANTIATE_TEST_SUITE_P(AllPorts, TransportTest,
                         testing::Values(Kind::kSerialPty, Kind::kUnixSocket, Kind::kNetwork, Kind::kRelay), KindName);

TEST(CommPort, PortListOffersTheFixedPortsAndTheSerialDevicesThatExist) {
  testsupport::FakeSerialDevices devices;
  devices.AddTty("ttyS0", 4);
  devices.AddTty("ttyS1", 0);  // no UART there
  devices.AddTty("ttyUSB0");
  devices.AddTty("ttyACM0");
  devices.AddById("usb-Prolific_USB-Serial_Controller-if00-port0", "ttyUSB0");
  const std::wstring root = platform::FromUtf8Lossy(devices.Root());
  using Entry = std::pair<std::wstring, std::wstring>;
  std::vector<Entry> list = {{L"x", L"y"}};
  BuildPortList(list);
  const std::vector<Entry> expected = {
      {L"\\\\.\\PIPE\\Quillamet", L"PIPE\\Quillamet"},
      {L"Network", L"Network"},
      {L"Tarvex Mobile", L"Tarvex Mobile"},
      {L"COM1", L"通讯端口COM1 (" + root + L"/dev/ttyS0)"},
      {root + L"/dev/ttyACM0", root + L"/dev/ttyACM0"},
      {root + L"/dev/serial/by-id/usb-Prolific_USB-Serial_Controller-if00-port0", root + L"/dev/ttyUSB0"},
  };
  EXPECT_EQ(list, expected);

  // Where a configured name lands: its own entry, the entry of the device it leads to, or an
  // entry of its own at the end.
  const struct {
    std::wstring name;
    int position;
    std::wstring added;  // caption of the added entry; empty when none is added
  } kCases[] = {
      {L"", 0, L""},
      {L"Network", 1, L""},
      {L"COM1", 3, L""},
      {L"com1", 3, L""},
      {root + L"/dev/ttyS0", 3, L""},
      {root + L"/dev/ttyUSB0", 5, L""},
      {L"COM2", 6, L"通讯端口COM2 (" + root + L"/dev/ttyS1)"},  // there, but no UART answers
      {L"COM9", 6, L"通讯端口COM9 (" + root + L"/dev/ttyS8) (not found)"},
      {root + L"/dev/ttyUSB3", 6, root + L"/dev/ttyUSB3 (not found)"},
      {L"/dev/null", 6, L"/dev/null"},
  };
  for (const auto& c : kCases) {
    std::vector<Entry> ports = expected;
    EXPECT_EQ(PlaceConfiguredPort(ports, c.name), c.position) << platform::ToUtf8Lossy(c.name);
    if (c.added.empty()) {
      EXPECT_EQ(ports.size(), expected.size());
    } else {
      ASSERT_EQ(ports.size(), expected.size() + 1);
      EXPECT_EQ(ports.back(), Entry(c.name, c.added));
    }
  }
}

TEST(CommPort, AStoredPortNumberOpensThePortOfTheDeviceFolder) {
  // COM1 of an older configuration is ttyS0, here a fake one that leads to the PLC's terminal.
  SimulatedPlc plc(linktest::SimOptions(Kind::kSerialPty));
  testsupport::FakeSerialDevices devices;
  devices.AddTty("ttyS0", 4, plc.DevicePath());
  linktest::LinkEnvironment link;
  link.UseSimulator(plc, Kind::kSerialPty);
  link.env().Config.LinkPortPath = L"COM1";
  ASSERT_TRUE(OpenCommPort(link.env().Port, link.env().Config));
  EXPECT_EQ(link.env().Port.PortName, platform::FromUtf8Lossy(devices.Node("ttyS0")));
  plc.WithMemory([](SimulatedPlc::Memory& m) { m.RunState = 1; });
  std::vector<uint8_t> data;
  LinkSettings settings;
  ExchangePacket(link.env(), settings, 0x0A00, 0, 0x8000, data);
  EXPECT_EQ(data, Bytes({0, 1}));
  CloseCommPort(link.env().Port);
}

TEST(CommPort, OpenFailuresOfPipeAndSerialReturnFalse) {
  linktest::LinkEnvironment link;
  CommPort& port = link.env().Port;
  port.PipeSocketPath = "/nonexistent/Quillamet";
  link.env().Config.LinkPortPath = kSimulatorPipeName;
  EXPECT_FALSE(OpenCommPort(port, link.env().Config));
  EXPECT_EQ(port.PipeHandle, -1);

  // The pipe is known only by its exact name: another spelling is a serial port name.
  SimulatedPlc plc(linktest::SimOptions(Kind::kUnixSocket));
  port.PipeSocketPath = plc.SocketPath();
  link.env().Config.LinkPortPath = L"\\\\.\\pipe\\Quillamet";
  EXPECT_FALSE(OpenCommPort(port, link.env().Config));
  EXPECT_EQ(port.PortKind, kPortKindSerial);

  link.env().Config.LinkPortPath = L"/dev/orvisto-no-such-tty";
  EXPECT_FALSE(OpenCommPort(port, link.env().Config));
  EXPECT_EQ(port.SerialHandle, -1);
  link.env().Config.LinkPortPath = L"/dev/null";  // exists, but is no terminal
  EXPECT_FALSE(OpenCommPort(port, link.env().Config));
  EXPECT_EQ(port.SerialHandle, -1);
}

TEST(CommPort, SerialPortRefusesAnUnknownBaudRateAndReopensAfterClose) {
  SimulatedPlc plc(linktest::SimOptions(Kind::kSerialPty));
  linktest::LinkEnvironment link;
  link.UseSimulator(plc, Kind::kSerialPty);
  link.env().Config.LinkBaudrate = 12345;
  EXPECT_FALSE(OpenCommPort(link.env().Port, link.env().Config));
  link.env().Config.LinkBaudrate = 9600;
  for (int parity = 0; parity <= 4; ++parity) {
    link.env().Config.LinkParity = parity;
    ASSERT_TRUE(OpenCommPort(link.env().Port, link.env().Config)) << parity;
    EXPECT_EQ(link.env().Port.PortName, platform::FromUtf8Lossy(plc.DevicePath()));
    CloseCommPort(link.env().Port);
    EXPECT_EQ(link.env().Port.SerialHandle, -1);
  }
  // Opened again and again with the same settings, as a download and then the monitor do; the
  // terminal has no parity to keep.
  link.env().Config.LinkParity = 2;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(OpenCommPort(link.env().Port, link.env().Config)) << i;
    CloseCommPort(link.env().Port);
  }
}

TEST(CommPort, SerialWithoutReplyTimesOutAfterTheConfiguredWait) {
  OpenLink link(Kind::kSerialPty);
  ASSERT_TRUE(link.opened);
  link.plc.InjectFaults({SimulatedPlc::MakeFault(FaultKind::kNoReply)});
  std::vector<uint8_t> bytes = Frame(0x0A00, {});
  const int64_t start = platform::MonotonicMs();
  EXPECT_THROW(TransferOnPort(link.env().Port, bytes), ExceptionExchTimeoutError);
  const int64_t took = platform::MonotonicMs() - start;
  EXPECT_GE(took, 280);
  EXPECT_LT(took, 1500);
}

TEST(CommPort, SerialReplyCutAtALongGapFailsThenTheLineRecovers) {
  OpenLink link(Kind::kSerialPty);
  ASSERT_TRUE(link.opened);
  LinkSettings settings;
  link.plc.InjectFaults({SimulatedPlc::MakeFault(FaultKind::kSplit, 150, 4)});
  std::vector<uint8_t> data;
  EXPECT_THROW(ExchangePacket(link.env(), settings, 0x0A00, 0, 0x8000, data), ExceptionExchError);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  ExchangePacket(link.env(), settings, 0x0A00, 0, 0x8000, data);
  EXPECT_EQ(data, Bytes({0, 0}));
}

TEST(CommPort, TransferErrorsOfThePipe) {
  linktest::LinkEnvironment link;
  CommPort& port = link.env().Port;
  std::vector<uint8_t> bytes = Frame(0x0A00, {});
  EXPECT_THROW(TransferOnPort(port, bytes), ExceptionExchOpenPortError);

  auto plc = std::make_unique<SimulatedPlc>(linktest::SimOptions(Kind::kUnixSocket));
  link.UseSimulator(*plc, Kind::kUnixSocket);
  ASSERT_TRUE(OpenCommPort(port, link.env().Config));
  std::vector<uint8_t> empty;
  EXPECT_THROW(TransferOnPort(port, empty), ExceptionExchSendDataLengthError);
  plc->InjectFaults({SimulatedPlc::MakeFault(FaultKind::kNoReply)});
  EXPECT_THROW(TransferOnPort(port, bytes), ExceptionExchTimeoutError) << "the pipe read has a time limit";
  plc->InjectFaults({SimulatedPlc::MakeFault(FaultKind::kCloseConnection)});
  bytes = Frame(0x0A00, {});
  EXPECT_THROW(TransferOnPort(port, bytes), ExceptionExchReceiveDataLengthError);
  CloseCommPort(port);
}

TEST(CommPort, NetworkFramesHaveTheZeroPrefixAndNoCrc) {
  RawPeer peer;
  linktest::LinkEnvironment link;
  link.env().Config.LinkPortPath = kNetworkPortName;
  link.env().Config.LinkIpAddr = 0x7F000001;
  link.env().Config.LinkTcpPort = 1;  // not used by "Network"
  link.env().Port.NetworkTcpPort = peer.port();
  ASSERT_TRUE(OpenCommPort(link.env().Port, link.env().Config));
  peer.Accept();

  std::thread answer([&] {
    EXPECT_EQ(peer.Receive(16), Bytes({0, 0, 0, 0, 0, 0, 0x01, 0x0E, 0x00, 0x06, 0x0A, 0x00, 0x00, 0x00, 0x80, 0x00}));
    // The reply comes in two TCP segments: it is read up to the length its envelope announces.
    std::vector<uint8_t> reply = {9, 9, 9, 9, 9, 9};
    const std::vector<uint8_t> envelope = Frame(0x0A00, Bytes({0, 1}), false);
    reply.insert(reply.end(), envelope.begin(), envelope.end());
    peer.Send(std::vector<uint8_t>(reply.begin(), reply.begin() + 9));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    peer.Send(std::vector<uint8_t>(reply.begin() + 9, reply.end()));
  });
  std::vector<uint8_t> bytes = Frame(0x0A00, {});
  TransferOnPort(link.env().Port, bytes);
  answer.join();
  EXPECT_EQ(bytes, Frame(0x0A00, Bytes({0, 1}), false));
}

TEST(CommPort, NetworkFailuresCloseTheSocket) {
  RawPeer peer;
  linktest::LinkEnvironment link;
  CommPort& port = link.env().Port;
  link.env().Config.LinkPortPath = kNetworkPortName;
  link.env().Config.LinkIpAddr = 0x7F000001;
  port.NetworkTcpPort = peer.port();
  ASSERT_TRUE(OpenCommPort(port, link.env().Config));
  peer.Accept();

  std::vector<uint8_t> bytes = Frame(0x0A00, {});
  const int64_t start = platform::MonotonicMs();
  EXPECT_THROW(TransferOnPort(port, bytes), ExceptionSwitchNetworkReceiveNone);
  EXPECT_GE(platform::MonotonicMs() - start, 4 * port.NetworkWaitMs - 20);
  EXPECT_EQ(port.SocketHandle, -1);
  // With the socket gone nothing is sent and the reply is empty (the frame layer's CRC error).
  bytes = Frame(0x0A00, {});
  TransferOnPort(port, bytes);
  EXPECT_TRUE(bytes.empty());

  // A connection closed by the PLC is a receive error, not an empty answer.
  ASSERT_TRUE(OpenCommPort(port, link.env().Config));
  peer.CloseClient();
  peer.Accept();
  peer.CloseClient();
  bytes = Frame(0x0A00, {});
  try {
    TransferOnPort(port, bytes);
    FAIL() << "no error";
  } catch (const ExceptionSwitchNetworkReceiveDataError&) {
  } catch (const ExceptionSwitchNetworkSendFailError&) {
  }
  EXPECT_EQ(port.SocketHandle, -1);
}

TEST(CommPort, NetworkConnectFailureThrowsAndLeavesNoSocket) {
  // A bound socket that does not listen holds a port on which every connection is refused.
  const int bound = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  ASSERT_EQ(::bind(bound, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
  ::getsockname(bound, reinterpret_cast<sockaddr*>(&a), &len);

  linktest::LinkEnvironment link;
  link.env().Config.LinkPortPath = kNetworkPortName;
  link.env().Config.LinkIpAddr = 0x7F000001;
  link.env().Port.NetworkTcpPort = ntohs(a.sin_port);
  EXPECT_THROW(OpenCommPort(link.env().Port, link.env().Config), ExceptionSwitchNetworkConnectError);
  EXPECT_EQ(link.env().Port.SocketHandle, -1);
  ::close(bound);
}

TEST(CommPort, RelayLogsInAndNumbersEveryTransfer) {
  SimulatedPlc plc(linktest::SimOptions(Kind::kRelay));
  linktest::LinkEnvironment link;
  link.UseSimulator(plc, Kind::kRelay);
  CommPort& port = link.env().Port;
  port.RelaySequence = 0xFFFE;
  ASSERT_TRUE(OpenCommPort(port, link.env().Config));

  const auto logins = plc.RelayLogins();
  ASSERT_EQ(logins.size(), 1u);
  ASSERT_EQ(logins[0].size(), 68u);
  const std::vector<uint8_t> head(logins[0].begin(), logins[0].begin() + 18);
  EXPECT_EQ(head, Bytes({0x53, 0x54, 0, 0, 1, 0, 0, 0, 0x3A, 0, 2, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(std::string(logins[0].begin() + 18, logins[0].begin() + 29), "13800138000");
  EXPECT_EQ(logins[0][29], 0);

  for (int i = 0; i < 3; ++i) {
    std::vector<uint8_t> bytes = Frame(0x0A00, {});
    TransferOnPort(port, bytes);
  }
  const auto requests = plc.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].RelaySequence, 0xFFFF);
  EXPECT_EQ(requests[1].RelaySequence, 0x0000);
  EXPECT_EQ(requests[2].RelaySequence, 0x0001);
  CloseCommPort(port);
  std::vector<uint8_t> bytes = Frame(0x0A00, {});
  EXPECT_THROW(TransferOnPort(port, bytes), ExceptionSwitchNetworkReceiveNone);
}

TEST(CommPort, RelayLoginReplies) {
  struct Case {
    const char* name;
    std::vector<uint8_t> reply;
    bool accepted;
  };
  std::vector<uint8_t> refused = {0x53, 0x54, 0, 0, 1, 0, 0, 0, 2, 0, 0, 1};
  const Case cases[] = {
      {"short reply counts as accepted", Bytes({0x53, 0x54, 0, 0, 1}), true},
      {"byte 11 set refuses", refused, false},
  };
  for (const Case& c : cases) {
    SimulatedPlc::Options options = linktest::SimOptions(Kind::kRelay);
    options.RelayLoginReply = c.reply;
    SimulatedPlc plc(options);
    linktest::LinkEnvironment link;
    link.UseSimulator(plc, Kind::kRelay);
    if (c.accepted) {
      EXPECT_TRUE(OpenCommPort(link.env().Port, link.env().Config)) << c.name;
    } else {
      EXPECT_THROW(OpenCommPort(link.env().Port, link.env().Config), ExceptionSwitchNetworkConnectError) << c.name;
      EXPECT_EQ(link.env().Port.SocketHandle, -1) << c.name;
    }
  }
}

TEST(CommPort, RelayLoginRefusesANumberThatDoesNotFitAndAClosedConnection) {
  std::vector<uint8_t> login;
  EXPECT_TRUE(BuildRelayLoginRequest(std::wstring(49, L'1'), login));
  EXPECT_EQ(login.size(), 68u);
  EXPECT_FALSE(BuildRelayLoginRequest(std::wstring(50, L'1'), login));

  RawPeer peer;
  linktest::LinkEnvironment link;
  link.env().Config.LinkPortPath = kRelayPortName;
  link.env().Config.LinkIpAddr = 0x7F000001;
  link.env().Config.LinkTcpPort = peer.port();
  link.env().Config.LinkTelephone = L"123";
  std::thread relay([&] {
    peer.Accept();
    peer.Receive(68);
    peer.CloseClient();
  });
  EXPECT_THROW(OpenCommPort(link.env().Port, link.env().Config), ExceptionSwitchNetworkConnectError);
  relay.join();
}
