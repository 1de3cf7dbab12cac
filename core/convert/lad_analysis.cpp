#include "core/convert/lad_analysis.h"

#include <algorithm>

#include "core/convert/pattern_matching.h"
#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/program/definition_choice.h"

namespace Brenno {

namespace {

constexpr long long kMaxLadderExtent = 1 << 16;
constexpr long long kMaxLadderCells = 1 << 20;

bool IsElementKind(int kind) { return kind >= kLadKindCont && kind <= kLadKindFxBlock; }

// Net table entries: a fragment index, or one of these.
constexpr int kNoFragment = -1;
constexpr int kSeveralFragments = -2;

void Note(int& slot, int fragment) {
  if (slot == kNoFragment) {
    slot = fragment;
  } else if (slot != fragment) {
    slot = kSeveralFragments;
  }
}

// The simplification works on light trees (nodes in one arena, children by index), so a merge
// costs the same however large the merged parts are; the group's NaryTrees are read once and
// written once.
struct WorkNode {
  LogicItem item;
  std::vector<int> children;
  int top = 0;  // the uppermost grid row of the elements below this node
};

struct WorkFragment {
  int root = -1;
  std::vector<int> ends;
};

class GroupSimplifier {
 public:
  // `tops`: the uppermost grid row of each fragment's elements; empty when the rows are not
  // known (every fragment then counts as standing in row 0).
  GroupSimplifier(const std::vector<LogicFragment>& group, const std::vector<int>& tops) {
    if (!tops.empty() && tops.size() != group.size()) {
      throw MakeLogicError(L"\r\n  Ladder analysis: one row per fragment expected");
    }
    m_fragments.reserve(group.size());
    for (std::size_t i = 0; i < group.size(); ++i) {
      LogicTree::Position root = LogicRoot(group[i].tree);
      if (root == nullptr) throw MakeLogicError(L"\r\n  Ladder analysis: empty fragment");
      m_fragments.push_back(WorkFragment{Import(root, tops.empty() ? 0 : tops[i]), group[i].ends});
    }
  }

  // Puts every fragment's tree in its normal form. The merges join parallel branches in list
  // order (the column order of their cells), which is not the order in which they stand: a
  // single contact low in the first column is joined before a longer branch above it is
  // complete, and a box branch, listed at the box's column, comes after branches below it. The
  // same logic then gives trees of different shapes, and the list written from such a tree lays
  // the branches out in another order than the ladder it was read from. In normal form every
  // run of nested parallel items is one left-deep chain whose branches stand in the order of
  // their uppermost rows (top branch first, as the layout stacks them), and every run of nested
  // series items one left-deep chain in its left-to-right order.
  void Normalize() {
    for (const WorkFragment& fragment : m_fragments) NormalizeTree(fragment.root);
  }

  void Run() {
    for (;;) {
      BuildNetTable();
      if (MultiInputMerge()) continue;
      if (ParallelMerge()) continue;
      if (SeriesMerge()) continue;
      break;
    }
  }

  void Export(std::vector<LogicFragment>& group) const {
    std::vector<LogicFragment> result(m_fragments.size());
    for (std::size_t i = 0; i < m_fragments.size(); ++i) {
      result[i].ends = m_fragments[i].ends;
      MakeLogicLeaf(result[i].tree, m_nodes[static_cast<std::size_t>(m_fragments[i].root)].item);
      // An explicit stack: deep chains need no recursion.
      std::vector<std::pair<int, LogicTree::Position>> stack{{m_fragments[i].root, LogicRoot(result[i].tree)}};
      while (!stack.empty()) {
        const auto [node, target] = stack.back();
        stack.pop_back();
        for (int child : m_nodes[static_cast<std::size_t>(node)].children) {
          const auto placed = result[i].tree.AppendChild(m_nodes[static_cast<std::size_t>(child)].item,
                                                          LogicTree::SiblingPosition{nullptr, target});
          stack.emplace_back(child, placed.node);
        }
      }
    }
    group.swap(result);
  }

 private:
  int Import(LogicTree::Position root, int top) {
    const int index = NewNode(root->value, {}, top);
    std::vector<std::pair<LogicTree::Position, int>> stack{{root, index}};
    while (!stack.empty()) {
      const auto [node, at] = stack.back();
      stack.pop_back();
      for (LogicTree::Position child = node->first_child; child != nullptr; child = child->next_sibling) {
        const int copy = NewNode(child->value, {}, top);
        m_nodes[static_cast<std::size_t>(at)].children.push_back(copy);
        stack.emplace_back(child, copy);
      }
    }
    return index;
  }

  // A node over `children` stands as high as the highest of them; a leaf at `top`.
  int NewNode(const LogicItem& item, std::vector<int> children = {}, int top = 0) {
    if (!children.empty()) {
      top = m_nodes[static_cast<std::size_t>(children.front())].top;
      for (int child : children) top = std::min(top, m_nodes[static_cast<std::size_t>(child)].top);
    }
    m_nodes.push_back(WorkNode{item, std::move(children), top});
    return static_cast<int>(m_nodes.size() - 1);
  }

  static bool IsConnection(const LogicItem& item, int kind) {
    return item.kind == kLogicItemConnection && item.value == kind;
  }

  // Top down: at a series or parallel item, the parts of the whole run of nested items of that
  // kind (left to right) are chained again left-deep, parallel parts sorted by their uppermost
  // row (a stable sort: parts in one row keep their order); then the parts themselves.
  void NormalizeTree(int root) {
    std::vector<int> pending{root};
    std::vector<int> parts;
    std::vector<int> stack;
    while (!pending.empty()) {
      const int node = pending.back();
      pending.pop_back();
      const LogicItem item = m_nodes[static_cast<std::size_t>(node)].item;
      const bool chain = IsConnection(item, kLogicSeries) || IsConnection(item, kLogicParallel);
      if (!chain) {
        for (int child : m_nodes[static_cast<std::size_t>(node)].children) pending.push_back(child);
        continue;
      }
      parts.clear();
      const std::vector<int>& children = m_nodes[static_cast<std::size_t>(node)].children;
      stack.assign(children.rbegin(), children.rend());
      while (!stack.empty()) {
        const int at = stack.back();
        stack.pop_back();
        const WorkNode& n = m_nodes[static_cast<std::size_t>(at)];
        if (n.item == item) {
          stack.insert(stack.end(), n.children.rbegin(), n.children.rend());
        } else {
          parts.push_back(at);
        }
      }
      if (parts.size() < 2) continue;  // not built by the merges; left alone
      if (IsConnection(item, kLogicParallel)) {
        std::stable_sort(parts.begin(), parts.end(), [this](int a, int b) {
          return m_nodes[static_cast<std::size_t>(a)].top < m_nodes[static_cast<std::size_t>(b)].top;
        });
      }
      int chained = parts.front();
      for (std::size_t k = 1; k + 1 < parts.size(); ++k) chained = NewNode(item, {chained, parts[k]});
      m_nodes[static_cast<std::size_t>(node)].children = {chained, parts.back()};
      pending.insert(pending.end(), parts.begin(), parts.end());
    }
  }

  // For every net from 0 to the largest end of the group: the fragment consuming it (among its
  // input ends) and the fragment producing it (its last end).
  void BuildNetTable() {
    int largest = -1;
    for (const WorkFragment& f : m_fragments) {
      for (int end : f.ends) largest = std::max(largest, end);
    }
    m_consumer.assign(static_cast<std::size_t>(largest + 1), kNoFragment);
    m_producer.assign(static_cast<std::size_t>(largest + 1), kNoFragment);
    for (std::size_t i = 0; i < m_fragments.size(); ++i) {
      const std::vector<int>& ends = m_fragments[i].ends;
      if (ends.empty()) continue;
      for (std::size_t k = 0; k + 1 < ends.size(); ++k) {
        if (ends[k] >= 0) Note(m_consumer[static_cast<std::size_t>(ends[k])], static_cast<int>(i));
      }
      if (ends.back() >= 0) Note(m_producer[static_cast<std::size_t>(ends.back())], static_cast<int>(i));
    }
    m_sharedOutput = false;
    for (int p : m_producer) m_sharedOutput = m_sharedOutput || p == kSeveralFragments;
  }
  int Consumer(int net) const {
    return net >= 0 && net < static_cast<int>(m_consumer.size()) ? m_consumer[static_cast<std::size_t>(net)] : kNoFragment;
  }
  int Producer(int net) const {
    return net >= 0 && net < static_cast<int>(m_producer.size()) ? m_producer[static_cast<std::size_t>(net)] : kNoFragment;
  }

  // The first box (three or more ends) whose every input net has one consumer and one producer
  // takes its producers as children, in pin order, when they all start at one net.
  bool MultiInputMerge() {
    for (std::size_t b = 0; b < m_fragments.size(); ++b) {
      if (m_fragments[b].ends.size() < 3) continue;
      const std::vector<int>& ends = m_fragments[b].ends;
      bool single = true;
      for (std::size_t k = 0; k + 1 < ends.size() && single; ++k) {
        single = Consumer(ends[k]) >= 0 && Producer(ends[k]) >= 0;
      }
      if (!single) continue;
      std::vector<int> producers;
      for (std::size_t k = 0; k + 1 < ends.size(); ++k) producers.push_back(Producer(ends[k]));
      for (int p : producers) {
        if (p == static_cast<int>(b) || m_fragments[static_cast<std::size_t>(p)].ends.empty()) return false;
      }
      const int start = m_fragments[static_cast<std::size_t>(producers.front())].ends.front();
      for (int p : producers) {
        if (m_fragments[static_cast<std::size_t>(p)].ends.front() != start) return false;
      }
      const int boxRoot = m_fragments[b].root;
      std::vector<bool> used(m_fragments.size(), false);
      for (int p : producers) {
        const int child = m_fragments[static_cast<std::size_t>(p)].root;
        // A producer that feeds two pins of the box appears under both.
        const int placed = used[static_cast<std::size_t>(p)] ? CopySubtree(child) : child;
        used[static_cast<std::size_t>(p)] = true;
        m_nodes[static_cast<std::size_t>(boxRoot)].children.push_back(placed);
        m_nodes[static_cast<std::size_t>(boxRoot)].top =
            std::min(m_nodes[static_cast<std::size_t>(boxRoot)].top, m_nodes[static_cast<std::size_t>(placed)].top);
      }
      const int last = ends.back();
      m_fragments[b].ends = {start, last};
      std::vector<bool> remove(m_fragments.size(), false);
      for (int p : producers) remove[static_cast<std::size_t>(p)] = true;
      std::vector<WorkFragment> rest;
      rest.reserve(m_fragments.size());
      for (std::size_t i = 0; i < m_fragments.size(); ++i) {
        if (!remove[i]) rest.push_back(std::move(m_fragments[i]));
      }
      m_fragments.swap(rest);
      return true;
    }
    return false;
  }

  // A copy of the subtree at root, in new nodes.
  int CopySubtree(int root) {
    const int copy = NewNode(m_nodes[static_cast<std::size_t>(root)].item, {}, m_nodes[static_cast<std::size_t>(root)].top);
    std::vector<std::pair<int, int>> stack{{root, copy}};
    while (!stack.empty()) {
      const auto [from, to] = stack.back();
      stack.pop_back();
      const std::vector<int> children = m_nodes[static_cast<std::size_t>(from)].children;
      for (int child : children) {
        const int c = NewNode(m_nodes[static_cast<std::size_t>(child)].item, {}, m_nodes[static_cast<std::size_t>(child)].top);
        m_nodes[static_cast<std::size_t>(to)].children.push_back(c);
        stack.emplace_back(child, c);
      }
    }
    return copy;
  }

  // The first pair (i, j), i < j, of two-ended fragments with equal ends becomes parallel(i, j)
  // in the place of i.
  bool ParallelMerge() {
    // Two fragments with equal ends produce the same net.
    if (!m_sharedOutput) return false;
    m_keys.clear();
    for (std::size_t j = 0; j < m_fragments.size(); ++j) {
      const std::vector<int>& ends = m_fragments[j].ends;
      if (ends.size() == 2) m_keys.push_back({ends[0], ends[1], j});
    }
    std::sort(m_keys.begin(), m_keys.end());
    const std::size_t none = m_fragments.size();
    std::size_t bestI = none;
    std::size_t bestJ = none;
    // Sorted by ends and then index: the first two entries of a run of equal ends are the
    // smallest i of that run and its smallest partner j.
    for (std::size_t k = 0; k + 1 < m_keys.size(); ++k) {
      const bool runStart = k == 0 || m_keys[k - 1].first != m_keys[k].first || m_keys[k - 1].second != m_keys[k].second;
      if (!runStart) continue;
      if (m_keys[k + 1].first == m_keys[k].first && m_keys[k + 1].second == m_keys[k].second && m_keys[k].index < bestI) {
        bestI = m_keys[k].index;
        bestJ = m_keys[k + 1].index;
      }
    }
    if (bestI == none) return false;
    m_fragments[bestI].root = NewNode(LogicItem{kLogicItemConnection, kLogicParallel},
                                      {m_fragments[bestI].root, m_fragments[bestJ].root});
    m_fragments.erase(m_fragments.begin() + static_cast<std::ptrdiff_t>(bestJ));
    return true;
  }

  // The smallest net whose consumer C and producer P are two different two-ended fragments:
  // P becomes series(P, C), ending where C ended.
  bool SeriesMerge() {
    for (int net = 0; net < static_cast<int>(m_consumer.size()); ++net) {
      const int c = Consumer(net);
      const int p = Producer(net);
      if (c < 0 || p < 0 || c == p) continue;
      WorkFragment& producer = m_fragments[static_cast<std::size_t>(p)];
      const WorkFragment& consumer = m_fragments[static_cast<std::size_t>(c)];
      if (producer.ends.size() != 2 || consumer.ends.size() != 2) continue;
      producer.root = NewNode(LogicItem{kLogicItemConnection, kLogicSeries}, {producer.root, consumer.root});
      producer.ends[1] = consumer.ends[1];
      m_fragments.erase(m_fragments.begin() + c);
      return true;
    }
    return false;
  }

  std::vector<WorkNode> m_nodes;
  std::vector<WorkFragment> m_fragments;
  std::vector<int> m_consumer;
  std::vector<int> m_producer;
  bool m_sharedOutput = false;  // some net has several producers
  struct EndsKey {
    int first;
    int second;
    std::size_t index;
    bool operator<(const EndsKey& o) const {
      return first != o.first ? first < o.first : second != o.second ? second < o.second : index < o.index;
    }
  };
  std::vector<EndsKey> m_keys;
};

// Input nodes by their output net (the last pin), each list ascending.
std::vector<std::vector<int>> DriversByNet(const LogicGraph& graph) {
  std::vector<std::vector<int>> drivers;
  for (std::size_t i = 0; i < graph.inputs.size(); ++i) {
    const std::vector<int>& pins = graph.inputs[i].pins;
    if (pins.empty() || pins.back() < 0) continue;
    const auto net = static_cast<std::size_t>(pins.back());
    if (drivers.size() <= net) drivers.resize(net + 1);
    drivers[net].push_back(static_cast<int>(i));
  }
  return drivers;
}

void MarkFeeding(const LogicGraph& graph, const std::vector<std::vector<int>>& drivers, std::vector<bool>& taken,
                 int net, std::vector<bool>& group) {
  if (taken.size() < graph.inputs.size()) taken.resize(graph.inputs.size(), false);
  if (group.size() < graph.inputs.size()) group.resize(graph.inputs.size(), false);
  std::vector<int> stack;
  auto pushDrivers = [&](int n) {
    // Nothing drives the rail: an element whose output lies on it is shorted and feeds nobody.
    if (n <= 0 || static_cast<std::size_t>(n) >= drivers.size()) return;
    const std::vector<int>& list = drivers[static_cast<std::size_t>(n)];
    // Pushed in reverse so that the lowest index is popped first.
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
      if (!taken[static_cast<std::size_t>(*it)]) stack.push_back(*it);
    }
  };
  pushDrivers(net);
  while (!stack.empty()) {
    const int node = stack.back();
    stack.pop_back();
    // A node pushed twice is handled once.
    if (group[static_cast<std::size_t>(node)]) continue;
    taken[static_cast<std::size_t>(node)] = true;
    group[static_cast<std::size_t>(node)] = true;
    const std::vector<int>& pins = graph.inputs[static_cast<std::size_t>(node)].pins;
    for (std::size_t k = 0; k + 1 < pins.size(); ++k) pushDrivers(pins[k]);
  }
}

// Replaces the first part of the fragment's top-level series chain (the deepest spine node) by
// series(reference to the left end, that part); the left end becomes the rail.
void InsertBranchReference(LogicFragment& fragment) {
  const std::vector<LogicTree::Position> spine = LogicSeriesSpine(fragment.tree);
  if (spine.empty()) throw MakeLogicError(L"\r\n  Ladder analysis: empty fragment");
  LogicTree::Position first = spine.back();
  LogicTree reference;
  MakeLogicLeaf(reference, LogicItem{kLogicItemReference, fragment.ends.front()});
  LogicTree joined;
  MakeLogicLeaf(joined, LogicItem{kLogicItemConnection, kLogicSeries});
  joined.AppendSubtree(LogicRoot(joined), LogicRoot(reference));
  joined.AppendSubtree(LogicRoot(joined), first);
  fragment.tree.ReplaceSubtree(first, LogicRoot(joined));
  fragment.ends.front() = 0;
}

}  // namespace

void ComputeLadderExtent(const LadderGrid& ladder, int& rows, int& columns) {
  long long maxRows = 0;
  long long maxColumns = 0;
  for (const LadElement& e : ladder.Elements) {
    const bool known = e.Kind >= kLadKindLine && e.Kind <= kLadKindFxBlock && (e.InCell || e.Kind == kLadKindLine);
    const long long width = known ? LadderExtentColumns(e) : 1;
    const long long height = known ? LadderExtentRows(e) : 1;
    maxColumns = std::max(maxColumns, static_cast<long long>(e.Column) + width);
    maxRows = std::max(maxRows, static_cast<long long>(e.Row) + height);
  }
  // A position far beyond any drawable ladder is corrupt data; refuse it rather than reserve
  // memory for it.
  if (maxRows > kMaxLadderExtent || maxColumns > kMaxLadderExtent || maxRows * maxColumns > kMaxLadderCells) {
    throw MakeLogicError(L"\r\n  Ladder: element position outside any ladder");
  }
  rows = static_cast<int>(maxRows);
  columns = static_cast<int>(maxColumns);
}

void BuildCellGrid(const LadderGrid& ladder, CellGrid& grid) { BuildCellGrid(ConverterLibrary(), ladder, grid); }

void BuildCellGrid(const InstructionLibrary& library, const LadderGrid& ladder, CellGrid& grid) {
  grid.cells.clear();
  grid.rows = 0;
  grid.columns = 0;
  int rows = 0;
  int columns = 0;
  ComputeLadderExtent(ladder, rows, columns);
  ResizeCellGrid(grid, rows, columns);
  if (rows == 0 || columns == 0) throw ExceptionAnalyzeIgnore_Lad_LadEmpty();

  std::vector<const FunLadRecord*> found;
  for (const LadElement& e : ladder.Elements) {
    LadCell& cell = grid.At(e.Row, e.Column);
    if (!e.InCell) {
      if (e.Kind != kLadKindLine) throw MakeLogicError(L"\r\n  Ladder: vertical link of an element kind");
      cell.verticalLink = 1;
      continue;
    }
    if (e.Kind == kLadKindLine) {
      cell.horizontalLink = 1;
      continue;
    }
    LadElementKey key;
    key.Kind = e.Kind;
    key.Name = e.Name;
    key.IdCount = e.OperandId.size();
    key.InCount = e.OperandIn.size();
    key.OutCount = e.OperandOut.size();
    FindLadElementDefs(library, key, found);
    const FunLadRecord* chosen = ChooseElementDefinition(found, e);
    if (chosen == nullptr) throw ExceptionAnalyzeError_Lad_LadElementError();
    const FunLadRecord& definition = *chosen;
    // Two elements on one cell would merge their pins and lose one element's operands.
    if (cell.definition != -1) throw ExceptionAnalyzeError_Lad_LadElementError();
    cell.definition = LadElementDefIndex(library, definition);
    cell.variant = e.Variant;
    if (e.PowerIn.size() != definition.PowerIn.size() || e.PowerOut.size() != definition.PowerOut.size()) {
      throw ExceptionAnalyzeError_Lad_LadElementError();
    }
    for (const ElementPin& pin : e.PowerIn) cell.powerIn.push_back(pin.Slot);
    for (const ElementPin& pin : e.PowerOut) cell.powerOut.push_back(pin.Slot);
    if (!IsElementKind(e.Kind)) throw MakeLogicError(L"\r\n  Ladder: element of an unknown kind");
    const std::size_t operandCount = e.OperandId.size() + e.OperandIn.size() + e.OperandOut.size();
    cell.width = e.Kind == kLadKindFxBlock ? 1 + static_cast<int>(operandCount) : 1;
    cell.operands.reserve(operandCount);
    for (const ElementOperand& o : e.OperandId) cell.operands.push_back(o.Text);
    for (const ElementOperand& o : e.OperandIn) cell.operands.push_back(o.Text);
    for (const ElementOperand& o : e.OperandOut) cell.operands.push_back(o.Text);
    cell.comments = e.Comments;
  }
}

void ConvertLadCell(const InstructionLibrary& library, const LadCell& cell, LogicNode& node) {
  const LadCell* position = &cell;
  std::vector<StlElement> produced;
  if (!MatchInstructionPattern(library.LadToUnitRules, produced, position, &cell + 1) || produced.size() != 1) {
    throw ExceptionAnalyzeError_Lad_ConvertElementError();
  }
  static_cast<StlElement&>(node) = std::move(produced.front());
}

void MarkFeedingInputs(const LogicGraph& graph, std::vector<bool>& taken, int net, std::vector<bool>& group) {
  MarkFeeding(graph, DriversByNet(graph), taken, net, group);
}

bool SimplifyLadGraph(std::vector<LogicFragment>& group) { return SimplifyLadGraph(group, {}); }

bool SimplifyLadGraph(std::vector<LogicFragment>& group, const std::vector<int>& tops) {
  GroupSimplifier simplifier(group, tops);
  simplifier.Run();
  simplifier.Normalize();
  simplifier.Export(group);
  return group.size() == 1 && group.front().ends.size() == 2;
}

void AnalyzeLadGrid(const CellGrid& grid, LogicGraph& graph) { AnalyzeLadGrid(ConverterLibrary(), grid, graph); }

void AnalyzeLadGrid(const InstructionLibrary& library, const CellGrid& grid, LogicGraph& graph) {
  DestroyLogicGraph(graph);
  const LinkMap map(grid);

  // Input elements, column by column and top to bottom; every element is classified here.
  std::vector<int> inputRows;
  for (int c = 0; c < grid.columns; ++c) {
    for (int r = 0; r < grid.rows; ++r) {
      const LadCell& cell = grid.At(r, c);
      if (cell.definition == -1) continue;
      const std::size_t in = cell.powerIn.size();
      const std::size_t out = cell.powerOut.size();
      if (in == 0 || out >= 2) throw ExceptionAnalyzeError_Lad_PowerFlowError();
      if (out == 0) continue;
      LogicNode node;
      ConvertLadCell(library, cell, node);
      for (int s : cell.powerIn) node.pins.push_back(map.InputNet(r, c, s));
      node.pins.push_back(map.OutputNet(r, c, cell.width, cell.powerOut.front()));
      graph.inputs.push_back(std::move(node));
      inputRows.push_back(r);
    }
  }
  // Output elements, row by row and left to right.
  for (int r = 0; r < grid.rows; ++r) {
    for (int c = 0; c < grid.columns; ++c) {
      const LadCell& cell = grid.At(r, c);
      if (cell.definition == -1 || !cell.powerOut.empty()) continue;
      LogicNode node;
      ConvertLadCell(library, cell, node);
      for (int s : cell.powerIn) node.pins.push_back(map.InputNet(r, c, s));
      graph.outputs.push_back(std::move(node));
    }
  }
  if (graph.outputs.empty()) throw ExceptionAnalyzeError_Lad_NoOutputElement();

  for (const LogicNode& node : graph.inputs) {
    const int type = UnitType(library, node.definition);
    if (type != kFunOrgTypeInput && type != kFunOrgTypeMultiInput) throw ExceptionAnalyzeError_Lad_PowerFlowError();
  }
  for (const LogicNode& node : graph.outputs) {
    const int type = UnitType(library, node.definition);
    if (type == kFunOrgTypeOutput || type == kFunOrgTypeMultiOutput) {
      for (int pin : node.pins) {
        if (pin == 0) throw ExceptionAnalyzeError_Lad_NoInputElement();
      }
    } else if (type == kFunOrgTypeGeneratrixOutput) {
      if (node.pins.size() != 1 || node.pins.front() != 0) throw ExceptionAnalyzeError_Lad_GeneratrixOutputPlaceError();
    } else {
      throw ExceptionAnalyzeError_Lad_PowerFlowError();
    }
  }

  for (const auto* list : {&graph.inputs, &graph.outputs}) {
    for (const LogicNode& node : *list) {
      for (int pin : node.pins) {
        if (pin < 0) throw MakeLogicError(L"\r\n  Ladder analysis: unlabelled power pin");
      }
    }
  }

  // The power inputs of one output lie on nets of their own. They may share a net with other
  // outputs: a counter whose count input hangs where a coil hangs ("LD a / = Q / LD b / CTU")
  // is written as it is drawn, the generation checking each output's values when it writes it.
  for (const LogicNode& node : graph.outputs) {
    for (std::size_t i = 0; i < node.pins.size(); ++i) {
      for (std::size_t j = i + 1; j < node.pins.size(); ++j) {
        if (node.pins[i] == node.pins[j]) throw ExceptionAnalyzeError_Lad_PowerFlowError();
      }
    }
  }

  std::vector<int> outputNets;
  for (const LogicNode& node : graph.outputs) {
    for (int pin : node.pins) {
      if (outputNets.empty() || outputNets.back() != pin) outputNets.push_back(pin);
    }
  }

  const std::vector<std::vector<int>> drivers = DriversByNet(graph);
  std::vector<bool> taken(graph.inputs.size(), false);
  std::vector<bool> inGroup(graph.inputs.size(), false);
  std::vector<std::vector<LogicFragment>> groups;
  std::vector<std::vector<int>> groupRows;  // the row of each fragment's element
  for (int net : outputNets) {
    std::fill(inGroup.begin(), inGroup.end(), false);
    MarkFeeding(graph, drivers, taken, net, inGroup);
    std::vector<LogicFragment> group;
    std::vector<int> rows;
    group.reserve(static_cast<std::size_t>(std::count(inGroup.begin(), inGroup.end(), true)));
    for (std::size_t i = 0; i < inGroup.size(); ++i) {
      if (!inGroup[i]) continue;
      LogicFragment fragment;
      MakeLogicLeaf(fragment.tree, LogicItem{kLogicItemInput, static_cast<int>(i)});
      fragment.ends = graph.inputs[i].pins;
      group.push_back(std::move(fragment));
      rows.push_back(inputRows[i]);
    }
    if (!group.empty() && net != 0) {
      groups.push_back(std::move(group));
      groupRows.push_back(std::move(rows));
    }
  }
  for (bool t : taken) {
    if (!t) throw ExceptionAnalyzeError_Lad_UselessElement();
  }

  graph.fragments.reserve(groups.size());
  for (std::size_t g = 0; g < groups.size(); ++g) {
    std::vector<LogicFragment>& group = groups[g];
    if (!SimplifyLadGraph(group, groupRows[g])) throw ExceptionAnalyzeError_Lad_SimplifyError();
    graph.fragments.push_back(std::move(group.front()));
  }
  if (!graph.fragments.empty() && graph.fragments.front().ends.front() != 0) {
    throw ExceptionAnalyzeError_Lad_PowerNotFromGeneratrix();
  }
  for (LogicFragment& fragment : graph.fragments) {
    if (fragment.ends.front() != 0) InsertBranchReference(fragment);
  }
}

}  // namespace Brenno
