#include "platform/serial_port.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/fake_serial_devices.h"

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

TEST(SerialDeviceScan, ListsDevicesThatExistWithTheirAdapterNames) {
  testsupport::FakeSerialDevices devices;
  devices.AddTty("ttyS0", 4);    // a 16550A
  devices.AddTty("ttyS1", 0);    // an empty 8250 slot
  devices.AddTty("ttyS12", 4);
  devices.AddTty("ttyUSB10");
  devices.AddTty("ttyUSB2");
  devices.AddTty("ttyACM0");
  devices.AddVirtualTty("tty0");
  devices.AddById("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "ttyUSB2");
  // Known to the tty class but without a node.
  std::filesystem::create_directories(devices.Root() + "/sys/class/tty/ttyUSB5/device");

  EXPECT_EQ(platform::SerialDeviceRoot(), devices.Root());
  const std::vector<platform::SerialDevice> found = platform::ListSerialDevices(devices.Root());
  const struct {
    const char* name;
    int com;
    const char* byId;
  } kExpected[] = {
      {"ttyS0", 1, ""},
      {"ttyS12", 13, ""},
      {"ttyACM0", 0, ""},
      {"ttyUSB2", 0, "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"},
      {"ttyUSB10", 0, ""},
  };
  ASSERT_EQ(found.size(), std::size(kExpected));
  for (size_t i = 0; i < found.size(); ++i) {
    EXPECT_EQ(found[i].Path, devices.Node(kExpected[i].name)) << i;
    EXPECT_EQ(found[i].ComNumber, kExpected[i].com) << i;
    const std::string byId = kExpected[i].byId;
    EXPECT_EQ(found[i].StablePath, byId.empty() ? "" : devices.Root() + "/dev/serial/by-id/" + byId) << i;
  }
  // The adapter's link leads to the node it names.
  EXPECT_EQ(platform::ResolvedDevicePath(found[3].StablePath), std::filesystem::canonical(devices.Node("ttyUSB2")).string());
  // A port number means a built-in port of the device folder; one that is not there stays as named.
  EXPECT_EQ(platform::ComPortDevicePath(40), devices.Node("ttyS39"));
  EXPECT_EQ(platform::ResolvedDevicePath("COM40"), devices.Node("ttyS39"));
  EXPECT_TRUE(platform::ListSerialDevices(devices.Root() + "/nowhere").empty());
}
