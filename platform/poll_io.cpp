#include "platform/poll_io.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

int64_t MonotonicMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

namespace {

WaitResult WaitFor(int fd, short events, int timeoutMs) {
  if (fd < 0) return WaitResult::kError;
  const int64_t deadline = timeoutMs < 0 ? 0 : MonotonicMs() + timeoutMs;
  for (;;) {
    pollfd p{fd, events, 0};
    int wait = -1;
    if (timeoutMs >= 0) {
      const int64_t left = deadline - MonotonicMs();
      wait = left > 0 ? static_cast<int>(left) : 0;
    }
    const int n = ::poll(&p, 1, wait);
    if (n > 0) {
      if (p.revents & POLLNVAL) return WaitResult::kError;
      return WaitResult::kReady;
    }
    if (n == 0) return WaitResult::kTimeout;
    if (errno != EINTR) return WaitResult::kError;
  }
}

bool IsSocket(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 && S_ISSOCK(st.st_mode);
}

}  // namespace

WaitResult WaitReadable(int fd, int timeoutMs) { return WaitFor(fd, POLLIN, timeoutMs); }

WaitResult WaitWritable(int fd, int timeoutMs) { return WaitFor(fd, POLLOUT, timeoutMs); }

long ReadSome(int fd, uint8_t* data, size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd, data, size);
    if (n >= 0) return static_cast<long>(n);
    if (errno == EINTR) continue;
    // A pseudo-terminal whose other side is gone reports EIO: that is the end of the line.
    if (errno == EIO) return 0;
    return -1;
  }
}

size_t WriteAll(int fd, const uint8_t* data, size_t size, int timeoutMs) {
  const bool socket = IsSocket(fd);
  const int64_t deadline = timeoutMs < 0 ? 0 : MonotonicMs() + timeoutMs;
  size_t done = 0;
  while (done < size) {
    const ssize_t n = socket ? ::send(fd, data + done, size - done, MSG_NOSIGNAL)
                             : ::write(fd, data + done, size - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      int wait = -1;
      if (timeoutMs >= 0) {
        const int64_t left = deadline - MonotonicMs();
        if (left <= 0) break;
        wait = static_cast<int>(left);
      }
      if (WaitWritable(fd, wait) != WaitResult::kReady) break;
      continue;
    }
    break;
  }
  return done;
}

void DiscardPendingInput(int fd) {
  if (fd < 0) return;
  uint8_t scratch[512];
  while (WaitReadable(fd, 0) == WaitResult::kReady) {
    const ssize_t n = IsSocket(fd) ? ::recv(fd, scratch, sizeof scratch, MSG_DONTWAIT)
                                   : ::read(fd, scratch, sizeof scratch);
    if (n <= 0) {
      if (n < 0 && errno == EINTR) continue;
      break;
    }
  }
}

void CloseDescriptor(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace platform
