// The work behind the library's exported functions, on wide texts and plain types. The
// exported C functions convert their arguments and call these.
#pragma once

#include <cstdint>
#include <string>

namespace modbusdrv {

// Library load: remember the file, load it into the running list (no channel starts).
void DriverInit(const std::wstring& configPath);
// Library unload: delete every tag, stop and destroy every channel.
void DriverExit();

// Starts every enabled channel and reports each start to the message sink.
void DriverStartAll();
void DriverStopAll();

int DriverAddTag(const std::wstring& address, uint32_t tagId);
int DriverDeleteTag(uint32_t tagId);
int DriverEditTag(const std::wstring& address, uint32_t tagId);
// 0 with the value decoded; 1 for an unknown id, or (quality set to 1) an unresolvable tag.
int DriverGetValue(uint32_t tagId, uint8_t* value8, uint32_t* type, uint32_t* quality);
// 0 when the write went to the channel; 1 for an unknown or unresolvable tag, or a value that
// the tag's block cannot take (a read-only table, a length that does not fit).
int DriverSetValue(uint32_t tagId, const uint8_t* bytes, int length);
// Old forms on doubles.
int DriverGetDouble(uint32_t tagId, double* out);
int DriverSetDouble(uint32_t tagId, double value);
// Re-reads the configuration file into the running list and binds every tag again.
int DriverSetConfig();

// The address of the first block of a device as the browse dialog gives it.
std::wstring FormatTagAddress(const std::wstring& deviceName, uint32_t start);

}  // namespace modbusdrv
