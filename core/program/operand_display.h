// How the painters show one operand of a statement-list line or a ladder element: the text as
// written, coloured by what it is (address, symbol, constant or neither), followed by its
// online value (or "Unknown", or the fixed marker text of its address) in brackets, and the
// {known, value} pair that the power-flow evaluation takes.
#pragma once

#include <string>
#include <vector>

#include "core/env/instruction_records.h"
#include "core/env/utilities.h"
#include "core/program/online_cache.h"
#include "core/program/page_view_state.h"

namespace Brenno {

// Where a display holds its value: the index of the value's run in the run list (-1: no value
// shown) and whether the value is a real, which a narrow place may show with fewer digits.
struct OperandValueSpan {
  int Run = -1;
  bool Real = false;
};

// Appends the operand's display to text and runs and sets flag. Colours: 0 an address, 3 an
// address written as a symbol, 6 a constant and the value or marker text, 5 the brackets,
// 10 anything the slot does not admit; every colour 13 when selected. An IPv4 address operand
// (ipAddress) also admits a dotted address, shown as a constant.
void AppendOperandDisplay(const std::wstring& written, const OperandDef& slot, const PageViewState& page,
                          bool selected, OnlineCacheSnapshot& online, std::wstring& text,
                          std::vector<ColorRun>& runs, OperandValueFlag& flag, bool ipAddress = false,
                          OperandValueSpan* span = nullptr);

// The slots of one instruction as its operands limit one another (SlotInInstruction): a count
// of bits to what is left of its start operand's area, a count to another count. The written
// operand texts are read with the page's symbols. False, limited untouched, when no slot of the
// instruction depends on another (the slots stand as they are).
bool SlotsOfInstruction(const std::vector<const OperandDef*>& slots, const std::vector<std::wstring>& written,
                        const PageViewState& page, std::vector<OperandDef>& limited);

// A real value in at most `digits` significant digits, with a short exponent ("1.34e6",
// "-2.5e-5", "12.5"); digits 1 to 9.
std::wstring CompactRealText(double value, int digits);

// Appends a piece of text in one colour (nothing for an empty piece).
void AppendRun(std::wstring& text, std::vector<ColorRun>& runs, const std::wstring& piece, int colour);

}  // namespace Brenno
