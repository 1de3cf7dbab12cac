// The editing primitives of a ladder network: cut, copy, paste, drag-move and erase of the
// selected elements; placing a link, a line or an element at the cell cursor; row and column
// insertion and deletion; operand editing, find/replace and the symbol/address switch; and the
// one-line instruction text of an element in both directions.
//
// Every primitive returns true when the grid changed. The page commands run them on a copy of
// the network and keep the copy only when it differs, so a primitive that answers false may
// leave its grid half-changed. A corrupt element (kind outside 1 ... 7, a vertical link that is
// not a line) throws ExceptionLogicError. Primitives that read the instruction library, the
// memory map or the symbols use CurrentProgramServices().
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/env/instruction_library.h"
#include "core/env/instruction_records.h"
#include "core/program/ladder_grid.h"
#include "core/program/page_view_state.h"
#include "core/program/program_search_hit.h"

namespace Brenno {

// Fills the three operand lists of an element of the definition from operand texts in the order
// of the instruction (texts[p] for place p of LadOperandOrder; "???" where none is given), each
// passed through `prepare` with its operand definition; each operand's Slot is set as its kind
// places it (its place in the instruction, or a Block's pin row).
void DealOperandsOfDef(LadElement& element, const InstructionLibrary& library, const FunLadRecord& def,
                       const std::vector<std::wstring>& texts,
                       const std::function<std::wstring(const std::wstring&, const OperandDef&)>& prepare);

// Brings an element read from a file or a clipboard block in line with the library: a contact,
// coil or FX box whose lists match no definition, while a definition of its kind and keyword
// takes as many operands, gets its operands dealt to that definition's lists (an older
// instruction set listed them in the order of the instruction, as a set coil's count among its
// outputs; of several such definitions, the one the operands are written for); and every operand of a contact, coil or FX box gets its place in the instruction as
// its Slot. Boxes with pins and links are left as they are. `sameKeyword` holds the library's
// definitions whose Keyword is the element's name (a caller that upgrades many elements finds
// them once per name). True when the element changed; an element already in line is not copied.
bool UpgradeLadElementToLibrary(LadElement& element, const InstructionLibrary& library,
                                const std::vector<const FunLadRecord*>& sameKeyword);

// The selected elements as copies placed relative to the cell cursor (position minus cursor),
// in selection order; then they leave the grid and the selection is emptied. True when an
// element was removed. No selected cells: nothing happens.
bool CutLadderElements(std::vector<LadElement>& out, LadderGrid& grid, PageViewState& state);
// The first half of a cut; grid and selection stay. Always false.
bool CopyLadderElements(std::vector<LadElement>& out, const LadderGrid& grid, const PageViewState& state);
// Appends copies of the elements moved by the cursor, dropping grid elements in the way when
// they do not fit as they are. True when elements were appended or dropped.
bool PasteLadderElements(LadderGrid& grid, const PageViewState& state, const std::vector<LadElement>& elements);
// Moves the selected elements by the dragged distance (mouse point minus press point, rounded
// to the nearest cell, halves away from zero); the selected cells follow. True when the moved
// grid is consistent.
bool MoveLadderElements(LadderGrid& grid, PageViewState& state);
// Removes the selected elements; the selection ends empty. True when an element was removed.
bool EraseLadderElements(LadderGrid& grid, PageViewState& state);

// Place a vertical link, a horizontal line, the element of a ladder definition (index into the
// library's FunLad list) or the element of one line of instruction text at the cell cursor,
// replacing what stands in the way. False when the element cannot stand there at all.
bool PlaceVerticalLink(const PageViewState& state, LadderGrid& grid);
bool PlaceHorizontalLine(const PageViewState& state, LadderGrid& grid);
bool PlaceElementByDef(const PageViewState& state, LadderGrid& grid, int definitionIndex);
bool PlaceElementByText(const PageViewState& state, const std::wstring& text, LadderGrid& grid);

// Row and column edits at the cursor. Elements on the deleted row (column) go, those below
// (right of) it move up (left); inserting moves the cursor row (column) and everything below
// (right of) it down (right). Elements reaching across are neither cut nor moved. False when
// the result is not consistent.
bool DeleteGridRow(LadderGrid& grid, const PageViewState& state);
bool InsertGridRow(LadderGrid& grid, const PageViewState& state);
bool DeleteGridColumn(LadderGrid& grid, const PageViewState& state);
bool InsertGridColumn(LadderGrid& grid, const PageViewState& state);

// Writes the text, normalised against the operand's definition, into the operand that the
// operand editor names. The first input operand of an "EXIO" box takes a dotted IPv4 address
// (stored dotted); any other text is refused. False when no element or operand is there.
// All three locators -1 throws ExceptionLogicError.
bool ApplyLadderOperandEdit(LadderGrid& grid, const PageViewState& state, const std::wstring& text);
// Replaces the operand the hit names when its text equals the search text exactly.
bool ReplaceLadderOperandText(LadderGrid& grid, const ProgramSearchHit& hit, const std::wstring& searchText,
                              const std::wstring& replacement);

// Element names and operand texts to their display form (page names, symbols) and back to
// their stored form (reference names, addresses).
void ConvertLadderNetworkToSymbols(int pageId, LadderGrid& grid);
void ConvertLadderNetworkToAddresses(int pageId, LadderGrid& grid);

// The tokens of a line of instruction text: cut at tabs, blanks and commas, runs of separators
// making no empty tokens.
std::vector<std::wstring> TokenizeInstruction(const std::wstring& text);
// The ladder definition a typed name and its operands (in the order of the instruction) pick:
// of those with that many operands, else of all of the name, the one the operands are written
// for; null when the name has none.
const FunLadRecord* PickTypedLadDefinition(const InstructionLibrary& library, const std::wstring& name,
                                           const std::vector<std::wstring>& texts, int pageId);
// Builds an element (at column 0, row 0) from one line of instruction text. False when no
// definition matches, or when the text gives more operands than the definition has (nothing
// typed is silently lost). Missing operands become "???".
bool ParseLadElementText(const std::wstring& text, LadElement& element, const PageViewState& state);
// Builds an element (at column 0, row 0) from a ladder definition, every operand "???".
// False for an index outside the definition list.
bool BuildLadElementFromDef(int definitionIndex, LadElement& element, const PageViewState& state);

// The canonical form of an operand text for one operand definition: a symbol becomes its
// address, an address is written canonically, otherwise the text is tidied as a constant; on a
// symbolic page an address becomes its symbol again.
std::wstring NormalizeLadderOperand(const std::wstring& text, const OperandDef& definition,
                                    const PageViewState& state);

}  // namespace Brenno
