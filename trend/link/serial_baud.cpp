#include "trend/link/serial_baud.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace vandrel {

bool SetCustomBaudRate(int fd, int rate) {
  struct termios2 tio {};
  if (ioctl(fd, TCGETS2, &tio) != 0) return false;
  tio.c_cflag &= ~CBAUD;
  tio.c_cflag |= BOTHER;
  tio.c_ispeed = static_cast<speed_t>(rate);
  tio.c_ospeed = static_cast<speed_t>(rate);
  return ioctl(fd, TCSETS2, &tio) == 0;
}

}  // namespace vandrel
