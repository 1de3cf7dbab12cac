// The "Tarvex Mobile" kind of the link port: a relay reached over TCP that forwards each frame
// to the PLC over the mobile network. Every message in either direction has a 10-byte header in
// front: "ST", the 16-bit sequence number, the message type (1 login, 5 link frame), three zero
// bytes and the 16-bit body length, the numbers little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Brenno {

class CommPort;

inline constexpr size_t kRelayHeaderSize = 10;
inline constexpr size_t kRelayLoginSize = 68;
inline constexpr uint8_t kRelayTypeLogin = 1;
inline constexpr uint8_t kRelayTypeFrame = 5;

std::vector<uint8_t> BuildRelayHeader(uint16_t sequence, uint8_t type, uint16_t bodyLength);

// The 68-byte login: header (sequence 0, type 1, length 58), the value 2, six zero bytes, then the
// telephone number in the multibyte code page ended by a NUL, zeros to the end. False, `out`
// unchanged, when the number cannot be converted or does not fit 49 bytes.
bool BuildRelayLoginRequest(const std::wstring& telephone, std::vector<uint8_t>& out);

// Connects to the IPv4 address at the TCP port and logs in with the telephone number. The relay
// accepts when byte 11 of its reply is 0 (a shorter reply counts as accepted). A failed connect,
// send, wait or receive, a closed connection, a refused login or a number that does not fit the
// login: socket closed and marked -1, ExceptionSwitchNetworkConnectError.
void ConnectRelay(CommPort& port, uint32_t ipv4, int tcpPort, const std::wstring& telephone);

// The relay transfer: the header with the port's sequence counter and the whole frame. Without
// a socket: ExceptionSwitchNetworkReceiveNone. Send failures as SendOnSocket; no reply within
// four relay waits: ExceptionSwitchNetworkReceiveNone; a wait error: ExceptionSwitchNetworkBadError;
// a receive error or a body shorter than announced: ExceptionSwitchNetworkReceiveDataError (each
// closing the socket); an empty body: ExceptionSwitchNetworkReceiveNone. The reply is the body.
void TransferOnRelay(CommPort& port, std::vector<uint8_t>& bytes);

}  // namespace Brenno
