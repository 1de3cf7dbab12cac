// A small Modbus slave of the tests' own that can misbehave on purpose: exception replies,
// bad checksums, wrong unit or function, replies too late, replies in pieces, dropped
// connections, oversized MBAP lengths. It serves unit 1 over TCP on 127.0.0.1 or over a
// pseudo-terminal in RTU or ASCII framing, and records every request it gets.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "pty_link.h"

namespace modbusdrv_test {

enum class Fault { None, Exception, BadChecksum, WrongUnit, WrongFunction, Late, Split, Drop, Silent, HugeLength };
enum class Wire { Tcp, Rtu, Ascii };

class FaultSlave {
 public:
  explicit FaultSlave(Wire wire);
  ~FaultSlave();
  FaultSlave(const FaultSlave&) = delete;
  FaultSlave& operator=(const FaultSlave&) = delete;

  int port() const { return port_; }                  // TCP
  std::string devicePath() const { return pty_ ? pty_->slavePath() : std::string(); }  // serial

  // Decides the fault of each request by its function and protocol address.
  void SetPlan(std::function<Fault(uint8_t function, uint16_t address)> plan);
  // Request frames as received (whole frames, framing included).
  std::vector<std::vector<uint8_t>> Requests();
  int Connections() const { return connections_.load(); }
  // How long a late reply waits.
  void SetLateMs(int ms) { lateMs_ = ms; }

  uint16_t registers[65536] = {};

 private:
  void Run();
  void ServeStream(int fd, bool socket);
  bool HandleRequest(int fd, const std::vector<uint8_t>& pdu, const std::vector<uint8_t>& frame, uint16_t tid);
  void Send(int fd, const std::vector<uint8_t>& bytes, bool split);

  Wire wire_;
  std::unique_ptr<PtyPair> pty_;
  int listen_ = -1;
  int port_ = 0;
  int stopFd_ = -1;
  std::atomic<int> connections_{0};
  std::atomic<int> lateMs_{1500};
  std::mutex mutex_;
  std::function<Fault(uint8_t, uint16_t)> plan_;
  std::vector<std::vector<uint8_t>> requests_;
  std::thread thread_;
};

}  // namespace modbusdrv_test
