// The IPv4 address operand: the Ethernet exchange instruction takes the address of the PLC it
// exchanges with as its first operand, written as a dotted address. In the statement list the
// instruction is the definition at a fixed index of the instruction library, in the ladder the
// box "EXIO"; the compiler stores the address as a constant with its first number in the most
// significant byte. The link address of the configuration file, when written by hand as a
// dotted address, is read the same way.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace Brenno {

// The statement-list definition whose first operand is an IPv4 address, whatever the type.
inline constexpr int kIpAddressInstructionIndex = 177;
// The ladder box whose first input operand is an IPv4 address.
inline constexpr wchar_t kIpAddressElementName[] = L"EXIO";

// The four bytes, first number first, of the address the text names as inet_aton reads it (a
// dotted address, shorter dotted forms, or one number); blanks around it are ignored. False
// when the text names no address.
bool ParseIpv4Text(const std::wstring& text, std::array<uint8_t, 4>& bytes);
// The same address written as four dotted decimal numbers.
bool CanonicalIpv4Text(const std::wstring& text, std::wstring& dotted);

}  // namespace Brenno
