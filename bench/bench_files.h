// What the project benchmarks share: their main and stopping with a message, the floor of a file's figures (one
// read of its bytes, with the file dropped from the page cache first or not) and the comment
// texts of the projects they build, a quarter of them Chinese.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/env/exception_error.h"
#include "platform/text_codec.h"

namespace benchfiles {

// The benchmark's name, in front of its messages.
inline const char* g_program = "bench";

[[noreturn]] inline void Fail(const std::string& what) {
  std::fprintf(stderr, "%s: %s\n", g_program, what.c_str());
  std::exit(1);
}

// Drops the file's pages from the page cache (they are clean: the file was flushed).
inline void DropFromCache(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) Fail("cannot open " + path);
  fdatasync(fd);
  posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  close(fd);
}

// The whole file in one read.
inline void RawRead(const std::string& path, std::vector<uint8_t>& bytes) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) Fail("cannot open " + path);
  struct stat st {};
  fstat(fd, &st);
  bytes.resize(static_cast<size_t>(st.st_size));
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) Fail("cannot read " + path);
    done += static_cast<size_t>(n);
  }
  close(fd);
}

inline std::wstring Comment(int i) {
  return i % 4 == 0 ? L"\x6CE8\x91CA " + std::to_wstring(i) + L" \x7535\x673A\x8FD0\x884C"
                    : L"comment " + std::to_wstring(i) + L" motor running";
}

// The benchmark's main: its name for the messages, then `run`; an error of the workbench stops it
// with the error's message.
template <class Run>
int Main(const char* program, Run run) {
  g_program = program;
  try {
    return run();
  } catch (const Brenno::ExceptionError& error) {
    Fail(platform::ToUtf8Lossy(error.Message()));
  }
}

}  // namespace benchfiles
