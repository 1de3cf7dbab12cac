#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/compiler/image_stamp_compiler.h"
#include "core/link/image_stamp_pages.h"
#include "core/link/comm_port.h"
#include "core/link/comm_state.h"
#include "core/link/download_job.h"
#include "core/link/link_commands.h"
#include "core/link/online_monitor.h"
#include "core/link/upload_job.h"
#include "link_test_support.h"
#include "transfer_test_support.h"

using namespace Brenno;
using testsupport::SimulatedPlc;
using transfertest::RecordingUi;

namespace {

class DownloadUploadTest : public compilertest::CompilerFixture {
 protected:
  virtual const wchar_t* TypeName() const { return compilertest::kTypeA; }

  void SetUp() override {
    Load(TypeName());
    PlcType& type = transfertest::CurrentTypeEntry(Environment());
    type.SupportList = {{0, 0}};
    type.Description.ExchPackSize = 64;
    AppEnvironment& env = Environment();
    env.Config.LinkPortPath = kSimulatorPipeName;
    env.Port.PipeSocketPath = plc_.SocketPath();
    env.Config.LinkStation = 1;
    env.Config.LinkTimeWaitReceive = 300;
    env.Config.LinkTimeReadIntervalTimeout = 40;
    env.Port.ResendPauseMs = 10;
    env.Link.RetryPauseMs = 10;
    InstallImageStampCompiler();
    transfertest::FillProject(Current());
    // The PLC holds every system page the type has, so it lists them all.
    plc_.WithMemory([&](SimulatedPlc::Memory& m) {
      for (const auto& [key, page] : Current().SystemBlocks.Working) m.SystemPages[static_cast<uint32_t>(key)] = {};
    });
  }
  void TearDown() override {
    SetImageCompiler(nullptr);
    CompilerFixture::TearDown();
  }

  // The command codes of the requests, runs of one code (the frames of one command) folded.
  std::vector<uint16_t> Codes() const {
    std::vector<uint16_t> codes;
    for (const SimulatedPlc::Request& request : plc_.Requests()) {
      if (codes.empty() || codes.back() != request.Code) codes.push_back(request.Code);
    }
    return codes;
  }

  SimulatedPlc plc_{linktest::SimOptions(SimulatedPlc::Transport::kUnixSocket, 64)};
  linktest::RecordingLinkUi linkUi_;
  RecordingUi ui_;
};

// The same on the FX layout type (its transfers normally go through its library; the native
// link must still carry its images whole).
class FxDownloadUploadTest : public DownloadUploadTest {
 protected:
  const wchar_t* TypeName() const override { return compilertest::kTypeFx; }
};

TEST_F(FxDownloadUploadTest, DownloadThenUploadGivesBackTheProject) {
  const BinaryImage original = transfertest::EncodeCurrent();
  DownloadThreadProc(Environment());
  UploadThreadProc(Environment());
  EXPECT_TRUE(ui_.Messages.empty()) << platform::ToUtf8Lossy(ui_.Messages.empty() ? L"" : ui_.Messages[0]);
  EXPECT_EQ(transfertest::EncodeCurrent(), original);
}

TEST_F(FxDownloadUploadTest, UploadOfAPlcWithoutProgramGivesEmptyNetworksOfTheLayout) {
  UploadThreadProc(Environment());
  ASSERT_TRUE(ui_.Messages.empty()) << platform::ToUtf8Lossy(ui_.Messages[0]);
  EXPECT_EQ(Current().Program.GetProgramPage(0).NetworkCount(), 8);
  EXPECT_EQ(Current().Program.GetProgramPage(0x10000).NetworkCount(), 8);
}

TEST_F(DownloadUploadTest, DownloadThenUploadGivesBackTheProject) {
  AppEnvironment& env = Environment();
  for (size_t i = 0; i < env.PasswordTable1.size(); ++i) env.PasswordTable1[i] = static_cast<uint8_t>(i + 1);
  plc_.WithMemory([](SimulatedPlc::Memory& m) { m.RunState = 1; });
  ui_.Answer = kAnswerYes;
  const BinaryImage original = transfertest::EncodeCurrent();
  ASSERT_FALSE(original.ProgramConsts.empty());

  DownloadThreadProc(env);

  EXPECT_TRUE(ui_.Messages.empty()) << platform::ToUtf8Lossy(ui_.Messages.empty() ? L"" : ui_.Messages[0]);
  EXPECT_EQ(ui_.Questions, std::vector<std::wstring>{L"PLC is running, stop it?"});
  std::vector<uint16_t> expected = {kCodeAttachPlc, kCodeReadStatus, kCodeWriteStatus, kCodeClearPlc,
                                    kCodeWriteDataBlock, kCodeListSystemPages, kCodeWriteSystemPage,
                                    kCodeWriteConstants};
  if (!original.ProgramArguments.empty()) expected.push_back(kCodeWriteArguments);
  for (uint16_t code : {kCodeWriteInstructions, kCodeWritePassword, kCodeDetachPlc, kCodeForceReset})
    expected.push_back(code);
  EXPECT_EQ(Codes(), expected);
  EXPECT_EQ(ui_.Statuses, (std::vector<std::wstring>{L"下载/1", L"脱机/2"}));
  EXPECT_EQ(ui_.Notifications, (std::vector<int>{kNotifyCommChanged, kNotifyCommChanged}));
  EXPECT_EQ(env.CommState.load(), CommOffline);

  const SimulatedPlc::Memory memory = plc_.MemorySnapshot();
  EXPECT_EQ(memory.RunState, 0);
  EXPECT_EQ(memory.Resets, 1);
  EXPECT_EQ(memory.PasswordTable, std::vector<uint8_t>(env.PasswordTable1.begin(), env.PasswordTable1.end()));
  // System page 1 carries the stamps of the compiled images behind its own bytes.
  std::vector<uint8_t> page1 = original.SystemPages.at(1);
  page1.insert(page1.end(), env.ImageStamps.begin(), env.ImageStamps.end());
  EXPECT_EQ(memory.SystemPages.at(1), page1);
  std::array<std::vector<uint8_t>, 3> bytes;
  FillImageBytes(ImagePagesOf(original), bytes);
  EXPECT_EQ(env.ImageStamps, ComputeStampBytes(bytes));

  // The upload into a fresh project.
  const Project* before = &Current();
  env.PasswordTable1.fill(0);
  env.PasswordTable2.fill(7);
  env.ProjectPath = L"/tmp/old.lqw";
  env.Modified = false;
  ui_.Notifications.clear();
  plc_.ClearRequests();

  UploadThreadProc(env);

  EXPECT_TRUE(ui_.Messages.empty()) << platform::ToUtf8Lossy(ui_.Messages.empty() ? L"" : ui_.Messages[0]);
  ASSERT_EQ(env.ProjectList.size(), 1u);
  EXPECT_NE(&Current(), before);
  EXPECT_EQ(transfertest::EncodeCurrent(), original);
  EXPECT_EQ(Current().DataBlocks.GetPage(0)[1].Address, L"VD4");
  EXPECT_EQ(Current().Program.GetProgramPage(0).NetworkCount(), 2);
  EXPECT_EQ(Codes().front(), kCodeAttachPlc);
  EXPECT_EQ(Codes().back(), kCodeDetachPlc);
  EXPECT_EQ(env.PasswordTable1[5], 6);
  EXPECT_EQ(env.PasswordTable2, (std::array<uint8_t, 128>{}));
  EXPECT_TRUE(env.ProjectPath.empty());
  EXPECT_TRUE(env.Modified.load());
  EXPECT_EQ(ui_.Notifications,
            (std::vector<int>{kNotifyCommChanged, kNotifyProjectReplaced, kNotifyCommChanged}));
  EXPECT_EQ(env.CommState.load(), CommOffline);

  // A second download sends page 1 with one set of stamps, not two.
  plc_.ClearRequests();
  DownloadThreadProc(env);
  EXPECT_EQ(plc_.MemorySnapshot().SystemPages.at(1), page1);
}

TEST_F(DownloadUploadTest, RunningPlcAnsweredNoIsDetachedAndNotCleared) {
  plc_.WithMemory([](SimulatedPlc::Memory& m) { m.RunState = 1; });
  ui_.Answer = kAnswerNo;
  DownloadThreadProc(Environment());
  EXPECT_EQ(Codes(), (std::vector<uint16_t>{kCodeAttachPlc, kCodeReadStatus, kCodeDetachPlc}));
  EXPECT_EQ(ui_.Messages, std::vector<std::wstring>{L"Operation Canceled"});
  EXPECT_EQ(plc_.MemorySnapshot().Clears, 0);
  EXPECT_EQ(ui_.Statuses.back(), L"脱机/2");
  EXPECT_EQ(Environment().CommState.load(), CommOffline);
}

TEST_F(DownloadUploadTest, StoppedPlcIsNotAskedAndOnlyListedSystemPagesAreWritten) {
  plc_.WithMemory([](SimulatedPlc::Memory& m) {
    m.SystemPages.clear();
    m.SystemPages[1] = {};
  });
  DownloadThreadProc(Environment());
  EXPECT_TRUE(ui_.Questions.empty());
  EXPECT_TRUE(ui_.Messages.empty());
  std::vector<uint16_t> written;
  for (const SimulatedPlc::Request& request : plc_.Requests()) {
    EXPECT_NE(request.Code, kCodeWriteStatus);
    if (request.Code == kCodeWriteSystemPage && (request.FrameIndex & 0x7FFF) == 0) written.push_back(request.Parameter);
  }
  EXPECT_EQ(written, std::vector<uint16_t>{1});
}

TEST_F(DownloadUploadTest, AnImageWithoutSystemPage1SendsThePageWithTheStampsAlone) {
  Current().SystemBlocks.Working.erase(1);
  ASSERT_EQ(transfertest::EncodeCurrent().SystemPages.count(1), 0u);
  DownloadThreadProc(Environment());
  EXPECT_TRUE(ui_.Messages.empty());
  const std::vector<uint8_t> stamps(Environment().ImageStamps.begin(), Environment().ImageStamps.end());
  EXPECT_EQ(plc_.MemorySnapshot().SystemPages.at(1), stamps);
}

TEST_F(DownloadUploadTest, FailedCompileSendsNothing) {
  Current().DataBlocks.Working.at(0).Rows[1] = {kDataRowComplete, 1, L"VB9", L"999", L""};
  DownloadThreadProc(Environment());
  EXPECT_TRUE(plc_.Requests().empty());
  EXPECT_EQ(ui_.Messages, (std::vector<std::wstring>{L"Parse Binary Error", L"Parse Binary Error"}));
  EXPECT_EQ(ui_.Statuses, (std::vector<std::wstring>{L"下载/1", L"脱机/2"}));
  EXPECT_EQ(Environment().CommState.load(), CommOffline);
}

TEST_F(DownloadUploadTest, RefusedPasswordTableIsReportedAndTheDownloadGoesOn) {
  plc_.RefuseCode(kCodeWritePassword);
  DownloadThreadProc(Environment());
  EXPECT_EQ(ui_.Messages, std::vector<std::wstring>{L"密码未能保存"});
  const std::vector<uint16_t> codes = Codes();
  ASSERT_GE(codes.size(), 2u);
  EXPECT_EQ(codes[codes.size() - 2], kCodeDetachPlc);
  EXPECT_EQ(codes.back(), kCodeForceReset);
}

TEST_F(DownloadUploadTest, PortThatDoesNotOpenShowsOnlyItsError) {
  Environment().Port.PipeSocketPath = Dir().File("no-such-socket");
  DownloadThreadProc(Environment());
  UploadThreadProc(Environment());
  EXPECT_EQ(ui_.Messages.size(), 2u);
  EXPECT_TRUE(ui_.Statuses.empty());
  EXPECT_TRUE(ui_.Notifications.empty());
  EXPECT_EQ(Environment().ProjectList.size(), 1u);
}

TEST_F(DownloadUploadTest, FailedUploadKeepsTheProject) {
  plc_.RefuseCode(kCodeListProgramPages);
  const Project* before = &Current();
  const BinaryImage original = transfertest::EncodeCurrent();
  UploadThreadProc(Environment());
  ASSERT_EQ(Environment().ProjectList.size(), 1u);
  EXPECT_EQ(&Current(), before);
  EXPECT_EQ(transfertest::EncodeCurrent(), original);
  EXPECT_EQ(ui_.Messages.size(), 1u);
  EXPECT_EQ(ui_.Notifications, (std::vector<int>{kNotifyCommChanged, kNotifyCommChanged}));
  EXPECT_EQ(Environment().CommState.load(), CommOffline);
}

TEST_F(DownloadUploadTest, UploadOfAnEmptyPlcGivesTheDefaultProgramAndZeroPasswords) {
  plc_.WithMemory([](SimulatedPlc::Memory& m) {
    m.SystemPages.clear();
    m.PasswordTable.clear();  // a block shorter than the table
  });
  Environment().PasswordTable1.fill(9);
  UploadThreadProc(Environment());
  ASSERT_TRUE(ui_.Messages.empty()) << platform::ToUtf8Lossy(ui_.Messages[0]);
  EXPECT_EQ(Current().Program.GetProgramPage(0).NetworkCount(), 8);
  EXPECT_EQ(Current().Program.GetProgramPage(0x10000).NetworkCount(), 8);
  EXPECT_EQ(Environment().PasswordTable1, (std::array<uint8_t, 128>{}));
}

TEST(PageStepPercentsTest, PagesShareTheirBand) {
  struct Case {
    int base, width, i, n, start, end;
  } cases[] = {
      {20, 15, 0, 1, 20, 35}, {20, 15, 1, 4, 23, 26}, {20, 15, 3, 4, 31, 34},
      {20, 15, 15, 16, 34, 34},  // more pages than percent: every row is a point
      {40, 10, 2, 3, 46, 49},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PageStepPercents(c.base, c.width, c.i, c.n), (std::array<int, 2>{c.start, c.end}))
        << c.base << " " << c.i << "/" << c.n;
  }
}

}  // namespace
