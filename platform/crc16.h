// CRC-16/MODBUS (reflected polynomial 0xA001, initial value 0xFFFF, no final XOR), table
// driven. Header-light so the stand-alone libraries can link it without the workbench core.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

uint16_t Crc16Modbus(const uint8_t* data, size_t size, uint16_t crc = 0xFFFF);

}  // namespace platform
