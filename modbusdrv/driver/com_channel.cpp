#include "modbusdrv/driver/com_channel.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "modbusdrv/driver/driver_state.h"
#include "modbusdrv/driver/driver_utils.h"
#include "platform/serial_port.h"

namespace modbusdrv {

namespace {

bool SpeedCode(uint32_t rate, speed_t& code) {
  static const struct {
    uint32_t rate;
    speed_t code;
  } kRates[] = {{50, B50},       {75, B75},       {110, B110},       {134, B134},       {150, B150},
                {200, B200},     {300, B300},     {600, B600},       {1200, B1200},     {1800, B1800},
                {2400, B2400},   {4800, B4800},   {9600, B9600},     {19200, B19200},   {38400, B38400},
                {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600}};
  for (const auto& r : kRates) {
    if (r.rate == rate) {
      code = r.code;
      return true;
    }
  }
  return false;
}

}  // namespace

CComChannel::CComChannel(const ChannelList& nameScope) { Name = UniqueChannelName(nameScope, L"ComChannel"); }

CComChannel::~CComChannel() { Stop(); }

int CComChannel::Open() {
  MarkChannelBad(*this);
  const std::string path = SerialDevicePath(PortName);
  int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    // A port that is not there is tried again quietly.
    OpenFailed(std::wstring());
    return 0;
  }
  // Not shared: no second open of the device while the driver holds it.
  ioctl(fd, TIOCEXCL);
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) {
    OpenFailed(Name + L": " + SystemErrorText(errno));
    platform::CloseSerialDevice(fd);
    return 0;
  }
  speed_t speed{};
  if (!SpeedCode(BaudRate, speed)) {
    OpenFailed(Name + L": " + SystemErrorText(EINVAL));
    platform::CloseSerialDevice(fd);
    return 0;
  }
  cfmakeraw(&tio);
  cfsetispeed(&tio, speed);
  cfsetospeed(&tio, speed);
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  switch (DataBits) {
    case 5: tio.c_cflag |= CS5; break;
    case 6: tio.c_cflag |= CS6; break;
    case 7: tio.c_cflag |= CS7; break;
    default: tio.c_cflag |= CS8; break;
  }
  switch (Parity) {
    case 1: tio.c_cflag |= PARENB | PARODD; break;
    case 2: tio.c_cflag |= PARENB; break;
    case 3: tio.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case 4: tio.c_cflag |= PARENB | CMSPAR; break;
    default: break;
  }
  // One and a half stop bits do not exist on this system's lines; two are the nearest.
  if (StopBits != 0) tio.c_cflag |= CSTOPB;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (tcsetattr(fd, TCSANOW, &tio) != 0) {
    OpenFailed(Name + L": " + SystemErrorText(errno));
    platform::CloseSerialDevice(fd);
    return 0;
  }
  {
    std::lock_guard<std::mutex> lock(IoLock);
    ClosePort();
    fd_ = fd;
  }
  NeedsOpen = 0;
  return 1;
}

void CComChannel::ClosePort() {
  // The exclusive use is given up first: it stays on the line while anyone else holds it open
  // and would keep the driver itself from opening it again.
  platform::CloseSerialDevice(fd_);
  ModbusChannel::ClosePort();
}

void CComChannel::PrepareRound() {
  std::lock_guard<std::mutex> lock(IoLock);
  if (fd_ >= 0) tcflush(fd_, TCIOFLUSH);
}

void CComChannel::PauseAfterBlock() { WaitStop(20); }

int CComChannel::SilentIntervalUs() const {
  if (BaudRate > 19200 || BaudRate == 0) return 1750;
  // 11 bits per character, 3.5 characters.
  return static_cast<int>(38500000ull / BaudRate);
}

bool CComChannel::SendFrames(const std::vector<std::vector<uint8_t>>& frames) {
  for (size_t i = 0; i < frames.size(); ++i) {
    if (!WriteAll(frames[i].data(), frames[i].size(), 1000)) return false;
    // RTU frames are told apart by silence on the line: let each one end before the next.
    if (GetFraming() == Framing::Rtu && i + 1 < frames.size()) {
      tcdrain(fd_);
      WaitStop(0);
      usleep(static_cast<useconds_t>(SilentIntervalUs()));
    }
  }
  return true;
}

}  // namespace modbusdrv
