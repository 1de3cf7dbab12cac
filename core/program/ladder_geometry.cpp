#include "core/program/ladder_geometry.h"

#include <algorithm>

#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/env/operand_format.h"
#include "core/env/operand_slot.h"
#include "core/program/ladder_metrics.h"
#include "core/program/program_services.h"

namespace Brenno {

namespace {

int PowerSlotMax(const LadElement& e) { return LadElement::LargestPowerSlot(e); }
int OperandSlotMax(const LadElement& e) { return LadElement::LargestOperandSlot(e); }

template <class List>
bool InRange(const List& list, int i) {
  return i >= 0 && static_cast<std::size_t>(i) < list.size();
}

// Row centre of power pin slot s of a box.
int PinY(const LadderMetrics& m, int y, int s) { return y + s * m.CellHeight + m.CellHeight / 2; }
// Row centre of operand slot s of a box: in thirds of a row below the power rows.
int OperandY(const LadderMetrics& m, const LadElement& e, int y, int s) {
  return y + (PowerSlotMax(e) + 1) * m.CellHeight + (m.CellHeight * s) / 3 + m.CellHeight / 6;
}

// A rectangle of text height centred on the row centre cy.
Rect TextRow(const LadderMetrics& m, int left, int cy, int right) {
  return {left, cy - m.TextHeight / 2, right, cy + m.TextHeight / 2};
}

// The operand text places of contacts and coils: above (j = 0) and below (j = 1) the symbol; an
// operand's place is its place in the instruction (its Slot), so the bit of a set coil stands above
// and its count below whichever list holds them.
Rect ContactOperandPlace(const LadderMetrics& m, int x, int y, int j) {
  int c = 0;
  if (j == 0) {
    c = m.CellHeight / 6;
  } else if (j == 1) {
    c = (2 * m.CellHeight) / 3 + m.CellHeight / 6;
  } else {
    return {};
  }
  return {x + 1, y + c - m.TextHeight / 2, x + m.CellWidth - 1, y + c + m.TextHeight / 2};
}

// The operand cell k of an FX box, text high (cell 0 holds the name; a cell outside the box, from
// a slot no definition gives, has none).
Rect FxCellRect(const LadderMetrics& m, const LadElement& e, int x, int y, int k) {
  if (k < 1 || k >= LadElement::WidthInCells(e)) return {};
  const int W = m.CellWidth;
  const int H = m.CellHeight;
  const int fw = m.FxBoxWidth;
  return {x + W / 2 - fw / 2 + k * W, y + H / 2 - m.TextHeight / 2, x + W / 2 + fw / 2 + k * W,
          y + H / 2 + m.TextHeight / 2};
}

bool IsContactLike(int kind) {
  return kind == kLadKindCont || kind == kLadKindCoil || kind == kLadKindFxCont || kind == kLadKindFxCoil;
}

Rect Offset(Rect r, int dx, int dy) {
  r.left += dx;
  r.right += dx;
  r.top += dy;
  r.bottom += dy;
  return r;
}

int CursorColumns(const PageViewState& state, const LadderGrid& grid) {
  return IsLadderCursorInCurrentNetwork(state) ? std::max(grid.Columns, state.CursorColumn) : grid.Columns;
}

int CursorRows(const PageViewState& state, const LadderGrid& grid) {
  return IsLadderCursorInCurrentNetwork(state) ? std::max(grid.Rows, state.CursorRow) : grid.Rows;
}

// Ordered copy of a rectangle (left <= right, top <= bottom).
Rect Ordered(Rect r) {
  NormalizeRect(r);
  return r;
}

bool Overlaps(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Contains(const Rect& r, PagePoint p) { return r.left <= p.x && p.x < r.right && r.top <= p.y && p.y < r.bottom; }

int FindCellElement(const LadderGrid& grid, int column, int row, bool inCell) {
  for (std::size_t i = 0; i < grid.Elements.size(); ++i) {
    const LadElement& e = grid.Elements[i];
    if (e.Column == column && e.Row == row && e.InCell == inCell) return static_cast<int>(i);
  }
  return -1;
}

// One operand of an element: its list (0 OperandId, 1 OperandIn, 2 OperandOut) and index there.
struct OperandRef {
  int list = 0;
  int index = 0;
};

const ElementOperand& OperandOf(const LadElement& e, OperandRef ref) {
  switch (ref.list) {
    case 0: return e.OperandId[ref.index];
    case 1: return e.OperandIn[ref.index];
    default: return e.OperandOut[ref.index];
  }
}

// The operands of an element in the order the editor walks them: the order of the instruction
// text (OperandId, OperandIn, OperandOut for a box with pins; by place in the instruction for
// contacts, coils and FX boxes, so that a set coil's bit comes before its count).
std::vector<OperandRef> OperandSequence(const LadElement& e) {
  std::vector<OperandRef> refs;
  const std::vector<ElementOperand>* lists[] = {&e.OperandId, &e.OperandIn, &e.OperandOut};
  for (const ElementOperand* operand : LadElement::OperandsInInstructionOrder(e)) {
    for (int list = 0; list < 3; ++list) {
      const std::vector<ElementOperand>& in = *lists[list];
      const auto at = std::find_if(in.begin(), in.end(), [&](const ElementOperand& o) { return &o == operand; });
      if (at != in.end()) refs.push_back({list, static_cast<int>(at - in.begin())});
    }
  }
  return refs;
}

// An operand nobody has written yet: empty, or the "???" a new element starts with.
bool IsEmptyOperand(const ElementOperand& operand) { return operand.Text.empty() || operand.Text == L"???"; }

Rect OperandTextRect(const LadElement& e, int x, int y, OperandRef ref) {
  switch (ref.list) {
    case 0: return OperandIdTextRect(e, x, y, ref.index);
    case 1: return OperandInTextRect(e, x, y, ref.index);
    default: return OperandOutTextRect(e, x, y, ref.index);
  }
}

// Opens the editor on one operand of an element, with the rectangle (relative to the body
// origin) and the point given, and the operand's format description as hint when the element
// has a definition.
void OpenOperandEditor(PageViewState& state, const LadElement& e, OperandRef ref, const Rect& rect, PagePoint point) {
  OperandEditorState& editor = state.OperandEditor;
  editor.Open = true;
  editor.Column = e.Column;
  editor.Row = e.Row;
  editor.IdIndex = ref.list == 0 ? ref.index : -1;
  editor.InIndex = ref.list == 1 ? ref.index : -1;
  editor.OutIndex = ref.list == 2 ? ref.index : -1;
  editor.Area = rect;
  editor.Point = point;
  editor.Text = OperandOf(e, ref).Text;
  editor.Hint.clear();
  const FunLadRecord* def = LadElement::FindDefinition(e);
  if (def == nullptr) return;
  const std::vector<OperandDef>& defs = ref.list == 0 ? def->OperandId : (ref.list == 1 ? def->OperandIn : def->OperandOut);
  if (!InRange(defs, ref.index)) return;
  std::wstring hint;
  if (DescribeOperandSlot(hint, defs[ref.index], CurrentProgramServices().MemoryMap(), L"\r\n")) {
    editor.Hint = std::move(hint);
  }
}

// The position in the sequence of the operand the editor stands on, or -1.
int EditedOperandPosition(const PageViewState& state, const std::vector<OperandRef>& sequence) {
  const OperandEditorState& editor = state.OperandEditor;
  OperandRef edited;
  if (editor.IdIndex != -1) {
    edited = {0, editor.IdIndex};
  } else if (editor.InIndex != -1) {
    edited = {1, editor.InIndex};
  } else if (editor.OutIndex != -1) {
    edited = {2, editor.OutIndex};
  } else {
    return -1;
  }
  for (std::size_t i = 0; i < sequence.size(); ++i) {
    if (sequence[i].list == edited.list && sequence[i].index == edited.index) return static_cast<int>(i);
  }
  return -1;
}

void OpenOperandAt(PageViewState& state, const LadElement& e, OperandRef ref) {
  const PagePoint origin = LadElementOrigin(e, 0, 0);
  const Rect r = OperandTextRect(e, origin.x, origin.y, ref);
  OpenOperandEditor(state, e, ref, r, {r.left, r.top});
}

}  // namespace

PagePoint LadElementOrigin(const LadElement& element, int bodyX, int bodyY) {
  const LadderMetrics& m = GetLadderMetrics();
  return {bodyX + element.Column * m.CellWidth, bodyY + element.Row * m.CellHeight};
}

Rect ElementNameRect(const LadElement& e, int x, int y) {
  CheckLadElement(e);
  if (!e.InCell) return {};
  const LadderMetrics& m = GetLadderMetrics();
  const int W = m.CellWidth;
  const int H = m.CellHeight;
  auto centred = [&](int halfW, int w8, int halfH, int h8) {
    return Rect{x + W / 2 + w8 - halfW, y + H / 2 + h8 - halfH, x + W / 2 + halfW - w8, y + H / 2 + halfH - h8};
  };
  switch (e.Kind) {
    case kLadKindCont: return centred(m.ContactWidth / 2, m.ContactWidth / 8, m.ContactHeight / 2, m.ContactHeight / 8);
    case kLadKindFxCont: return centred(m.ContactWidth, m.ContactWidth / 8, m.ContactHeight / 2, m.ContactHeight / 8);
    case kLadKindCoil:
    case kLadKindFxCoil: return centred(m.CoilWidth / 2, m.CoilWidth / 8, m.CoilHeight / 2, m.CoilHeight / 8);
    case kLadKindBlock: {
      const int shift = e.OperandId.empty() ? 0 : m.TextHeight;
      return {x + W / 2 - W / 3, y + m.EdgeGap + 1 + shift, x + W / 2 + W / 3, y + m.EdgeGap + 1 + m.TextHeight + shift};
    }
    case kLadKindFxBlock: return centred(m.FxBoxWidth / 2, m.FxBoxWidth / 8, m.FxBoxHeight / 2, m.FxBoxHeight / 8);
    default: return {};
  }
}

Rect ElementBoxRect(const LadElement& e, int x, int y) {
  CheckLadElement(e);
  if (!e.InCell) return {};
  const LadderMetrics& m = GetLadderMetrics();
  const int W = m.CellWidth;
  const int H = m.CellHeight;
  if (e.Kind == kLadKindBlock) {
    const int shift = e.OperandId.empty() ? 0 : m.TextHeight;
    const int p = PowerSlotMax(e);
    const int q = OperandSlotMax(e);
    return {x + m.PinLength, y + m.EdgeGap + 1 + shift, x + W - m.PinLength, y + ((3 * p + q + 4) * H) / 3 - m.EdgeGap};
  }
  if (e.Kind == kLadKindFxBlock) {
    const int w = LadElement::WidthInCells(e);
    const int fw = m.FxBoxWidth;
    const int fh = m.FxBoxHeight;
    return {x + W / 2 - fw / 2, y + H / 2 - fh / 2, x + w * W + fw / 2 - W / 2, y + H / 2 + fh / 2 + 1};
  }
  return {};
}

Rect ElementSymbolRect(const LadElement& e, int x, int y) {
  CheckLadElement(e);
  if (!e.InCell) return {};
  const LadderMetrics& m = GetLadderMetrics();
  const int W = m.CellWidth;
  const int H = m.CellHeight;
  int width = 0;
  int height = 0;
  if (e.Kind == kLadKindCont || e.Kind == kLadKindFxCont) {
    width = m.ContactWidth;
    height = m.ContactHeight;
  } else if (e.Kind == kLadKindCoil || e.Kind == kLadKindFxCoil) {
    width = m.CoilWidth;
    height = m.CoilHeight;
  } else {
    return {};
  }
  const int g = (2 * width) / 5;
  return {x + W / 2 - g + 1, y + H / 2 - (2 * height) / 4 + 1, x + W / 2 + g - 1, y + H / 2 + (2 * height) / 4};
}

Rect PowerInLabelRect(const LadElement& e, int x, int y, int i) {
  CheckLadElement(e);
  if (!e.InCell || e.Kind != kLadKindBlock || !InRange(e.PowerIn, i)) return {};
  const LadderMetrics& m = GetLadderMetrics();
  return TextRow(m, x + m.PinLength + 2, PinY(m, y, e.PowerIn[i].Slot), x + m.CellWidth / 3 - 1);
}

Rect PowerOutLabelRect(const LadElement& e, int x, int y, int i) {
  CheckLadElement(e);
  if (!e.InCell || e.Kind != kLadKindBlock || !InRange(e.PowerOut, i)) return {};
  const LadderMetrics& m = GetLadderMetrics();
  const int W = m.CellWidth;
  return TextRow(m, x + W - W / 3 + 1, PinY(m, y, e.PowerOut[i].Slot), x + W - m.PinLength - 2);
}

Rect OperandIdTextRect(const LadElement& e, int x, int y, int i) {
  CheckLadElement(e);
  if (!e.InCell || !InRange(e.OperandId, i)) return {};
  const LadderMetrics& m = GetLadderMetrics();
  if (e.Kind == kLadKindBlock) return {x + 1, y, x + m.CellWidth - 1, y + m.TextHeight};
  if (e.Kind == kLadKindFxBlock) return FxCellRect(m, e, x, y, e.OperandId[i].Slot + 1);
  return {};
}

Rect OperandInTextRect(const LadElement& e, int x, int y, int i) {
  CheckLadElement(e);
  if (!e.InCell || !InRange(e.OperandIn, i)) return {};
  const LadderMetrics& m = GetLadderMetrics();
  const int W = m.CellWidth;
  if (e.Kind == kLadKindBlock) return TextRow(m, x - W + 1, OperandY(m, e, y, e.OperandIn[i].Slot), x - 1);
  if (e.Kind == kLadKindFxBlock) return FxCellRect(m, e, x, y, e.OperandIn[i].Slot + 1);
  if (IsContactLike(e.Kind)) return ContactOperandPlace(m, x, y, e.OperandIn[i].Slot);
  return {};
}

Rect OperandOutTextRect(const LadElement& e, int x, int y, int i) {
  CheckLadElement(e);
  if (!e.InCell || !InRange(e.OperandOut, i)) return {};
  const LadderMetrics& m = GetLadderMetrics();
  const int W = m.CellWidth;
  if (e.Kind == kLadKindBlock) return TextRow(m, x + W + 1, OperandY(m, e, y, e.OperandOut[i].Slot), x + 2 * W - 1);
  if (e.Kind == kLadKindFxBlock) return FxCellRect(m, e, x, y, e.OperandOut[i].Slot + 1);
  if (IsContactLike(e.Kind)) return ContactOperandPlace(m, x, y, e.OperandOut[i].Slot);
  return {};
}

Rect OperandInLabelRect(const LadElement& e, int x, int y, int i) {
  CheckLadElement(e);
  if (e.Kind != kLadKindBlock || !InRange(e.OperandIn, i)) return {};
  const LadderMetrics& m = GetLadderMetrics();
  return TextRow(m, x + m.PinLength + 2, OperandY(m, e, y, e.OperandIn[i].Slot), x + m.CellWidth / 2 - 1);
}

Rect OperandOutLabelRect(const LadElement& e, int x, int y, int i) {
  CheckLadElement(e);
  if (e.Kind != kLadKindBlock || !InRange(e.OperandOut, i)) return {};
  const LadderMetrics& m = GetLadderMetrics();
  return TextRow(m, x + m.CellWidth / 2 + 1, OperandY(m, e, y, e.OperandOut[i].Slot),
                 x + m.CellWidth - m.PinLength - 2);
}

Rect VerticalLinkHitRect(const LadElement& e) {
  if (e.Kind != kLadKindLine) throw ExceptionLogicError();
  const LadderMetrics& m = GetLadderMetrics();
  const int W = m.CellWidth;
  const int H = m.CellHeight;
  return {W - m.PinLength / 2, H - H / 2 + m.EdgeGap, W + m.PinLength / 2, H + H / 2 - m.EdgeGap};
}

std::vector<Rect> ElementHitRects(const LadElement& e) {
  CheckLadElement(e);
  if (!e.InCell) return {VerticalLinkHitRect(e)};
  const LadderMetrics& m = GetLadderMetrics();
  if (e.Kind == kLadKindBlock || e.Kind == kLadKindFxBlock) {
    Rect r = ElementBoxRect(e, 0, 0);
    return {{r.left - 2, r.top - 2, r.right + 2, r.bottom + 2}};
  }
  return {{m.PinLength, m.EdgeGap + 1, m.CellWidth - m.PinLength, m.CellHeight - m.EdgeGap}};
}

bool IsLadderCursorInCurrentNetwork(const PageViewState& state) {
  return state.SelectionFirst == state.SelectionLast && state.SelectionFirst == state.CurrentNetwork &&
         state.CursorColumn != -1 && state.CursorRow != -1;
}

int LadderBodyWidth(const PageViewState& state, const LadderGrid& grid) {
  const LadderMetrics& m = GetLadderMetrics();
  return (std::max(CursorColumns(state, grid), 7) + 1) * m.CellWidth - m.CellWidthTwoThirds;
}

int LadderBodyHeight(const PageViewState& state, const LadderGrid& grid) {
  const LadderMetrics& m = GetLadderMetrics();
  return (std::max(CursorRows(state, grid), 1) + 1) * m.CellHeight - m.CellHeightTwoThirds;
}

int LadderBodyRowCount(const PageViewState& state, const LadderGrid& grid) {
  return std::max(CursorRows(state, grid), 1) + 1;
}

Rect LadderBodyRect(const PageViewState& state, const LadderGrid& grid, int bodyX, int bodyY) {
  return {bodyX, bodyY, bodyX + LadderBodyWidth(state, grid), bodyY + LadderBodyHeight(state, grid)};
}

void LadderCursorRect(const PageViewState& state, const LadderGrid& grid, int bodyX, int bodyY, Rect& rect) {
  if (!IsLadderCursorInCurrentNetwork(state)) return;
  const LadderMetrics& m = GetLadderMetrics();
  const int cc = state.CursorColumn;
  const int cr = state.CursorRow;
  const int width = cc == std::max(CursorColumns(state, grid), 7) ? m.CellWidth - m.CellWidthTwoThirds : m.CellWidth;
  const int height = cr == std::max(CursorRows(state, grid), 1) ? m.CellHeight - m.CellHeightTwoThirds : m.CellHeight;
  rect.left = bodyX + cc * m.CellWidth;
  rect.top = bodyY + cr * m.CellHeight;
  rect.right = rect.left + width;
  rect.bottom = rect.top + height;
}

void CollectSelectionFrames(const LadderGrid& grid, std::vector<Rect>& frames, int bodyX, int bodyY,
                            const PageViewState& state) {
  frames.clear();
  if (!IsLadderCursorInCurrentNetwork(state)) return;
  for (const SelectedCell& cell : state.SelectedCells) {
    const int index = FindCellElement(grid, cell.Column, cell.Row, cell.InCell);
    if (index < 0) continue;
    const LadElement& e = grid.Elements[index];
    const PagePoint origin = LadElementOrigin(e, bodyX, bodyY);
    for (const Rect& r : ElementHitRects(e)) frames.push_back(Offset(r, origin.x, origin.y));
  }
}

void SelectLadderElementsInRect(PageViewState& state, const LadderGrid& grid, const Rect& rect) {
  const LadderMetrics& m = GetLadderMetrics();
  state.CursorColumn = rect.left < 0 || m.CellWidth <= 0 ? 0 : rect.left / m.CellWidth;
  state.CursorRow = rect.top < 0 || m.CellHeight <= 0 ? 0 : rect.top / m.CellHeight;
  state.SelectedCells.clear();
  const Rect band = Ordered(rect);
  for (const LadElement& e : grid.Elements) {
    const PagePoint origin = LadElementOrigin(e, 0, 0);
    for (const Rect& r : ElementHitRects(e)) {
      if (Overlaps(band, Ordered(Offset(r, origin.x, origin.y)))) {
        state.SelectedCells.push_back({e.Column, e.Row, e.InCell});
        break;
      }
    }
  }
}

void BeginOperandEditAt(PageViewState& state, const LadderGrid& grid, PagePoint point) {
  state.OperandEditor.Open = false;
  for (const LadElement& e : grid.Elements) {
    CheckLadElement(e);
    if (!e.InCell) continue;
    const PagePoint origin = LadElementOrigin(e, 0, 0);
    for (const OperandRef ref : OperandSequence(e)) {
      const Rect r = OperandTextRect(e, origin.x, origin.y, ref);
      if (!Contains(r, point)) continue;
      OpenOperandEditor(state, e, ref, r, point);
      return;
    }
  }
}

void AdvanceOperandEdit(PageViewState& state, const LadderGrid& grid) {
  OperandEditorState& editor = state.OperandEditor;
  editor.Open = false;
  if (state.SelectedCells.empty()) return;
  const SelectedCell current{editor.Column, editor.Row, true};
  const auto at = std::find(state.SelectedCells.begin(), state.SelectedCells.end(), current);
  const std::size_t k = static_cast<std::size_t>(at - state.SelectedCells.begin());
  // The selected elements in list order, with their operands in the order the editor walks them.
  std::vector<std::pair<const LadElement*, std::vector<OperandRef>>> selected;
  std::size_t edited = 0;  // the entry of `selected` at k
  int editedPosition = -1;
  for (std::size_t n = 0; n < state.SelectedCells.size(); ++n) {
    const SelectedCell& cell = state.SelectedCells[n];
    const int index = FindCellElement(grid, cell.Column, cell.Row, cell.InCell);
    if (index < 0) continue;
    const LadElement& e = grid.Elements[static_cast<std::size_t>(index)];
    CheckLadElement(e);
    selected.emplace_back(&e, OperandSequence(e));
    if (n == k) {
      edited = selected.size() - 1;
      editedPosition = EditedOperandPosition(state, selected.back().second);
    }
  }
  const LadElement* winner = nullptr;
  OperandRef winnerRef;
  if (editedPosition >= 0) {
    // Going on from the operand just edited: the next one of that element, then every operand of
    // the elements selected after it; those before it are passed over.
    for (std::size_t n = edited; n < selected.size() && winner == nullptr; ++n) {
      const std::vector<OperandRef>& sequence = selected[n].second;
      const std::size_t from = n == edited ? static_cast<std::size_t>(editedPosition) + 1 : 0;
      if (from < sequence.size()) {
        winner = selected[n].first;
        winnerRef = sequence[from];
      }
    }
  } else {
    // A fresh start on the selection: the first operand nobody has written yet.
    for (const auto& [element, sequence] : selected) {
      for (const OperandRef ref : sequence) {
        if (winner == nullptr && IsEmptyOperand(OperandOf(*element, ref))) {
          winner = element;
          winnerRef = ref;
        }
      }
    }
  }
  if (winner == nullptr) {
    // Round to the first operand of the first selected element that has any.
    for (const auto& [element, sequence] : selected) {
      if (!sequence.empty()) {
        winner = element;
        winnerRef = sequence.front();
        break;
      }
    }
  }
  if (winner != nullptr) OpenOperandAt(state, *winner, winnerRef);
}

void OpenNextEmptyOperand(PageViewState& state, const LadderGrid& grid) {
  OperandEditorState& editor = state.OperandEditor;
  editor.Open = false;
  const int index = FindCellElement(grid, editor.Column, editor.Row, true);
  if (index < 0) return;
  const LadElement& e = grid.Elements[static_cast<std::size_t>(index)];
  CheckLadElement(e);
  const std::vector<OperandRef> sequence = OperandSequence(e);
  const int edited = EditedOperandPosition(state, sequence);
  if (edited < 0) return;
  // After the operand just written, then round to those before it.
  for (std::size_t step = 1; step < sequence.size(); ++step) {
    const OperandRef ref = sequence[(static_cast<std::size_t>(edited) + step) % sequence.size()];
    if (IsEmptyOperand(OperandOf(e, ref))) return OpenOperandAt(state, e, ref);
  }
}

}  // namespace Brenno
