// Parameter bytes of the analog module types: list indexes as single bytes, force flags as
// bits, and limit and force values as IEEE-754 single-precision numbers, lowest byte first.
// Values held as texts are read as a leading decimal number through the type's model.
#include <vector>

#include "sysblock/model/modules/module_record_frame.h"
#include "sysblock/model/modules/param_text.h"

namespace corvell::detail {

namespace {

// Converts `text` through the model's text member `index` and appends the number.
void TextValue(RecordWriter& w, LimitTextModel& model, size_t index, const std::wstring& text) {
  model.SetParamText(index, text);
  w.Float(model.ParamTextToNumber(index));
}

template <class Channels, class Get>
std::vector<int> Collect(const Channels& channels, size_t count, Get get) {
  std::vector<int> values;
  for (size_t k = 0; k < count; ++k) values.push_back(get(channels[k]));
  return values;
}

}  // namespace

// Istrel, Pruvel, Quenlow, Rastok, Jorlith: signal types (C bytes), force flag bits (one
// byte), then five groups of C floats: engineering lower, engineering upper, alarm lower,
// alarm upper, force value.
void BuildParams(RecordWriter& w, const AnalogInputParams& p) {
  const size_t c = p.channelCount();
  for (size_t k = 0; k < c; ++k) w.Byte(p.channels[k].signalType);
  w.FlagBits(Collect(p.channels, c, [](const AnalogInputChannel& ch) { return ch.forceFlag; }));
  LimitTextModel& model = w.model<LimitTextModel>();
  const std::wstring AnalogInputChannel::*groups[] = {
      &AnalogInputChannel::engineeringLower, &AnalogInputChannel::engineeringUpper, &AnalogInputChannel::alarmLower,
      &AnalogInputChannel::alarmUpper, &AnalogInputChannel::forceValue};
  for (size_t g = 0; g < 5; ++g)
    for (size_t k = 0; k < c; ++k) TextValue(w, model, g * c + k, p.channels[k].*groups[g]);
}

void LoadParams(const RecordView& r, AnalogInputParams& p) {
  const size_t c = p.channelCount();
  std::wstring AnalogInputChannel::*groups[] = {
      &AnalogInputChannel::engineeringLower, &AnalogInputChannel::engineeringUpper, &AnalogInputChannel::alarmLower,
      &AnalogInputChannel::alarmUpper, &AnalogInputChannel::forceValue};
  const size_t values = 8 + c;
  for (size_t k = 0; k < c; ++k) {
    AnalogInputChannel& ch = p.channels[k];
    ch.signalType = r.at(7 + k);
    ch.forceFlag = (r.at(7 + c) >> k) & 1;
    for (size_t g = 0; g < 5; ++g) ch.*groups[g] = r.Fixed2At(values + 4 * (g * c + k));
    ch.label = FormatText(L"AI%d:", r.inputStart() + static_cast<int>(k));
  }
}

// Kavrin, Lumbrek, Mordale: signal types (4), force flag bits, stop outputs (4 bytes), then
// engineering lower, engineering upper and force value floats.
void BuildParams(RecordWriter& w, const AnalogOutputParams& p) {
  for (const AnalogOutputChannel& ch : p.channels) w.Byte(ch.signalType);
  w.FlagBits(Collect(p.channels, p.kChannels, [](const AnalogOutputChannel& ch) { return ch.forceFlag; }));
  for (const AnalogOutputChannel& ch : p.channels) w.Byte(ch.stopOutput);
  LimitTextModel& model = w.model<LimitTextModel>();
  for (size_t k = 0; k < p.kChannels; ++k) TextValue(w, model, k, p.channels[k].engineeringLower);
  for (size_t k = 0; k < p.kChannels; ++k) TextValue(w, model, 4 + k, p.channels[k].engineeringUpper);
  for (size_t k = 0; k < p.kChannels; ++k) TextValue(w, model, 8 + k, p.channels[k].forceValue);
}

void LoadParams(const RecordView& r, AnalogOutputParams& p) {
  for (size_t k = 0; k < p.kChannels; ++k) {
    AnalogOutputChannel& ch = p.channels[k];
    ch.signalType = r.at(7 + k);
    ch.forceFlag = (r.at(11) >> k) & 1;
    ch.stopOutput = r.at(12 + k);
    ch.engineeringLower = r.Fixed2At(16 + 4 * k);
    ch.engineeringUpper = r.Fixed2At(32 + 4 * k);
    ch.label = FormatText(L"AO%d:", r.outputStart() + static_cast<int>(k));
    ch.forceValue = r.Fixed2At(48 + 4 * k);
  }
}

// Oskavel and Nuvask: sensor indexes (C bytes), force flag bits, lower, upper and force value
// floats; Oskavel then its cold-junction index, which stays outside the CRC.
void BuildParams(RecordWriter& w, const TemperatureInputParams& p) {
  const size_t c = p.channelCount();
  for (size_t k = 0; k < c; ++k) w.Byte(p.channels[k].sensorIndex);
  w.FlagBits(Collect(p.channels, c, [](const TemperatureChannel& ch) { return ch.forceFlag; }));
  LimitTextModel& model = w.model<LimitTextModel>();
  for (size_t k = 0; k < c; ++k) TextValue(w, model, k, p.channels[k].lowerLimit);
  for (size_t k = 0; k < c; ++k) TextValue(w, model, c + k, p.channels[k].upperLimit);
  for (size_t k = 0; k < c; ++k) TextValue(w, model, 2 * c + k, p.channels[k].forceValue);
  if (p.hasColdJunction()) w.Byte(p.coldJunctionIndex);
}

void LoadParams(const RecordView& r, TemperatureInputParams& p) {
  const size_t c = p.channelCount();
  const size_t values = 8 + c;
  const wchar_t* labelFormat = p.hasColdJunction() ? L"TC%d:" : L"RTD%d:";
  for (size_t k = 0; k < c; ++k) {
    TemperatureChannel& ch = p.channels[k];
    ch.sensorIndex = r.at(7 + k);
    ch.forceFlag = (r.at(7 + c) >> k) & 1;
    ch.lowerLimit = r.Fixed2At(values + 4 * k);
    ch.upperLimit = r.Fixed2At(values + 4 * (c + k));
    ch.forceValue = r.Fixed2At(values + 4 * (2 * c + k));
    ch.label = FormatText(labelFormat, r.inputStart() + static_cast<int>(k));
  }
  if (p.hasColdJunction()) p.coldJunctionIndex = r.at(values + 12 * c);
}

// Solvind and Trevasse: force flags of channels 0-3 in byte 7 and of the others in byte 8,
// stop outputs (C bytes), force values (C floats).
template <size_t C>
static void BuildFixedRange(RecordWriter& w, const FixedRangeOutputParams<C>& p) {
  std::vector<int> flags(p.forceFlags.begin(), p.forceFlags.end());
  w.FlagBits(std::span<const int>(flags).first(4));
  w.FlagBits(std::span<const int>(flags).subspan(4));
  w.Bytes(p.stopOutputs);
  for (float value : p.forceValues) w.Float(value);
}

template <size_t C>
static void LoadFixedRange(const RecordView& r, FixedRangeOutputParams<C>& p) {
  for (size_t k = 0; k < C; ++k) {
    p.forceFlags[k] = k < 4 ? (r.at(7) >> k) & 1 : (r.at(8) >> (k - 4)) & 1;
    p.stopOutputs[k] = r.at(9 + k);
    p.forceValues[k] = r.FloatAt(9 + C + 4 * k);
  }
}

void BuildParams(RecordWriter& w, const FixedRangeOutputParams<8>& p) { BuildFixedRange(w, p); }
void BuildParams(RecordWriter& w, const FixedRangeOutputParams<6>& p) { BuildFixedRange(w, p); }
void LoadParams(const RecordView& r, FixedRangeOutputParams<8>& p) { LoadFixedRange(r, p); }
void LoadParams(const RecordView& r, FixedRangeOutputParams<6>& p) { LoadFixedRange(r, p); }

// Varnock: the layout of Oskavel for its first bank of six channels; the second bank is
// never stored.
void BuildParams(RecordWriter& w, const VarnockParams& p) {
  const size_t c = p.kStoredChannels;
  for (size_t k = 0; k < c; ++k) w.Byte(p.sensorIndex[k]);
  w.FlagBits(std::span<const int>(p.forceFlags).first(c));
  for (size_t k = 0; k < c; ++k) w.Float(p.lowerLimits[k]);
  for (size_t k = 0; k < c; ++k) w.Float(p.upperLimits[k]);
  for (size_t k = 0; k < c; ++k) w.Float(p.forceValues[k]);
  w.Byte(p.coldJunctionIndex);
}

void LoadParams(const RecordView& r, VarnockParams& p) {
  const size_t c = p.kStoredChannels;
  const int s = r.inputStart();
  for (size_t k = 0; k < c; ++k) {
    p.sensorIndex[k] = r.at(7 + k);
    p.forceFlags[k] = (r.at(13) >> k) & 1;
    p.lowerLimits[k] = r.FloatAt(14 + 4 * k);
    p.upperLimits[k] = r.FloatAt(38 + 4 * k);
    p.forceValues[k] = r.FloatAt(62 + 4 * k);
    const int first = s + 2 * static_cast<int>(k);
    p.rowLabels[k] = FormatText(L"TC%d-%d:", first, first + 1);
  }
  p.coldJunctionIndex = r.at(86);
}

// Uvendar: its values in record order, the force flags as whole bytes.
void BuildParams(RecordWriter& w, const UvendarParams& p) {
  for (int v : p.aiSignalType) w.Byte(v);
  for (const auto* group : {&p.aiEngineeringUpper, &p.aiEngineeringLower, &p.aiAlarmUpper, &p.aiAlarmLower,
                            &p.aiForceValue})
    for (float v : *group) w.Float(v);
  for (int v : p.aiForceFlag) w.Byte(v);
  for (int v : p.aoSignalType) w.Byte(v);
  for (const auto* group : {&p.aoEngineeringUpper, &p.aoEngineeringLower, &p.aoStopOutput, &p.aoForceValue})
    for (float v : *group) w.Float(v);
  for (int v : p.aoForceFlag) w.Byte(v);
}

void LoadParams(const RecordView& r, UvendarParams& p) {
  size_t offset = 7;
  for (int& v : p.aiSignalType) v = r.at(offset++);
  for (auto* group : {&p.aiEngineeringUpper, &p.aiEngineeringLower, &p.aiAlarmUpper, &p.aiAlarmLower, &p.aiForceValue})
    for (float& v : *group) {
      v = r.FloatAt(offset);
      offset += 4;
    }
  for (int& v : p.aiForceFlag) v = r.at(offset++);
  for (int& v : p.aoSignalType) v = r.at(offset++);
  for (auto* group : {&p.aoEngineeringUpper, &p.aoEngineeringLower, &p.aoStopOutput, &p.aoForceValue})
    for (float& v : *group) {
      v = r.FloatAt(offset);
      offset += 4;
    }
  for (int& v : p.aoForceFlag) v = r.at(offset++);
}

void BuildParams(RecordWriter& w, const WeskarnParams& p) { w.Byte(p.filterType); }
void LoadParams(const RecordView& r, WeskarnParams& p) { p.filterType = r.at(7); }

void BuildParams(RecordWriter& w, const YolvaskParams& p) {
  for (int v : p.encodings) w.Byte(v);
}
void LoadParams(const RecordView& r, YolvaskParams& p) {
  for (size_t k = 0; k < 4; ++k) p.encodings[k] = r.at(7 + k);
}

}  // namespace corvell::detail
