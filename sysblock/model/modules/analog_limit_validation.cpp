#include "sysblock/model/modules/analog_limit_validation.h"

#include <functional>
#include <vector>

#include "sysblock/model/modules/module_types.h"
#include "sysblock/model/modules/plc_node.h"

namespace corvell {

namespace {

struct LimitPair {
  std::wstring lower;
  std::wstring upper;
};

struct Step {
  uint8_t type;  // the module type whose model converts the texts
  std::vector<LimitPair> pairs;
  const wchar_t* message;
};

template <class Channels, class Lower, class Upper>
std::vector<LimitPair> Pairs(const Channels& channels, size_t count, Lower lower, Upper upper) {
  std::vector<LimitPair> pairs;
  for (size_t k = 0; k < count; ++k) pairs.push_back({channels[k].*lower, channels[k].*upper});
  return pairs;
}

// The first channel whose upper value is not greater than its lower one, if any. All texts
// of the step are converted through one model of the step's type before any comparison.
std::optional<int> FirstViolation(const Step& step) {
  const ModuleTypeInfo* info = FindModuleType(step.type);
  auto node = CreatePlcNode(step.type, info->inputCount, info->outputCount);
  auto& model = dynamic_cast<LimitTextModel&>(*node);
  std::vector<std::pair<float, float>> values;
  for (size_t k = 0; k < step.pairs.size(); ++k) {
    model.SetParamText(0, step.pairs[k].lower);
    const float lower = model.ParamTextToNumber(0);
    model.SetParamText(1, step.pairs[k].upper);
    values.emplace_back(lower, model.ParamTextToNumber(1));
  }
  node.reset();
  for (size_t k = 0; k < values.size(); ++k)
    if (values[k].second <= values[k].first) return static_cast<int>(k);
  return std::nullopt;
}

}  // namespace

std::optional<AnalogLimitViolation> ValidateAnalogLimits(const ModuleParameterSet& params) {
  using AI = AnalogInputChannel;
  using AO = AnalogOutputChannel;
  using T = TemperatureChannel;
  // The checks cover Istrel channels 0 to 3 and the alarm limits of Istrel and Pruvel only;
  // every other analog value is stored as entered.
  const Step steps[] = {
      {4, Pairs(params.istrel.channels, 4, &AI::engineeringLower, &AI::engineeringUpper),
       L"Istrel工程量的上限值要大于下限值!"},
      {4, Pairs(params.istrel.channels, 4, &AI::alarmLower, &AI::alarmUpper), L"Istrel报警的上限值要大于下限值!"},
      {9, Pairs(params.pruvel.channels, 4, &AI::engineeringLower, &AI::engineeringUpper),
       L"Pruvel工程量的上限值要大于下限值!"},
      {9, Pairs(params.pruvel.channels, 4, &AI::alarmLower, &AI::alarmUpper), L"Pruvel报警的上限值要大于下限值!"},
      {3, Pairs(params.kavrin.channels, 4, &AO::engineeringLower, &AO::engineeringUpper),
       L"Kavrin工程量的上限值要大于下限值!"},
      {6, Pairs(params.nuvask.channels, 4, &T::lowerLimit, &T::upperLimit), L"Nuvask工程量的上限值要大于下限值!"},
      {5, Pairs(params.oskavel.channels, 6, &T::lowerLimit, &T::upperLimit), L"Oskavel工程量的上限值要大于下限值!"},
  };
  for (size_t s = 0; s < std::size(steps); ++s) {
    if (const auto channel = FirstViolation(steps[s]))
      return AnalogLimitViolation{static_cast<int>(s) + 1, *channel, steps[s].message};
  }
  return std::nullopt;
}

}  // namespace corvell
