#include "support/test_paths.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <sys/resource.h>

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

ScopedFileSizeLimit::ScopedFileSizeLimit(unsigned long long bytes) {
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  oldSoft_ = limit.rlim_cur;
  oldHandler_ = signal(SIGXFSZ, SIG_IGN);
  limit.rlim_cur = static_cast<rlim_t>(bytes);
  if (setrlimit(RLIMIT_FSIZE, &limit) != 0) throw std::runtime_error("setrlimit failed");
}

ScopedFileSizeLimit::~ScopedFileSizeLimit() {
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = static_cast<rlim_t>(oldSoft_);
  setrlimit(RLIMIT_FSIZE, &limit);
  signal(SIGXFSZ, oldHandler_);
}

}  // namespace testsupport
