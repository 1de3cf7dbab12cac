#include "trend/link/serial_link.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "platform/serial_port.h"
#include "trend/link/serial_baud.h"

namespace vandrel {

namespace {

// Pause before every transfer and the step of the receive loop.
constexpr int kStepMs = 10;
// Limit for a transfer that has started (a pending write, the rest of a started answer).
constexpr int kTransferMs = 1000;

speed_t StandardSpeed(int rate) {
  switch (rate) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    default: return 0;
  }
}

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

std::string SerialDevicePath(int32_t comPort) {
  const std::string name = "VANDREL_COM" + std::to_string(comPort);
  if (const char* path = std::getenv(name.c_str()); path && *path) return path;
  return platform::ComPortDevicePath(comPort);
}

SerialLink::SerialLink(const DcbEx& settings) : SerialLink(settings, SerialDevicePath(settings.Port)) {}

SerialLink::SerialLink(const DcbEx& settings, std::string devicePath)
    : settings_(settings), devicePath_(std::move(devicePath)) {}

SerialLink::~SerialLink() { Close(); }

bool SerialLink::ConfigureLine() {
  termios tio{};
  if (tcgetattr(fd_, &tio) != 0) return false;
  cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  switch (settings_.ByteSize) {
    case 5: tio.c_cflag |= CS5; break;
    case 6: tio.c_cflag |= CS6; break;
    case 7: tio.c_cflag |= CS7; break;
    default: tio.c_cflag |= CS8; break;
  }
  if (settings_.Parity == 1 || settings_.Parity == 2) {
    tio.c_cflag |= PARENB;
    if (settings_.Parity == 1) tio.c_cflag |= PARODD;
    tio.c_iflag |= INPCK;
  }
  // One and a half stop bits do not exist here; two is the nearest.
  if (settings_.StopBits != 0) tio.c_cflag |= CSTOPB;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  const speed_t speed = StandardSpeed(settings_.BaudRate);
  if (speed != 0) {
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
  }
  if (tcsetattr(fd_, TCSANOW, &tio) != 0) return false;
  if (speed == 0 && !SetCustomBaudRate(fd_, settings_.BaudRate)) return false;
  return true;
}

bool SerialLink::Open() {
  if (open_.load()) return true;
  fd_ = ::open(devicePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  bool ok = fd_ >= 0;
  // Not shared: a second open of the line fails while we hold it (the lock also holds
  // against programs that run with the right to ignore TIOCEXCL).
  if (ok) ok = isatty(fd_) && ioctl(fd_, TIOCEXCL) == 0 && flock(fd_, LOCK_EX | LOCK_NB) == 0;
  if (ok) ok = ConfigureLine();
  if (ok) ok = tcflush(fd_, TCIOFLUSH) == 0;
  if (ok) {
    closeEvent_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    ok = closeEvent_ >= 0;
  }
  if (!ok) {
    Close();
    return false;
  }
  open_.store(true);
  return true;
}

void SerialLink::Close() {
  open_.store(false);
  if (closeEvent_ >= 0) {
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(closeEvent_, &one, sizeof one);
  }
  if (fd_ >= 0) {
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
  }
  if (closeEvent_ >= 0) {
    ::close(closeEvent_);
    closeEvent_ = -1;
  }
}

int SerialLink::Wait(short events, int ms) const {
  pollfd fds[3] = {{closeEvent_, POLLIN, 0}, {InterruptFd(), POLLIN, 0}, {events ? fd_ : -1, events, 0}};
  int r = ::poll(fds, 3, ms < 0 ? 0 : ms);
  if (r < 0) return -1;
  if ((fds[0].revents & POLLIN) || (fds[1].revents & POLLIN)) return -1;
  if (fds[2].revents & (POLLERR | POLLNVAL)) return -1;
  return (fds[2].revents & events) ? 1 : 0;
}

bool SerialLink::Send(const uint8_t* bytes, size_t count) {
  if (!open_.load()) return false;
  if (count == 0) return true;
  if (Wait(0, kStepMs) < 0) return false;
  size_t sent = 0;
  const int64_t deadline = NowMs() + kTransferMs;
  while (sent < count) {
    ssize_t n = ::write(fd_, bytes + sent, count - sent);
    if (n > 0) {
      sent += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
    const int64_t left = deadline - NowMs();
    if (left <= 0 || Wait(POLLOUT, static_cast<int>(left)) <= 0) return false;
  }
  return true;
}

size_t SerialLink::Receive(uint8_t* buffer, size_t count, int timeoutMs) {
  if (!open_.load()) return 0;
  if (count == 0) return 0;
  // Look at the input queue every 10 ms until it holds the whole answer or the time is up;
  // the first look counts as one step.
  int waited = kStepMs;
  for (;;) {
    int queued = 0;
    if (ioctl(fd_, FIONREAD, &queued) != 0) return 0;
    if (queued >= 0 && static_cast<size_t>(queued) >= count) break;
    if (waited >= timeoutMs) {
      // Nothing on its way: no use waiting for a read that cannot start.
      if (queued <= 0) return 0;
      break;
    }
    if (Wait(0, kStepMs) < 0) return 0;
    waited += kStepMs;
  }
  // Read what is there; a started answer gets up to one more second for its rest.
  size_t got = 0;
  const int64_t deadline = NowMs() + kTransferMs;
  while (got < count) {
    ssize_t n = ::read(fd_, buffer + got, count - got);
    if (n > 0) {
      got += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return 0;
    const int64_t left = deadline - NowMs();
    if (left <= 0) break;
    int w = Wait(POLLIN, static_cast<int>(left));
    if (w < 0) return 0;
    if (w == 0) break;
  }
  return got;
}

}  // namespace vandrel
