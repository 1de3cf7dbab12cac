// Fuzzes the "Modbus.cfg" reader: load, save, load again (the second save must equal the
// first), and merge the input into the loaded list as a reload would.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "modbusdrv/driver/config_file.h"

using namespace modbusdrv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Every block line may allocate up to a few megabytes; keep inputs to a handful of lines.
  size_t lines = 0;
  for (size_t i = 0; i < size; ++i) lines += data[i] == '\n';
  if (size > 4096 || lines > 12) return 0;
  const std::vector<uint8_t> input(data, data + size);
  ChannelList list;
  LoadConfigBytes(input, list);
  std::vector<uint8_t> first, second;
  if (!SaveConfigBytes(list, first)) return 0;
  ChannelList again;
  LoadConfigBytes(first, again);
  if (!SaveConfigBytes(again, second) || second != first) abort();
  std::vector<std::unique_ptr<ModbusChannel>> removed;
  ReloadConfigBytes(input, list, &removed);
  return 0;
}
