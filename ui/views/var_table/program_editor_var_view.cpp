#include "ui/views/var_table/program_editor_var_view.h"

#include "ui/shell/notify_codes.h"
#include "ui/views/project_tree/shared_image_lists.h"

namespace Brenno {

CProgramEditorVarView::CProgramEditorVarView(QWidget* parent) : ModelTableView<ProgramVarTable>(parent) {}

bool CProgramEditorVarView::Create(QWidget* parent, int controlId) {
  Rows().SetShownPageKey(ProgramVarTable::FirstPageKey());
  return CreateWithImages(parent, controlId, SharedImageLists::kTableList);
}

void CProgramEditorVarView::OnPaneUpdate(uint16_t code, intptr_t value) {
  switch (code) {
    case UpdVarTableRebuild:
      RebuildListRows();
      break;
    case UpdVarTableRefresh:
      if (isVisible()) RedrawNow();
      break;
    case UpdVarTableSetPage:
      Rows().SetShownPageKey(static_cast<int>(value));
      RebuildListRows();
      break;
    default:
      break;
  }
}

const std::vector<TableMenuItem>& CProgramEditorVarView::MenuItems() {
  static const std::vector<TableMenuItem> items = JoinTableMenus({
      TableEditMenuItems(),
      {
          {0, L"", L"", {}},
          {0, L"&Insert", L"插入(&I)",
           {{kTableCmdInsertRow, L"&Row", L"行(&R)", {}},
            {kTableCmdInsertRowBelowLocal, L"Row &Below", L"行于下方(&B)", {}},
            {0, L"", L"", {}},
            {kTableCmdInsertInterrupt, L"&Interrupt", L"中断(&I)", {}},
            {kTableCmdInsertSubroutine, L"&Subroutine", L"子程序(&S)", {}}}},
          {0, L"&Delete", L"删除(&D)",
           {{kTableCmdDeleteRow, L"&Row", L"行(&R)", {}},
            {0, L"", L"", {}},
            {kTableCmdDeleteInterrupt, L"&Interrupt", L"中断(&I)", {}},
            {kTableCmdDeleteSubroutine, L"&Subroutine", L"子程序(&S)", {}}}},
      },
  });
  return items;
}

bool CProgramEditorVarView::UpdateEditorCommand(int offset, CommandStatus& status) {
  if (UpdateRowEditCommand(offset, status)) return true;
  const GridCursor cursor = CursorOf(*this);
  const ProgramVarTable& rows = Rows();
  const bool shown = isVisible();
  switch (offset) {
    case kTableCmdInsertRow:
    case kTableCmdInsertRowBelowLocal:
      status.Enabled = shown && rows.CanInsertRow(cursor);
      return true;
    case kTableCmdDeleteRow:
      status.Enabled = shown && rows.CanDeleteRows(cursor);
      return true;
    case kTableCmdInsertInterrupt:
      status.Enabled = shown && rows.CanInsertInterrupt();
      return true;
    case kTableCmdInsertSubroutine:
      status.Enabled = shown && rows.CanInsertSubroutine();
      return true;
    case kTableCmdDeleteInterrupt:
      status.Enabled = shown && rows.CanDeleteInterrupt();
      return true;
    case kTableCmdDeleteSubroutine:
      status.Enabled = shown && rows.CanDeleteSubroutine();
      return true;
    default:
      return false;
  }
}

void CProgramEditorVarView::SelectAndReload(int record) {
  if (record == -1) return;
  SelectSingleRecord(*this, record);
  RebuildListRows();
}

bool CProgramEditorVarView::OnEditorCommand(int offset) {
  if (RunInplaceEditCommand(*this, offset)) return true;
  const GridCursor cursor = CursorOf(*this);
  switch (offset) {
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
    case kTableCmdInsertRow:
    case kTableCmdInsertRowBelowLocal:
      setFocus();
      SelectAndReload(Rows().InsertRow(cursor, offset == kTableCmdInsertRowBelowLocal));
      return true;
    case kTableCmdDeleteRow:
      setFocus();
      SelectAndReload(Rows().DeleteRows(cursor));
      return true;
    case kTableCmdInsertInterrupt:
      setFocus();
      Rows().InsertInterrupt();
      return true;
    case kTableCmdInsertSubroutine:
      setFocus();
      Rows().InsertSubroutine();
      return true;
    case kTableCmdDeleteInterrupt:
      setFocus();
      Rows().DeleteInterrupt();
      return true;
    case kTableCmdDeleteSubroutine:
      setFocus();
      Rows().DeleteSubroutine();
      return true;
    default:
      return false;
  }
}

void InstallProgramEditorVarView() {
  SetProgramEditorVarViewFactory([](AppEnvironment&, QWidget* parent) -> QWidget* {
    auto* view = new CProgramEditorVarView(parent);
    view->Create(parent, 0);
    return view;
  });
}

}  // namespace Brenno
