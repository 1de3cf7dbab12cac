// Stream sockets: connecting to a TCP peer by IPv4 address with a time limit, and to a Unix
// domain socket by path. The descriptors come back non-blocking; use poll_io.h on them.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Connects to the IPv4 address (first octet in the top byte) and port. -1 when the connection
// is refused, fails or is not made within the time limit.
int ConnectTcp(uint32_t ipv4, uint16_t port, int timeoutMs);

// Connects to the Unix domain stream socket at the path; -1 on failure or a path too long.
int ConnectUnix(const std::string& path);

}  // namespace platform
