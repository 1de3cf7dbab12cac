#include "platform/serial_port.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <tuple>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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

namespace fs = std::filesystem;

// "ttyUSB10" as ("ttyUSB", 10) so that names sort by their numbers; -1 without a number.
std::pair<std::string, long> SplitTrailingNumber(const std::string& name) {
  size_t digits = name.size();
  while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1]))) --digits;
  if (digits == name.size() || name.size() - digits > 9) return {name, -1};
  return {name.substr(0, digits), std::stol(name.substr(digits))};
}

// A ttyS whose UART type reads 0: the 8250 driver's place holder for a port with no UART.
bool IsEmptyUartSlot(const fs::path& ttyClassEntry) {
  std::ifstream type(ttyClassEntry / "type");
  long value = -1;
  return type && (type >> value) && value == 0;
}

// The slave side of a Unix98 pseudo-terminal (/dev/pts/N).
bool IsPseudoTerminal(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
  const unsigned int kind = major(st.st_rdev);
  return kind >= 136 && kind <= 143;
}

std::string CanonicalOrSame(const std::string& path) {
  std::error_code error;
  const fs::path resolved = fs::canonical(path, error);
  return error ? path : resolved.string();
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
  // A pseudo-terminal (tests, serial-over-network bridges) passes bytes as they are: it has no
  // parity and its driver drops the bits, which the C library then reports as a refused setting
  // whenever nothing else changed. Parity is left out there.
  if (IsPseudoTerminal(fd)) t.c_cflag &= ~(PARENB | PARODD | CMSPAR);
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

std::string ComPortDevicePath(int n) {
  if (n < 1) return std::string();
  return (fs::path(SerialDeviceRoot()) / "dev" / ("ttyS" + std::to_string(n - 1))).string();
}

std::string SerialDevicePathForName(const std::string& name) {
  if (name.size() > 3 && name.size() <= 7 && std::toupper(static_cast<unsigned char>(name[0])) == 'C' &&
      std::toupper(static_cast<unsigned char>(name[1])) == 'O' && std::toupper(static_cast<unsigned char>(name[2])) == 'M' &&
      name.find_first_not_of("0123456789", 3) == std::string::npos) {
    const int n = std::atoi(name.c_str() + 3);
    if (n >= 1) return ComPortDevicePath(n);
  }
  return name;
}

std::string SerialDeviceRoot() {
  const char* root = std::getenv("ORVISTO_DEVICE_ROOT");
  return root != nullptr && root[0] != '\0' ? root : "/";
}

std::vector<SerialDevice> ListSerialDevices(const std::string& root) {
  const fs::path base(root);
  std::vector<SerialDevice> found;
  std::error_code error;
  fs::directory_iterator ttys(base / "sys/class/tty", error);
  if (error) return found;
  for (const fs::directory_entry& entry : ttys) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    std::error_code probe;
    if (!fs::exists(entry.path() / "device", probe)) continue;
    const fs::path node = base / "dev" / name;
    if (!fs::exists(node, probe)) continue;
    SerialDevice device;
    device.Path = node.string();
    const auto [stem, number] = SplitTrailingNumber(name);
    if (stem == "ttyS" && number >= 0) {
      if (IsEmptyUartSlot(entry.path())) continue;
      device.ComNumber = static_cast<int>(number) + 1;
    }
    found.push_back(std::move(device));
  }
  // The adapters' own names: each link of by-id that leads to one of the devices.
  std::vector<fs::path> links;
  for (fs::directory_iterator it(base / "dev/serial/by-id", error), end; !error && it != end; it.increment(error)) {
    links.push_back(it->path());
  }
  std::sort(links.begin(), links.end());
  for (SerialDevice& device : found) {
    const std::string target = CanonicalOrSame(device.Path);
    for (const fs::path& link : links) {
      if (CanonicalOrSame(link.string()) == target) {
        device.StablePath = link.string();
        break;
      }
    }
  }
  std::sort(found.begin(), found.end(), [](const SerialDevice& a, const SerialDevice& b) {
    const bool builtInA = a.ComNumber > 0;
    const bool builtInB = b.ComNumber > 0;
    if (builtInA != builtInB) return builtInA;
    if (builtInA) return a.ComNumber < b.ComNumber;
    const auto na = SplitTrailingNumber(fs::path(a.Path).filename().string());
    const auto nb = SplitTrailingNumber(fs::path(b.Path).filename().string());
    return std::tie(na.first, na.second, a.Path) < std::tie(nb.first, nb.second, b.Path);
  });
  return found;
}

std::string ResolvedDevicePath(const std::string& name) { return CanonicalOrSame(SerialDevicePathForName(name)); }

}  // namespace platform
