// What the communication and curve dialogs accept, apart from any widget: the lists they
// offer, the conversions between settings and list positions, and the checks of OK.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "trend/config/trend_config.h"

namespace vandrel {

// The lists of the communication dialog, in the order shown.
const std::vector<std::wstring>& InterfaceChoices();  // "ModbusTCP", "Modbus串口"
const std::vector<std::wstring>& ComPortChoices();    // "COM1" .. "COM11"
const std::vector<int32_t>& BaudRateChoices();        // 1200 .. 256000
const std::vector<std::wstring>& DataBitsChoices();   // "7", "8"
const std::vector<std::wstring>& StopBitsChoices();   // "1", "1.5", "2"
const std::vector<std::wstring>& ParityChoices();     // "NONE", "ODD", "EVENT"
const std::vector<std::wstring>& DataTypeChoices();   // "单精度浮点数", "单精度浮点数(交换)"

// Position of a baud rate in its list; 3 (9600) for a rate not in the list.
int BaudIndexOf(int32_t rate);
// Rate at a position; 9600 outside the list.
int32_t BaudAt(int index);

// A whole number typed in an edit box: blanks around it allowed, nothing else.
std::optional<int64_t> ParseWholeNumber(const std::wstring& text);

// The communication dialog's fields. A list position of -1 means no selection.
struct CommSetFields {
  int Interface = -1;
  std::wstring TimeoutText;
  std::wstring HostIpText;
  std::wstring HostPortText;
  int ComPort = -1;
  int Baud = -1;
  int DataBits = -1;
  int StopBits = -1;
  int Parity = -1;
};

// Fields shown for the settings.
CommSetFields CommSetFieldsFrom(const TrendSettings& settings);
// Whether the TCP fields are enabled for the chosen interface (the serial lists are enabled
// exactly when they are not).
bool TcpFieldsEnabled(int interfaceIndex);
// The message of the first check that fails, nothing when OK may close the dialog.
std::optional<std::wstring> CheckCommSetFields(const CommSetFields& fields);
// Settings taken from accepted fields (the serial values only when a list has a selection,
// so the fields of the unused interface keep what they were).
TrendSettings CommSettingsFrom(const CommSetFields& fields, const TrendSettings& previous);

// The curve parameter dialog's fields.
struct CurveParamFields {
  std::wstring DevNoText;
  std::wstring StartText;
  std::wstring CountText;
  std::wstring BlockText;
  int DataType = -1;
};

CurveParamFields CurveParamFieldsFrom(const TrendCurve& curve);
std::optional<std::wstring> CheckCurveParamFields(const CurveParamFields& fields);
// Applies accepted fields to a curve (point count, start, device number, block length,
// data type).
void ApplyCurveParamFields(const CurveParamFields& fields, TrendCurve& curve);

// One row of the curve list: device number, "MD<start>", point count, block length, type.
std::vector<std::wstring> CurveListRow(const TrendCurve& curve);

}  // namespace vandrel
