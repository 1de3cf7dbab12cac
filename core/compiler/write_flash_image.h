// The write-file command: compiles the current project and stores the image as "Flash.DAT" in
// the current directory.
#pragma once

#include <string>

namespace Brenno {

// Compiles the data blocks, the system pages and the program of the current project with a
// printing report (its lines and its total go to the output pane), then writes the flash image
// file and names its full path in the output pane; returns that path. A compile that counted
// errors, or an error thrown by an encoder, ends the report and is thrown on
// (ExceptionParseBinaryError for counted errors) without writing the file, so a half-compiled
// image never replaces a good one; the caller shows the message when it is not empty. An image
// the file format cannot hold and a file that cannot be written throw as WriteFlashImageFile
// says. Whole copies that earlier writes kept beside the file are named in a warning box after
// the write (KeptCopiesNotice).
std::wstring WriteFlashImage();

}  // namespace Brenno
