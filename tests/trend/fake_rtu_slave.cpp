#include "fake_rtu_slave.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <stdexcept>

#include "platform/crc16.h"

namespace trendtest {

namespace {

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

void WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n <= 0) {
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        Sleep(1);
        continue;
      }
      return;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
}

std::unique_ptr<FakeRtuSlave> FakeRtuSlave::ListenTcp() {
  std::unique_ptr<FakeRtuSlave> s(new FakeRtuSlave);
  s->listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  int yes = 1;
  setsockopt(s->listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(s->listenFd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(s->listenFd_, 8) != 0)
    throw std::runtime_error("listen failed");
  socklen_t len = sizeof a;
  getsockname(s->listenFd_, reinterpret_cast<sockaddr*>(&a), &len);
  s->port_ = ntohs(a.sin_port);
  s->Start();
  return s;
}

std::unique_ptr<FakeRtuSlave> FakeRtuSlave::OnPty() {
  std::unique_ptr<FakeRtuSlave> s(new FakeRtuSlave);
  char name[256];
  if (openpty(&s->ptyMaster_, &s->ptySlave_, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
  // Raw from the start, so nothing is changed on its way before the link sets the line up.
  termios tio{};
  tcgetattr(s->ptySlave_, &tio);
  cfmakeraw(&tio);
  tcsetattr(s->ptySlave_, TCSANOW, &tio);
  s->devicePath_ = name;
  s->Start();
  return s;
}

void FakeRtuSlave::Start() {
  stopFd_ = eventfd(0, EFD_CLOEXEC);
  thread_ = std::thread([this] { Run(); });
}

FakeRtuSlave::~FakeRtuSlave() {
  uint64_t one = 1;
  [[maybe_unused]] ssize_t n = write(stopFd_, &one, sizeof one);
  if (thread_.joinable()) thread_.join();
  for (int fd : {listenFd_, ptyMaster_, ptySlave_, stopFd_})
    if (fd >= 0) close(fd);
}

void FakeRtuSlave::SetRegister(uint16_t address, uint16_t value) {
  std::lock_guard lock(mutex_);
  registers_[address] = value;
}

void FakeRtuSlave::SetFloat(uint16_t address, float value, bool lowWordFirst) {
  uint32_t bits;
  std::memcpy(&bits, &value, 4);
  const auto hi = static_cast<uint16_t>(bits >> 16), lo = static_cast<uint16_t>(bits);
  SetRegister(address, lowWordFirst ? lo : hi);
  SetRegister(static_cast<uint16_t>(address + 1), lowWordFirst ? hi : lo);
}

void FakeRtuSlave::QueueFault(Fault fault) {
  std::lock_guard lock(mutex_);
  faults_.push_back(fault);
}

std::vector<FakeRtuSlave::Request> FakeRtuSlave::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void FakeRtuSlave::ClearRequests() {
  std::lock_guard lock(mutex_);
  requests_.clear();
}

void FakeRtuSlave::Run() {
  std::vector<int> clients;
  std::vector<std::vector<uint8_t>> pendings;
  std::vector<uint8_t> ptyPending;
  for (;;) {
    std::vector<pollfd> fds;
    fds.push_back({stopFd_, POLLIN, 0});
    if (listenFd_ >= 0) fds.push_back({listenFd_, POLLIN, 0});
    if (ptyMaster_ >= 0) fds.push_back({ptyMaster_, POLLIN, 0});
    for (int c : clients) fds.push_back({c, POLLIN, 0});
    if (poll(fds.data(), fds.size(), 1000) < 0) continue;
    if (fds[0].revents) break;
    const size_t polledClients = clients.size();
    size_t i = 1;
    if (listenFd_ >= 0) {
      if (fds[i].revents & POLLIN) {
        int c = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (c >= 0) {
          clients.push_back(c);
          pendings.emplace_back();
          connections_.fetch_add(1);
        }
      }
      ++i;
    }
    if (ptyMaster_ >= 0) {
      if (fds[i].revents & POLLIN) Serve(ptyMaster_, ptyPending);
      else if (fds[i].revents) Sleep(5);
      ++i;
    }
    for (size_t k = 0; k < polledClients; ++k, ++i) {
      if (!fds[i].revents) continue;
      uint8_t buf[512];
      ssize_t n = recv(clients[k], buf, sizeof buf, 0);
      if (n <= 0) {
        close(clients[k]);
        clients[k] = -1;
        continue;
      }
      pendings[k].insert(pendings[k].end(), buf, buf + n);
      Serve(clients[k], pendings[k]);
    }
    for (size_t k = clients.size(); k-- > 0;)
      if (clients[k] < 0) {
        clients.erase(clients.begin() + static_cast<long>(k));
        pendings.erase(pendings.begin() + static_cast<long>(k));
      }
  }
  for (int c : clients) close(c);
}

void FakeRtuSlave::Serve(int fd, std::vector<uint8_t>& pending) {
  if (fd == ptyMaster_) {
    uint8_t buf[512];
    ssize_t n = read(fd, buf, sizeof buf);
    if (n > 0) pending.insert(pending.end(), buf, buf + n);
  }
  while (pending.size() >= 8) {
    if (platform::Crc16Modbus(pending.data(), 6) != (pending[6] | (pending[7] << 8))) {
      pending.erase(pending.begin());  // resynchronise on a damaged frame
      continue;
    }
    uint8_t request[8];
    std::memcpy(request, pending.data(), 8);
    pending.erase(pending.begin(), pending.begin() + 8);
    Answer(fd, request);
  }
}

void FakeRtuSlave::Answer(int fd, const uint8_t* rq) {
  Fault fault = Fault::None;
  std::vector<uint8_t> reply;
  const uint16_t start = static_cast<uint16_t>(rq[2] << 8 | rq[3]);
  const uint16_t quantity = static_cast<uint16_t>(rq[4] << 8 | rq[5]);
  {
    std::lock_guard lock(mutex_);
    requests_.push_back({rq[0], start, quantity});
    if (!faults_.empty()) {
      fault = faults_.front();
      faults_.pop_front();
    }
    if (rq[0] != 1) return;  // only unit 1 answers
    if (rq[1] != 3) return;
    if (fault == Fault::Exception || quantity == 0 || quantity > 125) {
      reply = {rq[0], 0x83, static_cast<uint8_t>(fault == Fault::Exception ? 2 : 3)};
    } else {
      reply = {rq[0], static_cast<uint8_t>(fault == Fault::WrongFunction ? 4 : 3), static_cast<uint8_t>(2 * quantity)};
      for (unsigned r = 0; r < quantity; ++r) {
        const uint16_t v = registers_[static_cast<uint16_t>(start + r)];
        reply.push_back(static_cast<uint8_t>(v >> 8));
        reply.push_back(static_cast<uint8_t>(v));
      }
    }
  }
  if (fault == Fault::WrongUnit) reply[0] = static_cast<uint8_t>(reply[0] + 1);
  uint16_t crc = platform::Crc16Modbus(reply.data(), reply.size());
  if (fault == Fault::BadCrc) crc ^= 0x5555;
  reply.push_back(static_cast<uint8_t>(crc));
  reply.push_back(static_cast<uint8_t>(crc >> 8));
  switch (fault) {
    case Fault::Silence:
      return;
    case Fault::Partial:
      WriteAll(fd, reply.data(), reply.size() / 2);
      return;
    case Fault::Late:
      Sleep(lateMs_.load());
      break;
    case Fault::Split: {
      const size_t cut1 = 1, cut2 = reply.size() / 2;
      WriteAll(fd, reply.data(), cut1);
      Sleep(40);
      WriteAll(fd, reply.data() + cut1, cut2 - cut1);
      Sleep(40);
      WriteAll(fd, reply.data() + cut2, reply.size() - cut2);
      return;
    }
    default:
      break;
  }
  WriteAll(fd, reply.data(), reply.size());
}

}  // namespace trendtest
