// A Modbus RTU slave for the tests that answers function 3 from a register table and can
// spoil its answers on purpose: bad CRC, another slave address, an exception, another
// function byte, an answer in pieces, half an answer, a late answer or none at all. It serves
// either TCP connections on 127.0.0.1 or the master side of a pseudo-terminal.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace trendtest {

class FakeRtuSlave {
 public:
  enum class Fault { None, BadCrc, WrongUnit, Exception, WrongFunction, Split, Partial, Silence, Late };
  struct Request {
    uint8_t unit;
    uint16_t start;
    uint16_t quantity;
  };

  static std::unique_ptr<FakeRtuSlave> ListenTcp();
  static std::unique_ptr<FakeRtuSlave> OnPty();
  ~FakeRtuSlave();

  uint16_t Port() const { return port_; }
  const std::string& DevicePath() const { return devicePath_; }

  void SetRegister(uint16_t address, uint16_t value);
  // A float in two registers from `address`, high word first unless lowWordFirst.
  void SetFloat(uint16_t address, float value, bool lowWordFirst = false);
  // Faults for the next answers, one each, in order; then answers are correct again.
  void QueueFault(Fault fault);
  void SetLateMs(int ms) { lateMs_ = ms; }
  std::vector<Request> Requests() const;
  void ClearRequests();
  int Connections() const { return connections_.load(); }

 private:
  FakeRtuSlave() = default;
  void Start();
  void Run();
  void Serve(int fd, std::vector<uint8_t>& pending);
  void Answer(int fd, const uint8_t* request);

  int listenFd_ = -1;
  int ptyMaster_ = -1;
  int ptySlave_ = -1;
  int stopFd_ = -1;
  uint16_t port_ = 0;
  std::string devicePath_;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<uint16_t> registers_ = std::vector<uint16_t>(65536);
  std::deque<Fault> faults_;
  std::vector<Request> requests_;
  std::atomic<int> lateMs_{1500};
  std::atomic<int> connections_{0};
};

// Writes a whole buffer to a descriptor (test helper).
void WriteAll(int fd, const uint8_t* data, size_t size);

}  // namespace trendtest
