#include "core/compiler/image_stamp_compiler.h"

#include "core/compiler/block_compilers.h"
#include "core/env/exception_error.h"
#include "core/link/online_monitor.h"
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

CompiledImagePages ImagePagesOf(const BinaryImage& image) {
  CompiledImagePages pages;
  for (const auto& [key, words] : image.DataPages) pages.DataPages[static_cast<uint32_t>(key)] = words;
  for (const auto& [key, bytes] : image.SystemPages) pages.SystemPages[static_cast<uint32_t>(key)] = bytes;
  pages.Constants = image.ProgramConsts;
  for (const auto& [key, words] : image.ProgramArguments) pages.ArgumentPages[static_cast<uint32_t>(key)] = words;
  for (const auto& [key, words] : image.ProgramInstructions)
    pages.InstructionPages[static_cast<uint32_t>(key)] = words;
  return pages;
}

void CompileImageStampPages(AppEnvironment&, CompiledImagePages& pages) {
  pages = ImagePagesOf(CompileProjectImage(true));
}

void InstallImageStampCompiler() { SetImageCompiler(&CompileImageStampPages); }

}  // namespace Brenno
