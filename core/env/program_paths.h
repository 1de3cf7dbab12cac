// Small start-up helpers: where the program lies, the library search path and the sub-folders
// of a folder (the PLC type catalog).
#pragma once

#include <string>
#include <vector>

namespace Brenno {

// Folder of the running program, without a trailing separator.
std::wstring GetProgramDirectory();

// The whole value of the PATH variable; empty when it is not set.
std::wstring GetPathVariable();

// Clears the list, then appends folder + "/" + name for every sub-folder whose name does not
// begin with ".", in name order. A folder that does not exist gives an empty list.
void ListSubdirectories(std::vector<std::wstring>& list, const std::wstring& folder);

}  // namespace Brenno
