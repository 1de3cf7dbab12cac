// The commands of the table views (ids relative to the command-id base), their context menus and
// the Edit commands' share that acts on an open in-place edit.
#pragma once

#include <QPoint>

#include <functional>
#include <initializer_list>
#include <vector>

#include "ui/shell/main_frame_commands.h"
#include "ui/widgets/extend_list_ctrl.h"

class QMenu;
class QWidget;

namespace Brenno {

// Command offsets (plain ints, so that they mix with the offsets of other views).
inline constexpr int kTableCmdCut = 20123;
inline constexpr int kTableCmdCopy = 20124;
inline constexpr int kTableCmdPaste = 20125;
inline constexpr int kTableCmdSelectAll = 20129;
inline constexpr int kTableCmdOpenPage = 20341;
inline constexpr int kTableCmdInsertInterrupt = 20342;
inline constexpr int kTableCmdInsertSubroutine = 20343;
inline constexpr int kTableCmdDeleteInterrupt = 20344;
inline constexpr int kTableCmdDeleteSubroutine = 20345;
inline constexpr int kTableCmdInsertRow = 20346;
inline constexpr int kTableCmdInsertRowBelowLocal = 20347;
inline constexpr int kTableCmdInsertSymbolTable = 20348;
inline constexpr int kTableCmdDeleteRow = 20349;
inline constexpr int kTableCmdDeleteSymbolTable = 20350;
inline constexpr int kTableCmdRefresh = 20381;
inline constexpr int kTableCmdLocation = 20382;
inline constexpr int kTableCmdInsertRowBelow = 20384;

// One entry of a context menu: a command (offset and its two texts), a separator (offset 0, no
// children) or a submenu (offset 0 with children).
struct TableMenuItem {
  int Offset = 0;
  const wchar_t* English = L"";
  const wchar_t* Chinese = L"";
  std::vector<TableMenuItem> Children;
};

// The Edit entries of the row tables' context menus: Cut, Copy, Paste, Select All.
const std::vector<TableMenuItem>& TableEditMenuItems();
// The parts one after the other.
std::vector<TableMenuItem> JoinTableMenus(std::initializer_list<std::vector<TableMenuItem>> parts);

// The status-bar prompt of a table command in the running language; empty when it has none.
const wchar_t* TableCommandStatusText(int offset);

// The menu in the running language; each command is enabled as `update` says and runs `run`
// when chosen. The caller owns it.
QMenu* BuildTableMenu(const std::vector<TableMenuItem>& items,
                      const std::function<bool(int, CommandStatus&)>& update,
                      const std::function<void(int)>& run, QWidget* parent);
// Shows the menu at the screen point and runs the chosen command.
void ShowTableMenu(const std::vector<TableMenuItem>& items, const std::function<bool(int, CommandStatus&)>& update,
                   const std::function<void(int)>& run, QWidget* owner, const QPoint& globalPos);

// While the grid's in-place edit is open, Cut, Copy, Paste and Select All act on its text: true
// (and `status` enabled) for those four commands then; false otherwise.
bool UpdateInplaceEditCommand(CExtendListCtrl& grid, int offset, CommandStatus& status);
bool RunInplaceEditCommand(CExtendListCtrl& grid, int offset);

// A child frame hands a command to its table view (UpdateEditorCommand / OnEditorCommand) only
// while the view or one of its editors has the focus; false without a view.
template <class View>
bool UpdateFocusedViewCommand(View* view, int offset, CommandStatus& status) {
  return view != nullptr && IsGridViewFocused(view) && view->UpdateEditorCommand(offset, status);
}
template <class View>
bool RunFocusedViewCommand(View* view, int offset) {
  return view != nullptr && IsGridViewFocused(view) && view->OnEditorCommand(offset);
}

}  // namespace Brenno
