// A serial line through termios: opening a device exclusively, setting its format in raw mode,
// flushing its queues. Reading and writing use poll_io.h on the returned descriptor.
#pragma once

#include <string>

namespace platform {

// Parity codes as the configuration stores them.
enum SerialParity { kParityNone = 0, kParityOdd = 1, kParityEven = 2, kParityMark = 3, kParitySpace = 4 };

// Opens the device for reading and writing, non-blocking, without becoming its controlling
// terminal, and asks for exclusive use. -1 when it cannot be opened or is not a terminal.
int OpenSerialDevice(const std::string& path);

// Raw 8-bit bytes at the baud rate with the parity and one stop bit, receiver on, modem control
// lines ignored; DTR and RTS are raised where the device has them. False for a baud rate that
// termios has no constant for, an unknown parity code, or a refused setting.
bool SetSerialFormat(int fd, int baudRate, int parity);

// Gives up the exclusive use and closes the device; sets the descriptor to -1.
void CloseSerialDevice(int& fd);

// Drops the input queue, the output queue or both.
bool FlushSerial(int fd, bool input, bool output);

// The device of a Windows-style port number: port n (from 1) is /dev/ttyS<n-1>. Empty for a
// number below 1.
std::string ComPortDevicePath(int n);

// The device of a configured port name: "COM<n>" (any letter case, n from 1, up to four digits)
// is ComPortDevicePath(n). A name that does not have that form is returned as it is (a device
// path such as /dev/ttyUSB0 or a pty).
std::string SerialDevicePathForName(const std::string& name);

}  // namespace platform
