// Drives the built driver library the way an outside host does: loaded with dlopen, bound by
// name, fed a "Modbus.cfg" beside it, against independent Modbus slaves.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <thread>

#include "../support/child_process.h"
#include "../support/driver_library.h"
#include "../support/fault_slave.h"
#include "../support/pty_link.h"
#include "support/test_paths.h"

using namespace modbusdrv_test;
using Clock = std::chrono::steady_clock;

namespace {

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (Clock::now() < deadline) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

uint64_t Bits(const SinkRecord& r) {
  uint64_t v = 0;
  if (r.value.size() == 8) std::memcpy(&v, r.value.data(), 8);
  return v;
}

// Good value of a tag as the sink last saw it, or -1 while it is bad or unseen.
int64_t GoodValue(uint32_t id) {
  const SinkRecord r = SinkLog::Instance().Last(id);
  if (r.reports == 0 || r.quality != 0) return -1;
  return static_cast<int64_t>(Bits(r) & ((r.size >= 8) ? ~0ull : ((1ull << (8 * r.size)) - 1)));
}

bool IsBad(uint32_t id) {
  const SinkRecord r = SinkLog::Instance().Last(id);
  return r.reports > 0 && r.quality == 1;
}

std::string TcpChannelLine(int port, int requestsPerBatch, int enabled = 1) {
  return "$TcpChannel,TcpChannel0,,50,1000," + std::to_string(enabled) + "," + std::to_string(requestsPerBatch) +
         ",127.0.0.1," + std::to_string(port) + "\r\n";
}

std::string ComChannelLine(const std::string& device, int encoding, int requestsPerBatch) {
  return "$ComChannel,ComChannel0,,50,1000,1," + std::to_string(requestsPerBatch) + "," + device + ",115200,8,0,0," +
         std::to_string(encoding) + "\r\n";
}

const std::string kDevice = "$Device,Device0,,5,1\r\n";
// 250 holding registers (three requests of 120, 120 and 10), coils, input registers.
const std::string kBlocks =
    "$DataBlock,Regs,,400001,250,4,50,0\r\n"
    "$DataBlock,Coils,,1,20,0,50,0\r\n"
    "$DataBlock,Inputs,,300001,10,3,50,0\r\n";

enum Tag : uint32_t { kFirst = 1, kMiddle = 2, kLast = 3, kCoil = 4, kInput = 5, kWritable = 6 };

void AddStandardTags(DriverLibrary& d) {
  ASSERT_EQ(d.AddTagEx("Device0:400001", kFirst), 0);
  ASSERT_EQ(d.AddTagEx("Device0:400121", kMiddle), 0);
  ASSERT_EQ(d.AddTagEx("Device0:400250", kLast), 0);
  ASSERT_EQ(d.AddTagEx("Device0:000004", kCoil), 0);
  ASSERT_EQ(d.AddTagEx("Device0:300010", kInput), 0);
  ASSERT_EQ(d.AddTagEx("Device0:400200", kWritable), 0);
}

// Every standard tag good with the values the slaves start with.
bool StandardValuesArrived() {
  return GoodValue(kFirst) == 0 && GoodValue(kMiddle) == 120 && GoodValue(kLast) == 249 && GoodValue(kCoil) == 1 &&
         GoodValue(kInput) == 1009 && GoodValue(kWritable) >= 0;
}

// Values read, a register and a coil written and read back, a read-only table refused.
void ExpectReadAndWrite(DriverLibrary& d) {
  ASSERT_TRUE(WaitFor(StandardValuesArrived, 10000));
  double value = -1;
  EXPECT_EQ(d.GetVal(kLast, &value), 0);
  EXPECT_EQ(value, 249.0);
  EXPECT_EQ(d.SetVal(kWritable, 4242), 0);
  EXPECT_EQ(d.SetVal(kCoil, 0), 0);
  const uint16_t word = 7;
  EXPECT_EQ(d.SetValByIDEx(kInput, &word, 2), 1);
  EXPECT_TRUE(WaitFor([] { return GoodValue(kWritable) == 4242 && GoodValue(kCoil) == 0; }, 5000));
}

double StopSeconds(DriverLibrary& d) {
  const auto t0 = Clock::now();
  d.StopEx();
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

template <typename F>
double Seconds(F&& call) {
  const auto t0 = Clock::now();
  call();
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

// A device name whose device can be swapped under the driver: a symbolic link, replaced whole.
class SwitchableDevice {
 public:
  explicit SwitchableDevice(const testsupport::TempDir& dir) : path_(dir.File("port")), notATty_(dir.File("not-a-tty")) {
    std::ofstream(notATty_) << "a plain file: no line settings to read";
  }
  const std::string& path() const { return path_; }
  void PointAt(const std::string& target) const {
    const std::string fresh = path_ + ".new";
    ::unlink(fresh.c_str());
    ASSERT_EQ(::symlink(target.c_str(), fresh.c_str()), 0);
    ASSERT_EQ(::rename(fresh.c_str(), path_.c_str()), 0);
  }
  void PointAtPlainFile() const { PointAt(notATty_); }

 private:
  std::string path_, notATty_;
};

int CountMessages(const std::string& text) {
  int n = 0;
  for (const std::string& m : SinkLog::Instance().Messages()) n += m == text ? 1 : 0;
  return n;
}

// Whether a line was left in exclusive use after the driver closed it: while anyone else holds
// it open, no other user could open it, nor the driver itself again.
bool LeftExclusive(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == EBUSY;
  int exclusive = 0;
  const bool on = ::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
  ::close(fd);
  return on;
}

std::unique_ptr<ChildProcess> StartLibmodbusTcp(int port, int& actualPort) {
  auto child = std::make_unique<ChildProcess>(std::vector<std::string>{MODBUSDRV_LIBMODBUS_SLAVE, "tcp", std::to_string(port)});
  const std::string line = child->FirstLine(5000);
  if (line.rfind("ready ", 0) != 0) return nullptr;
  actualPort = std::stoi(line.substr(6));
  return child;
}

}  // namespace

TEST(ModbusdrvHost, EntryPointsGiveTheirResultsWithoutAnyPeer) {
  testsupport::TempDir dir;
  const std::string config = ComChannelLine(dir.path() + "/no-such-tty", 0, 1) + kDevice + kBlocks + TcpChannelLine(1, 1, 0);
  DriverLibrary d(dir.path(), config.c_str());
  char address[268] = {};
  EXPECT_EQ(d.GetAddsFmtEx(address), 0);
  EXPECT_STREQ(address, "Device0:400001");

  auto addTag = d.Get<uint32_t (*)(const char*)>("DrvAddTag");
  EXPECT_EQ(addTag("Device0:400001"), 1u);
  EXPECT_EQ(addTag("Device0:400002"), 2u);
  EXPECT_EQ(addTag("Device0:400003"), 3u);
  EXPECT_EQ(d.DelTagEx(999), 1);
  EXPECT_EQ(d.Get<int (*)(int, uint32_t)>("DrvDelTag")(0, 2), 0);
  EXPECT_EQ(d.DelTagEx(2), 1);
  EXPECT_EQ(d.Get<int (*)()>("DrvClear")(), 0);
  EXPECT_EQ(d.DelTagEx(1), 1);
  EXPECT_EQ(d.DelTagEx(0xFFFFFFFFu), 0);
  for (const char* name : {"DrvChkFmt", "DrvGetValByAddsEx", "DrvSetAddsFmtEx", "DrvSetValByAddsEx"})
    EXPECT_EQ(d.Get<int (*)()>(name)(), 1) << name;
  for (const char* name : {"DrvGetMsg", "DrvChkAddsFmtEx", "DrvGetDesc", "DrvAddFmt"})
    EXPECT_EQ(d.Get<int (*)()>(name)(), 0) << name;

  // A coil never polled: 0.0 and bad quality.
  ASSERT_EQ(d.AddTagEx("Device0:000001", 10), 0);
  double value = 5;
  EXPECT_EQ(d.GetVal(10, &value), 1);
  EXPECT_EQ(value, 0.0);
  uint8_t raw[8];
  uint32_t type = 0, quality = 0;
  EXPECT_EQ(d.GetValByIDEx(77, raw, nullptr, &type, &quality), 1);
  ASSERT_EQ(d.AddTagEx("Nobody:400001", 11), 0);
  EXPECT_EQ(d.GetValByIDEx(11, raw, nullptr, &type, &quality), 1);
  EXPECT_EQ(quality, 1u);
  EXPECT_EQ(d.EditTagEx("Device0:400010", 11), 0);
  EXPECT_EQ(d.GetValByIDEx(11, raw, nullptr, &type, &quality), 0);
  EXPECT_EQ(type, 4u);
  EXPECT_EQ(d.EditTagEx("Device0:400010", 12), 1);
  // Writes: a read-only table or an unknown tag is refused; a coil write is handed over.
  ASSERT_EQ(d.AddTagEx("Device0:300001", 13), 0);
  EXPECT_EQ(d.SetVal(13, 1), 1);
  EXPECT_EQ(d.SetVal(99, 1), 1);
  EXPECT_EQ(d.SetVal(10, 1), 0);

  // One start message per enabled channel; the old form answers 1.
  EXPECT_EQ(d.Get<int (*)()>("DrvStart")(), 1);
  const auto messages = SinkLog::Instance().Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], std::string("ComChannel0") + "\xCD\xA8\xB5\xC0\xC6\xF4\xB6\xAF\xB3\xC9\xB9\xA6!");
  EXPECT_EQ(d.StartEx(), 0);
  // The port cannot be opened: every bound tag is reported bad at each attempt.
  EXPECT_TRUE(WaitFor([] { return IsBad(10); }, 3000));
  EXPECT_LT(StopSeconds(d), 2.0);
}

// The line settings of a device that is no terminal cannot be read: the host hears of it once,
// not at every attempt, and the attempts slow down. When the device becomes usable the channel
// takes it; a failure after that recovery is reported again. Neither a stop nor a reload waits
// for the pause between attempts.
TEST(ModbusdrvHost, SerialChannelThatCannotOpenReportsOnceAndRecovers) {
  testsupport::TempDir dir;
  SwitchableDevice device(dir);
  device.PointAtPlainFile();
  FaultSlave slave(Wire::Rtu);
  const std::string config = ComChannelLine(device.path(), 0, 1) + kDevice + "$DataBlock,Regs,,400001,100,4,50,0\r\n";
  DriverLibrary d(dir.path(), config.c_str());
  ASSERT_EQ(d.AddTagEx("Device0:400001", kFirst), 0);
  const std::string noTty = std::string("ComChannel0: ") + std::strerror(ENOTTY);
  d.StartEx();
  std::this_thread::sleep_for(std::chrono::milliseconds(2000));
  EXPECT_EQ(CountMessages(noTty), 1);
  // Every attempt reports the tags bad: at the channel's 50 ms that would be some 40 times.
  const int attempts = SinkLog::Instance().Last(kFirst).reports;
  EXPECT_GE(attempts, 3);
  EXPECT_LE(attempts, 10);
  EXPECT_LT(Seconds([&] { d.SetConfigEx(); }), 0.3);

  device.PointAt(slave.devicePath());
  ASSERT_TRUE(WaitFor([] { return GoodValue(kFirst) == 0; }, 5000));

  // The slave falls silent and the device goes: a failure after a recovery is news again.
  slave.SetPlan([](uint8_t, uint16_t) { return Fault::Silent; });
  device.PointAtPlainFile();
  EXPECT_TRUE(WaitFor([&] { return CountMessages(noTty) == 2; }, 5000));
  EXPECT_FALSE(LeftExclusive(slave.devicePath()));
  std::this_thread::sleep_for(std::chrono::milliseconds(2000));
  EXPECT_EQ(CountMessages(noTty), 2);
  EXPECT_LT(StopSeconds(d), 0.3);
}

// A failure that differs from the one before is reported, the same one again is not.
TEST(ModbusdrvHost, SerialChannelReportsEachNewOpenFailure) {
  testsupport::TempDir dir;
  SwitchableDevice device(dir);
  device.PointAtPlainFile();
  PtyPair pty;
  // 14400 Bd has no termios speed: the pty opens, its settings are refused.
  std::string channel = ComChannelLine(device.path(), 0, 1);
  channel.replace(channel.find(",115200,"), 8, ",14400,");
  const std::string config = channel + kDevice + "$DataBlock,Regs,,400001,100,4,50,0\r\n";
  DriverLibrary d(dir.path(), config.c_str());
  const std::string noTty = std::string("ComChannel0: ") + std::strerror(ENOTTY);
  const std::string refused = std::string("ComChannel0: ") + std::strerror(EINVAL);
  d.StartEx();
  ASSERT_TRUE(WaitFor([&] { return CountMessages(noTty) == 1; }, 3000));
  device.PointAt(pty.slavePath());
  ASSERT_TRUE(WaitFor([&] { return CountMessages(refused) == 1; }, 4000));
  device.PointAtPlainFile();
  ASSERT_TRUE(WaitFor([&] { return CountMessages(noTty) == 2; }, 4000));
  EXPECT_FALSE(LeftExclusive(pty.slavePath()));
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_EQ(SinkLog::Instance().Messages().size(), 4u);  // the start message and three failures
  EXPECT_LT(StopSeconds(d), 0.3);
}

class ModbusdrvHostTcp : public ::testing::TestWithParam<int> {};

TEST_P(ModbusdrvHostTcp, ReadsWritesAndReconnectsToLibmodbus) {
  int port = 0;
  auto slave = StartLibmodbusTcp(0, port);
  ASSERT_TRUE(slave) << "libmodbus slave did not start";
  testsupport::TempDir dir;
  const std::string config = TcpChannelLine(port, GetParam()) + kDevice + kBlocks;
  DriverLibrary d(dir.path(), config.c_str());
  AddStandardTags(d);
  d.StartEx();
  ExpectReadAndWrite(d);

  // The slave goes away: the tags turn bad; it comes back on the same port: good again.
  slave->Terminate();
  ASSERT_TRUE(WaitFor([] { return IsBad(kFirst) && IsBad(kLast); }, 8000));
  int again = 0;
  slave = StartLibmodbusTcp(port, again);
  ASSERT_TRUE(slave);
  ASSERT_TRUE(WaitFor(StandardValuesArrived, 10000));
  EXPECT_LT(StopSeconds(d), 2.0);
}

INSTANTIATE_TEST_SUITE_P(RequestsPerBatch, ModbusdrvHostTcp, ::testing::Values(1, 10));

struct SerialPeerCase {
  const char* name;
  int encoding;
  int requestsPerBatch;
};

class ModbusdrvHostSerial : public ::testing::TestWithParam<SerialPeerCase> {};

TEST_P(ModbusdrvHostSerial, ReadsAndWritesOverALinkedPtyPair) {
  const SerialPeerCase c = GetParam();
  PtyLink link;
  std::unique_ptr<ChildProcess> slave;
  if (c.encoding == 0)
    slave = std::make_unique<ChildProcess>(std::vector<std::string>{MODBUSDRV_LIBMODBUS_SLAVE, "rtu", link.endB()});
  else
    slave = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/bin/python3", MODBUSDRV_PYMODBUS_SLAVE, link.endB()});
  ASSERT_EQ(slave->FirstLine(10000), "ready");
  testsupport::TempDir dir;
  const std::string config = ComChannelLine(link.endA(), c.encoding, c.requestsPerBatch) + kDevice + kBlocks;
  DriverLibrary d(dir.path(), config.c_str());
  AddStandardTags(d);
  d.StartEx();
  ExpectReadAndWrite(d);
  EXPECT_LT(StopSeconds(d), 2.0);
}

INSTANTIATE_TEST_SUITE_P(Peers, ModbusdrvHostSerial,
                         ::testing::Values(SerialPeerCase{"RtuLibmodbus", 0, 1}, SerialPeerCase{"RtuLibmodbusBatched", 0, 10},
                                           SerialPeerCase{"AsciiPymodbus", 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

struct FaultCase {
  const char* name;
  Wire wire;
  Fault fault;
  bool firstBad, middleBad, lastBad;
};

class ModbusdrvHostFaults : public ::testing::TestWithParam<FaultCase> {};

// The middle request (registers 121..240) gets the fault; the driver must mark exactly what
// the fault touched bad and keep polling.
TEST_P(ModbusdrvHostFaults, FaultyRepliesMarkTheirItemsBad) {
  const FaultCase c = GetParam();
  FaultSlave slave(c.wire);
  testsupport::TempDir dir;
  const std::string channel = c.wire == Wire::Tcp ? TcpChannelLine(slave.port(), 10)
                                                  : ComChannelLine(slave.devicePath(), c.wire == Wire::Ascii ? 1 : 0, 10);
  const std::string config = channel + kDevice + kBlocks;
  DriverLibrary d(dir.path(), config.c_str());
  AddStandardTags(d);
  d.StartEx();
  ASSERT_TRUE(WaitFor(StandardValuesArrived, 5000)) << GoodValue(kFirst) << " " << GoodValue(kMiddle) << " " << GoodValue(kLast) << " "
                                                    << GoodValue(kCoil) << " " << GoodValue(kInput) << " " << GoodValue(kWritable);
  slave.SetPlan([&](uint8_t function, uint16_t address) { return function == 3 && address == 120 ? c.fault : Fault::None; });
  const bool reached = WaitFor(
      [&] {
        return (c.firstBad ? IsBad(kFirst) : GoodValue(kFirst) == 0) && IsBad(kMiddle) == c.middleBad && IsBad(kLast) == c.lastBad &&
               (c.middleBad || GoodValue(kMiddle) == 120);
      },
      6000);
  EXPECT_TRUE(reached) << "first " << GoodValue(kFirst) << " middle " << GoodValue(kMiddle) << " last " << GoodValue(kLast);
  // Back to normal replies: everything good again.
  slave.SetPlan([](uint8_t, uint16_t) { return Fault::None; });
  EXPECT_TRUE(WaitFor(StandardValuesArrived, 8000));
  EXPECT_LT(StopSeconds(d), 2.0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ModbusdrvHostFaults,
    ::testing::Values(FaultCase{"RtuException", Wire::Rtu, Fault::Exception, false, true, false},
                      FaultCase{"RtuBadCrc", Wire::Rtu, Fault::BadChecksum, false, true, true},
                      FaultCase{"RtuWrongUnit", Wire::Rtu, Fault::WrongUnit, false, true, false},
                      FaultCase{"RtuWrongFunction", Wire::Rtu, Fault::WrongFunction, false, true, false},
                      FaultCase{"RtuSplit", Wire::Rtu, Fault::Split, false, false, false},
                      FaultCase{"RtuLate", Wire::Rtu, Fault::Late, true, true, true},
                      FaultCase{"AsciiBadLrc", Wire::Ascii, Fault::BadChecksum, false, true, true},
                      FaultCase{"AsciiException", Wire::Ascii, Fault::Exception, false, true, false},
                      FaultCase{"TcpWrongUnit", Wire::Tcp, Fault::WrongUnit, false, true, false},
                      FaultCase{"TcpSplit", Wire::Tcp, Fault::Split, false, false, false},
                      FaultCase{"TcpDrop", Wire::Tcp, Fault::Drop, true, true, true},
                      FaultCase{"TcpHugeLength", Wire::Tcp, Fault::HugeLength, true, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

// Over TCP an exception reply leaves the request's registers as they were last read, value and
// quality, and the connection open; the other requests of the block go on being read.
TEST(ModbusdrvHost, TcpExceptionReplyKeepsItsItemsAndTheConnection) {
  FaultSlave slave(Wire::Tcp);
  testsupport::TempDir dir;
  DriverLibrary d(dir.path(), (TcpChannelLine(slave.port(), 10) + kDevice + kBlocks).c_str());
  AddStandardTags(d);
  d.StartEx();
  ASSERT_TRUE(WaitFor(StandardValuesArrived, 5000));
  ASSERT_EQ(slave.Connections(), 1);

  // From now on the slave answers the middle request (registers 121..240) with an exception;
  // new values go into a refused and an answered register.
  const auto refused = [](const std::vector<uint8_t>& frame) {
    return frame.size() == 12 && frame[7] == 3 && frame[8] == 0 && frame[9] == 120;
  };
  slave.SetPlan([](uint8_t function, uint16_t address) { return function == 3 && address == 120 ? Fault::Exception : Fault::None; });
  const size_t seenBefore = slave.Requests().size();
  const int reportsBefore = SinkLog::Instance().Last(kMiddle).reports;
  EXPECT_EQ(d.SetVal(kMiddle, 5555), 0);
  EXPECT_EQ(d.SetVal(kFirst, 7777), 0);
  const auto refusals = [&] {
    const auto requests = slave.Requests();
    return std::count_if(requests.begin() + static_cast<std::ptrdiff_t>(seenBefore), requests.end(), refused);
  };
  // Still reported at every round, with the value and quality read before the refusals.
  ASSERT_TRUE(WaitFor(
      [&] {
        return GoodValue(kFirst) == 7777 && refusals() >= 3 && SinkLog::Instance().Last(kMiddle).reports >= reportsBefore + 3;
      },
      5000));
  EXPECT_EQ(GoodValue(kMiddle), 120);
  EXPECT_EQ(GoodValue(kLast), 249);
  EXPECT_EQ(slave.Connections(), 1);

  // Answered again: the value written meanwhile arrives.
  slave.SetPlan([](uint8_t, uint16_t) { return Fault::None; });
  EXPECT_TRUE(WaitFor([] { return GoodValue(kMiddle) == 5555; }, 5000));
  EXPECT_EQ(slave.Connections(), 1);
  EXPECT_LT(StopSeconds(d), 2.0);
}

// A connection that is refused is tried again after every refresh pause, each attempt reporting
// the tags bad and telling the host nothing else; a server that comes is connected to at the
// next attempt.
TEST(ModbusdrvHost, TcpChannelRetriesARefusedConnectionAtEveryRefresh) {
  // A port bound without listening refuses connections, and no one else can take it meanwhile.
  const int holder = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(holder, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  socklen_t length = sizeof address;
  ASSERT_EQ(::getsockname(holder, reinterpret_cast<sockaddr*>(&address), &length), 0);
  const int port = ntohs(address.sin_port);

  testsupport::TempDir dir;
  const std::string config = TcpChannelLine(port, 1) + kDevice + "$DataBlock,Regs,,400001,100,4,50,0\r\n";
  DriverLibrary d(dir.path(), config.c_str());
  ASSERT_EQ(d.AddTagEx("Device0:400001", kFirst), 0);
  d.StartEx();
  // At the channel's 50 ms some twenty attempts a second; a pause that grew after each failure
  // would take the better part of a minute for thirty.
  EXPECT_TRUE(WaitFor([] { return SinkLog::Instance().Last(kFirst).reports >= 30; }, 10000))
      << SinkLog::Instance().Last(kFirst).reports;
  EXPECT_TRUE(IsBad(kFirst));
  EXPECT_EQ(SinkLog::Instance().Messages().size(), 1u);  // the start message alone

  ::close(holder);
  int again = 0;
  auto slave = StartLibmodbusTcp(port, again);
  ASSERT_TRUE(slave) << "libmodbus slave did not start";
  EXPECT_TRUE(WaitFor([] { return GoodValue(kFirst) == 0; }, 5000));
  EXPECT_LT(StopSeconds(d), 2.0);
}

TEST(ModbusdrvHost, StopIsPromptWhileRepliesAreOverdue) {
  for (Wire wire : {Wire::Tcp, Wire::Rtu}) {
    FaultSlave slave(wire);
    slave.SetPlan([](uint8_t, uint16_t) { return Fault::Silent; });
    testsupport::TempDir dir;
    const std::string channel = wire == Wire::Tcp ? TcpChannelLine(slave.port(), 1) : ComChannelLine(slave.devicePath(), 0, 1);
    const std::string config = channel + kDevice + kBlocks;
    DriverLibrary d(dir.path(), config.c_str());
    AddStandardTags(d);
    d.StartEx();
    ASSERT_TRUE(WaitFor([&] { return !slave.Requests().empty(); }, 3000));
    EXPECT_LT(StopSeconds(d), 0.5);
  }
}

TEST(ModbusdrvHost, RequestsOnTheWireMatchTheFraming) {
  struct Case {
    Wire wire;
    std::vector<uint8_t> expected;
  } cases[] = {
      {Wire::Rtu, {0x01, 0x03, 0x00, 0x00, 0x00, 0x64, 0x44, 0x21}},
      {Wire::Ascii, {':', '0', '1', '0', '3', '0', '0', '0', '0', '0', '0', '6', '4', '9', '8', '\r', '\n'}},
      {Wire::Tcp, {0, 0, 0, 0, 0, 6, 1, 3, 0, 0, 0, 0x64}},
  };
  for (const Case& c : cases) {
    FaultSlave slave(c.wire);
    testsupport::TempDir dir;
    const std::string channel = c.wire == Wire::Tcp ? TcpChannelLine(slave.port(), 1)
                                                    : ComChannelLine(slave.devicePath(), c.wire == Wire::Ascii ? 1 : 0, 1);
    const std::string config = channel + kDevice + "$DataBlock,Regs,,400001,100,4,50,0\r\n";
    DriverLibrary d(dir.path(), config.c_str());
    d.StartEx();
    ASSERT_TRUE(WaitFor([&] { return !slave.Requests().empty(); }, 3000));
    d.StopEx();
    EXPECT_EQ(slave.Requests()[0], c.expected);
  }
}

TEST(ModbusdrvHost, SetConfigMergesTheFileAndBindsTagsAgain) {
  int port = 0;
  auto slave = StartLibmodbusTcp(0, port);
  ASSERT_TRUE(slave);
  testsupport::TempDir dir;
  DriverLibrary d(dir.path(), (TcpChannelLine(port, 1) + kDevice + kBlocks).c_str());
  AddStandardTags(d);
  ASSERT_EQ(d.AddTagEx("Device0:400300", 20), 0);  // beyond the block for now
  d.StartEx();
  ASSERT_TRUE(WaitFor(StandardValuesArrived, 10000));
  uint8_t raw[8];
  uint32_t type = 0, quality = 0;
  EXPECT_EQ(d.GetValByIDEx(20, raw, nullptr, &type, &quality), 1);

  std::string longer = TcpChannelLine(port, 1) + kDevice + kBlocks;
  longer.replace(longer.find("400001,250"), 10, "400001,300");
  d.WriteConfig(longer);
  EXPECT_EQ(d.SetConfigEx(), 0);
  EXPECT_TRUE(WaitFor([] { return GoodValue(20) == 299 && GoodValue(kLast) == 249; }, 10000));

  // A file without the channel stops and removes it: its tags turn bad and stay unbound.
  d.WriteConfig("");
  EXPECT_EQ(d.SetConfigEx(), 0);
  EXPECT_TRUE(IsBad(kFirst));
  EXPECT_EQ(d.GetValByIDEx(kFirst, raw, nullptr, &type, &quality), 1);
}
