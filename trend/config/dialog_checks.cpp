#include "trend/config/dialog_checks.h"

#include <algorithm>
#include <cwctype>

namespace vandrel {

const std::vector<std::wstring>& InterfaceChoices() {
  static const std::vector<std::wstring> list = {L"ModbusTCP", L"Modbus串口"};
  return list;
}

const std::vector<std::wstring>& ComPortChoices() {
  static const std::vector<std::wstring> list = [] {
    std::vector<std::wstring> l;
    for (int i = 1; i <= 11; ++i) l.push_back(L"COM" + std::to_wstring(i));
    return l;
  }();
  return list;
}

const std::vector<int32_t>& BaudRateChoices() {
  static const std::vector<int32_t> list = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 128000, 256000};
  return list;
}

const std::vector<std::wstring>& DataBitsChoices() {
  static const std::vector<std::wstring> list = {L"7", L"8"};
  return list;
}

const std::vector<std::wstring>& StopBitsChoices() {
  static const std::vector<std::wstring> list = {L"1", L"1.5", L"2"};
  return list;
}

const std::vector<std::wstring>& ParityChoices() {
  static const std::vector<std::wstring> list = {L"NONE", L"ODD", L"EVENT"};
  return list;
}

const std::vector<std::wstring>& DataTypeChoices() {
  static const std::vector<std::wstring> list = {L"单精度浮点数", L"单精度浮点数(交换)"};
  return list;
}

int BaudIndexOf(int32_t rate) {
  const auto& list = BaudRateChoices();
  auto it = std::find(list.begin(), list.end(), rate);
  return it == list.end() ? 3 : static_cast<int>(it - list.begin());
}

int32_t BaudAt(int index) {
  const auto& list = BaudRateChoices();
  return (index >= 0 && index < static_cast<int>(list.size())) ? list[static_cast<size_t>(index)] : 9600;
}

std::optional<int64_t> ParseWholeNumber(const std::wstring& text) {
  size_t i = 0, end = text.size();
  while (i < end && std::iswspace(text[i])) ++i;
  while (end > i && std::iswspace(text[end - 1])) --end;
  if (i == end) return std::nullopt;
  bool negative = false;
  if (text[i] == L'+' || text[i] == L'-') {
    negative = text[i] == L'-';
    ++i;
  }
  if (i == end || end - i > 12) return std::nullopt;
  int64_t value = 0;
  for (; i < end; ++i) {
    if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
    value = value * 10 + (text[i] - L'0');
  }
  return negative ? -value : value;
}

namespace {

bool InList(int index, size_t size) { return index >= 0 && static_cast<size_t>(index) < size; }

std::wstring Trimmed(const std::wstring& text) {
  size_t i = 0, end = text.size();
  while (i < end && std::iswspace(text[i])) ++i;
  while (end > i && std::iswspace(text[end - 1])) --end;
  return text.substr(i, end - i);
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += (c >= 0 && c < 0x80) ? static_cast<char>(c) : '?';
  return out;
}

}  // namespace

CommSetFields CommSetFieldsFrom(const TrendSettings& s) {
  CommSetFields f;
  f.Interface = InList(s.MBType, InterfaceChoices().size()) ? s.MBType : -1;
  f.TimeoutText = std::to_wstring(static_cast<uint32_t>(s.Timeout));
  f.HostIpText = std::wstring(s.HostIP.begin(), s.HostIP.end());
  f.HostPortText = std::to_wstring(s.HostPort);
  f.ComPort = InList(s.DCBEx.Port - 1, ComPortChoices().size()) ? s.DCBEx.Port - 1 : -1;
  f.Baud = BaudIndexOf(s.DCBEx.BaudRate);
  f.DataBits = s.DCBEx.ByteSize == 7 ? 0 : 1;
  f.StopBits = InList(s.DCBEx.StopBits, StopBitsChoices().size()) ? s.DCBEx.StopBits : -1;
  f.Parity = InList(s.DCBEx.Parity, ParityChoices().size()) ? s.DCBEx.Parity : -1;
  return f;
}

bool TcpFieldsEnabled(int interfaceIndex) { return interfaceIndex == 0; }

std::optional<std::wstring> CheckCommSetFields(const CommSetFields& f) {
  if (!InList(f.Interface, InterfaceChoices().size())) return L"请选择通讯接口！";
  auto timeout = ParseWholeNumber(f.TimeoutText);
  if (!timeout || *timeout < 50 || *timeout > 3600000) return L"请正确输入超时时间，范围为50 ～ 3600000(毫秒)！";
  if (f.Interface != 0) {
    if (!InList(f.ComPort, ComPortChoices().size()) || !InList(f.Baud, BaudRateChoices().size()) ||
        !InList(f.DataBits, DataBitsChoices().size()) || !InList(f.StopBits, StopBitsChoices().size()) ||
        !InList(f.Parity, ParityChoices().size()))
      return L"请正确设置串口参数！";
  } else {
    if (Trimmed(f.HostIpText).empty()) return L"请输入要连接的从站IP地址！";
    // A port must fit 16 bits: 65536 would otherwise be kept as 0.
    auto port = ParseWholeNumber(f.HostPortText);
    if (!port || *port < 1 || *port > 65535) return L"请正确输入从站端口，不允许为0！";
  }
  return std::nullopt;
}

TrendSettings CommSettingsFrom(const CommSetFields& f, const TrendSettings& previous) {
  TrendSettings s = previous;
  s.MBType = f.Interface;
  s.Timeout = static_cast<int32_t>(ParseWholeNumber(f.TimeoutText).value_or(previous.Timeout));
  s.HostIP = Narrow(Trimmed(f.HostIpText)).substr(0, 31);
  if (auto port = ParseWholeNumber(f.HostPortText)) s.HostPort = static_cast<uint16_t>(*port);
  if (f.ComPort >= 0) s.DCBEx.Port = f.ComPort + 1;
  if (f.Parity >= 0) s.DCBEx.Parity = f.Parity;
  if (f.StopBits >= 0) s.DCBEx.StopBits = f.StopBits;
  if (f.Baud >= 0) s.DCBEx.BaudRate = BaudAt(f.Baud);
  if (f.DataBits >= 0) s.DCBEx.ByteSize = f.DataBits == 0 ? 7 : 8;
  return s;
}

CurveParamFields CurveParamFieldsFrom(const TrendCurve& c) {
  CurveParamFields f;
  f.DevNoText = std::to_wstring(c.DevNo);
  f.StartText = std::to_wstring(static_cast<uint32_t>(c.Start));
  f.CountText = std::to_wstring(c.Count);
  f.BlockText = std::to_wstring(c.BlockNum);
  f.DataType = c.DataType == 0 ? 0 : 1;
  return f;
}

std::optional<std::wstring> CheckCurveParamFields(const CurveParamFields& f) {
  auto dev = ParseWholeNumber(f.DevNoText);
  if (!dev || *dev < 1 || *dev > 127) return L"请正确输入设备号，范围为1 ～ 127 ！";
  auto start = ParseWholeNumber(f.StartText);
  if (!start || *start < 1 || *start > 0xFFFFFFFFLL) return L"请正确输入寄存器首地址";
  auto count = ParseWholeNumber(f.CountText);
  if (!count || *count < 1 || *count > 1000) return L"请正确输入数据总长度，范围为1 ～ 1000 ！";
  auto block = ParseWholeNumber(f.BlockText);
  if (!block || *block < 2 || *block > 128 || (*block % 2) != 0) return L"请正确输入数据块长度，范围为2 ～ 128的偶数 ！";
  if (!InList(f.DataType, DataTypeChoices().size())) return L"请选择数据类型！";
  return std::nullopt;
}

void ApplyCurveParamFields(const CurveParamFields& f, TrendCurve& c) {
  c.Count = static_cast<int32_t>(ParseWholeNumber(f.CountText).value_or(c.Count));
  c.Start = static_cast<int32_t>(static_cast<uint32_t>(ParseWholeNumber(f.StartText).value_or(c.Start)));
  c.DevNo = static_cast<uint8_t>(ParseWholeNumber(f.DevNoText).value_or(c.DevNo));
  c.BlockNum = static_cast<uint8_t>(ParseWholeNumber(f.BlockText).value_or(c.BlockNum));
  c.DataType = static_cast<uint8_t>(f.DataType < 0 ? c.DataType : f.DataType);
}

std::vector<std::wstring> CurveListRow(const TrendCurve& c) {
  return {std::to_wstring(c.DevNo), L"MD" + std::to_wstring(c.Start), std::to_wstring(c.Count),
          std::to_wstring(c.BlockNum), c.DataType == 0 ? DataTypeChoices()[0] : DataTypeChoices()[1]};
}

}  // namespace vandrel
