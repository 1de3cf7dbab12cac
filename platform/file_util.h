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

// Why a whole-file write failed.
struct FileWriteFailure {
  enum Kind {
    None,
    ReadOnly,           // the target may not be written: no write permission, or none for anyone
    NotAFile,           // the target is there and is not a regular file
    LinkUnresolved,     // a symbolic link on the way cannot be followed (Errno says why)
    System,             // a system call failed (Errno says why, Step what was being done)
    InPlaceIncomplete,  // the overwrite of a target with several hard links failed part-way:
                        // the target may be incomplete, KeptCopy holds the whole new content
  };
  Kind What = None;
  int Errno = 0;
  const char* Step = "";
  std::wstring KeptCopy;
};

// Writes a whole file; nothing of an existing target changes before the new content is whole
// on disk.
// - The bytes go to a file in the target's folder that has no name while it is written (where
//   the file system offers no unnamed files, a named ".<name>.orvisto-XXXXXX" marked as ours by
//   an extended attribute); once complete and flushed it is renamed over the target and the
//   folder is flushed. On any failure the old file stays untouched and nothing is left behind.
// - A new file gets the mode that the umask (or the folder's default ACL) leaves of 0666. A
//   replaced file keeps its mode, and its owner and group where the user may give them.
// - A target that is a symbolic link stays one: the file it names is replaced. A target with
//   more than one hard link keeps them all: once the new content is whole in a copy beside it,
//   and room for it is reserved, the target is overwritten in place; should that fail part-way,
//   the copy stays and the failure names it.
// - A target that is read-only (no write permission, or no write bit at all, which root could
//   otherwise write) or that is not a regular file is refused untouched.
// - Temporary files that a write killed part-way left beside the target are removed by the next
//   write of the same target; only files of the name pattern above that carry the mark are.
bool WriteFileBytes(const std::wstring& path, const void* data, size_t size, FileWriteFailure& failure);
// The same; `error` set to an English description of the failure.
bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes, std::wstring* error = nullptr);
bool WriteFileBytes(const std::wstring& path, const void* data, size_t size, std::wstring* error = nullptr);
// "cannot write '<path>': ..." in English.
std::wstring DescribeFileWriteFailure(const FileWriteFailure& failure, const std::wstring& path);

// Gives a byte buffer of many megabytes (a whole project file) room for at least `size` bytes,
// backed by huge pages where the system offers them: the first touch of every 4 KB page of a
// fresh buffer costs more than reading the file into it.
void ReserveLargeBuffer(std::vector<uint8_t>& bytes, size_t size);
void ReserveLargeBuffer(FileBytes& bytes, size_t size);

}  // namespace platform
