// The off-screen frame: drawing lands on the target only when the buffer goes, at the place the
// painter meant, and nothing outside the rectangle changes.
#include "ui/widgets/extend_buffer_dc.h"

#include <gtest/gtest.h>

#include <QImage>

namespace Brenno {
namespace {

TEST(ExtendBufferDc, ShowsTheFrameInTargetCoordinatesWhenDone) {
  QImage image(100, 60, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter target(&image);
    {
      CExtendBufferDC buffer(target, QRect(20, 10, 50, 30));
      buffer.Painter().fillRect(QRect(20, 10, 50, 30), Qt::blue);
      buffer.Painter().fillRect(QRect(30, 20, 5, 5), Qt::red);
      EXPECT_EQ(QColor(image.pixel(25, 15)), QColor(Qt::white));  // not shown yet
    }
  }
  EXPECT_EQ(QColor(image.pixel(20, 10)), QColor(Qt::blue));
  EXPECT_EQ(QColor(image.pixel(69, 39)), QColor(Qt::blue));
  EXPECT_EQ(QColor(image.pixel(32, 22)), QColor(Qt::red));
  EXPECT_EQ(QColor(image.pixel(19, 10)), QColor(Qt::white));
  EXPECT_EQ(QColor(image.pixel(70, 40)), QColor(Qt::white));
}

}  // namespace
}  // namespace Brenno
