// Reading one reply from a descriptor for the transports of the link port: a wait for the
// first byte, then more bytes until the reply is as long as its own header says, the line
// falls silent, a size limit or a total time limit is reached.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace Brenno {

struct StreamReadLimits {
  int FirstByteMs = 0;  // wait for the first byte
  int GapMs = 0;        // silence after a byte that ends the reply
  int TotalMs = 0;      // limit of the whole read from its start; 0 none
  size_t Cap = 0;       // most bytes to read; 0 none
};

enum class StreamReadEnd {
  kComplete,  // the wanted length arrived
  kSilent,    // the line fell silent (or the total limit ran out) after some bytes
  kFull,      // the size limit was reached
  kNoData,    // nothing arrived within the first wait
  kClosed,    // end of stream; `out` holds what came before it
  kError,     // a read error
};

// Appends to `out`. `wanted` gets the bytes read so far (including what `out` held on entry) and
// returns the least length the reply can have as far as those bytes tell (for instance the size
// of its header until the header is in, then the whole length the header announces), or 0 when
// the bytes tell nothing; then the reply ends only by silence, the size or the time limit.
// Reads never go past the wanted length, so bytes of a later message stay unread.
StreamReadEnd ReadStreamReply(int fd, std::vector<uint8_t>& out, const StreamReadLimits& limits,
                              const std::function<size_t(const std::vector<uint8_t>&)>& wanted);

}  // namespace Brenno

namespace Brenno {

struct CommTimeouts;

// One frame exchange on a pipe or serial descriptor: drops stale input, writes the frame within
// the write time limit, waits `WaitReceive` ms for the first reply byte and reads until the
// envelope is complete, the line is silent for `ReadIntervalTimeout` ms or the receive buffer
// (kPortReceiveLimit) is full. Throws ExceptionExchSendDataError, ExceptionExchTimeoutError,
// ExceptionExchReceiveDataError or ExceptionExchReceiveDataLengthError.
void TransferEnvelopeOnDescriptor(int fd, const CommTimeouts& timeouts, std::vector<uint8_t>& bytes);

}  // namespace Brenno
