#include "sysblock/model/force_table_page.h"

#include <gtest/gtest.h>

namespace corvell {
namespace {

PageBytes Page(std::initializer_list<std::pair<int, uint8_t>> bytes) {
  PageBytes page(16, 0xFF);
  for (auto [offset, value] : bytes) page[offset] = value;
  return page;
}

TEST(ForceTablePage, DecodesEachPointFromItsTwoBits) {
  // All zero: every point forced on.
  ForceStateArray states = DecodeForceTablePage(PageBytes(16, 0x00));
  for (int s : states) EXPECT_EQ(s, kForcedOn);

  // Set A all ones: nothing forced, whatever set B holds.
  PageBytes notForced = Page({{8, 0x00}, {9, 0x12}, {15, 0x00}});
  states = DecodeForceTablePage(notForced);
  for (int s : states) EXPECT_EQ(s, kNotForced);
  EXPECT_EQ(EncodeForceTablePage(states), PageBytes(16, 0xFF));

  // Q0.7 (point 39) forced off.
  states = DecodeForceTablePage(Page({{4, 0x7F}, {12, 0x80}}));
  for (int i = 0; i < kForcePointCount; ++i) EXPECT_EQ(states[i], i == 39 ? kForcedOff : kNotForced) << i;

  // I0.0 with byte 0 = FE: on when its B bit is 0, off when it is 1.
  EXPECT_EQ(DecodeForceTablePage(Page({{0, 0xFE}, {8, 0xFE}}))[0], kForcedOn);
  EXPECT_EQ(DecodeForceTablePage(Page({{0, 0xFE}, {8, 0xFF}}))[0], kForcedOff);
}

TEST(ForceTablePage, EncodesStatesAndTreatsUnknownValuesAsNotForced) {
  ForceStateArray states;
  states.fill(kNotForced);
  states[0] = kForcedOn;    // I0.0
  states[31] = kForcedOff;  // I3.7
  states[63] = kForcedOn;   // Q3.7
  states[40] = 7;           // unknown value
  PageBytes expected = Page({{0, 0xFE}, {8, 0xFE}, {3, 0x7F}, {7, 0x7F}, {15, 0x7F}});
  EXPECT_EQ(EncodeForceTablePage(states), expected);
  states[40] = kNotForced;
  EXPECT_EQ(DecodeForceTablePage(expected), states);
}

TEST(ForceTablePage, WrongLengthDecodesAsNothingForced) {
  for (size_t size : {0u, 15u, 17u}) {
    for (int s : DecodeForceTablePage(PageBytes(size, 0x00))) EXPECT_EQ(s, kNotForced);
  }
}

}  // namespace
}  // namespace corvell
