#include "pty_link.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

namespace modbusdrv_test {

PtyPair::PtyPair() {
  char name[256];
  termios raw{};
  cfmakeraw(&raw);
  cfsetspeed(&raw, B115200);
  if (openpty(&master_, &slave_, name, &raw, nullptr) != 0) throw std::runtime_error("openpty failed");
  path_ = name;
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  fcntl(master_, F_SETFD, FD_CLOEXEC);
  fcntl(slave_, F_SETFD, FD_CLOEXEC);
}

PtyPair::~PtyPair() {
  close(master_);
  close(slave_);
}

PtyLink::PtyLink() : stopFd_(eventfd(0, EFD_CLOEXEC)) {
  thread_ = std::thread([this] { Relay(); });
}

PtyLink::~PtyLink() {
  const uint64_t one = 1;
  if (write(stopFd_, &one, sizeof one) < 0) {
  }
  thread_.join();
  close(stopFd_);
}

void PtyLink::Relay() {
  const int fds[2] = {a_.masterFd(), b_.masterFd()};
  for (;;) {
    pollfd p[3] = {{fds[0], POLLIN, 0}, {fds[1], POLLIN, 0}, {stopFd_, POLLIN, 0}};
    if (poll(p, 3, 1000) < 0 && errno != EINTR) return;
    if (p[2].revents) return;
    for (int i = 0; i < 2; ++i) {
      if (!(p[i].revents & POLLIN)) continue;
      unsigned char buffer[4096];
      const ssize_t n = read(fds[i], buffer, sizeof buffer);
      for (ssize_t done = 0; n > 0 && done < n;) {
        const ssize_t w = write(fds[1 - i], buffer + done, static_cast<size_t>(n - done));
        if (w > 0) {
          done += w;
        } else {
          pollfd out{fds[1 - i], POLLOUT, 0};
          poll(&out, 1, 100);
        }
      }
    }
  }
}

}  // namespace modbusdrv_test
