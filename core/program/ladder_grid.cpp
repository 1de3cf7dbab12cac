#include "core/program/ladder_grid.h"

#include <algorithm>
#include <map>
#include <utility>

#include "core/env/exception_error.h"

namespace Brenno {

namespace {

template <class List>
int LargestSlot(const List& list) {
  int largest = -1;
  for (const auto& item : list) largest = std::max(largest, item.Slot);
  return largest;
}


bool IsKnownKind(int kind) { return kind >= kLadKindLine && kind <= kLadKindFxBlock; }

int OperandTotal(const LadElement& e) {
  return static_cast<int>(e.OperandId.size() + e.OperandIn.size() + e.OperandOut.size());
}

// The marks of all elements at their positions (plus the offset), in element order.
void AppendPlacedMarks(std::vector<LadderMark>& out, const LadElement& element, int dc, int dr) {
  for (LadderMark mark : CollectElementMarks(element)) {
    mark.Column += element.Column + dc;
    mark.Row += element.Row + dr;
    out.push_back(mark);
  }
}

bool AnyNegative(const std::vector<LadderMark>& marks) {
  return std::any_of(marks.begin(), marks.end(), [](const LadderMark& m) { return m.Column < 0 || m.Row < 0; });
}

// Three flags per cell; keyed sparsely so that far-away elements cost nothing.
class Occupancy {
 public:
  bool IsFree(const LadderMark& mark) const {
    const auto found = m_cells.find({mark.Column, mark.Row});
    if (found == m_cells.end()) return true;
    const int bits = found->second;
    return !((mark.Body && (bits & 1)) || (mark.UpperEdge && (bits & 2)) || (mark.LowerEdge && (bits & 4)));
  }
  void Enter(const LadderMark& mark) {
    int& bits = m_cells[{mark.Column, mark.Row}];
    if (mark.Body) bits |= 1;
    if (mark.UpperEdge) bits |= 2;
    if (mark.LowerEdge) bits |= 4;
  }
  // Enters the mark; false when one of its parts was taken already.
  bool Claim(const LadderMark& mark) {
    if (!IsFree(mark)) return false;
    Enter(mark);
    return true;
  }

 private:
  std::map<std::pair<int, int>, int> m_cells;
};

}  // namespace

void CheckLadElement(const LadElement& element) {
  if (!IsKnownKind(element.Kind)) throw ExceptionLogicError();
  if (!element.InCell && element.Kind != kLadKindLine) throw ExceptionLogicError();
}

std::vector<const ElementOperand*> LadElement::OperandsInInstructionOrder(const LadElement& element) {
  std::vector<const ElementOperand*> operands;
  for (const auto* list : {&element.OperandId, &element.OperandIn, &element.OperandOut}) {
    for (const ElementOperand& operand : *list) operands.push_back(&operand);
  }
  if (SlotIsInstructionPlace(element.Kind)) {
    std::stable_sort(operands.begin(), operands.end(),
                     [](const ElementOperand* a, const ElementOperand* b) { return a->Slot < b->Slot; });
  }
  return operands;
}

int LadElement::WidthInCells(const LadElement& element) {
  if (!IsKnownKind(element.Kind)) throw ExceptionLogicError();
  if (element.Kind == kLadKindFxBlock) return 1 + OperandTotal(element);
  return 1;
}

int LadElement::HeightInCells(const LadElement& element) {
  if (!IsKnownKind(element.Kind)) throw ExceptionLogicError();
  if (element.Kind == kLadKindBlock) {
    const int height = (3 * LadElement::LargestPowerSlot(element) + LadElement::LargestOperandSlot(element) + 6) / 3;
    return std::max(height, 0);
  }
  return 1;
}

bool LadderGrid::Equals(const LadderGrid& a, const LadderGrid& b) {
  return a.Columns == b.Columns && a.Rows == b.Rows && a.Elements == b.Elements;
}

int LadderExtentColumns(const LadElement& element) {
  CheckLadElement(element);
  if (!element.InCell) return 2;
  if (element.Kind == kLadKindBlock) return 2;
  return std::max(LadElement::WidthInCells(element), 0);
}

int LadderExtentRows(const LadElement& element) {
  CheckLadElement(element);
  if (!element.InCell) return 2;
  return std::max(LadElement::HeightInCells(element), 0);
}

void UpdateLadderColumns(LadderGrid& grid) {
  int columns = 0;
  for (const LadElement& e : grid.Elements) columns = std::max(columns, e.Column + LadderExtentColumns(e));
  grid.Columns = columns;
}

void UpdateLadderRows(LadderGrid& grid) {
  int rows = 0;
  for (const LadElement& e : grid.Elements) rows = std::max(rows, e.Row + LadderExtentRows(e));
  grid.Rows = rows;
}

void UpdateLadderExtent(LadderGrid& grid) {
  UpdateLadderColumns(grid);
  UpdateLadderRows(grid);
}

std::vector<LadderMark> CollectElementMarks(const LadElement& element) {
  CheckLadElement(element);
  std::vector<LadderMark> marks;
  auto body = [&](int c, int r) { marks.push_back({c, r, true, false, false}); };
  auto edges = [&](int c, int r, bool upper, bool lower) { marks.push_back({c, r, false, upper, lower}); };

  if (!element.InCell) {
    edges(0, 0, false, true);
    edges(0, 1, true, false);
    return marks;
  }
  switch (element.Kind) {
    case kLadKindFxBlock: {
      const int width = LadElement::WidthInCells(element);
      for (int i = 0; i < width; ++i) {
        const bool inner = i < width - 1;
        marks.push_back({i, 0, true, inner, inner});
      }
      break;
    }
    case kLadKindBlock: {
      const int p = LadElement::LargestPowerSlot(element);
      const int q = LadElement::LargestOperandSlot(element);
      const int lastIn = LargestSlot(element.PowerIn);
      const int lastOut = LargestSlot(element.PowerOut);
      const int operandRows = (q + 3) / 3;
      const int inRows = (LargestSlot(element.OperandIn) + 3) / 3;
      const int outRows = (LargestSlot(element.OperandOut) + 3) / 3;
      for (int r = 0; r <= p; ++r) body(0, r);
      // Power pins on several rows join the rail edge of the cell left of (or at) the box.
      auto pinEdges = [&](int column, int last, int operandRowsOnSide) {
        if (last < 1) return;
        edges(column, 0, false, true);
        for (int r = 1; r < last; ++r) edges(column, r, true, true);
        edges(column, last, true, operandRowsOnSide > 0);
      };
      pinEdges(-1, lastIn, inRows);
      pinEdges(0, lastOut, outRows);
      for (int r = p + 1; r <= p + operandRows; ++r) body(0, r);
      for (int r = p + 1; r <= p + inRows; ++r) marks.push_back({-1, r, true, true, true});
      for (int r = p + 1; r <= p + outRows; ++r) {
        edges(0, r, true, true);
        body(1, r);
      }
      break;
    }
    default:  // a horizontal line, contacts and coils
      body(0, 0);
      break;
  }
  return marks;
}

bool CheckLadderFit(const std::vector<LadElement>& added, const std::vector<LadElement>& elements,
                    int columnOffset, int rowOffset) {
  std::vector<LadderMark> marks;
  for (const LadElement& e : elements) AppendPlacedMarks(marks, e, 0, 0);
  for (const LadElement& e : added) AppendPlacedMarks(marks, e, columnOffset, rowOffset);
  if (AnyNegative(marks)) return false;
  Occupancy table;
  for (const LadderMark& mark : marks) {
    if (!table.Claim(mark)) return false;
  }
  return true;
}

bool IsLadderGridConsistent(const std::vector<LadElement>& elements) { return CheckLadderFit({}, elements, 0, 0); }

bool CanPlaceElement(const std::vector<LadElement>& elements, const LadElement& element) {
  return CheckLadderFit({element}, elements, 0, 0);
}

bool PlaceReplacingOverlaps(const std::vector<LadElement>& added, bool& changed, std::vector<LadElement>& elements,
                            int columnOffset, int rowOffset) {
  std::vector<std::vector<LadderMark>> gridMarks;
  gridMarks.reserve(elements.size());
  bool negative = false;
  for (const LadElement& e : elements) {
    gridMarks.emplace_back();
    AppendPlacedMarks(gridMarks.back(), e, 0, 0);
    negative = negative || AnyNegative(gridMarks.back());
  }
  std::vector<LadderMark> addedMarks;
  for (const LadElement& e : added) AppendPlacedMarks(addedMarks, e, columnOffset, rowOffset);
  if (negative || AnyNegative(addedMarks)) return false;

  Occupancy table;
  for (const LadderMark& mark : addedMarks) {
    if (!table.Claim(mark)) return false;
  }
  std::vector<LadElement> kept;
  kept.reserve(elements.size());
  bool dropped = false;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const auto& marks = gridMarks[i];
    const bool free = std::all_of(marks.begin(), marks.end(), [&](const LadderMark& m) { return table.IsFree(m); });
    if (!free) {
      dropped = true;
      continue;
    }
    for (const LadderMark& m : marks) table.Enter(m);
    kept.push_back(std::move(elements[i]));
  }
  elements = std::move(kept);
  if (dropped) changed = true;
  return true;
}

bool PlaceElementReplacing(std::vector<LadElement>& elements, const LadElement& element, bool& changed) {
  return PlaceReplacingOverlaps({element}, changed, elements, 0, 0);
}

int LadElement::LargestPowerSlot(const LadElement& e) { return std::max(LargestSlot(e.PowerIn), LargestSlot(e.PowerOut)); }

int LadElement::LargestOperandSlot(const LadElement& e) {
  return std::max(LargestSlot(e.OperandIn), LargestSlot(e.OperandOut));
}

}  // namespace Brenno
