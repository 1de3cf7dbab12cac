#include "core/link/link_request.h"

#include <gtest/gtest.h>

#include <typeinfo>

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "link_test_support.h"

using namespace Brenno;
using linktest::Bytes;
using linktest::OpenLink;
using linktest::RecordingLinkUi;
using testsupport::SimulatedPlc;
using Kind = SimulatedPlc::Transport;
using FaultKind = SimulatedPlc::FaultKind;

namespace {

std::vector<uint16_t> Indexes(const std::vector<SimulatedPlc::Request>& requests) {
  std::vector<uint16_t> out;
  for (const auto& r : requests) out.push_back(r.FrameIndex);
  return out;
}

}  // namespace

TEST(LinkRequest, DataIsCutIntoFramesOfTheTypesSize) {
  struct Case {
    size_t length;
    std::vector<uint16_t> indexes;
    std::vector<size_t> sizes;
  };
  const Case cases[] = {
      {0, {0x8000}, {0}},
      {8, {0x8000}, {8}},
      {9, {0x0000, 0x8001}, {8, 1}},
      {24, {0x0000, 0x0001, 0x8002}, {8, 8, 8}},
  };
  OpenLink link(Kind::kUnixSocket, 8);
  ASSERT_TRUE(link.opened);
  for (const Case& c : cases) {
    link.plc.ClearRequests();
    LinkTask task;
    std::vector<uint8_t> data(c.length);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i);
    RunLinkRequest(link.env(), task, data, link.env().Link, 0x0290, 3);
    EXPECT_TRUE(data.empty());
    const auto requests = link.plc.Requests();
    EXPECT_EQ(Indexes(requests), c.indexes) << c.length;
    std::vector<uint8_t> joined;
    for (size_t i = 0; i < requests.size() && i < c.sizes.size(); ++i) {
      EXPECT_EQ(requests[i].Data.size(), c.sizes[i]) << c.length;
      joined.insert(joined.end(), requests[i].Data.begin(), requests[i].Data.end());
    }
    EXPECT_EQ(link.plc.MemorySnapshot().SystemPages.at(3), joined) << c.length;
  }
}

TEST(LinkRequest, RepliesOfAllFramesAreJoinedInOrder) {
  OpenLink link(Kind::kUnixSocket, 4);
  ASSERT_TRUE(link.opened);
  const std::vector<uint8_t> page = Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  link.plc.WithMemory([&](SimulatedPlc::Memory& m) { m.SystemPages[2] = page; });
  LinkTask task;
  std::vector<uint8_t> reply;
  RunLinkReadFrames(link.env(), link.env().Link, reply, task, 0x0280, 3, 2);
  EXPECT_EQ(reply, page);
  EXPECT_EQ(Indexes(link.plc.Requests()), (std::vector<uint16_t>{0x0000, 0x0001, 0x8002}));

  link.plc.ClearRequests();
  std::vector<uint8_t> none;
  RunLinkReadFrames(link.env(), link.env().Link, none, task, 0x0280, 0, 2);
  EXPECT_TRUE(none.empty());
  EXPECT_TRUE(link.plc.Requests().empty());
  std::vector<uint8_t> notEmpty = {1};
  EXPECT_THROW(RunLinkReadFrames(link.env(), link.env().Link, notEmpty, task, 0x0280, 1, 2), ExceptionLogicError);
}

TEST(LinkRequest, UnsupportedCodeFailsBeforeAnyFrame) {
  SimulatedPlc plc(linktest::SimOptions(Kind::kUnixSocket));
  linktest::LinkEnvironment link(64, {{0xFF00, 0x0A00}});
  link.UseSimulator(plc, Kind::kUnixSocket);
  ASSERT_TRUE(OpenCommPort(link.env().Port, link.env().Config));
  RecordingLinkUi ui;
  LinkTask task(true, L"Clear PLC");
  std::vector<uint8_t> data = Bytes({5});
  try {
    RunLinkRequest(link.env(), task, data, link.env().Link, 0x0100, 0);
    FAIL() << "no error";
  } catch (const ExceptionExchUnsupportedPackCodeError& e) {
    EXPECT_EQ(e.Message(), L"Unsupported Pack Code\r\n    Clear PLC");
  }
  EXPECT_EQ(data, Bytes({5}));
  EXPECT_TRUE(plc.Requests().empty());
  EXPECT_TRUE(ui.Progress.empty());
  EXPECT_TRUE(IsPackCodeSupported(link.env(), 0x0A34));
  EXPECT_FALSE(IsPackCodeSupported(link.env(), 0x0B00));
  CloseCommPort(link.env().Port);
}

TEST(LinkRequest, AFrameIsTriedThreeTimesWithPausesThenFails) {
  OpenLink link(Kind::kUnixSocket);
  ASSERT_TRUE(link.opened);
  RecordingLinkUi ui;
  link.plc.InjectFaults({SimulatedPlc::MakeFault(FaultKind::kBadCrc), SimulatedPlc::MakeFault(FaultKind::kBadCrc),
                         SimulatedPlc::MakeFault(FaultKind::kWrongIndex)});
  LinkTask task(true, L"Read Status");
  std::vector<uint8_t> data;
  try {
    RunLinkRequest(link.env(), task, data, link.env().Link, 0x0A00, 0);
    FAIL() << "no error";
  } catch (const ExceptionExchError& e) {
    EXPECT_EQ(typeid(e), typeid(ExceptionExchError)) << "thrown as the plain class";
    EXPECT_EQ(e.Message(), L"Receive Data Index Error\r\n    Read Status (1/1)");
  }
  const auto requests = link.plc.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_GE(requests[1].ReceivedMs - requests[0].ReceivedMs, 100);
  EXPECT_GE(requests[2].ReceivedMs - requests[1].ReceivedMs, 100);
  EXPECT_EQ(ui.Lines, (std::vector<std::wstring>{
                          L"Read Status (1/1) : Communication Retry (CRC Unpack Error)",
                          L"Read Status (1/1) : Communication Retry (CRC Unpack Error)",
                          L"Read Status (1/1) : Communication Retry (Receive Data Index Error)",
                      }));
}

TEST(LinkRequest, ARetrySucceedsAfterFailedTries) {
  OpenLink link(Kind::kUnixSocket, 4);
  ASSERT_TRUE(link.opened);
  RecordingLinkUi ui;
  link.plc.InjectFaults({SimulatedPlc::MakeFault(FaultKind::kNone),
                         SimulatedPlc::MakeFault(FaultKind::kNoReply),
                         SimulatedPlc::MakeFault(FaultKind::kTruncate, 0, 5)});
  LinkTask task(true, L"Write Data Page");
  std::vector<uint8_t> data = Bytes({1, 2, 3, 4, 5, 6});
  RunLinkRequest(link.env(), task, data, link.env().Link, 0x0240, 1);
  EXPECT_EQ(link.plc.MemorySnapshot().DataBlocks.at(1), Bytes({1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(Indexes(link.plc.Requests()), (std::vector<uint16_t>{0x0000, 0x8001, 0x8001, 0x8001}));
  EXPECT_EQ(ui.Lines.size(), 2u);
  EXPECT_EQ(ui.Lines[0], L"Write Data Page (2/2) : Communication Retry (Timeout Waiting COM Port)");
}

TEST(LinkRequest, ARefusalIsNotRetried) {
  OpenLink link(Kind::kUnixSocket);
  ASSERT_TRUE(link.opened);
  RecordingLinkUi ui;
  link.plc.InjectFaults({SimulatedPlc::MakeFault(FaultKind::kWrongCode)});
  LinkTask task(true, L"Attach PLC");
  std::vector<uint8_t> data(16, 0xFF);
  try {
    RunLinkRequest(link.env(), task, data, link.env().Link, 0x0110, 0);
    FAIL() << "no error";
  } catch (const ExceptionExchPackReceiveCodeError& e) {
    EXPECT_EQ(e.Message(), L"Receive Data Code Error\r\n    Attach PLC (1/1)");
  }
  EXPECT_EQ(link.plc.Requests().size(), 1u);
  EXPECT_EQ(ui.Lines.size(), 1u);
  EXPECT_EQ(data, std::vector<uint8_t>(16, 0xFF));
}

TEST(LinkRequest, CancelRequestEndsBeforeTheNextExchange) {
  OpenLink link(Kind::kUnixSocket);
  ASSERT_TRUE(link.opened);
  LinkTask task(false, L"Read Status");
  std::vector<uint8_t> data;
  link.env().Link.CancelRequest = 1;
  try {
    RunLinkRequest(link.env(), task, data, link.env().Link, 0x0A00, 0);
    FAIL() << "no error";
  } catch (const ExceptionExchUserCancelError& e) {
    EXPECT_EQ(e.Message(), L"Operation Canceled");
  }
  EXPECT_EQ(link.env().Link.CancelRequest, 0);
  EXPECT_TRUE(link.plc.Requests().empty());
}

TEST(LinkRequest, ProgressOfAShownTaskAndSilenceOfAHiddenOne) {
  OpenLink link(Kind::kUnixSocket, 2);
  ASSERT_TRUE(link.opened);
  RecordingLinkUi ui;
  {
    LinkTask task(true, L"Write Program Instruction");
    task.StartPercent = 10;
    task.EndPercent = 50;
    std::vector<uint8_t> data(8, 0);
    RunLinkRequest(link.env(), task, data, link.env().Link, 0x0900, 0);
    ASSERT_EQ(ui.Progress.size(), 4u);
    const int expected[] = {10, 20, 30, 40};
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(ui.Progress[i].Text, L"Write Program Instruction (" + std::to_wstring(i + 1) + L"/4)");
      EXPECT_EQ(ui.Progress[i].Percent1, expected[i]);
      EXPECT_EQ(ui.Progress[i].Percent2, 100);
    }
  }
  ASSERT_EQ(ui.Progress.size(), 5u);
  EXPECT_EQ(ui.Progress[4].Text, L"");
  EXPECT_EQ(ui.Progress[4].Percent1, 100);
  EXPECT_EQ(ui.Progress[4].Percent2, 100);

  ui.Progress.clear();
  link.plc.InjectFaults({SimulatedPlc::MakeFault(FaultKind::kWrongCode)});
  {
    LinkTask hidden(false, L"Read Status");
    std::vector<uint8_t> data;
    try {
      RunLinkRequest(link.env(), hidden, data, link.env().Link, 0x0A00, 0);
    } catch (const ExceptionExchError& e) {
      EXPECT_EQ(e.Message(), L"Receive Data Code Error\r\n    Read Status (1/1)");
    }
  }
  EXPECT_TRUE(ui.Progress.empty());
  EXPECT_TRUE(ui.Lines.empty());
}

TEST(LinkRequest, RetryLineInChinese) {
  SetCurrentLanguage(kLanguageChinese);
  RecordingLinkUi ui;
  LinkTask task(true, L"读状态");
  task.ReportRetry(2, 0, ExceptionExchCrcUnpackError());
  SetCurrentLanguage(kLanguageEnglish);
  EXPECT_EQ(ui.Lines, std::vector<std::wstring>{L"读状态 (1/2) : 通讯重试 (CRC解包错误)"});
  LinkTask untouched(false, L"Read Status");
  EXPECT_EQ(untouched.Describe(), L"\r\n    Read Status");
}

TEST(LinkRequest, RefusesRequestsThatNeedMoreFramesThanTheIndexCanCount) {
  linktest::LinkEnvironment link(1);
  LinkTask task;
  std::vector<uint8_t> data(0x8001);
  EXPECT_THROW(RunLinkRequest(link.env(), task, data, link.env().Link, 0x0240, 0), ExceptionLogicError);
  std::vector<uint8_t> reply;
  EXPECT_THROW(RunLinkReadFrames(link.env(), link.env().Link, reply, task, 0x0230, 0x8001, 0), ExceptionLogicError);
  link.type().Description.ExchPackSize = 0;
  std::vector<uint8_t> small(4);
  EXPECT_THROW(RunLinkRequest(link.env(), task, small, link.env().Link, 0x0240, 0), ExceptionLogicError);
}
