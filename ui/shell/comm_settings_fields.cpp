#include "ui/shell/comm_settings_fields.h"

#include <climits>
#include <cwctype>

#include "core/env/plc_config.h"

namespace Brenno {

namespace {

constexpr int kBaudRates[] = {4800, 9600, 19200, 38400, 57600, 115200};
constexpr int kDefaultBaudPosition = 3;
constexpr int kDefaultParity = 2;

}  // namespace

const std::vector<std::wstring>& BaudRateTexts() {
  static const std::vector<std::wstring> texts = {L"4800 bps",  L"9600 bps",  L"19200 bps",
                                                  L"38400 bps", L"57600 bps", L"115200 bps"};
  return texts;
}

const std::vector<std::wstring>& ParityTexts() {
  static const std::vector<std::wstring> texts = {L"NONE", L"ODD", L"EVEN"};
  return texts;
}

int BaudRateToPosition(int baudrate) {
  for (int i = 0; i < 6; ++i) {
    if (kBaudRates[i] == baudrate) return i;
  }
  return kDefaultBaudPosition;
}

int PositionToBaudRate(int position) {
  if (position < 0 || position >= 6) return kBaudRates[kDefaultBaudPosition];
  return kBaudRates[position];
}

int ParityToPosition(int parity) {
  return parity == 0 || parity == 1 || parity == 3 || parity == 4 ? parity : kDefaultParity;
}

int PositionToParity(int position) { return ParityToPosition(position); }

int FindPortPosition(const CommPortList& ports, const std::wstring& portName) {
  for (size_t i = 0; i < ports.size(); ++i) {
    if (ports[i].first == portName) return static_cast<int>(i);
  }
  return 0;
}

PortRuleState PortRuleFor(int portPosition) {
  PortRuleState state;
  if (portPosition == kPortPositionNetwork || portPosition == kPortPositionRelay) {
    state.StationIsOne = true;
    state.SerialEnabled = false;
    state.IpEnabled = true;
    state.DetectEnabled = portPosition == kPortPositionNetwork;
    state.RelayEnabled = portPosition == kPortPositionRelay;
  }
  return state;
}

CommLinkValues LinkValuesFromConfig(const PlcConfig& config) {
  CommLinkValues values;
  values.Parity = config.LinkParity;
  values.IpAddress = config.LinkIpAddr;
  values.Station = config.LinkStation;
  values.PortName = config.LinkPortPath;
  values.Baudrate = config.LinkBaudrate;
  values.Telephone = config.LinkTelephone;
  values.TcpPort = config.LinkTcpPort;
  return values;
}

void StoreLinkValues(const CommLinkValues& values, PlcConfig& config) {
  config.LinkParity = values.Parity;
  config.LinkIpAddr = values.IpAddress;
  config.LinkStation = values.Station;
  config.LinkPortPath = values.PortName;
  config.LinkBaudrate = values.Baudrate;
  config.LinkTelephone = values.Telephone;
  config.LinkTcpPort = values.TcpPort;
}

CommSettingsFields FieldsFromLinkValues(const CommLinkValues& values, const CommPortList& ports) {
  CommSettingsFields fields;
  fields.Station = values.Station >= 0 && values.Station < kStationCount ? values.Station : -1;
  fields.PortPosition = FindPortPosition(ports, values.PortName);
  fields.BaudPosition = BaudRateToPosition(values.Baudrate);
  fields.ParityPosition = ParityToPosition(values.Parity);
  fields.IpAddress = values.IpAddress;
  fields.TcpPort = values.TcpPort;
  fields.Telephone = values.Telephone;
  return fields;
}

CommLinkValues LinkValuesFromFields(const CommSettingsFields& fields, const CommPortList& ports,
                                    const CommLinkValues& before) {
  CommLinkValues values = before;
  values.Parity = PositionToParity(fields.ParityPosition);
  values.IpAddress = fields.IpAddress;
  if (fields.Station >= 0 && fields.Station < kStationCount) values.Station = fields.Station;
  if (fields.PortPosition >= 0 && fields.PortPosition < static_cast<int>(ports.size())) {
    values.PortName = ports[static_cast<size_t>(fields.PortPosition)].first;
  }
  values.Baudrate = PositionToBaudRate(fields.BaudPosition);
  values.Telephone = fields.Telephone;
  values.TcpPort = fields.TcpPort;
  return values;
}

bool ParseDialogInteger(const std::wstring& text, int& value) {
  size_t at = 0;
  const auto blank = [&] { return at < text.size() && std::iswspace(static_cast<wint_t>(text[at])); };
  while (blank()) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) negative = text[at++] == L'-';
  if (at >= text.size() || text[at] < L'0' || text[at] > L'9') return false;
  long long number = 0;
  for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
    number = number * 10 + (text[at] - L'0');
    if (number > static_cast<long long>(INT_MAX) + 1) return false;
  }
  while (blank()) ++at;
  if (at != text.size()) return false;
  if (negative) number = -number;
  if (number < INT_MIN || number > INT_MAX) return false;
  value = static_cast<int>(number);
  return true;
}

}  // namespace Brenno
