// The ladder form of a network: a sparse grid of elements, each standing on a cell (column,
// row) of a grid that starts at (0, 0) and grows to the right and downwards. This file holds
// the records, the element sizes in cells, the grid extent and the occupancy rule that decides
// whether elements may share the grid. Pixel geometry is in ladder_geometry.h, editing in
// ladder_edit.h.
#pragma once

#include <string>
#include <vector>

#include "core/env/instruction_records.h"

namespace Brenno {

struct PageViewState;

// What a ladder element is drawn as. The values are the `Look` words of the instruction
// library's ladder definitions; `Line` has no definition.
enum LadElementKind : int {
  kLadKindLine = 1,     // InCell true: horizontal line; InCell false: vertical link
  kLadKindCont = 2,     // contact
  kLadKindCoil = 3,     // coil
  kLadKindBlock = 4,    // box with power pins and operand pins
  kLadKindFxCont = 5,   // FX-style contact
  kLadKindFxCoil = 6,   // FX-style coil
  kLadKindFxBlock = 7,  // one-row FX box: name and operands side by side
};

// A power pin of a box: its index in the definition's PowerIn or PowerOut list (pin i stands
// on row i of the box) and its name drawn inside the box.
struct ElementPin {
  int Slot = 0;
  std::wstring Name;

  bool operator==(const ElementPin&) const = default;
};

struct LadElement {
  int Column = 0;
  int Row = 0;
  // false: a vertical link on the right edge of the cell, from the middle of Row to the
  // middle of Row + 1 (kind Line only).
  bool InCell = false;
  int Kind = 0;  // LadElementKind
  std::wstring Name;  // the definition's Keyword; a subroutine call may show its page name
  int Variant = 0;
  std::vector<ElementPin> PowerIn;
  std::vector<ElementPin> PowerOut;
  std::vector<ElementOperand> OperandId;
  std::vector<ElementOperand> OperandIn;
  std::vector<ElementOperand> OperandOut;
  std::vector<std::wstring> Comments;

  bool operator==(const LadElement&) const = default;

  // Size of the element itself in cells. A kind outside 1 ... 7 throws ExceptionLogicError.
  static int WidthInCells(const LadElement& element);
  static int HeightInCells(const LadElement& element);
  // P: the largest power pin slot of a box over both pin lists (-1 without pins).
  static int LargestPowerSlot(const LadElement& element);
  // Q: the largest operand pin slot over OperandIn and OperandOut (OperandId stands above).
  static int LargestOperandSlot(const LadElement& element);

  // The element's definition in the current project's instruction library: the one ladder
  // definition with the element's kind, name (a subroutine page name counts as its call) and
  // operand counts; null when there is none or more than one. (ladder_edit.cpp)
  static const FunLadRecord* FindDefinition(const LadElement& element);
  // One line of instruction text: "N#2  A, B//C" (definition name, variant when not 0, two
  // blanks, operands joined by ", ", "//" and the first comment). False when the definition is
  // not unique. (ladder_edit.cpp)
  static bool ToInstructionText(const LadElement& element, const PageViewState& state, std::wstring& text);

  // Contacts, coils and FX boxes stand their operands where the instruction writes them: the
  // Slot of such an operand is its place in the instruction (0 first), whichever of the three
  // lists holds it; the Slot of a Block's operand is its pin row within its own list.
  static bool SlotIsInstructionPlace(int kind) { return kind != kLadKindBlock; }
  // The operands in the order of the instruction text: by Slot where the Slot is the place in
  // the instruction (ties keep list order), else OperandId, OperandIn, OperandOut.
  static std::vector<const ElementOperand*> OperandsInInstructionOrder(const LadElement& element);
};

struct LadderGrid {
  // Extent: largest (column + columns taken) and (row + rows taken) over the elements, 0 when
  // empty. Recomputed with UpdateLadderExtent whenever the elements change.
  int Columns = 0;
  int Rows = 0;
  // In insertion order; equality, painting and the replacement walk follow it.
  std::vector<LadElement> Elements;

  // Same elements pairwise in order (every field) and the same extent.
  static bool Equals(const LadderGrid& a, const LadderGrid& b);
  bool operator==(const LadderGrid& other) const { return Equals(*this, other); }
};

// Columns and rows an element takes in the grid extent (a Block also takes the column right
// of its box for its output operand texts; a vertical link takes 2 x 2).
int LadderExtentColumns(const LadElement& element);
int LadderExtentRows(const LadElement& element);

// Throws ExceptionLogicError for a corrupt element (kind outside 1 ... 7, or a vertical link
// of a kind other than Line).
void CheckLadElement(const LadElement& element);

// Recompute Columns / Rows from the elements. A corrupt element throws ExceptionLogicError and
// leaves the extent as it was.
void UpdateLadderColumns(LadderGrid& grid);
void UpdateLadderRows(LadderGrid& grid);
void UpdateLadderExtent(LadderGrid& grid);

// One part of one cell that an element claims, relative to the element's cell. Body is the
// middle of the cell; the upper and lower edge are the right edge of the cell above and below
// its middle.
struct LadderMark {
  int Column = 0;
  int Row = 0;
  bool Body = false;
  bool UpperEdge = false;
  bool LowerEdge = false;

  bool operator==(const LadderMark&) const = default;
};

// The marks an element claims, relative to its own cell. Throws ExceptionLogicError for a
// corrupt element.
std::vector<LadderMark> CollectElementMarks(const LadElement& element);

// True when the grid elements and the added elements moved by the offset can stand together:
// no mark at a negative column or row and no part of a cell claimed twice. With no added
// elements it checks the grid by itself.
bool CheckLadderFit(const std::vector<LadElement>& added, const std::vector<LadElement>& elements,
                    int columnOffset, int rowOffset);
bool IsLadderGridConsistent(const std::vector<LadElement>& elements);
bool CanPlaceElement(const std::vector<LadElement>& elements, const LadElement& element);

// Makes room for the added elements (moved by the offset) by dropping every grid element that
// collides with them; `changed` is set to true when an element was dropped. False (nothing
// dropped) when an added mark falls at a negative column or row or two added elements
// collide. The added elements are not inserted.
bool PlaceReplacingOverlaps(const std::vector<LadElement>& added, bool& changed,
                            std::vector<LadElement>& elements, int columnOffset, int rowOffset);
bool PlaceElementReplacing(std::vector<LadElement>& elements, const LadElement& element, bool& changed);

}  // namespace Brenno
