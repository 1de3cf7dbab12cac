// A channel of the driver: one serial line or one TCP connection, the devices behind it, and
// the poll thread that reads their data blocks and reports the tags' values.
//
// The poll thread and the host's threads meet at three locks: PollLock (held for a whole
// polling round; DrvSetConfigEx takes it to reload), IoLock (one batch of requests and
// replies, or one write transaction) and the per-block DataLock (values and qualities).
// Every wait of the poll thread also watches the channel's stop event, so Stop() ends the
// thread promptly and cooperatively.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "modbusdrv/driver/modbus_device.h"
#include "modbusdrv/driver/modbus_frame.h"

namespace modbusdrv {

class ModbusChannel {
 public:
  enum class Kind { Serial, Tcp };
  // Items per read request, and the most requests one batch may hold.
  static constexpr uint32_t kItemsPerRequest = 120;
  static constexpr uint32_t kMaxRequestsPerBatch = 64;

  virtual ~ModbusChannel();
  ModbusChannel(const ModbusChannel&) = delete;
  ModbusChannel& operator=(const ModbusChannel&) = delete;

  virtual Kind GetKind() const = 0;

  // Starts the poll thread (a running thread is left running). Returns 1.
  int Start();
  // Ends the poll thread and closes the port or connection. Returns 1.
  int Stop();
  bool IsRunning() const { return thread_.joinable() && !done_.load(); }

  // Opens the port or connection (poll thread). 1 when the attempt could be made; whether the
  // channel is open shows in NeedsOpen. A failed attempt is tried again after the next
  // RefreshMs pause; a channel that backs off (BacksOffFailedOpen) waits longer after each
  // further failure, up to kMaxOpenRetryMs.
  virtual int Open() = 0;
  static constexpr uint32_t kMaxOpenRetryMs = 2000;
  // One polling round over every due block (poll thread, PollLock held).
  void Poll();
  // One write transaction on the caller's thread. True when the slave confirmed the write.
  bool Write(ModbusDataBlock& block, uint32_t offset, const uint8_t* bytes, int length);

  std::vector<std::unique_ptr<ModbusDevice>> Devices;
  std::wstring Name;
  std::wstring Description;
  std::timed_mutex PollLock;
  uint32_t BatchBase = 0;
  std::mutex IoLock;
  int Encoding = 0;
  std::atomic<int> NeedsOpen{1};
  int Enabled = 1;
  std::atomic<int> LockWanted{0};
  int ReloadAction = -1;
  std::atomic<uint32_t> RefreshMs{50};
  uint32_t TimeoutMs = 1000;
  uint32_t RequestsPerBatch = 1;
  int StaleMark = 0;

 protected:
  ModbusChannel();

  virtual Framing GetFraming() const = 0;
  // Whether the pause after a failed open grows with each further failure.
  virtual bool BacksOffFailedOpen() const = 0;
  // Whether an exception reply marks the items of its request bad (otherwise they keep their
  // values and quality).
  virtual bool ExceptionMarksItemsBad() const = 0;
  // Start of a polling round (the serial line purges its queues).
  virtual void PrepareRound() {}
  // Whether a block is due for polling.
  virtual bool BlockDue(uint64_t elapsedMs, uint32_t refreshMs) const = 0;
  // Pause after every polled block (interruptible by Stop).
  virtual void PauseAfterBlock() {}
  // Wait for the first piece of a reply, and for each further piece.
  virtual int FirstPieceTimeoutMs() const = 0;
  virtual int NextPieceTimeoutMs() const = 0;
  // Puts the requests of a batch on the wire; each entry is one whole frame.
  virtual bool SendFrames(const std::vector<std::vector<uint8_t>>& frames);
  // Writes bytes to the port or socket (bounded wait); false on an error or time-out.
  virtual ssize_t RawWrite(const uint8_t* data, size_t size);
  // Called before the receiver waits for more bytes.
  virtual void BeforeReceiveWait() {}
  // Whether a read of 0 bytes means the other end has gone (sockets) or no data (ttys).
  virtual bool ZeroReadEndsStream() const = 0;
  // Closes the port or connection (IoLock held, or no other user).
  virtual void ClosePort();

  // A failed open (poll thread). The host is told `text` when this failure is news: the first
  // one after the start or after a successful open, or one other than the attempt before
  // failed with. An empty text is a failure the host is not told of (it still counts as one).
  void OpenFailed(const std::wstring& text);

  // Waits for the stop event up to `ms`; true when a stop was asked.
  bool WaitStop(int ms);
  bool StopAsked() const { return stop_.load(); }
  int StopFd() const { return stopFd_; }
  bool WriteAll(const uint8_t* data, size_t size, int timeoutMs);
  // Makes at least `count` bytes available in the receive buffer; false on time-out, error,
  // end of stream or stop.
  bool Fill(size_t count, int timeoutMs);
  // Drops buffered bytes and whatever the port already holds.
  void DiscardInput();

  int fd_ = -1;
  // More than one request of the current batch is on the wire.
  bool pipelined_ = false;

 private:
  void ThreadProc();
  // Reads one reply frame; false on a transport failure (time-out, error, unframable head).
  bool ReadReply(uint8_t unit, uint8_t function, DecodedReply& reply, bool& framingSuspect);
  void FailurePath();
  void ReportRange(ModbusDataBlock& block, uint32_t firstOffset, uint32_t count);

  std::thread thread_;
  // What the last attempt to open failed with, while the channel has not opened since (poll
  // thread only).
  std::optional<std::wstring> openFailure_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> done_{true};
  int stopFd_ = -1;
  std::vector<uint8_t> rx_;
  size_t rxStart_ = 0;
  size_t rxEnd_ = 0;
  // A write's reply did not arrive in time: it may still come and must not be taken for a
  // poll reply.
  bool staleInput_ = false;
};

// "<prefix>N" with the lowest N from 0 that no channel of the list has (letter case ignored).
std::wstring UniqueChannelName(const ChannelList& list, const std::wstring& prefix);

// Kind test used by the file writer and the dialogs.
inline bool IsComChannel(const ModbusChannel& channel) { return channel.GetKind() == ModbusChannel::Kind::Serial; }

}  // namespace modbusdrv
