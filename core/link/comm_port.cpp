#include "core/link/comm_port.h"

#include <cstdlib>

#include "core/env/exception_error.h"
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

void BuildPortList(std::vector<std::pair<std::wstring, std::wstring>>& list) {
  list.clear();
  list.emplace_back(kSimulatorPipeName, L"PIPE\\Quillamet");
  list.emplace_back(kNetworkPortName, L"Network");
  list.emplace_back(kRelayPortName, L"Tarvex Mobile");
  for (int n = 1; n <= 16; ++n) {
    const std::wstring number = std::to_wstring(n);
    list.emplace_back(L"COM" + number, L"通讯端口COM" + number);
  }
}

}  // namespace Brenno
