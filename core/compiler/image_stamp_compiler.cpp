#include "core/compiler/image_stamp_compiler.h"

#include "core/compiler/block_compilers.h"
#include "core/env/exception_error.h"
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
    throw;
  }
  report.PrintTotal();
  if (total != 0) throw ExceptionParseBinaryError();
  return image;
}

}  // namespace Brenno
