// Run-time loading of shared libraries. Catalog files name libraries the way the PLC type
// descriptions were written ("Corvell.dll"); such a name resolves to "libCorvell.so" in the same
// folder when that file exists, and otherwise to the name as given.
#pragma once

#include <string>

namespace platform {

class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  ~DynamicLibrary();
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;
  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;

  // Loads the library (after releasing one held before). False with `error` set when it fails.
  // The library is never unmapped: Release ends this handle, the code stays until the process
  // ends (loading the same file again reaches the same library, with its state).
  bool Load(const std::wstring& path, std::wstring* error = nullptr);
  void Release();
  bool IsLoaded() const { return handle_ != nullptr; }

  // Address of an exported symbol, or null.
  void* Symbol(const char* name) const;

 private:
  void* handle_ = nullptr;
};

// The file a catalog library name resolves to (see above).
std::wstring ResolveLibraryPath(const std::wstring& path);

}  // namespace platform
