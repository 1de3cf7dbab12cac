// Paths the tests work with: the fixture folder of the source tree and scratch folders, and a
// limit on the size of the files the test writes.
#pragma once

#include <string>

namespace testsupport {

// Absolute path of a file or folder below tests/fixtures.
std::string FixturePath(const std::string& relative);

// The build folder the tests were built in (where the built libraries and programs lie).
std::string BinaryDir();

// A fresh empty folder below the system's temporary folder, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A file size limit for the life of the object, with SIGXFSZ ignored: a write beyond it fails
// with EFBIG, as a write to a full disk fails with ENOSPC, instead of ending the process.
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(unsigned long long bytes);
  ~ScopedFileSizeLimit();
  ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
  ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

 private:
  unsigned long long oldSoft_ = 0;
  void (*oldHandler_)(int) = nullptr;
};

}  // namespace testsupport
