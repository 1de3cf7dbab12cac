#include "platform/socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/poll_io.h"

namespace platform {

namespace {

// Finishes a non-blocking connect within the time limit.
bool CompleteConnect(int fd, int rc, int timeoutMs) {
  if (rc == 0) return true;
  if (errno != EINPROGRESS && errno != EINTR) return false;
  if (WaitWritable(fd, timeoutMs) != WaitResult::kReady) return false;
  int error = 0;
  socklen_t length = sizeof error;
  return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

}  // namespace

int ConnectTcp(uint32_t ipv4, uint16_t port, int timeoutMs) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(ipv4);
  const int rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  if (!CompleteConnect(fd, rc, timeoutMs)) {
    CloseDescriptor(fd);
    return -1;
  }
  int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  return fd;
}

int ConnectUnix(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) return -1;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  const int rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  if (!CompleteConnect(fd, rc, 1000)) {
    CloseDescriptor(fd);
    return -1;
  }
  return fd;
}

}  // namespace platform
