#include "trend/link/tcp_link.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace vandrel {

TcpLink::~TcpLink() { Close(); }

void TcpLink::Close() {
  open_.store(false);
  if (socket_ >= 0) {
    ::close(socket_);
    socket_ = -1;
  }
}

int TcpLink::Wait(short events, int ms) const {
  pollfd fds[2] = {{InterruptFd(), POLLIN, 0}, {socket_, events, 0}};
  int r;
  do {
    r = ::poll(fds, 2, ms < 0 ? 0 : ms);
  } while (r < 0 && errno == EINTR);
  if (r < 0) return -1;
  if (fds[0].revents & POLLIN) return -1;
  if (fds[1].revents & POLLNVAL) return -1;
  // An error or hang-up is reported as ready, so that the following call sees it.
  return fds[1].revents ? 1 : 0;
}

bool TcpLink::Open() {
  Close();
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port_);
  if (inet_pton(AF_INET, host_.c_str(), &address.sin_addr) != 1) return false;
  socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (socket_ < 0) return false;
  // Connect without blocking so that a stop request or the limit ends the attempt.
  if (::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    if (errno != EINPROGRESS || Wait(POLLOUT, kConnectTimeoutMs) != 1) {
      Close();
      return false;
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(socket_, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
      Close();
      return false;
    }
  }
  int sendBuffer = 16384;
  timeval sendTimeout{10, 0};
  if (setsockopt(socket_, SOL_SOCKET, SO_SNDBUF, &sendBuffer, sizeof sendBuffer) != 0 ||
      setsockopt(socket_, SOL_SOCKET, SO_SNDTIMEO, &sendTimeout, sizeof sendTimeout) != 0) {
    Close();
    return false;
  }
  open_.store(true);
  return true;
}

bool TcpLink::Send(const uint8_t* bytes, size_t count) {
  if (!open_.load()) return false;
  size_t sent = 0;
  while (sent < count) {
    int w = Wait(POLLOUT, 1000);
    if (w < 0) {
      Close();
      return false;
    }
    if (w == 0) {
      if (IsInterrupted()) return false;
      continue;
    }
    ssize_t n = ::send(socket_, bytes + sent, count - sent, MSG_NOSIGNAL);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
    if (n < 1) {
      Close();
      return false;
    }
    sent += static_cast<size_t>(n);
  }
  return true;
}

size_t TcpLink::Receive(uint8_t* buffer, size_t count, int timeoutMs) {
  if (!open_.load()) return 0;
  size_t got = 0;
  while (got < count) {
    int w = Wait(POLLIN, timeoutMs);
    if (w == 0) return 0;
    if (w < 0) {
      Close();
      return 0;
    }
    ssize_t n = ::recv(socket_, buffer + got, count - got, 0);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
    if (n <= 0) {
      Close();
      return 0;
    }
    got += static_cast<size_t>(n);
  }
  return got;
}

}  // namespace vandrel
