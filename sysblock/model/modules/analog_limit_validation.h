// The plausibility check run on every commit of the "System module" page: upper limits must
// lie above lower limits in the Istrel, Pruvel, Kavrin, Nuvask and Oskavel values, whatever
// module is being committed. Steps run in a fixed order and the first violation wins.
#pragma once

#include <optional>
#include <string>

#include "sysblock/model/modules/module_params.h"

namespace corvell {

struct AnalogLimitViolation {
  int step;             // 1 to 7, in checking order
  int channel;          // the first violating channel
  std::wstring message; // the text the page shows (the same in both languages)
};

// Nothing when every check passes. Values are read as leading decimal numbers rounded to
// single precision, as the record builders store them; an upper value less than or equal to
// its lower value violates the step.
std::optional<AnalogLimitViolation> ValidateAnalogLimits(const ModuleParameterSet& params);

}  // namespace corvell
