#include "core/draw/gdi_resource_set.h"

#include <gtest/gtest.h>

#include <climits>

namespace Brenno {
namespace {

const SystemColours kSystem{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};

TEST(GdiResourceSetTest, ColoursInIndexOrderWithSystemEntries) {
  const Colour expected[GdiResourceSet::kColourCount] = {
      {0, 0, 0},     {0, 128, 0},   {0, 0, 128},     {128, 0, 128}, {0, 0, 0},   {192, 192, 192},
      {128, 128, 0}, {0, 0, 0},     {128, 128, 224}, {0, 128, 0},   {192, 0, 0}, {192, 0, 0},
      {192, 0, 0},   {1, 2, 3},     {4, 5, 6},       {255, 255, 128}, {128, 0, 0}, {4, 5, 6},
      {4, 5, 6},     {255, 255, 255}, {255, 255, 255}, {7, 8, 9}};
  const GdiResourceSet set(kSystem);
  for (int i = 0; i < GdiResourceSet::kColourCount; ++i) {
    EXPECT_EQ(set.Colors(i), expected[i]) << "colour " << i;
    EXPECT_EQ(set.Brushes(i).colour, expected[i]) << "brush " << i;
    for (int style = 0; style < 4; ++style) {
      const PenDesc& pen = set.Pens(PenIndex(i, static_cast<PenStyle>(style)));
      EXPECT_EQ(pen, (PenDesc{expected[i], static_cast<PenStyle>(style), 1})) << "pen of colour " << i;
    }
  }
  // The two pens the painters name by number.
  EXPECT_EQ(set.Pens(76), (PenDesc{{255, 255, 255}, PenStyle::kSolid, 1}));
  EXPECT_EQ(set.Pens(30), (PenDesc{{0, 0, 0}, PenStyle::kDot, 1}));
  EXPECT_EQ(SolidPen(19), 76);
}

TEST(GdiResourceSetTest, EightFontsFromThreeBits) {
  const GdiResourceSet set(kSystem);
  for (int i = 0; i < GdiResourceSet::kFontCount; ++i) {
    const FontDesc& font = set.Fonts(i);
    EXPECT_EQ(font.face, L"Tahoma");
    EXPECT_EQ(font.height, 13);
    EXPECT_EQ(font.weight, (i & 1) ? 700 : 400) << i;
    EXPECT_EQ(font.italic, (i & 2) != 0) << i;
    EXPECT_EQ(font.underline, (i & 4) != 0) << i;
  }
}

TEST(GdiResourceSetTest, IndicesOutsideTheTablesAnswerEntryZero) {
  const GdiResourceSet set(kSystem);
  for (int bad : {-1, INT_MIN, INT_MAX}) {
    EXPECT_EQ(set.Colors(bad), set.Colors(0)) << bad;
    EXPECT_EQ(set.Pens(bad), set.Pens(0)) << bad;
    EXPECT_EQ(set.Brushes(bad), set.Brushes(0)) << bad;
    EXPECT_EQ(set.Fonts(bad), set.Fonts(0)) << bad;
  }
  // One past the end of each table.
  EXPECT_EQ(set.Colors(22), set.Colors(0));
  EXPECT_EQ(set.Pens(88), set.Pens(0));
  EXPECT_EQ(set.Brushes(22), set.Brushes(0));
  EXPECT_EQ(set.Fonts(8), set.Fonts(0));
  // The last entries are still their own.
  EXPECT_EQ(set.Colors(21), (Colour{7, 8, 9}));
  EXPECT_EQ(set.Pens(87), (PenDesc{{7, 8, 9}, PenStyle::kDashDot, 1}));
  EXPECT_TRUE(set.Fonts(7).underline);
}

TEST(GdiResourceSetTest, SystemColoursAreTakenWhenTheSetIsMade) {
  const SystemColours saved = GetSystemColours();
  SetSystemColours(kSystem);
  const GdiResourceSet set;
  SetSystemColours(SystemColours{{9, 9, 9}, {9, 9, 9}, {9, 9, 9}});
  EXPECT_EQ(set.Colors(13), (Colour{1, 2, 3}));
  EXPECT_EQ(set.Colors(18), (Colour{4, 5, 6}));
  EXPECT_EQ(set.Brushes(21).colour, (Colour{7, 8, 9}));
  SetSystemColours(saved);
}

}  // namespace
}  // namespace Brenno
