// The drawing surface of the painters (core/draw/draw_context.h) on a QPainter, and the Qt
// drawing objects made once from the shared resource set.
#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPalette>
#include <QPen>
#include <QRect>
#include <QString>

#include <array>
#include <map>
#include <utility>
#include <vector>

#include "core/draw/draw_context.h"
#include "core/draw/gdi_resource_set.h"

class QPainter;

namespace Brenno {

// Colours, pens, brushes and fonts of a GdiResourceSet as Qt objects, made once so that painting
// makes none. An index outside a table answers entry 0, as the set does. Needs a
// QGuiApplication (the fonts); UI thread only.
class QtDrawResources {
 public:
  explicit QtDrawResources(const GdiResourceSet& set);

  const QColor& Colour(int index) const;
  const QPen& Pen(int index) const;
  const QBrush& Brush(int index) const;
  const QFont& Font(int index) const;
  const QFontMetrics& Metrics(int index) const;
  // The font scaled to a percentage of its size (100: Font(index)), made on first use and kept.
  const QFont& Font(int index, int percent) const;
  const QFontMetrics& Metrics(int index, int percent) const;

  // The resources of SharedGdiResources(), made on first use and kept until the process ends.
  static const QtDrawResources& Shared();

  // The installed family a font face is drawn with: the face itself when installed, else the
  // first installed of "WenQuanYi Micro Hei", "Noto Sans CJK SC", "DejaVu Sans", else the
  // application's default family.
  static QString ResolveFamily(const QString& face);

 private:
  std::array<QColor, GdiResourceSet::kColourCount> colours_;
  std::array<QPen, GdiResourceSet::kPenCount> pens_;
  std::array<QBrush, GdiResourceSet::kBrushCount> brushes_;
  struct ScaledFont {
    QFont font;
    QFontMetrics metrics;
  };
  const ScaledFont& Scaled(int index, int percent) const;

  std::array<FontDesc, GdiResourceSet::kFontCount> fontDescs_;
  std::array<QFont, GdiResourceSet::kFontCount> fonts_;
  std::vector<QFontMetrics> metrics_;
  mutable std::map<std::pair<int, int>, ScaledFont> scaled_;
};

// Makes a font of the descriptor: the resolved family with a CJK family behind it for the
// glyphs it lacks, the weight, italic and underline of the descriptor, and the largest pixel
// size whose line height stays within the descriptor's cell height.
QFont MakeQtFont(const FontDesc& desc);

// A rectangle of the drawing interface as a Qt rectangle, and a text format's alignment as Qt
// alignment flags.
QRect ToQRect(const Rect& r);
int QtAlignment(unsigned format);

// Stores the palette's highlighted-text, button and highlight colours as the system colours
// of the resource sets made afterwards (SetSystemColours).
void SetSystemColoursFromPalette(const QPalette& palette);

class QtDrawContext : public DrawContext {
 public:
  // Draws on the painter, which must stay active for the object's life; the painter's state is
  // saved here and restored by the destructor.
  explicit QtDrawContext(QPainter& painter, const QtDrawResources& resources = QtDrawResources::Shared());
  ~QtDrawContext() override;
  QtDrawContext(const QtDrawContext&) = delete;
  QtDrawContext& operator=(const QtDrawContext&) = delete;

  void DrawLine(int x1, int y1, int x2, int y2, int pen) override;
  void FillRect(const Rect& rect, int brush) override;
  void DrawRectangle(const Rect& rect, int pen, int brush) override;
  void FrameRectangle(const Rect& rect, int pen) override;
  void DrawInvertedFrame(const Rect& rect, int pen) override;
  void DrawText(std::wstring_view text, const Rect& rect, int font, int colour, unsigned format) override;
  TextExtent MeasureText(std::wstring_view text, int font) override;

 private:
  void Outline(const Rect& normalised, const QPen& pen);

  QPainter& painter_;
  const QtDrawResources& resources_;
};

}  // namespace Brenno
