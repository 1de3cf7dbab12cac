#include "ui/views/status_chart/status_chart_pane.h"

#include <QTabBar>
#include <QTabWidget>

#include <map>

#include "core/link/app_environment.h"
#include "core/env/exception_error.h"
#include "core/env/page_names.h"
#include "core/project/project.h"
#include "core/project/status_chart.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/views/status_chart/status_chart_view.h"

namespace Brenno {

namespace {

StatusChart* CurrentChart() {
  AppEnvironment* env = InstalledAppEnvironment();
  if (env == nullptr || env->ProjectList.empty()) return nullptr;
  return &env->ProjectList.back().StatusChart;
}

QString PageLabel(const StatusChart& chart, int key) {
  if (!chart.HasWorkingPage(key)) throw ExceptionLogicError();
  return QString::fromStdWString(DescribeTablePageKey(chart, key));
}

}  // namespace

CStatusChartPane::CStatusChartPane(const QString& title, QWidget* parent) : QDockWidget(title, parent) {
  setObjectName(QStringLiteral("StatusChartPane"));
  tabs_ = new QTabWidget(this);
  tabs_->setTabPosition(QTabWidget::South);
  tabs_->setDocumentMode(true);
  tabs_->setTabsClosable(false);
  setWidget(tabs_);
  setFocusPolicy(Qt::StrongFocus);
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) { OnActiveTabChanged(index); });
  RebuildTabs();
  if (StatusChart* chart = CurrentChart()) {
    const std::vector<int> keys = chart->ListKeys();
    if (!keys.empty()) SelectPageKey(keys.front());
  }
}

CStatusChartPane::~CStatusChartPane() = default;

CStatusChartView* CStatusChartPane::ActiveView() const {
  return qobject_cast<CStatusChartView*>(tabs_->currentWidget());
}

CStatusChartView* CStatusChartPane::ViewOfKey(int key) const {
  CStatusChartView* found = nullptr;
  for (int i = 0; i < tabs_->count(); ++i) {
    auto* view = qobject_cast<CStatusChartView*>(tabs_->widget(i));
    if (view != nullptr && view->PageKey() == key) found = view;
  }
  return found;
}

int CStatusChartPane::TabCount() const { return tabs_->count(); }

void CStatusChartPane::RebuildTabs() {
  rebuilding_ = true;
  std::map<int, CStatusChartView*> views;
  for (int i = 0; i < tabs_->count(); ++i) {
    if (auto* view = qobject_cast<CStatusChartView*>(tabs_->widget(i))) views[view->PageKey()] = view;
  }
  CStatusChartView* active = ActiveView();
  const int activeKey = active != nullptr ? active->PageKey() : -1;
  const bool shown = tabs_->isVisible();
  if (shown) tabs_->setUpdatesEnabled(false);
  while (tabs_->count() > 0) tabs_->removeTab(0);

  StatusChart* chart = CurrentChart();
  const std::vector<int> keys = chart != nullptr ? chart->ListKeys() : std::vector<int>{};
  for (auto it = views.begin(); it != views.end();) {
    if (std::find(keys.begin(), keys.end(), it->first) == keys.end()) {
      // Deleted later: the view may be the one whose command removed its page.
      it->second->hide();
      it->second->deleteLater();
      it = views.erase(it);
    } else {
      ++it;
    }
  }
  int activeIndex = -1;
  for (int key : keys) {
    const QString label = PageLabel(*chart, key);
    CStatusChartView* view = nullptr;
    if (auto found = views.find(key); found != views.end()) {
      view = found->second;
      view->OnPaneUpdate(UpdChartRebuild, 0);
    } else {
      view = new CStatusChartView();
      view->SetPageKey(key);
      view->Create(tabs_, key);
    }
    const int index = tabs_->addTab(view, label);
    if (key == activeKey) activeIndex = index;
  }
  if (activeIndex >= 0) {
    tabs_->setCurrentIndex(activeIndex);
  } else if (tabs_->count() > 0) {
    tabs_->setCurrentIndex(0);
  }
  if (shown) {
    tabs_->setUpdatesEnabled(true);
    tabs_->update();
  }
  rebuilding_ = false;
}

void CStatusChartPane::RetitleTabs() {
  StatusChart* chart = CurrentChart();
  if (chart == nullptr) return;
  const bool shown = tabs_->isVisible();
  if (shown) tabs_->setUpdatesEnabled(false);
  for (int i = 0; i < tabs_->count(); ++i) {
    if (auto* view = qobject_cast<CStatusChartView*>(tabs_->widget(i)))
      tabs_->setTabText(i, PageLabel(*chart, view->PageKey()));
  }
  if (shown) tabs_->setUpdatesEnabled(true);
}

void CStatusChartPane::SelectPageKey(int key) {
  int last = -1;
  for (int i = 0; i < tabs_->count(); ++i) {
    auto* view = qobject_cast<CStatusChartView*>(tabs_->widget(i));
    if (view != nullptr && view->PageKey() == key) last = i;
  }
  if (last >= 0) tabs_->setCurrentIndex(last);
}

void CStatusChartPane::OnPaneRequest(uint16_t code, intptr_t value) {
  switch (code) {
    case UpdChartPagesRebuild: RebuildTabs(); break;
    case UpdChartPagesRetitle: RetitleTabs(); break;
    case UpdChartPageSelect: SelectPageKey(static_cast<int>(value)); break;
    default: break;
  }
  if (CStatusChartView* view = ActiveView()) view->OnPaneUpdate(code, value);
}

bool CStatusChartPane::IsActivePageFocused() const {
  CStatusChartView* view = ActiveView();
  return view != nullptr && IsGridViewFocused(view);
}

bool CStatusChartPane::OnCmdMsg(int offset) {
  CStatusChartView* view = ActiveView();
  if (view == nullptr || !IsGridViewFocused(view)) return false;
  return view->OnCmdMsg(offset);
}

bool CStatusChartPane::IsCommandEnabled(int offset) {
  CStatusChartView* view = ActiveView();
  return view != nullptr && IsGridViewFocused(view) && view->IsCommandEnabled(offset);
}

void CStatusChartPane::focusInEvent(QFocusEvent* event) {
  QDockWidget::focusInEvent(event);
  if (CStatusChartView* view = ActiveView()) view->setFocus();
}

void CStatusChartPane::OnActiveTabChanged(int) {
  if (rebuilding_) return;
  CStatusChartView* view = ActiveView();
  if (view == nullptr) return;
  const int state = view->CommStateNow();
  if (!CTableViewCtrl::DrawsRows(state)) return;
  NotifyMainFrame(EvStatusChartTabChanged, static_cast<intptr_t>(view->PageKey()));
}

}  // namespace Brenno
