// A fake device folder for the serial port scan: sys/class/tty and dev as the kernel lays them
// out, in a scratch folder that ORVISTO_DEVICE_ROOT points the scan at for the life of the
// object. A device's node can be a link to a real terminal (a pseudo-terminal of the simulated
// PLC), so that choosing the fake device opens it.
#pragma once

#include <string>

#include "tests/support/test_paths.h"

namespace testsupport {

class FakeSerialDevices {
 public:
  FakeSerialDevices();
  ~FakeSerialDevices();
  FakeSerialDevices(const FakeSerialDevices&) = delete;
  FakeSerialDevices& operator=(const FakeSerialDevices&) = delete;

  const std::string& Root() const { return dir_.path(); }
  // <root>/dev/<name>.
  std::string Node(const std::string& name) const { return dir_.path() + "/dev/" + name; }

  // A tty backed by a device. `uartType` is written to its "type" entry when not negative (the
  // serial core's UART type; 0 is an empty 8250 slot). The node is an empty file, or a link to
  // `target` when one is given.
  void AddTty(const std::string& name, int uartType = -1, const std::string& target = "");
  // A tty without a backing device (a virtual console).
  void AddVirtualTty(const std::string& name);
  // A link <root>/dev/serial/by-id/<id> to the node of the tty.
  void AddById(const std::string& id, const std::string& name);

 private:
  TempDir dir_;
  std::string saved_;
  bool hadSaved_ = false;
};

}  // namespace testsupport
