#include "ui/views/table_commands.h"

#include <QAction>
#include <QMenu>

#include "core/env/language.h"
#include "ui/widgets/extend_list_ctrl.h"

namespace Brenno {

namespace {

bool IsEditCommand(int offset) {
  return offset == kTableCmdCut || offset == kTableCmdCopy || offset == kTableCmdPaste || offset == kTableCmdSelectAll;
}

bool EditShown(CExtendListCtrl& grid) { return !grid.InplaceEdit().isHidden(); }

void AddItems(QMenu* menu, const std::vector<TableMenuItem>& items,
              const std::function<bool(int, CommandStatus&)>& update, const std::function<void(int)>& run) {
  for (const TableMenuItem& item : items) {
    const QString text = QString::fromWCharArray(PickText(item.English, item.Chinese));
    if (item.Offset == 0 && item.Children.empty()) {
      menu->addSeparator();
    } else if (item.Offset == 0) {
      AddItems(menu->addMenu(text), item.Children, update, run);
    } else {
      QAction* action = menu->addAction(text);
      CommandStatus status;
      action->setEnabled(update(item.Offset, status) && status.Enabled);
      action->setData(item.Offset);
      action->setStatusTip(QString::fromWCharArray(TableCommandStatusText(item.Offset)));
      const int offset = item.Offset;
      QObject::connect(action, &QAction::triggered, menu, [run, offset] { run(offset); });
    }
  }
}

}  // namespace

const std::vector<TableMenuItem>& TableEditMenuItems() {
  static const std::vector<TableMenuItem> items = {
      {kTableCmdCut, L"Cu&t\tCtrl+X", L"剪切(&T)\tCtrl+X", {}},
      {kTableCmdCopy, L"&Copy\tCtrl+C", L"复制(&C)\tCtrl+C", {}},
      {kTableCmdPaste, L"&Paste\tCtrl+V", L"粘贴(&P)\tCtrl+V", {}},
      {kTableCmdSelectAll, L"Select &All\tCtrl+A", L"全选(&A)\tCtrl+A", {}},
  };
  return items;
}

std::vector<TableMenuItem> JoinTableMenus(std::initializer_list<std::vector<TableMenuItem>> parts) {
  std::vector<TableMenuItem> items;
  for (const std::vector<TableMenuItem>& part : parts) items.insert(items.end(), part.begin(), part.end());
  return items;
}

const wchar_t* TableCommandStatusText(int offset) {
  switch (offset) {
    case kTableCmdCut: return PickText(L"Cut - [Ctrl+X]", L"剪切 - [Ctrl+X]");
    case kTableCmdCopy: return PickText(L"Copy - [Ctrl+C]", L"复制 - [Ctrl+C]");
    case kTableCmdPaste: return PickText(L"Paste - [Ctrl+V]", L"粘贴 - [Ctrl+V]");
    case kTableCmdSelectAll: return PickText(L"Select All - [Ctrl+A]", L"全选 - [Ctrl+A]");
    case kTableCmdOpenPage: return PickText(L"Open", L"打开");
    case kTableCmdInsertInterrupt: return PickText(L"Insert Interrupt", L"插入中断");
    case kTableCmdInsertSubroutine: return PickText(L"Insert Subroutine", L"插入子程序");
    case kTableCmdDeleteInterrupt: return PickText(L"Delete Interrupt", L"删除中断");
    case kTableCmdDeleteSubroutine: return PickText(L"Delete Subroutine", L"删除子程序");
    case kTableCmdInsertRow: return PickText(L"Insert Row", L"插入行");
    case kTableCmdInsertRowBelowLocal: return PickText(L"Insert Row Below", L"插入行于下方");
    case kTableCmdDeleteRow: return PickText(L"Delete Row", L"删除行");
    case kTableCmdInsertSymbolTable: return PickText(L"Insert Symbol Table", L"插入符号表");
    case kTableCmdDeleteSymbolTable: return PickText(L"Delete Symbol Table", L"删除符号表");
    case kTableCmdRefresh: return PickText(L"Refresh", L"刷新");
    case kTableCmdLocation: return PickText(L"Location", L"定位");
    default: return L"";
  }
}

QMenu* BuildTableMenu(const std::vector<TableMenuItem>& items,
                      const std::function<bool(int, CommandStatus&)>& update,
                      const std::function<void(int)>& run, QWidget* parent) {
  auto* menu = new QMenu(parent);
  AddItems(menu, items, update, run);
  return menu;
}

void ShowTableMenu(const std::vector<TableMenuItem>& items, const std::function<bool(int, CommandStatus&)>& update,
                   const std::function<void(int)>& run, QWidget* owner, const QPoint& globalPos) {
  QMenu* menu = BuildTableMenu(items, update, run, owner);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(globalPos);
}

bool UpdateInplaceEditCommand(CExtendListCtrl& grid, int offset, CommandStatus& status) {
  if (!IsEditCommand(offset) || !EditShown(grid)) return false;
  status.Enabled = true;
  return true;
}

bool RunInplaceEditCommand(CExtendListCtrl& grid, int offset) {
  if (!IsEditCommand(offset) || !EditShown(grid)) return false;
  CExtendInplaceEdit& edit = grid.InplaceEdit();
  switch (offset) {
    case kTableCmdCut:
      edit.cut();
      break;
    case kTableCmdCopy:
      edit.copy();
      break;
    case kTableCmdPaste:
      edit.paste();
      break;
    default:
      edit.selectAll();  // leaves the caret at the end, scrolled into view
      break;
  }
  return true;
}

}  // namespace Brenno
