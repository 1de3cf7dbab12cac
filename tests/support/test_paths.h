// Paths the tests work with: the fixture folder of the source tree and scratch folders.
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

}  // namespace testsupport
