// The compile that the download, the transfers through the exchange library and the image
// stamps share: the data blocks, system pages and program pages of the current project encoded
// into one BinaryImage with one report, judged by the report's total. The online monitor takes
// its image stamps from it (core/link/image_stamp_pages.h).
#pragma once

#include "core/compiler/binary_image.h"

namespace Brenno {

// Encodes the current project (data, system, program, in this order) into a new image. The
// report prints its lines and its total when `print` is set. Any counted error throws
// ExceptionParseBinaryError after the report has ended; nothing of a failed compile is returned.
// A printing compile that fails brings the information output to the front, so that the user
// sees which page and network the report names.
BinaryImage CompileProjectImage(bool print);

}  // namespace Brenno
