// The poll cycle and thread against the fault-injecting slave over TCP.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "fake_rtu_slave.h"
#include "peer_process.h"
#include "platform/text_codec.h"
#include "support/test_paths.h"
#include "trend/poll/trend_poller.h"

using namespace vandrel;
using trendtest::FakeRtuSlave;
using Fault = FakeRtuSlave::Fault;

namespace {

std::unique_ptr<TrendCurve> Curve(int start, int count, int block, int dataType = 0) {
  auto c = std::make_unique<TrendCurve>();
  c->Start = start;
  c->Count = count;
  c->BlockNum = static_cast<uint8_t>(block);
  c->DataType = static_cast<uint8_t>(dataType);
  return c;
}

TrendSettings TcpTo(const FakeRtuSlave& slave, int timeout = 500) {
  TrendSettings s;
  s.HostPort = slave.Port();
  s.Timeout = timeout;
  return s;
}

// Registers from `start` hold the floats k + 0.5 for value k.
void FillFloats(FakeRtuSlave& slave, int start, int values, bool lowWordFirst = false) {
  for (int k = 0; k < values; ++k)
    slave.SetFloat(static_cast<uint16_t>(start + 2 * k), static_cast<float>(k) + 0.5f, lowWordFirst);
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

TEST(TrendPollCycle, FiveHundredPointsInBlocksOf32TakeThirtyTwoRequests) {
  auto slave = FakeRtuSlave::ListenTcp();
  FillFloats(*slave, 2000, 500);
  TrendPoller poller;
  std::vector<bool> busy;
  int ready = 0;
  poller.SetBusyHandler([&](bool on) { busy.push_back(on); });
  poller.SetDataReadyHandler([&] { ++ready; });
  poller.SetSettings(TcpTo(*slave));
  CurveList curves;
  curves.push_back(Curve(2000, 500, 32));
  poller.SetCurves(curves);
  EXPECT_EQ(poller.LinkStatus(), -1);

  poller.RunPollCycle();
  EXPECT_EQ(busy, (std::vector<bool>{true, false}));
  EXPECT_EQ(ready, 1);
  EXPECT_EQ(poller.LinkStatus(), 1);
  const auto requests = slave->Requests();
  ASSERT_EQ(requests.size(), 32u);
  for (size_t j = 0; j < 31; ++j) {
    EXPECT_EQ(requests[j].start, 2000 + 32 * j);
    EXPECT_EQ(requests[j].quantity, 32);
  }
  EXPECT_EQ(requests[31].start, 2000 + 31 * 32);
  EXPECT_EQ(requests[31].quantity, 8);
  const auto points = poller.CurvePoints();
  ASSERT_EQ(points.size(), 1u);
  ASSERT_EQ(points[0].size(), 500u);
  for (int k = 0; k < 500; ++k) ASSERT_EQ(points[0][k], (tagDataPoint{double(k), k + 0.5})) << k;
}

TEST(TrendPollCycle, LongBlocksAreSplitSoNoReadAsksForMoreThan124Registers) {
  auto slave = FakeRtuSlave::ListenTcp();
  FillFloats(*slave, 100, 200);
  TrendPoller poller;
  poller.SetSettings(TcpTo(*slave));
  CurveList curves;
  curves.push_back(Curve(100, 200, 128));
  poller.SetCurves(curves);
  poller.RunPollCycle();
  const auto requests = slave->Requests();
  ASSERT_EQ(requests.size(), 4u);  // 400 registers: 124, 124, 124, 28
  for (size_t j = 0; j < 3; ++j) EXPECT_EQ(requests[j].quantity, 124);
  EXPECT_EQ(requests[3].quantity, 28);
  const auto points = poller.CurvePoints();
  EXPECT_EQ(points[0][199].y, 199.5);
}

TEST(TrendPollCycle, DataTypesDecodeHighOrLowWordFirst) {
  const uint8_t high[4] = {0x41, 0x20, 0x00, 0x00};
  EXPECT_EQ(DecodeCurveValue(high, 0), 10.0f);
  // 00 00 41 20 on the wire, each register exchanged by the link: 00 00 20 41.
  const uint8_t low[4] = {0x00, 0x00, 0x20, 0x41};
  EXPECT_EQ(DecodeCurveValue(low, 1), 10.0f);

  auto slave = FakeRtuSlave::ListenTcp();
  FillFloats(*slave, 10, 4, false);
  FillFloats(*slave, 50, 4, true);
  TrendPoller poller;
  poller.SetSettings(TcpTo(*slave));
  CurveList curves;
  curves.push_back(Curve(10, 4, 32, 0));
  curves.push_back(Curve(50, 4, 32, 1));
  poller.SetCurves(curves);
  poller.RunPollCycle();
  const auto points = poller.CurvePoints();
  for (int c = 0; c < 2; ++c)
    for (int k = 0; k < 4; ++k) EXPECT_EQ(points[c][k].y, k + 0.5) << c << "/" << k;
}

TEST(TrendPollCycle, FailedRequestsPlotZerosAndAClosedLinkLeavesLaterCurves) {
  auto slave = FakeRtuSlave::ListenTcp();
  FillFloats(*slave, 0, 20);
  FillFloats(*slave, 1000, 10);
  TrendPoller poller;
  poller.SetSettings(TcpTo(*slave));
  CurveList curves;
  curves.push_back(Curve(0, 10, 8));     // requests of 8, 8 and 4 registers
  curves.push_back(Curve(1000, 10, 8));
  poller.SetCurves(curves);
  poller.RunPollCycle();
  ASSERT_EQ(poller.CurvePoints()[1][9].y, 9.5);

  // Curve 0: the first request draws an exception (link stays open), the second a bad CRC
  // (link closes): its points and those of the last, shorter request become zeros.
  slave->SetFloat(1000, 77.0f);
  slave->QueueFault(Fault::Exception);
  slave->QueueFault(Fault::BadCrc);
  poller.RunPollCycle();
  const auto points = poller.CurvePoints();
  for (int k = 0; k < 10; ++k) EXPECT_EQ(points[0][k], (tagDataPoint{double(k), 0.0})) << k;
  // The link was closed before curve 1: it keeps the values of the cycle before.
  EXPECT_EQ(points[1][0].y, 0.5);
  EXPECT_EQ(poller.LinkStatus(), 0);
  EXPECT_EQ(slave->Requests().size(), 6u + 2u);

  // The next cycle reopens the link and reads everything again.
  poller.RunPollCycle();
  EXPECT_EQ(poller.LinkStatus(), 1);
  EXPECT_EQ(poller.CurvePoints()[1][0].y, 77.0);
}

TEST(TrendPollCycle, UnreachableSlaveEndsTheCycleWithTheLinkClosed) {
  TrendSettings s;
  s.HostPort = static_cast<uint16_t>(trendtest::FreeTcpPort());
  TrendPoller poller;
  int ready = 0;
  std::vector<bool> busy;
  poller.SetBusyHandler([&](bool on) { busy.push_back(on); });
  poller.SetDataReadyHandler([&] { ++ready; });
  poller.SetSettings(s);
  CurveList curves;
  curves.push_back(Curve(0, 10, 8));
  poller.SetCurves(curves);
  poller.RunPollCycle();
  EXPECT_EQ(poller.LinkStatus(), 0);
  EXPECT_EQ(busy, (std::vector<bool>{true, false}));
  EXPECT_EQ(ready, 0);
  const auto points = poller.CurvePoints();
  for (const auto& p : points[0]) EXPECT_EQ(p.y, 0.0);
}

TEST(TrendPollCycle, LinkIsReplacedWhenItsKindChangesOrIsMarkedNone) {
  auto slave = FakeRtuSlave::ListenTcp();
  int made = 0;
  TrendPoller poller([&](const TrendSettings& s) {
    ++made;
    return TrendPoller::MakeLink(s);
  });
  poller.SetSettings(TcpTo(*slave));
  poller.RunPollCycle();
  poller.RunPollCycle();
  EXPECT_EQ(made, 1);
  poller.MarkLinkKindNone();
  poller.RunPollCycle();
  EXPECT_EQ(made, 2);
  TrendSettings serial = TcpTo(*slave);
  serial.MBType = 1;
  serial.DCBEx.Port = 99;  // no such device: the serial link does not open
  poller.SetSettings(serial);
  poller.RunPollCycle();
  EXPECT_EQ(made, 3);
  EXPECT_EQ(poller.LinkStatus(), 0);
}

TEST(TrendPollCycle, TraceLogWritesDailyFilesWithItsLineFormats) {
  testsupport::TempDir dir;
  auto slave = FakeRtuSlave::ListenTcp();
  FillFloats(*slave, 0, 2);
  TrendPoller poller;
  poller.SetSettings(TcpTo(*slave));
  CurveList curves;
  curves.push_back(Curve(0, 2, 2));
  poller.SetCurves(curves);
  poller.Log().SetBase(platform::FromUtf8Lossy(dir.File("VandrelData")));
  std::tm day{};
  day.tm_year = 2024 - 1900;
  day.tm_mon = 2;
  day.tm_mday = 8;
  day.tm_hour = 13;
  day.tm_min = 5;
  day.tm_sec = 9;
  day.tm_isdst = -1;
  auto when = std::chrono::system_clock::from_time_t(mktime(&day)) + std::chrono::milliseconds(42);
  poller.Log().SetClock([&] { return when; });

  poller.RunPollCycle();  // tracing off: no file
  EXPECT_FALSE(std::filesystem::exists(dir.File("VandrelData(2024-03-08).txt")));
  poller.SetTrace(true);
  slave->QueueFault(Fault::Exception);
  poller.RunPollCycle();
  const std::string first = ReadText(dir.File("VandrelData(2024-03-08).txt"));
  const std::string failed = platform::WideToCp936(L"接收失败(ID=   0, count=1)").value();
  EXPECT_EQ(first, "13:05:09.042 start-----------------------\r\n13:05:09.042 " + failed +
                       "\r\n13:05:09.042 id=   1 val=1.5000\r\n");

  when += std::chrono::hours(24);
  poller.RunPollCycle();
  const std::string second = ReadText(dir.File("VandrelData(2024-03-09).txt"));
  EXPECT_EQ(second,
            "13:05:09.042 start-----------------------\r\n13:05:09.042 id=   0 val=0.5000\r\n"
            "13:05:09.042 id=   1 val=1.5000\r\n");
}

TEST(TrendPollThread, PollsAtStartOnRequestAndStopsPromptly) {
  auto slave = FakeRtuSlave::ListenTcp();
  FillFloats(*slave, 0, 4);
  TrendPoller poller;
  poller.SetSettings(TcpTo(*slave, 10000));
  CurveList curves;
  curves.push_back(Curve(0, 4, 2));
  poller.SetCurves(curves);
  auto waitCycles = [&](uint64_t n) {
    for (int i = 0; i < 200 && poller.CompletedCycles() < n; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return poller.CompletedCycles();
  };
  poller.StartPollThread();
  EXPECT_EQ(waitCycles(1), 1u);
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  EXPECT_EQ(poller.CompletedCycles(), 1u);  // no request, no cycle
  poller.RequestPoll();
  EXPECT_EQ(waitCycles(2), 2u);

  // A stop during a transfer that would wait 10 s ends the thread at once.
  slave->QueueFault(Fault::Silence);
  poller.RequestPoll();
  for (int i = 0; i < 100 && slave->Requests().size() < 2 * 4 + 1; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const auto started = std::chrono::steady_clock::now();
  poller.StopPollThread();
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
  EXPECT_FALSE(poller.IsRunning());
  EXPECT_EQ(poller.CompletedCycles(), 2u);  // the stopped cycle publishes nothing

  // Started again, the thread polls once more on a fresh connection.
  poller.StartPollThread();
  EXPECT_EQ(waitCycles(3), 3u);
  poller.StopPollThread();
}
