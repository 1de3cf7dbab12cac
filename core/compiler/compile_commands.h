// The compile commands of the main frame: the current project compiled into an image that is
// then discarded, to check it.
#pragma once

namespace Brenno {

// Compile the current project into an image that is then discarded, to check it: the program
// block alone, or data blocks, system block and program block under one total. The lines and
// the total go to the output through the report. In ladder view every page is then converted to
// statement list and back, silently. An error ends the command: the total is written, then the
// message is shown with MessageBoxOk and the stop icon.
void CompileProgramBlock();
void CompileAllBlocks();

}  // namespace Brenno
