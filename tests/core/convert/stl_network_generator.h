// Random statement-list networks for the converter's round-trip property and benchmark, built
// from the instruction vocabulary of a fixture library: contacts (plain, negated, immediate,
// comparisons, edge and invert elements), coils, set/reset, boxes with one or more power
// inputs, series and parallel blocks nested to a few levels, branch points with LPS/LRD/LPP,
// several rungs and instructions that stand on the rail. A network is written the way a
// programmer writes it (left-to-right series, ALD/OLD for blocks), not necessarily in the form
// the converter writes.
//
// StlEvaluator runs a list of lines on the converter's model of the logic processor (a block
// stack and a stack of stored branch points) and records what every output receives, so two
// lists can be compared for meaning.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/program/stl_line.h"

namespace stl_generator {

// A contact-like element: its load, series ("and") and parallel ("or") mnemonics (empty when
// the library has no such form) and its operand count.
struct LeafForm {
  std::wstring load;
  std::wstring series;
  std::wstring parallel;
  int operands = 1;
  bool inverts = false;  // a zero-operand series element that inverts the power flow
};

struct OutputForm {
  std::wstring mnemonic;
  int operands = 1;
  int pins = 1;  // power inputs; a multi-output box takes one block per power input
};

struct Vocabulary {
  std::vector<LeafForm> leaves;
  std::vector<OutputForm> outputs;
  std::wstring ald, old, lps, lrd, lpp;
  std::wstring multiInput;               // a box with two power inputs and one output (one operand)
  std::vector<OutputForm> multiOutputs;  // outputs with several power inputs
  std::vector<OutputForm> generatrix;    // instructions that stand on the rail
};

inline Vocabulary TypeAVocabulary() {
  Vocabulary v;
  v.leaves = {{L"LD", L"A", L"O", 1},        {L"LDN", L"AN", L"ON", 1},   {L"LDI", L"", L"", 1},
              {L"LDB=", L"AB=", L"OB=", 2},  {L"LDB<", L"", L"", 2},      {L"LDW>", L"AW>", L"OW>", 2},
              {L"", L"NOT", L"", 0, true},   {L"", L"EU", L"", 0},        {L"", L"ED", L"", 0}};
  v.outputs = {{L"=", 1}, {L"=I", 1}, {L"S", 2}, {L"R", 2}, {L"MOVB", 2}, {L"MOVW", 2}, {L"+I", 3}, {L"TON", 2},
               {L"JMP", 1}};
  v.ald = L"ALD";
  v.old = L"OLD";
  v.lps = L"LPS";
  v.lrd = L"LRD";
  v.lpp = L"LPP";
  v.multiInput = L"SR";
  v.multiOutputs = {{L"CTU", 2, 2}};
  v.generatrix = {{L"LBL", 1}, {L"NEXT", 0}};
  return v;
}

inline Vocabulary TypeFxVocabulary() {
  Vocabulary v;
  v.leaves = {{L"LD", L"AND", L"OR", 1}, {L"LDI", L"ANI", L"ORI", 1}, {L"LDP", L"", L"", 1},
              {L"LDF", L"", L"", 1},      {L"", L"INV", L"", 0, true},  {L"LD=", L"AND=", L"OR=", 2}};
  v.outputs = {{L"OUT", 1}, {L"OUT", 2}, {L"SET", 1}, {L"RST", 1}, {L"PLS", 1}, {L"MOV", 2}, {L"ADD", 3}, {L"CJ", 1}};
  v.ald = L"ANB";
  v.old = L"ORB";
  v.lps = L"MPS";
  v.lrd = L"MRD";
  v.lpp = L"MPP";
  v.generatrix = {{L"END", 0}};
  return v;
}

struct GeneratorLimits {
  int rungs = 3;         // at most this many rungs
  int depth = 3;         // nesting of series/parallel blocks
  int elementBudget = 24;  // rough upper bound of elements per network
};

class NetworkGenerator {
 public:
  NetworkGenerator(Vocabulary vocabulary, std::uint32_t seed) : m_v(std::move(vocabulary)), m_rng(seed) {}

  std::vector<Brenno::StlLine> Next(const GeneratorLimits& limits = {}) {
    m_lines.clear();
    m_budget = limits.elementBudget;
    m_outputNumber = 0;
    m_stored = 0;
    m_plainLoads = 0;
    m_mayBeRefused = false;
    const int rungs = Uniform(1, limits.rungs);
    for (int r = 0; r < rungs; ++r) {
      if (!m_v.generatrix.empty() && Chance(8)) {
        const OutputForm& form = m_v.generatrix[Pick(m_v.generatrix.size())];
        Emit(form.mnemonic, Operands(form.operands, L"L"));
        continue;
      }
      Rung(limits.depth);
      if (m_budget <= 0) break;
    }
    return m_lines;
  }

  // Whether the last network holds logic that no ladder of this converter shows: a block that
  // begins at a stored branch point (or ends at one) joined in parallel with other logic or fed
  // into a box beside logic from elsewhere, or a series chain joined behind other logic whose
  // NOT or edge acts on that chain alone. Its conversion to ladder may be refused, with an
  // analysis error; every other network converts.
  bool MayBeRefused() const { return m_mayBeRefused; }

  std::mt19937& Random() { return m_rng; }

 private:
  enum Role { kLoad, kSeries, kParallel };

  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }
  bool Chance(int percent) { return Uniform(0, 99) < percent; }
  std::size_t Pick(std::size_t n) { return static_cast<std::size_t>(Uniform(0, static_cast<int>(n) - 1)); }

  std::vector<std::wstring> Operands(int count, const std::wstring& area) {
    std::vector<std::wstring> operands;
    for (int i = 0; i < count; ++i) {
      if (area == L"I") {
        operands.push_back(L"I" + std::to_wstring(Uniform(0, 3)) + L"." + std::to_wstring(Uniform(0, 7)));
      } else {
        // Outputs get distinct operands so that what each receives can be told apart.
        operands.push_back(area + std::to_wstring(m_outputNumber) + L"_" + std::to_wstring(i));
      }
    }
    return operands;
  }

  void Emit(const std::wstring& mnemonic, std::vector<std::wstring> operands = {}, bool element = true,
            bool mayVary = false) {
    Brenno::StlLine line;
    line.Mnemonic = mnemonic;
    line.Operands = std::move(operands);
    if (element && Chance(15)) line.Comments.push_back(L"note " + std::to_wstring(m_lines.size()));
    if (mayVary && Chance(8)) line.Variant = Uniform(1, 3);
    m_lines.push_back(std::move(line));
    if (element) --m_budget;
  }

  // One element in the given role; true when it acts on the power it receives as a whole (NOT,
  // an edge: an element with no load form).
  bool Leaf(Role role) {
    // Forms usable in this role directly, or as a load followed by ALD/OLD.
    for (;;) {
      const LeafForm& form = m_v.leaves[Pick(m_v.leaves.size())];
      const std::wstring& direct = role == kLoad ? form.load : role == kSeries ? form.series : form.parallel;
      if (!direct.empty()) {
        Emit(direct, Operands(form.operands, L"I"), true, role == kLoad && m_plainLoads == 0);
        return form.load.empty();
      }
      if (form.load.empty()) continue;
      Emit(form.load, Operands(form.operands, L"I"), true, m_plainLoads == 0);
      Emit(role == kSeries ? m_v.ald : m_v.old, {}, false);
      return false;
    }
  }

  void MultiInputBox(int depth) {
    Expression(kLoad, depth - 1);
    Emit(m_v.multiInput, Operands(1, L"M"), true, true);
    ++m_outputNumber;
  }

  // One block of logic in the given role. Chains are mostly written left-deep (the right part
  // of a series is seldom a series itself, and likewise for parallel); the nested forms, such
  // as a parallel block joined with OLD, come now and again. True when the block's series chain
  // holds an element that acts on the power it receives.
  bool Expression(Role role, int depth) {
    int kind = depth <= 0 || m_budget <= 2 ? 0 : Uniform(0, 9);
    // 0-4 leaf, 5-6 series, 7-8 parallel, 9 multi-input box
    if (kind >= 5 && kind <= 6 && role == kSeries && !Chance(15)) kind = 7;
    if (kind >= 7 && kind <= 8 && role == kParallel && !Chance(25)) kind = 5;
    if (kind == 9 && m_v.multiInput.empty()) kind = 0;
    if (kind <= 4) return Leaf(role);
    bool actsOnPower = false;
    // A series joined behind other logic, or a parallel block joined to other branches, is read
    // back as one chain with them: its loads become series or parallel instructions, whose
    // rules keep no variant.
    const bool nested = (kind <= 6 && role == kSeries) || (kind >= 7 && kind <= 8 && role == kParallel);
    m_plainLoads += nested ? 1 : 0;
    if (kind <= 6) {  // series
      actsOnPower = Expression(kLoad, depth - 1);
      const int more = Uniform(1, 3);
      for (int i = 0; i < more; ++i) actsOnPower = Expression(kSeries, depth - 1) || actsOnPower;
      // Read back as one chain, an element acting on power would act on all logic before it.
      if (nested && actsOnPower) m_mayBeRefused = true;
    } else if (kind <= 8) {  // parallel
      Expression(kLoad, depth - 1);
      const int more = Uniform(1, 2);
      for (int i = 0; i < more; ++i) Expression(kParallel, depth - 1);
    } else {
      Expression(kLoad, depth - 1);
      MultiInputBox(depth);
    }
    m_plainLoads -= nested ? 1 : 0;
    if (role != kLoad) Emit(role == kSeries ? m_v.ald : m_v.old, {}, false);
    return actsOnPower;
  }

  void Outputs(int count) {
    for (int i = 0; i < count; ++i) {
      const OutputForm& form = m_v.outputs[Pick(m_v.outputs.size())];
      Emit(form.mnemonic, Operands(form.operands, L"Q"), true, true);
      ++m_outputNumber;
    }
  }

  // A multi-output box: its first power input takes the block on top of the stack, every other
  // one a block loaded after it. Those blocks start at the rail, below everything drawn so far,
  // so a box is written only where no stored branch point is pending.
  bool MultiOutputFits() const { return !m_v.multiOutputs.empty() && m_stored == 0; }
  void MultiOutput(int depth) {
    const OutputForm& form = m_v.multiOutputs[Pick(m_v.multiOutputs.size())];
    for (int pin = 1; pin < form.pins; ++pin) Expression(kLoad, depth - 1);
    Emit(form.mnemonic, Operands(form.operands, L"C"), true, true);
    ++m_outputNumber;
  }

  // What the block on top of the stack feeds: outputs, or a multi-output box; then, now and
  // again, more on the node they hang on: a series part and its outputs ("= Q0 / A I0.1 /
  // = Q1"), or a multi-output box whose first power input shares that node.
  void Consumers(int depth) {
    if (MultiOutputFits() && Chance(12)) {
      MultiOutput(depth);
    } else {
      Outputs(Uniform(1, 2));
    }
    while (m_budget > 0 && Chance(20)) {
      if (MultiOutputFits() && Chance(35)) {
        MultiOutput(depth);
        continue;
      }
      if (Chance(4)) Unlayable(depth);
      Expression(kSeries, depth - 1);
      Outputs(Uniform(1, 2));
    }
  }

  // The block on top of the stack, which begins (or ends) at a stored branch point, joined in
  // parallel with other logic or fed into a box together with other logic.
  void Unlayable(int depth) {
    m_mayBeRefused = true;
    if (!m_v.multiInput.empty() && Chance(50)) {
      MultiInputBox(depth);
    } else {
      Expression(kParallel, depth - 1);
    }
  }

  // The logic after a stored branch point: LPS, then branches read with LRD and the last with
  // LPP, each a short series chain and its outputs, possibly with its own branch points.
  void Branches(int depth) {
    const int count = Uniform(2, 3);
    Emit(m_v.lps, {}, false);
    ++m_stored;
    for (int b = 0; b < count; ++b) {
      if (b > 0) {
        const bool last = b + 1 == count;
        Emit(last ? m_v.lpp : m_v.lrd, {}, false);
        if (last) --m_stored;
      }
      const int chain = b == 0 ? Uniform(0, 2) : Uniform(1, 2);
      for (int i = 0; i < chain; ++i) Expression(kSeries, depth - 1);
      if (Chance(2)) Unlayable(depth);
      if (depth > 1 && chain > 0 && Chance(20)) {
        Branches(depth - 1);
      } else {
        Consumers(depth);
      }
    }
  }

  void Rung(int depth) {
    Expression(kLoad, depth);
    if (Chance(35)) {
      Branches(depth);
    } else {
      Consumers(depth);
    }
  }

  Vocabulary m_v;
  std::mt19937 m_rng;
  std::vector<Brenno::StlLine> m_lines;
  int m_budget = 0;
  int m_outputNumber = 0;
  int m_stored = 0;      // branch points stored and not yet read with LPP
  int m_plainLoads = 0;  // above 0: loads without variant
  bool m_mayBeRefused = false;
};

// What the outputs of a statement list receive on the converter's model of the logic processor,
// for one set of input values. Contacts read their operands from the input values (a
// deterministic pseudo-random bit per operand text and a seed); comparisons likewise per
// comparison and operands.
class StlEvaluator {
 public:
  explicit StlEvaluator(const Vocabulary& vocabulary) : m_v(vocabulary) {}

  // Sorted "output operands=values" records; false when the list misuses the stacks.
  bool Run(const std::vector<Brenno::StlLine>& lines, std::uint32_t seed, std::vector<std::wstring>& records) const {
    records.clear();
    std::vector<bool> blocks;
    std::vector<bool> stored;
    for (const Brenno::StlLine& line : lines) {
      const std::wstring& m = line.Mnemonic;
      if (m.empty()) continue;
      if (m == m_v.ald || m == m_v.old) {
        if (blocks.size() < 2) return false;
        const bool top = blocks.back();
        blocks.pop_back();
        blocks.back() = m == m_v.ald ? (blocks.back() && top) : (blocks.back() || top);
        continue;
      }
      if (m == m_v.lps) {
        if (blocks.empty()) return false;
        stored.push_back(blocks.back());
        continue;
      }
      if (m == m_v.lrd || m == m_v.lpp) {
        if (stored.empty()) return false;
        blocks.push_back(stored.back());
        if (m == m_v.lpp) stored.pop_back();
        continue;
      }
      if (m == m_v.multiInput) {
        if (blocks.size() < 2) return false;
        const bool reset = blocks.back();
        blocks.pop_back();
        blocks.back() = blocks.back() || (!reset && Bit(seed, L"SR", line.Operands));
        continue;
      }
      if (const LeafForm* form = FindLeaf(m)) {
        const bool value = form->operands == 0 ? false : Bit(seed, form->load + form->series, line.Operands);
        if (m == form->load) {
          blocks.push_back(value);
        } else if (blocks.empty()) {
          return false;
        } else if (m == form->series) {
          blocks.back() = form->operands == 0 ? (form->inverts ? !blocks.back() : blocks.back()) : (blocks.back() && value);
        } else {
          blocks.back() = blocks.back() || value;
        }
        continue;
      }
      std::wstring record = m;
      for (const std::wstring& operand : line.Operands) record += L" " + operand;
      record += L"=";
      if (IsGeneratrix(m)) {
        records.push_back(record + L"1");
        continue;
      }
      std::size_t pins = 1;
      for (const OutputForm& form : m_v.multiOutputs) {
        if (form.mnemonic == m) pins = static_cast<std::size_t>(form.pins);
      }
      if (blocks.size() < pins) return false;
      for (std::size_t i = blocks.size() - pins; i < blocks.size(); ++i) record += blocks[i] ? L"1" : L"0";
      records.push_back(record);
    }
    std::sort(records.begin(), records.end());
    return true;
  }

 private:
  const LeafForm* FindLeaf(const std::wstring& mnemonic) const {
    for (const LeafForm& form : m_v.leaves) {
      if (mnemonic == form.load || mnemonic == form.series || mnemonic == form.parallel) return &form;
    }
    return nullptr;
  }
  bool IsGeneratrix(const std::wstring& mnemonic) const {
    return std::any_of(m_v.generatrix.begin(), m_v.generatrix.end(),
                       [&mnemonic](const OutputForm& form) { return form.mnemonic == mnemonic; });
  }
  static bool Bit(std::uint32_t seed, const std::wstring& kind, const std::vector<std::wstring>& operands) {
    std::uint32_t h = 2166136261u ^ seed;
    auto mix = [&h](wchar_t c) {
      h ^= static_cast<std::uint32_t>(c);
      h *= 16777619u;
    };
    for (wchar_t c : kind) mix(c);
    for (const std::wstring& operand : operands) {
      mix(L'|');
      for (wchar_t c : operand) mix(c);
    }
    return (h >> 7) & 1u;
  }

  const Vocabulary& m_v;
};

}  // namespace stl_generator
