// Modbus RTU frames on a serial line (termios).
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "trend/link/modbus_link.h"

namespace vandrel {

// Line settings as the settings file keeps them: six 32-bit integers.
struct DcbEx {
  int32_t BaudRate = 9600;
  int32_t Port = 1;      // COM port number
  int32_t Parity = 0;    // 0 none, 1 odd, 2 even
  int32_t ByteSize = 8;  // data bits
  int32_t StopBits = 0;  // 0 one, 1 one and a half, 2 two
  int32_t Reserved = 0;
  bool operator==(const DcbEx&) const = default;
};
static_assert(sizeof(DcbEx) == 24);

// Device of COM port N: the environment variable VANDREL_COM<N> when set and not empty, else
// the system's device of that port number (/dev/ttyS<N-1>).
std::string SerialDevicePath(int32_t comPort);

class SerialLink : public ModbusLink {
 public:
  explicit SerialLink(const DcbEx& settings);
  // A link on the given device, whatever the port number says.
  SerialLink(const DcbEx& settings, std::string devicePath);
  ~SerialLink() override;

  void Close() override;
  bool IsOpen() const override { return open_.load(); }
  bool Open() override;
  bool Send(const uint8_t* bytes, size_t count) override;
  size_t Receive(uint8_t* buffer, size_t count, int timeoutMs) override;

  const DcbEx& Settings() const { return settings_; }
  const std::string& DevicePath() const { return devicePath_; }

 private:
  // Waits up to `ms` for the descriptor to be ready (POLLIN or POLLOUT as asked) or for the
  // close or interrupt event. 1 ready, 0 timed out, -1 ended by an event or an error.
  int Wait(short events, int ms) const;
  bool ConfigureLine();

  DcbEx settings_;
  std::string devicePath_;
  std::atomic<bool> open_{false};
  int fd_ = -1;
  int closeEvent_ = -1;
};

}  // namespace vandrel
