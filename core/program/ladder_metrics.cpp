#include "core/program/ladder_metrics.h"

namespace Brenno {

namespace {
LadderMetrics g_metrics;
}  // namespace

const LadderMetrics& GetLadderMetrics() { return g_metrics; }

void SetLadderMetrics(int zoomPercent, bool fxMode) {
  const int z = zoomPercent;
  LadderMetrics m;
  m.Zoom = z;
  // Text rows, pins and the gaps at the cell edges scale with the zoom like the cells, and the
  // ladder texts are drawn at the zoom too, so that a zoomed page is the same drawing, larger
  // or smaller.
  m.TextHeight = 14 * z / 100;
  m.PinLength = 8 * z / 100;
  m.EdgeGap = 2 * z / 100;
  m.CellWidth = (fxMode ? 81 : 102) * z / 100;
  m.CellHeight = (fxMode ? 45 : 54) * z / 100;
  m.CellWidthTwoThirds = 2 * m.CellWidth / 3;
  m.CellHeightTwoThirds = 2 * m.CellHeight / 3;
  m.ContactWidth = (fxMode ? 12 : 32) * z / 100;
  m.ContactHeight = (fxMode ? 14 : 16) * z / 100;
  m.CoilWidth = 32 * z / 100;
  m.CoilHeight = (fxMode ? 14 : 16) * z / 100;
  m.FxBoxWidth = m.CellWidth - 16;
  m.FxBoxHeight = (fxMode ? 18 : 22) * z / 100;
  g_metrics = m;
}

}  // namespace Brenno
