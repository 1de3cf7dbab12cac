// A child window that scrolls a virtual content area. A derived class says how large its content
// is (GetContentRect) and how far one line step goes (GetLine*Step); CScrollWnd keeps both scroll
// bars, the scroll positions and the mouse wheel consistent with it. Derived classes paint their
// content themselves on viewport() (paintEvent), shifted by GetScrollPosition(SB_HORZ / SB_VERT).
//
// Positions are in content pixels: the vertical bar runs from 0 to content height - visible
// height, the horizontal one likewise. A derived class calls UpdateScrollBars whenever its
// content size changes; resizing and showing the window do it by themselves, and a derived class
// whose content can change without its knowing (while it is hidden, or by another window) calls
// FollowContentSize when it paints.
#pragma once

#include <QAbstractScrollArea>

#include "core/env/utilities.h"
#include "ui/widgets/scroll_math.h"

namespace Brenno {

class CScrollWnd : public QAbstractScrollArea {
  Q_OBJECT
 public:
  // Bars, with the values the scroll functions use.
  enum ScrollBarKind { SB_HORZ = 0, SB_VERT = 1 };

  explicit CScrollWnd(QWidget* parent = nullptr);
  ~CScrollWnd() override;

  // Sets both bars from the window size and GetContentRect: no bar when the content fits, both
  // when it fits beside neither, else the one it needs (ComputeScrollBars). Positions are kept
  // inside the new ranges by the bars.
  virtual void UpdateScrollBars();
  // Pixels one line step moves; 1 unless overridden.
  virtual int GetLineUpStep();
  virtual int GetLineDownStep();
  virtual int GetLineLeftStep();
  virtual int GetLineRightStep();
  // The content's rectangle; only its width and height count. (0, 0, 200, 200) unless overridden.
  virtual void GetContentRect(Rect& rect);

  // Sets one bar's position (kept inside its range by the bar); the content is repainted.
  void SetScrollPosition(int bar, int position);
  // One bar's position, or its thumb's position while the user drags it when track is set (the
  // same value here, since the bars follow the thumb); 0 for an unknown bar.
  int GetScrollPosition(int bar, bool track = false) const;
  // What UpdateScrollBars last set for a bar (range 0 .. rangeMax, page); rangeMax 0 while the
  // bar is not needed.
  ScrollBarSetting GetScrollSetting(int bar) const;

  // The scroll requests of the bars (ScrollRequest values), as the bars themselves send them:
  // line and page requests move by GetLine*Step and the page and repaint only when the position
  // changed; top, bottom and thumb requests (track = the thumb position) always repaint.
  void OnVScroll(int request, int track = 0);
  void OnHScroll(int request, int track = 0);

 protected:
  // Sets the bars again, after the current event, when the content no longer has the size they
  // were last set for.
  void FollowContentSize();

  void resizeEvent(QResizeEvent* event) override;
  // A window shown again sets its bars for its content as it is now.
  void showEvent(QShowEvent* event) override;
  // One notch moves the vertical position by GetLineUpStep (away from the user) or
  // GetLineDownStep (towards the user); partial turns of fine-grained wheels add up to notches.
  void wheelEvent(QWheelEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void OnBarAction(int bar, int action);
  void ApplyRequest(int bar, int request, int track, bool fromBarAction);

  // Shared by every scroll window: a resize caused by laying out the bars is not handled again.
  static bool s_inSize;
  ScrollBarSetting vset_;
  ScrollBarSetting hset_;
  // The content size the bars were last set for; a FollowContentSize update is pending.
  int barsContentWidth_ = -1;
  int barsContentHeight_ = -1;
  bool followPending_ = false;
  int wheelRemainder_ = 0;
};

}  // namespace Brenno
