// A peer program started by a test: its first output line is read, and it is ended (SIGTERM,
// then SIGKILL) when the object goes.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace modbusdrv_test {

class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& argv);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The first line the program printed (without the newline); empty when it printed none
  // within the time or ended.
  std::string FirstLine(int timeoutMs);
  void Terminate();

 private:
  pid_t pid_ = -1;
  int out_ = -1;
};

}  // namespace modbusdrv_test
