// Cell and symbol sizes of the ladder drawing in pixels. Process-wide: set when a PLC type is
// selected and when the user zooms; read by the ladder geometry, painting and editing code.
#pragma once

namespace Brenno {

struct LadderMetrics {
  // The zoom in percent the metrics were set for; the ladder texts are drawn at this size too.
  int Zoom = 100;
  int TextHeight = 14;
  int PinLength = 8;
  int EdgeGap = 2;
  int CellWidth = 102;
  int CellHeight = 54;
  int CellWidthTwoThirds = 68;
  int CellHeightTwoThirds = 36;
  int ContactWidth = 32;
  int ContactHeight = 16;
  int CoilWidth = 32;
  int CoilHeight = 16;
  int FxBoxWidth = 94;
  int FxBoxHeight = 18;
};

// The current metrics (the start values above until the first SetLadderMetrics).
const LadderMetrics& GetLadderMetrics();

// Sets all metrics for a zoom in percent and the PLC type's FX mode (compact cells).
void SetLadderMetrics(int zoomPercent, bool fxMode);

}  // namespace Brenno
