// Serial channel: Modbus RTU or ASCII master on a serial device (termios).
#pragma once

#include <string>

#include "modbusdrv/driver/modbus_channel.h"

namespace modbusdrv {

class CComChannel : public ModbusChannel {
 public:
  explicit CComChannel(const ChannelList& nameScope);
  ~CComChannel() override;

  Kind GetKind() const override { return Kind::Serial; }
  int Open() override;

  std::wstring PortName;
  uint32_t BaudRate = 115200;
  uint8_t DataBits = 8;
  uint8_t StopBits = 0;  // 0 one, 1 one and a half, 2 two
  uint8_t Parity = 1;    // 0 none, 1 odd, 2 even, 3 mark, 4 space

 protected:
  Framing GetFraming() const override { return Encoding == 1 ? Framing::Ascii : Framing::Rtu; }
  bool BacksOffFailedOpen() const override { return true; }
  bool ExceptionMarksItemsBad() const override { return true; }
  void PrepareRound() override;
  void ClosePort() override;
  bool BlockDue(uint64_t elapsedMs, uint32_t refreshMs) const override { return elapsedMs > refreshMs; }
  void PauseAfterBlock() override;
  bool ZeroReadEndsStream() const override { return false; }
  int FirstPieceTimeoutMs() const override { return 1000; }
  int NextPieceTimeoutMs() const override { return 1000; }
  bool SendFrames(const std::vector<std::vector<uint8_t>>& frames) override;

 private:
  // Silent time that ends an RTU frame on the line (3.5 characters, at least 1.75 ms).
  int SilentIntervalUs() const;
};

}  // namespace modbusdrv
