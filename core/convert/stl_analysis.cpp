#include "core/convert/stl_analysis.h"

#include <algorithm>
#include <cstdint>

#include "core/convert/lad_layout.h"
#include "core/convert/pattern_matching.h"
#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/env/language.h"
#include "core/env/utilities.h"
#include "core/program/definition_choice.h"
#include "core/program/network.h"

namespace Brenno {

namespace {

// Room reserved in each stack, and links reserved per converted element.
constexpr std::size_t kStackReserve = 32;
constexpr std::size_t kLinksPerElement = 4;

// The value of a reference item: left node in the high 16 bits, right node in the low 16.
int ReferenceValue(int left, int right) {
  const std::uint32_t value = (static_cast<std::uint32_t>(left) << 16) | (static_cast<std::uint32_t>(right) & 0xFFFFu);
  return static_cast<int>(value);
}

// The line the library has no definition for, and why: the mnemonic is none of this PLC type's,
// or the operands it takes ("*R 3.1, VD4 (*R takes 3 operand(s): IN1, IN2, OUT)").
std::wstring DescribeUnknownLine(const InstructionLibrary& library, const StlLine& line) {
  const auto Trim = [](const std::wstring& operand) {
    const std::size_t first = operand.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return std::wstring();
    return operand.substr(first, operand.find_last_not_of(L" \t") - first + 1);
  };
  const auto Join = [](const std::vector<std::wstring>& texts, std::wstring_view separator) {
    std::wstring joined;
    JoinText(joined, texts, separator);
    return joined;
  };
  std::wstring text = L"\r\n  " + line.Mnemonic;
  if (!line.Operands.empty()) {
    std::vector<std::wstring> operands;
    for (const std::wstring& operand : line.Operands) operands.push_back(Trim(operand));
    text += L" " + Join(operands, L", ");
  }
  std::vector<std::wstring> forms;
  for (const FunStlRecord& def : library.FunStlList) {
    if (def.Name != line.Mnemonic) continue;
    std::wstring form;
    if (def.Operands.empty()) {
      form = PickText(L"no operand", L"无操作数");
    } else {
      std::vector<std::wstring> names;
      for (const OperandDef& operand : def.Operands) names.push_back(operand.Name);
      form = std::to_wstring(def.Operands.size()) + PickText(L" operand(s): ", L" 个操作数：") + Join(names, L", ");
    }
    if (std::find(forms.begin(), forms.end(), form) == forms.end()) forms.push_back(form);
  }
  if (forms.empty()) {
    return text +
           PickText(L" (no statement-list instruction of this PLC type)", L"（不是此 PLC 类型的指令表指令）");
  }
  return text + PickText(L" (", L"（") + line.Mnemonic + PickText(L" takes ", L" 需要 ") +
         Join(forms, PickText(L" or ", L" 或 ")) + PickText(L")", L"）");
}

}  // namespace

// ---- StlStackMachine

StlStackMachine::StlStackMachine(std::size_t unitCount) {
  m_links.reserve(kLinksPerElement * unitCount);
  m_blocks.reserve(kStackReserve);
  m_logic.reserve(kStackReserve);
  m_outputs.reserve(kStackReserve);
  m_pool.reserve(std::max(4 * kStackReserve, 2 * unitCount));
}

int StlStackMachine::NewNode(const LogicItem& item) {
  PoolNode node;
  node.item = item;
  m_pool.push_back(node);
  return static_cast<int>(m_pool.size()) - 1;
}

void StlStackMachine::AppendChild(int parent, int child) {
  PoolNode& p = m_pool[static_cast<std::size_t>(parent)];
  if (p.lastChild == -1) {
    p.firstChild = child;
  } else {
    m_pool[static_cast<std::size_t>(p.lastChild)].nextSibling = child;
  }
  p.lastChild = child;
}

StlStackMachine::Block StlStackMachine::Reference(const Block& block) {
  const int root = NewNode(LogicItem{kLogicItemReference, ReferenceValue(block.left, block.right)});
  m_pool[static_cast<std::size_t>(root)].refLeft = block.left;
  m_pool[static_cast<std::size_t>(root)].refRight = block.right;
  Block reference;
  reference.root = root;
  reference.left = block.left;
  reference.right = block.right;
  return reference;
}

bool StlStackMachine::IsReference(const Block& block) const {
  return m_pool[static_cast<std::size_t>(block.root)].item.kind == kLogicItemReference;
}

int StlStackMachine::FirstPostOrder(int root) const {
  int node = root;
  while (m_pool[static_cast<std::size_t>(node)].firstChild != -1) node = m_pool[static_cast<std::size_t>(node)].firstChild;
  return node;
}

void StlStackMachine::MarkChanged(const std::vector<int>& stored) {
  for (int id : stored) m_stored[static_cast<std::size_t>(id)].changed = true;
}

void StlStackMachine::ApplySystemUnit(int code) {
  switch (code) {
    case kSysUnitAnd:
    case kSysUnitOr: {
      if (m_blocks.size() < 2) throw ExceptionAnalyzeError_Stl_DataStackError();
      Block b2 = std::move(m_blocks.back());
      m_blocks.pop_back();
      Block b1 = std::move(m_blocks.back());
      m_blocks.pop_back();
      Block joined;
      if (code == kSysUnitAnd) {
        Link(b1.right, b2.left);
        joined.left = b1.left;
        joined.right = b2.right;
        joined.root = NewNode(LogicItem{kLogicItemConnection, kLogicSeries});
        // b2 is now fed from b1: no node in it keeps the value it had.
        MarkChanged(b2.storedWithin);
        joined.storedWithin = std::move(b1.storedWithin);
      } else {
        Link(b1.left, b2.left);
        Link(b1.right, b2.right);
        joined.left = b1.left;
        joined.right = b1.right;
        joined.root = NewNode(LogicItem{kLogicItemConnection, kLogicParallel});
        // The two right ends become one node, carrying the OR of both.
        MarkChanged(b1.storedAtEnd);
        MarkChanged(b2.storedAtEnd);
        joined.storedWithin = std::move(b1.storedWithin);
        joined.storedWithin.insert(joined.storedWithin.end(), b2.storedWithin.begin(), b2.storedWithin.end());
      }
      AppendChild(joined.root, b1.root);
      AppendChild(joined.root, b2.root);
      m_blocks.push_back(std::move(joined));
      return;
    }
    case kSysUnitLps: {
      if (m_blocks.empty()) throw ExceptionAnalyzeError_Stl_DataStackError();
      const int id = static_cast<int>(m_stored.size());
      m_stored.emplace_back();
      Block& top = m_blocks.back();
      top.storedAtEnd.push_back(id);
      top.storedWithin.push_back(id);
      m_logic.push_back(Reference(top));
      m_logic.back().storedAtEnd = {id};
      return;
    }
    case kSysUnitLrd:
    case kSysUnitLpp:
      if (m_logic.empty()) throw ExceptionAnalyzeError_Stl_LogicStackError();
      for (int id : m_logic.back().storedAtEnd) m_stored[static_cast<std::size_t>(id)].read = true;
      m_blocks.push_back(Reference(m_logic.back()));
      if (code == kSysUnitLpp) m_logic.pop_back();
      return;
    default:
      throw MakeLogicError(L"\r\n  StlStackMachine: no such system unit");
  }
}

void StlStackMachine::AddInput(int input, const std::vector<int>& pins) {
  const std::size_t k = pins.size();
  if (k < 2) throw MakeLogicError(L"\r\n  StlStackMachine: input element with fewer than two pins");
  Block block;
  block.root = NewNode(LogicItem{kLogicItemInput, input});
  if (k == 2) {
    block.left = pins[0];
    block.right = pins[1];
    m_blocks.push_back(std::move(block));
    return;
  }
  const std::size_t m = k - 1;
  if (m_blocks.size() < m) throw ExceptionAnalyzeError_Stl_DataStackError();
  const std::size_t first = m_blocks.size() - m;
  const Block& top = m_blocks.back();
  for (std::size_t j = 0; j < m; ++j) {
    const Block& feeding = m_blocks[first + j];
    Link(feeding.right, pins[j]);
    if (j + 1 < m) Link(feeding.left, top.left);
  }
  block.left = top.left;
  block.right = pins[k - 1];
  for (std::size_t j = 0; j < m; ++j) {
    Block& feeding = m_blocks[first + j];
    AppendChild(block.root, feeding.root);
    // A power input only continues the wire of its block: the stored points keep their values.
    block.storedWithin.insert(block.storedWithin.end(), feeding.storedWithin.begin(), feeding.storedWithin.end());
  }
  m_blocks.resize(first);
  m_blocks.push_back(std::move(block));
}

void StlStackMachine::AddOutput(const std::vector<int>& pins) {
  const std::size_t k = pins.size();
  if (m_blocks.size() < k) throw ExceptionAnalyzeError_Stl_DataStackError();
  const std::size_t first = m_blocks.size() - k;
  for (std::size_t j = 0; j < k; ++j) {
    Block& block = m_blocks[first + j];
    Link(block.right, pins[j]);
    if (!IsReference(block)) {
      // The block stays on the stack as a reference to its own ends, with its stored points.
      Block reference = Reference(block);
      reference.storedAtEnd = std::move(block.storedAtEnd);
      reference.storedWithin = std::move(block.storedWithin);
      m_outputs.push_back(std::move(block));
      block = std::move(reference);
    }
  }
}

void StlStackMachine::AddGeneratrixOutput(const std::vector<int>& pins) {
  if (pins.size() != 1) throw MakeLogicError(L"\r\n  StlStackMachine: generatrix output without a single pin");
  Link(pins[0], 0);
  if (!m_blocks.empty() && !IsReference(m_blocks.back())) throw ExceptionAnalyzeError_Stl_GeneratrixOutputPlaceError();
}

void StlStackMachine::CheckOutputLogic() {
  for (const StoredPoint& point : m_stored) {
    if (point.read && point.changed) throw ExceptionAnalyzeError_Stl_UnacceptLrdOrLpp();
  }
  std::vector<int> stack;
  for (const Block& fragment : m_outputs) {
    const int first = FirstPostOrder(fragment.root);
    stack.assign(1, fragment.root);
    while (!stack.empty()) {
      const int at = stack.back();
      stack.pop_back();
      const PoolNode& node = m_pool[static_cast<std::size_t>(at)];
      if (node.item.kind == kLogicItemReference && at != first) throw ExceptionAnalyzeError_Stl_UnacceptLrdOrLpp();
      for (int child = node.firstChild; child != -1; child = m_pool[static_cast<std::size_t>(child)].nextSibling) {
        stack.push_back(child);
      }
    }
  }
}

void StlStackMachine::LinkOutputLogicToRail() {
  for (const Block& fragment : m_outputs) {
    const int first = FirstPostOrder(fragment.root);
    if (m_pool[static_cast<std::size_t>(first)].item.kind != kLogicItemReference && fragment.left != 0) {
      Link(fragment.left, 0);
    }
  }
}

void StlStackMachine::RelabelOutputLogic(const std::vector<int>& labels) {
  auto label = [&labels](int node) {
    if (node < 0 || static_cast<std::size_t>(node) >= labels.size()) {
      throw MakeLogicError(L"\r\n  StlStackMachine: node number without a label");
    }
    return labels[static_cast<std::size_t>(node)];
  };
  for (Block& fragment : m_outputs) {
    PoolNode& first = m_pool[static_cast<std::size_t>(FirstPostOrder(fragment.root))];
    if (first.item.kind == kLogicItemReference) {
      first.refLeft = label(first.refLeft);
      first.refRight = label(first.refRight);
      first.item.value = ReferenceValue(first.refLeft, first.refRight);
      if (first.refLeft == first.refRight) throw ExceptionAnalyzeError_Stl_LinkMismatch();
    }
    fragment.left = label(fragment.left);
    fragment.right = label(fragment.right);
    if (fragment.left == fragment.right) throw ExceptionAnalyzeError_Stl_LinkMismatch();
  }
}

void StlStackMachine::BuildTree(LogicTree& tree, int root) const {
  MakeLogicLeaf(tree, m_pool[static_cast<std::size_t>(root)].item);
  std::vector<std::pair<int, LogicTree::Position>> stack;
  stack.emplace_back(root, LogicRoot(tree));
  while (!stack.empty()) {
    const auto [at, position] = stack.back();
    stack.pop_back();
    for (int child = m_pool[static_cast<std::size_t>(at)].firstChild; child != -1;
         child = m_pool[static_cast<std::size_t>(child)].nextSibling) {
      const auto added =
          tree.AppendChild(m_pool[static_cast<std::size_t>(child)].item, LogicTree::SiblingPosition{nullptr, position});
      stack.emplace_back(child, added.node);
    }
  }
}

std::vector<LogicFragment> StlStackMachine::TakeOutputFragments() {
  std::vector<LogicFragment> fragments(m_outputs.size());
  for (std::size_t i = 0; i < m_outputs.size(); ++i) {
    BuildTree(fragments[i].tree, m_outputs[i].root);
    fragments[i].ends = {m_outputs[i].left, m_outputs[i].right};
  }
  m_outputs.clear();
  return fragments;
}

// ---- Parsing and analysis

void ParseStlLines(const InstructionLibrary& library, const std::vector<StlLine>& lines,
                   std::vector<StlElement>& elements) {
  elements.clear();
  elements.reserve(lines.size());
  for (const StlLine& line : lines) {
    if (line.Mnemonic.empty()) continue;
    const FunStlRecord* found = FindStlLineDefinition(library, line.Mnemonic, line.Operands);
    if (found == nullptr) {
      ExceptionAnalyzeError_Stl_StlElementError error;
      error.AppendDetail(DescribeUnknownLine(library, line));
      throw error;
    }
    StlElement element;
    element.definition = StlInstructionDefIndex(library, *found);
    element.variant = line.Variant;
    element.operands = line.Operands;
    element.comments = line.Comments;
    elements.push_back(std::move(element));
  }
  if (elements.empty()) throw ExceptionAnalyzeIgnore_Stl_StlEmpty();
}

void ParseStlLines(const std::vector<StlLine>& lines, std::vector<StlElement>& elements) {
  ParseStlLines(ConverterLibrary(), lines, elements);
}

void AnalyzeStl(const InstructionLibrary& library, const std::vector<StlElement>& elements, LogicGraph& graph) {
  graph.fragments.clear();
  graph.outputs.clear();
  graph.inputs.clear();

  // Statement-list instructions to organisation units.
  std::vector<StlElement> units;
  units.reserve(2 * elements.size());
  for (auto position = elements.begin(); position != elements.end();) {
    if (!MatchInstructionPattern(library.StlToUnitRules, units, position, elements.end())) {
      throw ExceptionAnalyzeError_Stl_ConvertElementError();
    }
  }

  StlStackMachine machine(units.size());
  int counter = 0;
  auto freshPins = [&counter](int count) {
    std::vector<int> pins(static_cast<std::size_t>(std::max(count, 0)));
    for (int& pin : pins) pin = counter++;
    return pins;
  };
  auto makeNode = [](StlElement&& unit, std::vector<int>&& pins) {
    LogicNode node;
    node.definition = unit.definition;
    node.variant = unit.variant;
    node.operands = std::move(unit.operands);
    node.comments = std::move(unit.comments);
    node.pins = std::move(pins);
    return node;
  };

  for (StlElement& unit : units) {
    const int type = UnitType(library, unit.definition);
    const int pinCount = library.FunOrgList[static_cast<std::size_t>(unit.definition)].Node;
    switch (type) {
      case kFunOrgTypeSys:
        if (unit.definition == library.SysAnd) {
          machine.ApplySystemUnit(kSysUnitAnd);
        } else if (unit.definition == library.SysOr) {
          machine.ApplySystemUnit(kSysUnitOr);
        } else if (unit.definition == library.SysLps) {
          machine.ApplySystemUnit(kSysUnitLps);
        } else if (unit.definition == library.SysLrd) {
          machine.ApplySystemUnit(kSysUnitLrd);
        } else if (unit.definition == library.SysLpp) {
          machine.ApplySystemUnit(kSysUnitLpp);
        }
        break;
      case kFunOrgTypeInput:
      case kFunOrgTypeMultiInput: {
        graph.inputs.push_back(makeNode(std::move(unit), freshPins(pinCount + 1)));
        machine.AddInput(static_cast<int>(graph.inputs.size()) - 1, graph.inputs.back().pins);
        break;
      }
      case kFunOrgTypeOutput:
      case kFunOrgTypeMultiOutput:
        graph.outputs.push_back(makeNode(std::move(unit), freshPins(pinCount)));
        machine.AddOutput(graph.outputs.back().pins);
        break;
      case kFunOrgTypeGeneratrixOutput:
        graph.outputs.push_back(makeNode(std::move(unit), freshPins(pinCount)));
        if (graph.outputs.back().pins.size() != 1) throw ExceptionAnalyzeError_Stl_StlElementError();
        machine.AddGeneratrixOutput(graph.outputs.back().pins);
        break;
      default:
        throw MakeLogicError(L"\r\n  AnalyzeStl: unit of an unknown type");
    }
  }

  if (graph.outputs.empty()) throw ExceptionAnalyzeError_Stl_NoOutputElement();
  machine.CheckOutputLogic();
  machine.LinkOutputLogicToRail();

  std::vector<int> labels(static_cast<std::size_t>(counter), -1);
  LabelConnectedNodes(machine.Links(), labels);

  auto relabelPins = [&labels](LogicNode& node) {
    for (int& pin : node.pins) pin = labels[static_cast<std::size_t>(pin)];
    for (std::size_t i = 0; i < node.pins.size(); ++i) {
      for (std::size_t j = i + 1; j < node.pins.size(); ++j) {
        if (node.pins[i] == node.pins[j]) throw ExceptionAnalyzeError_Stl_LinkMismatch();
      }
    }
  };
  for (LogicNode& node : graph.inputs) relabelPins(node);
  for (LogicNode& node : graph.outputs) relabelPins(node);

  machine.RelabelOutputLogic(labels);
  graph.fragments = machine.TakeOutputFragments();
}

void AnalyzeStl(const std::vector<StlElement>& elements, LogicGraph& graph) {
  AnalyzeStl(ConverterLibrary(), elements, graph);
}

void LabelConnectedNodes(const std::vector<NodeLink>& links, std::vector<int>& labels) {
  const std::size_t count = labels.size();
  std::vector<std::vector<int>> adjacent(count);
  auto addOnce = [](std::vector<int>& list, int node) {
    if (std::find(list.begin(), list.end(), node) == list.end()) list.push_back(node);
  };
  for (const NodeLink& link : links) {
    if (link.first < 0 || link.second < 0 || static_cast<std::size_t>(link.first) >= count ||
        static_cast<std::size_t>(link.second) >= count) {
      throw MakeLogicError(L"\r\n  LabelConnectedNodes: link to an unknown node");
    }
    addOnce(adjacent[static_cast<std::size_t>(link.first)], link.second);
    addOnce(adjacent[static_cast<std::size_t>(link.second)], link.first);
  }
  int next = 0;
  std::vector<int> stack;
  for (std::size_t start = 0; start < count; ++start) {
    if (labels[start] != -1) continue;
    const int label = next++;
    labels[start] = label;
    stack.assign(1, static_cast<int>(start));
    while (!stack.empty()) {
      const int node = stack.back();
      stack.pop_back();
      for (int neighbour : adjacent[static_cast<std::size_t>(node)]) {
        if (labels[static_cast<std::size_t>(neighbour)] != -1) continue;
        labels[static_cast<std::size_t>(neighbour)] = label;
        stack.push_back(neighbour);
      }
    }
  }
}

// ---- Conversion entry

void ConvertToLad(const InstructionLibrary& library, Network& network) {
  LadForm form = MakeLadForm(library, network);
  ApplyLadForm(form, network);
}

LadForm MakeLadForm(const InstructionLibrary& library, const Network& network) {
  if (network.Kind != kNetworkStl) throw MakeLogicError(L"\r\n  ConvertToLad: not a statement-list network");
  LadForm form;
  try {
    std::vector<StlElement> elements;
    ParseStlLines(library, network.Lines, elements);
    LogicGraph graph;
    AnalyzeStl(library, elements, graph);
    CellGrid cells;
    LayoutLadGrid(library, graph, cells);
    BuildLadNetwork(library, cells, form.Grid);
  } catch (const ExceptionAnalyzeIgnore&) {
    form.Grid = LadderGrid();
    form.Empty = true;
  }
  return form;
}

void ApplyLadForm(LadForm& form, Network& network) noexcept {
  if (form.Empty) network.Lines.clear();
  network.Grid = std::move(form.Grid);
  network.Kind = kNetworkLad;
}

void ConvertToLad(Network& network) { ConvertToLad(ConverterLibrary(), network); }

}  // namespace Brenno
