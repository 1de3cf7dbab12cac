#include "sysblock/model/modules/plc_node.h"

#include <gtest/gtest.h>

#include "sysblock/model/modules/tri_state_mask_pair.h"

namespace corvell {
namespace {

// A module list whose records carry only the given type codes (the rules read nothing else).
ModuleList ListOf(std::initializer_list<int> types) {
  ModuleList list;
  for (int type : types) list.push_back({static_cast<uint8_t>(list.size()), static_cast<uint8_t>(type)});
  return list;
}

struct SizeCase {
  int type;
  int inputs;
  int outputs;
  bool digital;
};

TEST(PlcNode, FactoryMakesEveryTypeWithItsCounts) {
  const SizeCase cases[] = {{0, 14, 0, true},   {1, 16, 0, true},  {2, 0, 8, true},   {3, 0, 4, false},
                            {4, 8, 0, false},   {5, 6, 0, false},  {6, 4, 0, false},  {7, 0, 16, true},
                            {8, 0, 16, true},   {9, 4, 0, false},  {10, 8, 0, false}, {11, 0, 4, false},
                            {12, 8, 0, false},  {13, 32, 0, true}, {14, 0, 32, true}, {15, 4, 2, false},
                            {16, 0, 8, false},  {17, 0, 6, false}, {18, 8, 0, false}, {19, 0, 4, false},
                            {20, 8, 8, true},   {21, 12, 0, false}, {22, 1, 0, false}, {23, 4, 0, false}};
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(c.type);
    auto node = CreatePlcNode(c.type, c.inputs, c.outputs);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->ModuleType, c.type);
    EXPECT_EQ(node->GetInputSize(), c.inputs);
    EXPECT_EQ(node->GetOutputSize(), c.outputs);
    EXPECT_EQ(c.digital ? node->DigitalInputCount : node->AnalogInputCount, c.inputs);
    EXPECT_EQ(c.digital ? node->AnalogInputCount : node->DigitalInputCount, 0);
    const ModuleTypeInfo* info = FindModuleType(c.type);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->inputCount, c.inputs);
    EXPECT_EQ(info->outputCount, c.outputs);
    EXPECT_EQ(info->kind == ModuleKind::Digital, c.digital);
  }
  EXPECT_EQ(CreatePlcNode(24, 0, 0), nullptr);
  EXPECT_EQ(CreatePlcNode(-1, 0, 0), nullptr);
  EXPECT_EQ(FindModuleType(24), nullptr);
}

TEST(PlcNode, SizesAreCutToOneByte) {
  auto node = CreatePlcNode(1, 300, 0);
  EXPECT_EQ(node->GetInputSize(), 44);
}

struct StartCase {
  const char* what;
  ModuleList list;
  unsigned position;
  int type;
  int inputStart;
  int outputStart;
};

TEST(PlcNode, AddressRules) {
  const StartCase cases[] = {
      {"digital input at position 0", {}, 0, 1, 14, 0},
      {"digital output at position 0", {}, 0, 2, 0, 0},
      {"analog at position 0", {}, 0, 15, 0, 0},
      {"after Parlune and Fennick", ListOf({0, 1, 13}), 3, 1, 62, 0},
      {"output module after digital inputs", ListOf({0, 1, 13}), 3, 2, 0, 0},
      {"Uvendar counts both analog areas", ListOf({0, 15, 4}), 3, 15, 12, 2},
      {"Weskarn adds one channel", ListOf({0, 22}), 2, 4, 1, 0},
      {"Varnock adds twelve channels", ListOf({0, 21}), 2, 4, 12, 0},
      {"Hulvern counts digital inputs", ListOf({0, 20}), 2, 1, 22, 0},
      {"Hulvern counts digital outputs", ListOf({0, 20}), 2, 2, 0, 8},
      {"Hulvern itself after Hulvern", ListOf({0, 20}), 2, 20, 22, 8},
      {"every analog input size", ListOf({0, 5, 6, 9, 10, 12, 18, 23, 21, 22, 4}), 11, 23, 63, 0},
      {"every analog output size", ListOf({0, 3, 11, 19, 16, 17, 15}), 7, 3, 0, 28},
      {"every digital output size", ListOf({0, 2, 7, 8, 14, 20}), 6, 14, 0, 80},
      {"only records before the position count", ListOf({0, 1, 1, 1}), 2, 1, 30, 0},
      {"codes above 23 count nowhere", ListOf({0, 99, 1, 200}), 4, 1, 30, 0},
      {"the controller code counts nowhere", ListOf({0, 0, 1}), 3, 1, 30, 0},
      {"wraps modulo 256", ListOf({0, 13, 13, 13, 13, 13, 13, 13, 13}), 9, 13, 14, 0},
      {"controller ignores the list", ListOf({0, 1, 2, 13, 4}), 5, 0, 0, 0},
  };
  for (const StartCase& c : cases) {
    SCOPED_TRACE(c.what);
    const ModuleTypeInfo* info = FindModuleType(c.type);
    auto node = CreatePlcNode(c.type, info->inputCount, info->outputCount);
    EXPECT_EQ(node->GetInputStart(c.position, c.list), c.inputStart);
    EXPECT_EQ(node->GetOutputStart(c.position, c.list), c.outputStart);
  }
}

TEST(PlcNode, DigitalRulesStartAtTheControllerBases) {
  const AddressBases bases{24, 16};
  const ModuleList list = ListOf({0, 1});
  EXPECT_EQ(CreatePlcNode(1, 16, 0, bases)->GetInputStart(2, list), 24 + 16);
  EXPECT_EQ(CreatePlcNode(2, 0, 8, bases)->GetOutputStart(2, list), 16);
  EXPECT_EQ(CreatePlcNode(4, 8, 0, bases)->GetInputStart(2, list), 0);
}

TEST(PlcNode, PackPointStatesOfSixteenPoints) {
  auto node = CreatePlcNode(1, 16, 0);
  auto& model = dynamic_cast<PointStateModel&>(*node);
  ASSERT_EQ(model.PointGroupCount(), 1u);
  std::vector<int> states(16, 2);
  states[0] = 1;
  states[1] = 0;
  model.SetPointStates(0, states);
  EXPECT_EQ(model.PackPointStates(0), (std::vector<uint8_t>{0xFC, 0xFF, 0xFE, 0xFF}));
  EXPECT_TRUE(model.PackPointStates(1).empty());
}

TEST(PlcNode, PointGroupsOfTheDigitalOutputModels) {
  const std::pair<int, size_t> groups[] = {{2, 8}, {7, 16}, {8, 16}, {14, 32}};
  for (auto [type, points] : groups) {
    auto node = CreatePlcNode(type, 0, static_cast<int>(points));
    auto* model = dynamic_cast<PointStateModel*>(node.get());
    ASSERT_NE(model, nullptr) << type;
    EXPECT_EQ(model->PointGroupCount(), 2u);
    EXPECT_EQ(model->PointGroupSize(), points);
  }
  EXPECT_EQ(dynamic_cast<PointStateModel*>(CreatePlcNode(20, 8, 8).get()), nullptr);
}

TEST(TriStateMaskPair, EncodesAndDecodesEveryState) {
  const std::vector<int> states = {0, 1, 2, 7, 1, 1, 0, 2, 2};
  const std::vector<uint8_t> masks = TriStateMaskPair::Encode(states);
  // A: bits of states 2 and 7 stay set; B: bits of states 0, 2 and 7 stay set.
  EXPECT_EQ(masks, (std::vector<uint8_t>{0x8C, 0xFF, 0xCD, 0xFF}));
  std::vector<int> decoded(9, -1);
  TriStateMaskPair::Decode(std::span(masks).first(2), std::span(masks).subspan(2), decoded);
  EXPECT_EQ(decoded, (std::vector<int>{0, 1, 2, 2, 1, 1, 0, 2, 2}));
  // A set bit in A means indeterminate whatever B holds.
  EXPECT_EQ(TriStateMaskPair::DecodePoint(std::vector<uint8_t>{0x01}, std::vector<uint8_t>{0x00}, 0), 2);
}

TEST(PlcNode, LimitTextModelsConvertTheirTexts) {
  const std::pair<int, size_t> counts[] = {{3, 16}, {4, 40}, {5, 18}, {6, 12}, {9, 20},
                                           {10, 40}, {11, 16}, {12, 40}, {18, 40}, {19, 16}};
  for (auto [type, count] : counts) {
    const ModuleTypeInfo* info = FindModuleType(type);
    auto node = CreatePlcNode(type, info->inputCount, info->outputCount);
    auto* model = dynamic_cast<LimitTextModel*>(node.get());
    ASSERT_NE(model, nullptr) << type;
    EXPECT_EQ(model->ParamTextCount(), count) << type;
    model->SetParamText(count - 1, L" -12.5x");
    EXPECT_FLOAT_EQ(model->ParamTextToNumber(count - 1), -12.5f);
    EXPECT_FLOAT_EQ(model->Number(), -12.5f);
    model->SetParamText(count, L"3");  // beyond the members: ignored
    EXPECT_EQ(model->ParamTextToNumber(count), 0.0f);
    EXPECT_EQ(model->ParamTextToNumber(0), 0.0f);  // texts start empty
  }
}

}  // namespace
}  // namespace corvell
