// The working forms of the LAD/STL converter. A network passes from one form to the other
// through two intermediate forms:
//
// - the cell grid (CellGrid of LadCell): the ladder as a dense rectangle of cells, each holding
//   at most one element, its definition resolved and its power pins reduced to slot numbers;
// - the logic graph (LogicGraph): the elements as organisation units (indices into the
//   instruction library's FunOrg list) whose power pins carry the number of the electrical net
//   they sit on, plus, for the logic that feeds the outputs, trees of series and parallel
//   connections.
//
// Everything here is a plain value: copying copies every vector, string and tree. Indices into
// the instruction library's lists are ints; -1 means none. The only error thrown here is
// ExceptionLogicError for an index outside a grid or a link map (a programming error).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/env/nary_tree.h"

namespace Brenno {

class InstructionLibrary;

// One instruction of a flat list. `definition` indexes the FunStl list for a statement-list
// element and the FunOrg list for an organisation-level (unit) element.
struct StlElement {
  int definition = -1;
  int variant = -1;
  std::vector<std::wstring> operands;
  std::vector<std::wstring> comments;

  bool operator==(const StlElement&) const = default;
};

// One cell of a CellGrid. The first four fields are those of StlElement (so the rule matcher
// reads both alike); `definition` indexes the FunLad list, -1 for a cell without element.
struct LadCell : StlElement {
  std::vector<int> powerIn;   // Slot of each PowerIn pin, in stored order
  std::vector<int> powerOut;  // Slot of each PowerOut pin, in stored order
  // Cells the element covers to the right: 1 for kinds 2 ... 6 (a Block too: its outputs are
  // taken on the right edge of its first column), 1 + its operand count for an FxBlock.
  int width = -1;
  std::uint8_t horizontalLink = 0;  // a horizontal line crosses the cell
  std::uint8_t verticalLink = 0;    // a vertical link stands on the right edge, joining row r to r + 1

  bool operator==(const LadCell&) const = default;
};

// The ladder as a dense grid: the cell in row r and column c is cells[r * columns + c].
struct CellGrid {
  std::vector<LadCell> cells;
  int rows = 0;
  int columns = 0;

  // The cell at (row, column); a cell outside the grid throws ExceptionLogicError.
  LadCell& At(int row, int column);
  const LadCell& At(int row, int column) const;

  bool operator==(const CellGrid&) const = default;
};

// Afterwards the grid holds rows x columns cells and records both; missing cells are copies of
// the fill cell appended at the end, surplus cells are erased from the end. Existing cells keep
// their place in the vector, so callers resize only empty grids.
void ResizeCellGrid(CellGrid& grid, int rows, int columns, const LadCell& fill = LadCell{});

// The conductor map of a cell grid, built and labelled by its constructor.
//
// Geometry: the cell (r, c) owns the points (2r, 3c) (input end), (2r, 3c + 1) (middle) and
// (2r, 3c + 2) (output end). Odd map rows carry the vertical connections: (2r + 1, 0) is the
// left power rail between grid rows r and r + 1, (2r + 1, 3c + 3) the vertical link on the
// right edge of cell (r, c). Column 3c + 3 is also the input end of the next cell.
//
// Each point word holds the conductor mark (bits 28 to 31), the labelled mark (bits 24 to 27)
// and the net label (bits 0 to 23). Net 0 is the rail; the other nets are numbered in
// column-major order of their first point.
class LinkMap {
 public:
  static constexpr std::uint32_t kConductorMask = 0xF0000000u;
  static constexpr std::uint32_t kLabelledMask = 0x0F000000u;
  static constexpr std::uint32_t kLabelMask = 0x00FFFFFFu;

  using Offset = std::pair<int, int>;  // (row offset, column offset)

  // Builds the map of a grid with at least one cell and labels its nets.
  explicit LinkMap(const CellGrid& grid);

  std::vector<std::uint32_t> points;  // mapRows x mapColumns words, row-major
  unsigned mapRows = 0;               // 2 x grid rows
  unsigned mapColumns = 0;            // 3 x grid columns + 1
  // The points adjacent to a point on an even and on an odd map row.
  std::array<Offset, 6> evenNeighbours{{{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, 1}, {1, 1}}};
  std::array<Offset, 6> oddNeighbours{{{-1, -1}, {1, -1}, {-1, 0}, {1, 0}, {-2, 0}, {2, 0}}};

  // The point word; a point outside the map throws ExceptionLogicError.
  std::uint32_t Point(int row, int column) const;
  // The net label of a point: its low 24 bits when labelled, else -1.
  int Label(int row, int column) const;
  // The nets of the power pins of the element in cell (row, column): input slot s lies at
  // (2(row + s), 3 column), output slot s at (2(row + s), 3(column + width) - 1).
  int InputNet(int row, int column, int slot) const;
  int OutputNet(int row, int column, int width, int slot) const;

 private:
  std::uint32_t& PointRef(int row, int column);
  void Mark(int row, int column);
  void Flood(int row, int column, std::uint32_t label);
};

// A logic element: a unit (definition = FunOrg index) with the nets of its power pins. For an
// input node its power inputs in pin order and then its single power output (last); for an
// output node its power inputs in pin order. Net 0 is the left power rail.
struct LogicNode : StlElement {
  std::vector<int> pins;

  bool operator==(const LogicNode&) const = default;
};

// The value of one node of a logic tree, a pair (kind, value):
//   (1, i)  input node i of the graph; for an element with several power inputs its children
//           are the logic feeding each power input, first pin first;
//   (0, 1)  series connection of its children, left one first;
//   (0, 2)  parallel connection of its children;
//   (-1, x) reference to a stored power point (the ladder analysis writes its net label, the
//           statement-list analysis left node x 65536 + right node).
struct LogicItem {
  int kind = 0;
  int value = 0;

  bool operator==(const LogicItem&) const = default;
};

inline constexpr int kLogicItemReference = -1;
inline constexpr int kLogicItemConnection = 0;
inline constexpr int kLogicItemInput = 1;
inline constexpr int kLogicSeries = 1;    // value of a (0, 1) connection
inline constexpr int kLogicParallel = 2;  // value of a (0, 2) connection

using LogicTree = NaryTree<LogicItem>;

// A fragment of logic: a tree with one top-level node (its root) and the nets at its edges, its
// power-input nets followed by its output net (last). A finished fragment has two: (left, right).
struct LogicFragment {
  LogicTree tree;
  std::vector<int> ends;
};

// The logic graph of one network.
struct LogicGraph {
  std::vector<LogicNode> inputs;        // units of Type "Input" or "MultiInput"
  std::vector<LogicNode> outputs;       // units of Type "Output", "MultiOutput", "GeneratrixOutput"
  std::vector<LogicFragment> fragments;  // the logic driving the outputs, in the order they use it
};

// Frees the fragments, then the outputs, then the inputs; the three vectors are left empty.
void DestroyLogicGraph(LogicGraph& graph);

// ---- Logic tree helpers.

// The root of a fragment's tree (its first top-level node); null for an empty tree.
LogicTree::Position LogicRoot(const LogicTree& tree);
// A new tree whose only node is the value.
void MakeLogicLeaf(LogicTree& tree, const LogicItem& item);
// The nodes below and including the root in post-order: children before their parent, left to
// right.
std::vector<LogicTree::Position> LogicPostOrder(const LogicTree& tree);
// The top-level series spine: the root and, recursively, the first child of every series item
// on the spine, root first.
std::vector<LogicTree::Position> LogicSeriesSpine(const LogicTree& tree);
bool IsOnLogicSeriesSpine(const LogicTree& tree, LogicTree::Position node);

// ---- Organisation units.

// The system units as the converter numbers them.
enum SystemUnit : int {
  kSysUnitAnd = 1,
  kSysUnitOr = 2,
  kSysUnitLps = 3,
  kSysUnitLrd = 4,
  kSysUnitLpp = 5,
};

// The FunOrg index of system unit k (SysAnd ... SysLpp of the library); ExceptionLogicError for
// any other k or a library without that unit.
int SystemUnitIndex(const InstructionLibrary& library, int k);
// The Type of a FunOrg unit; ExceptionLogicError for an index outside the list.
int UnitType(const InstructionLibrary& library, int unit);

// The instruction library every conversion stage reads: the current project's.
const InstructionLibrary& ConverterLibrary();

}  // namespace Brenno
