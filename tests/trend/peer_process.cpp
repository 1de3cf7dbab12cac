#include "peer_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <thread>

extern char** environ;

namespace trendtest {

PeerProcess::PeerProcess(const std::vector<std::string>& argv, bool captureLine) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  int pipeFds[2] = {-1, -1};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (captureLine && pipe2(pipeFds, O_CLOEXEC) == 0) {
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  }
  pid_t pid = -1;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  pid_ = pid;
  if (pipeFds[1] >= 0) close(pipeFds[1]);
  if (pipeFds[0] >= 0) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    char c;
    while (std::chrono::steady_clock::now() < deadline) {
      pollfd p{pipeFds[0], POLLIN, 0};
      if (poll(&p, 1, 100) <= 0) continue;
      if (read(pipeFds[0], &c, 1) != 1 || c == '\n') break;
      line_ += c;
    }
    close(pipeFds[0]);
  }
}

PeerProcess::~PeerProcess() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  for (int i = 0; i < 100; ++i) {
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

int FreeTcpPort() {
  int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  socklen_t len = sizeof a;
  getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
  close(s);
  return ntohs(a.sin_port);
}

bool WaitForTcpPort(int port, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    close(s);
    if (ok) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

struct PtyCable::Impl {
  int masterA = -1, slaveA = -1, masterB = -1, slaveB = -1, stop = -1;
  std::thread relay;
};

PtyCable::PtyCable() : impl_(new Impl) {
  char a[256], b[256];
  openpty(&impl_->masterA, &impl_->slaveA, a, nullptr, nullptr);
  openpty(&impl_->masterB, &impl_->slaveB, b, nullptr, nullptr);
  for (int fd : {impl_->slaveA, impl_->slaveB}) {
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
  }
  nameA_ = a;
  nameB_ = b;
  impl_->stop = eventfd(0, EFD_CLOEXEC);
  impl_->relay = std::thread([i = impl_] {
    for (;;) {
      pollfd fds[3] = {{i->stop, POLLIN, 0}, {i->masterA, POLLIN, 0}, {i->masterB, POLLIN, 0}};
      if (poll(fds, 3, 1000) < 0) continue;
      if (fds[0].revents) return;
      for (int k = 1; k <= 2; ++k) {
        if (!(fds[k].revents & POLLIN)) continue;
        char buf[512];
        ssize_t n = read(fds[k].fd, buf, sizeof buf);
        if (n > 0) {
          const int to = k == 1 ? i->masterB : i->masterA;
          [[maybe_unused]] ssize_t w = write(to, buf, static_cast<size_t>(n));
        }
      }
    }
  });
}

PtyCable::~PtyCable() {
  uint64_t one = 1;
  [[maybe_unused]] ssize_t n = write(impl_->stop, &one, sizeof one);
  impl_->relay.join();
  for (int fd : {impl_->masterA, impl_->slaveA, impl_->masterB, impl_->slaveB, impl_->stop}) close(fd);
  delete impl_;
}

}  // namespace trendtest
