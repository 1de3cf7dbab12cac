#include "modbusdrv/driver/modbus_channel.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "modbusdrv/driver/driver_state.h"
#include "modbusdrv/driver/driver_utils.h"
#include "modbusdrv/driver/tag_address.h"

namespace modbusdrv {

namespace {

constexpr size_t kReceiveBufferSize = 64 * 1024;
// Pause after the first failed open of a channel that backs off, doubled after each further
// one (never shorter than the channel's refresh time).
constexpr uint32_t kFirstOpenRetryMs = 50;

int RemainingMs(std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
  return left < 0 ? 0 : static_cast<int>(left);
}

}  // namespace

std::wstring UniqueChannelName(const ChannelList& list, const std::wstring& prefix) {
  for (int n = 0;; ++n) {
    std::wstring name = prefix + std::to_wstring(n);
    bool taken = false;
    for (const auto& channel : list) taken = taken || EqualNoCase(channel->Name, name);
    if (!taken) return name;
  }
}

ModbusChannel::ModbusChannel() : rx_(kReceiveBufferSize) {
  stopFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

ModbusChannel::~ModbusChannel() {
  // Derived destructors stop the channel; this is the last guard.
  if (thread_.joinable()) {
    stop_ = true;
    const uint64_t one = 1;
    if (write(stopFd_, &one, sizeof one) < 0) {
    }
    if (thread_.get_id() == std::this_thread::get_id())
      thread_.detach();
    else
      thread_.join();
  }
  if (stopFd_ >= 0) close(stopFd_);
}

int ModbusChannel::Start() {
  if (thread_.joinable()) {
    if (!done_.load()) return 1;
    if (thread_.get_id() == std::this_thread::get_id()) return 1;
    thread_.join();
  }
  uint64_t drained = 0;
  while (read(stopFd_, &drained, sizeof drained) > 0) {
  }
  stop_ = false;
  NeedsOpen = 1;
  openFailure_.reset();
  done_ = false;
  thread_ = std::thread([this] { ThreadProc(); });
  return 1;
}

int ModbusChannel::Stop() {
  if (thread_.joinable()) {
    stop_ = true;
    const uint64_t one = 1;
    if (write(stopFd_, &one, sizeof one) < 0) {
    }
    // A stop asked from the poll thread itself (a host callback) only tells it to end.
    if (thread_.get_id() == std::this_thread::get_id()) return 1;
    thread_.join();
  }
  std::lock_guard<std::mutex> lock(IoLock);
  ClosePort();
  NeedsOpen = 1;
  return 1;
}

void ModbusChannel::ThreadProc() {
  // A failed open is tried again after the next refresh pause; a serial device that cannot be
  // opened (gone, or refusing its settings) fails at once every time, so its channel waits a
  // growing pause instead. The pause is a wait on the stop event and is spent without
  // PollLock, so neither a stop nor a reload waits for it.
  uint32_t retryMs = 0;
  while (!WaitStop(static_cast<int>(std::max(RefreshMs.load(), retryMs)))) {
    // Open and poll under PollLock, so that a reload never changes the settings or the tree
    // under the thread's feet; wait for it in steps so that a stop is seen meanwhile.
    bool locked = false;
    while (!StopAsked()) {
      if (PollLock.try_lock_for(std::chrono::milliseconds(20))) {
        locked = true;
        break;
      }
    }
    if (!locked) break;
    bool openFailed = false;
    if (NeedsOpen.load() == 1) {
      Open();
      openFailed = NeedsOpen.load() == 1;
      if (!openFailed) openFailure_.reset();
    }
    if (NeedsOpen.load() == 0) Poll();
    PollLock.unlock();
    retryMs = openFailed && BacksOffFailedOpen() ? std::clamp(2 * retryMs, kFirstOpenRetryMs, kMaxOpenRetryMs) : 0;
  }
  done_ = true;
}

void ModbusChannel::OpenFailed(const std::wstring& text) {
  if (!text.empty() && openFailure_ != text) ReportMessage(text);
  openFailure_ = text;
}

bool ModbusChannel::WaitStop(int ms) {
  if (StopAsked()) return true;
  pollfd p{stopFd_, POLLIN, 0};
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    const int r = poll(&p, 1, RemainingMs(deadline));
    if (r > 0 || StopAsked()) return true;
    if (r == 0) return false;
    if (errno != EINTR) return true;
  }
}

ssize_t ModbusChannel::RawWrite(const uint8_t* data, size_t size) { return write(fd_, data, size); }

bool ModbusChannel::WriteAll(const uint8_t* data, size_t size, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  size_t done = 0;
  while (done < size) {
    if (fd_ < 0 || StopAsked()) return false;
    const ssize_t n = RawWrite(data + done, size - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
    pollfd p[2] = {{fd_, POLLOUT, 0}, {stopFd_, POLLIN, 0}};
    const int r = poll(p, 2, RemainingMs(deadline));
    if (r == 0 || p[1].revents != 0) return false;
    if (r < 0 && errno != EINTR) return false;
  }
  return true;
}

bool ModbusChannel::Fill(size_t count, int timeoutMs) {
  if (rxEnd_ - rxStart_ >= count) return true;
  if (count > rx_.size()) return false;
  if (rxStart_ + count > rx_.size()) {
    std::memmove(rx_.data(), rx_.data() + rxStart_, rxEnd_ - rxStart_);
    rxEnd_ -= rxStart_;
    rxStart_ = 0;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  // With nothing buffered the reply is most likely still on its way: wait before reading.
  bool waitFirst = rxEnd_ == rxStart_;
  while (rxEnd_ - rxStart_ < count) {
    if (fd_ < 0 || StopAsked()) return false;
    const ssize_t n = waitFirst ? -1 : read(fd_, rx_.data() + rxEnd_, rx_.size() - rxEnd_);
    if (waitFirst) errno = EAGAIN;
    waitFirst = false;
    if (n > 0) {
      rxEnd_ += static_cast<size_t>(n);
      continue;
    }
    // A socket read of 0 means the peer closed the connection; a serial line in polling
    // mode reads 0 when nothing has arrived yet.
    if (n == 0 && ZeroReadEndsStream()) return false;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
    BeforeReceiveWait();
    pollfd p[2] = {{fd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
    const int r = poll(p, 2, RemainingMs(deadline));
    if (r == 0 || p[1].revents != 0) return false;
    if (r < 0 && errno != EINTR) return false;
  }
  return true;
}

void ModbusChannel::DiscardInput() {
  rxStart_ = rxEnd_ = 0;
  if (fd_ < 0) return;
  uint8_t scrap[512];
  for (;;) {
    const ssize_t n = read(fd_, scrap, sizeof scrap);
    if (n <= 0) break;
  }
}

void ModbusChannel::ClosePort() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  rxStart_ = rxEnd_ = 0;
}

bool ModbusChannel::SendFrames(const std::vector<std::vector<uint8_t>>& frames) {
  std::vector<uint8_t> all;
  for (const auto& f : frames) all.insert(all.end(), f.begin(), f.end());
  return WriteAll(all.data(), all.size(), 1000);
}

bool ModbusChannel::ReadReply(uint8_t unit, uint8_t function, DecodedReply& reply, bool& framingSuspect) {
  const Framing framing = GetFraming();
  const size_t head = ReplyHeadLength(framing);
  if (!Fill(head, FirstPieceTimeoutMs())) return false;
  const long total = ReplyFrameLength(framing, rx_.data() + rxStart_, head);
  if (total <= 0) return false;
  if (!Fill(static_cast<size_t>(total), NextPieceTimeoutMs())) return false;
  reply = DecodeReply(framing, rx_.data() + rxStart_, static_cast<size_t>(total), unit, function, 0);
  rxStart_ += static_cast<size_t>(total);
  // A frame that fails its checksum may have been cut wrongly: what follows cannot be trusted.
  framingSuspect = !reply.frameIntact;
  return true;
}

void ModbusChannel::FailurePath() {
  for (auto& device : Devices)
    for (auto& block : device->Blocks) block->MarkAllBad();
  NeedsOpen = 1;
  ClosePort();
}

void ModbusChannel::ReportRange(ModbusDataBlock& block, uint32_t firstOffset, uint32_t count) {
  if (DriverState::Instance().ValueSink.load() == nullptr) return;
  for (uint32_t row = 0; row < block.SlotRowCount; ++row) {
    for (uint32_t k = firstOffset; k < firstOffset + count && k <= block.Length; ++k) {
      const uint32_t id = block.Slot(row, k).load();
      if (id == kFreeSlot || id >= 0x80000000u) continue;
      uint8_t value[8] = {};
      uint32_t quality = 0, type = kTypeBit, size = 1;
      DecodeTagValue(block, k, value, quality, type, size);
      ReportValue(id, value, size, type, quality);
    }
  }
}

void ModbusChannel::Poll() {
  struct Request {
    uint32_t first;  // 1-based item number
    uint32_t count;
  };
  PrepareRound();
  const Framing framing = GetFraming();
  const uint32_t perBatch = RequestsPerBatch < 1 ? 1 : (RequestsPerBatch > kMaxRequestsPerBatch ? kMaxRequestsPerBatch : RequestsPerBatch);
  std::vector<Request> requests;
  std::vector<std::vector<uint8_t>> frames;
  std::vector<DecodedReply> replies;
  for (auto& device : Devices) {
    for (auto& blockPtr : device->Blocks) {
      ModbusDataBlock& block = *blockPtr;
      if (!block.IsPollable()) continue;
      const uint64_t now = TickMs();
      if (!BlockDue(now - block.LastPollTick, block.RefreshMs)) continue;
      block.LastPollTick = now;
      const uint8_t function = ReadFunctionForArea(block.Area);
      const uint8_t unit = static_cast<uint8_t>(device->UnitId);
      const uint32_t s = block.FirstItem();
      const uint32_t chunk = kItemsPerRequest * perBatch;
      const uint32_t full = block.Length / chunk;
      uint32_t cur = s;
      for (uint32_t b = 0; b <= full; ++b) {
        if (LockWanted.load() != 0 || StopAsked()) return;
        const uint32_t end = b < full ? cur + chunk : cur + block.Length % chunk;
        if (cur >= end) continue;
        requests.clear();
        frames.clear();
        {
          std::lock_guard<std::mutex> io(IoLock);
          if (fd_ < 0) {
            FailurePath();
            return;
          }
          // Whatever is buffered now belongs to no request of this batch.
          if (staleInput_) {
            DiscardInput();
            staleInput_ = false;
          }
          rxStart_ = rxEnd_ = 0;
          BatchBase = cur - 1;
          while (cur < end) {
            const uint32_t count = end - cur < kItemsPerRequest ? end - cur : kItemsPerRequest;
            requests.push_back({cur, count});
            frames.emplace_back();
            AppendFrame(framing, BuildReadPdu(unit, function, static_cast<uint16_t>(cur - 1), static_cast<uint16_t>(count)), 0,
                        frames.back());
            cur += count;
          }
          if (!SendFrames(frames)) {
            FailurePath();
            return;
          }
          pipelined_ = requests.size() > 1;
          replies.assign(requests.size(), DecodedReply{});
          bool suspect = false;
          for (size_t i = 0; i < requests.size(); ++i) {
            if (suspect) {
              replies[i].status = ReplyStatus::Mismatch;
              continue;
            }
            if (!ReadReply(unit, function, replies[i], suspect)) {
              FailurePath();
              return;
            }
          }
          if (suspect) staleInput_ = true;
          std::lock_guard<std::mutex> data(block.DataLock);
          for (size_t i = 0; i < requests.size(); ++i) {
            const uint32_t c = requests[i].first;
            const uint32_t count = requests[i].count;
            const DecodedReply& reply = replies[i];
            const bool bits = block.Area == 0 || block.Area == 1;
            const size_t firstByte = bits ? (c - s) / 8 : 2 * static_cast<size_t>(c - s);
            const size_t byteSpan = bits ? (count + 7) / 8 : 2 * static_cast<size_t>(count);
            if (reply.status == ReplyStatus::Exception && !ExceptionMarksItemsBad()) continue;
            if (reply.status != ReplyStatus::Ok) {
              for (size_t j = firstByte; j < firstByte + byteSpan && j < block.Quality.size(); ++j) block.Quality[j] = 1;
              continue;
            }
            const size_t n = reply.data.size();
            // A byte count that does not fit the request leaves values and quality as they were.
            if (n != byteSpan) continue;
            std::memcpy(block.Values.data() + firstByte, reply.data.data(), byteSpan);
            std::memset(block.Quality.data() + firstByte, 0, byteSpan);
          }
        }
        for (const Request& r : requests) ReportRange(block, r.first - s + 1, r.count);
      }
      PauseAfterBlock();
    }
  }
}

bool ModbusChannel::Write(ModbusDataBlock& block, uint32_t offset, const uint8_t* bytes, int length) {
  std::vector<uint8_t> pdu;
  if (block.Device == nullptr) return false;
  if (!BuildWritePdu(block, static_cast<uint8_t>(block.Device->UnitId), offset, bytes, length, pdu)) return false;
  std::vector<uint8_t> frame;
  AppendFrame(GetFraming(), pdu, 0, frame);
  std::lock_guard<std::mutex> io(IoLock);
  if (fd_ < 0 || NeedsOpen.load() != 0) return false;
  DiscardInput();
  staleInput_ = false;
  if (!WriteAll(frame.data(), frame.size(), 1000)) {
    if (GetKind() == Kind::Tcp) ReportMessage(SystemErrorText(errno));
    staleInput_ = true;
    return false;
  }
  DecodedReply reply;
  const Framing framing = GetFraming();
  const size_t head = ReplyHeadLength(framing);
  if (!Fill(head, 1000)) {
    staleInput_ = true;
    return false;
  }
  const long total = ReplyFrameLength(framing, rx_.data() + rxStart_, head);
  if (total <= 0 || !Fill(static_cast<size_t>(total), 1000)) {
    staleInput_ = true;
    return false;
  }
  reply = DecodeReply(framing, rx_.data() + rxStart_, static_cast<size_t>(total), pdu[0], pdu[1], 0);
  rxStart_ = rxEnd_ = 0;
  return reply.status == ReplyStatus::Ok;
}

}  // namespace modbusdrv
