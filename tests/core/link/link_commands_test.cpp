#include "core/link/link_commands.h"

#include <gtest/gtest.h>

#include "core/env/exception_error.h"
#include "core/link/link_request.h"
#include "link_test_support.h"

using namespace Brenno;
using linktest::Bytes;
using linktest::OpenLink;
using linktest::RecordingLinkUi;
using testsupport::SimulatedPlc;
using Kind = SimulatedPlc::Transport;
using FaultKind = SimulatedPlc::FaultKind;

namespace {

class LinkCommands : public testing::Test {
 protected:
  LinkCommands() : link_(Kind::kUnixSocket, 8) {}

  AppEnvironment& env() { return link_.env(); }
  SimulatedPlc& plc() { return link_.plc; }
  LinkSettings& settings() { return link_.env().Link; }

  // The reply envelope the PLC would send for the request, with other data.
  void ReplyOnceWith(uint16_t code, uint16_t index, const std::vector<uint8_t>& data) {
    plc().InjectFaults({SimulatedPlc::MakeFault(FaultKind::kRaw, 0, 0,
                                                SimulatedPlc::BuildEnvelope(1, code, 0, index, data, true))});
  }

  OpenLink link_;
  LinkTask task_{false, L"Task"};
};

}  // namespace

TEST_F(LinkCommands, PageKeysFoldIntoOneByte) {
  struct Case {
    uint32_t key;
    uint16_t folded;
  };
  for (const Case& c : {Case{0, 0x00}, Case{3, 0x03}, Case{0x10005, 0x85}, Case{0x1007F, 0xFF}}) {
    EXPECT_EQ(FoldProgramPageKey(c.key), c.folded) << c.key;
    EXPECT_EQ(UnfoldProgramPageKey(static_cast<uint8_t>(c.folded)), c.key) << c.key;
  }
}

TEST_F(LinkCommands, DataBlocksRoundTripInLittleEndianWordsOverSeveralFrames) {
  const std::vector<uint32_t> words = {0x04030201, 0x08070605, 0xDEADBEEF, 0, 0xFFFFFFFF};
  CmdWriteDataBlock(env(), task_, settings(), 2, words);
  EXPECT_EQ(plc().MemorySnapshot().DataBlocks.at(2),
            Bytes({1, 2, 3, 4, 5, 6, 7, 8, 0xEF, 0xBE, 0xAD, 0xDE, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(plc().Requests().size(), 3u);

  plc().ClearRequests();
  EXPECT_EQ(CmdReadDataBlock(env(), task_, settings(), 2), words);
  const auto requests = plc().Requests();
  ASSERT_EQ(requests.size(), 4u);  // the length, then 20 bytes in frames of 8
  EXPECT_EQ(requests[0].Code, 0x0220);
  EXPECT_EQ(requests[1].Code, 0x0230);
  EXPECT_EQ(requests[3].FrameIndex, 0x8002);
  for (const auto& r : requests) EXPECT_EQ(r.Parameter, 2);

  EXPECT_EQ(CmdListDataBlocks(env(), task_, settings()), (std::vector<uint32_t>{2}));
}

TEST_F(LinkCommands, EmptyWritesAndReads) {
  plc().ClearRequests();
  CmdWriteDataBlock(env(), task_, settings(), 4, {});
  auto requests = plc().Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].FrameIndex, 0x8000);
  EXPECT_TRUE(requests[0].Data.empty());

  plc().ClearRequests();
  EXPECT_TRUE(CmdReadSystemPage(env(), task_, settings(), 9).empty()) << "unknown page: length 0";
  EXPECT_EQ(plc().Requests().size(), 1u) << "no second step for length 0";
}

TEST_F(LinkCommands, ProgramPagesTravelUnderTheirFoldedKeys) {
  const std::vector<uint32_t> instructions = {1, 2, 3};
  CmdWriteProgramInstructions(env(), task_, settings(), 0x10005, instructions);
  CmdWriteProgramArguments(env(), task_, settings(), 0x10005, {7});
  CmdWriteProgramInstructions(env(), task_, settings(), 3, {9});
  CmdWriteProgramConstants(env(), task_, settings(), {0x11223344});
  EXPECT_EQ(plc().Requests()[0].Parameter, 0x0085);
  EXPECT_EQ(CmdListProgramPages(env(), task_, settings()), (std::vector<uint32_t>{3, 0x10005}));
  EXPECT_EQ(CmdReadProgramInstructions(env(), task_, settings(), 0x10005), instructions);
  EXPECT_EQ(CmdReadProgramArguments(env(), task_, settings(), 0x10005), (std::vector<uint32_t>{7}));
  EXPECT_EQ(CmdReadProgramConstants(env(), task_, settings()), (std::vector<uint32_t>{0x11223344}));
}

TEST_F(LinkCommands, SystemPagesAndBytesLeftOverAWordAreDropped) {
  plc().WithMemory([](SimulatedPlc::Memory& m) { m.DataBlocks[1] = Bytes({1, 0, 0, 0, 2, 0}); });
  EXPECT_EQ(CmdReadDataBlock(env(), task_, settings(), 1), (std::vector<uint32_t>{1}));
  CmdWriteSystemPage(env(), task_, settings(), 1, Bytes({9, 8, 7}));
  EXPECT_EQ(CmdReadSystemPage(env(), task_, settings(), 1), Bytes({9, 8, 7}));
  EXPECT_EQ(CmdListSystemPages(env(), task_, settings()), (std::vector<uint32_t>{1}));
  EXPECT_THROW(CmdReadSystemPage(env(), task_, settings(), 0x10000), ExceptionLogicError);
}

TEST_F(LinkCommands, WrongReplySizesAreUnexpectedData) {
  LinkTask task(false, L"Read Status");
  ReplyOnceWith(0x0A00, 0x8000, Bytes({0, 1, 0}));
  try {
    CmdReadStatus(env(), task, settings());
    FAIL() << "no error";
  } catch (const ExceptionExchUnexpectedReceiveError& e) {
    EXPECT_EQ(e.Message(), L"Receive Unexpected Data\r\n    Read Status (1/1)");
  }
  plc().WithMemory([](SimulatedPlc::Memory& m) { m.RunState = 1; });
  EXPECT_EQ(CmdReadStatus(env(), task, settings()), 1);

  // A two-step read whose frames bring one byte more than announced.
  plc().WithMemory([](SimulatedPlc::Memory& m) { m.DataBlocks[5] = Bytes({1, 2, 3, 4}); });
  plc().InjectFaults({SimulatedPlc::MakeFault(FaultKind::kNone),
                      SimulatedPlc::MakeFault(FaultKind::kRaw, 0, 0,
                                              SimulatedPlc::BuildEnvelope(1, 0x0230, 5, 0x8000, Bytes({1, 2, 3, 4, 5}), true))});
  EXPECT_THROW(CmdReadDataBlock(env(), task, settings(), 5), ExceptionExchUnexpectedReceiveError);

  ReplyOnceWith(0x0A03, 0x8000, Bytes({0}));
  EXPECT_THROW(CmdForceReset(env(), task, settings()), ExceptionExchUnexpectedReceiveError);
  std::vector<uint32_t> words = {1, 2};
  ReplyOnceWith(0x0A10, 0x8000, Bytes({0, 0, 0, 0}));
  EXPECT_THROW(CmdReadVariables(env(), task, settings(), words), ExceptionExchUnexpectedReceiveError);
  EXPECT_EQ(words, (std::vector<uint32_t>{1, 2}));
  ReplyOnceWith(0x0220, 0x8000, Bytes({0}));
  EXPECT_THROW(CmdReadDataBlock(env(), task, settings(), 5), ExceptionExchUnexpectedReceiveError);
}

TEST_F(LinkCommands, StatusScanAndDebugCommandsCarryTheirByteTwice) {
  CmdWriteStatus(env(), task_, settings(), 1);
  CmdForceScan(env(), task_, settings(), 5);
  CmdWriteDebugStatus(env(), task_, settings(), 1);
  CmdForceDebugScan(env(), task_, settings(), 2);
  CmdForceReset(env(), task_, settings());
  CmdForceDebugReset(env(), task_, settings());
  CmdClearPlc(env(), task_, settings());
  CmdDetachPlc(env(), task_, settings());
  const auto requests = plc().Requests();
  ASSERT_EQ(requests.size(), 8u);
  EXPECT_EQ(requests[0].Data, Bytes({1, 1}));
  EXPECT_EQ(requests[1].Data, Bytes({5, 5}));
  EXPECT_EQ(requests[3].Data, Bytes({2, 2}));
  const auto memory = plc().MemorySnapshot();
  EXPECT_EQ(memory.RunState, 1);
  EXPECT_EQ(memory.DebugState, 1);
  EXPECT_EQ(memory.Resets, 1);
  EXPECT_EQ(memory.DebugResets, 1);
  EXPECT_EQ(memory.Clears, 1);
  EXPECT_EQ(CmdReadDebugStatus(env(), task_, settings()), 1);
}

TEST_F(LinkCommands, VariablesAreReadInPlaceAndWrittenAsPairs) {
  CmdWriteVariables(env(), task_, settings(), {0x100, 42, 0x200, 0xFFFFFFFF});
  CmdWriteForcedVariables(env(), task_, settings(), {0x100, 1});
  std::vector<uint32_t> words = {0x200, 0x100, 0x300};
  CmdReadVariables(env(), task_, settings(), words);
  EXPECT_EQ(words, (std::vector<uint32_t>{0xFFFFFFFF, 42, 0}));
  std::vector<uint32_t> forced = {0x100, 0x200};
  CmdReadForcedVariables(env(), task_, settings(), forced);
  EXPECT_EQ(forced, (std::vector<uint32_t>{1, 0}));
  const auto requests = plc().Requests();
  EXPECT_EQ(requests[0].Data, Bytes({0, 1, 0, 0, 42, 0, 0, 0}));
  EXPECT_EQ(requests[1].Data, Bytes({0, 2, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST_F(LinkCommands, BreakPointRecordAndRequest) {
  plc().WithMemory([](SimulatedPlc::Memory& m) {
    m.BreakPointReply = {0x85, 0x01, 0x02, 0x00, 0x07, 0x03, 0x00, 0x04, 0x00, 0x05, 0x12, 0x34, 0xAB, 0xCD, 0x09, 0x0A};
  });
  const DebugRecord record = CmdReadBreakPoint(env(), task_, settings());
  const std::array<int32_t, 12> expected = {0x10005, 0x0102, 7, 3, 4, 5, 0x1234, 0xABCD, 9, 10, 0, 0};
  EXPECT_EQ(record.Words, expected);

  CmdWriteBreakPoint(env(), task_, settings(), 0x10002, 0x10203, 0x0405);
  EXPECT_EQ(plc().MemorySnapshot().BreakPointWritten,
            Bytes({0x82, 0x02, 0x03, 0x04, 0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(LinkCommands, ClockTravelsAsSevenBinaryBytes) {
  std::tm time{};
  time.tm_year = 2021 - 1900;
  time.tm_mon = 2;
  time.tm_mday = 4;
  time.tm_wday = 4;
  time.tm_hour = 9;
  time.tm_min = 5;
  time.tm_sec = 30;
  PlcClock clock;
  ASSERT_TRUE(MakePlcClock(time, clock));
  CmdWriteClock(env(), task_, settings(), clock);
  EXPECT_EQ(plc().Requests().back().Data, Bytes({0x1E, 0x05, 0x09, 0x04, 0x04, 0x03, 0x15}));
  EXPECT_EQ(CmdReadClock(env(), task_, settings()), clock);
  time.tm_year = 1999 - 1900;
  EXPECT_FALSE(MakePlcClock(time, clock));
}

TEST_F(LinkCommands, InformationTextEndsAtItsFirstNulOrByte63) {
  plc().WithMemory([](SimulatedPlc::Memory& m) { m.Information = "PLC-3000 V2.1"; });
  EXPECT_EQ(CmdGetPlcInformation(env(), task_, settings()), L"PLC-3000 V2.1");
  plc().WithMemory([](SimulatedPlc::Memory& m) { m.Information = std::string(64, 'A'); });
  EXPECT_EQ(CmdGetPlcInformation(env(), task_, settings()), std::wstring(63, L'A'));
}

TEST_F(LinkCommands, PasswordTableCommandsReportMalformedRepliesAsFalse) {
  std::vector<uint8_t> table(128);
  for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<uint8_t>(i);
  EXPECT_TRUE(CmdWritePassword(env(), task_, settings(), table));
  std::vector<uint8_t> read;
  EXPECT_TRUE(CmdReadPassword(env(), task_, settings(), read));
  EXPECT_EQ(read, table);

  std::vector<uint8_t> kept = {7};
  ReplyOnceWith(0x02A0, 0x8000, Bytes({0, 0x80, 0}));
  EXPECT_FALSE(CmdReadPassword(env(), task_, settings(), kept));
  EXPECT_EQ(kept, Bytes({7}));
  plc().WithMemory([](SimulatedPlc::Memory& m) { m.PasswordTable = Bytes({1, 2, 3}); });
  EXPECT_FALSE(CmdReadPassword(env(), task_, settings(), kept)) << "fewer than 128 bytes";
  EXPECT_EQ(kept, Bytes({1, 2, 3}));
  // 128 bytes are 16 frames of 8; the last reply carries a byte.
  std::vector<SimulatedPlc::Fault> faults(15, SimulatedPlc::MakeFault(FaultKind::kNone));
  faults.push_back(SimulatedPlc::MakeFault(FaultKind::kRaw, 0, 0,
                                           SimulatedPlc::BuildEnvelope(1, 0x02C0, 0, 0x800F, Bytes({1}), true)));
  plc().InjectFaults(faults);
  EXPECT_FALSE(CmdWritePassword(env(), task_, settings(), table));
}

TEST_F(LinkCommands, AttachAsksForThePasswordOnlyWhenTheEmptyOneIsRefused) {
  RecordingLinkUi ui;
  CmdAttachPlc(env(), task_, settings());
  EXPECT_EQ(plc().Requests().size(), 2u) << "16 bytes in frames of 8";
  EXPECT_EQ(plc().Requests()[0].Data, std::vector<uint8_t>(8, 0xFF));
  EXPECT_EQ(ui.PasswordPrompts, 0);

  std::vector<uint8_t> secret = {'a', 'b', 'c'};
  secret.resize(16, 0xFF);
  plc().WithMemory([&](SimulatedPlc::Memory& m) { m.AccessPassword = secret; });

  plc().ClearRequests();
  ui.Passwords = {secret};
  CmdAttachPlc(env(), task_, settings());
  EXPECT_EQ(plc().Requests().size(), 4u);
  EXPECT_EQ(ui.PasswordPrompts, 1);

  plc().ClearRequests();
  EXPECT_THROW(CmdAttachPlc(env(), task_, settings()), ExceptionExchUserCancelError);
  EXPECT_EQ(plc().Requests().size(), 2u);

  plc().ClearRequests();
  ui.PasswordPrompts = 0;
  ui.Passwords = {std::vector<uint8_t>(16, 0x31), std::vector<uint8_t>(16, 0x32)};
  EXPECT_THROW(CmdAttachPlc(env(), task_, settings()), ExceptionExchPackReceiveCodeError);
  EXPECT_EQ(plc().Requests().size(), 4u);
  EXPECT_EQ(ui.PasswordPrompts, 1) << "asked once only";
}
