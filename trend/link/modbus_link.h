// The connection over which the trend viewer reads holding registers (Modbus function 3 in
// RTU frames), and the transaction itself.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace vandrel {

class ModbusLink {
 public:
  ModbusLink();
  virtual ~ModbusLink();
  ModbusLink(const ModbusLink&) = delete;
  ModbusLink& operator=(const ModbusLink&) = delete;

  virtual void Close() {}
  virtual bool IsOpen() const { return false; }
  virtual bool Open() { return false; }
  virtual bool Send(const uint8_t* bytes, size_t count) { return false; }
  // Number of bytes received into `buffer` (at most `count`) within `timeoutMs`.
  virtual size_t Receive(uint8_t* buffer, size_t count, int timeoutMs) { return 0; }

  // Ends any wait of Open, Send or Receive at once (from any thread) and makes every later
  // wait end at once too, until ResetInterrupt. Lets the poll thread be stopped promptly.
  void Interrupt();
  void ResetInterrupt();
  bool IsInterrupted() const { return interrupted_.load(); }

 protected:
  // An event descriptor that is readable while the link is interrupted.
  int InterruptFd() const { return interruptFd_; }

 private:
  int interruptFd_ = -1;
  std::atomic<bool> interrupted_{false};
};

// Outcomes of one transaction; only kOk counts as success.
enum ReadOutcome : int {
  kReadOk = 0,
  kReadRefused = 1,        // quantity outside 1..125: not sent
  kReadException = 2,      // the slave answered with an exception
  kReadWrongFunction = 3,  // an answer with another function byte
  kReadNoAnswer = 4,       // not a byte of the header came
  kReadNoBody = 5,         // the header came, the rest did not
  kReadBadCrc = 6,         // the CRC does not match
  kReadWrongSlave = 7,     // the answer came from another slave address
  kReadPartial = 8,        // part of the header or of the rest came
  kReadSendFailed = 9,
};

// The largest quantity a standard slave answers in one read (250 data bytes).
constexpr unsigned kMaxRegistersPerRead = 125;

uint16_t ComputeCrc16(const uint8_t* data, size_t size);

// Builds the 8-byte request: slave, 3, start (big-endian), quantity (big-endian), CRC
// (low byte first). Only the low 16 bits of start and quantity are sent.
void BuildReadRequest(uint8_t slave, uint32_t start, uint32_t quantity, uint8_t frame[8]);

// Reads `quantity` holding registers. True when `destination` (room for 2 x quantity bytes)
// holds the data bytes of a correct answer, with the two bytes of every register exchanged
// when `swap` is set. Failures 4 to 8 close the link; an exception answer, another function
// byte or a failed send leave it as it is.
bool ReadHoldingRegisters(ModbusLink& link, uint8_t slave, uint32_t start, uint32_t quantity, uint8_t* destination,
                          int timeoutMs, bool swap);
// The same, giving the outcome.
ReadOutcome ReadHoldingRegistersOutcome(ModbusLink& link, uint8_t slave, uint32_t start, uint32_t quantity,
                                        uint8_t* destination, int timeoutMs, bool swap);

// Checks a complete answer held in `answer` (header, body and CRC) against the request's
// slave and quantity; copies the data on success. Used by the transaction and on its own
// by the fuzz harness.
ReadOutcome CheckReadAnswer(const uint8_t* answer, size_t size, uint8_t slave, uint32_t quantity,
                            uint8_t* destination, bool swap);

}  // namespace vandrel
