// The variable symbol window: a child frame of the main window with one tab per page of the
// global symbol table, each a grid of symbol entries (name, address, data type, comment) with
// their validity. The main frame routes the update groups 0x8D and 0x8E to the frame while it is
// open; the frame acts on 0x8E itself and hands every code to the active tab's view.
#pragma once

#include <QTabWidget>
#include <QWidget>

#include <functional>
#include <map>

#include "ui/shell/main_frame_commands.h"
#include "ui/shell/update_router.h"
#include "ui/views/model_table_view.h"
#include "ui/views/symbols/var_symbol_table.h"
#include "ui/views/table_commands.h"

namespace Brenno {

class CSymbolVarView : public ModelTableView<VarSymbolTable> {
 public:
  // The page key is set before the window is created.
  explicit CSymbolVarView(int pageKey, QWidget* parent = nullptr);
  int PageKey() const { return Rows().PageKey(); }

  bool Create(QWidget* parent, int controlId) override;

  // 0x8D00 rebuilds the rows, 0x8D01 redraws; other codes are ignored.
  void OnPaneUpdate(uint16_t code, intptr_t value);

  bool UpdateEditorCommand(int offset, CommandStatus& status) override;
  bool OnEditorCommand(int offset) override;
  static const std::vector<TableMenuItem>& MenuItems();

 protected:
  const std::vector<TableMenuItem>& ContextMenuItems() const override { return MenuItems(); }

 private:
  void SelectAndRebuild(int record);
};

class CSymbolVarFrm : public QWidget, public PaneRequestReceiver {
 public:
  explicit CSymbolVarFrm(QWidget* parent = nullptr);

  QTabWidget* Tabs() const { return tabs_; }
  // The view of the active tab; null without tabs.
  CSymbolVarView* ActiveView() const;
  CSymbolVarView* ViewOf(int key) const;

  // 0x8E00 rebuilds the tabs, 0x8E01 retitles them, 0x8E02 activates the tab of page `value`;
  // then every code goes on to the active tab's view.
  void OnPaneRequest(uint16_t code, intptr_t value) override;
  void RebuildTabs();
  void RetitleTabs();
  void SelectPageTabByKey(int key);

  // A command reaches the active view while it or one of its editors has the focus.
  bool UpdateEditorCommand(int offset, CommandStatus& status);
  bool OnEditorCommand(int offset);
  void SetOnClosed(std::function<void()> onClosed) { onClosed_ = std::move(onClosed); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void OnActiveTabChanged();
  QTabWidget* tabs_ = nullptr;
  std::function<void()> onClosed_;
};

}  // namespace Brenno
