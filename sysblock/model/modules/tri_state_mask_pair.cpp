#include "sysblock/model/modules/tri_state_mask_pair.h"

#include <algorithm>

namespace corvell {

std::vector<uint8_t> TriStateMaskPair::Encode(std::span<const int> states) {
  const size_t maskBytes = (states.size() + 7) / 8;
  std::vector<uint8_t> masks(2 * maskBytes, 0xFF);
  for (size_t i = 0; i < states.size(); ++i) {
    const uint8_t bit = static_cast<uint8_t>(1u << (i % 8));
    if (states[i] == 1) {
      masks[i / 8] &= static_cast<uint8_t>(~bit);
      masks[maskBytes + i / 8] &= static_cast<uint8_t>(~bit);
    } else if (states[i] == 0) {
      masks[i / 8] &= static_cast<uint8_t>(~bit);
    }
  }
  return masks;
}

int TriStateMaskPair::DecodePoint(std::span<const uint8_t> maskA, std::span<const uint8_t> maskB, size_t index) {
  const uint8_t bit = static_cast<uint8_t>(1u << (index % 8));
  if (maskA[index / 8] & bit) return 2;
  return (maskB[index / 8] & bit) ? 0 : 1;
}

void TriStateMaskPair::Decode(std::span<const uint8_t> maskA, std::span<const uint8_t> maskB, std::span<int> states) {
  const size_t points = std::min({states.size(), maskA.size() * 8, maskB.size() * 8});
  for (size_t i = 0; i < points; ++i) states[i] = DecodePoint(maskA, maskB, i);
}

}  // namespace corvell
