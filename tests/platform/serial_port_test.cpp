#include "platform/serial_port.h"

#include <gtest/gtest.h>

TEST(SerialPortNames, PortNumbersAndNamesMapToDevices) {
  EXPECT_EQ(platform::ComPortDevicePath(1), "/dev/ttyS0");
  EXPECT_EQ(platform::ComPortDevicePath(11), "/dev/ttyS10");
  EXPECT_EQ(platform::ComPortDevicePath(0), "");
  EXPECT_EQ(platform::ComPortDevicePath(-2), "");

  const struct {
    const char* name;
    const char* device;
  } kCases[] = {
      {"COM1", "/dev/ttyS0"},
      {"COM16", "/dev/ttyS15"},
      {"com3", "/dev/ttyS2"},
      {"Com10", "/dev/ttyS9"},
      {"COM0100", "/dev/ttyS99"},
      // Not a port number: taken as a device path as it stands.
      {"COM0", "COM0"},
      {"COM", "COM"},
      {"COM1a", "COM1a"},
      {"COM-1", "COM-1"},
      {"COM 1", "COM 1"},
      {"COM12345", "COM12345"},
      {"/dev/ttyUSB0", "/dev/ttyUSB0"},
      {"/dev/pts/7", "/dev/pts/7"},
      {"", ""},
  };
  for (const auto& c : kCases) EXPECT_EQ(platform::SerialDevicePathForName(c.name), c.device) << c.name;
}
