#include "sysblock/model/modbus_master_config.h"

#include <algorithm>

namespace corvell {

namespace {

constexpr uint8_t kFunctionCodes[kFunctionIndexCount] = {1, 2, 3, 4, 5, 6, 15, 16};
constexpr const wchar_t* kRowTypeNames[kFunctionIndexCount] = {
    L"读线圈(IN)", L"读离散量输入(IN)", L"读保持寄存器(IN)", L"读输入寄存器(IN)",
    L"写单线圈(OUT)", L"写单寄存器(OUT)", L"写多线圈(OUT)", L"写多寄存器(OUT)"};
constexpr long long kModbusAddressBase[kFunctionIndexCount] = {1, 10001, 40001, 30001, 1, 40001, 1, 40001};
constexpr const wchar_t* kRefreshLevelTexts[kRefreshLevelCount] = {L"50ms", L"100ms", L"200ms", L"500ms",
                                                                   L"1000ms"};

bool ValidFunction(int index) { return index >= 0 && index < kFunctionIndexCount; }

std::wstring ZeroFilled(long long value) {
  std::wstring text = std::to_wstring(value);
  if (text.size() < 5) text.insert(0, 5 - text.size(), L'0');
  return text;
}

std::wstring QuoteAddress(int functionIndex, long long reference, long long item) {
  switch (functionIndex) {
    case 0:
    case 1:
    case 6:
      return L"M" + std::to_wstring(reference + item / 8) + L"." + std::to_wstring(item % 8);
    case 4:
      return L"MB" + std::to_wstring(reference + item);
    default:
      return L"MB" + std::to_wstring(reference + 2 * item);
  }
}

}  // namespace

uint8_t FunctionCodeOfIndex(int functionIndex) {
  return ValidFunction(functionIndex) ? kFunctionCodes[functionIndex] : 0;
}

int FunctionIndexOfCode(uint8_t code) {
  for (int i = 1; i < kFunctionIndexCount; ++i)
    if (kFunctionCodes[i] == code) return i;
  return 0;
}

std::wstring FunctionRowTypeName(int functionIndex) {
  return ValidFunction(functionIndex) ? kRowTypeNames[functionIndex] : L"";
}

bool IsRegisterFunction(int functionIndex) {
  return functionIndex == 2 || functionIndex == 3 || functionIndex == 5 || functionIndex == 7;
}

std::wstring RefreshLevelText(int level) {
  return level >= 0 && level < kRefreshLevelCount ? kRefreshLevelTexts[level] : L"";
}

uint32_t ReferenceEndByte(int functionIndex, uint32_t referenceStart, uint32_t length) {
  if (!ValidFunction(functionIndex)) return 0;
  if (IsRegisterFunction(functionIndex)) return referenceStart + 2 * length - 1;
  if (length % 8 == 0) return referenceStart + length / 8 - 1;
  return referenceStart + length / 8;
}

std::wstring SlaveNodeText(int slaveAddress) { return L"SLAVE(" + std::to_wstring(slaveAddress) + L")"; }

void CDataBlockDataCls::BuildTagRows(int slaveAddressMinusOne, int refreshLevel) {
  if (!ValidFunction(FunctionIndex)) return;
  const int items = std::min(Length, kMaxBlockLength);
  const long long s = StartAddressMinusOne;
  for (int i = 0; i < items; ++i) {
    auto tag = std::make_unique<CTag>();
    tag->Texts[0] = std::to_wstring(i + 1);
    tag->Texts[1] = std::to_wstring(static_cast<long long>(slaveAddressMinusOne) + 1);
    tag->Texts[2] = kRowTypeNames[FunctionIndex];
    tag->Texts[3] = ZeroFilled(s + i);
    tag->Texts[4] = ZeroFilled(s + i + kModbusAddressBase[FunctionIndex]);
    tag->Texts[5] = QuoteAddress(FunctionIndex, ReferenceStart, i);
    tag->Texts[6] = RefreshLevelText(refreshLevel);
    tag->Owner = this;
    Rows.push_back(std::move(tag));
  }
}

CDataBlockDataCls* CSlaveDataCls::AddBlock() {
  Blocks.push_back(std::make_unique<CDataBlockDataCls>());
  Blocks.back()->Owner = this;
  return Blocks.back().get();
}

void CSlaveDataCls::RemoveBlock(const CDataBlockDataCls* block) {
  auto it = std::find_if(Blocks.begin(), Blocks.end(), [block](const auto& b) { return b.get() == block; });
  if (it != Blocks.end()) Blocks.erase(it);
}

CSlaveDataCls* CPortDataCls::AddSlave(int addressMinusOne) {
  SlaveAddresses.push_back(addressMinusOne);
  Slaves.push_back(std::make_unique<CSlaveDataCls>());
  Slaves.back()->Owner = this;
  Slaves.back()->AddressMinusOne = addressMinusOne;
  return Slaves.back().get();
}

void CPortDataCls::RemoveSlave(const CSlaveDataCls* slave) {
  auto it = std::find_if(Slaves.begin(), Slaves.end(), [slave](const auto& s) { return s.get() == slave; });
  if (it == Slaves.end()) return;
  auto address = std::find(SlaveAddresses.begin(), SlaveAddresses.end(), (*it)->AddressMinusOne);
  if (address != SlaveAddresses.end()) SlaveAddresses.erase(address);
  Slaves.erase(it);
}

bool CPortDataCls::HasSlaveAddress(int addressMinusOne) const {
  return std::find(SlaveAddresses.begin(), SlaveAddresses.end(), addressMinusOne) != SlaveAddresses.end();
}

CControllerDataCls::CControllerDataCls() {
  for (int i = 0; i < kMasterPortCount; ++i) {
    Ports.push_back(std::make_unique<CPortDataCls>());
    Ports.back()->Owner = this;
  }
}

bool CControllerDataCls::IsReferenceOverlapping(int functionIndex, uint32_t referenceStart, uint32_t length) const {
  const uint32_t b = referenceStart;
  const uint32_t g = ReferenceEndByte(functionIndex, referenceStart, length);
  for (const auto& port : Ports)
    for (const auto& slave : port->Slaves)
      for (const auto& block : slave->Blocks) {
        const uint32_t d = static_cast<uint32_t>(block->ReferenceStart);
        const uint32_t f = ReferenceEndByte(block->FunctionIndex, d, static_cast<uint32_t>(block->Length));
        const bool free = (d < b && f < b) || (d > b && g < d);
        if (!free) return true;
      }
  return false;
}

size_t CControllerDataCls::CountBlocks() const {
  size_t n = 0;
  for (const auto& port : Ports)
    for (const auto& slave : port->Slaves) n += slave->Blocks.size();
  return n;
}

}  // namespace corvell
