#include "ui/views/symbols/fun_symbol_table.h"

#include <cwctype>

#include "core/env/language.h"
#include "core/env/utilities.h"
#include "core/program/program_block.h"
#include "core/project/local_var_table.h"
#include "core/project/project.h"
#include "ui/shell/notify_main_frame.h"

namespace Brenno {

namespace {

ProgramBlock& Program() { return CurrentProject().Program; }

bool IsCell(int group, int line) { return group == 0 && line == 0; }

}  // namespace

int FunSymbolTable::BlockListIndexOfKey(const ProgramBlock& program, int key) {
  const std::vector<int> keys = program.ListProgramBlockKeys();
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] == key) return static_cast<int>(i);
  }
  return -1;
}

std::wstring BlockNameRefusedMessage(const std::wstring& name, const std::wstring& address) {
  if (CurrentLanguage() == kLanguageChinese) {
    return L"\"" + name + L"\" 不能作为此程序单元的名称。名称以字母或 \"_\" 开头，只含字母、数字和 \"_\"，" +
           L"并且不能是地址（如 " + address + L"）、保留字或另一个程序单元的名称。";
  }
  return L"\"" + name + L"\" cannot name this program unit. A name begins with a letter or \"_\", holds only " +
         L"letters, digits and \"_\", and is neither an address (such as " + address +
         L") nor a reserved word nor the name of another program unit.";
}

std::wstring BlockAddressTakenMessage(const std::wstring& address) {
  if (CurrentLanguage() == kLanguageChinese) return L"地址 " + address + L" 已由另一个程序单元使用。请选择空闲的地址。";
  return L"The address " + address + L" is used by another program unit. Choose an address that is free.";
}

int FunSymbolTable::GetRecordCount() const { return Program().CountProgramBlocks(); }

int FunSymbolTable::KeyOfRecord(int record) const { return Program().BlockKeyAt(record); }

GridColumnFormat FunSymbolTable::GetColumnFormat(int group, int column) const {
  if (group != 0) return {};
  switch (column) {
    case kColumnCheck:
      return {20, L""};
    case kColumnSymbol:
      return {100, PickText(L"Symbol", L"符号")};
    case kColumnAddress:
      return {80, PickText(L"Adress", L"地址")};
    case kColumnComment:
      return {200, PickText(L"Comment", L"注释")};
    default:
      return {};
  }
}

GridCellContent FunSymbolTable::GetCellContent(int record, int group, int line, int column) const {
  GridCellContent content;
  if (!IsCell(group, line) || KeyOfRecord(record) == -1) return content;
  const ProgramBlock& program = Program();
  switch (column) {
    case kColumnCheck:
      content.Image = kGridImageCheck;
      break;
    case kColumnSymbol:
      content.Text = program.GetBlockNameAt(record);
      break;
    case kColumnAddress:
      content.Text = program.GetBlockAddressAt(record);
      break;
    case kColumnComment:
      content.Text = program.GetBlockCommentAt(record);
      break;
    default:
      break;
  }
  return content;
}

int FunSymbolTable::GetCellEditKind(int, int group, int line, int column) const {
  if (!IsCell(group, line) || !GridIsOffline()) return kGridReadOnly;
  if (column == kColumnSymbol || column == kColumnComment) return kGridEditText;
  if (column == kColumnAddress) return kGridEditChoice;
  return kGridReadOnly;
}

bool FunSymbolTable::AcceptCellChar(int, int group, int line, int column, wchar_t c) const {
  return IsCell(group, line) && (column == kColumnSymbol || column == kColumnComment) && !std::iswcntrl(c);
}

std::vector<std::wstring> FunSymbolTable::GetCellChoices(int record, int group, int line, int column) const {
  if (!IsCell(group, line) || column != kColumnAddress || KeyOfRecord(record) == -1) return {};
  return Program().ListBlockAddressChoicesAt(record);
}

std::wstring FunSymbolTable::GetCellEditText(int record, int group, int line, int column) const {
  if (!IsCell(group, line) || !GridIsOffline() || KeyOfRecord(record) == -1) return {};
  if (column == kColumnSymbol) return Program().GetBlockNameAt(record);
  if (column == kColumnComment) return Program().GetBlockCommentAt(record);
  return {};
}

bool FunSymbolTable::SetCellText(int record, int group, int line, int column, const std::wstring& text) {
  if (!IsCell(group, line) || !GridIsOffline()) return false;
  const int key = KeyOfRecord(record);
  if (key == -1) return false;
  bool changed = false;
  if (column == kColumnSymbol) {
    changed = Program().RenameBlock(key, text);
    if (!changed && text != Program().GetBlockName(key)) {
      refusal_ = GridRefusal{BlockNameRefusedMessage(text, Program().GetBlockAddress(key)), true};
    }
  } else if (column == kColumnComment) {
    changed = Program().SetBlockComment(key, text);
  }
  if (changed) NotifyMainFrame(EvFunctionSymbolEdited, key);
  return changed;
}

int FunSymbolTable::GetCellChoice(int record, int group, int line, int column) const {
  if (!IsCell(group, line) || column != kColumnAddress || !GridIsOffline()) return 0;
  const int key = KeyOfRecord(record);
  return key == -1 ? 0 : Program().GetBlockAddressIndex(key);
}

bool FunSymbolTable::SetCellChoice(int record, int group, int line, int column, int choice, int& selectRecord) {
  if (!IsCell(group, line) || column != kColumnAddress || choice == -1 || !GridIsOffline()) return false;
  int newKey = -1;
  if (!Program().ChangeBlockAddressAt(record, choice, newKey)) {
    const int key = KeyOfRecord(record);
    const std::vector<std::wstring> addresses = Program().ListBlockAddressChoicesAt(record);
    if (key != -1 && choice >= 0 && static_cast<size_t>(choice) < addresses.size() &&
        choice != Program().GetBlockAddressIndex(key)) {
      refusal_ = GridRefusal{BlockAddressTakenMessage(addresses[static_cast<size_t>(choice)]), false};
    }
    return false;
  }
  selectRecord = BlockListIndexOfKey(Program(), newKey);
  NotifyMainFrame(EvFunctionSymbolChanged, newKey);
  return true;
}

std::optional<Colour> FunSymbolTable::GetCellColor(int, int group, int line, int column, int state) const {
  if (!IsCell(group, line)) return std::nullopt;
  switch (column) {
    case kColumnCheck:
      return GridStateColour(GridKeyStyle(GridBlack()), state);
    case kColumnSymbol:
    case kColumnAddress:
      return GridStateColour(GridDataStyle(GridBlack()), state);
    case kColumnComment:
      return GridStateColour(GridCommentStyle(GridGreen()), state);
    default:
      return std::nullopt;
  }
}

// ---------------------------------------------------------------- commands

bool FunSymbolTable::CanOpen(const GridCursor& cursor) const { return GridIsOffline() && cursor.HasFocusCell(); }

bool FunSymbolTable::Open(const GridCursor& cursor) {
  if (!CanOpen(cursor)) return false;
  const int key = KeyOfRecord(cursor.FocusRecord);
  if (key == -1) return false;
  NotifyMainFrame(EvFunctionSymbolOpen, key);
  return true;
}

bool FunSymbolTable::CanCopy(const GridCursor& cursor) const { return GridIsOffline() && cursor.HasSelection(); }

bool FunSymbolTable::Copy(const GridCursor& cursor) const {
  if (!CanCopy(cursor) || !cursor.HasFocusCell()) return false;
  std::wstring text;
  if (!Program().CopyBlockTitlesAsText(cursor.FirstRecord, cursor.EndRecord, text)) return false;
  return PutClipboardText(text);
}

bool FunSymbolTable::CanSelectAll() const { return GridIsOffline() && GetRecordCount() > 0; }

bool FunSymbolTable::CanInsertInterrupt() const { return GridIsOffline() && Program().CanAddInterrupt(); }

int FunSymbolTable::InsertInterrupt() {
  if (!GridIsOffline()) return -1;
  Project& project = CurrentProject();
  const int key = project.Program.AddInterrupt();
  if (key == -1) return -1;
  NormalizeAllLocalVarTables(project.Program, project.Symbols);
  const int record = BlockListIndexOfKey(project.Program, key);
  NotifyMainFrame(EvFunctionSymbolAdded, key);
  return record;
}

bool FunSymbolTable::CanInsertSubroutine() const { return GridIsOffline() && Program().CanAddSubroutine(); }

int FunSymbolTable::InsertSubroutine() {
  if (!GridIsOffline()) return -1;
  const int key = Program().AddSubroutine();
  if (key == -1) return -1;
  const int record = BlockListIndexOfKey(Program(), key);
  NotifyMainFrame(EvFunctionSymbolAdded, key);
  return record;
}

bool FunSymbolTable::CanDeleteInterrupt(const GridCursor& cursor) const {
  if (!GridIsOffline() || !cursor.HasFocusCell()) return false;
  const int key = KeyOfRecord(cursor.FocusRecord);
  return key != -1 && Program().InterruptTable.HasWorkingPage(key);
}

int FunSymbolTable::DeleteInterrupt(const GridCursor& cursor) {
  if (!CanDeleteInterrupt(cursor)) return -1;
  const int next = Program().RemoveInterrupt(KeyOfRecord(cursor.FocusRecord));
  if (next == -1) return -1;
  const int record = BlockListIndexOfKey(Program(), next);
  NotifyMainFrame(EvFunctionSymbolRemoved, next);
  return record;
}

bool FunSymbolTable::CanDeleteSubroutine(const GridCursor& cursor) const {
  if (!GridIsOffline() || !cursor.HasFocusCell()) return false;
  const int key = KeyOfRecord(cursor.FocusRecord);
  return key != -1 && Program().SubroutineTable.HasWorkingPage(key);
}

int FunSymbolTable::DeleteSubroutine(const GridCursor& cursor) {
  if (!CanDeleteSubroutine(cursor)) return -1;
  const int next = Program().RemoveSubroutine(KeyOfRecord(cursor.FocusRecord));
  if (next == -1) return -1;
  const int record = BlockListIndexOfKey(Program(), next);
  NotifyMainFrame(EvFunctionSymbolRemoved, next);
  return record;
}

}  // namespace Brenno
