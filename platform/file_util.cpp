#include "platform/file_util.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <random>
#include <string_view>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "platform/text_codec.h"

namespace platform {

namespace {

std::wstring ParentOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return L".";
  if (slash == 0) return L"/";
  return FromUtf8Lossy(path.substr(0, slash));
}

std::wstring ErrnoText(const char* what, const std::wstring& path) {
  return FromUtf8Lossy(std::string(what) + " '") + path + FromUtf8Lossy(std::string("': ") + std::strerror(errno));
}

bool ListEntries(const std::wstring& folder, std::vector<std::wstring>& names, bool wantFolders) {
  names.clear();
  const std::string dirPath = ToUtf8Lossy(folder);
  DIR* dir = opendir(dirPath.c_str());
  if (dir == nullptr) return false;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    if (stat((dirPath + "/" + name).c_str(), &st) != 0) continue;
    const bool isFolder = S_ISDIR(st.st_mode);
    const bool isFile = S_ISREG(st.st_mode);
    if ((wantFolders && isFolder) || (!wantFolders && isFile)) names.push_back(FromUtf8Lossy(name));
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return true;
}

template <class Bytes>
void ReserveLarge(Bytes& bytes, size_t size) {
  bytes.reserve(size);
  constexpr size_t kLarge = size_t{4} << 20;
  if (bytes.capacity() < kLarge) return;
  // The allocator maps a buffer this large on its own; advising the whole pages inside it is
  // enough (a failure only costs the speed).
  const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(bytes.data()) + page - 1) & ~(page - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(bytes.data()) + bytes.capacity()) & ~(page - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

template <class Bytes>
ReadFileResult ReadWholeFileUpTo(const std::wstring& path, uint64_t maxSize, Bytes& bytes, std::wstring* error) {
  const int fd = open(ToUtf8Lossy(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = ErrnoText("cannot open", path);
    return ReadFileResult::Failed;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    if (error) *error = ErrnoText("cannot read", path);
    close(fd);
    return ReadFileResult::Failed;
  }
  const bool regular = S_ISREG(st.st_mode);
  if (regular && static_cast<uint64_t>(st.st_size) > maxSize) {
    close(fd);
    return ReadFileResult::TooLarge;
  }
  // A regular file is read straight into a buffer of its size. Whatever follows (a file that
  // grew meanwhile, or one that is not a regular file) is read in chunks and appended.
  Bytes data;
  if (regular) {
    ReserveLarge(data, static_cast<size_t>(st.st_size));
    data.resize(static_cast<size_t>(st.st_size));
  }
  size_t filled = 0;
  auto fail = [&] {
    if (error) *error = ErrnoText("cannot read", path);
    close(fd);
    return ReadFileResult::Failed;
  };
  while (filled < data.size()) {
    const ssize_t n = read(fd, data.data() + filled, data.size() - filled);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail();
    }
    if (n == 0) break;
    filled += static_cast<size_t>(n);
  }
  data.resize(filled);
  uint8_t chunk[65536];
  for (;;) {
    const ssize_t n = read(fd, chunk, sizeof(chunk));
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail();
    }
    if (n == 0) break;
    if (data.size() + static_cast<size_t>(n) > maxSize) {
      close(fd);
      return ReadFileResult::TooLarge;
    }
    data.insert(data.end(), chunk, chunk + n);
  }
  close(fd);
  bytes.swap(data);
  return ReadFileResult::Ok;
}

}  // namespace

std::wstring GetProgramDirectory() {
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
  if (n <= 0) return L".";
  return ParentOf(std::string(buf, static_cast<size_t>(n)));
}

std::wstring GetModuleDirectoryOf(const void* addressInModule) {
  Dl_info info{};
  if (dladdr(addressInModule, &info) == 0 || info.dli_fname == nullptr) return {};
  std::string path = info.dli_fname;
  if (path.find('/') == std::string::npos) return GetProgramDirectory();
  char resolved[4096];
  if (realpath(path.c_str(), resolved) != nullptr) path = resolved;
  return ParentOf(path);
}

bool ListSubfolders(const std::wstring& folder, std::vector<std::wstring>& names) {
  return ListEntries(folder, names, true);
}

bool ListFiles(const std::wstring& folder, std::vector<std::wstring>& names) {
  return ListEntries(folder, names, false);
}

bool FileExists(const std::wstring& path) {
  struct stat st {};
  return stat(ToUtf8Lossy(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FileSize(const std::wstring& path, uint64_t& size) {
  struct stat st {};
  if (stat(ToUtf8Lossy(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  size = static_cast<uint64_t>(st.st_size);
  return true;
}

bool FolderExists(const std::wstring& path) {
  struct stat st {};
  return stat(ToUtf8Lossy(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty()) return name;
  if (folder.back() == L'/') return folder + name;
  return folder + L"/" + name;
}

ReadFileResult ReadFileBytesUpTo(const std::wstring& path, uint64_t maxSize, std::vector<uint8_t>& bytes,
                                 std::wstring* error) {
  return ReadWholeFileUpTo(path, maxSize, bytes, error);
}

ReadFileResult ReadFileBytesUpTo(const std::wstring& path, uint64_t maxSize, FileBytes& bytes, std::wstring* error) {
  return ReadWholeFileUpTo(path, maxSize, bytes, error);
}

bool ReadFileBytes(const std::wstring& path, std::vector<uint8_t>& bytes, std::wstring* error) {
  return ReadFileBytesUpTo(path, UINT64_MAX, bytes, error) == ReadFileResult::Ok;
}

void ReserveLargeBuffer(std::vector<uint8_t>& bytes, size_t size) { ReserveLarge(bytes, size); }

void ReserveLargeBuffer(FileBytes& bytes, size_t size) { ReserveLarge(bytes, size); }

// ---------------------------------------------------------------- whole-file writes

namespace {

// Temporary files are named ".<target name>.orvisto-" and six letters or digits, and carry the
// extended attribute kTempAttribute while they are temporary: a file of another program (or of
// the user) that happens to have such a name is never taken for one of ours.
constexpr char kTempInfix[] = ".orvisto-";
constexpr size_t kTempSuffixLength = 6;
constexpr char kTempLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr char kTempAttribute[] = "user.orvisto.temporary";

FileWriteFailure Failed(FileWriteFailure::Kind what, int number = 0, const char* step = "") {
  FileWriteFailure failure;
  failure.What = what;
  failure.Errno = number;
  failure.Step = step;
  return failure;
}

FileWriteFailure SystemFailure(const char* step) { return Failed(FileWriteFailure::System, errno, step); }

// The file a path finally names, following symbolic links (the file itself need not exist).
bool ResolveLinks(std::string& path) {
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
    const ssize_t n = readlink(path.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<size_t>(n) >= target.size()) {
      if (n >= 0) errno = ENAMETOOLONG;  // the link grew while it was read
      return false;
    }
    target.resize(static_cast<size_t>(n));
    if (target.empty() || target.front() != '/') {
      const auto slash = path.find_last_of('/');
      if (slash != std::string::npos) target = path.substr(0, slash + 1) + target;
    }
    path = std::move(target);
  }
  errno = ELOOP;
  return false;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "<folder>/.<name>.orvisto-", to which the six letters are added.
std::string TempPrefix(const std::string& target) {
  return FolderOf(target) + "/." + NameOf(target) + kTempInfix;
}

bool IsTempSuffix(std::string_view suffix) {
  if (suffix.size() != kTempSuffixLength) return false;
  return std::all_of(suffix.begin(), suffix.end(), [](char c) {
    return std::find(std::begin(kTempLetters), std::end(kTempLetters) - 1, c) != std::end(kTempLetters) - 1;
  });
}

std::string FreshTempName(const std::string& target) {
  std::random_device device;
  std::string name = TempPrefix(target);
  for (size_t i = 0; i < kTempSuffixLength; ++i) name += kTempLetters[device() % (sizeof(kTempLetters) - 1)];
  return name;
}

// Whole copies kept beside a target whose overwrite in place stopped part-way:
// "<name>.orvisto-copy", then "<name>.orvisto-copy-2", "-3", ... while those names are taken.
constexpr char kKeptCopyInfix[] = ".orvisto-copy";
constexpr int kMaxKeptCopies = 99;

std::string KeptCopyName(const std::string& target, int number) {
  std::string name = target + kKeptCopyInfix;
  if (number > 1) name += "-" + std::to_string(number);
  return name;
}

// The number of a kept copy's name (1 for the first), 0 for any other name in the folder.
int KeptCopyNumber(std::string_view name, std::string_view prefix) {
  if (name.size() < prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return 0;
  const std::string_view rest = name.substr(prefix.size());
  if (rest.empty()) return 1;
  if (rest.size() < 2 || rest.size() > 3 || rest[0] != '-' || rest[1] == '0') return 0;
  int number = 0;
  for (const char c : rest.substr(1)) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + (c - '0');
  }
  return number >= 2 && number <= kMaxKeptCopies ? number : 0;
}

// The kept copies of a target (the file the path finally names), regular files only, in the
// order of their numbers.
std::vector<std::string> FindKeptCopies(const std::string& target) {
  const std::string folder = FolderOf(target);
  const std::string prefix = NameOf(target) + kKeptCopyInfix;
  std::vector<std::pair<int, std::string>> found;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return {};
  while (const dirent* entry = readdir(dir)) {
    const int number = KeptCopyNumber(entry->d_name, prefix);
    if (number == 0) continue;
    std::string path = folder + "/" + entry->d_name;
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) found.emplace_back(number, std::move(path));
  }
  closedir(dir);
  std::sort(found.begin(), found.end());
  std::vector<std::string> paths;
  for (auto& [number, path] : found) paths.push_back(std::move(path));
  return paths;
}

// True when the file holds exactly these bytes.
bool FileHolds(const std::string& path, const uint8_t* data, size_t size) {
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool same = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) == size;
  std::vector<uint8_t> chunk(same ? std::min<size_t>(size, size_t{1} << 20) : 0);
  for (size_t at = 0; same && at < size;) {
    const ssize_t n = read(fd, chunk.data(), std::min(chunk.size(), size - at));
    if (n < 0 && errno == EINTR) continue;
    same = n > 0 && std::memcmp(chunk.data(), data + at, static_cast<size_t>(n)) == 0;
    if (same) at += static_cast<size_t>(n);
  }
  if (same) {
    uint8_t more = 0;
    same = read(fd, &more, 1) == 0;
  }
  close(fd);
  return same;
}

bool HasTempAttribute(int fd) {
  char value[8];
  return fgetxattr(fd, kTempAttribute, value, sizeof(value)) >= 0;
}

// Removes the temporary files that earlier writes of the same target left behind when they
// were killed part-way: files of our name pattern that carry our attribute and that no running
// write holds (a write keeps a lock on its temporary file for as long as it runs). A file
// without the attribute is left alone, whatever its name.
void RemoveStaleTemporaries(const std::string& target) {
  const std::string folder = FolderOf(target);
  const std::string prefix = "." + NameOf(target) + kTempInfix;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> stale;
  while (const dirent* entry = readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
        IsTempSuffix(name.substr(prefix.size()))) {
      stale.push_back(folder + "/" + std::string(name));
    }
  }
  closedir(dir);
  for (const std::string& path : stale) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat opened {}, named {};
    if (fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && HasTempAttribute(fd) &&
        flock(fd, LOCK_EX | LOCK_NB) == 0 && lstat(path.c_str(), &named) == 0 && named.st_dev == opened.st_dev &&
        named.st_ino == opened.st_ino) {
      unlink(path.c_str());
    }
    close(fd);
  }
}

// The file the new content is written to: an unnamed file in the target's folder where the
// file system offers one (a write killed part-way then leaves nothing behind), else a named
// temporary file. It gets a name beside the target only once the content is whole.
struct TempFile {
  int fd = -1;
  bool named = false;
  std::string name;  // set once the file has a name; unlinked with the object unless released

  ~TempFile() {
    if (fd >= 0) close(fd);
    if (!name.empty()) unlink(name.c_str());
  }

  // `mode` is the mode the file is created with; the umask and the folder's default ACL apply.
  bool Create(const std::string& target, mode_t mode) {
    fd = open(FolderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd < 0) {
      for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        std::string candidate = FreshTempName(target);
        fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0) {
          name = std::move(candidate);
        } else if (errno != EEXIST) {
          return false;
        }
      }
      if (fd < 0) return false;
      named = true;
      MarkTemporary(true);
    }
    // Marks the file as in use, so that no other write takes it for a stale one.
    flock(fd, LOCK_EX | LOCK_NB);
    return true;
  }

  // Where the file system keeps extended attributes, a temporary file carries ours; a file
  // system without them gets none (and its leftovers are never removed).
  void MarkTemporary(bool temporary) {
    if (temporary) {
      fsetxattr(fd, kTempAttribute, "1", 1, 0);
    } else {
      fremovexattr(fd, kTempAttribute);
    }
  }

  // Gives the whole file the first free name of a kept copy of the target.
  bool NameAsKeptCopy(const std::string& target) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int number = 1; number <= kMaxKeptCopies; ++number) {
      const std::string candidate = KeptCopyName(target, number);
      const bool linked =
          named ? link(name.c_str(), candidate.c_str()) == 0
                : linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
                      linkat(fd, "", AT_FDCWD, candidate.c_str(), AT_EMPTY_PATH) == 0;
      if (linked) {
        if (named) unlink(name.c_str());
        name = candidate;
        named = true;
        return true;
      }
      if (errno != EEXIST) return false;
    }
    errno = EEXIST;
    return false;
  }

  // Gives the whole unnamed file a name beside the target.
  bool Link(const std::string& target) {
    if (named) return true;
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string candidate = FreshTempName(target);
      if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
          linkat(fd, "", AT_FDCWD, candidate.c_str(), AT_EMPTY_PATH) == 0) {
        name = std::move(candidate);
        named = true;
        return true;
      }
      if (errno != EEXIST) return false;
    }
    return false;
  }
};

bool WriteAll(int fd, const uint8_t* p, size_t left, off_t at = -1) {
  while (left > 0) {
    const ssize_t n = at < 0 ? write(fd, p, left) : pwrite(fd, p, left, at);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
    if (at >= 0) at += n;
  }
  return true;
}

// The existing target may not be written: no write permission for this user, or none for anyone
// (a file marked read-only, which root could otherwise write).
bool IsReadOnly(const std::string& target, const struct stat& st) {
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
  return faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES;
}

// The owner, group and mode of the file being replaced go to the new file. Giving a file away is
// for those who may: a user who is not allowed keeps what the system gives.
bool CopyOwnerAndMode(int fd, const struct stat& st) {
  if (fchown(fd, st.st_uid, st.st_gid) != 0) {
    if (errno != EPERM) return false;
    if (fchown(fd, static_cast<uid_t>(-1), st.st_gid) != 0 && errno != EPERM) return false;
  }
  // After the owner: a change of owner clears the set-user and set-group bits.
  return fchmod(fd, st.st_mode & 07777) == 0;
}

// The folder holding a renamed or removed entry, flushed so that the change survives a crash.
bool FlushFolder(const std::string& target) {
  const int folder = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return false;
  // A file system that cannot flush a folder says EINVAL; it has nothing more to flush.
  const bool flushed = fsync(folder) == 0 || errno == EINVAL;
  close(folder);
  return flushed;
}

InPlaceWriteHook inPlaceWriteHook = nullptr;

// An overwrite in place goes in pieces of this size.
constexpr size_t kInPlacePiece = size_t{1} << 20;

// A target with more than one hard link keeps them: its own inode gets the new content. The
// whole content is first on disk in a copy beside it under the name of a kept copy, which stays
// (and is named in the failure) should the overwrite stop part-way; space for the content is
// reserved before the first byte of the target changes, without changing its size, so that a
// full disk refuses the write with the target untouched. The target grows only by the bytes
// written to it.
FileWriteFailure OverwriteLinkedTarget(const std::string& target, TempFile& copy,
                                       const uint8_t* data, size_t size) {
  copy.MarkTemporary(false);
  if (!copy.NameAsKeptCopy(target)) return SystemFailure("cannot name the copy beside");
  if (!FlushFolder(target)) return SystemFailure("cannot flush the folder of");
  const int fd = open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return SystemFailure("cannot open");
  struct stat opened {};
  if (fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
    close(fd);
    return Failed(FileWriteFailure::NotAFile);
  }
  if (size > 0 && fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) != 0 && errno != EOPNOTSUPP &&
      errno != ENOSYS) {
    const FileWriteFailure failure = SystemFailure("cannot write");
    close(fd);
    return failure;  // nothing of the target changed; the copy goes with `copy`
  }
  // Bytes of the target written so far, piece by piece.
  size_t written = 0;
  bool whole = true;
  while (whole && written < size) {
    if (inPlaceWriteHook != nullptr) inPlaceWriteHook(written);
    const size_t end = written + std::min(kInPlacePiece, size - written);
    while (whole && written < end) {
      const ssize_t n = pwrite(fd, data + written, end - written, static_cast<off_t>(written));
      if (n > 0) {
        written += static_cast<size_t>(n);
      } else if (n == 0 || errno != EINTR) {
        if (n == 0) errno = EIO;
        whole = false;
      }
    }
  }
  if (!whole && written == 0) {
    // Refused before a byte went in (a full disk, a size limit): the target is as it was.
    const FileWriteFailure failure = SystemFailure("cannot write");
    close(fd);
    return failure;
  }
  if (!whole || ftruncate(fd, static_cast<off_t>(size)) != 0 || fsync(fd) != 0) {
    FileWriteFailure failure = Failed(FileWriteFailure::InPlaceIncomplete, errno, "cannot write");
    close(fd);
    failure.KeptCopy = FromUtf8Lossy(copy.name);
    copy.name.clear();  // the copy stays: it holds the whole content
    return failure;
  }
  close(fd);
  unlink(copy.name.c_str());  // the target holds the whole content
  copy.name.clear();
  return {};
}

// After a write: the copies that earlier writes kept beside the target and that hold exactly what
// was just written are no longer needed. Any other stays for the user.
void RemoveKeptCopiesOf(const std::string& target, const uint8_t* data, size_t size) {
  const std::vector<std::string> copies = FindKeptCopies(target);
  if (copies.empty()) return;
  bool removed = false;
  for (const std::string& path : copies) {
    if (FileHolds(path, data, size) && unlink(path.c_str()) == 0) removed = true;
  }
  if (removed) FlushFolder(target);
}

}  // namespace

std::wstring DescribeFileWriteFailure(const FileWriteFailure& failure, const std::wstring& path) {
  const std::wstring quoted = L"'" + path + L"'";
  switch (failure.What) {
    case FileWriteFailure::None:
      return {};
    case FileWriteFailure::ReadOnly:
      return L"cannot write " + quoted + L": the file is read-only";
    case FileWriteFailure::NotAFile:
      return L"cannot write " + quoted + L": it is not a regular file";
    case FileWriteFailure::LinkUnresolved:
      return L"cannot follow the link " + quoted + FromUtf8Lossy(std::string(": ") + std::strerror(failure.Errno));
    case FileWriteFailure::System:
      return FromUtf8Lossy(std::string(failure.Step) + " ") + quoted +
             FromUtf8Lossy(std::string(": ") + std::strerror(failure.Errno));
    case FileWriteFailure::InPlaceIncomplete:
      return L"cannot write " + quoted + FromUtf8Lossy(std::string(": ") + std::strerror(failure.Errno)) +
             L"; the file may be incomplete, its whole new content is in '" + failure.KeptCopy + L"'";
  }
  return {};
}

bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes, std::wstring* error) {
  return WriteFileBytes(path, bytes.data(), bytes.size(), error);
}

bool WriteFileBytes(const std::wstring& path, const void* data, size_t size, std::wstring* error) {
  FileWriteFailure failure;
  if (WriteFileBytes(path, data, size, failure)) return true;
  if (error) *error = DescribeFileWriteFailure(failure, path);
  return false;
}

bool WriteFileBytes(const std::wstring& path, const void* data, size_t size, FileWriteFailure& failure) {
  failure = {};
  // A symbolic link stays a link: the file it names is the one replaced.
  std::string target = ToUtf8Lossy(path);
  if (!ResolveLinks(target)) {
    failure = Failed(FileWriteFailure::LinkUnresolved, errno);
    return false;
  }
  struct stat old {};
  bool replacing = false;
  if (lstat(target.c_str(), &old) == 0) {
    if (!S_ISREG(old.st_mode)) {
      failure = Failed(FileWriteFailure::NotAFile);
      return false;
    }
    if (IsReadOnly(target, old)) {
      failure = Failed(FileWriteFailure::ReadOnly);
      return false;
    }
    replacing = true;
  } else if (errno != ENOENT) {
    failure = SystemFailure("cannot write");
    return false;
  }
  RemoveStaleTemporaries(target);

  // A new file gets the mode the umask leaves of 0666. A replacing one is private while it is
  // written and gets the old file's owner and mode when whole.
  TempFile temp;
  if (!temp.Create(target, replacing ? 0600 : 0666)) {
    failure = SystemFailure("cannot create a temporary file beside");
    return false;
  }
  const auto* bytes = static_cast<const uint8_t*>(data);
  if (!WriteAll(temp.fd, bytes, size)) {
    failure = SystemFailure("cannot write");
    return false;
  }
  if (fsync(temp.fd) != 0) {
    failure = SystemFailure("cannot flush");
    return false;
  }
  if (replacing && old.st_nlink > 1) {
    failure = OverwriteLinkedTarget(target, temp, bytes, size);
    if (failure.What != FileWriteFailure::None) return false;
    RemoveKeptCopiesOf(target, bytes, size);
    return true;
  }
  if (replacing && !CopyOwnerAndMode(temp.fd, old)) {
    failure = SystemFailure("cannot keep the owner and mode of");
    return false;
  }
  temp.MarkTemporary(true);
  if (!temp.Link(target)) {
    failure = SystemFailure("cannot name the temporary file beside");
    return false;
  }
  if (rename(temp.name.c_str(), target.c_str()) != 0) {
    failure = SystemFailure("cannot replace");
    return false;
  }
  temp.name.clear();
  temp.MarkTemporary(false);
  // The rename is durable only once the folder is flushed too.
  if (!FlushFolder(target)) {
    failure = SystemFailure("cannot flush the folder of");
    return false;
  }
  RemoveKeptCopiesOf(target, bytes, size);
  return true;
}

std::vector<std::wstring> KeptCopiesBeside(const std::wstring& path) {
  std::string target = ToUtf8Lossy(path);
  if (!ResolveLinks(target)) return {};
  std::vector<std::wstring> copies;
  for (const std::string& copy : FindKeptCopies(target)) copies.push_back(FromUtf8Lossy(copy));
  return copies;
}

void SetInPlaceWriteHook(InPlaceWriteHook hook) { inPlaceWriteHook = hook; }

void IgnoreFileSizeLimitSignal() { signal(SIGXFSZ, SIG_IGN); }

void DefaultFileSizeLimitSignal() { signal(SIGXFSZ, SIG_DFL); }

}  // namespace platform
