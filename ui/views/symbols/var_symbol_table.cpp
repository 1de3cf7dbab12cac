#include "ui/views/symbols/var_symbol_table.h"

#include <cwctype>

#include "core/env/language.h"
#include "core/env/utilities.h"
#include "core/project/operand_names.h"
#include "core/project/project.h"
#include "core/project/symbol_table.h"
#include "ui/shell/notify_main_frame.h"

namespace Brenno {

namespace {

SymbolTable& Symbols() { return CurrentProject().Symbols; }

bool IsTextColumn(int column) {
  return column == VarSymbolTable::kColumnSymbol || column == VarSymbolTable::kColumnAddress ||
         column == VarSymbolTable::kColumnComment;
}

}  // namespace

bool VarSymbolTable::HasPage() const { return Symbols().HasWorkingPage(pageKey_); }

int VarSymbolTable::GetRecordCount() const {
  const SymbolTable& table = Symbols();
  return table.HasWorkingPage(pageKey_) ? static_cast<int>(table.GetPage(pageKey_).size()) : 0;
}

bool VarSymbolTable::IsEntry(int record, int group, int line) const {
  return group == 0 && line == 0 && record >= 0 && record < GetRecordCount();
}

GridColumnFormat VarSymbolTable::GetColumnFormat(int group, int column) const {
  if (group != 0) return {};
  switch (column) {
    case kColumnCheck:
      return {20, L""};
    case kColumnSymbol:
      return {100, PickText(L"Symbol", L"符号")};
    case kColumnAddress:
      return {80, PickText(L"Adress", L"地址")};
    case kColumnType:
      return {80, PickText(L"Data Type", L"数据类型")};
    case kColumnComment:
      return {200, PickText(L"Comment", L"注释")};
    default:
      return {};
  }
}

GridCellContent VarSymbolTable::GetCellContent(int record, int group, int line, int column) const {
  GridCellContent content;
  if (!IsEntry(record, group, line)) return content;
  const SymbolTable& table = Symbols();
  const VarEntry& entry = GetSymbolEntry(table, pageKey_, record);
  switch (column) {
    case kColumnCheck:
      content.Image = entry.CheckFlags == kVarEntryComplete ? kGridImageCheck : kGridImageBlank;
      break;
    case kColumnSymbol:
      content.Text = entry.Name;
      break;
    case kColumnAddress:
      content.Text = entry.Address;
      break;
    case kColumnType:
      content.Text = SymbolListText(table.TypeNames, entry.Type);
      break;
    case kColumnComment:
      content.Text = entry.Comment;
      break;
    default:
      break;
  }
  return content;
}

int VarSymbolTable::GetCellEditKind(int record, int group, int line, int column) const {
  if (!IsEntry(record, group, line) || !GridIsOffline()) return kGridReadOnly;
  if (IsTextColumn(column)) return kGridEditText;
  if (column == kColumnType) return kGridEditChoice;
  return kGridReadOnly;
}

bool VarSymbolTable::AcceptCellChar(int, int group, int line, int column, wchar_t c) const {
  return group == 0 && line == 0 && IsTextColumn(column) && !std::iswcntrl(c);
}

std::vector<std::wstring> VarSymbolTable::GetCellChoices(int, int group, int line, int column) const {
  if (group != 0 || line != 0 || column != kColumnType) return {};
  return GridSymbolTypeNames();
}

std::wstring VarSymbolTable::GetCellEditText(int record, int group, int line, int column) const {
  if (!IsEntry(record, group, line) || !GridIsOffline()) return {};
  const VarEntry& entry = GetSymbolEntry(Symbols(), pageKey_, record);
  if (column == kColumnSymbol) return entry.Name;
  if (column == kColumnAddress) return entry.Address;
  if (column == kColumnComment) return entry.Comment;
  return {};
}

bool VarSymbolTable::SetCellText(int record, int group, int line, int column, const std::wstring& text) {
  if (!IsEntry(record, group, line) || !GridIsOffline()) return false;
  bool changed = false;
  if (column == kColumnComment) {
    // A comment names nothing: the operands stay as they are shown.
    changed = SetSymbolEntryComment(Symbols(), pageKey_, record, text);
  } else {
    // The rungs already drawn show the symbols as the table now gives them.
    const SymbolEditScope scope(CurrentProject());
    if (column == kColumnSymbol) {
      changed = SetSymbolEntryName(Symbols(), pageKey_, record, text);
    } else if (column == kColumnAddress) {
      changed = SetSymbolEntryAddress(Symbols(), pageKey_, record, text);
    }
  }
  if (changed) NotifyMainFrame(EvVariableSymbolsEdited, intptr_t{0});
  return changed;
}

int VarSymbolTable::GetCellChoice(int record, int group, int line, int column) const {
  if (!IsEntry(record, group, line) || column != kColumnType || !GridIsOffline()) return 0;
  return GetSymbolEntryType(Symbols(), pageKey_, record);
}

bool VarSymbolTable::SetCellChoice(int record, int group, int line, int column, int choice) {
  if (!IsEntry(record, group, line) || column != kColumnType || choice < 0 || choice >= kGridSymbolTypeCount ||
      !GridIsOffline()) {
    return false;
  }
  bool changed = false;
  {
    const SymbolEditScope scope(CurrentProject());
    changed = SetSymbolEntryType(Symbols(), pageKey_, record, choice);
  }
  if (!changed) return false;
  NotifyMainFrame(EvVariableSymbolsEdited, intptr_t{0});
  return true;
}

std::optional<Colour> VarSymbolTable::GetCellColor(int record, int group, int line, int column, int state) const {
  if (group != 0 || line != 0) return std::nullopt;
  int flag = 0;
  switch (column) {
    case kColumnCheck:
      return GridStateColour(GridKeyStyle(GridBlack()), state);
    case kColumnSymbol:
      flag = kVarCheckName;
      break;
    case kColumnAddress:
      flag = kVarCheckAddress;
      break;
    case kColumnType:
      flag = kVarCheckType;
      break;
    case kColumnComment:
      return GridStateColour(GridCommentStyle(GridGreen()), state);
    default:
      return std::nullopt;
  }
  const bool valid = IsEntry(record, 0, 0) && (GetSymbolEntry(Symbols(), pageKey_, record).CheckFlags & flag) != 0;
  return GridStateColour(GridDataStyle(valid ? GridBlack() : GridRed()), state);
}

// ---------------------------------------------------------------- commands

bool VarSymbolTable::CanCutOrCopy(const GridCursor& cursor) const {
  return GridIsOffline() && cursor.HasSelection() && HasPage();
}

int VarSymbolTable::Cut(const GridCursor& cursor) {
  if (!CanCutOrCopy(cursor) || !cursor.HasFocusCell()) return -1;
  // The rows leave the table only once their text is on the clipboard.
  std::wstring text;
  if (CopySymbolEntriesAsText(Symbols(), pageKey_, cursor.FirstRecord, cursor.EndRecord, text) != 0) return -1;
  if (!PutClipboardText(text)) return -1;
  int row = -1;
  {
    const SymbolEditScope scope(CurrentProject());
    row = CutSymbolEntriesAsText(Symbols(), pageKey_, cursor.FirstRecord, cursor.EndRecord, text);
  }
  if (row == -1) return -1;
  NotifyMainFrame(EvVariableSymbolsEdited, intptr_t{0});
  return row;
}

bool VarSymbolTable::Copy(const GridCursor& cursor) const {
  if (!CanCutOrCopy(cursor) || !cursor.HasFocusCell()) return false;
  std::wstring text;
  if (CopySymbolEntriesAsText(Symbols(), pageKey_, cursor.FirstRecord, cursor.EndRecord, text) != 0) return false;
  return PutClipboardText(text);
}

bool VarSymbolTable::CanPaste(const GridCursor& cursor) const {
  return GridIsOffline() && cursor.HasFocusCell() && HasPage();
}

int VarSymbolTable::Paste(const GridCursor& cursor) {
  if (!CanPaste(cursor) || !cursor.HasSelection()) return -1;
  std::wstring text;
  if (!GetClipboardText(text)) return -1;
  int row = -1;
  {
    const SymbolEditScope scope(CurrentProject());
    row = PasteSymbolEntriesFromText(Symbols(), pageKey_, cursor.FocusRecord, text);
  }
  if (row == -1) return -1;
  NotifyMainFrame(EvVariableSymbolsEdited, intptr_t{0});
  return row;
}

bool VarSymbolTable::CanSelectAll() const { return GridIsOffline() && GetRecordCount() > 0; }

bool VarSymbolTable::CanInsertRow(const GridCursor& cursor, bool below) const {
  if (!GridIsOffline() || !cursor.HasFocusCell() || !cursor.HasSelection() || !HasPage()) return false;
  return CanInsertSymbolEntry(Symbols(), pageKey_, cursor.FocusRecord + (below ? 1 : 0));
}

int VarSymbolTable::InsertRow(const GridCursor& cursor, bool below) {
  if (!CanInsertRow(cursor, below)) return -1;
  const int row = InsertSymbolEntry(Symbols(), pageKey_, cursor.FocusRecord + (below ? 1 : 0));
  if (row == -1) return -1;
  NotifyMainFrame(EvVariableSymbolsEdited, intptr_t{0});
  return row;
}

bool VarSymbolTable::CanDeleteRows(const GridCursor& cursor) const {
  if (!GridIsOffline() || !cursor.HasFocusCell() || !cursor.HasSelection() || !HasPage()) return false;
  return CanDeleteSymbolEntries(Symbols(), pageKey_, cursor.FirstRecord, cursor.EndRecord);
}

int VarSymbolTable::DeleteRows(const GridCursor& cursor) {
  if (!CanDeleteRows(cursor)) return -1;
  int row = -1;
  {
    const SymbolEditScope scope(CurrentProject());
    row = DeleteSymbolEntries(Symbols(), pageKey_, cursor.FirstRecord, cursor.EndRecord);
  }
  if (row == -1) return -1;
  NotifyMainFrame(EvVariableSymbolsEdited, intptr_t{0});
  return row;
}

bool VarSymbolTable::CanInsertTable() const { return GridIsOffline() && CanAddTablePage(Symbols()); }

int VarSymbolTable::InsertTable() {
  if (!GridIsOffline()) return -1;
  const int key = InsertSymbolTable(Symbols());
  if (key == -1) return -1;
  NotifyMainFrame(EvVariableTableInserted, key);
  return key;
}

bool VarSymbolTable::CanDeleteTable() const { return GridIsOffline() && HasPage(); }

int VarSymbolTable::DeleteTable(bool& ownPageReplaced) {
  ownPageReplaced = false;
  if (!CanDeleteTable()) return -1;
  int next = -1;
  {
    const SymbolEditScope scope(CurrentProject());
    next = RemoveSymbolTable(Symbols(), pageKey_);
    if (next != -1) ValidateSymbolEntries(Symbols());
  }
  if (next == -1) return -1;
  ownPageReplaced = next == pageKey_;
  NotifyMainFrame(EvVariableTableDeleted, next);
  return next;
}

}  // namespace Brenno
