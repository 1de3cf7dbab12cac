// The project's status charts: watch tables ("CHT_" pages) of cells. The user types an operand
// address or a global symbol into a cell and chooses how its value is shown; while the
// workbench is online the cell shows the operand's value and force state from the project's
// online cache, and the user can write a value or force and release the operand.
//
// `StatusChart` is a paged table of `StatusRow` cells. Every page holds exactly
// SizeItemRow x SizeItemColumn cells, shown as SizeItemColumn column groups of SizeItemRow
// lines; the cell at line l of group g is row l + g x SizeItemRow. Only the display format index
// and the address text of a cell are stored; the rest is derived from them
// (`RefreshStatusRows`) or read from the cache on demand.
//
// Every operation works against the current project (its PLC type, memory-area manager, symbol
// table and online cache). Cell operations whose key has no working page or whose cell lies
// outside the page throw ExceptionLogicError.
#pragma once

#include <string>
#include <vector>

#include "core/env/operand_address.h"
#include "core/env/operand_word.h"
#include "core/env/plc_type.h"
#include "core/project/paged_table.h"

namespace Brenno {

// One way of showing a cell's operand: the operand in numeric form, the operand format text it
// was matched under ("Tvz:", "Bvz:", "Wvz:", "Dvz:", "Da:", "Dp:") and a type index into the
// chart's type names.
struct DisplayFormat {
  OperandFields Operand;
  std::wstring Format;
  int Type = 0;

  bool operator==(const DisplayFormat&) const = default;
};

// One cell of a chart page.
struct StatusRow {
  int FormatIndex = -1;     // index into Formats; -1 for an empty cell
  std::wstring Address;     // canonical operand text or its symbol; "" = empty cell
  int ForceState = -1;      // last computed: -1 none, 0 forced, 1 not forced, 2 unknown
  std::wstring Value;       // last read value text
  OperandAddress Operand;   // the parsed address
  std::vector<DisplayFormat> Formats;

  bool operator==(const StatusRow&) const = default;
};

class StatusChart : public PagedTable<StatusRow> {
 public:
  // The StatusChart sizes of the project's PLC type, copied at every reset.
  int SizePage = 0;
  int SizePageInit = 0;
  int SizeItemRow = 0;     // lines per column group
  int SizeItemColumn = 0;  // column groups
  // "BOOL" .. "REAL", the same in both languages.
  std::vector<std::wstring> TypeNames;
  // "Forced", "Unforced", "Unknown" in the language of the last reset.
  std::vector<std::wstring> ForceLabels;

  bool operator==(const StatusChart&) const = default;
};

// Page prefix of the status chart: names "CHT_k", addresses "CHTk".
inline constexpr wchar_t kStatusChartPagePrefix[] = L"CHT";

// Cells of one page: SizeItemRow x SizeItemColumn (0 when either is not positive).
size_t StatusChartPageSize(const StatusChart& chart);

// ---- Lifecycle.

// Rebuilds the chart for the current project's PLC type: sizes, reserved names, type names,
// force labels in the current language and the reference pages of blank cells; no working
// page remains. ExceptionLogicError when there is no current project with a type.
void ResetStatusChart(StatusChart& chart);
// The same with the sizes and reserved names given.
void ResetStatusChart(StatusChart& chart, const StatusChartSizes& sizes,
                      const std::vector<std::wstring>& reservedNames = {});
// The first min(reference pages, SizePageInit) reference pages become working pages; then the
// cells are refreshed.
void FillDefaultStatusCharts(StatusChart& chart);
// After loading or a type change: prune, replace pages that do not fit their reference, keep
// one page, refresh the cells.
void NormalizeStatusChart(StatusChart& chart);
// Titles repaired and matching; the page then gets exactly the page size in cells (cut or padded
// with blank cells).
bool StatusChartPageMatchesReference(StatusChart& chart, int key);
// Derives every cell again from its address text and format index; a cell whose address the PLC
// type does not know, or whose format index does not fit, becomes blank.
void RefreshStatusRows(StatusChart& chart);

// ---- Pages.

int AddStatusChartFromReference(StatusChart& chart, int key);
int AddFirstFreeStatusChart(StatusChart& chart);
// The key of the page to show next, or -1; the chart never ends without a page.
int RemoveStatusChart(StatusChart& chart, int key);
void PruneStatusCharts(StatusChart& chart);
const std::vector<StatusRow>& GetStatusChartPage(const StatusChart& chart, int key);

// ---- Cells.

const std::wstring& GetChartAddress(const StatusChart& chart, int key, int line, int group);
// An empty text empties the cell; a text "first-last" fills consecutive cells with the range.
// False when the text equals the cell's address or cannot be used (the cell is then unchanged).
bool SetChartAddress(StatusChart& chart, int key, int line, int group, const std::wstring& text);
int GetChartFormatIndex(const StatusChart& chart, int key, int line, int group);
bool SetChartFormatIndex(StatusChart& chart, int key, int line, int group, int index);
// For each display format of the cell its type name; empty for an empty cell.
std::vector<std::wstring> GetChartFormatNames(const StatusChart& chart, int key, int line, int group);
// The cell's value from the online cache in the selected type (stored in the cell): empty
// offline and for an empty cell, "Unknown" / "未知" online without a cached value.
std::wstring GetChartValueText(StatusChart& chart, int key, int line, int group);
// Hands the text to the online cache's value write; false for an empty cell. `started`, when
// given, tells whether the write was started (only online, and only for a text that reads as a
// value of the cell's type).
bool WriteChartValue(StatusChart& chart, int key, int line, int group, const std::wstring& text,
                     bool* started = nullptr);
// -1 for an empty or unforceable cell; else 0 forced, 1 not forced, 2 unknown (stored in the
// cell).
int GetChartForceState(StatusChart& chart, int key, int line, int group);
// Choice 0 forces, 1 releases; false for an empty or unforceable cell or another choice.
bool SetChartForceState(StatusChart& chart, int key, int line, int group, int choice);
// The force labels for a non-empty forceable cell; otherwise empty.
std::vector<std::wstring> GetChartForceChoices(const StatusChart& chart, int key, int line, int group);

// ---- Plain text of the clipboard: per line of the block, per group four fields (address, type
// name, value, force label) joined by TAB; every line ends in CR LF.

int CopyChartRowsAsText(StatusChart& chart, int key, int firstLine, int endLine, int firstGroup, int endGroup,
                        std::wstring& text);
// The same text; then every cell of the block is emptied.
int CutChartRowsAsText(StatusChart& chart, int key, int firstLine, int endLine, int firstGroup, int endGroup,
                       std::wstring& text);
// Sets addresses and formats from the text, line by line from the cell; -1 at the first line
// whose field count is not a multiple of 4 (earlier lines stay pasted).
int PasteChartRowsFromText(StatusChart& chart, int key, int line, int group, const std::wstring& text);

// ---- Symbolic addressing.

void ShowChartSymbols(StatusChart& chart);
void ShowChartAddresses(StatusChart& chart);

// The display formats of an address text (a global symbol is first replaced by its address),
// and the scanned operand; false when the text is no operand the chart can show.
bool BuildDisplayFormats(const std::wstring& text, std::vector<DisplayFormat>& formats, OperandAddress& operand);

// Up to `count` addresses a chart cell takes on the current project's PLC type, for messages:
// the first operand of each of the first regions of the memory map (I0.0, Q0.0, ...).
std::vector<std::wstring> ListChartAddressExamples(size_t count);

}  // namespace Brenno
