// System page 2: the force states of the controller's 64 digital points (I0.0-I3.7 are points
// 0-31, Q0.0-Q3.7 points 32-63).
//
// Page layout (16 bytes): bytes 0-7 set A, one bit per point, 1 = not forced; bytes 8-15 set B,
// for a forced point 0 = forced on, 1 = forced off. Point i is bit i mod 8 of byte i / 8 (A)
// and of byte 8 + i / 8 (B).
#pragma once

#include <array>

#include "sysblock/model/page_map.h"

namespace corvell {

// Force state of a point as a three-state check box holds it.
constexpr int kForcedOff = 0;
constexpr int kForcedOn = 1;
constexpr int kNotForced = 2;

constexpr int kForcePointCount = 64;
constexpr std::size_t kForceTablePageSize = 16;

using ForceStateArray = std::array<int, kForcePointCount>;

// The 64 states of a 16-byte page; any other length gives every point not forced.
ForceStateArray DecodeForceTablePage(const PageBytes& page);

// The 16-byte page of the states: forced on clears both bits, forced off only the A bit, not
// forced (and any other value) leaves both set.
PageBytes EncodeForceTablePage(const ForceStateArray& states);

}  // namespace corvell
