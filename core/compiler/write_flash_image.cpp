#include "core/compiler/write_flash_image.h"

#include "core/compiler/binary_image.h"
#include "core/compiler/block_compilers.h"
#include "core/env/exception_error.h"
#include "core/program/compile_report.h"
#include "core/project/flash_image_file.h"

namespace Brenno {

void WriteFlashImage() {
  BinaryImage image;
  CompileReport report(true);
  try {
    EncodeDataBlocks(report, image);
    EncodeSystemBlock(report, image);
    EncodeProgramBlocks(report, image);
    if (report.TotalErrors() != 0) throw ExceptionParseBinaryError();
  } catch (...) {
    report.PrintTotal();
    throw;
  }
  report.PrintTotal();
  WriteFlashImageFile(kFlashImageFileName, image);
}

}  // namespace Brenno
