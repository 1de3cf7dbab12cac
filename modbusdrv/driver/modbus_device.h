// One slave device of a channel: its unit id and its data blocks.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "modbusdrv/driver/modbus_data_block.h"

namespace modbusdrv {

class ModbusChannel;
using ChannelList = std::vector<std::unique_ptr<ModbusChannel>>;

class ModbusDevice {
 public:
  // The default name is made unique among every device of `nameScope`; the device number is
  // the first free one of the running configuration.
  ModbusDevice(ModbusChannel* owner, const ChannelList& nameScope);
  virtual ~ModbusDevice();
  ModbusDevice(const ModbusDevice&) = delete;
  ModbusDevice& operator=(const ModbusDevice&) = delete;

  std::vector<std::unique_ptr<ModbusDataBlock>> Blocks;
  std::wstring Name;
  std::wstring Description;
  int UnitId = 1;
  int DeviceNumber = 5;
  ModbusChannel* Channel;
  int StaleMark = 0;
};

}  // namespace modbusdrv
