// Baud rates outside the classic termios table (such as 128000 and 256000), set through the
// kernel's termios2 interface. Kept apart because its header clashes with <termios.h>.
#pragma once

namespace vandrel {

bool SetCustomBaudRate(int fd, int rate);

}  // namespace vandrel
