// The online monitor: going online, checking that the PLC holds the project's compiled images
// (by their image stamps), and polling the PLC into the current project's OnlineCache for as
// long as the windows show online values, until the main frame asks it to stop.
//
// The monitor thread owns the port lock from EnterOnline to LeaveOnline. The polling loop lets
// go of it for a short pause after every read (or batch of reads), so that a job that asked for
// the port (CommCommandRequested) takes it then; the monitor waits until the job hands it back.
// The monitor talks to the windows only through MonitorUiServices (monitor_ui.h), and never
// while it holds the port lock.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace Brenno {

class AppEnvironment;

// Pacing of the monitor. The defaults are the workbench's; tests shorten them.
struct MonitorOptions {
  // The pause of a yield, in which a job may take the port.
  int YieldPauseMs = 100;
  // Run state, debug state, break point and force flags are read every this many cycles, the
  // diagnosis every DiagnosisEvery cycles.
  int StateEvery = 5;
  int DiagnosisEvery = 20;
};

// The compiled images of a project as the stamps need them.
struct CompiledImagePages {
  std::map<uint32_t, std::vector<uint32_t>> DataPages;        // by data block key
  std::map<uint32_t, std::vector<uint8_t>> SystemPages;       // by system page key
  std::vector<uint32_t> Constants;
  std::map<uint32_t, std::vector<uint32_t>> ArgumentPages;     // by program page key
  std::map<uint32_t, std::vector<uint32_t>> InstructionPages;  // by program page key
};

// Compiles the current project of the environment into its pages. Throws an ExceptionError
// (ExceptionParseBinaryError when the compile report counts errors); writes its report itself.
using ImageCompiler = std::function<void(AppEnvironment&, CompiledImagePages&)>;
// Installs the compiler of the image stamps; null removes it (stamps then cannot be computed).
void SetImageCompiler(ImageCompiler compiler);

// The image bytes: data pages' words (4 bytes each, least significant first) in key order;
// system pages' bytes in key order; constants, argument pages, instruction pages as words.
void FillImageBytes(const CompiledImagePages& pages, std::array<std::vector<uint8_t>, 3>& images);
// The six stamp bytes: CRC-16/MODBUS of the data, system and program image, each low byte first
// (an empty image gives 0xFFFF).
std::array<uint8_t, 6> ComputeStampBytes(const std::array<std::vector<uint8_t>, 3>& images);

// Compiles the current project and stores its image bytes and stamps in the environment
// (CompiledImages, ImageStamps). On an error shows its message (stop icon, when not empty) and
// returns false with the stamps unchanged.
bool ComputeImageStamps(AppEnvironment& env);
// Reads the PLC's stamps (double words at bytes 20 and 24 of slot 7) and compares them with the
// environment's; when any differ asks whether to go on. True to go on. Link errors throw.
// Runs with the port lock held and lets go of it while the question is shown.
bool ConfirmImageStamps(AppEnvironment& env);

// What the diagnosis dialog shows, filled every DiagnosisEvery cycles. The controller part is
// the 12 bytes at bytes 8, 12 and 16 of slot 7; module i (0 to 6) the 12 bytes at 0x80 + 12 i:
// its bytes 0 to 5 go to ModuleBytes[0..5][i], bytes 6-7 and 8-9 (least significant first) to
// ModuleWords[0..1][i], bytes 10-11 are dropped. A module whose first byte is 0 is absent.
struct DiagnosisData {
  uint8_t ControllerByte0 = 0;
  uint8_t ControllerByte1 = 0;
  uint16_t ControllerWord = 0;
  uint32_t ControllerDword0 = 0;
  uint32_t ControllerDword1 = 0;
  std::array<std::array<uint8_t, 7>, 6> ModuleBytes{};
  std::array<std::array<uint16_t, 7>, 2> ModuleWords{};
  friend bool operator==(const DiagnosisData&, const DiagnosisData&) = default;
};
// A copy of the last diagnosis, taken under its lock.
DiagnosisData ReadDiagnosisData();

// The monitor's steps, each on the monitor thread with the port lock held.
void MonitorAttach(AppEnvironment& env);
void MonitorDetach(AppEnvironment& env);
void PollRunState(AppEnvironment& env);
void PollDebugState(AppEnvironment& env);
void PollBreakPoint(AppEnvironment& env);
// One call of a pass over the force images, the value images or the requested variables from a
// position: reads what the windows asked for within LinkTimeUpdateMark in requests of (frame
// size / 4) double words. A full request is sent at once and the position after it returned;
// the end of the pass sends the rest and returns -1.
int PollForceImages(AppEnvironment& env, int position);
int PollValueImages(AppEnvironment& env, int position);
int PollRequestedVariables(AppEnvironment& env, int position);
void ReadDiagnosisController(AppEnvironment& env);
void ReadDiagnosisModule(AppEnvironment& env, int module);
// The polling loop; returns (clearing the stop request) when it finds the stop request set
// after a yield.
void PollOnlineData(AppEnvironment& env, const MonitorOptions& options = {});

// The monitor thread's body: EnterOnline, the tick thread, "在线", attach, stamps, polling,
// detach, LeaveOnline, "脱机". Errors are shown; the state always ends offline once online was
// reached. Returns 0 after the tick thread has ended.
int MonitorThreadProc(AppEnvironment& env, const MonitorOptions& options = {});
// The tick thread's body: while online, every LinkTimeUpdateUi ms, EvMonitorTick when the state
// is exactly CommOnline; one last tick after going offline.
int MonitorTickThreadProc(AppEnvironment& env);

// Asks the polling loop to end (the Disconnect command, closing the main window): sets the
// stop request of the current project's cache and cuts the pause of the loop short.
void RequestMonitorStop(AppEnvironment& env);

// The monitor thread of the main frame.
class OnlineMonitor {
 public:
  OnlineMonitor() = default;
  ~OnlineMonitor();  // joins the thread
  OnlineMonitor(const OnlineMonitor&) = delete;
  OnlineMonitor& operator=(const OnlineMonitor&) = delete;

  // Starts MonitorThreadProc when the state is offline and no monitor thread of this object
  // runs; false otherwise.
  bool Start(AppEnvironment& env, const MonitorOptions& options = {});
  // True from Start until the thread body has returned.
  bool IsRunning() const { return running_.load(); }
  // Waits for the thread. Meanwhile the installed monitor services serve the calls the thread
  // waits on (MonitorServeWaitingCalls), so that the user-interface thread may wait here too.
  void Join();

 private:
  std::thread thread_;
  std::atomic<bool> running_{false};
};

}  // namespace Brenno
