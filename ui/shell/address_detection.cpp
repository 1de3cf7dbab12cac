#include "ui/shell/address_detection.h"

#include <algorithm>

#include "platform/poll_io.h"
#include "platform/udp_socket.h"

namespace Brenno {

namespace {

// The longest piece of a wait between two looks at the cancel request.
constexpr int kCancelSliceMs = 100;

}  // namespace

uint32_t AddressFromDatagram(const uint8_t bytes[4]) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

const wchar_t* DetectionMessage(DetectionOutcome outcome) {
  switch (outcome) {
    case DetectionOutcome::NoReply: return L"探测失败！";
    case DetectionOutcome::BadData: return L"探测接收数据错误！";
    case DetectionOutcome::NetworkFault: return L"网络出现故障";
    case DetectionOutcome::Detected:
    case DetectionOutcome::Cancelled: break;
  }
  return nullptr;
}

PlcAddressDetector::PlcAddressDetector(const DetectionSettings& settings) : settings_(settings) {}

PlcAddressDetector::~PlcAddressDetector() { platform::CloseDescriptor(socket_); }

bool PlcAddressDetector::Open() {
  if (socket_ >= 0) return true;
  socket_ = platform::OpenUdpSocket(settings_.BindAddress, settings_.Port);
  openFailed_ = socket_ < 0;
  return !openFailed_;
}

int PlcAddressDetector::LocalPort() const { return platform::UdpLocalPort(socket_); }

void PlcAddressDetector::Cancel() { cancel_ = true; }

DetectionResult PlcAddressDetector::Run() {
  DetectionResult result;
  if (socket_ < 0 && !Open()) {
    result.Outcome = DetectionOutcome::NetworkFault;
    return result;
  }
  int timeouts = 0;
  for (;;) {
    // One wait of WaitMs, cut into slices so that a cancel request is seen soon.
    platform::WaitResult wait = platform::WaitResult::kTimeout;
    const int64_t end = platform::MonotonicMs() + std::max(settings_.WaitMs, 0);
    for (;;) {
      if (cancel_) {
        platform::CloseDescriptor(socket_);
        result.Outcome = DetectionOutcome::Cancelled;
        return result;
      }
      const int64_t left = end - platform::MonotonicMs();
      if (left <= 0) break;
      wait = platform::WaitReadable(socket_, static_cast<int>(std::min<int64_t>(left, kCancelSliceMs)));
      if (wait != platform::WaitResult::kTimeout) break;
    }
    if (wait == platform::WaitResult::kError) {
      result.Outcome = DetectionOutcome::NetworkFault;
      break;
    }
    if (wait == platform::WaitResult::kReady) {
      uint8_t bytes[4] = {};
      const long got = platform::ReceiveDatagram(socket_, bytes, sizeof bytes);
      if (got == static_cast<long>(sizeof bytes)) {
        result.Outcome = DetectionOutcome::Detected;
        result.Address = AddressFromDatagram(bytes);
      } else {
        result.Outcome = DetectionOutcome::BadData;
      }
      break;
    }
    if (++timeouts >= settings_.Waits) {
      result.Outcome = DetectionOutcome::NoReply;
      break;
    }
  }
  platform::CloseDescriptor(socket_);
  return result;
}

}  // namespace Brenno
