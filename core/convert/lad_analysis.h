// The first half of the ladder-to-list conversion: the ladder grid becomes a cell grid (every
// element resolved to exactly one ladder definition), then a logic graph: the nets are labelled
// on a LinkMap, every element is turned into one organisation unit by the ladder-side rules,
// the power flow is checked and the elements that feed each output net are reduced to one
// series/parallel tree.
//
// Every check throws a ladder-side ExceptionAnalyzeError_Lad_* value; the first failing check
// in the order of the steps wins. A ladder without cells throws
// ExceptionAnalyzeIgnore_Lad_LadEmpty, which the conversion entry treats as an empty network.
// Nothing outside the output arguments is changed.
#pragma once

#include <vector>

#include "core/convert/converter_model.h"
#include "core/program/ladder_grid.h"

namespace Brenno {

class InstructionLibrary;

// The extent the elements of the grid take (largest column + columns taken, largest row + rows
// taken), computed from the elements themselves; the extent stored with the grid is not read.
// An element of an unknown kind counts as one cell here (the grid build rejects it). An extent
// beyond 65536 rows or columns or 2^20 cells throws ExceptionLogicError (corrupt positions).
void ComputeLadderExtent(const LadderGrid& ladder, int& rows, int& columns);

// Fills `grid` (emptied first) from the ladder. The size comes from the elements, not from the
// stored extent, which may be stale.
//   ExceptionAnalyzeIgnore_Lad_LadEmpty        no cell
//   ExceptionAnalyzeError_Lad_LadElementError  no or several definitions, power pin counts that
//                                              differ from the definition's, two elements in
//                                              one cell
//   ExceptionLogicError                        corrupt element (kind, vertical link of another
//                                              kind, position outside the grid)
void BuildCellGrid(const InstructionLibrary& library, const LadderGrid& ladder, CellGrid& grid);
void BuildCellGrid(const LadderGrid& ladder, CellGrid& grid);

// Fills `graph` (its three lists emptied first) from the cell grid.
void AnalyzeLadGrid(const InstructionLibrary& library, const CellGrid& grid, LogicGraph& graph);
void AnalyzeLadGrid(const CellGrid& grid, LogicGraph& graph);

// Runs the ladder-to-unit rules on one cell; the node's element part (definition, variant,
// operands, comments) takes the single unit produced. Anything but exactly one unit throws
// ExceptionAnalyzeError_Lad_ConvertElementError. The pins are left as they were.
void ConvertLadCell(const InstructionLibrary& library, const LadCell& cell, LogicNode& node);

// Marks in `taken` and `group` every input node not taken yet that feeds `net`: the nodes whose
// output net is `net`, then, walking back, the nodes that drive their power inputs. Both sets
// hold one entry per input node of the graph. The rail (net 0) is driven by nothing: an element
// whose output lies on the rail is never reached this way.
void MarkFeedingInputs(const LogicGraph& graph, std::vector<bool>& taken, int net, std::vector<bool>& group);

// Reduces a group of fragments in place by multi-input, parallel and series merges, always the
// first rule that fits, until none fits. True when exactly one fragment with two ends is left.
// The trees are then put in normal form: nested parallel items become one left-deep chain
// whose branches stand in the order of their uppermost grid rows, nested series items one
// left-deep chain. `tops` holds the uppermost grid row of each fragment's elements, one per
// fragment; without it every fragment counts as standing in row 0 (parallel branches then
// keep the order in which they were joined).
// So a ladder laid out from a list reads back as a list that lays out the same ladder.
bool SimplifyLadGraph(std::vector<LogicFragment>& group, const std::vector<int>& tops);
bool SimplifyLadGraph(std::vector<LogicFragment>& group);

}  // namespace Brenno
