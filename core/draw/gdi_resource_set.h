// The shared drawing resources: 22 colours, 88 pens and 22 brushes made from them, and eight
// variants of one font. Painters never make drawing objects of their own for ordinary drawing;
// they pass indices into these tables to a DrawContext, which draws with what the set describes.
//
// Colours 13 (highlight text), 14, 17, 18 (button face) and 21 (highlight) are the system
// colours. The window side stores them from the application palette with SetSystemColours
// before the first set is made; a set reads them once, when it is constructed, and does not
// follow later changes.
//
// An index outside a table is not an error: the lookups answer with entry 0 of that table
// (black, the solid black pen, the black brush, the regular font), so a wrong index draws
// visibly but never reads outside the tables.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace Brenno {

struct Colour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  friend bool operator==(const Colour&, const Colour&) = default;
};

// Pen styles in the order of the pen table.
enum class PenStyle : int { kSolid = 0, kDash = 1, kDot = 2, kDashDot = 3 };

// A cosmetic pen, one pixel wide.
struct PenDesc {
  Colour colour;
  PenStyle style = PenStyle::kSolid;
  int width = 1;
  friend bool operator==(const PenDesc&, const PenDesc&) = default;
};

// A solid brush.
struct BrushDesc {
  Colour colour;
  friend bool operator==(const BrushDesc&, const BrushDesc&) = default;
};

struct FontDesc {
  std::wstring face;
  int height = 0;  // cell height in pixels (ascent plus descent)
  int weight = 400;
  bool italic = false;
  bool underline = false;
  friend bool operator==(const FontDesc&, const FontDesc&) = default;
};

// The system colours the set takes colours 13, 14, 17, 18 and 21 from.
struct SystemColours {
  Colour highlight_text{255, 255, 255};
  Colour button_face{240, 240, 240};
  Colour highlight{0, 120, 215};
  friend bool operator==(const SystemColours&, const SystemColours&) = default;
};

// The process-wide system colour table; the window side fills it from the application palette
// at start-up. UI thread only.
void SetSystemColours(const SystemColours& colours);
SystemColours GetSystemColours();

// Pen index of a colour and style: 4 * colour + style.
constexpr int PenIndex(int colour, PenStyle style) { return colour * 4 + static_cast<int>(style); }
// The solid pen of a colour, which the painters mean when they speak of "pen c".
constexpr int SolidPen(int colour) { return PenIndex(colour, PenStyle::kSolid); }

// Font index from its three bits: bit 0 bold, bit 1 italic, bit 2 underlined.
constexpr int kFontBold = 1;
constexpr int kFontItalic = 2;
constexpr int kFontUnderline = 4;

class GdiResourceSet {
 public:
  static constexpr int kColourCount = 22;
  static constexpr int kPenCount = 88;
  static constexpr int kBrushCount = 22;
  static constexpr int kFontCount = 8;
  static constexpr int kFontHeight = 13;
  static constexpr const wchar_t* kFontFace = L"Tahoma";

  // Fills the tables from the fixed colours and the current system colour table.
  GdiResourceSet();
  // Fills the tables with the system colours given.
  explicit GdiResourceSet(const SystemColours& system);

  static bool IsColourIndex(int index) { return index >= 0 && index < kColourCount; }
  static bool IsPenIndex(int index) { return index >= 0 && index < kPenCount; }
  static bool IsBrushIndex(int index) { return index >= 0 && index < kBrushCount; }
  static bool IsFontIndex(int index) { return index >= 0 && index < kFontCount; }

  // Lookups; an index outside the table answers entry 0.
  Colour Colors(int index) const;
  const PenDesc& Pens(int index) const;
  const BrushDesc& Brushes(int index) const;
  const FontDesc& Fonts(int index) const;

 private:
  std::array<Colour, kColourCount> colours_{};
  std::array<PenDesc, kPenCount> pens_{};
  std::array<BrushDesc, kBrushCount> brushes_{};
  std::array<FontDesc, kFontCount> fonts_{};
};

// The one set the windows paint with, made on first use from the system colour table as it is
// then (so the window side sets the system colours first). Lives until the process ends.
const GdiResourceSet& SharedGdiResources();

}  // namespace Brenno
