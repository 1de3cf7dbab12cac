#include "platform/crc16.h"

#include <cstring>
#include <gtest/gtest.h>

TEST(Crc16, ModbusCheckValues) {
  const char* digits = "123456789";
  EXPECT_EQ(platform::Crc16Modbus(reinterpret_cast<const uint8_t*>(digits), std::strlen(digits)), 0x4B37);
  EXPECT_EQ(platform::Crc16Modbus(nullptr, 0), 0xFFFF);
  // A Modbus RTU request: 01 03 00 00 00 0A carries C5 CD on the wire (low byte first).
  const uint8_t frame[] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A};
  EXPECT_EQ(platform::Crc16Modbus(frame, sizeof frame), 0xCDC5);
}
