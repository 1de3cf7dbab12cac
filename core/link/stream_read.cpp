#include "core/link/stream_read.h"

#include <algorithm>
#include <cerrno>

#include "platform/poll_io.h"

namespace Brenno {

StreamReadEnd ReadStreamReply(int fd, std::vector<uint8_t>& out, const StreamReadLimits& limits,
                              const std::function<size_t(const std::vector<uint8_t>&)>& wanted) {
  const int64_t start = platform::MonotonicMs();
  bool any = false;
  uint8_t chunk[512];
  for (;;) {
    const size_t need = wanted ? wanted(out) : 0;
    if (need != 0 && out.size() >= need) return StreamReadEnd::kComplete;
    if (limits.Cap != 0 && out.size() >= limits.Cap) return StreamReadEnd::kFull;

    int wait = any ? limits.GapMs : limits.FirstByteMs;
    if (limits.TotalMs > 0) {
      const int64_t left = start + limits.TotalMs - platform::MonotonicMs();
      wait = static_cast<int>(std::clamp<int64_t>(left, 0, wait));
    }
    const platform::WaitResult ready = platform::WaitReadable(fd, std::max(wait, 0));
    if (ready == platform::WaitResult::kError) return StreamReadEnd::kError;
    if (ready == platform::WaitResult::kTimeout) return any ? StreamReadEnd::kSilent : StreamReadEnd::kNoData;

    size_t room = sizeof chunk;
    if (need > out.size()) room = std::min(room, need - out.size());
    if (limits.Cap != 0) room = std::min(room, limits.Cap - out.size());
    const long n = platform::ReadSome(fd, chunk, room);
    if (n < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK) continue;
      return StreamReadEnd::kError;
    }
    if (n == 0) return StreamReadEnd::kClosed;
    out.insert(out.end(), chunk, chunk + n);
    any = true;
  }
}

}  // namespace Brenno

#include "core/env/exception_error.h"
#include "core/link/comm_port.h"
#include "core/link/link_frame.h"

namespace Brenno {

void TransferEnvelopeOnDescriptor(int fd, const CommTimeouts& timeouts, std::vector<uint8_t>& bytes) {
  // Bytes still waiting belong to an earlier reply (one cut short, or one that came late); read
  // now they would be taken for the answer to this request.
  platform::DiscardPendingInput(fd);

  int writeLimit = -1;
  if (timeouts.WriteTotalTimeoutMultiplier > 0 || timeouts.WriteTotalTimeoutConstant > 0) {
    writeLimit = timeouts.WriteTotalTimeoutMultiplier * static_cast<int>(bytes.size()) +
                 timeouts.WriteTotalTimeoutConstant;
  }
  if (platform::WriteAll(fd, bytes.data(), bytes.size(), writeLimit) != bytes.size()) {
    throw ExceptionExchSendDataError();
  }

  switch (platform::WaitReadable(fd, std::max(timeouts.WaitReceive, 0))) {
    case platform::WaitResult::kTimeout: throw ExceptionExchTimeoutError();
    case platform::WaitResult::kError: throw ExceptionExchReceiveDataError();
    case platform::WaitResult::kReady: break;
  }

  StreamReadLimits limits;
  limits.FirstByteMs = 0;
  limits.GapMs = timeouts.ReadIntervalTimeout > 0 ? timeouts.ReadIntervalTimeout : std::max(timeouts.WaitReceive, 1);
  if (timeouts.ReadTotalTimeoutMultiplier > 0 || timeouts.ReadTotalTimeoutConstant > 0) {
    limits.TotalMs = timeouts.ReadTotalTimeoutMultiplier * static_cast<int>(kPortReceiveLimit) +
                     timeouts.ReadTotalTimeoutConstant;
  }
  limits.Cap = kPortReceiveLimit;
  std::vector<uint8_t> reply;
  const StreamReadEnd end = ReadStreamReply(fd, reply, limits, [](const std::vector<uint8_t>& got) {
    return ExpectedEnvelopeLength(got, 0, true);
  });
  if (end == StreamReadEnd::kError) throw ExceptionExchReceiveDataError();
  if (reply.empty()) throw ExceptionExchReceiveDataLengthError();
  bytes = std::move(reply);
}

}  // namespace Brenno
