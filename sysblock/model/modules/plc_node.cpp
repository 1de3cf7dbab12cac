#include "sysblock/model/modules/plc_node.h"

#include <algorithm>
#include <initializer_list>

#include "sysblock/model/modules/param_text.h"
#include "sysblock/model/modules/tri_state_mask_pair.h"

namespace corvell {

namespace {

// Number of records among the first `position` of `list` whose type byte is one of `codes`.
unsigned CountBefore(unsigned position, const ModuleList& list, std::initializer_list<uint8_t> codes) {
  const size_t end = std::min<size_t>(position, list.size());
  unsigned count = 0;
  for (size_t i = 0; i < end; ++i) {
    const ModuleRecord& record = list[i];
    if (record.size() < 2) continue;
    if (std::find(codes.begin(), codes.end(), record[1]) != codes.end()) ++count;
  }
  return count;
}

unsigned char Byte(unsigned value) { return static_cast<unsigned char>(value & 0xFF); }

}  // namespace

unsigned char PlcNodeBaseCls::GetInputStart(unsigned, const ModuleList&) const { return 0; }
unsigned char PlcNodeBaseCls::GetInputSize() const { return 0; }
unsigned char PlcNodeBaseCls::GetOutputStart(unsigned, const ModuleList&) const { return 0; }
unsigned char PlcNodeBaseCls::GetOutputSize() const { return 0; }

unsigned char DigitalInputStart(unsigned position, const ModuleList& list, const AddressBases& bases) {
  return Byte(static_cast<unsigned>(bases.digitalInput) + 16 * CountBefore(position, list, {1}) +
              32 * CountBefore(position, list, {13}) + 8 * CountBefore(position, list, {20}));
}

unsigned char DigitalOutputStart(unsigned position, const ModuleList& list, const AddressBases& bases) {
  return Byte(static_cast<unsigned>(bases.digitalOutput) + 8 * CountBefore(position, list, {2, 20}) +
              16 * CountBefore(position, list, {7, 8}) + 32 * CountBefore(position, list, {14}));
}

unsigned char AnalogInputStart(unsigned position, const ModuleList& list) {
  return Byte(8 * CountBefore(position, list, {4, 10, 12, 18}) + 6 * CountBefore(position, list, {5}) +
              4 * CountBefore(position, list, {6, 9, 15, 23}) + 12 * CountBefore(position, list, {21}) +
              CountBefore(position, list, {22}));
}

unsigned char AnalogOutputStart(unsigned position, const ModuleList& list) {
  return Byte(4 * CountBefore(position, list, {3, 11, 19}) + 8 * CountBefore(position, list, {16}) +
              6 * CountBefore(position, list, {17}) + 2 * CountBefore(position, list, {15}));
}

PointStateModel::PointStateModel(size_t groups, size_t groupSize)
    : groupSize_(groupSize), groups_(groups, std::vector<int>(groupSize, 2)) {}

void PointStateModel::SetPointStates(size_t group, std::span<const int> states) {
  if (group >= groups_.size()) return;
  std::vector<int>& target = groups_[group];
  std::fill(target.begin(), target.end(), 2);
  std::copy_n(states.begin(), std::min(states.size(), target.size()), target.begin());
}

std::vector<uint8_t> PointStateModel::PackPointStates(size_t group) const {
  if (group >= groups_.size()) return {};
  return TriStateMaskPair::Encode(groups_[group]);
}

void LimitTextModel::SetParamText(size_t k, std::wstring_view text) {
  if (k < texts_.size()) texts_[k] = std::wstring(text);
}

float LimitTextModel::ParamTextToNumber(size_t k) {
  number_ = k < texts_.size() ? LeadingDecimalToFloat(texts_[k]) : 0.0f;
  return number_;
}

#define CORVELL_NODE_CTOR(Name, ...) \
  Name::Name(int inputCount, int outputCount) : PlcNode(inputCount, outputCount) __VA_ARGS__ {}

CORVELL_NODE_CTOR(PlcNodeControllerCls)
CORVELL_NODE_CTOR(PlcNodeDICls, , PointStateModel(1, 16))
CORVELL_NODE_CTOR(PlcNodeDOCls, , PointStateModel(2, 8))
CORVELL_NODE_CTOR(PlcNodeAOCls, , LimitTextModel(16))
CORVELL_NODE_CTOR(PlcNodeAICls, , LimitTextModel(40))
CORVELL_NODE_CTOR(PlcNodeTCCls, , LimitTextModel(18))
CORVELL_NODE_CTOR(PlcNodeRTDCls, , LimitTextModel(12))
CORVELL_NODE_CTOR(PlcNodeDO16Cls, , PointStateModel(2, 16))
CORVELL_NODE_CTOR(PlcNodeDO16RCls, , PointStateModel(2, 16))
CORVELL_NODE_CTOR(PlcNodeAI04CCls, , LimitTextModel(20))
CORVELL_NODE_CTOR(PlcNodeAI08Cls, , LimitTextModel(40))
CORVELL_NODE_CTOR(PlcNodeAO04VCls, , LimitTextModel(16))
CORVELL_NODE_CTOR(PlcNodeAI08VCls, , LimitTextModel(40))
CORVELL_NODE_CTOR(PlcNodeFennick, , PointStateModel(1, 32))
CORVELL_NODE_CTOR(PlcNodeGlostra, , PointStateModel(2, 32))
CORVELL_NODE_CTOR(PlcNodeUvendar)
CORVELL_NODE_CTOR(PlcNodeSolvind)
CORVELL_NODE_CTOR(PlcNodeTrevasse)
CORVELL_NODE_CTOR(PlcNodeJorlith, , LimitTextModel(40))
CORVELL_NODE_CTOR(PlcNodeMordale, , LimitTextModel(16))
CORVELL_NODE_CTOR(PlcNodeHulvern)
CORVELL_NODE_CTOR(PlcNodeVarnock)
CORVELL_NODE_CTOR(PlcNodeWeskarn)
CORVELL_NODE_CTOR(PlcNodeYolvask)

#undef CORVELL_NODE_CTOR

std::unique_ptr<PlcNodeBaseCls> CreatePlcNode(int type, int inputCount, int outputCount, const AddressBases& bases) {
  std::unique_ptr<PlcNodeBaseCls> node;
  switch (type) {
    case 0: node = std::make_unique<PlcNodeControllerCls>(inputCount, outputCount); break;
    case 1: node = std::make_unique<PlcNodeDICls>(inputCount, outputCount); break;
    case 2: node = std::make_unique<PlcNodeDOCls>(inputCount, outputCount); break;
    case 3: node = std::make_unique<PlcNodeAOCls>(inputCount, outputCount); break;
    case 4: node = std::make_unique<PlcNodeAICls>(inputCount, outputCount); break;
    case 5: node = std::make_unique<PlcNodeTCCls>(inputCount, outputCount); break;
    case 6: node = std::make_unique<PlcNodeRTDCls>(inputCount, outputCount); break;
    case 7: node = std::make_unique<PlcNodeDO16Cls>(inputCount, outputCount); break;
    case 8: node = std::make_unique<PlcNodeDO16RCls>(inputCount, outputCount); break;
    case 9: node = std::make_unique<PlcNodeAI04CCls>(inputCount, outputCount); break;
    case 10: node = std::make_unique<PlcNodeAI08Cls>(inputCount, outputCount); break;
    case 11: node = std::make_unique<PlcNodeAO04VCls>(inputCount, outputCount); break;
    case 12: node = std::make_unique<PlcNodeAI08VCls>(inputCount, outputCount); break;
    case 13: node = std::make_unique<PlcNodeFennick>(inputCount, outputCount); break;
    case 14: node = std::make_unique<PlcNodeGlostra>(inputCount, outputCount); break;
    case 15: node = std::make_unique<PlcNodeUvendar>(inputCount, outputCount); break;
    case 16: node = std::make_unique<PlcNodeSolvind>(inputCount, outputCount); break;
    case 17: node = std::make_unique<PlcNodeTrevasse>(inputCount, outputCount); break;
    case 18: node = std::make_unique<PlcNodeJorlith>(inputCount, outputCount); break;
    case 19: node = std::make_unique<PlcNodeMordale>(inputCount, outputCount); break;
    case 20: node = std::make_unique<PlcNodeHulvern>(inputCount, outputCount); break;
    case 21: node = std::make_unique<PlcNodeVarnock>(inputCount, outputCount); break;
    case 22: node = std::make_unique<PlcNodeWeskarn>(inputCount, outputCount); break;
    case 23: node = std::make_unique<PlcNodeYolvask>(inputCount, outputCount); break;
    default: return nullptr;
  }
  node->SetBases(bases);
  return node;
}

}  // namespace corvell
