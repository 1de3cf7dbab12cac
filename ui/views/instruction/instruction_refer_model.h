// The instruction catalogue as the instruction reference dialog offers it: instruction types
// (groups), their instructions (entries) with the widths and the pulse form each exists in, the
// recognition of a typed text as an entry or as the mnemonic of one of its forms, and the
// mnemonic that a choice of entry, width and pulse form stands for.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/env/instruction_library.h"

namespace Brenno {

// A catalogue place: group, entry and the flags of the form to show (width bit, pulse bit).
struct ReferChoice {
  int Group = -1;
  int Entry = -1;
  int VariantFlags = 0;
  bool operator==(const ReferChoice&) const = default;
};

class InstructionReferModel {
 public:
  // The library must outlive the model.
  explicit InstructionReferModel(const InstructionLibrary& library);

  std::vector<std::wstring> GroupLines() const;
  // The entry lines of a group: the base name, and "    [comment]" when there is a comment.
  std::vector<std::wstring> EntryLines(int group) const;
  // The entry, or null for a place outside the catalogue.
  const LadInstructionItem* Entry(int group, int entry) const;
  // The mnemonic of a form of an entry (the name of its ladder element definition).
  std::wstring Mnemonic(const LadInstructionVariant& variant) const;

  // "BOOL", "BYTE", "WORD", "DWORD" for each width bit of the mask, in that order.
  static std::vector<std::wstring> WidthLines(int mask);
  // The line of the form's width among WidthLines(mask): of several width bits the widest wins;
  // no width bit gives the first line; -1 when the mask has no width at all.
  static int WidthLineForFlags(int mask, int flags);
  // The flag of a width line text (1, 2, 4, 8), 0 for any other text.
  static int WidthFlagOfText(const std::wstring& text);

  // An entry by base name (first in catalogue order, shown with its first form), else the first
  // form whose mnemonic equals the text (its entry shown with that form); none otherwise.
  std::optional<ReferChoice> Recognize(const std::wstring& text) const;
  // The first entry of a group with its first form; none for an empty group.
  std::optional<ReferChoice> FirstEntryOf(int group) const;

  // What OK returns: for the entries named by the text (catalogue order), the mnemonic of the
  // first form with exactly the chosen width flag plus pulse bit; otherwise the text itself.
  std::wstring Resolve(const std::wstring& text, const std::wstring& widthText, bool pulse) const;

 private:
  const InstructionLibrary& library_;
};

}  // namespace Brenno
