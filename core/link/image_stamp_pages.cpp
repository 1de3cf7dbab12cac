#include "core/link/image_stamp_pages.h"

#include "core/compiler/image_stamp_compiler.h"

namespace Brenno {

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
