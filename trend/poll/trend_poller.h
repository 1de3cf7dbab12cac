// The poll thread of the trend viewer: it wakes every 100 ms and, when asked, reads every
// curve's registers over the link and hands the points to the window. It works on its own
// copy of the settings and of the curve definitions, so the window may edit its list while a
// cycle runs; the points it reads are published whole at the end of a cycle.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "trend/config/trend_config.h"
#include "trend/link/modbus_link.h"
#include "trend/poll/trace_log.h"

namespace vandrel {

// The most registers one request asks for: standard slaves refuse more than 125, and an even
// count keeps every value inside one request.
constexpr int kMaxRegistersPerRequest = 124;

// Registers per request for a curve's block length.
int EffectiveBlockLength(int blockNum);
// The value of one curve point from the four data bytes of its two registers, as the link
// delivered them (exchanged within each register for data types other than 0).
float DecodeCurveValue(const uint8_t bytes[4], uint8_t dataType);

class TrendPoller {
 public:
  using LinkFactory = std::function<std::unique_ptr<ModbusLink>(const TrendSettings&)>;
  // A serial link for MBType other than 0, else a TCP link.
  static std::unique_ptr<ModbusLink> MakeLink(const TrendSettings& settings);

  explicit TrendPoller(LinkFactory factory = &TrendPoller::MakeLink);
  ~TrendPoller();
  TrendPoller(const TrendPoller&) = delete;
  TrendPoller& operator=(const TrendPoller&) = delete;

  // Called on the poll thread: busy(true) when a cycle starts and busy(false) when it ends;
  // dataReady() after a cycle that read the curves. Set before the thread starts.
  void SetBusyHandler(std::function<void(bool)> handler) { busy_ = std::move(handler); }
  void SetDataReadyHandler(std::function<void()> handler) { dataReady_ = std::move(handler); }

  // Copies taken by the next cycle.
  void SetSettings(const TrendSettings& settings);
  // Takes the curve definitions; curves whose definition is unchanged at the same position
  // keep their points, new or changed ones start at zero.
  void SetCurves(const CurveList& curves);
  // The next cycle makes a new link whatever the kind of the present one.
  void MarkLinkKindNone() { currentKind_.store(-1); }
  void RequestPoll();

  void StartPollThread();
  // Stops the thread cooperatively: the wait and any transfer of the link end at once.
  void StopPollThread();
  bool IsRunning() const { return thread_.joinable(); }

  // One poll cycle on the calling thread (what the thread does when asked).
  void RunPollCycle();

  // -1 before the first link exists, else whether the link is open.
  int LinkStatus() const;
  // The points read so far: for every curve, its point-count first points.
  std::vector<std::vector<tagDataPoint>> CurvePoints() const;
  uint64_t CompletedCycles() const { return completedCycles_.load(); }

  void SetTrace(bool on) { traceOn_.store(on); }
  bool Trace() const { return traceOn_.load(); }
  TraceLog& Log() { return log_; }

 private:
  void PollThreadProc();
  void Busy(bool on) {
    if (busy_) busy_(on);
  }
  void TraceLine(const std::wstring& text) {
    if (traceOn_.load()) log_.WriteTraceLine(text);
  }

  LinkFactory factory_;
  std::function<void(bool)> busy_;
  std::function<void()> dataReady_;

  mutable std::mutex dataMutex_;  // settings_, curves_, points_, generation_
  TrendSettings settings_;
  std::vector<TrendCurve> curves_;  // definitions only; Points unused
  std::vector<std::vector<tagDataPoint>> points_;
  uint64_t generation_ = 0;

  mutable std::mutex linkMutex_;  // the pointer link_ (not the transfers)
  std::unique_ptr<ModbusLink> link_;
  std::atomic<int> currentKind_{-1};

  std::thread thread_;
  std::mutex waitMutex_;
  std::condition_variable wake_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> pollRequest_{false};
  std::atomic<bool> traceOn_{false};
  std::atomic<uint64_t> completedCycles_{0};
  TraceLog log_;
};

}  // namespace vandrel
