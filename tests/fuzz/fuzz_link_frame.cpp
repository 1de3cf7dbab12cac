// Feeds arbitrary bytes to the reply side of the link's frame layer: the CRC and envelope
// checks of the serial/pipe/relay framing and of the TCP framing, then the packet checks at
// every check level. The first input byte picks the framing and level, the second the station;
// the rest is the reply as it came from the port. Every fault must be an ExceptionError, and an
// accepted reply must shrink by exactly its headers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/env/exception_error.h"
#include "core/link/link_commands.h"
#include "core/link/link_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const bool withCrc = (data[0] & 1) != 0;
  const int level = (data[0] >> 1) & 7;
  const int station = data[1];
  const std::vector<uint8_t> reply(data + 2, data + size);

  std::vector<uint8_t> bytes = reply;
  (void)Brenno::ExpectedEnvelopeLength(bytes, 0, withCrc);
  try {
    Brenno::UnpackReplyEnvelope(bytes, station, withCrc);
    if (bytes.size() + 4 + (withCrc ? 2 : 0) != reply.size()) std::abort();
    const uint16_t code = bytes.size() >= 2 ? static_cast<uint16_t>((bytes[0] << 8) | bytes[1]) : 0;
    const uint16_t index = bytes.size() >= 6 ? static_cast<uint16_t>((bytes[4] << 8) | bytes[5]) : 0x8000;
    const size_t packet = bytes.size();
    Brenno::CheckReplyPacket(bytes, level, code, index);
    if (packet >= 6 && bytes.size() != packet - 6) std::abort();
    Brenno::ReverseDataForCode(code, bytes);
    (void)Brenno::BytesToWords(bytes);
  } catch (const Brenno::ExceptionError&) {
  }
  return 0;
}
