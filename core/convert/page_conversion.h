// The conversion of every network of a program page when the page's view mode changes between
// statement list (1) and ladder (2), with the real LAD/STL converter (ConvertToStl,
// ConvertToLad). A network that does not convert (any ExceptionError: an analysis error, or an
// inconsistency the converter found in it) is reported to the compile report with the page and
// its 0-based index and keeps its form, so the page then shows it as "INVALID"; the others
// convert. The page's networks are replaced wholesale, so the undo history is cleared.
#pragma once

#include <optional>
#include <vector>

#include "core/convert/stl_generation.h"
#include "core/program/compile_report.h"
#include "core/program/program_page.h"

namespace Brenno {

class ProgramBlock;

// Mode 1: every ladder network becomes a statement list; mode 2: every statement-list network
// becomes a ladder. Nothing happens when the page already shows the mode; any other mode throws
// ExceptionLogicError. `program` names the page in the report lines. An exception that is not an
// ExceptionError (out of memory) passes to the caller and leaves the page exactly as it was
// (networks, view mode and history).
void ConvertPageView(ProgramPage& page, int mode, CompileReport& report, const ProgramBlock& program);
// The same, with statement-list forms worked out beforehand for the switch to mode 1: entry i,
// when set, is MakeStlForm of network i as it stands now (operands as addresses) and is taken
// instead of working it out again (the entry is emptied). Null, or an entry not set: worked out.
void ConvertPageView(ProgramPage& page, int mode, CompileReport& report, const ProgramBlock& program,
                     std::vector<std::optional<StlForm>>* prepared);

// The same by the program model's names: the whole page to statement list, to ladder, or to the
// given mode.
void ConvertPageToStl(ProgramPage& page, CompileReport& report, const ProgramBlock& program);
void ConvertPageToLad(ProgramPage& page, CompileReport& report, const ProgramBlock& program);
void ConvertPageToMode(int mode, CompileReport& report, ProgramPage& page, const ProgramBlock& program);

}  // namespace Brenno
