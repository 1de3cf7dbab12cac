#include "ui/views/symbols/symbol_var_view.h"

#include <QCloseEvent>
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
  return CreateWithImages(parent, controlId, SharedImageLists::kTableList);
}

void CSymbolVarView::OnPaneUpdate(uint16_t code, intptr_t) {
  if (code == UpdVarSymbolsRebuild) {
    RebuildListRows();
  } else if (code == UpdVarSymbolsRedraw) {
    if (isVisible()) InvalidateGrid();
  }
}

const std::vector<TableMenuItem>& CSymbolVarView::MenuItems() {
  static const std::vector<TableMenuItem> items = JoinTableMenus({
      TableEditMenuItems(),
      {
          {0, L"", L"", {}},
          {0, L"&Insert", L"插入(&I)",
           {{kTableCmdInsertRow, L"&Row", L"行(&R)", {}},
            {kTableCmdInsertRowBelow, L"&Row of Down", L"行于下方", {}},
            {kTableCmdInsertSymbolTable, L"&Symbol Table", L"符号表(&S)", {}}}},
          {0, L"&Delete", L"删除(&D)",
           {{kTableCmdDeleteRow, L"&Row", L"行(&R)", {}}, {kTableCmdDeleteSymbolTable, L"&Symbol Table", L"符号表(&S)", {}}}},
      },
  });
  return items;
}

bool CSymbolVarView::UpdateEditorCommand(int offset, CommandStatus& status) {
  if (UpdateRowEditCommand(offset, status)) return true;
  const GridCursor cursor = CursorOf(*this);
  const VarSymbolTable& rows = Rows();
  switch (offset) {
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
      SelectAllRows();
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
  return FindPageTabView(*tabs_, &CSymbolVarView::PageKey, key);
}

void CSymbolVarFrm::RebuildTabs() {
  const QSignalBlocker blocker(tabs_);
  const Project& project = CurrentProject();
  tabs_->setUpdatesEnabled(false);
  RebuildPageTabs(
      *tabs_, &CSymbolVarView::PageKey, project.Symbols.ListKeys(), UpdVarSymbolsRebuild,
      [this](int key) {
        auto* view = new CSymbolVarView(key);
        view->Create(tabs_, key);
        return view;
      },
      [&project](int key) { return QString::fromStdWString(DescribeTablePageKey(project.Symbols, key)); });
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
  const int index = FindPageTabIndex(*tabs_, &CSymbolVarView::PageKey, key);
  if (index != -1) tabs_->setCurrentIndex(index);
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
  return UpdateFocusedViewCommand(ActiveView(), offset, status);
}

bool CSymbolVarFrm::OnEditorCommand(int offset) { return RunFocusedViewCommand(ActiveView(), offset); }

void CSymbolVarFrm::closeEvent(QCloseEvent* event) {
  if (onClosed_) onClosed_();
  QWidget::closeEvent(event);
}

}  // namespace Brenno
