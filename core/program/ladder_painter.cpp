#include "core/program/ladder_painter.h"

#include <algorithm>
#include <cwchar>

#include "core/draw/gdi_resource_set.h"
#include "core/draw/text_drawing.h"
#include "core/env/exception_error.h"
#include "core/env/ip_address.h"
#include "core/program/ladder_geometry.h"
#include "core/program/ladder_metrics.h"
#include "core/program/operand_display.h"
#include "core/program/paint_state.h"

namespace Brenno {

namespace {

constexpr unsigned kCentred = kTextCenter | kTextVCenter;
constexpr unsigned kLeftMiddle = kTextLeft | kTextVCenter;
constexpr unsigned kRightMiddle = kTextRight | kTextVCenter;

bool IsEmpty(const Rect& r) { return r.left >= r.right || r.top >= r.bottom; }

void Line(DrawContext& dc, int x1, int y1, int x2, int y2, int colour) { dc.DrawLine(x1, y1, x2, y2, SolidPen(colour)); }

int MiddleY(int y) { return y + GetLadderMetrics().CellHeight / 2; }

// Contacts, coils and FX contacts: the two bars of a contact of half-width hw.
void ContactShape(DrawContext& dc, int x, int y, int colour, int hw) {
  const LadderMetrics& m = GetLadderMetrics();
  const int W = m.CellWidth;
  const int yc = MiddleY(y);
  const int ch = m.ContactHeight;
  const int xl = x + W / 2 - hw;
  const int xr = x + hw + W / 2 - 1;
  Line(dc, x, yc, x + W / 2 - hw, yc, colour);
  Line(dc, x + hw + W / 2, yc, x + W, yc, colour);
  Line(dc, xl, yc - ch / 2, xl, yc + ch / 2 + 1, colour);
  Line(dc, xr, yc - ch / 2, xr, yc + ch / 2 + 1, colour);
}

// The slash of a negated contact and of the power-flow inverter.
void Slash(DrawContext& dc, int x, int y, int colour) {
  const LadderMetrics& m = GetLadderMetrics();
  const int W = m.CellWidth;
  const int yc = MiddleY(y);
  const int ch = m.ContactHeight;
  Line(dc, x + W / 2 - ch, yc + ch / 2, x + W / 2 + ch, yc - ch / 2, colour);
}

// Leads and bars of an edge contact (the bars stand one pixel further left than a contact's).
void EdgeContactFrame(DrawContext& dc, int x, int y, int colour) {
  const LadderMetrics& m = GetLadderMetrics();
  const int W = m.CellWidth;
  const int yc = MiddleY(y);
  const int cw = m.ContactWidth;
  const int ch = m.ContactHeight;
  Line(dc, x, yc, x + W / 2 - cw / 2, yc, colour);
  Line(dc, x + cw / 2 + W / 2, yc, x + W, yc, colour);
  const int xl = x + W / 2 - cw / 2 - 1;
  const int xr = x + W / 2 + cw / 2 - 1;
  Line(dc, xl, yc - ch / 2, xl, yc + ch / 2 + 1, colour);
  Line(dc, xr, yc - ch / 2, xr, yc + ch / 2 + 1, colour);
  const int xs = x + W / 2 - 1;
  Line(dc, xs, yc - ch / 2 + 1, xs, yc + ch / 2, colour);
}

bool IsSelectedElement(const LadElement& element, const PageViewState& page) {
  for (const SelectedCell& cell : page.SelectedCells) {
    if (cell.Column == element.Column && cell.Row == element.Row && cell.InCell == element.InCell) return true;
  }
  return false;
}

void DrawOperandTexts(DrawContext& dc, std::vector<OperandDisplay>& displays,
                      Rect (*place)(const LadElement&, int, int, int), const LadElement& element, int x, int y,
                      unsigned alignment) {
  for (size_t i = 0; i < displays.size(); ++i) {
    const Rect rect = place(element, x, y, static_cast<int>(i));
    if (IsEmpty(rect)) continue;
    FitOperandValue(dc, displays[i], rect.right - rect.left);
    DrawColoredTextRuns(dc, displays[i].Text, rect, 0, displays[i].Runs, alignment);
  }
}

// The operand texts of contacts and coils: every OperandIn display, then every OperandOut.
void DrawContactOperands(DrawContext& dc, ElementDisplay& display, const LadElement& element, int x, int y) {
  DrawOperandTexts(dc, display.OperandIn, OperandInTextRect, element, x, y, kCentred);
  DrawOperandTexts(dc, display.OperandOut, OperandOutTextRect, element, x, y, kCentred);
}

// A symbol drawn around its name (contact bars, coil arcs) is widened, up to the pin stubs of
// its cell, until the name fits between the bars: "NEXT" inside a coil, a long compare in a
// contact. `half` is the symbol's own half width, `inset` how far the name keeps from a bar.
int FittedSymbolHalf(DrawContext& dc, const std::wstring& name, int half, int inset) {
  const LadderMetrics& m = GetLadderMetrics();
  const int needed = (dc.MeasureText(name, 0).width + 1) / 2 + inset + 1;
  const int most = m.CellWidth / 2 - m.PinLength;
  return std::max(half, std::min(needed, most));
}

// The name inside a symbol widened to `half`: the name rectangle spread to the bars less the inset.
void DrawNameInSymbol(DrawContext& dc, const LadElement& element, const ElementDisplay& display, int x, int y,
                      int half, int inset) {
  Rect rect = ElementNameRect(element, x, y);
  const int middle = x + GetLadderMetrics().CellWidth / 2;
  rect.left = std::min(rect.left, middle - half + inset);
  rect.right = std::max(rect.right, middle + half - inset);
  DrawColoredText(dc, element.Name, rect, 0, display.NameColour, kCentred);
}

// The bold title of a box: the name, and "#" with the variant in its own colour.
void DrawBoxTitle(DrawContext& dc, const LadElement& element, const ElementDisplay& display, int x, int y) {
  const Rect rect = ElementNameRect(element, x, y);
  if (element.Variant == 0) {
    DrawColoredText(dc, element.Name, rect, kFontBold, display.NameColour, kCentred);
    return;
  }
  std::wstring text;
  std::vector<ColorRun> runs;
  AppendIndexedNameRuns(element.Variant, text, element.Name, runs);
  if (!runs.empty()) runs[0].colour = display.NameColour;
  if (runs.size() > 1) runs[1].colour = display.VariantColour;
  DrawColoredTextRuns(dc, text, rect, kFontBold, runs, kCentred);
}

bool IsMarkedPin(const PageViewState& page, const LadElement& element, bool powerIn, int index) {
  if (!IsCellCursorOnCurrentNetwork(page) || !page.PinMarker.Active) return false;
  if (page.PinMarker.Column != element.Column || page.PinMarker.Row != element.Row) return false;
  return (powerIn ? page.PinMarker.IndexA : page.PinMarker.IndexB) == index;
}

void PaintBlock(DrawContext& dc, int x, int y, const LadElement& element, ElementDisplay& display,
                const PageViewState& page) {
  DrawBox(dc, element, x, y, display.LineColour, IsCurrentNetworkSelected(page) ? 21 : 19);
  DrawBoxTitle(dc, element, display, x, y);
  for (size_t i = 0; i < display.PowerIn.size(); ++i) {
    const Rect rect = PowerInLabelRect(element, x, y, static_cast<int>(i));
    if (IsMarkedPin(page, element, true, static_cast<int>(i))) FillRectWithBrush(dc, rect, 14);
    DrawColoredText(dc, display.PowerIn[i].Text, rect, 0, display.PowerIn[i].Colour, kLeftMiddle);
  }
  for (size_t i = 0; i < display.PowerOut.size(); ++i) {
    const Rect rect = PowerOutLabelRect(element, x, y, static_cast<int>(i));
    if (IsMarkedPin(page, element, false, static_cast<int>(i))) FillRectWithBrush(dc, rect, 14);
    DrawColoredText(dc, display.PowerOut[i].Text, rect, 0, display.PowerOut[i].Colour, kRightMiddle);
  }
  DrawOperandTexts(dc, display.OperandId, OperandIdTextRect, element, x, y, kCentred);
  for (size_t i = 0; i < display.OperandIn.size(); ++i) {
    const int index = static_cast<int>(i);
    DrawColoredText(dc, display.OperandIn[i].Name, OperandInLabelRect(element, x, y, index), 0,
                    display.OperandIn[i].NameColour, kLeftMiddle);
  }
  DrawOperandTexts(dc, display.OperandIn, OperandInTextRect, element, x, y, kRightMiddle);
  for (size_t i = 0; i < display.OperandOut.size(); ++i) {
    const int index = static_cast<int>(i);
    DrawColoredText(dc, display.OperandOut[i].Name, OperandOutLabelRect(element, x, y, index), 0,
                    display.OperandOut[i].NameColour, kRightMiddle);
  }
  DrawOperandTexts(dc, display.OperandOut, OperandOutTextRect, element, x, y, kLeftMiddle);
}

void BuildOperandList(const std::vector<OperandDef>& definitions, const std::vector<ElementOperand>& operands,
                      const PageViewState& page, bool selected, OnlineCacheSnapshot& online,
                      std::vector<OperandDisplay>& out, std::vector<OperandValueFlag>& flags,
                      bool ipAddressFirst = false) {
  out.resize(operands.size());
  for (size_t i = 0; i < operands.size(); ++i) {
    if (i < definitions.size()) {
      BuildOperandDisplay(definitions[i], operands[i], page, selected, online, out[i], ipAddressFirst && i == 0);
    } else {
      // Counts always match a found definition; a shorter list shows the text as not admitted.
      out[i].Name = operands[i].Name;
      out[i].NameColour = selected ? 13 : 10;
      out[i].Text = operands[i].Text;
      out[i].Runs = {ColorRun{static_cast<int>(operands[i].Text.size()), out[i].NameColour}};
    }
    flags.push_back(OperandValueFlag{out[i].HasValue ? 1 : 0, out[i].Value});
  }
}

}  // namespace

// ---------------------------------------------------------------- displays

PinDisplay BuildPinDisplay(const ElementPin& pin, const std::wstring* definitionName, bool selected) {
  PinDisplay display;
  display.Text = pin.Name;
  display.Colour = selected ? 13 : (definitionName != nullptr && *definitionName == pin.Name ? 7 : 10);
  return display;
}

void BuildOperandDisplay(const OperandDef& definition, const ElementOperand& operand, const PageViewState& page,
                         bool selected, OnlineCacheSnapshot& online, OperandDisplay& display, bool ipAddress) {
  display = OperandDisplay();
  display.Name = operand.Name;
  display.NameColour = selected ? 13 : (operand.Name == definition.Name ? 7 : 10);
  OperandValueFlag flag;
  OperandValueSpan span;
  AppendOperandDisplay(operand.Text, definition, page, selected, online, display.Text, display.Runs, flag, ipAddress,
                       &span);
  display.HasValue = flag.Known != 0;
  display.Value = flag.Value;
  display.ValueRun = span.Run;
  display.RealValue = span.Real;
}

void FitOperandValue(DrawContext& dc, OperandDisplay& display, int width) {
  if (!display.RealValue || display.ValueRun < 0 || static_cast<size_t>(display.ValueRun) >= display.Runs.size()) return;
  if (dc.MeasureText(display.Text, 0).width <= width) return;
  size_t start = 0;
  for (int i = 0; i < display.ValueRun; ++i) start += static_cast<size_t>(std::max(display.Runs[i].length, 0));
  const size_t length = static_cast<size_t>(std::max(display.Runs[display.ValueRun].length, 0));
  if (start + length > display.Text.size()) return;
  const std::wstring value = display.Text.substr(start, length);
  wchar_t* end = nullptr;
  const double number = std::wcstod(value.c_str(), &end);
  if (end == value.c_str()) return;
  std::wstring text;
  std::wstring shorter;
  for (int digits = 5; digits >= 2; --digits) {
    shorter = CompactRealText(number, digits);
    text = display.Text.substr(0, start) + shorter + display.Text.substr(start + length);
    if (dc.MeasureText(text, 0).width <= width) break;
  }
  display.Text = std::move(text);
  display.Runs[display.ValueRun].length = static_cast<int>(shorter.size());
}

void BuildElementDisplay(const LadElement& element, const PageViewState& page, OnlineCacheSnapshot& online,
                         ElementDisplay& display) {
  display = ElementDisplay();
  const bool selected = IsCurrentNetworkSelected(page);
  if (selected) {
    display.LineColour = display.PowerFlowColour = display.NameColour = display.VariantColour = 13;
  }
  const FunLadRecord* definition = LadElement::FindDefinition(element);
  if (definition == nullptr) {
    const int colour = selected ? 13 : 10;
    display.LineColour = display.PowerFlowColour = display.NameColour = display.VariantColour = colour;
    for (const ElementPin& pin : element.PowerIn) display.PowerIn.push_back({pin.Name, colour});
    for (const ElementPin& pin : element.PowerOut) display.PowerOut.push_back({pin.Name, colour});
    auto plain = [colour](const std::vector<ElementOperand>& operands, std::vector<OperandDisplay>& out) {
      for (const ElementOperand& operand : operands) {
        OperandDisplay shown;
        shown.Name = operand.Name;
        shown.NameColour = colour;
        shown.Text = operand.Text;
        if (!operand.Text.empty()) shown.Runs = {ColorRun{static_cast<int>(operand.Text.size()), colour}};
        out.push_back(std::move(shown));
      }
    };
    plain(element.OperandId, display.OperandId);
    plain(element.OperandIn, display.OperandIn);
    plain(element.OperandOut, display.OperandOut);
    display.PowerFlow = -1;
    return;
  }

  for (size_t i = 0; i < element.PowerIn.size(); ++i) {
    display.PowerIn.push_back(
        BuildPinDisplay(element.PowerIn[i], i < definition->PowerIn.size() ? &definition->PowerIn[i] : nullptr, selected));
  }
  for (size_t i = 0; i < element.PowerOut.size(); ++i) {
    display.PowerOut.push_back(BuildPinDisplay(
        element.PowerOut[i], i < definition->PowerOut.size() ? &definition->PowerOut[i] : nullptr, selected));
  }
  // The operands as one instruction, so that a count is painted against what it counts from.
  std::vector<const OperandDef*> slots;
  std::vector<std::wstring> written;
  for (const auto* list : {&definition->OperandId, &definition->OperandIn, &definition->OperandOut}) {
    for (const OperandDef& slot : *list) slots.push_back(&slot);
  }
  for (const auto* list : {&element.OperandId, &element.OperandIn, &element.OperandOut}) {
    for (const ElementOperand& operand : *list) written.push_back(operand.Text);
  }
  std::vector<OperandDef> limited;
  std::vector<OperandDef> idSlots;
  std::vector<OperandDef> inSlots;
  std::vector<OperandDef> outSlots;
  const bool related = SlotsOfInstruction(slots, written, page, limited);
  if (related) {
    const auto idEnd = limited.begin() + static_cast<std::ptrdiff_t>(definition->OperandId.size());
    const auto inEnd = idEnd + static_cast<std::ptrdiff_t>(definition->OperandIn.size());
    idSlots.assign(limited.begin(), idEnd);
    inSlots.assign(idEnd, inEnd);
    outSlots.assign(inEnd, limited.end());
  }
  std::vector<OperandValueFlag> flags;
  BuildOperandList(related ? idSlots : definition->OperandId, element.OperandId, page, selected, online,
                   display.OperandId, flags);
  BuildOperandList(related ? inSlots : definition->OperandIn, element.OperandIn, page, selected, online,
                   display.OperandIn, flags, element.Name == kIpAddressElementName);
  BuildOperandList(related ? outSlots : definition->OperandOut, element.OperandOut, page, selected, online,
                   display.OperandOut, flags);
  display.PowerFlow = EvaluateLadPowerFlow(online, *definition, flags);
}

// ---------------------------------------------------------------- shapes

void DrawHorizontalLink(DrawContext& dc, int x, int y, int colour) {
  const int yc = MiddleY(y);
  Line(dc, x, yc, x + GetLadderMetrics().CellWidth, yc, colour);
}

void DrawVerticalLink(DrawContext& dc, int x, int y, int colour) {
  const LadderMetrics& m = GetLadderMetrics();
  const int yc = MiddleY(y);
  Line(dc, x + m.CellWidth - 1, yc, x + m.CellWidth - 1, yc + m.CellHeight + 1, colour);
}

void DrawContact(DrawContext& dc, int x, int y, int colour, int halfWidth) {
  ContactShape(dc, x, y, colour, halfWidth > 0 ? halfWidth : GetLadderMetrics().ContactWidth / 2);
}

void DrawWideContact(DrawContext& dc, int x, int y, int colour, int halfWidth) {
  ContactShape(dc, x, y, colour, halfWidth > 0 ? halfWidth : GetLadderMetrics().ContactWidth);
}

void DrawNegatedContact(DrawContext& dc, int x, int y, int colour) {
  DrawContact(dc, x, y, colour);
  Slash(dc, x, y, colour);
}

void DrawRisingEdgeContact(DrawContext& dc, int x, int y, int colour) {
  EdgeContactFrame(dc, x, y, colour);
  const LadderMetrics& m = GetLadderMetrics();
  const int xs = x + m.CellWidth / 2 - 1;
  const int yt = MiddleY(y) - m.ContactHeight / 2;
  for (int i = 1; i <= 3; ++i) {
    Line(dc, xs - i, yt + i + 1, xs - i, yt + 5, colour);
    Line(dc, xs + i, yt + i + 1, xs + i, yt + 5, colour);
  }
}

void DrawFallingEdgeContact(DrawContext& dc, int x, int y, int colour) {
  EdgeContactFrame(dc, x, y, colour);
  const LadderMetrics& m = GetLadderMetrics();
  const int xs = x + m.CellWidth / 2 - 1;
  const int yb = MiddleY(y) + m.ContactHeight / 2;
  for (int i = 1; i <= 3; ++i) {
    Line(dc, xs - i, yb - 4, xs - i, yb - i, colour);
    Line(dc, xs + i, yb - 4, xs + i, yb - i, colour);
  }
}

void DrawInvert(DrawContext& dc, int x, int y, int colour) {
  DrawHorizontalLink(dc, x, y, colour);
  Slash(dc, x, y, colour);
}

void DrawCoil(DrawContext& dc, int x, int y, int colour, int halfWidth) {
  const LadderMetrics& m = GetLadderMetrics();
  const int W = m.CellWidth;
  const int yc = MiddleY(y);
  const int kw = halfWidth > 0 ? 2 * halfWidth : m.CoilWidth;
  const int q = m.CoilHeight / 4;
  Line(dc, x, yc, x + W / 2 - kw / 2, yc, colour);
  Line(dc, x + kw / 2 + W / 2, yc, x + W, yc, colour);
  const int xl = x + W / 2 - kw / 2;
  Line(dc, xl, yc - q, xl, yc + q + 1, colour);
  Line(dc, xl, yc - q, xl + q, yc - 2 * q, colour);
  Line(dc, xl, yc + q, xl + q, yc + 2 * q, colour);
  const int xr = x + W / 2 + kw / 2 - 1;
  Line(dc, xr, yc - q, xr, yc + q + 1, colour);
  Line(dc, xr, yc - q, xr - q, yc - 2 * q, colour);
  Line(dc, xr, yc + q, xr - q, yc + 2 * q, colour);
}

void DrawBox(DrawContext& dc, const LadElement& element, int x, int y, int lineColour, int fillBrush) {
  const LadderMetrics& m = GetLadderMetrics();
  const int W = m.CellWidth;
  const int H = m.CellHeight;
  const int L = m.PinLength;
  const int P = LadElement::LargestPowerSlot(element);
  auto yPin = [&](int s) { return y + s * H + H / 2; };
  auto yOp = [&](int s) { return y + (P + 1) * H + (H * s) / 3 + H / 6; };
  dc.DrawRectangle(ElementBoxRect(element, x, y), SolidPen(lineColour), fillBrush);
  for (const ElementPin& pin : element.PowerIn) Line(dc, x, yPin(pin.Slot), x + L, yPin(pin.Slot), lineColour);
  for (const ElementPin& pin : element.PowerOut) Line(dc, x + W - L, yPin(pin.Slot), x + W, yPin(pin.Slot), lineColour);
  for (const ElementOperand& operand : element.OperandIn) Line(dc, x, yOp(operand.Slot), x + L, yOp(operand.Slot), lineColour);
  for (const ElementOperand& operand : element.OperandOut) {
    Line(dc, x + W - L, yOp(operand.Slot), x + W, yOp(operand.Slot), lineColour);
  }
}

void DrawFxBox(DrawContext& dc, const LadElement& element, int x, int y, int lineColour) {
  const LadderMetrics& m = GetLadderMetrics();
  const int W = m.CellWidth;
  const int fw = m.FxBoxWidth;
  const int fh = m.FxBoxHeight;
  const int yc = MiddleY(y);
  const int a = LadElement::WidthInCells(element) * W;
  if (!element.PowerIn.empty()) Line(dc, x, yc, x + W / 2 - fw / 2, yc, lineColour);
  if (!element.PowerOut.empty()) Line(dc, x + fw / 2 + a - W / 2, yc, x + a, yc, lineColour);
  const int xl = x + W / 2 - fw / 2;
  Line(dc, xl, yc - fh / 2, xl, yc + fh / 2 + 1, lineColour);
  Line(dc, xl, yc - fh / 2, xl + fh / 4, yc - fh / 2, lineColour);
  Line(dc, xl, yc + fh / 2, xl + fh / 4, yc + fh / 2, lineColour);
  const int xr = x + fw / 2 + a - W / 2 - 1;
  Line(dc, xr, yc - fh / 2, xr, yc + fh / 2 + 1, lineColour);
  Line(dc, xr, yc - fh / 2, xr - fh / 4, yc - fh / 2, lineColour);
  Line(dc, xr, yc + fh / 2, xr - fh / 4, yc + fh / 2, lineColour);
}

void PaintPowerFlowMark(DrawContext& dc, const LadElement& element, int x, int y, int colour, int state) {
  if (state != 1 && state != 2) return;
  const Rect rect = ElementSymbolRect(element, x, y);
  if (IsEmpty(rect)) return;
  if (state == 1) {
    FillRectWithBrush(dc, rect, colour);
  } else {
    dc.FrameRectangle(rect, SolidPen(colour));
  }
}

// ---------------------------------------------------------------- elements

void PaintLadElement(DrawContext& dc, int x, int y, const LadElement& element, const PageViewState& page,
                     OnlineCacheSnapshot& online) {
  CheckLadElement(element);
  if (element.Kind == kLadKindLine) {
    DrawHorizontalLink(dc, x, y, IsCurrentNetworkSelected(page) ? 13 : 7);
    return;
  }
  ElementDisplay display;
  BuildElementDisplay(element, page, online, display);
  switch (element.Kind) {
    case kLadKindCont: {
      const LadderMetrics& m = GetLadderMetrics();
      const int half = FittedSymbolHalf(dc, element.Name, m.ContactWidth / 2, m.ContactWidth / 8);
      PaintPowerFlowMark(dc, element, x, y, display.PowerFlowColour, display.PowerFlow);
      DrawContact(dc, x, y, display.LineColour, half);
      DrawNameInSymbol(dc, element, display, x, y, half, m.ContactWidth / 8);
      DrawContactOperands(dc, display, element, x, y);
      return;
    }
    case kLadKindCoil:
    case kLadKindFxCoil: {
      const LadderMetrics& m = GetLadderMetrics();
      const int half = FittedSymbolHalf(dc, element.Name, m.CoilWidth / 2, m.CoilWidth / 8);
      PaintPowerFlowMark(dc, element, x, y, display.PowerFlowColour, display.PowerFlow);
      DrawCoil(dc, x, y, display.LineColour, half);
      DrawNameInSymbol(dc, element, display, x, y, half, m.CoilWidth / 8);
      DrawContactOperands(dc, display, element, x, y);
      return;
    }
    case kLadKindFxCont:
      PaintPowerFlowMark(dc, element, x, y, display.PowerFlowColour, display.PowerFlow);
      if (element.Name == L"LD") {
        DrawContact(dc, x, y, display.LineColour);
      } else if (element.Name == L"LDI") {
        DrawNegatedContact(dc, x, y, display.LineColour);
      } else if (element.Name == L"LDP") {
        DrawRisingEdgeContact(dc, x, y, display.LineColour);
      } else if (element.Name == L"LDF") {
        DrawFallingEdgeContact(dc, x, y, display.LineColour);
      } else if (element.Name == L"INV") {
        DrawInvert(dc, x, y, display.LineColour);
      } else {
        const LadderMetrics& m = GetLadderMetrics();
        const int half = FittedSymbolHalf(dc, element.Name, m.ContactWidth, m.ContactWidth / 4);
        DrawWideContact(dc, x, y, display.LineColour, half);
        DrawNameInSymbol(dc, element, display, x, y, half, m.ContactWidth / 4);
      }
      DrawContactOperands(dc, display, element, x, y);
      return;
    case kLadKindBlock:
      PaintBlock(dc, x, y, element, display, page);
      return;
    case kLadKindFxBlock:
      DrawFxBox(dc, element, x, y, display.LineColour);
      DrawBoxTitle(dc, element, display, x, y);
      DrawOperandTexts(dc, display.OperandId, OperandIdTextRect, element, x, y, kCentred);
      DrawOperandTexts(dc, display.OperandIn, OperandInTextRect, element, x, y, kLeftMiddle);
      DrawOperandTexts(dc, display.OperandOut, OperandOutTextRect, element, x, y, kLeftMiddle);
      return;
    default:
      throw ExceptionLogicError();
  }
}

void PaintSelectionFrames(DrawContext& dc, const LadElement& element, int x, int y) {
  for (const Rect& r : ElementHitRects(element)) {
    dc.FrameRectangle(Rect{r.left + x, r.top + y, r.right + x, r.bottom + y}, SolidPen(21));
  }
}

// ---------------------------------------------------------------- grid

namespace {

void PaintGridElement(DrawContext& dc, const LadElement& element, int x, int y, int linkColour,
                      const PageViewState& page, OnlineCacheSnapshot& online) {
  if (element.InCell) {
    PaintLadElement(dc, x, y, element, page, online);
  } else {
    CheckLadElement(element);
    DrawVerticalLink(dc, x, y, linkColour);
  }
}

}  // namespace

void PaintLadderGrid(DrawContext& dc, const LadderGrid& grid, int x, int y, const PageViewState& page,
                     OnlineCacheSnapshot& online) {
  const TextScaleScope scale(dc, GetLadderMetrics().Zoom);
  const bool selected = IsCurrentNetworkSelected(page);
  const Rect body = LadderBodyRect(page, grid, x, y);
  if (!IsEmpty(body)) FillRectWithBrush(dc, body, selected ? 21 : 19);
  Rect cursor;
  LadderCursorRect(page, grid, x, y, cursor);
  if (!IsEmpty(cursor)) FillRectWithBrush(dc, cursor, 14);
  const bool cursorHere = IsCellCursorOnCurrentNetwork(page);
  for (const LadElement& element : grid.Elements) {
    if (cursorHere && IsSelectedElement(element, page)) continue;
    const PagePoint origin = LadElementOrigin(element, x, y);
    PaintGridElement(dc, element, origin.x, origin.y, selected ? 13 : 7, page, online);
  }
}

void PaintSelectedElements(DrawContext& dc, int x, int y, const LadderGrid& grid, const PageViewState& page,
                           OnlineCacheSnapshot& online) {
  if (!IsCellCursorOnCurrentNetwork(page)) return;
  const TextScaleScope scale(dc, GetLadderMetrics().Zoom);
  int dx = 0;
  int dy = 0;
  if (page.MouseState == kMouseDragging) {
    dx = page.MousePoint.x - page.PressPoint.x;
    dy = page.MousePoint.y - page.PressPoint.y;
  }
  for (const LadElement& element : grid.Elements) {
    if (!IsSelectedElement(element, page)) continue;
    const PagePoint origin = LadElementOrigin(element, x, y);
    PaintGridElement(dc, element, origin.x + dx, origin.y + dy, 7, page, online);
    PaintSelectionFrames(dc, element, origin.x + dx, origin.y + dy);
  }
}

}  // namespace Brenno
