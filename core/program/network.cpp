#include "core/program/network.h"

#include <algorithm>

#include "core/env/exception_error.h"
#include "core/program/ladder_edit.h"
#include "core/program/ladder_geometry.h"

namespace Brenno {

namespace {

enum class Pair { StlStl, LadLad, StlInLad, LadInStl };

Pair PairOf(const Network& net, const PageViewState& page) {
  if (net.Kind == kNetworkStl && page.ViewMode == 1) return Pair::StlStl;
  if (net.Kind == kNetworkLad && page.ViewMode == 2) return Pair::LadLad;
  if (net.Kind == kNetworkStl && page.ViewMode == 2) return Pair::StlInLad;
  if (net.Kind == kNetworkLad && page.ViewMode == 1) return Pair::LadInStl;
  throw ExceptionLogicError();
}

bool CursorOnCurrentNetwork(const PageViewState& page) {
  return page.SelectionFirst != -1 && page.SelectionFirst == page.SelectionLast &&
         page.SelectionFirst == page.CurrentNetwork;
}

bool CommentLevelHere(const PageViewState& page) {
  return CursorOnCurrentNetwork(page) && (page.CursorColumn == -1 || page.CursorRow == -1);
}

}  // namespace

bool Network::Equals(const Network& a, const Network& b) {
  if (a.Kind != b.Kind || a.Lines.size() != b.Lines.size()) return false;
  for (size_t i = 0; i < a.Lines.size(); ++i) {
    if (!StlLinesEqual(a.Lines[i], b.Lines[i])) return false;
  }
  return LadderGrid::Equals(a.Grid, b.Grid) && a.Comments == b.Comments;
}

void DestroyNetwork(Network& net) {
  std::vector<StlLine>().swap(net.Lines);
  net.Grid = LadderGrid();
  std::vector<std::wstring>().swap(net.Comments);
}

int Network::CommentHeight(const PageViewState& page, const Network& net) {
  const size_t lines = page.CommentEditor.Open && CommentLevelHere(page) ? page.CommentEditor.Lines.size()
                                                                          : net.Comments.size();
  return kNetworkLineHeight * static_cast<int>(std::max<size_t>(1, lines)) + 4;
}

int Network::BodyWidth(const Network& net, const PageViewState& page) {
  switch (PairOf(net, page)) {
    case Pair::StlStl:
    case Pair::LadInStl:
      return kStlBodyWidth;
    case Pair::StlInLad:
      return kInvalidLadBodyWidth;
    case Pair::LadLad:
      break;
  }
  return LadderBodyWidth(page, net.Grid);
}

int Network::BodyHeight(const Network& net, const PageViewState& page) {
  switch (PairOf(net, page)) {
    case Pair::StlStl:
      return kNetworkLineHeight * StlBodyLineCount(page, net.Lines) + 4;
    case Pair::StlInLad:
    case Pair::LadInStl:
      return kInvalidBodyHeight;
    case Pair::LadLad:
      break;
  }
  return LadderBodyHeight(page, net.Grid);
}

int Network::Height(const Network& net, const PageViewState& page) {
  return kNetworkHeaderHeight + CommentHeight(page, net) + BodyHeight(net, page);
}

int Network::CursorRowCount(const PageViewState& page, const Network& net) {
  switch (PairOf(net, page)) {
    case Pair::StlStl:
      return StlBodyLineCount(page, net.Lines);
    case Pair::StlInLad:
    case Pair::LadInStl:
      return 1;
    case Pair::LadLad:
      break;
  }
  return LadderBodyRowCount(page, net.Grid);
}

int Network::StepCount(const Network& net, const PageViewState& page) {
  switch (PairOf(net, page)) {
    case Pair::StlStl:
      return static_cast<int>(net.Lines.size());
    case Pair::StlInLad:
    case Pair::LadInStl:
      return 1;
    case Pair::LadLad:
      break;
  }
  return net.Grid.Rows;
}

Rect Network::LeftBarRect(const Network& net, const PageViewState& page, int x, int y) {
  return Rect{x, y, x + kNetworkLeftBarWidth, y + Height(net, page)};
}

Rect Network::CommentRect(const Network& net, const PageViewState& page, int x, int y) {
  const int top = y + kNetworkHeaderHeight;
  return Rect{x + kNetworkLeftBarWidth, top, x + kNetworkLeftBarWidth + BodyWidth(net, page),
              top + CommentHeight(page, net)};
}

Rect Network::BodyRect(const Network& net, const PageViewState& page, int x, int y) {
  const int top = y + kNetworkHeaderHeight + CommentHeight(page, net);
  return Rect{x + kNetworkLeftBarWidth, top, x + kNetworkLeftBarWidth + BodyWidth(net, page),
              top + BodyHeight(net, page)};
}

Rect Network::CursorRect(const Network& net, const PageViewState& page, int x, int y) {
  const int bodyX = x + kNetworkLeftBarWidth;
  const int bodyY = y + kNetworkHeaderHeight + CommentHeight(page, net);
  Rect out;
  switch (PairOf(net, page)) {
    case Pair::StlStl:
      StlLineRect(out, bodyX, bodyY, page);
      return out;
    case Pair::StlInLad:
    case Pair::LadInStl:
      return BodyRect(net, page, x, y);
    case Pair::LadLad:
      break;
  }
  LadderCursorRect(page, net.Grid, bodyX, bodyY, out);
  return out;
}

void Network::SelectedElementRects(const Network& net, const PageViewState& page, int x, int y,
                                   std::vector<Rect>& out) {
  out.clear();
  if (PairOf(net, page) != Pair::LadLad) return;
  CollectSelectionFrames(net.Grid, out, x + kNetworkLeftBarWidth,
                         y + kNetworkHeaderHeight + CommentHeight(page, net), page);
}

void Network::PlaceCursorAt(const Network& net, PageViewState& page, const Rect& area) {
  const int dy = kNetworkHeaderHeight + CommentHeight(page, net);
  const Rect body{area.left - kNetworkLeftBarWidth, area.top - dy, area.right - kNetworkLeftBarWidth, area.bottom - dy};
  switch (PairOf(net, page)) {
    case Pair::StlStl:
      PlaceStlCursor(body.left, body.top, page, net.Lines);
      return;
    case Pair::StlInLad:
    case Pair::LadInStl:
      page.CursorColumn = 0;
      page.CursorRow = 0;
      return;
    case Pair::LadLad:
      break;
  }
  SelectLadderElementsInRect(page, net.Grid, body);
}

bool Network::HitMarginLine(const Network& net, const PageViewState& page, int x, int y, int& line) {
  const Pair pair = PairOf(net, page);
  if (pair == Pair::StlStl) {
    if (x < 0 || x >= 16) return false;
    if (y >= 0 && y <= 16) {
      line = 0;
      return true;
    }
    const int first = CommentHeight(page, net) + 19;
    const long long end = first + 13LL * static_cast<long long>(net.Lines.size());
    if (y >= first && y < end) {
      line = (y - first) / kNetworkLineHeight + 1;
      return true;
    }
    return false;
  }
  if (pair == Pair::LadLad && x >= 0 && x <= 15 && y >= 0 && y <= 16) {
    line = 0;
    return true;
  }
  return false;
}

namespace {

void MoveOperandEditorBy(PageViewState& page, int dx, int dy) {
  if (!page.OperandEditor.Open) return;
  Rect& area = page.OperandEditor.Area;
  area = Rect{area.left + dx, area.top + dy, area.right + dx, area.bottom + dy};
  page.OperandEditor.Point.x += dx;
  page.OperandEditor.Point.y += dy;
}

// Moves the operand editor among the operands of a ladder network's elements (`move` works in
// body coordinates); its rectangle and point end in network coordinates.
void MoveOperandEditor(const Network& net, PageViewState& page, void (*move)(PageViewState&, const LadderGrid&)) {
  const Pair pair = PairOf(net, page);
  const int dy = kNetworkHeaderHeight + Network::CommentHeight(page, net);
  if (pair == Pair::StlStl) {
    page.OperandEditor.Open = false;
  } else if (pair == Pair::LadLad) {
    move(page, net.Grid);
  }
  MoveOperandEditorBy(page, kNetworkLeftBarWidth, dy);
}

}  // namespace

void Network::OpenOperandEditorAt(const Network& net, PageViewState& page, int x, int y) {
  const Pair pair = PairOf(net, page);
  const int dy = kNetworkHeaderHeight + CommentHeight(page, net);
  if (pair == Pair::StlStl) {
    page.OperandEditor.Open = false;
  } else if (pair == Pair::LadLad) {
    BeginOperandEditAt(page, net.Grid, PagePoint{x - kNetworkLeftBarWidth, y - dy});
  }
  MoveOperandEditorBy(page, kNetworkLeftBarWidth, dy);
}

void Network::OpenOperandEditorAtCursor(const Network& net, PageViewState& page) {
  MoveOperandEditor(net, page, AdvanceOperandEdit);
}

void Network::OpenNextEmptyOperand(const Network& net, PageViewState& page) {
  MoveOperandEditor(net, page, Brenno::OpenNextEmptyOperand);
}

void Network::CursorElementText(const PageViewState& page, const Network& net, std::wstring& text) {
  if (PairOf(net, page) != Pair::LadLad) return;
  for (const LadElement& element : net.Grid.Elements) {
    if (element.InCell && element.Column == page.CursorColumn && element.Row == page.CursorRow) {
      std::wstring found;
      if (LadElement::ToInstructionText(element, page, found)) text = std::move(found);
      return;
    }
  }
}

bool Network::ReplaceHit(Network& net, const PageViewState& page, const ProgramSearchHit& hit,
                         const std::wstring& find, const std::wstring& replace) {
  switch (PairOf(net, page)) {
    case Pair::StlStl:
      return ReplaceStlOperand(net.Lines, hit, find, replace);
    case Pair::LadLad:
      return ReplaceLadderOperandText(net.Grid, hit, find, replace);
    case Pair::StlInLad:
    case Pair::LadInStl:
      break;
  }
  return false;
}

bool Network::LoadStlEditorLines(const PageViewState& page, const Network& net, std::vector<std::wstring>& lines) {
  if (net.Kind != kNetworkStl || page.ViewMode != 1) return false;
  StlLinesToText(lines, net.Lines);
  return true;
}

bool Network::ParseTextLines(const PageViewState& page, Network& net, const std::vector<std::wstring>& lines,
                             size_t first, size_t last) {
  std::vector<StlLine> statements;
  last = std::min(last, lines.size());
  for (size_t i = first; i < last; ++i) {
    const std::wstring& text = lines[i];
    const size_t mark = text.find(L"//");
    if (mark != std::wstring::npos && text.find_first_not_of(L" \t") == mark) {
      net.Comments.push_back(text.substr(mark + 2));
      continue;
    }
    StlLine line;
    if (!ParseStlLine(text, line, page)) SplitStlLinePlain(text, line);
    statements.push_back(std::move(line));
  }
  net.Lines = std::move(statements);
  return true;
}

}  // namespace Brenno
