// The function symbol window: a child frame of the main window holding one grid of the program
// pages (name, address, comment), where pages are renamed, moved, commented, opened, inserted and
// deleted. The main frame routes the update group 0x8C to the frame while it is open.
#pragma once

#include <QWidget>

#include <functional>

#include "ui/shell/main_frame_commands.h"
#include "ui/shell/update_router.h"
#include "ui/views/model_table_view.h"
#include "ui/views/symbols/fun_symbol_table.h"
#include "ui/views/table_commands.h"

namespace Brenno {

class CSymbolFunView : public ModelTableView<FunSymbolTable> {
 public:
  explicit CSymbolFunView(QWidget* parent = nullptr);

  // Creates the window: columns, rows and the check-mark images.
  bool Create(QWidget* parent, int controlId) override;

  bool SetCellChoice(int record, int group, int line, int column, int choice) override;

  // 0x8C00 rebuilds the rows, 0x8C01 redraws; other codes are ignored.
  void OnPaneUpdate(uint16_t code, intptr_t value);

  // The view's commands (the kTableCmd offsets): whether it has the command and its state, and
  // running it. False for a command the view does not have.
  bool UpdateEditorCommand(int offset, CommandStatus& status) override;
  bool OnEditorCommand(int offset) override;

  // The entries of the context menu.
  static const std::vector<TableMenuItem>& MenuItems();

 protected:
  const std::vector<TableMenuItem>& ContextMenuItems() const override { return MenuItems(); }
};

class CSymbolFunFrm : public QWidget, public PaneRequestReceiver {
 public:
  explicit CSymbolFunFrm(QWidget* parent = nullptr);

  CSymbolFunView* View() const { return view_; }
  // Every code of the group 0x8C goes on to the view.
  void OnPaneRequest(uint16_t code, intptr_t value) override;
  // A command reaches the view while it or one of its editors has the focus.
  bool UpdateEditorCommand(int offset, CommandStatus& status);
  bool OnEditorCommand(int offset);
  // Called when the frame closes, so that the main frame drops its reference.
  void SetOnClosed(std::function<void()> onClosed) { onClosed_ = std::move(onClosed); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  CSymbolFunView* view_ = nullptr;
  std::function<void()> onClosed_;
};

}  // namespace Brenno
