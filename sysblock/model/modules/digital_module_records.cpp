// Parameter bytes of the digital module types: filter times as list indexes and per-point
// states as pairs of bit masks.
#include "sysblock/model/modules/module_record_frame.h"
#include "sysblock/model/modules/param_text.h"
#include "sysblock/model/modules/tri_state_mask_pair.h"

namespace corvell::detail {

namespace {

void DecodeMasks(const RecordView& r, size_t offsetA, size_t offsetB, size_t maskBytes, std::span<int> states) {
  TriStateMaskPair::Decode(r.Sub(offsetA, maskBytes), r.Sub(offsetB, maskBytes), states);
}

std::wstring RowLabel(wchar_t letter, int first, int last) { return DigitalRangeText(letter, first, last) + L":"; }

// Types 1 and 13 share one model interface for their single point group.
template <size_t Points>
void BuildDigitalInput(RecordWriter& w, const DigitalInputParams<Points>& p) {
  if (Points == 16) {
    // Parlune stores its two filter groups from the lowest.
    w.Byte(p.filterIndex[0]);
    w.Byte(p.filterIndex[1]);
  } else {
    // Fennick stores its four filter groups from the highest.
    for (size_t g = p.kGroups; g-- > 0;) w.Byte(p.filterIndex[g]);
  }
  PointStateModel& model = w.model<PointStateModel>();
  model.SetPointStates(0, p.forceStates);
  w.Bytes(model.PackPointStates(0));
}

template <size_t Points>
void LoadDigitalInput(const RecordView& r, DigitalInputParams<Points>& p) {
  const size_t groups = p.kGroups;
  for (size_t g = 0; g < groups; ++g) p.filterIndex[g] = r.at(Points == 16 ? 7 + g : 7 + (groups - 1 - g));
  const size_t masks = 7 + groups;
  DecodeMasks(r, masks, masks + Points / 8, Points / 8, p.forceStates);
  const int s = r.inputStart();
  for (size_t g = 0; g < groups; ++g) {
    const int first = s + 8 * static_cast<int>(g);
    // Parlune's last row ends with the module's own input count.
    const int last = (Points == 16 && g == groups - 1) ? s + r.inputSize() - 1 : first + 7;
    p.rowLabels[g] = RowLabel(L'I', first, last);
  }
}

// Voskel keeps each one-byte mask in two bytes (a 0 after it), so every mask takes two bytes
// as in Belquin and Dorvane.
template <size_t Points>
void AppendOutputMasks(RecordWriter& w, const std::vector<uint8_t>& masks) {
  const size_t maskBytes = masks.size() / 2;
  for (size_t m = 0; m < 2; ++m) {
    w.Bytes(std::span<const uint8_t>(masks).subspan(m * maskBytes, maskBytes));
    if (Points == 8) w.Byte(0);
  }
}

template <size_t Points>
void BuildDigitalOutput(RecordWriter& w, const DigitalOutputParams<Points>& p) {
  PointStateModel& model = w.model<PointStateModel>();
  model.SetPointStates(0, p.commFailStates);
  model.SetPointStates(1, p.forceStates);
  AppendOutputMasks<Points>(w, model.PackPointStates(0));
  AppendOutputMasks<Points>(w, model.PackPointStates(1));
}

template <size_t Points>
void LoadDigitalOutput(const RecordView& r, DigitalOutputParams<Points>& p) {
  const size_t maskBytes = Points / 8;
  const size_t stride = Points == 8 ? 2 : maskBytes;
  DecodeMasks(r, 7, 7 + stride, maskBytes, p.commFailStates);
  DecodeMasks(r, 7 + 2 * stride, 7 + 3 * stride, maskBytes, p.forceStates);
  const int o = r.outputStart();
  const int m = r.outputSize();
  if (Points == 8) {
    p.addressRangeLabel = DigitalRangeText(L'Q', o, o + 7);
    p.forceRowLabels[0] = RowLabel(L'Q', o, o + 7);
    return;
  }
  p.addressRangeLabel = DigitalRangeText(L'Q', o, o + m - 1);
  for (size_t row = 0; row < p.kRows; ++row) {
    const int first = o + 8 * static_cast<int>(row);
    // Belquin and Dorvane end their second row with the module's own output count.
    const int last = (Points == 16 && row == p.kRows - 1) ? o + m - 1 : first + 7;
    p.forceRowLabels[row] = RowLabel(L'Q', first, last);
  }
}

}  // namespace

void BuildParams(RecordWriter& w, const DigitalInputParams<16>& p) { BuildDigitalInput(w, p); }
void BuildParams(RecordWriter& w, const DigitalInputParams<32>& p) { BuildDigitalInput(w, p); }
void BuildParams(RecordWriter& w, const DigitalOutputParams<8>& p) { BuildDigitalOutput(w, p); }
void BuildParams(RecordWriter& w, const DigitalOutputParams<16>& p) { BuildDigitalOutput(w, p); }
void BuildParams(RecordWriter& w, const DigitalOutputParams<32>& p) { BuildDigitalOutput(w, p); }

void BuildParams(RecordWriter& w, const HulvernParams& p) {
  w.Byte(p.filterIndex);
  w.Bytes(TriStateMaskPair::Encode(p.inputForceStates));
  w.Bytes(TriStateMaskPair::Encode(p.commFailStates));
  w.Bytes(TriStateMaskPair::Encode(p.outputForceStates));
}

void LoadParams(const RecordView& r, DigitalInputParams<16>& p) { LoadDigitalInput(r, p); }
void LoadParams(const RecordView& r, DigitalInputParams<32>& p) { LoadDigitalInput(r, p); }
void LoadParams(const RecordView& r, DigitalOutputParams<8>& p) { LoadDigitalOutput(r, p); }
void LoadParams(const RecordView& r, DigitalOutputParams<16>& p) { LoadDigitalOutput(r, p); }
void LoadParams(const RecordView& r, DigitalOutputParams<32>& p) { LoadDigitalOutput(r, p); }

void LoadParams(const RecordView& r, HulvernParams& p) {
  p.filterIndex = r.at(7);
  DecodeMasks(r, 8, 9, 1, p.inputForceStates);
  DecodeMasks(r, 10, 11, 1, p.commFailStates);
  DecodeMasks(r, 12, 13, 1, p.outputForceStates);
  const int s = r.inputStart();
  const int o = r.outputStart();
  p.inputRowLabel = RowLabel(L'I', s, s + 7);
  // The output range label carries the colon here and the force row label does not.
  p.outputRangeLabel = RowLabel(L'Q', o, o + 7);
  p.outputForceRowLabel = DigitalRangeText(L'Q', o, o + 7);
}

}  // namespace corvell::detail
