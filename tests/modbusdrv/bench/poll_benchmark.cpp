// Times a polling round of the driver's TCP channel against libmodbus's own client reading the
// same blocks from the same libmodbus server on loopback, in one process, and prints the
// ratio of the two times (driver / libmodbus). Exits 1 when the driver is slower.
#include <chrono>
#include <cstdio>
#include <memory>
#include <modbus.h>
#include <string>

#include "../support/child_process.h"
#include "modbusdrv/driver/tcp_channel.h"

using namespace modbusdrv;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRounds = 40;

struct Setup {
  uint32_t blocks, length, requestsPerBatch;
};

struct Times {
  double driver = -1, libmodbus = -1;
};

// Rounds of the two clients alternate, so that drift in the machine's load hits both alike.
Times Measure(int port, const Setup& s) {
  Times times;
  ChannelList list;
  list.push_back(std::make_unique<CTcpChannel>(list));
  auto& channel = static_cast<CTcpChannel&>(*list[0]);
  channel.Port = port;
  channel.RequestsPerBatch = s.requestsPerBatch;
  channel.Devices.push_back(std::make_unique<ModbusDevice>(&channel, list));
  auto& device = *channel.Devices[0];
  for (uint32_t b = 0; b < s.blocks; ++b) {
    device.Blocks.push_back(std::make_unique<ModbusDataBlock>(&device));
    device.Blocks.back()->SetRange(400001 + b * s.length, s.length, 100);
    device.Blocks.back()->RefreshMs = 0;  // every block is due in every round
  }
  channel.Open();
  modbus_t* ctx = modbus_new_tcp("127.0.0.1", port);
  if (channel.NeedsOpen.load() != 0 || modbus_connect(ctx) != 0) return times;
  uint16_t registers[125];
  auto libmodbusRound = [&] {
    for (uint32_t b = 0; b < s.blocks; ++b)
      for (uint32_t done = 0; done < s.length; done += 120) {
        const int count = static_cast<int>(s.length - done < 120 ? s.length - done : 120);
        if (modbus_read_registers(ctx, static_cast<int>(b * s.length + done), count, registers) != count) return false;
      }
    return true;
  };
  channel.Poll();  // warm-up
  libmodbusRound();
  double mine = 0, theirs = 0;
  for (int r = 0; r < kRounds; ++r) {
    auto t0 = Clock::now();
    channel.Poll();
    mine += std::chrono::duration<double>(Clock::now() - t0).count();
    t0 = Clock::now();
    if (!libmodbusRound()) return times;
    theirs += std::chrono::duration<double>(Clock::now() - t0).count();
  }
  modbus_close(ctx);
  modbus_free(ctx);
  if (channel.NeedsOpen.load() != 0 || device.Blocks.back()->Quality[1] != 0) return times;
  times.driver = mine;
  times.libmodbus = theirs;
  return times;
}

}  // namespace

int main(int argc, char** argv) {
  // Under the sanitizers only the driver is instrumented: the figures are printed, not judged.
  const bool reportOnly = argc > 1 && std::string(argv[1]) == "--report-only";
  modbusdrv_test::ChildProcess slave({MODBUSDRV_LIBMODBUS_SLAVE, "tcp", "0"});
  const std::string line = slave.FirstLine(5000);
  if (line.rfind("ready ", 0) != 0) {
    std::fprintf(stderr, "libmodbus slave did not start\n");
    return 2;
  }
  const int port = std::stoi(line.substr(6));
  const Setup setups[] = {{100, 100, 1}, {100, 100, 10}, {1, 12000, 10}};
  int status = 0;
  for (const Setup& s : setups) {
    const Times t = Measure(port, s);
    const double mine = t.driver, theirs = t.libmodbus;
    if (mine < 0 || theirs < 0) {
      std::fprintf(stderr, "a poll failed\n");
      return 2;
    }
    const double ratio = mine / theirs;
    std::printf("%u blocks x %u holding registers, %u request(s) per batch: driver %.2f ms, libmodbus %.2f ms per round, ratio %.2f\n",
                s.blocks, s.length, s.requestsPerBatch, 1000 * mine / kRounds, 1000 * theirs / kRounds, ratio);
    if (!reportOnly && s.requestsPerBatch == 1 && ratio > 1.0) status = 1;
  }
  return status;
}
