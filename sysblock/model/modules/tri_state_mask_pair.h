// Three-state points (0 cleared, 1 ticked, 2 indeterminate) stored as two bit masks A and B.
// Point i is bit i mod 8 of byte i div 8 of each mask. Both masks start with every bit set:
// state 1 clears the bit in A and B, state 0 clears it in A only, state 2 (and any other
// value) leaves both set. Reading back: A set gives 2, else B set gives 0, else 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace corvell {

class TriStateMaskPair {
 public:
  // Masks A and B for the given states, A first; each mask is ceil(states/8) bytes.
  static std::vector<uint8_t> Encode(std::span<const int> states);
  // State of point `index` from the two masks (the caller keeps index inside the masks).
  static int DecodePoint(std::span<const uint8_t> maskA, std::span<const uint8_t> maskB, size_t index);
  // Fills `states` from two masks; points beyond the masks' bits are left as they are.
  static void Decode(std::span<const uint8_t> maskA, std::span<const uint8_t> maskB, std::span<int> states);
};

}  // namespace corvell
