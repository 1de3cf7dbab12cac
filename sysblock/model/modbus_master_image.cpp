#include "sysblock/model/modbus_master_image.h"

#include <algorithm>

namespace corvell {

namespace {

uint16_t U16(const PageBytes& bytes, size_t offset) {
  return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

void PutU16(PageBytes& bytes, int value) {
  bytes.push_back(static_cast<uint8_t>(value & 0xFF));
  bytes.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

}  // namespace

MasterRecordList SplitMasterImage(const PageBytes& image) {
  MasterRecordList records;
  const size_t headerBytes = std::min(image.size(), kMasterHeaderSize);
  PageBytes header(image.begin(), image.begin() + headerBytes);
  header.resize(kMasterHeaderSize, 0);
  records.push_back(std::move(header));
  for (size_t pos = kMasterHeaderSize; pos + kMasterEntrySize <= image.size(); pos += kMasterEntrySize)
    records.emplace_back(image.begin() + pos, image.begin() + pos + kMasterEntrySize);
  return records;
}

PageBytes JoinMasterImage(const MasterRecordList& records) {
  PageBytes image;
  for (const auto& record : records) image.insert(image.end(), record.begin(), record.end());
  return image;
}

void FillMasterTree(const MasterRecordList& records, CControllerDataCls& controller) {
  PageBytes header = records.empty() ? PageBytes() : records.front();
  header.resize(kMasterHeaderSize, 0);
  controller.RefreshLevel = header[0];

  // Which port each entry belongs to, by its position against the running counts. The
  // position is not cut to a byte, so entries past the 255th never fall back into port 1.
  std::vector<std::vector<const PageBytes*>> entriesOfPort(kMasterPortCount);
  size_t k = 0;
  for (size_t r = 1; r < records.size(); ++r) {
    if (records[r].size() < kMasterEntrySize) continue;
    int port = 4;
    for (int p = 0; p < 4; ++p) {
      if (k < header[2 + p]) {
        port = p;
        break;
      }
    }
    entriesOfPort[port].push_back(&records[r]);
    ++k;
  }

  int blockNumber = 1;
  for (int p = 0; p < kMasterPortCount; ++p) {
    CPortDataCls& port = *controller.Ports[p];
    for (const PageBytes* entry : entriesOfPort[p]) {
      const int addressMinusOne = static_cast<int>((*entry)[0]) - 1;
      CSlaveDataCls* slave = nullptr;
      for (const auto& s : port.Slaves) {
        if (s->AddressMinusOne == addressMinusOne) {
          slave = s.get();
          break;
        }
      }
      if (slave == nullptr) slave = port.AddSlave(addressMinusOne);
      CDataBlockDataCls* block = slave->AddBlock();
      block->Name = L"BlockName" + std::to_wstring(blockNumber++);
      block->FunctionIndex = FunctionIndexOfCode((*entry)[1]);
      block->StartAddressMinusOne = U16(*entry, 2);
      block->ReferenceStart = U16(*entry, 4);
      block->Length = U16(*entry, 6);
      block->BuildTagRows(slave->AddressMinusOne, controller.RefreshLevel);
    }
  }
}

bool BuildMasterRecords(const CControllerDataCls& controller, MasterRecordList& records) {
  if (controller.CountBlocks() > kMaxMasterEntries) return false;
  MasterRecordList built;
  built.emplace_back(kMasterHeaderSize, 0);
  uint8_t runningTotals[kMasterPortCount] = {};
  size_t count = 0;
  for (int p = 0; p < kMasterPortCount; ++p) {
    for (const auto& slave : controller.Ports[p]->Slaves) {
      for (const auto& block : slave->Blocks) {
        PageBytes entry;
        entry.push_back(static_cast<uint8_t>(slave->AddressMinusOne + 1));
        entry.push_back(FunctionCodeOfIndex(block->FunctionIndex));
        PutU16(entry, block->StartAddressMinusOne);
        PutU16(entry, block->ReferenceStart);
        PutU16(entry, block->Length);
        built.push_back(std::move(entry));
        ++count;
      }
    }
    runningTotals[p] = static_cast<uint8_t>(count);
  }
  PageBytes& header = built.front();
  header[0] = static_cast<uint8_t>(controller.RefreshLevel);
  header[1] = static_cast<uint8_t>(count);
  for (int p = 0; p < 4; ++p) header[2 + p] = runningTotals[p];
  records = std::move(built);
  return true;
}

}  // namespace corvell
