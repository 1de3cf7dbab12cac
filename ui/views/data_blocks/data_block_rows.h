// The rows of one data block of the current project as the data block grid shows them: per row
// its check mark, its address, its data type, its initial value and its comment. Everything is
// read from and written to the project's data block table, which revalidates all rows after each
// change; the grid shows the result as red text and a missing check mark. Cell edits and the row
// and block commands act only offline, and every change is announced to the hub.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/views/grid_table_model.h"

namespace Brenno {

class DataBlockTable;

// The kinds of data block the Insert commands add: an empty one from the reference pages, or one
// prefilled with the parameters of a PID, PIDF or DPID loop from a head address.
enum class DataBlockKind { Plain, Pid, Pidf, Dpid };

// The initial head address offered for a PID parameter block.
inline constexpr unsigned kPidDefaultHeadAddress = 2000;

class DataBlockRows : public GridSingleLineRows {
 public:
  static constexpr int kColumnCheck = 0;
  static constexpr int kColumnAddress = 1;
  static constexpr int kColumnType = 2;
  static constexpr int kColumnValue = 3;
  static constexpr int kColumnComment = 4;

  explicit DataBlockRows(int key = 0) : key_(key) {}
  int Key() const { return key_; }
  void SetKey(int key) { key_ = key; }
  // Whether the key is a working page of the current project's data block table.
  bool HasBlock() const;

  // The rows of the block; 0 for a key that is not a working page, so that a view whose block
  // has just gone draws nothing until the tabs catch up.
  int GetRecordCount() const;
  int GetColumnsPerGroup() const { return 5; }
  GridColumnFormat GetColumnFormat(int group, int column) const;
  GridCellContent GetCellContent(int record, int group, int line, int column) const;
  std::optional<Colour> GetCellColor(int record, int group, int line, int column, int state) const;
  int GetCellEditKind(int record, int group, int line, int column) const;
  bool AcceptCellChar(int record, int group, int line, int column, wchar_t c) const;
  std::vector<std::wstring> GetCellChoices(int record, int group, int line, int column) const;
  std::wstring GetCellEditText(int record, int group, int line, int column) const;
  bool SetCellText(int record, int group, int line, int column, const std::wstring& text);
  int GetCellChoice(int record, int group, int line, int column) const;
  // -1 (the Delete key) and indexes outside the type list change nothing.
  bool SetCellChoice(int record, int group, int line, int column, int choice);

  // ---- Commands. A row command that changed the rows calls the rows-changed handler with the
  // row to select before it announces the change, and returns that row; -1 when nothing
  // changed.
  bool CanCutOrCopy(const GridCursor& cursor) const;
  int Cut(const GridCursor& cursor);
  bool Copy(const GridCursor& cursor) const;
  bool CanPaste(const GridCursor& cursor) const;
  int Paste(const GridCursor& cursor);
  bool CanSelectAll() const;
  bool CanInsertRow(const GridCursor& cursor, bool below) const;
  int InsertRow(const GridCursor& cursor, bool below);
  bool CanDeleteRows(const GridCursor& cursor) const;
  int DeleteRows(const GridCursor& cursor);
  bool CanInsertBlock() const;
  // The new block's key, -1 when none was added. The head address counts for the PID kinds.
  int InsertBlock(DataBlockKind kind, unsigned headAddress);
  bool CanDeleteBlock() const;
  // Removes this block; the key of the block to show next, -1 when nothing was removed. When the
  // next block has this view's key (the only block was given back fresh), the block-renewed
  // handler runs before the deletion is announced.
  int DeleteBlock();

  void SetRowsChangedHandler(std::function<void(int)> handler) { rowsChanged_ = std::move(handler); }
  void SetBlockRenewedHandler(std::function<void()> handler) { blockRenewed_ = std::move(handler); }

 private:
  bool IsRow(int record, int group, int line) const;
  bool RowCommandReady(const GridCursor& cursor) const;
  int RowsChanged(int row);

  int key_ = 0;
  std::function<void(int)> rowsChanged_;
  std::function<void()> blockRenewed_;
};

// The display name of a type index: the table's entry, else the fixed name; empty for an index
// outside 0..10 (only a damaged project file holds one).
std::wstring DataTypeName(const DataBlockTable& table, int type);

// The data block row that an `UpdDataRowsLocate` value asks for: the value is the address of a
// pointer to a location record (kind, data block key, row, ...). The row when the kind is 0, the
// key is `key` and the row lies below `recordCount`; -1 otherwise (null pointers included).
int LocatedDataRow(intptr_t value, int key, int recordCount);

}  // namespace Brenno
