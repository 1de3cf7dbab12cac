// Waiting, reading and writing on file descriptors with time limits (poll based), shared by the
// serial line and the socket wrappers. Every call retries on EINTR and never raises SIGPIPE.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// Milliseconds of a monotonic clock; only differences are meaningful.
int64_t MonotonicMs();

enum class WaitResult { kReady, kTimeout, kError };

// Waits until the descriptor is readable (data, end of stream or an error condition counts) or
// writable. A negative time waits without limit.
WaitResult WaitReadable(int fd, int timeoutMs);
WaitResult WaitWritable(int fd, int timeoutMs);

// One read of at most `size` bytes: the count, 0 at end of stream, -1 on an error (EAGAIN
// included, so call it after WaitReadable).
long ReadSome(int fd, uint8_t* data, size_t size);

// Writes all bytes, waiting for writability when the descriptor is non-blocking. Sockets are
// written with MSG_NOSIGNAL. Returns the number of bytes written before an error or the time
// limit (a negative limit waits without end); equal to `size` on success.
size_t WriteAll(int fd, const uint8_t* data, size_t size, int timeoutMs);

// Reads and drops whatever input is already waiting on the descriptor, without blocking.
void DiscardPendingInput(int fd);

// Closes the descriptor when it is valid and sets it to -1.
void CloseDescriptor(int& fd);

}  // namespace platform
