#include "ui/views/data_blocks/data_block_rows.h"

#include <array>
#include <cstdint>
#include <cwctype>

#include "core/env/language.h"
#include "core/env/utilities.h"
#include "core/project/data_block_table.h"
#include "core/project/paged_table.h"
#include "core/project/pid_templates.h"
#include "core/project/project.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/views/program_location.h"

namespace Brenno {

namespace {

constexpr std::array<const wchar_t*, kDataRowTypeCount> kFixedTypeNames = {
    L"BOOL", L"BYTE", L"WORD", L"DWORD", L"SINT", L"INT", L"DINT", L"USINT", L"UINT", L"UDINT", L"REAL"};

DataBlockTable& Blocks() { return CurrentProject().DataBlocks; }

bool IsTextColumn(int column) {
  return column == DataBlockRows::kColumnAddress || column == DataBlockRows::kColumnValue ||
         column == DataBlockRows::kColumnComment;
}

}  // namespace

std::wstring DataTypeName(const DataBlockTable& table, int type) {
  if (type < 0 || type >= kDataRowTypeCount) return {};
  if (static_cast<size_t>(type) < table.TypeNames.size()) return table.TypeNames[static_cast<size_t>(type)];
  return kFixedTypeNames[static_cast<size_t>(type)];
}

int LocatedDataRow(intptr_t value, int key, int recordCount) {
  if (value == 0) return -1;
  const ProgramLocation* location = *reinterpret_cast<const ProgramLocation* const*>(value);
  if (location == nullptr || location->Kind != 0 || location->PageKey != key) return -1;
  // The record is read as ints: kind, data block key, row.
  const int row = location->Network;
  return row >= 0 && row < recordCount ? row : -1;
}

bool DataBlockRows::HasBlock() const { return Blocks().HasWorkingPage(key_); }

int DataBlockRows::GetRecordCount() const {
  const DataBlockTable& table = Blocks();
  return table.HasWorkingPage(key_) ? static_cast<int>(table.GetPage(key_).size()) : 0;
}

bool DataBlockRows::IsRow(int record, int group, int line) const {
  return group == 0 && line == 0 && record >= 0 && record < GetRecordCount();
}

GridColumnFormat DataBlockRows::GetColumnFormat(int group, int column) const {
  if (group != 0) return {-1, L""};
  switch (column) {
    case kColumnCheck:
      return {20, L""};
    case kColumnAddress:
      return {100, PickText(L"Adress", L"地址")};
    case kColumnType:
      return {100, PickText(L"Data Type", L"数据类型")};
    case kColumnValue:
      return {100, PickText(L"Value", L"值")};
    case kColumnComment:
      return {200, PickText(L"Comment", L"注释")};
    default:
      return {-1, L""};
  }
}

GridCellContent DataBlockRows::GetCellContent(int record, int group, int line, int column) const {
  GridCellContent content;
  if (!IsRow(record, group, line)) return content;
  const DataBlockTable& table = Blocks();
  const DataRow& row = GetDataRow(table, key_, record);
  switch (column) {
    case kColumnCheck:
      content.Image = row.CheckFlags == kDataRowComplete ? kGridImageCheck : kGridImageBlank;
      break;
    case kColumnAddress:
      content.Text = row.Address;
      break;
    case kColumnType:
      content.Text = DataTypeName(table, row.Type);
      break;
    case kColumnValue:
      content.Text = row.Value;
      break;
    case kColumnComment:
      content.Text = row.Comment;
      break;
    default:
      break;
  }
  return content;
}

std::optional<Colour> DataBlockRows::GetCellColor(int record, int group, int line, int column, int state) const {
  if (group != 0 || line != 0) return std::nullopt;
  int flag = 0;
  switch (column) {
    case kColumnCheck:
      return GridStateColour(GridKeyStyle(GridBlack()), state);
    case kColumnAddress:
      flag = kDataCheckAddress;
      break;
    case kColumnType:
      flag = kDataCheckType;
      break;
    case kColumnValue:
      flag = kDataCheckValue;
      break;
    case kColumnComment:
      return GridStateColour(GridCommentStyle(GridGreen()), state);
    default:
      return std::nullopt;
  }
  const bool valid = IsRow(record, 0, 0) && (GetDataRow(Blocks(), key_, record).CheckFlags & flag) != 0;
  return GridStateColour(GridDataStyle(valid ? GridBlack() : GridRed()), state);
}

int DataBlockRows::GetCellEditKind(int record, int group, int line, int column) const {
  if (!IsRow(record, group, line) || !GridIsOffline()) return kGridReadOnly;
  if (IsTextColumn(column)) return kGridEditText;
  if (column == kColumnType) return kGridEditChoice;
  return kGridReadOnly;
}

bool DataBlockRows::AcceptCellChar(int, int group, int line, int column, wchar_t c) const {
  return group == 0 && line == 0 && IsTextColumn(column) && !std::iswcntrl(static_cast<wint_t>(c));
}

std::vector<std::wstring> DataBlockRows::GetCellChoices(int, int group, int line, int column) const {
  if (group != 0 || line != 0 || column != kColumnType) return {};
  const DataBlockTable& table = Blocks();
  std::vector<std::wstring> names;
  names.reserve(kDataRowTypeCount);
  for (int type = 0; type < kDataRowTypeCount; ++type) names.push_back(DataTypeName(table, type));
  return names;
}

std::wstring DataBlockRows::GetCellEditText(int record, int group, int line, int column) const {
  if (!IsRow(record, group, line) || !GridIsOffline()) return {};
  const DataRow& row = GetDataRow(Blocks(), key_, record);
  if (column == kColumnAddress) return row.Address;
  if (column == kColumnValue) return row.Value;
  if (column == kColumnComment) return row.Comment;
  return {};
}

bool DataBlockRows::SetCellText(int record, int group, int line, int column, const std::wstring& text) {
  if (!IsRow(record, group, line) || !GridIsOffline()) return false;
  bool changed = false;
  if (column == kColumnAddress) {
    changed = SetDataRowAddress(Blocks(), key_, record, text);
  } else if (column == kColumnValue) {
    changed = SetDataRowValue(Blocks(), key_, record, text);
  } else if (column == kColumnComment) {
    changed = SetDataRowComment(Blocks(), key_, record, text);
  }
  if (changed) NotifyMainFrame(EvDataRowsEdited, intptr_t{0});
  return changed;
}

int DataBlockRows::GetCellChoice(int record, int group, int line, int column) const {
  if (!IsRow(record, group, line) || column != kColumnType || !GridIsOffline()) return 0;
  return GetDataRowType(Blocks(), key_, record);
}

bool DataBlockRows::SetCellChoice(int record, int group, int line, int column, int choice) {
  if (!IsRow(record, group, line) || column != kColumnType || choice < 0 || choice >= kDataRowTypeCount ||
      !GridIsOffline()) {
    return false;
  }
  if (!SetDataRowType(Blocks(), key_, record, choice)) return false;
  NotifyMainFrame(EvDataRowsEdited, intptr_t{0});
  return true;
}

// ---------------------------------------------------------------- commands

bool DataBlockRows::RowCommandReady(const GridCursor& cursor) const {
  return GridIsOffline() && cursor.HasFocusCell() && cursor.HasSelection() && HasBlock();
}

int DataBlockRows::RowsChanged(int row) {
  if (rowsChanged_) rowsChanged_(row);
  NotifyMainFrame(EvDataRowsEdited, intptr_t{0});
  return row;
}

bool DataBlockRows::CanCutOrCopy(const GridCursor& cursor) const {
  return GridIsOffline() && cursor.HasSelection() && HasBlock();
}

int DataBlockRows::Cut(const GridCursor& cursor) {
  if (!RowCommandReady(cursor)) return -1;
  // The rows leave the block only once their text is on the clipboard.
  std::wstring text;
  if (CopyDataRowsAsText(Blocks(), key_, cursor.FirstRecord, cursor.EndRecord, text) != 0) return -1;
  if (!PutClipboardText(text)) return -1;
  const int row = CutDataRowsAsText(Blocks(), key_, cursor.FirstRecord, cursor.EndRecord, text);
  if (row == -1) return -1;
  return RowsChanged(row);
}

bool DataBlockRows::Copy(const GridCursor& cursor) const {
  if (!RowCommandReady(cursor)) return false;
  std::wstring text;
  if (CopyDataRowsAsText(Blocks(), key_, cursor.FirstRecord, cursor.EndRecord, text) != 0) return false;
  return PutClipboardText(text);
}

bool DataBlockRows::CanPaste(const GridCursor& cursor) const {
  return GridIsOffline() && cursor.HasFocusCell() && HasBlock();
}

int DataBlockRows::Paste(const GridCursor& cursor) {
  if (!RowCommandReady(cursor)) return -1;
  std::wstring text;
  if (!GetClipboardText(text) || text.empty()) return -1;
  const int row = PasteDataRowsFromText(Blocks(), key_, cursor.FocusRecord, text);
  if (row == -1) return -1;
  return RowsChanged(row);
}

bool DataBlockRows::CanSelectAll() const { return GridIsOffline() && GetRecordCount() > 0; }

bool DataBlockRows::CanInsertRow(const GridCursor& cursor, bool below) const {
  if (!RowCommandReady(cursor)) return false;
  return CanInsertDataRow(Blocks(), key_, cursor.FocusRecord + (below ? 1 : 0));
}

int DataBlockRows::InsertRow(const GridCursor& cursor, bool below) {
  if (!RowCommandReady(cursor)) return -1;
  const int row = InsertDataRow(Blocks(), key_, cursor.FocusRecord + (below ? 1 : 0));
  if (row == -1) return -1;
  return RowsChanged(row);
}

bool DataBlockRows::CanDeleteRows(const GridCursor& cursor) const {
  if (!RowCommandReady(cursor)) return false;
  return CanDeleteDataRows(Blocks(), key_, cursor.FirstRecord, cursor.EndRecord);
}

int DataBlockRows::DeleteRows(const GridCursor& cursor) {
  if (!RowCommandReady(cursor)) return -1;
  const int row = DeleteDataRows(Blocks(), key_, cursor.FirstRecord, cursor.EndRecord);
  if (row == -1) return -1;
  return RowsChanged(row);
}

bool DataBlockRows::CanInsertBlock() const { return GridIsOffline() && CanAddTablePage(Blocks()); }

int DataBlockRows::InsertBlock(DataBlockKind kind, unsigned headAddress) {
  if (!GridIsOffline()) return -1;
  if (kind != DataBlockKind::Plain && headAddress > static_cast<unsigned>(INT32_MAX)) return -1;
  const int head = static_cast<int>(headAddress);
  int key = -1;
  switch (kind) {
    case DataBlockKind::Plain:
      key = InsertDataBlock(Blocks());
      break;
    case DataBlockKind::Pid:
      key = InsertPidDataBlock(Blocks(), head);
      break;
    case DataBlockKind::Pidf:
      key = InsertPidfDataBlock(Blocks(), head);
      break;
    case DataBlockKind::Dpid:
      key = InsertDpidDataBlock(Blocks(), head);
      break;
  }
  if (key == -1) return -1;
  NotifyMainFrame(EvDataBlockInserted, intptr_t{key});
  return key;
}

bool DataBlockRows::CanDeleteBlock() const { return GridIsOffline() && HasBlock(); }

int DataBlockRows::DeleteBlock() {
  if (!CanDeleteBlock()) return -1;
  const int next = RemoveDataBlock(Blocks(), key_);
  if (next == -1) return -1;
  ValidateDataRows(Blocks());
  if (next == key_ && blockRenewed_) blockRenewed_();
  NotifyMainFrame(EvDataBlockDeleted, intptr_t{next});
  return next;
}

}  // namespace Brenno
