#include "core/compiler/compile_commands.h"

#include "core/compiler/binary_image.h"
#include "core/compiler/block_compilers.h"
#include "core/convert/program_view_switch.h"
#include "core/env/exception_error.h"
#include "core/program/compile_report.h"
#include "core/project/message_box.h"
#include "core/project/project.h"

namespace Brenno {

namespace {

void RunCompile(bool allBlocks) {
  CompileReport report(true);
  try {
    BinaryImage image;
    if (allBlocks) {
      EncodeDataBlocks(report, image);
      EncodeSystemBlock(report, image);
    }
    ProgramBlock& program = CurrentProject().Program;
    // A ladder program is shown again as ladder made from its statement lists: the switch to
    // statement list takes the forms the compiler worked out rather than working them out again.
    PreparedStlForms forms;
    EncodeProgramBlocks(report, image, program.ViewMode == kViewModeLad ? &forms : nullptr);
    if (program.ViewMode == kViewModeLad) {
      CompileReport silent(false);
      SwitchProgramView(program, silent, kViewModeStl, forms);
      SwitchProgramView(program, silent, kViewModeLad);
      silent.PrintTotal();
    }
    report.PrintTotal();
  } catch (const ExceptionError& error) {
    report.PrintTotal();
    MessageBoxOk(error.Message(), kMessageIconStop);
  }
}

}  // namespace

void CompileProgramBlock() { RunCompile(false); }

void CompileAllBlocks() { RunCompile(true); }

}  // namespace Brenno
