// How a tabbed container of table views follows the pages of its paged table: which views go,
// which stay, which are made, in which order the tabs stand and which tab becomes active.
#pragma once

#include <vector>

namespace Brenno {

struct PageTabPlan {
  struct Tab {
    int Key = 0;
    bool Reused = false;  // an existing view is kept (and told to rebuild its rows)
    bool operator==(const Tab&) const = default;
  };
  // Keys of the existing views whose pages are gone: their windows are destroyed.
  std::vector<int> Destroyed;
  // The tabs in page order.
  std::vector<Tab> Tabs;
  // The tab to activate: the previously active page's tab, else 0; -1 without tabs.
  int ActiveIndex = -1;
};

// `viewKeys`: the page keys of the views now in the tabs; `activeKey`: the active view's key
// (any value when none); `pageKeys`: the working page keys in ascending order.
PageTabPlan PlanPageTabs(const std::vector<int>& viewKeys, int activeKey, bool hasActive,
                         const std::vector<int>& pageKeys);

}  // namespace Brenno
