#include "core/compiler/binary_image.h"

namespace Brenno {

// The members go in the reverse of their order.
BinaryImage::~BinaryImage() {
  DestroyImagePageMap(ProgramInstructions);
  DestroyImagePageMap(ProgramArguments);
  std::vector<uint32_t>().swap(ProgramConsts);
  DestroyImagePageMap(SystemPages);
  DestroyImagePageMap(DataPages);
}

}  // namespace Brenno
