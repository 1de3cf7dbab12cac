// A simulated PLC that speaks the workbench's link protocol, for the tests of the link and of
// everything built on it (download, upload, PLC commands, monitor). It runs on its own thread
// and serves one of four transports: a pseudo-terminal (the workbench opens DevicePath() as its
// serial port), a Unix domain socket (the simulator pipe), loopback TCP with the "Network"
// framing (six-byte prefix, no CRC) or loopback TCP with the relay framing (10-byte header and
// login). It answers from a memory image the test can set and inspect, records every request
// and can damage its replies on demand.
//
// It is written from the protocol alone and shares no code with the workbench's link layer,
// so the two check each other.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class SimulatedPlc {
 public:
  enum class Transport { kSerialPty, kUnixSocket, kNetwork, kRelay };

  struct Options {
    Transport Kind = Transport::kUnixSocket;
    uint8_t Station = 1;
    // The data bytes per frame the PLC serves in the second step of a two-step read.
    int FrameSize = 64;
    // Unix socket path (kUnixSocket); empty picks one in a fresh temporary folder.
    std::string SocketPath;
    // The relay's reply to the login; empty gives the 12-byte acceptance (byte 11 zero).
    std::vector<uint8_t> RelayLoginReply;
  };

  // The command code the PLC answers with when it refuses a request.
  static constexpr uint16_t kRefusalCode = 0xFFFF;

  struct Request {
    uint8_t Station = 0;
    uint16_t Code = 0;
    uint16_t Parameter = 0;
    uint16_t FrameIndex = 0;
    std::vector<uint8_t> Data;
    uint16_t RelaySequence = 0;  // relay header sequence; 0 on other transports
    int64_t ReceivedMs = 0;      // monotonic milliseconds when the request was complete
  };

  enum class FaultKind {
    kNone,             // answered properly (a place holder in a queue of faults)
    kBadCrc,           // reply CRC damaged (serial, pipe, relay)
    kWrongStation,     // reply station + 1
    kWrongIndex,       // reply frame index with bit 15 flipped
    kWrongCode,        // refusal: reply with kRefusalCode, request not carried out
    kDelay,            // reply after Ms milliseconds
    kSplit,            // first Keep bytes, a pause of Ms milliseconds, then the rest
    kNoReply,          // request ignored (recorded, not carried out, not answered)
    kTruncate,         // only the first Keep bytes of the reply
    kRaw,              // Bytes sent instead of the reply
    kExtraCrc,         // TCP: the two CRC bytes appended although the framing has none
    kAppendGarbage,    // Bytes sent after the reply
    kCloseConnection,  // connection closed without an answer
  };
  struct Fault {
    FaultKind Kind = FaultKind::kBadCrc;
    int Ms = 0;
    size_t Keep = 0;
    std::vector<uint8_t> Bytes;
  };
  static Fault MakeFault(FaultKind kind, int ms = 0, size_t keep = 0, std::vector<uint8_t> bytes = {}) {
    Fault f;
    f.Kind = kind;
    f.Ms = ms;
    f.Keep = keep;
    f.Bytes = std::move(bytes);
    return f;
  }

  // The PLC's memory as the link reaches it. Change it through WithMemory.
  struct Memory {
    std::map<uint32_t, std::vector<uint8_t>> DataBlocks;   // by block key
    std::map<uint32_t, std::vector<uint8_t>> SystemPages;  // by page key
    std::vector<uint8_t> Constants;
    std::map<uint16_t, std::vector<uint8_t>> Arguments;     // by folded page key
    std::map<uint16_t, std::vector<uint8_t>> Instructions;  // by folded page key
    std::vector<uint8_t> PasswordTable = std::vector<uint8_t>(128, 0);
    std::string Information = "SIMULATED PLC";
    // 16-byte access password block; empty: the PLC is not protected.
    std::vector<uint8_t> AccessPassword;
    uint8_t RunState = 0;
    uint8_t DebugState = 0;
    std::array<uint8_t, 7> Clock{};
    std::array<uint8_t, 16> BreakPointReply{};
    std::vector<uint8_t> BreakPointWritten;
    std::map<uint32_t, uint32_t> Variables;  // value by operand word
    std::map<uint32_t, uint32_t> Forced;     // force flag by operand word
    bool Attached = false;
    int Clears = 0;
    int Resets = 0;
    int DebugResets = 0;
    std::vector<uint8_t> Scans;       // bytes of the force-scan commands
    std::vector<uint8_t> DebugScans;  // bytes of the debug-scan commands
  };

  explicit SimulatedPlc(Options options);
  ~SimulatedPlc();
  SimulatedPlc(const SimulatedPlc&) = delete;
  SimulatedPlc& operator=(const SimulatedPlc&) = delete;

  // Where the workbench connects.
  const std::string& DevicePath() const { return device_path_; }
  const std::string& SocketPath() const { return socket_path_; }
  uint16_t TcpPort() const { return tcp_port_; }

  // Every request in arrival order (refused, faulted and ignored ones included).
  std::vector<Request> Requests() const;
  void ClearRequests();
  // Requests that arrived but were malformed (bad CRC, wrong function, no login).
  int BadFrames() const;
  // Connections accepted (socket transports) and the login messages of the relay.
  int Connections() const;
  std::vector<std::vector<uint8_t>> RelayLogins() const;

  // Each later request takes the next fault of the queue; with the queue empty requests are
  // answered properly.
  void InjectFaults(const std::vector<Fault>& faults);
  // Refuses every request with this code (as an unknown command).
  void RefuseCode(uint16_t code);
  // Makes the listening socket refuse connections (the socket transports).
  void StopListening();

  void WithMemory(const std::function<void(Memory&)>& change);
  Memory MemorySnapshot() const;

  // Frames of the transports, for tests that build replies by hand.
  static std::vector<uint8_t> BuildEnvelope(uint8_t station, uint16_t code, uint16_t parameter, uint16_t index,
                                            const std::vector<uint8_t>& data, bool withCrc);
  static uint16_t Crc(const uint8_t* data, size_t size);

 private:
  void Run();
  void HandleInput(int fd, std::vector<uint8_t>& buffer);
  bool ExtractMessage(std::vector<uint8_t>& buffer, std::vector<uint8_t>& envelope, uint16_t& sequence,
                      bool& isLogin, bool& incomplete);
  void Answer(int fd, const std::vector<uint8_t>& envelope, uint16_t sequence);
  std::vector<uint8_t> Execute(Request& request, uint16_t& replyCode);
  void SendBytes(int fd, const std::vector<uint8_t>& bytes);
  void CloseClient();

  Options options_;
  std::string device_path_;
  std::string socket_path_;
  std::string temp_folder_;
  uint16_t tcp_port_ = 0;

  int master_fd_ = -1;  // pty master
  int slave_fd_ = -1;   // kept open so that the line stays up between openings
  int listen_fd_ = -1;
  int client_fd_ = -1;
  int wake_pipe_[2] = {-1, -1};
  std::atomic<bool> stop_{false};
  std::thread thread_;

  mutable std::mutex mutex_;
  Memory memory_;
  std::vector<Request> requests_;
  std::deque<Fault> faults_;
  std::vector<uint16_t> refused_codes_;
  std::map<std::pair<uint16_t, uint16_t>, std::map<uint16_t, std::vector<uint8_t>>> pending_writes_;
  int bad_frames_ = 0;
  int connections_ = 0;
  bool logged_in_ = false;
  std::vector<std::vector<uint8_t>> relay_logins_;
};

}  // namespace testsupport
