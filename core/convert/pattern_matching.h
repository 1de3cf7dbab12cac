// The rule matcher that moves elements from one vocabulary to another (ladder cells, units,
// statement-list instructions) by the conversion rules of an instruction library. One algorithm
// serves all four rule lists, because a LadCell starts with the four fields of an StlElement
// (definition, variant, operands, comments) and the matcher reads nothing else:
//
//   LadToUnitRules   LadCell    -> unit StlElement
//   UnitToLadRules   unit       -> LadCell
//   StlToUnitRules   FunStl     -> unit
//   UnitToStlRules   unit       -> FunStl
//
// The rule lists come ordered from the library (rules with two or more Left items first), so a
// longer pattern wins over a shorter one at the same position and the first match wins.
#pragma once

#include <string>
#include <vector>

#include "core/convert/converter_model.h"
#include "core/env/instruction_records.h"

namespace Brenno {

// Key characters bound to operand texts during one rule attempt.
class PatternBindings {
 public:
  // Binds `key` to `text`, or checks an earlier binding: false when `key` is bound to another
  // text (exact comparison).
  bool Bind(wchar_t key, const std::wstring& text);
  // The bound text; ExceptionLogicError for an unbound key (a rule whose right side uses a key
  // its left side lacks).
  const std::wstring& Text(wchar_t key) const;
  void Clear() { m_keys.clear(); m_texts.clear(); }

 private:
  std::wstring m_keys;
  std::vector<std::wstring> m_texts;
};

// True when rule's Left side matches the elements from `position` on, with the bindings filled.
template <class Iterator>
bool MatchRuleLeft(const ConvertRule& rule, Iterator position, Iterator end, PatternBindings& bindings) {
  const std::size_t n = rule.Left.size();
  if (static_cast<std::size_t>(end - position) < n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (position[i].definition != rule.Left[i].Slot) return false;
  }
  bindings.Clear();
  for (std::size_t i = 0; i < n; ++i) {
    const std::wstring& key = rule.Left[i].Text;
    const auto& operands = position[i].operands;
    if (key.size() != operands.size()) return false;
    for (std::size_t j = 0; j < key.size(); ++j) {
      if (!bindings.Bind(key[j], operands[j])) return false;
    }
  }
  return true;
}

// Tries the rules in list order at `position`. On the first match appends the produced elements
// to `out`, advances `position` past the consumed elements and returns true; otherwise returns
// false with `out` and `position` unchanged.
//
// A produced element starts as a default `Produced` and gets the rule's definition, variant 0
// (the consumed element's variant for a one-to-one rule), the bound operands and the comments of
// the consumed elements: produced element b receives comment b, the last one all the remaining.
template <class Produced, class Iterator>
bool MatchInstructionPattern(const std::vector<ConvertRule>& rules, std::vector<Produced>& out,
                             Iterator& position, Iterator end) {
  PatternBindings bindings;
  for (const ConvertRule& rule : rules) {
    if (!MatchRuleLeft(rule, position, end, bindings)) continue;

    const std::size_t n = rule.Left.size();
    std::vector<std::wstring> comments;
    for (std::size_t i = 0; i < n; ++i) {
      comments.insert(comments.end(), position[i].comments.begin(), position[i].comments.end());
    }
    const bool oneToOne = n == 1 && rule.Right.size() == 1;

    std::vector<Produced> produced;
    produced.reserve(rule.Right.size());
    for (std::size_t b = 0; b < rule.Right.size(); ++b) {
      const ElementOperand& item = rule.Right[b];
      Produced element{};
      element.definition = item.Slot;
      element.variant = oneToOne ? position[0].variant : 0;
      element.operands.reserve(item.Text.size());
      for (wchar_t key : item.Text) element.operands.push_back(bindings.Text(key));
      if (b < comments.size()) {
        if (b + 1 == rule.Right.size()) {
          element.comments.assign(comments.begin() + static_cast<std::ptrdiff_t>(b), comments.end());
        } else {
          element.comments.push_back(comments[b]);
        }
      }
      produced.push_back(std::move(element));
    }
    out.insert(out.end(), std::make_move_iterator(produced.begin()), std::make_move_iterator(produced.end()));
    position += static_cast<std::ptrdiff_t>(n);
    return true;
  }
  return false;
}

// Convenience over a whole vector: position is an index into `in`.
template <class Produced, class Consumed>
bool MatchInstructionPattern(const std::vector<ConvertRule>& rules, std::vector<Produced>& out,
                             const std::vector<Consumed>& in, std::size_t& position) {
  if (position > in.size()) return false;
  auto at = in.begin() + static_cast<std::ptrdiff_t>(position);
  if (!MatchInstructionPattern(rules, out, at, in.end())) return false;
  position = static_cast<std::size_t>(at - in.begin());
  return true;
}

}  // namespace Brenno
