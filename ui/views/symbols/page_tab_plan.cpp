#include "ui/views/symbols/page_tab_plan.h"

#include <algorithm>

namespace Brenno {

PageTabPlan PlanPageTabs(const std::vector<int>& viewKeys, int activeKey, bool hasActive,
                         const std::vector<int>& pageKeys) {
  PageTabPlan plan;
  const auto listed = [&](int key) { return std::find(pageKeys.begin(), pageKeys.end(), key) != pageKeys.end(); };
  const auto hasView = [&](int key) { return std::find(viewKeys.begin(), viewKeys.end(), key) != viewKeys.end(); };
  for (const int key : viewKeys) {
    if (!listed(key) && std::find(plan.Destroyed.begin(), plan.Destroyed.end(), key) == plan.Destroyed.end()) {
      plan.Destroyed.push_back(key);
    }
  }
  for (const int key : pageKeys) {
    if (hasActive && key == activeKey) plan.ActiveIndex = static_cast<int>(plan.Tabs.size());
    plan.Tabs.push_back({key, hasView(key)});
  }
  if (plan.ActiveIndex == -1 && !plan.Tabs.empty()) plan.ActiveIndex = 0;
  return plan;
}

}  // namespace Brenno
