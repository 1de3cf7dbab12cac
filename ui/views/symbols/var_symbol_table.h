// The rows of one page of the global symbol table: per entry its check mark, its name, its
// address, its data type and its comment. The table is revalidated by the model after every
// change; the rows show the result in red text and a missing check mark. Editing and the row and
// page commands need the offline state; each change is announced to the hub.
#pragma once

#include <string>
#include <vector>

#include "ui/views/grid_table_model.h"

namespace Brenno {

class SymbolTable;

class VarSymbolTable : public GridSingleLineRows {
 public:
  static constexpr int kColumnCheck = 0;
  static constexpr int kColumnSymbol = 1;
  static constexpr int kColumnAddress = 2;
  static constexpr int kColumnType = 3;
  static constexpr int kColumnComment = 4;

  explicit VarSymbolTable(int pageKey = 0) : pageKey_(pageKey) {}
  int PageKey() const { return pageKey_; }
  void SetPageKey(int key) { pageKey_ = key; }
  // Whether the page is a working page of the current project's symbol table.
  bool HasPage() const;

  // The number of entries of the page; 0 for a key that is not a working page, so that a view
  // left on a vanished page draws nothing until the tabs catch up.
  int GetRecordCount() const;
  int GetColumnsPerGroup() const { return 5; }
  GridColumnFormat GetColumnFormat(int group, int column) const;
  GridCellContent GetCellContent(int record, int group, int line, int column) const;
  int GetCellEditKind(int record, int group, int line, int column) const;
  bool AcceptCellChar(int record, int group, int line, int column, wchar_t c) const;
  std::vector<std::wstring> GetCellChoices(int record, int group, int line, int column) const;
  std::wstring GetCellEditText(int record, int group, int line, int column) const;
  bool SetCellText(int record, int group, int line, int column, const std::wstring& text);
  int GetCellChoice(int record, int group, int line, int column) const;
  bool SetCellChoice(int record, int group, int line, int column, int choice);
  std::optional<Colour> GetCellColor(int record, int group, int line, int column, int state) const;

  // ---- Commands. The row commands return the row to select (the rows are then rebuilt), -1
  // when nothing changed.
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
  bool CanInsertTable() const;
  // The new page's key, -1 when none was added.
  int InsertTable();
  bool CanDeleteTable() const;
  // The key of the page to show next, -1 when nothing was removed. `ownPageReplaced` tells that
  // the only page was replaced by a fresh one under this view's key (its rows must be rebuilt).
  int DeleteTable(bool& ownPageReplaced);

 private:
  bool IsEntry(int record, int group, int line) const;
  int pageKey_ = 0;
};

}  // namespace Brenno
