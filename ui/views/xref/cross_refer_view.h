// The cross-reference window: a child frame of the main window with three read-only grids over
// the current project's cross-reference index, "VALUE" (the uses of operands), "BIT" (one row per
// byte, a mark per bit) and "BYTE" (one row per ten bytes, a mark per byte). Refresh rebuilds the
// index; Location (or a double click on a use) asks the hub to show the place of the use. The
// main frame routes the update groups 0x8F and 0x90 to the frame, which hands every code to all
// three views.
#pragma once

#include <QTabWidget>
#include <QWidget>

#include <functional>

#include "ui/shell/main_frame_commands.h"
#include "ui/shell/notify_codes.h"
#include "ui/shell/update_router.h"
#include "ui/views/model_table_view.h"
#include "ui/views/table_commands.h"
#include "ui/views/xref/cross_refer_tables.h"

namespace Brenno {

// What the three views share: update codes, Refresh, the context menu.
template <class Model>
class CrossReferViewBase : public ModelTableView<Model> {
 public:
  using ModelTableView<Model>::ModelTableView;

  // 0x8F00 rebuilds the rows, 0x8F01 redraws; other codes are ignored.
  void OnPaneUpdate(uint16_t code, intptr_t) {
    if (code == UpdXrefRebuild) {
      this->RebuildListRows();
    } else if (code == UpdXrefRedraw) {
      if (this->isVisible()) this->InvalidateGrid();
    }
  }

  bool UpdateEditorCommand(int offset, CommandStatus& status) override {
    if (offset != kTableCmdRefresh) return false;
    status.Enabled = this->Rows().CanRefresh();
    return true;
  }
  bool OnEditorCommand(int offset) override {
    if (offset != kTableCmdRefresh) return false;
    this->setFocus();
    this->Rows().Refresh();
    return true;
  }
  static const std::vector<TableMenuItem>& MenuItems() {
    static const std::vector<TableMenuItem> items = {
        {kTableCmdRefresh, L"&Refresh", L"刷新(&R)", {}}, {0, L"", L"", {}}, {kTableCmdLocation, L"&Location", L"定位(&L)", {}}};
    return items;
  }

 protected:
  const std::vector<TableMenuItem>& ContextMenuItems() const override { return MenuItems(); }
};

class CCrossReferView : public CrossReferViewBase<CrossReferUseTable> {
 public:
  explicit CCrossReferView(QWidget* parent = nullptr) : CrossReferViewBase(parent) {}
  bool UpdateEditorCommand(int offset, CommandStatus& status) override;
  bool OnEditorCommand(int offset) override;

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

class CCrossReferBitView : public CrossReferViewBase<CrossReferUsageTable> {
 public:
  explicit CCrossReferBitView(QWidget* parent = nullptr);
};

class CCrossReferByteView : public CrossReferViewBase<CrossReferUsageTable> {
 public:
  explicit CCrossReferByteView(QWidget* parent = nullptr);
};

class CCrossReferFrm : public QWidget, public PaneRequestReceiver {
 public:
  // The index is not built here: the main frame rebuilds it (RebuildCrossReferIndex) right
  // before it opens the window.
  explicit CCrossReferFrm(QWidget* parent = nullptr);

  QTabWidget* Tabs() const { return tabs_; }
  CCrossReferView* ValueView() const { return value_; }
  CCrossReferBitView* BitView() const { return bit_; }
  CCrossReferByteView* ByteView() const { return byte_; }

  // Every code goes to all three views, in tab order.
  void OnPaneRequest(uint16_t code, intptr_t value) override;
  // A command goes to the active tab's view, focused or not.
  bool UpdateEditorCommand(int offset, CommandStatus& status);
  bool OnEditorCommand(int offset);
  void SetOnClosed(std::function<void()> onClosed) { onClosed_ = std::move(onClosed); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Calls `f` with the active tab's view; false without one.
  template <class F>
  bool WithActiveView(F f) const {
    switch (tabs_->currentIndex()) {
      case 0: return f(*value_);
      case 1: return f(*bit_);
      case 2: return f(*byte_);
      default: return false;
    }
  }

  QTabWidget* tabs_ = nullptr;
  CCrossReferView* value_ = nullptr;
  CCrossReferBitView* bit_ = nullptr;
  CCrossReferByteView* byte_ = nullptr;
  std::function<void()> onClosed_;
};

}  // namespace Brenno
