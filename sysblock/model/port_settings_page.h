// System page 0: the two serial ports, the network settings and the Modbus master image, as
// the port page of the property sheet holds them, with the page's byte codec and checks.
//
// Page layout: bytes 0-7 port 0, 8-15 port 1 (one byte per field: protocol, PLC address, baud,
// data bits, parity, stop bits, response timeout in 100 ms, frame delay in ms), 16-31 the
// network block (IP, mask, gateway, TCP port little-endian, TCP address, reserved byte), 32 to
// the end the Modbus master image (14-byte header, 8 bytes per entry).
#pragma once

#include <array>
#include <optional>
#include <string>

#include "sysblock/model/page_map.h"
#include "sysblock/model/text_value.h"

namespace corvell {

// Control id offsets (added to CommandIdBase) of the fields the checks point at.
constexpr int kPort0PlcAddressControl = 30106;
constexpr int kPort0ResponseTimeoutControl = 30107;
constexpr int kPort0FrameDelayControl = 30108;
constexpr int kPort1PlcAddressControl = 30126;
constexpr int kPort1ResponseTimeoutControl = 30127;
constexpr int kPort1FrameDelayControl = 30128;
constexpr int kTcpAddressControl = 30467;

// One serial port as the page holds it: list selections as indices, edits as texts.
struct SerialPortFields {
  int Protocol = 0;  // 0 Modbus slave, 1 Modbus master, 2 free port
  int Baud = 4;      // 0 1200 ... 7 115200 bps
  int DataBits = 0;  // 0 = 8 data bits (RTU)
  int Parity = 0;    // 0 none, 1 odd, 2 even
  int StopBits = 0;  // 0 = 1 stop bit
  std::wstring PlcAddress = L"1";
  std::wstring ResponseTimeout = L"10";
  std::wstring FrameDelay = L"3";
};

class PortSettingsPage {
 public:
  static constexpr std::size_t kPortBytes = 8;
  static constexpr std::size_t kNetworkBlockOffset = 16;
  static constexpr std::size_t kNetworkBlockSize = 16;
  static constexpr std::size_t kMasterImageOffset = 32;
  // A page shorter than this has no complete network block and is not decoded.
  static constexpr std::size_t kMinimumSize = kMasterImageOffset;

  PortSettingsPage();

  // Network block = network fields 0-11, TCP port (low, high), TCP address, reserved byte.
  // A TCP port or address outside its range keeps the block's current bytes instead of being
  // cut to its low bits.
  void BuildNetworkBlock();
  // Network fields = the block; TCP port and address from bytes 12-14.
  void ParseNetworkBlock();

  // Both ports Modbus slave at 38400 bps, address 1, timeout 10, delay 3; default network
  // addresses, TCP port 2000 and address 1. The master image and the block are not touched.
  void Defaults();

  // The first field that refuses its value when the page is left: for each port on Modbus
  // slave its PLC address (0-255), response timeout and frame delay (1-255); then the TCP
  // address (0-255).
  std::optional<FieldError> ValidatePortFields(int language) const;

  // Loads the fields from page 0. A port field whose byte is out of its range keeps its value.
  // A page too short to hold the ports and the network block is read from the sample instead.
  void Decode(const PageBytes& page, const PageBytes& sample);

  // Page 0 from the fields: each port byte from its field when that is in range, else the
  // sample's byte; then the network block and the master image unchanged.
  PageBytes Encode(const PageBytes& sample) const;

  std::array<SerialPortFields, 2> Ports;
  int TcpPort = 2000;
  int TcpAddress = 1;
  PageBytes NetworkBlock;
  std::array<uint8_t, 16> NetworkFields;
  PageBytes ModbusMasterImage;

 private:
  void DecodeFrom(const PageBytes& page);
};

}  // namespace corvell
