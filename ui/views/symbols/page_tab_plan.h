// How a tabbed container of table views follows the pages of its paged table: which views go,
// which stay, which are made, in which order the tabs stand and which tab becomes active; and
// the tab plumbing the data block and variable symbol windows share.
#pragma once

#include <QString>
#include <QTabWidget>

#include <cstdint>
#include <map>
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

// The tabs below hold views of class View, each showing the page its `keyOf` names.

// The view of the first tab that shows page `key`; null when none does.
template <class View>
View* FindPageTabView(const QTabWidget& tabs, int (View::*keyOf)() const, int key) {
  for (int i = 0; i < tabs.count(); ++i) {
    auto* view = dynamic_cast<View*>(tabs.widget(i));
    if (view != nullptr && (view->*keyOf)() == key) return view;
  }
  return nullptr;
}

// The index of the last tab that shows page `key`; -1 when none does.
template <class View>
int FindPageTabIndex(const QTabWidget& tabs, int (View::*keyOf)() const, int key) {
  for (int i = tabs.count() - 1; i >= 0; --i) {
    auto* view = dynamic_cast<View*>(tabs.widget(i));
    if (view != nullptr && (view->*keyOf)() == key) return i;
  }
  return -1;
}

// Lays the tabs out again for the working pages `pageKeys` (ascending) as PlanPageTabs says: the
// views of vanished pages are hidden and deleted once control is back in the event loop (a
// command of such a view may have led here), a kept view is given `rebuildCode`, a new one is
// made by `make(key)` (created with the tab widget as parent); every tab is titled `title(key)`
// and the previously active page stays active. Signals and repaints are the caller's business.
template <class View, class Make, class Title>
void RebuildPageTabs(QTabWidget& tabs, int (View::*keyOf)() const, const std::vector<int>& pageKeys,
                     uint16_t rebuildCode, Make make, Title title) {
  std::map<int, View*> views;
  std::vector<int> viewKeys;
  for (int i = 0; i < tabs.count(); ++i) {
    if (auto* view = dynamic_cast<View*>(tabs.widget(i))) {
      views[(view->*keyOf)()] = view;
      viewKeys.push_back((view->*keyOf)());
    }
  }
  const View* active = dynamic_cast<View*>(tabs.currentWidget());
  const PageTabPlan plan =
      PlanPageTabs(viewKeys, active != nullptr ? (active->*keyOf)() : 0, active != nullptr, pageKeys);
  while (tabs.count() > 0) tabs.removeTab(0);
  for (const int key : plan.Destroyed) {
    View* view = views[key];
    view->hide();
    view->deleteLater();
  }
  for (const PageTabPlan::Tab& tab : plan.Tabs) {
    const QString label = title(tab.Key);
    View* view = nullptr;
    if (tab.Reused) {
      view = views[tab.Key];
      view->OnPaneUpdate(rebuildCode, 0);
    } else {
      view = make(tab.Key);
    }
    tabs.addTab(view, label);
  }
  if (plan.ActiveIndex != -1) tabs.setCurrentIndex(plan.ActiveIndex);
}

}  // namespace Brenno
