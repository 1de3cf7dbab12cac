#include "ui/widgets/qt_draw_context.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <cstdlib>

namespace Brenno {

namespace {

constexpr const char* kCjkFamily = "WenQuanYi Micro Hei";

QColor ToQColor(const Colour& c) { return QColor(c.red, c.green, c.blue); }

Qt::PenStyle ToQtStyle(PenStyle style) {
  switch (style) {
    case PenStyle::kSolid: return Qt::SolidLine;
    case PenStyle::kDash: return Qt::DashLine;
    case PenStyle::kDot: return Qt::DotLine;
    case PenStyle::kDashDot: return Qt::DashDotLine;
  }
  return Qt::SolidLine;
}

QString ToQString(std::wstring_view text) {
  return QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size()));
}

// a / b rounded to the nearest integer, halves away from zero (b > 0).
int RoundDiv(int a, int b) { return a >= 0 ? (2 * a + b) / (2 * b) : -((-2 * a + b) / (2 * b)); }

// A line from (x1, y1) towards (x2, y2) without its end point, in the painter's current pen.
void DrawSegment(QPainter& painter, int x1, int y1, int x2, int y2) {
  const int dx = x2 - x1;
  const int dy = y2 - y1;
  const int steps = std::max(std::abs(dx), std::abs(dy));
  if (steps == 0) return;
  if (steps == 1) {
    painter.drawPoint(QPoint(x1, y1));
    return;
  }
  const QPoint last(x1 + RoundDiv(dx * (steps - 1), steps), y1 + RoundDiv(dy * (steps - 1), steps));
  painter.drawLine(QPoint(x1, y1), last);
}

Rect Normalised(const Rect& rect) {
  Rect r = rect;
  NormalizeRect(r);
  return r;
}

}  // namespace

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

int QtAlignment(unsigned format) {
  int flags = 0;
  if (format & kTextRight) {
    flags |= Qt::AlignRight;
  } else if (format & kTextCenter) {
    flags |= Qt::AlignHCenter;
  } else {
    flags |= Qt::AlignLeft;
  }
  if (format & kTextBottom) {
    flags |= Qt::AlignBottom;
  } else if (format & kTextVCenter) {
    flags |= Qt::AlignVCenter;
  } else {
    flags |= Qt::AlignTop;
  }
  return flags;
}

QString QtDrawResources::ResolveFamily(const QString& face) {
  const QStringList installed = QFontDatabase::families();
  const QString candidates[] = {face, QString::fromLatin1(kCjkFamily), QStringLiteral("Noto Sans CJK SC"),
                                QStringLiteral("DejaVu Sans")};
  for (const QString& family : candidates) {
    if (installed.contains(family, Qt::CaseInsensitive)) return family;
  }
  return QGuiApplication::font().family();
}

QFont MakeQtFont(const FontDesc& desc) {
  const QString family = QtDrawResources::ResolveFamily(QString::fromStdWString(desc.face));
  QFont font;
  QStringList families{family};
  if (family.compare(QString::fromLatin1(kCjkFamily), Qt::CaseInsensitive) != 0) {
    families << QString::fromLatin1(kCjkFamily);
  }
  font.setFamilies(families);
  font.setWeight(static_cast<QFont::Weight>(std::clamp(desc.weight, 1, 1000)));
  font.setItalic(desc.italic);
  font.setUnderline(desc.underline);
  font.setStyleHint(QFont::SansSerif);
  // The descriptor gives the cell height (ascent plus descent); Qt sizes by the em. Take the
  // largest size whose line height fits the cell, so rows of 13 pixels hold their text.
  const int cell = std::max(desc.height, 1);
  int size = cell;
  for (; size > 1; --size) {
    font.setPixelSize(size);
    if (QFontMetrics(font).height() <= cell) break;
  }
  font.setPixelSize(std::max(size, 1));
  return font;
}

QtDrawResources::QtDrawResources(const GdiResourceSet& set) {
  for (int i = 0; i < GdiResourceSet::kColourCount; ++i) colours_[i] = ToQColor(set.Colors(i));
  for (int i = 0; i < GdiResourceSet::kPenCount; ++i) {
    const PenDesc& desc = set.Pens(i);
    QPen pen(ToQColor(desc.colour));
    pen.setStyle(ToQtStyle(desc.style));
    pen.setWidth(desc.width);
    pen.setCosmetic(true);
    // Square caps set both end points; DrawSegment leaves the end point out itself, whatever the
    // direction (flat caps would drop the lower-right end instead).
    pen.setCapStyle(Qt::SquareCap);
    pens_[i] = pen;
  }
  for (int i = 0; i < GdiResourceSet::kBrushCount; ++i) brushes_[i] = QBrush(ToQColor(set.Brushes(i).colour));
  metrics_.reserve(GdiResourceSet::kFontCount);
  for (int i = 0; i < GdiResourceSet::kFontCount; ++i) {
    fontDescs_[i] = set.Fonts(i);
    fonts_[i] = MakeQtFont(fontDescs_[i]);
    metrics_.emplace_back(fonts_[i]);
  }
}

const QtDrawResources::ScaledFont& QtDrawResources::Scaled(int index, int percent) const {
  const int i = GdiResourceSet::IsFontIndex(index) ? index : 0;
  const auto key = std::make_pair(i, percent);
  auto found = scaled_.find(key);
  if (found == scaled_.end()) {
    FontDesc desc = fontDescs_[i];
    desc.height = std::max(1, desc.height * percent / 100);
    const QFont font = MakeQtFont(desc);
    found = scaled_.emplace(key, ScaledFont{font, QFontMetrics(font)}).first;
  }
  return found->second;
}

const QFont& QtDrawResources::Font(int index, int percent) const {
  return percent == 100 ? Font(index) : Scaled(index, percent).font;
}

const QFontMetrics& QtDrawResources::Metrics(int index, int percent) const {
  return percent == 100 ? Metrics(index) : Scaled(index, percent).metrics;
}

const QColor& QtDrawResources::Colour(int index) const {
  return colours_[GdiResourceSet::IsColourIndex(index) ? index : 0];
}

const QPen& QtDrawResources::Pen(int index) const { return pens_[GdiResourceSet::IsPenIndex(index) ? index : 0]; }

const QBrush& QtDrawResources::Brush(int index) const {
  return brushes_[GdiResourceSet::IsBrushIndex(index) ? index : 0];
}

const QFont& QtDrawResources::Font(int index) const { return fonts_[GdiResourceSet::IsFontIndex(index) ? index : 0]; }

const QFontMetrics& QtDrawResources::Metrics(int index) const {
  return metrics_[GdiResourceSet::IsFontIndex(index) ? index : 0];
}

const QtDrawResources& QtDrawResources::Shared() {
  // Kept to the end of the process on purpose: the fonts must not be destroyed after the
  // application object is gone.
  static const QtDrawResources* shared = new QtDrawResources(SharedGdiResources());
  return *shared;
}

void SetSystemColoursFromPalette(const QPalette& palette) {
  auto colour = [&](QPalette::ColorRole role) {
    const QColor c = palette.color(QPalette::Active, role);
    return Brenno::Colour{static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                          static_cast<uint8_t>(c.blue())};
  };
  SystemColours system;
  system.highlight_text = colour(QPalette::HighlightedText);
  system.button_face = colour(QPalette::Button);
  system.highlight = colour(QPalette::Highlight);
  SetSystemColours(system);
}

QtDrawContext::QtDrawContext(QPainter& painter, const QtDrawResources& resources)
    : painter_(painter), resources_(resources) {
  painter_.save();
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setBackgroundMode(Qt::TransparentMode);
}

QtDrawContext::~QtDrawContext() { painter_.restore(); }

void QtDrawContext::DrawLine(int x1, int y1, int x2, int y2, int pen) {
  painter_.setPen(resources_.Pen(pen));
  DrawSegment(painter_, x1, y1, x2, y2);
}

void QtDrawContext::FillRect(const Rect& rect, int brush) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  painter_.fillRect(ToQRect(rect), resources_.Brush(brush));
}

// The outermost pixels of the rectangle, each set once (so an inverting pen inverts each once).
void QtDrawContext::Outline(const Rect& r, const QPen& pen) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  painter_.setPen(pen);
  painter_.setBrush(Qt::NoBrush);
  const int l = r.left, t = r.top, rr = r.right - 1, b = r.bottom - 1;
  if (l == rr || t == b) {
    DrawSegment(painter_, l, t, l == rr ? l : r.right, t == b ? t : r.bottom);
    return;
  }
  DrawSegment(painter_, l, t, rr, t);
  DrawSegment(painter_, rr, t, rr, b);
  DrawSegment(painter_, rr, b, l, b);
  DrawSegment(painter_, l, b, l, t);
}

void QtDrawContext::DrawRectangle(const Rect& rect, int pen, int brush) {
  const Rect r = Normalised(rect);
  if (r.right <= r.left || r.bottom <= r.top) return;
  painter_.fillRect(ToQRect(r), resources_.Brush(brush));
  Outline(r, resources_.Pen(pen));
}

void QtDrawContext::FrameRectangle(const Rect& rect, int pen) { Outline(Normalised(rect), resources_.Pen(pen)); }

void QtDrawContext::DrawInvertedFrame(const Rect& rect, int pen) {
  painter_.save();
  painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
  Outline(Normalised(rect), resources_.Pen(pen));
  painter_.restore();
}

void QtDrawContext::DrawText(std::wstring_view text, const Rect& rect, int font, int colour, unsigned format) {
  if (text.empty() || rect.right <= rect.left || rect.bottom <= rect.top) return;
  const QRect box = ToQRect(rect);
  const int layout = Qt::TextSingleLine | Qt::TextExpandTabs;
  QString shown = ToQString(text);
  if (format & kTextEndEllipsis) {
    shown = resources_.Metrics(font, TextScale()).elidedText(shown, Qt::ElideRight, box.width(), Qt::TextExpandTabs);
  }
  painter_.setFont(resources_.Font(font, TextScale()));
  painter_.setPen(resources_.Colour(colour));
  painter_.drawText(box, QtAlignment(format) | layout, shown);
}

TextExtent QtDrawContext::MeasureText(std::wstring_view text, int font) {
  const QFontMetrics& metrics = resources_.Metrics(font, TextScale());
  const QSize size = metrics.size(Qt::TextSingleLine | Qt::TextExpandTabs, ToQString(text));
  return TextExtent{size.width(), metrics.height()};
}

}  // namespace Brenno
