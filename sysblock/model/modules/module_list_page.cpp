#include "sysblock/model/modules/module_list_page.h"

#include <sstream>

#include "sysblock/model/modules/plc_node.h"

namespace corvell {

namespace {

size_t RecordLengthOf(uint8_t type) { return FindModuleType(type)->recordLength; }

ModuleListDecodeResult Fault(ModuleListPageFault fault, size_t offset = 0, int type = -1) {
  ModuleListDecodeResult result;
  result.fault = fault;
  result.faultOffset = offset;
  result.faultType = type;
  return result;
}

}  // namespace

std::string ModuleListDecodeResult::Describe() const {
  std::ostringstream text;
  switch (fault) {
    case ModuleListPageFault::kNone:
      break;
    case ModuleListPageFault::kTooShort:
      text << "module list page is shorter than its two header bytes";
      break;
    case ModuleListPageFault::kTooLong:
      text << "module list page is longer than " << kMaxModuleListPageLength << " bytes";
      break;
    case ModuleListPageFault::kRecordPastEnd:
      text << "module list page ends inside the record of type " << faultType << " at byte " << faultOffset
           << " (" << RecordLengthOf(static_cast<uint8_t>(faultType)) << " bytes needed)";
      break;
  }
  return text.str();
}

ModuleListDecodeResult DecodeModuleListPage(std::span<const uint8_t> page) {
  if (page.size() < kModuleListPageHeaderSize) return Fault(ModuleListPageFault::kTooShort);
  if (page.size() > kMaxModuleListPageLength) return Fault(ModuleListPageFault::kTooLong);
  ModuleListDecodeResult result;
  size_t pos = kModuleListPageHeaderSize;
  while (pos + 1 < page.size()) {
    const uint8_t type = page[pos + 1];
    if (type > kMaxModuleType) {
      ++pos;  // a byte that starts no known record
      continue;
    }
    const size_t length = RecordLengthOf(type);
    if (length > page.size() - pos) return Fault(ModuleListPageFault::kRecordPastEnd, pos, type);
    result.modules.emplace_back(page.begin() + static_cast<std::ptrdiff_t>(pos),
                                page.begin() + static_cast<std::ptrdiff_t>(pos + length));
    pos += length;
  }
  return result;
}

std::array<uint8_t, 2> ModuleListPageHeader(size_t length) {
  if (length <= 255) return {static_cast<uint8_t>(length), 0};
  return {static_cast<uint8_t>(length % 255), static_cast<uint8_t>(length / 255)};
}

std::optional<std::vector<uint8_t>> EncodeModuleListPage(const ModuleList& modules) {
  size_t length = kModuleListPageHeaderSize;
  for (const ModuleRecord& record : modules) length += record.size();
  if (length > kMaxModuleListPageLength) return std::nullopt;
  std::vector<uint8_t> page;
  page.reserve(length);
  const auto header = ModuleListPageHeader(length);
  page.insert(page.end(), header.begin(), header.end());
  for (const ModuleRecord& record : modules) page.insert(page.end(), record.begin(), record.end());
  return page;
}

ModuleRecord BuildControllerRecord(const AddressBases& bases) {
  const auto node = CreatePlcNode(kControllerType, bases.digitalInput, bases.digitalOutput, bases);
  const ModuleList empty;
  return {0,
          kControllerType,
          node->GetInputStart(0, empty),
          node->GetInputSize(),
          node->GetOutputStart(0, empty),
          node->GetOutputSize(),
          kControllerLengthByte,
          0,
          0};
}

}  // namespace corvell
