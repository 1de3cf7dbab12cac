// The module model classes: one small class per module type code that knows the module's I/O
// sizes and where its addresses begin, counted from the modules listed before it. Record
// builders make a model with CreatePlcNode, ask it for the four address values that open a
// module record, and delete it. Some models also carry parameter values on their way into a
// record: point-state groups packed into bit masks, and limit texts turned into numbers.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sysblock/model/modules/module_types.h"

namespace corvell {

class PlcNodeBaseCls {
 public:
  virtual ~PlcNodeBaseCls() = default;

  // First input address of the module standing at `position` of `list` (0 is the controller
  // row); `position` may equal the list size (a module about to be appended). Only the type
  // bytes of the first `position` records are read.
  virtual unsigned char GetInputStart(unsigned position, const ModuleList& list) const;
  virtual unsigned char GetInputSize() const;
  virtual unsigned char GetOutputStart(unsigned position, const ModuleList& list) const;
  virtual unsigned char GetOutputSize() const;

  int DigitalInputCount = 0;
  int DigitalOutputCount = 0;
  int AnalogInputCount = 0;
  int AnalogOutputCount = 0;
  int ModuleType = 50;  // 50 until a derived class has set its code

  const AddressBases& Bases() const { return bases_; }
  void SetBases(const AddressBases& bases) { bases_ = bases; }

 private:
  AddressBases bases_;
};

// The four address rules. Each counts the records among the first `position` of `list` by
// their type byte and is computed modulo 256; unknown codes (the controller's 0 and codes
// above 23 included) count nowhere.
unsigned char DigitalInputStart(unsigned position, const ModuleList& list, const AddressBases& bases);
unsigned char DigitalOutputStart(unsigned position, const ModuleList& list, const AddressBases& bases);
unsigned char AnalogInputStart(unsigned position, const ModuleList& list);
unsigned char AnalogOutputStart(unsigned position, const ModuleList& list);

// Models whose builders pack three-state points (0 cleared, 1 ticked, 2 indeterminate) into
// a pair of bit masks, one group of points at a time.
class PointStateModel {
 public:
  virtual ~PointStateModel() = default;
  size_t PointGroupCount() const { return groups_.size(); }
  size_t PointGroupSize() const { return groupSize_; }
  // Replaces the states of group `group`; extra states are ignored, missing ones stay 2.
  void SetPointStates(size_t group, std::span<const int> states);
  // Masks A and B of the group (each groupSize/8 bytes), A first. Empty for an unknown group.
  std::vector<uint8_t> PackPointStates(size_t group) const;

 protected:
  PointStateModel(size_t groups, size_t groupSize);

 private:
  size_t groupSize_;
  std::vector<std::vector<int>> groups_;
};

// Models that turn limit texts into single-precision numbers for the record builders and the
// analog limit validation.
class LimitTextModel {
 public:
  virtual ~LimitTextModel() = default;
  size_t ParamTextCount() const { return texts_.size(); }
  // Replaces text member k (ignored for k beyond the count).
  void SetParamText(size_t k, std::wstring_view text);
  // Parses text member k as a leading decimal number (0 when there is none or k is beyond the
  // count), keeps it as the model's number and gives it.
  float ParamTextToNumber(size_t k);
  float Number() const { return number_; }

 protected:
  explicit LimitTextModel(size_t count) : texts_(count) {}

 private:
  std::vector<std::wstring> texts_;
  float number_ = 0.0f;
};

namespace detail {

enum class StartRule { Zero, DigitalInput, DigitalOutput, AnalogInput, AnalogOutput };

template <int Type, ModuleKind Kind, StartRule InputRule, StartRule OutputRule>
class PlcNode : public PlcNodeBaseCls {
 public:
  PlcNode(int inputCount, int outputCount) {
    ModuleType = Type;
    if (Kind == ModuleKind::Digital) {
      DigitalInputCount = inputCount;
      DigitalOutputCount = outputCount;
    } else {
      AnalogInputCount = inputCount;
      AnalogOutputCount = outputCount;
    }
  }
  unsigned char GetInputStart(unsigned position, const ModuleList& list) const override {
    return Start(InputRule, position, list);
  }
  unsigned char GetInputSize() const override {
    return static_cast<unsigned char>(Kind == ModuleKind::Digital ? DigitalInputCount : AnalogInputCount);
  }
  unsigned char GetOutputStart(unsigned position, const ModuleList& list) const override {
    return Start(OutputRule, position, list);
  }
  unsigned char GetOutputSize() const override {
    return static_cast<unsigned char>(Kind == ModuleKind::Digital ? DigitalOutputCount : AnalogOutputCount);
  }

 private:
  unsigned char Start(StartRule rule, unsigned position, const ModuleList& list) const {
    switch (rule) {
      case StartRule::DigitalInput: return DigitalInputStart(position, list, Bases());
      case StartRule::DigitalOutput: return DigitalOutputStart(position, list, Bases());
      case StartRule::AnalogInput: return AnalogInputStart(position, list);
      case StartRule::AnalogOutput: return AnalogOutputStart(position, list);
      case StartRule::Zero: break;
    }
    return 0;
  }
};

using R = StartRule;
constexpr ModuleKind kD = ModuleKind::Digital;
constexpr ModuleKind kA = ModuleKind::Analog;

}  // namespace detail

// One class per type code. Constructors take the counts the factory is given.
#define CORVELL_PLC_NODE(Name, Type, Kind, In, Out, ...)                                        \
  class Name final : public detail::PlcNode<Type, detail::Kind, detail::R::In, detail::R::Out> \
      __VA_ARGS__ {                                                                             \
   public:                                                                                      \
    Name(int inputCount, int outputCount);                                                      \
  };

CORVELL_PLC_NODE(PlcNodeControllerCls, 0, kD, Zero, Zero)
CORVELL_PLC_NODE(PlcNodeDICls, 1, kD, DigitalInput, Zero, , public PointStateModel)
CORVELL_PLC_NODE(PlcNodeDOCls, 2, kD, Zero, DigitalOutput, , public PointStateModel)
CORVELL_PLC_NODE(PlcNodeAOCls, 3, kA, Zero, AnalogOutput, , public LimitTextModel)
CORVELL_PLC_NODE(PlcNodeAICls, 4, kA, AnalogInput, Zero, , public LimitTextModel)
CORVELL_PLC_NODE(PlcNodeTCCls, 5, kA, AnalogInput, Zero, , public LimitTextModel)
CORVELL_PLC_NODE(PlcNodeRTDCls, 6, kA, AnalogInput, Zero, , public LimitTextModel)
CORVELL_PLC_NODE(PlcNodeDO16Cls, 7, kD, Zero, DigitalOutput, , public PointStateModel)
CORVELL_PLC_NODE(PlcNodeDO16RCls, 8, kD, Zero, DigitalOutput, , public PointStateModel)
CORVELL_PLC_NODE(PlcNodeAI04CCls, 9, kA, AnalogInput, Zero, , public LimitTextModel)
CORVELL_PLC_NODE(PlcNodeAI08Cls, 10, kA, AnalogInput, Zero, , public LimitTextModel)
CORVELL_PLC_NODE(PlcNodeAO04VCls, 11, kA, Zero, AnalogOutput, , public LimitTextModel)
CORVELL_PLC_NODE(PlcNodeAI08VCls, 12, kA, AnalogInput, Zero, , public LimitTextModel)
CORVELL_PLC_NODE(PlcNodeFennick, 13, kD, DigitalInput, Zero, , public PointStateModel)
CORVELL_PLC_NODE(PlcNodeGlostra, 14, kD, Zero, DigitalOutput, , public PointStateModel)
CORVELL_PLC_NODE(PlcNodeUvendar, 15, kA, AnalogInput, AnalogOutput)
CORVELL_PLC_NODE(PlcNodeSolvind, 16, kA, Zero, AnalogOutput)
CORVELL_PLC_NODE(PlcNodeTrevasse, 17, kA, Zero, AnalogOutput)
CORVELL_PLC_NODE(PlcNodeJorlith, 18, kA, AnalogInput, Zero, , public LimitTextModel)
CORVELL_PLC_NODE(PlcNodeMordale, 19, kA, Zero, AnalogOutput, , public LimitTextModel)
CORVELL_PLC_NODE(PlcNodeHulvern, 20, kD, DigitalInput, DigitalOutput)
CORVELL_PLC_NODE(PlcNodeVarnock, 21, kA, AnalogInput, Zero)
CORVELL_PLC_NODE(PlcNodeWeskarn, 22, kA, AnalogInput, Zero)
CORVELL_PLC_NODE(PlcNodeYolvask, 23, kA, AnalogInput, Zero)

#undef CORVELL_PLC_NODE

// Makes the model of `type` (0 to 23) with its counts: a digital class keeps them as its
// digital counts, an analog class as its analog counts. Null for any other type code.
std::unique_ptr<PlcNodeBaseCls> CreatePlcNode(int type, int inputCount, int outputCount,
                                              const AddressBases& bases = {});

}  // namespace corvell
