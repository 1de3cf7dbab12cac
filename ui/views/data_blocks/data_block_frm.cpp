#include "ui/views/data_blocks/data_block_frm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include <map>
#include <vector>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/page_names.h"
#include "core/project/project.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/views/symbols/page_tab_plan.h"

namespace Brenno {

namespace {

DataBlockTable& Blocks() { return CurrentProject().DataBlocks; }

// Whether the keyboard focus is in the window or one of its children.
bool HoldsFocus(const QWidget* window) {
  const QWidget* focus = QApplication::focusWidget();
  return focus != nullptr && (focus == window || window->isAncestorOf(focus));
}

// The tab label of a block: "<name> (<address>)". A key without a working page marks a broken
// table.
QString BlockTitle(int key) {
  const DataBlockTable& table = Blocks();
  if (!table.HasWorkingPage(key)) throw ExceptionLogicError();
  return QString::fromStdWString(DescribeTablePageKey(table, key));
}

}  // namespace

CDataBlockFrm::CDataBlockFrm(QWidget* parent) : QWidget(parent) {
  setWindowTitle(QString::fromWCharArray(PickText(L"Data Block", L"数据块")));
  setFocusPolicy(Qt::StrongFocus);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("DataBlockTabs"));
  tabs_->setTabPosition(QTabWidget::South);
  tabs_->setDocumentMode(true);
  tabs_->setTabsClosable(false);
  layout->addWidget(tabs_);
  connect(tabs_, &QTabWidget::currentChanged, this, [this] { OnActiveTabChanged(); });
  RebuildTabs();
  const std::vector<int> keys = Blocks().ListKeys();
  if (!keys.empty()) SelectBlockTab(keys.front());
}

CDataBlockView* CDataBlockFrm::ActiveView() const { return dynamic_cast<CDataBlockView*>(tabs_->currentWidget()); }

CDataBlockView* CDataBlockFrm::ViewOf(int key) const {
  for (int i = 0; i < tabs_->count(); ++i) {
    auto* view = dynamic_cast<CDataBlockView*>(tabs_->widget(i));
    if (view != nullptr && view->Key() == key) return view;
  }
  return nullptr;
}

void CDataBlockFrm::RebuildTabs() {
  // The tab changes of a rebuild are not the user's: they are not announced.
  const QSignalBlocker blocker(tabs_);
  const bool focused = HoldsFocus(this);
  std::map<int, CDataBlockView*> views;
  std::vector<int> viewKeys;
  for (int i = 0; i < tabs_->count(); ++i) {
    if (auto* view = dynamic_cast<CDataBlockView*>(tabs_->widget(i))) {
      views[view->Key()] = view;
      viewKeys.push_back(view->Key());
    }
  }
  const CDataBlockView* active = ActiveView();
  const PageTabPlan plan = PlanPageTabs(viewKeys, active != nullptr ? active->Key() : 0, active != nullptr,
                                        Blocks().ListKeys());
  const bool shown = isVisible();
  if (shown) setUpdatesEnabled(false);
  while (tabs_->count() > 0) tabs_->removeTab(0);
  for (const int key : plan.Destroyed) {
    CDataBlockView* view = views[key];
    view->hide();
    // A command of this very view may have led here; it is deleted once control is back in the
    // event loop.
    view->deleteLater();
  }
  for (const PageTabPlan::Tab& tab : plan.Tabs) {
    const QString title = BlockTitle(tab.Key);
    CDataBlockView* view = nullptr;
    if (tab.Reused) {
      view = views[tab.Key];
      view->OnPaneUpdate(UpdDataRowsRebuild, 0);
    } else {
      view = new CDataBlockView(tab.Key);
      view->Create(tabs_, tab.Key);
    }
    tabs_->addTab(view, title);
  }
  if (plan.ActiveIndex != -1) tabs_->setCurrentIndex(plan.ActiveIndex);
  // The grid the user worked in may be gone or moved; the active one takes the focus over.
  if (focused) FocusActiveView();
  if (shown) {
    setUpdatesEnabled(true);
    update();
  }
}

void CDataBlockFrm::RetitleTabs() {
  std::vector<QString> titles;
  for (int i = 0; i < tabs_->count(); ++i) {
    auto* view = dynamic_cast<CDataBlockView*>(tabs_->widget(i));
    titles.push_back(view != nullptr ? BlockTitle(view->Key()) : tabs_->tabText(i));
  }
  const bool shown = isVisible();
  if (shown) setUpdatesEnabled(false);
  for (int i = 0; i < tabs_->count(); ++i) tabs_->setTabText(i, titles[static_cast<size_t>(i)]);
  if (shown) {
    setUpdatesEnabled(true);
    update();
  }
}

void CDataBlockFrm::SelectBlockTab(int key) {
  for (int i = tabs_->count() - 1; i >= 0; --i) {
    auto* view = dynamic_cast<CDataBlockView*>(tabs_->widget(i));
    if (view != nullptr && view->Key() == key) {
      const bool focused = HoldsFocus(this);
      tabs_->setCurrentIndex(i);
      if (focused) FocusActiveView();
      return;
    }
  }
}

void CDataBlockFrm::OnPaneRequest(uint16_t code, intptr_t value) {
  if (code == UpdDataPagesRebuild) {
    RebuildTabs();
  } else if (code == UpdDataPagesRetitle) {
    RetitleTabs();
  } else if (code == UpdDataPageSelect) {
    SelectBlockTab(static_cast<int>(value));
  }
  if (CDataBlockView* view = ActiveView()) view->OnPaneUpdate(code, value);
}

void CDataBlockFrm::OnActiveTabChanged() {
  CDataBlockView* view = ActiveView();
  if (view == nullptr || !GridDrawsRows()) return;
  NotifyMainFrame(EvDataBlockTabChanged, static_cast<intptr_t>(view->Key()));
}

bool CDataBlockFrm::UpdateEditorCommand(int offset, CommandStatus& status) {
  CDataBlockView* view = ActiveView();
  return view != nullptr && IsGridViewFocused(view) && view->UpdateEditorCommand(offset, status);
}

bool CDataBlockFrm::OnEditorCommand(int offset) {
  CDataBlockView* view = ActiveView();
  return view != nullptr && IsGridViewFocused(view) && view->OnEditorCommand(offset);
}

void CDataBlockFrm::FocusActiveView() {
  if (CDataBlockView* view = ActiveView()) view->setFocus();
}

void CDataBlockFrm::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  FocusActiveView();
}

void CDataBlockFrm::closeEvent(QCloseEvent* event) {
  if (onClosed_) onClosed_();
  QWidget::closeEvent(event);
}

}  // namespace Brenno
