#include "tests/support/fake_serial_devices.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace testsupport {

namespace fs = std::filesystem;

FakeSerialDevices::FakeSerialDevices() {
  fs::create_directories(dir_.path() + "/sys/class/tty");
  fs::create_directories(dir_.path() + "/dev");
  if (const char* old = std::getenv("ORVISTO_DEVICE_ROOT")) {
    saved_ = old;
    hadSaved_ = true;
  }
  ::setenv("ORVISTO_DEVICE_ROOT", dir_.path().c_str(), 1);
}

FakeSerialDevices::~FakeSerialDevices() {
  if (hadSaved_) {
    ::setenv("ORVISTO_DEVICE_ROOT", saved_.c_str(), 1);
  } else {
    ::unsetenv("ORVISTO_DEVICE_ROOT");
  }
}

void FakeSerialDevices::AddTty(const std::string& name, int uartType, const std::string& target) {
  const fs::path entry = fs::path(dir_.path()) / "sys/class/tty" / name;
  fs::create_directories(entry / "device");
  if (uartType >= 0) std::ofstream(entry / "type") << uartType << "\n";
  if (target.empty()) {
    std::ofstream(Node(name)).flush();
  } else {
    fs::create_symlink(target, Node(name));
  }
}

void FakeSerialDevices::AddVirtualTty(const std::string& name) {
  fs::create_directories(fs::path(dir_.path()) / "sys/class/tty" / name);
  std::ofstream(Node(name)).flush();
}

void FakeSerialDevices::AddById(const std::string& id, const std::string& name) {
  const fs::path folder = fs::path(dir_.path()) / "dev/serial/by-id";
  fs::create_directories(folder);
  fs::create_symlink("../../" + name, folder / id);
}

}  // namespace testsupport
