// The compile that the download, the transfers through the exchange library and the image
// stamps share: the data blocks, system pages and program pages of the current project encoded
// into one BinaryImage with one report, judged by the report's total.
#pragma once

#include "core/compiler/binary_image.h"

namespace Brenno {

class AppEnvironment;
struct CompiledImagePages;

// Encodes the current project (data, system, program, in this order) into a new image. The
// report prints its lines and its total when `print` is set. Any counted error throws
// ExceptionParseBinaryError after the report has ended; nothing of a failed compile is returned.
BinaryImage CompileProjectImage(bool print);

// The pages of an image as the image stamps take them.
CompiledImagePages ImagePagesOf(const BinaryImage& image);

// The image compiler of the stamps: the current project compiled with a printing report.
void CompileImageStampPages(AppEnvironment& env, CompiledImagePages& pages);
// Installs CompileImageStampPages as the online monitor's image compiler.
void InstallImageStampCompiler();

}  // namespace Brenno
