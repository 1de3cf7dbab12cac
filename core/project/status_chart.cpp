#include "core/project/status_chart.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "core/project/project_environment.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/operand_format.h"
#include "core/env/utilities.h"
#include "core/program/online_services.h"
#include "core/project/project.h"
#include "core/project/symbol_resolution.h"

namespace Brenno {

namespace {

// Data blocks and charts belong to no program unit: only global symbols count.
constexpr int kNoProgramUnit = -1;

constexpr int kBool = 0, kByte = 1, kWord = 2, kDword = 3, kSint = 4, kInt = 5, kDint = 6, kUsint = 7, kUint = 8,
              kUdint = 9, kReal = 10;

constexpr std::array<const wchar_t*, 11> kTypeNames = {
    L"BOOL", L"BYTE", L"WORD", L"DWORD", L"SINT", L"INT", L"DINT", L"USINT", L"UINT", L"UDINT", L"REAL"};

// The width formats in the order they are tried, each with the types it offers.
struct FormatTypes {
  const wchar_t* Format;
  std::vector<int> Types;
};

const std::vector<FormatTypes>& WidthFormats() {
  static const std::vector<FormatTypes> formats = {
      {L"Tvz:", {kBool}},
      {L"Bvz:", {kSint, kUsint, kByte}},
      {L"Wvz:", {kInt, kUint, kWord}},
      {L"Dvz:", {kDint, kUdint, kDword, kReal}},
  };
  return formats;
}

const FormatTypes& AddressOfFormat() {
  static const FormatTypes format = {L"Da:", {kDword}};
  return format;
}

const FormatTypes& PointerFormat() {
  static const FormatTypes format = {L"Dp:", {kSint, kUsint, kByte, kInt, kUint, kWord, kDint, kUdint, kDword, kReal}};
  return format;
}

// The memory slots whose operands the chart shows only as aligned double words.
bool IsDoubleWordSlot(int slot) { return slot == 2 || slot == 3; }

bool SymbolicAddressing() {
  const ProjectEnvironment* environment = InstalledEnvironment();
  return environment != nullptr && environment->Config.SymbolicAddr != 0;
}

// The row of a cell; ExceptionLogicError for a key without a working page or a cell outside it.
size_t CellIndex(const StatusChart& chart, int key, int line, int group) {
  const std::vector<StatusRow>& rows = chart.GetPage(key);
  if (line < 0 || group < 0) throw ExceptionLogicError();
  const int64_t index = static_cast<int64_t>(line) + static_cast<int64_t>(group) * chart.SizeItemRow;
  if (index < 0 || static_cast<uint64_t>(index) >= rows.size()) throw ExceptionLogicError();
  return static_cast<size_t>(index);
}

StatusRow& CellAt(StatusChart& chart, int key, int line, int group) {
  return chart.GetPage(key)[CellIndex(chart, key, line, group)];
}

const StatusRow& CellAt(const StatusChart& chart, int key, int line, int group) {
  return chart.GetPage(key)[CellIndex(chart, key, line, group)];
}

// The display format the cell shows, or null for an empty cell.
const DisplayFormat* SelectedFormat(const StatusRow& row) {
  if (row.Address.empty() || row.FormatIndex < 0 || static_cast<size_t>(row.FormatIndex) >= row.Formats.size()) {
    return nullptr;
  }
  return &row.Formats[static_cast<size_t>(row.FormatIndex)];
}

std::wstring ListText(const std::vector<std::wstring>& list, int index) {
  return index >= 0 && static_cast<size_t>(index) < list.size() ? list[static_cast<size_t>(index)] : std::wstring();
}

std::wstring TypeName(const StatusChart& chart, int type) {
  if (type >= 0 && static_cast<size_t>(type) < chart.TypeNames.size()) return chart.TypeNames[static_cast<size_t>(type)];
  return type >= 0 && type < static_cast<int>(kTypeNames.size()) ? kTypeNames[static_cast<size_t>(type)] : L"";
}

// A display format turned back into its canonical text, made a symbol while symbolic addressing
// is on. False when the format's operand has no text on the PLC type.
bool PrintDisplayFormat(const DisplayFormat& format, OperandAddress& operand, std::wstring& text) {
  const Project& project = CurrentProject();
  try {
    OperandAddress printed;
    std::wstring printedText;
    if (!MatchOperandWordWithFormat(format.Format, project.MemoryAreas, format.Operand, printed)) return false;
    if (!PrintOperandAddress(printed, printedText)) return false;
    if (SymbolicAddressing()) LookupOperandSymbol(project.Symbols, printedText, kNoProgramUnit);
    operand = std::move(printed);
    text = std::move(printedText);
    return true;
  } catch (const ExceptionError&) {
    return false;
  }
}

bool MatchFormat(const std::wstring& format, const OperandAddress& operand, OperandFields& fields) {
  try {
    return MatchOperandTextWithFormat(format, CurrentProject().MemoryAreas, operand, fields);
  } catch (const ExceptionError&) {
    return false;
  }
}

void AppendFormats(const FormatTypes& format, const OperandFields& fields, std::vector<DisplayFormat>& formats) {
  for (const int type : format.Types) formats.push_back(DisplayFormat{fields, format.Format, type});
}

// ---- The online cache as the chart reads and writes it.

// The force flag of a bit: 1 forced, 2 not forced, 255 unknown (offline, stale, not cached).
// Read with the cache's request flag, so that the monitor keeps polling what the chart shows.
uint8_t ReadForceFlag(const OnlineCacheSnapshot& snapshot, const OperandFields& fields) {
  OnlineCacheSnapshot reading = snapshot;
  uint8_t flag = 255;
  ReadCachedBit(reading, fields, flag);
  StampCurrentOnlineRequests(reading);
  return flag;
}

// A plain variable of a slot with a force image: a bit, or a double word at a multiple of 4 in
// slots 2 and 3. The cache sizes its force images from the memory map when the project is
// built, so the answer does not depend on being online.
bool IsForceable(const OperandFields& fields) { return IsForceableOperand(CurrentProject().Online, fields); }

bool IsForceableCell(const StatusRow& row) {
  const DisplayFormat* format = SelectedFormat(row);
  return format != nullptr && IsForceable(format->Operand);
}

// The value and force writes of the chart: the online cache starts the write jobs while online.
bool WriteValue(const DisplayFormat& format, const std::wstring& text) {
  return WriteVariable(CurrentProject().Online, format.Operand, text, format.Type);
}
void WriteForce(const OperandFields& fields, uint8_t state) { WriteForcedVariable(CurrentProject().Online, fields, state); }

// A blank cell.
void Blank(StatusRow& row) { row = StatusRow(); }

// Moves every display format to a bit position (byte x 8 + bit).
std::vector<DisplayFormat> MoveFormats(std::vector<DisplayFormat> formats, int64_t position) {
  for (DisplayFormat& format : formats) {
    format.Operand.byte = static_cast<int32_t>(position / 8);
    format.Operand.bit = static_cast<int32_t>(position % 8);
  }
  return formats;
}

bool SetChartRange(StatusChart& chart, int key, size_t start, const std::wstring& text) {
  std::vector<std::wstring> pieces;
  SplitText(pieces, text, L"-");
  if (pieces.size() != 2) return false;
  std::vector<DisplayFormat> firstFormats, lastFormats;
  OperandAddress firstOperand, lastOperand;
  if (!BuildDisplayFormats(pieces[0], firstFormats, firstOperand)) return false;
  if (!BuildDisplayFormats(pieces[1], lastFormats, lastOperand)) return false;
  const OperandFields& first = firstFormats.front().Operand;
  const OperandFields& last = lastFormats.front().Operand;
  if (first.kind != last.kind || first.slot != last.slot || first.width != last.width || first.group != last.group) {
    return false;
  }
  int64_t step = 0;
  try {
    step = firstOperand.groups != -1 ? static_cast<int64_t>(first.group) * 4 + 4 : WidthBits(first.width);
  } catch (const ExceptionError&) {
    return false;
  }
  if (step < 1) return false;
  int64_t from = static_cast<int64_t>(first.byte) * 8 + first.bit;
  int64_t to = static_cast<int64_t>(last.byte) * 8 + last.bit;
  if (to < from) std::swap(from, to);

  std::vector<StatusRow>& rows = chart.GetPage(key);
  size_t index = start;
  for (int64_t position = from; position <= to && index < rows.size(); position += step, ++index) {
    std::vector<DisplayFormat> formats = MoveFormats(firstFormats, position);
    OperandAddress operand;
    std::wstring address;
    if (!PrintDisplayFormat(formats.front(), operand, address)) continue;
    StatusRow& row = rows[index];
    row.Value.clear();
    row.FormatIndex = 0;
    row.Address = std::move(address);
    row.Operand = std::move(operand);
    row.Formats = std::move(formats);
  }
  return true;
}

bool IsBlockRange(const StatusChart& chart, int firstLine, int endLine, int firstGroup, int endGroup) {
  return firstLine >= 0 && firstLine < endLine && endLine <= chart.SizeItemRow && firstGroup >= 0 &&
         firstGroup < endGroup && endGroup <= chart.SizeItemColumn;
}

}  // namespace

size_t StatusChartPageSize(const StatusChart& chart) {
  if (chart.SizeItemRow <= 0 || chart.SizeItemColumn <= 0) return 0;
  return static_cast<size_t>(chart.SizeItemRow) * static_cast<size_t>(chart.SizeItemColumn);
}

// ---- Lifecycle.

void ResetStatusChart(StatusChart& chart) {
  const Project& project = CurrentProject();
  if (project.Type == nullptr) throw ExceptionLogicError();
  ResetStatusChart(chart, project.Type->Description.StatusChart, project.Instructions.ReservedNames);
}

void ResetStatusChart(StatusChart& chart, const StatusChartSizes& sizes, const std::vector<std::wstring>& reservedNames) {
  chart = StatusChart();
  chart.SizePage = sizes.SizePage;
  chart.SizePageInit = sizes.SizePageInit;
  chart.SizeItemRow = sizes.SizeItemRow;
  chart.SizeItemColumn = sizes.SizeItemColumn;
  chart.ReservedNames = reservedNames;
  chart.TypeNames.assign(kTypeNames.begin(), kTypeNames.end());
  if (CurrentLanguage() == kLanguageChinese) {
    chart.ForceLabels = {L"强制", L"未强制", L"未知"};
  } else {
    chart.ForceLabels = {L"Forced", L"Unforced", L"Unknown"};
  }
  const size_t cells = StatusChartPageSize(chart);
  for (int key = 0; key < chart.SizePage; ++key) {
    TablePage<StatusRow> page;
    page.Name = DefaultTablePageName(kStatusChartPagePrefix, key);
    page.Address = DefaultTablePageAddress(kStatusChartPagePrefix, key);
    page.Rows.resize(cells);
    chart.Reference.insert_or_assign(key, std::move(page));
  }
}

void FillDefaultStatusCharts(StatusChart& chart) {
  FillDefaultTablePages(chart, chart.SizePageInit);
  RefreshStatusRows(chart);
}

void NormalizeStatusChart(StatusChart& chart) {
  NormalizeTablePages(chart, [](StatusChart& c, int key) { return StatusChartPageMatchesReference(c, key); });
  RefreshStatusRows(chart);
}

bool StatusChartPageMatchesReference(StatusChart& chart, int key) {
  if (!TablePageTitlesFit(chart, key)) return false;
  chart.GetPage(key).resize(StatusChartPageSize(chart));
  return true;
}

void RefreshStatusRows(StatusChart& chart) {
  for (auto& [key, page] : chart.Working) {
    for (StatusRow& row : page.Rows) {
      if (row.Address.empty()) {
        Blank(row);
        continue;
      }
      std::vector<DisplayFormat> formats;
      OperandAddress scanned;
      if (!BuildDisplayFormats(row.Address, formats, scanned) || row.FormatIndex < 0 ||
          static_cast<size_t>(row.FormatIndex) >= formats.size()) {
        Blank(row);
        continue;
      }
      OperandAddress operand;
      std::wstring address;
      if (!PrintDisplayFormat(formats[static_cast<size_t>(row.FormatIndex)], operand, address)) {
        Blank(row);
        continue;
      }
      row.Address = std::move(address);
      row.Operand = std::move(operand);
      row.Formats = std::move(formats);
    }
  }
}

// ---- Pages.

int AddStatusChartFromReference(StatusChart& chart, int key) { return AddTablePageFromReference(chart, key); }
int AddFirstFreeStatusChart(StatusChart& chart) { return AddFirstFreeTablePage(chart); }
int RemoveStatusChart(StatusChart& chart, int key) { return RemoveTablePage(chart, key); }
void PruneStatusCharts(StatusChart& chart) { PruneTablePages(chart); }
const std::vector<StatusRow>& GetStatusChartPage(const StatusChart& chart, int key) { return chart.GetPage(key); }

// ---- Cells.

const std::wstring& GetChartAddress(const StatusChart& chart, int key, int line, int group) {
  return CellAt(chart, key, line, group).Address;
}

bool SetChartAddress(StatusChart& chart, int key, int line, int group, const std::wstring& text) {
  const size_t index = CellIndex(chart, key, line, group);
  StatusRow& row = chart.GetPage(key)[index];
  if (text == row.Address) return false;
  if (text.empty()) {
    Blank(row);
    return true;
  }
  if (text.find(L'-') != std::wstring::npos) return SetChartRange(chart, key, index, text);

  std::vector<DisplayFormat> formats;
  OperandAddress scanned;
  if (!BuildDisplayFormats(text, formats, scanned)) return false;
  OperandAddress operand;
  std::wstring address;
  if (!PrintDisplayFormat(formats.front(), operand, address)) return false;
  // A double word of M memory is first shown as a REAL, every other operand in its first type.
  const int selected = operand.prefix == L"MD" && formats.size() > 3 ? 3 : 0;
  row.Value.clear();
  row.FormatIndex = selected;
  row.Address = std::move(address);
  row.Operand = std::move(operand);
  row.Formats = std::move(formats);
  return true;
}

int GetChartFormatIndex(const StatusChart& chart, int key, int line, int group) {
  return CellAt(chart, key, line, group).FormatIndex;
}

bool SetChartFormatIndex(StatusChart& chart, int key, int line, int group, int index) {
  StatusRow& row = CellAt(chart, key, line, group);
  if (index == row.FormatIndex || row.FormatIndex == -1 || row.Address.empty()) return false;
  if (index < 0 || static_cast<size_t>(index) >= row.Formats.size()) return false;
  row.FormatIndex = index;
  return true;
}

std::vector<std::wstring> GetChartFormatNames(const StatusChart& chart, int key, int line, int group) {
  const StatusRow& row = CellAt(chart, key, line, group);
  std::vector<std::wstring> names;
  if (row.Address.empty()) return names;
  for (const DisplayFormat& format : row.Formats) names.push_back(TypeName(chart, format.Type));
  return names;
}

std::wstring GetChartValueText(StatusChart& chart, int key, int line, int group) {
  StatusRow& row = CellAt(chart, key, line, group);
  row.Value.clear();
  const DisplayFormat* format = SelectedFormat(row);
  if (format == nullptr) return std::wstring();
  OnlineCacheSnapshot snapshot = TakeCurrentOnlineSnapshot();
  std::wstring text;
  ReadCachedValueText(snapshot, format->Operand, row.Operand.groups != -1, format->Type, text);
  StampCurrentOnlineRequests(snapshot);
  row.Value = text;
  return text;
}

bool WriteChartValue(StatusChart& chart, int key, int line, int group, const std::wstring& text, bool* started) {
  const DisplayFormat* format = SelectedFormat(CellAt(chart, key, line, group));
  if (format == nullptr) return false;
  const bool writing = WriteValue(*format, text);
  if (started != nullptr) *started = writing;
  return true;
}

int GetChartForceState(StatusChart& chart, int key, int line, int group) {
  StatusRow& row = CellAt(chart, key, line, group);
  row.ForceState = -1;
  const DisplayFormat* format = SelectedFormat(row);
  if (format == nullptr) return -1;
  if (!IsForceable(format->Operand)) return -1;
  switch (ReadForceFlag(TakeCurrentOnlineSnapshot(), format->Operand)) {
    case 1: row.ForceState = 0; break;
    case 2: row.ForceState = 1; break;
    default: row.ForceState = 2; break;
  }
  return row.ForceState;
}

bool SetChartForceState(StatusChart& chart, int key, int line, int group, int choice) {
  const StatusRow& row = CellAt(chart, key, line, group);
  if ((choice != 0 && choice != 1) || !IsForceableCell(row)) return false;
  WriteForce(SelectedFormat(row)->Operand, choice == 0 ? 1 : 2);
  return true;
}

std::vector<std::wstring> GetChartForceChoices(const StatusChart& chart, int key, int line, int group) {
  const StatusRow& row = CellAt(chart, key, line, group);
  if (!IsForceableCell(row)) return {};
  return chart.ForceLabels;
}

// ---- Plain text.

int CopyChartRowsAsText(StatusChart& chart, int key, int firstLine, int endLine, int firstGroup, int endGroup,
                        std::wstring& text) {
  if (!IsBlockRange(chart, firstLine, endLine, firstGroup, endGroup)) return -1;
  std::wstring out;
  for (int line = firstLine; line < endLine; ++line) {
    for (int group = firstGroup; group < endGroup; ++group) {
      if (group != firstGroup) out += L"\t";
      const StatusRow& row = CellAt(chart, key, line, group);
      const DisplayFormat* format = SelectedFormat(row);
      out += row.Address;
      out += L"\t";
      out += format == nullptr ? std::wstring() : TypeName(chart, format->Type);
      out += L"\t";
      out += GetChartValueText(chart, key, line, group);
      out += L"\t";
      out += ListText(chart.ForceLabels, GetChartForceState(chart, key, line, group));
    }
    out += L"\r\n";
  }
  text = std::move(out);
  return 0;
}

int CutChartRowsAsText(StatusChart& chart, int key, int firstLine, int endLine, int firstGroup, int endGroup,
                       std::wstring& text) {
  if (CopyChartRowsAsText(chart, key, firstLine, endLine, firstGroup, endGroup, text) != 0) return -1;
  for (int line = firstLine; line < endLine; ++line) {
    for (int group = firstGroup; group < endGroup; ++group) SetChartAddress(chart, key, line, group, std::wstring());
  }
  return 0;
}

int PasteChartRowsFromText(StatusChart& chart, int key, int line, int group, const std::wstring& text) {
  if (line < 0 || line >= chart.SizeItemRow || group < 0 || group >= chart.SizeItemColumn) return -1;
  std::vector<std::wstring> pieces;
  SplitText(pieces, text, L"\r\n");
  if (!pieces.empty() && pieces.back().empty()) pieces.pop_back();
  for (size_t k = 0; k < pieces.size(); ++k) {
    std::vector<std::wstring> fields;
    SplitText(fields, pieces[k], L"\t");
    if (fields.size() % 4 != 0) return -1;
    const int64_t target = static_cast<int64_t>(line) + static_cast<int64_t>(k);
    if (target >= chart.SizeItemRow) continue;
    for (size_t j = 0; j * 4 < fields.size(); ++j) {
      const int64_t cellGroup = static_cast<int64_t>(group) + static_cast<int64_t>(j);
      if (cellGroup >= chart.SizeItemColumn) break;
      const int targetLine = static_cast<int>(target);
      const int targetGroup = static_cast<int>(cellGroup);
      SetChartAddress(chart, key, targetLine, targetGroup, fields[4 * j]);
      const std::vector<std::wstring> names = GetChartFormatNames(chart, key, targetLine, targetGroup);
      for (size_t n = 0; n < names.size(); ++n) {
        if (names[n] == fields[4 * j + 1]) {
          SetChartFormatIndex(chart, key, targetLine, targetGroup, static_cast<int>(n));
          break;
        }
      }
    }
  }
  return 0;
}

// ---- Symbolic addressing.

void ShowChartSymbols(StatusChart& chart) {
  const Project& project = CurrentProject();
  for (auto& [key, page] : chart.Working) {
    for (StatusRow& row : page.Rows) LookupOperandSymbol(project.Symbols, row.Address, kNoProgramUnit);
  }
}

void ShowChartAddresses(StatusChart& chart) {
  const Project& project = CurrentProject();
  for (auto& [key, page] : chart.Working) {
    for (StatusRow& row : page.Rows) LookupSymbolName(row.Address, kNoProgramUnit, project.Symbols);
  }
}

std::vector<std::wstring> ListChartAddressExamples(size_t count) {
  std::vector<std::wstring> examples;
  std::vector<std::wstring> regions;
  for (const MemoryRegion& region : CurrentProject().MemoryAreas.Regions) {
    if (examples.size() >= count) break;
    if (region.Area == kAreaConst || region.Area == kAreaLocal || (region.Use & kKindValue) == 0 ||
        region.Accesses.empty() || std::find(regions.begin(), regions.end(), region.Name) != regions.end()) {
      continue;
    }
    std::wstring first;
    std::wstring last;
    DescribeAccessRange(region, region.Accesses.front(), first, last);
    std::vector<DisplayFormat> formats;
    OperandAddress operand;
    if (first.empty() || !BuildDisplayFormats(first, formats, operand)) continue;
    regions.push_back(region.Name);
    examples.push_back(first);
  }
  return examples;
}

bool BuildDisplayFormats(const std::wstring& text, std::vector<DisplayFormat>& formats, OperandAddress& operand) {
  formats.clear();
  if (text.empty()) return false;
  const Project& project = CurrentProject();
  std::wstring address = text;
  LookupSymbolName(address, kNoProgramUnit, project.Symbols);
  if (!ScanOperandText(address, operand)) return false;

  for (const FormatTypes& width : WidthFormats()) {
    OperandFields fields;
    if (!MatchFormat(width.Format, operand, fields)) continue;
    if (IsDoubleWordSlot(fields.slot) && !(fields.width == kWidthDword && fields.byte % 4 == 0)) {
      formats.clear();
      return false;
    }
    AppendFormats(width, fields, formats);
  }
  if (formats.empty()) {
    OperandFields fields;
    if (MatchFormat(AddressOfFormat().Format, operand, fields)) AppendFormats(AddressOfFormat(), fields, formats);
    if (MatchFormat(PointerFormat().Format, operand, fields)) AppendFormats(PointerFormat(), fields, formats);
  }
  return !formats.empty();
}

}  // namespace Brenno
