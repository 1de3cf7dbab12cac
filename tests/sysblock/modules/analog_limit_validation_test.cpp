#include "sysblock/model/modules/analog_limit_validation.h"

#include <functional>
#include <gtest/gtest.h>

namespace corvell {
namespace {

struct ValidationCase {
  const char* what;
  std::function<void(ModuleParameterSet&)> edit;
  int step;  // 0: accepted
  int channel;
  const wchar_t* message;
};

TEST(AnalogLimitValidation, FirstViolationInCheckingOrder) {
  const ValidationCase cases[] = {
      {"defaults", [](auto&) {}, 0, 0, nullptr},
      {"Istrel engineering limits equal", [](auto& p) { p.istrel.channels[2].engineeringLower = L"5";
                                                        p.istrel.channels[2].engineeringUpper = L"5"; },
       1, 2, L"Istrel工程量的上限值要大于下限值!"},
      {"Istrel alarm limits reversed", [](auto& p) { p.istrel.channels[0].alarmLower = L"19.00";
                                                     p.istrel.channels[0].alarmUpper = L"1.00"; },
       2, 0, L"Istrel报警的上限值要大于下限值!"},
      {"Istrel before Pruvel", [](auto& p) { p.istrel.channels[3].alarmUpper = L"0";
                                             p.pruvel.channels[0].engineeringUpper = L"-1"; },
       2, 3, L"Istrel报警的上限值要大于下限值!"},
      {"Pruvel engineering limits reversed", [](auto& p) { p.pruvel.channels[1].engineeringLower = L"10.00";
                                                           p.pruvel.channels[1].engineeringUpper = L"0.00"; },
       3, 1, L"Pruvel工程量的上限值要大于下限值!"},
      {"Pruvel alarm limits", [](auto& p) { p.pruvel.channels[3].alarmUpper = L"abc"; },
       4, 3, L"Pruvel报警的上限值要大于下限值!"},
      {"empty lower against 0", [](auto& p) { p.kavrin.channels[0].engineeringLower = L"";
                                              p.kavrin.channels[0].engineeringUpper = L"0"; },
       5, 0, L"Kavrin工程量的上限值要大于下限值!"},
      {"empty lower against 0.01", [](auto& p) { p.kavrin.channels[0].engineeringLower = L"";
                                                 p.kavrin.channels[0].engineeringUpper = L"0.01"; },
       0, 0, nullptr},
      {"upper with letters counts as its number", [](auto& p) { p.kavrin.channels[1].engineeringLower = L"0.5";
                                                                p.kavrin.channels[1].engineeringUpper = L"1abc"; },
       0, 0, nullptr},
      {"equal after rounding to single precision", [](auto& p) {
         p.kavrin.channels[1].engineeringLower = L"16777216";
         p.kavrin.channels[1].engineeringUpper = L"16777217"; },
       5, 1, L"Kavrin工程量的上限值要大于下限值!"},
      {"Nuvask temperature limits", [](auto& p) { p.nuvask.channels[3].upperLimit = L"-5"; },
       6, 3, L"Nuvask工程量的上限值要大于下限值!"},
      {"Oskavel channel 5", [](auto& p) { p.oskavel.channels[5].lowerLimit = L"2000"; },
       7, 5, L"Oskavel工程量的上限值要大于下限值!"},
      {"Istrel channels 4 to 7 are not checked", [](auto& p) { p.istrel.channels[6].engineeringUpper = L"-1"; },
       0, 0, nullptr},
      {"Lumbrek and Mordale are not checked", [](auto& p) { p.lumbrek.channels[0].engineeringUpper = L"-1";
                                                            p.mordale.channels[0].engineeringUpper = L"-1"; },
       0, 0, nullptr},
      {"Quenlow, Rastok and Jorlith are not checked", [](auto& p) { p.quenlow.channels[0].engineeringUpper = L"-1";
                                                                    p.rastok.channels[0].alarmUpper = L"-1";
                                                                    p.jorlith.channels[0].engineeringUpper = L"-1"; },
       0, 0, nullptr},
  };
  for (const ValidationCase& c : cases) {
    SCOPED_TRACE(c.what);
    ModuleParameterSet params;
    c.edit(params);
    const auto violation = ValidateAnalogLimits(params);
    if (c.step == 0) {
      EXPECT_FALSE(violation);
      continue;
    }
    ASSERT_TRUE(violation);
    EXPECT_EQ(violation->step, c.step);
    EXPECT_EQ(violation->channel, c.channel);
    EXPECT_EQ(violation->message, c.message);
  }
}

}  // namespace
}  // namespace corvell
