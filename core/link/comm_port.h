// The one link port of the workbench: the simulator pipe (a Unix domain socket here), a TCP
// connection ("Network"), a relay reached over TCP ("Tarvex Mobile") or a serial line. The
// communication states open and close it; the frame layer sends each request frame through
// TransferOnPort and gets the reply back in the same vector. Everything here runs on the
// thread that holds the environment's port lock.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace Brenno {

class PlcConfig;

enum CommPortKind { kPortKindPipe = 0, kPortKindNetwork = 1, kPortKindSerial = 2, kPortKindRelay = 999 };

// The fixed port names the configuration may hold; any other name is a serial port.
inline constexpr const wchar_t* kSimulatorPipeName = L"\\\\.\\PIPE\\Quillamet";
inline constexpr const wchar_t* kNetworkPortName = L"Network";
inline constexpr const wchar_t* kRelayPortName = L"Tarvex Mobile";

// The TCP port the PLC listens on for "Network".
inline constexpr int kNetworkTcpPort = 2000;
// Size of the receive buffer of the pipe and the serial line: a longer reply is cut there.
inline constexpr size_t kPortReceiveLimit = 1024;

// Where the simulator listens: $XDG_RUNTIME_DIR/Quillamet, or /tmp/Quillamet without one.
std::string DefaultSimulatorSocketPath();

// The waits of one transfer, taken from the configuration when the port is opened.
struct CommTimeouts {
  int WaitReceive = 2000;               // first reply byte (pipe, serial)
  int ReadIntervalTimeout = 80;         // silence that ends a reply (pipe, serial)
  int ReadTotalTimeoutMultiplier = 0;   // with the constant: limit of a whole read, 0 none
  int ReadTotalTimeoutConstant = 0;
  int WriteTotalTimeoutMultiplier = 0;  // limit of a whole write: multiplier * bytes + constant
  int WriteTotalTimeoutConstant = 2000;
};

class CommPort {
 public:
  CommPort() = default;
  ~CommPort();
  CommPort(const CommPort&) = delete;
  CommPort& operator=(const CommPort&) = delete;

  int PortKind = kPortKindPipe;
  // The name as opened: the pipe name, "Network", "Tarvex Mobile" or the serial device path.
  std::wstring PortName;
  int PipeHandle = -1;
  int SerialHandle = -1;
  // The TCP or relay connection; -1 when none is open or an error path closed it.
  int SocketHandle = -1;
  CommTimeouts Timeouts;
  // Counts every transfer, whatever the kind; relay frames carry it.
  uint16_t RelaySequence = 0;

  // Fixed values of the transports, members so that tests can point them elsewhere or shorten
  // them: the simulator socket, the "Network" TCP port, one network wait (four make the limit
  // of a reply: 1 s for TCP, 5 s for the relay) and the pause between resends.
  std::string PipeSocketPath = DefaultSimulatorSocketPath();
  int NetworkTcpPort = kNetworkTcpPort;
  int NetworkWaitMs = 1000;
  int RelayWaitMs = 5000;
  int ResendPauseMs = 300;
};

// Puts the port into its closed starting state (closing whatever is open).
void InitCommPort(CommPort& port);

// Opens the port named by `LinkPortPath` with the configured baud rate, parity, relay TCP port,
// telephone number, IPv4 address and serial time-outs. The pipe and serial kinds return false
// when the device cannot be opened or set up (nothing stays open). The TCP and relay kinds throw
// ExceptionSwitchNetworkConnectError when the connection or the relay login fails, after closing
// the socket; the caller (the communication states) releases the port lock and goes offline.
bool OpenCommPort(CommPort& port, const PlcConfig& config);

// Closes what the port's kind has open. The kind and name keep their values.
void CloseCommPort(CommPort& port);

// Sends the frame and replaces the bytes by the reply as it came (the TCP prefix or the relay
// header removed). Throws the ExceptionExchError classes of the transports.
void TransferOnPort(CommPort& port, std::vector<uint8_t>& bytes);

// The ports the communication dialog offers, as (port name, caption): the simulator pipe,
// "Network", the relay, then one entry for each serial device the machine has now
// (platform::ListSerialDevices under platform::SerialDeviceRoot()). A built-in port
// /dev/ttyS<n-1> is named "COM<n>", as configurations have always stored it, and shown as
// "通讯端口COM<n> (/dev/ttyS<n-1>)"; any other device (a USB or other adapter) is named by its
// by-id link when it has one, which finds the same adapter again after replugging, else by its
// node, and is shown as its node ("/dev/ttyUSB0").
void BuildPortList(std::vector<std::pair<std::wstring, std::wstring>>& list);

// The position of the configured port name in the list: the entry of exactly that name; else
// the entry whose device the name leads to (a configuration may name /dev/ttyS0 or /dev/ttyUSB0
// where the list names COM1 or the adapter's by-id link); else, for a serial port name, a new
// last entry that keeps it: a device that is not there now (an adapter unplugged) says so
// ("(not found)"), one the scan does not list (a pseudo-terminal) shows its path. An empty name
// gives 0, the simulator pipe.
int PlaceConfiguredPort(std::vector<std::pair<std::wstring, std::wstring>>& list, const std::wstring& portName);

}  // namespace Brenno
