#include "core/program/ladder_metrics.h"

namespace Brenno {

namespace {
LadderMetrics g_metrics;
}  // namespace

const LadderMetrics& GetLadderMetrics() { return g_metrics; }

void SetLadderMetrics(int zoomPercent, bool fxMode) {
  const int z = zoomPercent;
  LadderMetrics m;
  m.TextHeight = 14;
  m.PinLength = 8;
  m.EdgeGap = 2;
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
