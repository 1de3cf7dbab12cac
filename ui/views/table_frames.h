// Hooks the windows of the symbol tables, the cross reference and the program variable table
// into the main frame: the factories of the function symbol, variable symbol and cross-reference
// child frames, and the variable table view of the program editor's upper row.
#pragma once

#include "ui/shell/main_frame_commands.h"

class QWidget;

namespace Brenno {

class CMainFrame;

void RegisterTableViewFrames(CMainFrame& frame);

// The commands of these child frames, for the main frame's routing: `child` is the widget of the
// active child window. False when it is none of these frames or the frame does not take the
// command now (then the main frame goes on with its own routing).
bool UpdateTableFrameCommand(QWidget* child, int offset, CommandStatus& status);
bool RunTableFrameCommand(QWidget* child, int offset);

}  // namespace Brenno
