// The PLC address detection of the communication dialog: a PLC on the local network announces
// its IPv4 address in one 4-byte UDP datagram to port 2003, last field of the dotted address
// first. The detector binds that port on every local address, waits at most four times one
// second for a datagram and reads the address from it. Plain C++; the dialog runs it on a worker
// thread. The sender of the datagram is not checked.
#pragma once

#include <atomic>
#include <cstdint>

namespace Brenno {

// The UDP port the PLC announces its address to.
inline constexpr uint16_t kAddressDetectionPort = 2003;

enum class DetectionOutcome {
  Detected,      // a 4-byte datagram arrived; the address is in the result
  NoReply,       // four waits passed without a datagram
  BadData,       // a datagram of any other length, or the receive failed
  NetworkFault,  // the socket could not be made or bound, or the wait failed
  Cancelled,     // Cancel() was called while waiting
};

struct DetectionSettings {
  uint32_t BindAddress = 0;  // 0: every local address
  uint16_t Port = kAddressDetectionPort;
  int WaitMs = 1000;  // one wait
  int Waits = 4;      // consecutive waits without a datagram before giving up
};

struct DetectionResult {
  DetectionOutcome Outcome = DetectionOutcome::NoReply;
  uint32_t Address = 0;  // first field of the dotted address in the top byte
};

// The address a 4-byte datagram carries: its bytes as a little-endian number, so the last byte
// is the first field (5, 1, 168, 192 gives 192.168.1.5).
uint32_t AddressFromDatagram(const uint8_t bytes[4]);

// The message shown for an outcome (only in Chinese); null for Detected and Cancelled.
const wchar_t* DetectionMessage(DetectionOutcome outcome);

class PlcAddressDetector {
 public:
  explicit PlcAddressDetector(const DetectionSettings& settings = {});
  ~PlcAddressDetector();
  PlcAddressDetector(const PlcAddressDetector&) = delete;
  PlcAddressDetector& operator=(const PlcAddressDetector&) = delete;

  // Makes and binds the socket; false when that fails (Run then reports NetworkFault). Run opens
  // it itself when it is not open yet.
  bool Open();
  // The bound port (useful when the settings asked for port 0); -1 before Open.
  int LocalPort() const;
  // Waits for the datagram and closes the socket in every case.
  DetectionResult Run();
  // May be called from any thread: the running wait ends within a tenth of a second with
  // Cancelled (a Run started afterwards ends at once).
  void Cancel();

 private:
  DetectionSettings settings_;
  int socket_ = -1;
  bool openFailed_ = false;
  std::atomic<bool> cancel_{false};
};

}  // namespace Brenno
