#include "core/program/stl_painter.h"

#include <algorithm>

#include "core/draw/gdi_resource_set.h"
#include "core/draw/text_drawing.h"
#include "core/env/instruction_library.h"
#include "core/env/ip_address.h"
#include "core/program/network_painter.h"
#include "core/program/operand_display.h"
#include "core/program/paint_state.h"
#include "core/program/definition_choice.h"
#include "core/program/program_services.h"

namespace Brenno {

namespace {

constexpr int kLineHeight = 13;

// "  //comment" (no blanks before "//" for a line without mnemonic).
void AppendCommentPart(const StlLine& line, int colour, StlLineView& view) {
  if (line.Comments.empty()) return;
  std::wstring part = line.Mnemonic.empty() ? L"//" : L"  //";
  part += line.Comments.front();
  AppendRun(view.Text, view.Runs, part, colour);
}

}  // namespace

void BuildStlLineView(const StlLine& line, const PageViewState& page, OnlineCacheSnapshot& online,
                      StlLineView& view) {
  view = StlLineView();
  const bool selected = IsCurrentNetworkSelected(page);
  auto colour = [selected](int c) { return selected ? 13 : c; };

  const ProgramServices& services = CurrentProgramServices();
  std::wstring mnemonic = line.Mnemonic;
  services.ReplacePageNameByAddress(mnemonic);
  const FunStlRecord* found = FindStlLineDefinition(services.Library(), mnemonic, line.Operands, page.PageId);

  if (found == nullptr) {
    view.MarkColour = colour(10);
    StlLine body = line;
    body.Comments.clear();
    std::wstring text;
    FormatStlLine(body, text);
    AppendRun(view.Text, view.Runs, text, colour(10));
    AppendCommentPart(line, colour(1), view);
    view.OperandFlags.assign(line.Operands.size(), OperandValueFlag{});
    view.PowerFlow = -1;
    return;
  }

  const FunStlRecord& definition = *found;
  const bool ipAddressInstruction =
      &definition - services.Library().FunStlList.data() == kIpAddressInstructionIndex;
  view.MarkColour = colour(8);
  AppendRun(view.Text, view.Runs, line.Mnemonic, colour(2));
  if (line.Variant != 0) AppendRun(view.Text, view.Runs, L"#" + std::to_wstring(line.Variant), colour(6));
  view.OperandFlags.resize(line.Operands.size());
  std::vector<const OperandDef*> slots;
  for (const OperandDef& slot : definition.Operands) slots.push_back(&slot);
  std::vector<OperandDef> limited;
  const bool related = SlotsOfInstruction(slots, line.Operands, page, limited);
  for (size_t i = 0; i < line.Operands.size(); ++i) {
    AppendRun(view.Text, view.Runs, i == 0 ? L"  " : L", ", colour(0));
    AppendOperandDisplay(line.Operands[i], related ? limited[i] : definition.Operands[i], page, selected, online,
                         view.Text, view.Runs,
                         view.OperandFlags[i], ipAddressInstruction && i == 0);
  }
  AppendCommentPart(line, colour(1), view);
  view.PowerFlow = EvaluateStlPowerFlow(online, view.OperandFlags, definition);
}

void DestroyStlLineView(StlLineView& view) {
  std::wstring().swap(view.Text);
  std::vector<ColorRun>().swap(view.Runs);
  std::vector<OperandValueFlag>().swap(view.OperandFlags);
}

void DrawPowerFlowMark(DrawContext& dc, int x, int y, int state, int colour) {
  const Rect mark{x + 410, y, x + 414, y + kLineHeight};
  if (state == 1) {
    FillRectWithBrush(dc, mark, colour);
  } else if (state == 2) {
    dc.FrameRectangle(mark, SolidPen(colour));
  }
}

void PaintStlLine(DrawContext& dc, const StlLine& line, int x, int y, const PageViewState& page,
                  OnlineCacheSnapshot& online) {
  StlLineView view;
  BuildStlLineView(line, page, online, view);
  DrawPowerFlowMark(dc, x, y, view.PowerFlow, view.MarkColour);
  DrawColoredTextRuns(dc, view.Text, Rect{x + 6, y, x + 410, y + kLineHeight}, 0, view.Runs, kTextVCenter);
}

void PaintStlBody(DrawContext& dc, const std::vector<StlLine>& lines, int x, int y, const PageViewState& page,
                  OnlineCacheSnapshot& online) {
  if (IsStlEditorOnCurrentNetwork(page)) return;
  const int height = kLineHeight * StlBodyLineCount(page, lines) + 4;
  FillRectWithBrush(dc, Rect{x, y, x + 420, y + height}, IsCurrentNetworkSelected(page) ? 21 : 19);
  if (IsCellCursorOnCurrentNetwork(page)) {
    Rect cursor;
    StlLineRect(cursor, x, y, page);
    FillRectWithBrush(dc, cursor, 14);
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    PaintStlLine(dc, lines[i], x, y + 2 + kLineHeight * static_cast<int>(i), page, online);
  }
  // An empty program says where it is typed (the comment box above has a hint of its own).
  const bool empty = std::all_of(lines.begin(), lines.end(), [](const StlLine& line) {
    return line.Mnemonic.empty() && line.Operands.empty() && line.Comments.empty();
  });
  if (empty && !IsCurrentNetworkSelected(page)) DrawHintText(dc, StlBodyHint(), Rect{x + 6, y + 2, x + 410, y + 2 + kLineHeight});
}

}  // namespace Brenno
