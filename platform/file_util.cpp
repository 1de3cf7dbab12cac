#include "platform/file_util.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/file.h>
#include <sys/stat.h>
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

bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes, std::wstring* error) {
  return WriteFileBytes(path, bytes.data(), bytes.size(), error);
}

namespace {

constexpr char kTempMark[] = ".tmp";
constexpr size_t kTempSuffixLength = 6;  // as mkstemp makes it

// The file a path finally names, following symbolic links (the file itself need not exist).
bool ResolveLinks(std::string& path, std::wstring* error, const std::wstring& shown) {
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
    const ssize_t n = readlink(path.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<size_t>(n) >= target.size()) {
      if (error) *error = ErrnoText("cannot follow the link", shown);
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
  if (error) *error = ErrnoText("cannot follow the link", shown);
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

// Removes the temporary files that earlier writes of the same target left behind when they
// were killed part-way ("<name>.tmpXXXXXX"). A write holds a lock on its temporary file for as
// long as it runs, so a file that can be locked belongs to no running write.
void RemoveStaleTemporaries(const std::string& target) {
  const std::string folder = FolderOf(target);
  const std::string prefix = NameOf(target) + kTempMark;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> stale;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() == prefix.size() + kTempSuffixLength && name.compare(0, prefix.size(), prefix) == 0) {
      stale.push_back(folder + "/" + name);
    }
  }
  closedir(dir);
  for (const std::string& path : stale) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat opened {}, named {};
    if (fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        lstat(path.c_str(), &named) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino) {
      unlink(path.c_str());
    }
    close(fd);
  }
}

// A name "<target>.tmpXXXXXX" that does not exist yet.
std::string FreshTempName(const std::string& target) {
  static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device device;
  std::string name = target + kTempMark;
  for (size_t i = 0; i < kTempSuffixLength; ++i) name += kLetters[device() % (sizeof(kLetters) - 1)];
  return name;
}

// The file being written: an unnamed file in the target's folder where the file system offers
// one (a write killed part-way then leaves nothing behind), else a named temporary file.
struct TempFile {
  int fd = -1;
  bool named = false;
  std::string name;  // set once the file has a name

  ~TempFile() {
    if (fd >= 0) close(fd);
    if (!name.empty()) unlink(name.c_str());
  }

  bool Create(const std::string& target) {
    fd = open(FolderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) {
      name = target + kTempMark + std::string(kTempSuffixLength, 'X');
      fd = mkostemp(name.data(), O_CLOEXEC);
      if (fd < 0) {
        name.clear();
        return false;
      }
      named = true;
    }
    // Marks the file as in use, so that no other write takes it for a stale one.
    flock(fd, LOCK_EX | LOCK_NB);
    return true;
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

}  // namespace

bool WriteFileBytes(const std::wstring& path, const void* data, size_t size, std::wstring* error) {
  // A symbolic link stays a link: the file it names is the one replaced.
  std::string target = ToUtf8Lossy(path);
  if (!ResolveLinks(target, error, path)) return false;
  RemoveStaleTemporaries(target);

  TempFile temp;
  if (!temp.Create(target)) {
    if (error) *error = ErrnoText("cannot create a temporary file beside", path);
    return false;
  }
  auto fail = [&](const char* what) {
    if (error) *error = ErrnoText(what, path);
    return false;
  };
  const auto* p = static_cast<const uint8_t*>(data);
  size_t left = size;
  while (left > 0) {
    const ssize_t n = write(temp.fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail("cannot write");
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  // Keep the permissions of the file being replaced; a new file gets the usual 0644.
  struct stat st {};
  const mode_t mode = stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
  fchmod(temp.fd, mode);
  if (fsync(temp.fd) != 0) return fail("cannot flush");
  if (!temp.Link(target)) return fail("cannot name the temporary file beside");
  if (rename(temp.name.c_str(), target.c_str()) != 0) return fail("cannot replace");
  temp.name.clear();
  // The rename is durable only once the folder is flushed too.
  const int folder = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return fail("cannot flush the folder of");
  // A file system that cannot flush a folder says EINVAL; it has nothing more to flush.
  const bool flushed = fsync(folder) == 0 || errno == EINVAL;
  close(folder);
  if (!flushed) return fail("cannot flush the folder of");
  return true;
}

}  // namespace platform
