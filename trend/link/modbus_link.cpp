#include "trend/link/modbus_link.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

#include "platform/crc16.h"

namespace vandrel {

ModbusLink::ModbusLink() { interruptFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK); }

ModbusLink::~ModbusLink() {
  if (interruptFd_ >= 0) close(interruptFd_);
}

void ModbusLink::Interrupt() {
  interrupted_.store(true);
  if (interruptFd_ >= 0) {
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(interruptFd_, &one, sizeof one);
  }
}

void ModbusLink::ResetInterrupt() {
  interrupted_.store(false);
  if (interruptFd_ >= 0) {
    uint64_t value = 0;
    [[maybe_unused]] ssize_t n = read(interruptFd_, &value, sizeof value);
  }
}

uint16_t ComputeCrc16(const uint8_t* data, size_t size) { return platform::Crc16Modbus(data, size); }

void BuildReadRequest(uint8_t slave, uint32_t start, uint32_t quantity, uint8_t frame[8]) {
  frame[0] = slave;
  frame[1] = 3;
  frame[2] = static_cast<uint8_t>(start >> 8);
  frame[3] = static_cast<uint8_t>(start);
  frame[4] = static_cast<uint8_t>(quantity >> 8);
  frame[5] = static_cast<uint8_t>(quantity);
  uint16_t crc = ComputeCrc16(frame, 6);
  frame[6] = static_cast<uint8_t>(crc);
  frame[7] = static_cast<uint8_t>(crc >> 8);
}

ReadOutcome CheckReadAnswer(const uint8_t* answer, size_t size, uint8_t slave, uint32_t quantity,
                            uint8_t* destination, bool swap) {
  if (size < 3) return size == 0 ? kReadNoAnswer : kReadPartial;
  const bool exception = (answer[1] & 0x80) != 0;
  const size_t expected = 3 + (exception ? 2 : 2 * static_cast<size_t>(quantity) + 2);
  if (size != expected) return size == 3 ? kReadNoBody : kReadPartial;
  if (answer[0] != slave) return kReadWrongSlave;
  const uint16_t crc = static_cast<uint16_t>(answer[size - 2] | (answer[size - 1] << 8));
  if (crc != ComputeCrc16(answer, size - 2)) return kReadBadCrc;
  if (answer[1] == 3) {
    const uint8_t* data = answer + 3;
    for (size_t i = 0; i < 2 * static_cast<size_t>(quantity); i += 2) {
      destination[i] = swap ? data[i + 1] : data[i];
      destination[i + 1] = swap ? data[i] : data[i + 1];
    }
    return kReadOk;
  }
  return exception ? kReadException : kReadWrongFunction;
}

ReadOutcome ReadHoldingRegistersOutcome(ModbusLink& link, uint8_t slave, uint32_t start, uint32_t quantity,
                                        uint8_t* destination, int timeoutMs, bool swap) {
  // A read of more than 125 registers has no valid answer and would not fit the answer
  // buffer; it is refused before anything is sent.
  if (quantity == 0 || quantity > kMaxRegistersPerRead) return kReadRefused;

  uint8_t request[8];
  BuildReadRequest(slave, start, quantity, request);
  if (!link.Send(request, sizeof request)) return kReadSendFailed;

  uint8_t answer[512];
  ReadOutcome outcome;
  size_t got = link.Receive(answer, 3, timeoutMs);
  if (got < 3) {
    outcome = got == 0 ? kReadNoAnswer : kReadPartial;
  } else {
    const size_t rest = (answer[1] & 0x80) ? 2 : 2 * static_cast<size_t>(quantity) + 2;
    size_t more = link.Receive(answer + 3, rest, timeoutMs);
    if (more != rest) {
      outcome = (more == 0 || more > rest) ? kReadNoBody : kReadPartial;
    } else {
      outcome = CheckReadAnswer(answer, 3 + rest, slave, quantity, destination, swap);
    }
  }
  if (outcome >= kReadNoAnswer && outcome <= kReadPartial) link.Close();
  return outcome;
}

bool ReadHoldingRegisters(ModbusLink& link, uint8_t slave, uint32_t start, uint32_t quantity, uint8_t* destination,
                          int timeoutMs, bool swap) {
  return ReadHoldingRegistersOutcome(link, slave, start, quantity, destination, timeoutMs, swap) == kReadOk;
}

}  // namespace vandrel
