// The operations behind the workbench's project commands. Four commands replace the project:
// each has an operation that builds the new content into the newest project of the project list
// and a wrapper that runs it as the replace transaction (push a fresh project, build, then drop
// the old project on success or the new one on failure) and shows a failure in a message box.
//
//   TryNewProject        NewProject           start-up and File > New
//   TryOpenProject       OpenProjectFile      File > Open and the command-line open
//   TryImportPmw         ImportPmwFile        File > Open PMW
//   TryChangePlcType     ChangePlcType        PLC > Type
//
// A failed command leaves the previous project current and unchanged, and also puts back what
// selecting a PLC type changed outside the project (the configured type name and the ladder
// metrics). None of these functions notifies the views; the caller does that after success.
// User-interface thread only.
#pragma once

#include <string>
#include <vector>

#include "core/program/program_block.h"

namespace Brenno {

// True when the new project is in place; false after the error was shown with MessageBoxOk and
// the stop icon (the previous project is current again). `cuts`, when given, receives what
// fitting the loaded program pages to the type had to cut (open and type change). What an open
// or a type change had to change of what it read (texts read as empty, networks and local
// variables cut) is shown in a warning box once the new project is current. An open names the
// whole copies that saves kept beside the file (KeptCopiesNotice), in that box or after the
// error.
bool TryNewProject();
bool TryOpenProject(const std::wstring& path, std::vector<ProgramBlockCut>* cuts = nullptr);
bool TryImportPmw(const std::wstring& path);
bool TryChangePlcType(const std::wstring& typeName, std::vector<ProgramBlockCut>* cuts = nullptr);
// Writes the current project; false after showing the error. The project list is not touched.
// Whole copies that earlier saves kept beside the file and that the save did not make redundant
// are named in a warning box after a successful save, in the error after a failed one.
bool TrySaveProject(const std::wstring& path);

// Build the newest project; throw an ExceptionError on failure.
// A new project of the environment's configured type (PlcName).
void NewProject();
// The newest project of the given type with the user's pages of the project before it (symbol
// pages, data blocks, view mode, program units, status charts), fitted to the new type; the
// system block takes the new type's defaults.
std::vector<ProgramBlockCut> ChangePlcType(const std::wstring& typeName);
// A new project of the configured type whose main program holds the program of a .pmw file,
// in statement-list view.
void ImportPmwFile(const std::wstring& path);


}  // namespace Brenno
