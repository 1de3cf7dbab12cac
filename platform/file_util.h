// File and folder helpers: the program directory, sorted listings, whole-file reads and
// writes that never leave a half-written file behind.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <utility>
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
// The size of the regular file the path names (through links); false when there is none.
bool FileSize(const std::wstring& path, uint64_t& size);
bool FolderExists(const std::wstring& path);

// Joins a folder and a name with one "/" between them.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// An allocator whose vectors leave the elements that growing adds uninitialised (values handed
// to a constructor are still constructed from them).
template <class T>
struct UninitializedAllocator : std::allocator<T> {
  template <class U>
  struct rebind {
    using other = UninitializedAllocator<U>;
  };
  UninitializedAllocator() = default;
  template <class U>
  UninitializedAllocator(const UninitializedAllocator<U>&) noexcept {}

  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

// The bytes of a whole file read at once: the read writes every byte, so sizing the buffer
// does not zero it first (for a file of many megabytes that is one more pass over all of it).
using FileBytes = std::vector<uint8_t, UninitializedAllocator<uint8_t>>;

// Reads a whole file. False (and `error` set to a readable reason) when it cannot be read.
bool ReadFileBytes(const std::wstring& path, std::vector<uint8_t>& bytes, std::wstring* error = nullptr);

// Reads a whole file of at most `maxSize` bytes. A larger file is refused as TooLarge before its
// content is read (`error` is then left alone); Failed sets `error` like ReadFileBytes.
enum class ReadFileResult { Ok, Failed, TooLarge };
ReadFileResult ReadFileBytesUpTo(const std::wstring& path, uint64_t maxSize, std::vector<uint8_t>& bytes,
                                 std::wstring* error = nullptr);
ReadFileResult ReadFileBytesUpTo(const std::wstring& path, uint64_t maxSize, FileBytes& bytes,
                                 std::wstring* error = nullptr);

// Writes a whole file. The bytes go to a file in the target's folder that has no name while it
// is written (a named "<name>.tmpXXXXXX" where the file system offers no unnamed files); once
// complete and flushed to disk it is renamed over the target and the folder is flushed. On any
// failure the old file stays untouched and nothing is left behind. A target that is a symbolic
// link stays one: the file it names is replaced. Temporary files that a write killed part-way
// left beside the target are removed by the next write of the same target.
bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes, std::wstring* error = nullptr);

// Gives a byte buffer of many megabytes (a whole project file) room for at least `size` bytes,
// backed by huge pages where the system offers them: the first touch of every 4 KB page of a
// fresh buffer costs more than reading the file into it.
void ReserveLargeBuffer(std::vector<uint8_t>& bytes, size_t size);
void ReserveLargeBuffer(FileBytes& bytes, size_t size);
bool WriteFileBytes(const std::wstring& path, const void* data, size_t size, std::wstring* error = nullptr);

}  // namespace platform
