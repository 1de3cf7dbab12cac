#include "ui/render/page_renderer.h"

#include <QPainter>

#include <algorithm>

#include "core/program/page_painter.h"

namespace Brenno {

QSize PageExtent(ProgramPage& page) {
  const int n = page.NetworkCount();
  const int width = std::max(page.MaxNetworkWidth(0, n), page.ViewState.ViewMode == 1 ? kStlBodyWidth + 48
                                                                                       : kInvalidLadBodyWidth + 48);
  return QSize(width, kPageHeaderHeight + page.NetworksHeight(0, n));
}

void RenderPageAreaInto(QImage& image, ProgramPage& page, const Rect& area, OnlineCacheSnapshot& online,
                        const QtDrawResources& resources) {
  QPainter painter(&image);
  QtDrawContext dc(painter, resources);
  PaintProgramPage(page, dc, area, online);
}

QImage RenderPageArea(ProgramPage& page, const Rect& area, OnlineCacheSnapshot& online,
                      const QtDrawResources& resources) {
  QImage image(std::max(area.right - area.left, 1), std::max(area.bottom - area.top, 1), QImage::Format_RGB32);
  image.fill(Qt::white);
  RenderPageAreaInto(image, page, area, online, resources);
  return image;
}

}  // namespace Brenno
