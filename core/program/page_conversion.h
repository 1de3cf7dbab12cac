// The page conversions by their program-model names: the whole page to statement list or to
// ladder, carried out by the converter's page conversion (core/convert/page_conversion.h). A
// network that does not convert is reported with its page and 0-based index and keeps its
// form; the undo history is cleared.
#pragma once

#include "core/program/compile_report.h"
#include "core/program/program_page.h"

namespace Brenno {

class ProgramBlock;

// `program` names the page in the report lines.
void ConvertPageToStl(ProgramPage& page, CompileReport& report, const ProgramBlock& program);
void ConvertPageToLad(ProgramPage& page, CompileReport& report, const ProgramBlock& program);
// Mode 1 or 2; any other mode throws ExceptionLogicError.
void ConvertPageToMode(int mode, CompileReport& report, ProgramPage& page, const ProgramBlock& program);

}  // namespace Brenno
