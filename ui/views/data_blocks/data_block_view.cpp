#include "ui/views/data_blocks/data_block_view.h"

#include "ui/shell/notify_codes.h"
#include "ui/views/data_blocks/pid_addr_dlg.h"
#include "ui/views/project_tree/shared_image_lists.h"

namespace Brenno {

CDataBlockView::CDataBlockView(int key, QWidget* parent) : ModelTableView<DataBlockRows>(parent) {
  Rows().SetKey(key);
  Rows().SetRowsChangedHandler([this](int record) { SelectAndRebuild(record); });
  Rows().SetBlockRenewedHandler([this] { RebuildListRows(); });
}

bool CDataBlockView::Create(QWidget* parent, int controlId) {
  return CreateWithImages(parent, controlId, SharedImageLists::kTableList);
}

void CDataBlockView::OnPaneUpdate(uint16_t code, intptr_t value) {
  switch (code) {
    case UpdDataRowsRebuild:
      RebuildListRows();
      break;
    case UpdDataRowsRefresh:
      if (isVisible()) RedrawNow();
      break;
    case UpdDataRowsLocate: {
      const int row = LocatedDataRow(value, Key(), GetRecordCount());
      if (row == -1) return;
      SelectSingleRecord(*this, row);
      ScrollToFocusCell();
      InvalidateGrid();
      break;
    }
    default:
      break;
  }
}

const std::vector<TableMenuItem>& CDataBlockView::MenuItems() {
  static const std::vector<TableMenuItem> items = JoinTableMenus({
      TableEditMenuItems(),
      {
          {0, L"", L"", {}},
          {0, L"&Insert", L"插入(&I)",
           {{kDataCmdInsertRow, L"&Row", L"行(&R)", {}},
            {kDataCmdInsertRowBelow, L"&Row of down", L"行于下方(&H)", {}},
            {kDataCmdInsertBlock, L"Data &Block", L"数据块(&B)", {}},
            {kDataCmdInsertPidBlock, L"PID Data &Block", L"PID数据块(&P)", {}},
            {kDataCmdInsertPidfBlock, L"PID&F Data Block", L"PIDF数据块(&F)", {}},
            {kDataCmdInsertDpidBlock, L"DPID Data Block", L"DPID数据块", {}}}},
          {0, L"&Delete", L"删除(&D)",
           {{kDataCmdDeleteRow, L"&Row", L"行(&R)", {}}, {kDataCmdDeleteBlock, L"Data &Block", L"数据块(&B)", {}}}},
      },
  });
  return items;
}

bool CDataBlockView::UpdateEditorCommand(int offset, CommandStatus& status) {
  if (UpdateRowEditCommand(offset, status)) return true;
  const GridCursor cursor = CursorOf(*this);
  const DataBlockRows& rows = Rows();
  switch (offset) {
    case kDataCmdInsertRow:
    case kDataCmdInsertRowBelow:
      status.Enabled = isVisible() && rows.CanInsertRow(cursor, offset == kDataCmdInsertRowBelow);
      return true;
    case kDataCmdDeleteRow:
      status.Enabled = isVisible() && rows.CanDeleteRows(cursor);
      return true;
    case kDataCmdInsertBlock:
    case kDataCmdInsertPidBlock:
    case kDataCmdInsertPidfBlock:
    case kDataCmdInsertDpidBlock:
      status.Enabled = isVisible() && rows.CanInsertBlock();
      return true;
    case kDataCmdDeleteBlock:
      status.Enabled = isVisible() && rows.CanDeleteBlock();
      return true;
    default:
      return false;
  }
}

bool CDataBlockView::OnEditorCommand(int offset) {
  if (RunInplaceEditCommand(*this, offset)) return true;
  const GridCursor cursor = CursorOf(*this);
  switch (offset) {
    case kTableCmdCut:
      setFocus();
      Rows().Cut(cursor);
      return true;
    case kTableCmdCopy:
      setFocus();
      Rows().Copy(cursor);
      return true;
    case kTableCmdPaste:
      setFocus();
      Rows().Paste(cursor);
      return true;
    case kTableCmdSelectAll:
      SelectAllRows();
      return true;
    case kDataCmdInsertRow:
    case kDataCmdInsertRowBelow:
      setFocus();
      Rows().InsertRow(cursor, offset == kDataCmdInsertRowBelow);
      return true;
    case kDataCmdDeleteRow:
      setFocus();
      Rows().DeleteRows(cursor);
      return true;
    case kDataCmdInsertBlock:
      InsertBlock(DataBlockKind::Plain);
      return true;
    case kDataCmdInsertPidBlock:
      InsertBlock(DataBlockKind::Pid);
      return true;
    case kDataCmdInsertPidfBlock:
      InsertBlock(DataBlockKind::Pidf);
      return true;
    case kDataCmdInsertDpidBlock:
      InsertBlock(DataBlockKind::Dpid);
      return true;
    case kDataCmdDeleteBlock:
      setFocus();
      // The window's tab rebuild may destroy this view; it goes only once the command is over.
      Rows().DeleteBlock();
      return true;
    default:
      return false;
  }
}

void CDataBlockView::SelectAndRebuild(int record) {
  SelectSingleRecord(*this, record);
  RebuildListRows();
}

bool CDataBlockView::AskHeadAddress(unsigned& address) {
  if (asker_) return asker_(address);
  return AskPidHeadAddress(window(), address);
}

void CDataBlockView::InsertBlock(DataBlockKind kind) {
  setFocus();
  unsigned head = kPidDefaultHeadAddress;
  if (kind != DataBlockKind::Plain && !AskHeadAddress(head)) return;
  // The state may have changed while the dialog was open; InsertBlock checks it again.
  Rows().InsertBlock(kind, head);
}

}  // namespace Brenno
