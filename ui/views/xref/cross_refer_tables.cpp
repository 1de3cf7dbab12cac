#include "ui/views/xref/cross_refer_tables.h"

#include "core/env/language.h"
#include "core/project/project.h"
#include "ui/shell/notify_main_frame.h"

namespace Brenno {

namespace {

const CrossReferIndex& Index() { return CurrentProject().CrossReferences; }

bool IsCell(int group, int line) { return group == 0 && line == 0; }

template <class Rows>
bool HasRow(const Rows& rows, int record) {
  return record >= 0 && static_cast<size_t>(record) < rows.size();
}

}  // namespace

bool CrossReferTableBase::CanRefresh() const { return GridDrawsRows(); }

bool CrossReferTableBase::Refresh() {
  if (!CanRefresh()) return false;
  RebuildCrossReferIndex(CurrentProject());
  NotifyMainFrame(EvCrossReferenceRefreshed, intptr_t{0});
  return true;
}

// ---------------------------------------------------------------- uses

int CrossReferUseTable::GetRecordCount() const { return static_cast<int>(Index().Rows.size()); }

GridColumnFormat CrossReferUseTable::GetColumnFormat(int group, int column) const {
  if (group != 0) return {};
  switch (column) {
    case 0:
      return {100, PickText(L"Address", L"地址")};
    case 1:
      return {100, PickText(L"Symbol", L"符号")};
    case 2:
      return {220, PickText(L"Location", L"位置")};
    case 3:
      return {150, PickText(L"Context", L"关联")};
    default:
      return {};
  }
}

GridCellContent CrossReferUseTable::GetCellContent(int record, int group, int line, int column) const {
  GridCellContent content;
  const auto& rows = Index().Rows;
  if (!IsCell(group, line) || !HasRow(rows, record)) return content;
  const CrossReferRow& row = rows[record];
  switch (column) {
    case 0:
      content.Text = row.Address;
      break;
    case 1:
      content.Text = row.Symbol;
      break;
    case 2:
      content.Text = row.LocationText;
      break;
    case 3:
      content.Text = row.Context;
      break;
    default:
      break;
  }
  return content;
}

std::optional<Colour> CrossReferUseTable::GetCellColor(int, int group, int line, int column, int state) const {
  if (!IsCell(group, line) || column < 0 || column >= 4) return std::nullopt;
  return GridStateColour(GridCommentStyle(GridBlack()), state);
}

bool CrossReferUseTable::CanLocate(const GridCursor& cursor) const { return GridDrawsRows() && cursor.HasFocusCell(); }

bool CrossReferUseTable::Locate(const GridCursor& cursor) const {
  if (!CanLocate(cursor)) return false;
  const auto& rows = Index().Rows;
  if (!HasRow(rows, cursor.FocusRecord)) return false;
  const std::optional<ProgramLocation> location = MakeProgramLocation(rows[cursor.FocusRecord].Location);
  if (!location) return false;
  // The hub reads the record through a pointer to a pointer to it, during the call.
  const ProgramLocation* record = &*location;
  NotifyMainFrame(EvCrossReferenceLocate, reinterpret_cast<intptr_t>(&record));
  return true;
}

// ---------------------------------------------------------------- usage maps

int CrossReferUsageTable::GetRecordCount() const {
  const CrossReferIndex& index = Index();
  return static_cast<int>(map_ == Map::Bits ? index.BitUsage.size() : index.ByteUsage.size());
}

int CrossReferUsageTable::GetColumnsPerGroup() const {
  return 1 + (map_ == Map::Bits ? kBitUsageCells : kByteUsageCells);
}

GridColumnFormat CrossReferUsageTable::GetColumnFormat(int group, int column) const {
  if (group != 0 || column < 0 || column >= GetColumnsPerGroup()) return {};
  if (column == 0) return {80, L""};
  return {30, std::to_wstring(column - 1)};
}

GridCellContent CrossReferUsageTable::GetCellContent(int record, int group, int line, int column) const {
  GridCellContent content;
  const CrossReferIndex& index = Index();
  const auto& rows = map_ == Map::Bits ? index.BitUsage : index.ByteUsage;
  if (!IsCell(group, line) || !HasRow(rows, record) || column < 0 || column >= GetColumnsPerGroup()) return content;
  const UsageRow& row = rows[record];
  if (column == 0) {
    content.Text = row.Address;
  } else if (static_cast<size_t>(column - 1) < row.Marks.size()) {
    content.Text = row.Marks.substr(column - 1, 1);
  }
  return content;
}

bool CrossReferUsageTable::MarkExists(int record, int column) const {
  const CrossReferIndex& index = Index();
  const auto& cells = map_ == Map::Bits ? index.BitCells : index.ByteCells;
  if (!HasRow(cells, record) || column < 1) return false;
  const UsageCellSet& set = cells[record];
  return static_cast<size_t>(column - 1) < set.size() && set[column - 1];
}

std::optional<Colour> CrossReferUsageTable::GetCellColor(int record, int group, int line, int column,
                                                         int state) const {
  if (!IsCell(group, line) || column < 0 || column >= GetColumnsPerGroup()) return std::nullopt;
  if (column > 0 && MarkExists(record, column)) return GridStateColour(GridCommentStyle(GridGreen()), state);
  return GridStateColour(GridKeyStyle(GridBlack()), state);
}

// ---------------------------------------------------------------- locations

std::optional<ProgramLocation> MakeProgramLocation(const CrossReferLocation& location) {
  if (location.empty()) return std::nullopt;
  ProgramLocation result;
  result.Kind = location[0];
  switch (location[0]) {
    case kLocationDataRow:
      if (location.size() != 3) return std::nullopt;
      result.PageKey = location[1];
      result.Network = location[2];  // the row, as the data block view reads it
      return result;
    case kLocationNetwork:
      if (location.size() != 3) return std::nullopt;
      result.PageKey = location[1];
      result.Network = location[2];
      return result;
    case kLocationStlOperand:
      if (location.size() != 5) return std::nullopt;
      result.PageKey = location[1];
      result.Network = location[2];
      result.LineOrColumn = location[3];
      return result;
    case kLocationLadOperand:
      if (location.size() != 8) return std::nullopt;
      result.PageKey = location[1];
      result.Network = location[2];
      result.LineOrColumn = location[3];
      result.Row = location[4];
      return result;
    default:
      return std::nullopt;
  }
}

}  // namespace Brenno
