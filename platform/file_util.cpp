#include "platform/file_util.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
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

bool FolderExists(const std::wstring& path) {
  struct stat st {};
  return stat(ToUtf8Lossy(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty()) return name;
  if (folder.back() == L'/') return folder + name;
  return folder + L"/" + name;
}

bool ReadFileBytes(const std::wstring& path, std::vector<uint8_t>& bytes, std::wstring* error) {
  const int fd = open(ToUtf8Lossy(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = ErrnoText("cannot open", path);
    return false;
  }
  std::vector<uint8_t> data;
  uint8_t chunk[65536];
  for (;;) {
    const ssize_t n = read(fd, chunk, sizeof(chunk));
    if (n < 0) {
      if (errno == EINTR) continue;
      if (error) *error = ErrnoText("cannot read", path);
      close(fd);
      return false;
    }
    if (n == 0) break;
    data.insert(data.end(), chunk, chunk + n);
  }
  close(fd);
  bytes.swap(data);
  return true;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes, std::wstring* error) {
  return WriteFileBytes(path, bytes.data(), bytes.size(), error);
}

bool WriteFileBytes(const std::wstring& path, const void* data, size_t size, std::wstring* error) {
  const std::string target = ToUtf8Lossy(path);
  std::string temp = target + ".tmpXXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) {
    if (error) *error = ErrnoText("cannot create a temporary file beside", path);
    return false;
  }
  auto fail = [&](const char* what) {
    if (error) *error = ErrnoText(what, path);
    close(fd);
    unlink(temp.c_str());
    return false;
  };
  const auto* p = static_cast<const uint8_t*>(data);
  size_t left = size;
  while (left > 0) {
    const ssize_t n = write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail("cannot write");
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (fsync(fd) != 0) return fail("cannot flush");
  // Keep the permissions of the file being replaced; a new file gets the usual 0644.
  struct stat st {};
  const mode_t mode = stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
  fchmod(fd, mode);
  if (close(fd) != 0) {
    if (error) *error = ErrnoText("cannot close", path);
    unlink(temp.c_str());
    return false;
  }
  if (rename(temp.c_str(), target.c_str()) != 0) {
    if (error) *error = ErrnoText("cannot replace", path);
    unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace platform
