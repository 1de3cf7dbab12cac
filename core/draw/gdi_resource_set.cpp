#include "core/draw/gdi_resource_set.h"

namespace Brenno {

namespace {

SystemColours& SystemColourTable() {
  static SystemColours table;
  return table;
}

// Where a fixed colour is given; the system entries are marked with kSys* and filled from the
// system colour table.
enum Source { kFixed, kSysHighlightText, kSysButtonFace, kSysHighlight };

struct ColourEntry {
  Source source;
  Colour value;
};

constexpr ColourEntry kColourTable[GdiResourceSet::kColourCount] = {
    {kFixed, {0, 0, 0}},          // 0
    {kFixed, {0, 128, 0}},        // 1
    {kFixed, {0, 0, 128}},        // 2
    {kFixed, {128, 0, 128}},      // 3
    {kFixed, {0, 0, 0}},          // 4
    {kFixed, {192, 192, 192}},    // 5
    {kFixed, {128, 128, 0}},      // 6
    {kFixed, {0, 0, 0}},          // 7
    {kFixed, {128, 128, 224}},    // 8
    {kFixed, {0, 128, 0}},        // 9
    {kFixed, {192, 0, 0}},        // 10
    {kFixed, {192, 0, 0}},        // 11
    {kFixed, {192, 0, 0}},        // 12
    {kSysHighlightText, {}},      // 13
    {kSysButtonFace, {}},         // 14
    {kFixed, {255, 255, 128}},    // 15
    {kFixed, {128, 0, 0}},        // 16
    {kSysButtonFace, {}},         // 17
    {kSysButtonFace, {}},         // 18
    {kFixed, {255, 255, 255}},    // 19
    {kFixed, {255, 255, 255}},    // 20
    {kSysHighlight, {}},          // 21
};

}  // namespace

void SetSystemColours(const SystemColours& colours) { SystemColourTable() = colours; }

SystemColours GetSystemColours() { return SystemColourTable(); }

GdiResourceSet::GdiResourceSet() : GdiResourceSet(SystemColourTable()) {}

GdiResourceSet::GdiResourceSet(const SystemColours& system) {
  for (int i = 0; i < kColourCount; ++i) {
    const ColourEntry& entry = kColourTable[i];
    switch (entry.source) {
      case kFixed: colours_[i] = entry.value; break;
      case kSysHighlightText: colours_[i] = system.highlight_text; break;
      case kSysButtonFace: colours_[i] = system.button_face; break;
      case kSysHighlight: colours_[i] = system.highlight; break;
    }
  }
  for (int c = 0; c < kColourCount; ++c) {
    for (int style = 0; style < 4; ++style) {
      pens_[c * 4 + style] = PenDesc{colours_[c], static_cast<PenStyle>(style), 1};
    }
  }
  for (int c = 0; c < kBrushCount; ++c) brushes_[c] = BrushDesc{colours_[c]};
  for (int i = 0; i < kFontCount; ++i) {
    fonts_[i] = FontDesc{kFontFace, kFontHeight, (i & kFontBold) ? 700 : 400, (i & kFontItalic) != 0,
                         (i & kFontUnderline) != 0};
  }
}

Colour GdiResourceSet::Colors(int index) const { return colours_[IsColourIndex(index) ? index : 0]; }

const PenDesc& GdiResourceSet::Pens(int index) const { return pens_[IsPenIndex(index) ? index : 0]; }

const BrushDesc& GdiResourceSet::Brushes(int index) const { return brushes_[IsBrushIndex(index) ? index : 0]; }

const FontDesc& GdiResourceSet::Fonts(int index) const { return fonts_[IsFontIndex(index) ? index : 0]; }

const GdiResourceSet& SharedGdiResources() {
  static const GdiResourceSet shared;
  return shared;
}

}  // namespace Brenno
