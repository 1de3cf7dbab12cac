// The optional daily trace log: one file per local day, "<base>(YYYY-MM-DD).txt", lines
// "HH:MM:SS.mmm text" ended by CR LF, the text in the Chinese code page (CP936).
#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <string>

namespace vandrel {

class TraceLog {
 public:
  using Clock = std::function<std::chrono::system_clock::time_point()>;

  explicit TraceLog(std::wstring base = L"D:\\VandrelData");

  void SetBase(const std::wstring& base);
  std::wstring Base() const;
  // Replaces the clock (tests).
  void SetClock(Clock clock);

  // File of the day that contains `when`.
  std::wstring FileFor(std::chrono::system_clock::time_point when) const;
  // Appends one line. A file that cannot be opened, or that another writer holds, drops the
  // line; false then.
  bool WriteTraceLine(const std::wstring& text);

 private:
  mutable std::mutex mutex_;
  std::wstring base_;
  Clock clock_;
};

}  // namespace vandrel
