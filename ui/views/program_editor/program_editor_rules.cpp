#include "ui/views/program_editor/program_editor_rules.h"

#include <algorithm>

#include "core/link/comm_state.h"
#include "core/program/network.h"
#include "core/program/program_block.h"
#include "core/program/program_page.h"
#include "ui/views/program_editor/program_page_lock.h"

namespace Brenno {

ProgramKeyAction DecideProgramKey(int key, bool ctrl, bool canEdit, int viewMode) {
  if (!canEdit || ctrl) return ProgramKeyAction::None;
  switch (key) {
    case kKeyPageUp: return ProgramKeyAction::PageUp;
    case kKeyPageDown: return ProgramKeyAction::PageDown;
    case kKeyLeft: return ProgramKeyAction::MoveLeft;
    case kKeyRight: return ProgramKeyAction::MoveRight;
    case kKeyUp: return ProgramKeyAction::MoveUp;
    case kKeyDown: return ProgramKeyAction::MoveDown;
    default: break;
  }
  if (viewMode != kViewModeLad) return ProgramKeyAction::None;
  switch (key) {
    case kKeyEnter: return ProgramKeyAction::OpenOperandEditor;
    case kKeyEscape: return ProgramKeyAction::ChooseSelectTool;
    case kKeyDelete: return ProgramKeyAction::Erase;
    case kKeyH: return ProgramKeyAction::InsertHorizontalLine;
    case kKeyV: return ProgramKeyAction::InsertVerticalLine;
    case kKeyF2: return ProgramKeyAction::InputPositiveTransition;
    case kKeyF3: return ProgramKeyAction::InputNegativeTransition;
    case kKeyF4: return ProgramKeyAction::InsertInvert;
    case kKeyF5: return ProgramKeyAction::InputOpenContact;
    case kKeyF6: return ProgramKeyAction::InputCloseContact;
    case kKeyF7: return ProgramKeyAction::InputCoil;
    case kKeyF8: return ProgramKeyAction::InputEmpty;
    case kKeyF9: return ProgramKeyAction::ListContacts;
    case kKeyF10: return ProgramKeyAction::ListCoils;
    case kKeyF11: return ProgramKeyAction::ListBoxes;
    default: return ProgramKeyAction::None;
  }
}

bool OpensInstructionEditor(wchar_t ch) {
  if ((ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z')) {
    return ch != L'H' && ch != L'V' && ch != L'h' && ch != L'v';
  }
  switch (ch) {
    case L'=':
    case L'<':
    case L'>':
    case L'+':
    case L'-':
    case L'*':
    case L'/':
      return true;
    default:
      return false;
  }
}

int ToolKey(int tool) {
  switch (tool) {
    case kToolVertLine: return kKeyV;
    case kToolHorzLine: return kKeyH;
    case kToolContact: return kKeyF9;
    case kToolCoil: return kKeyF10;
    case kToolBox: return kKeyF11;
    default: return 0;
  }
}

int ElementListKind(ProgramKeyAction action, bool fxMode) {
  switch (action) {
    case ProgramKeyAction::ListContacts: return fxMode ? 5 : 2;
    case ProgramKeyAction::ListCoils: return fxMode ? 6 : 3;
    case ProgramKeyAction::ListBoxes: return fxMode ? 7 : 4;
    default: return -1;
  }
}

const std::vector<int>& ZoomCommands() {
  static const std::vector<int> commands{PvZoom25, PvZoom50, PvZoom75, PvZoom100,
                                         PvZoom125, PvZoom150, PvZoom175, PvZoom200};
  return commands;
}

int ZoomPercentOfCommand(int offset) {
  const std::vector<int>& commands = ZoomCommands();
  const auto found = std::find(commands.begin(), commands.end(), offset);
  return found == commands.end() ? 0 : 25 * static_cast<int>(found - commands.begin() + 1);
}

bool IsProgramViewCommand(int offset) {
  return (offset >= PvUndo && offset <= PvFindReplace) || (offset >= PvErase && offset <= PvZoom200) ||
         (offset >= PvOpenContact && offset <= PvInvertLine) ||
         (offset >= PvInsertInterrupt && offset <= PvDeleteSubroutine) ||
         (offset >= PvZoom75 && offset <= PvZoom25) || offset == PvShowContext || offset == PvPasswordProtected;
}

CommandStatus ProgramCommandStatus(int offset, const ProgramCommandGates& g) {
  CommandStatus status;
  if (!IsProgramViewCommand(offset)) return status;
  const bool editable = g.Shown && CanEditProgramBlock(g.CommState, g.Locked);
  if (const int zoom = ZoomPercentOfCommand(offset); zoom != 0) {
    status.Enabled = g.Shown && CanShowProgramBlock(g.CommState, g.Locked);
    status.Checked = g.ViewZoom == zoom;
    return status;
  }
  if (offset >= PvToolSelect && offset <= PvToolBox) {
    status.Enabled = editable;
    status.Checked = g.Tool == offset - PvToolSelect;
    return status;
  }
  switch (offset) {
    case PvUndo: status.Enabled = editable && g.UndoPosition > 0; break;
    case PvRedo: status.Enabled = editable && g.UndoPosition < g.UndoSteps; break;
    case PvErase: status.Enabled = editable && g.CanErase; break;
    case PvDeleteRow: status.Enabled = editable && g.CanDeleteRow; break;
    case PvInsertRow: status.Enabled = editable && g.CanInsertRow; break;
    case PvDeleteColumn: status.Enabled = editable && g.CanDeleteColumn; break;
    case PvInsertColumn: status.Enabled = editable && g.CanInsertColumn; break;
    case PvInsertInterrupt: status.Enabled = editable && g.CanAddInterrupt; break;
    case PvInsertSubroutine: status.Enabled = editable && g.CanAddSubroutine; break;
    case PvDeleteInterrupt: status.Enabled = editable && g.InInterruptTable; break;
    case PvDeleteSubroutine: status.Enabled = editable && g.InSubroutineTable; break;
    case PvShowContext: status.Enabled = g.Locked; break;
    case PvPasswordProtected: status.Enabled = true; break;
    default: status.Enabled = editable; break;
  }
  return status;
}

int VerticalLineStep(int viewMode, const LadderMetrics& metrics) {
  if (viewMode == kViewModeStl) return 13;
  if (viewMode == kViewModeLad) return metrics.CellWidth;
  return 1;
}

int HorizontalLineStep(int viewMode, const LadderMetrics& metrics) {
  if (viewMode == kViewModeStl) return 13;
  if (viewMode == kViewModeLad) return metrics.CellHeight;
  return 1;
}

ScrollTarget CentreSelection(const Rect& inView, const Rect& selection) {
  ScrollTarget target;
  if (selection.left == selection.right) return target;
  const int viewWidth = inView.right - inView.left;
  const int width = selection.right - selection.left;
  if (width <= viewWidth && (selection.left <= inView.left || selection.right >= inView.right)) {
    target.Horizontal = selection.left - (viewWidth - width) / 2;
  }
  const int viewHeight = inView.bottom - inView.top;
  const int height = selection.bottom - selection.top;
  if (height <= viewHeight && (selection.top <= inView.top || selection.bottom >= inView.bottom)) {
    target.Vertical = selection.top - (viewHeight - height) / 2;
  }
  return target;
}

namespace {

// One axis of RevealRect: the new start of the view, empty when it stays.
std::optional<int> RevealSpan(int viewStart, int viewEnd, int start, int end) {
  const int size = viewEnd - viewStart;
  int target = viewStart;
  if (end - start >= size || start < viewStart) {
    target = start;
  } else if (end > viewEnd) {
    target = end - size;
  }
  if (target == viewStart) return std::nullopt;
  return target;
}

}  // namespace

ScrollTarget RevealRect(const Rect& inView, const Rect& rect) {
  ScrollTarget target;
  target.Horizontal = RevealSpan(inView.left, inView.right, rect.left, rect.right);
  target.Vertical = RevealSpan(inView.top, inView.bottom, rect.top, rect.bottom);
  return target;
}

Rect FitIntoClient(Rect rect, int clientWidth, int clientHeight) {
  if (rect.bottom > clientHeight) {
    const int overlap = rect.bottom - clientHeight;
    rect.top -= overlap;
    rect.bottom -= overlap;
    rect.top = std::max(rect.top, 0);
  }
  if (rect.right > clientWidth) {
    const int overlap = rect.right - clientWidth;
    rect.left -= overlap;
    rect.right -= overlap;
    rect.left = std::max(rect.left, 0);
  }
  return rect;
}

std::optional<Rect> PlaceInstructionEditor(const Rect& cell, int clientWidth, int clientHeight,
                                           const LadderMetrics& metrics) {
  if (clientWidth < metrics.CellWidth || clientHeight < metrics.CellHeight) return std::nullopt;
  return FitIntoClient(Rect{cell.left, cell.bottom, cell.left + 2 * metrics.CellWidth, cell.bottom + 17}, clientWidth,
                       clientHeight);
}

std::optional<Rect> PlaceElementList(const Rect& cell, int listWidth, int height, int clientWidth,
                                     int clientHeight, const LadderMetrics& metrics) {
  if (clientWidth < metrics.CellWidth || clientHeight < metrics.CellHeight) return std::nullopt;
  const int width = std::max(listWidth, cell.right - cell.left);
  return FitIntoClient(Rect{cell.left, cell.top, cell.left + width, cell.top + height}, clientWidth, clientHeight);
}

void ApplySelectionBand(ProgramPage& page, PagePoint press, PagePoint current) {
  page.ClearSelection();
  PageViewState& state = page.ViewState;
  state.MousePoint = current;
  const Rect band{std::min(press.x, current.x), std::min(press.y, current.y), std::max(press.x, current.x),
                  std::max(press.y, current.y)};
  state.DragRect = band;
  struct Met {
    int Index;
    int Top;
  };
  std::vector<Met> met;
  int y0 = kPageHeaderHeight;
  for (int i = 0; i < page.NetworkCount(); ++i) {
    const int height = page.NetworksHeight(i, i + 1);
    state.CurrentNetwork = i;
    const int right = Network::BodyWidth(page.Networks()[static_cast<size_t>(i)], state) + 48;
    if (band.left < right && 0 < band.right && band.top < y0 + height && y0 < band.bottom) met.push_back({i, y0});
    y0 += height;
  }
  state.CurrentNetwork = -1;
  if (met.size() == 1) {
    const Met& one = met.front();
    state.SelectionFirst = one.Index;
    state.SelectionLast = one.Index;
    state.CurrentNetwork = one.Index;
    Network::PlaceCursorAt(page.Networks()[static_cast<size_t>(one.Index)], state,
                           Rect{band.left, band.top - one.Top, band.right, band.bottom - one.Top});
  } else if (met.size() > 1) {
    state.SelectionFirst = met.front().Index;
    state.SelectionLast = met.back().Index + 1;
  }
}

}  // namespace Brenno
