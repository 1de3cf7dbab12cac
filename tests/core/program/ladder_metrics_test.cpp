#include "core/program/ladder_metrics.h"

#include <gtest/gtest.h>

using namespace Brenno;

// Text rows, pins and edge gaps scale with the zoom as the cells do, so that the texts, drawn at
// the zoom, keep fitting their rows.
TEST(LadderMetrics, ScaleWithZoomAndFxMode) {
  struct Case {
    int zoom;
    bool fx;
    int cellW, cellH, cellW23, cellH23, contactW, contactH, coilH, fxBoxW, fxBoxH, textH, pin, gap;
  };
  const Case cases[] = {
      {50, false, 51, 27, 34, 18, 16, 8, 8, 35, 11, 7, 4, 1},
      {200, true, 162, 90, 108, 60, 24, 28, 28, 146, 36, 28, 16, 4},
      {100, false, 102, 54, 68, 36, 32, 16, 16, 86, 22, 14, 8, 2},
      {75, true, 60, 33, 40, 22, 9, 10, 10, 44, 13, 10, 6, 1},
  };
  for (const Case& c : cases) {
    SetLadderMetrics(c.zoom, c.fx);
    const LadderMetrics& m = GetLadderMetrics();
    SCOPED_TRACE(c.zoom);
    EXPECT_EQ(m.CellWidth, c.cellW);
    EXPECT_EQ(m.CellHeight, c.cellH);
    EXPECT_EQ(m.CellWidthTwoThirds, c.cellW23);
    EXPECT_EQ(m.CellHeightTwoThirds, c.cellH23);
    EXPECT_EQ(m.ContactWidth, c.contactW);
    EXPECT_EQ(m.ContactHeight, c.contactH);
    EXPECT_EQ(m.CoilHeight, c.coilH);
    EXPECT_EQ(m.FxBoxWidth, c.fxBoxW);
    EXPECT_EQ(m.FxBoxHeight, c.fxBoxH);
    EXPECT_EQ(m.TextHeight, c.textH);
    EXPECT_EQ(m.PinLength, c.pin);
    EXPECT_EQ(m.EdgeGap, c.gap);
    EXPECT_EQ(m.Zoom, c.zoom);
  }
}

TEST(LadderMetrics, StartValuesBeforeAnySelection) {
  const LadderMetrics start;
  EXPECT_EQ(start.FxBoxWidth, 94);
  EXPECT_EQ(start.FxBoxHeight, 18);
  EXPECT_EQ(start.CellWidth, 102);
}
