// A program of the kind a user writes first, on the shipped type as it ships (its own list of
// supported command codes and frame size): timers, counters, integer and real math, moves, a
// FOR/NEXT loop, a subroutine, an interrupt routine attached to an event and the Ethernet
// exchange with a dotted address. It compiles, downloads to the simulated PLC and uploads back
// into a project that compiles into the same image.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/compiler/block_compilers.h"
#include "core/compiler/image_stamp_compiler.h"
#include "core/link/image_stamp_pages.h"
#include "core/link/comm_port.h"
#include "core/link/download_job.h"
#include "core/link/online_monitor.h"
#include "core/link/upload_job.h"
#include "core/project/data_block_table.h"
#include "core/project/status_chart.h"
#include "core/project/symbol_table.h"
#include "core/project/system_block_table.h"
#include "link_test_support.h"
#include "support/shipped_catalog.h"
#include "transfer_test_support.h"

using namespace Brenno;
using testsupport::SimulatedPlc;

namespace {

// Networks in the text form of the clipboard and the .pmw import: "NETWORK" opens each one.
std::wstring Networks(const std::vector<std::vector<std::wstring>>& networks) {
  std::wstring text;
  for (const auto& lines : networks) {
    text += L"NETWORK\r\n";
    for (const std::wstring& line : lines) text += line + L"\r\n";
  }
  return text;
}

class ShippedTypeTransfer : public ::testing::Test {
 protected:
  explicit ShippedTypeTransfer(const char* type = testsupport::kShippedFxMode0Type) : shipped_(type, kLanguageEnglish) {
    AppEnvironment& env = shipped_.Env();
    env.Config.SymbolicAddr = 0;
    env.Config.LinkPortPath = kSimulatorPipeName;
    env.Port.PipeSocketPath = plc_.SocketPath();
    env.Config.LinkStation = 1;
    env.Config.LinkTimeWaitReceive = 300;
    env.Port.ResendPauseMs = 10;
    env.Link.RetryPauseMs = 10;
    InstallImageStampCompiler();
    Project& project = CurrentProject();
    FillDefaultSymbolTables(project.Symbols);
    FillDefaultDataBlocks(project.DataBlocks);
    CopyDefaultSystemPages(project.SystemBlocks);
    project.Program.FillDefaultProgramBlocks();
    FillDefaultStatusCharts(project.StatusChart);
    plc_.WithMemory([&](SimulatedPlc::Memory& m) {
      for (const auto& [key, page] : project.SystemBlocks.Working) m.SystemPages[static_cast<uint32_t>(key)] = {};
    });
  }
  ~ShippedTypeTransfer() override { SetImageCompiler(nullptr); }

  void Load(int key, const std::vector<std::vector<std::wstring>>& networks) {
    ProgramPage& page = CurrentProject().Program.GetProgramPage(key);
    page.ViewState.ViewMode = kViewModeStl;
    std::wstring text = Networks(networks);
    page.LoadFromText(L"\r\n", text);
    ASSERT_EQ(page.NetworkCount(), static_cast<int>(networks.size()));
  }

  testsupport::ShippedEnvironment shipped_;
  // The PLC serves frames of the type's own size.
  SimulatedPlc plc_{linktest::SimOptions(SimulatedPlc::Transport::kUnixSocket, 200)};
  linktest::RecordingLinkUi linkUi_;
  transfertest::RecordingUi ui_;
};

TEST_F(ShippedTypeTransfer, FirstProgramCompilesDownloadsAndUploadsBack) {
  ProgramBlock& program = CurrentProject().Program;
  const int interrupt = program.AddInterrupt();
  ASSERT_GE(interrupt, 0);
  CurrentProject().Program.ViewMode = kViewModeStl;
  Load(0, {
              {L"LD SM0.1", L"ATCH " + std::to_wstring(interrupt) + L", 10"},
              {L"ENI"},
              {L"LD I0.0", L"TON T37, +100"},
              {L"LD T37", L"LD I0.1", L"CTU C0, +10"},
              {L"LD I0.2", L"LD I0.3", L"LD I0.4", L"CTUD C1, +5"},
              {L"LDW>= C1, +3", L"AN M0.0", L"= Q0.0"},
              {L"LD I0.5", L"+I VW0, +7, VW2"},
              {L"LD I0.5", L"*R VD10, 1.5, VD14"},
              {L"LD I0.6", L"MOVD &VB100, VD20"},
              {L"LD SM0.0", L"FOR VW30, +1, +10"},
              {L"LD SM0.0", L"INCW VW32, VW32"},
              {L"NEXT"},
              {L"LD I0.7", L"SBR0"},
              {L"LD I1.0", L"EXIO 192.168.1.5, VB200"},
          });
  Load(0x10000, {{L"LD SM0.0", L"MOVR 2.5, VD40"}, {L"LD I1.1", L"CRET"}});
  Load(interrupt, {{L"LD SM0.0", L"INCD VD50, VD50"}, {L"LD I1.2", L"CRETI"}});

  const BinaryImage original = transfertest::EncodeCurrent();
  ASSERT_FALSE(original.ProgramConsts.empty());
  // The address went in with its first number in the most significant byte.
  EXPECT_NE(std::find(original.ProgramConsts.begin(), original.ProgramConsts.end(), 0xC0A80105u),
            original.ProgramConsts.end());

  DownloadThreadProc(shipped_.Env());
  ASSERT_TRUE(ui_.Messages.empty()) << platform::ToUtf8Lossy(ui_.Messages[0]);
  EXPECT_EQ(plc_.MemorySnapshot().Resets, 1);
  // No request the type does not support reached the PLC, and none was refused.
  for (const SimulatedPlc::Request& request : plc_.Requests()) EXPECT_NE(request.Code, SimulatedPlc::kRefusalCode);

  const Project* before = &CurrentProject();
  UploadThreadProc(shipped_.Env());
  ASSERT_TRUE(ui_.Messages.empty()) << platform::ToUtf8Lossy(ui_.Messages[0]);
  EXPECT_NE(&CurrentProject(), before);
  EXPECT_EQ(transfertest::EncodeCurrent(), original);
  EXPECT_EQ(CurrentProject().Program.GetProgramPage(0).NetworkCount(), 14);
  EXPECT_EQ(CurrentProject().Program.GetProgramPage(interrupt).NetworkCount(), 2);
}

// The FX type the same way: contacts, timer and counter coils, moves, math with index
// registers, digit groups, a jump and a subroutine call.
class ShippedFxTypeTransfer : public ShippedTypeTransfer {
 protected:
  ShippedFxTypeTransfer() : ShippedTypeTransfer("CPU-Feldrin-FX") {}
};

TEST_F(ShippedFxTypeTransfer, ProgramCompilesDownloadsAndUploadsBack) {
  CurrentProject().Program.ViewMode = kViewModeStl;
  Load(0, {
              {L"LD X000", L"OUT T0 K50"},
              {L"LD T0", L"OUT C0 K10"},
              {L"LD C0", L"ANI X001", L"OUT Y000"},
              {L"LD M8000", L"MOV K4X000 D10"},
              {L"LD X002", L"ADD D10 K100Z1 D20V2"},
              {L"LDP X003", L"CJ P1"},
              {L"LD X004", L"CALL P2"},
          });
  const BinaryImage original = transfertest::EncodeCurrent();
  DownloadThreadProc(shipped_.Env());
  ASSERT_TRUE(ui_.Messages.empty()) << platform::ToUtf8Lossy(ui_.Messages[0]);
  for (const SimulatedPlc::Request& request : plc_.Requests()) EXPECT_NE(request.Code, SimulatedPlc::kRefusalCode);
  UploadThreadProc(shipped_.Env());
  ASSERT_TRUE(ui_.Messages.empty()) << platform::ToUtf8Lossy(ui_.Messages[0]);
  EXPECT_EQ(transfertest::EncodeCurrent(), original);
  EXPECT_EQ(CurrentProject().Program.GetProgramPage(0).NetworkCount(), 7);
}

}  // namespace
