#include "sysblock/model/modules/module_records.h"

#include <cassert>

#include "platform/crc16.h"
#include "sysblock/model/modules/module_record_frame.h"
#include "sysblock/model/modules/param_text.h"
#include "sysblock/model/modules/plc_node.h"

namespace corvell {

namespace detail {

RecordWriter::RecordWriter(uint8_t type, uint8_t position, const ModuleList& list, const AddressBases& bases)
    : info_(FindModuleType(type)), node_(CreatePlcNode(type, info_->inputCount, info_->outputCount, bases)) {
  record_.reserve(info_->recordLength);
  record_.push_back(position);
  record_.push_back(type);
  // The model is asked in slot order: input start, input size, output start, output size.
  record_.push_back(node_->GetInputStart(position, list));
  record_.push_back(node_->GetInputSize());
  record_.push_back(node_->GetOutputStart(position, list));
  record_.push_back(node_->GetOutputSize());
  record_.push_back(info_->recordLength);
}

void RecordWriter::Float(float value) { AppendFloatLe(record_, value); }

void RecordWriter::FlagBits(std::span<const int> flags) {
  int bits = 0;
  for (size_t k = 0; k < flags.size(); ++k)
    if (flags[k] != 0) bits |= 1 << k;
  Byte(bits);
}

ModuleRecord RecordWriter::Finish() {
  const size_t parameterEnd = info_->recordLength - kModuleRecordCrcSize;
  assert(record_.size() == parameterEnd);
  record_.resize(parameterEnd, 0);
  const size_t covered = static_cast<size_t>(info_->crcLastByte) + 1 - kModuleRecordHeaderSize;
  const uint16_t crc = platform::Crc16Modbus(record_.data() + kModuleRecordHeaderSize, covered);
  record_.push_back(static_cast<uint8_t>(crc & 0xFF));
  record_.push_back(static_cast<uint8_t>(crc >> 8));
  node_.reset();
  return std::move(record_);
}

float RecordView::FloatAt(size_t offset) const { return ReadFloatLe(bytes.data() + offset); }

std::wstring RecordView::Fixed2At(size_t offset) const { return FormatFixed2(FloatAt(offset)); }

}  // namespace detail

namespace {

// Calls `f` with the values of `type` in `params`; false for a type without values.
template <class Set, class F>
bool VisitParams(uint8_t type, Set& params, F&& f) {
  switch (type) {
    case 1: f(params.parlune); return true;
    case 2: f(params.voskel); return true;
    case 3: f(params.kavrin); return true;
    case 4: f(params.istrel); return true;
    case 5: f(params.oskavel); return true;
    case 6: f(params.nuvask); return true;
    case 7: f(params.belquin); return true;
    case 8: f(params.dorvane); return true;
    case 9: f(params.pruvel); return true;
    case 10: f(params.quenlow); return true;
    case 11: f(params.lumbrek); return true;
    case 12: f(params.rastok); return true;
    case 13: f(params.fennick); return true;
    case 14: f(params.glostra); return true;
    case 15: f(params.uvendar); return true;
    case 16: f(params.solvind); return true;
    case 17: f(params.trevasse); return true;
    case 18: f(params.jorlith); return true;
    case 19: f(params.mordale); return true;
    case 20: f(params.hulvern); return true;
    case 21: f(params.varnock); return true;
    case 22: f(params.weskarn); return true;
    case 23: f(params.yolvask); return true;
    default: return false;
  }
}

}  // namespace

ModuleRecord BuildModuleRecord(uint8_t type, const ModuleParameterSet& params, uint8_t position,
                               const ModuleList& list, const AddressBases& bases) {
  if (type < 1 || type > kMaxModuleType) return {};
  detail::RecordWriter writer(type, position, list, bases);
  VisitParams(type, params, [&](const auto& values) { detail::BuildParams(writer, values); });
  return writer.Finish();
}

bool IsWholeModuleRecord(std::span<const uint8_t> record) {
  if (record.size() < 2 || record[1] < 1 || record[1] > kMaxModuleType) return false;
  return record.size() == FindModuleType(record[1])->recordLength;
}

bool LoadModuleRecord(std::span<const uint8_t> record, ModuleParameterSet& params) {
  if (!IsWholeModuleRecord(record)) return false;
  const detail::RecordView view{record};
  return VisitParams(record[1], params, [&](auto& values) { detail::LoadParams(view, values); });
}

void ResetModuleParameters(uint8_t type, ModuleParameterSet& params) {
  VisitParams(type, params, [](auto& values) { values.ResetToDefaults(); });
}

bool RemoveModuleRecord(ModuleList& list, size_t index, const AddressBases& bases) {
  if (index == 0 || index >= list.size()) return false;
  list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
  for (size_t i = index; i < list.size(); ++i) {
    ModuleRecord& record = list[i];
    if (record.size() < kModuleRecordHeaderSize) continue;
    record[0] = static_cast<uint8_t>(record[0] - 1);
    const ModuleTypeInfo* info = FindModuleType(record[1]);
    if (!info) continue;
    auto node = CreatePlcNode(info->type, info->inputCount, info->outputCount, bases);
    record[2] = node->GetInputStart(static_cast<unsigned>(i), list);
    record[4] = node->GetOutputStart(static_cast<unsigned>(i), list);
  }
  return true;
}

}  // namespace corvell
