// The rows of the function symbol table: one row per program page of the current project, the
// main program and interrupt routines first, then the subroutines, each with its check mark, its
// name, its address and its comment. Renaming, moving to another address, commenting, and
// inserting and deleting interrupt routines and subroutines are done here on the project and
// announced to the hub; every change needs the offline state.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/views/grid_table_model.h"

namespace Brenno {

class ProgramBlock;

class FunSymbolTable : public GridSingleLineRows {
 public:
  static constexpr int kColumnCheck = 0;
  static constexpr int kColumnSymbol = 1;
  static constexpr int kColumnAddress = 2;
  static constexpr int kColumnComment = 3;

  // Row <-> page key over both block tables; -1 when absent.
  static int BlockListIndexOfKey(const ProgramBlock& program, int key);

  int GetRecordCount() const;
  int GetColumnsPerGroup() const { return 4; }
  GridColumnFormat GetColumnFormat(int group, int column) const;
  GridCellContent GetCellContent(int record, int group, int line, int column) const;
  int GetCellEditKind(int record, int group, int line, int column) const;
  bool AcceptCellChar(int record, int group, int line, int column, wchar_t c) const;
  std::vector<std::wstring> GetCellChoices(int record, int group, int line, int column) const;
  std::wstring GetCellEditText(int record, int group, int line, int column) const;
  // Rename (column 1) or comment (column 3); announced with the page key when the model took it.
  // A name the program refuses leaves a refusal that says what a name may be (TakeRefusal).
  bool SetCellText(int record, int group, int line, int column, const std::wstring& text);
  int GetCellChoice(int record, int group, int line, int column) const;
  // Moves the page to the chosen address (column 2). On success `selectRecord` is the page's new
  // row, which the view makes its single focus and selected row. An address another page holds
  // leaves a refusal.
  bool SetCellChoice(int record, int group, int line, int column, int choice, int& selectRecord);
  // Why the last edit was not taken, once; nullopt when it was taken or simply unchanged.
  std::optional<GridRefusal> TakeRefusal() { return std::exchange(refusal_, std::nullopt); }
  std::optional<Colour> GetCellColor(int record, int group, int line, int column, int state) const;

  // The page key of a row; -1 outside the list.
  int KeyOfRecord(int record) const;

  // ---- Commands. The structural ones return the row to select (the rows are then rebuilt),
  // -1 when nothing changed.
  bool CanOpen(const GridCursor& cursor) const;
  bool Open(const GridCursor& cursor);
  bool CanCopy(const GridCursor& cursor) const;
  bool Copy(const GridCursor& cursor) const;
  bool CanSelectAll() const;
  bool CanInsertInterrupt() const;
  int InsertInterrupt();
  bool CanInsertSubroutine() const;
  int InsertSubroutine();
  bool CanDeleteInterrupt(const GridCursor& cursor) const;
  int DeleteInterrupt(const GridCursor& cursor);
  bool CanDeleteSubroutine(const GridCursor& cursor) const;
  int DeleteSubroutine(const GridCursor& cursor);

 private:
  std::optional<GridRefusal> refusal_;
};

// What the user is told when a program page cannot take a typed name: what a name may be, with
// an address of the page's kind (`address`, such as SBR0) as the example of what it may not be.
std::wstring BlockNameRefusedMessage(const std::wstring& name, const std::wstring& address);
// ... and when the chosen address belongs to another page.
std::wstring BlockAddressTakenMessage(const std::wstring& address);

}  // namespace Brenno
