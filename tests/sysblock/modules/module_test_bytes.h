// Byte-building helpers for the module record and page tests: hex texts and little-endian
// single-precision values written out independently of the code under test.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace moduletest {

using Bytes = std::vector<uint8_t>;

// "0B 00 FF" -> {0x0B, 0x00, 0xFF}
inline Bytes Hex(const std::string& text) {
  Bytes out;
  std::istringstream in(text);
  std::string item;
  while (in >> item) out.push_back(static_cast<uint8_t>(std::stoul(item, nullptr, 16)));
  return out;
}

// `count` copies of one byte.
inline Bytes Rep(uint8_t value, size_t count) { return Bytes(count, value); }

// `count` copies of a float, each as its four bytes, lowest first.
inline Bytes F32(float value, size_t count = 1) {
  uint32_t bits;
  std::memcpy(&bits, &value, 4);
  Bytes out;
  for (size_t i = 0; i < count; ++i)
    for (int b = 0; b < 4; ++b) out.push_back(static_cast<uint8_t>(bits >> (8 * b)));
  return out;
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

inline std::string ToHex(const Bytes& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i) out += ' ';
    out += digits[bytes[i] >> 4];
    out += digits[bytes[i] & 15];
  }
  return out;
}

// CRC-16/MODBUS computed bit by bit, apart from the table-driven one the library uses.
inline uint16_t BitwiseCrc16(const uint8_t* data, size_t size) {
  uint16_t crc = 0xFFFF;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int b = 0; b < 8; ++b) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
  }
  return crc;
}

}  // namespace moduletest
