// Small helpers of the Modbus driver: checksums and hex conversions of the framings, address
// splitting, text checks of the dialogs and the list of the machine's serial ports.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace modbusdrv {

// CRC-16/MODBUS of the bytes, in wire order (low byte of the CRC first).
std::array<uint8_t, 2> ComputeCrc16(const uint8_t* data, uint16_t count);

// Modbus ASCII LRC: two's complement of the 8-bit sum of the bytes.
uint8_t ComputeLrc(const uint8_t* data, uint16_t count);

// '0'..'?' give 0..15 (code minus 0x30), 'A'..'F' give 10..15, anything else 0.
uint8_t HexCharToNibble(char c);
// 0..9 give '0'..'9', 10..15 give 'A'..'F', larger values 0.
char NibbleToHexChar(uint8_t value);

// Pairs of hex characters from the start of the text up to a pair that starts with a
// carriage return (or the end of the text) become bytes, appended to `out`.
void DecodeHexText(std::string_view text, std::vector<uint8_t>& out);
// Two upper-case hex characters per byte, high half first, appended to `out`.
void EncodeHexText(const uint8_t* bytes, size_t count, std::string& out);

// Splits at the first separator; false when there is none or either side is empty.
bool SplitAtSeparator(std::wstring_view text, wchar_t separator, std::wstring& left, std::wstring& right);

// Equal without regard to letter case.
bool EqualNoCase(std::wstring_view a, std::wstring_view b);

// True when the text is empty or holds only the digits 0 to 9.
bool IsDecimalText(std::wstring_view text);

// Names of the machine's serial ports: the device paths platform::ListSerialDevices finds, in
// its order. The list is left as it was when the system's tty class cannot be read.
void ListSerialPorts(std::vector<std::wstring>& ports);

// Device path for a configured port name (platform::SerialDevicePathForName): "COMn" (any
// letter case) maps to /dev/ttyS{n-1}, every other name is taken as a path.
std::string SerialDevicePath(const std::wstring& portName);

// Reads a number as the C library's atoi would (leading blanks, optional sign, digits up to
// the first other character, no digits give 0), without overflow: the value wraps to 32 bits.
int32_t ParseIntField(std::wstring_view text);

}  // namespace modbusdrv
