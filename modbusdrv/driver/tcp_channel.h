// TCP channel: Modbus TCP master (MBAP header instead of a checksum).
#pragma once

#include <string>

#include "modbusdrv/driver/modbus_channel.h"

namespace modbusdrv {

class CTcpChannel : public ModbusChannel {
 public:
  explicit CTcpChannel(const ChannelList& nameScope);
  ~CTcpChannel() override;

  Kind GetKind() const override { return Kind::Tcp; }
  int Open() override;

  std::wstring IpAddress = L"127.0.0.1";
  int Port = 502;
  uint32_t RequestCount = 0;

 protected:
  Framing GetFraming() const override { return Framing::Tcp; }
  bool BacksOffFailedOpen() const override { return false; }
  // The server answered and the connection stands: the items keep what was last read.
  bool ExceptionMarksItemsBad() const override { return false; }
  bool BlockDue(uint64_t elapsedMs, uint32_t refreshMs) const override { return elapsedMs >= refreshMs; }
  bool ZeroReadEndsStream() const override { return true; }
  int FirstPieceTimeoutMs() const override { return 3000; }
  int NextPieceTimeoutMs() const override { return 3000; }
  ssize_t RawWrite(const uint8_t* data, size_t size) override;
  // Acknowledges received replies at once: a server that holds back small replies until
  // the previous one is acknowledged (Nagle) would otherwise stall pipelined requests.
  void BeforeReceiveWait() override;
};

}  // namespace modbusdrv
