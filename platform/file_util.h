// File and folder helpers: the program directory, sorted listings, whole-file reads and
// writes that never leave a half-written file behind.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Folder of the running program, without a trailing separator.
std::wstring GetProgramDirectory();

// Folder of the shared object (or program) that contains the given code address, without a
// trailing separator; empty when it cannot be found.
std::wstring GetModuleDirectoryOf(const void* addressInModule);

// Names (not paths) of the sub-folders / regular files of a folder, sorted by name (code
// point order), "." and ".." left out. A folder that cannot be read gives an empty list and
// false.
bool ListSubfolders(const std::wstring& folder, std::vector<std::wstring>& names);
bool ListFiles(const std::wstring& folder, std::vector<std::wstring>& names);

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);

// Joins a folder and a name with one "/" between them.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// Reads a whole file. False (and `error` set to a readable reason) when it cannot be read.
bool ReadFileBytes(const std::wstring& path, std::vector<uint8_t>& bytes, std::wstring* error = nullptr);

// Writes a whole file: the bytes go to a temporary file in the same folder, which is flushed
// to disk and then renamed over the target. On any failure the old file stays untouched and
// the temporary file is removed.
bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes, std::wstring* error = nullptr);
bool WriteFileBytes(const std::wstring& path, const void* data, size_t size, std::wstring* error = nullptr);

}  // namespace platform
