#include "ui/widgets/extend_buffer_dc.h"

#include <QPaintDevice>

namespace Brenno {

namespace {

QPixmap MakeBuffer(QPainter& target, const QRect& rect) {
  const qreal ratio = target.device() != nullptr ? target.device()->devicePixelRatio() : 1.0;
  QPixmap pixmap(QSize(qMax(1, rect.width()), qMax(1, rect.height())) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  return pixmap;
}

}  // namespace

CExtendBufferDC::CExtendBufferDC(QPainter& target, const QRect& rect)
    : target_(target), rect_(rect), pixmap_(MakeBuffer(target, rect)), painter_(&pixmap_) {
  painter_.translate(-rect.topLeft());
}

CExtendBufferDC::~CExtendBufferDC() {
  painter_.end();
  if (rect_.isEmpty()) return;
  target_.save();
  target_.setCompositionMode(QPainter::CompositionMode_Source);
  target_.drawPixmap(rect_.topLeft(), pixmap_);
  target_.restore();
}

}  // namespace Brenno
