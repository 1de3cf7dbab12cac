#include "core/program/page_painter.h"

#include "core/draw/gdi_resource_set.h"
#include "core/draw/text_drawing.h"
#include "core/env/exception_error.h"
#include "core/program/ladder_painter.h"
#include "core/program/network_painter.h"
#include "core/program/online_services.h"

namespace Brenno {

namespace {

constexpr int kRubberBandPen = PenIndex(7, PenStyle::kDot);  // pen 30

Network& NetworkAt(ProgramPage& page, int index) { return page.UndoLog.Networks[static_cast<size_t>(index)]; }

// A network range that reaches beyond the networks (left behind when undo shrank the page)
// counts as no selection; it is hidden while the page paints and given back afterwards.
class StaleRangeGuard {
 public:
  explicit StaleRangeGuard(ProgramPage& page) : page_(page) {
    const PageViewState& s = page.ViewState;
    const bool rangeShape = s.SelectionFirst != -1 && s.SelectionLast != -1 && s.SelectionFirst < s.SelectionLast;
    if (rangeShape && !page.HasNetworkRange()) {
      hidden_ = true;
      first_ = s.SelectionFirst;
      last_ = s.SelectionLast;
      page.ViewState.SelectionFirst = -1;
      page.ViewState.SelectionLast = -1;
    }
  }
  ~StaleRangeGuard() {
    if (!hidden_) return;
    page_.ViewState.SelectionFirst = first_;
    page_.ViewState.SelectionLast = last_;
  }
  StaleRangeGuard(const StaleRangeGuard&) = delete;
  StaleRangeGuard& operator=(const StaleRangeGuard&) = delete;

 private:
  ProgramPage& page_;
  bool hidden_ = false;
  int first_ = -1;
  int last_ = -1;
};

void PaintHeaderStrip(DrawContext& dc, const PageViewState& state, int x, int y) {
  int width = 0;
  if (state.ViewMode == 1) {
    width = kStlBodyWidth;
  } else if (state.ViewMode == 2) {
    width = kInvalidLadBodyWidth;
  } else {
    throw ExceptionLogicError();
  }
  FillRectWithBrush(dc, Rect{x, y, x + 32, y + kPageHeaderHeight}, 19);
  FillRectWithBrush(dc, Rect{x, y, x + 16, y + kPageHeaderHeight}, 18);
  dc.DrawLine(x + 31, y, x + 31, y + kPageHeaderHeight, SolidPen(7));
  if (state.BreakpointNetwork == -1 && state.BreakpointLine == 0) DrawBreakpointMark(dc, x, y + 8, 16, 15);
  if (state.StepNetwork == -1 && state.StepLine == 0) DrawStepArrow(dc, x, y + 8, 7, 15);
  FillRectWithBrush(dc, Rect{x + 32, y, x + 32 + width, y + kPageHeaderHeight}, 19);
  FillRectWithBrush(dc, Rect{x + 32 + width, y, x + 48 + width, y + kPageHeaderHeight}, 19);
}

// A record position (network N counted from 1, step s) as a marker of this page's view.
void ConvertRecordPosition(ProgramPage& page, int network, int step, int& markerNetwork, int& markerLine) {
  markerNetwork = -1;
  markerLine = -1;
  PageViewState& state = page.ViewState;
  const int n = page.NetworkCount();
  if (state.ViewMode == 1) {
    if (network >= 1 && network <= n) {
      state.CurrentNetwork = network - 1;
      const int steps = Network::StepCount(NetworkAt(page, network - 1), state);
      if (step < steps) {
        markerNetwork = network - 1;
        markerLine = step + 1;
      } else if (step == steps) {
        markerNetwork = network;
        markerLine = 0;
      }
    } else if ((network == 0 || network > n) && step == 0) {
      markerNetwork = network;
      markerLine = 0;
    }
  } else if (state.ViewMode == 2) {
    markerNetwork = network - 1;
    markerLine = network == 0 ? 0 : step;
  }
}

}  // namespace

void SyncDebugMarkers(ProgramPage& page, OnlineCacheSnapshot& online) {
  PageViewState& state = page.ViewState;
  state.BreakpointNetwork = state.BreakpointLine = -1;
  state.StepNetwork = state.StepLine = -1;
  DebugRecord record;
  if (!ReadCachedDebugRecord(online, record)) return;
  if (record.BreakPage() == state.PageId) {
    int network = -1;
    int line = -1;
    ConvertRecordPosition(page, record.BreakNetwork(), record.BreakStep(), network, line);
    state.BreakpointNetwork = network;
    state.BreakpointLine = line;
  }
  if (record.StepPage() == state.PageId) {
    int network = -1;
    int line = -1;
    ConvertRecordPosition(page, record.StepNetwork(), record.StepStep(), network, line);
    state.StepNetwork = network;
    state.StepLine = line;
  }
}

void SyncDebugMarkers(ProgramPage& page) {
  OnlineCacheSnapshot online = TakeCurrentOnlineSnapshot();
  SyncDebugMarkers(page, online);
  StampCurrentOnlineRequests(online);
}

void PaintProgramPage(ProgramPage& page, DrawContext& dc, const Rect& update) {
  OnlineCacheSnapshot online = TakeCurrentOnlineSnapshot();
  PaintProgramPage(page, dc, update, online);
  StampCurrentOnlineRequests(online);
}

void PaintProgramPage(ProgramPage& page, DrawContext& dc, const Rect& update, OnlineCacheSnapshot& online) {
  SyncDebugMarkers(page, online);
  StaleRangeGuard guard(page);
  PageViewState& state = page.ViewState;

  dc.DrawRectangle(Rect{0, 0, update.right - update.left, update.bottom - update.top}, SolidPen(19), 19);
  if (update.bottom > 0 && update.top <= kPageHeaderHeight) PaintHeaderStrip(dc, state, -update.left, -update.top);

  // Networks are stacked from y = 17; those wholly above or below the rectangle are only
  // measured, and measuring stops at the first one below it.
  const int cursorNetwork = page.HasCursor() ? state.SelectionFirst : -1;
  int cursorTop = -1;
  int y0 = kPageHeaderHeight;
  for (int i = 0; i < page.NetworkCount(); ++i) {
    if (y0 >= update.bottom) break;
    state.CurrentNetwork = i;
    const Network& net = NetworkAt(page, i);
    const int height = Network::Height(net, state);
    if (i == cursorNetwork) cursorTop = y0;
    if (y0 + height >= update.top) PaintNetwork(dc, net, state, -update.left, y0 - update.top, online);
    y0 += height;
  }

  if (cursorNetwork != -1 && state.ViewMode == 2 && NetworkAt(page, cursorNetwork).Kind == kNetworkLad) {
    if (cursorTop == -1) cursorTop = kPageHeaderHeight + page.NetworksHeight(0, cursorNetwork);
    state.CurrentNetwork = cursorNetwork;
    const Network& net = NetworkAt(page, cursorNetwork);
    const int bodyY = cursorTop + kNetworkHeaderHeight + Network::CommentHeight(state, net);
    PaintSelectedElements(dc, 32 - update.left, bodyY - update.top, net.Grid, state, online);
  }

  if (state.MouseState == kMouseRubberBand) {
    const Rect& band = state.DragRect;
    dc.DrawInvertedFrame(Rect{band.left - update.left, band.top - update.top, band.right - update.left,
                              band.bottom - update.top},
                         kRubberBandPen);
  }
}

Rect GetRangeRect(ProgramPage& page) {
  if (!page.HasNetworkRange()) return Rect{};
  const int first = page.ViewState.SelectionFirst;
  const int last = page.ViewState.SelectionLast;
  const int top = kPageHeaderHeight + page.NetworksHeight(0, first);
  const int height = page.NetworksHeight(first, last);
  return Rect{0, top, page.MaxNetworkWidth(first, last), top + height};
}

Rect GetCommentRect(ProgramPage& page) {
  if (!page.IsAtCommentLevel()) return Rect{};
  const int first = page.ViewState.SelectionFirst;
  const int top = 2 * kPageHeaderHeight + page.NetworksHeight(0, first);
  page.ViewState.CurrentNetwork = first;
  const Network& net = NetworkAt(page, first);
  return Rect{32, top, 32 + Network::BodyWidth(net, page.ViewState), top + Network::CommentHeight(page.ViewState, net)};
}

Rect GetCursorRect(ProgramPage& page) {
  if (!page.HasCursor()) return Rect{};
  const int first = page.ViewState.SelectionFirst;
  const int top = kPageHeaderHeight + page.NetworksHeight(0, first);
  page.ViewState.CurrentNetwork = first;
  return Network::CursorRect(NetworkAt(page, first), page.ViewState, 0, top);
}

Rect GetSelectionRect(ProgramPage& page) {
  if (page.HasNetworkRange()) return GetRangeRect(page);
  if (page.IsAtCommentLevel()) return GetCommentRect(page);
  if (page.HasCursor()) return GetCursorRect(page);
  return Rect{};
}

}  // namespace Brenno
