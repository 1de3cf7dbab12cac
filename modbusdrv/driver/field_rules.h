// Checks of the configuration pages' fields, kept apart from the widgets so they can be
// driven without a screen. Each rule says whether a typed text is stored or the field shows
// the object's value again.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "modbusdrv/driver/modbus_channel.h"

namespace modbusdrv {

// A decimal field: empty or digits only, value (empty reads 0) within [min, max].
std::optional<int> CheckDecimalField(std::wstring_view text, int min, int max);

enum class NameCheck {
  Store,      // take the text
  Unchanged,  // the text is the object's name already: nothing to store
  Restore,    // show the object's name again, silently
  Duplicate,  // show the object's name again after telling the user
};

// Channel name: empty or a mere change of letter case is refused; a name another channel of
// the list has (letter case ignored) is a duplicate.
NameCheck CheckChannelName(const ChannelList& list, const ModbusChannel& channel, const std::wstring& text);
// Device name: empty or a name of another device of any channel of the list (letter case
// ignored) is refused; a change of letter case alone is taken.
NameCheck CheckDeviceName(const ChannelList& list, const ModbusDevice& device, const std::wstring& text);
// Data block name: the same within the block's device.
NameCheck CheckBlockName(const ModbusDevice& device, const ModbusDataBlock& block, const std::wstring& text);

// Start of a block as six digits with leading zeros ("000017").
std::wstring FormatBlockStart(uint32_t start);

struct StartRuleResult {
  bool restore = false;                // the field shows the block's Start again; nothing else
  bool changed = false;                // Start (and Area) take `start`
  uint32_t start = 0;
  uint32_t area = 0;
  std::optional<uint32_t> cutLength;  // the length field and Length take this value
};
// Leaving the start field: area 0, 1, 3 or 4 and an item number from 1; the length shown is
// cut so that item number + length stays within 99999.
StartRuleResult ApplyStartRule(std::wstring_view startText, std::wstring_view lengthText, uint32_t currentStart);

// Leaving the length field: at least 1, and item number + length at most 99999.
std::optional<uint32_t> CheckBlockLength(std::wstring_view text, uint32_t itemNumber);

// The four parts of an address control as "a.b.c.d" (an empty part reads 0).
std::wstring JoinIpAddress(const std::array<std::wstring, 4>& parts);

}  // namespace modbusdrv
