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
                        // (one of KeptCopiesBeside)
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
//   more than one hard link keeps them all: once the new content is whole in a copy beside it
//   (named as a kept copy, see KeptCopiesBeside), and room for it is reserved, the target is
//   overwritten in place, growing only as the bytes go in; the copy then goes. Should the
//   overwrite fail part-way (or the process die in it), the copy stays, and a failure names it.
// - After a successful write, kept copies of the target that hold exactly the content written
//   are removed; other kept copies stay.
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

// The whole copies that writes of the path left beside the file it names (through symbolic
// links) when an overwrite in place stopped part-way: "<name>.orvisto-copy", then
// "<name>.orvisto-copy-2" and on while those names are taken, in that order. Each holds the whole
// content its write was writing; it stays until the user moves or removes it, or a later write of
// the file writes the same content.
std::vector<std::wstring> KeptCopiesBeside(const std::wstring& path);

// For tests: called before each piece (a megabyte) of an overwrite in place with the bytes of
// the target already written, so that a test can stop a write there as a kill would. nullptr
// (the default) calls nothing.
using InPlaceWriteHook = void (*)(size_t written);
void SetInPlaceWriteHook(InPlaceWriteHook hook);

// For a program that writes files, at its start: a write past the file-size limit
// (RLIMIT_FSIZE) then fails with EFBIG, which the write reports, the target untouched, instead of
// the signal SIGXFSZ ending the program with its unsaved work. A library never calls it: the
// signal's disposition belongs to the program.
void IgnoreFileSizeLimitSignal();
// In a child process about to start another program: the signal's default again (an ignored
// signal would otherwise stay ignored in that program).
void DefaultFileSizeLimitSignal();

// Gives a byte buffer of many megabytes (a whole project file) room for at least `size` bytes,
// backed by huge pages where the system offers them: the first touch of every 4 KB page of a
// fresh buffer costs more than reading the file into it.
void ReserveLargeBuffer(std::vector<uint8_t>& bytes, size_t size);
void ReserveLargeBuffer(FileBytes& bytes, size_t size);

}  // namespace platform
