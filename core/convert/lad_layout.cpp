#include "core/convert/lad_layout.h"

#include <algorithm>
#include <utility>

#include "core/convert/pattern_matching.h"
#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/program/ladder_edit.h"

namespace Brenno {

namespace {

[[noreturn]] void ThrowLayoutError(const wchar_t* what) { throw MakeLogicError(std::wstring(L"\r\n  ") + what); }

const FunLadRecord& LadDefinition(const InstructionLibrary& library, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= library.FunLadList.size()) {
    ThrowLayoutError(L"Ladder layout: cell without a ladder definition");
  }
  return library.FunLadList[static_cast<std::size_t>(index)];
}

// Width of an element of the definition in its own cell, as the cell grid records it.
int CellWidth(const FunLadRecord& definition) {
  return definition.Look == kLadLookFxBlock ? 1 + static_cast<int>(definition.OperandCount()) : 1;
}

int Flag(const std::vector<OperandDef>& list) { return list.empty() ? 0 : 1; }

void Append(SubLayout& target, SubLayout&& source) {
  target.Elements.insert(target.Elements.end(), source.Elements.begin(), source.Elements.end());
  target.HLines.insert(target.HLines.end(), source.HLines.begin(), source.HLines.end());
  target.VLinks.insert(target.VLinks.end(), source.VLinks.begin(), source.VLinks.end());
}

const Terminal& FirstTerminal(const SubLayout& layout) {
  if (layout.Terminals.empty()) ThrowLayoutError(L"Ladder layout: part without terminals");
  return layout.Terminals.front();
}

const Terminal& LastTerminal(const SubLayout& layout) {
  if (layout.Terminals.empty()) ThrowLayoutError(L"Ladder layout: part without terminals");
  return layout.Terminals.back();
}

LayoutInput& InputAt(std::vector<LayoutInput>& inputs, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= inputs.size()) ThrowLayoutError(L"Ladder layout: no such input");
  return inputs[static_cast<std::size_t>(index)];
}

// Writes the element part of a unit's cell into a grid cell, keeping the cell's link flags.
void PutElement(CellGrid& grid, LayoutPoint at, const LadCell& source, std::vector<int> powerIn,
                std::vector<int> powerOut, int width) {
  LadCell& cell = grid.At(at.Row, at.Column);
  if (cell.definition != -1) ThrowLayoutError(L"Ladder layout: two elements in one cell");
  cell.definition = source.definition;
  cell.variant = source.variant;
  cell.operands = source.operands;
  cell.comments = source.comments;
  cell.powerIn = std::move(powerIn);
  cell.powerOut = std::move(powerOut);
  cell.width = width;
}

void PlaceBox(const FunLadRecord& definition, const std::vector<LayoutPoint>& powerInAt,
              const std::vector<LayoutPoint>* powerOutAt, const LadCell& source, CellGrid& grid) {
  if (powerInAt.empty()) ThrowLayoutError(L"Ladder layout: box without power input");
  const LayoutPoint first = powerInAt.front();
  std::vector<int> in;
  for (const LayoutPoint& point : powerInAt) in.push_back(point.Row - first.Row);
  std::vector<int> out;
  if (powerOutAt != nullptr) {
    for (const LayoutPoint& point : *powerOutAt) out.push_back(point.Row - first.Row);
  }
  PutElement(grid, LayoutPoint{first.Column + Flag(definition.OperandIn), first.Row}, source, std::move(in),
             std::move(out), CellWidth(definition));
  if (!definition.OperandIn.empty()) {
    for (const LayoutPoint& point : powerInAt) grid.At(point.Row, point.Column).horizontalLink = 1;
  }
  if (powerOutAt != nullptr && !definition.OperandOut.empty()) {
    for (const LayoutPoint& point : *powerOutAt) grid.At(point.Row, point.Column - 1).horizontalLink = 1;
  }
}

// The cell's operand texts, which stand in the definition's list order (OperandId, OperandIn,
// OperandOut), put into the order of the instruction.
std::vector<std::wstring> TextsInInstructionOrder(const InstructionLibrary& library, const FunLadRecord& definition,
                                                  const std::vector<std::wstring>& texts) {
  const std::vector<int> order = LadOperandOrder(library, definition);
  std::vector<std::wstring> placed(texts.size());
  for (std::size_t k = 0; k < texts.size(); ++k) placed[static_cast<std::size_t>(order[k])] = texts[k];
  return placed;
}

// Whether a unit acts on the power it receives as a whole (NOT, the edges) rather than adding
// its own condition to it: the statement list has no instruction that loads it, so it is
// written only after the logic it acts on (the unit with the AND that follows it).
bool ActsOnPower(const InstructionLibrary& library, int unit) {
  for (const ConvertRule& rule : library.UnitToStlRules) {
    if (rule.Left.size() == 1 && rule.Left.front().Slot == unit) return false;
  }
  return true;
}

std::vector<ElementPin> MakePins(const std::vector<int>& slots, const std::vector<std::wstring>& names) {
  if (slots.size() != names.size()) ThrowLayoutError(L"Ladder build: power pins differ from the definition");
  std::vector<ElementPin> pins;
  pins.reserve(slots.size());
  for (std::size_t j = 0; j < slots.size(); ++j) pins.push_back(ElementPin{slots[j], names[j]});
  return pins;
}

}  // namespace

// ---- Units

void ConvertNodeToLadCell(const InstructionLibrary& library, const LogicNode& node, LadCell& cell) {
  std::vector<LadCell> produced;
  const LogicNode* position = &node;
  if (!MatchInstructionPattern(library.UnitToLadRules, produced, position, &node + 1) || produced.size() != 1) {
    throw ExceptionAnalyzeError_Lad_ConvertElementError();
  }
  cell = std::move(produced.front());
}

int LadCellWidth(const FunLadRecord& definition, bool output) {
  const int in = Flag(definition.OperandIn);
  if (output) {
    switch (definition.Look) {
      case kLadLookCoil:
      case kLadLookFxCoil:
      case kLadLookFxBlock:
        return 1;
      case kLadLookBlock:
        return 1 + in;
      default:
        ThrowLayoutError(L"Ladder layout: output element of an input kind");
    }
  }
  switch (definition.Look) {
    case kLadLookCont:
    case kLadLookFxCont:
      return 1;
    case kLadLookBlock:
      return 1 + in + Flag(definition.OperandOut);
    case kLadLookFxBlock:
      return 1 + static_cast<int>(definition.OperandCount());
    default:
      ThrowLayoutError(L"Ladder layout: input element of an output kind");
  }
}

int LadCellExtraRows(const FunLadRecord& definition) {
  if (definition.Look != kLadLookBlock) return 0;
  const int operands = static_cast<int>(std::max(definition.OperandIn.size(), definition.OperandOut.size()));
  return (operands + 2) / 3;
}

// ---- Sub-layouts

void ShiftLayoutInputs(std::vector<LayoutInput>& inputs, SubLayout& layout, int dx, int dy) {
  for (int index : layout.Elements) {
    LayoutInput& input = InputAt(inputs, index);
    for (LayoutPoint& point : input.PowerInAt) point = LayoutPoint{point.Column + dx, point.Row + dy};
    for (LayoutPoint& point : input.PowerOutAt) point = LayoutPoint{point.Column + dx, point.Row + dy};
  }
  for (LayoutPoint& point : layout.HLines) point = LayoutPoint{point.Column + dx, point.Row + dy};
  for (LayoutPoint& point : layout.VLinks) point = LayoutPoint{point.Column + dx, point.Row + dy};
}

SubLayout MakeLeafLayout(std::vector<LayoutInput>& inputs, int index) {
  LayoutInput& input = InputAt(inputs, index);
  if (input.PowerInAt.size() != 1 || input.PowerOutAt.size() != 1 || input.Pins.size() != 2) {
    ThrowLayoutError(L"Ladder layout: a single element needs one power input and one power output");
  }
  input.PowerInAt[0] = LayoutPoint{0, 0};
  input.PowerOutAt[0] = LayoutPoint{input.Width, 0};
  SubLayout layout;
  layout.Elements.push_back(index);
  layout.Terminals.push_back(Terminal{0, 0, input.ExtraRows + 1, input.Pins[0]});
  layout.Terminals.push_back(Terminal{input.Width, 0, 0, input.Pins[1]});
  return layout;
}

SubLayout CombineSeries(std::vector<LayoutInput>& inputs, SubLayout left, SubLayout right) {
  const Terminal joint = LastTerminal(left);
  const Terminal rightStart = FirstTerminal(right);
  if (joint.Node != rightStart.Node) ThrowLayoutError(L"Ladder layout: series parts meet at different nodes");
  const int dx = joint.Column;
  ShiftLayoutInputs(inputs, right, dx, 0);
  for (Terminal& terminal : left.Terminals) terminal.NextRow = std::max(terminal.NextRow, rightStart.NextRow);
  for (std::size_t j = 1; j < right.Terminals.size(); ++j) {
    Terminal terminal = right.Terminals[j];
    terminal.Column += dx;
    left.Terminals.push_back(terminal);
  }
  Append(left, std::move(right));
  return left;
}

SubLayout CombineParallel(std::vector<LayoutInput>& inputs, SubLayout upper, SubLayout lower) {
  const Terminal upperStart = FirstTerminal(upper);
  const Terminal upperEnd = LastTerminal(upper);
  const Terminal lowerStart = FirstTerminal(lower);
  const Terminal lowerEnd = LastTerminal(lower);
  if (upperStart.Node != lowerStart.Node || upperEnd.Node != lowerEnd.Node) {
    ThrowLayoutError(L"Ladder layout: parallel branches between different nodes");
  }
  const int width = std::max(upperEnd.Column, lowerEnd.Column);
  const int dy = upperStart.NextRow;
  for (int x = upperEnd.Column; x < width; ++x) upper.HLines.push_back(LayoutPoint{x, 0});
  ShiftLayoutInputs(inputs, lower, 0, dy);
  for (int x = lowerEnd.Column; x < width; ++x) lower.HLines.push_back(LayoutPoint{x, dy});
  Append(upper, std::move(lower));
  for (int y = 0; y < dy; ++y) {
    upper.VLinks.push_back(LayoutPoint{0, y});
    upper.VLinks.push_back(LayoutPoint{width, y});
  }
  upper.Terminals = {Terminal{0, 0, upperStart.NextRow + lowerStart.NextRow, upperStart.Node},
                     Terminal{width, 0, 0, upperEnd.Node}};
  return upper;
}

SubLayout MakeMultiInputLayout(std::vector<LayoutInput>& inputs, int index, std::vector<SubLayout> branches) {
  LayoutInput& box = InputAt(inputs, index);
  if (box.PowerInAt.size() < 2 || box.PowerOutAt.size() != 1 || box.Pins.size() != box.PowerInAt.size() + 1) {
    ThrowLayoutError(L"Ladder layout: a multi-input element needs several power inputs and one power output");
  }
  if (branches.size() != box.PowerInAt.size()) ThrowLayoutError(L"Ladder layout: branches differ from power inputs");
  int width = 0;
  for (const SubLayout& branch : branches) width = std::max(width, LastTerminal(branch).Column);
  const int leftNode = FirstTerminal(branches.front()).Node;
  // The branches are joined on the left: they must start at one node.
  for (const SubLayout& branch : branches) {
    if (FirstTerminal(branch).Node != leftNode) ThrowLayoutError(L"Ladder layout: box inputs from different nodes");
  }

  SubLayout layout;
  int y = 0;
  int lastBranchRow = 0;
  for (std::size_t j = 0; j < branches.size(); ++j) {
    SubLayout& branch = branches[j];
    const int height = FirstTerminal(branch).NextRow;
    const int end = LastTerminal(branch).Column;
    ShiftLayoutInputs(inputs, branch, 0, y);
    for (int x = end; x < width; ++x) branch.HLines.push_back(LayoutPoint{x, y});
    Append(layout, std::move(branch));
    box.PowerInAt[j] = LayoutPoint{width, y};
    lastBranchRow = y;
    y += height;
  }
  for (int row = 0; row < lastBranchRow; ++row) layout.VLinks.push_back(LayoutPoint{0, row});
  layout.Elements.push_back(index);
  box.PowerOutAt[0] = LayoutPoint{width + box.Width, 0};
  layout.Terminals = {Terminal{0, 0, box.ExtraRows + y, leftNode},
                      Terminal{width + box.Width, 0, 0, box.Pins.back()}};
  return layout;
}

SubLayout MakeFragmentLayout(std::vector<LayoutInput>& inputs, const LogicFragment& fragment) {
  const std::vector<LogicTree::Position> order = LogicPostOrder(fragment.tree);
  if (order.empty()) ThrowLayoutError(L"Ladder layout: empty logic");

  // A leading stored branch point: its series parent stands for its second child, which is
  // hung where the point is exposed. That needs the parent on the top-level series chain: as a
  // part of a parallel branch or of a box input, the logic behind the point would start at
  // another node than the branches beside it.
  LogicTree::Position reference = nullptr;
  LogicTree::Position bypassed = nullptr;
  if (order.front()->value.kind == kLogicItemReference) {
    reference = order.front();
    bypassed = reference->parent;
    if (bypassed == nullptr || bypassed->value != LogicItem{kLogicItemConnection, kLogicSeries} ||
        !IsOnLogicSeriesSpine(fragment.tree, bypassed)) {
      throw ExceptionAnalyzeError_Lad_UnacceptLrdOrLpp();
    }
  }

  auto isConnection = [](LogicTree::Position node, int kind) {
    return node != nullptr && node->value == LogicItem{kLogicItemConnection, kind};
  };
  std::vector<SubLayout> stack;
  // What each subtree walked so far has left: the number of its sub-layouts on the stack (a
  // stored branch point leaves none; a parallel item inside a parallel item leaves its
  // branches unjoined, so that a whole run of parallel items is joined as one left-deep chain,
  // the order in which the ladder is read back), and whether its series chain holds an element
  // that acts on the power it receives.
  struct Walked {
    std::size_t parts = 0;
    bool actsOnPower = false;
  };
  std::vector<Walked> walked;
  std::vector<Walked> children;
  for (LogicTree::Position node : order) {
    children.clear();
    for (LogicTree::Position child = node->first_child; child != nullptr; child = child->next_sibling) {
      if (walked.empty()) ThrowLayoutError(L"Ladder layout: logic walked out of order");
      children.insert(children.begin(), walked.back());
      walked.pop_back();
    }
    std::size_t parts = 0;
    for (const Walked& child : children) parts += child.parts;

    if (node == reference) {
      walked.push_back(Walked{});
      continue;
    }
    const LogicItem item = node->value;
    if (isConnection(node, kLogicSeries)) {
      if (children.size() != 2) ThrowLayoutError(L"Ladder layout: series of other than two parts");
      // A series whose right part is a series chain is drawn as one chain and read back
      // left-deep. That is the same logic unless the right chain holds an element that acts on
      // the power it receives (NOT, an edge): in "LD a / LD b / NOT / ALD" the NOT inverts b
      // alone, in the chain a, b, NOT it inverts a and b. No ladder shows the first.
      if (isConnection(node->last_child, kLogicSeries) && children[1].actsOnPower) {
        throw ExceptionAnalyzeError_Lad_PowerFlowError();
      }
      const bool actsOnPower = children[0].actsOnPower || children[1].actsOnPower;
      if (node == bypassed) {
        walked.push_back(Walked{children[1].parts, actsOnPower});
        continue;
      }
      if (parts != 2 || stack.size() < 2) ThrowLayoutError(L"Ladder layout: connection of fewer than two parts");
      SubLayout second = std::move(stack.back());
      stack.pop_back();
      stack.back() = CombineSeries(inputs, std::move(stack.back()), std::move(second));
      walked.push_back(Walked{1, actsOnPower});
    } else if (isConnection(node, kLogicParallel)) {
      if (children.size() != 2 || parts < 2 || stack.size() < parts) {
        ThrowLayoutError(L"Ladder layout: connection of fewer than two parts");
      }
      if (isConnection(node->parent, kLogicParallel)) {
        walked.push_back(Walked{parts, false});
        continue;
      }
      const std::size_t first = stack.size() - parts;
      for (std::size_t j = first + 1; j < stack.size(); ++j) {
        stack[first] = CombineParallel(inputs, std::move(stack[first]), std::move(stack[j]));
      }
      stack.resize(first + 1);
      walked.push_back(Walked{1, false});
    } else if (item.kind == kLogicItemInput) {
      const LayoutInput& input = InputAt(inputs, item.value);
      const std::size_t pins = input.Pins.size();
      if (pins == 2 && children.empty()) {
        stack.push_back(MakeLeafLayout(inputs, item.value));
        walked.push_back(Walked{1, input.ActsOnPower});
      } else if (pins > 2) {
        if (parts != pins - 1 || stack.size() < parts) {
          ThrowLayoutError(L"Ladder layout: branches differ from the power inputs of a multi-input element");
        }
        std::vector<SubLayout> branches(std::make_move_iterator(stack.end() - static_cast<std::ptrdiff_t>(parts)),
                                        std::make_move_iterator(stack.end()));
        stack.resize(stack.size() - parts);
        stack.push_back(MakeMultiInputLayout(inputs, item.value, std::move(branches)));
        walked.push_back(Walked{1, false});
      } else {
        ThrowLayoutError(L"Ladder layout: input element with fewer than two pins");
      }
    } else {
      ThrowLayoutError(L"Ladder layout: unexpected logic item");
    }
  }
  if (stack.size() != 1 || walked.size() != 1) ThrowLayoutError(L"Ladder layout: logic does not reduce to one part");
  return std::move(stack.front());
}

// ---- Placement

int FindFrontierTerminal(const LayoutState& state, int node) {
  if (node == kNoLayoutNode) return -1;
  const std::vector<Terminal>& frontier = state.Placed.Terminals;
  for (std::size_t i = 0; i < frontier.size(); ++i) {
    if (frontier[i].Node == node) return static_cast<int>(i);
  }
  return -1;
}

void AttachTerminals(LayoutState& state, std::size_t t, const std::vector<Terminal>& added) {
  std::vector<Terminal>& frontier = state.Placed.Terminals;
  if (t >= frontier.size() || added.empty()) ThrowLayoutError(L"Ladder layout: attach at no terminal");
  const Terminal at = frontier[t];
  for (int y = at.Row; y < at.NextRow; ++y) state.Placed.VLinks.push_back(LayoutPoint{at.Column, y});
  const int below = at.NextRow + added.front().NextRow;
  for (std::size_t j = 0; j < t; ++j) frontier[j].NextRow = std::max(frontier[j].NextRow, below);
  frontier.resize(t);
  for (const Terminal& terminal : added) {
    frontier.push_back(Terminal{terminal.Column + at.Column, terminal.Row + at.NextRow, terminal.NextRow + at.NextRow,
                                terminal.Node});
  }
}

void AttachSubLayout(LayoutState& state, SubLayout layout) {
  const int t = FindFrontierTerminal(state, FirstTerminal(layout).Node);
  if (t < 0) ThrowLayoutError(L"Ladder layout: the left node of the logic is not exposed");
  const Terminal at = state.Placed.Terminals[static_cast<std::size_t>(t)];
  ShiftLayoutInputs(state.Inputs, layout, at.Column, at.NextRow);
  std::vector<Terminal> terminals = std::move(layout.Terminals);
  Append(state.Placed, std::move(layout));
  AttachTerminals(state, static_cast<std::size_t>(t), terminals);
}

void PlaceOutputPin(LayoutState& state, int outputIndex, int pin) {
  if (outputIndex < 0 || static_cast<std::size_t>(outputIndex) >= state.Outputs.size()) {
    ThrowLayoutError(L"Ladder layout: no such output");
  }
  LayoutOutput& output = state.Outputs[static_cast<std::size_t>(outputIndex)];
  if (pin < 0 || static_cast<std::size_t>(pin) >= output.Pins.size() || output.Pins.size() != output.PowerInAt.size()) {
    ThrowLayoutError(L"Ladder layout: output pins differ from the definition");
  }
  const int node = output.Pins[static_cast<std::size_t>(pin)];
  const int t = FindFrontierTerminal(state, node);
  if (t < 0) ThrowLayoutError(L"Ladder layout: the node of the output pin is not exposed");
  const Terminal at = state.Placed.Terminals[static_cast<std::size_t>(t)];
  const std::vector<Terminal> reserved = {Terminal{0, 0, output.ExtraRows + 1, node},
                                          Terminal{output.Width, 0, 0, kNoLayoutNode}};
  if (output.Pins.size() == 1) {
    output.PowerInAt[0] = LayoutPoint{at.Column, at.NextRow};
    AttachTerminals(state, static_cast<std::size_t>(t), reserved);
    return;
  }
  state.PendingPins.push_back(LayoutPoint{at.Column, at.NextRow});
  if (static_cast<std::size_t>(pin) + 1 < output.Pins.size()) {
    AttachTerminals(state, static_cast<std::size_t>(t),
                    {Terminal{0, 0, 1, node}, Terminal{output.Width, 0, 0, kNoLayoutNode}});
    return;
  }
  if (state.PendingPins.size() != output.PowerInAt.size()) ThrowLayoutError(L"Ladder layout: output pins out of step");
  int column = 0;
  for (const LayoutPoint& point : state.PendingPins) column = std::max(column, point.Column);
  for (std::size_t j = 0; j < state.PendingPins.size(); ++j) {
    const LayoutPoint point = state.PendingPins[j];
    for (int x = point.Column; x < column; ++x) state.Placed.HLines.push_back(LayoutPoint{x, point.Row});
    output.PowerInAt[j] = LayoutPoint{column, point.Row};
  }
  state.PendingPins.clear();
  AttachTerminals(state, static_cast<std::size_t>(t), reserved);
}

void PlaceInputCell(const InstructionLibrary& library, const LayoutInput& input, CellGrid& grid) {
  const FunLadRecord& definition = LadDefinition(library, input.Cell.definition);
  switch (definition.Look) {
    case kLadLookCont:
    case kLadLookFxCont:
    case kLadLookFxBlock:
      if (input.PowerInAt.empty()) ThrowLayoutError(L"Ladder layout: element without power input");
      PutElement(grid, input.PowerInAt.front(), input.Cell, {0}, {0}, CellWidth(definition));
      return;
    case kLadLookBlock:
      PlaceBox(definition, input.PowerInAt, &input.PowerOutAt, input.Cell, grid);
      return;
    default:
      ThrowLayoutError(L"Ladder layout: input element of an output kind");
  }
}

void PlaceOutputCell(const InstructionLibrary& library, const LayoutOutput& output, CellGrid& grid) {
  const FunLadRecord& definition = LadDefinition(library, output.Cell.definition);
  switch (definition.Look) {
    case kLadLookCoil:
    case kLadLookFxCoil:
    case kLadLookFxBlock:
      if (output.PowerInAt.empty()) ThrowLayoutError(L"Ladder layout: element without power input");
      PutElement(grid, output.PowerInAt.front(), output.Cell, {0}, {}, CellWidth(definition));
      return;
    case kLadLookBlock:
      PlaceBox(definition, output.PowerInAt, nullptr, output.Cell, grid);
      return;
    default:
      ThrowLayoutError(L"Ladder layout: output element of an input kind");
  }
}

// ---- The two stages

void LayoutLadGrid(const InstructionLibrary& library, const LogicGraph& graph, CellGrid& grid) {
  grid.cells.clear();
  grid.rows = 0;
  grid.columns = 0;

  LayoutState state;
  state.Inputs.reserve(graph.inputs.size());
  for (const LogicNode& node : graph.inputs) {
    LayoutInput input;
    ConvertNodeToLadCell(library, node, input.Cell);
    const FunLadRecord& definition = LadDefinition(library, input.Cell.definition);
    input.Pins = node.pins;
    input.Width = LadCellWidth(definition, false);
    input.ExtraRows = LadCellExtraRows(definition);
    input.PowerInAt.assign(definition.PowerIn.size(), LayoutPoint{});
    input.PowerOutAt.assign(definition.PowerOut.size(), LayoutPoint{});
    input.ActsOnPower = ActsOnPower(library, node.definition);
    state.Inputs.push_back(std::move(input));
  }
  state.Outputs.reserve(graph.outputs.size());
  for (const LogicNode& node : graph.outputs) {
    LayoutOutput output;
    ConvertNodeToLadCell(library, node, output.Cell);
    const FunLadRecord& definition = LadDefinition(library, output.Cell.definition);
    output.Pins = node.pins;
    output.Width = LadCellWidth(definition, true);
    output.ExtraRows = LadCellExtraRows(definition);
    output.PowerInAt.assign(definition.PowerIn.size(), LayoutPoint{});
    state.Outputs.push_back(std::move(output));
  }

  std::vector<SubLayout> pieces;
  pieces.reserve(graph.fragments.size());
  for (const LogicFragment& fragment : graph.fragments) pieces.push_back(MakeFragmentLayout(state.Inputs, fragment));

  // Outputs in statement order, each pin at the node that exposes it, hanging the next piece of
  // logic first where the pin's node is not exposed yet.
  state.Placed.Terminals.push_back(Terminal{0, 0, 0, 0});
  std::size_t cursor = 0;
  for (std::size_t o = 0; o < state.Outputs.size(); ++o) {
    const std::size_t pins = state.Outputs[o].Pins.size();
    if (pins == 0) ThrowLayoutError(L"Ladder layout: output without power input");
    for (std::size_t p = 0; p < pins; ++p) {
      for (;;) {
        if (FindFrontierTerminal(state, state.Outputs[o].Pins[p]) >= 0) {
          PlaceOutputPin(state, static_cast<int>(o), static_cast<int>(p));
          break;
        }
        if (cursor < pieces.size() && FindFrontierTerminal(state, FirstTerminal(pieces[cursor]).Node) >= 0) {
          AttachSubLayout(state, std::move(pieces[cursor]));
          ++cursor;
          continue;
        }
        throw ExceptionAnalyzeError_Lad_LinkMismatch();
      }
    }
  }
  // Logic that no output hung would silently vanish from the ladder.
  if (cursor != pieces.size()) throw ExceptionAnalyzeError_Lad_LinkMismatch();

  std::vector<bool> placed(state.Inputs.size(), false);
  for (int index : state.Placed.Elements) placed[static_cast<std::size_t>(index)] = true;

  int maxColumn = 0;
  int maxRow = 0;
  auto extend = [&maxColumn, &maxRow](int column, int row) {
    maxColumn = std::max(maxColumn, column);
    maxRow = std::max(maxRow, row);
  };
  for (std::size_t i = 0; i < state.Inputs.size(); ++i) {
    if (!placed[i]) continue;
    const LayoutInput& input = state.Inputs[i];
    extend(input.PowerInAt.front().Column + input.Width, input.PowerInAt.back().Row + input.ExtraRows);
    if (!input.PowerOutAt.empty()) extend(0, input.PowerOutAt.back().Row + input.ExtraRows);
  }
  for (const LayoutOutput& output : state.Outputs) {
    extend(output.PowerInAt.front().Column + output.Width, output.PowerInAt.back().Row + output.ExtraRows);
  }
  for (const LayoutPoint& point : state.Placed.HLines) extend(point.Column, point.Row);
  for (const LayoutPoint& point : state.Placed.VLinks) extend(point.Column, point.Row);

  CellGrid built;
  ResizeCellGrid(built, maxRow + 1, maxColumn + 1);
  for (std::size_t i = 0; i < state.Inputs.size(); ++i) {
    if (placed[i]) PlaceInputCell(library, state.Inputs[i], built);
  }
  for (const LayoutOutput& output : state.Outputs) PlaceOutputCell(library, output, built);
  for (const LayoutPoint& point : state.Placed.HLines) built.At(point.Row, point.Column).horizontalLink = 1;
  for (const LayoutPoint& point : state.Placed.VLinks) {
    if (point.Column != 0) built.At(point.Row, point.Column - 1).verticalLink = 1;
  }
  grid = std::move(built);
}

void LayoutLadGrid(const LogicGraph& graph, CellGrid& grid) { LayoutLadGrid(ConverterLibrary(), graph, grid); }

void BuildLadNetwork(const InstructionLibrary& library, const CellGrid& grid, LadderGrid& ladder) {
  LadderGrid built;
  for (int r = 0; r < grid.rows; ++r) {
    for (int c = 0; c < grid.columns; ++c) {
      const LadCell& cell = grid.At(r, c);
      if (cell.horizontalLink != 0) {
        LadElement line;
        line.Column = c;
        line.Row = r;
        line.InCell = true;
        line.Kind = kLadKindLine;
        built.Elements.push_back(std::move(line));
      }
      if (cell.verticalLink != 0) {
        LadElement link;
        link.Column = c;
        link.Row = r;
        link.InCell = false;
        link.Kind = kLadKindLine;
        built.Elements.push_back(std::move(link));
      }
      if (cell.definition == -1) continue;
      const FunLadRecord& definition = LadDefinition(library, cell.definition);
      LadElement element;
      element.Column = c;
      element.Row = r;
      element.InCell = true;
      element.Kind = definition.Look;
      element.Name = definition.Keyword;
      element.Variant = cell.variant;
      element.PowerIn = MakePins(cell.powerIn, definition.PowerIn);
      element.PowerOut = MakePins(cell.powerOut, definition.PowerOut);
      if (cell.operands.size() != definition.OperandCount()) {
        ThrowLayoutError(L"Ladder build: operands differ from the definition");
      }
      DealOperandsOfDef(element, library, definition, TextsInInstructionOrder(library, definition, cell.operands),
                        [](const std::wstring& text, const OperandDef&) { return text; });
      element.Comments = cell.comments;
      built.Elements.push_back(std::move(element));
    }
  }
  UpdateLadderExtent(built);
  ladder = std::move(built);
}

void BuildLadNetwork(const CellGrid& grid, LadderGrid& ladder) { BuildLadNetwork(ConverterLibrary(), grid, ladder); }

}  // namespace Brenno
