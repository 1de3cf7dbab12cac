#include "core/program/program_page.h"

#include <algorithm>

#include "core/env/exception_error.h"
#include "core/program/online_services.h"
#include "core/program/ladder_edit.h"
#include "core/program/network_text.h"
#include "core/program/program_services.h"

namespace Brenno {

namespace {

bool RectHolds(const Rect& r, PagePoint p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

Rect Shifted(const Rect& r, int dx, int dy) { return Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

}  // namespace

// ---------------------------------------------------------------- creation

void ProgramPage::Create(ProgramPage& page) { CreateSized(page, kDefaultPageNetworks); }

void ProgramPage::CreateSized(ProgramPage& page, size_t n) {
  ProgramPage fresh;
  ResizeNetworks(fresh.UndoLog.Networks, n);
  page = std::move(fresh);
}

void DestroyProgramPage(ProgramPage& page) {
  LocalVarTable().swap(page.LocalVars);
  page.UndoLog = NetworkUndoLog();
  DestroyPageViewState(page.ViewState);
}

// ---------------------------------------------------------------- selection states

bool ProgramPage::HasNetworkRange() const {
  const PageViewState& s = ViewState;
  return s.SelectionFirst >= 0 && s.SelectionLast >= 0 && s.SelectionFirst < s.SelectionLast &&
         s.SelectionFirst < NetworkCount() && s.SelectionLast <= NetworkCount();
}

bool ProgramPage::IsAtCommentLevel() const {
  const PageViewState& s = ViewState;
  return InNetworks(s.SelectionFirst) && s.SelectionFirst == s.SelectionLast &&
         (s.CursorColumn == -1 || s.CursorRow == -1);
}

bool ProgramPage::HasCursor() const {
  const PageViewState& s = ViewState;
  return InNetworks(s.SelectionFirst) && s.SelectionFirst == s.SelectionLast && s.CursorColumn != -1 &&
         s.CursorRow != -1;
}

bool ProgramPage::IsCommentEditorOpen() const { return IsAtCommentLevel() && ViewState.CommentEditor.Open; }
bool ProgramPage::IsStlEditorOpen() const { return HasCursor() && ViewState.StlEditor.Open; }
bool ProgramPage::IsOperandEditorOpen() const { return HasCursor() && ViewState.OperandEditor.Open; }
bool ProgramPage::IsCursorInCurrentNetwork() const {
  return HasCursor() && ViewState.SelectionFirst == ViewState.CurrentNetwork;
}
bool ProgramPage::IsPinMarkerActive() const { return HasCursor() && ViewState.PinMarker.Active; }

void ProgramPage::ClearSelection() {
  ViewState.SelectionFirst = -1;
  ViewState.SelectionLast = -1;
  ViewState.CursorColumn = -1;
  ViewState.CursorRow = -1;
  ViewState.SelectedCells.clear();
}

int ProgramPage::ViewModeChecked() const {
  if (ViewState.ViewMode != 1 && ViewState.ViewMode != 2) throw ExceptionLogicError();
  return ViewState.ViewMode;
}

// ---------------------------------------------------------------- geometry

int ProgramPage::MeasureHeight(int index) {
  ViewState.CurrentNetwork = index;
  return Network::Height(UndoLog.Networks[static_cast<size_t>(index)], ViewState);
}

int ProgramPage::NetworksHeight(int from, int to) {
  int height = 0;
  for (int i = std::max(from, 0); i < to && i < NetworkCount(); ++i) height += MeasureHeight(i);
  return height;
}

int ProgramPage::MaxNetworkWidth(int from, int to) {
  int width = 0;
  for (int i = std::max(from, 0); i < to && i < NetworkCount(); ++i) {
    ViewState.CurrentNetwork = i;
    width = std::max(width, Network::BodyWidth(UndoLog.Networks[static_cast<size_t>(i)], ViewState) + 48);
  }
  return width;
}

int ProgramPage::CursorRowCount(int index) {
  if (!InNetworks(index)) throw ExceptionLogicError();
  ViewState.CurrentNetwork = index;
  return Network::CursorRowCount(ViewState, UndoLog.Networks[static_cast<size_t>(index)]);
}

int ProgramPage::NetworkAtY(int y, int& top) {
  int y0 = kPageHeaderHeight;
  for (int i = 0; i < NetworkCount(); ++i) {
    const int height = MeasureHeight(i);
    if (y >= y0 && y < y0 + height) {
      top = y0;
      return i;
    }
    y0 += height;
  }
  return -1;
}

// ---------------------------------------------------------------- debug markers

void ProgramPage::ToggleBreakpoint(int network, int line) {
  // The break point lives in the PLC; without a fresh debug record there is nothing to toggle.
  OnlineCacheSnapshot online = TakeCurrentOnlineSnapshot();
  DebugRecord record;
  if (!ReadCachedDebugRecord(online, record)) return;
  const int n = NetworkCount();
  int targetNetwork = 0;
  int targetStep = 0;
  if (ViewState.ViewMode == 1) {
    if (line != 0) {
      targetNetwork = network + 1;
      targetStep = line - 1;
    } else {
      targetNetwork = network;
      if (network >= 1 && network <= n) {
        ViewState.CurrentNetwork = network - 1;
        targetStep = Network::StepCount(UndoLog.Networks[static_cast<size_t>(network - 1)], ViewState);
      }
    }
  } else if (ViewState.ViewMode == 2) {
    targetNetwork = network == -1 ? 0 : network + 1;
    targetStep = network == -1 ? 0 : line;
  }
  DebugRecord out;
  if (record.BreakPage() == ViewState.PageId && record.BreakNetwork() == targetNetwork &&
      record.BreakStep() == targetStep) {
    out.Words[0] = 0;
    out.Words[1] = -1;
    out.Words[2] = -1;
  } else {
    out.Words[0] = ViewState.PageId;
    out.Words[1] = targetNetwork;
    out.Words[2] = targetStep;
  }
  WriteDebugBreakPoint(out);
}

// ---------------------------------------------------------------- selection and mouse

void ProgramPage::OnMouseDown(PagePoint point) {
  ViewState.MouseState = kMouseDown;
  ViewState.PressPoint = point;
  if (!HasCursor()) return;
  const int first = ViewState.SelectionFirst;
  const int top = kPageHeaderHeight + NetworksHeight(0, first);
  ViewState.CurrentNetwork = first;
  std::vector<Rect> frames;
  Network::SelectedElementRects(UndoLog.Networks[static_cast<size_t>(first)], ViewState, 0, top, frames);
  for (const Rect& frame : frames) {
    if (RectHolds(frame, point)) {
      ViewState.MouseState = kMouseDownOnSelection;
      return;
    }
  }
}

void ProgramPage::SelectAt(PagePoint point) {
  ClearSelection();
  const PagePoint press = ViewState.PressPoint;
  ViewState.DragRect = Rect{press.x, press.y, press.x + 1, press.y + 1};
  int y0 = kPageHeaderHeight;
  for (int i = 0; i < NetworkCount(); ++i) {
    const Network& net = UndoLog.Networks[static_cast<size_t>(i)];
    ViewState.CurrentNetwork = i;
    const int width = Network::BodyWidth(net, ViewState);
    const int comment = Network::CommentHeight(ViewState, net);
    const int body = Network::BodyHeight(net, ViewState);
    const int height = kNetworkHeaderHeight + comment + body;
    const int bodyTop = y0 + kNetworkHeaderHeight + comment;
    if (point.x >= 32 && point.x < 32 + width && point.y >= bodyTop && point.y < bodyTop + body) {
      ViewState.SelectionFirst = i;
      ViewState.SelectionLast = i;
      Network::PlaceCursorAt(net, ViewState, Shifted(ViewState.DragRect, 0, -y0));
      return;
    }
    const bool inHeight = point.y >= y0 && point.y < y0 + height;
    if (point.x >= 0 && point.x <= 31 && inHeight) {
      int line = 0;
      if (Network::HitMarginLine(net, ViewState, point.x, point.y - y0, line)) {
        ToggleBreakpoint(i, line);
      } else {
        ViewState.SelectionFirst = i;
        ViewState.SelectionLast = i + 1;
      }
      return;
    }
    const bool rightBar = point.x >= 32 + width && point.x < 48 + width && inHeight;
    const bool header = point.x >= 32 && point.x < 32 + width && point.y >= y0 && point.y < y0 + kNetworkHeaderHeight;
    if (rightBar || header) {
      ViewState.SelectionFirst = i;
      ViewState.SelectionLast = i + 1;
      return;
    }
    y0 += height;
  }
}

void ProgramPage::SelectAtAdding(PagePoint point) {
  const bool hadCursor = HasCursor();
  const int before = ViewState.SelectionFirst;
  std::vector<SelectedCell> previous = ViewState.SelectedCells;
  SelectAt(point);
  if (hadCursor && HasCursor() && ViewState.SelectionFirst == before) {
    previous.insert(previous.end(), ViewState.SelectedCells.begin(), ViewState.SelectedCells.end());
    ViewState.SelectedCells = std::move(previous);
  }
}

void ProgramPage::ExtendSelectionTo(PagePoint point) {
  int anchorFirst = -1;
  int anchorLast = -1;
  if (HasNetworkRange()) {
    anchorFirst = ViewState.SelectionFirst;
    anchorLast = ViewState.SelectionLast;
  } else if (HasCursor()) {
    anchorFirst = ViewState.SelectionFirst;
    anchorLast = anchorFirst + 1;
  }
  SelectAt(point);
  if (anchorFirst == -1) return;
  if (ViewState.SelectionFirst == anchorFirst && ViewState.SelectionLast == anchorLast) return;
  int first = 0;
  int last = 0;
  if (HasNetworkRange()) {
    first = ViewState.SelectionFirst;
    last = ViewState.SelectionLast;
  } else if (HasCursor()) {
    first = ViewState.SelectionFirst;
    last = first + 1;
  } else {
    return;
  }
  ViewState.SelectionFirst = std::min(first, anchorFirst);
  ViewState.SelectionLast = std::max(last, anchorLast);
  ViewState.CursorColumn = 0;
  ViewState.CursorRow = 0;
}

bool ProgramPage::SetSelection(int first, int last, int column, int row) {
  const int n = NetworkCount();
  if (!(first <= last && first < n && last <= n)) return false;
  // Negative indices other than the empty selection (-1, -1) would name no network at all.
  if (first < 0 && !(first == -1 && last == -1)) return false;
  ClearSelection();
  ViewState.SelectionFirst = first;
  ViewState.SelectionLast = last;
  ViewState.CursorColumn = column;
  ViewState.CursorRow = row;
  return true;
}

void ProgramPage::SelectAllNetworks() {
  if (NetworkCount() <= 0) return;
  ClearSelection();
  ViewState.SelectionFirst = 0;
  ViewState.SelectionLast = NetworkCount();
}

// ---------------------------------------------------------------- in-place editors

void ProgramPage::CloseCommentEditor() {
  ViewState.CommentEditor = TextEditorState();
}

void ProgramPage::CloseStlEditor() { ViewState.StlEditor = TextEditorState(); }

void ProgramPage::OpenCommentEditorAt(PagePoint point) {
  CloseCommentEditor();
  int top = 0;
  const int i = NetworkAtY(point.y, top);
  if (i < 0) return;
  const Network& net = UndoLog.Networks[static_cast<size_t>(i)];
  ViewState.CurrentNetwork = i;
  const Rect box = Network::CommentRect(net, ViewState, 0, top);
  if (!RectHolds(box, point)) return;
  ClearSelection();
  ViewState.SelectionFirst = i;
  ViewState.SelectionLast = i;
  ViewState.CommentEditor.Area = box;
  ViewState.CommentEditor.Point = point;
  ViewState.CommentEditor.Lines = net.Comments;
  ViewState.CommentEditor.Open = true;
}

bool ProgramPage::RecordNetworkEdit(int index, const Network& copy) {
  if (Network::Equals(copy, UndoLog.Networks[static_cast<size_t>(index)])) return false;
  std::vector<Network> before;
  ResizeNetworks(before, 1);
  return ApplyNetworkEdit(UndoLog, MakeNetworkEditRecord(index, before, MakeSingleNetworkVector(copy)));
}

bool ProgramPage::ApplyCommentAsProgram(const std::vector<std::wstring>& lines) {
  if (!IsCommentEditorOpen() || ViewState.ViewMode != 1) return false;
  const int first = ViewState.SelectionFirst;
  Network copy = UndoLog.Networks[static_cast<size_t>(first)];
  if (copy.Kind != kNetworkStl) return false;
  ParseStlTextLines(copy.Lines, lines, ViewState);
  return RecordNetworkEdit(first, copy);
}

bool ProgramPage::ApplyCommentEdit(const std::vector<std::wstring>& lines) {
  if (!IsCommentEditorOpen()) return false;
  const int first = ViewState.SelectionFirst;
  Network copy = UndoLog.Networks[static_cast<size_t>(first)];
  copy.Comments = lines;
  return RecordNetworkEdit(first, copy);
}

void ProgramPage::OpenStlEditorAt(PagePoint point) {
  CloseStlEditor();
  if (ViewState.ViewMode != 1) return;
  int top = 0;
  const int i = NetworkAtY(point.y, top);
  if (i < 0) return;
  const Network& net = UndoLog.Networks[static_cast<size_t>(i)];
  if (net.Kind != kNetworkStl) return;
  ViewState.CurrentNetwork = i;
  const Rect body = Network::BodyRect(net, ViewState, 0, top);
  if (!RectHolds(body, point)) return;
  ClearSelection();
  ViewState.SelectionFirst = i;
  ViewState.SelectionLast = i;
  ViewState.CursorColumn = 0;
  ViewState.CursorRow = 0;
  ViewState.StlEditor.Area = body;
  ViewState.StlEditor.Point = point;
  StlLinesToText(ViewState.StlEditor.Lines, net.Lines);
  ViewState.StlEditor.Open = true;
}

bool ProgramPage::ApplyStlEdit(const std::vector<std::wstring>& textLines) {
  if (!IsStlEditorOpen()) return false;
  if (ViewModeChecked() != 1) return false;
  const int first = ViewState.SelectionFirst;
  Network copy = UndoLog.Networks[static_cast<size_t>(first)];
  if (copy.Kind != kNetworkStl) return false;
  ParseStlTextLines(copy.Lines, textLines, ViewState);
  return RecordNetworkEdit(first, copy);
}

void ProgramPage::OpenOperandEditorAt(PagePoint point) {
  if (!HasCursor()) return;
  const int first = ViewState.SelectionFirst;
  const int top = kPageHeaderHeight + NetworksHeight(0, first);
  ViewState.CurrentNetwork = first;
  Network::OpenOperandEditorAt(UndoLog.Networks[static_cast<size_t>(first)], ViewState, point.x, point.y - top);
  if (ViewState.OperandEditor.Open) {
    ViewState.OperandEditor.Area = Shifted(ViewState.OperandEditor.Area, 0, top);
    ViewState.OperandEditor.Point.y += top;
  }
}

void ProgramPage::OpenOperandEditorAtCursor() { MoveOperandEditor(Network::OpenOperandEditorAtCursor); }

void ProgramPage::OpenNextEmptyOperand() { MoveOperandEditor(Network::OpenNextEmptyOperand); }

void ProgramPage::MoveOperandEditor(void (*move)(const Network&, PageViewState&)) {
  if (!HasCursor()) return;
  const int first = ViewState.SelectionFirst;
  const int top = kPageHeaderHeight + NetworksHeight(0, first);
  ViewState.CurrentNetwork = first;
  move(UndoLog.Networks[static_cast<size_t>(first)], ViewState);
  if (ViewState.OperandEditor.Open) {
    ViewState.OperandEditor.Area = Shifted(ViewState.OperandEditor.Area, 0, top);
    ViewState.OperandEditor.Point.y += top;
  }
}

bool ProgramPage::GetOperandEditor(Rect& area, PagePoint& point, std::wstring& text, std::wstring& hint) const {
  if (!IsOperandEditorOpen()) return false;
  area = ViewState.OperandEditor.Area;
  point = ViewState.OperandEditor.Point;
  text = ViewState.OperandEditor.Text;
  hint = ViewState.OperandEditor.Hint;
  return true;
}

bool ProgramPage::ApplyOperandEdit(const std::wstring& text) {
  if (!IsOperandEditorOpen()) return false;
  if (ViewModeChecked() != 2) return false;
  const int first = ViewState.SelectionFirst;
  Network copy = UndoLog.Networks[static_cast<size_t>(first)];
  if (copy.Kind != kNetworkLad) return false;
  if (!ApplyLadderOperandEdit(copy.Grid, ViewState, text)) return false;
  return RecordNetworkEdit(first, copy);
}

// ---------------------------------------------------------------- cursor keys

void ProgramPage::PlaceCursorAtOwnRect() {
  const int first = ViewState.SelectionFirst;
  const Network& net = UndoLog.Networks[static_cast<size_t>(first)];
  ViewState.CurrentNetwork = first;
  const Rect own = Network::CursorRect(net, ViewState, 0, 0);
  Network::PlaceCursorAt(net, ViewState, own);
}

void ProgramPage::OpenCommentEditorOn(int index, bool atBottom) {
  const int top = kPageHeaderHeight + NetworksHeight(0, index);
  ViewState.CurrentNetwork = index;
  const Network& net = UndoLog.Networks[static_cast<size_t>(index)];
  CloseStlEditor();
  ViewState.CommentEditor.Lines = net.Comments;
  ViewState.CommentEditor.Open = true;
  const Rect box = Network::CommentRect(net, ViewState, 0, top);
  ViewState.CommentEditor.Area = box;
  ViewState.CommentEditor.Point = atBottom ? PagePoint{box.left + 1, box.bottom - 1} : PagePoint{box.left + 1, box.top + 1};
}

void ProgramPage::OpenStlEditorOn(int index, bool atBottom) {
  const Network& net = UndoLog.Networks[static_cast<size_t>(index)];
  CloseStlEditor();
  if (net.Kind != kNetworkStl) return;
  const int top = kPageHeaderHeight + NetworksHeight(0, index);
  ViewState.CurrentNetwork = index;
  CloseCommentEditor();
  const Rect body = Network::BodyRect(net, ViewState, 0, top);
  StlLinesToText(ViewState.StlEditor.Lines, net.Lines);
  ViewState.StlEditor.Open = true;
  ViewState.StlEditor.Area = Network::BodyRect(net, ViewState, 0, top);
  ViewState.StlEditor.Point = atBottom ? PagePoint{body.left + 1, body.bottom - 1} : PagePoint{body.left + 1, body.top + 1};
}

bool ProgramPage::CollapseRange() {
  if (NetworkCount() <= 0) return false;
  if (IsAtCommentLevel() || HasCursor()) return false;
  const int first = HasNetworkRange() ? ViewState.SelectionFirst : 0;
  ClearSelection();
  ViewState.SelectionFirst = first;
  ViewState.SelectionLast = first;
  return true;
}

bool ProgramPage::MoveCursorLeft() {
  if (NetworkCount() <= 0) return false;
  if (CollapseRange()) return true;
  if (!HasCursor() || ViewState.CursorColumn <= 0) return false;
  ViewState.CursorColumn -= 1;
  PlaceCursorAtOwnRect();
  return true;
}

bool ProgramPage::MoveCursorRight() {
  if (NetworkCount() <= 0) return false;
  if (CollapseRange()) return true;
  if (!HasCursor()) return false;
  ViewState.CursorColumn += 1;
  PlaceCursorAtOwnRect();
  return true;
}

bool ProgramPage::MoveCursorUp() {
  if (NetworkCount() <= 0) return false;
  if (CollapseRange()) return true;
  const int first = ViewState.SelectionFirst;
  const int view = ViewModeChecked();
  if (HasCursor()) {
    if (view == 2 && ViewState.CursorRow > 0) {
      ViewState.CursorRow -= 1;
      PlaceCursorAtOwnRect();
      return true;
    }
    ViewState.CursorRow = -1;
    ViewState.SelectedCells.clear();
    OpenCommentEditorOn(first, true);
    return true;
  }
  if (!IsAtCommentLevel() || first == 0) return false;
  const int target = first - 1;
  CloseCommentEditor();
  ViewState.SelectionFirst = target;
  ViewState.SelectionLast = target;
  if (ViewState.CursorColumn == -1) ViewState.CursorColumn = 0;
  ViewState.CursorRow = 0;
  ViewState.CursorRow = CursorRowCount(target) - 1;
  ViewState.SelectedCells.clear();
  PlaceCursorAtOwnRect();
  if (view == 1) OpenStlEditorOn(target, true);
  return true;
}

bool ProgramPage::MoveCursorDown() {
  if (NetworkCount() <= 0) return false;
  if (CollapseRange()) return true;
  const int first = ViewState.SelectionFirst;
  const int view = ViewModeChecked();
  if (HasCursor()) {
    if (view == 2 && ViewState.CursorRow + 1 < CursorRowCount(first)) {
      ViewState.CursorRow += 1;
      PlaceCursorAtOwnRect();
      return true;
    }
    if (first + 1 >= NetworkCount()) return false;
    CloseStlEditor();
    ViewState.SelectionFirst = first + 1;
    ViewState.SelectionLast = first + 1;
    ViewState.CursorRow = -1;
    ViewState.SelectedCells.clear();
    OpenCommentEditorOn(first + 1, false);
    return true;
  }
  if (!IsAtCommentLevel()) return false;
  CloseCommentEditor();
  if (ViewState.CursorColumn == -1) ViewState.CursorColumn = 0;
  ViewState.CursorRow = 0;
  ViewState.SelectedCells.clear();
  PlaceCursorAtOwnRect();
  if (view == 1) OpenStlEditorOn(first, false);
  return true;
}

// ---------------------------------------------------------------- networks and clipboard

void ProgramPage::CopyNetworks(std::vector<Network>& out) const {
  if (!HasNetworkRange()) return;
  out.assign(UndoLog.Networks.begin() + ViewState.SelectionFirst, UndoLog.Networks.begin() + ViewState.SelectionLast);
}

bool ProgramPage::CutNetworks(std::vector<Network>& out) {
  if (!HasNetworkRange()) return false;
  const int first = ViewState.SelectionFirst;
  const int last = ViewState.SelectionLast;
  std::vector<Network> cut(UndoLog.Networks.begin() + first, UndoLog.Networks.begin() + last);
  std::vector<Network> before;
  ResizeNetworks(before, static_cast<size_t>(last - first));
  ApplyNetworkEdit(UndoLog, MakeNetworkEditRecord(first, before, {}));
  out = std::move(cut);
  ClearSelection();
  return true;
}

bool ProgramPage::PasteNetworks(const std::vector<Network>& networks) {
  if (networks.empty()) return false;
  if (!HasNetworkRange() && !IsAtCommentLevel() && !HasCursor()) return false;
  const int first = ViewState.SelectionFirst;
  ApplyNetworkEdit(UndoLog, MakeNetworkEditRecord(first, {}, networks));
  ClearSelection();
  ViewState.SelectionFirst = first;
  ViewState.SelectionLast = first + static_cast<int>(networks.size());
  return true;
}

bool ProgramPage::CutNetworksAsText(std::wstring& text, std::wstring_view separator) {
  std::vector<Network> cut;
  if (!CutNetworks(cut)) return false;
  NetworksToText(text, ViewState, separator, cut);
  return true;
}

void ProgramPage::CopyNetworksAsText(std::wstring& text, std::wstring_view separator) const {
  if (!HasNetworkRange()) return;
  std::vector<Network> copied;
  CopyNetworks(copied);
  NetworksToText(text, ViewState, separator, copied);
}

bool ProgramPage::PasteNetworksFromText(std::wstring& text, std::wstring_view separator) {
  std::vector<Network> read;
  ParseNetworksFromText(read, ViewState, separator, text);
  NetworksToText(text, ViewState, separator, read);
  return PasteNetworks(read);
}

bool ProgramPage::DeleteNetworks() {
  std::vector<Network> cut;
  return CutNetworks(cut);
}

bool ProgramPage::InsertNetwork() {
  Network fresh;
  fresh.Kind = ViewModeChecked();
  const int at = HasNetworkRange() || IsAtCommentLevel() || HasCursor() ? ViewState.SelectionFirst : 0;
  ApplyNetworkEdit(UndoLog, MakeNetworkEditRecord(at, {}, MakeSingleNetworkVector(fresh)));
  ClearSelection();
  ViewState.SelectionFirst = at;
  ViewState.SelectionLast = at + 1;
  return true;
}

bool ProgramPage::InsertNetworkBelow() {
  Network fresh;
  fresh.Kind = ViewModeChecked();
  int at = 0;
  if (HasNetworkRange()) {
    at = ViewState.SelectionLast;
  } else if (IsAtCommentLevel() || HasCursor()) {
    at = ViewState.SelectionFirst + 1;
  }
  ApplyNetworkEdit(UndoLog, MakeNetworkEditRecord(at, {}, MakeSingleNetworkVector(fresh)));
  ClearSelection();
  ViewState.SelectionFirst = at;
  ViewState.SelectionLast = at + 1;
  return true;
}

bool ProgramPage::ReplaceInNetwork(const ProgramSearchHit& hit, const std::wstring& find, const std::wstring& replace) {
  const bool kindFits = (ViewState.ViewMode == 1 && hit.Kind == kSearchHitStlOperand) ||
                        (ViewState.ViewMode == 2 && hit.Kind == kSearchHitLadOperand);
  if (!kindFits || !InNetworks(hit.Network)) return false;
  Network copy = UndoLog.Networks[static_cast<size_t>(hit.Network)];
  ViewState.CurrentNetwork = hit.Network;
  if (!Network::ReplaceHit(copy, ViewState, hit, find, replace)) return false;
  return RecordNetworkEdit(hit.Network, copy);
}

void ProgramPage::LoadFromText(std::wstring_view separator, std::wstring& text) {
  std::vector<Network> read;
  ParseNetworksFromText(read, ViewState, separator, text);
  NetworksToText(text, ViewState, separator, read);
  UndoLog.Networks = std::move(read);
  UndoLog.ClearHistory();
}

bool ProgramPage::Undo() { return UndoLog.Undo(); }
bool ProgramPage::Redo() { return UndoLog.Redo(); }

// ---------------------------------------------------------------- ladder commands

namespace {

// Runs a ladder primitive on copies of the network under the cursor and of the view state.
// True when the primitive succeeded and the network copy differs from the network.
template <class Primitive>
bool TryLadderPrimitive(const ProgramPage& page, Network& copy, PageViewState& state, Primitive primitive) {
  if (page.ViewState.ViewMode != 2 || !page.HasCursor()) return false;
  copy = page.Networks()[static_cast<size_t>(page.ViewState.SelectionFirst)];
  if (copy.Kind != kNetworkLad) return false;
  state = page.ViewState;
  state.CurrentNetwork = state.SelectionFirst;
  if (!primitive(copy.Grid, state)) return false;
  return !Network::Equals(copy, page.Networks()[static_cast<size_t>(page.ViewState.SelectionFirst)]);
}

template <class Primitive>
bool RunLadderCommand(ProgramPage& page, Primitive primitive) {
  Network copy;
  PageViewState state;
  if (!TryLadderPrimitive(page, copy, state, primitive)) return false;
  const int first = page.ViewState.SelectionFirst;
  page.ViewState = std::move(state);
  std::vector<Network> before;
  ResizeNetworks(before, 1);
  return ApplyNetworkEdit(page.UndoLog, MakeNetworkEditRecord(first, before, MakeSingleNetworkVector(copy)));
}

template <class Primitive>
bool CanRunLadderCommand(const ProgramPage& page, Primitive primitive) {
  Network copy;
  PageViewState state;
  return TryLadderPrimitive(page, copy, state, primitive);
}

}  // namespace

bool ProgramPage::CutLadderCells(std::vector<LadElement>& out) {
  std::vector<LadElement> cut;
  const bool done = RunLadderCommand(*this, [&](LadderGrid& grid, PageViewState& state) {
    return CutLadderElements(cut, grid, state);
  });
  if (done) out = std::move(cut);
  return done;
}

bool ProgramPage::CopyLadderCells(std::vector<LadElement>& out) {
  if (ViewState.ViewMode != 2 || !HasCursor()) return false;
  const Network& net = UndoLog.Networks[static_cast<size_t>(ViewState.SelectionFirst)];
  if (net.Kind != kNetworkLad) return false;
  CopyLadderElements(out, net.Grid, ViewState);
  return false;
}

bool ProgramPage::PasteLadderCells(const std::vector<LadElement>& elements) {
  return RunLadderCommand(*this, [&](LadderGrid& grid, PageViewState& state) {
    return PasteLadderElements(grid, state, elements);
  });
}

namespace {

bool MovePrimitive(LadderGrid& grid, PageViewState& state) { return MoveLadderElements(grid, state); }
bool ErasePrimitive(LadderGrid& grid, PageViewState& state) { return EraseLadderElements(grid, state); }
bool VerticalPrimitive(LadderGrid& grid, PageViewState& state) { return PlaceVerticalLink(state, grid); }
bool HorizontalPrimitive(LadderGrid& grid, PageViewState& state) { return PlaceHorizontalLine(state, grid); }
bool DeleteRowPrimitive(LadderGrid& grid, PageViewState& state) { return DeleteGridRow(grid, state); }
bool InsertRowPrimitive(LadderGrid& grid, PageViewState& state) { return InsertGridRow(grid, state); }
bool DeleteColumnPrimitive(LadderGrid& grid, PageViewState& state) { return DeleteGridColumn(grid, state); }
bool InsertColumnPrimitive(LadderGrid& grid, PageViewState& state) { return InsertGridColumn(grid, state); }

}  // namespace

bool ProgramPage::MoveSelectedElements() { return RunLadderCommand(*this, MovePrimitive); }
bool ProgramPage::EraseSelectedElements() { return RunLadderCommand(*this, ErasePrimitive); }
bool ProgramPage::InsertVerticalLine() { return RunLadderCommand(*this, VerticalPrimitive); }
bool ProgramPage::InsertHorizontalLine() { return RunLadderCommand(*this, HorizontalPrimitive); }
bool ProgramPage::InsertElementByDef(int definitionIndex) {
  return RunLadderCommand(*this, [&](LadderGrid& grid, PageViewState& state) {
    return PlaceElementByDef(state, grid, definitionIndex);
  });
}
bool ProgramPage::InsertElementByText(const std::wstring& text) {
  return RunLadderCommand(*this, [&](LadderGrid& grid, PageViewState& state) {
    return PlaceElementByText(state, text, grid);
  });
}
bool ProgramPage::DeleteLadderRow() { return RunLadderCommand(*this, DeleteRowPrimitive); }
bool ProgramPage::InsertLadderRow() { return RunLadderCommand(*this, InsertRowPrimitive); }
bool ProgramPage::DeleteLadderColumn() { return RunLadderCommand(*this, DeleteColumnPrimitive); }
bool ProgramPage::InsertLadderColumn() { return RunLadderCommand(*this, InsertColumnPrimitive); }

bool ProgramPage::CanMoveSelectedElements() const { return CanRunLadderCommand(*this, MovePrimitive); }
bool ProgramPage::CanEraseSelectedElements() const { return CanRunLadderCommand(*this, ErasePrimitive); }
bool ProgramPage::CanDeleteLadderRow() const { return CanRunLadderCommand(*this, DeleteRowPrimitive); }
bool ProgramPage::CanInsertLadderRow() const { return CanRunLadderCommand(*this, InsertRowPrimitive); }
bool ProgramPage::CanDeleteLadderColumn() const { return CanRunLadderCommand(*this, DeleteColumnPrimitive); }
bool ProgramPage::CanInsertLadderColumn() const { return CanRunLadderCommand(*this, InsertColumnPrimitive); }

namespace {

// The elements of `before` missing from `after` (the placement keeps the others in order and
// appends what it places), less those the placed elements overwrite in their own cells.
std::vector<LadElement> RemovedBeyondPlacedCells(const std::vector<LadElement>& before,
                                                 const std::vector<LadElement>& after) {
  std::vector<LadElement> removed;
  std::size_t kept = 0;
  for (const LadElement& element : before) {
    if (kept < after.size() && after[kept] == element) {
      ++kept;
    } else {
      removed.push_back(element);
    }
  }
  std::vector<LadElement> beyond;
  for (const LadElement& element : removed) {
    const bool box = element.Kind == kLadKindBlock || element.Kind == kLadKindFxBlock;
    const bool overwritten = !box && std::any_of(after.begin() + static_cast<std::ptrdiff_t>(std::min(kept, after.size())),
                                                  after.end(), [&](const LadElement& placed) {
                                                    return placed.Column == element.Column && placed.Row == element.Row &&
                                                           placed.InCell == element.InCell;
                                                  });
    if (!overwritten) beyond.push_back(element);
  }
  return beyond;
}

template <class Primitive>
std::vector<LadElement> PreviewRemoved(const ProgramPage& page, Primitive primitive) {
  Network copy;
  PageViewState state;
  if (!TryLadderPrimitive(page, copy, state, primitive)) return {};
  const Network& now = page.Networks()[static_cast<size_t>(page.ViewState.SelectionFirst)];
  return RemovedBeyondPlacedCells(now.Grid.Elements, copy.Grid.Elements);
}

}  // namespace

std::vector<LadElement> ProgramPage::ElementsRemovedByLine(bool vertical) const {
  return PreviewRemoved(*this, vertical ? VerticalPrimitive : HorizontalPrimitive);
}

std::vector<LadElement> ProgramPage::ElementsRemovedByText(const std::wstring& text) const {
  return PreviewRemoved(*this, [&](LadderGrid& grid, PageViewState& state) { return PlaceElementByText(state, text, grid); });
}

std::vector<LadElement> ProgramPage::ElementsRemovedByDef(int definitionIndex) const {
  return PreviewRemoved(*this, [&](LadderGrid& grid, PageViewState& state) {
    return PlaceElementByDef(state, grid, definitionIndex);
  });
}

std::vector<LadElement> ProgramPage::ElementsRemovedByPaste(const std::vector<LadElement>& elements) const {
  return PreviewRemoved(*this, [&](LadderGrid& grid, PageViewState& state) {
    return PasteLadderElements(grid, state, elements);
  });
}

namespace {

// The element with its origin in the cursor cell of a ladder page's ladder network, or null.
const LadElement* CursorElement(const ProgramPage& page) {
  const PageViewState& state = page.ViewState;
  if (state.ViewMode != 2 || !page.HasCursor()) return nullptr;
  const Network& net = page.Networks()[static_cast<size_t>(state.SelectionFirst)];
  if (net.Kind != kNetworkLad) return nullptr;
  for (const LadElement& element : net.Grid.Elements) {
    if (element.InCell && element.Column == state.CursorColumn && element.Row == state.CursorRow) return &element;
  }
  return nullptr;
}

}  // namespace

void ProgramPage::SelectCursorElement() {
  const LadElement* element = CursorElement(*this);
  if (element == nullptr) return;
  ViewState.SelectedCells = {SelectedCell{element->Column, element->Row, true}};
  // A new element's operands are walked from its first one not written yet, whatever operand of
  // whichever element was edited before.
  OperandEditorState& editor = ViewState.OperandEditor;
  editor.Open = false;
  editor.Column = editor.Row = -1;
  editor.IdIndex = editor.InIndex = editor.OutIndex = -1;
}

bool ProgramPage::MoveCursorAlongRung() {
  const LadElement* element = CursorElement(*this);
  // A coil, or a box without power output, ends the rung.
  if (element == nullptr || element->PowerOut.empty()) return false;
  const int row = element->Kind == kLadKindBlock ? element->PowerOut.front().Slot : 0;
  ViewState.CursorColumn = element->Column + LadElement::WidthInCells(*element);
  ViewState.CursorRow = element->Row + row;
  return true;
}

bool ProgramPage::CanInsertElementByText(const std::wstring& text) const {
  if (ViewState.ViewMode != 2 || !HasCursor()) return false;
  if (text.empty()) return true;
  return CanRunLadderCommand(*this, [&](LadderGrid& grid, PageViewState& state) {
    return PlaceElementByText(state, text, grid);
  });
}

}  // namespace Brenno
