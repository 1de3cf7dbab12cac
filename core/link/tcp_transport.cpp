#include "core/link/tcp_transport.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/env/exception_error.h"
#include "core/link/comm_port.h"
#include "core/link/link_frame.h"
#include "core/link/stream_read.h"
#include "platform/poll_io.h"
#include "platform/socket.h"

namespace Brenno {

namespace {

// Closes the socket and marks it -1; later transfers see it closed until the port is reopened.
template <class Error>
[[noreturn]] void DropSocketAndThrow(CommPort& port) {
  platform::CloseDescriptor(port.SocketHandle);
  throw Error();
}

}  // namespace

void ConnectNetwork(CommPort& port, uint32_t ipv4) {
  platform::CloseDescriptor(port.SocketHandle);
  port.SocketHandle = platform::ConnectTcp(ipv4, static_cast<uint16_t>(port.NetworkTcpPort), 4 * port.NetworkWaitMs);
  if (port.SocketHandle < 0) DropSocketAndThrow<ExceptionSwitchNetworkConnectError>(port);
}

void SendOnSocket(CommPort& port, const std::vector<uint8_t>& bytes) {
  size_t sent = platform::WriteAll(port.SocketHandle, bytes.data(), bytes.size(), 4 * port.NetworkWaitMs);
  for (int resend = 0; sent < bytes.size() && resend < 3; ++resend) {
    std::this_thread::sleep_for(std::chrono::milliseconds(port.ResendPauseMs));
    sent += platform::WriteAll(port.SocketHandle, bytes.data() + sent, bytes.size() - sent, 4 * port.NetworkWaitMs);
  }
  if (sent < bytes.size()) DropSocketAndThrow<ExceptionSwitchNetworkSendFailError>(port);
}

void TransferOnNetwork(CommPort& port, std::vector<uint8_t>& bytes) {
  if (port.SocketHandle < 0) {
    bytes.clear();
    return;
  }
  platform::DiscardPendingInput(port.SocketHandle);

  // The CRC stays behind: the TCP link has none.
  const size_t body = bytes.size() - std::min<size_t>(bytes.size(), 2);
  std::vector<uint8_t> out(kNetworkPrefixSize + body, 0);
  std::copy_n(bytes.begin(), body, out.begin() + kNetworkPrefixSize);
  SendOnSocket(port, out);

  switch (platform::WaitReadable(port.SocketHandle, 4 * port.NetworkWaitMs)) {
    case platform::WaitResult::kTimeout: DropSocketAndThrow<ExceptionSwitchNetworkReceiveNone>(port);
    case platform::WaitResult::kError: DropSocketAndThrow<ExceptionSwitchNetworkBadError>(port);
    case platform::WaitResult::kReady: break;
  }

  StreamReadLimits limits;
  limits.GapMs = port.NetworkWaitMs;
  std::vector<uint8_t> reply;
  const StreamReadEnd end = ReadStreamReply(port.SocketHandle, reply, limits, [](const std::vector<uint8_t>& got) {
    return ExpectedEnvelopeLength(got, kNetworkPrefixSize, false);
  });
  if (end == StreamReadEnd::kError || end == StreamReadEnd::kClosed) {
    DropSocketAndThrow<ExceptionSwitchNetworkReceiveDataError>(port);
  }
  if (reply.size() <= kNetworkPrefixSize) {
    bytes.clear();
  } else {
    bytes.assign(reply.begin() + kNetworkPrefixSize, reply.end());
  }
}

}  // namespace Brenno
