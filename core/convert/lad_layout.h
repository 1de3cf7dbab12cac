// The last two stages of the list-to-ladder conversion: the logic graph that AnalyzeStl built is
// placed into a cell grid (LayoutLadGrid), and the cell grid becomes a ladder grid
// (BuildLadNetwork).
//
// The layout is deterministic. Each output's logic tree is built bottom-up into a relative
// sub-layout (series side by side, parallel branches stacked, the branches of a multi-input box
// one under the other in front of it); then the outputs are placed in statement order, each
// piece of logic hung at the point of the network where its left node is already exposed (the
// frontier of terminals), one branch below the other.
//
// Coordinates are cells: column x from 0 at the left power rail, row y from 0 at the top. A
// point (x, y) names the left edge of cell (x, y).
#pragma once

#include <cstddef>
#include <vector>

#include "core/convert/converter_model.h"
#include "core/env/instruction_records.h"
#include "core/program/ladder_grid.h"

namespace Brenno {

class InstructionLibrary;

struct LayoutPoint {
  int Column = -1;
  int Row = -1;

  bool operator==(const LayoutPoint&) const = default;
};

// Node value of a terminal that exposes no node (the right end of a placed output).
inline constexpr int kNoLayoutNode = -1;

// A point where a node of the placed layout is exposed and more can be hung.
struct Terminal {
  int Column = 0;
  int Row = 0;
  int NextRow = 0;  // where the next branch hung here goes: the first row below what hangs here
  int Node = kNoLayoutNode;

  bool operator==(const Terminal&) const = default;
};

// One input element of the graph as a ladder cell, with its place once laid out.
struct LayoutInput {
  LadCell Cell;
  std::vector<int> Pins;
  int Width = 0;      // columns taken
  int ExtraRows = 0;  // rows a box takes for its operands below its power pin rows
  std::vector<LayoutPoint> PowerInAt;   // one per PowerIn of the definition; (-1, -1) until placed
  std::vector<LayoutPoint> PowerOutAt;  // one per PowerOut of the definition
  // The unit acts on the power it receives as a whole (NOT, an edge) instead of adding its own
  // condition: the statement list can only write it after the logic it acts on.
  bool ActsOnPower = false;
};

struct LayoutOutput {
  LadCell Cell;
  std::vector<int> Pins;
  int Width = 0;
  int ExtraRows = 0;
  std::vector<LayoutPoint> PowerInAt;
};

// The relative layout of one piece of logic, its left end at (0, 0). The element positions live
// in the LayoutInputs themselves.
struct SubLayout {
  std::vector<int> Elements;          // indices of the LayoutInputs it holds
  std::vector<LayoutPoint> HLines;    // cells crossed by a horizontal line
  std::vector<LayoutPoint> VLinks;    // link on the left edge of column x from row y to y + 1
  std::vector<Terminal> Terminals;    // left end first, right end last, usable inner joints between
};

// The state of one layout: the positions collected for the power inputs of a multi-input
// output, the units, and the placed layout of the whole network, whose terminals are the
// frontier (it starts with the rail terminal (0, 0, 0, node 0)).
struct LayoutState {
  std::vector<LayoutPoint> PendingPins;
  std::vector<LayoutInput> Inputs;
  std::vector<LayoutOutput> Outputs;
  SubLayout Placed;
};

// ---- Units.

// The ladder cell of a unit through the unit-to-ladder rules; anything but exactly one cell
// throws ExceptionAnalyzeError_Lad_ConvertElementError.
void ConvertNodeToLadCell(const InstructionLibrary& library, const LogicNode& node, LadCell& cell);
// Columns an element of the definition takes, as an input (`output` false) or as an output; a
// look the role does not allow throws ExceptionLogicError.
int LadCellWidth(const FunLadRecord& definition, bool output);
// Rows a box takes below its power pins for its operands: 0 for anything but a Block.
int LadCellExtraRows(const FunLadRecord& definition);

// ---- Sub-layouts. Each takes its parts by value and returns the combined layout; node
// mismatches and element shapes the rule cannot lay out throw ExceptionLogicError.

// Moves the element positions and the lines of a layout.
void ShiftLayoutInputs(std::vector<LayoutInput>& inputs, SubLayout& layout, int dx, int dy);
SubLayout MakeLeafLayout(std::vector<LayoutInput>& inputs, int input);
SubLayout CombineSeries(std::vector<LayoutInput>& inputs, SubLayout left, SubLayout right);
SubLayout CombineParallel(std::vector<LayoutInput>& inputs, SubLayout upper, SubLayout lower);
SubLayout MakeMultiInputLayout(std::vector<LayoutInput>& inputs, int input, std::vector<SubLayout> branches);
// The sub-layout of one fragment. A leading stored branch point must stand directly in series
// on the top-level series chain (else ExceptionAnalyzeError_Lad_UnacceptLrdOrLpp) and takes no
// cell: the logic behind it is hung where its node is exposed. A run of nested parallel items
// is joined as one left-deep chain of its branches, in their order. A series whose right part
// is a series chain holding an element that acts on the power it receives has no ladder
// (ExceptionAnalyzeError_Lad_PowerFlowError): drawn as one chain it would act on the whole
// chain.
SubLayout MakeFragmentLayout(std::vector<LayoutInput>& inputs, const LogicFragment& fragment);

// ---- Placement at the frontier.

// Hangs a part with the given (relative) terminals below frontier terminal t.
void AttachTerminals(LayoutState& state, std::size_t t, const std::vector<Terminal>& added);
// Places a sub-layout at the frontier terminal exposing its left node (ExceptionLogicError when
// none does).
void AttachSubLayout(LayoutState& state, SubLayout layout);
// Places power input `pin` of output `output` at the frontier terminal exposing its node.
void PlaceOutputPin(LayoutState& state, int output, int pin);
// The index of the first frontier terminal exposing the node, or -1.
int FindFrontierTerminal(const LayoutState& state, int node);

// Writes one placed element into its cells.
void PlaceInputCell(const InstructionLibrary& library, const LayoutInput& input, CellGrid& grid);
void PlaceOutputCell(const InstructionLibrary& library, const LayoutOutput& output, CellGrid& grid);

// ---- The two stages.

// Fills `grid` (emptied first) with the laid-out graph.
//   ExceptionAnalyzeError_Lad_ConvertElementError  a unit converts to no ladder element or to
//                                                  several
//   ExceptionAnalyzeError_Lad_UnacceptLrdOrLpp     a stored branch point not directly in series
//                                                  on the top-level series chain
//   ExceptionAnalyzeError_Lad_PowerFlowError       an element acting on the power it receives
//                                                  inside the right part of a series
//   ExceptionAnalyzeError_Lad_LinkMismatch         an output pin that neither an exposed node nor
//                                                  the next piece of logic can feed, or logic
//                                                  left over that no output placed
//   ExceptionLogicError                            inconsistencies between units, definitions
//                                                  and the logic (an output without power pin)
void LayoutLadGrid(const InstructionLibrary& library, const LogicGraph& graph, CellGrid& grid);
void LayoutLadGrid(const LogicGraph& graph, CellGrid& grid);

// Replaces the ladder's elements by the content of the cells, row by row and left to right
// (per cell: horizontal line, vertical link, element), and recomputes its extent. A cell that
// does not fit its definition throws ExceptionLogicError and leaves the ladder unchanged.
void BuildLadNetwork(const InstructionLibrary& library, const CellGrid& grid, LadderGrid& ladder);
void BuildLadNetwork(const CellGrid& grid, LadderGrid& ladder);

}  // namespace Brenno
