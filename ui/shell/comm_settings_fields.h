// The values of the communication dialog and their conversions to and from the link settings
// of the configuration: list positions for the port, baud rate and parity, the station, the
// IPv4 address, the relay's TCP port and telephone number; and the port rule that decides which
// controls the chosen port uses. Plain C++, tested without windows.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace Brenno {

class PlcConfig;

// The port list as (port name, caption): the simulator pipe, "Network", the relay, then the
// serial devices (BuildPortList).
using CommPortList = std::vector<std::pair<std::wstring, std::wstring>>;

inline constexpr int kPortPositionNetwork = 1;
inline constexpr int kPortPositionRelay = 2;
inline constexpr int kStationCount = 256;

// The entries of the baud rate and parity lists.
const std::vector<std::wstring>& BaudRateTexts();
const std::vector<std::wstring>& ParityTexts();

// 4800 -> 0, 9600 -> 1, 19200 -> 2, 57600 -> 4, 115200 -> 5, any other rate -> 3 (38400).
int BaudRateToPosition(int baudrate);
// The reverse; position 3 and any position outside the list (no selection) give 38400.
int PositionToBaudRate(int position);
// 0, 1, 3 and 4 keep their value, anything else is 2; the same both ways, so no selection (-1)
// stores 2 (even) and the positions 3 and 4, which the three-entry list cannot show, select none.
int ParityToPosition(int parity);
int PositionToParity(int position);
// Position of the entry whose port name equals the name exactly; 0 (the simulator) when none.
int FindPortPosition(const CommPortList& ports, const std::wstring& portName);

// What the chosen port enables.
struct PortRuleState {
  bool StationIsOne = false;  // the station is set to 1 (network and relay)
  bool SerialEnabled = true;  // station, baud rate and parity lists
  bool IpEnabled = false;
  bool DetectEnabled = false;
  bool RelayEnabled = false;  // TCP port and telephone number
  bool operator==(const PortRuleState&) const = default;
};
PortRuleState PortRuleFor(int portPosition);

// The dialog's values.
struct CommSettingsFields {
  int Station = 0;          // list position = station number; -1 none
  int PortPosition = 0;     // -1 none
  int BaudPosition = 3;     // -1 none
  int ParityPosition = 2;   // -1 none
  uint32_t IpAddress = 0;   // first field in the top byte
  int TcpPort = 1322;
  std::wstring Telephone;
};

// The seven link values as the facade passes them in and out.
struct CommLinkValues {
  int Parity = 2;
  uint32_t IpAddress = 0;
  int Station = 0;
  std::wstring PortName;
  int Baudrate = 38400;
  std::wstring Telephone;
  int TcpPort = 0;
  bool operator==(const CommLinkValues&) const = default;
};

CommLinkValues LinkValuesFromConfig(const PlcConfig& config);
void StoreLinkValues(const CommLinkValues& values, PlcConfig& config);

// The dialog's values for the link values.
CommSettingsFields FieldsFromLinkValues(const CommLinkValues& values, const CommPortList& ports);
// The link values after OK. The port name changes only when the position lies inside the list;
// a station outside 0..255 (nothing selected) keeps the old station rather than storing -1.
CommLinkValues LinkValuesFromFields(const CommSettingsFields& fields, const CommPortList& ports,
                                    const CommLinkValues& before);

// Reads a number the way the dialog's number fields do: blanks, an optional sign and decimal
// digits, then nothing but blanks; it must fit a signed 32-bit int.
bool ParseDialogInteger(const std::wstring& text, int& value);

}  // namespace Brenno
