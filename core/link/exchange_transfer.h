// Transfers for PLC types that do not speak the native link: the PLC type's exchange library
// receives the compiled image page by page and performs the download, or performs the upload
// and hands the pages back. Both run on the user-interface thread.
#pragma once

#include <vector>

namespace Brenno {

class AppEnvironment;
class BinaryImage;

// The download through the given entry table (the 23 entries in the order of
// ExchangeLibraryEntryNames): clear and set the pages of each kind (data, system, constants,
// arguments, instructions; empty pages are not offered), the link settings, then
// ExcuteUserDownload, whose false throws ExceptionInitDownloadDataError. A table with a missing
// entry throws ExceptionInitPlcTypeError before anything is called.
void DownloadImageThroughEntries(AppEnvironment& env, const std::vector<void*>& entries, const BinaryImage& image);
// The upload through the given entry table into the current project (which the caller has
// appended): link settings, ExcuteUserUpload (false: ExceptionInitUploadDataError), the reset
// of the project, every page the type can have asked for, and the decode.
void UploadThroughEntries(AppEnvironment& env, const std::vector<void*>& entries);

// The commands of the main frame for such types: errors are shown in a message box.
// Compiles the current project and downloads it through its type's exchange library; changes
// nothing in the workbench.
void DownloadThroughLibrary(AppEnvironment& env);
// Uploads through the library into a fresh project of the same type that replaces the current
// one on success, holding the command state (without the port) meanwhile.
void UploadThroughLibrary(AppEnvironment& env);

}  // namespace Brenno
