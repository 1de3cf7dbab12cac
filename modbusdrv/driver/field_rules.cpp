#include "modbusdrv/driver/field_rules.h"

#include "modbusdrv/driver/driver_utils.h"

namespace modbusdrv {

std::optional<int> CheckDecimalField(std::wstring_view text, int min, int max) {
  // Nine digits hold every range the pages use; longer texts are out of range anyway.
  if (!IsDecimalText(text) || text.size() > 9) return std::nullopt;
  const int value = ParseIntField(text);
  if (value < min || value > max) return std::nullopt;
  return value;
}

NameCheck CheckChannelName(const ChannelList& list, const ModbusChannel& channel, const std::wstring& text) {
  if (text.empty() || EqualNoCase(text, channel.Name)) return text == channel.Name ? NameCheck::Unchanged : NameCheck::Restore;
  for (const auto& other : list)
    if (other.get() != &channel && EqualNoCase(other->Name, text)) return NameCheck::Duplicate;
  return NameCheck::Store;
}

NameCheck CheckDeviceName(const ChannelList& list, const ModbusDevice& device, const std::wstring& text) {
  if (text.empty()) return NameCheck::Restore;
  if (text == device.Name) return NameCheck::Unchanged;
  for (const auto& channel : list)
    for (const auto& other : channel->Devices)
      if (other.get() != &device && EqualNoCase(other->Name, text)) return NameCheck::Restore;
  return NameCheck::Store;
}

NameCheck CheckBlockName(const ModbusDevice& device, const ModbusDataBlock& block, const std::wstring& text) {
  if (text.empty()) return NameCheck::Restore;
  if (text == block.Name) return NameCheck::Unchanged;
  for (const auto& other : device.Blocks)
    if (other.get() != &block && EqualNoCase(other->Name, text)) return NameCheck::Restore;
  return NameCheck::Store;
}

std::wstring FormatBlockStart(uint32_t start) {
  wchar_t buffer[16];
  swprintf(buffer, 16, L"%06u", start);
  return buffer;
}

StartRuleResult ApplyStartRule(std::wstring_view startText, std::wstring_view lengthText, uint32_t currentStart) {
  StartRuleResult result;
  if (!IsDecimalText(startText) || startText.size() > 9) {
    result.restore = true;
    return result;
  }
  const int n = ParseIntField(startText);
  const int area = n / 100000;
  const int item = n % 100000;
  if (area == 2 || area > 4 || area < 0 || item == 0) {
    result.restore = true;
    return result;
  }
  const int length = ParseIntField(lengthText);
  if (static_cast<int64_t>(item) + length > 99999) result.cutLength = static_cast<uint32_t>(99999 - item);
  result.start = static_cast<uint32_t>(n);
  result.area = static_cast<uint32_t>(area);
  result.changed = result.start != currentStart;
  return result;
}

std::optional<uint32_t> CheckBlockLength(std::wstring_view text, uint32_t itemNumber) {
  if (!IsDecimalText(text) || text.size() > 9) return std::nullopt;
  const int length = ParseIntField(text);
  if (length < 1 || static_cast<int64_t>(itemNumber) + length > 99999) return std::nullopt;
  return static_cast<uint32_t>(length);
}

std::wstring JoinIpAddress(const std::array<std::wstring, 4>& parts) {
  std::wstring text;
  for (size_t i = 0; i < 4; ++i) {
    if (i > 0) text += L'.';
    text += std::to_wstring(ParseIntField(parts[i]));
  }
  return text;
}

}  // namespace modbusdrv
