// Two pseudo-terminal pairs joined by a relay thread, standing in for a serial cable: one
// party opens endA(), the other endB(), and every byte written on one side comes out on the
// other. Or a single pair whose master side a test slave serves itself (masterFd()).
#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace modbusdrv_test {

class PtyPair {
 public:
  PtyPair();
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;
  int masterFd() const { return master_; }
  const std::string& slavePath() const { return path_; }

 private:
  int master_ = -1;
  int slave_ = -1;  // kept open so the line settings stay and the master never sees a hang-up
  std::string path_;
};

class PtyLink {
 public:
  PtyLink();
  ~PtyLink();
  const std::string& endA() const { return a_.slavePath(); }
  const std::string& endB() const { return b_.slavePath(); }

 private:
  void Relay();
  PtyPair a_, b_;
  int stopFd_;
  std::thread thread_;
};

}  // namespace modbusdrv_test
