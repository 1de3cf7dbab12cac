// The image stamps of the online monitor taken from the compiler: the current project compiled
// with a printing report, its pages as the stamps take them.
#pragma once

#include "core/compiler/binary_image.h"
#include "core/link/online_monitor.h"

namespace Brenno {

class AppEnvironment;

// The pages of an image as the image stamps take them.
CompiledImagePages ImagePagesOf(const BinaryImage& image);

// The image compiler of the stamps: the current project compiled with a printing report.
void CompileImageStampPages(AppEnvironment& env, CompiledImagePages& pages);
// Installs CompileImageStampPages as the online monitor's image compiler.
void InstallImageStampCompiler();

}  // namespace Brenno
