// What the program editor tells the user about input it cannot take as it stands, in the
// user's language: a line of instruction text that names no ladder element (with the element
// that stands for a statement-list instruction, or the way a subroutine is called), an element
// that cannot stand at the cursor, what a placement would remove, and statement list typed
// into a network comment. The texts are the user's own words plus what the cell expects; the
// editor shows them and changes nothing.
#pragma once

#include <string>
#include <vector>

#include "core/program/ladder_grid.h"
#include "core/program/page_view_state.h"

namespace Brenno {

// Why one line of instruction text does not become a ladder element where ParseLadElementText
// refuses it: a name that no ladder element carries, or more operands than the element takes.
// For a statement-list mnemonic the ladder element that the library's conversion rules give for
// it is named, with the typed operands and, where they do not fit that element, which of them.
// Empty when the text makes an element or holds no name at all.
std::wstring ExplainRefusedElementText(const std::wstring& text, const PageViewState& state);

// Why the element cannot stand at the state's cursor cell: a box whose input operands, which
// are written in the cell to its left, would lie left of the first column. Empty when it can
// stand there (perhaps replacing what is in the way).
std::wstring ExplainRefusedPlacement(const LadElement& element, const PageViewState& state);

// An element as a message names it: the instruction text of a contact, coil or box
// ("ADD_I  VW0, VW2, VW4"), "horizontal line" or "vertical line".
std::wstring DescribeLadElement(const LadElement& element, const PageViewState& state);

// The question asked before a placement removes other elements of the network: what is placed
// ("the horizontal line", an element's name), the network's number as its header shows it, and
// the elements that would go.
std::wstring AskRemoveForPlacement(const std::wstring& placed, int network, const std::vector<LadElement>& removed,
                                   const PageViewState& state);
// What is placed, as the question names it.
std::wstring PlacedLineText(bool vertical);
std::wstring PlacedPasteText();

// Why an instruction sent from the instruction box or the project tree cannot go in: the page
// is shown as statement list, or no ladder cell is chosen.
std::wstring TextPlaceNeedsLadderPage();
std::wstring TextPlaceNeedsCell();

// True when the lines, typed as a network comment, read as statement list: at least one line
// holds something, and every line that does parses as an instruction of the library.
bool ReadsAsStatementList(const std::vector<std::wstring>& lines, const PageViewState& state);
// The question asked when a comment typed over an empty program reads as statement list.
std::wstring AskMoveCommentToProgram(int network, const std::vector<std::wstring>& lines);

}  // namespace Brenno
