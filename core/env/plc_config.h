// The configuration record of the workbench and its file "Orvisto.xml" in the program
// directory: one element `PlcConfig` whose attributes hold the values, read at start-up and
// written back at exit. The file is UTF-16LE with a byte-order mark and CRLF line ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/env/xml_parse_area.h"

namespace Brenno {

// Name of the configuration file inside the program directory.
inline constexpr const wchar_t* kPlcConfigFileName = L"Orvisto.xml";

class PlcConfig {
 public:
  // Used only while the file is read (the record is the expat user data).
  XmlParseArea ParseArea;

  int Lang = 1;               // 1 English, 2 Chinese; checked by start-up
  std::wstring PlcName;       // the selected PLC type
  int ViewZoom = 100;         // ladder zoom in percent
  int SymbolicAddr = 1;       // symbolic addressing on (1) or off (0)
  int LinkStation = 0;        // PLC station number in the link envelope
  std::wstring LinkPortPath;  // the link port
  int LinkBaudrate = 38400;
  int LinkParity = 2;
  uint32_t LinkIpAddr = 0;    // IPv4 address of the PLC or relay as one number
  // Set in the communication dialog for the running session only: neither is in the file.
  int LinkTcpPort = 10345;
  std::wstring LinkTelephone;
  int LinkTimeWaitSend = 10;
  int LinkTimeWaitReceive = 2000;
  int LinkTimeUpdateUi = 200;
  int LinkTimeUpdateSleep = 10;
  int LinkTimeUpdateMark = 2000;
  int LinkTimeUpdateError = 4000;
  int LinkTimeReadIntervalTimeout = 80;
  int LinkTimeReadTotalTimeoutMultiplier = 0;
  int LinkTimeReadTotalTimeoutConstant = 0;
  int LinkTimeWriteTotalTimeoutMultiplier = 0;
  int LinkTimeWriteTotalTimeoutConstant = 2000;

  // Reads the file. An attribute that the file leaves out takes its default; the TCP port and
  // the telephone number are not touched. Every fault throws ExceptionParseXmlError (open
  // error, empty file, not well-formed XML, or a fault of the element with row and column), and
  // then the record keeps the values it had.
  void ReadPlcConfig(const std::wstring& path);
  // The same from bytes already in memory; `path` only names the source in error texts.
  void ReadPlcConfigFromBytes(const uint8_t* data, size_t size, const std::wstring& path);

  // Writes the file whole (a failed write leaves the old file as it was). Throws
  // ExceptionParseXmlError when the file cannot be written, or when a text holds a character
  // that XML cannot carry (then nothing is written).
  void WritePlcConfig(const std::wstring& path) const;
  // The file's bytes. False (and the attribute's name in `badAttribute`) when a text holds a
  // character that XML cannot carry.
  bool FormatPlcConfig(std::vector<uint8_t>& bytes, std::wstring* badAttribute = nullptr) const;

  // The reader's element handlers; `record` is the PlcConfig being filled.
  static void PlcConfigStartElement(void* record, const std::wstring& name, const XmlAttributeList& attributes);
  static void PlcConfigEndElement(void* record, const std::wstring& name);

  // Equal values (the parse area does not count).
  bool operator==(const PlcConfig& other) const;
};

}  // namespace Brenno
