#include "platform/serial_port.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace platform {

namespace {

bool BaudConstant(int baud, speed_t& speed) {
  struct Pair {
    int rate;
    speed_t constant;
  };
  static const Pair kRates[] = {
      {50, B50},         {75, B75},         {110, B110},       {134, B134},       {150, B150},
      {200, B200},       {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
      {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
      {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800}, {500000, B500000},
      {576000, B576000}, {921600, B921600}, {1000000, B1000000}, {1152000, B1152000},
      {1500000, B1500000}, {2000000, B2000000},
  };
  for (const Pair& p : kRates) {
    if (p.rate == baud) {
      speed = p.constant;
      return true;
    }
  }
  return false;
}

}  // namespace

int OpenSerialDevice(const std::string& path) {
  int fd = -1;
  do {
    fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return -1;
  if (!::isatty(fd)) {
    ::close(fd);
    return -1;
  }
  ::ioctl(fd, TIOCEXCL);  // no second opener; a device that cannot do it is still usable
  return fd;
}

bool SetSerialFormat(int fd, int baudRate, int parity) {
  speed_t speed{};
  if (fd < 0 || !BaudConstant(baudRate, speed)) return false;
  termios t{};
  if (::tcgetattr(fd, &t) != 0) return false;
  ::cfmakeraw(&t);
  t.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS);
  t.c_cflag |= CS8 | CLOCAL | CREAD;
  switch (parity) {
    case kParityNone: break;
    case kParityOdd: t.c_cflag |= PARENB | PARODD; break;
    case kParityEven: t.c_cflag |= PARENB; break;
    case kParityMark: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case kParitySpace: t.c_cflag |= PARENB | CMSPAR; break;
    default: return false;
  }
  t.c_iflag &= ~(IXON | IXOFF | IXANY);
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  if (::cfsetispeed(&t, speed) != 0 || ::cfsetospeed(&t, speed) != 0) return false;
  if (::tcsetattr(fd, TCSANOW, &t) != 0) return false;
  int lines = TIOCM_DTR | TIOCM_RTS;
  ::ioctl(fd, TIOCMBIS, &lines);  // a pseudo-terminal has no modem lines
  return true;
}

void CloseSerialDevice(int& fd) {
  if (fd < 0) return;
  // The exclusive mode stays on the line while another descriptor keeps it open.
  ::ioctl(fd, TIOCNXCL);
  ::close(fd);
  fd = -1;
}

bool FlushSerial(int fd, bool input, bool output) {
  if (fd < 0) return false;
  if (!input && !output) return true;
  return ::tcflush(fd, input && output ? TCIOFLUSH : (input ? TCIFLUSH : TCOFLUSH)) == 0;
}

std::string ComPortDevicePath(int n) { return n >= 1 ? "/dev/ttyS" + std::to_string(n - 1) : std::string(); }

std::string SerialDevicePathForName(const std::string& name) {
  if (name.size() > 3 && name.size() <= 7 && std::toupper(static_cast<unsigned char>(name[0])) == 'C' &&
      std::toupper(static_cast<unsigned char>(name[1])) == 'O' && std::toupper(static_cast<unsigned char>(name[2])) == 'M' &&
      name.find_first_not_of("0123456789", 3) == std::string::npos) {
    const int n = std::atoi(name.c_str() + 3);
    if (n >= 1) return ComPortDevicePath(n);
  }
  return name;
}

}  // namespace platform
