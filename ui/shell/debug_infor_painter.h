// The table of the debug information pane: seven labelled rows with where the PLC program stands
// (program block, network, step) and the state of its stacks, read from the debug record of the
// online cache. Plain drawing on a DrawContext, so the rules are testable without a screen.
#pragma once

#include <array>
#include <string>

#include "core/draw/draw_context.h"
#include "core/program/online_cache.h"

namespace Brenno {

inline constexpr int kDebugRowCount = 7;
// The size of the table in content coordinates and the scroll step.
inline constexpr int kDebugContentWidth = 450;
inline constexpr int kDebugContentHeight = 125;
inline constexpr int kDebugLineStep = 10;

// The label of row k in the current language ("Function" / "程序", ...).
const wchar_t* DebugRowLabel(int row);

// The seven value texts: for a fresh record (null: none) while the state is online (3, 5, 8, 9)
// the record's values (page key and the two stack words as "XXXXXXXXH", the network less one
// with 0 kept as 0, the rest as unsigned decimals); online without a fresh record "Unknown" /
// "未知" in every row; in any other state empty texts.
std::array<std::wstring, kDebugRowCount> DebugValueTexts(int commState, const DebugRecord* fresh);

// Draws the table into the area (the client rectangle shifted by the scroll positions): the
// whole client area whitened, the row labels "k: [label]" and the value texts. The debug
// record is read from the snapshot (which notes the read while its request flag is set).
void PaintDebugInformation(const Rect& area, int commState, OnlineCacheSnapshot& snapshot, DrawContext& dc);

// Whether a command job that opened the port from the offline state runs (2, 6, 7): the pane is
// then painted uniformly grey.
bool IsOfflineCommandState(int commState);

}  // namespace Brenno
