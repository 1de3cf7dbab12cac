#include "ui/views/data_blocks/data_block_frm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

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

CDataBlockView* CDataBlockFrm::ViewOf(int key) const { return FindPageTabView(*tabs_, &CDataBlockView::Key, key); }

void CDataBlockFrm::RebuildTabs() {
  // The tab changes of a rebuild are not the user's: they are not announced.
  const QSignalBlocker blocker(tabs_);
  const bool focused = HoldsFocus(this);
  const bool shown = isVisible();
  if (shown) setUpdatesEnabled(false);
  RebuildPageTabs(
      *tabs_, &CDataBlockView::Key, Blocks().ListKeys(), UpdDataRowsRebuild,
      [this](int key) {
        auto* view = new CDataBlockView(key);
        view->Create(tabs_, key);
        return view;
      },
      BlockTitle);
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
  const int index = FindPageTabIndex(*tabs_, &CDataBlockView::Key, key);
  if (index == -1) return;
  const bool focused = HoldsFocus(this);
  tabs_->setCurrentIndex(index);
  if (focused) FocusActiveView();
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
  return UpdateFocusedViewCommand(ActiveView(), offset, status);
}

bool CDataBlockFrm::OnEditorCommand(int offset) { return RunFocusedViewCommand(ActiveView(), offset); }

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
