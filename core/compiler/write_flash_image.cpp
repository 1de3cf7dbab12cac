#include "core/compiler/write_flash_image.h"

#include <filesystem>

#include "core/compiler/binary_image.h"
#include "core/compiler/image_stamp_compiler.h"
#include "core/env/information_output.h"
#include "core/env/language.h"
#include "core/project/flash_image_file.h"
#include "core/project/message_box.h"
#include "core/project/project_file.h"

namespace Brenno {

std::wstring WriteFlashImage() {
  const BinaryImage image = CompileProjectImage(true);
  // The file goes to the current folder, which the user may not know: the pane names it.
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(kFlashImageFileName, error);
  if (error) path = kFlashImageFileName;
  WriteFlashImageFile(path.wstring(), image);
  AppendInformationLine(PickText(L"Image file written: ", L"映像文件已写入: ") + path.wstring());
  const std::wstring keptCopies = KeptCopiesNotice(path.wstring());
  if (!keptCopies.empty()) MessageBoxOk(keptCopies, kMessageIconWarning);
  return path.wstring();
}

}  // namespace Brenno
