#include "core/link/comm_port.h"

#include <cstdlib>
#include <filesystem>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/plc_config.h"
#include "core/link/pipe_transport.h"
#include "core/link/relay_transport.h"
#include "core/link/serial_transport.h"
#include "core/link/tcp_transport.h"
#include "platform/poll_io.h"
#include "platform/serial_port.h"
#include "platform/text_codec.h"

namespace Brenno {

std::string DefaultSimulatorSocketPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::string folder = runtime != nullptr && runtime[0] != '\0' ? runtime : "/tmp";
  return folder + "/Quillamet";
}

CommPort::~CommPort() {
  platform::CloseDescriptor(PipeHandle);
  platform::CloseSerialDevice(SerialHandle);
  platform::CloseDescriptor(SocketHandle);
}

void InitCommPort(CommPort& port) {
  platform::CloseDescriptor(port.PipeHandle);
  platform::CloseSerialDevice(port.SerialHandle);
  platform::CloseDescriptor(port.SocketHandle);
  port.PortKind = kPortKindPipe;
  port.PortName.clear();
}

bool OpenCommPort(CommPort& port, const PlcConfig& config) {
  const std::wstring& name = config.LinkPortPath;
  if (name == kSimulatorPipeName) {
    port.PortKind = kPortKindPipe;
    port.PortName = name;
    platform::CloseDescriptor(port.PipeHandle);
    return OpenSimulatorPipe(port, config);
  }
  if (name == kNetworkPortName) {
    port.PortKind = kPortKindNetwork;
    port.PortName = name;
    ConnectNetwork(port, config.LinkIpAddr);
    return true;
  }
  if (name == kRelayPortName) {
    port.PortKind = kPortKindRelay;
    port.PortName = name;
    ConnectRelay(port, config.LinkIpAddr, config.LinkTcpPort, config.LinkTelephone);
    return true;
  }
  port.PortKind = kPortKindSerial;
  port.PortName = platform::FromUtf8Lossy(platform::SerialDevicePathForName(platform::ToUtf8Lossy(name)));
  platform::CloseSerialDevice(port.SerialHandle);
  if (OpenSerialDevice(port) && SetUpSerialPort(port, config) &&
      SetSerialFormat(port, config.LinkBaudrate, config.LinkParity)) {
    return true;
  }
  platform::CloseSerialDevice(port.SerialHandle);
  return false;
}

void CloseCommPort(CommPort& port) {
  switch (port.PortKind) {
    case kPortKindPipe: platform::CloseDescriptor(port.PipeHandle); break;
    case kPortKindNetwork:
    case kPortKindRelay: platform::CloseDescriptor(port.SocketHandle); break;
    default: platform::CloseSerialDevice(port.SerialHandle); break;
  }
}

void TransferOnPort(CommPort& port, std::vector<uint8_t>& bytes) {
  ++port.RelaySequence;
  switch (port.PortKind) {
    case kPortKindPipe: TransferOnPipe(port, bytes); break;
    case kPortKindNetwork: TransferOnNetwork(port, bytes); break;
    case kPortKindRelay: TransferOnRelay(port, bytes); break;
    default: TransferOnSerial(port, bytes); break;
  }
}

namespace {

using PortList = std::vector<std::pair<std::wstring, std::wstring>>;

constexpr size_t kFixedPortCount = 3;

// "COM<n>" of a built-in port, as the configuration names it; 0 for any other name.
int ComNumberOfName(const std::wstring& name) {
  const std::string text = platform::ToUtf8Lossy(name);
  if (platform::SerialDevicePathForName(text) == text) return 0;
  return std::atoi(text.c_str() + 3);  // the digits after "COM"
}

std::wstring ComPortCaption(int number) {
  const std::wstring n = std::to_wstring(number);
  return L"通讯端口COM" + n + L" (" + platform::FromUtf8Lossy(platform::ComPortDevicePath(number)) + L")";
}

}  // namespace

void BuildPortList(PortList& list) {
  list.clear();
  list.emplace_back(kSimulatorPipeName, L"PIPE\\Quillamet");
  list.emplace_back(kNetworkPortName, L"Network");
  list.emplace_back(kRelayPortName, L"Tarvex Mobile");
  for (const platform::SerialDevice& device : platform::ListSerialDevices(platform::SerialDeviceRoot())) {
    const std::wstring path = platform::FromUtf8Lossy(device.Path);
    if (device.ComNumber > 0) {
      list.emplace_back(L"COM" + std::to_wstring(device.ComNumber), ComPortCaption(device.ComNumber));
    } else {
      list.emplace_back(device.StablePath.empty() ? path : platform::FromUtf8Lossy(device.StablePath), path);
    }
  }
}

int PlaceConfiguredPort(PortList& list, const std::wstring& portName) {
  if (portName.empty()) return 0;
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i].first == portName) return static_cast<int>(i);
  }
  const std::string device = platform::ResolvedDevicePath(platform::ToUtf8Lossy(portName));
  for (size_t i = kFixedPortCount; i < list.size(); ++i) {
    if (platform::ResolvedDevicePath(platform::ToUtf8Lossy(list[i].first)) == device) return static_cast<int>(i);
  }
  const int number = ComNumberOfName(portName);
  std::wstring caption = number > 0 ? ComPortCaption(number) : portName;
  std::error_code error;
  if (!std::filesystem::exists(device, error)) caption += PickText(L" (not found)", L" (未找到)");
  list.emplace_back(portName, caption);
  return static_cast<int>(list.size() - 1);
}

}  // namespace Brenno
