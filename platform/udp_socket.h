// IPv4 datagram sockets: a socket bound to a local address and port that receives datagrams,
// and a one-shot sender. The descriptors are non-blocking; wait on them with poll_io.h.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// Opens an IPv4 UDP socket bound to the address (first octet in the top byte; 0 for every local
// address) and port (0 lets the system choose). -1 when the socket cannot be made or bound.
int OpenUdpSocket(uint32_t bindIpv4, uint16_t port);

// The local port a bound socket has; -1 when it cannot be read.
int UdpLocalPort(int fd);

// Receives one datagram into the buffer. Returns the datagram's whole length, which exceeds
// `size` when the datagram did not fit (the rest of it is dropped), or -1 on an error
// (EAGAIN included).
long ReceiveDatagram(int fd, uint8_t* data, size_t size);

// Sends one datagram to the IPv4 address and port from a fresh socket; true when the whole
// datagram was handed to the system.
bool SendUdpDatagram(uint32_t ipv4, uint16_t port, const uint8_t* data, size_t size);

}  // namespace platform
