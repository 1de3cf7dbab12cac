// A serial line through termios: opening a device exclusively, setting its format in raw mode,
// flushing its queues. Reading and writing use poll_io.h on the returned descriptor.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Parity codes as the configuration stores them.
enum SerialParity { kParityNone = 0, kParityOdd = 1, kParityEven = 2, kParityMark = 3, kParitySpace = 4 };

// Opens the device for reading and writing, non-blocking, without becoming its controlling
// terminal, and asks for exclusive use. -1 when it cannot be opened or is not a terminal.
int OpenSerialDevice(const std::string& path);

// Raw 8-bit bytes at the baud rate with the parity and one stop bit, receiver on, modem control
// lines ignored; DTR and RTS are raised where the device has them. A pseudo-terminal, which has
// no parity, gets none. False for a baud rate that termios has no constant for, an unknown
// parity code, or a refused setting.
bool SetSerialFormat(int fd, int baudRate, int parity);

// Gives up the exclusive use and closes the device; sets the descriptor to -1.
void CloseSerialDevice(int& fd);

// Drops the input queue, the output queue or both.
bool FlushSerial(int fd, bool input, bool output);

// The device of a Windows-style port number: port n (from 1) is /dev/ttyS<n-1> (in the dev
// folder of SerialDeviceRoot()). Empty for a number below 1.
std::string ComPortDevicePath(int n);

// The device of a configured port name: "COM<n>" (any letter case, n from 1, up to four digits)
// is ComPortDevicePath(n). A name that does not have that form is returned as it is (a device
// path such as /dev/ttyUSB0 or a pty).
std::string SerialDevicePathForName(const std::string& name);

// A serial device found on the machine.
struct SerialDevice {
  // Its node: <root>/dev/ttyS0, <root>/dev/ttyUSB0, ...
  std::string Path;
  // A link of <root>/dev/serial/by-id that leads to it, naming the adapter itself, so that it is
  // found again whatever order the adapters were plugged in; empty when there is none.
  std::string StablePath;
  // n of a built-in port ttyS<n-1>; 0 for every other device.
  int ComNumber = 0;
};

// Where the device scan looks: "/" unless the environment variable ORVISTO_DEVICE_ROOT names
// another folder holding its own sys/class/tty and dev (tests put fake devices there).
std::string SerialDeviceRoot();

// The serial devices under the root: each tty of <root>/sys/class/tty that is backed by a device
// (its "device" entry; virtual consoles and pseudo-terminals have none) and has a node in
// <root>/dev. A ttyS is left out when its UART type reads 0: the legacy 8250 driver registers
// ttyS0..31 whether or not a UART answers there. Built-in ports come first by number, then the
// others by name with their numbers compared as numbers (ttyUSB2 before ttyUSB10). Empty when
// the tty class cannot be read.
std::vector<SerialDevice> ListSerialDevices(const std::string& root);

// The device a port name opens with every link resolved (SerialDevicePathForName first); the
// device path itself when it cannot be resolved (a device that is not there).
std::string ResolvedDevicePath(const std::string& name);

}  // namespace platform
