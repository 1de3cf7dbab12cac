// Fuzzes the reply decoders of one framing (chosen at build time): the input is a stream of
// replies, cut into frames by their heads and checked as the channels do.
#include <cstdint>
#include <cstdlib>

#include "modbusdrv/driver/modbus_frame.h"

using namespace modbusdrv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Framing framing = static_cast<Framing>(MODBUSDRV_FUZZ_FRAMING);
  if (size < 2) return 0;
  const uint8_t function = data[0] % 5 == 4 ? 16 : static_cast<uint8_t>(data[0] % 5);
  data += 1;
  size -= 1;
  while (size > 0) {
    const long total = ReplyFrameLength(framing, data, size);
    if (total <= 0 || static_cast<size_t>(total) > size) break;
    const DecodedReply reply = DecodeReply(framing, data, static_cast<size_t>(total), 1, function, 0);
    if (reply.status == ReplyStatus::Ok && reply.data.size() > 252) abort();
    data += total;
    size -= static_cast<size_t>(total);
  }
  return 0;
}
