// Shared pieces of the link tests: an environment whose current project has a PLC type with a
// chosen frame size and support list, pointed at a simulated PLC with short time-outs, and a
// recording stand-in for the user-interface services of the link.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/link/app_environment.h"
#include "core/env/plc_type.h"
#include "core/link/comm_port.h"
#include "core/link/link_ui.h"
#include "core/project/project.h"
#include "platform/text_codec.h"
#include "support/simulated_plc.h"

namespace linktest {

using testsupport::SimulatedPlc;

class RecordingLinkUi : public Brenno::LinkUiServices {
 public:
  RecordingLinkUi() { Brenno::InstallLinkUiServices(this); }
  ~RecordingLinkUi() override { Brenno::InstallLinkUiServices(nullptr); }

  void UpdProgress(const Brenno::ProgressInfo& info) override {
    std::lock_guard<std::mutex> lock(mutex_);
    Progress.push_back(info);
  }
  void AppendOutputLine(const std::wstring& line) override {
    std::lock_guard<std::mutex> lock(mutex_);
    Lines.push_back(line);
  }
  bool AskPlcPassword(std::vector<uint8_t>& block) override {
    std::lock_guard<std::mutex> lock(mutex_);
    ++PasswordPrompts;
    if (Passwords.empty()) return false;
    block = Passwords.front();
    Passwords.erase(Passwords.begin());
    return true;
  }

  std::vector<Brenno::ProgressInfo> Progress;
  std::vector<std::wstring> Lines;
  std::vector<std::vector<uint8_t>> Passwords;  // answers of the prompt; none left: cancelled
  int PasswordPrompts = 0;

 private:
  std::mutex mutex_;
};

// An environment with one project whose PLC type supports every command code (unless told
// otherwise) and carries `frameSize` data bytes per frame.
class LinkEnvironment {
 public:
  explicit LinkEnvironment(int frameSize = 64, std::vector<Brenno::ExchSupportEntry> support = {{0, 0}})
      : env_(std::make_unique<Brenno::AppEnvironment>()) {
    Brenno::PlcType& type = env_->PlcTypeCatalog.emplace_back();
    type.Description.Name = L"SIM";
    type.Description.ExchPackSize = frameSize;
    type.SupportList = std::move(support);
    env_->ProjectList.emplace_back();
    env_->ProjectList.back().Type = &type;
    // Short waits keep failing exchanges quick.
    env_->Config.LinkTimeWaitReceive = 300;
    env_->Config.LinkTimeReadIntervalTimeout = 40;
    env_->Config.LinkStation = 1;
    env_->Port.NetworkWaitMs = 100;
    env_->Port.RelayWaitMs = 100;
    env_->Port.ResendPauseMs = 10;
  }

  Brenno::AppEnvironment& env() { return *env_; }
  Brenno::PlcType& type() { return env_->PlcTypeCatalog.front(); }

  // Points the configuration at the simulated PLC's transport.
  void UseSimulator(const SimulatedPlc& plc, SimulatedPlc::Transport kind) {
    Brenno::PlcConfig& c = env_->Config;
    c.LinkIpAddr = 0x7F000001;  // 127.0.0.1
    switch (kind) {
      case SimulatedPlc::Transport::kSerialPty: c.LinkPortPath = platform::FromUtf8Lossy(plc.DevicePath()); break;
      case SimulatedPlc::Transport::kUnixSocket:
        c.LinkPortPath = Brenno::kSimulatorPipeName;
        env_->Port.PipeSocketPath = plc.SocketPath();
        break;
      case SimulatedPlc::Transport::kNetwork:
        c.LinkPortPath = Brenno::kNetworkPortName;
        env_->Port.NetworkTcpPort = plc.TcpPort();
        break;
      case SimulatedPlc::Transport::kRelay:
        c.LinkPortPath = Brenno::kRelayPortName;
        c.LinkTcpPort = plc.TcpPort();
        c.LinkTelephone = L"13800138000";
        break;
    }
  }

 private:
  std::unique_ptr<Brenno::AppEnvironment> env_;
};

inline SimulatedPlc::Options SimOptions(SimulatedPlc::Transport kind, int frameSize = 64) {
  SimulatedPlc::Options o;
  o.Kind = kind;
  o.FrameSize = frameSize;
  return o;
}

// A simulated PLC and an environment whose port is open on it (the caller holds no lock: the
// tests below the state machine use the port directly).
struct OpenLink {
  explicit OpenLink(SimulatedPlc::Transport kind, int frameSize = 64)
      : plc(SimOptions(kind, frameSize)), link(frameSize) {
    link.UseSimulator(plc, kind);
    opened = Brenno::OpenCommPort(link.env().Port, link.env().Config);
  }
  ~OpenLink() { Brenno::CloseCommPort(link.env().Port); }

  Brenno::AppEnvironment& env() { return link.env(); }

  SimulatedPlc plc;
  LinkEnvironment link;
  bool opened = false;
};

inline std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<uint8_t> out;
  for (int v : values) out.push_back(static_cast<uint8_t>(v));
  return out;
}

}  // namespace linktest
