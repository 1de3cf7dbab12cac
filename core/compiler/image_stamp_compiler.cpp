#include "core/compiler/image_stamp_compiler.h"

#include "core/compiler/block_compilers.h"
#include "core/env/exception_error.h"
#include "core/env/information_output.h"
#include "core/program/compile_report.h"

namespace Brenno {

BinaryImage CompileProjectImage(bool print) {
  CompileReport report(print);
  BinaryImage image;
  int total = 0;
  try {
    EncodeDataBlocks(report, image);
    EncodeSystemBlock(report, image);
    EncodeProgramBlocks(report, image);
    total = report.TotalErrors();
  } catch (...) {
    // The report still ends (and prints its total) when an error leaves a compiler.
    report.PrintTotal();
    if (print) ShowInformationOutput();
    throw;
  }
  report.PrintTotal();
  if (total != 0) {
    // The error's own message says little; the report names the page and network that failed.
    if (print) ShowInformationOutput();
    throw ExceptionParseBinaryError();
  }
  return image;
}

}  // namespace Brenno
