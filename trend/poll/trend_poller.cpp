#include "trend/poll/trend_poller.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "trend/link/serial_link.h"
#include "trend/link/tcp_link.h"

namespace vandrel {

int EffectiveBlockLength(int blockNum) {
  int b = blockNum - (blockNum & 1);
  if (b < 2) b = 2;
  return std::min(b, kMaxRegistersPerRequest);
}

float DecodeCurveValue(const uint8_t bytes[4], uint8_t dataType) {
  uint32_t bits;
  if (dataType == 0)
    bits = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
  else
    bits = (uint32_t{bytes[3]} << 24) | (uint32_t{bytes[2]} << 16) | (uint32_t{bytes[1]} << 8) | bytes[0];
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::unique_ptr<ModbusLink> TrendPoller::MakeLink(const TrendSettings& settings) {
  if (settings.MBType != 0) return std::make_unique<SerialLink>(settings.DCBEx);
  return std::make_unique<TcpLink>(settings.HostIP, settings.HostPort);
}

TrendPoller::TrendPoller(LinkFactory factory) : factory_(std::move(factory)) {}

TrendPoller::~TrendPoller() {
  StopPollThread();
  std::lock_guard lock(linkMutex_);
  link_.reset();
}

void TrendPoller::SetSettings(const TrendSettings& settings) {
  std::lock_guard lock(dataMutex_);
  settings_ = settings;
}

void TrendPoller::SetCurves(const CurveList& curves) {
  std::lock_guard lock(dataMutex_);
  std::vector<TrendCurve> defs;
  std::vector<std::vector<tagDataPoint>> points;
  for (size_t i = 0; i < curves.size(); ++i) {
    TrendCurve def = *curves[i];
    def.Points.clear();
    def.Count = std::clamp(def.Count, 0, kCurvePointSlots);
    const bool same = i < curves_.size() && curves_[i].SameDefinition(def);
    points.push_back(same ? points_[i] : std::vector<tagDataPoint>(static_cast<size_t>(def.Count)));
    defs.push_back(std::move(def));
  }
  curves_ = std::move(defs);
  points_ = std::move(points);
  ++generation_;
}

void TrendPoller::RequestPoll() {
  pollRequest_.store(true);
}

void TrendPoller::StartPollThread() {
  if (thread_.joinable()) return;
  stop_.store(false);
  {
    std::lock_guard lock(linkMutex_);
    if (link_) link_->ResetInterrupt();
  }
  thread_ = std::thread([this] { PollThreadProc(); });
}

void TrendPoller::StopPollThread() {
  {
    std::lock_guard lock(waitMutex_);
    stop_.store(true);
  }
  wake_.notify_all();
  {
    std::lock_guard lock(linkMutex_);
    if (link_) link_->Interrupt();
  }
  if (thread_.joinable()) thread_.join();
  std::lock_guard lock(linkMutex_);
  if (link_) link_->ResetInterrupt();
}

void TrendPoller::PollThreadProc() {
  // The first cycle runs after the first wait.
  pollRequest_.store(true);
  std::unique_lock lock(waitMutex_);
  while (!stop_.load()) {
    wake_.wait_for(lock, std::chrono::milliseconds(100), [this] { return stop_.load(); });
    if (stop_.load()) break;
    if (pollRequest_.load()) {
      lock.unlock();
      RunPollCycle();
      lock.lock();
    }
  }
}

int TrendPoller::LinkStatus() const {
  std::lock_guard lock(linkMutex_);
  if (!link_) return -1;
  return link_->IsOpen() ? 1 : 0;
}

std::vector<std::vector<tagDataPoint>> TrendPoller::CurvePoints() const {
  std::lock_guard lock(dataMutex_);
  return points_;
}

void TrendPoller::RunPollCycle() {
  pollRequest_.store(false);
  TrendSettings settings;
  std::vector<TrendCurve> curves;
  std::vector<std::vector<tagDataPoint>> points;
  uint64_t generation;
  {
    std::lock_guard lock(dataMutex_);
    settings = settings_;
    curves = curves_;
    points = points_;
    generation = generation_;
  }

  if (settings.MBType != currentKind_.load() || !link_) {
    currentKind_.store(settings.MBType);
    std::unique_ptr<ModbusLink> fresh = factory_(settings);
    std::unique_ptr<ModbusLink> old;
    {
      std::lock_guard lock(linkMutex_);
      old = std::move(link_);
      link_ = std::move(fresh);
      if (stop_.load()) link_->Interrupt();
    }
  }
  ModbusLink& link = *link_;  // replaced only on this thread

  Busy(true);
  if (!link.IsOpen() && !link.Open()) {
    Busy(false);
    return;
  }
  TraceLine(L"start-----------------------");

  uint8_t data[2 * kMaxRegistersPerRequest];
  for (size_t c = 0; c < curves.size() && link.IsOpen(); ++c) {
    const TrendCurve& curve = curves[c];
    std::vector<tagDataPoint>& out = points[c];
    const int registers = 2 * curve.Count;
    const int block = EffectiveBlockLength(curve.BlockNum);
    for (int j = 0; j * block < registers; ++j) {
      if (stop_.load()) {
        Busy(false);
        return;  // a stopped cycle publishes nothing
      }
      const int quantity = std::min(block, registers - j * block);
      const int first = j * block / 2;
      const int values = quantity / 2;
      bool ok = false;
      if (link.IsOpen()) {
        const uint32_t start = static_cast<uint32_t>(curve.Start) + static_cast<uint32_t>(j * block);
        ok = ReadHoldingRegisters(link, curve.DevNo, start, static_cast<uint32_t>(quantity), data, settings.Timeout,
                                  curve.DataType != 0);
        if (!ok) {
          wchar_t text[96];
          swprintf(text, 96, L"接收失败(ID=%4d, count=%d)", first, values);
          TraceLine(text);
        }
      }
      for (int k = 0; k < values; ++k) {
        const int index = first + k;
        const float value = ok ? DecodeCurveValue(data + 4 * k, curve.DataType) : 0.0f;
        out[static_cast<size_t>(index)] = tagDataPoint{static_cast<double>(index), static_cast<double>(value)};
        if (ok && traceOn_.load()) {
          wchar_t text[96];
          swprintf(text, 96, L"id=%4d val=%.4f", index, static_cast<double>(value));
          TraceLine(text);
        }
      }
    }
  }

  Busy(false);
  {
    std::lock_guard lock(dataMutex_);
    if (generation == generation_) points_ = std::move(points);
  }
  // The cycle counts as completed once its data-ready notice is out, so whoever sees the
  // count also finds the notice queued.
  if (dataReady_) dataReady_();
  completedCycles_.fetch_add(1);
}

}  // namespace vandrel
