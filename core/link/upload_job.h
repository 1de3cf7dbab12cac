// The upload: the PLC's data blocks, system pages, program and password table read over the
// link on a worker thread of its own and decoded into a fresh project of the same PLC type,
// which replaces the current project only when everything succeeded.
#pragma once

#include <cstdint>

namespace Brenno {

class AppEnvironment;
class BinaryImage;

// Notification of the main frame once the current project has been replaced (EvProjectReplaced).
inline constexpr int kNotifyProjectReplaced = 0x001;

// Fits the fresh current project to its type and decodes the image into it (silent report):
// reset, data, system and program decode, default symbol tables and status charts. A counted
// decode error throws ExceptionParseBinaryError. With `withStamps` the image comes from a PLC
// that a download wrote: system page 1 then ends in the six image stamp bytes, which are taken
// off when the page is exactly that much longer than the type's page 1, so that the stamps do
// not become part of the project's page (and grow it by six bytes on every further download).
void DecodeImageIntoCurrentProject(BinaryImage image, bool withStamps);
// Commits the replace: drops the previous project, forgets the file path, marks the project
// changed and tells the windows.
void CommitReplacedProject(AppEnvironment& env);

// The worker-thread body of the upload. Always returns 0.
int UploadThreadProc(AppEnvironment& env);

}  // namespace Brenno
