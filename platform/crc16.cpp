#include "platform/crc16.h"

#include <array>

namespace platform {

namespace {

// The classic pair of tables: high and low byte of the CRC update for each index.
struct CrcTables {
  std::array<uint8_t, 256> hi{};
  std::array<uint8_t, 256> lo{};
  CrcTables() {
    for (unsigned i = 0; i < 256; ++i) {
      uint16_t crc = static_cast<uint16_t>(i);
      for (int b = 0; b < 8; ++b) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
      lo[i] = static_cast<uint8_t>(crc & 0xFF);
      hi[i] = static_cast<uint8_t>(crc >> 8);
    }
  }
};

const CrcTables& Tables() {
  static const CrcTables tables;
  return tables;
}

}  // namespace

uint16_t Crc16Modbus(const uint8_t* data, size_t size, uint16_t crc) {
  const CrcTables& t = Tables();
  uint8_t lo = static_cast<uint8_t>(crc & 0xFF);
  uint8_t hi = static_cast<uint8_t>(crc >> 8);
  for (size_t i = 0; i < size; ++i) {
    const uint8_t index = lo ^ data[i];
    lo = hi ^ t.lo[index];
    hi = t.hi[index];
  }
  return static_cast<uint16_t>((hi << 8) | lo);
}

}  // namespace platform
