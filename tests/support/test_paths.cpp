#include "support/test_paths.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace testsupport {

std::string FixturePath(const std::string& relative) { return std::string(ORVISTO_FIXTURES_DIR) + "/" + relative; }

std::string BinaryDir() { return ORVISTO_BINARY_DIR; }

TempDir::TempDir() {
  std::string templ = (std::filesystem::temp_directory_path() / "orvisto-test-XXXXXX").string();
  if (mkdtemp(templ.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = templ;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace testsupport
