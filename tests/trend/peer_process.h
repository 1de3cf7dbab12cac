// Starts a peer program for a test and ends it (by its process id) when the object goes.
#pragma once

#include <string>
#include <vector>

namespace trendtest {

class PeerProcess {
 public:
  // Starts argv[0] with the arguments; with captureLine the first line of its standard output
  // is read (waiting up to 10 s) and kept.
  PeerProcess(const std::vector<std::string>& argv, bool captureLine = false);
  ~PeerProcess();
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  const std::string& FirstLine() const { return line_; }

 private:
  int pid_ = -1;
  std::string line_;
};

// A TCP port on 127.0.0.1 that was free a moment ago.
int FreeTcpPort();
// Waits until a TCP connection to 127.0.0.1:port succeeds (true) or the time is up.
bool WaitForTcpPort(int port, int timeoutMs);

// Two pseudo-terminals whose master sides are joined by a relay thread, so that a program
// on one slave device and the link on the other talk as over a null-modem cable.
class PtyCable {
 public:
  PtyCable();
  ~PtyCable();
  const std::string& EndA() const { return nameA_; }
  const std::string& EndB() const { return nameB_; }

 private:
  struct Impl;
  Impl* impl_;
  std::string nameA_, nameB_;
};

}  // namespace trendtest
