// The first half of the list-to-ladder conversion and its entry. The lines of a statement-list
// network are bound to the instruction definitions of the library (ParseStlLines), rewritten
// into organisation units by the list-side rules and run through a stack machine that models
// the PLC's logic and stack instructions (AnalyzeStl). The result is a LogicGraph: the input
// and output elements with every power pin numbered by the electrical node it sits on, and one
// series/parallel tree per output power input. LayoutLadGrid and BuildLadNetwork
// (lad_layout.h) then place it as a ladder.
//
// Every check throws a list-side ExceptionAnalyzeError_Stl_* value; the first failing check in
// the order of the steps wins. A network without any instruction throws
// ExceptionAnalyzeIgnore_Stl_StlEmpty, which the entry turns into an empty ladder network.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "core/convert/converter_model.h"
#include "core/program/ladder_grid.h"
#include "core/program/stl_line.h"

namespace Brenno {

class InstructionLibrary;
struct Network;

// Pairs of node numbers that are one and the same electrical node.
using NodeLink = std::pair<int, int>;

// The working state of AnalyzeStl: the block stack (the logic built so far, its top the current
// result of logic operation), the logic stack (branch points stored by LPS), the logic consumed
// by outputs and the node links.
//
// Blocks are kept as trees in one node pool of the machine, so joining two blocks links their
// trees instead of copying them; the consumed logic becomes LogicFragments only when taken out.
//
// A stored branch point stands for a node of the wiring: the right end of the block it was
// stored from. That node carries the stored value only while nothing is joined to it: ORing
// the block puts another branch on its right end, and ANDing it behind other logic feeds the
// whole block, and every node in it, from that logic. A stored point that is read although its
// block was changed so ("LD a / LPS / O b / = Q / LPP / A c / = R": R takes a, not a OR b) has
// no wiring and is refused.
class StlStackMachine {
 public:
  // Room is reserved for the links of `unitCount` converted elements.
  explicit StlStackMachine(std::size_t unitCount = 0);

  // 1 AND, 2 OR, 3 LPS, 4 LRD, 5 LPP; any other code throws ExceptionLogicError.
  //   ExceptionAnalyzeError_Stl_DataStackError   AND/OR with fewer than two blocks, LPS on an
  //                                              empty block stack
  //   ExceptionAnalyzeError_Stl_LogicStackError  LRD/LPP with an empty logic stack
  void ApplySystemUnit(int code);
  // Pushes the block of input node `input`. Two pins: a plain element from pins[0] to pins[1].
  // More: an element with pins.size() - 1 power inputs fed by as many blocks from the top of the
  // stack (the deepest feeds pins[0]); ExceptionAnalyzeError_Stl_DataStackError when the stack
  // holds fewer. Fewer than two pins: ExceptionLogicError.
  void AddInput(int input, const std::vector<int>& pins);
  // Connects the top pins.size() blocks to the output's power inputs (the deepest to pins[0]);
  // the logic of each block not consumed before is recorded and the block left on the stack as
  // a reference to its own ends. ExceptionAnalyzeError_Stl_DataStackError when the stack holds
  // fewer blocks than pins.
  void AddOutput(const std::vector<int>& pins);
  // Links the single pin to the rail; ExceptionAnalyzeError_Stl_GeneratrixOutputPlaceError when
  // the top block holds logic that no output has consumed.
  void AddGeneratrixOutput(const std::vector<int>& pins);

  std::size_t BlockCount() const { return m_blocks.size(); }
  std::size_t LogicCount() const { return m_logic.size(); }
  const std::vector<NodeLink>& Links() const { return m_links; }
  std::size_t OutputFragmentCount() const { return m_outputs.size(); }

  // Steps 6 to 10 of the analysis over the recorded logic, given the node count handed out:
  // checks the use of stored branch points, links logic that starts at no stored point to the
  // rail, labels the connected nodes (labels gets one entry per node number) and relabels the
  // recorded logic. Then the logic is moved out as fragments, in the order it was consumed.
  //   ExceptionAnalyzeError_Stl_UnacceptLrdOrLpp  a stored branch point anywhere but at the
  //                                               start of an output's logic, or read although
  //                                               its block was ORed or ANDed behind other
  //                                               logic
  //   ExceptionAnalyzeError_Stl_LinkMismatch      both ends of a fragment, or both ends of its
  //                                               leading reference, on one node
  void CheckOutputLogic();
  void LinkOutputLogicToRail();
  void RelabelOutputLogic(const std::vector<int>& labels);
  std::vector<LogicFragment> TakeOutputFragments();

 private:
  struct PoolNode {
    LogicItem item;
    int firstChild = -1;
    int lastChild = -1;
    int nextSibling = -1;
    // The node numbers a reference names (the item's value only has 16 bits for each).
    int refLeft = -1;
    int refRight = -1;
  };
  struct Block {
    int root = -1;
    int left = -1;
    int right = -1;
    // Stored branch points (indices into m_stored) at the block's right end, and all stored
    // points within the block (those at its end included): their nodes carry their values
    // only while the block keeps its ends to itself.
    std::vector<int> storedAtEnd;
    std::vector<int> storedWithin;
  };
  struct StoredPoint {
    bool read = false;     // LRD or LPP used it
    bool changed = false;  // its block was later ORed or ANDed behind other logic
  };

  int NewNode(const LogicItem& item);
  void AppendChild(int parent, int child);
  Block Reference(const Block& block);
  bool IsReference(const Block& block) const;
  int FirstPostOrder(int root) const;
  void Link(int a, int b) { m_links.emplace_back(a, b); }
  void MarkChanged(const std::vector<int>& stored);
  void BuildTree(LogicTree& tree, int root) const;

  std::vector<PoolNode> m_pool;
  std::vector<Block> m_blocks;
  std::vector<Block> m_logic;  // each entry's storedAtEnd names the stored point it is
  std::vector<Block> m_outputs;
  std::vector<StoredPoint> m_stored;
  std::vector<NodeLink> m_links;
};

// Fills `elements` (emptied first): one element per line with a mnemonic, bound to the single
// FunStl definition with that mnemonic and operand count, with the line's variant, operands and
// comments. Blank and comment-only lines are skipped.
//   ExceptionAnalyzeError_Stl_StlElementError  no definition or more than one
//   ExceptionAnalyzeIgnore_Stl_StlEmpty        no line with a mnemonic
void ParseStlLines(const InstructionLibrary& library, const std::vector<StlLine>& lines,
                   std::vector<StlElement>& elements);
void ParseStlLines(const std::vector<StlLine>& lines, std::vector<StlElement>& elements);

// Fills `graph` (its three lists emptied first) from the statement-list elements.
//   ExceptionAnalyzeError_Stl_ConvertElementError  no list-side rule matches at some position
//   ExceptionAnalyzeError_Stl_StlElementError      a generatrix output with other than one pin
//   ExceptionAnalyzeError_Stl_NoOutputElement      no output unit
//   and the errors of StlStackMachine; ExceptionLogicError for a unit type outside 0 ... 5.
void AnalyzeStl(const InstructionLibrary& library, const std::vector<StlElement>& elements, LogicGraph& graph);
void AnalyzeStl(const std::vector<StlElement>& elements, LogicGraph& graph);

// Gives every node number the label of its connected component: labels 0, 1, 2, ... in the
// order of each component's smallest node number, so the rail's component (node 0) gets 0.
// `labels` holds one entry per node number, all -1 on entry; a link naming a node outside it
// throws ExceptionLogicError.
void LabelConnectedNodes(const std::vector<NodeLink>& links, std::vector<int>& labels);

// The list-to-ladder conversion of one statement-list network (kind 1): on success the network
// holds the new ladder grid beside its unchanged lines and is of kind 2. A network without
// instructions becomes an empty ladder network (no lines, empty grid, comment lines kept). On
// any error the network is left exactly as it was and the error goes to the caller. A network
// of another kind throws ExceptionLogicError.
void ConvertToLad(const InstructionLibrary& library, Network& network);
void ConvertToLad(Network& network);

// ConvertToLad in two steps, for a caller that converts many networks and changes none of them
// until all are worked out: MakeLadForm works the ladder out aside (throwing as ConvertToLad
// does, the network untouched), ApplyLadForm puts it in place and cannot fail.
struct LadForm {
  LadderGrid Grid;
  bool Empty = false;  // a list without instructions: no lines and an empty grid
};
LadForm MakeLadForm(const InstructionLibrary& library, const Network& network);
void ApplyLadForm(LadForm& form, Network& network) noexcept;

}  // namespace Brenno
