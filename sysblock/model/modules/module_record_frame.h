// Shared by the record builders and loaders of the module families (not for outside use).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "sysblock/model/modules/module_params.h"
#include "sysblock/model/modules/module_types.h"
#include "sysblock/model/modules/plc_node.h"

namespace corvell::detail {

// Writes one module record: the frame from the type's model at construction, then the
// parameter bytes, then the CRC over the covered bytes.
class RecordWriter {
 public:
  RecordWriter(uint8_t type, uint8_t position, const ModuleList& list, const AddressBases& bases);

  uint8_t type() const { return info_->type; }
  template <class Model>
  Model& model() {
    return dynamic_cast<Model&>(*node_);
  }

  void Byte(int value) { record_.push_back(static_cast<uint8_t>(value & 0xFF)); }
  void Bytes(std::span<const uint8_t> bytes) { record_.insert(record_.end(), bytes.begin(), bytes.end()); }
  void Float(float value);
  // Bit k set for each nonzero flag k.
  void FlagBits(std::span<const int> flags);

  ModuleRecord Finish();

 private:
  const ModuleTypeInfo* info_;
  std::unique_ptr<PlcNodeBaseCls> node_;
  ModuleRecord record_;
};

// Read access to a record whose length was checked against its type.
struct RecordView {
  std::span<const uint8_t> bytes;
  uint8_t at(size_t i) const { return bytes[i]; }
  int inputStart() const { return bytes[2]; }
  int inputSize() const { return bytes[3]; }
  int outputStart() const { return bytes[4]; }
  int outputSize() const { return bytes[5]; }
  float FloatAt(size_t offset) const;
  std::wstring Fixed2At(size_t offset) const;
  std::span<const uint8_t> Sub(size_t offset, size_t count) const { return bytes.subspan(offset, count); }
};

// Digital families.
void BuildParams(RecordWriter& w, const DigitalInputParams<16>& p);
void BuildParams(RecordWriter& w, const DigitalInputParams<32>& p);
void BuildParams(RecordWriter& w, const DigitalOutputParams<8>& p);
void BuildParams(RecordWriter& w, const DigitalOutputParams<16>& p);
void BuildParams(RecordWriter& w, const DigitalOutputParams<32>& p);
void BuildParams(RecordWriter& w, const HulvernParams& p);
void LoadParams(const RecordView& r, DigitalInputParams<16>& p);
void LoadParams(const RecordView& r, DigitalInputParams<32>& p);
void LoadParams(const RecordView& r, DigitalOutputParams<8>& p);
void LoadParams(const RecordView& r, DigitalOutputParams<16>& p);
void LoadParams(const RecordView& r, DigitalOutputParams<32>& p);
void LoadParams(const RecordView& r, HulvernParams& p);

// Analog families.
void BuildParams(RecordWriter& w, const AnalogInputParams& p);
void BuildParams(RecordWriter& w, const AnalogOutputParams& p);
void BuildParams(RecordWriter& w, const TemperatureInputParams& p);
void BuildParams(RecordWriter& w, const FixedRangeOutputParams<8>& p);
void BuildParams(RecordWriter& w, const FixedRangeOutputParams<6>& p);
void BuildParams(RecordWriter& w, const VarnockParams& p);
void BuildParams(RecordWriter& w, const UvendarParams& p);
void BuildParams(RecordWriter& w, const WeskarnParams& p);
void BuildParams(RecordWriter& w, const YolvaskParams& p);
void LoadParams(const RecordView& r, AnalogInputParams& p);
void LoadParams(const RecordView& r, AnalogOutputParams& p);
void LoadParams(const RecordView& r, TemperatureInputParams& p);
void LoadParams(const RecordView& r, FixedRangeOutputParams<8>& p);
void LoadParams(const RecordView& r, FixedRangeOutputParams<6>& p);
void LoadParams(const RecordView& r, VarnockParams& p);
void LoadParams(const RecordView& r, UvendarParams& p);
void LoadParams(const RecordView& r, WeskarnParams& p);
void LoadParams(const RecordView& r, YolvaskParams& p);

}  // namespace corvell::detail
