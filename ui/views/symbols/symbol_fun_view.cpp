#include "ui/views/symbols/symbol_fun_view.h"

#include <QCloseEvent>
#include <QVBoxLayout>

#include "core/env/language.h"
#include "ui/shell/notify_codes.h"
#include "ui/views/project_tree/shared_image_lists.h"

namespace Brenno {

namespace {
constexpr int kFrameViewId = 0xE900;
}

CSymbolFunView::CSymbolFunView(QWidget* parent) : ModelTableView<FunSymbolTable>(parent) {}

bool CSymbolFunView::Create(QWidget* parent, int controlId) {
  return CreateWithImages(parent, controlId, SharedImageLists::kFunctionSymbolList);
}

bool CSymbolFunView::SetCellChoice(int record, int group, int line, int column, int choice) {
  int select = -1;
  if (!Rows().SetCellChoice(record, group, line, column, choice, select)) {
    ReportModelRefusal();
    return false;
  }
  if (select != -1) SelectSingleRecord(*this, select);
  return true;
}

void CSymbolFunView::OnPaneUpdate(uint16_t code, intptr_t) {
  if (code == UpdFunSymbolsRebuild) {
    RebuildListRows();
  } else if (code == UpdFunSymbolsRedraw) {
    if (isVisible()) InvalidateGrid();
  }
}

const std::vector<TableMenuItem>& CSymbolFunView::MenuItems() {
  static const std::vector<TableMenuItem> items = JoinTableMenus({
      {{kTableCmdOpenPage, L"&Open", L"打开(&O)", {}}, {0, L"", L"", {}}},
      TableEditMenuItems(),
      {
          {0, L"", L"", {}},
          {0, L"&Insert", L"插入(&I)",
           {{kTableCmdInsertInterrupt, L"&Interrupt", L"中断(&I)", {}},
            {kTableCmdInsertSubroutine, L"&Subroutine", L"子程序(&S)", {}}}},
          {0, L"&Delete", L"删除(&D)",
           {{kTableCmdDeleteInterrupt, L"&Interrupt", L"中断(&I)", {}},
            {kTableCmdDeleteSubroutine, L"&Subroutine", L"子程序(&S)", {}}}},
      },
  });
  return items;
}

bool CSymbolFunView::UpdateEditorCommand(int offset, CommandStatus& status) {
  if (UpdateRowEditCommand(offset, status)) return true;
  const GridCursor cursor = CursorOf(*this);
  const FunSymbolTable& rows = Rows();
  switch (offset) {
    case kTableCmdOpenPage:
      status.Enabled = rows.CanOpen(cursor);
      return true;
    case kTableCmdInsertInterrupt:
      status.Enabled = rows.CanInsertInterrupt();
      return true;
    case kTableCmdInsertSubroutine:
      status.Enabled = rows.CanInsertSubroutine();
      return true;
    case kTableCmdDeleteInterrupt:
      status.Enabled = rows.CanDeleteInterrupt(cursor);
      return true;
    case kTableCmdDeleteSubroutine:
      status.Enabled = rows.CanDeleteSubroutine(cursor);
      return true;
    default:
      return false;
  }
}

bool CSymbolFunView::OnEditorCommand(int offset) {
  if (RunInplaceEditCommand(*this, offset)) return true;
  const GridCursor cursor = CursorOf(*this);
  int select = -1;
  switch (offset) {
    case kTableCmdOpenPage:
      setFocus();
      Rows().Open(cursor);
      return true;
    case kTableCmdCut:
    case kTableCmdPaste:
      return true;  // rows are neither cut nor pasted
    case kTableCmdCopy:
      setFocus();
      Rows().Copy(cursor);
      return true;
    case kTableCmdSelectAll:
      SelectAllRows();
      return true;
    case kTableCmdInsertInterrupt:
      setFocus();
      select = Rows().InsertInterrupt();
      break;
    case kTableCmdInsertSubroutine:
      setFocus();
      select = Rows().InsertSubroutine();
      break;
    case kTableCmdDeleteInterrupt:
      setFocus();
      select = Rows().DeleteInterrupt(cursor);
      break;
    case kTableCmdDeleteSubroutine:
      setFocus();
      select = Rows().DeleteSubroutine(cursor);
      break;
    default:
      return false;
  }
  if (select != -1) {
    SelectSingleRecord(*this, select);
    RebuildListRows();
  }
  return true;
}

// ---------------------------------------------------------------- frame

CSymbolFunFrm::CSymbolFunFrm(QWidget* parent) : QWidget(parent) {
  setWindowTitle(QString::fromWCharArray(PickText(L"Function Symbol", L"函数符号")));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  view_ = new CSymbolFunView(this);
  view_->Create(this, kFrameViewId);
  layout->addWidget(view_);
  view_->show();
  setFocusProxy(view_);
}

void CSymbolFunFrm::OnPaneRequest(uint16_t code, intptr_t value) { view_->OnPaneUpdate(code, value); }

bool CSymbolFunFrm::UpdateEditorCommand(int offset, CommandStatus& status) {
  return UpdateFocusedViewCommand(view_, offset, status);
}

bool CSymbolFunFrm::OnEditorCommand(int offset) { return RunFocusedViewCommand(view_, offset); }

void CSymbolFunFrm::closeEvent(QCloseEvent* event) {
  if (onClosed_) onClosed_();
  QWidget::closeEvent(event);
}

}  // namespace Brenno
