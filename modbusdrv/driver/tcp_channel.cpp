#include "modbusdrv/driver/tcp_channel.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "modbusdrv/driver/driver_state.h"
#include "platform/text_codec.h"

namespace modbusdrv {

namespace {

// How long a connection attempt may take before it counts as failed.
constexpr int kConnectTimeoutMs = 3000;

}  // namespace

CTcpChannel::CTcpChannel(const ChannelList& nameScope) { Name = UniqueChannelName(nameScope, L"TcpChannel"); }

CTcpChannel::~CTcpChannel() { Stop(); }

ssize_t CTcpChannel::RawWrite(const uint8_t* data, size_t size) { return send(fd_, data, size, MSG_NOSIGNAL); }

void CTcpChannel::BeforeReceiveWait() {
  if (!pipelined_) return;
  const int one = 1;
  setsockopt(fd_, IPPROTO_TCP, TCP_QUICKACK, &one, sizeof one);
}

int CTcpChannel::Open() {
  MarkChannelBad(*this);
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return 0;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(Port));
  const std::string ip = platform::ToUtf8Lossy(IpAddress);
  bool connected = false;
  if (Port >= 1 && Port <= 65535 && inet_pton(AF_INET, ip.c_str(), &address.sin_addr) == 1) {
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
      connected = true;
    } else if (errno == EINPROGRESS) {
      // Wait for the connection in short steps: a stop or a reload waiting for the channel
      // ends the attempt.
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kConnectTimeoutMs);
      while (!StopAsked() && LockWanted.load() == 0 && std::chrono::steady_clock::now() < deadline) {
        pollfd p[2] = {{fd, POLLOUT, 0}, {StopFd(), POLLIN, 0}};
        const int r = poll(p, 2, 50);
        if (r < 0 && errno != EINTR) break;
        if (r > 0 && p[0].revents != 0) {
          int error = 0;
          socklen_t len = sizeof error;
          connected = getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0;
          break;
        }
        if (r > 0 && p[1].revents != 0) break;
      }
    }
  }
  if (!connected) {
    close(fd);
    NeedsOpen = 1;
    return 1;
  }
  const int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  {
    std::lock_guard<std::mutex> lock(IoLock);
    ClosePort();
    fd_ = fd;
  }
  NeedsOpen = 0;
  return 1;
}

}  // namespace modbusdrv
