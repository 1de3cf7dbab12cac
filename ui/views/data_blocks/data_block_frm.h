// The data block window: a child frame of the main window with one tab per data block of the
// current project, each holding the grid of that block. The main frame routes the update groups
// 0x86 (the grids' codes) and 0x87 (the window's own) to it while it is open; the window acts on
// 0x87 itself and hands every code on to the active tab's view.
#pragma once

#include <QTabWidget>
#include <QWidget>

#include <functional>

#include "ui/shell/main_frame_commands.h"
#include "ui/shell/update_router.h"
#include "ui/views/data_blocks/data_block_view.h"

namespace Brenno {

class CDataBlockFrm : public QWidget, public PaneRequestReceiver {
 public:
  // Builds the tabs from the project and starts on the block with the smallest key.
  explicit CDataBlockFrm(QWidget* parent = nullptr);

  QTabWidget* Tabs() const { return tabs_; }
  // The view of the active tab; null without tabs.
  CDataBlockView* ActiveView() const;
  CDataBlockView* ViewOf(int key) const;

  // 0x8700 rebuilds the tabs, 0x8701 retitles them, 0x8702 activates the tab of block `value`;
  // then every code goes on to the active tab's view.
  void OnPaneRequest(uint16_t code, intptr_t value) override;
  void RebuildTabs();
  void RetitleTabs();
  void SelectBlockTab(int key);

  // A command reaches the active view only while it or one of its editors has the focus: false
  // when the view is not focused or does not have the command.
  bool UpdateEditorCommand(int offset, CommandStatus& status);
  bool OnEditorCommand(int offset);

  // Called when the window closes, so that the main frame drops its pointer to it.
  void SetOnClosed(std::function<void()> onClosed) { onClosed_ = std::move(onClosed); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  void OnActiveTabChanged();
  void FocusActiveView();
  QTabWidget* tabs_ = nullptr;
  std::function<void()> onClosed_;
};

}  // namespace Brenno
