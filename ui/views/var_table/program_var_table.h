// The rows of the variable table above the program editor: the local variables of the shown
// program page (for a subroutine also its call interface), each with its assigned address and
// check mark, name, area, data type and comment. Editing and the row and page commands need the
// offline state; every change is announced to the hub.
#pragma once

#include <string>
#include <vector>

#include "ui/views/grid_table_model.h"

namespace Brenno {

class ProgramVarTable : public GridSingleLineRows {
 public:
  static constexpr int kColumnAddress = 0;
  static constexpr int kColumnSymbol = 1;
  static constexpr int kColumnArea = 2;
  static constexpr int kColumnType = 3;
  static constexpr int kColumnComment = 4;

  // The page shown at first: the smallest key of the interrupt table, else of the subroutine
  // table, else -1.
  static int FirstPageKey();

  int ShownPageKey() const { return pageKey_; }
  void SetShownPageKey(int key) { pageKey_ = key; }
  // Whether the shown key is a working page of either block table.
  bool HasPage() const;

  // The variables of the shown page; 0 when the key names no working page (none shown yet, or a
  // page removed before the hub's update arrives), so the grid then stays empty.
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

  // ---- Commands. Row commands return the row to select (the rows are then reloaded), page
  // commands the key they announced; -1 when nothing changed.
  bool CanCopy(const GridCursor& cursor) const;
  bool Copy(const GridCursor& cursor) const;
  bool CanSelectAll() const;
  bool CanInsertRow(const GridCursor& cursor) const;
  int InsertRow(const GridCursor& cursor, bool below);
  bool CanDeleteRows(const GridCursor& cursor) const;
  int DeleteRows(const GridCursor& cursor);
  bool CanInsertInterrupt() const;
  int InsertInterrupt();
  bool CanInsertSubroutine() const;
  int InsertSubroutine();
  bool CanDeleteInterrupt() const;
  int DeleteInterrupt();
  bool CanDeleteSubroutine() const;
  int DeleteSubroutine();

 private:
  bool IsEntry(int record, int group, int line) const;
  int pageKey_ = -1;
};

}  // namespace Brenno
