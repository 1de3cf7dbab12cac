#include "ui/views/project_tree/shared_image_lists.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "ui/views/project_tree/project_tree_items.h"

namespace Brenno {

namespace {

const QColor kMask(255, 0, 255);
constexpr int kS = SharedImageLists::kImageSize;

void Folder(QPainter& p, const QColor& colour) {
  p.setPen(QColor(120, 90, 0));
  p.setBrush(colour);
  p.drawRect(1, 4, 13, 9);
  p.drawRect(1, 2, 5, 2);
}

void Sheet(QPainter& p, const QColor& stripe) {
  p.setPen(QColor(80, 80, 80));
  p.setBrush(Qt::white);
  p.drawRect(3, 1, 9, 13);
  p.fillRect(5, 4, 6, 2, stripe);
  p.fillRect(5, 8, 6, 1, stripe);
  p.fillRect(5, 11, 6, 1, stripe);
}

void Contact(QPainter& p) {
  p.setPen(QPen(Qt::black, 1));
  p.drawLine(0, 8, 5, 8);
  p.drawLine(5, 3, 5, 13);
  p.drawLine(10, 3, 10, 13);
  p.drawLine(10, 8, 15, 8);
}

void Coil(QPainter& p) {
  p.setPen(QPen(Qt::black, 1));
  p.drawLine(0, 8, 3, 8);
  p.drawArc(3, 3, 5, 10, 90 * 16, 180 * 16);
  p.drawArc(8, 3, 5, 10, 270 * 16, 180 * 16);
  p.drawLine(12, 8, 15, 8);
}

void Box(QPainter& p, const QColor& fill) {
  p.setPen(Qt::black);
  p.setBrush(fill);
  p.drawRect(3, 2, 9, 11);
  p.drawLine(0, 5, 3, 5);
}

void CheckMark(QPainter& p) {
  p.setPen(QPen(QColor(0, 160, 0), 2));
  p.drawLine(3, 8, 6, 11);
  p.drawLine(6, 11, 12, 4);
}

void DrawTreeImage(QPainter& p, int index) {
  switch (index) {
    case TreeImageProject:
      p.setPen(QColor(0, 60, 140));
      p.setBrush(QColor(70, 130, 210));
      p.drawRect(1, 3, 13, 10);
      p.fillRect(3, 5, 9, 2, Qt::white);
      break;
    case TreeImageDataBlockFolder: Folder(p, QColor(250, 210, 80)); p.fillRect(8, 7, 4, 4, QColor(0, 120, 0)); break;
    case TreeImageSystemBlock:
      p.setPen(QColor(60, 60, 60));
      p.setBrush(QColor(170, 170, 170));
      p.drawEllipse(2, 2, 11, 11);
      p.setBrush(Qt::white);
      p.drawEllipse(5, 5, 5, 5);
      break;
    case TreeImageProgramBlockFolder: Folder(p, QColor(250, 210, 80)); p.fillRect(8, 7, 4, 4, QColor(0, 0, 200)); break;
    case TreeImageFunctionSymbol:
      p.setPen(QPen(QColor(120, 0, 120), 2));
      p.drawLine(9, 2, 6, 14);
      p.drawLine(4, 7, 11, 7);
      break;
    case TreeImageVariableSymbolFolder: Folder(p, QColor(250, 210, 80)); p.fillRect(8, 7, 4, 4, QColor(160, 0, 160)); break;
    case TreeImageStatusChartFolder: Folder(p, QColor(250, 210, 80)); p.fillRect(8, 7, 4, 4, QColor(200, 0, 0)); break;
    case TreeImageCrossReference:
      p.setPen(QPen(QColor(0, 110, 110), 2));
      p.drawLine(3, 3, 12, 12);
      p.drawLine(12, 3, 3, 12);
      break;
    case TreeImageInstructions:
      p.setPen(QColor(90, 40, 0));
      p.setBrush(QColor(190, 110, 40));
      p.drawRect(2, 1, 11, 13);
      p.fillRect(4, 3, 7, 2, Qt::white);
      break;
    case TreeImageDataBlock: Sheet(p, QColor(0, 120, 0)); break;
    case TreeImageProgramPage: Sheet(p, QColor(0, 0, 200)); break;
    case TreeImageVariableTable: Sheet(p, QColor(160, 0, 160)); break;
    case TreeImageStatusChart: Sheet(p, QColor(200, 0, 0)); break;
    case TreeImageStlGroup: Folder(p, QColor(200, 220, 250)); break;
    case TreeImageStlInstruction:
      p.setPen(Qt::black);
      for (int y = 4; y <= 12; y += 4) p.drawLine(2, y, 13, y);
      break;
    case TreeImageLadGroup: Folder(p, QColor(210, 250, 200)); break;
    case TreeImageSubroutineCall: Box(p, QColor(255, 240, 160)); p.drawLine(5, 5, 10, 5); break;
    case TreeImageContact:
    case TreeImageFxContactLd: Contact(p); break;
    case TreeImageCoil:
    case TreeImageFxCoil: Coil(p); break;
    case TreeImageBox:
    case TreeImageFxBox: Box(p, Qt::white); break;
    case TreeImageFxContactLdi: Contact(p); p.drawLine(4, 13, 11, 3); break;
    case TreeImageFxContactLdp: Contact(p); p.drawLine(7, 12, 7, 4); p.drawLine(7, 4, 6, 6); p.drawLine(7, 4, 8, 6); break;
    case TreeImageFxContactLdf: Contact(p); p.drawLine(7, 4, 7, 12); p.drawLine(7, 12, 6, 10); p.drawLine(7, 12, 8, 10); break;
    case TreeImageFxContactInv:
      p.setPen(Qt::black);
      p.drawLine(0, 8, 15, 8);
      p.drawLine(5, 13, 10, 3);
      break;
    default:
      break;  // unused places stay transparent
  }
}

QImage MakeStrip(int count, void (*draw)(QPainter&, int)) {
  QImage strip(kS * count, kS, QImage::Format_RGB32);
  strip.fill(kMask);
  QPainter painter(&strip);
  for (int i = 0; i < count; ++i) {
    painter.save();
    painter.translate(i * kS, 0);
    painter.setClipRect(0, 0, kS, kS);
    draw(painter, i);
    painter.restore();
  }
  return strip;
}

void DrawCheckList(QPainter& p, int index) {
  if (index == 0) CheckMark(p);
}

}  // namespace

SharedImageLists::SharedImageLists() {
  strips_[0] = MakeStrip(TreeImageCount, DrawTreeImage);
  strips_[1] = MakeStrip(2, DrawCheckList);
  strips_[2] = MakeStrip(2, DrawCheckList);
}

const QImage& SharedImageLists::Strip(int list) const {
  return strips_[list == kFunctionSymbolList ? 1 : list == kTableList ? 2 : 0];
}

int SharedImageLists::Count(int list) const { return Strip(list).width() / kS; }

QIcon SharedImageLists::Icon(int list, int index) const {
  if (index < 0 || index >= Count(list)) return QIcon();
  QImage picture = Strip(list).copy(index * kS, 0, kS, kS).convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < kS; ++y) {
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < kS; ++x) {
      if ((line[x] & 0x00FFFFFF) == (kMask.rgb() & 0x00FFFFFF)) line[x] = qRgba(0, 0, 0, 0);
    }
  }
  return QIcon(QPixmap::fromImage(picture));
}

QIcon SharedImageLists::ProjectPaneIcon() {
  QImage image(kS, kS, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setPen(Qt::black);
  p.drawLine(3, 2, 3, 13);
  p.drawLine(3, 6, 8, 6);
  p.drawLine(3, 12, 8, 12);
  p.fillRect(1, 1, 5, 3, QColor(70, 130, 210));
  p.fillRect(8, 5, 6, 3, QColor(250, 210, 80));
  p.fillRect(8, 11, 6, 3, QColor(250, 210, 80));
  p.end();
  return QIcon(QPixmap::fromImage(image));
}

}  // namespace Brenno
