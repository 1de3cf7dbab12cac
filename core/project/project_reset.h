// The three fixed step sequences that fit the newest project of the project list to the PLC
// type that SelectPlcType has just tied it to. A new project runs the reset and then the default
// fill; a project whose working pages come from elsewhere (a project file, the previous project
// on a change of type) runs the reset, receives those pages and then runs the normalising.
// Each sequence reads the project's type through the current project, so the project passed
// must be the current (last) one.
#pragma once

#include <vector>

#include "core/program/program_block.h"

namespace Brenno {

class Project;

// Reset: the cross reference and the online cache emptied, every table rebuilt for the type with
// its reference pages and no working page, the program with its reference units, ladder view
// and the type's limits.
void ResetProjectForType(Project& project);
// Default fill: the initial working pages of every table and of the program.
void FillDefaultProject(Project& project);
// Normalise: carried working pages fitted to the type (unknown pages dropped, pages that no
// longer fit reset, one page kept per table, every system page checked) and, unless `inLine`
// says they are written as this version writes them for the type (a project file it saved), the
// program and data rows brought in line with the type (program_upgrade.h). Returns what had to be
// cut from program pages so that the user can be told.
std::vector<ProgramBlockCut> NormalizeProjectForType(Project& project, bool inLine = false);

}  // namespace Brenno
