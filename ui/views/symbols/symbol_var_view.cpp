#include "ui/views/symbols/symbol_var_view.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>

#include "core/env/language.h"
#include "core/env/page_names.h"
#include "core/project/project.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/views/project_tree/shared_image_lists.h"
#include "ui/views/symbols/page_tab_plan.h"

namespace Brenno {

CSymbolVarView::CSymbolVarView(int pageKey, QWidget* parent) : ModelTableView<VarSymbolTable>(parent) {
  Rows().SetPageKey(pageKey);
}

bool CSymbolVarView::Create(QWidget* parent, int controlId) {
  if (!CTableViewCtrl::Create(parent, controlId)) return false;
  SetImageList(&GridImageStrip(SharedImageLists::kTableList));
  return true;
}

bool CSymbolVarView::SetCellChoice(int record, int group, int line, int column, int choice) {
  return Rows().SetCellChoice(record, group, line, column, choice);
}

void CSymbolVarView::OnPaneUpdate(uint16_t code, intptr_t) {
  if (code == UpdVarSymbolsRebuild) {
    RebuildListRows();
  } else if (code == UpdVarSymbolsRedraw) {
    if (isVisible()) InvalidateGrid();
  }
}

const std::vector<TableMenuItem>& CSymbolVarView::MenuItems() {
  static const std::vector<TableMenuItem> items = {
      {kTableCmdCut, L"Cu&t\tCtrl+X", L"剪切(&T)\tCtrl+X", {}},
      {kTableCmdCopy, L"&Copy\tCtrl+C", L"复制(&C)\tCtrl+C", {}},
      {kTableCmdPaste, L"&Paste\tCtrl+V", L"粘贴(&P)\tCtrl+V", {}},
      {kTableCmdSelectAll, L"Select &All\tCtrl+A", L"全选(&A)\tCtrl+A", {}},
      {0, L"", L"", {}},
      {0, L"&Insert", L"插入(&I)",
       {{kTableCmdInsertRow, L"&Row", L"行(&R)", {}},
        {kTableCmdInsertRowBelow, L"&Row of Down", L"行于下方", {}},
        {kTableCmdInsertSymbolTable, L"&Symbol Table", L"符号表(&S)", {}}}},
      {0, L"&Delete", L"删除(&D)",
       {{kTableCmdDeleteRow, L"&Row", L"行(&R)", {}}, {kTableCmdDeleteSymbolTable, L"&Symbol Table", L"符号表(&S)", {}}}},
  };
  return items;
}

bool CSymbolVarView::UpdateEditorCommand(int offset, CommandStatus& status) {
  if (UpdateInplaceEditCommand(*this, offset, status)) return true;
  const GridCursor cursor = CursorOf(*this);
  const VarSymbolTable& rows = Rows();
  switch (offset) {
    case kTableCmdCut:
    case kTableCmdCopy:
      status.Enabled = rows.CanCutOrCopy(cursor);
      return true;
    case kTableCmdPaste:
      status.Enabled = rows.CanPaste(cursor);
      return true;
    case kTableCmdSelectAll:
      status.Enabled = rows.CanSelectAll();
      return true;
    case kTableCmdInsertRow:
      status.Enabled = isVisible() && rows.CanInsertRow(cursor, false);
      return true;
    case kTableCmdInsertRowBelow:
      status.Enabled = isVisible() && rows.CanInsertRow(cursor, true);
      return true;
    case kTableCmdDeleteRow:
      status.Enabled = isVisible() && rows.CanDeleteRows(cursor);
      return true;
    case kTableCmdInsertSymbolTable:
      status.Enabled = isVisible() && rows.CanInsertTable();
      return true;
    case kTableCmdDeleteSymbolTable:
      status.Enabled = isVisible() && rows.CanDeleteTable();
      return true;
    default:
      return false;
  }
}

void CSymbolVarView::SelectAndRebuild(int record) {
  if (record == -1) return;
  SelectSingleRecord(*this, record);
  RebuildListRows();
}

bool CSymbolVarView::OnEditorCommand(int offset) {
  if (RunInplaceEditCommand(*this, offset)) return true;
  const GridCursor cursor = CursorOf(*this);
  switch (offset) {
    case kTableCmdCut:
      setFocus();
      SelectAndRebuild(Rows().Cut(cursor));
      return true;
    case kTableCmdCopy:
      setFocus();
      Rows().Copy(cursor);
      return true;
    case kTableCmdPaste:
      setFocus();
      SelectAndRebuild(Rows().Paste(cursor));
      return true;
    case kTableCmdSelectAll:
      setFocus();
      if (Rows().CanSelectAll()) {
        SelectAllRecords(*this);
        if (isVisible()) InvalidateGrid();
      }
      return true;
    case kTableCmdInsertRow:
    case kTableCmdInsertRowBelow:
      setFocus();
      SelectAndRebuild(Rows().InsertRow(cursor, offset == kTableCmdInsertRowBelow));
      return true;
    case kTableCmdDeleteRow:
      setFocus();
      SelectAndRebuild(Rows().DeleteRows(cursor));
      return true;
    case kTableCmdInsertSymbolTable:
      setFocus();
      Rows().InsertTable();
      return true;
    case kTableCmdDeleteSymbolTable: {
      setFocus();
      // The frame's tab rebuild may destroy this view; it goes only once the command is over.
      bool replaced = false;
      Rows().DeleteTable(replaced);
      if (replaced) RebuildListRows();
      return true;
    }
    default:
      return false;
  }
}

void CSymbolVarView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    ShowTableMenu(
        MenuItems(), [this](int offset, CommandStatus& status) { return UpdateEditorCommand(offset, status); },
        [this](int offset) { OnEditorCommand(offset); }, this, event->globalPosition().toPoint());
    return;
  }
  ModelTableView<VarSymbolTable>::mouseReleaseEvent(event);
}

// ---------------------------------------------------------------- frame

CSymbolVarFrm::CSymbolVarFrm(QWidget* parent) : QWidget(parent) {
  setWindowTitle(QString::fromWCharArray(PickText(L"Variable Symbol", L"变量符号")));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  tabs_ = new QTabWidget(this);
  tabs_->setTabPosition(QTabWidget::South);
  tabs_->setDocumentMode(true);
  layout->addWidget(tabs_);
  RebuildTabs();
  const std::vector<int> keys = CurrentProject().Symbols.ListKeys();
  if (!keys.empty()) SelectPageTabByKey(keys.front());
  connect(tabs_, &QTabWidget::currentChanged, this, [this] { OnActiveTabChanged(); });
}

CSymbolVarView* CSymbolVarFrm::ActiveView() const { return dynamic_cast<CSymbolVarView*>(tabs_->currentWidget()); }

CSymbolVarView* CSymbolVarFrm::ViewOf(int key) const {
  for (int i = 0; i < tabs_->count(); ++i) {
    auto* view = dynamic_cast<CSymbolVarView*>(tabs_->widget(i));
    if (view != nullptr && view->PageKey() == key) return view;
  }
  return nullptr;
}

void CSymbolVarFrm::RebuildTabs() {
  const QSignalBlocker blocker(tabs_);
  std::map<int, CSymbolVarView*> views;
  std::vector<int> viewKeys;
  for (int i = 0; i < tabs_->count(); ++i) {
    if (auto* view = dynamic_cast<CSymbolVarView*>(tabs_->widget(i))) {
      views[view->PageKey()] = view;
      viewKeys.push_back(view->PageKey());
    }
  }
  const CSymbolVarView* active = ActiveView();
  const Project& project = CurrentProject();
  const PageTabPlan plan =
      PlanPageTabs(viewKeys, active != nullptr ? active->PageKey() : 0, active != nullptr, project.Symbols.ListKeys());
  tabs_->setUpdatesEnabled(false);
  while (tabs_->count() > 0) tabs_->removeTab(0);
  for (const int key : plan.Destroyed) {
    CSymbolVarView* view = views[key];
    view->hide();
    // A command of this very view may have led here; it is deleted once control is back in the
    // event loop.
    view->deleteLater();
  }
  for (const PageTabPlan::Tab& tab : plan.Tabs) {
    const QString label = QString::fromStdWString(DescribeTablePageKey(project.Symbols, tab.Key));
    CSymbolVarView* view = nullptr;
    if (tab.Reused) {
      view = views[tab.Key];
      view->OnPaneUpdate(UpdVarSymbolsRebuild, 0);
    } else {
      view = new CSymbolVarView(tab.Key);
      view->Create(tabs_, tab.Key);
    }
    tabs_->addTab(view, label);
  }
  if (plan.ActiveIndex != -1) tabs_->setCurrentIndex(plan.ActiveIndex);
  setFocusProxy(ActiveView());
  tabs_->setUpdatesEnabled(true);
}

void CSymbolVarFrm::RetitleTabs() {
  const Project& project = CurrentProject();
  tabs_->setUpdatesEnabled(false);
  for (int i = 0; i < tabs_->count(); ++i) {
    if (auto* view = dynamic_cast<CSymbolVarView*>(tabs_->widget(i))) {
      tabs_->setTabText(i, QString::fromStdWString(DescribeTablePageKey(project.Symbols, view->PageKey())));
    }
  }
  tabs_->setUpdatesEnabled(true);
}

void CSymbolVarFrm::SelectPageTabByKey(int key) {
  for (int i = tabs_->count() - 1; i >= 0; --i) {
    auto* view = dynamic_cast<CSymbolVarView*>(tabs_->widget(i));
    if (view != nullptr && view->PageKey() == key) {
      tabs_->setCurrentIndex(i);
      return;
    }
  }
}

void CSymbolVarFrm::OnPaneRequest(uint16_t code, intptr_t value) {
  if (code == UpdVarTablesRebuild) {
    RebuildTabs();
  } else if (code == UpdVarTablesRetitle) {
    RetitleTabs();
  } else if (code == UpdVarTableSelect) {
    SelectPageTabByKey(static_cast<int>(value));
  }
  if (CSymbolVarView* view = ActiveView()) view->OnPaneUpdate(code, value);
}

void CSymbolVarFrm::OnActiveTabChanged() {
  CSymbolVarView* view = ActiveView();
  setFocusProxy(view);
  if (view == nullptr || !GridDrawsRows()) return;
  NotifyMainFrame(EvVariableTableTabChanged, static_cast<intptr_t>(view->PageKey()));
}

bool CSymbolVarFrm::UpdateEditorCommand(int offset, CommandStatus& status) {
  CSymbolVarView* view = ActiveView();
  return view != nullptr && IsGridViewFocused(view) && view->UpdateEditorCommand(offset, status);
}

bool CSymbolVarFrm::OnEditorCommand(int offset) {
  CSymbolVarView* view = ActiveView();
  return view != nullptr && IsGridViewFocused(view) && view->OnEditorCommand(offset);
}

void CSymbolVarFrm::closeEvent(QCloseEvent* event) {
  if (onClosed_) onClosed_();
  QWidget::closeEvent(event);
}

}  // namespace Brenno
