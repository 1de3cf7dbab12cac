#include "core/program/page_conversion.h"

#include "core/convert/page_conversion.h"
#include "core/program/program_block.h"

namespace Brenno {

void ConvertPageToStl(ProgramPage& page, CompileReport& report, const ProgramBlock& program) {
  ConvertPageView(page, kViewModeStl, report, program);
}

void ConvertPageToLad(ProgramPage& page, CompileReport& report, const ProgramBlock& program) {
  ConvertPageView(page, kViewModeLad, report, program);
}

void ConvertPageToMode(int mode, CompileReport& report, ProgramPage& page, const ProgramBlock& program) {
  ConvertPageView(page, mode, report, program);
}

}  // namespace Brenno
