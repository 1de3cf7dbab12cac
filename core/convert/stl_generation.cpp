#include "core/convert/stl_generation.h"

#include "core/convert/lad_analysis.h"
#include "core/convert/pattern_matching.h"
#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"

namespace Brenno {

namespace {

using Value = StlEmitter::Value;

// One power input of one output: the places the generation walks through.
struct OutputPin {
  int output = 0;
  int net = 0;
  bool last = false;  // the output's last pin
};

class Generator {
 public:
  Generator(const LogicGraph& graph, StlEmitter& emitter) : m_graph(graph), m_emitter(emitter) {
    for (std::size_t j = 0; j < graph.outputs.size(); ++j) {
      const std::vector<int>& pins = graph.outputs[j].pins;
      for (std::size_t k = 0; k < pins.size(); ++k) {
        m_positions.push_back(OutputPin{static_cast<int>(j), pins[k], k + 1 == pins.size()});
      }
    }
    m_firstItems.reserve(graph.fragments.size());
    for (const LogicFragment& fragment : graph.fragments) {
      const std::vector<LogicTree::Position> order = LogicPostOrder(fragment.tree);
      m_firstItems.push_back(order.empty() ? LogicItem{-2, -2} : order.front()->value);
    }
    // Where each run of equal nets ends, the last position of each net and the last fragment
    // that starts with a reference to each net: the look-ahead tests become lookups.
    m_runEnd.assign(m_positions.size(), m_positions.size());
    for (std::size_t p = m_positions.size(); p-- > 0;) {
      if (p + 1 < m_positions.size() && m_positions[p + 1].net == m_positions[p].net) m_runEnd[p] = m_runEnd[p + 1];
      else m_runEnd[p] = p + 1;
    }
    for (std::size_t p = 0; p < m_positions.size(); ++p) {
      if (m_positions[p].net >= 0) LastOf(m_lastPosition, m_positions[p].net) = static_cast<long>(p);
    }
    for (std::size_t f = 0; f < m_firstItems.size(); ++f) {
      if (m_firstItems[f].kind == kLogicItemReference && m_firstItems[f].value >= 0) {
        LastOf(m_lastReference, m_firstItems[f].value) = static_cast<long>(f);
      }
    }
  }

  void Run() {
    while (m_position < m_positions.size()) {
      const OutputPin& at = m_positions[m_position];
      const int c = StoredPoint();
      if (at.net == 0) {
        Append(StlEmitter::kOutput, at.output);
        ++m_position;
      } else if (at.net == c) {
        ReadStored(Needed(c, m_cursor));
        ServeOutputs();
      } else {
        if (m_cursor >= m_graph.fragments.size()) throw ExceptionAnalyzeError_Stl_LinkMismatch();
        const LogicFragment& fragment = m_graph.fragments[m_cursor];
        const LogicItem& first = m_firstItems[m_cursor];
        const bool startsWell = first.kind == kLogicItemInput || (first.kind == kLogicItemReference && first.value == c);
        if (fragment.ends.size() != 2 || fragment.ends[0] != 0 || fragment.ends[1] != at.net || !startsWell) {
          throw ExceptionAnalyzeError_Stl_LinkMismatch();
        }
        WriteFragment(fragment);
        ++m_cursor;
      }
    }
  }

 private:
  void Append(int kind, int value) { m_emitter.operations.emplace_back(kind, value); }

  static int PointOf(const std::vector<Value>& list) {
    if (list.empty() || list.back().first != 0) return -1;
    return list.back().second;
  }
  int StoredPoint() const { return PointOf(m_emitter.stored); }
  int ValuePoint() const { return PointOf(m_emitter.values); }

  static long& LastOf(std::vector<long>& table, int net) {
    if (table.size() <= static_cast<std::size_t>(net)) table.resize(static_cast<std::size_t>(net) + 1, -1);
    return table[static_cast<std::size_t>(net)];
  }
  static long Last(const std::vector<long>& table, int net) {
    return net >= 0 && static_cast<std::size_t>(net) < table.size() ? table[static_cast<std::size_t>(net)] : -1;
  }

  // Whether a position after the run being served now has the net.
  bool NeededLater(int net) const {
    if (net < 0 || m_position >= m_positions.size()) return false;
    return Last(m_lastPosition, net) >= static_cast<long>(m_runEnd[m_position]);
  }

  // Whether a fragment from index `first` on starts with a reference to the net.
  bool ReferencedLater(std::size_t first, int net) const { return Last(m_lastReference, net) >= static_cast<long>(first); }

  bool Needed(int net, std::size_t firstFragment) const { return NeededLater(net) || ReferencedLater(firstFragment, net); }

  // LRD when the stored point is still needed, else LPP; either way its value is pushed.
  void ReadStored(bool needed) {
    if (m_emitter.stored.empty()) throw MakeLogicError(L"\r\n  Statement-list generation: no stored branch point");
    m_emitter.values.push_back(m_emitter.stored.back());
    if (needed) {
      Append(StlEmitter::kSystem, kSysUnitLrd);
    } else {
      Append(StlEmitter::kSystem, kSysUnitLpp);
      m_emitter.stored.pop_back();
    }
  }

  void WriteFragment(const LogicFragment& fragment) {
    const std::vector<LogicTree::Position> spine = LogicSeriesSpine(fragment.tree);
    auto onSpine = [&](LogicTree::Position node) {
      for (LogicTree::Position s : spine) {
        if (s == node) return true;
      }
      return false;
    };
    std::vector<Value>& values = m_emitter.values;
    for (LogicTree::Position node : LogicPostOrder(fragment.tree)) {
      const LogicItem item = node->value;
      if (item.kind == kLogicItemReference) {
        ReadStored(Needed(StoredPoint(), m_cursor + 1));
        continue;
      }
      if (item.kind == kLogicItemConnection && item.value == kLogicSeries) {
        Append(StlEmitter::kSystem, kSysUnitAnd);
        if (values.size() < 2) throw MakeLogicError(L"\r\n  Statement-list generation: AND without two values");
        const Value top = values.back();
        const Value below = values[values.size() - 2];
        if (top.first != below.second) throw MakeLogicError(L"\r\n  Statement-list generation: AND of unconnected values");
        values.pop_back();
        values.back() = Value{below.first, top.second};
      } else if (item.kind == kLogicItemConnection && item.value == kLogicParallel) {
        Append(StlEmitter::kSystem, kSysUnitOr);
        if (values.size() < 2) throw MakeLogicError(L"\r\n  Statement-list generation: OR without two values");
        if (values.back() != values[values.size() - 2]) {
          throw MakeLogicError(L"\r\n  Statement-list generation: OR of values with other ends");
        }
        values.pop_back();
      } else if (item.kind == kLogicItemInput) {
        if (item.value < 0 || static_cast<std::size_t>(item.value) >= m_graph.inputs.size()) {
          throw MakeLogicError(L"\r\n  Statement-list generation: no such input node");
        }
        Append(StlEmitter::kInput, item.value);
        const std::vector<int>& pins = m_graph.inputs[static_cast<std::size_t>(item.value)].pins;
        const std::size_t n = pins.size();
        if (n < 2) throw MakeLogicError(L"\r\n  Statement-list generation: input node without pins");
        if (n == 2) {
          values.emplace_back(pins[0], pins[1]);
        } else {
          const std::size_t m = n - 1;
          if (values.size() < m) throw MakeLogicError(L"\r\n  Statement-list generation: box inputs missing");
          const std::size_t base = values.size() - m;
          const int start = values[base].first;
          for (std::size_t k = 0; k < m; ++k) {
            if (values[base + k].second != pins[k] || values[base + k].first != start) {
              throw MakeLogicError(L"\r\n  Statement-list generation: box inputs do not match");
            }
          }
          values.resize(base);
          values.emplace_back(start, pins[n - 1]);
        }
      } else {
        throw MakeLogicError(L"\r\n  Statement-list generation: logic item of an unknown kind");
      }
      if (!onSpine(node)) continue;
      const int v = ValuePoint();
      if (Needed(v, m_cursor + 1)) {
        if (values.empty()) throw MakeLogicError(L"\r\n  Statement-list generation: LPS without a value");
        Append(StlEmitter::kSystem, kSysUnitLps);
        m_emitter.stored.push_back(values.back());
      }
      ServeOutputs();
    }
  }

  // Passes the positions whose net is the current value point; an output is written when its
  // last pin is passed with one complete value per pin on top of the values, in pin order.
  void ServeOutputs() {
    const int v = ValuePoint();
    if (v < 0) return;
    while (m_position < m_positions.size() && m_positions[m_position].net == v) {
      const OutputPin& at = m_positions[m_position];
      if (at.last) {
        const std::vector<int>& pins = m_graph.outputs[static_cast<std::size_t>(at.output)].pins;
        const std::vector<Value>& values = m_emitter.values;
        bool inPlace = values.size() >= pins.size();
        for (std::size_t k = 0; inPlace && k < pins.size(); ++k) {
          const Value& value = values[values.size() - pins.size() + k];
          inPlace = value.first == 0 && value.second == pins[k];
        }
        // Skipping the output would silently drop an instruction.
        if (!inPlace) throw ExceptionAnalyzeError_Stl_LinkMismatch();
        Append(StlEmitter::kOutput, at.output);
      }
      ++m_position;
    }
  }

  const LogicGraph& m_graph;
  StlEmitter& m_emitter;
  std::vector<OutputPin> m_positions;
  std::vector<LogicItem> m_firstItems;  // first post-order item of each fragment
  std::vector<std::size_t> m_runEnd;    // per position: the first position after its run
  std::vector<long> m_lastPosition;     // per net: its last position, -1 none
  std::vector<long> m_lastReference;    // per net: the last fragment starting with a reference to it
  std::size_t m_position = 0;
  std::size_t m_cursor = 0;
};

}  // namespace

void EmitStlOperations(const LogicGraph& graph, StlEmitter& emitter) {
  emitter = StlEmitter{};
  Generator(graph, emitter).Run();
}

void GenerateStl(const LogicGraph& graph, std::vector<StlElement>& out) { GenerateStl(ConverterLibrary(), graph, out); }

void GenerateStl(const InstructionLibrary& library, const LogicGraph& graph, std::vector<StlElement>& out) {
  out.clear();
  StlEmitter emitter;
  EmitStlOperations(graph, emitter);

  std::vector<StlElement> units;
  units.reserve(emitter.operations.size());
  for (const auto& [kind, value] : emitter.operations) {
    if (kind == StlEmitter::kSystem) {
      StlElement unit;
      unit.definition = SystemUnitIndex(library, value);
      unit.variant = 0;
      units.push_back(std::move(unit));
    } else if (kind == StlEmitter::kInput && value >= 0 && static_cast<std::size_t>(value) < graph.inputs.size()) {
      units.push_back(static_cast<const StlElement&>(graph.inputs[static_cast<std::size_t>(value)]));
    } else if (kind == StlEmitter::kOutput && value >= 0 && static_cast<std::size_t>(value) < graph.outputs.size()) {
      units.push_back(static_cast<const StlElement&>(graph.outputs[static_cast<std::size_t>(value)]));
    } else {
      throw MakeLogicError(L"\r\n  Statement-list generation: operation of an unknown kind");
    }
  }

  std::vector<StlElement> elements;
  elements.reserve(units.size());
  auto position = units.cbegin();
  while (position != units.cend()) {
    if (!MatchInstructionPattern(library.UnitToStlRules, elements, position, units.cend())) {
      throw ExceptionAnalyzeError_Stl_ConvertElementError();
    }
  }
  out.swap(elements);
}

void FormatStlLines(const std::vector<StlElement>& elements, std::vector<StlLine>& lines) {
  FormatStlLines(ConverterLibrary(), elements, lines);
}

void FormatStlLines(const InstructionLibrary& library, const std::vector<StlElement>& elements,
                    std::vector<StlLine>& lines) {
  std::vector<StlLine> result;
  result.reserve(elements.size());
  for (const StlElement& element : elements) {
    if (element.definition < 0 || static_cast<std::size_t>(element.definition) >= library.FunStlList.size()) {
      throw MakeLogicError(L"\r\n  Statement list: instruction definition outside the library");
    }
    const FunStlRecord& definition = library.FunStlList[static_cast<std::size_t>(element.definition)];
    if (element.operands.size() != definition.Operands.size()) {
      throw MakeLogicError(L"\r\n  Statement list: operand count differs from the instruction definition");
    }
    StlLine line;
    line.Mnemonic = definition.Name;
    line.Variant = element.variant;
    line.Operands = element.operands;
    line.Comments = element.comments;
    result.push_back(std::move(line));
  }
  lines.swap(result);
}

void ConvertToStl(Network& network) { ConvertToStl(ConverterLibrary(), network); }

void ConvertToStl(const InstructionLibrary& library, Network& network) {
  StlForm form = MakeStlForm(library, network);
  ApplyStlForm(form, network);
}

StlForm MakeStlForm(const InstructionLibrary& library, const Network& network) {
  if (network.Kind != kNetworkLad) throw MakeLogicError(L"\r\n  Conversion to statement list of a network that is not ladder");
  StlForm form;
  CellGrid grid;
  try {
    BuildCellGrid(library, network.Grid, grid);
  } catch (const ExceptionAnalyzeIgnore&) {
    form.Empty = true;
    return form;
  }
  LogicGraph graph;
  AnalyzeLadGrid(library, grid, graph);
  std::vector<StlElement> elements;
  GenerateStl(library, graph, elements);
  FormatStlLines(library, elements, form.Lines);
  return form;
}

void ApplyStlForm(StlForm& form, Network& network) noexcept {
  network.Lines.swap(form.Lines);
  if (form.Empty) network.Grid = LadderGrid{};
  network.Kind = kNetworkStl;
}

}  // namespace Brenno
