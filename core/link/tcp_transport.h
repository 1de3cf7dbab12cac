// The "Network" kind of the link port: a TCP connection to the PLC at TCP port 2000. Every
// frame goes out behind six zero bytes and without its CRC; every reply starts with six bytes
// that are dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Brenno {

class CommPort;

inline constexpr size_t kNetworkPrefixSize = 6;

// Connects to the IPv4 address (first octet in the top byte) at the port's network TCP port.
// On failure: socket closed and marked -1, ExceptionSwitchNetworkConnectError.
void ConnectNetwork(CommPort& port, uint32_t ipv4);

// Sends the bytes on the port's socket. When a send fails, the rest is sent again up to three
// more times after the resend pause; when it still fails the socket is closed and marked -1 and
// ExceptionSwitchNetworkSendFailError is thrown.
void SendOnSocket(CommPort& port, const std::vector<uint8_t>& bytes);

// The TCP transfer. With the socket already closed by an error nothing is sent and the reply is
// empty. No reply within four network waits: ExceptionSwitchNetworkReceiveNone; a wait error:
// ExceptionSwitchNetworkBadError; a receive error or a connection closed before the reply is
// whole: ExceptionSwitchNetworkReceiveDataError; each closes the socket first. The reply is
// read up to the length its envelope announces.
void TransferOnNetwork(CommPort& port, std::vector<uint8_t>& bytes);

}  // namespace Brenno
