#include "core/link/relay_transport.h"

#include <array>

#include "core/env/exception_error.h"
#include "core/env/utilities.h"
#include "core/link/comm_port.h"
#include "core/link/stream_read.h"
#include "core/link/tcp_transport.h"
#include "platform/poll_io.h"
#include "platform/socket.h"

namespace Brenno {

namespace {

constexpr size_t kLoginBodySize = kRelayLoginSize - kRelayHeaderSize;
constexpr size_t kLoginNumberOffset = 8;  // in the body
constexpr size_t kLoginReplyBuffer = 256;

template <class Error>
[[noreturn]] void DropSocketAndThrow(CommPort& port) {
  platform::CloseDescriptor(port.SocketHandle);
  throw Error();
}

void PutU16Le(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

bool LogIn(CommPort& port, const std::wstring& telephone) {
  std::vector<uint8_t> login;
  if (!BuildRelayLoginRequest(telephone, login)) return false;
  try {
    SendOnSocket(port, login);
  } catch (const ExceptionError&) {
    return false;
  }
  if (platform::WaitReadable(port.SocketHandle, 4 * port.NetworkWaitMs) != platform::WaitResult::kReady) return false;
  std::array<uint8_t, kLoginReplyBuffer> reply{};
  long n = platform::ReadSome(port.SocketHandle, reply.data(), reply.size());
  // A closed connection is no acceptance, whatever the zeroed buffer holds.
  if (n <= 0) return false;
  return reply[11] == 0;
}

}  // namespace

std::vector<uint8_t> BuildRelayHeader(uint16_t sequence, uint8_t type, uint16_t bodyLength) {
  std::vector<uint8_t> header = {'S', 'T'};
  PutU16Le(header, sequence);
  header.push_back(type);
  header.push_back(0);
  PutU16Le(header, 0);
  PutU16Le(header, bodyLength);
  return header;
}

bool BuildRelayLoginRequest(const std::wstring& telephone, std::vector<uint8_t>& out) {
  std::string number;
  if (!WStringToMultiByte(telephone, number)) return false;
  if (number.size() + 1 > kLoginBodySize - kLoginNumberOffset) return false;
  std::vector<uint8_t> login = BuildRelayHeader(0, kRelayTypeLogin, static_cast<uint16_t>(kLoginBodySize));
  std::vector<uint8_t> body(kLoginBodySize, 0);
  body[0] = 2;
  std::copy(number.begin(), number.end(), body.begin() + kLoginNumberOffset);
  login.insert(login.end(), body.begin(), body.end());
  out = std::move(login);
  return true;
}

void ConnectRelay(CommPort& port, uint32_t ipv4, int tcpPort, const std::wstring& telephone) {
  platform::CloseDescriptor(port.SocketHandle);
  if (tcpPort < 0 || tcpPort > 0xFFFF) DropSocketAndThrow<ExceptionSwitchNetworkConnectError>(port);
  port.SocketHandle = platform::ConnectTcp(ipv4, static_cast<uint16_t>(tcpPort), 4 * port.NetworkWaitMs);
  if (port.SocketHandle < 0 || !LogIn(port, telephone)) DropSocketAndThrow<ExceptionSwitchNetworkConnectError>(port);
}

void TransferOnRelay(CommPort& port, std::vector<uint8_t>& bytes) {
  if (bytes.size() > 0xFFFF) throw ExceptionExchSendDataLengthError();
  if (port.SocketHandle < 0) throw ExceptionSwitchNetworkReceiveNone();
  platform::DiscardPendingInput(port.SocketHandle);

  std::vector<uint8_t> out = BuildRelayHeader(port.RelaySequence, kRelayTypeFrame, static_cast<uint16_t>(bytes.size()));
  out.insert(out.end(), bytes.begin(), bytes.end());
  SendOnSocket(port, out);

  switch (platform::WaitReadable(port.SocketHandle, 4 * port.RelayWaitMs)) {
    case platform::WaitResult::kTimeout: DropSocketAndThrow<ExceptionSwitchNetworkReceiveNone>(port);
    case platform::WaitResult::kError: DropSocketAndThrow<ExceptionSwitchNetworkBadError>(port);
    case platform::WaitResult::kReady: break;
  }

  StreamReadLimits limits;
  limits.GapMs = port.RelayWaitMs;
  std::vector<uint8_t> reply;
  const StreamReadEnd end = ReadStreamReply(port.SocketHandle, reply, limits, [](const std::vector<uint8_t>& got) {
    if (got.size() < kRelayHeaderSize) return kRelayHeaderSize;
    return kRelayHeaderSize + static_cast<size_t>(got[8] | (got[9] << 8));
  });
  if (end != StreamReadEnd::kComplete) DropSocketAndThrow<ExceptionSwitchNetworkReceiveDataError>(port);
  if (reply.size() == kRelayHeaderSize) throw ExceptionSwitchNetworkReceiveNone();
  bytes.assign(reply.begin() + kRelayHeaderSize, reply.end());
}

}  // namespace Brenno
