// The cross reference of a project: where every operand is used (the data block rows and the
// operands of the program's networks), as a list and as two usage maps that show which bits and
// bytes of the PLC's memory areas the program touches and with which width. The same index holds
// the hits and results of the program search (program_search.h).
//
// The index is not kept up to date while the user edits; it is rebuilt as a whole on request:
// ClearCrossReferences, CollectDataBlockReferences, BuildCrossReference, BuildCrossReferViews
// (RebuildCrossReferIndex runs the four). Operands that do not parse, lines and elements without
// exactly one matching definition and data rows that are not complete are left out silently.
//
// The forms without a project read the current project.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "core/env/memory_area_manager.h"
#include "core/env/operand_word.h"

namespace Brenno {

class Project;

// Where a use or a search hit lies: a list of ints whose first entry is the kind.
//   {0, data block page key, row index}
//   {1, program unit key, network index}
//   {2, program unit key, network index, line index, operand index}
//   {3, program unit key, network index, column, row, identifier index, input index, output index}
// In kind 3 exactly one operand index is set, the other two are -1. Indexes count from 0.
using CrossReferLocation = std::vector<int>;

enum CrossReferLocationKind : int {
  kLocationDataRow = 0,
  kLocationNetwork = 1,
  kLocationStlOperand = 2,
  kLocationLadOperand = 3,
};

CrossReferLocation MakeDataRowLocation(int pageKey, int row);
CrossReferLocation MakeNetworkLocation(int unitKey, int network);
CrossReferLocation MakeStlOperandLocation(int unitKey, int network, int line, int operand);
CrossReferLocation MakeLadOperandLocation(int unitKey, int network, int column, int row, int idIndex, int inIndex,
                                          int outIndex);

// One recorded use: where, the context text (data row value, mnemonic or decorated element
// name) and the operand format text the operand was parsed under.
struct CrossReferUse {
  CrossReferLocation Location;
  std::wstring Context;
  std::wstring Format;

  bool operator==(const CrossReferUse&) const = default;
};

// Key of the use map: the operand word with its unpacked fields. Uses are ordered by slot, width
// code, byte, bit and kind.
struct CrossReferKey {
  OperandWord Word = 0;
  int Slot = 0;
  int Width = 0;
  int Byte = 0;
  int Bit = 0;
  int Kind = 0;

  bool operator<(const CrossReferKey& other) const;
  bool operator==(const CrossReferKey&) const = default;
};

// A row of the cross-reference list or of the search results. In a search result the word is
// 0, `Address` holds the status text (empty, "Replaced" or "Failed") and `Symbol` is empty.
struct CrossReferRow {
  OperandWord Word = 0;
  CrossReferLocation Location;
  std::wstring Address;
  std::wstring Symbol;
  std::wstring LocationText;
  std::wstring Context;

  bool operator==(const CrossReferRow&) const = default;
};

// A row of a usage map: the address of its first bit or byte and one mark per cell (8 in the bit
// map, 10 in the byte map): blank, or "b", "B", "W", "D", "K" by the width of the use.
struct UsageRow {
  std::wstring Address;
  std::wstring Marks;

  bool operator==(const UsageRow&) const = default;
};

// Per usage row: which cells lie inside the memory area.
using UsageCellSet = std::vector<bool>;

inline constexpr int kBitUsageCells = 8;
inline constexpr int kByteUsageCells = 10;

class CrossReferIndex {
 public:
  // Uses of equal operands keep the order in which they were recorded.
  std::multimap<CrossReferKey, CrossReferUse> Uses;
  std::vector<CrossReferRow> Rows;
  std::vector<UsageRow> BitUsage;
  std::vector<UsageRow> ByteUsage;
  std::vector<UsageCellSet> BitCells;
  std::vector<UsageCellSet> ByteCells;
  // Program search (program_search.h): hits in the order found, the result rows, and the
  // position of the current result (SearchResults.size() means none).
  std::vector<CrossReferUse> SearchHits;
  std::vector<CrossReferRow> SearchResults;
  size_t CurrentResult = 0;

  bool HasCurrentResult() const { return CurrentResult < SearchResults.size(); }
  bool operator==(const CrossReferIndex&) const = default;
};

// Everything emptied, search results included; no current result.
void ResetCrossReferIndex(CrossReferIndex& index);
void AssignCrossReferIndex(CrossReferIndex& index, const CrossReferIndex& other);
// The uses, the list, the usage maps and their cell sets emptied; the search stays.
void ClearCrossReferences(CrossReferIndex& index);

// Records the uses of the complete rows of every data block.
void CollectDataBlockReferences(CrossReferIndex& index);
void CollectDataBlockReferences(CrossReferIndex& index, const Project& project);
// Records the uses of every network in the program's current view form (interrupt table, then
// subroutine table; pages in key order; networks, lines and elements in order).
void BuildCrossReference(CrossReferIndex& index);
void BuildCrossReference(CrossReferIndex& index, const Project& project);
// The list and the two usage maps from the recorded uses.
void BuildCrossReferViews(CrossReferIndex& index);
void BuildCrossReferViews(CrossReferIndex& index, const Project& project);
// The four steps above on the current project's index.
void RebuildCrossReferIndex();
void RebuildCrossReferIndex(Project& project);

// "DAT_1 (DAT1)  Ln 3", "MAIN (INT0)  NETWORK 2", "...  NETWORK 2  Ln 0",
// "...  NETWORK 2  Col 1  Row 0". False, text unchanged, for an unknown kind or a kind with the
// wrong number of entries.
bool FormatSearchLocation(const CrossReferLocation& location, std::wstring& text);
bool FormatSearchLocation(const CrossReferLocation& location, const Project& project, std::wstring& text);

// The use-map order of two operand words (a before b).
bool CompareOperandWords(OperandWord a, OperandWord b);
bool CompareOperandWords(const MemoryAreaManager& manager, OperandWord a, OperandWord b);

// The context text of a ladder element: contact "-|name|-", coil "-(name)", box "-[name]",
// any other kind the bare name.
std::wstring DecorateElementName(int kind, const std::wstring& name);

}  // namespace Brenno
