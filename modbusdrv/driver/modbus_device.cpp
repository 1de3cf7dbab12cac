#include "modbusdrv/driver/modbus_device.h"

#include "modbusdrv/driver/driver_state.h"
#include "modbusdrv/driver/driver_utils.h"
#include "modbusdrv/driver/modbus_channel.h"

namespace modbusdrv {

namespace {

bool DeviceNameTaken(const ChannelList& list, const std::wstring& name) {
  for (const auto& channel : list)
    for (const auto& device : channel->Devices)
      if (EqualNoCase(device->Name, name)) return true;
  return false;
}

bool DeviceNumberTaken(const ChannelList& list, int number) {
  for (const auto& channel : list)
    for (const auto& device : channel->Devices)
      if (device->DeviceNumber == number) return true;
  return false;
}

}  // namespace

ModbusDevice::ModbusDevice(ModbusChannel* owner, const ChannelList& nameScope) : Channel(owner) {
  for (int n = 0;; ++n) {
    Name = L"Device" + std::to_wstring(n);
    if (!DeviceNameTaken(nameScope, Name)) break;
  }
  const ChannelList& running = DriverState::Instance().Channels;
  DeviceNumber = 5;
  while (DeviceNumberTaken(running, DeviceNumber)) ++DeviceNumber;
}

ModbusDevice::~ModbusDevice() = default;

}  // namespace modbusdrv
