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

// Appends the operand's display to text and runs and sets flag. Colours: 0 an address, 3 an
// address written as a symbol, 6 a constant and the value or marker text, 5 the brackets,
// 10 anything the slot does not admit; every colour 13 when selected. An IPv4 address operand
// (ipAddress) also admits a dotted address, shown as a constant.
void AppendOperandDisplay(const std::wstring& written, const OperandDef& slot, const PageViewState& page,
                          bool selected, OnlineCacheSnapshot& online, std::wstring& text,
                          std::vector<ColorRun>& runs, OperandValueFlag& flag, bool ipAddress = false);

// Appends a piece of text in one colour (nothing for an empty piece).
void AppendRun(std::wstring& text, std::vector<ColorRun>& runs, const std::wstring& piece, int colour);

}  // namespace Brenno
