#include "ui/views/var_table/program_var_table.h"

#include <cwctype>

#include "core/env/language.h"
#include "core/env/utilities.h"
#include "core/program/program_block.h"
#include "core/project/local_var_table.h"
#include "core/project/operand_names.h"
#include "core/project/project.h"
#include "ui/shell/notify_main_frame.h"

namespace Brenno {

namespace {

Project& Current() { return CurrentProject(); }

bool IsTextColumn(int column) {
  return column == ProgramVarTable::kColumnSymbol || column == ProgramVarTable::kColumnComment;
}

}  // namespace

int ProgramVarTable::FirstPageKey() {
  const ProgramBlock& program = Current().Program;
  if (!program.InterruptTable.Working.empty()) return program.InterruptTable.Working.begin()->first;
  if (!program.SubroutineTable.Working.empty()) return program.SubroutineTable.Working.begin()->first;
  return -1;
}

bool ProgramVarTable::HasPage() const { return Current().Program.FindProgramPage(pageKey_) != nullptr; }

int ProgramVarTable::GetRecordCount() const {
  const ProgramPage* page = Current().Program.FindProgramPage(pageKey_);
  return page != nullptr ? static_cast<int>(page->LocalVars.size()) : 0;
}

bool ProgramVarTable::IsEntry(int record, int group, int line) const {
  return group == 0 && line == 0 && record >= 0 && record < GetRecordCount();
}

GridColumnFormat ProgramVarTable::GetColumnFormat(int group, int column) const {
  if (group != 0) return {-1, L""};
  switch (column) {
    case kColumnAddress:
      return {60, L""};
    case kColumnSymbol:
      return {100, PickText(L"Symbol", L"符号")};
    case kColumnArea:
      return {80, PickText(L"Var Type", L"变量类型")};
    case kColumnType:
      return {80, PickText(L"Data Type", L"数据类型")};
    case kColumnComment:
      return {200, PickText(L"Comment", L"注释")};
    default:
      return {-1, L""};
  }
}

GridCellContent ProgramVarTable::GetCellContent(int record, int group, int line, int column) const {
  GridCellContent content;
  if (!IsEntry(record, group, line)) return content;
  const SymbolTable& symbols = Current().Symbols;
  const VarEntry& entry = GetLocalVar(pageKey_, record);
  switch (column) {
    case kColumnAddress:
      if (entry.CheckFlags == kVarEntryComplete) {
        content.Image = kGridImageCheck;
        content.Text = entry.Address;
      } else {
        content.Image = kGridImageBlank;
      }
      break;
    case kColumnSymbol:
      content.Text = entry.Name;
      break;
    case kColumnArea:
      content.Text = SymbolListText(symbols.AreaNames, entry.Area);
      break;
    case kColumnType:
      content.Text = SymbolListText(symbols.TypeNames, entry.Type);
      break;
    case kColumnComment:
      content.Text = entry.Comment;
      break;
    default:
      break;
  }
  return content;
}

int ProgramVarTable::GetCellEditKind(int record, int group, int line, int column) const {
  if (!IsEntry(record, group, line) || !GridIsOffline()) return kGridReadOnly;
  if (IsTextColumn(column)) return kGridEditText;
  if (column == kColumnType) return kGridEditChoice;
  return kGridReadOnly;
}

bool ProgramVarTable::AcceptCellChar(int, int group, int line, int column, wchar_t c) const {
  return group == 0 && line == 0 && IsTextColumn(column) && !std::iswcntrl(c);
}

std::vector<std::wstring> ProgramVarTable::GetCellChoices(int, int group, int line, int column) const {
  if (group != 0 || line != 0 || column != kColumnType) return {};
  return GridSymbolTypeNames();
}

std::wstring ProgramVarTable::GetCellEditText(int record, int group, int line, int column) const {
  if (!IsEntry(record, group, line) || !GridIsOffline()) return {};
  if (column == kColumnSymbol) return GetLocalVarName(pageKey_, record);
  if (column == kColumnComment) return GetLocalVarComment(pageKey_, record);
  return {};
}

bool ProgramVarTable::SetCellText(int record, int group, int line, int column, const std::wstring& text) {
  if (!IsEntry(record, group, line) || !GridIsOffline()) return false;
  const SymbolTable& symbols = Current().Symbols;
  bool changed = false;
  if (column == kColumnSymbol) {
    // The rungs already drawn show the local names as the table now gives them.
    const SymbolEditScope scope(Current());
    changed = SetLocalVarName(symbols, pageKey_, record, text);
  } else if (column == kColumnComment) {
    changed = SetLocalVarComment(symbols, pageKey_, record, text);
  }
  if (changed) NotifyMainFrame(EvVarTableEdited, intptr_t{0});
  return changed;
}

int ProgramVarTable::GetCellChoice(int record, int group, int line, int column) const {
  if (!IsEntry(record, group, line) || column != kColumnType || !GridIsOffline()) return 0;
  return GetLocalVarType(pageKey_, record);
}

bool ProgramVarTable::SetCellChoice(int record, int group, int line, int column, int choice) {
  if (!IsEntry(record, group, line) || column != kColumnType || choice < 0 || choice >= kGridSymbolTypeCount ||
      !GridIsOffline()) {
    return false;
  }
  bool changed = false;
  {
    const SymbolEditScope scope(Current());
    changed = SetLocalVarType(Current().Symbols, pageKey_, record, choice);
  }
  if (!changed) return false;
  NotifyMainFrame(EvVarTableEdited, intptr_t{0});
  return true;
}

std::optional<Colour> ProgramVarTable::GetCellColor(int record, int group, int line, int column, int state) const {
  if (group != 0 || line != 0) return std::nullopt;
  const auto flagColour = [&](int flag) {
    const bool valid = IsEntry(record, 0, 0) && (GetLocalVar(pageKey_, record).CheckFlags & flag) != 0;
    return valid ? GridBlack() : GridRed();
  };
  switch (column) {
    case kColumnAddress:
    case kColumnArea:
      return GridStateColour(GridKeyStyle(GridBlack()), state);
    case kColumnSymbol:
      return GridStateColour(GridDataStyle(flagColour(kVarCheckName)), state);
    case kColumnType:
      return GridStateColour(GridDataStyle(flagColour(kVarCheckType)), state);
    case kColumnComment:
      return GridStateColour(GridCommentStyle(GridGreen()), state);
    default:
      return std::nullopt;
  }
}

// ---------------------------------------------------------------- commands

bool ProgramVarTable::CanCopy(const GridCursor& cursor) const {
  return GridIsOffline() && cursor.HasSelection() && HasPage();
}

bool ProgramVarTable::Copy(const GridCursor& cursor) const {
  if (!CanCopy(cursor) || !cursor.HasFocusCell()) return false;
  std::wstring text;
  if (!CopyLocalVarsAsText(Current().Symbols, pageKey_, cursor.FirstRecord, cursor.EndRecord, text)) return false;
  return PutClipboardText(text);
}

bool ProgramVarTable::CanSelectAll() const { return GridIsOffline() && GetRecordCount() > 0; }

bool ProgramVarTable::CanInsertRow(const GridCursor& cursor) const {
  if (!GridIsOffline() || !cursor.HasFocusCell() || !cursor.HasSelection() || !HasPage()) return false;
  return CanInsertLocalVar(Current().Symbols, pageKey_, cursor.FocusRecord);
}

int ProgramVarTable::InsertRow(const GridCursor& cursor, bool below) {
  if (!CanInsertRow(cursor)) return -1;
  const SymbolTable& symbols = Current().Symbols;
  const int row = below ? InsertLocalVarBelow(symbols, pageKey_, cursor.FocusRecord)
                        : InsertLocalVar(symbols, pageKey_, cursor.FocusRecord);
  if (row == -1) return -1;
  NotifyMainFrame(EvVarTableEdited, intptr_t{0});
  return row;
}

bool ProgramVarTable::CanDeleteRows(const GridCursor& cursor) const {
  if (!GridIsOffline() || !cursor.HasFocusCell() || !cursor.HasSelection() || !HasPage()) return false;
  return CanDeleteLocalVars(pageKey_, cursor.FirstRecord, cursor.EndRecord);
}

int ProgramVarTable::DeleteRows(const GridCursor& cursor) {
  if (!CanDeleteRows(cursor)) return -1;
  int row = -1;
  {
    const SymbolEditScope scope(Current());
    row = DeleteLocalVars(Current().Symbols, pageKey_, cursor.FirstRecord, cursor.EndRecord);
  }
  if (row == -1) return -1;
  NotifyMainFrame(EvVarTableEdited, intptr_t{0});
  return row;
}

bool ProgramVarTable::CanInsertInterrupt() const { return GridIsOffline() && Current().Program.CanAddInterrupt(); }

int ProgramVarTable::InsertInterrupt() {
  if (!CanInsertInterrupt()) return -1;
  Project& project = Current();
  const int key = project.Program.AddInterrupt();
  if (key == -1) return -1;
  NormalizeAllLocalVarTables(project.Program, project.Symbols);
  NotifyMainFrame(EvVarTablePageAdded, key);
  return key;
}

bool ProgramVarTable::CanInsertSubroutine() const { return GridIsOffline() && Current().Program.CanAddSubroutine(); }

int ProgramVarTable::InsertSubroutine() {
  if (!CanInsertSubroutine()) return -1;
  const int key = Current().Program.AddSubroutine();
  if (key == -1) return -1;
  NotifyMainFrame(EvVarTablePageAdded, key);
  return key;
}

bool ProgramVarTable::CanDeleteInterrupt() const {
  return GridIsOffline() && Current().Program.InterruptTable.HasWorkingPage(pageKey_);
}

int ProgramVarTable::DeleteInterrupt() {
  if (!CanDeleteInterrupt()) return -1;
  const int next = Current().Program.RemoveInterrupt(pageKey_);
  if (next == -1) return -1;
  NotifyMainFrame(EvVarTablePageRemoved, next);
  return next;
}

bool ProgramVarTable::CanDeleteSubroutine() const {
  return GridIsOffline() && Current().Program.SubroutineTable.HasWorkingPage(pageKey_);
}

int ProgramVarTable::DeleteSubroutine() {
  if (!CanDeleteSubroutine()) return -1;
  const int next = Current().Program.RemoveSubroutine(pageKey_);
  if (next == -1) return -1;
  NotifyMainFrame(EvVarTablePageRemoved, next);
  return next;
}

}  // namespace Brenno
