#include "support/simulated_plc.h"

#include <arpa/inet.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/un.h>
#include <termios.h>
#include <unistd.h>

#include "platform/crc16.h"

namespace testsupport {

namespace {

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void PutU16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

void PutU16Le(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>((b[at] << 8) | b[at + 1]); }

uint16_t U16Le(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

uint32_t U32Le(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
         (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

void PutU32Le(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 0; s < 32; s += 8) out.push_back(static_cast<uint8_t>(v >> s));
}

std::vector<uint8_t> RelayHeader(uint16_t sequence, uint8_t type, uint16_t length) {
  std::vector<uint8_t> h = {'S', 'T'};
  PutU16Le(h, sequence);
  h.push_back(type);
  h.push_back(0);
  PutU16Le(h, 0);
  PutU16Le(h, length);
  return h;
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, uint16_t index, int frameSize) {
  const size_t begin = static_cast<size_t>(index & 0x7FFF) * static_cast<size_t>(frameSize);
  if (begin >= bytes.size()) return {};
  const size_t end = std::min(bytes.size(), begin + static_cast<size_t>(frameSize));
  return std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(begin),
                              bytes.begin() + static_cast<std::ptrdiff_t>(end));
}

std::vector<uint8_t> Length(const std::vector<uint8_t>* bytes) {
  std::vector<uint8_t> out;
  PutU16(out, static_cast<uint16_t>(bytes == nullptr ? 0 : bytes->size()));
  return out;
}

template <class Map, class Key>
const std::vector<uint8_t>* Find(const Map& map, Key key) {
  auto it = map.find(key);
  return it == map.end() ? nullptr : &it->second;
}

}  // namespace

uint16_t SimulatedPlc::Crc(const uint8_t* data, size_t size) { return platform::Crc16Modbus(data, size); }

std::vector<uint8_t> SimulatedPlc::BuildEnvelope(uint8_t station, uint16_t code, uint16_t parameter, uint16_t index,
                                                 const std::vector<uint8_t>& data, bool withCrc) {
  std::vector<uint8_t> out = {station, 0x0E};
  PutU16(out, static_cast<uint16_t>(6 + data.size()));
  PutU16(out, code);
  PutU16(out, parameter);
  PutU16(out, index);
  out.insert(out.end(), data.begin(), data.end());
  if (withCrc) {
    const uint16_t crc = Crc(out.data(), out.size());
    out.push_back(static_cast<uint8_t>(crc));
    out.push_back(static_cast<uint8_t>(crc >> 8));
  }
  return out;
}

SimulatedPlc::SimulatedPlc(Options options) : options_(std::move(options)) {
  if (::pipe2(wake_pipe_, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("pipe");
  switch (options_.Kind) {
    case Transport::kSerialPty: {
      char name[256] = {};
      if (::openpty(&master_fd_, &slave_fd_, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty");
      termios t{};
      ::tcgetattr(slave_fd_, &t);
      ::cfmakeraw(&t);
      ::tcsetattr(slave_fd_, TCSANOW, &t);
      ::fcntl(master_fd_, F_SETFD, FD_CLOEXEC);
      ::fcntl(slave_fd_, F_SETFD, FD_CLOEXEC);
      device_path_ = name;
      break;
    }
    case Transport::kUnixSocket: {
      socket_path_ = options_.SocketPath;
      if (socket_path_.empty()) {
        char folder[] = "/tmp/orvisto-plc-XXXXXX";
        if (::mkdtemp(folder) == nullptr) throw std::runtime_error("mkdtemp");
        temp_folder_ = folder;
        socket_path_ = temp_folder_ + "/Quillamet";
      }
      ::unlink(socket_path_.c_str());
      listen_fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      std::strncpy(address.sun_path, socket_path_.c_str(), sizeof address.sun_path - 1);
      if (::bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
          ::listen(listen_fd_, 4) != 0) {
        throw std::runtime_error("unix listen");
      }
      break;
    }
    case Transport::kNetwork:
    case Transport::kRelay: {
      listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
      int one = 1;
      ::setsockopt(listen_fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
      sockaddr_in address{};
      address.sin_family = AF_INET;
      address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      address.sin_port = 0;
      socklen_t length = sizeof address;
      if (::bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
          ::listen(listen_fd_, 4) != 0 ||
          ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("tcp listen");
      }
      tcp_port_ = ntohs(address.sin_port);
      break;
    }
  }
  thread_ = std::thread([this] { Run(); });
}

SimulatedPlc::~SimulatedPlc() {
  stop_ = true;
  const char byte = 1;
  [[maybe_unused]] ssize_t written = ::write(wake_pipe_[1], &byte, 1);
  if (thread_.joinable()) thread_.join();
  CloseClient();
  for (int* fd : {&master_fd_, &slave_fd_, &listen_fd_, &wake_pipe_[0], &wake_pipe_[1]}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
  if (options_.Kind == Transport::kUnixSocket) ::unlink(socket_path_.c_str());
  if (!temp_folder_.empty()) ::rmdir(temp_folder_.c_str());
}

std::vector<SimulatedPlc::Request> SimulatedPlc::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void SimulatedPlc::ClearRequests() {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.clear();
}

int SimulatedPlc::BadFrames() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return bad_frames_;
}

int SimulatedPlc::Connections() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return connections_;
}

std::vector<std::vector<uint8_t>> SimulatedPlc::RelayLogins() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return relay_logins_;
}

void SimulatedPlc::InjectFaults(const std::vector<Fault>& faults) {
  std::lock_guard<std::mutex> lock(mutex_);
  faults_.insert(faults_.end(), faults.begin(), faults.end());
}

void SimulatedPlc::RefuseCode(uint16_t code) {
  std::lock_guard<std::mutex> lock(mutex_);
  refused_codes_.push_back(code);
}

void SimulatedPlc::StopListening() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (listen_fd_ >= 0) ::shutdown(listen_fd_, SHUT_RDWR);
}

void SimulatedPlc::WithMemory(const std::function<void(Memory&)>& change) {
  std::lock_guard<std::mutex> lock(mutex_);
  change(memory_);
}

SimulatedPlc::Memory SimulatedPlc::MemorySnapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return memory_;
}

void SimulatedPlc::CloseClient() {
  if (client_fd_ >= 0) ::close(client_fd_);
  client_fd_ = -1;
  logged_in_ = false;
}

void SimulatedPlc::Run() {
  std::vector<uint8_t> buffer;
  while (!stop_) {
    pollfd fds[3];
    nfds_t n = 0;
    fds[n++] = {wake_pipe_[0], POLLIN, 0};
    int io_fd = options_.Kind == Transport::kSerialPty ? master_fd_ : client_fd_;
    const bool accepting = options_.Kind != Transport::kSerialPty && client_fd_ < 0 && listen_fd_ >= 0;
    if (accepting) fds[n++] = {listen_fd_, POLLIN, 0};
    if (io_fd >= 0) fds[n++] = {io_fd, POLLIN, 0};
    const int ready = ::poll(fds, n, 200);
    if (ready <= 0) continue;
    if (fds[0].revents) break;
    for (nfds_t i = 1; i < n; ++i) {
      if (!fds[i].revents) continue;
      if (accepting && fds[i].fd == listen_fd_) {
        const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) {
          int one = 1;
          ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
          client_fd_ = fd;
          buffer.clear();
          std::lock_guard<std::mutex> lock(mutex_);
          ++connections_;
        }
      } else {
        HandleInput(fds[i].fd, buffer);
      }
    }
  }
}

void SimulatedPlc::HandleInput(int fd, std::vector<uint8_t>& buffer) {
  uint8_t chunk[2048];
  const ssize_t got = ::read(fd, chunk, sizeof chunk);
  if (got <= 0) {
    if (options_.Kind != Transport::kSerialPty) {
      CloseClient();
      buffer.clear();
    } else {
      // The line has no reader on the other side for now; avoid spinning on the hang-up.
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return;
  }
  buffer.insert(buffer.end(), chunk, chunk + got);
  for (;;) {
    std::vector<uint8_t> envelope;
    uint16_t sequence = 0;
    bool isLogin = false;
    bool incomplete = false;
    if (!ExtractMessage(buffer, envelope, sequence, isLogin, incomplete)) {
      if (incomplete) return;
      continue;  // a malformed message was dropped
    }
    if (isLogin) {
      std::vector<uint8_t> reply = options_.RelayLoginReply;
      if (reply.empty()) {
        reply = RelayHeader(0, 1, 2);
        reply.push_back(0);
        reply.push_back(0);
      }
      SendBytes(fd, reply);
      continue;
    }
    Answer(fd, envelope, sequence);
    if (client_fd_ < 0 && options_.Kind != Transport::kSerialPty) return;
  }
}

bool SimulatedPlc::ExtractMessage(std::vector<uint8_t>& buffer, std::vector<uint8_t>& envelope, uint16_t& sequence,
                                  bool& isLogin, bool& incomplete) {
  auto bad = [&] {
    std::lock_guard<std::mutex> lock(mutex_);
    ++bad_frames_;
    return false;
  };
  std::vector<uint8_t> relayBody;
  std::vector<uint8_t>* source = &buffer;
  size_t offset = 0;
  bool withCrc = true;
  if (options_.Kind == Transport::kNetwork) {
    offset = 6;
    withCrc = false;
  } else if (options_.Kind == Transport::kRelay) {
    if (buffer.size() < 10 || buffer.size() < 10u + U16Le(buffer, 8)) {
      incomplete = true;
      return false;
    }
    const size_t total = 10 + U16Le(buffer, 8);
    const uint8_t type = buffer[4];
    sequence = U16Le(buffer, 2);
    std::vector<uint8_t> whole(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(total));
    buffer.erase(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(total));
    if (type == 1) {
      std::lock_guard<std::mutex> lock(mutex_);
      relay_logins_.push_back(whole);
      logged_in_ = true;
      isLogin = true;
      return true;
    }
    if (type != 5 || !logged_in_) return bad();
    relayBody.assign(whole.begin() + 10, whole.end());
    source = &relayBody;
  }
  std::vector<uint8_t>& src = *source;
  if (src.size() < offset + 4) {
    if (source != &buffer) return bad();
    incomplete = true;
    return false;
  }
  if (src[offset + 1] != 0x0E) {
    src.clear();
    return bad();
  }
  const size_t total = offset + 4 + U16(src, offset + 2) + (withCrc ? 2 : 0);
  if (src.size() < total) {
    if (source != &buffer) return bad();
    incomplete = true;
    return false;
  }
  envelope.assign(src.begin() + static_cast<std::ptrdiff_t>(offset), src.begin() + static_cast<std::ptrdiff_t>(total));
  src.erase(src.begin(), src.begin() + static_cast<std::ptrdiff_t>(total));
  if (withCrc) {
    const size_t body = envelope.size() - 2;
    const uint16_t crc = static_cast<uint16_t>(envelope[body] | (envelope[body + 1] << 8));
    if (crc != Crc(envelope.data(), body)) return bad();
    envelope.resize(body);
  }
  if (envelope.size() < 10) return bad();
  return true;
}

void SimulatedPlc::SendBytes(int fd, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = options_.Kind == Transport::kSerialPty
                          ? ::write(fd, bytes.data() + done, bytes.size() - done)
                          : ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

void SimulatedPlc::Answer(int fd, const std::vector<uint8_t>& envelope, uint16_t sequence) {
  Request request;
  request.Station = envelope[0];
  request.Code = U16(envelope, 4);
  request.Parameter = U16(envelope, 6);
  request.FrameIndex = U16(envelope, 8);
  request.Data.assign(envelope.begin() + 10, envelope.end());
  request.RelaySequence = sequence;
  request.ReceivedMs = NowMs();

  Fault fault;
  bool faulted = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request);
    if (!faults_.empty()) {
      fault = faults_.front();
      faults_.pop_front();
      faulted = true;
    }
  }
  // A PLC on a shared line answers only its own station.
  if (request.Station != options_.Station) return;
  if (faulted && fault.Kind == FaultKind::kNoReply) return;
  if (faulted && fault.Kind == FaultKind::kCloseConnection) {
    if (options_.Kind != Transport::kSerialPty) CloseClient();
    return;
  }

  uint16_t replyCode = request.Code;
  std::vector<uint8_t> data;
  if (faulted && fault.Kind == FaultKind::kWrongCode) {
    replyCode = kRefusalCode;
  } else {
    data = Execute(request, replyCode);
  }
  uint8_t station = options_.Station;
  uint16_t index = request.FrameIndex;
  if (faulted && fault.Kind == FaultKind::kWrongStation) ++station;
  if (faulted && fault.Kind == FaultKind::kWrongIndex) index ^= 0x8000;

  const bool withCrc = options_.Kind != Transport::kNetwork;
  std::vector<uint8_t> reply = BuildEnvelope(station, replyCode, request.Parameter, index, data, withCrc);
  if (faulted && fault.Kind == FaultKind::kBadCrc && withCrc) reply.back() ^= 0x5A;
  if (faulted && fault.Kind == FaultKind::kExtraCrc && !withCrc) {
    const uint16_t crc = Crc(reply.data(), reply.size());
    reply.push_back(static_cast<uint8_t>(crc));
    reply.push_back(static_cast<uint8_t>(crc >> 8));
  }
  if (faulted && fault.Kind == FaultKind::kRaw) reply = fault.Bytes;
  if (faulted && fault.Kind == FaultKind::kTruncate) reply.resize(std::min(reply.size(), fault.Keep));

  if (options_.Kind == Transport::kNetwork) {
    reply.insert(reply.begin(), 6, 0);
  } else if (options_.Kind == Transport::kRelay) {
    std::vector<uint8_t> header = RelayHeader(sequence, 5, static_cast<uint16_t>(reply.size()));
    reply.insert(reply.begin(), header.begin(), header.end());
  }
  if (faulted && fault.Kind == FaultKind::kAppendGarbage) reply.insert(reply.end(), fault.Bytes.begin(), fault.Bytes.end());

  if (faulted && fault.Kind == FaultKind::kDelay) std::this_thread::sleep_for(std::chrono::milliseconds(fault.Ms));
  if (faulted && fault.Kind == FaultKind::kSplit) {
    const size_t keep = std::min(reply.size(), fault.Keep != 0 ? fault.Keep : reply.size() / 2);
    SendBytes(fd, std::vector<uint8_t>(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(keep)));
    std::this_thread::sleep_for(std::chrono::milliseconds(fault.Ms));
    SendBytes(fd, std::vector<uint8_t>(reply.begin() + static_cast<std::ptrdiff_t>(keep), reply.end()));
    return;
  }
  SendBytes(fd, reply);
}

std::vector<uint8_t> SimulatedPlc::Execute(Request& request, uint16_t& replyCode) {
  std::lock_guard<std::mutex> lock(mutex_);
  Memory& m = memory_;
  const int fs = options_.FrameSize;
  const uint16_t p = request.Parameter;
  const std::vector<uint8_t>& d = request.Data;  // the whole data once a multi-frame request is in

  for (uint16_t refused : refused_codes_) {
    if (refused == request.Code) {
      replyCode = kRefusalCode;
      return {};
    }
  }

  // Multi-frame writes collect their frames by index and take effect with the last one; a frame
  // sent again after a lost reply replaces itself.
  auto collect = [&](std::vector<uint8_t>& whole) {
    auto& frames = pending_writes_[{request.Code, p}];
    if ((request.FrameIndex & 0x7FFF) == 0) frames.clear();
    frames[request.FrameIndex & 0x7FFF] = d;
    if ((request.FrameIndex & 0x8000) == 0) return false;
    whole.clear();
    // The frames stay until the next first frame, so a last frame sent again commits the same.
    for (auto& [index, bytes] : frames) whole.insert(whole.end(), bytes.begin(), bytes.end());
    return true;
  };
  auto keys = [](const auto& map) {
    std::vector<uint8_t> out;
    for (const auto& [key, value] : map) out.push_back(static_cast<uint8_t>(key));
    return out;
  };
  std::vector<uint8_t> whole;

  // Every other request that spans several frames (a password, variables, a break point) takes
  // effect with its last frame, with the data of all its frames.
  const bool framedRead = request.Code == 0x0230 || request.Code == 0x0280 || request.Code == 0x02B0 ||
                          request.Code == 0x0311 || request.Code == 0x0500 || request.Code == 0x0800;
  const bool collected = request.Code == 0x0240 || request.Code == 0x0290 || request.Code == 0x02C0 ||
                         request.Code == 0x0312 || request.Code == 0x0600 || request.Code == 0x0900;
  std::vector<uint8_t> joined;
  if (!framedRead && !collected && request.FrameIndex != 0x8000) {
    if (!collect(joined)) return {};
    request.Data = joined;
  }

  switch (request.Code) {
    case 0x0100:
      ++m.Clears;
      m.DataBlocks.clear();
      m.Constants.clear();
      m.Arguments.clear();
      m.Instructions.clear();
      return {};
    case 0x0110:
      if (!m.AccessPassword.empty() && d != m.AccessPassword) {
        replyCode = kRefusalCode;
        return {};
      }
      m.Attached = true;
      return {};
    case 0x0111: m.Attached = false; return {};
    case 0x0121: {
      std::vector<uint8_t> info(64, 0);
      std::copy_n(m.Information.begin(), std::min<size_t>(m.Information.size(), 64), info.begin());
      return info;
    }
    case 0x0210: return keys(m.DataBlocks);
    case 0x0220: return Length(Find(m.DataBlocks, p));
    case 0x0230: { auto* b = Find(m.DataBlocks, p); return b ? Slice(*b, request.FrameIndex, fs) : std::vector<uint8_t>{}; }
    case 0x0240: if (collect(whole)) m.DataBlocks[p] = whole; return {};
    case 0x0260: return keys(m.SystemPages);
    case 0x0270: return Length(Find(m.SystemPages, p));
    case 0x0280: { auto* b = Find(m.SystemPages, p); return b ? Slice(*b, request.FrameIndex, fs) : std::vector<uint8_t>{}; }
    case 0x0290: if (collect(whole)) m.SystemPages[p] = whole; return {};
    case 0x02A0: return Length(&m.PasswordTable);
    case 0x02B0: return Slice(m.PasswordTable, request.FrameIndex, fs);
    case 0x02C0: if (collect(whole)) m.PasswordTable = whole; return {};
    case 0x0300: return keys(m.Instructions);
    case 0x0310: return Length(&m.Constants);
    case 0x0311: return Slice(m.Constants, request.FrameIndex, fs);
    case 0x0312: if (collect(whole)) m.Constants = whole; return {};
    case 0x0400: return Length(Find(m.Arguments, p));
    case 0x0500: { auto* b = Find(m.Arguments, p); return b ? Slice(*b, request.FrameIndex, fs) : std::vector<uint8_t>{}; }
    case 0x0600: if (collect(whole)) m.Arguments[p] = whole; return {};
    case 0x0700: return Length(Find(m.Instructions, p));
    case 0x0800: { auto* b = Find(m.Instructions, p); return b ? Slice(*b, request.FrameIndex, fs) : std::vector<uint8_t>{}; }
    case 0x0900: if (collect(whole)) m.Instructions[p] = whole; return {};
    case 0x0A00: return {0, m.RunState};
    case 0x0A01: if (!d.empty()) m.RunState = d[0]; return {};
    case 0x0A02: if (!d.empty()) m.Scans.push_back(d[0]); return {};
    case 0x0A03: ++m.Resets; return {};
    case 0x0A10:
    case 0x0A20: {
      const auto& values = request.Code == 0x0A10 ? m.Variables : m.Forced;
      std::vector<uint8_t> out;
      for (size_t i = 0; i + 4 <= d.size(); i += 4) {
        auto it = values.find(U32Le(d, i));
        PutU32Le(out, it == values.end() ? 0 : it->second);
      }
      return out;
    }
    case 0x0A11:
    case 0x0A21: {
      auto& values = request.Code == 0x0A11 ? m.Variables : m.Forced;
      for (size_t i = 0; i + 8 <= d.size(); i += 8) values[U32Le(d, i)] = U32Le(d, i + 4);
      return {};
    }
    case 0x0A30: return {0, m.DebugState};
    case 0x0A31: if (!d.empty()) m.DebugState = d[0]; return {};
    case 0x0A32: if (!d.empty()) m.DebugScans.push_back(d[0]); return {};
    case 0x0A33: ++m.DebugResets; return {};
    case 0x0A34: return std::vector<uint8_t>(m.BreakPointReply.begin(), m.BreakPointReply.end());
    case 0x0A35: m.BreakPointWritten = d; return {};
    case 0x0A40: return std::vector<uint8_t>(m.Clock.begin(), m.Clock.end());
    case 0x0A41: if (d.size() == 7) std::copy(d.begin(), d.end(), m.Clock.begin()); return {};
    default: replyCode = kRefusalCode; return {};
  }
}

}  // namespace testsupport
