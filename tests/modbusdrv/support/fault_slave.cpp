#include "fault_slave.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/crc16.h"

namespace modbusdrv_test {

namespace {

uint8_t Lrc(const std::vector<uint8_t>& bytes) {
  uint8_t sum = 0;
  for (uint8_t b : bytes) sum = static_cast<uint8_t>(sum + b);
  return static_cast<uint8_t>(-sum);
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string s;
  for (uint8_t b : bytes) {
    s += digits[b >> 4];
    s += digits[b & 15];
  }
  return s;
}

int HexValue(char c) { return c >= 'A' ? c - 'A' + 10 : c - '0'; }

}  // namespace

FaultSlave::FaultSlave(Wire wire) : wire_(wire), stopFd_(eventfd(0, EFD_CLOEXEC)) {
  for (int k = 0; k < 65536; ++k) registers[k] = static_cast<uint16_t>(k);
  plan_ = [](uint8_t, uint16_t) { return Fault::None; };
  if (wire == Wire::Tcp) {
    listen_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int one = 1;
    setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(listen_, 4) != 0)
      throw std::runtime_error("fault slave cannot listen");
    socklen_t len = sizeof a;
    getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
  } else {
    pty_ = std::make_unique<PtyPair>();
  }
  thread_ = std::thread([this] { Run(); });
}

FaultSlave::~FaultSlave() {
  const uint64_t one = 1;
  if (write(stopFd_, &one, sizeof one) < 0) {
  }
  thread_.join();
  if (listen_ >= 0) close(listen_);
  close(stopFd_);
}

void FaultSlave::SetPlan(std::function<Fault(uint8_t, uint16_t)> plan) {
  std::lock_guard<std::mutex> lock(mutex_);
  plan_ = std::move(plan);
}

std::vector<std::vector<uint8_t>> FaultSlave::Requests() {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void FaultSlave::Run() {
  if (wire_ != Wire::Tcp) {
    ServeStream(pty_->masterFd(), false);
    return;
  }
  for (;;) {
    pollfd p[2] = {{listen_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
    if (poll(p, 2, -1) < 0 && errno != EINTR) return;
    if (p[1].revents) return;
    if (!(p[0].revents & POLLIN)) continue;
    const int client = accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    const int one = 1;
    setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    ++connections_;
    ServeStream(client, true);
    close(client);
  }
}

// Reads requests from the stream until it ends, the connection is dropped on purpose or the
// slave is stopped.
void FaultSlave::ServeStream(int fd, bool socket) {
  std::vector<uint8_t> in;
  for (;;) {
    pollfd p[2] = {{fd, POLLIN, 0}, {stopFd_, POLLIN, 0}};
    if (poll(p, 2, socket ? -1 : 100) < 0 && errno != EINTR) return;
    if (p[1].revents) return;
    if (p[0].revents & POLLIN) {
      uint8_t buffer[1024];
      const ssize_t n = read(fd, buffer, sizeof buffer);
      if (n == 0 && socket) return;
      if (n > 0) in.insert(in.end(), buffer, buffer + n);
    } else if (socket && (p[0].revents & (POLLHUP | POLLERR))) {
      return;
    }
    for (;;) {
      std::vector<uint8_t> pdu, frame;
      uint16_t tid = 0;
      if (wire_ == Wire::Tcp) {
        if (in.size() < 6) break;
        const size_t length = (in[4] << 8) | in[5];
        if (in.size() < 6 + length) break;
        tid = static_cast<uint16_t>((in[0] << 8) | in[1]);
        frame.assign(in.begin(), in.begin() + 6 + length);
        pdu.assign(in.begin() + 6, in.begin() + 6 + length);
      } else if (wire_ == Wire::Rtu) {
        if (in.size() < 7) break;
        size_t length = 8;
        if (in[1] == 16) length = 7 + in[6] + 2;
        if (in.size() < length) break;
        frame.assign(in.begin(), in.begin() + length);
        pdu.assign(in.begin(), in.begin() + length - 2);
      } else {
        auto lf = std::find(in.begin(), in.end(), '\n');
        if (lf == in.end()) break;
        frame.assign(in.begin(), lf + 1);
        for (size_t i = 1; i + 3 < frame.size(); i += 2)
          pdu.push_back(static_cast<uint8_t>(HexValue(frame[i]) * 16 + HexValue(frame[i + 1])));
        if (!pdu.empty()) pdu.pop_back();  // the LRC
      }
      in.erase(in.begin(), in.begin() + frame.size());
      {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(frame);
      }
      if (pdu.size() >= 6 && !HandleRequest(fd, pdu, frame, tid)) return;
    }
  }
}

bool FaultSlave::HandleRequest(int fd, const std::vector<uint8_t>& pdu, const std::vector<uint8_t>&, uint16_t tid) {
  const uint8_t unit = pdu[0], function = pdu[1];
  const uint16_t address = static_cast<uint16_t>((pdu[2] << 8) | pdu[3]);
  const uint16_t count = static_cast<uint16_t>((pdu[4] << 8) | pdu[5]);
  Fault fault;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    fault = plan_(function, address);
  }
  if (fault == Fault::Drop) return false;
  if (fault == Fault::Silent) return true;
  std::vector<uint8_t> reply = {unit, function};
  if (fault == Fault::Exception) {
    reply = {unit, static_cast<uint8_t>(function | 0x80), 2};
  } else if (function == 3 || function == 4) {
    reply.push_back(static_cast<uint8_t>(2 * count));
    for (uint16_t i = 0; i < count; ++i) {
      // Input registers read 1000 above their number, as the other test slaves do.
      const uint16_t v = function == 4 ? static_cast<uint16_t>(1000 + address + i) : registers[(address + i) & 0xFFFF];
      reply.push_back(static_cast<uint8_t>(v >> 8));
      reply.push_back(static_cast<uint8_t>(v & 0xFF));
    }
  } else if (function == 1 || function == 2) {
    std::vector<uint8_t> bits((count + 7) / 8, 0);
    for (uint16_t i = 0; i < count; ++i)
      if (((address + i) % 3) == 0) bits[i / 8] |= static_cast<uint8_t>(1 << (i % 8));
    reply.push_back(static_cast<uint8_t>(bits.size()));
    reply.insert(reply.end(), bits.begin(), bits.end());
  } else if (function == 16 && pdu.size() >= 7) {
    for (uint16_t i = 0; i < count && 7u + 2u * i + 1 < pdu.size(); ++i)
      registers[(address + i) & 0xFFFF] = static_cast<uint16_t>((pdu[7 + 2 * i] << 8) | pdu[8 + 2 * i]);
    reply.insert(reply.end(), pdu.begin() + 2, pdu.begin() + 6);
  } else {
    reply.insert(reply.end(), pdu.begin() + 2, pdu.begin() + 6);
  }
  if (fault == Fault::WrongUnit) reply[0] = static_cast<uint8_t>(unit + 1);
  if (fault == Fault::WrongFunction) reply[1] = function == 3 ? 4 : 3;

  std::vector<uint8_t> out;
  if (wire_ == Wire::Tcp) {
    size_t length = reply.size();
    if (fault == Fault::HugeLength) length = 300;
    out = {static_cast<uint8_t>(tid >> 8), static_cast<uint8_t>(tid & 0xFF), 0, 0, static_cast<uint8_t>(length >> 8),
           static_cast<uint8_t>(length & 0xFF)};
    out.insert(out.end(), reply.begin(), reply.end());
  } else if (wire_ == Wire::Rtu) {
    out = reply;
    const uint16_t crc = platform::Crc16Modbus(reply.data(), reply.size());
    out.push_back(static_cast<uint8_t>(crc & 0xFF));
    out.push_back(static_cast<uint8_t>(crc >> 8));
    if (fault == Fault::BadChecksum) out.back() ^= 0x5A;
  } else {
    uint8_t lrc = Lrc(reply);
    if (fault == Fault::BadChecksum) lrc ^= 0x5A;
    std::vector<uint8_t> withLrc = reply;
    withLrc.push_back(lrc);
    const std::string text = ":" + Hex(withLrc) + "\r\n";
    out.assign(text.begin(), text.end());
  }
  if (fault == Fault::Late) {
    pollfd p{stopFd_, POLLIN, 0};
    if (poll(&p, 1, lateMs_.load()) > 0) return false;
  }
  Send(fd, out, fault == Fault::Split);
  return true;
}

void FaultSlave::Send(int fd, const std::vector<uint8_t>& bytes, bool split) {
  size_t done = 0;
  const size_t firstPart = split ? bytes.size() / 2 : bytes.size();
  while (done < bytes.size()) {
    const size_t end = done < firstPart ? firstPart : bytes.size();
    const ssize_t n = wire_ == Wire::Tcp ? send(fd, bytes.data() + done, end - done, MSG_NOSIGNAL)
                                       : write(fd, bytes.data() + done, end - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      if (split && done == firstPart) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
      return;
    } else {
      pollfd p{fd, POLLOUT, 0};
      poll(&p, 1, 100);
    }
  }
}

}  // namespace modbusdrv_test
