#include "ui/widgets/scroll_wnd.h"

#include <QAbstractSlider>
#include <QResizeEvent>
#include <QScrollBar>
#include <QShowEvent>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

namespace Brenno {

bool CScrollWnd::s_inSize = false;

namespace {

// The Qt bar's maximum position for a setting: the last position at which a full page shows.
int QtMaximum(const ScrollBarSetting& s) { return s.rangeMax > 0 ? std::max(0, s.rangeMax - s.page + 1) : 0; }

void ApplySetting(QScrollBar* bar, const ScrollBarSetting& s) {
  bar->setPageStep(std::max(1, s.page));
  bar->setRange(0, QtMaximum(s));
}

}  // namespace

CScrollWnd::CScrollWnd(QWidget* parent) : QAbstractScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  verticalScrollBar()->setRange(0, 0);
  horizontalScrollBar()->setRange(0, 0);
  connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
          [this](int action) { OnBarAction(SB_VERT, action); });
  connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
          [this](int action) { OnBarAction(SB_HORZ, action); });
}

CScrollWnd::~CScrollWnd() = default;

int CScrollWnd::GetLineUpStep() { return 1; }
int CScrollWnd::GetLineDownStep() { return 1; }
int CScrollWnd::GetLineLeftStep() { return 1; }
int CScrollWnd::GetLineRightStep() { return 1; }
void CScrollWnd::GetContentRect(Rect& rect) { rect = Rect{0, 0, 200, 200}; }

void CScrollWnd::UpdateScrollBars() {
  // The area as if no bar were shown.
  const QSize area = maximumViewportSize();
  Rect content;
  GetContentRect(content);
  const int barWidth = verticalScrollBar()->sizeHint().width();
  const int barHeight = horizontalScrollBar()->sizeHint().height();
  barsContentWidth_ = content.right - content.left;
  barsContentHeight_ = content.bottom - content.top;
  const ScrollBarLayout layout = ComputeScrollBars(area.width(), area.height(), barsContentWidth_, barsContentHeight_,
                                                   barWidth, barHeight);
  vset_ = layout.vbar;
  hset_ = layout.hbar;
  ApplySetting(verticalScrollBar(), vset_);
  ApplySetting(horizontalScrollBar(), hset_);
}

void CScrollWnd::FollowContentSize() {
  if (followPending_) return;
  Rect content;
  GetContentRect(content);
  if (content.right - content.left == barsContentWidth_ && content.bottom - content.top == barsContentHeight_) return;
  // Not while painting: new bars may change the viewport that is being painted.
  followPending_ = true;
  QTimer::singleShot(0, this, [this] {
    followPending_ = false;
    UpdateScrollBars();
    viewport()->update();
  });
}

void CScrollWnd::SetScrollPosition(int bar, int position) {
  if (bar == SB_VERT) verticalScrollBar()->setValue(position);
  if (bar == SB_HORZ) horizontalScrollBar()->setValue(position);
}

int CScrollWnd::GetScrollPosition(int bar, bool track) const {
  const QScrollBar* sb = bar == SB_VERT ? verticalScrollBar() : bar == SB_HORZ ? horizontalScrollBar() : nullptr;
  if (sb == nullptr) return 0;
  return track ? sb->sliderPosition() : sb->value();
}

ScrollBarSetting CScrollWnd::GetScrollSetting(int bar) const {
  return bar == SB_VERT ? vset_ : bar == SB_HORZ ? hset_ : ScrollBarSetting{};
}

void CScrollWnd::OnVScroll(int request, int track) { ApplyRequest(SB_VERT, request, track, false); }
void CScrollWnd::OnHScroll(int request, int track) { ApplyRequest(SB_HORZ, request, track, false); }

void CScrollWnd::ApplyRequest(int bar, int request, int track, bool fromBarAction) {
  QScrollBar* sb = bar == SB_VERT ? verticalScrollBar() : horizontalScrollBar();
  const ScrollBarSetting& s = bar == SB_VERT ? vset_ : hset_;
  // Before the bar has taken an action's result its value is still the old position.
  const int pos = sb->value();
  const int back = bar == SB_VERT ? GetLineUpStep() : GetLineLeftStep();
  const int forward = bar == SB_VERT ? GetLineDownStep() : GetLineRightStep();
  const auto move = ScrollRequestTarget(request, pos, s.rangeMax, s.page, back, forward, track);
  if (!move) {
    if (fromBarAction) sb->setSliderPosition(pos);
    return;
  }
  if (fromBarAction) {
    // The bar sets its value from the slider position after this returns.
    sb->setSliderPosition(move->position);
  } else {
    sb->setValue(move->position);
  }
  if (move->alwaysRepaint) viewport()->update();
}

void CScrollWnd::OnBarAction(int bar, int action) {
  QScrollBar* sb = bar == SB_VERT ? verticalScrollBar() : horizontalScrollBar();
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: ApplyRequest(bar, SB_LINEUP, 0, true); break;
    case QAbstractSlider::SliderSingleStepAdd: ApplyRequest(bar, SB_LINEDOWN, 0, true); break;
    case QAbstractSlider::SliderPageStepSub: ApplyRequest(bar, SB_PAGEUP, 0, true); break;
    case QAbstractSlider::SliderPageStepAdd: ApplyRequest(bar, SB_PAGEDOWN, 0, true); break;
    case QAbstractSlider::SliderToMinimum: ApplyRequest(bar, SB_TOP, 0, true); break;
    case QAbstractSlider::SliderToMaximum: ApplyRequest(bar, SB_BOTTOM, 0, true); break;
    case QAbstractSlider::SliderMove: ApplyRequest(bar, SB_THUMBTRACK, sb->sliderPosition(), true); break;
    default: break;
  }
}

void CScrollWnd::resizeEvent(QResizeEvent* event) {
  if (s_inSize) return;
  s_inSize = true;
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
  s_inSize = false;
}

void CScrollWnd::showEvent(QShowEvent* event) {
  QAbstractScrollArea::showEvent(event);
  UpdateScrollBars();
}

void CScrollWnd::wheelEvent(QWheelEvent* event) {
  wheelRemainder_ += event->angleDelta().y();
  const int notches = wheelRemainder_ / 120;
  if (notches != 0) {
    const int delta = notches * 120;
    wheelRemainder_ -= delta;
    const int target = WheelScrollTarget(verticalScrollBar()->value(), vset_.rangeMax, delta, GetLineUpStep(),
                                         GetLineDownStep());
    verticalScrollBar()->setValue(target);
    viewport()->update();
  }
  event->accept();
}

void CScrollWnd::scrollContentsBy(int, int) { viewport()->update(); }

}  // namespace Brenno
