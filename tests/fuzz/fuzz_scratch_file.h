// The XML readers take a path, so the harnesses hand them their input through one scratch file
// per process, created on first use and removed at exit.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzzsupport {

// Path of this process's scratch file; `stem` names it after the harness.
inline const std::string& ScratchFile(const char* stem) {
  static const std::string path = [stem] {
    const char* tmp = std::getenv("TMPDIR");
    std::string name = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/" + stem + "_XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd < 0) std::abort();
    close(fd);
    return name;
  }();
  static const bool removeAtExit = (std::atexit([] { std::remove(path.c_str()); }), true);
  (void)removeAtExit;
  return path;
}

// Replaces the scratch file's content with the bytes; false when it cannot be written.
inline bool WriteScratchFile(const std::string& path, const void* data, size_t size) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

}  // namespace fuzzsupport
