// Answers to a read of holding registers as a slave might send them: the first four bytes
// choose the request (slave, quantity, swap) and how the answer is cut into pieces; the rest
// is what arrives on the line. The transaction must never read or write out of bounds.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "trend/link/modbus_link.h"

namespace {

// A link that delivers the given bytes, at most `piece` per Receive, and records Close.
class ScriptedLink : public vandrel::ModbusLink {
 public:
  ScriptedLink(const uint8_t* data, size_t size, size_t piece) : data_(data), size_(size), piece_(piece) {}
  bool IsOpen() const override { return open_; }
  bool Open() override { return open_ = true; }
  void Close() override { open_ = false; }
  bool Send(const uint8_t*, size_t count) override { return open_ && count == 8; }
  size_t Receive(uint8_t* buffer, size_t count, int) override {
    if (!open_) return 0;
    size_t n = std::min({count, piece_, size_ - pos_});
    std::copy(data_ + pos_, data_ + pos_ + n, buffer);
    pos_ += n;
    return n;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t piece_;
  size_t pos_ = 0;
  bool open_ = true;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const uint8_t slave = data[0];
  const uint32_t quantity = data[1];  // 0 and more than 125 are refused
  const bool swap = data[2] & 1;
  const size_t piece = 1 + data[3] % 300;
  std::vector<uint8_t> destination(2 * quantity + 1, 0xEE);
  ScriptedLink link(data + 4, size - 4, piece);
  const auto outcome =
      vandrel::ReadHoldingRegistersOutcome(link, slave, 2000, quantity, destination.data(), 100, swap);
  if (destination.back() != 0xEE) abort();
  const bool closes = outcome >= vandrel::kReadNoAnswer && outcome <= vandrel::kReadPartial;
  if (link.IsOpen() == closes) abort();
  if (outcome == vandrel::kReadOk && (data[4] != slave || data[5] != 3)) abort();
  // The answer check on its own, with the whole input as the answer.
  std::vector<uint8_t> dest2(2 * 125);
  (void)vandrel::CheckReadAnswer(data + 4, size - 4, slave, std::min<uint32_t>(quantity, 125), dest2.data(), swap);
  return 0;
}
