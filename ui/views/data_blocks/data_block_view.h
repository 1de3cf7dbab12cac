// The grid of one data block: rows of address, data type, initial value and comment with their
// validity, edited in place while offline. Its commands insert and delete rows and blocks (the
// PID kinds after asking for their head address) and cut, copy and paste rows as text. The data
// block window creates one view per block and hands it the update codes 0x8600..0x8602.
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

#include "ui/shell/main_frame_commands.h"
#include "ui/views/data_blocks/data_block_rows.h"
#include "ui/views/model_table_view.h"
#include "ui/views/table_commands.h"

namespace Brenno {

// The data block commands (offsets from the command-id base) beside the Edit commands of
// TableCommand.
enum DataBlockCommand : int {
  kDataCmdInsertRow = 20361,
  kDataCmdDeleteRow = 20362,
  kDataCmdInsertBlock = 20363,
  kDataCmdDeleteBlock = 20364,
  kDataCmdInsertRowBelow = 20383,
  kDataCmdInsertPidBlock = 20385,
  kDataCmdInsertPidfBlock = 20391,
  kDataCmdInsertDpidBlock = 20392,
};

class CDataBlockView : public ModelTableView<DataBlockRows> {
 public:
  // The block's key is set before the window is created and never changes.
  explicit CDataBlockView(int key, QWidget* parent = nullptr);
  int Key() const { return Rows().Key(); }

  // Creates the window (columns, rows, the check-mark images); the control id is the key.
  bool Create(QWidget* parent, int controlId) override;

  // 0x8600 rebuilds the rows, 0x8601 redraws, 0x8602 shows a located row; others are ignored.
  void OnPaneUpdate(uint16_t code, intptr_t value);

  // The view's commands: false for a command it does not have; otherwise the state, or running it.
  bool UpdateEditorCommand(int offset, CommandStatus& status) override;
  bool OnEditorCommand(int offset) override;
  static const std::vector<TableMenuItem>& MenuItems();

  // Replaces the head-address dialog of the PID commands (tests); false means Cancel.
  void SetHeadAddressAsker(std::function<bool(unsigned&)> asker) { asker_ = std::move(asker); }

 protected:
  const std::vector<TableMenuItem>& ContextMenuItems() const override { return MenuItems(); }

 private:
  void SelectAndRebuild(int record);
  void InsertBlock(DataBlockKind kind);
  bool AskHeadAddress(unsigned& address);
  std::function<bool(unsigned&)> asker_;
};

}  // namespace Brenno
