// The second half of the ladder-to-list conversion and its entry. GenerateStl writes a logic
// graph as a flat program for a stack-based logic processor: every element loads or combines
// a value, AND and OR combine the two top values, LPS stores a branch point, LRD reads it back
// and LPP reads it back and drops it. The program is produced in organisation units and then
// turned into statement-list instructions by the library's unit-to-list rules; FormatStlLines
// turns those into the network's lines.
#pragma once

#include <utility>
#include <vector>

#include "core/convert/converter_model.h"
#include "core/program/network.h"
#include "core/program/stl_line.h"

namespace Brenno {

class InstructionLibrary;

// The working state of GenerateStl.
struct StlEmitter {
  using Value = std::pair<int, int>;  // (from net, to net); complete when from is the rail (0)
  using Operation = std::pair<int, int>;

  // Operation kinds: (0, k) system unit k (SystemUnit), (1, i) input node i, (2, j) output j.
  static constexpr int kSystem = 0;
  static constexpr int kInput = 1;
  static constexpr int kOutput = 2;

  std::vector<Value> values;   // the logic values computed so far, the top last
  std::vector<Value> stored;   // the branch points stored by LPS, the top last
  std::vector<Operation> operations;  // the program in order
};

// Writes the graph as the operation program only (what GenerateStl then converts by the rules).
//   ExceptionAnalyzeError_Stl_LinkMismatch  an output's net is neither the rail, nor the stored
//        point, nor the end of the next fragment; no fragment left; a fragment that starts with
//        something other than an element or a reference to the stored point; a multi-input
//        output whose power inputs do not lie on top of the values when its last pin is served
//   ExceptionLogicError  a failed stack condition, an item of another kind
void EmitStlOperations(const LogicGraph& graph, StlEmitter& emitter);

// Fills `out` (emptied first) with statement-list elements (definition = FunStl index).
// ExceptionAnalyzeError_Stl_ConvertElementError when no unit-to-list rule matches at some
// position; the errors of EmitStlOperations otherwise.
void GenerateStl(const InstructionLibrary& library, const LogicGraph& graph, std::vector<StlElement>& out);
void GenerateStl(const LogicGraph& graph, std::vector<StlElement>& out);

// One line per element: mnemonic of its FunStl definition, its variant, operands and comments.
// An element whose operand count differs from its definition's, or whose definition is not in
// the list, throws ExceptionLogicError. The result is built aside: `lines` is replaced only on
// success.
void FormatStlLines(const InstructionLibrary& library, const std::vector<StlElement>& elements,
                    std::vector<StlLine>& lines);
void FormatStlLines(const std::vector<StlElement>& elements, std::vector<StlLine>& lines);

// Converts one ladder network (kind 2) to its statement-list form in place, with the current
// project's instruction library: cell grid, analysis, generation and lines, all on local values;
// only the last step touches the network. On success the network's kind is 1, its lines the
// new ones, its ladder grid and comment lines unchanged. A ladder without cells becomes a
// statement-list network with no lines and an empty grid (comment lines stay). Every failure
// throws (ExceptionAnalyzeError_* of the stages, ExceptionLogicError, also for a network that is
// not of kind 2) and leaves the network exactly as it was.
void ConvertToStl(const InstructionLibrary& library, Network& network);
void ConvertToStl(Network& network);

// ConvertToStl in two steps, for a caller that converts many networks and changes none of them
// until all are worked out: MakeStlForm works the statement-list form out aside (throwing as
// ConvertToStl does, the network untouched), ApplyStlForm puts it in place and cannot fail.
struct StlForm {
  std::vector<StlLine> Lines;
  bool Empty = false;  // a ladder without cells: no lines, and the grid emptied too
};
StlForm MakeStlForm(const InstructionLibrary& library, const Network& network);
void ApplyStlForm(StlForm& form, Network& network) noexcept;

}  // namespace Brenno
