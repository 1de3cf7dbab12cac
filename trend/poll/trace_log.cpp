#include "trend/poll/trace_log.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "platform/text_codec.h"

namespace vandrel {

namespace {

std::tm LocalTime(std::chrono::system_clock::time_point when) {
  const std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

}  // namespace

TraceLog::TraceLog(std::wstring base) : base_(std::move(base)), clock_([] { return std::chrono::system_clock::now(); }) {}

void TraceLog::SetBase(const std::wstring& base) {
  std::lock_guard lock(mutex_);
  base_ = base;
}

std::wstring TraceLog::Base() const {
  std::lock_guard lock(mutex_);
  return base_;
}

void TraceLog::SetClock(Clock clock) {
  std::lock_guard lock(mutex_);
  clock_ = std::move(clock);
}

std::wstring TraceLog::FileFor(std::chrono::system_clock::time_point when) const {
  const std::tm tm = LocalTime(when);
  wchar_t suffix[64];
  swprintf(suffix, 64, L"(%04d-%02d-%02d).txt", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
  std::lock_guard lock(mutex_);
  return base_ + suffix;
}

bool TraceLog::WriteTraceLine(const std::wstring& text) {
  Clock clock;
  {
    std::lock_guard lock(mutex_);
    clock = clock_;
  }
  const auto when = clock();
  const std::tm tm = LocalTime(when);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count() % 1000;
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d.%03d ", tm.tm_hour, tm.tm_min, tm.tm_sec,
                static_cast<int>(ms < 0 ? ms + 1000 : ms));
  auto body = platform::WideToCp936(text);
  std::string line = stamp + (body ? *body : platform::ToUtf8Lossy(text)) + "\r\n";

  const std::string path = platform::ToUtf8Lossy(FileFor(when));
  std::lock_guard lock(mutex_);
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  // Closed to other writers while the line goes in.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  bool ok = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
  flock(fd, LOCK_UN);
  ::close(fd);
  return ok;
}

}  // namespace vandrel
