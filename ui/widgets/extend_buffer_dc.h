// An off-screen frame for painters that build a whole picture before showing it: drawing goes
// to a pixmap in the target's own coordinates, and the destructor copies the rectangle onto the
// target in one step. Qt widgets already paint through a back buffer, so widget painters need
// this only when they want to compose a frame before it replaces what the target holds.
//
//   void View::paintEvent(QPaintEvent*) {
//     QPainter screen(viewport());
//     CExtendBufferDC buffer(screen, viewport()->rect());
//     QtDrawContext dc(buffer.Painter());
//     ... fill the whole rectangle first (the buffer is not cleared), then draw ...
//   }  // dc first, then the buffer: the frame appears
#pragma once

#include <QPainter>
#include <QPixmap>
#include <QRect>

namespace Brenno {

class CExtendBufferDC {
 public:
  CExtendBufferDC(QPainter& target, const QRect& rect);
  ~CExtendBufferDC();
  CExtendBufferDC(const CExtendBufferDC&) = delete;
  CExtendBufferDC& operator=(const CExtendBufferDC&) = delete;

  // The painter on the buffer; coordinates are the target's.
  QPainter& Painter() { return painter_; }

 private:
  QPainter& target_;
  QRect rect_;
  QPixmap pixmap_;
  QPainter painter_;
};

}  // namespace Brenno
