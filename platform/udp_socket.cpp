#include "platform/udp_socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/poll_io.h"

namespace platform {

int OpenUdpSocket(uint32_t bindIpv4, uint16_t port) {
  int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(bindIpv4);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    CloseDescriptor(fd);
    return -1;
  }
  return fd;
}

int UdpLocalPort(int fd) {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  if (fd < 0 || ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return -1;
  return ntohs(address.sin_port);
}

long ReceiveDatagram(int fd, uint8_t* data, size_t size) {
  for (;;) {
    // MSG_TRUNC makes the result the datagram's real length even when it was cut.
    const ssize_t got = ::recv(fd, data, size, MSG_TRUNC);
    if (got >= 0) return static_cast<long>(got);
    if (errno != EINTR) return -1;
  }
}

bool SendUdpDatagram(uint32_t ipv4, uint16_t port, const uint8_t* data, size_t size) {
  int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(ipv4);
  ssize_t sent;
  do {
    sent = ::sendto(fd, data, size, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  } while (sent < 0 && errno == EINTR);
  CloseDescriptor(fd);
  return sent >= 0 && static_cast<size_t>(sent) == size;
}

}  // namespace platform
