// "Modbus.cfg": the driver's configuration as CP936 text, one comma-separated line per
// channel, device and data block. Loading builds a channel list, saving writes one, and the
// reload merges the file into the running list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "modbusdrv/driver/modbus_channel.h"

namespace modbusdrv {

// One line from fields: a field holding "," or a double quote is enclosed in double quotes
// with every double quote inside doubled.
std::wstring JoinCsvFields(const std::vector<std::wstring>& fields);
// The fields of one line (trailing CR/LF removed); returns their number.
int SplitCsvLine(std::wstring_view line, std::vector<std::wstring>& fields);

// Fills the list from the file (the list is emptied first). False when the path is empty or
// the file cannot be read (list untouched), or when a line could not be taken: an empty line
// ends reading (the objects read so far stay); a line with too few fields, a range no block
// can have or text that is not CP936 is skipped together with the objects that belong to it.
bool LoadConfigFile(const std::wstring& path, ChannelList& list);
bool LoadConfigBytes(const std::vector<uint8_t>& bytes, ChannelList& list);

// Writes the list to the file, replacing it only once the whole new content is written.
// False (with a reason in `error`) when the path is empty, a text cannot be written in
// CP936 or the file cannot be written.
bool SaveConfigFile(const std::wstring& path, const ChannelList& list, std::wstring* error = nullptr);
bool SaveConfigBytes(const ChannelList& list, std::vector<uint8_t>& bytes, std::wstring* error = nullptr);

// Merges the file into the running list by name: objects that stay are updated in place,
// new ones are appended, and ReloadAction of every channel says whether it must be stopped
// (0), started (1) or restarted (2). Objects the file no longer holds are taken out of the
// list: channels go to `removed` (when given; else they are destroyed), devices and blocks
// are destroyed. A channel whose kind differs from its line is replaced by a new one in the
// same place. When a line cannot be taken nothing is removed and the result is false.
bool ReloadConfigFile(const std::wstring& path, ChannelList& list, std::vector<std::unique_ptr<ModbusChannel>>* removed);
bool ReloadConfigBytes(const std::vector<uint8_t>& bytes, ChannelList& list,
                       std::vector<std::unique_ptr<ModbusChannel>>* removed);

}  // namespace modbusdrv
