// type_image MODEL INPUTS OUTPUTS OUTPUT.png [INPUT_LETTER OUTPUT_LETTER]
//
// Draws the picture of a compact PLC CPU that the PLC type dialog shows for a type of the
// catalog: the housing with its terminal strips, the status lamps, one lamp per input and
// output (the rows labelled I and Q unless other letters are given), the communication ports
// and the model name. The shipped pictures were drawn with it:
//   type_image "FELDRIN CM3" 14 10 catalog/Orvisto/CPU-Feldrin-CM3/Feldrin.png
//   type_image "FELDRIN FX" 16 14 catalog/Orvisto/CPU-Feldrin-FX/FeldrinFX.png X Y
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kWidth = 280;
constexpr int kHeight = 150;

void DrawTerminalStrip(QPainter& p, int y, int count) {
  const int left = 18;
  const int right = kWidth - 18;
  p.setPen(QPen(QColor(60, 60, 60), 1));
  p.setBrush(QColor(70, 74, 80));
  p.drawRect(left, y, right - left, 14);
  const double step = static_cast<double>(right - left - 8) / count;
  for (int i = 0; i < count; ++i) {
    const QPointF centre(left + 4 + step * (i + 0.5), y + 7);
    p.setBrush(QColor(200, 200, 196));
    p.setPen(QPen(QColor(40, 40, 40), 0.8));
    p.drawEllipse(centre, 4.0, 4.0);
    p.drawLine(centre + QPointF(-2.5, 0), centre + QPointF(2.5, 0));
  }
}

void DrawLampRow(QPainter& p, int x, int y, int count, const char* prefix, QColor lit) {
  QFont heading(QStringLiteral("DejaVu Sans"));
  heading.setPixelSize(7);
  heading.setBold(true);
  p.setFont(heading);
  p.setPen(QColor(230, 230, 230));
  p.drawText(QRect(x - 12, y - 2, 10, 9), Qt::AlignRight | Qt::AlignVCenter, QLatin1String(prefix));
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(6);
  p.setFont(font);
  for (int i = 0; i < count; ++i) {
    const int cx = x + i * 10 + (i / 8) * 6;  // a gap between bytes
    p.setPen(QPen(QColor(30, 30, 30), 0.6));
    p.setBrush(i % 3 == 0 ? lit : QColor(55, 60, 55));
    p.drawRect(cx, y, 7, 4);
    p.setPen(QColor(230, 230, 230));
    p.drawText(QRect(cx - 2, y + 5, 11, 7), Qt::AlignHCenter | Qt::AlignTop,
               QString::number(i % 8));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 && argc != 7) {
    std::fprintf(stderr, "usage: type_image MODEL INPUTS OUTPUTS OUTPUT.png [INPUT_LETTER OUTPUT_LETTER]\n");
    return 2;
  }
  const char* inputLetter = argc == 7 ? argv[5] : "I";
  const char* outputLetter = argc == 7 ? argv[6] : "Q";
  QGuiApplication app(argc, argv);
  const QString model = QString::fromUtf8(argv[1]);
  const int inputs = std::atoi(argv[2]);
  const int outputs = std::atoi(argv[3]);

  QImage image(kWidth, kHeight, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);

  // Housing.
  QPainterPath body;
  body.addRoundedRect(QRectF(8, 6, kWidth - 16, kHeight - 12), 7, 7);
  QLinearGradient shade(0, 6, 0, kHeight - 6);
  shade.setColorAt(0, QColor(96, 104, 114));
  shade.setColorAt(1, QColor(52, 58, 66));
  p.fillPath(body, shade);
  p.setPen(QPen(QColor(30, 34, 38), 1.5));
  p.drawPath(body);

  DrawTerminalStrip(p, 12, inputs + 4);
  DrawTerminalStrip(p, kHeight - 26, outputs + 6);

  // Front panel with lamps, ports and the name plate.
  const QRectF panel(18, 32, kWidth - 36, kHeight - 64);
  p.setPen(QPen(QColor(25, 28, 32), 1));
  p.setBrush(QColor(38, 42, 48));
  p.drawRoundedRect(panel, 3, 3);

  QFont label(QStringLiteral("DejaVu Sans"));
  label.setPixelSize(7);
  label.setBold(true);
  p.setFont(label);
  const struct {
    const char* text;
    QColor colour;
  } status[] = {{"RUN", QColor(60, 220, 90)}, {"STOP", QColor(235, 170, 40)}, {"SF", QColor(120, 40, 40)}};
  for (int i = 0; i < 3; ++i) {
    const int y = 40 + i * 13;
    p.setPen(QPen(QColor(20, 20, 20), 0.6));
    p.setBrush(status[i].colour);
    p.drawRect(26, y, 9, 5);
    p.setPen(QColor(225, 225, 225));
    p.drawText(QRect(38, y - 2, 30, 9), Qt::AlignLeft | Qt::AlignVCenter, QLatin1String(status[i].text));
  }

  DrawLampRow(p, 86, 40, inputs, inputLetter, QColor(70, 230, 90));
  DrawLampRow(p, 86, 58, outputs, outputLetter, QColor(70, 230, 90));

  // Two serial ports and the Ethernet socket.
  p.setPen(QPen(QColor(15, 15, 15), 1));
  for (int i = 0; i < 2; ++i) {
    QPainterPath port;
    const double x = 28 + i * 34;
    port.moveTo(x, 86);
    port.lineTo(x + 26, 86);
    port.lineTo(x + 23, 96);
    port.lineTo(x + 3, 96);
    port.closeSubpath();
    p.fillPath(port, QColor(150, 150, 150));
    p.drawPath(port);
  }
  p.setBrush(QColor(20, 20, 20));
  p.drawRect(98, 84, 18, 14);
  p.setBrush(QColor(200, 180, 60));
  p.drawRect(102, 84, 10, 3);

  // Name plate.
  const QRectF plate(panel.right() - 112, 80, 104, 24);
  p.setPen(QPen(QColor(170, 170, 170), 0.8));
  p.setBrush(QColor(228, 230, 232));
  p.drawRoundedRect(plate, 2, 2);
  QFont name(QStringLiteral("DejaVu Sans"));
  name.setPixelSize(11);
  name.setBold(true);
  p.setFont(name);
  p.setPen(QColor(30, 60, 120));
  p.drawText(plate, Qt::AlignCenter, model);
  p.end();

  if (!image.save(QString::fromUtf8(argv[4]), "PNG")) {
    std::fprintf(stderr, "type_image: cannot write %s\n", argv[4]);
    return 1;
  }
  return 0;
}
