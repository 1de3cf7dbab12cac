// Modbus RTU frames, unchanged (no MBAP header, CRC kept), over a TCP connection.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "trend/link/modbus_link.h"

namespace vandrel {

class TcpLink : public ModbusLink {
 public:
  TcpLink() = default;
  TcpLink(std::string host, uint16_t port) : host_(std::move(host)), port_(port) {}
  ~TcpLink() override;

  void Close() override;
  bool IsOpen() const override { return open_.load(); }
  bool Open() override;
  bool Send(const uint8_t* bytes, size_t count) override;
  size_t Receive(uint8_t* buffer, size_t count, int timeoutMs) override;

  const std::string& Host() const { return host_; }
  uint16_t Port() const { return port_; }

  // Longest wait for the connection to be made.
  static constexpr int kConnectTimeoutMs = 10000;

 private:
  // 1 ready, 0 timed out, -1 interrupted or failed.
  int Wait(short events, int ms) const;

  std::string host_ = "127.0.0.1";
  uint16_t port_ = 20086;
  std::atomic<bool> open_{false};
  int socket_ = -1;
};

}  // namespace vandrel
