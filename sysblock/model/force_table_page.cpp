#include "sysblock/model/force_table_page.h"

namespace corvell {

ForceStateArray DecodeForceTablePage(const PageBytes& page) {
  ForceStateArray states;
  states.fill(kNotForced);
  if (page.size() != kForceTablePageSize) return states;
  for (int i = 0; i < kForcePointCount; ++i) {
    const uint8_t mask = static_cast<uint8_t>(1u << (i % 8));
    if (page[i / 8] & mask) continue;
    states[i] = (page[8 + i / 8] & mask) ? kForcedOff : kForcedOn;
  }
  return states;
}

PageBytes EncodeForceTablePage(const ForceStateArray& states) {
  PageBytes page(kForceTablePageSize, 0xFF);
  for (int i = 0; i < kForcePointCount; ++i) {
    const uint8_t clear = static_cast<uint8_t>(~(1u << (i % 8)));
    if (states[i] == kForcedOn) {
      page[i / 8] &= clear;
      page[8 + i / 8] &= clear;
    } else if (states[i] == kForcedOff) {
      page[i / 8] &= clear;
    }
  }
  return page;
}

}  // namespace corvell
