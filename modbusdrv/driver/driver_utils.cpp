#include "modbusdrv/driver/driver_utils.h"

#include <algorithm>
#include <cwctype>
#include <filesystem>

#include "platform/crc16.h"
#include "platform/serial_port.h"
#include "platform/text_codec.h"

namespace modbusdrv {

std::array<uint8_t, 2> ComputeCrc16(const uint8_t* data, uint16_t count) {
  const uint16_t crc = platform::Crc16Modbus(data, count);
  return {static_cast<uint8_t>(crc & 0xFF), static_cast<uint8_t>(crc >> 8)};
}

uint8_t ComputeLrc(const uint8_t* data, uint16_t count) {
  uint8_t sum = 0;
  for (uint16_t i = 0; i < count; ++i) sum = static_cast<uint8_t>(sum + data[i]);
  return static_cast<uint8_t>(-sum);
}

uint8_t HexCharToNibble(char c) {
  if (c >= 0x30 && c <= 0x3F) return static_cast<uint8_t>(c - 0x30);
  if (c >= 'A' && c <= 'F') return static_cast<uint8_t>(c - 'A' + 10);
  return 0;
}

char NibbleToHexChar(uint8_t value) {
  if (value <= 9) return static_cast<char>('0' + value);
  if (value <= 15) return static_cast<char>('A' + value - 10);
  return 0;
}

void DecodeHexText(std::string_view text, std::vector<uint8_t>& out) {
  for (size_t i = 0; i + 1 < text.size(); i += 2) {
    if (text[i] == '\r') break;
    out.push_back(static_cast<uint8_t>((HexCharToNibble(text[i]) << 4) | HexCharToNibble(text[i + 1])));
  }
}

void EncodeHexText(const uint8_t* bytes, size_t count, std::string& out) {
  for (size_t i = 0; i < count; ++i) {
    out.push_back(NibbleToHexChar(bytes[i] >> 4));
    out.push_back(NibbleToHexChar(bytes[i] & 0x0F));
  }
}

bool SplitAtSeparator(std::wstring_view text, wchar_t separator, std::wstring& left, std::wstring& right) {
  const size_t pos = text.find(separator);
  if (pos == std::wstring_view::npos || pos == 0 || pos + 1 == text.size()) return false;
  left.assign(text.substr(0, pos));
  right.assign(text.substr(pos + 1));
  return true;
}

bool EqualNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  return true;
}

bool IsDecimalText(std::wstring_view text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

void ListSerialPorts(std::vector<std::wstring>& ports) {
  const std::string root = platform::SerialDeviceRoot();
  std::error_code error;
  if (!std::filesystem::is_directory(std::filesystem::path(root) / "sys/class/tty", error)) return;
  ports.clear();
  for (const platform::SerialDevice& device : platform::ListSerialDevices(root)) {
    ports.push_back(platform::FromUtf8Lossy(device.Path));
  }
}

std::string SerialDevicePath(const std::wstring& portName) {
  return platform::SerialDevicePathForName(platform::ToUtf8Lossy(portName));
}

int32_t ParseIntField(std::wstring_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  uint32_t value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) value = value * 10u + static_cast<uint32_t>(text[i] - L'0');
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

}  // namespace modbusdrv
